#pragma once

#include <QMainWindow>
#include <QTimer>
#include <map>
#include <vector>

#include "shell/CommandTable.h"

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;

namespace kelvane {

class CChildFrame;

// The main window: the document area, the main toolbar, the menus of both states, the status
// bar with the unit pane, and the accelerators of every command.
class CMainFrame : public QMainWindow {
    Q_OBJECT

  public:
    explicit CMainFrame(COrvaneApp& app);
    ~CMainFrame() override;

    [[nodiscard]] QMdiArea* MdiArea() const { return m_pMdiArea; }
    [[nodiscard]] CChildFrame* ActiveChild() const;
    [[nodiscard]] std::vector<CChildFrame*> Children() const;
    [[nodiscard]] CommandContext ContextOf(CChildFrame* child);
    [[nodiscard]] QAction* ActionOf(std::uint32_t id) const;
    [[nodiscard]] QToolBar* ToolBar() const { return m_pToolBar; }
    [[nodiscard]] QLabel* UnitPane() const { return m_pUnitPane; }

    void AddChild(CChildFrame* child);
    // Runs every enable rule into the actions of the menus and toolbars.
    void UpdateCommandUI();
    // The menu of the state the frame is in: with or without a document.
    void UpdateMenus();
    // "Kelvane - " and the active document's title, with "*" when it is modified.
    void UpdateTitle();
    void SetUnitPane();
    // The settings-changed notification to every document window.
    void BroadcastSettingsChanged();
    void BringToFront();

    void OnColor();
    void OnDisplayFormat();
    void OnMiscellaneous();
    void ToggleToolbar();
    void ToggleStatusBar();
    [[nodiscard]] bool ToolbarVisible() const;
    [[nodiscard]] bool StatusBarVisible() const;
    void Cascade();
    void Tile();
    void ArrangeIcons();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void CreateActions();
    void BuildMenus(std::span<const MenuRow> rows, std::vector<QMenu*>& menus);
    void FillRecentFiles(QMenu* menu, QAction* placeholder);
    void FillWindowList(QMenu* menu);
    void OnPoll();

    COrvaneApp& m_app;
    QMdiArea* m_pMdiArea;
    QToolBar* m_pToolBar;
    QLabel* m_pUnitPane;
    std::map<std::uint32_t, QAction*> m_actions;
    std::vector<QMenu*> m_menusWithoutDocument;
    std::vector<QMenu*> m_menusWithDocument;
    bool m_bDocumentMenus = false;
    QTimer m_pollTimer;
    QTimer m_updateTimer;
};

}  // namespace kelvane
