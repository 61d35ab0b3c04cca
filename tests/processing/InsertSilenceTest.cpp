#include "processing/InsertSilence.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "processing/PropertyCheck.h"
#include "support/TestSupport.h"

namespace kelvane {
namespace {

using test::RecordingProgress;

InsertSilenceEffect Silence(double seconds) {
    test::ScopedProfile profile;
    InsertSilenceEffect effect({});
    effect.seconds = seconds;
    return effect;
}

// Stored bytes in blocks of at most 32768 frames (before the caret, the silence, the rest),
// reporting written * 100 / result length after each block, then 100.
std::unique_ptr<WaveObject> ReferenceSilence(const WaveObject& source, std::uint32_t start,
                                             double seconds, RecordingProgress& progress) {
    const std::uint32_t n = source.FrameCount();
    const auto inserted = static_cast<std::uint32_t>(source.format->samplesPerSec * seconds);
    const std::uint32_t total = n + inserted;
    auto result = test::BlankWave(*source.format, total);
    const std::uint32_t bpf = source.format->blockAlign;
    const std::uint8_t fill = source.format->bitsPerSample == 8 ? 0x80 : 0;
    std::uint32_t written = 0;
    auto part = [&](std::uint32_t count, const std::uint8_t* from) {
        for (std::uint32_t done = 0; done < count;) {
            const std::uint32_t block = std::min<std::uint32_t>(32768, count - done);
            for (std::uint32_t b = 0; b < block * bpf; ++b)
                result->data[written * bpf + b] = from ? from[done * bpf + b] : fill;
            done += block;
            written += block;
            progress.SetPos(static_cast<int>(std::uint64_t{written} * 100 / total));
        }
    };
    part(start, source.data);
    part(inserted, nullptr);
    if (start < n) part(n - start, source.data + start * bpf);
    progress.SetPos(100);
    result->CopyInfo(&source);
    return result;
}

TEST(InsertSilence, HalfASecondAt22050HzIsSilentBytesOfTheLayoutAndSelected) {
    for (const FrameLayout layout : test::kAllLayouts) {
        auto wave = test::RandomSound(layout, 22050, 1000, *std::make_unique<std::mt19937>(7));
        std::uint32_t start = 400, length = 30;
        auto result = Silence(0.5).Process(*wave, start, length, nullptr);
        ASSERT_NE(result, nullptr);
        EXPECT_EQ(start, 400u);
        EXPECT_EQ(length, 11025u);
        ASSERT_EQ(result->FrameCount(), 12025u);
        const std::uint32_t bpf = wave->format->blockAlign;
        const std::uint8_t silent = wave->format->bitsPerSample == 8 ? 0x80 : 0x00;
        EXPECT_EQ(std::count(result->data + 400 * bpf, result->data + 11425 * bpf, silent),
                  11025 * bpf);
        EXPECT_EQ(std::memcmp(result->data, wave->data, 400 * bpf), 0);
        EXPECT_EQ(std::memcmp(result->data + 11425 * bpf, wave->data + 400 * bpf, 600 * bpf), 0);
    }
}

TEST(InsertSilence, StoresHundredthsTruncated) {
    test::ScopedProfile profile;
    InsertSilenceEffect effect({});
    EXPECT_DOUBLE_EQ(effect.seconds, 0.01);
    effect.seconds = 0.005;
    effect.Save();
    EXPECT_EQ(InsertSilenceEffect({}).seconds, 0.0);
    effect.seconds = 12.349;
    effect.Save();
    EXPECT_DOUBLE_EQ(InsertSilenceEffect({}).seconds, 12.34);
}

TEST(InsertSilence, FastPathMatchesReferenceOnEveryLayout) {
    test::ForEachRandomCase(5040, 16, 70000, [](test::RandomCase& c) {
        const double seconds = (*c.rng)() % 4 == 0 ? 0.0 : ((*c.rng)() % 300) * 0.01;
        std::uint32_t start = c.start, length = c.length;
        RecordingProgress fast, plain;
        auto got = Silence(seconds).Process(*c.wave, start, length, &fast);
        auto want = ReferenceSilence(*c.wave, c.start, seconds, plain);
        EXPECT_TRUE(test::SameWave(*want, got.get())) << seconds << " s";
        EXPECT_EQ(fast.positions, plain.positions);
        EXPECT_EQ(start, c.start);
        EXPECT_EQ(length, want->FrameCount() - c.wave->FrameCount());
    });
}

}  // namespace
}  // namespace kelvane
