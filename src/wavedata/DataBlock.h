#pragma once

#include <cstdint>
#include <string>

namespace kelvane {

enum class BlockKind : std::uint32_t { Borrowed = 1, Global = 2, MappedFile = 3 };

// Owned storage of sample bytes. Readers use `pointer` and `size` after a Lock; a block that
// could not be created or mapped has a null pointer, which every user checks.
class DataBlock {
  public:
    virtual ~DataBlock() = default;
    virtual void Lock() = 0;
    virtual void Unlock() = 0;

    DataBlock(const DataBlock&) = delete;
    DataBlock& operator=(const DataBlock&) = delete;

    BlockKind kind;
    std::uint32_t size = 0;
    std::uint8_t* pointer = nullptr;
    std::int32_t lockCount = 0;
    std::uint32_t readOnly = 0;

  protected:
    explicit DataBlock(BlockKind k) : kind(k) {}
};

// Someone else's bytes; frees them (with std::free) only when told it owns them.
class BorrowedBlock final : public DataBlock {
  public:
    BorrowedBlock(std::uint8_t* data, std::uint32_t bytes, bool ownsMemory, bool readOnly);
    ~BorrowedBlock() override;
    void Lock() override {}
    void Unlock() override {}

    bool ownsMemory;
};

// Heap memory. A fixed block is addressable for its whole life; a movable one only while
// locked, and only a movable block can be resized.
class GlobalBlock final : public DataBlock {
  public:
    GlobalBlock(std::uint32_t bytes, bool fixed);
    ~GlobalBlock() override;
    void Lock() override;
    void Unlock() override;
    // 0 when memory runs out, the lock count while locked, 1 for a fixed block; otherwise the
    // block becomes movable (and unlocked) and the new size is returned.
    std::uint32_t Resize(std::uint32_t bytes);

    void* memory = nullptr;
    bool fixed;
};

// A file mapped into memory. A delete-on-close file is unlinked as soon as it is open, so it
// vanishes with the block and with the process, however that ends.
class MappedFileBlock final : public DataBlock {
  public:
    // With a file name and size > 0: creates the file anew with `size` bytes reserved on disk.
    // With a file name and size 0: opens the existing file. Without a file name: opens the
    // shared-memory object `mappingName` made by another process. Ends with one Lock.
    MappedFileBlock(std::uint32_t size, const char* fileName, bool deleteOnClose,
                    const char* mappingName, bool readOnly, bool sequential);
    ~MappedFileBlock() override;
    void Lock() override;
    void Unlock() override;

    int fd = -1;
    std::string mappingName;
    bool sequential;

  private:
    std::uint32_t mappedBytes_ = 0;
    bool created_ = false;
};

// ---- Temporary files and file services ---------------------------------------------------

// $TMPDIR, else /var/tmp (on a disk where /tmp is often in memory), with a trailing '/'.
[[nodiscard]] std::string SystemTempDirectory();
// Creates a unique empty file "<dir>/<prefix>XXXXXX.tmp"; returns a nonzero number and the
// path, or 0 when no file could be made.
std::uint32_t TempFileName(const std::string& directory, const char* prefix, std::string& path);
// The same in the system's temporary directory, prefix "TMP" when none is given.
std::uint32_t SystemTempFileName(const char* prefix, std::string& path);

// Free bytes for an unprivileged user on the directory's file system; 0 when the directory
// cannot be reached. Saturates at 0xFFFFFFFF rather than wrapping past 4 GiB.
[[nodiscard]] std::uint32_t FreeDiskSpace(const std::string& directory);
// The same without the 32-bit limit.
[[nodiscard]] std::uint64_t FreeDiskBytes(const std::string& directory);
// Whether the directory is on a file system kept in memory (tmpfs, ramfs).
[[nodiscard]] bool IsMemoryFileSystem(const std::string& directory);

// phase 0 copying or loading, 1 writing a file, 2 converting or decoding; percent 0 to 100.
// Returns false to stop the operation, which then fails and leaves no partial result.
using ProgressFn = bool (*)(void* context, std::uint32_t phase, std::uint32_t percent);

enum class CopyResult : std::uint32_t {
    Success = 0,
    CannotOpenSource = 1,
    CannotCreateTarget = 2,
    WriteFailed = 3,
    NoMemory = 5,
    Cancelled = 6,  // the progress callback asked to stop
};
// Copies in 65536-byte steps, reporting phase 0 after each. The caller deletes the target
// after a failure.
CopyResult CopyFileWithProgress(const std::string& source, const std::string& target,
                                ProgressFn progressFn, void* context);

}  // namespace kelvane
