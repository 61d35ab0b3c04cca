#pragma once

#include <memory>

#include "document/OrvaneDoc.h"
#include "platform/embedding/BusServer.h"
#include "platform/embedding/Embedding.h"

namespace kelvane {

// A sound document living inside a container: the document with what the container asks
// of it.
class COrvaneServerDoc final : public embedding::ServerDocument {
    Q_OBJECT

  public:
    COrvaneServerDoc();
    ~COrvaneServerDoc() override;

    [[nodiscard]] COrvaneDoc& Document() const { return *m_pDoc; }
    void Serialize(embedding::Archive& archive) override;
    bool RunCommand(std::uint32_t command) override;

  protected:
    std::unique_ptr<embedding::ServerItem> OnGetEmbeddedItem() override;
    std::unique_ptr<embedding::InPlaceFrame> CreateInPlaceFrame(QWidget& site) override;

  private:
    std::unique_ptr<COrvaneDoc> m_pDoc;
};

// Serves sound documents under the editor's class id.
void ConnectServerTemplate();
// Offers them to containers in other processes on the session bus; null when there is none or
// (`forContainers`: a copy started for containers alone, which ends with its last item)
// another copy serves already.
[[nodiscard]] std::unique_ptr<embedding::BusServer> StartBusServer(bool forContainers);

}  // namespace kelvane
