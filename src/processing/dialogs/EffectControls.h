#pragma once

#include <QMetaObject>
#include <QString>
#include <functional>

class QGridLayout;
class QLabel;
class QLineEdit;
class QSlider;

namespace kelvane {

// A horizontal trackbar over [low, high] with a tick every `tick` positions.
[[nodiscard]] QSlider* NewTrackbar(int low, int high, int tick);

// Sets a trackbar's position as a program does, without the notification a person's move
// sends: the dialog's reaction to a move (reading the settings back) does not run.
void MoveTrackbar(QSlider* trackbar, int position);

// A right-aligned label for a trackbar's value, wide enough for `widest` so the row does not
// shift as the value changes.
[[nodiscard]] QLabel* NewValueLabel(const QString& widest);

// One row of a trackbar grid: its name (the trackbar's buddy), the trackbar and its value.
void AddTrackbarRow(QGridLayout& grid, int row, const QString& name, QSlider* trackbar,
                    QLabel* value);

// Calls `handler` whenever the focus leaves `edit` for another control of its window (a
// message box or a popup taking it does not count), as a dialog checks a field that was left.
// The watch ends with the object, so a dialog keeps it as its last member.
class EditLeaveWatch {
  public:
    EditLeaveWatch(QLineEdit* edit, std::function<void()> handler);
    ~EditLeaveWatch();
    EditLeaveWatch(const EditLeaveWatch&) = delete;
    EditLeaveWatch& operator=(const EditLeaveWatch&) = delete;

  private:
    QMetaObject::Connection m_connection;
};

}  // namespace kelvane
