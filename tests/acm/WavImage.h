#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "wavedata/WaveFormat.h"

namespace kelvane::test {

// A minimal RIFF WAVE image around encoded bytes, as a test writes it by hand: "fmt " with
// the format's extra bytes, "fact" for compressed formats, then "data".
std::vector<std::uint8_t> BuildWav(const WaveFormat& format, const std::vector<std::uint8_t>& data,
                                   std::uint32_t frames);

// The format and the data of a WAV file that another program wrote, found with RiffReader.
struct WavContents {
    FormatPtr format;
    std::vector<std::uint8_t> data;
};
bool ParseWav(const std::vector<std::uint8_t>& file, WavContents& out);

// Every byte of a stream of `format`-encoded bytes converted to `target` through a
// ConvertStream read in pieces of `piece` bytes.
std::vector<std::uint8_t> ConvertAll(const WaveFormat& format,
                                     const std::vector<std::uint8_t>& data,
                                     const WaveFormat& target, std::uint32_t piece = 65536);

std::vector<std::int16_t> AsSamples(const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> AsBytes(const std::vector<std::int16_t>& samples);

// Signal-to-noise ratio in dB of `test` against `reference` over their common length.
double Snr(const std::vector<std::int16_t>& reference, const std::vector<std::int16_t>& test);
// Largest absolute difference over the common length.
int MaxDifference(const std::vector<std::int16_t>& a, const std::vector<std::int16_t>& b);

// 16-bit samples of a sine sweep from f0 to f1 Hz at half scale.
std::vector<std::int16_t> Sweep(std::uint32_t rate, std::uint16_t channels, std::uint32_t frames,
                                double f0, double f1);

}  // namespace kelvane::test
