#include "platform/embedding/BusServer.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <algorithm>

#include "platform/embedding/BusItem.h"
#include "platform/embedding/Embedding.h"

namespace kelvane::embedding {

namespace {

// A server started for a container that never asked for an item does not stay for ever.
constexpr int kIdleEndMs = 60000;

}  // namespace

QString ServerPath(const QString& classId) {
    QString id = classId;
    id.remove('{').remove('}').replace('-', '_');
    return "/com/vantrel/Kelvane/Embedding/" + id;
}

BusServer::BusServer(QString classId, bool endWhenUnused)
    : m_strClassId(std::move(classId)), m_bEndWhenUnused(endWhenUnused), m_bus(QString()) {
    m_idleTimer.setSingleShot(true);
    m_idleTimer.setInterval(kIdleEndMs);
    connect(&m_idleTimer, &QTimer::timeout, this, [this] {
        if (m_items.empty()) QCoreApplication::quit();
    });
}

BusServer::~BusServer() {
    m_pWatcher.reset();
    m_items.clear();
    if (m_bus.isConnected()) {
        m_bus.unregisterObject(ServerPath(m_strClassId));
        m_bus.unregisterService(kBusName);
    }
}

bool BusServer::Start(QDBusConnection bus, bool queue) {
    if (!bus.isConnected()) return false;
    m_bus = bus;
    if (!m_bus.registerObject(ServerPath(m_strClassId), this,
                              QDBusConnection::ExportScriptableSlots))
        return false;
    QDBusConnectionInterface* daemon = m_bus.interface();
    const auto reply = daemon->registerService(
        kBusName,
        queue ? QDBusConnectionInterface::QueueService : QDBusConnectionInterface::DontQueueService,
        QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() == QDBusConnectionInterface::ServiceNotRegistered) {
        m_bus.unregisterObject(ServerPath(m_strClassId));
        return false;
    }
    m_pWatcher = std::make_unique<QDBusServiceWatcher>(QString(), m_bus,
                                                       QDBusServiceWatcher::WatchForUnregistration);
    connect(m_pWatcher.get(), &QDBusServiceWatcher::serviceUnregistered, this,
            &BusServer::OnContainerGone);
    if (m_bEndWhenUnused) {
        m_idleTimer.start();
        // Without its bus nobody can reach this copy any more.
        m_bus.connect(QString(), "/org/freedesktop/DBus/Local", "org.freedesktop.DBus.Local",
                      "Disconnected", this, SLOT(OnBusGone()));
    }
    return true;
}

QDBusObjectPath BusServer::CreateItem(const QByteArray& storage) {
    std::unique_ptr<ServerDocument> document = CreateInstance(m_strClassId);
    if (!document) {
        sendErrorReply(QDBusError::Failed, "The server offers no documents.");
        return {};
    }
    if (!storage.isEmpty()) {
        QBuffer buffer;
        buffer.setData(storage);
        buffer.open(QIODevice::ReadOnly);
        if (!document->LoadFromStream(buffer)) {
            sendErrorReply(kErrorBadStorage, "The storage does not hold a sound.");
            return {};
        }
    }
    const QString container = message().service();
    const QString path = ServerPath(m_strClassId) + "/Item" + QString::number(m_nNextItem++);
    auto item = std::make_unique<BusItem>(std::move(document), path, container,
                                          [this](BusItem* released) { Remove(released); });
    if (!m_bus.registerObject(
            path, item.get(),
            QDBusConnection::ExportScriptableSlots | QDBusConnection::ExportScriptableSignals)) {
        sendErrorReply(QDBusError::Failed, "The item could not be offered.");
        return {};
    }
    m_pWatcher->addWatchedService(container);
    m_items.push_back(std::move(item));
    m_idleTimer.stop();
    return QDBusObjectPath(path);
}

QList<QDBusObjectPath> BusServer::Items() {
    QList<QDBusObjectPath> paths;
    for (const auto& item : m_items)
        if (item->Container() == message().service()) paths.append(QDBusObjectPath(item->Path()));
    return paths;
}

void BusServer::Remove(BusItem* item) {
    // A release may arrive queued after the container's leaving took the item.
    if (std::none_of(m_items.begin(), m_items.end(),
                     [item](const auto& held) { return held.get() == item; }))
        return;
    m_bus.unregisterObject(item->Path());
    const QString container = item->Container();
    std::erase_if(m_items, [item](const auto& held) { return held.get() == item; });
    if (std::none_of(m_items.begin(), m_items.end(),
                     [&](const auto& held) { return held->Container() == container; }))
        m_pWatcher->removeWatchedService(container);
    if (m_items.empty() && m_bEndWhenUnused) QCoreApplication::quit();
}

void BusServer::OnBusGone() {
    m_items.clear();
    QCoreApplication::quit();
}

void BusServer::OnContainerGone(const QString& container) {
    std::vector<BusItem*> gone;
    for (const auto& item : m_items)
        if (item->Container() == container) gone.push_back(item.get());
    for (BusItem* item : gone) Remove(item);
}

}  // namespace kelvane::embedding
