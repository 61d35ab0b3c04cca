#include "platform/embedding/Embedding.h"

#include <QLayout>
#include <QMainWindow>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

namespace kelvane::embedding {

namespace {

std::map<QString, DocumentFactory>& Templates() {
    static std::map<QString, DocumentFactory> templates;
    return templates;
}

}  // namespace

bool ServerItem::OnGetExtent(Aspect, QSize&) {
    return false;
}

bool ServerItem::OnRenderFileData(std::uint32_t, QIODevice&) {
    return false;
}

void ServerItem::DelayRenderFileData(std::uint32_t format) {
    if (std::find(m_formats.begin(), m_formats.end(), format) == m_formats.end())
        m_formats.push_back(format);
}

bool ServerItem::GetData(std::uint32_t format, QIODevice& file) {
    if (std::find(m_formats.begin(), m_formats.end(), format) == m_formats.end()) return false;
    return OnRenderFileData(format, file);
}

InPlaceFrame::InPlaceFrame(QWidget* site) : QWidget(site) {}

ServerDocument::~ServerDocument() = default;

ServerItem* ServerDocument::GetEmbeddedItem() {
    if (!m_pItem) m_pItem = OnGetEmbeddedItem();
    return m_pItem.get();
}

bool ServerDocument::SaveToStream(QIODevice& device) {
    ServerItem* item = GetEmbeddedItem();
    if (!item) return false;
    Archive archive(device, true);
    item->Serialize(archive);
    return !archive.Failed();
}

bool ServerDocument::LoadFromStream(QIODevice& device) {
    ServerItem* item = GetEmbeddedItem();
    if (!item) return false;
    Archive archive(device, false);
    item->Serialize(archive);
    return !archive.Failed();
}

InPlaceFrame* ServerDocument::ActivateInPlace(QMainWindow& containerFrame, QWidget& site) {
    DeactivateInPlace();
    std::unique_ptr<InPlaceFrame> frame = CreateInPlaceFrame(site);
    if (!frame || !frame->OnCreate() || !frame->OnCreateControlBars(containerFrame, site))
        return nullptr;
    // The frame fills its site, as a container gives an in-place object its rectangle.
    if (!site.layout()) {
        auto* layout = new QVBoxLayout(&site);
        layout->setContentsMargins(0, 0, 0, 0);
    }
    site.layout()->addWidget(frame.get());
    frame->show();
    m_pInPlaceFrame = frame.release();
    // Queued: the frame is still inside the key handler that asked.
    QObject::connect(
        m_pInPlaceFrame, &InPlaceFrame::DeactivateRequested, m_pInPlaceFrame,
        [this] { DeactivateInPlace(); }, Qt::QueuedConnection);
    return m_pInPlaceFrame;
}

void ServerDocument::DeactivateInPlace() {
    if (!m_pInPlaceFrame) return;
    m_pInPlaceFrame->OnRemoveControlBars();
    delete m_pInPlaceFrame.data();
    emit InPlaceEnded();
}

void ConnectTemplate(const QString& classId, DocumentFactory factory) {
    Templates()[classId] = std::move(factory);
}

void RevokeTemplate(const QString& classId) {
    Templates().erase(classId);
}

std::unique_ptr<ServerDocument> CreateInstance(const QString& classId) {
    const auto it = Templates().find(classId);
    return it == Templates().end() ? nullptr : it->second();
}

}  // namespace kelvane::embedding
