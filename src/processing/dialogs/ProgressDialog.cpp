#include "processing/dialogs/ProgressDialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "processing/ProgressLabel.h"
#include "resources/Strings.h"
#include "ui/DialogHost.h"

namespace kelvane {

// Never nests: a pump from inside an event that a pump delivered (a resize that rebuilds the
// peaks, say) would run deferred deletions under the feet of the Qt code that sent that event.
void PumpMessages() {
    static bool pumping = false;
    if (pumping) return;
    pumping = true;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    pumping = false;
}

ProgressDialog::ProgressDialog(std::uint32_t captionId)
    : m_progress(new QProgressBar),
      m_labelPercent(new QLabel(" 0%")),
      m_labelText(new QLabel),
      m_buttonCancel(new QPushButton(tr("Cancel"))),
      m_nCaption(captionId ? captionId : 103) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setProperty(kClosesBeforeMessages, true);
    m_progress->setRange(0, 100);
    m_progress->setTextVisible(false);
    m_nPos = m_progress->value();
    m_labelPercent->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_labelPercent->setMinimumWidth(m_labelPercent->fontMetrics().horizontalAdvance("100%") + 4);
    m_labelText->setMinimumWidth(300);
    auto* grid = new QGridLayout(this);
    grid->addWidget(m_progress, 0, 0);
    grid->addWidget(m_labelPercent, 0, 1);
    grid->addWidget(m_labelText, 1, 0, 1, 2);
    m_buttonCancel->setFocusPolicy(Qt::NoFocus);
    m_buttonCancel->setAutoDefault(false);
    grid->addWidget(m_buttonCancel, 2, 0, 1, 2, Qt::AlignRight);
    connect(m_buttonCancel, &QPushButton::clicked, this, [this] {
        m_bCancelled = true;
        m_buttonCancel->setEnabled(false);
    });
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

ProgressDialog::~ProgressDialog() {
    DestroyWindow();
}

bool ProgressDialog::Create(void* parent) {
    auto* widget = static_cast<QWidget*>(parent);
    QWidget* owner = widget ? widget->window() : nullptr;
    if (owner && owner->isEnabled()) {
        // Disabling drops the owner's focus; given back as it was, it keeps the document the
        // person works in active (the next focusable one, the first document, would take over).
        m_pOwnerFocus = owner->focusWidget();
        owner->setEnabled(false);
        m_pDisabledOwner = owner;
    }
    setParent(owner, windowFlags());
    setWindowTitle(QString::fromUtf8(LoadString(m_nCaption)));
    setModal(false);
    m_progress->setRange(m_nLower, m_nUpper);
    m_progress->setValue(m_nLower);
    // The owner is disabled, but this window must still take events of its own.
    setEnabled(true);
    return true;
}

void ProgressDialog::SetText(std::string_view text) {
    m_labelText->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

// A loop over an hour of frames reports thousands of times; the bar (which repaints at once)
// and the events follow at a pace the eye and a Cancel click need, not at every report.
int ProgressDialog::SetPos(int position) {
    constexpr auto kPumpInterval = std::chrono::milliseconds(5);
    const int previous = m_nPos;
    m_nPos = position;
    m_bPosShown = false;
    const auto now = std::chrono::steady_clock::now();
    if (now - m_lastPump >= kPumpInterval) {
        m_lastPump = now;
        ShowPosition();
        PumpMessages();
    }
    return previous & 0xFFFF;
}

void ProgressDialog::ShowPosition() const {
    if (m_bPosShown) return;
    m_bPosShown = true;
    m_progress->setValue(m_nPos);
    // Rewritten only when it changes, so the label does not flicker.
    const QString text = QString::fromStdString(ProgressPercentText(m_nPos, m_nLower, m_nUpper));
    if (text != m_labelPercent->text()) m_labelPercent->setText(text);
}

void ProgressDialog::SetRange(int lower, int upper) {
    m_nLower = lower;
    m_nUpper = upper;
    m_progress->setRange(lower, upper);
}

void ProgressDialog::DestroyWindow() {
    if (m_pDisabledOwner) m_pDisabledOwner->setEnabled(true);
    if (m_pDisabledOwner && m_pOwnerFocus) m_pOwnerFocus->setFocus(Qt::OtherFocusReason);
    m_pDisabledOwner = nullptr;
    m_pOwnerFocus = nullptr;
    hide();
}

QString ProgressDialog::PercentText() const {
    ShowPosition();
    return m_labelPercent->text();
}

QString ProgressDialog::MessageText() const {
    return m_labelText->text();
}

void ProgressDialog::keyPressEvent(QKeyEvent* event) {
    // Enter and Escape would close a dialog; this one cannot be cancelled.
    event->accept();
}

void ProgressDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
}

}  // namespace kelvane
