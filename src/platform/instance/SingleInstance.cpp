#include "platform/instance/SingleInstance.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kelvane {

namespace {

volatile std::sig_atomic_t g_raiseRequested = 0;

void OnRaiseSignal(int) { g_raiseRequested = 1; }

// A zombie is gone too: it can hold its pid for a long time where nobody reaps it.
bool IsZombie(pid_t pid) {
    char path[32];
    std::snprintf(path, sizeof path, "/proc/%d/stat", static_cast<int>(pid));
    std::FILE* file = std::fopen(path, "r");
    if (!file) return false;
    char state = 0;
    const bool read = std::fscanf(file, "%*d (%*[^)]) %c", &state) == 1;
    std::fclose(file);
    return read && state == 'Z';
}

std::string ExecutableOf(const std::string& link) {
    std::string path(PATH_MAX, '\0');
    const ssize_t n = ::readlink(link.c_str(), path.data(), path.size());
    path.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    // A program replaced on disk while it runs (a rebuild, an upgrade) is still this program.
    constexpr std::string_view kDeleted = " (deleted)";
    if (path.ends_with(kDeleted)) path.resize(path.size() - kDeleted.size());
    return path;
}

// A dead copy's id may since have gone to an unrelated program, which SIGUSR1 would kill.
bool IsRunningCopy(pid_t pid) {
    if (pid <= 0 || ::kill(pid, 0) != 0 || IsZombie(pid)) return false;
    const std::string exe = "/proc/" + std::to_string(pid) + "/exe";
    struct stat theirs {};
    struct stat ours {};
    if (::stat(exe.c_str(), &theirs) == 0 && ::stat("/proc/self/exe", &ours) == 0 &&
        theirs.st_dev == ours.st_dev && theirs.st_ino == ours.st_ino)
        return true;
    const std::string path = ExecutableOf(exe);
    return !path.empty() && path == ExecutableOf("/proc/self/exe");
}

// The display this copy shows on, without the screen (":0.0" is ":0"); '/' cannot be in a
// block's name.
std::string DisplayOfSession() {
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    std::string display = x && *x ? x : wayland ? wayland : "";
    const std::size_t colon = display.rfind(':');
    const std::size_t dot = display.rfind('.');
    if (colon != std::string::npos && dot != std::string::npos && dot > colon) display.resize(dot);
    std::replace(display.begin(), display.end(), '/', '_');
    return display;
}

// The block is per user and display: two people logged in at once, or one person on two seats
// or in a remote session, each run their own copy.
std::string BlockName(std::string_view name) {
    return "/" + std::string(name) + "." + std::to_string(::getuid()) + "@" + DisplayOfSession();
}

std::uint8_t* MapBlock(int fd) {
    void* p = ::mmap(nullptr, SingleInstance::kBlockSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    return p == MAP_FAILED ? nullptr : static_cast<std::uint8_t*>(p);
}

std::atomic_ref<std::int32_t> PidField(std::uint8_t* block) {
    return std::atomic_ref<std::int32_t>(*reinterpret_cast<std::int32_t*>(block));
}

}  // namespace

SingleInstance::SingleInstance(std::string name, int fd, std::uint8_t* block, bool owner)
    : m_strName(std::move(name)), m_fd(fd), m_pBlock(block), m_bOwner(owner) {}

std::unique_ptr<SingleInstance> SingleInstance::Open(std::string_view name) {
    const std::string shmName = BlockName(name);
    for (int attempt = 0; attempt < 2; ++attempt) {
        int fd = ::shm_open(shmName.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
        const bool created = fd >= 0;
        if (!created && errno == EEXIST) fd = ::shm_open(shmName.c_str(), O_RDWR, 0600);
        if (fd < 0) return nullptr;
        if (created && ::ftruncate(fd, kBlockSize) != 0) {
            ::close(fd);
            ::shm_unlink(shmName.c_str());
            return nullptr;
        }
        struct stat st {};
        if (::fstat(fd, &st) != 0 || st.st_size < static_cast<off_t>(kBlockSize)) {
            // Still being set up by a copy starting this very moment, or damaged: start over.
            ::close(fd);
            if (!created && attempt == 0) {
                ::usleep(50000);
                continue;
            }
            return nullptr;
        }
        std::uint8_t* block = MapBlock(fd);
        if (!block) {
            ::close(fd);
            return nullptr;
        }
        auto pid = PidField(block);
        const std::int32_t holder = pid.load();
        std::int32_t expected = holder;
        // Owner: a new block, or one whose copy is gone (its pid swapped for ours).
        const bool owner =
            created ? (pid.store(::getpid()), true)
                    : !IsRunningCopy(holder) && pid.compare_exchange_strong(expected, ::getpid());
        if (owner) {
            std::memset(block + kPathOffset, 0, kPathSize);
            InstallRaiseHandler();
        }
        return std::unique_ptr<SingleInstance>(new SingleInstance(shmName, fd, block, owner));
    }
    return nullptr;
}

SingleInstance::~SingleInstance() {
    if (m_bOwner && PidField(m_pBlock).load() == ::getpid()) ::shm_unlink(m_strName.c_str());
    ::munmap(m_pBlock, kBlockSize);
    ::close(m_fd);
}

pid_t SingleInstance::OwnerProcess() const { return PidField(m_pBlock).load(); }

bool SingleInstance::HandOver(std::string_view path) {
    bool stored = false;
    if (!path.empty() && path.size() < kPathSize && m_pBlock[kPathOffset] == 0) {
        std::memcpy(m_pBlock + kPathOffset + 1, path.data() + 1, path.size() - 1);
        m_pBlock[kPathOffset + path.size()] = 0;
        // The first byte last: the owner's poll sees a request only once it is whole.
        std::atomic_ref<std::uint8_t>(m_pBlock[kPathOffset]).store(static_cast<std::uint8_t>(path[0]));
        stored = true;
    }
    const pid_t owner = OwnerProcess();
    if (owner > 0) ::kill(owner, SIGUSR1);
    return stored;
}

std::string SingleInstance::TakePendingPath() {
    if (std::atomic_ref<std::uint8_t>(m_pBlock[kPathOffset]).load() == 0) return {};
    const char* text = reinterpret_cast<const char*>(m_pBlock + kPathOffset);
    std::string path(text, ::strnlen(text, kPathSize));
    std::memset(m_pBlock + kPathOffset + 1, 0, kPathSize - 1);
    std::atomic_ref<std::uint8_t>(m_pBlock[kPathOffset]).store(0);
    return path;
}

bool SingleInstance::TakeRaiseRequest() {
    const bool requested = g_raiseRequested != 0;
    g_raiseRequested = 0;
    return requested;
}

void SingleInstance::InstallRaiseHandler() {
    struct sigaction action {};
    action.sa_handler = OnRaiseSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGUSR1, &action, nullptr);
}

}  // namespace kelvane
