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

// A request for the format chooser: an optional title, an optional seed that restricts the
// list to what it converts to, and the chosen header once confirmed.
class FormatChooser {
  public:
    FormatChooser(const QString& title, const WaveFormat* seed, QWidget* owner);
    // 1 when a format was confirmed, 2 when the chooser was cancelled or offered nothing.
    [[nodiscard]] int Run();

    // The chosen header: 18 bytes, plus the extra bytes of a compressed format.
    [[nodiscard]] const WaveFormat* Format() const { return m_chosen.get(); }
    [[nodiscard]] const QString& TagName() const { return m_tagName; }
    [[nodiscard]] const QString& Description() const { return m_description; }

  private:
    QString m_title;
    FormatPtr m_seed;
    QWidget* m_owner;
    FormatPtr m_chosen;
    QString m_tagName;
    QString m_description;
};

}  // namespace kelvane
