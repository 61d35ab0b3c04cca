#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "processing/EffectResult.h"
#include "processing/ProgressIndicator.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

// Whether an effect can read the source's frames: a PCM layout with its bytes in memory (an
// empty wave always qualifies).
[[nodiscard]] inline bool HasReadableFrames(const WaveObject& source) {
    if (!source.format) return false;
    if (source.FrameCount() == 0) return true;
    return source.frameLayout != LayoutNone && source.data != nullptr;
}

// Reading a frame and writing it back in the same layout gives the same bytes in every
// layout, so moving a frame unchanged is a byte copy.
template <FrameLayout L>
inline void MoveFrame(const std::uint8_t* in, std::uint32_t from, std::uint8_t* out,
                      std::uint32_t to) {
    constexpr std::size_t kBytes = BytesPerFrame(L);
    std::memcpy(out + std::size_t{to} * kBytes, in + std::size_t{from} * kBytes, kBytes);
}

// The frame loop of the effects that change the frames of a range and copy the others: sets
// up a result of the source's format and length, copies the frames outside the range as bytes,
// and hands the frames of the range to `kernel(layout, in, out, first, last, range)` in pieces,
// reporting progress before every frame index that is a multiple of 16384. `layout` is a
// std::integral_constant<FrameLayout, L>, so the kernel is compiled once per layout.
template <typename Kernel>
std::unique_ptr<WaveObject> RunRangeEffect(const WaveObject& source, std::uint32_t start,
                                           std::uint32_t length, ProgressIndicator* progress,
                                           Kernel&& kernel) {
    if (!HasReadableFrames(source)) return nullptr;
    const std::uint32_t n = source.FrameCount();
    const FrameRange range = ProcessedRange(start, length, n);
    std::vector<KeptRun> toCopy;
    auto result = NewResultKeeping(source, n, range, toCopy);
    if (!result) return nullptr;
    const std::uint64_t bpf = BytesPerFrame(source.frameLayout);
    DispatchLayout(source.frameLayout, [&](auto layout) {
        ForEachProgressBlock(0, n, n, progress, [&](std::uint32_t first, std::uint32_t last) {
            CopyKeptBytes(source, *result, toCopy, first * bpf, last * bpf);
            const std::uint32_t a = std::clamp(range.start, first, last);
            const std::uint32_t b = std::clamp(range.end(), first, last);
            if (a < b) kernel(layout, source.data, result->data, a, b, range);
        });
    });
    result->CopyInfo(&source);
    return result;
}

// A function of one 16-bit sample, tabulated for all 65536 inputs: effects whose result
// depends only on the sample (volume, normalize) compute the exact arithmetic once per value
// and look it up per sample.
class SampleMap {
  public:
    template <typename Fn>
    [[nodiscard]] bool Fill(Fn&& fn) {
        table_.reset(new (std::nothrow) std::int16_t[65536]);
        if (!table_) return false;
        for (std::int32_t s = -32768; s <= 32767; ++s)
            table_[static_cast<std::uint16_t>(s)] = static_cast<std::int16_t>(fn(s));
        return true;
    }
    [[nodiscard]] std::int16_t operator()(std::int16_t sample) const {
        return table_[static_cast<std::uint16_t>(sample)];
    }

  private:
    std::unique_ptr<std::int16_t[]> table_;
};

}  // namespace kelvane
