#pragma once

#include <QDialog>

#include "ui/RawDataFormatDlg.h"
#include "wavedata/WaveObject.h"

class QComboBox;

namespace kelvane {

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
