#include "processing/dialogs/CompressExpandDlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QSlider>

#include "processing/dialogs/PercentChangeBox.h"
#include "processing/dialogs/SegmentMethodBox.h"
#include "ui/AppState.h"
#include "ui/DialogLayout.h"

namespace kelvane {

CCompressExpandDlg::CCompressExpandDlg(SettingsPlace place, std::uint32_t waveLength,
                                       QWidget* parent)
    : QDialog(parent),
      m_changes(new PercentChangeBox),
      m_methods(new SegmentMethodBox),
      m_labelTempo(new QLabel),
      m_labelNewTempo(new QLabel),
      m_labelLength(new QLabel),
      m_labelNewLength(new QLabel),
      m_tempo(App().display.tempo),
      m_effect(std::move(place), waveLength),
      m_percentLeft(m_changes->m_edit, [this] { OnPercentLeft(); }) {
    setWindowTitle(tr("Compress/Expand Length"));
    const CompressExpandSettings& s = m_effect.settings;
    m_changes->MoveTrackbar(s.percent);
    m_methods->ShowValues(s.segmentTime, s.crossFadeRatio);
    m_labelTempo->setText(QString::asprintf("%.2f", m_tempo));
    m_labelLength->setText(QString::asprintf("%u", waveLength));
    ReadBack();
    for (QSlider* slider :
         {m_changes->m_slider, m_methods->m_sliderSegment, m_methods->m_sliderCrossFade})
        connect(slider, &QSlider::valueChanged, this, &CCompressExpandDlg::ReadBack);
    connect(m_methods->m_comboMethod, &QComboBox::currentIndexChanged, this,
            &CCompressExpandDlg::OnMethodSelected);

    auto* figures = new QGridLayout;
    const struct {
        const char* name;
        QLabel* value;
    } rows[] = {{QT_TRANSLATE_NOOP("kelvane::CCompressExpandDlg", "Original Tempo:"), m_labelTempo},
                {QT_TRANSLATE_NOOP("kelvane::CCompressExpandDlg", "New Tempo:"), m_labelNewTempo},
                {QT_TRANSLATE_NOOP("kelvane::CCompressExpandDlg", "Original Length (samples):"),
                 m_labelLength},
                {QT_TRANSLATE_NOOP("kelvane::CCompressExpandDlg", "New Length (samples):"),
                 m_labelNewLength}};
    int at = 0;
    for (const auto& r : rows) {
        auto* name = new QLabel(tr(r.name));
        name->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        figures->addWidget(name, at, 0);
        figures->addWidget(r.value, at, 1);
        ++at;
    }
    figures->setColumnStretch(1, 1);
    auto* column = new QVBoxLayout;
    column->addWidget(m_changes);
    column->addWidget(m_methods);
    column->addLayout(figures);
    SetDialogLayout(*this, column);
}

bool CCompressExpandDlg::TakeControls() {
    return m_changes->TakeField(m_effect.settings.percent);
}

void CCompressExpandDlg::ReadBack() {
    CompressExpandSettings& s = m_effect.settings;
    s.percent = m_changes->ReadTrackbar();
    s.segmentTime = m_methods->SegmentTime();
    s.crossFadeRatio = m_methods->CrossFadeRatio();
    m_labelNewTempo->setText(QString::asprintf("%.2f", m_effect.NewTempo(m_tempo)));
    m_labelNewLength->setText(QString::asprintf("%u", m_effect.NewWaveLength()));
}

void CCompressExpandDlg::OnPercentLeft() {
    if (TakeControls()) m_changes->MoveTrackbar(m_effect.settings.percent);
}

void CCompressExpandDlg::OnMethodSelected() {
    CompressExpandSettings& s = m_effect.settings;
    m_methods->TakePreset(s.segmentTime, s.crossFadeRatio);
}

void CCompressExpandDlg::accept() {
    // As for a click on OK, which leaves the field first.
    if (!TakeControls()) return;
    m_changes->MoveTrackbar(m_effect.settings.percent);
    ReadBack();
    m_effect.SaveSettings();
    QDialog::accept();
}

}  // namespace kelvane
