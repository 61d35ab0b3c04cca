#pragma once

#include <QDialog>
#include <QTimer>
#include <memory>

#include "wavedata/WaveObject.h"

class QLabel;
class QProgressBar;

namespace kelvane {

class WaveIn;

// "Recording": records into a new sound of the document's format while showing the free
// space of the temporary folder, the time recorded and a meter per channel. Close keeps the
// sound; Escape throws it away with its temporary file.
class CRecordDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CRecordDlg(const WaveFormat& format, QWidget* parent = nullptr);
    ~CRecordDlg() override;

    // Starts recording; on failure shows the message and ends the dialog with Cancel.
    bool OnInitDialog();
    // The recorded sound, which the dialog no longer owns.
    std::unique_ptr<WaveObject> DetachRecordedWave() { return std::move(m_pWave); }
    [[nodiscard]] const WaveObject* RecordingWave() const { return m_pWave.get(); }
    // The recording ended because the temporary folder's disk took no more.
    [[nodiscard]] bool DiskFull() const { return m_bDiskFull; }
    void OnTimer();

    QLabel* m_staticDiskSpace;   // 1047
    QLabel* m_staticRecorded;    // 1048
    QProgressBar* m_meterLeft;   // 1105
    QProgressBar* m_meterRight;  // 1106

  public slots:
    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    std::unique_ptr<WaveObject> m_pWave;
    WaveIn* m_hWaveIn = nullptr;
    QTimer m_timer;
    bool m_bStarted = false;
    bool m_bDiskFull = false;
};

// Runs the recording dialog; the recorded sound, or null when cancelled or failed.
std::unique_ptr<WaveObject> RecordSound(const WaveFormat& format);

}  // namespace kelvane
