#pragma once

#include <cstdint>
#include <string>

#include "formats/FileError.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

// The Wave branch of Load: maps the file and keeps it mapped, copies it to memory or reads
// the header only, as the flags say, converting compressed data to 16-bit PCM on request.
[[nodiscard]] FileError ReadWaveFile(WaveObject& wave, const std::string& fileName,
                                     std::uint32_t flags, ProgressFn progressFn, void* context);

// The Wave branch of Save: the sound converted to `target` (null: its own format).
[[nodiscard]] FileError WriteWaveConverted(WaveObject& wave, const std::string& fileName,
                                           const WaveFormat* target, ProgressFn progressFn,
                                           void* context);

// The file's name without its folder and extension, the default "INAM" text.
[[nodiscard]] std::string FileTitle(const std::string& fileName);

}  // namespace kelvane
