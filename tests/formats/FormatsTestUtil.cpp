#include "formats/FormatsTestUtil.h"

#include <gtest/gtest.h>

#include <cstring>

#include "support/TestSupport.h"

namespace kelvane::test {

namespace {

std::vector<std::int16_t> FromBytes(const std::string& bytes) {
    std::vector<std::int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

}  // namespace

std::vector<std::int16_t> Samples16(const WaveObject& wave) {
    std::vector<std::int16_t> out;
    const bool eight = wave.format && wave.format->bitsPerSample == 8;
    if (eight) {
        for (std::uint32_t i = 0; i < wave.dataBytes; ++i)
            out.push_back(static_cast<std::int16_t>((wave.data[i] - 128) * 256));
    } else {
        out.resize(wave.dataBytes / 2);
        std::memcpy(out.data(), wave.data, out.size() * 2);
    }
    return out;
}

std::vector<std::int16_t> SoxDecode(const std::string& file, const std::string& extra) {
    std::string bytes;
    const int status = RunCommand(
        "sox " + extra + " '" + file + "' -t raw -e signed-integer -b 16 -L - 2>/dev/null", &bytes);
    EXPECT_EQ(status, 0) << "sox could not read " << file;
    return FromBytes(bytes);
}

std::vector<std::int16_t> FfmpegDecode(const std::string& file, const std::string& output) {
    std::string bytes;
    const int status = RunCommand(
        "ffmpeg -v error -i '" + file + "' " + output + " -f s16le -acodec pcm_s16le - 2>/dev/null",
        &bytes);
    EXPECT_EQ(status, 0) << "ffmpeg could not read " << file;
    return FromBytes(bytes);
}

int MaxDifference(const std::vector<std::int16_t>& a, const std::vector<std::int16_t>& b) {
    if (a.size() != b.size()) return -1;
    int worst = 0;
    for (std::size_t i = 0; i < a.size(); ++i) worst = std::max(worst, std::abs(a[i] - b[i]));
    return worst;
}

std::unique_ptr<WaveObject> LoadOrFail(const std::string& file, std::uint32_t flags,
                                       const RawParams* raw) {
    auto wave = std::make_unique<WaveObject>(1, nullptr);
    const FileError code = wave->Load(file, flags, raw);
    EXPECT_EQ(code, FileError::Success) << file;
    return wave;
}

void Be16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}
void Be32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Be16(out, v >> 16);
    Be16(out, v);
}
void Le16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Le32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Le16(out, v);
    Le16(out, v >> 16);
}
void Text(std::vector<std::uint8_t>& out, const std::string& text) {
    out.insert(out.end(), text.begin(), text.end());
}

}  // namespace kelvane::test
