// Echo, chorus, change pitch and compress/expand when they cannot work: no temporary storage,
// an empty wave, settings that make no sense.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "processing/ChangePitch.h"
#include "processing/Chorus.h"
#include "processing/CompressExpand.h"
#include "processing/Echo.h"
#include "processing/PropertyCheck.h"
#include "support/TestSupport.h"

namespace kelvane {
namespace {

using Run = std::function<std::unique_ptr<WaveObject>(const WaveObject&)>;

std::vector<std::pair<std::string, Run>> EveryEffect(const SettingsPlace& place) {
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
    const EchoEffect echo(place);
    const ChorusEffect chorus(place);
    return {
        {"echo", [echo](const WaveObject& w) { return echo.Process(w, 0, 0, nullptr); }},
        {"chorus", [chorus](const WaveObject& w) { return chorus.Process(w, 0, 0, nullptr); }},
        {"pitch", byAddress(resample)},
        {"pitch keeping length", byAddress(keep)},
        {"compress/expand", byAddress(stretch)},
    };
}

TEST(TimeEffectFailure, NoTemporaryStorageGivesNullAndLeavesNothingBehind) {
    test::ScopedTempDir dir;
    const SettingsPlace place{dir.File("FIL.tmp"), "BATCH"};
    const std::string temp = dir.File("temp");
    std::mt19937 rng(12);
    auto wave = test::RandomSound(LayoutStereo16, 22050, 5000, rng);
    wave->tempDirectory = temp;
    for (const auto& [name, run] : EveryEffect(place)) EXPECT_EQ(run(*wave), nullptr) << name;

    std::filesystem::create_directory(temp);
    for (const auto& [name, run] : EveryEffect(place)) EXPECT_NE(run(*wave), nullptr) << name;
    EXPECT_TRUE(std::filesystem::is_empty(temp));
}

TEST(TimeEffectFailure, EmptyWaveGivesAnEmptyResultWithItsTexts) {
    test::ScopedTempDir dir;
    auto wave = test::BlankWave(PcmFormat(22050, 16, 2), 0);
    wave->SetInfo("ICMT", "kept");
    for (const auto& [name, run] : EveryEffect({dir.File("FIL.tmp"), "BATCH"})) {
        auto result = run(*wave);
        ASSERT_NE(result, nullptr) << name;
        EXPECT_EQ(result->FrameCount(), 0u) << name;
        EXPECT_STREQ(result->GetInfo("ICMT"), "kept") << name;
    }
}

TEST(TimeEffectFailure, NonsenseSettingsGiveNullOrAResultButNeverCrash) {
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
