// What every effect does when it cannot work: no temporary storage, no frames in memory, an
// empty wave, settings that make no sense.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "processing/CenterSignals.h"
#include "processing/ChangePitch.h"
#include "processing/Chorus.h"
#include "processing/CompressExpand.h"
#include "processing/Echo.h"
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

// Every effect, reading its settings from `place` (the profile when empty).
std::vector<std::pair<std::string, Run>> EveryEffect(const SettingsPlace& place = {}) {
    auto range = [](auto effect) {
        return [effect](const WaveObject& w) { return effect.Process(w, 0, 0, nullptr); };
    };
    auto byAddress = [](auto effect) {
        return [effect](const WaveObject& w) {
            std::uint32_t start = 0, length = 0;
            return effect.Process(w, start, length, nullptr);
        };
    };
    ChangePitchEffect resample(place), keep(place);
    resample.settings.percent = keep.settings.percent = 150;
    resample.settings.preserveLength = 0;
    keep.settings.preserveLength = 1;
    CompressExpandEffect stretch(place);
    stretch.settings.percent = 80;
    return {
        {"volume", range(VolumeEffect(true, place))},
        {"fade in", range(FadeEffect(FadeKind::In))},
        {"fade out", range(FadeEffect(FadeKind::Out))},
        {"pan", range(PanEffect(PanKind::LeftToRight))},
        {"mute", range(MuteEffect(place))},
        {"swap", range(SwapChannelsEffect())},
        {"reverse", range(ReverseEffect())},
        {"normalize", range(NormalizeEffect())},
        {"silence", byAddress(InsertSilenceEffect(place))},
        {"center", [](const WaveObject& w) { return CenterSignalsEffect().Process(w, nullptr); }},
        {"convert",
         [place](const WaveObject& w) {
             return FormatConversionEffect(place).Process(w, nullptr);
         }},
        {"echo", range(EchoEffect(place))},
        {"chorus", range(ChorusEffect(place))},
        {"pitch", byAddress(resample)},
        {"pitch keeping length", byAddress(keep)},
        {"compress/expand", byAddress(stretch)},
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
        if (name == "center") {
            EXPECT_EQ(result, nullptr);
            continue;
        }
        ASSERT_NE(result, nullptr) << name;
        EXPECT_EQ(result->FrameCount(), name == "silence" ? 220u : 0u) << name;
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

TEST(EffectFailure, NonsenseSettingsGiveNullOrAResultButNeverCrash) {
    test::ScopedTempDir dir;
    const SettingsPlace place{dir.File("FIL.tmp"), "BATCH"};
    auto wave = test::RandomWave(PcmFormat(8000, 16, 2), 4000, 5);
    std::uint32_t start = 0, length = 0;
    for (const double percent : {0.0, -50.0, 1e12}) {
        ChangePitchEffect pitch(place);
        pitch.settings.percent = percent;
        pitch.settings.preserveLength = 0;
        // len / r: infinite or negative gives null, a vanishing range removes it.
        EXPECT_EQ(pitch.Process(*wave, start, length, nullptr) == nullptr, percent <= 0.0)
            << percent;
        CompressExpandEffect stretch(place);
        stretch.settings.percent = percent;
        // 0 % removes the range; a negative or 32-bit-overflowing length gives null.
        EXPECT_EQ(stretch.Process(*wave, start, length, nullptr) == nullptr, percent != 0.0)
            << percent;
    }
    // Cross-fades as long as the segment, no segment time, a negative one: results, no hang.
    for (const auto& [time, fade] : {std::pair{0.03, 2.0}, {0.0, 0.5}, {-0.03, 0.5}, {5.0, -1.0}}) {
        ChangePitchEffect keep(place);
        keep.settings = {150, 1, time, fade};
        EXPECT_NE(keep.Process(*wave, start, length, nullptr), nullptr) << time << " " << fade;
    }
    ChorusEffect chorus(place);
    chorus.settings = {-1.0, 1e6, 9, 1e9, 1e9};
    EXPECT_NE(chorus.Process(*wave, 0, 0, nullptr), nullptr);
}

}  // namespace
}  // namespace kelvane
