#pragma once

#include <cstdint>

#include "wavedata/WaveFormat.h"

namespace kelvane {

// Linear mix of two frames at fraction t, half by half, exactly as
// WaveObject::GetFrameInterpolated does it: the base is a's half read as unsigned, so a
// fraction below a negative sample rounds down.
[[nodiscard]] inline std::uint32_t MixHalf(std::uint32_t au, std::int32_t as, std::int32_t bs,
                                           double t) {
    const auto v = static_cast<std::int64_t>(static_cast<double>(au) + (bs - as) * t);
    return static_cast<std::uint32_t>(v) & 0xFFFFu;
}

// WaveObject::GetFrameInterpolated over one stored layout, for loops written per layout.
template <FrameLayout L>
[[nodiscard]] inline FrameValue InterpolateFrame(const std::uint8_t* data, std::uint32_t frames,
                                                 double pos) {
    if (!(pos >= 0.0) || pos >= static_cast<double>(frames)) return 0;
    const auto k = static_cast<std::uint32_t>(pos);  // floor, as pos >= 0
    const FrameValue a = ReadFrame<L>(data, k);
    const FrameValue b = k + 1 < frames ? ReadFrame<L>(data, k + 1) : 0;
    const double t = pos - k;
    const std::uint32_t left = MixHalf(a & 0xFFFFu, LeftOf(a), LeftOf(b), t);
    if constexpr (L == LayoutMono8 || L == LayoutMono16) {
        return (left << 16) | left;  // both halves of a mono frame are the same sample
    } else {
        const std::uint32_t right = MixHalf(a >> 16, RightOf(a), RightOf(b), t);
        return (right << 16) | left;
    }
}

// The same for a position known to lie at or after frame 0 with a next frame inside the
// wave, in 32-bit arithmetic (every intermediate value fits), for the innermost loops.
template <FrameLayout L>
[[nodiscard]] inline FrameValue InterpolateInside(const std::uint8_t* data, double pos) {
    const auto k = static_cast<std::uint32_t>(pos);
    const FrameValue a = ReadFrame<L>(data, k);
    const FrameValue b = ReadFrame<L>(data, k + 1);
    const double t = pos - k;
    auto mix = [t](std::uint32_t au, std::int32_t as, std::int32_t bs) {
        return static_cast<std::uint32_t>(static_cast<std::int32_t>(au + (bs - as) * t)) & 0xFFFFu;
    };
    const std::uint32_t left = mix(a & 0xFFFFu, LeftOf(a), LeftOf(b));
    if constexpr (L == LayoutMono8 || L == LayoutMono16) {
        return (left << 16) | left;
    } else {
        return (mix(a >> 16, RightOf(a), RightOf(b)) << 16) | left;
    }
}

}  // namespace kelvane
