#pragma once

#include <cstdint>
#include <string>

#include "formats/FileError.h"
#include "formats/OutputFile.h"
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

// The bytes before the frames in a Wave file of `format` as Save lays it out.
[[nodiscard]] std::uint64_t WaveHeaderBytes(const WaveFormat& format);
// Save for a sound whose frames are already in `file` (through a mapping of its Path()) after
// WaveHeaderBytes of its format: writes the header before them and the texts after them,
// then puts the file in place of `fileName`.
[[nodiscard]] FileError FinishWaveAround(WaveObject& wave, OutputFile& file,
                                         const std::string& fileName);

// The file's name without its folder and extension, the default "INAM" text.
[[nodiscard]] std::string FileTitle(const std::string& fileName);

}  // namespace kelvane
