#include "shell/MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>
#include <cmath>

#include "document/OrvaneDoc.h"
#include "resources/Strings.h"
#include "shell/ChildFrame.h"
#include "shell/Icons.h"
#include "shell/MdiBackground.h"
#include "shell/MiscellaneousDlg.h"
#include "shell/OrvaneApp.h"
#include "ui/AppState.h"
#include "ui/DialogHost.h"
#include "view/ColorDlg.h"
#include "view/DisplayFormatDlg.h"
#include "view/OrvaneView.h"

namespace kelvane {

namespace {

constexpr int kPollMs = 250;
constexpr int kUpdateMs = 200;

}  // namespace

CMainFrame::CMainFrame(COrvaneApp& app)
    : m_app(app),
      m_pMdiArea(new QMdiArea),
      m_pToolBar(new QToolBar(tr("Standard"), this)),
      m_pUnitPane(new QLabel) {
    setWindowTitle(QString::fromUtf8(LoadString(128)));
    setWindowIcon(AppIcon());
    // Windows without an owner (the document's dialogs) show it too, not a blank one.
    QApplication::setWindowIcon(windowIcon());
    setAcceptDrops(true);
    m_pMdiArea->setBackground(MdiBackgroundBrush());
    m_pMdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_pMdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_pMdiArea);
    CreateActions();

    m_pToolBar->setObjectName("toolbar128");
    m_pToolBar->setIconSize(QSize(16, 16));
    for (std::uint32_t id : MainToolbar()) {
        if (id)
            m_pToolBar->addAction(m_actions.at(id));
        else
            m_pToolBar->addSeparator();
    }
    addToolBar(Qt::TopToolBarArea, m_pToolBar);

    m_pUnitPane->setMinimumWidth(
        m_pUnitPane->fontMetrics().horizontalAdvance(QString::fromUtf8(LoadString(132))) + 24);
    m_pUnitPane->setAlignment(Qt::AlignCenter);
    statusBar()->addPermanentWidget(m_pUnitPane);
    SetUnitPane();

    BuildMenus(MenuWithoutDocument(), m_menusWithoutDocument);
    BuildMenus(MenuWithDocument(), m_menusWithDocument);
    m_bDocumentMenus = true;  // so that the first update installs the other set
    UpdateMenus();

