#include "server/OrvaneServerDoc.h"

#include <QDBusConnection>

#include "server/InPlaceFrame.h"
#include "server/OrvaneSrvrItem.h"
#include "shell/OrvaneApp.h"
#include "view/WaveDrag.h"

namespace kelvane {

COrvaneServerDoc::COrvaneServerDoc() : m_pDoc(std::make_unique<COrvaneDoc>()) {
    m_pDoc->OnNewDocument();
    m_pDoc->SetModifiedFlag(false);
    connect(m_pDoc.get(), &COrvaneDoc::WaveChanged, this, &COrvaneServerDoc::Changed);
}

// The frame and its view go before the document they show.
COrvaneServerDoc::~COrvaneServerDoc() {
    DeactivateInPlace();
}

void COrvaneServerDoc::Serialize(embedding::Archive& archive) {
    const bool done = archive.IsStoring() ? CopyWaveImage(*m_pDoc, archive.Device())
                                          : m_pDoc->LoadFromStream(archive.Device());
    if (!done) archive.Fail();
}

bool COrvaneServerDoc::RunCommand(std::uint32_t id) {
    COrvaneApp* app = COrvaneApp::Instance();
    const Command* command = FindCommand(id);
    // The application's own commands (New, Open, Exit) are not the item's.
    if (!app || !app->MainFrame() || !command ||
        (command->target != Target::Doc && command->target != Target::View))
        return false;
    auto* frame = static_cast<CInPlaceFrame*>(InPlace());
    const CommandContext context{*app, *app->MainFrame(), nullptr, m_pDoc.get(),
                                 frame ? frame->View() : nullptr};
    if (!IsEnabled(*command, context)) return false;
    kelvane::RunCommand(*command, context);
    return true;
}

std::unique_ptr<embedding::ServerItem> COrvaneServerDoc::OnGetEmbeddedItem() {
    return std::make_unique<COrvaneSrvrItem>(*this);
}

std::unique_ptr<embedding::InPlaceFrame> COrvaneServerDoc::CreateInPlaceFrame(QWidget& site) {
    return std::make_unique<CInPlaceFrame>(*m_pDoc, site);
}

void ConnectServerTemplate() {
    embedding::ConnectTemplate(kServerClassId, [] { return std::make_unique<COrvaneServerDoc>(); });
}

std::unique_ptr<embedding::BusServer> StartBusServer(bool forContainers) {
    auto server = std::make_unique<embedding::BusServer>(kServerClassId, forContainers);
    // A person's copy waits behind a copy already serving, and takes over when that one ends.
    if (!server->Start(QDBusConnection::sessionBus(), !forContainers)) return nullptr;
    return server;
}

}  // namespace kelvane
