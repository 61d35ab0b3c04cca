#include "ui/FormatChooserDlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <algorithm>

#include "resources/Strings.h"
#include "ui/DialogHost.h"
#include "ui/DialogLayout.h"

namespace kelvane {

CFormatChooserDlg::CFormatChooserDlg(const WaveFormat* seed, QWidget* parent)
    : QDialog(parent),
      m_comboTag(new QComboBox),
      m_comboAttributes(new QComboBox),
      m_formats(AcmEnumFormats(seed)) {
    setWindowTitle(QString::fromUtf8(LoadString(171)));
    for (const std::uint16_t tag : AcmFormatTags()) {
        const bool offered = std::any_of(m_formats.begin(), m_formats.end(),
                                         [tag](const AcmFormatDetails& f) { return f.tag == tag; });
        if (offered) m_comboTag->addItem(QString::fromUtf8(AcmFormatTagName(tag)), tag);
    }
    m_comboAttributes->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(m_comboTag, &QComboBox::currentIndexChanged, this, &CFormatChooserDlg::FillAttributes);
    FillAttributes();
    auto* form = new QFormLayout;
    form->addRow(tr("&Format:"), m_comboTag);
    form->addRow(tr("&Attributes:"), m_comboAttributes);
    SetDialogLayout(*this, form);
}

void CFormatChooserDlg::FillAttributes() {
    m_comboAttributes->clear();
    const auto tag = static_cast<std::uint16_t>(m_comboTag->currentData().toUInt());
    for (std::size_t i = 0; i < m_formats.size(); ++i)
        if (m_formats[i].tag == tag)
            m_comboAttributes->addItem(QString::fromStdString(m_formats[i].description),
                                       static_cast<qulonglong>(i));
}

const AcmFormatDetails* CFormatChooserDlg::Chosen() const {
    const QVariant index = m_comboAttributes->currentData();
    if (!index.isValid()) return nullptr;
    return &m_formats[static_cast<std::size_t>(index.toULongLong())];
}

const WaveFormat* CFormatChooserDlg::Format() const {
    const AcmFormatDetails* chosen = Chosen();
    return chosen ? chosen->format.get() : nullptr;
}

QString CFormatChooserDlg::TagName() const {
    const AcmFormatDetails* chosen = Chosen();
    return chosen ? QString::fromUtf8(AcmFormatTagName(chosen->tag)) : QString();
}

QString CFormatChooserDlg::Description() const {
    const AcmFormatDetails* chosen = Chosen();
    return chosen ? QString::fromStdString(chosen->description) : QString();
}

FormatChooser::FormatChooser(const QString& title, const WaveFormat* seed, QWidget* owner)
    : m_title(title), m_seed(seed ? CopyFormat(*seed) : nullptr), m_owner(owner) {}

int FormatChooser::Run() {
    m_chosen.reset();
    CFormatChooserDlg dialog(m_seed.get(), m_owner);
    if (!m_title.isEmpty()) dialog.setWindowTitle(m_title);
    if (RunModal(dialog) != QDialog::Accepted || !dialog.Format()) return 2;
    m_chosen = CopyFormat(*dialog.Format());
    if (m_chosen->formatTag == kTagPcm) m_chosen->extraSize = 0;
    m_tagName = dialog.TagName();
    m_description = dialog.Description();
    return 1;
}

}  // namespace kelvane
