#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/raenc/RaEncoder.h"
#include "processing/ProgressIndicator.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

enum class RealAudioResult : std::uint32_t {
    Success = 0,
    NotConvertible = 1,  // the sound cannot be converted to 16-bit PCM
    EncoderInit = 2,     // message 1010
    OutputFile = 3,      // message 1009
};

// The encoder library's calls as the export imports them; tests put a recorder in between.
struct RealAudioEncoderCalls {
    decltype(&RAenc_PackageInit) packageInit = RAenc_PackageInit;
    decltype(&RAenc_Create) create = RAenc_Create;
    decltype(&RAenc_InitializeEncoder) initializeEncoder = RAenc_InitializeEncoder;
    decltype(&RAenc_SetDestination) setDestination = RAenc_SetDestination;
    decltype(&RAenc_SetOutputFile) setOutputFile = RAenc_SetOutputFile;
    decltype(&RAenc_GetBufferSizes) getBufferSizes = RAenc_GetBufferSizes;
    decltype(&RAenc_Start) start = RAenc_Start;
    decltype(&RAenc_Encode) encode = RAenc_Encode;
    decltype(&RAenc_Done) done = RAenc_Done;
    decltype(&RAenc_Destroy) destroy = RAenc_Destroy;
};

// Writes the sound as a RealAudio file with compression method 0 to 9 (string 175 + method
// names it), reporting 0 to 100 to `progress`. Encoding errors after the start are not seen:
// the export then still reports success.
[[nodiscard]] RealAudioResult ExportRealAudio(const std::string& path, std::uint32_t method,
                                              const WaveObject& wave, ProgressIndicator& progress,
                                              const RealAudioEncoderCalls& calls = {});

// The message shown for a result; empty for Success.
[[nodiscard]] std::string_view RealAudioErrorText(RealAudioResult result);

}  // namespace kelvane
