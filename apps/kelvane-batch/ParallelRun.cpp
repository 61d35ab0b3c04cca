#include "ParallelRun.h"

#include <chrono>
#include <cstdio>
#include <thread>

#include "batch/BatchFilters.h"
#include "resources/Strings.h"

namespace kelvane {

namespace {

constexpr std::uint32_t kAllDone = 2004;
constexpr std::uint32_t kCancelled = 2005;
// A signal handler cannot wake a waiting thread, so waits look at the interrupt this often.
constexpr auto kInterruptPoll = std::chrono::milliseconds(50);

// Keeps a file's log; the rest of what a run reports has no place on the console.
class LogMonitor final : public BatchMonitor {
  public:
    bool Create(void* /*parent*/) override { return true; }
    void SetText(std::string_view /*text*/) override {}
    int SetPos(int /*position*/) override { return 0; }
    void SetRange(int /*lower*/, int /*upper*/) override {}
    void SetFileText(std::string_view /*text*/) override {}
    void SetOverallPos(int /*position*/) override {}
    void AppendLog(std::string_view text) override { log.append(text); }

    std::string log;
};

// One file's way through the draw turns: it waits for its turn before a drawing filter and
// passes the turn on after the chain's last one.
class DrawOrder final : public FilterGate {
  public:
    DrawOrder(ParallelRun& run, std::size_t file) : run_(run), file_(file) {}
    void Enter(std::size_t /*step*/, int filter) override {
        if (run_.Draws(filter)) run_.WaitForDrawTurn(file_);
    }
    void Leave(std::size_t step, int filter) override {
        if (run_.Draws(filter) && step == run_.LastDrawingStep()) run_.PassDrawTurn(file_);
    }

  private:
    ParallelRun& run_;
    std::size_t file_;
};

void Print(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

}  // namespace

ParallelRun::ParallelRun(std::vector<std::unique_ptr<BatchConversion>> workers,
                         std::vector<std::string> files, const std::atomic<bool>& interrupted,
                         ReportFile* report)
    : workers_(std::move(workers)),
      files_(std::move(files)),
      interrupted_(interrupted),
      report_(report),
      results_(files_.size()),
      drawsPassed_(files_.size(), false) {
    const auto& chain = workers_.front()->Chain();
    for (std::size_t step = 0; step < chain.size(); ++step) {
        if (!Draws(chain[step]->Filter())) continue;
        lastDrawingStep_ = step;
        anyDrawingStep_ = true;
    }
}

bool ParallelRun::Draws(int filter) const {
    static const int chorus = BatchFilterByShortName("chorus");
    return filter == chorus;
}

BatchSummary ParallelRun::Run(bool showLog, bool showBar) {
    FileProgressBar bar(showBar);
    running_ = workers_.size();
    {
        std::vector<std::jthread> threads;
        threads.reserve(workers_.size());
        for (auto& worker : workers_)
            threads.emplace_back([this, batch = worker.get()] { Work(*batch); });
        Report(showLog, bar);
    }
    bar.Clear();
    BatchSummary summary;
    for (const FileResult& result : results_) {
        summary.converted += result.summary.converted;
        summary.failed += result.summary.failed;
    }
    summary.cancelled = Interrupted();
    if (showLog) {
        std::string end(LoadString(summary.cancelled ? kCancelled : kAllDone));
        if (end.back() != '\n') end += '\n';
        Print(end);
    }
    return summary;
}

// Prints each file's log as soon as it and every file before it are done.
void ParallelRun::Report(bool showLog, FileProgressBar& bar) {
    std::size_t printed = 0;
    std::unique_lock lock(mutex_);
    bar.Show(finished_, files_.size());
    for (;;) {
        changed_.wait(lock, [&] {
            return running_ == 0 || (printed < results_.size() && results_[printed].done);
        });
        std::string text;
        while (printed < results_.size() && results_[printed].done)
            text += std::move(results_[printed++].log);
        const std::size_t finished = finished_;
        const bool ended = running_ == 0;
        lock.unlock();
        if (showLog && !text.empty()) {
            bar.Clear();
            Print(text);
        }
        bar.Show(finished, files_.size());
        if (ended) return;
        lock.lock();
    }
}

bool ParallelRun::TakeFile(std::size_t& file) {
    const std::lock_guard lock(mutex_);
    if (next_ < files_.size() && !Interrupted()) {
        file = next_++;
        return true;
    }
    --running_;
    changed_.notify_all();
    return false;
}

void ParallelRun::Work(BatchConversion& batch) {
    for (std::size_t file = 0; TakeFile(file);) {
        LogMonitor monitor;
        DrawOrder order(*this, file);
        BatchFileResult result;
        const auto start = std::chrono::steady_clock::now();
        const BatchSummary summary = batch.ConvertFile(files_[file], monitor, &order, &result);
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
        // A file that failed or stopped before its last drawing filter passes the turn now.
        PassDrawTurn(file);
        std::string reportError;
        if (report_) {
            const std::string& input = files_[file];
            reportError = report_->Append(
                ReportLine(input, batch.OutputName(input), result, seconds.count()));
        }
        const std::lock_guard lock(mutex_);
        if (reportError_.empty()) reportError_ = std::move(reportError);
        results_[file] = {std::move(monitor.log), summary, true};
        ++finished_;
        changed_.notify_all();
    }
}

void ParallelRun::WaitForDrawTurn(std::size_t file) {
    std::unique_lock lock(mutex_);
    while (drawTurn_ != file && !Interrupted()) changed_.wait_for(lock, kInterruptPoll);
}

void ParallelRun::PassDrawTurn(std::size_t file) {
    if (!anyDrawingStep_) return;
    const std::lock_guard lock(mutex_);
    if (drawsPassed_[file]) return;
    drawsPassed_[file] = true;
    while (drawTurn_ < drawsPassed_.size() && drawsPassed_[drawTurn_]) ++drawTurn_;
    changed_.notify_all();
}

}  // namespace kelvane
