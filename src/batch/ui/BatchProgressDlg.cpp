#include "batch/ui/BatchProgressDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>

#include "processing/dialogs/ProgressDialog.h"
#include "resources/Strings.h"

namespace kelvane {

namespace {

constexpr std::uint32_t kFinishText = 199;

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QProgressBar* PercentBar() {
    auto* bar = new QProgressBar;
    bar->setRange(0, 100);
    bar->setTextVisible(false);
    return bar;
}

}  // namespace

CBatchProgressDlg::CBatchProgressDlg()
    : m_labelFile(new QLabel),
      m_labelStep(new QLabel),
      m_progressFilter(PercentBar()),
      m_progressOverall(PercentBar()),
      m_editLog(new QPlainTextEdit),
      m_buttonCancel(new QPushButton(tr("Cancel"))) {
    setWindowTitle(tr("Batch Conversion"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    // Long paths must not widen the window: the label elides nothing, so let it clip.
    for (QLabel* label : {m_labelFile, m_labelStep}) {
        label->setMinimumWidth(420);
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        label->setTextFormat(Qt::PlainText);
    }
    m_editLog->setReadOnly(true);
    m_editLog->setMinimumSize(460, 200);
    connect(m_buttonCancel, &QPushButton::clicked, this, &CBatchProgressDlg::OnButton);

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_labelFile, 0, 0, 1, 2);
    grid->addWidget(m_labelStep, 1, 0, 1, 2);
    grid->addWidget(new QLabel(tr("Current Filter")), 2, 0, 1, 2);
    grid->addWidget(m_progressFilter, 3, 0, 1, 2);
    grid->addWidget(new QLabel(tr("Overall Progress")), 4, 0, 1, 2);
    grid->addWidget(m_progressOverall, 5, 0, 1, 2);
    grid->addWidget(m_editLog, 6, 0, 1, 2);
    grid->addWidget(m_buttonCancel, 7, 1);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(6, 1);
}

CBatchProgressDlg::~CBatchProgressDlg() {
    DestroyWindow();
}

bool CBatchProgressDlg::Create(void* parent) {
    auto* widget = static_cast<QWidget*>(parent);
    QWidget* owner = widget ? widget->window() : nullptr;
    // The owner (the batch dialog) is hidden while the run goes; the main window behind it
    // must not start a command either.
    for (QWidget* w = owner; w; w = w->parentWidget() ? w->parentWidget()->window() : nullptr) {
        if (w->isEnabled()) {
            w->setEnabled(false);
            m_disabled.emplace_back(w);
        }
    }
    setParent(owner, windowFlags());
    setModal(false);
    // Disabling the owner disabled this window too; it must still take its own events.
    setEnabled(true);
    return true;
}

void CBatchProgressDlg::SetText(std::string_view text) {
    m_labelStep->setText(FromView(text));
}

int CBatchProgressDlg::SetPos(int position) {
    PumpMessages();
    const int previous = m_progressFilter->value();
    m_progressFilter->setValue(position);
    return previous;
}

void CBatchProgressDlg::SetRange(int lower, int upper) {
    m_progressFilter->setRange(lower, upper);
}

void CBatchProgressDlg::SetFileText(std::string_view text) {
    m_labelFile->setText(FromView(text));
}

void CBatchProgressDlg::SetOverallPos(int position) {
    PumpMessages();
    m_progressOverall->setValue(position);
}

void CBatchProgressDlg::AppendLog(std::string_view text) {
    m_editLog->moveCursor(QTextCursor::End);
    m_editLog->insertPlainText(FromView(text));
    m_editLog->verticalScrollBar()->setValue(m_editLog->verticalScrollBar()->maximum());
}

void CBatchProgressDlg::ShowFinished() {
    m_bCancel = false;
    m_bFinished = true;
    m_buttonCancel->setText(QString::fromUtf8(LoadString(kFinishText)));
    QApplication::beep();
    emit finishShown();
}

void CBatchProgressDlg::WaitForFinish() {
    if (m_bCancel) return;
    // A nested loop instead of polling: the window paints and takes input at once, and the
    // run wakes exactly when the button is pressed.
    QEventLoop loop;
    m_pWait = &loop;
    while (!m_bCancel) loop.exec();
    m_pWait = nullptr;
    m_progressOverall->setValue(100);
}

void CBatchProgressDlg::DestroyWindow() {
    for (const QPointer<QWidget>& w : m_disabled)
        if (w) w->setEnabled(true);
    m_disabled.clear();
    hide();
}

void CBatchProgressDlg::OnButton() {
    m_bCancel = true;
    if (m_pWait) m_pWait->quit();
    if (!m_bFinished) emit cancelPressed();
}

void CBatchProgressDlg::closeEvent(QCloseEvent* event) {
    event->ignore();
    OnButton();
}

}  // namespace kelvane
