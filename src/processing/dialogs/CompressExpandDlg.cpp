#include "processing/dialogs/CompressExpandDlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

#include "processing/ProgressCounter.h"
#include "processing/dialogs/SegmentMethodBox.h"
#include "ui/AppState.h"
#include "ui/DialogLayout.h"
#include "ui/RangeCheck.h"

namespace kelvane {

namespace {

constexpr int kPercentMin = CompressExpandSettings::kPercentMin;
constexpr int kPercentMax = CompressExpandSettings::kPercentMax;

}  // namespace

CCompressExpandDlg::CCompressExpandDlg(SettingsPlace place, std::uint32_t waveLength,
                                       QWidget* parent)
    : QDialog(parent),
      m_sliderPercent(NewTrackbar(kPercentMin, kPercentMax, 10)),
      m_editPercent(new QLineEdit),
      m_methods(new SegmentMethodBox),
      m_labelTempo(new QLabel),
      m_labelNewTempo(new QLabel),
      m_labelLength(new QLabel),
      m_labelNewLength(new QLabel),
      m_tempo(App().display.tempo),
      m_effect(std::move(place), waveLength),
      m_percentLeft(m_editPercent, [this] { OnPercentLeft(); }) {
    setWindowTitle("Compress/Expand Length");
    const CompressExpandSettings& s = m_effect.settings;
    MoveTrackbar(m_sliderPercent, TruncToInt(s.percent));
    m_methods->ShowValues(s.segmentTime, s.crossFadeRatio);
    m_labelTempo->setText(QString::asprintf("%.2f", m_tempo));
    m_labelLength->setText(QString::asprintf("%u", waveLength));
    ReadBack();
    for (QSlider* slider :
         {m_sliderPercent, m_methods->m_sliderSegment, m_methods->m_sliderCrossFade})
        connect(slider, &QSlider::valueChanged, this, &CCompressExpandDlg::ReadBack);
    connect(m_methods->m_comboMethod, &QComboBox::currentIndexChanged, this,
            &CCompressExpandDlg::OnMethodSelected);

    auto* changes = new QGroupBox("Changes");
    auto* row = new QHBoxLayout(changes);
    m_editPercent->setMaximumWidth(m_editPercent->fontMetrics().horizontalAdvance("200.000") + 12);
    row->addWidget(m_sliderPercent, 1);
    row->addWidget(m_editPercent);
    row->addWidget(new QLabel("%"));
    auto* figures = new QGridLayout;
    const struct {
        const char* name;
        QLabel* value;
    } rows[] = {{"Original Tempo:", m_labelTempo},
                {"New Tempo:", m_labelNewTempo},
                {"Original Length (samples):", m_labelLength},
                {"New Length (samples):", m_labelNewLength}};
    int at = 0;
    for (const auto& r : rows) {
        auto* name = new QLabel(r.name);
        name->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        figures->addWidget(name, at, 0);
        figures->addWidget(r.value, at, 1);
        ++at;
    }
    figures->setColumnStretch(1, 1);
    auto* column = new QVBoxLayout;
    column->addWidget(changes);
    column->addWidget(m_methods);
    column->addLayout(figures);
    SetDialogLayout(*this, column);
}

bool CCompressExpandDlg::TakeControls() {
    return ReadDouble(m_editPercent, kPercentMin, kPercentMax, m_effect.settings.percent);
}

void CCompressExpandDlg::ReadBack() {
    CompressExpandSettings& s = m_effect.settings;
    s.percent = m_sliderPercent->value();
    s.segmentTime = m_methods->SegmentTime();
    s.crossFadeRatio = m_methods->CrossFadeRatio();
    m_editPercent->setText(DoubleText(s.percent));
    m_labelNewTempo->setText(QString::asprintf("%.2f", m_effect.NewTempo(m_tempo)));
    m_labelNewLength->setText(QString::asprintf("%u", m_effect.NewWaveLength()));
}

void CCompressExpandDlg::OnPercentLeft() {
    if (TakeControls()) MoveTrackbar(m_sliderPercent, TruncToInt(m_effect.settings.percent));
}

void CCompressExpandDlg::OnMethodSelected() {
    CompressExpandSettings& s = m_effect.settings;
    m_methods->TakePreset(s.segmentTime, s.crossFadeRatio);
}

void CCompressExpandDlg::accept() {
    // As for a click on OK, which leaves the field first.
    if (!TakeControls()) return;
    MoveTrackbar(m_sliderPercent, TruncToInt(m_effect.settings.percent));
    ReadBack();
    m_effect.SaveSettings();
    QDialog::accept();
}

}  // namespace kelvane
