#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "FileProgressBar.h"
#include "ReportFile.h"
#include "batch/BatchConversion.h"

namespace kelvane {

// Converts files on several threads, one file at a time per worker, each worker with a
// BatchConversion of its own configured alike (its own filter settings files, waves and
// temporary files). What it prints is what one serial run prints: each file's log lines in
// input order, once that file and every earlier one are done, then the run's end message.
// Filters that draw from the process-wide random sequence take their turns in input order,
// so every file gets the values a serial run would give it.
class ParallelRun {
  public:
    // `interrupted` is set (by a signal handler, with every worker's own cancel flag) to end
    // the run: no file starts after it, and each worker stops at its next check.
    // `report`, when given, gets a line for each file as soon as it is done (in the order
    // files end, so a run killed later has reported every file it finished).
    ParallelRun(std::vector<std::unique_ptr<BatchConversion>> workers,
                std::vector<std::string> files, const std::atomic<bool>& interrupted,
                ReportFile* report = nullptr);
    ParallelRun(const ParallelRun&) = delete;
    ParallelRun& operator=(const ParallelRun&) = delete;

    BatchSummary Run(bool showLog, bool showBar);
    // Why the report could not be written, after Run; empty when it could.
    [[nodiscard]] const std::string& ReportError() const { return reportError_; }

    // Called through a file's gate on its worker's thread.
    void WaitForDrawTurn(std::size_t file);
    void PassDrawTurn(std::size_t file);
    [[nodiscard]] bool Draws(int filter) const;
    [[nodiscard]] std::size_t LastDrawingStep() const { return lastDrawingStep_; }

  private:
    struct FileResult {
        std::string log;
        BatchSummary summary;
        bool done = false;
    };

    void Work(BatchConversion& batch);
    bool TakeFile(std::size_t& file);
    void Report(bool showLog, FileProgressBar& bar);
    // Acquire: the handler sets the workers' own flags before this one.
    [[nodiscard]] bool Interrupted() const { return interrupted_.load(std::memory_order_acquire); }

    std::vector<std::unique_ptr<BatchConversion>> workers_;
    std::vector<std::string> files_;
    const std::atomic<bool>& interrupted_;
    ReportFile* report_;
    std::string reportError_;
    std::size_t lastDrawingStep_ = 0;
    bool anyDrawingStep_ = false;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<FileResult> results_;
    std::size_t next_ = 0;
    std::size_t running_ = 0;
    std::size_t finished_ = 0;
    std::vector<bool> drawsPassed_;
    std::size_t drawTurn_ = 0;  // the first file that may still draw
};

}  // namespace kelvane
