#include "server/OrvaneSrvrItem.h"

#include "server/OrvaneServerDoc.h"
#include "view/WaveDrag.h"

namespace kelvane {

COrvaneSrvrItem::COrvaneSrvrItem(COrvaneServerDoc& doc) : m_doc(doc) {
    DelayRenderFileData(embedding::kFormatWave);
}

bool COrvaneSrvrItem::OnGetExtent(embedding::Aspect aspect, QSize& size) {
    if (aspect != embedding::Aspect::Content) return ServerItem::OnGetExtent(aspect, size);
    size = kExtent;
    return true;
}

bool COrvaneSrvrItem::OnDraw(QPainter& painter, QSize size) {
    DrawWavePicture(m_doc.Document(), painter, size);
    return true;
}

bool COrvaneSrvrItem::OnRenderFileData(std::uint32_t format, QIODevice& file) {
    if (format != embedding::kFormatWave) return ServerItem::OnRenderFileData(format, file);
    // A copy cut short by the container's file still counts as rendered.
    CopyWaveImage(m_doc.Document(), file);
    return true;
}

void COrvaneSrvrItem::Serialize(embedding::Archive& archive) {
    m_doc.Serialize(archive);
}

}  // namespace kelvane
