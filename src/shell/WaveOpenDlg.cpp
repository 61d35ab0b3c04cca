#include "shell/WaveOpenDlg.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "document/OrvaneDoc.h"
#include "formats/FileError.h"
#include "platform/acm/AcmFormats.h"
#include "platform/profile/Profile.h"
#include "resources/Strings.h"
#include "ui/DialogLayout.h"
#include "ui/FileFilters.h"

namespace kelvane {

namespace {

constexpr char kSection[] = "WAVEOPEN";
constexpr std::uint32_t kAllFrames = 0xFFFFFFFF;
constexpr int kWaveMapper = -1;

QString Text(std::uint32_t id) {
    return QString::fromUtf8(LoadString(id));
}

QString ChannelsText(std::uint16_t channels) {
    return Text(channels == 1 ? 147 : 148);
}

QLabel* ValueLabel() {
    auto* label = new QLabel;
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setMinimumWidth(280);
    return label;
}

}  // namespace

QString FormatDescription(std::uint16_t tag, std::uint32_t rate, std::uint16_t bits,
                          std::uint16_t channels) {
    return QString::asprintf(LoadString(170).data(), AcmFormatTagName(tag), static_cast<int>(rate),
                             static_cast<int>(bits), ChannelsText(channels).toUtf8().constData());
}

QString FormatDescription(const WaveObject& wave) {
    if (!wave.sourceText.empty()) return QString::fromStdString(wave.sourceText);
    if (wave.sourceType == SourceType::Mpeg && wave.mpegInfo) {
        const MpegInfo& m = *wave.mpegInfo;
        return QString::asprintf(LoadString(205).data(), static_cast<int>(m.version),
                                 static_cast<int>(m.layer), static_cast<int>(m.rate),
                                 ChannelsText(m.channels).toUtf8().constData(),
                                 static_cast<int>(m.bitRate));
    }
    if (wave.mode == WaveMode::Streamed)
        return FormatDescription(wave.sourceTag, wave.sourceRate, wave.sourceBits,
                                 wave.sourceChannels);
    const WaveFormat& f = *wave.format;
    return FormatDescription(f.formatTag, f.samplesPerSec, f.bitsPerSample, f.channels);
}

CWaveOpenDlg::CWaveOpenDlg(QWidget* parent)
    : QFileDialog(parent),
      m_buttonPlay(new QPushButton(tr("&Play"))),
      m_buttonStop(new QPushButton(tr("&Stop"))),
      m_labelFormat(ValueLabel()),
      m_labelLength(ValueLabel()),
      m_labelEngineer(ValueLabel()),
      m_labelTitle(ValueLabel()),
      m_checkAutoPlay(new QCheckBox(tr("&Auto Play"))),
      m_pPreview(std::make_unique<WaveObject>(1, nullptr)),
      m_bAutoPlay(GetProfileInt(kSection, "AUTOPLAY", 1) != 0) {
    // The preview panel goes below the file list, which only the editor's own dialog has.
    const bool desktop = UsesDesktopChooser();
    setOption(QFileDialog::DontUseNativeDialog, !desktop);
    setFileMode(QFileDialog::ExistingFile);
    setDefaultSuffix("wav");
    setNameFilters(NameFilters(167));
    resize(760, 540);  // room for the size and type columns beside the names
    ShowWholeColumns(*this);
    if (desktop) {
        m_pPanel = std::make_unique<QDialog>(parent);
        auto* column = new QVBoxLayout;
        column->addWidget(BuildPreviewPanel());
        QDialogButtonBox* box =
            SetDialogLayout(*m_pPanel, column, QDialogButtonBox::Open | QDialogButtonBox::Cancel);
        // Enter opens the file, wherever the focus is; Play is a click.
        box->button(QDialogButtonBox::Open)->setDefault(true);
        for (QPushButton* button : {m_buttonPlay, m_buttonStop}) button->setAutoDefault(false);
        connect(m_pPanel.get(), &QDialog::finished, this, &CWaveOpenDlg::OnStop);
    } else if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        grid->addWidget(BuildPreviewPanel(), grid->rowCount(), 0, 1, grid->columnCount());
    }
    m_checkAutoPlay->setChecked(m_bAutoPlay);
    connect(m_checkAutoPlay, &QCheckBox::toggled, this, [this](bool on) { m_bAutoPlay = on; });
    connect(m_buttonPlay, &QPushButton::clicked, this, &CWaveOpenDlg::OnPlay);
    connect(m_buttonStop, &QPushButton::clicked, this, &CWaveOpenDlg::OnStop);
    connect(this, &QFileDialog::currentChanged, this, &CWaveOpenDlg::OnFileChanged);
    // A typed name selects its file without making it current, so it is watched too.
    if (auto* name = findChild<QLineEdit*>("fileNameEdit"))
        connect(name, &QLineEdit::textChanged, this, [this](const QString& text) {
            const QFileInfo typed(directory(), text);
            if (!text.isEmpty() && typed.isFile()) OnFileChanged(typed.absoluteFilePath());
        });
    UpdateButtons();
}

