#include "server/InPlaceFrame.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cstring>

#include "resources/Strings.h"
#include "shell/Icons.h"
#include "shell/MainFrame.h"
#include "shell/OrvaneApp.h"
#include "view/OrvaneView.h"

namespace kelvane {

namespace {

constexpr int kUpdateMs = 250;
constexpr std::uint32_t kCancelEdit = 32769;

// A pane at least as wide as its blanks and a typical text, as in the document window.
QLabel* Pane(std::uint32_t widthId, const char* typical, QWidget* parent) {
    auto* label = new QLabel(parent);
    const QFontMetrics metrics = label->fontMetrics();
    label->setMinimumWidth(
        std::max(metrics.horizontalAdvance(QString::fromUtf8(LoadString(widthId))),
                 metrics.horizontalAdvance(typical)) +
        12);
    label->setContentsMargins(4, 0, 4, 0);
    return label;
}

}  // namespace

CInPlaceFrame::CInPlaceFrame(COrvaneDoc& doc, QWidget& site) : InPlaceFrame(&site), m_doc(doc) {
    connect(&m_updateTimer, &QTimer::timeout, this, &CInPlaceFrame::UpdateCommandUI);
}

CInPlaceFrame::~CInPlaceFrame() {
    OnRemoveControlBars();
}

bool CInPlaceFrame::OnCreate() {
    m_wndResizeBar = new QFrame(this);
    m_wndResizeBar->setObjectName("resizebar");
    m_wndResizeBar->setProperty("controlId", embedding::kResizeBarId);
    m_wndResizeBar->setFrameStyle(QFrame::Box | QFrame::Plain);
    m_wndResizeBar->setLineWidth(4);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_wndResizeBar);
    m_pView = new COrvaneView(m_doc, m_wndResizeBar);
    auto* inner = new QVBoxLayout(m_wndResizeBar);
    inner->setContentsMargins(4, 4, 4, 4);
    inner->addWidget(m_pView);
    setAcceptDrops(true);
    setFocusProxy(m_pView);
    AddKeys();
    m_pView->OnInitialUpdate();
    return true;
}

bool CInPlaceFrame::OnCreateControlBars(QMainWindow& containerFrame, QWidget&) {
    m_pContainerFrame = &containerFrame;
    auto* bar = new QStatusBar;
    bar->setProperty("controlId", embedding::kStatusBarId);
    StatusPanes panes{};
    panes[0] = Pane(130, "44100Hz 16 Bit Stereo ", bar);
    bar->addWidget(panes[0], 1);
    for (std::size_t i = 1; i < panes.size(); ++i) {
        panes[i] = Pane(132, "LN:0:00:00:00", bar);
        bar->addPermanentWidget(panes[i]);
    }
    containerFrame.setStatusBar(bar);
    m_wndStatusBar = bar;
    m_wndToolBar = BuildToolBar(containerFrame, "toolbar4", InPlaceToolbar());
    m_wndTransportBar = BuildToolBar(containerFrame, "toolbar130", DocumentToolbar());
    containerFrame.setDockOptions(containerFrame.dockOptions() | QMainWindow::AllowNestedDocks);
    m_pView->SetStatusPanes(panes);
    m_pView->UpdateStatusBar();
    UpdateCommandUI();
    m_updateTimer.start(kUpdateMs);
    return true;
}

QToolBar* CInPlaceFrame::BuildToolBar(QMainWindow& containerFrame, const char* name,
                                      std::span<const std::uint32_t> buttons) {
    auto* bar = new QToolBar(QString::fromLatin1(name), &containerFrame);
    bar->setObjectName(name);
    bar->setProperty("controlId", embedding::kToolBarId);
    bar->setIconSize(QSize(16, 16));
    bar->setAllowedAreas(Qt::AllToolBarAreas);
    for (std::uint32_t id : buttons) {
        if (id == 0) {
            bar->addSeparator();
            continue;
        }
        QAction* action = CommandAction(*FindCommand(id), bar);
        action->setText(ToolTipOf(id));
        bar->addAction(action);
    }
    containerFrame.addToolBar(Qt::TopToolBarArea, bar);
    return bar;
}

