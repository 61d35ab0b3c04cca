#pragma once

#include <QDialog>

#include "wavedata/WaveObject.h"

class QComboBox;

namespace kelvane {

// The six raw data formats, in list order; a position + 1 is the sample code.
inline constexpr const char* kRawDataFormats[] = {
    "8 Bits unsigned",
    "8 Bits signed",
    "16 Bits Little Endian (Intel) signed",
    "16 Bits Big Endian signed",
    "16 Bits Little Endian (Intel) unsigned",
    "16 Bits Big Endian unsigned",
};

// "Raw File Format" of the open step: rate, data format and channels of a headerless file,
// starting from the choice of the last time (profile section "RAWFILEFORMAT").
class CRawFileFormatDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CRawFileFormatDlg(QWidget* parent = nullptr);
    void SaveSettings() const;
    [[nodiscard]] RawParams Params() const;

    QComboBox* m_comboRate;
    QComboBox* m_comboFormat;
    QComboBox* m_comboChannels;
};

}  // namespace kelvane
