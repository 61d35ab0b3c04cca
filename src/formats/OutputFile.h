#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace kelvane {

// A file written through a large buffer, so pieces of any size cost few system calls.
//
// A replacing file is written under a new name in the target's folder and renamed over the
// target by Commit, so a failed save leaves an earlier target as it was. A direct file (for
// temporary data) is written in place. Either is deleted when destroyed without Commit.
class OutputFile {
  public:
    enum class Mode { Replace, Direct };

    OutputFile(std::string target, Mode mode);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    [[nodiscard]] bool IsOpen() const { return fd_ >= 0; }
    // False once any write has failed (a full disk, a file size limit); later writes do nothing.
    bool Write(const void* data, std::size_t bytes);
    // Room for `bytes` (at most the buffer's size) at the end of the buffer, to fill in place
    // and hand over with Advance; null once a write has failed.
    std::uint8_t* Space(std::size_t bytes);
    void Advance(std::size_t bytes);
    // Overwrites bytes already written (chunk sizes known only at the end).
    bool WriteAt(std::uint64_t offset, const void* data, std::size_t bytes);
    [[nodiscard]] std::uint64_t Position() const { return position_; }
    // Moves past `bytes` already in the file (written through a mapping of Path()).
    bool Skip(std::uint64_t bytes);
    // The file being written: the target itself, or the hidden file that replaces it.
    [[nodiscard]] const std::string& Path() const { return path_; }
    // A write was refused (a full disk), as against a step that failed for another reason.
    [[nodiscard]] bool Failed() const { return failed_; }
    // Writes what is buffered, closes, and for a replacing file renames it over the target.
    bool Commit();

  private:
    bool Flush();
    bool WriteThrough(const std::uint8_t* data, std::size_t bytes);
    void Discard();

    std::string target_;
    std::string path_;  // the file being written
    int fd_ = -1;
    std::unique_ptr<std::uint8_t[]> buffer_;
    std::size_t used_ = 0;
    std::uint64_t position_ = 0;
    bool failed_ = false;
};

}  // namespace kelvane
