#include "shell/RecoverDlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "resources/Strings.h"
#include "shell/WaveOpenDlg.h"

namespace kelvane {

namespace {

QString LengthText(const DocumentManifest& document) {
    const double seconds =
        document.format.samplesPerSec ? double(document.frames) / document.format.samplesPerSec : 0;
    return QString("%1 %2").arg(seconds, 0, 'f', 3).arg(QString::fromUtf8(LoadString(157)));
}

}  // namespace

CRecoverDlg::CRecoverDlg(const std::vector<DocumentManifest>& documents, QWidget* parent)
    : QDialog(parent),
      m_list(new QTreeWidget),
      m_buttonRecover(new QPushButton(tr("&Recover"))),
      m_buttonDiscard(new QPushButton(tr("&Discard"))) {
    setWindowTitle(tr("Recover Sounds"));
    auto* text = new QLabel(
        tr("Kelvane ended without closing these sounds. Recover opens them as they were after "
           "the last completed change; Discard deletes them."));
    text->setWordWrap(true);

    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->setHeaderLabels({tr("Name"), tr("Format"), tr("Length"), tr("Last change")});
    for (const DocumentManifest& document : documents) {
        const WaveFormat& f = document.format;
        m_list->addTopLevelItem(new QTreeWidgetItem(
            {document.name,
             FormatDescription(f.formatTag, f.samplesPerSec, f.bitsPerSample, f.channels),
             LengthText(document), QLocale().toString(document.changed, QLocale::ShortFormat)}));
    }
    for (int column = 0; column < m_list->columnCount(); ++column)
        m_list->resizeColumnToContents(column);
    m_list->header()->setStretchLastSection(true);
    m_list->setMinimumWidth(m_list->header()->length() + 24);

    auto* buttons = new QDialogButtonBox;
    buttons->addButton(m_buttonRecover, QDialogButtonBox::AcceptRole);
    buttons->addButton(m_buttonDiscard, QDialogButtonBox::DestructiveRole);
    m_buttonRecover->setDefault(true);
    connect(m_buttonRecover, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_buttonDiscard, &QPushButton::clicked, this, [this] { done(kDiscard); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
}

}  // namespace kelvane
