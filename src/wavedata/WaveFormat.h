#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <type_traits>

namespace kelvane {

// The 18-byte format record, laid out byte for byte as the body of a RIFF "fmt " chunk.
// Compressed formats carry extraSize further bytes directly after it.
#pragma pack(push, 1)
struct WaveFormat {
    std::uint16_t formatTag = 0;
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSec = 0;
    std::uint32_t avgBytesPerSec = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
    std::uint16_t extraSize = 0;
};
#pragma pack(pop)
static_assert(sizeof(WaveFormat) == 18);

inline constexpr std::uint16_t kTagPcm = 1;
inline constexpr std::uint16_t kTagALaw = 6;
inline constexpr std::uint16_t kTagMuLaw = 7;

enum FrameLayout : std::uint32_t {
    LayoutNone = 0,
    LayoutMono8 = 1,
    LayoutStereo8 = 2,
    LayoutMono16 = 3,
    LayoutStereo16 = 4,
};

enum class SampleCode : std::uint32_t {
    Signed8 = 1,
    Unsigned8 = 2,
    Signed16LE = 3,
    Signed16BE = 4,
    Unsigned16LE = 5,
    Unsigned16BE = 6,
};

// One frame: left sample in the low 16 bits, right in the high 16 bits, both signed.
using FrameValue = std::uint32_t;

[[nodiscard]] std::uint32_t FormatSize(const WaveFormat& format);
void MakePcmFormat(WaveFormat& format, std::uint16_t rate, std::uint16_t bits,
                   std::uint16_t channels);
// Same record for rates above 65535, which the 16-bit rate above cannot express.
[[nodiscard]] WaveFormat PcmFormat(std::uint32_t rate, std::uint16_t bits, std::uint16_t channels);
[[nodiscard]] FrameLayout FrameLayoutOf(const WaveFormat* format);

[[nodiscard]] constexpr std::uint32_t BytesPerFrame(std::uint32_t layout) {
    constexpr std::uint32_t kBytes[] = {0, 1, 2, 2, 4};
    return layout < 5 ? kBytes[layout] : 0;
}

// Frames in `bytes` of data: exact for PCM layouts, estimated from the byte rate otherwise
// (0 when the format has no byte rate).
[[nodiscard]] std::uint32_t FramesInBytes(const WaveFormat& format, std::uint32_t bytes);

[[nodiscard]] inline const std::uint8_t* ExtraBytes(const WaveFormat& format) {
    return reinterpret_cast<const std::uint8_t*>(&format) + sizeof(WaveFormat);
}
[[nodiscard]] inline std::uint8_t* ExtraBytes(WaveFormat& format) {
    return reinterpret_cast<std::uint8_t*>(&format) + sizeof(WaveFormat);
}

// An owned copy of FormatSize bytes, extra bytes included.
struct FormatDeleter {
    void operator()(WaveFormat* format) const { std::free(format); }
};
using FormatPtr = std::unique_ptr<WaveFormat, FormatDeleter>;

[[nodiscard]] FormatPtr CopyFormat(const WaveFormat& format);
// A record of 18 + extraSize bytes with the extra bytes zeroed, for callers that fill them.
[[nodiscard]] FormatPtr NewFormat(const WaveFormat& header);
[[nodiscard]] bool SameFormat(const WaveFormat& a, const WaveFormat& b);

// ---- Frame conversions -------------------------------------------------------------------

[[nodiscard]] constexpr std::int16_t LeftOf(FrameValue v) {
    return static_cast<std::int16_t>(v & 0xFFFFu);
}
[[nodiscard]] constexpr std::int16_t RightOf(FrameValue v) {
    return static_cast<std::int16_t>(v >> 16);
}
[[nodiscard]] constexpr FrameValue PackFrame(std::int32_t left, std::int32_t right) {
    return (static_cast<std::uint32_t>(right) << 16) | (static_cast<std::uint32_t>(left) & 0xFFFFu);
}
[[nodiscard]] constexpr std::int32_t Clamp16(std::int32_t v) {
    return v < -32768 ? -32768 : (v > 32767 ? 32767 : v);
}

template <FrameLayout L>
[[nodiscard]] inline FrameValue ReadFrame(const std::uint8_t* d, std::uint32_t i) {
    if constexpr (L == LayoutMono8) {
        const auto v = static_cast<std::uint16_t>((d[i] - 128) * 256);
        return (static_cast<std::uint32_t>(v) << 16) | v;
    } else if constexpr (L == LayoutStereo8) {
        const auto l = static_cast<std::uint16_t>((d[2 * i] - 128) * 256);
        const auto r = static_cast<std::uint16_t>((d[2 * i + 1] - 128) * 256);
        return (static_cast<std::uint32_t>(r) << 16) | l;
    } else if constexpr (L == LayoutMono16) {
        std::uint16_t s;
        __builtin_memcpy(&s, d + 2 * static_cast<std::size_t>(i), 2);
        return (static_cast<std::uint32_t>(s) << 16) | s;
    } else if constexpr (L == LayoutStereo16) {
        FrameValue v;
        __builtin_memcpy(&v, d + 4 * static_cast<std::size_t>(i), 4);
        return v;
    } else {
        return 0;
    }
}

template <FrameLayout L>
inline void WriteFrame(std::uint8_t* d, std::uint32_t i, FrameValue f) {
    const std::int32_t left = LeftOf(f);
    const std::int32_t right = RightOf(f);
    if constexpr (L == LayoutMono8) {
        d[i] = static_cast<std::uint8_t>((left + right) / 512 + 128);
    } else if constexpr (L == LayoutStereo8) {
        d[2 * i] = static_cast<std::uint8_t>((left >> 8) + 128);
        d[2 * i + 1] = static_cast<std::uint8_t>((right >> 8) + 128);
    } else if constexpr (L == LayoutMono16) {
        const auto s = static_cast<std::int16_t>((left + right) >> 1);
        __builtin_memcpy(d + 2 * static_cast<std::size_t>(i), &s, 2);
    } else if constexpr (L == LayoutStereo16) {
        __builtin_memcpy(d + 4 * static_cast<std::size_t>(i), &f, 4);
    }
}

// Calls fn with std::integral_constant<FrameLayout, L> for the given layout, so a caller
// writes its loop once and gets one specialised copy per layout. LayoutNone calls nothing
// and returns false.
template <typename Fn>
bool DispatchLayout(std::uint32_t layout, Fn&& fn) {
    switch (layout) {
        case LayoutMono8:
            fn(std::integral_constant<FrameLayout, LayoutMono8>{});
            return true;
        case LayoutStereo8:
            fn(std::integral_constant<FrameLayout, LayoutStereo8>{});
            return true;
        case LayoutMono16:
            fn(std::integral_constant<FrameLayout, LayoutMono16>{});
            return true;
        case LayoutStereo16:
            fn(std::integral_constant<FrameLayout, LayoutStereo16>{});
            return true;
        default:
            return false;
    }
}

[[nodiscard]] FrameValue ReadFrameAt(std::uint32_t layout, const std::uint8_t* d, std::uint32_t i);
void WriteFrameAt(std::uint32_t layout, std::uint8_t* d, std::uint32_t i, FrameValue f);

}  // namespace kelvane
