#pragma once

#include <functional>
#include <string>
#include <vector>

#include "batch/BatchMonitor.h"

namespace kelvane::test {

// Keeps everything a batch run reports, in order; `onPos` runs inside every SetPos.
class RecordingMonitor final : public BatchMonitor {
  public:
    bool Create(void*) override { return true; }
    void SetText(std::string_view text) override {
        step = text;
        events.push_back("step:" + step);
    }
    int SetPos(int position) override {
        positions.push_back(position);
        if (onPos) onPos(*this);
        return 0;
    }
    void SetRange(int, int) override {}
    void SetFileText(std::string_view text) override {
        file = text;
        events.push_back("file:" + file);
    }
    void SetOverallPos(int position) override { overall.push_back(position); }
    void AppendLog(std::string_view text) override { log += text; }

    std::string step, file, log;
    std::vector<std::string> events;
    std::vector<int> positions, overall;
    std::function<void(RecordingMonitor&)> onPos;
};

}  // namespace kelvane::test
