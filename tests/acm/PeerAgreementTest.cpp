// Our drivers against sox and ffmpeg, both ways: files they write decode through our
// streams as sox decodes them, and what our drivers encode decodes in both of them about as
// well as sox's own encoder of the codec does.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "acm/WavImage.h"
#include "platform/acm/G711Driver.h"
#include "platform/acm/GsmDriver.h"
#include "platform/acm/ImaAdpcmDriver.h"
#include "platform/acm/MsAdpcmDriver.h"
#include "support/TestSupport.h"

namespace kelvane {
namespace {

using namespace test;

struct Codec {
    const char* name;
    const char* soxEncoding;
    const char* ffmpegCodec;
    std::uint32_t rate;
    std::uint16_t channels;
    int decodeTolerance;  // LSB against sox's decode of the same file
    FormatPtr (*format)(std::uint32_t rate, std::uint16_t channels);
};

FormatPtr MuLaw(std::uint32_t r, std::uint16_t c) {
    return CopyFormat(G711Driver::MakeFormat(kTagMuLaw, r, c));
}
FormatPtr ALaw(std::uint32_t r, std::uint16_t c) {
    return CopyFormat(G711Driver::MakeFormat(kTagALaw, r, c));
}
FormatPtr Gsm(std::uint32_t, std::uint16_t) {
    return GsmDriver::MakeFormat();
}

const Codec kCodecs[] = {
    {"mu-law", "mu-law", "pcm_mulaw", 22050, 2, 0, MuLaw},
    {"a-law", "a-law", "pcm_alaw", 22050, 2, 0, ALaw},
    {"ima", "ima-adpcm", "adpcm_ima_wav", 22050, 2, 3, ImaAdpcmDriver::MakeFormat},
    {"ms-adpcm", "ms-adpcm", "adpcm_ms", 22050, 2, 3, MsAdpcmDriver::MakeFormat},
    {"gsm", "gsm-full-rate", "libgsm_ms", 8000, 1, 0, Gsm},
};

class PeerAgreement : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(RequireTool("sox"));
        ASSERT_TRUE(RequireTool("ffmpeg"));
    }

    std::vector<std::int16_t> Source(const Codec& c) const {
        // Below the Nyquist frequency of the 8000 Hz GSM format.
        return Sweep(c.rate, c.channels, c.rate * 3, 200, c.rate == 8000 ? 3800 : 6000);
    }

    std::string Raw(const Codec& c) const {
        return "-t raw -e signed -b 16 -r " + std::to_string(c.rate) + " -c " +
               std::to_string(c.channels);
    }

    std::vector<std::int16_t> SoxDecode(const std::string& wav) const {
        const std::string out = dir_.File("sox-decoded.raw");
        EXPECT_EQ(RunCommand("sox '" + wav + "' -t raw -e signed -b 16 '" + out + "'"), 0);
        return AsSamples(ReadFileBytes(out));
    }

    std::vector<std::int16_t> FfmpegDecode(const std::string& wav) const {
        const std::string out = dir_.File("ffmpeg-decoded.raw");
        EXPECT_EQ(
            RunCommand("ffmpeg -v error -y -i '" + wav + "' -f s16le -c:a pcm_s16le '" + out + "'"),
            0);
        return AsSamples(ReadFileBytes(out));
    }

    std::vector<std::int16_t> OurDecode(const std::string& wav) const {
        WavContents contents;
        EXPECT_TRUE(ParseWav(ReadFileBytes(wav), contents)) << wav;
        if (!contents.format) return {};
        const WaveFormat& f = *contents.format;
        return AsSamples(
            ConvertAll(f, contents.data, PcmFormat(f.samplesPerSec, 16, f.channels), 3000));
    }

    ScopedTempDir dir_;
};

TEST_F(PeerAgreement, FilesSoxAndFfmpegWriteDecodeAsSoxDecodesThem) {
    for (const Codec& c : kCodecs) {
        const std::string raw = dir_.File("source.raw");
        ASSERT_TRUE(WriteFileBytes(raw, AsBytes(Source(c))));
        const std::string byHand[] = {"sox " + Raw(c) + " '" + raw + "' -e " + c.soxEncoding +
                                          " '" + dir_.File("sox.wav") + "'",
                                      "ffmpeg -v error -y -f s16le -ar " + std::to_string(c.rate) +
                                          " -ac " + std::to_string(c.channels) + " -i '" + raw +
                                          "' -c:a " + c.ffmpegCodec + " '" +
                                          dir_.File("ffmpeg.wav") + "'"};
        const std::string files[] = {dir_.File("sox.wav"), dir_.File("ffmpeg.wav")};
        for (int w = 0; w < 2; ++w) {
            ASSERT_EQ(RunCommand(byHand[w]), 0) << byHand[w];
            const auto ours = OurDecode(files[w]);
            const auto sox = SoxDecode(files[w]);
            ASSERT_FALSE(sox.empty()) << c.name;
            // sox trims the padding of the last block to the sample count; we keep it.
            EXPECT_GE(ours.size(), sox.size()) << c.name << " " << files[w];
            EXPECT_LT(ours.size(), sox.size() + 2048u * c.channels) << c.name << " " << files[w];
            EXPECT_LE(MaxDifference(ours, sox), c.decodeTolerance) << c.name << " " << files[w];
        }
    }
}

