#include <unistd.h>
#include <QProcess>
#include <QProcessEnvironment>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "server/PrivateBus.h"
#include "support/TestSupport.h"

namespace kelvane::test {
namespace {

using namespace std::chrono_literals;

// The real program, on the offscreen platform with a bus, a profile and a block name of its own.
class Program {
  public:
    Program() : name_("kelvane-embedding-" + std::to_string(::getpid())) {}
    ~Program() {
        for (auto& process : processes_) {
            process->kill();
            process->waitForFinished(5000);
        }
    }
    QProcess& Start(const QStringList& arguments) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = bus_.Environment();
        env.insert("XDG_CONFIG_HOME", QString::fromStdString(profile_.path()));
        env.insert("KELVANE_INSTANCE_NAME", QString::fromStdString(name_));
        process->setProcessEnvironment(env);
        process->start(KELVANE_EDITOR, QStringList{"--nosplash"} + arguments);
        EXPECT_TRUE(process->waitForStarted(10000));
        processes_.push_back(std::move(process));
        return *processes_.back();
    }
    // The programs run without a display, so the block's name ends in an empty one.
    [[nodiscard]] bool BlockExists() const {
        return ::access(("/dev/shm/" + name_ + "." + std::to_string(::getuid()) + "@").c_str(),
                        F_OK) == 0;
    }

  private:
    PrivateBus bus_;
    ScopedTempDir profile_;
    std::string name_;
    std::vector<std::unique_ptr<QProcess>> processes_;
};

TEST(EmbeddingStart, ServesWithoutTheSingleInstanceBlock) {
    for (const QString form : {"--embedding", "/Embedding", "-Automation"}) {
        Program program;
        QProcess& server = program.Start({form});
        EXPECT_FALSE(server.waitForFinished(1500)) << form.toStdString() << " keeps serving";
        EXPECT_FALSE(program.BlockExists()) << form.toStdString();
        // A person's start beside it is the first copy: it stays instead of handing over.
        QProcess& person = program.Start({});
        EXPECT_FALSE(person.waitForFinished(1500)) << form.toStdString();
        EXPECT_TRUE(program.BlockExists());
        server.terminate();
        EXPECT_TRUE(server.waitForFinished(10000)) << "a quit request ends the server";
        person.terminate();
        EXPECT_TRUE(person.waitForFinished(10000));
    }
}

}  // namespace
}  // namespace kelvane::test