    connect(m_pMdiArea, &QMdiArea::subWindowActivated, this, [this] {
        UpdateMenus();
        UpdateTitle();
        UpdateCommandUI();
    });
    connect(&m_pollTimer, &QTimer::timeout, this, &CMainFrame::OnPoll);
    m_pollTimer.start(kPollMs);
    connect(&m_updateTimer, &QTimer::timeout, this, &CMainFrame::UpdateCommandUI);
    m_updateTimer.start(kUpdateMs);
    resize(1000, 700);
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::CreateActions() {
    for (const Command& command : Commands()) {
        auto* action = new QAction(CommandIcon(command), CommandText(command.menuText), this);
        action->setToolTip(ToolTipOf(command.id));
        action->setStatusTip(PromptOf(command.id));
        action->setProperty("commandId", command.id);
        QList<QKeySequence> keys;
        for (const char* key : command.keys)
            if (key) keys.append(QKeySequence(QString::fromLatin1(key)));
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setCheckable(command.checked != nullptr);
        // Toolbar-only commands carry no icon in menus; keys work without a menu.
        action->setIconVisibleInMenu(true);
        addAction(action);
        connect(action, &QAction::triggered, this,
                [this, &command] { m_app.RunCommandIn(command, ActiveChild()); });
        m_actions.emplace(command.id, action);
    }
}

void CMainFrame::BuildMenus(std::span<const MenuRow> rows, std::vector<QMenu*>& menus) {
    std::vector<QMenu*> stack;
    for (const MenuRow& row : rows) {
        stack.resize(static_cast<std::size_t>(row.depth));
        if (row.id == 0 && row.text) {
            auto* menu = new QMenu(CommandText(row.text), this);
            if (stack.empty())
                menus.push_back(menu);
            else
                stack.back()->addMenu(menu);
            connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
            stack.push_back(menu);
        } else if (row.id == 0) {
            stack.back()->addSeparator();
        } else if (row.id == kRecentFiles) {
            QMenu* menu = stack.back();
            QAction* placeholder = menu->addAction(tr("Recent File"));
            placeholder->setEnabled(false);
            connect(menu, &QMenu::aboutToShow, this,
                    [this, menu, placeholder] { FillRecentFiles(menu, placeholder); });
        } else {
            QMenu* menu = stack.back();
            menu->addAction(m_actions.at(row.id));
            if (row.id == kNewWindow)
                connect(menu, &QMenu::aboutToShow, this, [this, menu] { FillWindowList(menu); });
        }
    }
}

void CMainFrame::FillWindowList(QMenu* menu) {
    for (QAction* action : menu->actions())
        if (action->property("windowList").isValid()) delete action;
    const std::vector<CChildFrame*> children = Children();
    if (children.empty()) return;
    menu->addSeparator()->setProperty("windowList", true);
    for (std::size_t i = 0; i < children.size(); ++i) {
        CChildFrame* child = children[i];
        auto* action =
            menu->addAction(QString("&%1 %2").arg(i + 1).arg(child->windowTitle().remove("[*]")));
        action->setProperty("windowList", true);
        action->setCheckable(true);
        action->setChecked(child == ActiveChild());
        connect(action, &QAction::triggered, this,
                [this, child] { m_pMdiArea->setActiveSubWindow(child); });
    }
}

void CMainFrame::FillRecentFiles(QMenu* menu, QAction* placeholder) {
    for (QAction* action : menu->actions())
        if (action->property("recentIndex").isValid()) delete action;
    const QStringList& files = m_app.RecentFiles();
    placeholder->setVisible(files.isEmpty());
    QAction* before = placeholder;
    for (int i = static_cast<int>(files.size()) - 1; i >= 0; --i) {
        auto* action =
            new QAction(QString("&%1 %2").arg(i + 1).arg(QFileInfo(files[i]).fileName()), menu);
        action->setStatusTip(files[i]);
        action->setProperty("recentIndex", i);
        connect(action, &QAction::triggered, this, [this, i] { m_app.OpenRecent(i); });
        menu->insertAction(before, action);
        before = action;
    }
}

CChildFrame* CMainFrame::ActiveChild() const {
    return qobject_cast<CChildFrame*>(m_pMdiArea->activeSubWindow());
}

std::vector<CChildFrame*> CMainFrame::Children() const {
    std::vector<CChildFrame*> children;
    for (QMdiSubWindow* window : m_pMdiArea->subWindowList())
        if (auto* child = qobject_cast<CChildFrame*>(window)) children.push_back(child);
    return children;
}

CommandContext CMainFrame::ContextOf(CChildFrame* child) {
    return {m_app, *this, child, child ? &child->Document() : nullptr,
            child ? child->View() : nullptr};
}

QAction* CMainFrame::ActionOf(std::uint32_t id) const {
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

void CMainFrame::AddChild(CChildFrame* child) {
    m_pMdiArea->addSubWindow(child);
    child->show();
    m_pMdiArea->setActiveSubWindow(child);
    UpdateMenus();
    UpdateCommandUI();
}

void CMainFrame::UpdateCommandUI() {
    const CommandContext context = ContextOf(ActiveChild());
    for (const Command& command : Commands()) {
        QAction* action = m_actions.at(command.id);
        action->setEnabled(IsEnabled(command, context));
        if (command.checked) action->setChecked(command.checked(context));
    }
    for (CChildFrame* child : Children()) child->UpdateCommandUI(ContextOf(child));
}

void CMainFrame::UpdateMenus() {
    const bool withDocument = ActiveChild() != nullptr;
    if (withDocument == m_bDocumentMenus) return;
    m_bDocumentMenus = withDocument;
    menuBar()->clear();
    for (QMenu* menu : withDocument ? m_menusWithDocument : m_menusWithoutDocument)
        menuBar()->addMenu(menu);
}

void CMainFrame::UpdateTitle() {
    const QString product = QString::fromUtf8(LoadString(128));
    CChildFrame* child = ActiveChild();
    // The modified mark as the document's window shows it.
    setWindowTitle(child ? product + " - " + child->Document().Title() + "[*]" : product);
    setWindowModified(child && child->Document().IsModified());
}

void CMainFrame::SetUnitPane() {
    m_pUnitPane->setText(QString::fromStdString(UnitName(App().display.unit)));
}

void CMainFrame::BroadcastSettingsChanged() {
    for (CChildFrame* child : Children()) child->RefreshSettings();
}

void CMainFrame::BringToFront() {
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
}

void CMainFrame::OnColor() {
    CColorDlg dialog(this);
    if (RunModal(dialog) == QDialog::Accepted) BroadcastSettingsChanged();
}

void CMainFrame::OnDisplayFormat() {
    CDisplayFormatDlg dialog(this);
    if (RunModal(dialog) != QDialog::Accepted) return;
    BroadcastSettingsChanged();
    SetUnitPane();
}

void CMainFrame::OnMiscellaneous() {
    CMiscellaneousDlg dialog(this);
    RunModal(dialog);
}

void CMainFrame::ToggleToolbar() {
    m_pToolBar->setVisible(!m_pToolBar->isVisible());
}

void CMainFrame::ToggleStatusBar() {
    statusBar()->setVisible(!statusBar()->isVisible());
}

bool CMainFrame::ToolbarVisible() const {
    return !m_pToolBar->isHidden();
}

bool CMainFrame::StatusBarVisible() const {
    return !statusBar()->isHidden();
}

void CMainFrame::Cascade() {
    m_pMdiArea->cascadeSubWindows();
}

void CMainFrame::Tile() {
    // The area's own tiling ignores the windows' minimum width (their status panes) and pushes
    // the right column past the edge: as many columns as fit side by side, rows for the rest.
    std::vector<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : m_pMdiArea->subWindowList())
        if (!window->isMinimized()) windows.push_back(window);
    if (windows.empty()) return;
    const QRect area = m_pMdiArea->viewport()->rect();
    int widest = 1;
    for (QMdiSubWindow* window : windows) widest = std::max(widest, window->minimumWidth());
    const int n = static_cast<int>(windows.size());
    const int square = static_cast<int>(std::ceil(std::sqrt(n)));
    const int columns = std::clamp(area.width() / widest, 1, square);
    const int rows = (n + columns - 1) / columns;
    for (int i = 0; i < n; ++i) {
        const int row = i / columns, column = i % columns;
        // The last row's windows share its width between them.
        const int inRow = row == rows - 1 ? n - row * columns : columns;
        const int left = area.width() * column / inRow, right = area.width() * (column + 1) / inRow;
        const int top = area.height() * row / rows, bottom = area.height() * (row + 1) / rows;
        windows[i]->showNormal();
        windows[i]->setGeometry(left, top, right - left, bottom - top);
    }
}

void CMainFrame::ArrangeIcons() {
    // Minimized windows line up along the bottom when the area lays them out again.
    for (QMdiSubWindow* window : m_pMdiArea->subWindowList())
        if (window->isMinimized()) window->showMinimized();
}

void CMainFrame::OnPoll() {
    m_app.PollInstanceBlock();
    UpdateCommandUI();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!m_app.SaveAllModified()) {
        event->ignore();
        return;
    }
    m_app.CloseAllDocuments();
    QMainWindow::closeEvent(event);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) m_app.OpenDocumentFile(url.toLocalFile());
    event->acceptProposedAction();
}

void CMainFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) m_app.OnActivateApp();
}

}  // namespace kelvane
