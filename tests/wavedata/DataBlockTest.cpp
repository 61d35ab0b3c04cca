#include "wavedata/DataBlock.h"
#include "wavedata/TempFolder.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <vector>

#include "support/TestSupport.h"
#include "wavedata/WaveObject.h"

namespace kelvane {
namespace {

TEST(DataBlock, MappedFilesCreateOpenAndRefuseEmptyFiles) {
    test::ScopedTempDir dir;
    const std::string path = dir.File("block.bin");
    {
        MappedFileBlock created(4096, path.c_str(), false, nullptr, false, true);
        ASSERT_NE(created.pointer, nullptr);
        EXPECT_EQ(created.size, 4096u);
        created.pointer[4095] = 0x5A;
    }
    MappedFileBlock reopened(0, path.c_str(), false, nullptr, true, false);
    ASSERT_NE(reopened.pointer, nullptr);
    EXPECT_EQ(reopened.size, 4096u);
    EXPECT_EQ(reopened.pointer[4095], 0x5A);
    EXPECT_EQ(reopened.readOnly, 1u);

    const std::string empty = dir.File("empty.bin");
    ASSERT_TRUE(test::WriteFileBytes(empty, {}));
    MappedFileBlock onEmpty(0, empty.c_str(), false, nullptr, true, false);
    EXPECT_EQ(onEmpty.pointer, nullptr);
    EXPECT_EQ(onEmpty.lockCount, 1);

    MappedFileBlock missing(0, dir.File("missing").c_str(), false, nullptr, true, false);
    EXPECT_EQ(missing.pointer, nullptr);
}

TEST(DataBlock, LockCountsAndGlobalResizeRules) {
    GlobalBlock fixed(100, true);
    ASSERT_NE(fixed.pointer, nullptr);
    EXPECT_EQ(fixed.Resize(200), 1u);  // locked (count 1) and fixed
    fixed.Unlock();
    EXPECT_EQ(fixed.Resize(200), 1u);  // fixed blocks never move
    EXPECT_NE(fixed.pointer, nullptr);
    fixed.Lock();

    GlobalBlock movable(100, false);
    movable.pointer[99] = 7;
    movable.Lock();
    EXPECT_EQ(movable.Resize(300), 2u);
    movable.Unlock();
    movable.Unlock();
    EXPECT_EQ(movable.pointer, nullptr);
    EXPECT_EQ(movable.Resize(300), 300u);
    movable.Lock();
    ASSERT_NE(movable.pointer, nullptr);
    EXPECT_EQ(movable.pointer[99], 7);
    EXPECT_EQ(movable.size, 300u);
}

// A process killed while it holds temporary sample files leaves nothing behind.
TEST(DataBlock, KilledProcessLeavesNoTemporaryFiles) {
    test::ScopedTempDir dir;
    bool allocated = false;
    const pid_t child = test::ForkAndWait(
        [&] {
            static WaveObject a(1, dir.path().c_str()), b(1, dir.path().c_str());
            return a.Allocate(PcmFormat(44100, 16, 2), 44100) &&
                   b.Allocate(PcmFormat(8000, 8, 1), 10);
        },
        allocated);
    ASSERT_GT(child, 0);
    EXPECT_TRUE(allocated);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

// A disk that looks full (a file-size limit) makes Allocate fail instead of a later SIGBUS.
TEST(DataBlock, FullDiskMakesAllocateFailAndTheProcessLives) {
    test::ScopedTempDir dir;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{65536, 65536};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        WaveObject wave(1, dir.path().c_str());
        const std::uint32_t big = wave.Allocate(PcmFormat(44100, 16, 2), 44100);
        const std::uint32_t small = wave.Allocate(PcmFormat(8000, 8, 1), 1000);
        if (small) wave.data[999] = 1;
        ::_exit(big == 0 && small == 1 ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "child died by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(DataBlock, CopyReportsRisingProgressAndCopiesExactly) {
    test::ScopedTempDir dir;
    std::vector<std::uint8_t> bytes(1 << 20);
    std::mt19937 rng(1);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(rng());
    ASSERT_TRUE(test::WriteFileBytes(dir.File("src"), bytes));

    std::vector<std::uint32_t> seen;
    auto record = [](void* ctx, std::uint32_t phase, std::uint32_t percent) {
        EXPECT_EQ(phase, 0u);
        static_cast<std::vector<std::uint32_t>*>(ctx)->push_back(percent);
        return true;
    };
    ASSERT_EQ(CopyFileWithProgress(dir.File("src"), dir.File("dst"), record, &seen),
              CopyResult::Success);
    EXPECT_EQ(test::ReadFileBytes(dir.File("dst")), bytes);
    ASSERT_EQ(seen.size(), 16u);  // 1 MiB in 65536-byte steps
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(seen.back(), 100u);
    // Over a longer file, nothing of the old one is left.
    ASSERT_TRUE(test::WriteFileBytes(dir.File("dst"), std::vector<std::uint8_t>(3 << 20, 7)));
    ASSERT_EQ(CopyFileWithProgress(dir.File("src"), dir.File("dst"), nullptr, nullptr),
              CopyResult::Success);
    EXPECT_EQ(test::ReadFileBytes(dir.File("dst")), bytes);

    seen.clear();
    ASSERT_TRUE(test::WriteFileBytes(dir.File("empty"), {}));
    EXPECT_EQ(CopyFileWithProgress(dir.File("empty"), dir.File("copy"), record, &seen),
              CopyResult::Success);
    EXPECT_TRUE(seen.empty());
    EXPECT_TRUE(std::filesystem::exists(dir.File("copy")));

    EXPECT_EQ(CopyFileWithProgress(dir.File("absent"), dir.File("x"), nullptr, nullptr),
              CopyResult::CannotOpenSource);
    EXPECT_EQ(CopyFileWithProgress(dir.File("src"), dir.File("no/such/dir"), nullptr, nullptr),
              CopyResult::CannotCreateTarget);
}

TEST(DataBlock, TempNamesAndFreeSpace) {
    test::ScopedTempDir dir;
    std::string a, b;
    EXPECT_NE(TempFileName(dir.path(), "WAV", a), 0u);
    EXPECT_NE(TempFileName(dir.path(), "WAV", b), 0u);
    EXPECT_NE(a, b);
    EXPECT_EQ(TempFileName(dir.File("missing"), "WAV", a), 0u);
    EXPECT_GT(FreeDiskSpace(dir.path()), 0u);
    EXPECT_EQ(FreeDiskSpace(dir.File("missing")), 0u);

    // $TMPDIR is honoured while it can be entered; otherwise names are made in /var/tmp.
    const char* old = std::getenv("TMPDIR");
    const std::string saved = old ? old : "";
    ::setenv("TMPDIR", dir.path().c_str(), 1);
    EXPECT_EQ(SystemTempDirectory(), dir.path() + "/");
    ::setenv("TMPDIR", dir.File("missing").c_str(), 1);
    EXPECT_EQ(SystemTempDirectory(), "/var/tmp/");
    EXPECT_NE(SystemTempFileName(nullptr, a), 0u);
    EXPECT_EQ(a.rfind("/var/tmp/TMP", 0), 0u) << a;
    std::filesystem::remove(a);
    if (old)
        ::setenv("TMPDIR", saved.c_str(), 1);
    else
        ::unsetenv("TMPDIR");
}

TEST(TempFolder, EachUserGetsAPrivateFolderThatNobodyElseCanPlant) {
    test::ScopedTempDir dir;
    const std::string own = dir.File("kelvane-" + std::to_string(::getuid()));
    EXPECT_EQ(TempFolderFor(dir.path()), own + "/");
    struct stat st {};
    ASSERT_EQ(::lstat(own.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    // Opened up by someone: closed again. Replaced by a link: not used, files go beside it.
    ASSERT_EQ(::chmod(own.c_str(), 0777), 0);
    EXPECT_EQ(TempFolderFor(dir.path() + "/"), own + "/");
    ASSERT_EQ(::lstat(own.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    std::filesystem::remove(own);
    ASSERT_EQ(::symlink(dir.File("elsewhere").c_str(), own.c_str()), 0);
    EXPECT_EQ(TempFolderFor(dir.path()), dir.path() + "/");
    EXPECT_FALSE(std::filesystem::exists(dir.File("elsewhere")));

    // A folder that does not exist is used as chosen, and fails when a sound is made there.
    EXPECT_EQ(TempFolderFor(dir.File("missing")), dir.File("missing") + "/");
}

}  // namespace
}  // namespace kelvane
