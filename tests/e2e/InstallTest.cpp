#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "support/TestSupport.h"

namespace kelvane::test {
namespace {

std::string Text(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// What `cmake --install` puts on a desktop: the program, its entry for the sound types it
// opens, and its icon at every size of the theme.
TEST(Install, PutsTheEditorItsDesktopEntryAndItsIcons) {
    ScopedTempDir prefix;
    std::string output;
    ASSERT_EQ(
        RunCommand("cmake --install '" KELVANE_BUILD_DIR "' --prefix '" + prefix.path() + "' 2>&1",
                   &output),
        0)
        << output;
    EXPECT_EQ(RunCommand("test -x '" + prefix.path() + "/bin/kelvane'"), 0);
    const std::string entry = Text(prefix.path() + "/share/applications/kelvane.desktop");
    EXPECT_NE(entry.find("Exec=kelvane %F"), std::string::npos);
    EXPECT_NE(entry.find(
                  "MimeType=audio/x-wav;audio/wav;audio/basic;audio/x-aiff;audio/aiff;audio/mpeg;"),
              std::string::npos);
    for (const char* icon : {"scalable/apps/kelvane.svg", "16x16/apps/kelvane.png",
                             "48x48/apps/kelvane.png", "256x256/apps/kelvane.png"})
        EXPECT_EQ(RunCommand("test -s '" + prefix.path() + "/share/icons/hicolor/" + icon + "'"), 0)
            << icon;
}

// An installed program loads its modules from beside itself, not from the build tree.
TEST(Install, TheInstalledBatchCommandDecodesMpegWithItsOwnModule) {
    ScopedTempDir prefix;
    ASSERT_EQ(RunCommand("cmake --install '" KELVANE_BUILD_DIR "' --prefix '" + prefix.path() +
                         "' >/dev/null 2>&1"),
              0);
    std::string loaded;
    ASSERT_EQ(RunCommand("LD_DEBUG=files '" + prefix.path() + "/bin/kelvane-batch' --info '" +
                             DataFile("mpeg/l1_32k.mp1") + "' 2>&1",
                         &loaded),
              0)
        << loaded;
    EXPECT_NE(loaded.find(prefix.path() + "/bin/../lib/kelvane/mpadec.so"), std::string::npos)
        << loaded;
    EXPECT_EQ(loaded.find(KELVANE_BUILD_DIR "/src/platform/mpadec"), std::string::npos) << loaded;
}

}  // namespace
}  // namespace kelvane::test
