#include "formats/streams/ConvertStream.h"

#include <gtest/gtest.h>

#include "acm/WavImage.h"
#include "formats/streams/BlockStream.h"
#include "platform/acm/G711Driver.h"
#include "platform/acm/GsmDriver.h"
#include "platform/acm/ImaAdpcmDriver.h"
#include "platform/acm/MsAdpcmDriver.h"

namespace kelvane {
namespace {

std::string Describe(const WaveFormat& f) {
    return std::to_string(f.formatTag) + "/" + std::to_string(f.samplesPerSec) + "/" +
           std::to_string(f.bitsPerSample) + "/" + std::to_string(f.channels);
}

TEST(ConvertStream, AddsOnlyTheStagesTheFormatsNeed) {
    const FormatPtr mulaw8kStereo = CopyFormat(G711Driver::MakeFormat(kTagMuLaw, 8000, 2));
    const FormatPtr ima44 = ImaAdpcmDriver::MakeFormat(44100, 2);
    const FormatPtr ima22 = ImaAdpcmDriver::MakeFormat(22050, 2);
    const FormatPtr ima22Mono = ImaAdpcmDriver::MakeFormat(22050, 1);
    const FormatPtr ms8k = MsAdpcmDriver::MakeFormat(8000, 1);
    const FormatPtr gsm = GsmDriver::MakeFormat();
    struct Case {
        WaveFormat* from;
        WaveFormat* to;
        std::vector<std::string> stageTargets;
    };
    WaveFormat pcm8Mono11k = PcmFormat(11025, 8, 1), cd = PcmFormat(44100, 16, 2),
               pcm16Half = PcmFormat(22050, 16, 2), pcm8MonoHalf = PcmFormat(22050, 8, 1);
    const Case cases[] = {
        {&pcm8Mono11k, mulaw8kStereo.get(), {"1/8000/16/2", "7/8000/8/2"}},
        {&cd, &cd, {}},
        {ima44.get(), ima44.get(), {}},
        {ima22.get(), &pcm16Half, {"1/22050/16/2"}},
        {ima44.get(), &pcm8MonoHalf, {"1/44100/16/2", "1/22050/16/1", "1/22050/8/1"}},
        {&cd, &pcm16Half, {"1/22050/16/2"}},
        {&cd, ima22Mono.get(), {"1/22050/16/1", "17/22050/4/1"}},
        {&cd, gsm.get(), {"1/8000/16/1", "49/8000/0/1"}},
        {ms8k.get(), gsm.get(), {"1/8000/16/1", "49/8000/0/1"}},
    };
    std::vector<std::uint8_t> bytes(4096);
    BorrowedBlock block(bytes.data(), 4096, false, true);
    BlockStream inner(block);
    for (const Case& c : cases) {
        ConvertStream stream(*c.from, *c.to, inner);
        const std::string name = Describe(*c.from) + " -> " + Describe(*c.to);
        ASSERT_EQ(stream.IsOk(), 1u) << name;
        ASSERT_EQ(stream.StageCount(), c.stageTargets.size()) << name;
        for (std::uint32_t i = 0; i < stream.StageCount(); ++i)
            EXPECT_EQ(Describe(stream.Stage(i)->TargetFormat()), c.stageTargets[i]) << name;
    }
}

TEST(ConvertStream, AlikeFormatsPassTheBytesThrough) {
    std::vector<std::uint8_t> bytes = {1, 2, 3, 4, 5, 6};
    BorrowedBlock block(bytes.data(), 6, false, true);
    const WaveFormat f = PcmFormat(8000, 16, 1);
    ConvertStream stream(f, f, std::make_unique<BlockStream>(block));
    EXPECT_EQ(stream.Size(), 6u);
    std::uint8_t got[6];
    EXPECT_EQ(stream.Read(got, 6), 6u);
    EXPECT_EQ(std::vector<std::uint8_t>(got, got + 6), bytes);
    EXPECT_TRUE(stream.IsEof());
}

TEST(ConvertStream, AStageThatCannotOpenLeavesItNotOk) {
    std::vector<std::uint8_t> bytes(100);
    BorrowedBlock block(bytes.data(), 100, false, true);
    BlockStream inner(block);
    WaveFormat mp3 = PcmFormat(44100, 0, 2);
    mp3.formatTag = 0x55;
    ConvertStream toUnknown(PcmFormat(44100, 16, 2), mp3, inner);
    EXPECT_EQ(toUnknown.IsOk(), 0u);
    ConvertStream fromUnknown(mp3, PcmFormat(44100, 16, 2), inner);
    EXPECT_EQ(fromUnknown.IsOk(), 0u);
    EXPECT_EQ(fromUnknown.StageCount(), 1u);
    std::uint8_t byte;
    EXPECT_EQ(fromUnknown.Read(&byte, 1), 0u);
    // The borrowed inner stream is untouched by the failed chains.
    EXPECT_EQ(inner.IsOk(), 1u);
    EXPECT_EQ(inner.Read(&byte, 1), 1u);
}

TEST(ConvertStream, ChainsDecodeResampleAndNarrowInOnePass) {
    const FormatPtr ima = ImaAdpcmDriver::MakeFormat(44100, 2);
    auto encoded = test::ConvertAll(PcmFormat(44100, 16, 2),
                                    test::AsBytes(test::Sweep(44100, 2, 44100, 300, 3000)), *ima);
    const auto out = test::ConvertAll(*ima, encoded, PcmFormat(22050, 8, 1), 1234);
    const std::uint32_t decodedFrames = static_cast<std::uint32_t>(encoded.size() / 2048 * 2041);
    EXPECT_NEAR(static_cast<double>(out.size()), decodedFrames / 2.0, 1.0);
    // The left channel's sine and the right's cosine average to a tone of amplitude
    // 16384 * sqrt(2) / 2 in 8 bits: about 90 around silence at 128.
    int low = 255, high = 0;
    for (std::size_t i = 1000; i + 1000 < out.size(); ++i) {
        low = std::min<int>(low, out[i]);
        high = std::max<int>(high, out[i]);
    }
    EXPECT_NEAR(high - 128, 45, 4);
    EXPECT_NEAR(128 - low, 45, 4);
}

}  // namespace
}  // namespace kelvane
