#include "EmbeddedSound.h"

#include <QDBusConnection>
#include <QFile>
#include <QSaveFile>

#include "EmbeddingProxy.h"

namespace {

constexpr char kService[] = "com.vantrel.Kelvane.Embedding";
constexpr char kServerPath[] =
    "/com/vantrel/Kelvane/Embedding/1A50CA83_E632_11D0_A07D_00A0240B2F28";
// Creating an item may start the editor first; big sounds take a while to copy.
constexpr int kCallTimeoutMs = 120000;
constexpr quint32 kDocumentMagic = 0x4B56434E;  // "KVCN"
constexpr quint32 kDocumentVersion = 1;

template <typename Reply>
bool Check(Reply& reply, QString* error) {
    reply.waitForFinished();
    if (!reply.isError()) return true;
    if (error) *error = reply.error().message();
    return false;
}

}  // namespace

EmbeddedSound::EmbeddedSound(std::unique_ptr<ComVantrelKelvaneEmbeddingItemInterface> item)
    : m_item(std::move(item)) {
    m_item->setTimeout(kCallTimeoutMs);
    connect(m_item.get(), &ComVantrelKelvaneEmbeddingItemInterface::Changed, this,
            &EmbeddedSound::Changed);
    connect(m_item.get(), &ComVantrelKelvaneEmbeddingItemInterface::Deactivated, this,
            &EmbeddedSound::Deactivated);
}

EmbeddedSound::~EmbeddedSound() {
    m_item->Release().waitForFinished();
}

std::unique_ptr<EmbeddedSound> EmbeddedSound::Create(const QByteArray& storage, QString* error) {
    ComVantrelKelvaneEmbeddingServerInterface server(kService, kServerPath,
                                                     QDBusConnection::sessionBus());
    server.setTimeout(kCallTimeoutMs);
    auto reply = server.CreateItem(storage);
    if (!Check(reply, error)) return nullptr;
    auto item = std::make_unique<ComVantrelKelvaneEmbeddingItemInterface>(
        kService, reply.value().path(), QDBusConnection::sessionBus());
    return std::unique_ptr<EmbeddedSound>(new EmbeddedSound(std::move(item)));
}

QSize EmbeddedSound::Extent(QString* error) const {
    auto reply = m_item->GetExtent(1);
    return Check(reply, error) ? reply.value() : QSize();
}

QByteArray EmbeddedSound::Picture(const QString& mimeType, QSize size, QString* error) const {
    auto reply = m_item->GetPicture(mimeType, size.width(), size.height());
    return Check(reply, error) ? reply.value() : QByteArray();
}

QByteArray EmbeddedSound::WaveData(QString* error) const {
    auto reply = m_item->GetData(12);
    return Check(reply, error) ? reply.value() : QByteArray();
}

QByteArray EmbeddedSound::Storage(QString* error) const {
    auto reply = m_item->Save();
    return Check(reply, error) ? reply.value() : QByteArray();
}

bool EmbeddedSound::RunCommand(uint command, QString* error) {
    auto reply = m_item->RunCommand(command);
    return Check(reply, error);
}

bool EmbeddedSound::Activate(quint64 window, QSize size, QString* error) {
    auto reply = m_item->Activate(window, size.width(), size.height());
    return Check(reply, error) && reply.value();
}

void EmbeddedSound::Resize(QSize size) {
    m_item->Resize(size.width(), size.height());
}

void EmbeddedSound::Deactivate() {
    m_item->Deactivate();
}

QString EmbeddedSound::Path() const {
    return m_item->path();
}

bool WriteContainerDocument(const QString& path, const QByteArray& storage) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    QDataStream out(&file);
    out << kDocumentMagic << kDocumentVersion << QString(EmbeddedSound::kClassId) << storage;
    return out.status() == QDataStream::Ok && file.commit();
}

bool ReadContainerDocument(const QString& path, QByteArray& storage) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    QDataStream in(&file);
    quint32 magic = 0, version = 0;
    QString classId;
    in >> magic >> version >> classId >> storage;
    return in.status() == QDataStream::Ok && magic == kDocumentMagic &&
           version == kDocumentVersion && classId == EmbeddedSound::kClassId;
}
