#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "acm/WavImage.h"
#include "platform/acm/AcmConversion.h"
#include "platform/acm/AcmFormats.h"
#include "platform/acm/G711Driver.h"
#include "platform/acm/GsmDriver.h"
#include "platform/acm/ImaAdpcmDriver.h"
#include "platform/acm/MsAdpcmDriver.h"
#include "platform/acm/PcmDriver.h"

namespace kelvane {
namespace {

using test::AsBytes;
using test::AsSamples;
using test::ConvertAll;

TEST(G711, ReferenceValuesAndRoundTrips) {
    EXPECT_EQ(G711Driver::Expand(kTagMuLaw, 0x00), -32124);
    EXPECT_EQ(G711Driver::Expand(kTagMuLaw, 0x80), 32124);
    EXPECT_EQ(G711Driver::Expand(kTagMuLaw, 0xFF), 0);
    EXPECT_EQ(G711Driver::Expand(kTagALaw, 0xD5), 8);
    EXPECT_EQ(G711Driver::Expand(kTagALaw, 0x55), -8);
    EXPECT_EQ(G711Driver::Expand(kTagALaw, 0xAA), 32256);
    EXPECT_EQ(G711Driver::Compress(kTagMuLaw, 0), 0xFF);
    EXPECT_EQ(G711Driver::Compress(kTagALaw, 0), 0xD5);
    EXPECT_EQ(G711Driver::Compress(kTagALaw, -1), 0x55);

    for (std::uint16_t tag : {kTagMuLaw, kTagALaw}) {
        for (int code = 0; code < 256; ++code) {
            if (tag == kTagMuLaw && code == 0x7F) continue;  // negative zero
            const auto c = static_cast<std::uint8_t>(code);
            EXPECT_EQ(G711Driver::Compress(tag, G711Driver::Expand(tag, c)), c)
                << tag << " " << code;
        }
        // Larger inputs never give smaller expanded values.
        std::int16_t previous = G711Driver::Expand(tag, G711Driver::Compress(tag, -32768));
        for (int v = -32768; v < 32768; v += 7) {
            const std::int16_t e =
                G711Driver::Expand(tag, G711Driver::Compress(tag, std::int16_t(v)));
            ASSERT_GE(e, previous) << v;
            previous = e;
        }
    }
}

TEST(AcmFormats, CodecFormatsHaveTheUsualBlockLayouts) {
    struct Case {
        FormatPtr format;
        std::uint16_t blockAlign, samplesPerBlock;
    };
    Case cases[] = {
        {ImaAdpcmDriver::MakeFormat(8000, 1), 256, 505},
        {ImaAdpcmDriver::MakeFormat(11025, 1), 256, 505},
        {ImaAdpcmDriver::MakeFormat(22050, 1), 512, 1017},
        {ImaAdpcmDriver::MakeFormat(44100, 2), 2048, 2041},
        {MsAdpcmDriver::MakeFormat(8000, 1), 256, 500},
        {MsAdpcmDriver::MakeFormat(22050, 2), 1024, 1012},
        {MsAdpcmDriver::MakeFormat(44100, 1), 1024, 2036},
        {GsmDriver::MakeFormat(), 65, 320},
    };
    for (const Case& c : cases) {
        const WaveFormat& f = *c.format;
        EXPECT_EQ(f.blockAlign, c.blockAlign) << f.formatTag << " " << f.samplesPerSec;
        std::uint16_t perBlock;
        std::memcpy(&perBlock, ExtraBytes(f), 2);
        EXPECT_EQ(perBlock, c.samplesPerBlock) << f.formatTag << " " << f.samplesPerSec;
        EXPECT_EQ(f.avgBytesPerSec, f.samplesPerSec * f.blockAlign / perBlock);
    }
    const FormatPtr msFormat = MsAdpcmDriver::MakeFormat(11025, 1);
    const WaveFormat& ms = *msFormat;
    ASSERT_EQ(ms.extraSize, 32);
    const std::int16_t coefficients[16] = {500, 7,  256, 0, 512, -256, 0,   0,
                                           192, 64, 240, 0, 460, -208, 392, -232};
    EXPECT_EQ(std::memcmp(ExtraBytes(ms), coefficients, 32), 0);
    EXPECT_EQ(GsmDriver::MakeFormat()->avgBytesPerSec, 1625u);
}

bool Lists(const std::vector<AcmFormatDetails>& list, const WaveFormat& f) {
    return std::any_of(list.begin(), list.end(),
                       [&](const AcmFormatDetails& d) { return SameFormat(*d.format, f); });
}

TEST(AcmFormats, EnumerationOffersOnlyWhatTheSeedConvertsTo) {
    const auto all = AcmEnumFormats(nullptr);
    for (std::uint16_t tag : AcmFormatTags())
        EXPECT_TRUE(std::any_of(all.begin(), all.end(), [&](auto& d) { return d.tag == tag; }))
            << AcmFormatTagName(tag);
    for (std::size_t i = 0; i < all.size(); ++i)
        for (std::size_t j = i + 1; j < all.size(); ++j)
            EXPECT_FALSE(SameFormat(*all[i].format, *all[j].format)) << all[i].description;

    const WaveFormat cd = PcmFormat(44100, 16, 2);
    const auto fromCd = AcmEnumFormats(&cd);
    EXPECT_TRUE(Lists(fromCd, *ImaAdpcmDriver::MakeFormat(44100, 2)));
    EXPECT_TRUE(Lists(fromCd, *MsAdpcmDriver::MakeFormat(44100, 2)));
    EXPECT_TRUE(Lists(fromCd, G711Driver::MakeFormat(kTagMuLaw, 44100, 2)));
    EXPECT_TRUE(Lists(fromCd, PcmFormat(8000, 8, 1)));
    EXPECT_FALSE(Lists(fromCd, *ImaAdpcmDriver::MakeFormat(22050, 2)));
    EXPECT_FALSE(Lists(fromCd, *GsmDriver::MakeFormat()));
    for (const auto& d : fromCd)
        EXPECT_TRUE(AcmConversion::CanConvert(cd, *d.format)) << d.description;

    // An odd rate is offered at that rate; GSM only from 8000 Hz mono.
    const WaveFormat odd = PcmFormat(48000, 16, 1);
    EXPECT_TRUE(Lists(AcmEnumFormats(&odd, kTagImaAdpcm), *ImaAdpcmDriver::MakeFormat(48000, 1)));
    const WaveFormat phone = PcmFormat(8000, 16, 1);
    const auto gsm = AcmEnumFormats(&phone, kTagGsm610);
    ASSERT_EQ(gsm.size(), 1u);
    EXPECT_EQ(gsm[0].description, "8.000 kHz, Mono");

    const FormatPtr ima = ImaAdpcmDriver::MakeFormat(22050, 2);
    const auto fromIma = AcmEnumFormats(ima.get());
    ASSERT_EQ(fromIma.size(), 1u) << "a decoder gives 16-bit PCM at the same rate only";
    EXPECT_EQ(fromIma[0].description, "22.050 kHz, 16 Bit, Stereo");
}

TEST(AcmConversion, RefusesPairsNoDriverConverts) {
    std::unique_ptr<AcmConversion> conversion;
    const WaveFormat cd = PcmFormat(44100, 16, 2);
    const WaveFormat mono8k = PcmFormat(8000, 16, 1);
    const FormatPtr imaCd = ImaAdpcmDriver::MakeFormat(44100, 2);
    const FormatPtr gsm = GsmDriver::MakeFormat();
    EXPECT_EQ(AcmConversion::Open(cd, *gsm, conversion), AcmResult::NotPossible);
    EXPECT_EQ(conversion, nullptr);
    EXPECT_EQ(AcmConversion::Open(*imaCd, mono8k, conversion), AcmResult::NotPossible);
    EXPECT_EQ(AcmConversion::Open(*imaCd, *gsm, conversion), AcmResult::NotPossible);
    FormatPtr bad = CopyFormat(*imaCd);
    bad->blockAlign = 3;
    EXPECT_EQ(AcmConversion::Open(*bad, cd, conversion), AcmResult::NotPossible);
    WaveFormat weird = cd;
    weird.bitsPerSample = 24;
    weird.blockAlign = 6;
    EXPECT_EQ(AcmConversion::Open(weird, cd, conversion), AcmResult::NotPossible);
    FormatPtr noCoefficients = MsAdpcmDriver::MakeFormat(8000, 1);
    noCoefficients->extraSize = 2;
    EXPECT_EQ(AcmConversion::Open(*noCoefficients, mono8k, conversion), AcmResult::NotPossible);

    ASSERT_EQ(AcmConversion::Open(mono8k, *gsm, conversion), AcmResult::Ok);
    AcmStreamHeader header;
    std::uint8_t in[640] = {}, out[65];
    header.source = in;
    header.sourceLength = 640;
    header.target = out;
    header.targetLength = 65;
    EXPECT_EQ(conversion->Convert(header, AcmConvertBlockAlign), AcmResult::Unprepared);
    ASSERT_EQ(conversion->Prepare(header), AcmResult::Ok);
    EXPECT_EQ(conversion->Convert(header, 0x1000), AcmResult::InvalidFlag);
    ASSERT_EQ(conversion->Convert(header, AcmConvertBlockAlign), AcmResult::Ok);
    EXPECT_EQ(header.sourceUsed, 640u);
    EXPECT_EQ(header.targetUsed, 65u);
    EXPECT_EQ(conversion->Unprepare(header), AcmResult::Ok);
}

TEST(AcmConversion, BlockAlignKeepsPartialBlocksAndTheLastCallPadsThem) {
    const WaveFormat pcm = PcmFormat(11025, 16, 1);
    const FormatPtr ima = ImaAdpcmDriver::MakeFormat(11025, 1);
    std::unique_ptr<AcmConversion> conversion;
    ASSERT_EQ(AcmConversion::Open(pcm, *ima, conversion), AcmResult::Ok);
    std::uint32_t size = 0;
    ASSERT_EQ(conversion->TargetSize(505 * 2 * 3 + 2, size), AcmResult::Ok);
    EXPECT_EQ(size, 4u * 256);

    std::vector<std::uint8_t> in(505 * 2 * 3 + 100), out(4 * 256);
    AcmStreamHeader header{0, in.data(),  static_cast<std::uint32_t>(in.size()),
                           0, out.data(), static_cast<std::uint32_t>(out.size()),
                           0};
    ASSERT_EQ(conversion->Prepare(header), AcmResult::Ok);
    ASSERT_EQ(conversion->Convert(header, AcmConvertBlockAlign), AcmResult::Ok);
    EXPECT_EQ(header.sourceUsed, 505u * 2 * 3);
    EXPECT_EQ(header.targetUsed, 3u * 256);
    ASSERT_EQ(conversion->Convert(header, 0), AcmResult::Ok);
    EXPECT_EQ(header.sourceUsed, in.size());
    EXPECT_EQ(header.targetUsed, 4u * 256);

    // A decoder given a short last block decodes the samples it holds.
    std::unique_ptr<AcmConversion> decoder;
    ASSERT_EQ(AcmConversion::Open(*ima, pcm, decoder), AcmResult::Ok);
    std::vector<std::uint8_t> decoded(505 * 2);
    AcmStreamHeader tail{0, out.data(), 4 + 8, 0, decoded.data(), 505 * 2, 0};
    ASSERT_EQ(decoder->Prepare(tail), AcmResult::Ok);
    ASSERT_EQ(decoder->Convert(tail, AcmConvertBlockAlign), AcmResult::Ok);
    EXPECT_EQ(tail.targetUsed, 0u);
    ASSERT_EQ(decoder->Convert(tail, 0), AcmResult::Ok);
    EXPECT_EQ(tail.targetUsed, 17u * 2);
}

// The bit and channel changes of the PCM driver follow the editor's frame rules exactly.
TEST(PcmDriver, SameRateConversionsFollowTheFrameRules) {
    const std::uint16_t shapes[4][2] = {{8, 1}, {8, 2}, {16, 1}, {16, 2}};
    for (auto& s : shapes) {
        for (auto& t : shapes) {
            const WaveFormat from = PcmFormat(22050, s[0], s[1]);
            const WaveFormat to = PcmFormat(22050, t[0], t[1]);
            std::vector<std::uint8_t> data(from.blockAlign * 1000u);
            std::mt19937 rng(s[0] * 10 + s[1]);
            for (auto& b : data) b = static_cast<std::uint8_t>(rng());
            std::unique_ptr<AcmConversion> conversion;
            ASSERT_EQ(AcmConversion::Open(from, to, conversion), AcmResult::Ok);
            std::vector<std::uint8_t> got(to.blockAlign * 1000u), want(got.size());
            AcmStreamHeader header{0, data.data(), static_cast<std::uint32_t>(data.size()),
                                   0, got.data(),  static_cast<std::uint32_t>(got.size()),
                                   0};
            ASSERT_EQ(conversion->Prepare(header), AcmResult::Ok);
            ASSERT_EQ(conversion->Convert(header, AcmConvertBlockAlign), AcmResult::Ok);
            ASSERT_EQ(header.targetUsed, got.size());
            for (std::uint32_t i = 0; i < 1000; ++i)
                WriteFrameAt(FrameLayoutOf(&to), want.data(), i,
                             ReadFrameAt(FrameLayoutOf(&from), data.data(), i));
            EXPECT_EQ(got, want) << s[0] << "/" << s[1] << " -> " << t[0] << "/" << t[1];
        }
    }
}

TEST(PcmDriver, ResamplingKeepsLengthAndTone) {
    const std::uint32_t frames = 44100;
    std::vector<std::int16_t> tone(frames * 2);
    for (std::uint32_t i = 0; i < frames; ++i)
        tone[2 * i] = tone[2 * i + 1] =
            static_cast<std::int16_t>(std::lround(10000 * std::sin(2 * M_PI * 1000.0 * i / 44100)));
    for (std::uint32_t piece : {65536u, 777u}) {
        const auto out = AsSamples(
            ConvertAll(PcmFormat(44100, 16, 2), AsBytes(tone), PcmFormat(22050, 16, 1), piece));
        ASSERT_EQ(out.size(), frames / 2) << piece;
        std::vector<std::int16_t> ideal(out.size());
        for (std::uint32_t i = 0; i < ideal.size(); ++i)
            ideal[i] = static_cast<std::int16_t>(
                std::lround(10000 * std::sin(2 * M_PI * 1000.0 * i / 22050)));
        EXPECT_GT(test::Snr(ideal, out), 60.0) << piece;
    }
    const auto up = ConvertAll(PcmFormat(8000, 8, 1), std::vector<std::uint8_t>(8000, 128),
                               PcmFormat(11025, 8, 2));
    EXPECT_EQ(up.size(), 11025u * 2);
    EXPECT_TRUE(std::all_of(up.begin(), up.end(), [](std::uint8_t b) { return b == 128; }));
}

}  // namespace
}  // namespace kelvane

