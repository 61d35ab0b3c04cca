#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "processing/ChangePitch.h"
#include "processing/Chorus.h"
#include "processing/CompressExpand.h"
#include "processing/Echo.h"
#include "processing/Fade.h"
#include "processing/InsertSilence.h"
#include "processing/Mute.h"
#include "processing/Normalize.h"
#include "processing/Pan.h"
#include "processing/PropertyCheck.h"
#include "processing/Reverse.h"
#include "processing/RuntimeRandom.h"
#include "processing/SwapChannels.h"
#include "processing/Volume.h"
#include "support/TestSupport.h"

namespace kelvane {
namespace {

using Effect = std::function<std::unique_ptr<WaveObject>(const WaveObject&, std::uint32_t,
                                                         std::uint32_t, ProgressIndicator*)>;

template <typename E>
Effect Run(E effect) {
    return [effect](const WaveObject& w, std::uint32_t start, std::uint32_t length,
                    ProgressIndicator* p) { return effect.Process(w, start, length, p); };
}

struct Named {
    const char* name;
    Effect run;
};

std::vector<Named> Effects() {
    test::ScopedProfile profile;
    VolumeEffect volume(true, {});
    volume.settings.leftVolume = 150;
    volume.settings.rightVolume = 40;
    EchoEffect echo;
    echo.settings = {3, 20, 60};
    MuteEffect mute({});
    InsertSilenceEffect silence({});
    silence.seconds = 0.37;
    ChangePitchEffect higher(SettingsPlace{});
    higher.settings.percent = 150;
    ChangePitchEffect lower(SettingsPlace{});
    lower.settings.percent = 70;
    lower.settings.preserveLength = 1;
    CompressExpandEffect stretch(SettingsPlace{}, 0);
    stretch.settings.percent = 130;
    ChorusEffect chorus(SettingsPlace{});
    chorus.settings.delay = 0.01;
    return {{"fade in", Run(FadeEffect(FadeKind::In))},
            {"fade out", Run(FadeEffect(FadeKind::Out))},
            {"pan", Run(PanEffect(PanKind::LeftToRight))},
            {"mute", Run(mute)},
            {"swap", Run(SwapChannelsEffect())},
            {"reverse", Run(ReverseEffect())},
            {"volume", Run(volume)},
            {"normalize", Run(NormalizeEffect())},
            {"echo", Run(echo)},
            {"pitch, resampled", Run(higher)},
            {"pitch, same length", Run(lower)},
            {"compress/expand", Run(stretch)},
            // The chorus draws its voices from the runtime's sequence: each run the same.
            {"chorus",
             [chorus](const WaveObject& w, std::uint32_t start, std::uint32_t length,
                      ProgressIndicator* p) {
                 RuntimeRandom::SetState(RuntimeRandom::kInitialState);
                 return chorus.Process(w, start, length, p);
             }},
            {"insert silence",
             [silence](const WaveObject& w, std::uint32_t start, std::uint32_t length,
                       ProgressIndicator* p) { return silence.Process(w, start, length, p); }}};
}

// Every effect on sounds held in temporary files (data at a page's start, after a header, a
// byte before a page's end, and a sound an earlier edit made of pieces) gives the bytes, INFO
// texts and progress reports of the same effect made as a whole copy.
TEST(SharedPages, EffectsOnSharedPagesEqualWholeCopies) {
    test::ScopedProfile profile;  // some effects keep their settings
    test::ScopedTempDir dir;
    const std::vector<Named> effects = Effects();
    const std::uint32_t offsets[] = {0, 44, 4095};
    int round = 0;
    int sharing = 0;
    test::ForEachRandomCase(2025, 12, 70000, [&](test::RandomCase& c) {
        auto filed = test::FileBackedCopy(*c.wave, offsets[round % 3], dir.path());
        ASSERT_TRUE(filed || c.wave->dataBytes == 0);
        if (!filed) return;
        if (round++ % 4 == 3)
            filed = FadeEffect(FadeKind::In).Process(*filed, c.start / 2, 3000, nullptr);
        for (const Named& effect : effects) {
            SCOPED_TRACE(effect.name);
            test::RecordingProgress sharedProgress;
            test::RecordingProgress wholeProgress;
            auto shared = effect.run(*filed, c.start, c.length, &sharedProgress);
            SetPageSharing(false);
            auto whole = effect.run(*filed, c.start, c.length, &wholeProgress);
            SetPageSharing(true);
            ASSERT_TRUE(whole);
            EXPECT_TRUE(test::SameWave(*whole, shared.get()));
            EXPECT_EQ(sharedProgress.positions, wholeProgress.positions);
            sharing +=
                shared && shared->storage && shared->storage->kind == BlockKind::Pieces ? 1 : 0;
        }
    });
    EXPECT_GT(sharing, 100);
}

}  // namespace
}  // namespace kelvane
