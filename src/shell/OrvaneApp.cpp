#include "shell/OrvaneApp.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMdiArea>
#include <QProcess>
#include <QSplashScreen>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <csignal>
#include <map>

#include "batch/ui/BatchFileDialog.h"
#include "devices/DeviceHooks.h"
#include "devices/WaveDevicesDlg.h"
#include "document/DocumentFiles.h"
#include "document/DocumentManifest.h"
#include "platform/instance/SingleInstance.h"
#include "platform/profile/Profile.h"
#include "processing/dialogs/WaveFormatDlg.h"
#include "resources/Strings.h"
#include "shell/AboutDlg.h"
#include "shell/ChildFrame.h"
#include "shell/MainFrame.h"
#include "shell/MiscellaneousDlg.h"
#include "shell/RecoverySession.h"
#include "shell/WaveOpenDlg.h"
#include "shell/WaveSaveDlg.h"
#include "ui/AppState.h"
#include "ui/DialogHost.h"
#include "ui/FileFilters.h"
#include "view/ColorDlg.h"
#include "view/DisplayFormatDlg.h"

namespace kelvane {

namespace {

constexpr char kRecentSection[] = "Recent File List";
constexpr int kSplashMs = 3000;
constexpr char kBusPath[] = "/com/vantrel/Kelvane";
constexpr char kBusInterface[] = "com.vantrel.Kelvane";

COrvaneApp* g_app = nullptr;

// A request to end (the session ending, kill's default signal) is taken up by the next poll,
// so the application leaves the way it does from the menu and removes its block.
volatile std::sig_atomic_t g_quitRequested = 0;

void OnQuitSignal(int) { g_quitRequested = 1; }

void InstallQuitHandlers() {
    struct sigaction action {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

}  // namespace
}  // namespace kelvane

// The resources live in a static library: nothing would pull them in otherwise.
static void InitResources() { Q_INIT_RESOURCE(kelvane); }

namespace kelvane {
namespace {

QString NormalizedSwitch(const QString& argument) {
    // The framework's switches start with '/' or '-' in any case.
    if (argument.size() > 1 && (argument[0] == '/' || argument[0] == '-') && !argument.startsWith("--"))
        return "--" + argument.mid(1).toLower();
    return argument;
}

}  // namespace

COrvaneApp::Options COrvaneApp::ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(LoadString(220)));
    const QCommandLineOption noSplash("nosplash", tr("Start without the splash window."));
    const QCommandLineOption embedding("embedding", tr("Start as an embedding server."));
    const QCommandLineOption automation("automation", tr("Start for automation."));
    parser.addOptions({noSplash, embedding, automation});
    parser.addPositionalArgument("file", tr("A sound file to open."), "[file...]");
    parser.addHelpOption();
    parser.addVersionOption();
    QStringList normalized;
    for (const QString& argument : arguments) {
        const QString option = NormalizedSwitch(argument);
        const bool known = option == "--nosplash" || option == "--embedding" || option == "--automation";
        normalized.append(known || argument.startsWith("--") ? option : argument);
    }
    if (!normalized.isEmpty()) normalized[0] = arguments.front();
    parser.process(normalized);
    Options options;
    options.noSplash = parser.isSet(noSplash);
    options.embedding = parser.isSet(embedding);
    options.automation = parser.isSet(automation);
    for (const QString& file : parser.positionalArguments())
        options.files.append(QFileInfo(file).absoluteFilePath());
    return options;
}

COrvaneApp::COrvaneApp() {
    InitResources();
    g_app = this;
    SetDocumentHost(this);
}

COrvaneApp::~COrvaneApp() {
    CloseAllDocuments();
    m_pSplash.reset();
    m_pMainFrame.reset();
    App().clipboardWave.reset();
    SetRecovery(nullptr);
    m_pRecovery.reset();
    m_pInstanceBlock.reset();
    SetDocumentHost(nullptr);
    g_app = nullptr;
}

COrvaneApp* COrvaneApp::Instance() { return g_app; }

void COrvaneApp::LoadSettings() {
    CColorDlg colors;
    colors.ApplySettings();
    CDisplayFormatDlg display;
    display.ApplySettings();
    CMiscellaneousDlg miscellaneous;
    miscellaneous.ApplySettings();
    CWaveDevicesDlg devices;
    devices.ApplySettings();
    for (int i = 1; i <= static_cast<int>(kRecentFileCount); ++i) {
        const std::string file = GetProfileString(kRecentSection, "File" + std::to_string(i), "");
        if (!file.empty()) m_recentFiles.append(QString::fromStdString(file));
    }
}

bool COrvaneApp::InitInstance(const Options& options) {
    QApplication::setApplicationName(QString::fromUtf8(LoadString(128)));
    QApplication::setOrganizationName(QString::fromUtf8(LoadString(161)));
    InstallDeviceHooks();
    LoadSettings();
    App().clipboardWave = std::make_unique<WaveObject>(1, App().tempDir.c_str());
    m_pMainFrame = std::make_unique<CMainFrame>(*this);
    if (options.singleInstance) InstallQuitHandlers();
    // A container drives this copy: the main window stays hidden and the single-instance
    // block is left to the copy a person starts.
    if (options.embedding || options.automation) return true;

    if (options.singleInstance) {
        // Another name runs a private copy beside the user's (the tests do).
        const QString name = qEnvironmentVariable("KELVANE_INSTANCE_NAME", kServerClassId);
        m_pInstanceBlock = SingleInstance::Open(name.toStdString());
        if (m_pInstanceBlock && !m_pInstanceBlock->IsOwner()) {
            m_pInstanceBlock->HandOver(options.files.isEmpty() ? std::string()
                                                               : options.files.front().toStdString());
            return false;
        }
    }
    if (options.recovery) StartRecovery();
    if (!options.noSplash) ShowSplash();
    for (const QString& file : options.files) OpenDocumentFile(file);
    m_pMainFrame->show();
    if (m_pRecovery)
        m_pRecovery->RecoverDeadCopies(m_strTempFolder, [this](const DocumentManifest& manifest) {
            return OpenRecovered(manifest);
        });
    return true;
}

// Only the copy a person runs keeps its work recoverable: one that a container drives, or one
// that handed its file to a running copy, has nothing of its own to keep.
void COrvaneApp::StartRecovery() {
    m_pRecovery = std::make_unique<RecoverySession>(
        [this] {
            std::vector<COrvaneDoc*> docs;
            for (const auto& doc : m_docs) docs.push_back(doc.get());
            return docs;
        },
        [this] {
            return m_pMainFrame && m_pMainFrame->isEnabled() &&
                   QApplication::activeModalWidget() == nullptr;
        });
    SetRecovery(m_pRecovery.get());
    m_strTempFolder = App().tempDir;
    App().tempDir = m_pRecovery->FolderIn(m_strTempFolder);
}

bool COrvaneApp::OpenRecovered(const DocumentManifest& manifest) {
    auto doc = std::make_unique<COrvaneDoc>();
    if (!RestoreDocument(manifest, *doc)) return false;
    if (doc->PathName().empty()) ++m_nUntitled;
    ShowNewDocument(std::move(doc)).UpdateAllViews(HINT_ALL);
    return true;
}

void COrvaneApp::ShowSplash() {
    const QPixmap picture(":/art/splash.png");
    if (picture.isNull()) return;
    m_pSplash = std::make_unique<QSplashScreen>(picture);
    m_pSplash->move(m_pMainFrame->geometry().center() - m_pSplash->rect().center());
    m_pSplash->show();
    QTimer::singleShot(kSplashMs, this, [this] { m_pSplash.reset(); });
}

std::size_t COrvaneApp::FrameCountOf(const COrvaneDoc& doc) const {
    return static_cast<std::size_t>(std::count_if(m_frames.begin(), m_frames.end(),
                                                  [&](CChildFrame* f) { return &f->Document() == &doc; }));
}

CChildFrame* COrvaneApp::CreateFrame(COrvaneDoc& doc) {
    auto* frame = new CChildFrame(doc);
    m_frames.push_back(frame);
    connect(&doc, &COrvaneDoc::TitleChanged, frame, [this, &doc] { UpdateTitles(doc); });
    return frame;
}

void COrvaneApp::UpdateTitles(COrvaneDoc& doc) {
    const bool several = FrameCountOf(doc) > 1;
    int number = 0;
    for (CChildFrame* frame : m_frames)
        if (&frame->Document() == &doc) frame->UpdateTitle(several ? ++number : 0);
    m_pMainFrame->UpdateTitle();
}

COrvaneDoc* COrvaneApp::OpenDocumentFile(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (const auto& doc : m_docs)
        if (QString::fromStdString(doc->PathName()) == absolute) {
            for (CChildFrame* frame : m_frames)
                if (&frame->Document() == doc.get()) m_pMainFrame->MdiArea()->setActiveSubWindow(frame);
            return doc.get();
        }
    auto doc = std::make_unique<COrvaneDoc>();
    // The window exists (hidden) while the file loads, so the load has a progress window.
    std::unique_ptr<CChildFrame> frame(CreateFrame(*doc));
    m_docs.push_back(std::move(doc));
    COrvaneDoc* opened = m_docs.back().get();
    if (!opened->OnOpenDocument(absolute.toStdString())) {
        frame.reset();  // takes the document with it
        return nullptr;
    }
    AddToRecentFiles(absolute);
    UpdateTitles(*opened);
    m_pMainFrame->AddChild(frame.release());
    opened->UpdateAllViews(HINT_ALL);
    return opened;
}

COrvaneDoc* COrvaneApp::CreateNewDocument() {
    auto doc = std::make_unique<COrvaneDoc>();
    if (!doc->OnNewDocument()) return nullptr;
    doc->SetTitle(QString("Wave%1").arg(++m_nUntitled));
    return &ShowNewDocument(std::move(doc));
}

COrvaneDoc& COrvaneApp::ShowNewDocument(std::unique_ptr<COrvaneDoc> doc) {
    CChildFrame* frame = CreateFrame(*doc);
    m_docs.push_back(std::move(doc));
    UpdateTitles(frame->Document());
    m_pMainFrame->AddChild(frame);
    return frame->Document();
}

void COrvaneApp::OpenWindow(COrvaneDoc& doc) {
    CChildFrame* frame = CreateFrame(doc);
    UpdateTitles(doc);
    m_pMainFrame->AddChild(frame);
}

void COrvaneApp::OnFrameDestroyed(COrvaneDoc& doc, CChildFrame* frame) {
    std::erase(m_frames, frame);
    if (FrameCountOf(doc) > 0) {
        UpdateTitles(doc);
        return;
    }
    std::erase_if(m_docs, [&](const auto& d) { return d.get() == &doc; });
    if (m_pMainFrame) m_pMainFrame->UpdateMenus();
}

void COrvaneApp::CloseDocument(COrvaneDoc& doc) {
    if (!doc.SaveModified()) return;
    std::vector<CChildFrame*> frames;
    for (CChildFrame* frame : m_frames)
        if (&frame->Document() == &doc) frames.push_back(frame);
    for (CChildFrame* frame : frames) frame->CloseQuietly();
}

bool COrvaneApp::SaveAllModified() {
    std::vector<COrvaneDoc*> docs;
    for (const auto& doc : m_docs) docs.push_back(doc.get());
    return std::all_of(docs.begin(), docs.end(), [](COrvaneDoc* doc) { return doc->SaveModified(); });
}

void COrvaneApp::CloseAllDocuments() {
    while (!m_frames.empty()) delete m_frames.back();
    m_docs.clear();
}

void COrvaneApp::RunCommandIn(const Command& command, CChildFrame* child) {
    // A progress window disables the main frame while its operation runs: no second command
    // starts then, whichever way it is asked for.
    if (!m_pMainFrame || !m_pMainFrame->isEnabled()) return;
    const CommandContext context = m_pMainFrame->ContextOf(child);
    if (m_pRecovery) m_pRecovery->BeginCommand(context.doc);
    RunCommand(command, context);
    if (m_pRecovery) m_pRecovery->EndCommand();
    if (m_pMainFrame) m_pMainFrame->UpdateCommandUI();
}

void COrvaneApp::OnFileNew() {
    CWaveFormatDlg dialog({}, m_pMainFrame.get());
    if (RunModal(dialog) != QDialog::Accepted) return;
    COrvaneDoc* doc = CreateNewDocument();
    if (!doc) return;
    if (!doc->ResetToEmpty(dialog.Format())) MessageBox(1003);
    doc->UpdateAllViews(HINT_ALL);
}

void COrvaneApp::OnFileOpen() {
    CWaveOpenDlg dialog(m_pMainFrame.get());
    const QStringList filters = dialog.nameFilters();
    const int index = std::clamp(GetProfileInt("WAVEOPEN", "FILTER", 0), 0,
                                 static_cast<int>(filters.size()) - 1);
    dialog.selectNameFilter(filters[index]);
    if (RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    WriteProfileInt("WAVEOPEN", "FILTER", static_cast<int>(filters.indexOf(dialog.selectedNameFilter())));
    // The desktop's chooser shows no preview: its own panel shows the chosen file first.
    if (QDialog* panel = dialog.Panel()) {
        dialog.OnFileChanged(dialog.selectedFiles().front());
        if (RunModal(*panel) != QDialog::Accepted) return;
    }
    OpenDocumentFile(dialog.selectedFiles().front());
}

DocumentHost::SaveChoice COrvaneApp::AskSaveAs(const COrvaneDoc& doc, std::uint32_t preselectedType) {
    CWaveSaveDlg dialog(*doc.m_pWave->format, preselectedType,
                        QString::fromStdString(doc.PathName()), m_pMainFrame.get());
    // With the desktop's chooser the type and its options come first, in a panel of their own.
    if (QDialog* panel = dialog.Panel(); panel && RunModal(*panel) != QDialog::Accepted) return {};
    if (RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    SaveChoice choice;
    choice.path = dialog.selectedFiles().front().toStdString();
    choice.type = dialog.SaveType();
    if (dialog.WaveSubFormat()) choice.waveFormat = CopyFormat(*dialog.WaveSubFormat());
    choice.subFormat = dialog.SubFormatNumber();
    choice.encoder = dialog.Encoder();
    return choice;
}

void COrvaneApp::OnBatchConversion() {
    CBatchFileDialog dialog(m_pMainFrame.get());
    RunModal(dialog);
}

void COrvaneApp::OnCloseAll() {
    if (!SaveAllModified()) return;
    CloseAllDocuments();
    m_pMainFrame->UpdateMenus();
}

void COrvaneApp::OnAppExit() { m_pMainFrame->close(); }

void COrvaneApp::OnAppAbout() {
    CAboutDlg dialog(m_pMainFrame.get());
    RunModal(dialog);
}

namespace {

// The guide installed with the program (share/doc/kelvane/guide), or the copy beside a built
// one; empty when there is neither.
QString GuidePath() {
    const QString dir = QCoreApplication::applicationDirPath();
    for (const QString& candidate :
         {dir + "/../share/doc/kelvane/guide/index.html", dir + "/guide/index.html"})
        if (QFileInfo::exists(candidate)) return QFileInfo(candidate).canonicalFilePath();
    return {};
}

// Whether the desktop names a program for web pages: without one, opening a page only writes
// a line on standard error.
bool HasWebBrowser() {
    QProcess query;
    query.start("xdg-mime", {"query", "default", "text/html"});
    if (!query.waitForFinished(3000)) return false;
    return query.exitCode() == 0 && !query.readAllStandardOutput().trimmed().isEmpty();
}

}  // namespace

void COrvaneApp::OnHelp() {
    const QString guide = GuidePath();
    if (guide.isEmpty()) {
        QDesktopServices::openUrl(QUrl(QString::fromLatin1(kWebPage) + "help/"));
        return;
    }
    if (HasWebBrowser() && QDesktopServices::openUrl(QUrl::fromLocalFile(guide))) return;
    ShowHelpWindow();
}

QTextBrowser* COrvaneApp::ShowHelpWindow() {
    const QString guide = GuidePath();
    if (guide.isEmpty()) return nullptr;
    if (!m_pHelpWindow) {
        m_pHelpWindow = std::make_unique<QTextBrowser>();
        m_pHelpWindow->setWindowTitle(tr("%1 Help").arg(QString::fromUtf8(LoadString(128))));
        m_pHelpWindow->setWindowIcon(m_pMainFrame ? m_pMainFrame->windowIcon() : QIcon());
        m_pHelpWindow->setOpenExternalLinks(true);
        // Wide enough for the widest picture (the main window, 1000 pixels) and the margins.
        m_pHelpWindow->resize(1120, 720);
        m_pHelpWindow->setSource(QUrl::fromLocalFile(guide));
    }
    m_pHelpWindow->show();
    m_pHelpWindow->raise();
    m_pHelpWindow->activateWindow();
    return m_pHelpWindow.get();
}

void COrvaneApp::OpenRecent(int index) {
    if (index >= 0 && index < m_recentFiles.size()) OpenDocumentFile(m_recentFiles[index]);
}

void COrvaneApp::AddToRecentFiles(const QString& path) {
    m_recentFiles.removeAll(path);
    m_recentFiles.prepend(path);
    while (m_recentFiles.size() > static_cast<qsizetype>(kRecentFileCount)) m_recentFiles.removeLast();
    SaveRecentFiles();
}

void COrvaneApp::SaveRecentFiles() const {
    for (int i = 0; i < static_cast<int>(kRecentFileCount); ++i)
        WriteProfileString(kRecentSection, "File" + std::to_string(i + 1),
                           i < m_recentFiles.size() ? m_recentFiles[i].toStdString() : "");
}

void COrvaneApp::OnActivateApp() {
    // Other sound programs may take this as a request to give up the sound device.
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return;
    bus.send(QDBusMessage::createSignal(kBusPath, kBusInterface, "QUILLON_REQUESTWAVEDEVICE"));
}

void COrvaneApp::PollInstanceBlock() {
    if (g_quitRequested) {
        g_quitRequested = 0;
        QApplication::quit();
    }
    if (!m_pInstanceBlock) return;
    const std::string path = m_pInstanceBlock->TakePendingPath();
    const bool raise = SingleInstance::TakeRaiseRequest();
    if (!path.empty()) OpenDocumentFile(QString::fromStdString(path));
    if (raise || !path.empty()) m_pMainFrame->BringToFront();
}

}  // namespace kelvane
