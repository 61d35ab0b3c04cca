// The progress window of long operations: its percentage, that nothing closes it, the owner it
// disables, its nesting on the view, and a long effect that leaves the editor painting.
#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <cstring>
#include <set>

#include "document/OrvaneDoc.h"
#include "formats/FileError.h"
#include "processing/dialogs/ProgressDialog.h"
#include "resources/Strings.h"
#include "shell/ChildFrame.h"
#include "shell/MainFrame.h"
#include "shell/OrvaneApp.h"
#include "support/EditorTest.h"
#include "view/OrvaneView.h"

namespace kelvane::test {
namespace {

class ProgressDialogTest : public EditorTest {
  protected:
    COrvaneView* View() { return app().MainFrame()->ActiveChild()->View(); }
};

void PressKey(QWidget* window, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(window, &press);
    QApplication::sendEvent(window, &release);
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
  public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return QObject::eventFilter(watched, event);
    }
    int paints = 0;
};

TEST_F(ProgressDialogTest, ShowsThePercentageOfItsRangeWrappingPastTheTop) {
    QWidget owner;
    owner.show();
    ProgressDialog progress;
    EXPECT_EQ(progress.PercentText(), " 0%");
    ASSERT_TRUE(progress.Create(&owner));
    EXPECT_FALSE(owner.isEnabled()) << "the owner takes no input while the window exists";
    EXPECT_TRUE(progress.isEnabled());
    EXPECT_EQ(progress.windowTitle(), QString::fromUtf8(LoadString(103)));
    const QList<QAbstractButton*> buttons = progress.findChildren<QAbstractButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons[0]->text(), "Cancel");
    EXPECT_EQ(buttons[0]->focusPolicy(), Qt::NoFocus) << "no key can press it";

    struct Case {
        int lower, upper, position;
        const char* text;
    };
    for (const Case& c :
         {Case{0, 100, 0, "0%"}, Case{0, 100, 37, "37%"}, Case{0, 100, 100, "100%"},
          Case{0, 100, 150, "50%"}, Case{0, 100, 200, "0%"}, Case{0, 200, 100, "50%"},
          Case{50, 150, 150, "100%"}, Case{50, 150, 60, "10%"}}) {
        progress.SetRange(c.lower, c.upper);
        progress.SetPos(c.position);
        EXPECT_EQ(progress.PercentText(), c.text)
            << c.lower << ".." << c.upper << " " << c.position;
    }
    progress.SetRange(0, 100);
    progress.SetPos(40);
    EXPECT_EQ(progress.SetPos(70), 40) << "SetPos gives the previous position";
    progress.SetText("Converting ...");
    EXPECT_EQ(progress.MessageText(), "Converting ...");

    progress.DestroyWindow();
    EXPECT_TRUE(owner.isEnabled());
    EXPECT_FALSE(progress.isVisible());

    // An owner that was disabled already stays so.
    owner.setEnabled(false);
    ProgressDialog second;
    ASSERT_TRUE(second.Create(&owner));
    second.DestroyWindow();
    EXPECT_FALSE(owner.isEnabled());
}

TEST_F(ProgressDialogTest, EnterEscapeAndClosingDoNothingACancelClickCancels) {
    QWidget owner;
    owner.show();
    ProgressDialog progress;
    ASSERT_TRUE(progress.Create(&owner));
    progress.show();
    for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Space}) {
        PressKey(&progress, key);
        QApplication::processEvents();
        EXPECT_TRUE(progress.isVisible()) << key;
        EXPECT_FALSE(progress.Cancelled()) << key;
    }
    progress.close();
    progress.reject();
    progress.accept();
    QApplication::processEvents();
    EXPECT_TRUE(progress.isVisible());
    EXPECT_FALSE(owner.isEnabled());
    EXPECT_FALSE(progress.Cancelled());
    progress.findChild<QAbstractButton*>()->click();
    EXPECT_TRUE(progress.Cancelled()) << "only a click cancels";
    progress.DestroyWindow();
}

