#pragma once

#include <QDialog>
#include <cstdint>

#include "processing/CompressExpand.h"
#include "processing/dialogs/EffectControls.h"

class QLabel;

namespace kelvane {

class PercentChangeBox;
class SegmentMethodBox;

// "Compress/Expand Length": the new length in percent (50 to 200) on a trackbar and in a
// field, the segment method's presets and trackbars, and what the whole sound's tempo and
// length become. The percent committed is always the trackbar's.
class CCompressExpandDlg : public QDialog {
    Q_OBJECT

  public:
    // `waveLength`: frames of the document's whole sound (0 when there is none).
    explicit CCompressExpandDlg(SettingsPlace place = {}, std::uint32_t waveLength = 0,
                                QWidget* parent = nullptr);

    [[nodiscard]] const CompressExpandEffect& Effect() const { return m_effect; }

    PercentChangeBox* m_changes;
    SegmentMethodBox* m_methods;
    QLabel* m_labelTempo;
    QLabel* m_labelNewTempo;
    QLabel* m_labelLength;
    QLabel* m_labelNewLength;

  public slots:
    void accept() override;

  private:
    // The field into the percent; false (with the range message) when it holds no percent
    // from 50 to 200.
    bool TakeControls();
    // The settings from the trackbars, then the field and the new tempo and length.
    void ReadBack();
    void OnPercentLeft();
    void OnMethodSelected();

    double m_tempo;  // beats per minute, the application's setting
    CompressExpandEffect m_effect;
    EditLeaveWatch m_percentLeft;
};

}  // namespace kelvane
