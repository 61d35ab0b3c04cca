#include <gtest/gtest.h>

#include <cmath>

#include "platform/profile/Profile.h"
#include "processing/ChangePitch.h"
#include "processing/CompressExpand.h"
#include "processing/PropertyCheck.h"
#include "support/TestSupport.h"

namespace kelvane {
namespace {

using test::RecordingProgress;

struct Shape {
    int w, x;
};

Shape DescribedShape(double r, std::uint32_t rate, double t, double k) {
    if (r == 1) return {0, 0};
    const double s = t * r / std::fabs(r - 1);
    return {static_cast<int>(rate * s), static_cast<int>(rate * k * s)};
}

// The segment method as described, one step per turn; tick(d) runs before each step.
template <typename Tick>
void ReferenceSegments(const WaveObject& source, std::uint32_t start, WaveObject& out,
                       std::uint32_t origin, std::uint32_t len, double r, Shape shape, Tick tick) {
    const std::uint32_t sourceLength = source.FrameCount();
    int a = 0, b = 0, n = 0, d = 0;
    while (d < static_cast<int>(len)) {
        tick(d);
        const double p = start + b + a * r;
        const FrameValue fresh =
            p < sourceLength ? source.GetFrameInterpolated(p) : source.GetFrame(sourceLength - 1);
        FrameValue value = fresh;
        if (n > 0) {
            const FrameValue old = out.GetFrame(origin + d);
            const double w = std::sin(n * 1.570796327 / shape.x);
            auto fade = [w](std::int32_t f, std::int32_t o) {
                return static_cast<std::int32_t>(f * (1 - w) + o * w);
            };
            value = PackFrame(fade(LeftOf(fresh), LeftOf(old)), fade(RightOf(fresh), RightOf(old)));
        }
        out.SetFrame(origin + d, value);
        ++d;
        ++a;
        if (n > 0) --n;
        if (a == shape.w) {
            d -= shape.x;
            n = shape.x;
            b = d;
            a = 0;
        }
    }
}

std::unique_ptr<WaveObject> ReferencePitch(const WaveObject& source, std::uint32_t start,
                                           std::uint32_t length, const ChangePitchSettings& s,
                                           RecordingProgress& progress) {
    const std::uint32_t n = source.FrameCount();
    const std::uint32_t first = length == 0 ? 0 : start;
    const std::uint32_t len = length == 0 ? n : length;
    const double r = s.percent * 0.01;
    std::unique_ptr<WaveObject> result;
    std::int64_t count = 0;
    double total = 0;
    auto tick = [&] {
        if (count % 16384 == 0) progress.SetPos(static_cast<int>(count / total * 100.0));
        ++count;
    };
    if (s.preserveLength != 0) {
        const Shape shape =
            DescribedShape(r, source.format->samplesPerSec, s.segmentTime, s.crossFadeRatio);
        total = (shape.w > shape.x ? n / (shape.w - shape.x) * shape.w : 0) + 2.0 * n - len;
        result = test::BlankWave(*source.format, n);
        for (std::uint32_t i = 0; i < n; ++i) {
            tick();
            result->SetFrame(i, source.GetFrame(i));
        }
        ReferenceSegments(source, first, *result, first, len, r, shape, [&](int) { tick(); });
    } else {
        const auto newLen = static_cast<std::uint32_t>(len / r);
        total = n + newLen - len;
        result = test::BlankWave(*source.format, n + newLen - len);
        for (std::uint32_t i = 0; i < first; ++i) result->SetFrame(i, source.GetFrame(i));
        for (std::uint32_t j = 0; j < newLen; ++j) {
            tick();
            result->SetFrame(first + j,
                             source.GetFrameInterpolated(first + j * (double(len) / newLen)));
        }
        for (std::uint32_t k = 0; first + len + k < n; ++k) {
            tick();
            result->SetFrame(first + newLen + k, source.GetFrame(first + len + k));
        }
    }
    result->CopyInfo(&source);
    return result;
}

std::unique_ptr<WaveObject> ReferenceCompressExpand(const WaveObject& source, std::uint32_t start,
                                                    std::uint32_t length,
                                                    const CompressExpandSettings& s,
                                                    RecordingProgress& progress) {
    const std::uint32_t n = source.FrameCount();
    const std::uint32_t first = length == 0 ? 0 : start;
    const std::uint32_t len = length == 0 ? n : length;
    const auto newLen = static_cast<std::uint32_t>(s.percent * len * 0.01);
    const double step = double(len) / newLen;
    auto result = test::BlankWave(*source.format, n + newLen - len);
    auto scratch = test::BlankWave(*source.format, len);
    const std::uint64_t total = n + newLen - len + newLen;
    auto report = [&](std::uint64_t value) {
        progress.SetPos(static_cast<int>(value / double(total) * 100.0));
    };
    for (std::uint32_t done = 0; done < first;) {
        const std::uint32_t block = std::min(32768u, first - done);
        for (std::uint32_t i = done; i < done + block; ++i) result->SetFrame(i, source.GetFrame(i));
        done += block;
        progress.SetPos(static_cast<int>(std::uint64_t{done} * 100 / total));
    }
    const double r = s.percent * 0.01;
    const Shape shape =
        DescribedShape(r, source.format->samplesPerSec, s.segmentTime, s.crossFadeRatio);
    ReferenceSegments(source, first, *scratch, 0, len, r, shape, [&](int d) {
        if (d % 16384 == 0) report(first + d);
    });
    for (std::uint32_t j = 0; j < newLen; ++j) {
        if (j % 16384 == 0) report(first + len + j);
        result->SetFrame(first + j, scratch->GetFrameInterpolated(j * step));
    }
    for (std::uint32_t k = 0; first + len + k < n; ++k) {
        if (k % 16384 == 0) report(std::uint64_t{first} + len + newLen + k);
        result->SetFrame(first + newLen + k, source.GetFrame(first + len + k));
    }
    result->CopyInfo(&source);
    return result;
}

ChangePitchEffect Pitch(double percent, bool keepLength, int ms = 30, int crossFade = 50) {
    test::ScopedProfile profile;
    ChangePitchEffect effect;
    effect.settings = {percent, keepLength ? 1 : 0, ms * 0.001, crossFade * 0.01};
    return effect;
}

// Compress/expand writes its settings, so it gets a private file of its own.
struct Stretch {
    test::ScopedTempDir dir;
    CompressExpandEffect effect{{dir.File("FIL.tmp"), "BATCH"}};
    Stretch(double percent, int ms = 30, int crossFade = 50) {
        effect.settings = {percent, ms * 0.001, crossFade * 0.01};
    }
};

std::unique_ptr<WaveObject> Ramp(std::uint32_t rate, std::uint32_t frames) {
    auto wave = test::BlankWave(PcmFormat(rate, 16, 2), frames);
    for (std::uint32_t i = 0; i < frames; ++i)
        wave->SetFrame(i, PackFrame(static_cast<std::int32_t>(i * 7 % 60000) - 30000,
                                    -static_cast<std::int32_t>(i % 1000)));
    return wave;
}

int ZeroCrossings(const WaveObject& wave, std::uint32_t from, std::uint32_t to) {
    int count = 0;
    for (std::uint32_t i = from + 1; i < to; ++i)
        count += (LeftOf(wave.GetFrame(i - 1)) < 0) != (LeftOf(wave.GetFrame(i)) < 0);
    return count;
}

TEST(SegmentShape, LengthsFollowTheRatio) {
    const double t = SegmentTimeFromStored(30), k = CrossFadeFromStored(50);
    const SegmentShape up = ComputeSegmentShape(2.0, 44100, t, k);
    EXPECT_EQ(up.segment, 2646u);  // S = 0.06 s
    EXPECT_EQ(up.crossFade, 1323u);
    const SegmentShape down = ComputeSegmentShape(0.5, 44100, t, k);
    EXPECT_EQ(down.segment, 1323u);  // S = 0.03 s
    EXPECT_EQ(down.crossFade, 661u);
    EXPECT_EQ(ComputeSegmentShape(1.0, 44100, t, k).segment, 0u);  // one endless segment
    // Odd settings files: a cross-fade as long as the segment still lets segments move on,
    // and no segment time means no segments at all.
    EXPECT_EQ(ComputeSegmentShape(2.0, 44100, t, 1.5).crossFade, 2645u);
    EXPECT_EQ(ComputeSegmentShape(2.0, 44100, 0.0, k).segment, 0u);
    EXPECT_EQ(ComputeSegmentShape(2.0, 44100, -0.03, k).segment, 0u);
}

TEST(ChangePitch, ResamplingHalvesOrDoublesTheRange) {
    auto wave = Ramp(22050, 1000);
    std::uint32_t start = 100, length = 400;
    auto up = Pitch(200, false).Process(*wave, start, length, nullptr);
    ASSERT_NE(up, nullptr);
    EXPECT_EQ(start, 100u);  // the selection comes back as it was
    EXPECT_EQ(length, 400u);
    ASSERT_EQ(up->FrameCount(), 800u);
    for (std::uint32_t j = 0; j < 200; ++j)
        ASSERT_EQ(up->GetFrame(100 + j), wave->GetFrame(100 + 2 * j));
    for (std::uint32_t k = 0; k < 500; ++k)
        ASSERT_EQ(up->GetFrame(300 + k), wave->GetFrame(500 + k));

    auto down = Pitch(50, false).Process(*wave, start, length, nullptr);
    ASSERT_NE(down, nullptr);
    ASSERT_EQ(down->FrameCount(), 1400u);
    EXPECT_EQ(down->GetFrame(100 + 2 * 37), wave->GetFrame(137));
    EXPECT_EQ(down->GetFrame(100 + 2 * 37 + 1), wave->GetFrameInterpolated(137.5));
    EXPECT_EQ(down->GetFrame(899), wave->GetFrameInterpolated(499.5));  // mixed with frame 500
    for (std::uint32_t k = 0; k < 500; ++k)
        ASSERT_EQ(down->GetFrame(900 + k), wave->GetFrame(500 + k));
}

TEST(ChangePitch, EveryMethodAt100PercentLeavesTheWave) {
    auto wave = test::RandomWave(PcmFormat(44100, 16, 2), 20000, 11);
    wave->SetInfo("INAM", "unchanged");
    std::uint32_t start = 3000, length = 12345;
    for (const bool keep : {false, true}) {
        auto out = Pitch(100, keep).Process(*wave, start, length, nullptr);
        EXPECT_TRUE(test::SameWave(*wave, out.get())) << "keep length " << keep;
    }
    Stretch same(100);
    auto out = same.effect.Process(*wave, start, length, nullptr);
    EXPECT_TRUE(test::SameWave(*wave, out.get()));
    EXPECT_EQ(start, 3000u);
    EXPECT_EQ(length, 12345u);
}

TEST(ChangePitch, KeepingLengthNearTheEndRepeatsTheLastFrame) {
    auto wave = Ramp(44100, 5000);
    std::uint32_t start = 4000, length = 1000;
    auto out = Pitch(200, true).Process(*wave, start, length, nullptr);
    ASSERT_NE(out, nullptr);
    ASSERT_EQ(out->FrameCount(), 5000u);
    // One segment (W = 2646 > 1000) read at double speed: frame d reads 4000 + 2d.
    EXPECT_EQ(out->GetFrame(4000 + 250), wave->GetFrame(4500));
    for (std::uint32_t d = 500; d < 1000; ++d)
        ASSERT_EQ(out->GetFrame(4000 + d), wave->GetFrame(4999));
    for (std::uint32_t i = 0; i < 4000; ++i) ASSERT_EQ(out->GetFrame(i), wave->GetFrame(i));
}

TEST(CompressExpand, HalfLengthKeepsThePitchAndSelectsTheRange) {
    auto wave = test::BlankWave(PcmFormat(44100, 16, 1), 30000);
    for (std::uint32_t i = 0; i < 30000; ++i) {
        const auto v = static_cast<std::int32_t>(10000 * std::sin(2 * M_PI * 441 * i / 44100.0));
        wave->SetFrame(i, PackFrame(v, v));
    }
    std::uint32_t start = 10000, length = 10000;
    Stretch half(50);
    RecordingProgress progress;
    auto out = half.effect.Process(*wave, start, length, &progress);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(start, 10000u);
    EXPECT_EQ(length, 5000u);
    ASSERT_EQ(out->FrameCount(), 25000u);
    // 441 Hz over 5000 frames crosses zero about 100 times; plain resampling would double it.
    EXPECT_NEAR(ZeroCrossings(*out, 10000, 15000), 100, 8);
    for (std::uint32_t k = 0; k < 10000; ++k)
        ASSERT_EQ(out->GetFrame(15000 + k), wave->GetFrame(20000 + k));
    // The copy before the range reports per 32768-frame block: 10000 * 100 / 30000.
    ASSERT_FALSE(progress.positions.empty());
    EXPECT_EQ(progress.positions.front(), 33);
}

TEST(PitchSettings, PrivateBatchFileDefaultsAndStoredForms) {
    test::ScopedProfile profile;
    test::ScopedTempDir dir;
    const ChangePitchEffect fromProfile;
    EXPECT_EQ(fromProfile.settings.percent, 100.0);
    EXPECT_EQ(fromProfile.settings.preserveLength, 0);
    EXPECT_EQ(fromProfile.settings.segmentTime, 0.03);
    EXPECT_EQ(fromProfile.settings.crossFadeRatio, 0.5);
    // A batch step keeps the length unless told otherwise.
    const std::string empty = dir.File("FIL1.tmp");
    EXPECT_EQ(ChangePitchEffect({empty, "BATCH"}).settings.preserveLength, 1);

    const std::string file = dir.File("FIL2.tmp");
    const std::string text = "[BATCH]\nCHANGEPITCH= 150.5\nDELAY=45\nCROSSFADERATIO=25\n";
    ASSERT_TRUE(test::WriteFileBytes(file, {text.begin(), text.end()}));
    ChangePitchEffect batch({file, "BATCH"});
    EXPECT_EQ(batch.settings.percent, 150.5);
    EXPECT_EQ(batch.settings.segmentTime, 0.045);
    EXPECT_EQ(batch.settings.crossFadeRatio, 0.25);
    // Percent as "%f" text; the ratio as trunc(K * 100), which turns 29 % into 28.
    batch.settings.percent = 75;
    batch.settings.crossFadeRatio = 29 * 0.01;
    batch.SaveSettings();
    EXPECT_EQ(GetPrivateProfileString("BATCH", "CHANGEPITCH", "", file), "75.000000");
    EXPECT_EQ(GetPrivateProfileString("BATCH", "CROSSFADERATIO", "", file), "28");
    EXPECT_EQ(GetProfileString(kChangePitchSection, "CHANGEPITCH", "none"), "none");

    // Compress/expand writes its settings at the start of every run, percent truncated.
    const std::string stretchFile = dir.File("FIL3.tmp");
    CompressExpandEffect stretch({stretchFile, "BATCH"});
    EXPECT_EQ(stretch.settings.percent, 100.0);
    stretch.settings.percent = 80.7;
    auto wave = test::RandomWave(PcmFormat(8000, 8, 1), 100, 1);
    std::uint32_t start = 0, length = 0;
    ASSERT_NE(stretch.Process(*wave, start, length, nullptr), nullptr);
    EXPECT_EQ(length, 80u);
    EXPECT_EQ(GetPrivateProfileString("BATCH", "COMPRESSEXPAND", "", stretchFile), "80");
    EXPECT_EQ(GetPrivateProfileString("BATCH", "DELAY", "", stretchFile), "30");
    EXPECT_EQ(GetProfileInt(kCompressExpandSection, "COMPRESSEXPAND", -1), -1);
}

double RandomPercent(std::mt19937& rng) {
    switch (rng() % 4) {
        case 0:
            return 100;
        case 1:
            return 50 + std::uniform_real_distribution<double>(0, 150)(rng);
        default:
            return 50 + static_cast<int>(rng() % 151);
    }
}

TEST(ChangePitch, FastPathMatchesReferenceOnEveryLayout) {
    test::ForEachRandomCase(5401, 20, 70000, [](test::RandomCase& c) {
        std::mt19937& rng = *c.rng;
        const bool keep = rng() % 2 == 0;
        const ChangePitchEffect effect =
            Pitch(RandomPercent(rng), keep, 15 + rng() % 46, 5 + rng() % 66);
        RecordingProgress fast, plain;
        std::uint32_t start = c.start, length = c.length;
        auto got = effect.Process(*c.wave, start, length, &fast);
        auto want = ReferencePitch(*c.wave, c.start, c.length, effect.settings, plain);
        EXPECT_TRUE(test::SameWave(*want, got.get()))
            << effect.settings.percent << "%, keep length " << keep;
        EXPECT_EQ(fast.positions, plain.positions);
        EXPECT_EQ(start, c.start);
        EXPECT_EQ(length, c.length);
    });
}

TEST(CompressExpand, FastPathMatchesReferenceOnEveryLayout) {
    test::ForEachRandomCase(5402, 20, 70000, [](test::RandomCase& c) {
        std::mt19937& rng = *c.rng;
        Stretch stretch(RandomPercent(rng), 15 + rng() % 46, 5 + rng() % 66);
        RecordingProgress fast, plain;
        std::uint32_t start = c.start, length = c.length;
        auto got = stretch.effect.Process(*c.wave, start, length, &fast);
        auto want =
            ReferenceCompressExpand(*c.wave, c.start, c.length, stretch.effect.settings, plain);
        EXPECT_TRUE(test::SameWave(*want, got.get())) << stretch.effect.settings.percent << "%";
        EXPECT_EQ(fast.positions, plain.positions);
        EXPECT_EQ(start, c.start);
        EXPECT_EQ(length, want->FrameCount() + (c.length == 0 ? c.wave->FrameCount() : c.length) -
                              c.wave->FrameCount());
    });
}

}  // namespace
}  // namespace kelvane
