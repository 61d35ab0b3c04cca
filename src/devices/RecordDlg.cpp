#include "devices/RecordDlg.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <algorithm>
#include <filesystem>

#include "devices/Recording.h"
#include "document/DocumentManifest.h"
#include "resources/Strings.h"
#include "ui/AppState.h"
#include "ui/DialogHost.h"
#include "ui/DialogLayout.h"

namespace kelvane {

namespace {

constexpr int kTimerMs = 100;
constexpr int kMeterMax = 32767;

// Free bytes where the temporary files go; 0 when the folder cannot be reached.
std::uintmax_t FreeBytes(const std::string& folder) {
    std::error_code error;
    const auto info =
        std::filesystem::space(folder.empty() ? SystemTempDirectory() : folder, error);
    return error ? 0 : info.available;
}

}  // namespace

CRecordDlg::CRecordDlg(const WaveFormat& format, QWidget* parent)
    : QDialog(parent),
      m_staticDiskSpace(new QLabel),
      m_staticRecorded(new QLabel),
      m_meterLeft(new QProgressBar),
      m_meterRight(new QProgressBar),
      m_pWave(std::make_unique<WaveObject>(1, App().tempDir.c_str())) {
    setWindowTitle(tr("Recording"));
    m_pWave->Allocate(format, 0);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("Available Disk Space:")), 0, 0);
    grid->addWidget(m_staticDiskSpace, 0, 1);
    grid->addWidget(new QLabel(tr("Recorded Samples:")), 1, 0);
    grid->addWidget(m_staticRecorded, 1, 1);
    grid->addWidget(new QLabel(tr("Left:")), 2, 0);
    grid->addWidget(m_meterLeft, 2, 1);
    grid->addWidget(new QLabel(tr("Right:")), 3, 0);
    grid->addWidget(m_meterRight, 3, 1);
    grid->setColumnMinimumWidth(1, 260);
    for (QProgressBar* meter : {m_meterLeft, m_meterRight}) {
        meter->setRange(0, kMeterMax);
        meter->setValue(0);
        meter->setTextVisible(false);
    }
    QDialogButtonBox* box = SetDialogLayout(*this, grid, QDialogButtonBox::Close);
    // Close keeps the recording, as OK would.
    connect(box, &QDialogButtonBox::rejected, this, &CRecordDlg::accept);
    disconnect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(&m_timer, &QTimer::timeout, this, &CRecordDlg::OnTimer);
}

CRecordDlg::~CRecordDlg() = default;

bool CRecordDlg::OnInitDialog() {
    if (m_bStarted) return true;
    m_bStarted = true;
    m_timer.start(kTimerMs);
    if (StartRecord(*m_pWave, App().waveInDevice, &m_hWaveIn) != DeviceCode::Ok) {
        m_timer.stop();
        MessageBox(1002);
        reject();
        return false;
    }
    AnnounceRecording({RecordingFileName(*m_pWave), *m_pWave->format});
    OnTimer();
    return true;
}

void CRecordDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    OnInitDialog();
}

void CRecordDlg::OnTimer() {
    if (!m_pWave) return;
    if (RecordingWriteFailed(*m_pWave)) {
        // What reached the disk is kept, as Close would keep it.
        m_bDiskFull = true;
        accept();
        return;
    }
    m_staticDiskSpace->setText(
        QString("%1 %2").arg(FreeBytes(App().tempDir)).arg(QString::fromUtf8(LoadString(155))));
    const std::uint32_t rate = m_pWave->format ? m_pWave->format->samplesPerSec : 0;
    const double seconds = rate ? static_cast<double>(GetRecordedFrames(*m_pWave)) / rate : 0.0;
    m_staticRecorded->setText(QString::asprintf("%.4f %s", seconds, LoadString(157).data()));
    m_meterLeft->setValue(
        static_cast<int>(std::min<std::uint32_t>(GetLeftPeak(*m_pWave), kMeterMax)));
    m_meterRight->setValue(
        static_cast<int>(std::min<std::uint32_t>(GetRightPeak(*m_pWave), kMeterMax)));
}

void CRecordDlg::accept() {
    m_timer.stop();
    if (m_pWave) m_pWave->StopDevice();
    QDialog::accept();
}

std::unique_ptr<WaveObject> RecordSound(const WaveFormat& format) {
    CRecordDlg dialog(format, QApplication::activeWindow());
    if (!dialog.OnInitDialog()) return nullptr;
    if (RunModal(dialog) != QDialog::Accepted) return nullptr;
    // Shown once the dialog is gone, over the window the take goes to.
    if (dialog.DiskFull()) MessageBox(1003);
    return dialog.DetachRecordedWave();
}

}  // namespace kelvane
