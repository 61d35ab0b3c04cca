#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kelvane {

enum class BlockKind : std::uint32_t { Borrowed = 1, Global = 2, MappedFile = 3, Pieces = 4 };

// An open temporary file whose pages back one or more sounds; it is closed (and with it gone,
// when unlinked) once the last sound using it lets go.
class PieceFile {
  public:
    PieceFile(int fd, std::uint64_t bytes, std::string path);
    ~PieceFile();
    PieceFile(const PieceFile&) = delete;
    PieceFile& operator=(const PieceFile&) = delete;

    const int fd;
    const std::uint64_t bytes;
    const std::string path;  // as made; an unlinked file no longer has it
};

// `length` bytes of `file` from `offset`, seen at `at` bytes from a block's `pointer`; all
// three are multiples of the page size.
struct Piece {
    std::shared_ptr<PieceFile> file;
    std::uint64_t offset = 0;
    std::uint64_t at = 0;
    std::uint64_t length = 0;
};

// Owned storage of sample bytes. Readers use `pointer` and `size` after a Lock; a block that
// could not be created or mapped has a null pointer, which every user checks.
class DataBlock {
  public:
    virtual ~DataBlock() = default;
    virtual void Lock() = 0;
    virtual void Unlock() = 0;
    // The temporary files behind the block's mapping, in order, so that another block can map
    // the same pages; empty for memory or for a file that is not ours to share.
    [[nodiscard]] virtual std::vector<Piece> Pieces() const { return {}; }
    // Bytes of temporary files that only this block uses: what freeing it gives back.
    [[nodiscard]] virtual std::uint64_t ExclusiveBytes() const { return 0; }

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
    [[nodiscard]] std::vector<Piece> Pieces() const override;
    [[nodiscard]] std::uint64_t ExclusiveBytes() const override;

    int fd = -1;
    std::string mappingName;
    bool sequential;

  private:
    std::uint32_t mappedBytes_ = 0;
    bool created_ = false;
    bool temporary_ = false;
    std::string path_;
    // Made on first sharing, from a duplicate of fd, so that sharers outlive the block.
    mutable std::shared_ptr<PieceFile> shared_;
};

// One reserved address range holding pieces of several files side by side: the pages a sound
// shares with the sounds it was made from (read-only) and its own new pages (writable).
class PieceBlock final : public DataBlock {
  public:
    // `pieces` in order of `at`, covering `bytes` rounded up to whole pages; pieces of
    // `writable` are mapped for writing. A failed mapping leaves a null pointer.
    PieceBlock(std::uint64_t bytes, std::vector<Piece> pieces, const PieceFile* writable);
    ~PieceBlock() override;
    void Lock() override { ++lockCount; }
    void Unlock() override { --lockCount; }
    [[nodiscard]] std::vector<Piece> Pieces() const override { return pieces_; }
    [[nodiscard]] std::uint64_t ExclusiveBytes() const override;

  private:
    std::vector<Piece> pieces_;
    std::size_t reserved_ = 0;
};

[[nodiscard]] std::size_t PageBytes();

// Whether new sounds may share pages with the sounds they are made from (on by default); off,
// every new sound is a whole copy, the reference the shared results are compared with.
void SetPageSharing(bool on);
[[nodiscard]] bool PageSharing();

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