QAction* CInPlaceFrame::CommandAction(const Command& command, QObject* owner) {
    auto* action = new QAction(CommandIcon(command), CommandText(command.menuText), owner);
    action->setStatusTip(PromptOf(command.id));
    action->setProperty("commandId", command.id);
    connect(action, &QAction::triggered, this, [this, &command] { Run(command); });
    m_actions.emplace_back(&command, action);
    return action;
}

void CInPlaceFrame::AddMenus(QMenuBar& bar) {
    static constexpr const char* kInPlaceMenus[] = {"&Edit", "&Selection", "&Process"};
    std::vector<QMenu*> stack;
    bool taken = false;
    for (const MenuRow& row : MenuWithDocument()) {
        if (row.depth == 0) {
            taken = std::any_of(std::begin(kInPlaceMenus), std::end(kInPlaceMenus),
                                [&](const char* name) { return std::strcmp(name, row.text) == 0; });
            stack.clear();
            if (taken) stack.push_back(bar.addMenu(CommandText(row.text)));
            continue;
        }
        if (!taken) continue;
        stack.resize(static_cast<std::size_t>(row.depth));
        if (row.id == 0 && row.text)
            stack.push_back(stack.back()->addMenu(CommandText(row.text)));
        else if (row.id == 0)
            stack.back()->addSeparator();
        else
            stack.back()->addAction(CommandAction(*FindCommand(row.id), stack.back()));
    }
    for (QMenu* menu : bar.findChildren<QMenu*>())
        connect(menu, &QMenu::aboutToShow, this, &CInPlaceFrame::UpdateCommandUI);
}

void CInPlaceFrame::AddKeys() {
    for (std::uint32_t id : InPlaceKeys()) {
        const Command* command = FindCommand(id);
        auto* action = new QAction(this);
        QList<QKeySequence> keys;
        for (const char* key : command->keys)
            if (key) keys.append(QKeySequence(QString::fromLatin1(key)));
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(action, &QAction::triggered, this, [this, command] { Run(*command); });
        addAction(action);
    }
    auto* cancel = new QAction(this);
    cancel->setProperty("commandId", kCancelEdit);
    cancel->setShortcut(Qt::Key_Escape);
    cancel->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(cancel, &QAction::triggered, this, &CInPlaceFrame::DeactivateRequested);
    addAction(cancel);
}

void CInPlaceFrame::OnRemoveControlBars() {
    m_updateTimer.stop();
    if (m_pView) m_pView->SetStatusPanes({});
    m_actions.clear();
    delete m_wndToolBar.data();
    delete m_wndTransportBar.data();
    if (QStatusBar* bar = m_wndStatusBar) {
        m_wndStatusBar = nullptr;
        // statusBar() would make a new bar where none is, so ask only while ours is alive.
        if (m_pContainerFrame && m_pContainerFrame->statusBar() == bar)
            m_pContainerFrame->setStatusBar(nullptr);
        else
            delete bar;
    }
    m_pContainerFrame = nullptr;
}

std::optional<CommandContext> CInPlaceFrame::Context() const {
    COrvaneApp* app = COrvaneApp::Instance();
    if (!app || !app->MainFrame()) return std::nullopt;
    return CommandContext{*app, *app->MainFrame(), nullptr, &m_doc, m_pView};
}

void CInPlaceFrame::Run(const Command& command) {
    if (const auto context = Context()) RunCommand(command, *context);
    // A progress window disabled the view while the command ran, which took its focus.
    if (m_pView && isActiveWindow() && !m_pView->hasFocus())
        m_pView->setFocus(Qt::OtherFocusReason);
    UpdateCommandUI();
}

void CInPlaceFrame::UpdateCommandUI() {
    const auto context = Context();
    for (auto& [command, action] : m_actions)
        action->setEnabled(context && IsEnabled(*command, *context));
}

}  // namespace kelvane
