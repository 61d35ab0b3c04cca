#include "view/TraceRuns.h"

#include <QImage>
#include <algorithm>
#include <climits>
#include <cmath>

namespace kelvane {

QImage* TraceRuns::Target(QPainter& painter) {
    QPaintDevice* device = painter.device();
    if (!device || device->devType() != QInternal::Image || painter.hasClipping()) return nullptr;
    auto* image = static_cast<QImage*>(device);
    const QImage::Format format = image->format();
    const bool plain = format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
                       format == QImage::Format_ARGB32_Premultiplied;
    const qreal ratio = image->devicePixelRatio();
    return plain && painter.combinedTransform() == QTransform::fromScale(ratio, ratio) ? image
                                                                                       : nullptr;
}

TraceRuns::TraceRuns(const QImage& image, int width)
    : m_ratio(image.devicePixelRatio()),
      m_top(static_cast<std::size_t>(std::max(Device(width), 0)) + 1, INT_MAX),
      m_bottom(m_top.size(), INT_MIN) {}

int TraceRuns::Device(int logical) const {
    return static_cast<int>(std::lround(logical * m_ratio));
}

void TraceRuns::Cover(int column, int y0, int y1) {
    if (column < 0 || column >= static_cast<int>(m_top.size())) return;
    const auto c = static_cast<std::size_t>(column);
    m_top[c] = std::min({m_top[c], y0, y1});
    m_bottom[c] = std::max({m_bottom[c], y0, y1});
}

void TraceRuns::MoveTo(int x, int y) {
    m_x = Device(x);
    m_y = Device(y);
    Cover(m_x, m_y, m_y);
}

// As the cosmetic stroker does: a column holds the part of the line from its left edge up to,
// not including, the part that belongs to the next column.
void TraceRuns::LineTo(int x, int y) {
    const int x1 = Device(x), y1 = Device(y);
    const int dx = x1 - m_x;
    const double slope = dx ? static_cast<double>(y1 - m_y) / dx : 0.0;
    for (int k = 0; k < dx; ++k) {
        const int from = m_y + static_cast<int>(std::lround(k * slope));
        int to = m_y + static_cast<int>(std::lround((k + 1) * slope));
        if (to != from) to += to > from ? -1 : 1;
        Cover(m_x + k, from, to);
    }
    Cover(x1, dx ? y1 : m_y, y1);
    m_x = x1;
    m_y = y1;
}

// Row by row: a column at a time would stride a whole image line per pixel, which the caches
// cannot hold, while a row is one vectorised pass.
void TraceRuns::Fill(QImage& image, const QColor& color) const {
    const QRgb pixel = color.rgb();
    const auto columns = std::min(m_top.size(), static_cast<std::size_t>(image.width()));
    const int top = std::max(*std::min_element(m_top.begin(), m_top.end()), 0);
    const int bottom =
        std::min(*std::max_element(m_bottom.begin(), m_bottom.end()), image.height() - 1);
    const int* tops = m_top.data();
    const int* bottoms = m_bottom.data();
    for (int row = top; row <= bottom; ++row) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
        for (std::size_t c = 0; c < columns; ++c)
            line[c] = tops[c] <= row && row <= bottoms[c] ? pixel : line[c];
    }
}

}  // namespace kelvane
