#include "view/WaveformWnd.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cstring>

#include "document/OrvaneDoc.h"
#include "resources/Strings.h"
#include "ui/AppState.h"
#include "view/TraceRuns.h"

namespace kelvane {

namespace {

constexpr int kScrollScale = 10000;
constexpr std::uint32_t kMaxSampledFrames = 16;

QColor Color(std::uint32_t rgb) {
    return QColor::fromRgb(static_cast<QRgb>(rgb));
}

std::int16_t Left(FrameValue v) {
    return static_cast<std::int16_t>(v & 0xFFFF);
}
std::int16_t Right(FrameValue v) {
    return static_cast<std::int16_t>(v >> 16);
}

void Widen(ColumnPeak& peak, std::int16_t v) {
    peak.max = std::max(peak.max, v);
    peak.min = std::min(peak.min, v);
    peak.last = v;
}

void Invert(QImage& image, const QRect& rect) {
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_Difference);
    painter.fillRect(rect, Qt::white);
}

}  // namespace

CWaveformWnd::CWaveformWnd(COrvaneDoc& doc, bool scrollBar, bool documentColors, QWidget* parent)
    : QAbstractScrollArea(parent), m_doc(doc), m_bDocumentColors(documentColors) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(scrollBar ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    horizontalScrollBar()->setRange(0, 0);
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { OnHScroll(action, horizontalScrollBar()->sliderPosition()); });
    // All drawing goes through the images; nothing erases the window first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(false);
    m_font = QFont("Arial");
    m_font.setPixelSize(12);
    CreateDrawingObjects(documentColors);
}

void CWaveformWnd::CreateDrawingObjects(bool documentColors) {
    const ColorSet& set = documentColors ? App().documentColors : App().screenColors;
    m_penMiddle = QPen(Color(set.middleLine), 0);
    m_penInactive = QPen(Color(set.inactiveMiddleLine), 0);
    m_penLeft = QPen(Color(set.leftChannel), 0);
    m_penRight = QPen(Color(set.rightChannel), 0);
    m_colorBackground = Color(set.background);
    m_colorText = Color(set.text);
    m_bDocumentColors = documentColors;
    m_bWaveImageValid = false;
    viewport()->update();
}

// From the window's own geometry, not the viewport's: a window resized while hidden lays out
// its viewport only when it is shown, and the peaks are built before that.
int CWaveformWnd::ClientWidth() const {
    return m_fixedClient ? m_fixedClient->width() : contentsRect().width();
}

int CWaveformWnd::ClientHeight() const {
    if (m_fixedClient) return m_fixedClient->height();
    const bool bar = horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff &&
                     horizontalScrollBar()->maximum() > horizontalScrollBar()->minimum();
    return contentsRect().height() - (bar ? horizontalScrollBar()->sizeHint().height() : 0);
}

std::uint32_t CWaveformWnd::Length() const {
    return m_doc.Length();
}

std::uint32_t CWaveformWnd::WholeColumns() const {
    const std::uint32_t n = Length();
    return n / m_nZoom + (n % m_nZoom ? 1 : 0);
}

std::uint32_t CWaveformWnd::FitZoom() const {
    const std::uint64_t n = Length();
    const auto width = static_cast<std::uint64_t>(std::max(ClientWidth(), 0));
    std::uint64_t zoom = 1;
    while (n / zoom > width) zoom *= 2;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(zoom, 0x80000000u));
}

int CWaveformWnd::ColumnOf(std::uint32_t frame) const {
    return static_cast<int>((static_cast<std::int64_t>(frame) - m_nFirstFrame) / m_nZoom);
}

void CWaveformWnd::SetScrollInfo() {
    const std::uint32_t n = Length();
    if (m_nFirstFrame > n) m_nFirstFrame = 0;
    const std::uint32_t columns = WholeColumns();
    QScrollBar* bar = horizontalScrollBar();
    if (static_cast<std::int64_t>(columns) <= ClientWidth()) {
        bar->setRange(0, 0);
        m_nScrollPosition = 0;
        m_nFirstFrame = 0;
        return;
    }
    const int page = static_cast<int>(std::int64_t{ClientWidth()} * kScrollScale / columns);
    m_nScrollPosition = static_cast<int>((std::uint64_t{m_nFirstFrame} + m_nZoom - 1) *
                                         kScrollScale / std::max<std::uint32_t>(n, 1));
    bar->setRange(0, std::max(kScrollScale - page, 0));
    bar->setPageStep(page);
    bar->setSingleStep(std::max(page / 10, 1));
    bar->setValue(m_nScrollPosition);
}

