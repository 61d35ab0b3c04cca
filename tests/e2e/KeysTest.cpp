#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace kelvane::test {
namespace {

// A person's keys, sent as real X events to the built editor on a private desktop (X server and window manager),
// reverse a sound and save it; sox's reverse of the original must match what was saved.
TEST(EndToEnd, KeysSelectReverseAndSave) {
    for (const char* tool : {"Xvfb", "openbox", "xdotool", "sox"})
        if (!RequireTool(tool)) return;
    ScopedTempDir dir;
    ScopedProfile profile;
    const std::string wave = dir.File("keys.wav");
    const std::string original = dir.File("original.wav");
    ASSERT_EQ(RunCommand("sox -n -r 22050 -c 2 -b 16 '" + wave + "' synth 1.5 sine 300-900"), 0);
    ASSERT_EQ(RunCommand("cp '" + wave + "' '" + original + "' && touch -d 2020-01-01 '" + wave + "'"), 0);

    std::string output;
    const int status = RunCommand("timeout 180 '" KELVANE_DESKTOP_SCRIPT "' '" KELVANE_KEYS_SCRIPT
                                  "' '" KELVANE_EDITOR "' '" + wave + "' 2>&1",
                                  &output);
    ASSERT_EQ(status, 0) << output;

    const std::string saved = dir.File("saved.raw");
    const std::string expected = dir.File("expected.raw");
    ASSERT_EQ(RunCommand("sox '" + wave + "' -t raw '" + saved + "'"), 0);
    ASSERT_EQ(RunCommand("sox -D '" + original + "' -t raw '" + expected + "' reverse"), 0);
    EXPECT_EQ(ReadFileBytes(saved), ReadFileBytes(expected));
}

}  // namespace
}  // namespace kelvane::test
