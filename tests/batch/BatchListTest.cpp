// kelvane-batch over lists of files, as the tasks of a job array run it: names read from a
// list, shares of a list, outputs already there skipped, one report shared by many processes.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "batch/BatchCommand.h"
#include "support/TestSupport.h"

namespace kelvane {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

class BatchList : public test::BatchCommand {
  protected:
    // One-second tones of different pitches under the given names (made under a plain name
    // and renamed, so no shell ever reads an odd one).
    void MakeInputs(const std::vector<std::string>& names) {
        int pitch = 200;
        for (const std::string& name : names) {
            Sox("-n -r 8000 -c 1 -b 16 tone.wav synth 1 sine " + std::to_string(pitch += 37));
            fs::rename(dir.File("tone.wav"), dir.File(name));
        }
    }
    void WriteList(const std::string& file, const std::vector<std::string>& names) {
        std::ofstream list(dir.File(file), std::ios::binary);
        for (const std::string& name : names) list << name << '\n';
    }
    // The report's lines by input; every line must be a JSON object.
    std::multimap<std::string, Json> ReadReport(const std::string& file) {
        std::multimap<std::string, Json> lines;
        std::ifstream in(dir.File(file));
        for (std::string line; std::getline(in, line);) {
            const Json object = Json::parse(line, nullptr, false);
            EXPECT_TRUE(object.is_object()) << line;
            if (object.is_object()) lines.emplace(object["input"].get<std::string>(), object);
        }
        return lines;
    }
    std::map<std::string, std::vector<std::uint8_t>> Outputs(const std::string& folder) {
        std::map<std::string, std::vector<std::uint8_t>> files;
        for (const auto& entry : fs::directory_iterator(dir.File(folder)))
            files[entry.path().filename().string()] = test::ReadFileBytes(entry.path().string());
        return files;
    }
};

const std::vector<std::string> kOddNames = {"plain.wav",   "two  spaces.wav", " lead.wav",
                                            "-dash.wav",   "quote's.wav",     "tab\t.wav",
                                            "ünïcödé.wav", "semi;colon.wav",  "star*.wav"};

TEST_F(BatchList, ListedOddNamesConvertAndAreReportedOnce) {
    if (!ok_) return;
    MakeInputs(kOddNames);
    std::vector<std::string> listed = kOddNames;
    listed.insert(listed.begin() + 2, "");  // an empty line names nothing
    listed.push_back("missing.wav");
    WriteList("list", listed);
    EXPECT_EQ(Batch("-q -o out --files-from list --report report.jsonl"), 1) << Stderr();
    const auto report = ReadReport("report.jsonl");
    EXPECT_EQ(report.size(), kOddNames.size() + 1);
    for (const std::string& name : kOddNames) {
        SCOPED_TRACE(name);
        ASSERT_EQ(report.count(name), 1u);
        const Json& line = report.find(name)->second;
        EXPECT_EQ(line["status"], 0);
        EXPECT_EQ(line["text"], "converted");
        EXPECT_EQ(line["output"], "out/" + name);
        EXPECT_EQ(line["frames"], 8000);
        EXPECT_TRUE(fs::is_regular_file(Out(name)));
    }
    ASSERT_EQ(report.count("missing.wav"), 1u);
    EXPECT_EQ(report.find("missing.wav")->second["text"], "load failed");
    EXPECT_TRUE(report.find("missing.wav")->second.contains("error"));

    // The same list on standard input writes the same files.
    const auto first = Outputs("out");
    fs::remove_all(Out(""));
    fs::create_directory(Out(""));
    EXPECT_EQ(Batch("-q -o out --files-from - <list"), 1) << Stderr();
    EXPECT_EQ(Outputs("out"), first);
}

TEST_F(BatchList, NamesThatALineListCannotHoldAreRefusedBeforeAnythingRuns) {
    if (!ok_) return;
    MakeInputs({"plain.wav", "new\nline.wav"});
    WriteList("list", {"plain.wav", "new\nline.wav"});
    EXPECT_EQ(Batch("-q -o out --files-from list"), 2);
    EXPECT_NE(Stderr().find("lines 2 and 3 are one file name that holds a newline"),
              std::string::npos)
        << Stderr();
    // A list made for -0 readers.
    ASSERT_EQ(test::RunCommand("cd '" + dir.path() + "' && printf 'plain.wav\\0' >zero"), 0);
    EXPECT_EQ(Batch("-q -o out --files-from zero"), 2);
    EXPECT_NE(Stderr().find("NUL"), std::string::npos) << Stderr();
    EXPECT_EQ(Batch("-q -o out --files-from nowhere"), 2);
    EXPECT_NE(Stderr().find("cannot read the list 'nowhere'"), std::string::npos) << Stderr();
    EXPECT_TRUE(fs::is_empty(Out("")));
}

TEST_F(BatchList, ExistingOutputsAreSkippedAndOnlyTheMissingOnesConverted) {
    if (!ok_) return;
    const std::vector<std::string> names = {"a.wav", "b.wav", "c.wav", "d.wav"};
    MakeInputs(names);
    WriteList("list", names);
    ASSERT_EQ(Batch("-q -o out -f au --files-from list"), 0) << Stderr();
    const auto first = Outputs("out");
    fs::remove(Out("b.au"));
    fs::remove(Out("d.au"));
    // An output that is there is kept as it is, whatever it holds.
    test::WriteFileBytes(Out("c.au"), {'k', 'e', 'p', 't'});
    ASSERT_EQ(Batch("-o out -f au --files-from list --skip-existing --report report.jsonl"), 0)
        << Stderr();
    EXPECT_NE(stdout_.find("skipped \"a.wav\""), std::string::npos) << stdout_;
    const auto report = ReadReport("report.jsonl");
    std::map<std::string, std::string> texts;
    for (const auto& [input, line] : report) texts[input] = line["text"];
    EXPECT_EQ(texts, (std::map<std::string, std::string>{{"a.wav", "skipped"},
                                                         {"b.wav", "converted"},
                                                         {"c.wav", "skipped"},
                                                         {"d.wav", "converted"}}));
    auto expected = first;
    expected["c.au"] = {'k', 'e', 'p', 't'};
    EXPECT_EQ(Outputs("out"), expected);
}

TEST_F(BatchList, ShardsOfManyProcessesConvertEachFileOnceIntoOneSharedReport) {
    if (!ok_) return;
    std::vector<std::string> names;
    for (int i = 0; i < 24; ++i) names.push_back("take " + std::to_string(i) + ".wav");
    MakeInputs(names);
    WriteList("list", names);
    ASSERT_EQ(Batch("-q -j 2 -o out --files-from list --filter normalize"), 0) << Stderr();
    const auto serial = Outputs("out");
    ASSERT_EQ(serial.size(), names.size());

    // Eight processes at once, each reading the list in an order of its own.
    constexpr int kShares = 8;
    std::string command = "cd '" + dir.path() + "' && mkdir shared && for k in $(seq 0 " +
                          std::to_string(kShares - 1) + "); do sort -R list >list$k; '" +
                          KELVANE_BATCH_COMMAND "' -q -j 1 -o shared --filter normalize " +
                          "--files-from list$k --shard $k/" + std::to_string(kShares) +
                          " --report report.jsonl & done; wait";
    ASSERT_EQ(test::RunCommand(command), 0);
    const auto report = ReadReport("report.jsonl");
    EXPECT_EQ(report.size(), names.size());
    for (const std::string& name : names) EXPECT_EQ(report.count(name), 1u) << name;
    EXPECT_EQ(Outputs("shared"), serial);
}

TEST_F(BatchList, AShareWithNothingInItSucceeds) {
    if (!ok_) return;
    MakeInputs({"only.wav"});
    EXPECT_EQ(Batch("-q -o out --shard 3/4 only.wav"), 0) << Stderr();
    EXPECT_TRUE(fs::is_empty(Out("")));
    EXPECT_EQ(Batch("-q -o out --shard 4/4 only.wav"), 2);
    EXPECT_NE(Stderr().find("--shard takes K/N"), std::string::npos) << Stderr();
}

}  // namespace
}  // namespace kelvane
