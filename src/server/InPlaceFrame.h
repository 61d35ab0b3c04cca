#pragma once

#include <QPointer>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <optional>
#include <span>
#include <vector>

#include "platform/embedding/Embedding.h"
#include "shell/CommandTable.h"

class QAction;
class QFrame;

namespace kelvane {

class COrvaneDoc;
class COrvaneView;

// The document edited inside a container: the view within the resize bar, and on the
// container's frame the in-place editing toolbar, the transport toolbar and the six-pane
// status bar. Commands of the bars and keys reach this frame's document and view.
class CInPlaceFrame final : public embedding::InPlaceFrame {
    Q_OBJECT

  public:
    CInPlaceFrame(COrvaneDoc& doc, QWidget& site);
    ~CInPlaceFrame() override;

    bool OnCreate() override;
    bool OnCreateControlBars(QMainWindow& containerFrame, QWidget& containerDoc) override;
    void OnRemoveControlBars() override;
    // The document window's Edit, Selection and Process menus.
    void AddMenus(QMenuBar& bar) override;

    [[nodiscard]] COrvaneView* View() const { return m_pView; }
    [[nodiscard]] QToolBar* EditToolBar() const { return m_wndToolBar; }
    [[nodiscard]] QToolBar* TransportToolBar() const { return m_wndTransportBar; }
    [[nodiscard]] QStatusBar* StatusBar() const { return m_wndStatusBar; }
    [[nodiscard]] QFrame* ResizeBar() const { return m_wndResizeBar; }
    void UpdateCommandUI();

  private:
    QToolBar* BuildToolBar(QMainWindow& containerFrame, const char* name,
                           std::span<const std::uint32_t> buttons);
    QAction* CommandAction(const Command& command, QObject* owner);
    void AddKeys();
    void Run(const Command& command);
    // Empty while no application runs the commands.
    [[nodiscard]] std::optional<CommandContext> Context() const;

    COrvaneDoc& m_doc;
    QPointer<QToolBar> m_wndToolBar;
    QPointer<QToolBar> m_wndTransportBar;
    QPointer<QStatusBar> m_wndStatusBar;
    QPointer<QMainWindow> m_pContainerFrame;
    QFrame* m_wndResizeBar = nullptr;
    COrvaneView* m_pView = nullptr;
    std::vector<std::pair<const Command*, QAction*>> m_actions;
    QTimer m_updateTimer;
};

}  // namespace kelvane
