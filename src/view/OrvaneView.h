#pragma once

#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>

#include "document/OrvaneDoc.h"

class QLabel;

namespace kelvane {

class ProgressDialog;
class CWaveformWnd;

// The six panes of a document window's status bar, which the view writes.
using StatusPanes = std::array<QLabel*, 6>;

// The view of a document: the waveform windows, the progress window of long operations and
// the document window's status panes.
class COrvaneView : public QWidget, public DocumentView {
    Q_OBJECT

  public:
    COrvaneView(COrvaneDoc& doc, QWidget* parent = nullptr);
    ~COrvaneView() override;

    [[nodiscard]] COrvaneDoc& GetDocument() const { return m_doc; }
    void SetStatusPanes(const StatusPanes& panes);
    void OnInitialUpdate();

    void OnUpdate(std::uint32_t hint) override;
    void BeginProgress() override;
    void SetProgressText(std::string_view text) override;
    void EndProgress() override;
    [[nodiscard]] ProgressIndicator* Progress() override;
    [[nodiscard]] ProgressDialog* ProgressWindow() const { return m_pProgress.get(); }

    // The colours or the unit changed.
    void RefreshSettings();
    void UpdateStatusBar();
    // F6 and Shift+F6.
    void NextPane(bool forward);

    void OnZoomIn();
    void OnZoomOut();
    void OnZoomToFit();
    [[nodiscard]] bool CanZoomIn() const;
    [[nodiscard]] bool CanZoomOut() const;
    [[nodiscard]] bool CanZoomToFit() const;

    [[nodiscard]] CWaveformWnd& Overview() const { return *m_wndOverview; }
    [[nodiscard]] CWaveformWnd& Detail() const { return *m_wndDetail; }
    [[nodiscard]] bool IsFollowingPlayback() const { return m_timer.isActive(); }
    // The play cursor's tick (every 100 ms while playing).
    void OnTimer();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void Zoom(std::uint32_t zoom);
    [[nodiscard]] bool IsPlaying() const;

    COrvaneDoc& m_doc;
    CWaveformWnd* m_wndOverview;
    CWaveformWnd* m_wndDetail;
    StatusPanes m_panes{};
    std::unique_ptr<ProgressDialog> m_pProgress;
    unsigned m_nProgressNesting = 0;
    bool m_bInitialized = false;
    QTimer m_timer;
};

}  // namespace kelvane
