#pragma once

#include <QWidget>
#include <array>
#include <memory>

#include "document/OrvaneDoc.h"

class QLabel;

namespace kelvane {

class ProgressDialog;

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

    [[nodiscard]] std::uint32_t DetailZoom() const { return m_nDetailZoom; }

  private:
    COrvaneDoc& m_doc;
    StatusPanes m_panes{};
    std::unique_ptr<ProgressDialog> m_pProgress;
    unsigned m_nProgressNesting = 0;
    std::uint32_t m_nDetailZoom = 1;
    bool m_bInitialized = false;
};

}  // namespace kelvane
