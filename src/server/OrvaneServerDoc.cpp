#include "server/OrvaneServerDoc.h"

#include "server/InPlaceFrame.h"
#include "server/OrvaneSrvrItem.h"
#include "shell/OrvaneApp.h"
#include "view/WaveDrag.h"

namespace kelvane {

COrvaneServerDoc::COrvaneServerDoc() : m_pDoc(std::make_unique<COrvaneDoc>()) {
    m_pDoc->OnNewDocument();
    m_pDoc->SetModifiedFlag(false);
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

std::unique_ptr<embedding::ServerItem> COrvaneServerDoc::OnGetEmbeddedItem() {
    return std::make_unique<COrvaneSrvrItem>(*this);
}

std::unique_ptr<embedding::InPlaceFrame> COrvaneServerDoc::CreateInPlaceFrame(QWidget& site) {
    return std::make_unique<CInPlaceFrame>(*m_pDoc, site);
}

void ConnectServerTemplate() {
    embedding::ConnectTemplate(kServerClassId, [] { return std::make_unique<COrvaneServerDoc>(); });
}

}  // namespace kelvane
