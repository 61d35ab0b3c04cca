#include "view/OrvaneView.h"

#include <QLabel>
#include <QResizeEvent>

#include "processing/dialogs/ProgressDialog.h"
#include "resources/Strings.h"
#include "view/WaveDrag.h"
#include "view/WaveformWnd.h"

namespace kelvane {

namespace {

constexpr int kTimerMs = 100;
constexpr int kMinimumLayoutHeight = 100;

QString Text(std::uint32_t id) { return QString::fromUtf8(LoadString(id)); }

}  // namespace

COrvaneView::COrvaneView(COrvaneDoc& doc, QWidget* parent)
    : QWidget(parent),
      m_doc(doc),
      m_wndOverview(new CWaveformWnd(doc, false, false, this)),
      m_wndDetail(new CWaveformWnd(doc, true, false, this)) {
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(200, 100);
    new CWaveDrag(doc, *m_wndOverview);
    new CWaveDrag(doc, *m_wndDetail);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_doc.AddView(this);
    for (CWaveformWnd* window : {m_wndOverview, m_wndDetail})
        connect(window, &CWaveformWnd::SelectionDragged, this, &COrvaneView::UpdateStatusBar);
    connect(&m_timer, &QTimer::timeout, this, &COrvaneView::OnTimer);
}

COrvaneView::~COrvaneView() { m_doc.RemoveView(this); }

void COrvaneView::SetStatusPanes(const StatusPanes& panes) { m_panes = panes; }

void COrvaneView::OnInitialUpdate() {
    m_bInitialized = true;
    m_wndDetail->SetZoom(1);
    OnUpdate(HINT_ALL);
}

void COrvaneView::resizeEvent(QResizeEvent* event) {
    const int cx = event->size().width();
    const int h = std::max(event->size().height(), kMinimumLayoutHeight);
    const int overviewHeight = h * 20 / 100;
    m_wndOverview->setGeometry(0, 0, cx, overviewHeight);
    const std::uint32_t fit = m_wndOverview->FitZoom();
    if (fit != m_wndOverview->Zoom()) {
        m_wndOverview->SetZoom(fit);
        if (m_bInitialized) {
            m_wndOverview->BuildPeaks();
            m_wndOverview->viewport()->update();
        }
    }
    m_wndDetail->setGeometry(0, overviewHeight, cx, h - overviewHeight);
    if (m_bInitialized) {
        m_wndDetail->BuildPeaks();
        m_wndDetail->viewport()->update();
    }
}

void COrvaneView::OnUpdate(std::uint32_t hint) {
    if (hint == HINT_ALL || (hint & HINT_WAVE_CHANGED)) {
        BeginProgress();
        m_wndDetail->BuildPeaks();
        m_wndOverview->SetZoom(m_wndOverview->FitZoom());
        m_wndOverview->BuildPeaks();
        EndProgress();
    }
    if (hint & HINT_PLAY_STARTED) m_timer.start(kTimerMs);
    m_wndOverview->viewport()->update();
    m_wndDetail->viewport()->update();
    UpdateStatusBar();
}

void COrvaneView::OnTimer() {
    if (!IsPlaying()) {
        m_wndOverview->viewport()->update();
        m_wndDetail->viewport()->update();
        m_timer.stop();
        UpdateStatusBar();
        return;
    }
    m_wndOverview->RepaintCursor();
    m_wndDetail->FollowPlayPosition();
    UpdateStatusBar();
}

bool COrvaneView::IsPlaying() const {
    return m_doc.m_pWave && m_doc.m_pWave->deviceState == DeviceState::Playing;
}

void COrvaneView::BeginProgress() {
    if (m_nProgressNesting == 0) {
        m_pProgress = std::make_unique<ProgressDialog>(103);
        m_pProgress->Create(this);
        m_pProgress->show();
    }
    ++m_nProgressNesting;
}

void COrvaneView::SetProgressText(std::string_view text) {
    if (m_pProgress) m_pProgress->SetText(text);
}

void COrvaneView::EndProgress() {
    if (m_nProgressNesting == 0 || --m_nProgressNesting > 0) return;
    m_pProgress->DestroyWindow();
    m_pProgress.reset();
}

ProgressIndicator* COrvaneView::Progress() { return m_pProgress.get(); }

void COrvaneView::RefreshSettings() {
    m_wndOverview->CreateDrawingObjects(false);
    m_wndDetail->CreateDrawingObjects(false);
    UpdateStatusBar();
}

void COrvaneView::Zoom(std::uint32_t zoom) {
    BeginProgress();
    m_wndDetail->SetZoom(zoom);
    m_wndDetail->BuildPeaks();
    m_wndDetail->viewport()->update();
    UpdateStatusBar();
    EndProgress();
}

void COrvaneView::OnZoomIn() { Zoom(m_wndDetail->Zoom() >> 1); }

void COrvaneView::OnZoomOut() { Zoom(m_wndDetail->Zoom() * 2); }

void COrvaneView::OnZoomToFit() { Zoom(m_wndDetail->FitZoom()); }

bool COrvaneView::CanZoomIn() const { return m_wndDetail->Zoom() >= 2 && !IsPlaying(); }

bool COrvaneView::CanZoomOut() const {
    return m_wndDetail->FitZoom() > m_wndDetail->Zoom() && !IsPlaying();
}

bool COrvaneView::CanZoomToFit() const { return !IsPlaying(); }

void COrvaneView::UpdateStatusBar() {
    if (!m_panes[0]) return;
    const WaveObject* wave = m_doc.m_pWave.get();
    const WaveFormat* format = wave && wave->format ? wave->format.get() : nullptr;
    const bool mono = format && format->channels == 1;
    const auto pos = [this](std::uint32_t frames) {
        return QString::fromStdString(m_doc.FormatPosition(frames));
    };
    m_panes[0]->setText(QString::asprintf(
        "%d%s %d %s %s", format ? static_cast<int>(format->samplesPerSec) : 0,
        LoadString(146).data(), format ? format->bitsPerSample : 0, LoadString(149).data(),
        (Text(mono ? 147 : 148) + " ").toUtf8().constData()));
    m_panes[1]->setText(Text(154) + pos(m_doc.Length()));
    m_panes[2]->setText(Text(150) + pos(m_doc.m_nSelStart));
    m_panes[3]->setText(Text(151) + pos(m_doc.m_nSelLength));
    m_panes[4]->setText(Text(152) + pos(m_doc.GetPlayPosition()));
    m_panes[5]->setText(Text(153) + QString::asprintf("%d", static_cast<int>(m_wndDetail->Zoom())));
}

void COrvaneView::NextPane(bool forward) {
    CWaveformWnd* next = m_wndDetail->hasFocus() == forward ? m_wndOverview : m_wndDetail;
    next->setFocus();
}

}  // namespace kelvane
