#include "processing/Normalize.h"

#include <algorithm>

#include "processing/RangeEffect.h"

namespace kelvane {

namespace {

// Calls body(offset, count) over [0, count) in pieces that start where the running counter
// (counterBase + offset) is a multiple of 16384, reporting counter * 100 / total there first.
// The counter runs on across both passes.
template <typename Body>
void CountedBlocks(std::uint64_t counterBase, std::uint32_t count, std::uint64_t total,
                   ProgressIndicator* progress, Body&& body) {
    std::uint32_t offset = 0;
    while (offset < count) {
        const std::uint64_t counter = counterBase + offset;
        if (progress != nullptr && counter % kProgressStep == 0) {
            progress->SetPos(static_cast<int>(counter * 100 / total));
            if (progress->Cancelled()) return;
        }
        const std::uint64_t next = (counter / kProgressStep + 1) * kProgressStep - counterBase;
        const auto last = static_cast<std::uint32_t>(std::min<std::uint64_t>(next, count));
        body(offset, last - offset);
        offset = last;
    }
}

template <FrameLayout L>
std::int32_t PeakOf(const std::uint8_t* in, std::uint32_t first, std::uint32_t last,
                    std::int32_t peak) {
    for (std::uint32_t i = first; i < last; ++i) {
        const FrameValue v = ReadFrame<L>(in, i);
        const std::int32_t l = LeftOf(v);
        const std::int32_t r = RightOf(v);
        peak = std::max(peak, std::max(l < 0 ? -l : l, r < 0 ? -r : r));
    }
    return peak;
}

}  // namespace

std::unique_ptr<WaveObject> NormalizeEffect::Process(const WaveObject& source, std::uint32_t start,
                                                     std::uint32_t length,
                                                     ProgressIndicator* progress) const {
    if (!HasReadableFrames(source)) return nullptr;
    const std::uint32_t n = source.FrameCount();
    const FrameRange range = ProcessedRange(start, length, n);
    std::vector<KeptRun> toCopy;
    auto result = NewResultKeeping(source, n, range, toCopy);
    if (!result) return nullptr;
    const std::uint64_t total = std::uint64_t{n} + range.length;
    bool ok = true;
    DispatchLayout(source.frameLayout, [&](auto layout) {
        constexpr FrameLayout L = decltype(layout)::value;
        const std::uint8_t* in = source.data;
        std::uint8_t* out = result->data;
        std::int32_t peak = 0;
        CountedBlocks(0, n, total, progress, [&](std::uint32_t first, std::uint32_t count) {
            CopyUnshared(source, *result, toCopy, range, first, first + count);
            const std::uint32_t a = std::clamp(range.start, first, first + count);
            const std::uint32_t b = std::clamp(range.end(), first, first + count);
            peak = PeakOf<L>(in, a, b, peak);
        });
        if (peak == 0 || range.length == 0) return;
        SampleMap scale;
        ok = scale.Fill([peak](std::int32_t s) { return s * 32767 / peak; });
        if (!ok) return;
        CountedBlocks(n, range.length, total, progress,
                      [&](std::uint32_t offset, std::uint32_t count) {
                          const std::uint32_t first = range.start + offset;
                          for (std::uint32_t i = first; i < first + count; ++i) {
                              const FrameValue v = ReadFrame<L>(in, i);
                              WriteFrame<L>(out, i, PackFrame(scale(LeftOf(v)), scale(RightOf(v))));
                          }
                      });
    });
    if (!ok) return nullptr;
    result->CopyInfo(&source);
    return result;
}

}  // namespace kelvane
