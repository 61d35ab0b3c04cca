#include "formats/MpegFile.h"

namespace kelvane {

FileError ReadMpegFile(WaveObject& wave, const std::string&, std::uint32_t, ProgressFn, void*) {
    wave.Reset();
    return FileError::RiffFailed;
}

}  // namespace kelvane
