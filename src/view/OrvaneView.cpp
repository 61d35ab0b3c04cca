#include "view/OrvaneView.h"

#include <QLabel>

#include "processing/dialogs/ProgressDialog.h"
#include "resources/Strings.h"

namespace kelvane {

namespace {

QString Text(std::uint32_t id) { return QString::fromUtf8(LoadString(id)); }

}  // namespace

COrvaneView::COrvaneView(COrvaneDoc& doc, QWidget* parent) : QWidget(parent), m_doc(doc) {
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(200, 100);
    m_doc.AddView(this);
}

COrvaneView::~COrvaneView() { m_doc.RemoveView(this); }

void COrvaneView::SetStatusPanes(const StatusPanes& panes) { m_panes = panes; }

void COrvaneView::OnInitialUpdate() {
    m_bInitialized = true;
    m_nDetailZoom = 1;
    OnUpdate(HINT_ALL);
}

void COrvaneView::OnUpdate(std::uint32_t /*hint*/) {
    update();
    UpdateStatusBar();
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
    update();
    UpdateStatusBar();
}

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
    m_panes[5]->setText(Text(153) + QString::asprintf("%d", static_cast<int>(m_nDetailZoom)));
}

void COrvaneView::NextPane(bool /*forward*/) { focusNextChild(); }

}  // namespace kelvane
