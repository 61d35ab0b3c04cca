#pragma once

#include <cstdio>
#include <string>

#include "batch/BatchMonitor.h"

namespace kelvane {

// Reports a batch run on the console: the log on standard output, and, when standard error is
// a terminal, one redrawn line there with the current step's bar and the overall position.
class ConsoleMonitor final : public BatchMonitor {
  public:
    ConsoleMonitor(bool showLog, bool showBar) : showLog_(showLog), showBar_(showBar) {}
    ~ConsoleMonitor() override { ClearBar(); }
    ConsoleMonitor(const ConsoleMonitor&) = delete;
    ConsoleMonitor& operator=(const ConsoleMonitor&) = delete;

    bool Create(void* /*parent*/) override { return true; }
    void SetText(std::string_view text) override;
    int SetPos(int position) override;
    void SetRange(int lower, int upper) override;
    void SetFileText(std::string_view text) override;
    void SetOverallPos(int position) override;
    void AppendLog(std::string_view text) override;

    // Ends the output: removes the bar and ends the log's last line.
    void Finish();

  private:
    void Draw();
    void ClearBar();

    bool showLog_;
    bool showBar_;
    bool barShown_ = false;
    bool lineOpen_ = false;  // the log's last text did not end its line
    std::string step_;
    std::string file_;
    int position_ = 0;
    int lower_ = 0;
    int upper_ = 100;
    int overall_ = 0;
    std::string drawn_;
};

}  // namespace kelvane
