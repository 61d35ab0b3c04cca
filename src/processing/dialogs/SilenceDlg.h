#pragma once

#include <QDialog>

#include "processing/InsertSilence.h"

class QLineEdit;

namespace kelvane {

// "Insert Silence": the length in seconds, 0.001 to 60. The setting keeps hundredths, so a
// length below 0.01 s is inserted once but stored as 0.
class CSilenceDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CSilenceDlg(SettingsPlace place = {}, QWidget* parent = nullptr);

    [[nodiscard]] const InsertSilenceEffect& Effect() const { return m_effect; }

    QLineEdit* m_editLength;

  public slots:
    void accept() override;

  private:
    InsertSilenceEffect m_effect;
};

}  // namespace kelvane
