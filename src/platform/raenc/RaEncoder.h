#pragma once

#include <cstdint>

namespace kelvane {

// The RealAudio encoder library: ten calls that take 16-bit PCM of any rate and channel count
// and write a RealMedia file, built on FFmpeg's libavcodec and libavformat.
//
// The ten compression methods. The only RealAudio codec FFmpeg encodes is RealAudio 1.0
// (14.4, "lpcJ"); the other methods use the AC-3 codec that RealAudio 3.0 carried as "dnet".
// AC-3 takes 32000, 44100 or 48000 Hz and at least 32 kbit/s, so the modem methods run at that
// floor and differ by audio bandwidth; ISDN (64 kbit/s) and dual ISDN (128 kbit/s) fill their
// line. The input is resampled and mixed to the method's rate and channels.
//
// | Method | Text                           | Codec    | Rate  | Ch | kbit/s | Bandwidth Hz |
// |--------|--------------------------------|----------|-------|----|--------|--------------|
// | 0      | 3.0 - 28.8 Mono narrow response| AC-3     | 32000 | 1  | 32     | 4600         |
// | 1      | 3.0 - 28.8 Mono medium response| AC-3     | 32000 | 1  | 32     | 7000         |
// | 2      | 3.0 - 28.8 Mono full response  | AC-3     | 32000 | 1  | 32     | 11000        |
// | 3      | 3.0 - 28.8 Stereo              | AC-3     | 32000 | 2  | 32     | 4600         |
// | 4      | 3.0 - ISDN Mono                | AC-3     | 44100 | 1  | 64     | 11000        |
// | 5      | 3.0 - ISDN Stereo              | AC-3     | 44100 | 2  | 64     | 8000         |
// | 6      | 3.0 - Dual ISDN Mono           | AC-3     | 44100 | 1  | 128    | 16000        |
// | 7      | 3.0 - Dual ISDN Stereo         | AC-3     | 44100 | 2  | 128    | 14000        |
// | 8      | 2.0 - 28.8                     | AC-3     | 32000 | 1  | 32     | 7000         |
// | 9      | 2.0 - 14.4                     | RA 14.4  | 8000  | 1  | 8      | 4000 (fixed) |
//
// 4600 Hz is the narrowest band AC-3 codes at 32000 Hz.

enum class RaCodec : std::uint8_t { Ra144, Ac3 };

struct RaMethod {
    RaCodec codec;
    std::uint32_t rate;
    std::uint16_t channels;
    std::uint32_t bitRate;    // bit/s
    std::uint32_t bandwidth;  // Hz, 0 for the codec's own
};

inline constexpr int kRaMethodCount = 10;
// The method's row of the table above; null outside 0 to 9.
[[nodiscard]] const RaMethod* RaMethodInfo(int method);

// The input description handed to RAenc_InitializeEncoder (packed, little-endian).
#pragma pack(push, 1)
struct RaInputFormat {
    std::uint16_t formatTag = 1;
    std::uint32_t samplesPerSec = 0;
    std::uint16_t bitsPerSample = 16;
    std::uint16_t channels = 0;
};
#pragma pack(pop)
static_assert(sizeof(RaInputFormat) == 10);

struct RaEncoder;
using RaHandle = RaEncoder*;

// The calls have C names: the library is a module (raenc.so) that its users load on first use
// and look the calls up in by these names, so that a process writing no RealAudio file maps
// none of FFmpeg.
#define KELVANE_RAENC_EXPORT extern "C" __attribute__((visibility("default")))

// Every call returning int gives 0 on success. A null handle is refused (nonzero).
KELVANE_RAENC_EXPORT int RAenc_PackageInit(int version);
KELVANE_RAENC_EXPORT RaHandle RAenc_Create();
KELVANE_RAENC_EXPORT int RAenc_InitializeEncoder(RaHandle handle, int method,
                                                 const RaInputFormat* format);
// Destination 1 is a file; no other destination exists.
KELVANE_RAENC_EXPORT int RAenc_SetDestination(RaHandle handle, int destination);
// Creates the output file.
KELVANE_RAENC_EXPORT int RAenc_SetOutputFile(RaHandle handle, const char* path);
// input: the bytes of PCM one Encode call takes at most; output: the largest packet written.
KELVANE_RAENC_EXPORT int RAenc_GetBufferSizes(RaHandle handle, std::uint32_t* input,
                                              std::uint32_t* output, std::uint32_t* reserved);
KELVANE_RAENC_EXPORT int RAenc_Start(RaHandle handle);
// produced: the bytes written to the file by this call; status: 0, or an FFmpeg error code.
KELVANE_RAENC_EXPORT int RAenc_Encode(RaHandle handle, const void* bytes, std::uint32_t count,
                                      int reserved1, std::uint32_t* produced, int reserved2,
                                      std::uint32_t* status);
// Encodes what is left (the last frame padded with silence) and completes the file.
KELVANE_RAENC_EXPORT int RAenc_Done(RaHandle handle);
// A file started but never completed by RAenc_Done is removed.
KELVANE_RAENC_EXPORT void RAenc_Destroy(RaHandle handle);

}  // namespace kelvane
