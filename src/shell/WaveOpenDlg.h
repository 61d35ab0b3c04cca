#pragma once

#include <QFileDialog>
#include <memory>

#include "wavedata/WaveObject.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace kelvane {

// The Open dialog: the file list of the filters of string 167 above a preview panel that
// shows the selected file's format, length, title and engineer, and plays it on request or,
// with "Auto Play", as soon as it is selected. With the desktop's own chooser, the preview is
// a panel of its own, shown for the chosen file before it opens.
class CWaveOpenDlg : public QFileDialog {
    Q_OBJECT

  public:
    explicit CWaveOpenDlg(QWidget* parent = nullptr);
    // Keeps the "Auto Play" choice for the next time.
    ~CWaveOpenDlg() override;

    // Shows `path` in the preview, as selecting it in the list does; an empty path clears it.
    void OnFileChanged(const QString& path);
    void OnPlay();
    void OnStop();
    void done(int result) override;
    // The preview's own window when the desktop's chooser is used, else null.
    [[nodiscard]] QDialog* Panel() const { return m_pPanel.get(); }

    QPushButton* m_buttonPlay;
    QPushButton* m_buttonStop;
    QLabel* m_labelFormat;
    QLabel* m_labelLength;
    QLabel* m_labelEngineer;
    QLabel* m_labelTitle;
    QCheckBox* m_checkAutoPlay;
    std::unique_ptr<WaveObject> m_pPreview;
    bool m_bAutoPlay;

  private:
    QWidget* BuildPreviewPanel();
    void ShowPreview();
    void UpdateButtons();
    [[nodiscard]] bool PreviewHasSound() const;

    QString m_strPreviewPath;
    std::unique_ptr<QDialog> m_pPanel;
};

// The text of a sound's format as the preview and the save dialog show it: the compression
// format's name, rate, bits and channels, or the MPEG stream's description.
[[nodiscard]] QString FormatDescription(const WaveObject& wave);
[[nodiscard]] QString FormatDescription(std::uint16_t tag, std::uint32_t rate, std::uint16_t bits,
                                        std::uint16_t channels);

}  // namespace kelvane
