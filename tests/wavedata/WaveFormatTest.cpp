#include "wavedata/WaveFormat.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace kelvane {
namespace {

TEST(WaveFormat, PcmRecordsAndLayouts) {
    WaveFormat f;
    MakePcmFormat(f, 22050, 8, 2);
    EXPECT_EQ(f.blockAlign, 2);
    EXPECT_EQ(f.avgBytesPerSec, 44100u);
    EXPECT_EQ(FormatSize(f), 18u);
    EXPECT_EQ(FrameLayoutOf(&f), LayoutStereo8);
    MakePcmFormat(f, 11025, 16, 1);
    EXPECT_EQ(f.blockAlign, 2);
    EXPECT_EQ(FrameLayoutOf(&f), LayoutMono16);

    struct Case {
        std::uint16_t tag, bits, channels;
    };
    for (const Case c : {Case{1, 24, 2}, Case{1, 16, 3}, Case{kTagMuLaw, 8, 1}}) {
        WaveFormat g = PcmFormat(8000, c.bits, c.channels);
        g.formatTag = c.tag;
        EXPECT_EQ(FrameLayoutOf(&g), LayoutNone);
        EXPECT_EQ(BytesPerFrame(FrameLayoutOf(&g)), 0u);
    }
    EXPECT_EQ(FrameLayoutOf(nullptr), LayoutNone);
}

TEST(WaveFormat, CompressedFormatsCarryTheirExtraBytes) {
    WaveFormat header{0x11, 1, 8000, 4055, 256, 4, 2};
    FormatPtr f = NewFormat(header);
    ExtraBytes(*f)[0] = 0xF9;
    ExtraBytes(*f)[1] = 0x01;
    EXPECT_EQ(FormatSize(*f), 20u);
    FormatPtr copy = CopyFormat(*f);
    EXPECT_TRUE(SameFormat(*f, *copy));
    EXPECT_EQ(ExtraBytes(*copy)[0], 0xF9);
    // 8000 frames a second at 4055 bytes a second: the estimate for compressed data.
    EXPECT_EQ(FramesInBytes(*f, 4055), 8000u);
    header.avgBytesPerSec = 0;
    EXPECT_EQ(FramesInBytes(header, 4055), 0u);
}

TEST(WaveFormat, EightBitAndMonoConversions) {
    const std::uint8_t bytes[] = {0, 255, 128};
    EXPECT_EQ(ReadFrame<LayoutMono8>(bytes, 0), PackFrame(-32768, -32768));
    EXPECT_EQ(ReadFrame<LayoutMono8>(bytes, 1), PackFrame(32512, 32512));
    EXPECT_EQ(ReadFrame<LayoutMono8>(bytes, 2), 0u);

    std::uint8_t out8[1] = {};
    WriteFrame<LayoutMono8>(out8, 0, PackFrame(1000, -1000));
    EXPECT_EQ(out8[0], 128);
    std::int16_t out16[1] = {};
    WriteFrame<LayoutMono16>(reinterpret_cast<std::uint8_t*>(out16), 0, PackFrame(-1, 0));
    EXPECT_EQ(out16[0], -1);
    // Truncation toward zero for 8-bit mono: -511 / 512 is 0, not -1.
    WriteFrame<LayoutMono8>(out8, 0, PackFrame(-511, 0));
    EXPECT_EQ(out8[0], 128);
}

// Every stored frame survives a read and a write back unchanged, in every layout, and the
// templated access agrees with the layout-dispatched one.
TEST(WaveFormat, ReadThenWriteReproducesEveryLayout) {
    std::mt19937 rng(7);
    for (std::uint32_t layout = LayoutMono8; layout <= LayoutStereo16; ++layout) {
        std::vector<std::uint8_t> in(4096), out(4096);
        for (auto& b : in) b = static_cast<std::uint8_t>(rng());
        const std::uint32_t frames = 4096 / BytesPerFrame(layout);
        DispatchLayout(layout, [&](auto l) {
            constexpr FrameLayout L = decltype(l)::value;
            for (std::uint32_t i = 0; i < frames; ++i) {
                ASSERT_EQ(ReadFrame<L>(in.data(), i), ReadFrameAt(layout, in.data(), i));
                WriteFrame<L>(out.data(), i, ReadFrame<L>(in.data(), i));
            }
        });
        EXPECT_EQ(in, out) << "layout " << layout;
    }
}

}  // namespace
}  // namespace kelvane
