#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "formats/FileError.h"
#include "wavedata/WaveObject.h"

namespace kelvane::test {

// Every sample of a Resident PCM object as signed 16-bit, interleaved (8-bit samples scaled
// as peers scale them: (b - 128) * 256).
std::vector<std::int16_t> Samples16(const WaveObject& wave);

// A file decoded to interleaved signed 16-bit little-endian samples by sox or ffmpeg; `extra`
// goes before the input name (sox's -t raw options).
std::vector<std::int16_t> SoxDecode(const std::string& file, const std::string& extra = "");
// `output` goes after the input name (e.g. "-ac 2").
std::vector<std::int16_t> FfmpegDecode(const std::string& file, const std::string& output = "");

// Largest difference between two sample lists of the same length (-1 when lengths differ).
int MaxDifference(const std::vector<std::int16_t>& a, const std::vector<std::int16_t>& b);

// A loaded object, failing the test with the code when the load fails.
std::unique_ptr<WaveObject> LoadOrFail(const std::string& file, std::uint32_t flags,
                                       const RawParams* raw = nullptr);

// Records the progress reports of a load or save.
struct ProgressLog {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> calls;  // phase, percent
    static bool Record(void* self, std::uint32_t phase, std::uint32_t percent) {
        static_cast<ProgressLog*>(self)->calls.emplace_back(phase, percent);
        return true;
    }
};

// Big-endian and little-endian byte builders for hand-made files.
void Be16(std::vector<std::uint8_t>& out, std::uint32_t v);
void Be32(std::vector<std::uint8_t>& out, std::uint32_t v);
void Le16(std::vector<std::uint8_t>& out, std::uint32_t v);
void Le32(std::vector<std::uint8_t>& out, std::uint32_t v);
void Text(std::vector<std::uint8_t>& out, const std::string& text);

}  // namespace kelvane::test
