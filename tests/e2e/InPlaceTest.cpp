#include <fstream>

#include <gtest/gtest.h>

#include "Desktop.h"
#include "support/TestSupport.h"

namespace kelvane::test {
namespace {

// A container in another process edits an embedded sound in place with a person's keys on a
// private desktop; the sound it saved is sox's reverse of the one it embedded. Reversed again in
// a window of its own, it is the sound it was.
TEST(EndToEnd, ContainerEditsTheSoundInPlace) {
    for (const char* tool : {"Xvfb", "openbox", "xdotool", "sox"})
        if (!RequireTool(tool)) return;
    ScopedTempDir dir;
    ScopedProfile profile;
    // The desktop's bus starts the built editor for the container.
    const std::string services = dir.File("data/dbus-1/services");
    ASSERT_EQ(RunCommand("mkdir -p '" + services + "'"), 0);
    std::ofstream(services + "/com.vantrel.Kelvane.Embedding.service")
        << "[D-BUS Service]\nName=com.vantrel.Kelvane.Embedding\nExec=" KELVANE_EDITOR
           " --embedding\n";
    const std::string wave = dir.File("half.wav");
    ASSERT_EQ(RunCommand("sox -n -r 22050 -c 1 -b 16 '" + wave + "' synth 0.5 sine 300 pad 0 0.5"),
              0);

    std::string output;
    const int status = RunOnDesktop(
        KELVANE_INPLACE_SCRIPT,
        {KELVANE_CONTAINER, wave, dir.File("doc.kvc"), dir.File("out.wav"), dir.File("out2.wav")},
        180, &output, {"XDG_DATA_HOME=" + dir.File("data"), "XDG_RUNTIME_DIR=" + dir.path()});
    ASSERT_EQ(status, 0) << output;

    const std::string got = dir.File("got.raw"), expected = dir.File("expected.raw");
    ASSERT_EQ(RunCommand("sox '" + dir.File("out.wav") + "' -t raw '" + got + "'"), 0);
    ASSERT_EQ(RunCommand("sox '" + wave + "' -t raw '" + expected + "' reverse"), 0);
    EXPECT_EQ(ReadFileBytes(got), ReadFileBytes(expected));
    const std::string back = dir.File("back.raw"), original = dir.File("original.raw");
    ASSERT_EQ(RunCommand("sox '" + dir.File("out2.wav") + "' -t raw '" + back + "'"), 0);
    ASSERT_EQ(RunCommand("sox '" + wave + "' -t raw '" + original + "'"), 0);
    EXPECT_EQ(ReadFileBytes(back), ReadFileBytes(original));
}

// A copy started for containers that cannot reach its bus says so in a message box (the one a
// person answers with Enter here) and ends with a failure.
TEST(EndToEnd, ACopyForContainersWithoutItsBusSaysSoAndEnds) {
    for (const char* tool : {"Xvfb", "openbox", "xdotool"})
        if (!RequireTool(tool)) return;
    ScopedProfile profile;
    const std::string script = R"sh(
        DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent "$0" --embedding & pid=$!
        box=$(timeout 30 xdotool search --sync --onlyvisible --name "^Kelvane$" | head -1)
        [ -n "$box" ] || { kill "$pid"; echo "no message box"; exit 1; }
        xdotool windowfocus --sync "$box" 2>/dev/null; xdotool key Return
        wait "$pid"; echo "status $?")sh";
    std::string output;
    ASSERT_EQ(RunOnDesktop("sh", {"-c", script, KELVANE_EDITOR}, 120, &output), 0) << output;
    EXPECT_NE(output.find("status 1"), std::string::npos) << output;
}

}  // namespace
}  // namespace kelvane::test
