#include "shell/WaveSaveDlg.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "document/DocumentFiles.h"
#include "resources/Strings.h"
#include "shell/WaveOpenDlg.h"
#include "ui/DialogHost.h"
#include "ui/DialogLayout.h"
#include "ui/EncoderOptionsDlg.h"
#include "ui/FileFilters.h"
#include "ui/FormatChooserDlg.h"
#include "ui/RawDataFormatDlg.h"
#include "ui/RealAudioMethodDlg.h"
#include "ui/SubFormatDlg.h"

namespace kelvane {

namespace {

constexpr std::uint32_t kTypeList = 169;
constexpr std::uint32_t kSubFormatTitle = 171;
constexpr std::uint32_t kFirstAuName = 172;
constexpr std::uint32_t kFirstMethodName = 175;
constexpr std::uint32_t kFirstRawName = 209;
constexpr const char* kDefaultExtensions[] = {"", "wav",  "au",  "aif",  "ra",
                                              "", "flac", "ogg", "opus", "mp3"};

bool IsEncoderType(std::uint32_t type) {
    return type >= kSaveFlac && type <= kSaveMp3;
}

QString Text(std::uint32_t id) {
    return QString::fromUtf8(LoadString(id));
}

// "Sun (Java) Au Files (*.au, *.snd)" as a filter the dialog can match: the commas of the
// table's text would otherwise become part of the patterns.
QString MatchingFilter(const QString& type) {
    const qsizetype open = type.indexOf('(');
    if (open < 0 || !type.endsWith(')')) return type;
    QString patterns = type.mid(open + 1, type.size() - open - 2);
    patterns.remove(',');
    return type.left(open).trimmed() + " (" + patterns.simplified() + ")";
}

}  // namespace

CWaveSaveDlg::CWaveSaveDlg(const WaveFormat& source, std::uint32_t type, const QString& fileName,
                           QWidget* parent)
    : QFileDialog(parent),
      m_buttonOptions(new QPushButton(tr("&Options..."))),
      m_labelFormat(new QLabel),
      m_encoder(LoadEncoderSettings()),
      m_pSourceFormat(CopyFormat(source)),
      m_strTypes(Text(kTypeList).split('\n')),
      m_strName(fileName) {
    const bool desktop = UsesDesktopChooser();
    setOption(QFileDialog::DontUseNativeDialog, !desktop);
    setOption(QFileDialog::DontConfirmOverwrite);  // asked in accept()
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    for (const QString& text : m_strTypes) m_filters.append(MatchingFilter(text));
    setNameFilters(m_filters);
    resize(760, 500);
    ShowWholeColumns(*this);
    // The list shows the table's texts as they stand; the dialog matches the cleaned filters.
    auto* typeList = findChild<QComboBox*>("fileTypeCombo");
    if (typeList)
        for (int i = 0; i < typeList->count() && i < m_strTypes.size(); ++i)
            typeList->setItemText(i, m_strTypes[i]);

    m_labelFormat->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    m_labelFormat->setMinimumWidth(320);
    auto* group = new QGroupBox(tr("Output Format"));
    auto* row = new QHBoxLayout(group);
    row->addWidget(m_buttonOptions);
    row->addWidget(m_labelFormat, 1);
    if (desktop)
        BuildPanel(group);
    else if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->addWidget(group, grid->rowCount(), 0, 1, grid->columnCount());
    connect(m_buttonOptions, &QPushButton::clicked, this, &CWaveSaveDlg::OnOptions);

    const std::uint32_t first = type >= 1 && type <= kSaveAsTypeCount ? type : kSaveRaw;
    ShowType(first);
    m_nSaveType = first;
    m_buttonOptions->setEnabled(first != kSaveAiff);
    if (IsEncoderType(first)) SetFormatText(EncoderDescription(SaveTypeOfChoice(first), m_encoder));
    if (!fileName.isEmpty()) selectFile(fileName);
    // Connected after the dialog's own handler, which has already renamed the extension its
    // way ("*" for raw); OnTypeChanged sets it ours.
    if (typeList)
        connect(typeList, &QComboBox::activated, this,
                [this](int index) { OnTypeChanged(static_cast<std::uint32_t>(index + 1)); });
}

void CWaveSaveDlg::BuildPanel(QGroupBox* outputFormat) {
    m_pPanel = std::make_unique<QDialog>(parentWidget());
    m_pPanel->setWindowTitle(windowTitle());
    m_comboType = new QComboBox;
    m_comboType->addItems(m_strTypes);
    auto* label = new QLabel(tr("Save as &type:"));
    label->setBuddy(m_comboType);
    auto* type = new QHBoxLayout;
    type->addWidget(label);
    type->addWidget(m_comboType, 1);
    auto* column = new QVBoxLayout;
    column->addLayout(type);
    column->addWidget(outputFormat);
    SetDialogLayout(*m_pPanel, column);
    connect(m_comboType, &QComboBox::activated, this,
            [this](int index) { SelectType(static_cast<std::uint32_t>(index + 1)); });
}

void CWaveSaveDlg::SelectType(std::uint32_t type) {
    if (type < 1 || type > static_cast<std::uint32_t>(m_filters.size())) return;
    ShowType(type);
    OnTypeChanged(type);
}

void CWaveSaveDlg::ShowType(std::uint32_t type) {
    // The dialog finds a filter by the list's text, which shows the table's wording: the entry
    // wears the filter's text just while it is selected.
    const int index = static_cast<int>(type) - 1;
    auto* typeList = findChild<QComboBox*>("fileTypeCombo");
    if (typeList) typeList->setItemText(index, m_filters[index]);
    selectNameFilter(m_filters[index]);
    if (typeList) typeList->setItemText(index, m_strTypes[index]);
    if (m_comboType) m_comboType->setCurrentIndex(index);
}

void CWaveSaveDlg::OnTypeChanged(std::uint32_t type) {
    m_pWaveFormat.reset();
    m_nSubFormat.reset();
    SetFormatText(IsEncoderType(type) ? EncoderDescription(SaveTypeOfChoice(type), m_encoder)
                                      : QString());
    m_nSaveType = type;
    m_buttonOptions->setEnabled(type != kSaveAiff);
    // The desktop's chooser has no name field of ours: the name it proposes takes the extension.
    auto* name = findChild<QLineEdit*>("fileNameEdit");
    QString text = name ? name->text() : m_strName;
    if (text.isEmpty()) return;
    const QString suffix = QFileInfo(text).suffix();
    if (!suffix.isEmpty()) text.chop(suffix.size() + 1);
    const QString extension = kDefaultExtensions[type];
    if (!extension.isEmpty()) text += '.' + extension;
    if (name) {
        name->setText(text);
    } else {
        m_strName = text;
        selectFile(text);
    }
}

void CWaveSaveDlg::SetFormatText(const QString& text) {
    m_labelFormat->setText(text);
    m_labelFormat->setToolTip(text);
}

void CWaveSaveDlg::OnOptions() {
    switch (m_nSaveType) {
        case kSaveWave: {
            FormatChooser chooser(Text(kSubFormatTitle), m_pSourceFormat.get(), parentWidget());
            if (chooser.Run() != 1) return;
            m_pWaveFormat = CopyFormat(*chooser.Format());
            const WaveFormat& f = *m_pWaveFormat;
            SetFormatText(
                FormatDescription(f.formatTag, f.samplesPerSec, f.bitsPerSample, f.channels));
            break;
        }
        case kSaveAu: {
            CSubFormatDlg dialog(m_nSubFormat.value_or(0), this);
            if (RunModal(dialog) != QDialog::Accepted) return;
            m_nSubFormat = dialog.Choice();
            SetFormatText(Text(kFirstAuName + dialog.Choice()));
            break;
        }
        case kSaveRealAudio: {
            CRealAudioMethodDlg dialog(m_nSubFormat.value_or(0), this);
            if (RunModal(dialog) != QDialog::Accepted) return;
            m_nSubFormat = dialog.Method();
            SetFormatText(Text(kFirstMethodName + dialog.Method()));
            break;
        }
        case kSaveRaw: {
            const int earlier = m_nSubFormat ? static_cast<int>(*m_nSubFormat) - 1 : -1;
            CRawDataFormatDlg dialog(earlier, this);
            if (RunModal(dialog) != QDialog::Accepted || dialog.Position() < 0) return;
            const auto position = static_cast<std::uint32_t>(dialog.Position());
            m_nSubFormat = position + 1;
            SetFormatText(Text(kFirstRawName + position));
            break;
        }
        case kSaveFlac:
        case kSaveOgg:
        case kSaveOpus:
        case kSaveMp3: {
            const std::uint32_t fileType = SaveTypeOfChoice(m_nSaveType);
            CEncoderOptionsDlg dialog(fileType, m_encoder, this);
            if (RunModal(dialog) != QDialog::Accepted) return;
            m_encoder = dialog.Settings();
            SaveEncoderSettings(m_encoder);
            SetFormatText(EncoderDescription(fileType, m_encoder));
            break;
        }
        default:
            break;
    }
}

void CWaveSaveDlg::accept() {
    const QStringList files = selectedFiles();
    if (!files.isEmpty()) {
        const QFileInfo target(files.front());
        const QString question =
            tr("%1 already exists.\nDo you want to replace it?").arg(target.fileName());
        if (target.isFile() &&
            MessageBox(question, QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
            return;
    }
    QFileDialog::accept();
}

}  // namespace kelvane
