#pragma once

#include "platform/embedding/Embedding.h"

namespace kelvane {

class COrvaneServerDoc;

// The whole sound as a container holds it: 100 by 25 mm, drawn as its waveform in the
// document colours, and handed out as Wave data.
class COrvaneSrvrItem final : public embedding::ServerItem {
  public:
    explicit COrvaneSrvrItem(COrvaneServerDoc& doc);

    // 0.01 mm units.
    static constexpr QSize kExtent{10000, 2500};

    bool OnGetExtent(embedding::Aspect aspect, QSize& size) override;
    bool OnDraw(QPainter& painter, QSize size) override;
    bool OnRenderFileData(std::uint32_t format, QIODevice& file) override;
    void Serialize(embedding::Archive& archive) override;

  private:
    COrvaneServerDoc& m_doc;
};

}  // namespace kelvane
