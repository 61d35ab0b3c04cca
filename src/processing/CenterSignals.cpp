#include "processing/CenterSignals.h"

#include <algorithm>

#include "processing/RangeEffect.h"

namespace kelvane {

namespace {

constexpr std::uint32_t kBlock = 32768;

// Calls body(first, last) over the wave in blocks of kBlock frames, reporting
// base + done * 50 / n after each.
template <typename Body>
void HalfInBlocks(std::uint32_t n, int base, ProgressIndicator* progress, Body&& body) {
    for (std::uint32_t first = 0; first < n;) {
        const std::uint32_t last = first + std::min(kBlock, n - first);
        body(first, last);
        if (progress != nullptr) {
            progress->SetPos(base + static_cast<int>(std::uint64_t{last} * 50 / n));
            if (progress->Cancelled()) return;
        }
        first = last;
    }
}

}  // namespace

std::unique_ptr<WaveObject> CenterSignalsEffect::Process(const WaveObject& source,
                                                         ProgressIndicator* progress) const {
    const std::uint32_t n = source.FrameCount();
    if (n == 0 || !HasReadableFrames(source)) return nullptr;
    auto result = NewResultWave(source, n);
    if (!result) return nullptr;
    DispatchLayout(source.frameLayout, [&](auto layout) {
        constexpr FrameLayout L = decltype(layout)::value;
        const std::uint8_t* in = source.data;
        std::uint8_t* out = result->data;
        std::int64_t sumL = 0;
        std::int64_t sumR = 0;
        HalfInBlocks(n, 0, progress, [&](std::uint32_t first, std::uint32_t last) {
            // Per-block 32-bit sums cannot overflow (32768 * 32768 = 2^30) and vectorise well.
            std::int32_t blockL = 0;
            std::int32_t blockR = 0;
            for (std::uint32_t i = first; i < last; ++i) {
                const FrameValue v = ReadFrame<L>(in, i);
                blockL += LeftOf(v);
                blockR += RightOf(v);
            }
            sumL += blockL;
            sumR += blockR;
        });
        const std::int32_t meanL = static_cast<std::int16_t>(sumL / n);
        const std::int32_t meanR = static_cast<std::int16_t>(sumR / n);
        HalfInBlocks(n, 50, progress, [&](std::uint32_t first, std::uint32_t last) {
            for (std::uint32_t i = first; i < last; ++i) {
                const FrameValue v = ReadFrame<L>(in, i);
                WriteFrame<L>(out, i,
                              PackFrame(Clamp16(LeftOf(v) - meanL), Clamp16(RightOf(v) - meanR)));
            }
        });
    });
    result->CopyInfo(&source);
    return result;
}

}  // namespace kelvane
