#include "shell/ChildFrame.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QToolBar>

#include "resources/Strings.h"
#include "shell/Icons.h"
#include "shell/OrvaneApp.h"
#include "view/OrvaneView.h"

namespace kelvane {

namespace {

constexpr int kPaneSpacing = 8;  // the status bar's gap and grip beside each pane

// A pane at least as wide as its blanks and as a typical text of it, so nothing is clipped.
QLabel* Pane(std::uint32_t widthId, const char* typical, QWidget* parent) {
    auto* label = new QLabel(parent);
    const QFontMetrics metrics = label->fontMetrics();
    label->setMinimumWidth(std::max(metrics.horizontalAdvance(QString::fromUtf8(LoadString(widthId))),
                                    metrics.horizontalAdvance(typical)) +
                           12);
    label->setContentsMargins(4, 0, 4, 0);
    return label;
}

}  // namespace

CChildFrame::CChildFrame(COrvaneDoc& doc, QWidget* parent)
    : QMdiSubWindow(parent),
      m_doc(doc),
      m_pInner(new QMainWindow),
      m_pView(new COrvaneView(doc)),
      m_pToolBar(new QToolBar(tr("Wave"), m_pInner)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(AppIcon());
    m_pInner->setCentralWidget(m_pView);
    m_pToolBar->setObjectName("toolbar130");
    m_pToolBar->setIconSize(QSize(16, 16));
    m_pToolBar->setMovable(false);
    m_pInner->addToolBar(Qt::TopToolBarArea, m_pToolBar);
    for (std::uint32_t id : DocumentToolbar()) {
        if (id == 0) {
            m_pToolBar->addSeparator();
            continue;
        }
        const Command* command = FindCommand(id);
        QAction* action = m_pToolBar->addAction(CommandIcon(*command), ToolTipOf(id));
        action->setStatusTip(PromptOf(id));
        action->setProperty("commandId", id);
        connect(action, &QAction::triggered, this, [this, command] {
            COrvaneApp::Instance()->RunCommandIn(*command, this);
        });
        m_actions.emplace_back(command, action);
    }
    StatusPanes panes{};
    QStatusBar* bar = m_pInner->statusBar();
    panes[0] = Pane(130, "44100Hz 16 Bit Stereo ", bar);
    bar->addWidget(panes[0], 1);
    for (std::size_t i = 1; i < panes.size(); ++i) {
        panes[i] = Pane(132, "LN:0:00:00:00", bar);
        bar->addPermanentWidget(panes[i]);
    }
    m_pView->SetStatusPanes(panes);
    setWidget(m_pInner);
    // Never narrower than its panes: a squeezed status bar would draw them over each other.
    int panesWidth = 0;
    for (QLabel* pane : panes) panesWidth += pane->minimumWidth() + kPaneSpacing;
    setMinimumWidth(panesWidth + 2 * kPaneSpacing);
    resize(760, 400);
    m_pView->OnInitialUpdate();
}

CChildFrame::~CChildFrame() {
    // The view goes before the document it belongs to.
    delete m_pInner;
    COrvaneApp::Instance()->OnFrameDestroyed(m_doc, this);
}

void CChildFrame::RefreshSettings() { m_pView->RefreshSettings(); }

void CChildFrame::UpdateTitle(int windowNumber) {
    QString title = m_doc.Title();
    if (windowNumber > 0) title += QString(":%1").arg(windowNumber);
    setWindowTitle(title + "[*]");
    setWindowModified(m_doc.IsModified());
}

void CChildFrame::UpdateCommandUI(const CommandContext& context) {
    for (auto& [command, action] : m_actions) action->setEnabled(IsEnabled(*command, context));
}

void CChildFrame::CloseQuietly() {
    m_bQuiet = true;
    close();
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    if (!m_bQuiet && COrvaneApp::Instance()->FrameCountOf(m_doc) == 1 && !m_doc.SaveModified()) {
        event->ignore();
        return;
    }
    if (m_doc.m_pWave) m_doc.m_pWave->StopDevice();
    QMdiSubWindow::closeEvent(event);
}

}  // namespace kelvane