// A progress window pumps events while the peaks are built, and a paint among them draws the
// peaks built so far: the image is only good once they are all there.
void CWaveformWnd::BuildPeaks() {
    BuildColumnPeaks();
    m_bWaveImageValid = false;
}

void CWaveformWnd::BuildColumnPeaks() {
    m_pPeaksLeft.clear();
    m_pPeaksRight.clear();
    m_nColumns = 0;
    const WaveObject* wave = m_doc.m_pWave.get();
    const std::uint32_t n = Length();
    SetScrollInfo();
    const std::int64_t visible = std::int64_t{WholeColumns()} - m_nFirstFrame / m_nZoom;
    m_nColumns = static_cast<std::uint32_t>(std::clamp<std::int64_t>(visible, 0, ClientWidth()));
    if (m_nColumns == 0 || !wave) return;
    DocumentView* owner = m_doc.GetView();
    ProgressIndicator* progress = owner ? owner->Progress() : nullptr;
    if (progress) owner->SetProgressText(LoadString(162));

    const std::uint32_t step = m_nZoom > kMaxSampledFrames ? m_nZoom >> 4 : 1;
    const bool stereo = wave->format && wave->format->channels > 1;
    m_pPeaksLeft.resize(m_nColumns);
    if (stereo) m_pPeaksRight.resize(m_nColumns);
    const auto startColumn = [&](std::uint32_t c, FrameValue v) {
        m_pPeaksLeft[c] = {Left(v), Left(v), Left(v), Left(v)};
        if (stereo) m_pPeaksRight[c] = {Right(v), Right(v), Right(v), Right(v)};
    };
    const auto sample = [&](std::uint32_t c, FrameValue v) {
        Widen(m_pPeaksLeft[c], Left(v));
        if (stereo) Widen(m_pPeaksRight[c], Right(v));
    };
    std::uint32_t f = m_nFirstFrame;
    for (std::uint32_t c = 0; c + 1 < m_nColumns; ++c, f += m_nZoom) {
        if (progress) progress->SetPos(static_cast<int>(std::uint64_t{c} * 100 / m_nColumns));
        if (progress && progress->Cancelled()) {
            KeepColumns(c);
            return;
        }
        startColumn(c, wave->GetFrame(f));
        for (std::uint32_t k = 0; k < m_nZoom; k += step) sample(c, wave->GetFrame(f + k));
    }
    // The last column may end with the sound.
    const std::uint32_t last = m_nColumns - 1;
    startColumn(last, wave->GetFrame(f));
    if (m_nZoom > 2)
        for (std::uint32_t k = 0; k < m_nZoom && std::uint64_t{f} + k < n; k += step)
            sample(last, wave->GetFrame(f + k));
}

// Cancel in the progress window: the picture ends where the building stopped, the rest is
// drawn as the line past the sound's end, and the next zoom, scroll or resize builds it all.
void CWaveformWnd::KeepColumns(std::uint32_t columns) {
    m_nColumns = columns;
    m_pPeaksLeft.resize(std::min<std::size_t>(m_pPeaksLeft.size(), columns));
    m_pPeaksRight.resize(std::min<std::size_t>(m_pPeaksRight.size(), columns));
}

void CWaveformWnd::DrawChannel(QPainter& painter, int middle, int width, int scale,
                               const std::vector<ColumnPeak>& peaks, const QPen& pen) const {
    const int columns = static_cast<int>(m_nColumns);
    painter.setPen(m_penMiddle);
    painter.drawLine(0, middle, std::max(columns - 1, 0), middle);
    if (columns < width) {
        painter.setPen(m_penInactive);
        painter.drawLine(std::max(columns - 1, 0), middle, width, middle);
    }
    if (peaks.empty()) return;
    const auto y = [&](std::int16_t v) { return middle - v * scale / 32768; };
    if (QImage* image = TraceRuns::Target(painter)) {
        TraceRuns trace(*image, width);
        trace.MoveTo(0, y(peaks[0].first));
        for (int x = 0; x < columns; ++x) {
            const ColumnPeak& p = peaks[static_cast<std::size_t>(x)];
            for (std::int16_t v : {p.first, p.max, p.min, p.last}) trace.LineTo(x, y(v));
        }
        trace.Fill(*image, pen.color());
        return;
    }
    QPolygon trace;
    trace.reserve(columns * 4 + 1);
    trace << QPoint(0, y(peaks[0].first));
    for (int x = 0; x < columns; ++x) {
        const ColumnPeak& p = peaks[static_cast<std::size_t>(x)];
        trace << QPoint(x, y(p.first)) << QPoint(x, y(p.max)) << QPoint(x, y(p.min))
              << QPoint(x, y(p.last));
    }
    painter.setPen(pen);
    painter.drawPolyline(trace);
}

