#pragma once

#include <QDialog>
#include <array>

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace kelvane {

class WaveObject;

// "Properties": the title, subject, engineer, copyright and comments of a sound, with its
// format and, for a file converted when it was opened, the file's own format.
class CPropertiesDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CPropertiesDlg(const WaveObject& wave, const QString& fileFormat = {},
                            QWidget* parent = nullptr);
    // Writes the five texts back into the sound.
    void Store(WaveObject& wave) const;

    std::array<QLineEdit*, 4> m_edits;  // INAM, ISBJ, IENG, ICOP
    QPlainTextEdit* m_editComments;     // ICMT
    QLabel* m_labelFormat;
    QLabel* m_labelFileFormat = nullptr;  // only for a converted file
};

}  // namespace kelvane
