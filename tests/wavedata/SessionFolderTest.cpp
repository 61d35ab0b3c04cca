#include "wavedata/SessionFolder.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/TestSupport.h"
#include "wavedata/WaveObject.h"

namespace kelvane {
namespace {

namespace fs = std::filesystem;

std::size_t EntriesIn(const std::string& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(SessionFolder, ASoundsFileOutlivesItsFirstNameAndGoesWithItsLastUser) {
    test::ScopedTempDir dir;
    auto session = SessionFolder::Open(dir.path());
    ASSERT_TRUE(session);
    RegisterSession(session.get());

    auto wave = std::make_unique<WaveObject>(1, session->Path().c_str());
    ASSERT_EQ(wave->Allocate(PcmFormat(8000, 16, 2), 3000), 1u);
    for (std::uint32_t i = 0; i < wave->dataBytes; ++i)
        wave->data[i] = static_cast<std::uint8_t>(i * 7);
    const auto* block = dynamic_cast<MappedFileBlock*>(wave->storage.get());
    ASSERT_NE(block, nullptr);
    const std::string kept = KeptNameInSessions(block->fd);
    ASSERT_FALSE(kept.empty());
    EXPECT_TRUE(kept.starts_with(session->Path()));

    session->ForgetClosedFiles();
    EXPECT_EQ(ReadAll(kept).substr(0, wave->dataBytes),
              std::string(reinterpret_cast<const char*>(wave->data), wave->dataBytes));
    EXPECT_EQ(EntriesIn(session->Path()), 2u) << "the lock and the kept sound, nothing else";

    wave.reset();
    session->ForgetClosedFiles();
    EXPECT_FALSE(fs::exists(kept));
    EXPECT_EQ(EntriesIn(session->Path()), 1u);

    auto other = std::make_unique<WaveObject>(1, session->Path().c_str());
    ASSERT_EQ(other->Allocate(PcmFormat(8000, 8, 1), 100), 1u);
    const std::string folder = session->Path();
    session.reset();
    EXPECT_FALSE(fs::exists(folder)) << "a clean end leaves nothing";
    EXPECT_EQ(EntriesIn(dir.path()), 0u);

    // Outside any session a sound's file has no lasting name.
    EXPECT_EQ(KeptNameInSessions(dynamic_cast<MappedFileBlock&>(*other->storage).fd), "");
}

TEST(SessionFolder, OnlyTheFolderOfACopyThatDiedIsFoundAndRemoved) {
    test::ScopedTempDir dir;
    bool allocated = false;
    const pid_t child = test::ForkAndWait(
        [&] {
            auto session = SessionFolder::Open(dir.path());
            RegisterSession(session.get());
            static WaveObject wave(1, session->Path().c_str());
            session.release();  // the child is killed with both
            return wave.Allocate(PcmFormat(8000, 16, 1), 1000) == 1;
        },
        allocated);
    ASSERT_GT(child, 0);
    ASSERT_TRUE(allocated);

    auto mine = SessionFolder::Open(dir.path());
    ASSERT_TRUE(mine);
    EXPECT_TRUE(FindDeadSessions(dir.path()).empty()) << "both copies still run";

    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    auto dead = FindDeadSessions(dir.path());
    ASSERT_EQ(dead.size(), 1u);
    EXPECT_NE(dead[0]->path, mine->Path());
    EXPECT_EQ(EntriesIn(dead[0]->path), 2u) << "its lock and its sound's file";
    EXPECT_TRUE(FindDeadSessions(dir.path()).empty()) << "held by whoever found it first";

    dead[0]->Remove();
    EXPECT_FALSE(fs::exists(dead[0]->path));
    mine.reset();
    EXPECT_EQ(EntriesIn(dir.path()), 0u);
}

}  // namespace
}  // namespace kelvane
