#pragma once

#include <QDialog>
#include <array>

class QLineEdit;
class QPlainTextEdit;

namespace kelvane {

class WaveObject;

// "Properties": the title, subject, engineer, copyright and comments of a sound.
class CPropertiesDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CPropertiesDlg(const WaveObject& wave, QWidget* parent = nullptr);
    // Writes the five texts back into the sound.
    void Store(WaveObject& wave) const;

    std::array<QLineEdit*, 4> m_edits;  // INAM, ISBJ, IENG, ICOP
    QPlainTextEdit* m_editComments;     // ICMT
};

}  // namespace kelvane