CWaveOpenDlg::~CWaveOpenDlg() {
    m_pPreview->StopDevice();
    WriteProfileInt(kSection, "AUTOPLAY", m_bAutoPlay ? 1 : 0);
}

QWidget* CWaveOpenDlg::BuildPreviewPanel() {
    auto* panel = new QGroupBox(tr("Preview"));
    auto* grid = new QGridLayout(panel);
    const std::pair<const char*, QLabel*> rows[] = {
        {QT_TRANSLATE_NOOP("kelvane::CWaveOpenDlg", "Format:"), m_labelFormat},
        {QT_TRANSLATE_NOOP("kelvane::CWaveOpenDlg", "Length:"), m_labelLength},
        {QT_TRANSLATE_NOOP("kelvane::CWaveOpenDlg", "Title:"), m_labelTitle},
        {QT_TRANSLATE_NOOP("kelvane::CWaveOpenDlg", "Engineer:"), m_labelEngineer}};
    int row = 0;
    for (const auto& [caption, value] : rows) {
        grid->addWidget(new QLabel(tr(caption)), row, 0);
        grid->addWidget(value, row++, 1);
    }
    grid->setColumnStretch(1, 1);
    grid->addWidget(m_buttonPlay, 0, 2);
    grid->addWidget(m_buttonStop, 1, 2);
    grid->addWidget(m_checkAutoPlay, 3, 2);
    return panel;
}

bool CWaveOpenDlg::PreviewHasSound() const {
    return m_pPreview->mode == WaveMode::Resident || m_pPreview->mode == WaveMode::Streamed;
}

void CWaveOpenDlg::OnFileChanged(const QString& path) {
    if (path == m_strPreviewPath) return;
    m_strPreviewPath = path;
    if (m_pPanel) m_pPanel->setWindowTitle(QFileInfo(path).fileName());
    m_pPreview->StopDevice();
    for (QLabel* label : {m_labelFormat, m_labelLength, m_labelEngineer, m_labelTitle})
        label->clear();
    m_pPreview->Reset();
    if (!path.isEmpty() && QFileInfo(path).isFile()) {
        // Header and mapping only: nothing is copied or decoded to show the file.
        const FileError loaded =
            m_pPreview->Load(path.toStdString(), LOAD_READ_ONLY | LOAD_MAP_FILE);
        if (loaded == FileError::Success && m_pPreview->mpegInfo &&
            m_pPreview->mpegInfo->layer == 3)
            m_pPreview->Reset();
    }
    if (PreviewHasSound()) ShowPreview();
    UpdateButtons();
}

void CWaveOpenDlg::ShowPreview() {
    m_labelFormat->setText(FormatDescription(*m_pPreview));
    const std::uint32_t rate = m_pPreview->format->samplesPerSec;
    const double seconds = rate ? static_cast<double>(m_pPreview->FrameCount()) / rate : 0.0;
    m_labelLength->setText(QString::asprintf(LoadString(185).data(), seconds));
    if (const char* title = m_pPreview->GetInfo("INAM")) m_labelTitle->setText(title);
    if (const char* engineer = m_pPreview->GetInfo("IENG")) m_labelEngineer->setText(engineer);
    if (m_bAutoPlay) OnPlay();
}

void CWaveOpenDlg::OnPlay() {
    m_pPreview->StopDevice();
    if (PreviewHasSound() && Devices().startPlay)
        (void)Devices().startPlay(*m_pPreview, 0, kAllFrames, 0, kWaveMapper);
    UpdateButtons();
}

void CWaveOpenDlg::OnStop() {
    m_pPreview->StopDevice();
    UpdateButtons();
}

void CWaveOpenDlg::UpdateButtons() {
    const bool sound = PreviewHasSound();
    m_buttonPlay->setEnabled(sound);
    m_buttonStop->setEnabled(sound);
}

void CWaveOpenDlg::done(int result) {
    m_pPreview->StopDevice();
    QFileDialog::done(result);
}

}  // namespace kelvane
