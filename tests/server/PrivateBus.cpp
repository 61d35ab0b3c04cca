#include "server/PrivateBus.h"

#include <signal.h>
#include <unistd.h>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <chrono>
#include <thread>

namespace kelvane::test {

namespace {

constexpr int kStartMs = 20000;
constexpr int kRunMs = 120000;
constexpr char kServiceName[] = "com.vantrel.Kelvane.Embedding";

bool ProcessAlive(qint64 pid) {
    return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) == 0;
}

}  // namespace

PrivateBus::PrivateBus() {
    const QString root = QString::fromStdString(m_dir.path());
    const QString services = root + "/data/dbus-1/services";
    QDir().mkpath(services);
    QDir().mkpath(root + "/config");
    QDir().mkpath(root + "/runtime");
    QFile::setPermissions(root + "/runtime",
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile service(services + "/" + kServiceName + ".service");
    if (!service.open(QIODevice::WriteOnly)) return;
    service.write(QString("[D-BUS Service]\nName=%1\nExec=%2 --embedding\n")
                      .arg(kServiceName, KELVANE_EDITOR)
                      .toUtf8());
    service.close();

    m_env = QProcessEnvironment::systemEnvironment();
    m_env.insert("QT_QPA_PLATFORM", "offscreen");
    m_env.insert("XDG_CONFIG_HOME", root + "/config");
    m_env.insert("XDG_DATA_HOME", root + "/data");
    m_env.insert("XDG_RUNTIME_DIR", root + "/runtime");
    m_env.insert("TMPDIR", QString::fromStdString(m_temp.path()));
    m_env.remove("DISPLAY");
    // An editor started here is not the user's single copy, nor another test's.
    m_env.insert("KELVANE_INSTANCE_NAME",
                 "kelvane-bus-" + QString::number(::getpid()) + "-" + QFileInfo(root).fileName());
    // The bus passes its own environment to the copies it starts.
    m_daemon.setProcessEnvironment(m_env);
    m_daemon.start("dbus-daemon", {"--session", "--nofork", "--nopidfile", "--print-address=1"});
    if (!m_daemon.waitForStarted(kStartMs)) return;
    while (!m_daemon.canReadLine() && m_daemon.waitForReadyRead(kStartMs)) {
    }
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    m_env.insert("DBUS_SESSION_BUS_ADDRESS", m_address);
    m_connectionName = "test-bus-" + QString::number(reinterpret_cast<quintptr>(this));
}

PrivateBus::~PrivateBus() {
    const qint64 server = Running() ? OwnerProcess(kServiceName) : 0;
    for (auto& program : m_programs) {
        program->kill();
        program->waitForFinished(kStartMs);
    }
    if (!m_connectionName.isEmpty()) QDBusConnection::disconnectFromBus(m_connectionName);
    m_daemon.terminate();
    m_daemon.waitForFinished(kStartMs);
    // A copy the bus started ends with its bus; one that does not is stopped.
    for (int i = 0; i < 200 && ProcessAlive(server); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (ProcessAlive(server)) ::kill(static_cast<pid_t>(server), SIGKILL);
}

QDBusConnection PrivateBus::Connection() const {
    return QDBusConnection::connectToBus(m_address, m_connectionName);
}

qint64 PrivateBus::OwnerProcess(const QString& name) const {
    const auto reply = Connection().interface()->servicePid(name);
    return reply.isValid() ? static_cast<qint64>(reply.value()) : 0;
}

QProcess& PrivateBus::Start(const QString& program, const QStringList& arguments) {
    m_programs.push_back(std::make_unique<QProcess>());
    QProcess& process = *m_programs.back();
    process.setProcessEnvironment(m_env);
    process.start(program, arguments);
    process.waitForStarted(kStartMs);
    return process;
}

int PrivateBus::Run(const QString& program, const QStringList& arguments, QString* output) {
    QProcess process;
    process.setProcessEnvironment(m_env);
    process.start(program, arguments);
    if (!process.waitForFinished(kRunMs)) {
        process.kill();
        process.waitForFinished(kStartMs);
        return -1;
    }
    if (output)
        *output =
            QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

}  // namespace kelvane::test
