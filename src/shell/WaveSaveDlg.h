#pragma once

#include <QFileDialog>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>

#include "formats/EncoderSettings.h"
#include "wavedata/WaveFormat.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace kelvane {

// Save As: the file list with the nine output types of string 169 and an "Output Format"
// panel whose Options button picks the type's sub-format or encoder settings. With the
// desktop's own chooser, the types and the Output Format are a panel of their own, shown
// before the chooser.
class CWaveSaveDlg : public QFileDialog {
    Q_OBJECT

  public:
    // `type` is the list position (1 to 9) shown first; `source` is the sound's format, which
    // limits the compressed formats offered.
    CWaveSaveDlg(const WaveFormat& source, std::uint32_t type, const QString& fileName,
                 QWidget* parent = nullptr);

    // Chooses a type as the list does: the sub-format goes and the name takes its extension.
    void SelectType(std::uint32_t type);
    void OnOptions();
    // Asks before replacing a file, through the dialog host like every other question.
    void accept() override;

    [[nodiscard]] std::uint32_t SaveType() const { return m_nSaveType; }
    // The Wave target chosen with Options; null for the sound's own format.
    [[nodiscard]] const WaveFormat* WaveSubFormat() const { return m_pWaveFormat.get(); }
    // The AU sub-format, RealAudio method or raw sample code chosen with Options.
    [[nodiscard]] std::optional<std::uint32_t> SubFormatNumber() const { return m_nSubFormat; }
    // FLAC, Ogg Vorbis, Opus and MP3: the encoder settings (the profile's until changed).
    [[nodiscard]] const EncoderSettings& Encoder() const { return m_encoder; }
    // The types and Output Format in their own window when the desktop's chooser is used,
    // else null.
    [[nodiscard]] QDialog* Panel() const { return m_pPanel.get(); }

    QPushButton* m_buttonOptions;
    QLabel* m_labelFormat;

  private:
    void OnTypeChanged(std::uint32_t type);
    // Selects the type's entry in the list without touching the name or the sub-format.
    void ShowType(std::uint32_t type);
    void SetFormatText(const QString& text);
    void BuildPanel(QGroupBox* outputFormat);

    std::uint32_t m_nSaveType = 1;
    FormatPtr m_pWaveFormat;
    std::optional<std::uint32_t> m_nSubFormat;
    EncoderSettings m_encoder;
    FormatPtr m_pSourceFormat;
    QStringList m_strTypes;
    QStringList m_filters;
    QString m_strName;  // the name proposed to the desktop's chooser
    std::unique_ptr<QDialog> m_pPanel;
    QComboBox* m_comboType = nullptr;
};

}  // namespace kelvane
