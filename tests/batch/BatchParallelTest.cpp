// kelvane-batch with several workers: the outputs, log and exit status of one serial run,
// interrupts that stop every worker, raw input, and the JSON description of files, with sox,
// ffmpeg and ffprobe making and reading the files.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <vector>

#include "batch/BatchCommand.h"
#include "batch/BatchConversion.h"
#include "batch/BatchOptions.h"
#include "batch/RecordingMonitor.h"
#include "processing/RuntimeRandom.h"
#include "resources/Strings.h"

namespace kelvane {
namespace {

namespace fs = std::filesystem;

class BatchParallel : public test::BatchCommand {
  protected:
    void Shell(const std::string& command) {
        ASSERT_EQ(test::RunCommand("cd '" + dir.path() + "' && " + command), 0) << command;
    }
    // Every file of a folder by name, with its bytes.
    static std::map<std::string, std::vector<std::uint8_t>> Contents(const std::string& folder) {
        std::map<std::string, std::vector<std::uint8_t>> files;
        for (const auto& entry : fs::directory_iterator(folder))
            files[entry.path().filename().string()] = test::ReadFileBytes(entry.path().string());
        return files;
    }
};

// The chorus draws from the process-wide random sequence, so its result depends on how many
// files were chorused before: workers must keep the serial order of the draws.
const std::vector<std::string> kChain = {"volume:LEFTVOLUME=80,RIGHTVOLUME=60", "chorus", "echo",
                                         "normalize"};

TEST_F(BatchParallel, ManyWorkersWriteWhatOneSerialRunWrites) {
    if (!ok_ || !test::RequireTool("twolame") || !test::RequireTool("ffmpeg")) return;
    const std::string tone = " synth 1.5 sine 200-2000 vol 0.6";
    Sox("-n -r 22050 -c 2 -b 16 a.wav" + tone);
    Sox("-n -r 44100 -c 1 -b 16 b.wav" + tone);
    // A compressed input without a title would take the random name of its temporary PCM copy
    // as its title, and no two runs of any kind would agree on it.
    Shell("ffmpeg -v error -i a.wav -c:a adpcm_ima_wav -metadata title=c c.wav");
    Sox("-n -r 8000 -c 1 -e u-law d.au" + tone);
    Sox("-n -r 16000 -c 2 -b 8 e.aif" + tone);
    Sox("-n -r 11025 -c 1 -b 8 f.snd" + tone);
    Shell("twolame --quiet a.wav g.mp2");
    // Damaged or unusable: a missing file, a folder, text, a cut header, a wrong signature.
    Shell(
        "mkdir folder.wav && echo 'not a sound' >text.wav && head -c 30 b.wav >cut.wav && "
        "printf 'snd.0000000000000000' >magic.au");
    const char* names[] = {"a.wav", "missing.wav", "b.wav",    "folder.wav", "c.wav", "text.wav",
                           "d.au",  "cut.wav",     "magic.au", "e.aif",      "f.snd", "g.mp2"};

    // The engine's serial run, as the editor's dialog makes it, from a fresh random sequence.
    BatchConversion serial;
    std::string arguments;
    for (const char* name : names) {
        serial.AddInput(dir.File(name));
        arguments += " '" + dir.File(name) + "'";
    }
    for (const std::string& text : kChain) {
        FilterOption option;
        ASSERT_EQ(ParseFilterOption(text, option), "");
        ASSERT_TRUE(WriteFilterSettings(*serial.AddFilter(option.filter), option));
        arguments += " --filter " + text;
    }
    fs::create_directory(dir.File("serial"));
    serial.SetOutputFolder(dir.File("serial"));
    RuntimeRandom::SetState(RuntimeRandom::kInitialState);
    test::RecordingMonitor monitor;
    const BatchSummary summary = serial.Run(monitor);
    ASSERT_EQ(summary.converted, 7u);
    ASSERT_EQ(summary.failed, 5u);
    const auto expected = Contents(dir.File("serial"));
    ASSERT_EQ(expected.size(), 7u);
    for (const auto& [name, bytes] : expected)
        EXPECT_NEAR(Seconds(dir.File("serial/" + name)), 1.5, 0.06) << name;

    for (const char* jobs : {"1", "4"}) {
        SCOPED_TRACE(jobs);
        const std::string out = dir.File(std::string("out") + jobs);
        fs::create_directory(out);
        EXPECT_EQ(Batch(std::string("-j ") + jobs + " -o '" + out + "'" + arguments), 1);
        std::istringstream got(stdout_), want(monitor.log);
        for (std::string a, b; std::getline(want, b);) {
            ASSERT_TRUE(std::getline(got, a));
            EXPECT_EQ(a, b);
        }
        EXPECT_EQ(stdout_, monitor.log);
        EXPECT_TRUE(Contents(out) == expected);
    }
}

TEST_F(BatchParallel, AnInterruptStopsEveryWorkerAndLeavesOnlyWholeFiles) {
    if (!ok_) return;
    const std::vector<std::string> names = {"1.wav", "2.wav", "3.wav", "4.wav", "5.wav", "6.wav"};
    for (const auto& name : names) Sox("-n -r 44100 -c 2 -b 16 " + name + " synth 20 sine 440");
    const std::string script =
        "cd '" + dir.path() +
        "' && ('" KELVANE_BATCH_COMMAND
        "' -j 2 -o out 1.wav 2.wav 3.wav 4.wav 5.wav 6.wav --filter chorus --filter echo "
        "--filter normalize --report report.jsonl >log 2>/dev/null & pid=$!; "
        "for i in $(seq 3000); do grep -q 'finished processing' log && break; "
        "kill -0 $pid 2>/dev/null || break; sleep 0.01; done; "
        "kill -INT $pid; wait $pid; echo $? >status)";
    ASSERT_EQ(test::RunCommand(script), 0);
    const auto status = test::ReadFileBytes(dir.File("status"));
    EXPECT_EQ(std::string(status.begin(), status.end()), "130\n");
    const auto bytes = test::ReadFileBytes(dir.File("log"));
    const std::string log(bytes.begin(), bytes.end());
    const std::string end = std::string(LoadString(2005)) + "\n";
    ASSERT_GE(log.size(), end.size());
    EXPECT_EQ(log.substr(log.size() - end.size()), end);
    // Whatever a worker finished is whole and logged, in input order; nothing else is left.
    std::size_t logged = 0;
    std::size_t from = 0;
    for (const auto& name : names) {
        const std::size_t at = log.find(FormatString(2003, name.c_str()));
        const bool done = at != std::string::npos;
        EXPECT_EQ(fs::exists(Out(name)), done) << name;
        if (!done) continue;
        EXPECT_GE(at, from) << name;
        from = at;
        ++logged;
        EXPECT_NEAR(Seconds(Out(name)), 20.0, 0.01) << name;
    }
    EXPECT_GE(logged, 1u);
    EXPECT_FALSE(fs::exists(Out("6.wav")));
    // The report has each finished file as converted, at most one file a worker as cancelled,
    // and nothing of the files never started.
    std::ifstream report(dir.File("report.jsonl"));
    std::map<std::string, int> texts;
    for (std::string line; std::getline(report, line);)
        ++texts[nlohmann::json::parse(line)["text"].get<std::string>()];
    EXPECT_EQ(texts["converted"], static_cast<int>(logged));
    EXPECT_LE(texts["cancelled"], 2);
    EXPECT_EQ(texts.size(), 2u);  // no other status
    EXPECT_EQ(static_cast<std::size_t>(
                  std::distance(fs::directory_iterator(dir.File("out")), fs::directory_iterator())),
              logged);
}

TEST_F(BatchParallel, RawInputReadsUnlistedExtensionsAsTheRawDialogWould) {
    if (!ok_) return;
    Sox("-n -r 22050 -c 2 -e signed -b 16 -B -t raw be.pcm synth 1 sine 300-3000 vol 0.7");
    Sox("-t raw -r 22050 -c 2 -e signed -b 16 -B be.pcm -t raw -e signed -b 16 -L le.expected");
    Sox("-n -r 8000 -c 1 -e unsigned -b 8 -t raw u8.dat synth 1 sine 440 vol 0.5");
    Sox("-n -r 22050 -c 2 -b 16 w.wav synth 1 sine 500");
    // Entry 4 of the list is 16-bit big-endian signed, entry 3 little-endian signed; a listed
    // extension still picks its own reader.
    EXPECT_EQ(Batch("-q -o out -f raw --subformat 3 --raw 22050,4,2 be.pcm w.wav"), 0) << Stderr();
    EXPECT_EQ(test::ReadFileBytes(Out("be.raw")), test::ReadFileBytes(dir.File("le.expected")));
    EXPECT_EQ(fs::file_size(Out("w.raw")), 88200u);
    // Entry 1, 8-bit unsigned, read and written with the same entry gives the bytes back.
    EXPECT_EQ(Batch("-q -o out -f raw --subformat 1 --raw 8000,1,1 u8.dat"), 0) << Stderr();
    EXPECT_EQ(test::ReadFileBytes(Out("u8.raw")), test::ReadFileBytes(dir.File("u8.dat")));
    EXPECT_EQ(Batch("-q -o out --raw 8000,1,1 u8.dat"), 0);
    EXPECT_EQ(Probe(Out("u8.wav"), "stream=codec_name"), "pcm_u8");
    EXPECT_EQ(Probe(Out("u8.wav"), "stream=sample_rate"), "8000");
    // Without --raw the type cannot be told from the name.
    EXPECT_EQ(Batch("-o out u8.dat"), 1);
    const std::string unknown(LoadString(1008));
    EXPECT_NE(stdout_.find(FormatString(2000, "u8.dat", unknown.c_str())), std::string::npos);
    for (const char* bad :
         {"22050,4", "22050,7,2", "0,3,2", "22050,3,3", "a,b,c", "22050,3,2,1", "22050,,2"}) {
        EXPECT_EQ(Batch(std::string("-o out u8.dat --raw ") + bad), 2) << bad;
        EXPECT_NE(Stderr().find("--raw"), std::string::npos) << bad;
    }
}

TEST_F(BatchParallel, InfoJsonDescribesEachFileOnALineOfItsOwn) {
    if (!ok_ || !test::RequireTool("ffmpeg") || !test::RequireTool("twolame")) return;
    Sox("-n -r 22050 -c 2 -b 16 plain.wav synth 1.5 sine 440");
    // INFO texts are bytes: the artist here is Latin-1, not UTF-8.
    Shell(
        "ffmpeg -v error -i plain.wav -metadata title='Café' "
        "-metadata artist=\"$(printf 'caf\\351')\" -c copy tagged.wav");
    Sox("-n -r 8000 -c 1 -e u-law law.au synth 0.25 sine 440");
    Shell("twolame --quiet -b 64 plain.wav layer2.mp2");
    Sox("-n -r 11025 -c 2 -e signed -b 16 -t raw samples.pcm synth 0.5 sine 440");
    EXPECT_EQ(Batch("--info --json --raw 11025,3,2 plain.wav tagged.wav law.au layer2.mp2 "
                    "samples.pcm gone.wav"),
              1);
    std::vector<nlohmann::json> objects;
    std::istringstream lines(stdout_);
    for (std::string line; std::getline(lines, line);) {
        objects.push_back(nlohmann::json::parse(line, nullptr, false));
        EXPECT_FALSE(objects.back().is_discarded()) << line;
    }
    ASSERT_EQ(objects.size(), 6u) << stdout_;
    const nlohmann::json& plain = objects[0];
    EXPECT_EQ(plain["type"], "wave");
    EXPECT_EQ(plain["format"], "PCM");
    EXPECT_EQ(plain["rate"], 22050);
    EXPECT_EQ(plain["bits"], 16);
    EXPECT_EQ(plain["channels"], 2);
    EXPECT_EQ(plain["frames"], 33075);
    EXPECT_DOUBLE_EQ(plain["seconds"].get<double>(), 1.5);
    EXPECT_EQ(objects[1]["info"]["INAM"], "Café");
    EXPECT_EQ(objects[1]["info"]["IART"], "caf\xEF\xBF\xBD");  // the replacement character
    const nlohmann::json& law = objects[2];
    EXPECT_EQ(law["type"], "au");
    EXPECT_EQ(law["tag"], 7);
    EXPECT_EQ(law["bits"], 8);
    EXPECT_EQ(law["frames"], 2000);
    const nlohmann::json& mpeg = objects[3];
    EXPECT_EQ(mpeg["type"], "mpeg");
    EXPECT_EQ(mpeg["layer"], 2);
    EXPECT_EQ(mpeg["kbits"], 64);
    EXPECT_EQ(std::to_string(mpeg["rate"].get<int>()),
              Probe(dir.File("layer2.mp2"), "stream=sample_rate"));
    EXPECT_NEAR(mpeg["seconds"].get<double>(), Seconds(dir.File("layer2.mp2")), 0.06);
    const nlohmann::json& raw = objects[4];
    EXPECT_EQ(raw["type"], "raw");
    EXPECT_EQ(raw["rate"], 11025);
    EXPECT_EQ(raw["frames"], fs::file_size(dir.File("samples.pcm")) / 4);
    EXPECT_EQ(objects[5]["file"], "gone.wav");
    EXPECT_TRUE(objects[5].contains("error"));
    EXPECT_EQ(Batch("--json plain.wav"), 2);
}

}  // namespace
}  // namespace kelvane
