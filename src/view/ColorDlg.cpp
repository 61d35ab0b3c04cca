#include "view/ColorDlg.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "resources/Strings.h"
#include "ui/AppState.h"
#include "ui/DialogLayout.h"

namespace kelvane {

namespace {

constexpr int kSwatchSize = 22;

QString Fill(std::uint32_t rgb) {
    return QString("background-color: #%1; border: 1px solid #606060;").arg(rgb, 6, 16, QChar('0'));
}

}  // namespace

CColorDlg::CColorDlg(QWidget* parent) : QDialog(parent), m_list(new QListWidget), m_current(new QFrame) {
    setWindowTitle(tr("Color"));
    for (std::size_t i = 0; i < ColorSettings::kCount; ++i)
        m_list->addItem(QString::fromUtf8(LoadString(ColorNameId(i))));
    m_list->setMinimumWidth(m_list->sizeHintForColumn(0) + 32);
    m_list->setMinimumHeight(m_list->sizeHintForRow(0) * static_cast<int>(ColorSettings::kCount) + 8);

    auto* palette = new QGroupBox(tr("Colors"));
    auto* grid = new QGridLayout(palette);
    for (int i = 0; i < 16; ++i) {
        auto* swatch = new QToolButton;
        swatch->setFixedSize(kSwatchSize, kSwatchSize);
        swatch->setStyleSheet(Fill(kPalette[static_cast<std::size_t>(i)]));
        swatch->setToolTip(QString("#%1").arg(kPalette[static_cast<std::size_t>(i)], 6, 16, QChar('0')));
        connect(swatch, &QToolButton::clicked, this, [this, i] { OnSwatch(i); });
        grid->addWidget(swatch, i / 8, i % 8);
        m_swatches[static_cast<std::size_t>(i)] = swatch;
    }
    auto* currentBox = new QGroupBox(tr("Current Color"));
    auto* currentLayout = new QHBoxLayout(currentBox);
    m_current->setFixedHeight(kSwatchSize);
    currentLayout->addWidget(m_current);
    auto* reset = new QPushButton(tr("&Reset"));
    connect(reset, &QPushButton::clicked, this, &CColorDlg::OnReset);

    auto* right = new QVBoxLayout;
    right->addWidget(palette);
    right->addWidget(currentBox);
    right->addStretch();
    right->addWidget(reset, 0, Qt::AlignLeft);
    auto* row = new QHBoxLayout;
    row->addWidget(m_list);
    row->addLayout(right);
    SetDialogLayout(*this, row);

    connect(m_list, &QListWidget::currentRowChanged, this, &CColorDlg::ShowCurrent);
    LoadSettings();
    m_list->setCurrentRow(0);
    ShowCurrent();
}

void CColorDlg::LoadSettings() { m_settings.Load(); }

void CColorDlg::SaveSettings() const { m_settings.Save(); }

void CColorDlg::ApplySettings() const {
    App().screenColors = m_settings.Screen();
    App().documentColors = m_settings.Document();
}

void CColorDlg::OnSwatch(int index) {
    const int row = m_list->currentRow();
    if (row < 0) return;
    m_settings.indices[static_cast<std::size_t>(row)] = index;
    ShowCurrent();
}

void CColorDlg::OnReset() {
    m_settings.Reset();
    ShowCurrent();
}

void CColorDlg::ShowCurrent() {
    const int row = std::max(m_list->currentRow(), 0);
    const int index = m_settings.indices[static_cast<std::size_t>(row)] & 15;
    m_current->setStyleSheet(Fill(kPalette[static_cast<std::size_t>(index)]));
}

void CColorDlg::accept() {
    SaveSettings();
    ApplySettings();
    QDialog::accept();
}

}  // namespace kelvane
