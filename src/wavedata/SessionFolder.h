#pragma once

#include <memory>
#include <string>
#include <vector>

namespace kelvane {

// The folder where one running copy of the editor keeps its temporary sample files, locked
// (flock) for as long as the copy lives, so that a later copy can tell the files of a copy
// that died from those of one that runs. Temporary files made in it keep a second name,
// "keep-<inode>", after their first one is unlinked: that name outlives a kill, and it is
// removed once no file of the process has that inode open any more.
class SessionFolder {
  public:
    // A new session folder inside `parent`; null when it cannot be made or locked.
    [[nodiscard]] static std::unique_ptr<SessionFolder> Open(const std::string& parent);
    // A clean end: the folder and everything in it go.
    ~SessionFolder();
    SessionFolder(const SessionFolder&) = delete;
    SessionFolder& operator=(const SessionFolder&) = delete;

    // Ends in '/'.
    [[nodiscard]] const std::string& Path() const { return m_path; }
    // Gives a new file of this folder its lasting name; false when it could not.
    bool Keep(const std::string& file) const;
    // The lasting name (a full path) of an open file, "" when the file has none here.
    [[nodiscard]] std::string KeptName(int fd) const;
    // Removes the lasting names of files the process no longer has open.
    void ForgetClosedFiles() const;

  private:
    SessionFolder(std::string path, int lockFd) : m_path(std::move(path)), m_lockFd(lockFd) {}

    std::string m_path;
    int m_lockFd;
};

// The session folders inside `parent` whose lock is free: their copy died. Each is locked by
// the caller's process while the returned holds live, so that no other copy takes it too.
struct DeadSession {
    DeadSession(std::string p, int fd) : path(std::move(p)), lockFd(fd) {}
    ~DeadSession();
    DeadSession(const DeadSession&) = delete;
    DeadSession& operator=(const DeadSession&) = delete;
    // Removes the folder and everything in it.
    void Remove() const;

    std::string path;  // ends in '/'
    int lockFd;
};
[[nodiscard]] std::vector<std::unique_ptr<DeadSession>> FindDeadSessions(const std::string& parent);

// New temporary files made inside a registered session folder get their lasting name there
// (WaveObject::MakeTempFileName); nothing is registered in kelvane-batch or in the tests of
// the core, whose files stay unlinked.
void RegisterSession(const SessionFolder* session);
void UnregisterSession(const SessionFolder* session);
void KeepIfInSession(const std::string& file);
// The lasting name of an open file in any registered session, "" when none.
[[nodiscard]] std::string KeptNameInSessions(int fd);

}  // namespace kelvane
