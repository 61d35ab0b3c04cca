#include "platform/raenc/RaEncoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numbers>

#include "raenc/RaCheck.h"
#include "support/TestSupport.h"

namespace kelvane {
namespace {

constexpr std::uint32_t kRate = 22050;

// Left: a rising sweep; right: the same sweep at half level, so a mono mix stays a sweep.
std::vector<std::int16_t> StereoSweep(std::uint32_t frames) {
    std::vector<std::int16_t> pcm(2 * static_cast<std::size_t>(frames));
    double phase = 0;
    for (std::uint32_t i = 0; i < frames; ++i) {
        const double f = 300.0 + 2500.0 * i / frames;
        phase += 2 * std::numbers::pi * f / kRate;
        const double s = 12000 * std::sin(phase);
        pcm[2 * i] = static_cast<std::int16_t>(s);
        pcm[2 * i + 1] = static_cast<std::int16_t>(s / 2);
    }
    return pcm;
}

std::vector<std::int16_t> MonoMix(const std::vector<std::int16_t>& stereo) {
    std::vector<std::int16_t> mono(stereo.size() / 2);
    for (std::size_t i = 0; i < mono.size(); ++i)
        mono[i] = static_cast<std::int16_t>((stereo[2 * i] + stereo[2 * i + 1]) / 2);
    return mono;
}

// Runs the calls in the order the export makes them; false at the first refusal.
bool EncodeFile(const std::string& path, int method, const std::vector<std::int16_t>& pcm) {
    if (RAenc_PackageInit(3) != 0) return false;
    RaHandle h = RAenc_Create();
    const RaInputFormat format{1, kRate, 16, 2};
    bool ok = RAenc_InitializeEncoder(h, method, &format) == 0;
    ok = ok && RAenc_SetDestination(h, 1) == 0 && RAenc_SetOutputFile(h, path.c_str()) == 0;
    std::uint32_t input = 0, output = 0, reserved = 0;
    ok = ok && RAenc_GetBufferSizes(h, &input, &output, &reserved) == 0 && input > 0;
    ok = ok && RAenc_Start(h) == 0;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(pcm.data());
    const std::size_t total = pcm.size() * 2;
    // Odd methods get pieces that split frames, as a converting source may deliver them.
    const std::uint32_t piece = method % 2 ? input - 3 : input;
    for (std::size_t done = 0; ok && done < total; done += piece) {
        const auto n = static_cast<std::uint32_t>(std::min<std::size_t>(piece, total - done));
        std::uint32_t produced = 0, status = 0;
        ok = RAenc_Encode(h, bytes + done, n, 0, &produced, 0, &status) == 0;
    }
    ok = ok && RAenc_Done(h) == 0;
    RAenc_Destroy(h);
    return ok;
}

TEST(RaEncoder, EveryMethodWritesAFileFfmpegReadsBackFaithfully) {
    if (!test::RequireTool("ffprobe") || !test::RequireTool("ffmpeg")) return;
    test::ScopedTempDir dir;
    const std::uint32_t frames = kRate * 2 + 1234;  // not a whole number of codec frames
    const auto pcm = StereoSweep(frames);
    const auto source = MonoMix(pcm);
    for (int method = 0; method < kRaMethodCount; ++method) {
        SCOPED_TRACE("method " + std::to_string(method));
        const RaMethod& m = *RaMethodInfo(method);
        const std::string path = dir.File("m" + std::to_string(method) + ".ra");
        ASSERT_TRUE(EncodeFile(path, method, pcm));
        EXPECT_EQ(test::ProbeCodec(path), m.codec == RaCodec::Ra144 ? "ra_144" : "ac3");
        const double frameSeconds = (m.codec == RaCodec::Ra144 ? 160.0 : 1536.0) / m.rate;
        EXPECT_NEAR(test::ProbeDuration(path), static_cast<double>(frames) / kRate,
                    frameSeconds + 0.001);
        const auto decoded = test::DecodeMono(path, kRate);
        EXPECT_GT(test::BestCorrelation(source, decoded, 2048), 0.9);
    }
}

TEST(RaEncoder, RefusesWhatItCannotEncode) {
    test::ScopedTempDir dir;
    EXPECT_NE(RAenc_PackageInit(2), 0);
    RaHandle h = RAenc_Create();
    const RaInputFormat eightBit{1, 8000, 8, 1};
    const RaInputFormat noChannels{1, 8000, 16, 0};
    const RaInputFormat compressed{2, 8000, 16, 1};
    const RaInputFormat good{1, 48000, 16, 1};
    EXPECT_NE(RAenc_InitializeEncoder(h, 0, &eightBit), 0);
    EXPECT_NE(RAenc_InitializeEncoder(h, 0, &noChannels), 0);
    EXPECT_NE(RAenc_InitializeEncoder(h, 0, &compressed), 0);
    EXPECT_NE(RAenc_InitializeEncoder(h, 10, &good), 0);
    EXPECT_NE(RAenc_InitializeEncoder(h, -1, &good), 0);
    // No encoder set up yet: no file either.
    EXPECT_NE(RAenc_SetOutputFile(h, dir.File("early.ra").c_str()), 0);
    ASSERT_EQ(RAenc_InitializeEncoder(h, 4, &good), 0);
    EXPECT_NE(RAenc_SetOutputFile(h, dir.File("missing/folder.ra").c_str()), 0);
    EXPECT_NE(RAenc_Encode(h, nullptr, 0, 0, nullptr, 0, nullptr), 0);  // not started
    RAenc_Destroy(h);
    EXPECT_FALSE(std::filesystem::exists(dir.File("early.ra")));
}

TEST(RaEncoder, AnUnfinishedFileIsRemovedAndAnEmptyOneIsValid) {
    if (!test::RequireTool("ffprobe")) return;
    test::ScopedTempDir dir;
    const RaInputFormat format{1, 44100, 16, 2};
    for (const bool finish : {false, true}) {
        const std::string path = dir.File(finish ? "empty.ra" : "abandoned.ra");
        RaHandle h = RAenc_Create();
        ASSERT_EQ(RAenc_InitializeEncoder(h, 9, &format), 0);
        ASSERT_EQ(RAenc_SetOutputFile(h, path.c_str()), 0);
        ASSERT_EQ(RAenc_Start(h), 0);
        if (finish) {
            EXPECT_EQ(RAenc_Done(h), 0);
        }
        RAenc_Destroy(h);
        EXPECT_EQ(std::filesystem::exists(path), finish);
    }
    EXPECT_EQ(test::ProbeCodec(dir.File("empty.ra")), "ra_144");
    EXPECT_NEAR(test::ProbeDuration(dir.File("empty.ra")), 0.0, 0.001);
}

}  // namespace
}  // namespace kelvane
