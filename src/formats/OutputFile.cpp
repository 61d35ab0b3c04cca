#include "formats/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

namespace kelvane {

namespace {

constexpr std::size_t kBufferBytes = 1 << 20;

// Read, not set and restored with umask(), which would race with other threads creating files.
mode_t ProcessUmask() {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    unsigned mask = 022;
    char line[128];
    while (status != nullptr && std::fgets(line, sizeof line, status) != nullptr)
        if (std::sscanf(line, "Umask: %o", &mask) == 1) break;
    if (status != nullptr) std::fclose(status);
    return static_cast<mode_t>(mask);
}

// The permissions a new file would get, or those of the file it replaces.
mode_t ModeFor(const std::string& target) {
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return st.st_mode & 07777;
    return 0666 & ~ProcessUmask();
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

OutputFile::OutputFile(std::string target, Mode mode) : target_(std::move(target)) {
    buffer_.reset(new (std::nothrow) std::uint8_t[kBufferBytes]);
    if (!buffer_ || target_.empty()) return;
    if (mode == Mode::Direct) {
        fd_ = ::open(target_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (fd_ >= 0) path_ = target_;
        return;
    }
    struct stat st {};
    if (::stat(target_.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return;  // cannot be replaced
    const std::string folder = FolderOf(target_);
    std::string pattern =
        (folder == "." ? std::string() : folder) + "." + NameOf(target_) + ".XXXXXX";
    fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd_ < 0) return;
    path_ = pattern;
    ::fchmod(fd_, ModeFor(target_));
}

OutputFile::~OutputFile() {
    Discard();
}

void OutputFile::Discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!path_.empty()) ::unlink(path_.c_str());
    path_.clear();
}

bool OutputFile::WriteThrough(const std::uint8_t* data, std::size_t bytes) {
    while (bytes > 0) {
        const ssize_t n = ::write(fd_, data, bytes);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        bytes -= static_cast<std::size_t>(n);
    }
    return true;
}

bool OutputFile::Flush() {
    if (failed_ || fd_ < 0) return false;
    if (used_ > 0 && !WriteThrough(buffer_.get(), used_)) failed_ = true;
    used_ = 0;
    return !failed_;
}

bool OutputFile::Write(const void* data, std::size_t bytes) {
    if (failed_ || fd_ < 0) return false;
    const auto* from = static_cast<const std::uint8_t*>(data);
    if (used_ + bytes > kBufferBytes) {
        if (!Flush()) return false;
        // Large pieces go straight to the file instead of through the buffer.
        if (bytes >= kBufferBytes) {
            if (!WriteThrough(from, bytes)) return !(failed_ = true);
            position_ += bytes;
            return true;
        }
    }
    std::memcpy(buffer_.get() + used_, from, bytes);
    used_ += bytes;
    position_ += bytes;
    return true;
}

std::uint8_t* OutputFile::Space(std::size_t bytes) {
    if (failed_ || fd_ < 0 || bytes > kBufferBytes) return nullptr;
    if (used_ + bytes > kBufferBytes && !Flush()) return nullptr;
    return buffer_.get() + used_;
}

void OutputFile::Advance(std::size_t bytes) {
    used_ += bytes;
    position_ += bytes;
}

bool OutputFile::Skip(std::uint64_t bytes) {
    if (!Flush()) return false;
    if (::lseek(fd_, static_cast<off_t>(bytes), SEEK_CUR) < 0) return !(failed_ = true);
    position_ += bytes;
    return true;
}

bool OutputFile::WriteAt(std::uint64_t offset, const void* data, std::size_t bytes) {
    if (failed_ || fd_ < 0 || offset + bytes > position_) return false;
    const std::uint64_t buffered = position_ - used_;
    if (offset >= buffered) {
        std::memcpy(buffer_.get() + (offset - buffered), data, bytes);
        return true;
    }
    if (!Flush()) return false;
    const auto n = ::pwrite(fd_, data, bytes, static_cast<off_t>(offset));
    if (n != static_cast<ssize_t>(bytes)) failed_ = true;
    return !failed_;
}

bool OutputFile::Commit() {
    if (!Flush()) return false;
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return false;
    if (path_ != target_ && ::rename(path_.c_str(), target_.c_str()) != 0) return false;
    path_.clear();
    return true;
}

}  // namespace kelvane
