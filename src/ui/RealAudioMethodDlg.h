#pragma once

#include <QDialog>
#include <array>
#include <cstdint>

class QRadioButton;

namespace kelvane {

inline constexpr std::uint32_t kRealAudioMethodCount = 10;

// "Real Audio Compression Methods": the encoder's method 0 to 9 (strings 175 to 184).
class CRealAudioMethodDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CRealAudioMethodDlg(std::uint32_t method, QWidget* parent = nullptr);
    [[nodiscard]] std::uint32_t Method() const;

    std::array<QRadioButton*, kRealAudioMethodCount> m_radios;
};

}  // namespace kelvane
