// What every effect of this folder does when it cannot work: no temporary storage, no frames
// in memory, an empty wave.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "processing/CenterSignals.h"
#include "processing/Fade.h"
#include "processing/FormatConversion.h"
#include "processing/InsertSilence.h"
#include "processing/Mute.h"
#include "processing/Normalize.h"
#include "processing/Pan.h"
#include "processing/PropertyCheck.h"
#include "processing/Reverse.h"
#include "processing/SwapChannels.h"
#include "processing/Volume.h"
#include "support/TestSupport.h"

namespace kelvane {
namespace {

using Run = std::function<std::unique_ptr<WaveObject>(const WaveObject&)>;

std::vector<std::pair<const char*, Run>> EveryEffect() {
    auto range = [](auto effect) {
        return [effect](const WaveObject& w) { return effect.Process(w, 0, 0, nullptr); };
    };
    return {
        {"volume", range(VolumeEffect(true, {}))},
        {"fade in", range(FadeEffect(FadeKind::In))},
        {"fade out", range(FadeEffect(FadeKind::Out))},
        {"pan", range(PanEffect(PanKind::LeftToRight))},
        {"mute", range(MuteEffect({}))},
        {"swap", range(SwapChannelsEffect())},
        {"reverse", range(ReverseEffect())},
        {"normalize", range(NormalizeEffect())},
        {"silence",
         [](const WaveObject& w) {
             std::uint32_t start = 0, length = 0;
             return InsertSilenceEffect({}).Process(w, start, length, nullptr);
         }},
        {"center", [](const WaveObject& w) { return CenterSignalsEffect().Process(w, nullptr); }},
        {"convert",
         [](const WaveObject& w) { return FormatConversionEffect({}).Process(w, nullptr); }},
    };
}

TEST(EffectFailure, NoTemporaryStorageGivesNullAndLeavesNothingBehind) {
    test::ScopedProfile profile;
    test::ScopedTempDir dir;
    std::mt19937 rng(11);
    auto wave = test::RandomSound(LayoutStereo16, 22050, 1000, rng);
    wave->tempDirectory = dir.File("missing");
    for (const auto& [name, run] : EveryEffect()) EXPECT_EQ(run(*wave), nullptr) << name;

    // A folder that exists: the results live there only while they are owned.
    wave->tempDirectory = dir.path();
    for (const auto& [name, run] : EveryEffect()) EXPECT_NE(run(*wave), nullptr) << name;
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(EffectFailure, EmptyWaveGivesAnEmptyResultWithItsTextsExceptForCenterSignals) {
    test::ScopedProfile profile;
    auto wave = test::BlankWave(PcmFormat(22050, 16, 2), 0);
    wave->SetInfo("ICMT", "kept");
    for (const auto& [name, run] : EveryEffect()) {
        auto result = run(*wave);
        if (std::string(name) == "center") {
            EXPECT_EQ(result, nullptr);
            continue;
        }
        ASSERT_NE(result, nullptr) << name;
        EXPECT_EQ(result->FrameCount(), std::string(name) == "silence" ? 220u : 0u) << name;
        EXPECT_STREQ(result->GetInfo("ICMT"), "kept") << name;
    }
}

TEST(EffectFailure, CompressedSourceWithoutPcmFramesGivesNull) {
    test::ScopedProfile profile;
    WaveFormat gsm = PcmFormat(8000, 0, 1);
    gsm.formatTag = 0x31;
    gsm.blockAlign = 65;
    gsm.avgBytesPerSec = 1625;
    auto wave = std::make_unique<WaveObject>(0, nullptr);
    ASSERT_TRUE(wave->Allocate(gsm, 0));
    std::vector<std::uint8_t> bytes(650);
    ASSERT_TRUE(wave->AttachBuffer(gsm, bytes.data(), 650));
    ASSERT_GT(wave->FrameCount(), 0u);
    for (const auto& [name, run] : EveryEffect()) EXPECT_EQ(run(*wave), nullptr) << name;
}

}  // namespace
}  // namespace kelvane
