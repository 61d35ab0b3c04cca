#include "shell/MiscellaneousDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "formats/SndfileFile.h"
#include "resources/Strings.h"
#include "ui/AppState.h"
#include "ui/DialogHost.h"
#include "ui/DialogLayout.h"

namespace kelvane {

CMiscellaneousDlg::CMiscellaneousDlg(QWidget* parent)
    : QDialog(parent),
      m_radioSystem(new QRadioButton("&Windows temporary directory")),
      m_radioUser(new QRadioButton("&User defined directory")),
      m_editSystem(new QLineEdit(QDir::tempPath() + "/")),
      m_editUser(new QLineEdit),
      m_checkDither(new QCheckBox("&Dither when reducing to 16 bits")) {
    setWindowTitle("Miscellaneous");
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

    auto* box = new QGroupBox("Temporary files");
    auto* grid = new QGridLayout(box);
    grid->addWidget(m_radioSystem, 0, 0, 1, 2);
    grid->addWidget(m_editSystem, 1, 0);
    grid->addWidget(m_radioUser, 2, 0, 1, 2);
    grid->addWidget(m_editUser, 3, 0);
    grid->addWidget(browse, 3, 1);
    auto* column = new QVBoxLayout;
    column->addWidget(box);
    column->addWidget(m_checkDither);
    SetDialogLayout(*this, column);
    LoadSettings();
    ShowSettings();
}

void CMiscellaneousDlg::LoadSettings() {
    m_settings.Load();
    m_checkDither->setChecked(LoadDitherSetting());
}

void CMiscellaneousDlg::SaveSettings() const {
    m_settings.Save();
    SaveDitherSetting(m_checkDither->isChecked());
}

void CMiscellaneousDlg::ApplySettings() const {
    App().tempDir = m_settings.Apply();
}

void CMiscellaneousDlg::ShowSettings() {
    (m_settings.tempPathType == 1 ? m_radioUser : m_radioSystem)->setChecked(true);
    m_editUser->setText(QString::fromStdString(m_settings.userDirectory));
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
    SaveSettings();
    ApplySettings();
    QDialog::accept();
}

}  // namespace kelvane
