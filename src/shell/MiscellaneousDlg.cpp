#include "shell/MiscellaneousDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "formats/SndfileFile.h"
#include "platform/profile/Profile.h"
#include "resources/Strings.h"
#include "shell/RecoverySession.h"
#include "ui/AppState.h"
#include "ui/DialogHost.h"
#include "ui/DialogLayout.h"
#include "wavedata/DataBlock.h"
#include "wavedata/TempFolder.h"

namespace kelvane {

namespace {

constexpr const char* kSection = "MISCELLANEOUS";
constexpr std::uint64_t kMiB = 1 << 20;

QSpinBox* SpinBox(int low, int high) {
    auto* spin = new QSpinBox;
    spin->setRange(low, high);
    return spin;
}

}  // namespace

CMiscellaneousDlg::CMiscellaneousDlg(QWidget* parent)
    : QDialog(parent),
      m_radioSystem(new QRadioButton(tr("&Windows temporary directory"))),
      m_radioUser(new QRadioButton(tr("&User defined directory"))),
      m_editSystem(new QLineEdit(QString::fromStdString(SystemTempDirectory()))),
      m_editUser(new QLineEdit),
      m_checkDither(new QCheckBox(tr("&Dither when reducing to 16 bits"))),
      m_labelSpace(new QLabel),
      m_spinUndoLevels(SpinBox(1, 999)),
      m_spinUndoDisk(SpinBox(0, 16 * 1024 * 1024)) {
    setWindowTitle(tr("Miscellaneous"));
    for (QLineEdit* edit : {m_editSystem, m_editUser}) {
        edit->setReadOnly(true);
        edit->setMinimumWidth(300);
    }
    auto* browse = new QPushButton("...");
    browse->setFixedWidth(browse->fontMetrics().horizontalAdvance("...") + 24);
    connect(browse, &QPushButton::clicked, this, &CMiscellaneousDlg::OnBrowse);
    auto* group = new QButtonGroup(this);
    group->addButton(m_radioSystem);
    group->addButton(m_radioUser);
    connect(group, &QButtonGroup::buttonToggled, this, &CMiscellaneousDlg::ShowFreeSpace);
    m_spinUndoDisk->setSuffix(tr(" MB"));
    m_spinUndoDisk->setSpecialValueText(tr("Half the free space"));

    auto* box = new QGroupBox(tr("Temporary files"));
    auto* grid = new QGridLayout(box);
    grid->addWidget(m_radioSystem, 0, 0, 1, 2);
    grid->addWidget(m_editSystem, 1, 0);
    grid->addWidget(m_radioUser, 2, 0, 1, 2);
    grid->addWidget(m_editUser, 3, 0);
    grid->addWidget(browse, 3, 1);
    grid->addWidget(m_labelSpace, 4, 0, 1, 2);

    auto* undo = new QGroupBox(tr("Undo"));
    auto* undoGrid = new QGridLayout(undo);
    auto* levelsLabel = new QLabel(tr("Undo &levels:"));
    levelsLabel->setBuddy(m_spinUndoLevels);
    auto* diskLabel = new QLabel(tr("Most disk s&pace for undo:"));
    diskLabel->setBuddy(m_spinUndoDisk);
    undoGrid->addWidget(levelsLabel, 0, 0);
    undoGrid->addWidget(m_spinUndoLevels, 0, 1);
    undoGrid->addWidget(diskLabel, 1, 0);
    undoGrid->addWidget(m_spinUndoDisk, 1, 1);
    undoGrid->setColumnStretch(1, 1);

    auto* column = new QVBoxLayout;
    column->addWidget(box);
    column->addWidget(undo);
    column->addWidget(m_checkDither);
    SetDialogLayout(*this, column);
    LoadSettings();
    ShowSettings();
}

void CMiscellaneousDlg::LoadSettings() {
    m_settings.Load();
    m_checkDither->setChecked(LoadDitherSetting());
    m_nUndoLevels = std::clamp(GetProfileInt(kSection, "UNDOLEVELS", 20), 1, 999);
    m_nUndoDiskLimit = std::max(GetProfileInt(kSection, "UNDODISKLIMIT", 0), 0);
}

void CMiscellaneousDlg::SaveSettings() const {
    m_settings.Save();
    SaveDitherSetting(m_checkDither->isChecked());
    WriteProfileInt(kSection, "UNDOLEVELS", m_nUndoLevels);
    WriteProfileInt(kSection, "UNDODISKLIMIT", m_nUndoDiskLimit);
}

void CMiscellaneousDlg::ApplySettings() const {
    const std::string folder = TempFolderFor(m_settings.Apply());
    App().tempDir = Recovery() ? Recovery()->FolderIn(folder) : folder;
    App().undoLevels = m_nUndoLevels;
    App().undoDiskLimit = static_cast<std::uint64_t>(m_nUndoDiskLimit) * kMiB;
}

void CMiscellaneousDlg::ShowSettings() {
    (m_settings.tempPathType == 1 ? m_radioUser : m_radioSystem)->setChecked(true);
    m_editUser->setText(QString::fromStdString(m_settings.userDirectory));
    m_spinUndoLevels->setValue(m_nUndoLevels);
    m_spinUndoDisk->setValue(m_nUndoDiskLimit);
    ShowFreeSpace();
}

// Sounds larger than memory need a folder on a disk; a memory file system holds them in RAM.
void CMiscellaneousDlg::ShowFreeSpace() {
    const QString folder = (m_radioUser->isChecked() ? m_editUser : m_editSystem)->text();
    const std::string path = folder.toStdString();
    QString text = tr("Free space: %1")
                       .arg(QLocale().formattedDataSize(static_cast<qint64>(FreeDiskBytes(path)), 1,
                                                        QLocale::DataSizeTraditionalFormat));
    if (IsMemoryFileSystem(path))
        text += tr("\nThis folder is in memory: sounds larger than memory will not fit.");
    m_labelSpace->setText(text);
}

void CMiscellaneousDlg::OnBrowse() {
    QFileDialog chooser(this, QString::fromUtf8(LoadString(200)));
    chooser.setFileMode(QFileDialog::Directory);
    chooser.setOption(QFileDialog::ShowDirsOnly);
    chooser.setOption(QFileDialog::DontUseNativeDialog);
    if (RunModal(chooser) != QDialog::Accepted || chooser.selectedFiles().isEmpty()) return;
    m_settings.userDirectory = chooser.selectedFiles().front().toStdString();
    m_settings.tempPathType = m_radioUser->isChecked() ? 1 : 0;
    ShowSettings();
}

void CMiscellaneousDlg::accept() {
    m_settings.tempPathType = m_radioUser->isChecked() ? 1 : 0;
    m_settings.userDirectory = m_editUser->text().toStdString();
    m_nUndoLevels = m_spinUndoLevels->value();
    m_nUndoDiskLimit = m_spinUndoDisk->value();
    SaveSettings();
    ApplySettings();
    QDialog::accept();
}

}  // namespace kelvane
