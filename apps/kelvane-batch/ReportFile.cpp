#include "ReportFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <nlohmann/json.hpp>

namespace kelvane {

namespace {

enum class Lock { Held, Unsupported, Failed };

// Waits for the lock, again after a signal (an interrupt ends the run, not the report).
Lock LockWhole(int fd, short type) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    while (::fcntl(fd, F_SETLKW, &lock) != 0) {
        if (errno == EINTR) continue;
        // A file system mounted without locks (Lustre without -o flock, NFS without its lock
        // service): an O_APPEND write of one piece is still the best there is.
        return errno == ENOLCK || errno == ENOSYS || errno == EOPNOTSUPP ? Lock::Unsupported
                                                                         : Lock::Failed;
    }
    return Lock::Held;
}

}  // namespace

std::string ReportLine(const std::string& input, const std::string& output,
                       const BatchFileResult& result, double seconds) {
    using Json = nlohmann::ordered_json;
    Json line{{"input", input},
              {"output", output},
              {"status", static_cast<std::uint32_t>(result.status)},
              {"text", BatchFileStatusText(result.status)}};
    if (!result.error.empty()) line["error"] = result.error;
    line["seconds"] = std::round(seconds * 1e6) / 1e6;
    line["frames"] = result.frames;
    // File names are bytes of no stated encoding: what is not UTF-8 is replaced, not thrown.
    return line.dump(-1, ' ', false, Json::error_handler_t::replace);
}

ReportFile::~ReportFile() {
    if (fd_ >= 0) ::close(fd_);
}

std::string ReportFile::Open(const std::string& path) {
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd_ < 0) return std::strerror(errno);
    return {};
}

std::string ReportFile::Append(std::string line) {
    line += '\n';
    const std::lock_guard guard(mutex_);
    const Lock lock = LockWhole(fd_, F_WRLCK);
    if (lock == Lock::Failed) return std::strerror(errno);
    // O_APPEND puts each write at the end; a short write (a full disk) continues there.
    std::string error;
    for (std::size_t done = 0; done < line.size();) {
        const ssize_t n = ::write(fd_, line.data() + done, line.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error = n < 0 ? std::strerror(errno) : "nothing written";
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (lock == Lock::Held) LockWhole(fd_, F_UNLCK);
    return error;
}

}  // namespace kelvane
