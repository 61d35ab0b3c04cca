#pragma once

#include <algorithm>
#include <cstdint>

#include "processing/EffectResult.h"
#include "processing/ProgressIndicator.h"

namespace kelvane {

// trunc(value) as a 32-bit integer; a value that does not fit (or NaN, from a zero total)
// gives INT_MIN, as the processor's truncating conversion does, instead of undefined behaviour.
[[nodiscard]] inline int TruncToInt(double value) {
    if (!(value > -2147483649.0 && value < 2147483648.0)) return INT32_MIN;
    return static_cast<int>(value);
}

// One running count of processed frames that reports SetPos(trunc((base + count) / total *
// 100)) before every frame whose count is a multiple of kProgressStep. The work is handed out in
// pieces that end where the next report falls, so the frame loops carry no per-frame test.
class ProgressCounter {
  public:
    ProgressCounter(ProgressIndicator* progress, double total, std::uint32_t count = 0,
                    double base = 0.0)
        : progress_(progress), total_(total), base_(base), count_(count) {}

    // Runs body(first, last) over the frames [0, frames) in pieces, counting each frame.
    template <typename Body>
    void Run(std::uint32_t frames, Body&& body) {
        std::uint32_t done = 0;
        while (done < frames) {
            const std::uint32_t phase = count_ % kProgressStep;
            if (phase == 0) Report();
            if (Cancelled()) return;
            const std::uint32_t n = std::min(kProgressStep - phase, frames - done);
            body(done, done + n);
            done += n;
            count_ += n;
        }
    }

    // Counts frames that need no work, with the reports they are due.
    void Skip(std::uint32_t frames) {
        Run(frames, [](std::uint32_t, std::uint32_t) {});
    }

    // Reports now if the count stands on a multiple of kProgressStep (one frame's check).
    [[nodiscard]] bool Cancelled() const { return progress_ != nullptr && progress_->Cancelled(); }

    void CheckOne() {
        if (count_ % kProgressStep == 0) Report();
    }
    void Add(std::uint32_t frames) { count_ += frames; }

    [[nodiscard]] std::uint32_t count() const { return count_; }

  private:
    void Report() const {
        // The count is a signed 32-bit value in the report, like the total.
        if (progress_ != nullptr)
            progress_->SetPos(
                TruncToInt((base_ + static_cast<std::int32_t>(count_)) / total_ * 100.0));
    }

    ProgressIndicator* progress_;
    double total_;
    double base_;
    std::uint32_t count_;
};

}  // namespace kelvane
