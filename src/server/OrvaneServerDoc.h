#pragma once

#include <memory>

#include "document/OrvaneDoc.h"
#include "platform/embedding/Embedding.h"

namespace kelvane {

// A sound document living inside a container: the document with what the container asks
// of it.
class COrvaneServerDoc final : public embedding::ServerDocument {
  public:
    COrvaneServerDoc();
    ~COrvaneServerDoc() override;

    [[nodiscard]] COrvaneDoc& Document() const { return *m_pDoc; }
    void Serialize(embedding::Archive& archive) override;

  protected:
    std::unique_ptr<embedding::ServerItem> OnGetEmbeddedItem() override;
    std::unique_ptr<embedding::InPlaceFrame> CreateInPlaceFrame(QWidget& site) override;

  private:
    std::unique_ptr<COrvaneDoc> m_pDoc;
};

// Serves sound documents under the editor's class id.
void ConnectServerTemplate();

}  // namespace kelvane
