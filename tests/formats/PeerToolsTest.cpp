// sox and ffmpeg as independent readers of what we write and writers of what we read.
#include <gtest/gtest.h>

#include <cstring>

#include "formats/FormatsTestUtil.h"
#include "support/TestSupport.h"

namespace kelvane {
namespace {

using test::FfmpegDecode;
using test::MaxDifference;
using test::Samples16;
using test::SoxDecode;

bool RequirePeers() {
    return test::RequireTool("sox") && test::RequireTool("ffmpeg");
}

std::vector<WaveFormat> PcmFormats() {
    return {PcmFormat(11025, 8, 1), PcmFormat(22050, 8, 2), PcmFormat(44100, 16, 1),
            PcmFormat(48000, 16, 2)};
}

TEST(PeerTools, ReadOurPcmWaveAuAndAiffFilesToTheSamplesWeHold) {
    if (!RequirePeers()) return;
    test::ScopedTempDir dir;
    for (const WaveFormat& f : PcmFormats()) {
        auto wave = test::RandomWave(f, 4000, f.samplesPerSec);
        const auto ours = Samples16(*wave);
        for (const char* name : {"p.wav", "p.au", "p.aiff"}) {
            const std::string file = dir.File(name);
            ASSERT_EQ(wave->Save(file, 0), FileError::Success) << name;
            EXPECT_EQ(SoxDecode(file), ours) << name << " " << f.bitsPerSample << "/" << f.channels;
            EXPECT_EQ(FfmpegDecode(file), ours)
                << name << " " << f.bitsPerSample << "/" << f.channels;
        }
    }
}

TEST(PeerTools, ReadOurCompandedAuFilesAsWeDecodeThem) {
    if (!RequirePeers()) return;
    test::ScopedTempDir dir;
    auto wave = test::SweepWave(8000, 2, 8000, 50, 3000, 30000);
    const auto original = Samples16(*wave);
    for (std::uint32_t sub : {1u, 2u}) {
        const std::string file = dir.File("c.au");
        ASSERT_EQ(wave->Save(file, 0, {.code = sub}), FileError::Success);
        auto back = test::LoadOrFail(file, LOAD_CONVERT_TO_PCM);
        const auto decoded = Samples16(*back);
        EXPECT_EQ(SoxDecode(file), decoded) << sub;
        EXPECT_EQ(FfmpegDecode(file), decoded) << sub;
        // G.711 keeps about 13 bits: the coarsest step near full scale is 1024.
        const int worst = MaxDifference(decoded, original);
        EXPECT_GE(worst, 0);
        EXPECT_LE(worst, 1024) << sub;
    }
}

TEST(PeerTools, SoxReadsOurRawFilesInEveryEncoding) {
    if (!RequirePeers()) return;
    test::ScopedTempDir dir;
    const char* options[] = {"",
                             "-e signed-integer -b 8",
                             "-e unsigned-integer -b 8",
                             "-e signed-integer -b 16 -L",
                             "-e signed-integer -b 16 -B",
                             "-e unsigned-integer -b 16 -L",
                             "-e unsigned-integer -b 16 -B"};
    for (std::uint32_t code = 1; code <= 6; ++code) {
        auto wave = test::RandomWave(PcmFormat(16000, code <= 2 ? 8 : 16, 2), 3000, code);
        const std::string file = dir.File("r.raw");
        ASSERT_EQ(wave->Save(file, kFileRawSave, {.code = code}), FileError::Success);
        EXPECT_EQ(SoxDecode(file, std::string("-t raw -r 16000 -c 2 ") + options[code]),
                  Samples16(*wave))
            << code;
    }
}

// Loads a peer's file and compares it with the peer's own decode of it.
void ExpectLoadsAsPeerDecodes(const std::string& file, std::uint32_t flags = LOAD_CONVERT_TO_PCM) {
    auto wave = test::LoadOrFail(file, flags);
    ASSERT_EQ(wave->mode, WaveMode::Resident) << file;
    const auto ours = Samples16(*wave);
    EXPECT_FALSE(ours.empty()) << file;
    EXPECT_EQ(ours, SoxDecode(file)) << file;
    EXPECT_EQ(ours, FfmpegDecode(file)) << file;
}

TEST(PeerTools, WeLoadWhatTheyWrite) {
    if (!RequirePeers()) return;
    test::ScopedTempDir dir;
    const std::string synth = " synth 0.3 sine 440 sine 660 2>/dev/null";
    const std::string lavfi = "ffmpeg -v error -f lavfi -i 'sine=f=440:d=0.3' -ac 2 -ar 22050 ";
    struct Made {
        const char* name;
        std::string command;
    };
    const Made made[] = {
        // AU headers of 44 (sox) and 32 (ffmpeg) bytes.
        {"sox.au", "sox -n -r 22050 -c 2 -b 16 %F" + synth},
        {"sox8.au", "sox -n -r 8000 -c 1 -b 8 -e signed %F" + synth},
        {"ff.au", lavfi + "%F"},
        {"soxmu.au", "sox -n -r 8000 -c 1 -e mu-law %F" + synth},
        {"ffalaw.au", lavfi + "-c:a pcm_alaw %F"},
        // AIFF with a comment chunk (sox) or a name chunk (ffmpeg) before COMM.
        {"sox.aiff", "sox -n -r 22050 -c 2 -b 16 --comment 'odd' %F" + synth},
        {"sox8.aiff", "sox -n -r 11025 -c 1 -b 8 %F" + synth},
        {"ff.aiff", lavfi + "-metadata title=abc %F"},
        // Wave with a fact chunk, with a bext chunk, and with odd INFO texts before "data".
        {"soxmu.wav", "sox -n -r 8000 -c 1 -e mu-law %F" + synth},
        {"sox8.wav", "sox -n -r 11025 -c 2 -b 8 %F" + synth},
        {"ffbext.wav", lavfi + "-write_bext 1 %F"},
        {"ffinfo.wav", lavfi + "-metadata comment=abcd -metadata title=xyz %F"},
    };
    for (const auto& m : made) {
        const std::string file = dir.File(m.name);
        std::string command = m.command;
        command.replace(command.find("%F"), 2, "'" + file + "'");
        ASSERT_EQ(test::RunCommand(command), 0) << command;
        ExpectLoadsAsPeerDecodes(file);
    }
    auto info = test::LoadOrFail(dir.File("ffinfo.wav"), 0);
    EXPECT_STREQ(info->GetInfo("ICMT"), "abcd");
    EXPECT_STREQ(info->GetInfo("INAM"), "xyz");
    EXPECT_NE(info->GetInfo("ISFT"), nullptr);
}

}  // namespace
}  // namespace kelvane
