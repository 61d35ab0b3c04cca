#include "wavedata/DataBlock.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <limits>
#include <memory>
#include <new>

namespace kelvane {

BorrowedBlock::BorrowedBlock(std::uint8_t* data, std::uint32_t bytes, bool owns, bool ro)
    : DataBlock(BlockKind::Borrowed), ownsMemory(owns) {
    pointer = data;
    size = bytes;
    lockCount = 1;
    readOnly = ro ? 1 : 0;
}

BorrowedBlock::~BorrowedBlock() {
    if (ownsMemory) std::free(pointer);
}

GlobalBlock::GlobalBlock(std::uint32_t bytes, bool isFixed)
    : DataBlock(BlockKind::Global), fixed(isFixed) {
    // malloc(0) may return null; a zero-byte block still has an address, as it would have
    // from the system allocator.
    memory = std::malloc(bytes == 0 ? 1 : bytes);
    if (memory == nullptr) return;
    size = bytes;
    pointer = static_cast<std::uint8_t*>(memory);
    lockCount = 1;
}

GlobalBlock::~GlobalBlock() {
    lockCount = 1;
    Unlock();
    std::free(memory);
}

void GlobalBlock::Lock() {
    if (lockCount == 0 && !fixed) pointer = static_cast<std::uint8_t*>(memory);
    ++lockCount;
}

void GlobalBlock::Unlock() {
    if (lockCount == 1 && !fixed) pointer = nullptr;
    --lockCount;
}

std::uint32_t GlobalBlock::Resize(std::uint32_t bytes) {
    if (lockCount > 0) return static_cast<std::uint32_t>(lockCount);
    if (fixed) return 1;
    void* grown = std::realloc(memory, bytes == 0 ? 1 : bytes);
    if (grown == nullptr) return 0;
    memory = grown;
    size = bytes;
    return bytes;
}

namespace {

#ifndef MADV_POPULATE_READ
#define MADV_POPULATE_READ 22  // Linux 5.14; older kernels refuse it and fault as before
#endif

// A new file is about to be written whole. Where the file system keeps large pages of a file,
// its first writes then fault once per 2 MiB instead of once per 4 KiB page, which fills it
// about six times as fast; writing the pages in up front as well gains nothing more.
void PrefaultForWriting(void* view, std::size_t bytes) {
    ::madvise(view, bytes, MADV_HUGEPAGE);
}

// A file read from start to end: all its pages are mapped in one call instead of one fault
// per few pages as the reader comes to them.
void PrefaultForReading(void* view, std::size_t bytes) {
    ::madvise(view, bytes, MADV_POPULATE_READ);
}

}  // namespace

MappedFileBlock::MappedFileBlock(std::uint32_t bytes, const char* fileName, bool deleteOnClose,
                                 const char* name, bool ro, bool seq)
    : DataBlock(BlockKind::MappedFile),
      mappingName(name ? name : ""),
      sequential(seq),
      temporary_(fileName != nullptr && deleteOnClose),
      path_(fileName ? fileName : "") {
    if (fileName != nullptr && bytes > 0) {
        fd = ::open(fileName, O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (deleteOnClose) ::unlink(fileName);
        // Reserving the space now turns a full disk into a failure here instead of a SIGBUS
        // when a page of a sparse mapping is first written.
        if (fd >= 0 && ::posix_fallocate(fd, 0, bytes) != 0) {
            ::close(fd);
            fd = -1;
        }
        size = bytes;
        created_ = true;
    } else if (fileName != nullptr) {
        fd = ::open(fileName, (ro ? O_RDONLY : O_RDWR) | O_CLOEXEC);
        if (deleteOnClose && fd >= 0) ::unlink(fileName);
        struct stat st {};
        if (fd >= 0 &&
            (::fstat(fd, &st) != 0 || st.st_size > std::numeric_limits<std::uint32_t>::max())) {
            ::close(fd);
            fd = -1;
        }
        size = fd >= 0 ? static_cast<std::uint32_t>(st.st_size) : 0;
        readOnly = ro ? 1 : 0;
    } else {
        readOnly = ro ? 1 : 0;
    }
    Lock();
}

MappedFileBlock::~MappedFileBlock() {
    lockCount = 1;
    Unlock();
    if (fd >= 0) ::close(fd);
}

void MappedFileBlock::Lock() {
    if (lockCount++ != 0) return;
    const int prot = readOnly ? PROT_READ : PROT_READ | PROT_WRITE;
    int mapFd = fd;
    std::uint32_t bytes = size;
    int sharedFd = -1;
    if (fd < 0 && !mappingName.empty()) {
        sharedFd = ::shm_open(mappingName.c_str(), readOnly ? O_RDONLY : O_RDWR, 0);
        struct stat st {};
        if (sharedFd >= 0 && ::fstat(sharedFd, &st) == 0 &&
            st.st_size <= std::numeric_limits<std::uint32_t>::max()) {
            bytes = static_cast<std::uint32_t>(st.st_size);
            mapFd = sharedFd;
        }
    }
    if (mapFd >= 0 && bytes > 0) {
        void* view = ::mmap(nullptr, bytes, prot, MAP_SHARED, mapFd, 0);
        if (view != MAP_FAILED) {
            // The access hint serves files that are read. A file made here is about to be
            // written, often out of order (reverse, large copies), and a sequential hint
            // makes such first writes many times slower.
            if (created_) {
                PrefaultForWriting(view, bytes);
            } else {
                ::madvise(view, bytes, sequential ? MADV_SEQUENTIAL : MADV_RANDOM);
                if (sequential) PrefaultForReading(view, bytes);
            }
            pointer = static_cast<std::uint8_t*>(view);
            mappedBytes_ = bytes;
            size = bytes;
        }
    }
    if (sharedFd >= 0) ::close(sharedFd);
}

void MappedFileBlock::Unlock() {
    if (lockCount == 1 && pointer != nullptr) {
        ::munmap(pointer, mappedBytes_);
        pointer = nullptr;
        mappedBytes_ = 0;
    }
    --lockCount;
}

std::vector<Piece> MappedFileBlock::Pieces() const {
    if (!temporary_ || fd < 0 || pointer == nullptr || readOnly != 0) return {};
    if (!shared_) {
        const int copy = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
        if (copy < 0) return {};
        shared_ = std::make_shared<PieceFile>(copy, size, path_);
    }
    const std::uint64_t page = PageBytes();
    return {{shared_, 0, 0, (std::uint64_t{size} + page - 1) / page * page}};
}

std::uint64_t MappedFileBlock::ExclusiveBytes() const {
    if (!temporary_ || fd < 0) return 0;
    return !shared_ || shared_.use_count() == 1 ? size : 0;
}

PieceFile::PieceFile(int f, std::uint64_t b, std::string p) : fd(f), bytes(b), path(std::move(p)) {}

PieceFile::~PieceFile() {
    if (fd >= 0) ::close(fd);
}

PieceBlock::PieceBlock(std::uint64_t bytes, std::vector<Piece> pieces, const PieceFile* writable)
    : DataBlock(BlockKind::Pieces), pieces_(std::move(pieces)) {
    const std::uint64_t page = PageBytes();
    const std::uint64_t whole = (bytes + page - 1) / page * page;
    if (bytes > std::numeric_limits<std::uint32_t>::max() || whole == 0) return;
    // Reserving the range first keeps every piece in place and other mappings out of the gaps.
    void* base = ::mmap(nullptr, whole, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED) return;
    reserved_ = whole;
    auto* start = static_cast<std::uint8_t*>(base);
    std::uint64_t covered = 0;
    for (const Piece& piece : pieces_) {
        // Shared pages are read-only: a result never writes there, and a fault beats a silent
        // change of the sounds that share them.
        const int prot = piece.file.get() == writable ? PROT_READ | PROT_WRITE : PROT_READ;
        if (piece.at != covered ||
            ::mmap(start + piece.at, piece.length, prot, MAP_SHARED | MAP_FIXED, piece.file->fd,
                   static_cast<off_t>(piece.offset)) == MAP_FAILED)
            break;
        covered += piece.length;
    }
    if (covered < whole) {
        ::munmap(base, whole);
        reserved_ = 0;
        return;
    }
    pointer = start;
    size = static_cast<std::uint32_t>(bytes);
    lockCount = 1;
}

PieceBlock::~PieceBlock() {
    if (reserved_ != 0) ::munmap(pointer, reserved_);
}

std::uint64_t PieceBlock::ExclusiveBytes() const {
    std::uint64_t bytes = 0;
    for (std::size_t i = 0; i < pieces_.size(); ++i) {
        const PieceFile* file = pieces_[i].file.get();
        bool seen = false;
        long uses = 0;
        for (std::size_t j = 0; j < pieces_.size(); ++j) {
            if (pieces_[j].file.get() != file) continue;
            seen = seen || j < i;
            ++uses;
        }
        if (!seen && pieces_[i].file.use_count() == uses) bytes += file->bytes;
    }
    return bytes;
}

std::size_t PageBytes() {
    static const std::size_t bytes = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    return bytes;
}

namespace {
std::atomic<bool> gPageSharing{true};
}

void SetPageSharing(bool on) {
    gPageSharing = on;
}

bool PageSharing() {
    return gPageSharing;
}

// ---- Temporary files and file services ---------------------------------------------------

namespace {

bool IsUsableDirectory(const std::string& dir) {
    struct stat st {};
    return !dir.empty() && ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
           ::access(dir.c_str(), W_OK | X_OK) == 0;
}

std::string WithSeparator(std::string dir) {
    if (dir.empty() || dir.back() != '/') dir.push_back('/');
    return dir;
}

}  // namespace

std::string SystemTempDirectory() {
    const char* env = std::getenv("TMPDIR");
    if (env != nullptr && IsUsableDirectory(env)) return WithSeparator(env);
    return "/var/tmp/";
}

std::uint32_t TempFileName(const std::string& directory, const char* prefix, std::string& path) {
    std::string pattern = WithSeparator(directory) + (prefix ? prefix : "TMP") + "XXXXXX.tmp";
    const int fd = ::mkstemps(pattern.data(), 4);
    if (fd < 0) {
        path.clear();
        return 0;
    }
    ::close(fd);
    path = pattern;
    // The unique part as a number, as callers of the name service expect one (never 0).
    std::uint32_t number = 2166136261u;
    for (std::size_t i = pattern.size() - 10; i < pattern.size() - 4; ++i)
        number = (number ^ static_cast<std::uint8_t>(pattern[i])) * 16777619u;
    return number == 0 ? 1 : number;
}

std::uint32_t SystemTempFileName(const char* prefix, std::string& path) {
    return TempFileName(SystemTempDirectory(), prefix ? prefix : "TMP", path);
}

std::uint64_t FreeDiskBytes(const std::string& directory) {
    struct statvfs st {};
    if (directory.empty() || ::statvfs(directory.c_str(), &st) != 0) return 0;
    std::uint64_t bytes = 0;
    if (__builtin_mul_overflow(std::uint64_t{st.f_bavail}, std::uint64_t{st.f_frsize}, &bytes))
        return std::numeric_limits<std::uint64_t>::max();
    return bytes;
}

bool IsMemoryFileSystem(const std::string& directory) {
    struct statfs st {};
    if (directory.empty() || ::statfs(directory.c_str(), &st) != 0) return false;
    return st.f_type == TMPFS_MAGIC || st.f_type == RAMFS_MAGIC;
}

std::uint32_t FreeDiskSpace(const std::string& directory) {
    constexpr auto kMax = std::numeric_limits<std::uint32_t>::max();
    const std::uint64_t bytes = FreeDiskBytes(directory);
    return bytes > kMax ? kMax : static_cast<std::uint32_t>(bytes);
}

namespace {

struct FileDescriptor {
    int fd;
    explicit FileDescriptor(int f) : fd(f) {}
    ~FileDescriptor() {
        if (fd >= 0) ::close(fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
};

bool WriteAll(int fd, const std::uint8_t* data, std::size_t bytes) {
    while (bytes > 0) {
        const ssize_t n = ::write(fd, data, bytes);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        bytes -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

CopyResult CopyFileWithProgress(const std::string& source, const std::string& target,
                                ProgressFn progressFn, void* context) {
    constexpr std::size_t kStep = 65536;
    FileDescriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.fd < 0) return CopyResult::CannotOpenSource;
    // A new temporary file is empty. Truncating it anyway would make ext4 start writing the
    // whole copy to disk when it is closed, as it does for a file rewritten in place.
    FileDescriptor out(::open(target.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
    if (out.fd < 0) return CopyResult::CannotCreateTarget;
    struct stat existing {};
    if (::fstat(out.fd, &existing) != 0 || (existing.st_size > 0 && ::ftruncate(out.fd, 0) != 0))
        return CopyResult::CannotCreateTarget;
    struct stat st {};
    const std::uint64_t length =
        ::fstat(in.fd, &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
    std::unique_ptr<std::uint8_t[]> buffer(new (std::nothrow) std::uint8_t[kStep]);
    if (!buffer) return CopyResult::NoMemory;

    bool inKernel = true;  // copy_file_range until the file systems refuse it
    std::uint64_t total = 0;
    for (;;) {
        ssize_t n = -1;
        if (inKernel) {
            n = ::copy_file_range(in.fd, nullptr, out.fd, nullptr, kStep, 0);
            if (n < 0 && errno != EINTR) inKernel = false;  // retry this step by hand
            if (n < 0) continue;
        } else {
            n = ::read(in.fd, buffer.get(), kStep);
            if (n < 0 && errno == EINTR) continue;
            // An unreadable source is reported like one that cannot be opened.
            if (n < 0) return CopyResult::CannotOpenSource;
            if (n > 0 && !WriteAll(out.fd, buffer.get(), static_cast<std::size_t>(n)))
                return CopyResult::WriteFailed;
        }
        if (n == 0) break;
        total += static_cast<std::uint64_t>(n);
        if (progressFn != nullptr && length > 0 &&
            !progressFn(context, 0, static_cast<std::uint32_t>(total * 100 / length)))
            return CopyResult::Cancelled;
    }
    return CopyResult::Success;
}

}  // namespace kelvane
