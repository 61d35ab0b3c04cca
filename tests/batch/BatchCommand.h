#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/TestSupport.h"

namespace kelvane::test {

// Runs kelvane-batch in a fresh folder with its own profile, and sox and ffprobe beside it.
class BatchCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        ok_ = RequireTool("sox") && RequireTool("ffprobe");
        std::filesystem::create_directory(dir.File("out"));
    }
    // Runs kelvane-batch in the test folder; returns its exit status, output in `stdout_`.
    int Batch(const std::string& arguments) {
        stdout_.clear();
        return RunCommand("cd '" + dir.path() + "' && '" KELVANE_BATCH_COMMAND "' " + arguments +
                              " 2>'" + dir.File("stderr") + "'",
                          &stdout_);
    }
    std::string Stderr() {
        const auto bytes = ReadFileBytes(dir.File("stderr"));
        return {bytes.begin(), bytes.end()};
    }
    void Sox(const std::string& arguments) {
        ASSERT_EQ(RunCommand("cd '" + dir.path() + "' && sox " + arguments), 0) << arguments;
    }
    std::string Probe(const std::string& path, const std::string& entry) {
        std::string text;
        RunCommand("ffprobe -v error -select_streams a:0 -show_entries " + entry +
                       " -of default=nw=1:nk=1 '" + path + "'",
                   &text);
        while (!text.empty() && text.back() == '\n') text.pop_back();
        return text;
    }
    double Seconds(const std::string& path) {
        const std::string text = Probe(path, "format=duration");
        return text.empty() ? -1.0 : std::stod(text);
    }
    std::string Out(const std::string& name) { return dir.File("out/" + name); }

    ScopedProfile profile;
    ScopedTempDir dir;
    std::string stdout_;
    bool ok_ = false;
};

}  // namespace kelvane::test
