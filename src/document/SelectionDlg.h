#pragma once

#include <QDialog>

class QLineEdit;

namespace kelvane {

// "Selection...": a start and a length typed as numbers of samples. Both start at 0.
class CSelectionDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CSelectionDlg(QWidget* parent = nullptr);

    [[nodiscard]] double Start() const;
    [[nodiscard]] double Length() const;
    QLineEdit* m_editStart;
    QLineEdit* m_editLength;
};

}  // namespace kelvane