namespace kelvane {
namespace {

// Decoders take whatever bytes a damaged file holds: every block decodes to its full
// sample count, a short last block to what it holds, and nothing reads out of bounds.
TEST(AcmDecoders, DamagedDataDecodesToTheExpectedLength) {
    const FormatPtr formats[] = {ImaAdpcmDriver::MakeFormat(22050, 2),
                                 MsAdpcmDriver::MakeFormat(8000, 1),
                                 MsAdpcmDriver::MakeFormat(44100, 2), GsmDriver::MakeFormat(),
                                 CopyFormat(G711Driver::MakeFormat(kTagMuLaw, 8000, 2))};
    std::mt19937 rng(5);
    for (const FormatPtr& format : formats) {
        const WaveFormat& f = *format;
        std::uint16_t perBlock = 1;
        if (f.extraSize >= 2) std::memcpy(&perBlock, ExtraBytes(f), 2);
        std::vector<std::uint8_t> noise(f.blockAlign * 37u + f.blockAlign / 2u);
        for (auto& b : noise) b = static_cast<std::uint8_t>(rng());
        const auto decoded = ConvertAll(f, noise, PcmFormat(f.samplesPerSec, 16, f.channels), 1000);
        EXPECT_GE(decoded.size(), 37u * perBlock * f.channels * 2) << f.formatTag;
        EXPECT_LE(decoded.size(), 38u * perBlock * f.channels * 2) << f.formatTag;
    }
}

}  // namespace
}  // namespace kelvane
