#pragma once

#include <QDialog>
#include <array>
#include <cstdint>

class QRadioButton;

namespace kelvane {

// "Sub-Format" of AU output: 0 uncompressed, 1 Mu-Law, 2 A-Law.
class CSubFormatDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CSubFormatDlg(std::uint32_t choice = 0, QWidget* parent = nullptr);
    [[nodiscard]] std::uint32_t Choice() const;

    std::array<QRadioButton*, 3> m_radios;  // "Uncompressed", "Mu-Law", "A-Law"
};

}  // namespace kelvane
