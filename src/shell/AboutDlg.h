#pragma once

#include <QDialog>

class QPushButton;

namespace kelvane {

// The maker's web page, opened from the About box.
inline constexpr char kWebPage[] = "https://vantrel.example.com/kelvane/";

// About: the program, its version, a button to the web page, and Close.
class CAboutDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    QPushButton* m_buttonWeb;
};

}  // namespace kelvane
