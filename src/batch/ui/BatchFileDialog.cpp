#include "batch/ui/BatchFileDialog.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "batch/BatchFilters.h"
#include "batch/ui/BatchProgressDlg.h"
#include "batch/ui/FilterDialogs.h"
#include "formats/SndfileFile.h"
#include "resources/Strings.h"
#include "ui/AppState.h"
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

constexpr std::uint32_t kInputFilter = 207;
constexpr std::uint32_t kFolderTitle = 201;
constexpr std::uint32_t kFirstAuName = 172;
constexpr std::uint32_t kFirstMethodName = 175;
constexpr std::uint32_t kFirstRawName = 209;
constexpr std::uint32_t kCannotMakeTempFile = 1005;

constexpr const char* kFormatNames[kBatchFormatCount] = {
    QT_TRANSLATE_NOOP("kelvane::CBatchFileDialog", "Microsoft Wave Files (*.wav)"),
    QT_TRANSLATE_NOOP("kelvane::CBatchFileDialog", "Sun (Java) audio Files (*.au)"),
    QT_TRANSLATE_NOOP("kelvane::CBatchFileDialog", "Mactinosh aiff Files (*.aif)"),
    QT_TRANSLATE_NOOP("kelvane::CBatchFileDialog", "Real Audio Files (*.ra)"),
    QT_TRANSLATE_NOOP("kelvane::CBatchFileDialog", "Raw Files (*.*)"),
    QT_TRANSLATE_NOOP("kelvane::CBatchFileDialog", "FLAC Files (*.flac)"),
    QT_TRANSLATE_NOOP("kelvane::CBatchFileDialog", "Ogg Vorbis Files (*.ogg)"),
    QT_TRANSLATE_NOOP("kelvane::CBatchFileDialog", "Opus Files (*.opus)"),
    QT_TRANSLATE_NOOP("kelvane::CBatchFileDialog", "MP3 Files (*.mp3)")};

// The file type of the formats with encoder settings, 0 for the others.
std::uint32_t EncoderFileType(BatchFormat format) {
    const std::uint32_t type = BatchSaveType(format);
    return type >= kFileFlac ? type : 0;
}

QString Text(std::uint32_t id) {
    return QString::fromUtf8(LoadString(id));
}

QListWidget* List(QAbstractItemView::SelectionMode mode) {
    auto* list = new QListWidget;
    list->setSelectionMode(mode);
    list->setMinimumWidth(180);
    return list;
}

QGroupBox* Group(const QString& title, QLayout* content) {
    auto* box = new QGroupBox(title);
    box->setLayout(content);
    return box;
}

QLabel* Buddy(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

// A text that can grow long (a folder, a format): sunken, plain, never widening the dialog.
QLabel* ValueLabel() {
    auto* label = new QLabel;
    label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    label->setTextFormat(Qt::PlainText);
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    label->setMinimumWidth(240);
    return label;
}

// The name, and below it the settings ("LEFTVOLUME=80, RIGHTVOLUME=80, LOCKLR=1"), so two
// entries of one filter can be told apart.
QString ChainText(int filter, const std::string& settingsFile) {
    const QString name = QString::fromUtf8(BatchFilterName(filter));
    const std::string settings = BatchFilterSettingsText(filter, settingsFile);
    return settings.empty() ? name : name + "\n    " + QString::fromStdString(settings);
}

}  // namespace

