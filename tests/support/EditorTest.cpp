#include "support/EditorTest.h"

#include <QApplication>
#include <QMdiArea>
#include <QPushButton>

#include "document/OrvaneDoc.h"
#include "formats/FileError.h"
#include "processing/dialogs/ProgressDialog.h"
#include "resources/Strings.h"
#include "shell/ChildFrame.h"
#include "shell/MainFrame.h"
#include "shell/OrvaneApp.h"

namespace kelvane::test {

namespace {

// One QApplication for the whole test program, on the offscreen platform unless told otherwise.
// It ends with the test run: left to the exit handlers, it outlives Qt's own globals and
// crashes the program after the last test passed.
class QtEnvironment final : public ::testing::Environment {
  public:
    void TearDown() override { application.reset(); }
    std::unique_ptr<QApplication> application;
};

QApplication& Application() {
    static int argc = 1;
    static char name[] = "kelvane-tests";
    static char* argv[] = {name, nullptr};
    // The test framework owns its environments.
    static auto* environment =
        static_cast<QtEnvironment*>(::testing::AddGlobalTestEnvironment(new QtEnvironment));
    if (!environment->application) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        environment->application = std::make_unique<QApplication>(argc, argv);
    }
    return *environment->application;
}

}  // namespace

int ScriptedDialogs::Exec(QDialog& dialog) {
    dialogTitles.push_back(dialog.windowTitle());
    if (m_dialogs.empty()) {
        ADD_FAILURE() << "unexpected dialog \"" << dialog.windowTitle().toStdString() << "\"";
        return QDialog::Rejected;
    }
    Answer answer = std::move(m_dialogs.front());
    m_dialogs.pop_front();
    return answer(dialog);
}

QMessageBox::StandardButton ScriptedDialogs::Message(QWidget*, const QString& text,
                                                     QMessageBox::StandardButtons buttons,
                                                     QMessageBox::Icon) {
    messages.push_back(text);
    if (!m_buttons.empty()) {
        const auto button = m_buttons.front();
        m_buttons.pop_front();
        return button;
    }
    for (int bit = 0; bit < 32; ++bit)
        if (buttons.testFlag(static_cast<QMessageBox::StandardButton>(1u << bit)))
            return static_cast<QMessageBox::StandardButton>(1u << bit);
    return QMessageBox::Ok;
}

void ScriptedDialogs::Accept(std::function<void(QDialog&)> fill) {
    m_dialogs.push_back([fill = std::move(fill)](QDialog& dialog) {
        if (fill) fill(dialog);
        // accept() of a dialog may refuse (a range check) and keep it open.
        dialog.accept();
        return dialog.result() == QDialog::Accepted ? QDialog::Accepted : QDialog::Rejected;
    });
}

void ScriptedDialogs::Cancel(std::function<void(QDialog&)> fill) {
    m_dialogs.push_back([fill = std::move(fill)](QDialog& dialog) {
        if (fill) fill(dialog);
        dialog.reject();
        return QDialog::Rejected;
    });
}

QString Message(std::uint32_t id) { return QString::fromUtf8(LoadString(id)); }

CancelClicker::CancelClicker() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* progress = qobject_cast<ProgressDialog*>(window);
            auto* cancel = progress ? progress->findChild<QPushButton*>() : nullptr;
            if (!cancel || !progress->isVisible()) continue;
            cancel->click();
            clicked = true;
            timer_.stop();
        }
    });
    timer_.start(0);
}

EditorTest::EditorTest() : EditorTest(Deferred{}) {
    Start(false);
}

EditorTest::EditorTest(Deferred) {
    Application();
    m_previousHost = SetDialogHost(&dialogs);
}

void EditorTest::Start(bool recovery) {
    m_app = std::make_unique<COrvaneApp>();
    COrvaneApp::Options options;
    options.noSplash = true;
    options.singleInstance = false;
    options.recovery = recovery;
    m_app->InitInstance(options);
}

void EditorTest::Stop() {
    m_app.reset();
}

EditorTest::~EditorTest() {
    m_app.reset();
    SetDialogHost(m_previousHost);
}

COrvaneDoc* EditorTest::ActiveDocument() {
    CChildFrame* child = m_app->MainFrame()->ActiveChild();
    return child ? &child->Document() : nullptr;
}

bool EditorTest::Run(std::uint32_t id) {
    const Command* command = FindCommand(id);
    if (!command) {
        ADD_FAILURE() << "no command " << id;
        return false;
    }
    if (!Enabled(id)) return false;
    m_app->RunCommandIn(*command, m_app->MainFrame()->ActiveChild());
    return true;
}

bool EditorTest::Enabled(std::uint32_t id) {
    const Command* command = FindCommand(id);
    return command && IsEnabled(*command, m_app->MainFrame()->ContextOf(m_app->MainFrame()->ActiveChild()));
}

COrvaneDoc* EditorTest::Open(const std::string& path) {
    return m_app->OpenDocumentFile(QString::fromStdString(path));
}

std::string EditorTest::WriteTone(const std::string& name, std::uint32_t frames,
                                  std::uint16_t channels, std::uint32_t rate) {
    const std::string path = dir.File(name);
    auto wave = SweepWave(rate, channels, frames, 200.0, 2000.0, 20000.0);
    EXPECT_EQ(wave->Save(path, kFileWave), FileError::Success);
    return path;
}

}  // namespace kelvane::test
