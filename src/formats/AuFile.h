#pragma once

#include <cstdint>
#include <string>

#include "formats/FileError.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

// AU sub-formats, the option of Save for AU files.
enum class AuSubFormat : std::uint32_t { Linear = 0, MuLaw = 1, ALaw = 2 };

// The AU branch of Load (never reports progress).
[[nodiscard]] FileError ReadAuFile(WaveObject& wave, const std::string& fileName,
                                   std::uint32_t flags);
// The AU branch of Save: a 28-byte header and linear, Mu-Law or A-law samples.
[[nodiscard]] FileError WriteAuFile(WaveObject& wave, const std::string& fileName,
                                    std::uint32_t subFormat, ProgressFn progressFn, void* context);

}  // namespace kelvane
