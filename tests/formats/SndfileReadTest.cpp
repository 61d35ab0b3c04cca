// Files our own readers refuse or misread, made by sox and ffmpeg at test time, read through
// libsndfile and compared with ffmpeg's own decode.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstring>

#include "formats/FormatsTestUtil.h"
#include "formats/SndfileFile.h"
#include "resources/Strings.h"
#include "support/TestSupport.h"

namespace kelvane {
namespace {

using test::FfmpegDecode;
using test::MaxDifference;
using test::Samples16;

bool RequirePeers() {
    return test::RequireTool("sox") && test::RequireTool("ffmpeg");
}

// sox's synthesiser: a tone a channel near full scale, `seconds` long, written with the
// encoding options given, to the file put in for %s.
std::string Sox(std::uint32_t rate, int channels, double seconds, const std::string& options = "") {
    std::string tones;
    for (int c = 0; c < channels; ++c) tones += " sine " + std::to_string(220 + 170 * c);
    return "sox -n -r " + std::to_string(rate) + " -c " + std::to_string(channels) + " " + options +
           " %s synth " + std::to_string(seconds) + tones + " gain -1";
}

std::string Make(const test::ScopedTempDir& dir, const std::string& name,
                 const std::string& command) {
    const std::string file = dir.File(name);
    std::string line = command;
    line.replace(line.find("%s"), 2, "'" + file + "'");
    EXPECT_EQ(test::RunCommand(line + " 2>/dev/null"), 0) << line;
    return file;
}

// RMS of the difference over RMS of the signal: for lossy codecs, decoded by two decoders.
double RelativeError(const std::vector<std::int16_t>& a, const std::vector<std::int16_t>& b) {
    double signal = 0, error = 0;
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const double x = a[i], d = x - b[i];
        signal += x * x;
        error += d * d;
    }
    return signal > 0 ? std::sqrt(error / signal) : 1.0;
}

struct Kind {
    const char* name;
    std::string command;  // %s: the file
    std::uint32_t rate;
    std::uint16_t channels;  // as stored
    std::uint32_t frames;
    bool lossy;
    const char* formatName;
};

std::vector<Kind> Kinds() {
    const std::string ff =
        "ffmpeg -v error -y -f lavfi -i 'sine=f=440:r=48000:d=0.5,volume=7' "
        "-af aformat=channel_layouts=stereo ";
    return {
        {"w24.wav", Sox(44100, 2, 0.5, "-b 24"), 44100, 2, 22050, false, "Wave"},
        {"w32.wav", Sox(44100, 2, 0.5, "-b 32 -e signed-integer"), 44100, 2, 22050, false, "Wave"},
        {"f32.wav", Sox(48000, 1, 0.5, "-b 32 -e floating-point"), 48000, 1, 24000, false, "Wave"},
        {"f64.wav", ff + "-c:a pcm_f64le %s", 48000, 2, 24000, false, "Wave"},
        {"six.wav", Sox(48000, 6, 0.5, "-b 16"), 48000, 6, 24000, false, "Wave"},
        {"rf64.wav", ff + "-c:a pcm_s24le -rf64 always %s", 48000, 2, 24000, false, "RF64"},
        {"w64.w64", ff + "-c:a pcm_s24le %s", 48000, 2, 24000, false, "Wave64"},
        {"a24.aiff", Sox(44100, 2, 0.5, "-b 24"), 44100, 2, 22050, false, "AIFF"},
        {"sowt.aifc", ff + "-c:a pcm_s16le %s", 48000, 2, 24000, false, "AIFF"},
        {"fl32.aifc", ff + "-c:a pcm_f32be %s", 48000, 2, 24000, false, "AIFF"},
        {"fl64.aifc", ff + "-c:a pcm_f64be %s", 48000, 2, 24000, false, "AIFF"},
        {"ulaw.aifc", ff + "-c:a pcm_mulaw %s", 48000, 2, 24000, false, "AIFF"},
        {"alaw.aifc", ff + "-c:a pcm_alaw %s", 48000, 2, 24000, false, "AIFF"},
        {"c24.caf", ff + "-c:a pcm_s24le %s", 48000, 2, 24000, false, "CAF"},
        {"f16.flac", Sox(44100, 2, 0.5, "-b 16"), 44100, 2, 22050, false, "FLAC"},
        {"f24.flac", Sox(48000, 1, 0.5, "-b 24"), 48000, 1, 24000, false, "FLAC"},
        {"v.ogg", Sox(44100, 2, 0.5), 44100, 2, 22050, true, "Ogg Vorbis"},
        {"o.opus", ff + "-c:a libopus -b:a 128k %s", 48000, 2, 24000, true, "Opus"},
    };
}

TEST(SndfileRead, EveryKindMatchesFfmpegsDecode) {
    if (!RequirePeers()) return;
    test::ScopedTempDir dir;
    for (const Kind& k : Kinds()) {
        const std::string file = Make(dir, k.name, k.command);
        WaveObject wave;
        ASSERT_EQ(wave.Load(file, LOAD_CONVERT_TO_PCM), FileError::Success) << k.name;
        const std::uint16_t channels = k.channels == 1 ? 1 : 2;
        EXPECT_EQ(wave.format->samplesPerSec, k.rate) << k.name;
        EXPECT_EQ(wave.format->channels, channels) << k.name;
        EXPECT_EQ(wave.format->bitsPerSample, 16) << k.name;
        EXPECT_EQ(wave.FrameCount(), k.frames) << k.name;
        EXPECT_EQ(wave.sourceFormatName, k.formatName) << k.name;
        EXPECT_EQ(wave.sourceChannels, k.channels) << k.name;
        EXPECT_NE(wave.sourceText.find(" Hz, "), std::string::npos) << k.name;

        const auto ours = Samples16(wave);
        const auto theirs = FfmpegDecode(file, k.channels > 2 ? "-ac 2" : "");
        if (k.lossy) {
            EXPECT_LT(RelativeError(theirs, ours), 0.01) << k.name;
        } else {
            // ffmpeg truncates to 16 bits where we round with dither: up to 1 LSB apart, plus
            // the dither's own LSB.
            EXPECT_GE(MaxDifference(ours, theirs), 0) << k.name << " length differs";
            EXPECT_LE(MaxDifference(ours, theirs), 2) << k.name;
        }
    }
}

TEST(SndfileRead, DitherIsTriangularNoiseAndCanBeTurnedOff) {
    if (!RequirePeers()) return;
    test::ScopedTempDir dir;
    const std::string file = Make(dir, "d.flac", Sox(48000, 1, 0.5, "-b 24"));
    std::string raw;
    ASSERT_EQ(test::RunCommand("ffmpeg -v error -i '" + file + "' -f s32le -", &raw), 0);
    std::vector<std::int32_t> exact(raw.size() / 4);
    std::memcpy(exact.data(), raw.data(), exact.size() * 4);

    WaveObject plain;
    ASSERT_EQ(plain.Load(file, LOAD_CONVERT_TO_PCM | LOAD_NO_DITHER), FileError::Success);
    WaveObject dithered;
    ASSERT_EQ(dithered.Load(file, LOAD_CONVERT_TO_PCM), FileError::Success);
    const auto rounded = Samples16(plain);
    const auto noisy = Samples16(dithered);
    ASSERT_EQ(rounded.size(), exact.size());
    ASSERT_EQ(noisy.size(), exact.size());
    std::size_t moved = 0;
    double sum = 0;
    for (std::size_t i = 0; i < exact.size(); ++i) {
        const double value = exact[i] / 65536.0;
        EXPECT_LE(std::abs(rounded[i] - value), 0.5) << i;
        EXPECT_LE(std::abs(noisy[i] - value), 1.5) << i;
        moved += noisy[i] != rounded[i];
        sum += noisy[i] - value;
    }
    // Triangular noise of +-1 LSB moves about a third of the samples off the rounded value and
    // adds no offset.
    EXPECT_GT(moved, exact.size() / 5);
    EXPECT_LT(std::abs(sum / static_cast<double>(exact.size())), 0.05);

    // The same file decodes to the same bytes every time.
    WaveObject again;
    ASSERT_EQ(again.Load(file, LOAD_CONVERT_TO_PCM), FileError::Success);
    EXPECT_EQ(Samples16(again), noisy);
}

TEST(SndfileRead, TextsBecomeInfoAndTheSourceIsDescribed) {
    if (!RequirePeers()) return;
    test::ScopedTempDir dir;
    const std::string file =
        Make(dir, "t.flac",
             "ffmpeg -v error -y -f lavfi -i 'sine=f=440:r=96000:d=0.2' -ac 6 -c:a flac "
             "-sample_fmt s32 -metadata title=Tune -metadata artist=Band -metadata "
             "date=2024 -metadata genre=Folk -metadata "
             "copyright=Mine -metadata album=Disc %s");
    WaveObject wave;
    ASSERT_EQ(wave.Load(file, LOAD_HEADER_ONLY), FileError::Success);
    EXPECT_EQ(wave.mode, WaveMode::FormatOnly);
    const std::pair<const char*, const char*> expected[] = {{"INAM", "Tune"}, {"IART", "Band"},
                                                            {"ICRD", "2024"}, {"IGNR", "Folk"},
                                                            {"ICOP", "Mine"}, {"IPRD", "Disc"}};
    for (const auto& [id, text] : expected) {
        ASSERT_NE(wave.GetInfo(id), nullptr) << id;
        EXPECT_STREQ(wave.GetInfo(id), text) << id;
    }
    EXPECT_EQ(wave.sourceText, "FLAC, 24-bit, 96000 Hz, 6 channels, read as 16-bit stereo");
}

TEST(SndfileRead, TwentyFourBitAiffIsNoLongerMisread) {
    if (!RequirePeers()) return;
    test::ScopedTempDir dir;
    const std::string file = Make(dir, "a.aif", Sox(8000, 1, 1, "-b 24"));
    WaveObject wave;
    ASSERT_EQ(wave.Load(file, LOAD_CONVERT_TO_PCM), FileError::Success);
    EXPECT_EQ(wave.FrameCount(), 8000u);
    EXPECT_LE(MaxDifference(Samples16(wave), FfmpegDecode(file)), 2);
}

// A FLAC header claiming 2^33 frames: the sound would not fit, whatever the data holds.
TEST(SndfileRead, ASoundPastFourGibibytesIsRefusedWithItsOwnMessage) {
    if (!RequirePeers()) return;
    test::ScopedTempDir dir;
    const std::string file = Make(dir, "big.flac", Sox(8000, 1, 0.1));
    auto bytes = test::ReadFileBytes(file);
    ASSERT_GT(bytes.size(), 26u);
    // STREAMINFO's 36-bit frame count ends the 18-byte block body's bytes 13 to 17.
    bytes[21] = static_cast<std::uint8_t>((bytes[21] & 0xF0) | 0x2);
    bytes[22] = bytes[23] = bytes[24] = bytes[25] = 0;
    ASSERT_TRUE(test::WriteFileBytes(file, bytes));
    for (std::uint32_t flags : {0u, LOAD_CONVERT_TO_PCM, LOAD_HEADER_ONLY}) {
        WaveObject wave;
        EXPECT_EQ(wave.Load(file, flags), FileError::TooLong) << flags;
    }
    EXPECT_NE(std::string(FileErrorText(FileError::TooLong)).find("4 GiB"), std::string::npos);
}

TEST(SndfileRead, DamagedAndUnknownFilesGiveTheirCodes) {
    if (!RequirePeers()) return;
    test::ScopedTempDir dir;
    const std::string flac = Make(dir, "cut.flac", Sox(44100, 2, 1));
    auto bytes = test::ReadFileBytes(flac);
    bytes.resize(bytes.size() / 2);
    ASSERT_TRUE(test::WriteFileBytes(flac, bytes));
    WaveObject wave;
    EXPECT_EQ(wave.Load(flac, LOAD_CONVERT_TO_PCM), FileError::Corrupt);

    const std::string noise = dir.File("noise.flac");
    ASSERT_TRUE(test::WriteFileBytes(noise, std::vector<std::uint8_t>(5000, 0x5A)));
    EXPECT_EQ(wave.Load(noise, LOAD_CONVERT_TO_PCM), FileError::UnknownType);
    EXPECT_EQ(wave.Load(dir.File("missing.flac"), 0), FileError::CannotOpen);

    // MPEG audio stays with its own decoder, whatever the name says.
    const std::string mp3 = Make(dir, "m.mp3", Sox(44100, 1, 0.2));
    const std::string renamed = dir.File("m.dat");
    ASSERT_EQ(::rename(mp3.c_str(), renamed.c_str()), 0);
    EXPECT_EQ(wave.Load(renamed, 0), FileError::UnknownType);
}

TEST(SndfileRead, ContentsDecideOverTheExtension) {
    if (!RequirePeers()) return;
    test::ScopedTempDir dir;
    // A FLAC named .wav, and the temporary copy the editor opens, deleted when closed.
    const std::string file = Make(dir, "x.flac", Sox(22050, 2, 0.25));
    const std::string named = dir.File("x.wav");
    ASSERT_EQ(::rename(file.c_str(), named.c_str()), 0);
    EXPECT_EQ(LoadTypeOfContents(named), kFileSndfile);
    WaveObject wave;
    ASSERT_EQ(wave.Load(named, LOAD_CONVERT_TO_PCM | LOAD_DELETE_ON_CLOSE), FileError::Success);
    EXPECT_EQ(wave.sourceFormatName, "FLAC");
    EXPECT_EQ(wave.FrameCount(), 5512u);
    EXPECT_NE(::access(named.c_str(), F_OK), 0);
}

TEST(SndfileRead, ProbeSendsOnlyWhatTheOwnReadersRefuse) {
    auto wave = [](std::uint16_t tag, std::uint16_t channels, std::uint16_t bits) {
        std::vector<std::uint8_t> b;
        test::Text(b, "RIFF");
        test::Le32(b, 36);
        test::Text(b, "WAVEfmt ");
        test::Le32(b, 16);
        test::Le16(b, tag);
        test::Le16(b, channels);
        test::Le32(b, 8000);
        test::Le32(b, 8000 * channels * bits / 8);
        test::Le16(b, channels * bits / 8);
        test::Le16(b, bits);
        return b;
    };
    const struct {
        std::vector<std::uint8_t> head;
        bool wanted;
    } cases[] = {
        {wave(1, 2, 16), false}, {wave(1, 1, 8), false},  {wave(0x11, 1, 4), false},
        {wave(1, 2, 24), true},  {wave(3, 2, 32), true},  {wave(0xFFFE, 2, 16), true},
        {wave(1, 6, 16), true},  {wave(1, 0, 16), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WantsSndfile(c.head.data(), c.head.size()), c.wanted)
            << c.head[20] << "/" << c.head[22] << "/" << c.head[34];
}

}  // namespace
}  // namespace kelvane