TEST_F(ProgressDialogTest, NestedProgressSharesOneWindowOnTheView) {
    COrvaneDoc* doc = Open(WriteTone("tone.wav", 1000));
    ASSERT_NE(doc, nullptr);
    COrvaneView* view = View();
    EXPECT_EQ(view->Progress(), nullptr);
    view->SetProgressText("nowhere");  // no window: nothing happens

    view->BeginProgress();
    ProgressDialog* outer = view->ProgressWindow();
    ASSERT_NE(outer, nullptr);
    EXPECT_TRUE(outer->isVisible());
    EXPECT_FALSE(app().MainFrame()->isEnabled());
    view->SetProgressText("outer");
    view->BeginProgress();
    EXPECT_EQ(view->ProgressWindow(), outer);
    view->SetProgressText("inner");
    EXPECT_EQ(outer->MessageText(), "inner") << "the inner text replaces the outer one";
    view->EndProgress();
    EXPECT_EQ(view->ProgressWindow(), outer);
    EXPECT_FALSE(app().MainFrame()->isEnabled());
    view->EndProgress();
    EXPECT_EQ(view->ProgressWindow(), nullptr);
    EXPECT_TRUE(app().MainFrame()->isEnabled());
}

// An effect on a ten-minute sound: while it runs the document window keeps painting, the
// progress moves, Enter and Escape on the progress window do nothing and no second command
// starts.
TEST_F(ProgressDialogTest, ALongEffectKeepsTheWindowPaintingAndTakesNoSecondCommand) {
    constexpr std::uint32_t kRate = 22050;
    COrvaneDoc* doc = Open(WriteTone("long.wav", 10 * 60 * kRate, 1, kRate));
    ASSERT_NE(doc, nullptr);
    COrvaneView* view = View();
    QApplication::processEvents();

    PaintCounter counter(view);
    int ticks = 0;
    bool frameDisabled = true, windowKept = true;
    std::set<QString> percents;
    QTimer timer;
    timer.setInterval(0);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ProgressDialog* progress = view->ProgressWindow();
        if (!progress) return;
        ++ticks;
        frameDisabled = frameDisabled && !app().MainFrame()->isEnabled();
        percents.insert(progress->PercentText());
        PressKey(progress, ticks % 2 ? Qt::Key_Escape : Qt::Key_Return);
        windowKept = windowKept && progress->isVisible() && view->ProgressWindow() == progress;
        if (ticks == 3) Run(32821);  // Reverse, asked for while the echo runs
        view->update();              // as the play-position timer would ask
    });
    timer.start();
    dialogs.Accept();  // Add Echo with its defaults
    const int paintsBefore = counter.paints;
    ASSERT_TRUE(Run(32825));
    const int paintsDuring = counter.paints - paintsBefore;
    timer.stop();

    // Events run every few milliseconds of the effect, not at every report of its loop.
    EXPECT_GE(ticks, 3) << "timers ran while the effect did";
    EXPECT_GE(paintsDuring, 3) << "the document window was repainted while the effect ran";
    EXPECT_GE(percents.size(), 3u) << "the percentage moved";
    EXPECT_TRUE(frameDisabled);
    EXPECT_TRUE(windowKept) << "Enter and Escape left the progress window up";
    EXPECT_EQ(view->ProgressWindow(), nullptr);
    EXPECT_TRUE(app().MainFrame()->isEnabled());
    ASSERT_NE(doc->UndoWave(), nullptr);
    EXPECT_EQ(dialogs.dialogTitles.size(), 1u) << "only the echo's dialog was shown";
    // The undo sound is the one opened, so the reverse asked for during the echo never ran.
    WaveObject opened;
    ASSERT_EQ(opened.Load(dir.File("long.wav"), 0), FileError::Success);
    ASSERT_EQ(opened.dataBytes, doc->UndoWave()->dataBytes);
    EXPECT_EQ(0, std::memcmp(opened.data, doc->UndoWave()->data, opened.dataBytes));
}

}  // namespace
}  // namespace kelvane::test
