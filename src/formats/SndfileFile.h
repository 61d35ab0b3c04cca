#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "formats/EncoderSettings.h"
#include "formats/FileError.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

// Files our own readers do not take, read through libsndfile and brought to the editor's
// forms (16 bits, mono or stereo, the rate kept), and the compressed types written through it.

// Whether the first bytes of a file (up to 64 KiB) show a kind the own readers refuse or
// misread: RF64, Wave64, a Wave of float, extensible, more than 16-bit or more than two-channel
// samples, AIFF-C, an AIFF of more than 16 bits or two channels, CAF, FLAC, Ogg.
[[nodiscard]] bool WantsSndfile(const std::uint8_t* head, std::size_t size);

// A file opened for a load, with its first bytes read: it stays readable through `fd` even
// when a reader deletes its name on close.
class LoadProbe {
  public:
    explicit LoadProbe(const std::string& fileName);
    ~LoadProbe();
    LoadProbe(const LoadProbe&) = delete;
    LoadProbe& operator=(const LoadProbe&) = delete;

    [[nodiscard]] bool IsOpen() const { return fd_ >= 0; }
    [[nodiscard]] bool WantsSndfile() const { return wants_; }
    // The descriptor, handed over (-1 once taken or when the file did not open).
    [[nodiscard]] int Take();

  private:
    int fd_ = -1;
    bool wants_ = false;
};

// The libsndfile branch of Load: reads the file open at `fd` (taken), with the load flags of
// the other readers (LOAD_NO_DITHER rounds instead of dithering). The object ends Streamed,
// FormatOnly or, with LOAD_TO_MEMORY or LOAD_CONVERT_TO_PCM, Resident; TooLong when the sound
// would pass 4 GiB as 16-bit samples, UnknownType when libsndfile does not know the file.
[[nodiscard]] FileError ReadSndfile(WaveObject& wave, int fd, const std::string& fileName,
                                    std::uint32_t flags, ProgressFn progressFn, void* context);

// "Dither when reducing to 16 bits" of the Miscellaneous settings (on unless turned off): the
// editor's and the batch dialog's loads add LOAD_NO_DITHER when it is off.
[[nodiscard]] bool LoadDitherSetting();
void SaveDitherSetting(bool on);

// The FLAC, Ogg Vorbis, Opus and MP3 branch of Save (type kFileFlac to kFileMp3). A rate the
// codec does not take is resampled: Opus to 48000 Hz, MP3 to its nearest rate below.
[[nodiscard]] FileError WriteSndfile(WaveObject& wave, const std::string& fileName,
                                     std::uint32_t type, const EncoderSettings& settings,
                                     ProgressFn progressFn, void* context);

}  // namespace kelvane
