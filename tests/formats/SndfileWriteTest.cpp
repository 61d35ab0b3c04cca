// FLAC, Ogg Vorbis, Opus and MP3 as we write them, read back by ffmpeg: the same sound, its
// texts, and the settings each type takes.
#include <gtest/gtest.h>

#include <cmath>

#include "formats/EncoderSettings.h"
#include "formats/FormatsTestUtil.h"
#include "support/TestSupport.h"

namespace kelvane {
namespace {

using test::FfmpegDecode;
using test::Samples16;

std::string Probe(const std::string& file, const std::string& entries) {
    std::string out;
    test::RunCommand("ffprobe -v error -show_entries " + entries +
                         " -of default=noprint_wrappers=1 '" + file + "'",
                     &out);
    return out;
}

// RMS of the difference over RMS of the signal, over the shorter of the two.
double RelativeError(const std::vector<std::int16_t>& a, const std::vector<std::int16_t>& b) {
    double signal = 0, error = 0;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        const double x = a[i], d = x - b[i];
        signal += x * x;
        error += d * d;
    }
    return signal > 0 ? std::sqrt(error / signal) : 1.0;
}

void SetTexts(WaveObject& wave) {
    const std::pair<const char*, const char*> texts[] = {
        {"INAM", "Tune"}, {"IART", "Band"}, {"ICMT", "Note"},   {"ICRD", "2024"},
        {"IGNR", "Folk"}, {"IPRD", "Disc"}, {"ISFT", "Kelvane"}};
    for (const auto& [id, text] : texts) wave.SetInfo(id, text);
}

TEST(SndfileWrite, FfmpegHearsTheSameSoundAndReadsTheTexts) {
    if (!test::RequireTool("ffmpeg")) return;
    test::ScopedTempDir dir;
    auto wave = test::SweepWave(44100, 2, 44100, 100, 8000, 16000);
    SetTexts(*wave);
    const auto ours = Samples16(*wave);
    struct Case {
        const char* name;
        const char* codec;
        double worst;  // relative error allowed; 0: bit-exact
        std::uint32_t rate;
    };
    const Case cases[] = {{"s.flac", "flac", 0, 44100},
                          {"s.ogg", "vorbis", 0.05, 44100},
                          {"s.opus", "opus", 0.1, 48000},
                          {"s.mp3", "mp3", 0.1, 44100}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = dir.File(c.name);
        ASSERT_EQ(wave->Save(file, 0), FileError::Success);
        EXPECT_NE(Probe(file, "stream=codec_name").find(c.codec), std::string::npos);
        EXPECT_NE(Probe(file, "stream=sample_rate").find(std::to_string(c.rate)),
                  std::string::npos);
        const std::string tags = Probe(file, "format_tags:stream_tags");
        for (const char* text : {"Tune", "Band", "Note", "2024", "Folk", "Disc"})
            EXPECT_NE(tags.find(text), std::string::npos) << text << "\n" << tags;
        if (c.rate != 44100) continue;  // Opus was resampled: its length is checked below
        const auto theirs = FfmpegDecode(file);
        if (c.worst == 0) {
            EXPECT_EQ(theirs, ours);
        } else {
            EXPECT_NEAR(static_cast<double>(theirs.size()), static_cast<double>(ours.size()),
                        ours.size() * 0.01);
            EXPECT_LT(RelativeError(ours, theirs), c.worst);
        }
    }
    // 44100 Hz is no Opus rate: the sound goes at 48000 Hz, just as long, still the sweep.
    const auto opus = FfmpegDecode(dir.File("s.opus"), "-ar 44100");
    EXPECT_NEAR(static_cast<double>(opus.size()), static_cast<double>(ours.size()),
                ours.size() * 0.01);
    EXPECT_LT(RelativeError(ours, opus), 0.1);
}

TEST(SndfileWrite, OurOwnFilesComeBackWithTheirTexts) {
    test::ScopedTempDir dir;
    auto wave = test::SweepWave(48000, 1, 24000, 200, 2000, 12000);
    SetTexts(*wave);
    for (const char* name : {"b.flac", "b.ogg", "b.opus"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(wave->Save(dir.File(name), 0), FileError::Success);
        auto back = test::LoadOrFail(dir.File(name), LOAD_CONVERT_TO_PCM);
        EXPECT_EQ(back->FrameCount(), 24000u);
        for (const char* id : {"INAM", "IART", "ICMT", "ICRD", "IGNR", "IPRD"})
            EXPECT_STREQ(back->GetInfo(id), wave->GetInfo(id)) << id;
        ASSERT_NE(back->GetInfo("ISFT"), nullptr);
        EXPECT_EQ(std::string(back->GetInfo("ISFT")).rfind("Kelvane", 0), 0u);
    }
    auto flac = test::LoadOrFail(dir.File("b.flac"), LOAD_CONVERT_TO_PCM);
    EXPECT_EQ(Samples16(*flac), Samples16(*wave));
}

TEST(SndfileWrite, SettingsReachTheEncoders) {
    if (!test::RequireTool("ffprobe")) return;
    test::ScopedTempDir dir;
    auto wave = test::RandomWave(PcmFormat(44100, 16, 2), 44100 * 2, 7);
    auto bitRate = [&](const char* name, const EncoderSettings& s) {
        const std::string file = dir.File(name);
        EXPECT_EQ(wave->Save(file, 0, {.encoder = &s}), FileError::Success) << name;
        const std::string out = Probe(file, "format=bit_rate");
        return std::stod(out.substr(out.find('=') + 1)) / 1000;
    };
    EncoderSettings cbr;
    cbr.mp3Vbr = 0;
    for (int kbits : {64, 128, 192, 320}) {
        cbr.mp3Bitrate = kbits;
        EXPECT_NEAR(bitRate("c.mp3", cbr), kbits, kbits * 0.03) << kbits;
    }
    EncoderSettings opus;
    opus.opusBitrate = 64;
    const double low = bitRate("low.opus", opus);
    opus.opusBitrate = 192;
    const double high = bitRate("high.opus", opus);
    EXPECT_NEAR(low, 64, 10);
    EXPECT_NEAR(high, 192, 25);
    EncoderSettings vorbis;
    vorbis.vorbisQuality = 1;
    const double rough = bitRate("q1.ogg", vorbis);
    vorbis.vorbisQuality = 9;
    EXPECT_GT(bitRate("q9.ogg", vorbis), rough * 2);
    EncoderSettings flac;
    flac.flacLevel = 0;
    const double fast = bitRate("l0.flac", flac);
    flac.flacLevel = 8;
    EXPECT_LE(bitRate("l8.flac", flac), fast);
    EncoderSettings vbr;
    vbr.mp3Quality = 9;
    const double v9 = bitRate("v9.mp3", vbr);
    vbr.mp3Quality = 0;
    EXPECT_GT(bitRate("v0.mp3", vbr), v9);
}

}  // namespace
}  // namespace kelvane
