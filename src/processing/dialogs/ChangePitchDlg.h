#pragma once

#include <QDialog>

#include "processing/ChangePitch.h"
#include "processing/dialogs/EffectControls.h"

class QCheckBox;

namespace kelvane {

class PercentChangeBox;
class SegmentMethodBox;

// "Change Pitch": the new pitch in percent (50 to 200) on a trackbar and in a field, whether
// the length is kept, and the segment method's presets and trackbars. The pitch committed is
// always the trackbar's, a whole percent.
class CChangePitchDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CChangePitchDlg(SettingsPlace place = {}, QWidget* parent = nullptr);

    [[nodiscard]] const ChangePitchEffect& Effect() const { return m_effect; }

    SegmentMethodBox* m_methods;
    PercentChangeBox* m_changes;
    QCheckBox* m_checkPreserve;

  public slots:
    void accept() override;

  private:
    // The field and the check box into the settings; false (with the range message) when the
    // field holds no percent from 50 to 200.
    bool TakeControls();
    // The settings from the trackbars, then the field and the check box from the settings.
    void ReadBack();
    void OnPercentLeft();
    void OnMethodSelected();

    ChangePitchEffect m_effect;
    EditLeaveWatch m_percentLeft;
};

}  // namespace kelvane
