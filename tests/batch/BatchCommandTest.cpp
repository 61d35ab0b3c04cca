// kelvane-batch from the shell: every input type, every output format, the options and the
// exit statuses, with sox and ffprobe reading what it writes.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "batch/BatchCommand.h"
#include "resources/Strings.h"
#include "support/TestSupport.h"

namespace kelvane {
namespace {

namespace fs = std::filesystem;
using test::BatchCommand;

TEST_F(BatchCommand, ConvertsFilesOfEveryInputType) {
    if (!ok_ || !test::RequireTool("lame") || !test::RequireTool("twolame")) return;
    const std::string tone = "synth 1 sine 300-900 vol 0.5";
    Sox("-n -r 44100 -c 2 -b 16 pcm.wav " + tone);
    Sox("-n -r 22050 -c 2 -e ima-adpcm ima.wav " + tone);
    Sox("-n -r 8000 -c 1 -e gsm-full-rate gsm.wav " + tone);
    Sox("-n -r 8000 -c 1 -e u-law mulaw.au " + tone);
    Sox("-n -r 11025 -c 1 -b 16 linear.snd " + tone);
    Sox("-n -r 22050 -c 2 -b 16 both.aif " + tone);
    Sox("-n -r 16000 -c 1 -b 8 eight.aiff " + tone);
    ASSERT_EQ(test::RunCommand("cd '" + dir.path() +
                               "' && twolame --quiet pcm.wav layer2.mp2 && "
                               "lame --quiet pcm.wav layer3.mp3 && cp '" +
                               test::DataFile("batch/l1_mkmp1_mono.mp1") + "' layer1.mp1"),
              0);
    const std::string files[] = {"pcm.wav",    "ima.wav",   "gsm.wav",    "mulaw.au",
                                 "linear.snd", "both.aif",  "eight.aiff", "layer1.mp1",
                                 "layer2.mp2", "layer3.mp3"};
    std::string arguments = "-o out";
    for (const auto& f : files) arguments += " " + f;
    EXPECT_EQ(Batch(arguments), 0) << stdout_;
    for (const auto& f : files) {
        SCOPED_TRACE(f);
        EXPECT_NE(stdout_.find(FormatString(2003, f.c_str())), std::string::npos);
        const std::string output = Out(fs::path(f).stem().string() + ".wav");
        EXPECT_EQ(Probe(output, "stream=codec_name").substr(0, 4), "pcm_");
        // Layer III keeps its encoder's padding; everything else is exact to a frame.
        EXPECT_NEAR(Seconds(output), 1.0, f == "layer3.mp3" ? 0.1 : 0.03);
    }
}

TEST_F(BatchCommand, WritesEveryOutputFormatAndSubFormat) {
    if (!ok_) return;
    Sox("-n -r 44100 -c 2 -b 16 in.wav synth 1 sine 440 vol 0.5");
    struct Case {
        const char* options;
        const char* file;
        const char* codec;
        const char* rate;
    };
    const Case cases[] = {
        {"", "in.wav", "pcm_s16le", "44100"},
        {"--subformat pcm:22050:1:8", "in.wav", "pcm_u8", "22050"},
        {"--subformat mulaw:8000:1", "in.wav", "pcm_mulaw", "8000"},
        {"--subformat alaw", "in.wav", "pcm_alaw", "44100"},
        {"--subformat ima-adpcm:22050:2", "in.wav", "adpcm_ima_wav", "22050"},
        {"--subformat ms-adpcm", "in.wav", "adpcm_ms", "44100"},
        {"--subformat gsm:8000:1", "in.wav", "gsm_ms", "8000"},
        {"-f au", "in.au", "pcm_s16be", "44100"},
        {"-f au --subformat mulaw", "in.au", "pcm_mulaw", "44100"},
        {"-f au --subformat alaw", "in.au", "pcm_alaw", "44100"},
        {"-f aif", "in.aif", "pcm_s16be", "44100"},
        {"-f ra", "in.ra", "ra_144", "8000"},
        {"-f ra --subformat 7", "in.ra", "ac3", "44100"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        ASSERT_EQ(Batch(std::string("-q -o out in.wav ") + c.options), 0) << Stderr();
        const std::string output = dir.File(std::string("out/") + c.file);
        EXPECT_EQ(Probe(output, "stream=codec_name"), c.codec);
        EXPECT_EQ(Probe(output, "stream=sample_rate"), c.rate);
        EXPECT_NEAR(Seconds(output), 1.0, 0.05);  // ADPCM pads its last block
        fs::remove(output);
    }
    // Raw: the default keeps 16-bit little-endian signed; a data format of the same size.
    for (const char* sub : {"", "--subformat 6"}) {
        ASSERT_EQ(Batch(std::string("-q -o out -f raw in.wav ") + sub), 0) << sub;
        EXPECT_EQ(fs::file_size(dir.File("out/in.raw")), 176400u) << sub;
    }
}

// FFmpeg and the many libraries it needs cost more start-up time than a short conversion
// takes, so they are loaded only when a RealAudio file is written.
TEST_F(BatchCommand, LoadsTheEncoderLibrariesOnlyToWriteRealAudio) {
    if (!ok_) return;
    Sox("-n -r 8000 -c 1 -b 16 in.wav synth 0.2 sine 440");
    const auto loaded = [&](const std::string& arguments) {
        std::string log;
        EXPECT_EQ(test::RunCommand("cd '" + dir.path() + "' && LD_DEBUG=files '" +
                                       KELVANE_BATCH_COMMAND "' " + arguments + " 2>&1",
                                   &log),
                  0)
            << arguments;
        return log.find("libavcodec") != std::string::npos;
    };
    EXPECT_FALSE(loaded("--help"));
    EXPECT_FALSE(loaded("-q -o out -f au --filter volume in.wav"));
    EXPECT_TRUE(loaded("-q -o out -f ra in.wav"));
    EXPECT_GT(Seconds(Out("in.ra")), 0.15);
}

TEST_F(BatchCommand, ExitStatusesAndUsageErrors) {
    if (!ok_) return;
    Sox("-n -r 8000 -c 1 -b 16 a.wav synth 0.2 sine 440");
    EXPECT_EQ(Batch("--help"), 0);
    EXPECT_NE(stdout_.find("--filter"), std::string::npos);
    EXPECT_EQ(Batch("--version"), 0);
    EXPECT_NE(stdout_.find("kelvane-batch"), std::string::npos);
    const char* usage[] = {"",
                           "a.wav --no-such-option",
                           "a.wav -f mp4",
                           "a.wav --filter loudness",
                           "a.wav --filter volume:LOUDNESS=3",
                           "a.wav --filter echo:NUMBER=many",
                           "a.wav --filter swap:X=1",
                           "a.wav -f au --subformat ulaw",
                           "a.wav -f aif --subformat 1",
                           "a.wav -f ra --subformat 10",
                           "a.wav -f raw --subformat 0",
                           "a.wav --subformat flac",
                           "a.wav -o no-such-folder"};
    for (const char* arguments : usage) {
        EXPECT_EQ(Batch(arguments), 2) << arguments;
        EXPECT_NE(Stderr().find("kelvane-batch"), std::string::npos) << arguments;
        EXPECT_TRUE(stdout_.empty()) << arguments;
    }
    // Options may follow the files; keys are read without regard to case.
    EXPECT_EQ(Batch("a.wav -o out --filter echo:number=3,DELAY=120 --filter pitch:CHANGEPITCH=150 "
                    "--filter stretch:COMPRESSEXPAND=150 --filter center"),
              0)
        << Stderr();
    EXPECT_NEAR(Seconds(Out("a.wav")), 0.3, 0.01);  // stretched to 150 %, the pitch kept length
    EXPECT_EQ(Batch("-o out a.wav missing.wav"), 1);
    EXPECT_NE(stdout_.find(FormatString(2000, "missing.wav", "")
                               .substr(0, FormatString(2000, "missing.wav", "").find('\n'))),
              std::string::npos);
    EXPECT_TRUE(fs::exists(dir.File("out/a.wav")));
    // Without a folder the output goes to the current one.
    EXPECT_EQ(Batch("-q -f au a.wav"), 0);
    EXPECT_TRUE(fs::exists(dir.File("a.au")));
}

TEST_F(BatchCommand, QuietRunsPrintNothingAndFiltersTakeTheirSettings) {
    if (!ok_) return;
    Sox("-n -r 22050 -c 2 -b 16 a.wav synth 1 sine 440 vol 0.8");
    EXPECT_EQ(Batch("-q -o out a.wav --filter volume:LEFTVOLUME=50,RIGHTVOLUME=50 -f raw"), 0);
    EXPECT_TRUE(stdout_.empty());
    EXPECT_TRUE(Stderr().empty());  // not a terminal: no progress bar either
    const auto in = test::ReadFileBytes(dir.File("a.wav"));
    const auto half = test::ReadFileBytes(dir.File("out/a.raw"));
    ASSERT_EQ(half.size(), 88200u);
    const std::uint8_t* source = in.data() + in.size() - half.size();
    for (std::size_t i = 0; i < half.size(); i += 2) {
        const auto s = static_cast<std::int16_t>(source[i] | (source[i + 1] << 8));
        const auto h = static_cast<std::int16_t>(half[i] | (half[i + 1] << 8));
        ASSERT_EQ(h, s * 50 / 100) << i;
    }
}

TEST_F(BatchCommand, InfoDescribesFilesWithoutConverting) {
    if (!ok_) return;
    Sox("-n -r 22050 -c 2 -b 16 a.wav synth 1.5 sine 440");
    Sox("-n -r 8000 -c 1 -e u-law b.au synth 0.25 sine 440");
    if (!test::RequireTool("twolame")) return;
    ASSERT_EQ(test::RunCommand("cd '" + dir.path() + "' && twolame --quiet -b 64 a.wav c.mp2"), 0);
    EXPECT_EQ(Batch("--info a.wav b.au c.mp2"), 0);
    EXPECT_NE(stdout_.find("Format: MPEG 2, Layer 2, 22050 Hz, Stereo, 64 kbits"),
              std::string::npos)
        << stdout_;
    EXPECT_NE(stdout_.find("Format: PCM, 22050 Hz, 16 Bits, Stereo\nLength: 1.5000 sec"),
              std::string::npos)
        << stdout_;
    EXPECT_NE(stdout_.find("Bits, Mono\nLength: 0.2500 sec"), std::string::npos) << stdout_;
    EXPECT_EQ(Batch("--info a.wav gone.wav"), 1);
    EXPECT_NE(Stderr().find("gone.wav"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir.File("a.au")));
}

TEST_F(BatchCommand, ReadsTheFilesPeopleHaveAndDescribesTheirOwnFormat) {
    if (!ok_ || !test::RequireTool("ffmpeg")) return;
    const std::string tone = "synth 1 sine 300-900 vol 0.5";
    Sox("-n -r 48000 -c 2 -b 24 deep.wav " + tone);
    Sox("-n -r 96000 -c 2 -b 24 hi.flac " + tone);
    Sox("-n -r 44100 -c 2 talk.ogg " + tone);
    Sox("-n -r 44100 -c 1 -b 24 old.aiff " + tone);
    ASSERT_EQ(test::RunCommand("cd '" + dir.path() +
                               "' && ffmpeg -v error -f lavfi -i 'sine=r=48000:d=1' -ac 6 "
                               "-c:a libopus -b:a 96k six.opus"),
              0);
    EXPECT_EQ(Batch("-o out deep.wav hi.flac talk.ogg old.aiff six.opus"), 0) << stdout_;
    for (const char* name : {"deep", "hi", "talk", "old", "six"}) {
        const std::string output = Out(std::string(name) + ".wav");
        EXPECT_EQ(Probe(output, "stream=codec_name"), "pcm_s16le") << name;
        EXPECT_NEAR(Seconds(output), 1.0, 0.03) << name;
    }
    EXPECT_EQ(Probe(Out("six.wav"), "stream=channels"), "2");
    EXPECT_EQ(Probe(Out("hi.wav"), "stream=sample_rate"), "96000");

    EXPECT_EQ(Batch("--info hi.flac"), 0);
    EXPECT_NE(stdout_.find("Format: FLAC, 24-bit, 96000 Hz, stereo, read as 16-bit stereo\n"
                           "Length: 1.0000 sec"),
              std::string::npos)
        << stdout_;
    EXPECT_EQ(Batch("--info --json six.opus"), 0);
    EXPECT_NE(stdout_.find(R"("type":"opus","format":"Opus","tag":1,"rate":48000,"bits":0,)"
                           R"("channels":6,"frames":48000)"),
              std::string::npos)
        << stdout_;
    EXPECT_NE(stdout_.find(R"("source":"Opus, 48000 Hz, 6 channels, read as 16-bit stereo")"),
              std::string::npos)
        << stdout_;
}

TEST_F(BatchCommand, WritesFlacOggOpusAndMp3WithTheirSettingsAndTexts) {
    if (!ok_) return;
    Sox("-n -r 44100 -c 2 -b 16 in.wav synth 2 sine 440 vol 0.5");
    struct Case {
        const char* options;
        const char* file;
        const char* codec;
        const char* rate;
        double kbits;  // 0: not checked
    };
    const Case cases[] = {
        {"-f flac", "in.flac", "flac", "44100", 0},
        {"-f flac --subformat 8", "in.flac", "flac", "44100", 0},
        {"-f ogg --subformat 3", "in.ogg", "vorbis", "44100", 0},
        {"-f opus --subformat 64", "in.opus", "opus", "48000", 64},
        {"-f mp3", "in.mp3", "mp3", "44100", 0},
        {"-f mp3 --subformat 128", "in.mp3", "mp3", "44100", 128},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        ASSERT_EQ(Batch(std::string("-o out ") + c.options + " in.wav"), 0) << Stderr();
        const std::string output = Out(c.file);
        EXPECT_EQ(Probe(output, "stream=codec_name"), c.codec);
        EXPECT_EQ(Probe(output, "stream=sample_rate"), c.rate);
        EXPECT_NEAR(Seconds(output), 2.0, 0.05);
        if (c.kbits > 0) {
            EXPECT_NEAR(std::stod(Probe(output, "format=bit_rate")) / 1000, c.kbits,
                        c.kbits * 0.15);
        }
    }
    // The batch names its work, as in every file it writes.
    EXPECT_NE(Probe(Out("in.flac"), "format_tags=software").find("Kelvane"), std::string::npos);
    for (const char* bad :
         {"-f flac --subformat 9", "-f ogg --subformat x", "-f opus --subformat 3",
          "-f mp3 --subformat v10", "-f mp3 --subformat 1000"})
        EXPECT_EQ(Batch(std::string("-o out ") + bad + " in.wav"), 2) << bad;
}

TEST_F(BatchCommand, NoDitherRoundsDeepSamples) {
    if (!ok_) return;
    Sox("-n -r 8000 -c 1 -b 24 deep.wav synth 0.5 sine 440 vol 0.3");
    ASSERT_EQ(Batch("-o out deep.wav"), 0);
    const auto dithered = test::ReadFileBytes(Out("deep.wav"));
    ASSERT_EQ(Batch("-o out --no-dither deep.wav"), 0);
    const auto rounded = test::ReadFileBytes(Out("deep.wav"));
    // sox rounds without dither when asked (-D): the same samples.
    Sox("deep.wav -D -b 16 sox.wav");
    std::string ours, theirs;
    ASSERT_EQ(test::RunCommand("sox '" + Out("deep.wav") + "' -t raw -", &ours), 0);
    ASSERT_EQ(test::RunCommand("sox '" + dir.File("sox.wav") + "' -t raw -", &theirs), 0);
    EXPECT_EQ(ours, theirs);
    EXPECT_NE(dithered, rounded);
}

TEST_F(BatchCommand, ConvertingOntoTheInputsOwnNameNeverLosesIt) {
    if (!ok_) return;
    // An empty sound loads but cannot be saved: the failed save must leave the input alone.
    Sox("-n -r 8000 -c 1 -b 16 empty.wav trim 0 0");
    const auto before = test::ReadFileBytes(dir.File("empty.wav"));
    EXPECT_EQ(Batch("-q -o . empty.wav"), 1);
    EXPECT_EQ(test::ReadFileBytes(dir.File("empty.wav")), before);

    // A sound read while its replacement is written: the result is complete, nothing else left.
    Sox("-n -r 44100 -c 2 -b 16 tone.wav synth 3 sine 440 vol 0.8");
    EXPECT_EQ(Batch("-q -o . tone.wav --filter volume:LEFTVOLUME=50,RIGHTVOLUME=50"), 0)
        << Stderr();
    EXPECT_NEAR(Seconds(dir.File("tone.wav")), 3.0, 0.001);
    std::string peak;
    test::RunCommand("sox '" + dir.File("tone.wav") + "' -n stat 2>&1 | grep 'Maximum amp'", &peak);
    EXPECT_NEAR(std::stod(peak.substr(peak.find(':') + 1)), 0.4, 0.001) << peak;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 4);
}

TEST_F(BatchCommand, InterruptWithOneWorkerFinishesTheStepAndEndsWith130) {
    if (!ok_) return;
    for (const char* name : {"1.wav", "2.wav", "3.wav"})
        Sox(std::string("-n -r 44100 -c 2 -b 16 ") + name + " synth 20 sine 440 vol 0.3");
    // Interrupt once the first file is done, while the second is being processed.
    const std::string script =
        "cd '" + dir.path() +
        "' && ('" KELVANE_BATCH_COMMAND
        "' -j 1 -o out 1.wav 2.wav 3.wav --filter chorus --filter echo --filter normalize "
        ">log 2>/dev/null & pid=$!; "
        "for i in $(seq 3000); do grep -q 'finished processing' log && break; "
        "kill -0 $pid 2>/dev/null || break; sleep 0.01; done; "
        "kill -INT $pid; wait $pid; echo $? >status)";
    ASSERT_EQ(test::RunCommand(script), 0);
    const auto status = test::ReadFileBytes(dir.File("status"));
    EXPECT_EQ(std::string(status.begin(), status.end()), "130\n");
    const auto log = test::ReadFileBytes(dir.File("log"));
    const std::string text(log.begin(), log.end());
    EXPECT_EQ(text, FormatString(2003, "1.wav") + std::string(LoadString(2005)) + "\n");
    EXPECT_TRUE(fs::exists(dir.File("out/1.wav")));
    EXPECT_FALSE(fs::exists(dir.File("out/2.wav")));
    EXPECT_FALSE(fs::exists(dir.File("out/3.wav")));
}

}  // namespace
}  // namespace kelvane
