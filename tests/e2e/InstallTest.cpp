#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <regex>
#include <set>
#include <sstream>

#include "batch/BatchConversion.h"
#include "batch/BatchFilters.h"
#include "support/TestSupport.h"

namespace kelvane::test {
namespace {

std::string Text(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::set<std::string> Lines(const std::string& text) {
    std::set<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) lines.insert(line);
    return lines;
}

// The options a --help lists: the words starting with a dash at the head of its lines.
std::set<std::string> HelpOptions(const std::string& help) {
    std::set<std::string> options;
    const std::regex head(R"(^\s+(-[^\s]+))");
    const std::regex option(R"(--?[A-Za-z][A-Za-z0-9-]*)");
    std::istringstream in(help);
    for (std::string line; std::getline(in, line);) {
        std::smatch match;
        if (!std::regex_search(line, match, head)) continue;
        const std::string names = match[1];
        for (std::sregex_iterator it(names.begin(), names.end(), option), end; it != end; ++it)
            options.insert(it->str());
    }
    return options;
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
// opens, its icon at every size of the theme, and its translations.
TEST_F(Install, PutsTheEditorItsDesktopEntryAndItsIcons) {
    EXPECT_EQ(RunCommand("test -x '" + Prefix() + "/bin/kelvane'"), 0);
    const std::string entry = Text(Prefix() + "/share/applications/kelvane.desktop");
    EXPECT_NE(entry.find("Exec=kelvane %F"), std::string::npos);
    EXPECT_NE(entry.find(
                  "MimeType=audio/x-wav;audio/wav;audio/basic;audio/x-aiff;audio/aiff;audio/mpeg;"),
              std::string::npos);
    for (const char* type : {"audio/flac;", "audio/ogg;", "audio/x-vorbis+ogg;",
                             "audio/x-opus+ogg;", "audio/x-caf;", "audio/x-w64;"})
        EXPECT_NE(entry.find(type), std::string::npos) << type;
    EXPECT_EQ(RunCommand("test -s '" + Prefix() + "/share/kelvane/translations/kelvane_de.qm'"), 0);
    for (const char* icon : {"scalable/apps/kelvane.svg", "16x16/apps/kelvane.png",
                             "48x48/apps/kelvane.png", "256x256/apps/kelvane.png"})
        EXPECT_EQ(RunCommand("test -s '" + Prefix() + "/share/icons/hicolor/" + icon + "'"), 0)
            << icon;
    for (const char* page : {"index.html", "save-as.png", "menu-process.png"})
        EXPECT_EQ(RunCommand("test -s '" + Prefix() + "/share/doc/kelvane/guide/" + page + "'"), 0)
            << page;
}

// A container on a bus that reads only the installed files gets its sound from the installed
// editor, which the bus starts from the installed service file.
TEST_F(Install, TheBusStartsTheInstalledEditorForAContainer) {
    if (!RequireTool("dbus-run-session")) return;
    const std::string share = Prefix() + "/share/dbus-1/";
    EXPECT_EQ(RunCommand("test -s '" + share + "interfaces/com.vantrel.Kelvane.Embedding.xml'"), 0);
    EXPECT_NE(Text(share + "services/com.vantrel.Kelvane.Embedding.service")
                  .find("Exec=" + Prefix() + "/bin/kelvane --embedding\n"),
              std::string::npos);
    ScopedTempDir work;
    std::string output;
    const int status = RunCommand(
        "XDG_DATA_DIRS='" + Prefix() + "/share' XDG_DATA_HOME='" + work.path() +
            "' XDG_RUNTIME_DIR='" + work.path() +
            "' QT_QPA_PLATFORM=offscreen timeout 120 dbus-run-session -- '" KELVANE_CONTAINER
            "' --new --picture 40x10 '" +
            work.File("picture.png") + "' 2>&1",
        &output);
    ASSERT_EQ(status, 0) << output;
    EXPECT_NE(output.find("Successfully activated service 'com.vantrel.Kelvane.Embedding'"),
              std::string::npos)
        << output;
    EXPECT_EQ(RunCommand("test -s '" + work.File("picture.png") + "'"), 0);
}

// An installed program loads its modules from beside itself, not from the build tree.
TEST_F(Install, TheInstalledBatchCommandDecodesMpegWithItsOwnModule) {
    std::string loaded;
    ASSERT_EQ(RunCommand("LD_DEBUG=files '" + Prefix() + "/bin/kelvane-batch' --info '" +
                             DataFile("mpeg/l1_32k.mp1") + "' 2>&1",
                         &loaded),
              0)
        << loaded;
    EXPECT_NE(loaded.find(Prefix() + "/bin/../" KELVANE_MODULE_INSTALL_DIR "/mpadec.so"),
              std::string::npos)
        << loaded;
    EXPECT_EQ(loaded.find(KELVANE_BUILD_DIR "/src/platform/mpadec"), std::string::npos) << loaded;
}

// The manual pages are made from --help at build time; a page that missed a rebuild, or lost
// its filter and format tables, shows here.
TEST_F(Install, EachManualPageNamesEveryOptionOfItsHelpAndTheBatchTables) {
    for (const std::string program : {"kelvane", "kelvane-batch"}) {
        std::string help, page;
        ASSERT_EQ(RunCommand("QT_QPA_PLATFORM=offscreen '" + Prefix() + "/bin/" + program +
                                 "' --help 2>/dev/null",
                             &help),
                  0);
        ASSERT_EQ(RunCommand("MANWIDTH=300 man -M '" + Prefix() + "/share/man' " + program +
                                 " 2>&1 | col -b",
                             &page),
                  0)
            << page;
        const auto options = HelpOptions(help);
        EXPECT_GE(options.size(), 6u) << help;
        for (const std::string& option : options)
            EXPECT_NE(page.find(option), std::string::npos) << program << ' ' << option;
        if (program != "kelvane-batch") continue;
        for (int filter = 0; filter < kBatchFilterCount; ++filter) {
            EXPECT_NE(page.find(BatchFilterShortName(filter)), std::string::npos);
            for (const BatchFilterKey& key : BatchFilterKeys(filter))
                EXPECT_NE(page.find(key.key), std::string::npos) << key.key;
        }
        for (int format = 0; format < kBatchFormatCount; ++format)
            EXPECT_NE(page.find(BatchExtension(static_cast<BatchFormat>(format))),
                      std::string::npos);
    }
}

// What Tab offers after `kelvane-batch`, through the installed completion and the
// bash-completion helpers a Debian shell loads it with.
class Completion : public Install {
  protected:
    std::set<std::string> Offers(const std::string& words) {
        std::string output;
        EXPECT_EQ(RunCommand("'" KELVANE_COMPLETE_SCRIPT "' '" + Prefix() +
                                 "/share/bash-completion/completions/kelvane-batch' '" + Prefix() +
                                 "/bin/kelvane-batch' " + words + " 2>&1",
                             &output),
                  0)
            << output;
        return Lines(output);
    }

    // The same through fish and the completion installed for it (descriptions left out).
    std::set<std::string> FishOffers(const std::string& words) {
        std::string output;
        EXPECT_EQ(RunCommand("PATH='" + Prefix() + "/bin':$PATH fish --no-config -c \"source '" +
                                 Prefix() +
                                 "/share/fish/vendor_completions.d/kelvane-batch.fish'; "
                                 "complete -C 'kelvane-batch " +
                                 words + "'\" 2>&1 | cut -f1",
                             &output),
                  0)
            << output;
        return Lines(output);
    }

    // The same through the zsh completion function, its builtins stood in for.
    std::set<std::string> ZshOffers(const std::string& words) {
        std::string output;
        EXPECT_EQ(RunCommand("PATH='" + Prefix() + "/bin':$PATH '" KELVANE_COMPLETE_ZSH "' '" +
                                 Prefix() + "/share/zsh/vendor-completions/_kelvane-batch' " +
                                 "kelvane-batch " + words + " 2>&1",
                             &output),
                  0)
            << output;
        return Lines(output);
    }
};

TEST_F(Completion, OffersTheFilterNamesTheirKeysTheFormatsAndTheOptions) {
    std::set<std::string> filters, formats, volumeKeys;
    for (int filter = 0; filter < kBatchFilterCount; ++filter)
        filters.insert(std::string(BatchFilterShortName(filter)));
    for (int format = 0; format < kBatchFormatCount; ++format)
        formats.insert(BatchExtension(static_cast<BatchFormat>(format)));
    for (const BatchFilterKey& key : BatchFilterKeys(BatchFilterByShortName("volume")))
        volumeKeys.insert(std::string(key.key) + "=");
    EXPECT_EQ(Offers("--filter ''"), filters);
    EXPECT_EQ(Offers("--filter volu"), std::set<std::string>{"volume:"});
    EXPECT_EQ(Offers("--filter volume:"), volumeKeys);
    // Readline replaces what follows the last ':' or '=' of the word.
    EXPECT_EQ(Offers("--filter volume:LEFTVOLUME=50,RIGHT"),
              std::set<std::string>{"50,RIGHTVOLUME="});
    EXPECT_EQ(Offers("-f ''"), formats);
    EXPECT_EQ(Offers("--out"), std::set<std::string>{"--output-dir"});

    // fish and zsh complete the whole word: a filter with keys is offered with its colon.
    std::set<std::string> fishFilters, fishVolumeKeys;
    for (const std::string& filter : filters)
        fishFilters.insert(filter +
                           (BatchFilterKeys(BatchFilterByShortName(filter)).empty() ? "" : ":"));
    for (const std::string& key : volumeKeys) fishVolumeKeys.insert("volume:" + key);
    EXPECT_EQ(FishOffers("--filter "), fishFilters);
    EXPECT_EQ(FishOffers("--filter volume:"), fishVolumeKeys);
    EXPECT_EQ(FishOffers("--filter volume:LEFTVOLUME=50,RIGHT"),
              std::set<std::string>{"volume:LEFTVOLUME=50,RIGHTVOLUME="});
    EXPECT_EQ(FishOffers("-f "), formats);
    EXPECT_EQ(FishOffers("--out"), std::set<std::string>{"--output-dir"});

    EXPECT_EQ(ZshOffers("--filter ''"), fishFilters);
    EXPECT_EQ(ZshOffers("--filter volume:"), fishVolumeKeys);
    EXPECT_EQ(ZshOffers("--filter volume:LEFTVOLUME=50,RIGHT"),
              std::set<std::string>{"volume:LEFTVOLUME=50,RIGHTVOLUME="});
    EXPECT_EQ(ZshOffers("-f ''"), formats);
    EXPECT_EQ(ZshOffers("--out"), std::set<std::string>{"--output-dir"});
}

}  // namespace
}  // namespace kelvane::test
