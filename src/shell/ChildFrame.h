#pragma once

#include <QMdiSubWindow>
#include <QPointer>
#include <vector>

#include "shell/CommandTable.h"

class QAction;
class QMainWindow;
class QToolBar;

namespace kelvane {

class COrvaneDoc;
class COrvaneView;

// A document window: a subwindow of the main frame holding the view with its own transport
// and zoom toolbar and its six-pane status bar.
class CChildFrame : public QMdiSubWindow {
    Q_OBJECT

  public:
    CChildFrame(COrvaneDoc& doc, QWidget* parent = nullptr);
    ~CChildFrame() override;

    [[nodiscard]] COrvaneDoc& Document() const { return m_doc; }
    [[nodiscard]] COrvaneView* View() const { return m_pView; }
    [[nodiscard]] QToolBar* ToolBar() const { return m_pToolBar; }
    [[nodiscard]] QMainWindow* Inner() const { return m_pInner; }
    // The settings-changed notification: the view recomputes and repaints.
    void RefreshSettings();
    void UpdateTitle(int windowNumber);
    void UpdateCommandUI(const CommandContext& context);
    // Closes without the save question (Close All has asked already).
    void CloseQuietly();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    COrvaneDoc& m_doc;
    QMainWindow* m_pInner;
    COrvaneView* m_pView;
    QToolBar* m_pToolBar;
    std::vector<std::pair<const Command*, QAction*>> m_actions;
    bool m_bQuiet = false;
};

}  // namespace kelvane
