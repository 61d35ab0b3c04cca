#pragma once

#include <QDialog>

class QListWidget;

namespace kelvane {

// The six raw data formats, in list order; a position + 1 is the sample code.
inline constexpr const char* kRawDataFormats[] = {
    QT_TRANSLATE_NOOP("kelvane::CRawDataFormatDlg", "8 Bits unsigned"),
    QT_TRANSLATE_NOOP("kelvane::CRawDataFormatDlg", "8 Bits signed"),
    QT_TRANSLATE_NOOP("kelvane::CRawDataFormatDlg", "16 Bits Little Endian (Intel) signed"),
    QT_TRANSLATE_NOOP("kelvane::CRawDataFormatDlg", "16 Bits Big Endian signed"),
    QT_TRANSLATE_NOOP("kelvane::CRawDataFormatDlg", "16 Bits Little Endian (Intel) unsigned"),
    QT_TRANSLATE_NOOP("kelvane::CRawDataFormatDlg", "16 Bits Big Endian unsigned"),
};

// The same, as the user's language shows them.
[[nodiscard]] QStringList RawDataFormatNames();

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
