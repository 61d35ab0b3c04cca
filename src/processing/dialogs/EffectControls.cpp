#include "processing/dialogs/EffectControls.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>

namespace kelvane {

QSlider* NewTrackbar(int low, int high, int tick) {
    auto* trackbar = new QSlider(Qt::Horizontal);
    trackbar->setRange(low, high);
    trackbar->setTickPosition(QSlider::TicksBelow);
    trackbar->setTickInterval(tick);
    trackbar->setPageStep(tick);
    trackbar->setMinimumWidth(220);
    return trackbar;
}

void MoveTrackbar(QSlider* trackbar, int position) {
    const QSignalBlocker quiet(trackbar);
    trackbar->setValue(position);
}

QLabel* NewValueLabel(const QString& widest) {
    auto* label = new QLabel;
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(widest) + 6);
    return label;
}

void AddTrackbarRow(QGridLayout& grid, int row, const QString& name, QSlider* trackbar,
                    QLabel* value) {
    auto* label = new QLabel(name);
    label->setBuddy(trackbar);
    grid.addWidget(label, row, 0);
    grid.addWidget(trackbar, row, 1);
    grid.addWidget(value, row, 2);
}

EditLeaveWatch::EditLeaveWatch(QLineEdit* edit, std::function<void()> handler)
    : m_connection(
          QObject::connect(qApp, &QApplication::focusChanged, edit,
                           [edit, handler = std::move(handler)](QWidget* old, QWidget* now) {
                               if (old == edit && now && now->window() == edit->window()) handler();
                           })) {}

EditLeaveWatch::~EditLeaveWatch() {
    QObject::disconnect(m_connection);
}

}  // namespace kelvane
