#pragma once

#include <cstdint>
#include <string>

#include "formats/FileError.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

// The AIFF branch of Load: 8-bit or 16-bit big-endian samples behind a recoding stream.
[[nodiscard]] FileError ReadAiffFile(WaveObject& wave, const std::string& fileName,
                                     std::uint32_t flags, ProgressFn progressFn, void* context);
// The AIFF branch of Save: a 54-byte header and the samples.
[[nodiscard]] FileError WriteAiffFile(WaveObject& wave, const std::string& fileName,
                                      ProgressFn progressFn, void* context);

// Offset of the chunk header with this id among the form's chunks, 0 when there is none.
[[nodiscard]] std::uint32_t FindAiffChunk(const DataBlock& file, const char id[4]);

// The 80-bit extended sample rate: decoding takes the exponent word and the top 16 mantissa
// bits and accepts exponent words 0x4009 to 0x4011 only (false otherwise).
bool DecodeAiffRate(const std::uint8_t extended[10], std::uint32_t& rate);
void EncodeAiffRate(std::uint32_t rate, std::uint8_t extended[10]);

}  // namespace kelvane
