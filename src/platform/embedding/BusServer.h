#pragma once

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusObjectPath>
#include <QList>
#include <QObject>
#include <QSize>
#include <QString>
#include <QTimer>
#include <memory>
#include <vector>

class QDBusServiceWatcher;

// The embedding host offered to other processes on the session bus: containers create items
// of a class id's documents and ask them for their extent, picture, data and storage, and
// activate them for editing. The interface is described in
// docs/dbus/com.vantrel.Kelvane.Embedding.xml.
namespace kelvane::embedding {

inline constexpr char kBusName[] = "com.vantrel.Kelvane.Embedding";
inline constexpr char kErrorBadStorage[] = "com.vantrel.Kelvane.Embedding.Error.BadStorage";
inline constexpr char kErrorNotSupported[] = "com.vantrel.Kelvane.Embedding.Error.NotSupported";
inline constexpr char kErrorAccessDenied[] = "com.vantrel.Kelvane.Embedding.Error.AccessDenied";

// The server's object path: the class id without braces, '-' as '_' (path elements take
// only letters, digits and '_').
[[nodiscard]] QString ServerPath(const QString& classId);

class BusItem;

class BusServer : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.vantrel.Kelvane.Embedding.Server")

  public:
    // A server started for containers alone ends when its last item goes.
    BusServer(QString classId, bool endWhenUnused);
    ~BusServer() override;

    // Offers the server on `bus`; false when there is no bus or another copy holds the name
    // (`queue`: this copy takes the name over when that one ends).
    bool Start(QDBusConnection bus, bool queue);
    [[nodiscard]] std::size_t ItemCount() const { return m_items.size(); }

  public slots:
    Q_SCRIPTABLE QDBusObjectPath CreateItem(const QByteArray& storage);
    Q_SCRIPTABLE QList<QDBusObjectPath> Items();

  private slots:
    void OnBusGone();

  private:
    void Remove(BusItem* item);
    void OnContainerGone(const QString& container);

    QString m_strClassId;
    bool m_bEndWhenUnused;
    QDBusConnection m_bus;
    std::vector<std::unique_ptr<BusItem>> m_items;
    std::unique_ptr<QDBusServiceWatcher> m_pWatcher;
    QTimer m_idleTimer;
    quint64 m_nNextItem = 1;
};

}  // namespace kelvane::embedding
