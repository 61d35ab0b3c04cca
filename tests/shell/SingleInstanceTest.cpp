#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
#include <QProcess>
#include <QProcessEnvironment>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "platform/instance/SingleInstance.h"
#include "support/TestSupport.h"

namespace kelvane::test {
namespace {

using namespace std::chrono_literals;

// Real copies of the editor, on the offscreen platform, sharing a profile and a block of their
// own name.
class Copies {
  public:
    Copies() : name_("kelvane-test-" + std::to_string(::getpid())) {}
    ~Copies() {
        for (auto& process : processes_) {
            process->kill();
            process->waitForFinished(5000);
        }
    }

    QProcess& Start(const QStringList& arguments) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_CONFIG_HOME", QString::fromStdString(profile_.path()));
        env.insert("KELVANE_INSTANCE_NAME", QString::fromStdString(name_));
        process->setProcessEnvironment(env);
        process->start(KELVANE_EDITOR, QStringList{"--nosplash"} + arguments);
        EXPECT_TRUE(process->waitForStarted(10000));
        processes_.push_back(std::move(process));
        return *processes_.back();
    }

    [[nodiscard]] bool BlockExists() const {
        const std::string prefix = name_ + "." + std::to_string(::getuid()) + "@";
        for (const auto& entry : std::filesystem::directory_iterator("/dev/shm"))
            if (entry.path().filename().string().starts_with(prefix)) return true;
        return false;
    }
    [[nodiscard]] std::string Profile() const {
        std::ifstream in(profile_.path() + "/Vantrel Software/Kelvane.ini");
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    ScopedTempDir files;

  private:
    ScopedTempDir profile_;
    std::string name_;
    std::vector<std::unique_ptr<QProcess>> processes_;
};

template <typename Condition>
bool WaitFor(Condition condition, std::chrono::milliseconds limit = 10s) {
    for (auto end = std::chrono::steady_clock::now() + limit; std::chrono::steady_clock::now() < end;) {
        if (condition()) return true;
        std::this_thread::sleep_for(20ms);
    }
    return condition();
}

TEST(SingleInstance, SecondStartsHandTheirFileToTheRunningCopy) {
    if (!RequireTool("sox")) return;
    Copies copies;
    const std::string file = copies.files.File("handed.wav");
    ASSERT_EQ(RunCommand("sox -n -r 8000 -c 1 -b 16 '" + file + "' synth 0.1 sine 440"), 0);

    QProcess& first = copies.Start({});
    ASSERT_TRUE(WaitFor([&] { return copies.BlockExists(); })) << "the first copy made its block";
    QProcess& second = copies.Start({QString::fromStdString(file)});
    ASSERT_TRUE(second.waitForFinished(10000)) << "a second copy ends";
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(WaitFor([&] { return copies.Profile().find(file) != std::string::npos; }))
        << "the first copy opened the file (it is in its recent list)";

    QProcess& third = copies.Start({});
    ASSERT_TRUE(third.waitForFinished(10000)) << "without a file a second copy only raises the first";
    EXPECT_EQ(first.state(), QProcess::Running);

    // A copy killed without cleaning up leaves its block; the next start takes it over.
    first.kill();
    ASSERT_TRUE(first.waitForFinished(5000));
    EXPECT_TRUE(copies.BlockExists());
    QProcess& next = copies.Start({});
    EXPECT_FALSE(next.waitForFinished(1500)) << "the next start runs as the first copy";
    QProcess& after = copies.Start({});
    EXPECT_TRUE(after.waitForFinished(10000)) << "and later starts hand over to it";
    next.terminate();
    ASSERT_TRUE(next.waitForFinished(10000));
    EXPECT_FALSE(copies.BlockExists()) << "a copy that exits removes its block";
}

// A copy that died leaves its process id, which the system may give to any other program.
TEST(SingleInstance, AnIdReusedByAnotherProgramIsNeitherSignalledNorObeyed) {
    const std::string name = "kelvane-reused-" + std::to_string(::getpid());
    QProcess other;
    other.start("sleep", {"30"});
    ASSERT_TRUE(other.waitForStarted(5000)) << "sleep is needed";
    std::string block;
    {
        auto died = kelvane::SingleInstance::Open(name);
        ASSERT_TRUE(died && died->IsOwner());
        block = died->Name();
        const int fd = ::shm_open(block.c_str(), O_RDWR, 0);
        ASSERT_GE(fd, 0);
        const auto pid = static_cast<std::int32_t>(other.processId());
        ASSERT_EQ(::pwrite(fd, &pid, sizeof pid, 0), static_cast<ssize_t>(sizeof pid));
        ::close(fd);
    }
    auto next = kelvane::SingleInstance::Open(name);
    ASSERT_TRUE(next);
    EXPECT_TRUE(next->IsOwner()) << "the block is taken over";
    EXPECT_EQ(next->OwnerProcess(), ::getpid());
    if (!next->IsOwner()) next->HandOver("");
    EXPECT_FALSE(other.waitForFinished(300)) << "the unrelated program still runs";
    other.kill();
    other.waitForFinished(5000);
    next.reset();
    ::shm_unlink(block.c_str());
}

// A copy on another display (another seat, a remote session) runs on its own; the same display
// named with its screen is the same display.
TEST(SingleInstance, OneCopyRunsPerDisplay) {
    const char* saved = std::getenv("DISPLAY");
    const std::string original = saved ? saved : "";
    const std::string name = "kelvane-display-test-" + std::to_string(::getpid());
    ::setenv("DISPLAY", ":71", 1);
    const auto first = SingleInstance::Open(name);
    ::setenv("DISPLAY", ":71.0", 1);
    const auto sameDisplay = SingleInstance::Open(name);
    ::setenv("DISPLAY", "remote.example:71", 1);
    const auto otherDisplay = SingleInstance::Open(name);
    if (saved)
        ::setenv("DISPLAY", original.c_str(), 1);
    else
        ::unsetenv("DISPLAY");
    ASSERT_TRUE(first && sameDisplay && otherDisplay);
    EXPECT_TRUE(first->IsOwner());
    EXPECT_FALSE(sameDisplay->IsOwner());
    EXPECT_TRUE(otherDisplay->IsOwner());
}

}  // namespace
}  // namespace kelvane::test
