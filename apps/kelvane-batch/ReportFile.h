#pragma once

#include <mutex>
#include <string>

#include "batch/BatchConversion.h"

namespace kelvane {

// One input's line of a report: a JSON object with its input and output names, status number
// and text, the error text of a failure, the seconds it took and the frames saved.
[[nodiscard]] std::string ReportLine(const std::string& input, const std::string& output,
                                     const BatchFileResult& result, double seconds);

// A file of lines that many processes, on one machine or many, append to at once: each line
// goes to the end in one piece under a lock on the whole file, which NFS (through its lock
// service) and the common cluster file systems honour, so the tasks of a job array can share
// one report. Append is safe from any thread.
class ReportFile {
  public:
    ReportFile() = default;
    ~ReportFile();
    ReportFile(const ReportFile&) = delete;
    ReportFile& operator=(const ReportFile&) = delete;

    // Opens the file for appending, creating it; empty on success, else what went wrong.
    [[nodiscard]] std::string Open(const std::string& path);
    // Appends `line` and a newline; on failure, the reason, else an empty string.
    [[nodiscard]] std::string Append(std::string line);

  private:
    int fd_ = -1;
    std::mutex mutex_;  // a file lock keeps other processes out, not this one's threads
};

}  // namespace kelvane
