#include "processing/SegmentShift.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "processing/EffectResult.h"
#include "processing/FrameInterpolation.h"
#include "processing/ProgressCounter.h"

namespace kelvane {

namespace {

constexpr double kQuarterTurn = 1.570796327;

// Weights of the cross-fade at countdown n (X down to 1): the old frame gets
// sin(n * pi/2 / X), the new one 1 minus that. Tabled once per run; a cross-fade too long
// for a table (only from odd settings files) computes them as it goes.
class CrossFadeWeights {
  public:
    explicit CrossFadeWeights(std::uint32_t crossFade) : crossFade_(crossFade) {
        if (crossFade == 0 || crossFade > kMaxTable) return;
        table_.resize(std::size_t{crossFade} + 1);
        for (std::uint32_t n = 1; n <= crossFade; ++n) table_[n] = Compute(n);
    }

    struct Pair {
        double fresh;
        double old;
    };

    [[nodiscard]] Pair At(std::uint32_t n) const { return table_.empty() ? Compute(n) : table_[n]; }

  private:
    static constexpr std::uint32_t kMaxTable = 1u << 20;

    [[nodiscard]] Pair Compute(std::uint32_t n) const {
        const double w =
            std::sin(static_cast<double>(n) * kQuarterTurn / static_cast<double>(crossFade_));
        return {1 - w, w};
    }

    std::uint32_t crossFade_;
    std::vector<Pair> table_;
};

inline std::int32_t FadeSample(std::int32_t fresh, std::int32_t old, CrossFadeWeights::Pair w) {
    return static_cast<std::int32_t>(fresh * w.fresh + old * w.old);
}

// The job comes by value: the byte stores below may alias anything the compiler cannot see
// is local, and would make it reload the job's fields every frame.
template <FrameLayout L>
void RunSegments(const SegmentJob job, SegmentProgress& progress) {
    const std::uint8_t* in = job.source->data;
    const std::uint32_t frames = job.source->FrameCount();
    const FrameValue lastFrame = frames > 0 ? ReadFrame<L>(in, frames - 1) : 0;
    std::uint8_t* out = job.output->data;
    const std::uint32_t segment = job.shape.segment;
    const std::uint32_t crossFade = job.shape.crossFade;
    const CrossFadeWeights weights(crossFade);
    const double ratio = job.ratio;
    const std::uint32_t readStart = job.readStart;
    const std::uint32_t origin = job.origin;
    const std::uint32_t length = job.length;

    std::uint32_t a = 0;     // frame within the segment
    std::uint32_t b = 0;     // read offset of the segment
    std::uint32_t fade = 0;  // cross-fade countdown
    std::uint32_t d = 0;     // output position

    // Past the end of the wave the last frame repeats.
    auto fresh = [&](std::uint32_t at) {
        const double p = static_cast<double>(readStart + b) + at * ratio;
        return p < frames ? InterpolateFrame<L>(in, frames, p) : lastFrame;
    };
    auto report = [&] {
        if (progress.progress != nullptr)
            progress.progress->SetPos(
                TruncToInt((progress.base + progress.key) / progress.total * 100.0));
    };

    while (d < length) {
        std::uint32_t run = length - d;
        if (segment > 0) run = std::min(run, segment - a);
        const std::uint32_t phase = progress.key % kProgressStep;
        if (phase == 0) report();
        if (progress.progress != nullptr && progress.progress->Cancelled()) return;
        run = std::min(run, kProgressStep - phase);

        const std::uint32_t faded = std::min(run, fade);
        for (std::uint32_t k = 0; k < faded; ++k) {
            const FrameValue now = fresh(a + k);
            const std::uint32_t at = origin + d + k;
            const FrameValue before = ReadFrame<L>(out, at);
            const CrossFadeWeights::Pair w = weights.At(fade - k);
            const std::int32_t left = FadeSample(LeftOf(now), LeftOf(before), w);
            if constexpr (L == LayoutMono8 || L == LayoutMono16) {
                WriteFrame<L>(out, at, PackFrame(left, left));
            } else {
                WriteFrame<L>(out, at,
                              PackFrame(left, FadeSample(RightOf(now), RightOf(before), w)));
            }
        }
        for (std::uint32_t k = faded; k < run; ++k)
            WriteFrame<L>(out, origin + d + k, fresh(a + k));

        a += run;
        d += run;
        fade -= faded;
        progress.key += run;
        if (segment > 0 && a == segment) {
            // Step back over the tail just written; the next segment starts reading where its
            // first output frame lies and fades in over that tail.
            d -= crossFade;
            fade = crossFade;
            b = d;
            a = 0;
            if (progress.followsOutput) progress.key -= crossFade;
        }
    }
}

}  // namespace

int StoredSegmentTime(double seconds) {
    return TruncToInt(seconds * 1000);
}

int StoredCrossFade(double ratio) {
    return TruncToInt(ratio * 100);
}

SegmentShape ComputeSegmentShape(double ratio, std::uint32_t rate, double segmentTime,
                                 double crossFadeRatio) {
    if (ratio == 1.0) return {};
    const double seconds = segmentTime * ratio / std::fabs(ratio - 1);
    const double w = rate * seconds;
    const double x = rate * crossFadeRatio * seconds;
    if (!(w >= 1.0 && w < 2147483648.0)) return {};
    SegmentShape shape;
    shape.segment = static_cast<std::uint32_t>(w);
    if (x >= 1.0) shape.crossFade = x < w ? static_cast<std::uint32_t>(x) : shape.segment - 1;
    shape.crossFade = std::min(shape.crossFade, shape.segment - 1);
    return shape;
}

bool RunSegmentShift(const SegmentJob& job, SegmentProgress progress) {
    return DispatchLayout(job.source->frameLayout, [&](auto layout) {
        RunSegments<decltype(layout)::value>(job, progress);
    });
}

}  // namespace kelvane
