#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "support/TestSupport.h"

namespace kelvane::test {

// A session bus of the test's own that starts the built editor for the embedding service, as
// an installed service file makes the user's bus do. The daemon, the copies it started and
// the programs run through it are stopped by their process ids when it goes.
class PrivateBus {
  public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    [[nodiscard]] bool Running() const { return !m_address.isEmpty(); }
    // What programs on this bus get: the bus, the offscreen platform, a private profile and
    // temporary folder.
    [[nodiscard]] QProcessEnvironment Environment() const { return m_env; }
    [[nodiscard]] QDBusConnection Connection() const;
    // The temporary folder of the programs on this bus.
    [[nodiscard]] const std::string& TempDir() const { return m_temp.path(); }
    // The process that owns `name` on this bus, or 0.
    [[nodiscard]] qint64 OwnerProcess(const QString& name) const;

    // A program on this bus, left running; stopped with the bus.
    QProcess& Start(const QString& program, const QStringList& arguments);
    // A program run to its end; its exit status, -1 when it did not end.
    int Run(const QString& program, const QStringList& arguments, QString* output = nullptr);

  private:
    ScopedTempDir m_dir;
    ScopedTempDir m_temp;
    QProcessEnvironment m_env;
    QProcess m_daemon;
    QString m_address;
    QString m_connectionName;
    std::vector<std::unique_ptr<QProcess>> m_programs;
};

}  // namespace kelvane::test