void CWaveformWnd::DrawWave(QPainter& painter, int width, int height) const {
    painter.fillRect(0, 0, width, height, m_colorBackground);
    // An empty sound still shows its middle lines, inactive from the first column.
    const WaveObject* wave = m_doc.m_pWave.get();
    const bool stereo =
        !m_pPeaksRight.empty() || (wave && wave->format && wave->format->channels > 1);
    if (stereo) {
        const int q = height / 4;
        painter.setFont(m_font);
        const auto label = [&](std::uint32_t id, int top) {
            painter.setPen(m_colorText);
            painter.drawText(QRect(0, top, width - 2, height), Qt::AlignRight | Qt::AlignTop,
                             QString::fromUtf8(LoadString(id)));
        };
        label(215, 2);
        DrawChannel(painter, q, width, q, m_pPeaksLeft, m_penLeft);
        label(216, height / 2 + 2);
        DrawChannel(painter, height - q, width, q, m_pPeaksRight, m_penRight);
    } else {
        DrawChannel(painter, height / 2, width, height / 2, m_pPeaksLeft, m_penLeft);
    }
}

// Both images keep their pixels from paint to paint: a new one of a full window costs
// thousands of page faults.
const QImage& CWaveformWnd::WaveImage(int width, int height) const {
    const qreal ratio = devicePixelRatioF();
    const QSize pixels(std::max(qRound(width * ratio), 1), std::max(qRound(height * ratio), 1));
    if (m_bWaveImageValid && m_waveImage.size() == pixels &&
        m_waveImage.devicePixelRatio() == ratio)
        return m_waveImage;
    if (m_waveImage.size() != pixels) m_waveImage = QImage(pixels, QImage::Format_RGB32);
    m_waveImage.setDevicePixelRatio(ratio);
    QPainter painter(&m_waveImage);
    DrawWave(painter, width, height);
    m_bWaveImageValid = true;
    return m_waveImage;
}

const QImage& CWaveformWnd::RenderFrame() const {
    const int width = ClientWidth();
    const int height = ClientHeight();
    const QImage& wave = WaveImage(width, height);
    if (m_frame.size() != wave.size()) m_frame = QImage(wave.size(), wave.format());
    m_frame.setDevicePixelRatio(wave.devicePixelRatio());
    std::memcpy(m_frame.bits(), wave.constBits(), static_cast<std::size_t>(wave.sizeInBytes()));
    QImage& frame = m_frame;
    const std::uint32_t position = m_doc.GetPlayPosition();
    m_nLastPlayPos = position;
    const int zoom = static_cast<int>(m_nZoom);
    int x0 = ColumnOf(m_doc.m_nSelStart);
    int w = static_cast<int>((std::int64_t{m_doc.m_nSelLength} + zoom - 1) / zoom);
    if (w != 0 && x0 < width && x0 + w > 0) {
        if (x0 < 0) {
            w += x0;
            x0 = 0;
        }
        if (x0 + w > width) w = width - x0;
        Invert(frame, QRect(x0, 0, w, height));
    }
    const bool playing = m_doc.m_pWave && m_doc.m_pWave->deviceState == DeviceState::Playing;
    if (m_doc.m_nSelLength == 0 || playing) {
        const int c = ColumnOf(position);
        if (c >= 0 && c < width) Invert(frame, QRect(c, 0, 1, height));
    }
    return frame;
}

void CWaveformWnd::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.drawImage(0, 0, RenderFrame());
}

void CWaveformWnd::OnLButtonDown(int x) {
    const bool playing = m_doc.m_pWave && m_doc.m_pWave->deviceState == DeviceState::Playing;
    if (std::uint64_t{m_nFirstFrame} + std::uint64_t{m_nZoom} * std::max(x, 0) >= Length() ||
        playing)
        return;
    m_bDragging = true;
    m_bMoved = false;
    m_nAnchorColumn = x;
}