CBatchFileDialog::CBatchFileDialog(QWidget* parent)
    : QDialog(parent),
      m_listInput(List(QAbstractItemView::ExtendedSelection)),
      m_listAvailable(List(QAbstractItemView::SingleSelection)),
      m_listChain(List(QAbstractItemView::SingleSelection)),
      m_comboFormat(new QComboBox),
      m_buttonAdd(new QPushButton(tr("&Add..."))),
      m_buttonRemove(new QPushButton(tr("&Remove"))),
      m_buttonAddFilter(new QPushButton(">>")),
      m_buttonRemoveFilter(new QPushButton("<<")),
      m_buttonOptions(new QPushButton(tr("O&ptions..."))),
      m_buttonOutputPath(new QPushButton(tr("Output &Path..."))),
      m_labelTotal(new QLabel("0")),
      m_labelFormat(ValueLabel()),
      m_labelOutputPath(ValueLabel()) {
    setWindowTitle(tr("Batch Conversion"));
    m_batch.SetDither(LoadDitherSetting());
    m_listInput->setMinimumWidth(420);
    for (int i = 0; i < kBatchFilterCount; ++i)
        m_listAvailable->addItem(QString::fromUtf8(BatchFilterName(i)));
    for (const char* name : kFormatNames) m_comboFormat->addItem(tr(name));

    auto* inputButtons = new QVBoxLayout;
    inputButtons->addWidget(m_buttonAdd);
    inputButtons->addWidget(m_buttonRemove);
    inputButtons->addStretch();
    inputButtons->addWidget(new QLabel(tr("Total:")));
    inputButtons->addWidget(m_labelTotal);
    auto* inputs = new QHBoxLayout;
    inputs->addWidget(m_listInput, 1);
    inputs->addLayout(inputButtons);

    auto* arrows = new QVBoxLayout;
    arrows->addStretch();
    arrows->addWidget(m_buttonAddFilter);
    arrows->addWidget(m_buttonRemoveFilter);
    arrows->addStretch();
    auto* filters = new QGridLayout;
    filters->addWidget(Buddy(tr("A&vailable Filters:"), m_listAvailable), 0, 0);
    filters->addWidget(Buddy(tr("Filter &Chain:"), m_listChain), 0, 2);
    filters->addWidget(m_listAvailable, 1, 0);
    filters->addLayout(arrows, 1, 1);
    filters->addWidget(m_listChain, 1, 2);
    // The chain's lines carry the settings: give it the width the names do not need.
    m_listAvailable->setFixedWidth(
        std::max(m_listAvailable->minimumWidth(),
                 m_listAvailable->sizeHintForColumn(0) + 2 * m_listAvailable->frameWidth() + 24));
    filters->setColumnStretch(2, 1);
    m_listChain->setMinimumWidth(440);

    auto* output = new QGridLayout;
    output->addWidget(Buddy(tr("&Format:"), m_comboFormat), 0, 0);
    output->addWidget(m_comboFormat, 0, 1);
    output->addWidget(m_buttonOptions, 0, 2);
    output->addWidget(new QLabel(tr("Sub-Format:")), 1, 0);
    output->addWidget(m_labelFormat, 1, 1, 1, 2);
    output->addWidget(m_buttonOutputPath, 2, 0);
    output->addWidget(m_labelOutputPath, 2, 1, 1, 2);
    output->setColumnStretch(1, 1);

    auto* controls = new QVBoxLayout;
    controls->addWidget(Group(tr("Input Files"), inputs));
    controls->addWidget(Group(tr("Filters"), filters));
    controls->addWidget(Group(tr("Output"), output));
    SetDialogLayout(*this, controls);

    connect(m_buttonAdd, &QPushButton::clicked, this, &CBatchFileDialog::OnAdd);
    connect(m_buttonRemove, &QPushButton::clicked, this, &CBatchFileDialog::OnRemove);
    connect(m_listInput, &QListWidget::itemDoubleClicked, this, &CBatchFileDialog::OnRemove);
    connect(m_buttonAddFilter, &QPushButton::clicked, this, &CBatchFileDialog::OnAddFilter);
    connect(m_listAvailable, &QListWidget::itemDoubleClicked, this, &CBatchFileDialog::OnAddFilter);
    connect(m_buttonRemoveFilter, &QPushButton::clicked, this, &CBatchFileDialog::OnRemoveFilter);
    connect(m_listChain, &QListWidget::itemDoubleClicked, this, &CBatchFileDialog::OnRemoveFilter);
    connect(m_comboFormat, &QComboBox::currentIndexChanged, this,
            &CBatchFileDialog::OnFormatChanged);
    connect(m_buttonOptions, &QPushButton::clicked, this, &CBatchFileDialog::OnOptions);
    connect(m_buttonOutputPath, &QPushButton::clicked, this, &CBatchFileDialog::OnOutputPath);
}

// The engine's chain entries remove their settings files as they go.
CBatchFileDialog::~CBatchFileDialog() = default;

void CBatchFileDialog::OnAdd() {
    QFileDialog dialog(this);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ReadOnly);
    ShowWholeColumns(dialog);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setNameFilters(NameFilters(kInputFilter));
    dialog.setDefaultSuffix("WAV");
    if (RunModal(dialog) != QDialog::Accepted) return;
    AddInputs(dialog.selectedFiles());
}

void CBatchFileDialog::AddInputs(const QStringList& paths) {
    for (const QString& path : paths) {
        m_batch.AddInput(path.toStdString());
        m_listInput->addItem(path);
    }
    UpdateTotal();
}

void CBatchFileDialog::OnRemove() {
    for (int row = m_listInput->count() - 1; row >= 0; --row) {
        if (!m_listInput->item(row)->isSelected()) continue;
        m_batch.RemoveInput(static_cast<std::size_t>(row));
        delete m_listInput->takeItem(row);
    }
    UpdateTotal();
}

void CBatchFileDialog::UpdateTotal() {
    m_labelTotal->setText(QString::number(m_listInput->count()));
}

void CBatchFileDialog::OnAddFilter() {
    const auto selected = m_listAvailable->selectedItems();
    if (selected.isEmpty()) return;
    const int filter = m_listAvailable->row(selected.front());
    const FilterEntry* entry = m_batch.AddFilter(filter);
    if (!entry) {
        MessageBox(kCannotMakeTempFile);
        return;
    }
    if (RunFilterDialog(filter, {entry->SettingsFile(), kBatchSection}, this) !=
        QDialog::Accepted) {
        m_batch.RemoveFilter(m_batch.Chain().size() - 1);
        return;
    }
    auto* item = new QListWidgetItem(ChainText(filter, entry->SettingsFile()));
    item->setToolTip(item->text());
    m_listChain->addItem(item);
}

