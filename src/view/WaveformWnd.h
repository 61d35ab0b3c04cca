#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QPen>
#include <cstdint>
#include <optional>
#include <vector>

#include "view/ColorSettings.h"

namespace kelvane {

class COrvaneDoc;

// What one pixel column shows of one channel.
struct ColumnPeak {
    std::int16_t first = 0;
    std::int16_t last = 0;
    std::int16_t max = 0;
    std::int16_t min = 0;
};

// One waveform window: a run of pixel columns, each showing `Zoom()` frames from
// `FirstFrame()` on, with a selection by mouse. The overview shows the whole sound; the detail
// window scrolls.
class CWaveformWnd : public QAbstractScrollArea {
    Q_OBJECT

  public:
    CWaveformWnd(COrvaneDoc& doc, bool scrollBar, bool documentColors, QWidget* parent = nullptr);

    void CreateDrawingObjects(bool documentColors);
    void BuildPeaks();
    // Draws background, middle lines, labels and traces into any painter.
    void DrawWave(QPainter& painter, int width, int height) const;

    // The smallest power of two at which the whole sound fits the window.
    [[nodiscard]] std::uint32_t FitZoom() const;
    [[nodiscard]] std::uint32_t Zoom() const { return m_nZoom; }
    void SetZoom(std::uint32_t zoom) { m_nZoom = zoom ? zoom : 1; }
    [[nodiscard]] std::uint32_t FirstFrame() const { return m_nFirstFrame; }
    void SetFirstFrame(std::uint32_t frame) { m_nFirstFrame = frame; }
    [[nodiscard]] std::uint32_t Columns() const { return m_nColumns; }
    [[nodiscard]] const std::vector<ColumnPeak>& PeaksLeft() const { return m_pPeaksLeft; }
    [[nodiscard]] const std::vector<ColumnPeak>& PeaksRight() const { return m_pPeaksRight; }
    [[nodiscard]] int ClientWidth() const;
    [[nodiscard]] int ClientHeight() const;
    // Pictures are drawn by a window that is never shown: it takes its size from here.
    void SetClientSize(QSize size) { m_fixedClient = size; }

    // The mouse, in client columns (the events call these).
    void OnLButtonDown(int x);
    void OnMouseMove(int x);
    void OnLButtonUp(int x);
    [[nodiscard]] bool IsDragging() const { return m_bDragging; }
    // The scroll bar's actions (QAbstractSlider::SliderAction) on the 0..10000 scale.
    void OnHScroll(int action, int trackPosition);
    // While playing: the detail window keeps the play position at its left edge, the
    // overview moves only its cursor.
    void FollowPlayPosition();
    void RepaintCursor();
    // The image shown: the waveform with the selection and the cursor inverted, at the
    // window's device pixel ratio.
    [[nodiscard]] const QImage& RenderFrame() const;

  signals:
    // The selection changed by the mouse; the view rewrites its status bar.
    void SelectionDragged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    [[nodiscard]] std::uint32_t Length() const;
    [[nodiscard]] std::uint32_t WholeColumns() const;
    void SetScrollInfo();
    void BuildColumnPeaks();
    void KeepColumns(std::uint32_t columns);
    void SelectTo(int x);
    void DrawChannel(QPainter& painter, int middle, int width, int scale,
                     const std::vector<ColumnPeak>& peaks, const QPen& pen) const;
    [[nodiscard]] int ColumnOf(std::uint32_t frame) const;
    [[nodiscard]] const QImage& WaveImage(int width, int height) const;

    COrvaneDoc& m_doc;
    std::uint32_t m_nZoom = 1;
    std::vector<ColumnPeak> m_pPeaksLeft;
    std::vector<ColumnPeak> m_pPeaksRight;
    std::uint32_t m_nColumns = 0;
    std::uint32_t m_nFirstFrame = 0;
    QPen m_penMiddle, m_penInactive, m_penLeft, m_penRight;
    QColor m_colorBackground, m_colorText;
    QFont m_font;
    bool m_bDragging = false;
    bool m_bMoved = false;
    int m_nAnchorColumn = 0;
    mutable std::uint32_t m_nLastPlayPos = 0;
    bool m_bDocumentColors;
    int m_nScrollPosition = 0;
    std::optional<QSize> m_fixedClient;
    // The waveform alone, drawn again only when the peaks, the colours or the size change:
    // a selection drag or the play cursor only inverts a copy of it.
    mutable QImage m_waveImage;
    mutable bool m_bWaveImageValid = false;
    mutable QImage m_frame;
};

}  // namespace kelvane
