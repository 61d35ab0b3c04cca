#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <vector>

namespace kelvane {

// A waveform trace rasterised into device pixels as one vertical run per column, written
// straight into an image. Every stroke of a trace is vertical or joins neighbouring columns, so
// each column of the polyline is one contiguous run. A cosmetic pen costs so much per pixel,
// and a filled rectangle so much per call, that on a loud sound at a pixel ratio of 2 either
// takes most of a frame.
class TraceRuns {
  public:
    // The 32-bit image a painter draws on with no transformation but the image's pixel ratio
    // and no clipping, else null: anything else (a picture, a printer, a scaled painter)
    // strokes the polyline instead.
    static QImage* Target(QPainter& painter);

    TraceRuns(const QImage& image, int width);
    // In logical coordinates, as the polyline's points.
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Fill(QImage& image, const QColor& color) const;

  private:
    void Cover(int column, int y0, int y1);
    [[nodiscard]] int Device(int logical) const;

    qreal m_ratio;
    std::vector<int> m_top, m_bottom;
    int m_x = 0, m_y = 0;
};

}  // namespace kelvane
