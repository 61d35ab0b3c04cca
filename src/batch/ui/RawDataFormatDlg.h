#pragma once

#include <QDialog>

class QListWidget;

namespace kelvane {

// The one-list "Raw File Format" of raw output: the data format, whose position + 1 is the
// sample code written.
class CRawDataFormatDlg : public QDialog {
    Q_OBJECT

  public:
    // `position` -1 starts with nothing chosen.
    explicit CRawDataFormatDlg(int position = -1, QWidget* parent = nullptr);
    // -1 when nothing is chosen.
    [[nodiscard]] int Position() const;

    QListWidget* m_listFormat;
};

}  // namespace kelvane
