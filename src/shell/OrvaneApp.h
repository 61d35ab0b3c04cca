#pragma once

#include <QObject>
#include <QStringList>
#include <memory>
#include <vector>

#include "document/OrvaneDoc.h"
#include "shell/CommandTable.h"

class QSplashScreen;
class QTextBrowser;

namespace kelvane {

class CChildFrame;
class CMainFrame;
class SingleInstance;

// The class id that names the editor: its single-instance block and its embedding server.
inline constexpr char kServerClassId[] = "{1A50CA83-E632-11D0-A07D-00A0240B2F28}";

// The application: start-up, the documents and their windows, the single running copy, the
// recent files and the application-wide commands.
class COrvaneApp : public QObject, public DocumentHost {
    Q_OBJECT

  public:
    struct Options {
        QStringList files;
        bool noSplash = false;
        bool embedding = false;
        bool automation = false;
        bool singleInstance = true;  // tests run several applications in one process
        bool recovery = true;        // temporary files kept for, and taken from, crash recovery
    };
    // Accepts the framework's forms too: /Embedding, -Automation, /nosplash.
    [[nodiscard]] static Options ParseCommandLine(const QStringList& arguments);

    COrvaneApp();
    ~COrvaneApp() override;
    [[nodiscard]] static COrvaneApp* Instance();

    // False when this copy is to end: another copy took the file, or start-up failed.
    bool InitInstance(const Options& options);

    [[nodiscard]] CMainFrame* MainFrame() const { return m_pMainFrame.get(); }
    [[nodiscard]] std::size_t DocumentCount() const { return m_docs.size(); }
    [[nodiscard]] COrvaneDoc* Document(std::size_t index) const { return m_docs[index].get(); }
    [[nodiscard]] std::size_t FrameCountOf(const COrvaneDoc& doc) const;
    [[nodiscard]] const QStringList& RecentFiles() const { return m_recentFiles; }
    [[nodiscard]] SingleInstance* InstanceBlock() const { return m_pInstanceBlock.get(); }

    COrvaneDoc* OpenDocumentFile(const QString& path);
    COrvaneDoc* CreateNewDocument() override;
    SaveChoice AskSaveAs(const COrvaneDoc& doc, std::uint32_t preselectedType) override;
    void AddToRecentFiles(const QString& path) override;
    void OpenWindow(COrvaneDoc& doc);
    void CloseDocument(COrvaneDoc& doc);
    bool SaveAllModified();
    void CloseAllDocuments();
    // Runs a command with the document of `child` (the active one for menus and keys).
    void RunCommandIn(const Command& command, CChildFrame* child);
    void OnFrameDestroyed(COrvaneDoc& doc, CChildFrame* frame);

    void OnFileNew();
    void OnFileOpen();
    void OnBatchConversion();
    void OnCloseAll();
    void OnAppExit();
    void OnAppAbout();
    // The user guide in the desktop's web browser, or in ShowHelpWindow when none is set.
    void OnHelp();
    // The guide in a window of our own; null when the guide is not installed.
    QTextBrowser* ShowHelpWindow();
    void OpenRecent(int index);
    void OnActivateApp();
    // The main frame's 250 ms timer: files handed over by later starts.
    void PollInstanceBlock();

  private:
    void LoadSettings();
    void SaveRecentFiles() const;
    CChildFrame* CreateFrame(COrvaneDoc& doc);
    // A document that has its sound, in a window of its own in front.
    COrvaneDoc& ShowNewDocument(std::unique_ptr<COrvaneDoc> doc);
    void UpdateTitles(COrvaneDoc& doc);
    void ShowSplash();
    void StartRecovery();
    bool OpenRecovered(const struct DocumentManifest& manifest);

    std::unique_ptr<CMainFrame> m_pMainFrame;
    std::unique_ptr<QSplashScreen> m_pSplash;
    std::unique_ptr<QTextBrowser> m_pHelpWindow;
    std::vector<std::unique_ptr<COrvaneDoc>> m_docs;
    std::vector<CChildFrame*> m_frames;
    std::unique_ptr<SingleInstance> m_pInstanceBlock;
    std::unique_ptr<class RecoverySession> m_pRecovery;
    std::string m_strTempFolder;  // where the session folders are
    QStringList m_recentFiles;
    int m_nUntitled = 0;
    bool m_bClosingAll = false;
};

}  // namespace kelvane
