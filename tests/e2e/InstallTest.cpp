#include <gtest/gtest.h>

#include <fstream>
#include <memory>
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

// One installation into a temporary prefix, shared by the tests of what it holds.
class Install : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        prefix_ = std::make_unique<ScopedTempDir>();
        installed_ =
            RunCommand("cmake --install '" KELVANE_BUILD_DIR "' --prefix '" + Prefix() + "' 2>&1",
                       &output_) == 0;
    }
    static void TearDownTestSuite() { prefix_.reset(); }
    void SetUp() override { ASSERT_TRUE(installed_) << output_; }
    static const std::string& Prefix() { return prefix_->path(); }

  private:
    static inline std::unique_ptr<ScopedTempDir> prefix_;
    static inline bool installed_ = false;
    static inline std::string output_;
};

// What `cmake --install` puts on a desktop: the program, its entry for the sound types it
// opens, and its icon at every size of the theme.
TEST_F(Install, PutsTheEditorItsDesktopEntryAndItsIcons) {
    EXPECT_EQ(RunCommand("test -x '" + Prefix() + "/bin/kelvane'"), 0);
    const std::string entry = Text(Prefix() + "/share/applications/kelvane.desktop");
    EXPECT_NE(entry.find("Exec=kelvane %F"), std::string::npos);
    EXPECT_NE(entry.find(
                  "MimeType=audio/x-wav;audio/wav;audio/basic;audio/x-aiff;audio/aiff;audio/mpeg;"),
              std::string::npos);
    for (const char* icon : {"scalable/apps/kelvane.svg", "16x16/apps/kelvane.png",
                             "48x48/apps/kelvane.png", "256x256/apps/kelvane.png"})
        EXPECT_EQ(RunCommand("test -s '" + Prefix() + "/share/icons/hicolor/" + icon + "'"), 0)
            << icon;
}

// An installed program loads its modules from beside itself, not from the build tree.
TEST_F(Install, TheInstalledBatchCommandDecodesMpegWithItsOwnModule) {
    std::string loaded;
    ASSERT_EQ(RunCommand("LD_DEBUG=files '" + Prefix() + "/bin/kelvane-batch' --info '" +
                             DataFile("mpeg/l1_32k.mp1") + "' 2>&1",
                         &loaded),
              0)
        << loaded;
    EXPECT_NE(loaded.find(Prefix() + "/bin/../lib/kelvane/mpadec.so"), std::string::npos) << loaded;
    EXPECT_EQ(loaded.find(KELVANE_BUILD_DIR "/src/platform/mpadec"), std::string::npos) << loaded;
}

}  // namespace
}  // namespace kelvane::test
