#include "wavedata/SessionFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <set>
#include <utility>

namespace kelvane {

namespace {

constexpr char kSessionPrefix[] = "session-";
constexpr char kKeepPrefix[] = "keep-";
constexpr char kLockName[] = "lock";

std::string WithSeparator(std::string dir) {
    if (dir.empty() || dir.back() != '/') dir.push_back('/');
    return dir;
}

std::string KeepNameOf(const std::string& folder, ino_t inode) {
    return folder + kKeepPrefix + std::to_string(inode);
}

// Opens the folder's lock file and takes the lock without waiting; -1 when another process
// holds it (or there is none).
int TakeLock(const std::string& folder, bool create) {
    const int fd = ::open((folder + kLockName).c_str(),
                          O_RDWR | O_CLOEXEC | O_NOFOLLOW | (create ? O_CREAT | O_EXCL : 0), 0600);
    if (fd < 0) return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Entries are removed by name inside the folder, so a link among them is removed, never
// followed.
void RemoveFolder(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir != nullptr) {
        const int dirFd = ::dirfd(dir);
        while (const dirent* entry = ::readdir(dir)) {
            if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
                continue;
            ::unlinkat(dirFd, entry->d_name, 0);
        }
        ::closedir(dir);
    }
    ::rmdir(folder.c_str());
}

std::set<std::pair<dev_t, ino_t>> OpenFiles() {
    std::set<std::pair<dev_t, ino_t>> files;
    DIR* dir = ::opendir("/proc/self/fd");
    if (dir == nullptr) return files;
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        struct stat st {};
        if (entry->d_name[0] != '.' && ::fstatat(dirFd, entry->d_name, &st, 0) == 0 &&
            S_ISREG(st.st_mode))
            files.emplace(st.st_dev, st.st_ino);
    }
    ::closedir(dir);
    return files;
}

std::vector<const SessionFolder*>& Registered() {
    static std::vector<const SessionFolder*> sessions;
    return sessions;
}

}  // namespace

std::unique_ptr<SessionFolder> SessionFolder::Open(const std::string& parent) {
    std::string pattern = WithSeparator(parent) + kSessionPrefix + "XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) return nullptr;
    const std::string path = WithSeparator(pattern);
    const int lockFd = TakeLock(path, true);
    if (lockFd < 0) {
        ::rmdir(pattern.c_str());
        return nullptr;
    }
    return std::unique_ptr<SessionFolder>(new SessionFolder(path, lockFd));
}

SessionFolder::~SessionFolder() {
    UnregisterSession(this);
    RemoveFolder(m_path);
    ::close(m_lockFd);
}

bool SessionFolder::Keep(const std::string& file) const {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) return false;
    const std::string name = KeepNameOf(m_path, st.st_ino);
    return ::link(file.c_str(), name.c_str()) == 0 || errno == EEXIST;
}

std::string SessionFolder::KeptName(int fd) const {
    struct stat open {};
    struct stat kept {};
    if (::fstat(fd, &open) != 0) return {};
    std::string name = KeepNameOf(m_path, open.st_ino);
    if (::lstat(name.c_str(), &kept) != 0 || kept.st_dev != open.st_dev ||
        kept.st_ino != open.st_ino)
        return {};
    return name;
}

void SessionFolder::ForgetClosedFiles() const {
    const auto open = OpenFiles();
    DIR* dir = ::opendir(m_path.c_str());
    if (dir == nullptr) return;
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strncmp(entry->d_name, kKeepPrefix, sizeof kKeepPrefix - 1) != 0) continue;
        struct stat st {};
        // A file that still has its first name is being made and not yet open.
        if (::fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && st.st_nlink == 1 &&
            !open.contains({st.st_dev, st.st_ino}))
            ::unlinkat(dirFd, entry->d_name, 0);
    }
    ::closedir(dir);
}

DeadSession::~DeadSession() {
    if (lockFd >= 0) ::close(lockFd);
}

void DeadSession::Remove() const {
    RemoveFolder(path);
}

std::vector<std::unique_ptr<DeadSession>> FindDeadSessions(const std::string& parent) {
    std::vector<std::unique_ptr<DeadSession>> dead;
    const std::string base = WithSeparator(parent);
    DIR* dir = ::opendir(base.c_str());
    if (dir == nullptr) return dead;
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strncmp(entry->d_name, kSessionPrefix, sizeof kSessionPrefix - 1) != 0) continue;
        const std::string path = base + entry->d_name + "/";
        struct stat st {};
        if (::lstat(path.substr(0, path.size() - 1).c_str(), &st) != 0 || !S_ISDIR(st.st_mode) ||
            st.st_uid != ::getuid())
            continue;
        const int lockFd = TakeLock(path, false);
        if (lockFd >= 0) dead.push_back(std::make_unique<DeadSession>(path, lockFd));
    }
    ::closedir(dir);
    std::sort(dead.begin(), dead.end(),
              [](const auto& a, const auto& b) { return a->path < b->path; });
    return dead;
}

void RegisterSession(const SessionFolder* session) {
    Registered().push_back(session);
}

void UnregisterSession(const SessionFolder* session) {
    std::erase(Registered(), session);
}

void KeepIfInSession(const std::string& file) {
    for (const SessionFolder* session : Registered())
        if (file.starts_with(session->Path())) session->Keep(file);
}

std::string KeptNameInSessions(int fd) {
    for (const SessionFolder* session : Registered())
        if (std::string name = session->KeptName(fd); !name.empty()) return name;
    return {};
}

}  // namespace kelvane
