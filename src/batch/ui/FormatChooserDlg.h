#pragma once

#include <QDialog>
#include <vector>

#include "platform/acm/AcmFormats.h"

class QComboBox;

namespace kelvane {

// The compression layer's format chooser: a format tag, then one of the formats its driver
// offers. With a seed only the formats the seed converts to are listed.
class CFormatChooserDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CFormatChooserDlg(const WaveFormat* seed = nullptr, QWidget* parent = nullptr);

    // The chosen format; null when nothing is offered.
    [[nodiscard]] const WaveFormat* Format() const;
    // The tag's name as its driver gives it ("IMA ADPCM").
    [[nodiscard]] QString TagName() const;
    // The driver's description of the chosen format ("8.000 kHz, 4 Bit, Mono").
    [[nodiscard]] QString Description() const;

    QComboBox* m_comboTag;
    QComboBox* m_comboAttributes;

  private:
    void FillAttributes();
    [[nodiscard]] const AcmFormatDetails* Chosen() const;

    std::vector<AcmFormatDetails> m_formats;
};

}  // namespace kelvane
