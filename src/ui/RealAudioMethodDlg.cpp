#include "ui/RealAudioMethodDlg.h"

#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "resources/Strings.h"
#include "ui/DialogLayout.h"

namespace kelvane {

namespace {
constexpr std::uint32_t kFirstMethodName = 175;
}

CRealAudioMethodDlg::CRealAudioMethodDlg(std::uint32_t method, QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Real Audio Compression Methods"));
    auto* box = new QGroupBox(tr("Compression Method"));
    auto* column = new QVBoxLayout(box);
    for (std::uint32_t i = 0; i < kRealAudioMethodCount; ++i) {
        m_radios[i] = new QRadioButton(QString::fromUtf8(LoadString(kFirstMethodName + i)));
        column->addWidget(m_radios[i]);
    }
    m_radios[method < kRealAudioMethodCount ? method : 0]->setChecked(true);
    auto* controls = new QVBoxLayout;
    controls->addWidget(box);
    SetDialogLayout(*this, controls);
}

std::uint32_t CRealAudioMethodDlg::Method() const {
    for (std::uint32_t i = 0; i < kRealAudioMethodCount; ++i)
        if (m_radios[i]->isChecked()) return i;
    return 0;
}

}  // namespace kelvane
