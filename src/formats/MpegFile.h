#pragma once

#include <cstdint>
#include <string>

#include "formats/FileError.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

// The MPEG branch of Load: 16-bit PCM decoded by the MPEG stream from the mapped file.
[[nodiscard]] FileError ReadMpegFile(WaveObject& wave, const std::string& fileName,
                                     std::uint32_t flags, ProgressFn progressFn, void* context);

}  // namespace kelvane
