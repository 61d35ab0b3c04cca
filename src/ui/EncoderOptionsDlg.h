#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

#include "formats/EncoderSettings.h"

class QComboBox;
class QRadioButton;
class QSpinBox;

namespace kelvane {

// Options of the FLAC, Ogg Vorbis, Opus and MP3 types (`fileType` kFileFlac to kFileMp3), for
// Save As and the batch dialog alike: the settings of that one encoder.
class CEncoderOptionsDlg : public QDialog {
    Q_OBJECT

  public:
    CEncoderOptionsDlg(std::uint32_t fileType, const EncoderSettings& settings,
                       QWidget* parent = nullptr);
    [[nodiscard]] EncoderSettings Settings() const;

    QSpinBox* m_spinValue = nullptr;  // level, quality, bit rate or MP3 quality
    QRadioButton* m_radioVariable = nullptr;
    QRadioButton* m_radioConstant = nullptr;
    QComboBox* m_comboBitrate = nullptr;

  private:
    std::uint32_t m_nType;
    EncoderSettings m_settings;
};

// "FLAC, compression level 5" and the like, for the dialogs' format panels.
[[nodiscard]] QString EncoderDescription(std::uint32_t fileType, const EncoderSettings& settings);

// The settings the editor keeps in its profile, and their update.
[[nodiscard]] EncoderSettings LoadEncoderSettings();
void SaveEncoderSettings(const EncoderSettings& settings);

}  // namespace kelvane
