// Wave files in each compressed format the compression manager writes, read back by us and
// by sox and ffmpeg.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "formats/FormatsTestUtil.h"
#include "platform/acm/AcmFormats.h"
#include "support/TestSupport.h"

namespace kelvane {
namespace {

using test::Samples16;

// The offered format of `tag` closest to the source: same rate and channels when there is one.
FormatPtr TargetOf(const WaveFormat& source, std::uint16_t tag) {
    FormatPtr best;
    for (auto& details : AcmEnumFormats(&source, tag)) {
        const WaveFormat& f = *details.format;
        const bool same = f.samplesPerSec == source.samplesPerSec && f.channels == source.channels;
        if (same && (!best || f.bitsPerSample > best->bitsPerSample)) best = CopyFormat(f);
    }
    return best;
}

// Root-mean-square difference over the shorter of the two, in 16-bit steps.
double RmsDifference(const std::vector<std::int16_t>& a, const std::vector<std::int16_t>& b) {
    const std::size_t n = std::min(a.size(), b.size());
    double sum = 0;
    for (std::size_t i = 0; i < n; ++i) sum += double(a[i] - b[i]) * (a[i] - b[i]);
    return n == 0 ? 1e9 : std::sqrt(sum / n);
}

TEST(CompressedWave, PeersDecodeEachCompressedTargetAsWeDo) {
    if (!test::RequireTool("sox") || !test::RequireTool("ffmpeg")) return;
    test::ScopedTempDir dir;
    struct Case {
        std::uint16_t tag;
        std::uint32_t rate;
        std::uint16_t channels;
        double ffmpegRms;    // ffmpeg's decode against ours (sox decodes as we do)
        double originalRms;  // ours against the sound we saved
    };
    const Case cases[] = {
        // ffmpeg's ADPCM decoders round their steps differently by a few units.
        {kTagMuLaw, 8000, 1, 0, 400}, {kTagALaw, 8000, 2, 0, 400}, {0x11, 22050, 2, 16, 1500},
        {0x02, 22050, 1, 32, 1500},   {0x31, 8000, 1, 0, 3000},
    };
    for (const Case& c : cases) {
        auto wave = test::SweepWave(c.rate, c.channels, c.rate, 100, 2000, 12000);
        const FormatPtr target = TargetOf(*wave->format, c.tag);
        ASSERT_TRUE(target) << "no target of tag " << c.tag;
        const std::string file = dir.File("c.wav");
        ASSERT_EQ(wave->Save(file, kFileWave, {.target = target.get()}), FileError::Success)
            << c.tag;
        auto back = test::LoadOrFail(file, LOAD_CONVERT_TO_PCM);
        ASSERT_EQ(back->format->formatTag, kTagPcm);
        EXPECT_EQ(back->format->bitsPerSample, 16);
        const auto ours = Samples16(*back);
        EXPECT_NEAR(static_cast<double>(ours.size()), Samples16(*wave).size(), 2048 * c.channels)
            << c.tag;
        EXPECT_LE(RmsDifference(ours, Samples16(*wave)), c.originalRms) << c.tag;
        const auto sox = test::SoxDecode(file);
        EXPECT_EQ(sox, ours) << c.tag;
        const auto ffmpeg = test::FfmpegDecode(file);
        EXPECT_EQ(ffmpeg.size(), ours.size()) << c.tag;
        EXPECT_LE(RmsDifference(ffmpeg, ours), c.ffmpegRms) << c.tag;
    }
}

}  // namespace
}  // namespace kelvane
