// Lists of inputs for runs spread over processes: shares, list lines, names split by newlines.

#include "batch/BatchInputs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <random>

#include "support/TestSupport.h"

namespace kelvane {
namespace {

TEST(BatchInputs, SharesHoldEveryNameOnceWhateverTheListOrder) {
    std::vector<std::string> names = {"a.wav",     " lead.wav", "-dash.wav", "é.wav", "b c.wav",
                                      "\"q\".wav", "tab\t.wav", "dir/x.wav", "x.wav"};
    for (int i = 0; i < 150; ++i) names.push_back("take " + std::to_string(i) + ".wav");
    names.push_back("a.wav");  // listed twice, converted once
    const std::size_t distinct = names.size() - 1;
    std::mt19937 random(29);
    for (std::size_t count = 1; count <= 16; ++count) {
        SCOPED_TRACE(count);
        std::map<std::string, int> seen;
        std::size_t smallest = distinct;
        std::size_t largest = 0;
        for (std::size_t index = 0; index < count; ++index) {
            // Each process reads the list in an order of its own.
            std::shuffle(names.begin(), names.end(), random);
            const auto share = ShareOf(names, {index, count});
            smallest = std::min(smallest, share.size());
            largest = std::max(largest, share.size());
            for (const std::string& name : share) ++seen[name];
        }
        EXPECT_EQ(seen.size(), distinct);
        EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [](auto& s) { return s.second == 1; }));
        EXPECT_LE(largest - smallest, 1u);
    }
}

TEST(BatchInputs, ShardsAreReadFromTextOrFromASlurmArrayTask) {
    struct Case {
        const char* text;
        std::map<std::string, std::string> environment;
        bool ok;
        std::size_t index, count;
    };
    const Case cases[] = {
        {"0/1", {}, true, 0, 1},
        {"3/4", {}, true, 3, 4},
        {"4/4", {}, false, 0, 0},
        {"0/0", {}, false, 0, 0},
        {"-1/4", {}, false, 0, 0},
        {"1/", {}, false, 0, 0},
        {"1/4x", {}, false, 0, 0},
        {"14", {}, false, 0, 0},
        {"slurm", {}, false, 0, 0},
        {"slurm", {{"SLURM_ARRAY_TASK_ID", "2"}, {"SLURM_ARRAY_TASK_COUNT", "4"}}, true, 2, 4},
        // --array=1-4
        {"slurm",
         {{"SLURM_ARRAY_TASK_ID", "4"},
          {"SLURM_ARRAY_TASK_COUNT", "4"},
          {"SLURM_ARRAY_TASK_MIN", "1"}},
         true,
         3,
         4},
        // --array=0-6:2
        {"slurm",
         {{"SLURM_ARRAY_TASK_ID", "4"},
          {"SLURM_ARRAY_TASK_COUNT", "4"},
          {"SLURM_ARRAY_TASK_MIN", "0"},
          {"SLURM_ARRAY_TASK_STEP", "2"}},
         true,
         2,
         4},
        // --array=1,5,9: no step leads from one id to the next
        {"slurm",
         {{"SLURM_ARRAY_TASK_ID", "9"},
          {"SLURM_ARRAY_TASK_COUNT", "3"},
          {"SLURM_ARRAY_TASK_MIN", "1"}},
         false,
         0,
         0},
        {"slurm", {{"SLURM_ARRAY_TASK_ID", "x"}, {"SLURM_ARRAY_TASK_COUNT", "4"}}, false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + (c.environment.empty() ? "" : " " + c.environment.begin()->second));
        BatchShard shard;
        const std::string error = ParseShard(
            c.text,
            [&](const char* name) {
                const auto found = c.environment.find(name);
                return found == c.environment.end() ? nullptr : found->second.c_str();
            },
            shard);
        EXPECT_EQ(error.empty(), c.ok) << error;
        if (c.ok) {
            EXPECT_EQ(shard.index, c.index);
            EXPECT_EQ(shard.count, c.count);
        }
    }
}

TEST(BatchInputs, ListsKeepEveryByteOfALineAndRefuseNulBytes) {
    std::vector<std::string> lines;
    ASSERT_EQ(SplitLines(" a b \n\n\tc\r\nlast", lines), "");
    EXPECT_EQ(lines, (std::vector<std::string>{" a b ", "", "\tc\r", "last"}));
    ASSERT_EQ(SplitLines("", lines), "");
    EXPECT_TRUE(lines.empty());
    const std::string error = SplitLines(std::string("a\nb\0c\n", 6), lines);
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    EXPECT_NE(error.find("-print0"), std::string::npos) << error;
}

TEST(BatchInputs, ANameHoldingANewlineIsFoundWhereItWasSplit) {
    test::ScopedTempDir dir;
    const std::string split = dir.File("two\nlines.wav");
    std::ofstream(split) << "x";
    std::ofstream(dir.File("whole.wav")) << "x";
    const std::vector<std::string> lines = {dir.File("whole.wav"), dir.File("two"), "lines.wav",
                                            dir.File("missing.wav")};
    const std::string error = FindSplitName(lines, {dir.File("whole.wav"), "lines.wav"});
    EXPECT_NE(error.find("lines 2 and 3"), std::string::npos) << error;
    EXPECT_NE(error.find("newline"), std::string::npos) << error;
    // A missing file that was never split is an ordinary missing input.
    EXPECT_EQ(FindSplitName(lines, {dir.File("whole.wav"), dir.File("missing.wav")}), "");
}

}  // namespace
}  // namespace kelvane
