#pragma once

#include <QDialog>

#include "processing/Echo.h"

class QLabel;
class QSlider;

namespace kelvane {

// "Add Echo": the number of echoes, their delay and the size of the first.
class CEchoDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CEchoDlg(SettingsPlace place = {}, QWidget* parent = nullptr);

    [[nodiscard]] const EchoEffect& Effect() const { return m_effect; }

    QSlider* m_sliderNumber;
    QSlider* m_sliderDelay;
    QSlider* m_sliderSize;
    QLabel* m_labelNumber;
    QLabel* m_labelDelay;
    QLabel* m_labelSize;

  public slots:
    void accept() override;

  private:
    void RefreshLabels();

    EchoEffect m_effect;
};

}  // namespace kelvane