void CBatchFileDialog::OnRemoveFilter() {
    const auto selected = m_listChain->selectedItems();
    if (selected.isEmpty()) return;
    const int row = m_listChain->row(selected.front());
    m_batch.RemoveFilter(static_cast<std::size_t>(row));
    delete m_listChain->takeItem(row);
}

void CBatchFileDialog::OnFormatChanged(int index) {
    if (index < 0 || index >= kBatchFormatCount) return;
    const auto format = static_cast<BatchFormat>(index);
    m_batch.SetOutputFormat(format);
    m_buttonOptions->setEnabled(format != BatchFormat::Aiff);
    const std::uint32_t type = EncoderFileType(format);
    SetFormatText(type ? EncoderDescription(type, m_batch.Encoder()) : QString());
}

void CBatchFileDialog::SetFormatText(const QString& text) {
    m_labelFormat->setText(text);
    m_labelFormat->setToolTip(text);
}

void CBatchFileDialog::OnOptions() {
    switch (m_batch.OutputFormat()) {
        case BatchFormat::Wave: {
            // Owned by the main window, as Save As's chooser is; every format is offered,
            // since the sounds of the batch are not known yet.
            FormatChooser chooser({}, nullptr, parentWidget() ? parentWidget() : this);
            if (chooser.Run() != 1) return;
            m_batch.SetWaveSubFormat(*chooser.Format());
            SetFormatText(chooser.TagName() + ", " + chooser.Description());
            break;
        }
        case BatchFormat::Au: {
            CSubFormatDlg dialog(0, this);
            if (RunModal(dialog) != QDialog::Accepted) return;
            m_batch.SetSubFormatNumber(dialog.Choice());
            SetFormatText(Text(kFirstAuName + dialog.Choice()));
            break;
        }
        case BatchFormat::Aiff:
            break;
        case BatchFormat::RealAudio: {
            const std::uint32_t earlier =
                m_batch.HasSubFormat() ? m_batch.SubFormatNumber() : kBatchRealAudioMethod;
            CRealAudioMethodDlg dialog(earlier, this);
            if (RunModal(dialog) != QDialog::Accepted) return;
            m_batch.SetSubFormatNumber(dialog.Method());
            SetFormatText(Text(kFirstMethodName + dialog.Method()));
            break;
        }
        case BatchFormat::Raw: {
            const int earlier =
                m_batch.HasSubFormat() ? static_cast<int>(m_batch.SubFormatNumber()) - 1 : -1;
            CRawDataFormatDlg dialog(earlier, this);
            if (RunModal(dialog) != QDialog::Accepted || dialog.Position() < 0) return;
            const auto position = static_cast<std::uint32_t>(dialog.Position());
            m_batch.SetSubFormatNumber(position + 1);
            SetFormatText(Text(kFirstRawName + position));
            break;
        }
        case BatchFormat::Flac:
        case BatchFormat::Ogg:
        case BatchFormat::Opus:
        case BatchFormat::Mp3: {
            const std::uint32_t type = EncoderFileType(m_batch.OutputFormat());
            CEncoderOptionsDlg dialog(type, m_batch.Encoder(), this);
            if (RunModal(dialog) != QDialog::Accepted) return;
            m_batch.SetEncoderSettings(dialog.Settings());
            SetFormatText(EncoderDescription(type, m_batch.Encoder()));
            break;
        }
    }
}

void CBatchFileDialog::OnOutputPath() {
    QFileDialog dialog(this, Text(kFolderTitle));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setFileMode(QFileDialog::Directory);
    if (!m_batch.OutputFolder().empty())
        dialog.setDirectory(QString::fromStdString(m_batch.OutputFolder()));
    if (RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    m_batch.SetOutputFolder(dialog.selectedFiles().front().toStdString());
    const QString folder = QString::fromStdString(m_batch.OutputFolder());
    m_labelOutputPath->setText(folder);
    m_labelOutputPath->setToolTip(folder);
}

void CBatchFileDialog::accept() {
    if (!m_batch.Inputs().empty()) RunBatch();
    QDialog::accept();
}

void CBatchFileDialog::RunBatch() {
    const bool wasVisible = isVisible();
    hide();
    CBatchProgressDlg progress;
    progress.Create(this);
    // In the dialog's place and as wide, so the log's paths and messages wrap late.
    progress.resize(std::max(sizeHint().width(), progress.sizeHint().width()),
                    progress.sizeHint().height());
    progress.move(pos());
    progress.show();
    connect(&progress, &CBatchProgressDlg::cancelPressed, this, [this] { m_batch.Cancel(); });
    emit progressShown(&progress);
    m_batch.SetTempDirectory(App().tempDir);
    (void)m_batch.Run(progress);
    progress.ShowFinished();
    progress.WaitForFinish();
    if (wasVisible) show();
    progress.DestroyWindow();
}

}  // namespace kelvane
