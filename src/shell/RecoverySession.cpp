#include "shell/RecoverySession.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <algorithm>

#include "document/OrvaneDoc.h"
#include "resources/Strings.h"
#include "shell/RecoverDlg.h"
#include "ui/DialogHost.h"

namespace kelvane {

namespace {

constexpr int kUpdateMs = 1000;
constexpr char kManifestPattern[] = "doc-*.json";

RecoverySession* g_recovery = nullptr;

QString Text(std::uint32_t id, const QString& name) {
    return QString::fromStdString(FormatString(id, name.toUtf8().constData()));
}

}  // namespace

RecoverySession* Recovery() {
    return g_recovery;
}
void SetRecovery(RecoverySession* session) {
    g_recovery = session;
}

RecoverySession::RecoverySession(Documents documents, std::function<bool()> idle)
    : m_documents(std::move(documents)), m_idle(std::move(idle)) {
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (!m_bInCommand && m_idle()) Update();
    });
    m_timer.start(kUpdateMs);
    SetRecordingListener([this](const RecordingFile& recording) {
        if (m_pCommandDoc == nullptr) return;
        // Named by its lasting name: the first goes when the take becomes the sound.
        m_recording = recording;
        const int fd = ::open(recording.file.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0) {
            if (std::string kept = KeptNameInSessions(fd); !kept.empty()) m_recording->file = kept;
            ::close(fd);
        }
        Write(*m_pCommandDoc);
    });
}

RecoverySession::~RecoverySession() {
    SetRecordingListener(nullptr);
    for (const auto& session : m_sessions) UnregisterSession(session.get());
}

void RecoverySession::BeginCommand(COrvaneDoc* doc) {
    m_bInCommand = true;
    m_pCommandDoc = doc;
}

void RecoverySession::EndCommand() {
    m_bInCommand = false;
    m_pCommandDoc = nullptr;
    m_recording.reset();
    Update();
}

std::string RecoverySession::FolderIn(const std::string& tempFolder) {
    for (const auto& session : m_sessions)
        if (session->Path().starts_with(tempFolder) &&
            session->Path().find('/', tempFolder.size()) == session->Path().size() - 1)
            return session->Path();
    auto session = SessionFolder::Open(tempFolder);
    if (!session) return tempFolder;
    RegisterSession(session.get());
    m_sessions.push_back(std::move(session));
    return m_sessions.back()->Path();
}

void RecoverySession::Update() {
    if (m_sessions.empty()) return;
    const std::vector<COrvaneDoc*> documents = m_documents();
    for (auto it = m_manifests.begin(); it != m_manifests.end();)
        if (std::find(documents.begin(), documents.end(), it->first) == documents.end()) {
            QFile::remove(it->second.file);
            it = m_manifests.erase(it);
        } else {
            ++it;
        }
    for (COrvaneDoc* doc : documents) Write(*doc);
    // Only now: a state that left the history is in no manifest any more.
    for (const auto& session : m_sessions) session->ForgetClosedFiles();
}

// A sound that equals its saved file has nothing to recover.
void RecoverySession::Write(COrvaneDoc& doc) {
    const RecordingFile* recording = m_recording && &doc == m_pCommandDoc ? &*m_recording : nullptr;
    const bool needed = doc.IsModified() || recording != nullptr;
    auto found = m_manifests.find(&doc);
    if (!needed) {
        if (found != m_manifests.end()) QFile::remove(found->second.file);
        if (found != m_manifests.end()) m_manifests.erase(found);
        return;
    }
    if (found == m_manifests.end()) {
        const QString file = QString::fromStdString(m_sessions.front()->Path()) +
                             QString("doc-%1.json").arg(++m_nextManifest);
        found = m_manifests.emplace(&doc, Manifest{file, {}}).first;
        connect(&doc, &QObject::destroyed, this, [this, &doc] { Forget(&doc); });
    }
    const QByteArray manifest = ManifestOf(doc, recording);
    if (manifest == found->second.written) return;
    if (!WriteManifest(manifest, found->second.file)) {
        // Once, not every second: the work is still open and can be saved.
        if (!m_bWriteFailed) MessageBox(Text(226, doc.Title()));
        m_bWriteFailed = true;
        return;
    }
    found->second.written = manifest;
    m_bWriteFailed = false;
}

void RecoverySession::Forget(const COrvaneDoc* doc) {
    const auto found = m_manifests.find(doc);
    if (found == m_manifests.end()) return;
    QFile::remove(found->second.file);
    m_manifests.erase(found);
}

void RecoverySession::RecoverDeadCopies(const std::string& tempFolder, const Recover& recover) {
    const auto dead = FindDeadSessions(tempFolder);
    std::vector<DocumentManifest> documents;
    for (const auto& session : dead) {
        const QDir folder(QString::fromStdString(session->path));
        for (const QString& name : folder.entryList({kManifestPattern}, QDir::Files, QDir::Name))
            if (auto manifest = ReadManifest(folder.filePath(name))) documents.push_back(*manifest);
    }
    int choice = CRecoverDlg::kDiscard;
    if (!documents.empty()) {
        CRecoverDlg dialog(documents);
        choice = RunModal(dialog);
    }
    if (choice != QDialog::Accepted && choice != CRecoverDlg::kDiscard) return;
    bool allRecovered = true;
    if (choice == QDialog::Accepted)
        for (const DocumentManifest& document : documents) {
            if (!recover(document)) {
                allRecovered = false;
                MessageBox(Text(227, document.name));
                continue;
            }
            // Its files are this copy's now: a later start must not offer it again.
            QFile::remove(document.file);
        }
    // What could not be brought back stays for the next start rather than being lost.
    if (allRecovered)
        for (const auto& session : dead) session->Remove();
    Update();
}

}  // namespace kelvane
