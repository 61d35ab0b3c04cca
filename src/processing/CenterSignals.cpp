#include "processing/CenterSignals.h"

#include <algorithm>
#include <cstring>

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

// Stereo 16-bit frames as samples, eight at a time: loops of a fixed length that the
// compiler turns into vector instructions (the frame loop below stays scalar). Even samples
// are left, odd ones right. Frames the groups of eight leave over go to the frame loop.
constexpr std::uint32_t kGroupFrames = 4;

void SumStereo16(const std::uint8_t* in, std::uint32_t first, std::uint32_t last,
                 std::int32_t& left, std::int32_t& right) {
    std::int32_t acc[8] = {};
    for (std::uint32_t i = first; i < last; i += kGroupFrames) {
        std::int16_t s[8];
        std::memcpy(s, in + std::size_t{i} * 4, sizeof s);
        for (int k = 0; k < 8; ++k) acc[k] += s[k];
    }
    for (int k = 0; k < 8; k += 2) {
        left += acc[k];
        right += acc[k + 1];
    }
}

void SubtractStereo16(const std::uint8_t* in, std::uint8_t* out, std::uint32_t first,
                      std::uint32_t last, std::int32_t meanL, std::int32_t meanR) {
    const std::int32_t mean[8] = {meanL, meanR, meanL, meanR, meanL, meanR, meanL, meanR};
    for (std::uint32_t i = first; i < last; i += kGroupFrames) {
        std::int16_t s[8];
        std::memcpy(s, in + std::size_t{i} * 4, sizeof s);
        for (int k = 0; k < 8; ++k)
            s[k] = static_cast<std::int16_t>(std::clamp(s[k] - mean[k], -32768, 32767));
        std::memcpy(out + std::size_t{i} * 4, s, sizeof s);
    }
}

// The end of the frames in [first, last) that whole groups cover.
std::uint32_t GroupedEnd(std::uint32_t first, std::uint32_t last) {
    return first + (last - first) / kGroupFrames * kGroupFrames;
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
            if constexpr (L == LayoutStereo16) {
                const std::uint32_t grouped = GroupedEnd(first, last);
                SumStereo16(in, first, grouped, blockL, blockR);
                first = grouped;
            }
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
            if constexpr (L == LayoutStereo16) {
                const std::uint32_t grouped = GroupedEnd(first, last);
                SubtractStereo16(in, out, first, grouped, meanL, meanR);
                first = grouped;
            }
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