TEST_F(PeerAgreement, WhatWeEncodeDecodesInSoxAndFfmpegAsWellAsSoxsOwn) {
    for (const Codec& c : kCodecs) {
        const auto source = Source(c);
        const std::string raw = dir_.File("source.raw");
        ASSERT_TRUE(WriteFileBytes(raw, AsBytes(source)));

        const std::string soxWav = dir_.File("sox-encoded.wav");
        ASSERT_EQ(RunCommand("sox " + Raw(c) + " '" + raw + "' -e " + c.soxEncoding + " '" +
                             soxWav + "'"),
                  0);
        const double reference = Snr(source, SoxDecode(soxWav));

        const FormatPtr format = c.format(c.rate, c.channels);
        const auto encoded =
            ConvertAll(PcmFormat(c.rate, 16, c.channels), AsBytes(source), *format, 4000);
        ASSERT_FALSE(encoded.empty()) << c.name;
        const std::string ourWav = dir_.File("ours.wav");
        ASSERT_TRUE(WriteFileBytes(ourWav, BuildWav(*format, encoded, c.rate * 3)));

        const auto bySox = SoxDecode(ourWav);
        const auto byFfmpeg = FfmpegDecode(ourWav);
        EXPECT_GE(bySox.size(), source.size()) << c.name;
        EXPECT_GE(byFfmpeg.size(), source.size()) << c.name;
        const double soxSnr = Snr(source, bySox), ffmpegSnr = Snr(source, byFfmpeg);
        std::printf("%-9s sox's encoder %.2f dB; ours decoded by sox %.2f dB, by ffmpeg %.2f dB\n",
                    c.name, reference, soxSnr, ffmpegSnr);
        EXPECT_GE(soxSnr, reference - 2.0) << c.name;
        EXPECT_GE(ffmpegSnr, reference - 2.0) << c.name;
    }
}

// sox rounds its input to the law's precision before encoding, where the ITU reference
// truncates; the codes may differ only for inputs within a few LSB of a decision boundary.
TEST_F(PeerAgreement, LawEncodingDiffersFromSoxOnlyByItsInputRounding) {
    for (const Codec& c : {kCodecs[0], kCodecs[1]}) {
        std::vector<std::int16_t> every(65536);
        for (int v = 0; v < 65536; ++v) every[v] = static_cast<std::int16_t>(v - 32768);
        const std::string raw = dir_.File("every.raw");
        ASSERT_TRUE(WriteFileBytes(raw, AsBytes(every)));
        const std::string law = dir_.File("every.law");
        ASSERT_EQ(RunCommand("sox -D -t raw -e signed -b 16 -r 8000 -c 1 '" + raw + "' -t raw -e " +
                             c.soxEncoding + " -b 8 '" + law + "' 2>/dev/null"),
                  0);
        const auto sox = ReadFileBytes(law);
        const auto ours = ConvertAll(PcmFormat(8000, 16, 1), AsBytes(every), *c.format(8000, 1));
        ASSERT_EQ(ours.size(), sox.size());
        std::size_t differ = 0;
        for (int v = 0; v < 65536; ++v) {
            if (ours[v] == sox[v]) continue;
            ++differ;
            bool nearby = false;
            for (int w = std::max(0, v - 4); w <= std::min(65535, v + 4); ++w)
                nearby = nearby || ours[w] == sox[v];
            EXPECT_TRUE(nearby) << c.name << " at " << v - 32768;
        }
        EXPECT_LT(differ, 65536u / 50) << c.name;
    }
}

TEST_F(PeerAgreement, ResamplingAgreesWithSox) {
    const auto source = Sweep(44100, 2, 44100 * 2, 100, 15000);
    const std::string raw = dir_.File("cd.raw"), half = dir_.File("half.raw");
    ASSERT_TRUE(WriteFileBytes(raw, AsBytes(source)));
    ASSERT_EQ(RunCommand("sox -D -t raw -e signed -b 16 -r 44100 -c 2 '" + raw +
                         "' -t raw -e signed -b 16 -r 22050 '" + half + "'"),
              0);
    const auto sox = AsSamples(ReadFileBytes(half));
    const auto ours =
        AsSamples(ConvertAll(PcmFormat(44100, 16, 2), AsBytes(source), PcmFormat(22050, 16, 2)));
    EXPECT_EQ(ours.size(), sox.size());
    EXPECT_GT(Snr(sox, ours), 60.0);
}

}  // namespace
}  // namespace kelvane