void CWaveformWnd::OnMouseMove(int x) {
    if (!m_bDragging) return;
    if (!m_bMoved) {
        m_bMoved = true;
        viewport()->setCursor(Qt::SizeHorCursor);
    }
    SelectTo(x);
    emit SelectionDragged();
}

void CWaveformWnd::OnLButtonUp(int x) {
    if (!m_bDragging) return;
    if (m_bMoved) {
        viewport()->unsetCursor();
        SelectTo(x);
    } else {
        const std::uint64_t start =
            std::uint64_t{m_nFirstFrame} +
            std::uint64_t{static_cast<std::uint32_t>(m_nAnchorColumn)} * m_nZoom;
        m_doc.SetSelection(static_cast<std::uint32_t>(std::min<std::uint64_t>(start, Length())), 0);
    }
    m_bDragging = false;
}

void CWaveformWnd::SelectTo(int x) {
    const std::int64_t zoom = m_nZoom;
    const std::int64_t limit = std::min<std::int64_t>(
        std::int64_t{WholeColumns()} - m_nFirstFrame / m_nZoom, ClientWidth());
    const std::int64_t xs = std::clamp<std::int64_t>(x, 0, std::max<std::int64_t>(limit, 0));
    const std::int64_t a = m_nAnchorColumn;
    std::int64_t start, length;
    if (xs <= a) {
        start = xs * zoom + m_nFirstFrame;
        length = (a - xs + 1) * zoom;
    } else {
        start = a * zoom + m_nFirstFrame;
        length = (xs - a + 1) * zoom;
    }
    const std::int64_t n = Length();
    start = std::min(start, n);
    length = std::min(length, n - start);
    m_doc.SetSelection(static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(length));
}

void CWaveformWnd::OnHScroll(int action, int trackPosition) {
    const QScrollBar* bar = horizontalScrollBar();
    const int page = bar->pageStep();
    const int line = std::max(page / 10, 1);
    int position = m_nScrollPosition;
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
            position -= line;
            break;
        case QAbstractSlider::SliderSingleStepAdd:
            position += line;
            break;
        case QAbstractSlider::SliderPageStepSub:
            position -= page;
            break;
        case QAbstractSlider::SliderPageStepAdd:
            position += page;
            break;
        case QAbstractSlider::SliderMove:
            position = trackPosition;
            break;
        default:
            return;
    }
    position = std::min(std::max(position, 0), kScrollScale - page);
    m_nScrollPosition = position;
    horizontalScrollBar()->setSliderPosition(position);
    const std::uint64_t f =
        std::uint64_t{Length()} * static_cast<std::uint64_t>(position) / kScrollScale;
    const auto candidate = static_cast<std::uint32_t>(f - f % m_nZoom);
    if (candidate == m_nFirstFrame) return;
    m_nFirstFrame = candidate;
    BuildPeaks();
    viewport()->update();
}

void CWaveformWnd::FollowPlayPosition() {
    const std::uint32_t p = m_doc.GetPlayPosition();
    std::uint64_t first = p - p % m_nZoom;
    const std::uint64_t span = std::uint64_t{static_cast<std::uint32_t>(ClientWidth())} * m_nZoom;
    const std::uint64_t n = Length();
    if (first + span > n) first = span <= n ? n - span : 0;
    if (first == m_nFirstFrame) {
        RepaintCursor();
        return;
    }
    m_nFirstFrame = static_cast<std::uint32_t>(first);
    BuildPeaks();
    viewport()->update();
}

void CWaveformWnd::RepaintCursor() {
    const int width = ClientWidth();
    const int old = ColumnOf(m_nLastPlayPos);
    const int now = ColumnOf(m_doc.GetPlayPosition());
    if (old < 0 || old >= width) {
        viewport()->update();
        return;
    }
    viewport()->update(QRect(old, 0, 1, ClientHeight()));
    if (now >= 0 && now < width) viewport()->update(QRect(now, 0, 1, ClientHeight()));
}

void CWaveformWnd::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) OnLButtonDown(event->position().toPoint().x());
}

void CWaveformWnd::mouseMoveEvent(QMouseEvent* event) {
    OnMouseMove(event->position().toPoint().x());
}

void CWaveformWnd::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) OnLButtonUp(event->position().toPoint().x());
}

}  // namespace kelvane
