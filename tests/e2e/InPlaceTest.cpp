#include <fstream>

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace kelvane::test {
namespace {

// A container in another process edits an embedded sound in place with a person's keys on a
// private desktop; the sound it saved is sox's reverse of the one it embedded.
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
    const int status =
        RunCommand("XDG_DATA_HOME='" + dir.File("data") + "' XDG_RUNTIME_DIR='" + dir.path() +
                       "' timeout 180 '" KELVANE_DESKTOP_SCRIPT "' '" KELVANE_INPLACE_SCRIPT
                       "' '" KELVANE_CONTAINER "' '" +
                       wave + "' '" + dir.File("doc.kvc") + "' '" + dir.File("out.wav") + "' 2>&1",
                   &output);
    ASSERT_EQ(status, 0) << output;

    const std::string got = dir.File("got.raw"), expected = dir.File("expected.raw");
    ASSERT_EQ(RunCommand("sox '" + dir.File("out.wav") + "' -t raw '" + got + "'"), 0);
    ASSERT_EQ(RunCommand("sox '" + wave + "' -t raw '" + expected + "' reverse"), 0);
    EXPECT_EQ(ReadFileBytes(got), ReadFileBytes(expected));
}

}  // namespace
}  // namespace kelvane::test
