#include "shell/AboutDlg.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "resources/Strings.h"
#include "shell/Icons.h"

namespace kelvane {

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent), m_buttonWeb(new QPushButton(QString::fromUtf8(LoadString(222)))) {
    setWindowTitle(tr("About Kelvane"));
    auto* icon = new QLabel;
    icon->setPixmap(AppIcon().pixmap(64, 64));
    auto* title = new QLabel(QString("<b>%1</b>").arg(QString::fromUtf8(LoadString(220))));
    auto* version = new QLabel(QString::fromUtf8(FormatString(221, KELVANE_VERSION)));
    auto* texts = new QVBoxLayout;
    texts->addWidget(title);
    texts->addWidget(version);
    texts->addWidget(new QLabel("Copyright \u00a9 Vantrel Software"));
    texts->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->addButton(m_buttonWeb, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_buttonWeb, &QPushButton::clicked, this,
            [] { QDesktopServices::openUrl(QUrl(QString::fromLatin1(kWebPage))); });
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace kelvane
