#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/DocumentManifest.h"
#include "wavedata/SessionFolder.h"

namespace kelvane {

class COrvaneDoc;

// This copy's side of crash recovery: the session folders its temporary files live in, and a
// manifest per changed document, rewritten whenever the document changed; and at start-up,
// the documents of copies that died, offered back in "Recover Sounds".
class RecoverySession : public QObject {
    Q_OBJECT

  public:
    using Documents = std::function<std::vector<COrvaneDoc*>()>;
    // `idle` says when nothing else holds the application (a progress or modal window):
    // changes made by other means than commands (the mouse) are written then, every second,
    // never halfway through a command.
    RecoverySession(Documents documents, std::function<bool()> idle);
    // A clean end: every file of the session goes.
    ~RecoverySession() override;

    // The folder for new temporary files inside `tempFolder`: a session folder of this copy's
    // own there, or `tempFolder` itself when none can be made (nothing is then recoverable).
    std::string FolderIn(const std::string& tempFolder);
    // A command for `doc` (null: for none) starts; a recording it starts is that document's.
    void BeginCommand(COrvaneDoc* doc);
    // The command ended: its result is written.
    void EndCommand();
    // Rewrites the manifest of every document that changed and lets go of the files no state
    // uses any more. Tells the person once when a manifest cannot be written.
    void Update();
    // Offers the documents of copies that died with their session folders in `tempFolder`;
    // `recover` opens a document for each one recovered, false when it could not.
    using Recover = std::function<bool(const DocumentManifest&)>;
    void RecoverDeadCopies(const std::string& tempFolder, const Recover& recover);

  private:
    struct Manifest {
        QString file;
        QByteArray written;
    };
    void Write(COrvaneDoc& doc);
    void Forget(const COrvaneDoc* doc);

    Documents m_documents;
    std::function<bool()> m_idle;
    bool m_bInCommand = false;
    COrvaneDoc* m_pCommandDoc = nullptr;
    std::optional<RecordingFile> m_recording;  // of m_pCommandDoc
    // The first holds the manifests.
    std::vector<std::unique_ptr<SessionFolder>> m_sessions;
    std::map<const COrvaneDoc*, Manifest> m_manifests;
    int m_nextManifest = 0;
    bool m_bWriteFailed = false;
    QTimer m_timer;
};

// The session of the running editor, null where there is none (tests, embedding).
[[nodiscard]] RecoverySession* Recovery();
void SetRecovery(RecoverySession* session);

}  // namespace kelvane
