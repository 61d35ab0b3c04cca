#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "processing/ProgressIndicator.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

struct FrameRange {
    std::uint32_t start = 0;
    std::uint32_t length = 0;
    [[nodiscard]] std::uint32_t end() const { return start + length; }
};

// The frames an effect works on: the selection, or the whole wave when nothing is selected.
// A selection reaching past the wave is cut at its end.
[[nodiscard]] FrameRange ProcessedRange(std::uint32_t start, std::uint32_t length,
                                        std::uint32_t waveLength);

// A result wave of the source's format with `frames` frames (not cleared), in the source's
// temporary folder; null when no memory or temporary disk space can be had.
[[nodiscard]] std::unique_ptr<WaveObject> NewResultWave(const WaveObject& source,
                                                        std::uint32_t frames);
// The same with another format (format conversion).
[[nodiscard]] std::unique_ptr<WaveObject> NewResultWave(const WaveObject& source,
                                                        const WaveFormat& format,
                                                        std::uint32_t frames);

// A result of the source's format and `frames` frames (the source's length, or more or fewer
// frames after the range) whose frames before `changed` and after it are the source's; those
// not already in place from shared pages are left in `toCopy` (bytes, for CopyKeptBytes).
// The frames from changed.start up to the length difference after changed.end() are the
// caller's to write.
[[nodiscard]] std::unique_ptr<WaveObject> NewResultKeeping(const WaveObject& source,
                                                           std::uint32_t frames, FrameRange changed,
                                                           std::vector<KeptRun>& toCopy);

// A file of the caller's in which the next result made for `source` is made instead of in
// temporary storage: its frames start after `headerBytes(format)` bytes, which stay the
// caller's to fill. `made` is then the result's storage; a file that cannot take the result
// leaves it null, and the result is made as always.
struct ResultTarget {
    const WaveObject* source = nullptr;
    std::string path;
    std::function<std::uint64_t(const WaveFormat&)> headerBytes;
    const DataBlock* made = nullptr;
};

// Sends this thread's results for target.source to target.path while it lives.
class ScopedResultTarget {
  public:
    explicit ScopedResultTarget(ResultTarget& target);
    ~ScopedResultTarget();
    ScopedResultTarget(const ScopedResultTarget&) = delete;
    ScopedResultTarget& operator=(const ScopedResultTarget&) = delete;

  private:
    ResultTarget* previous_;
};

// Copies frames [first, last) of the source into a result of NewResultKeeping of the same
// length wherever they are not already there: those left in `toCopy` and those of `changed`.
void CopyUnshared(const WaveObject& source, WaveObject& result, std::span<const KeptRun> toCopy,
                  FrameRange changed, std::uint32_t first, std::uint32_t last);

// Copies `count` frames unchanged between waves of the same format.
void CopyFrames(const WaveObject& source, std::uint32_t from, WaveObject& target, std::uint32_t to,
                std::uint32_t count);

inline constexpr std::uint32_t kProgressStep = 16384;

// Runs body(first, last) over [begin, end) in pieces cut at multiples of kProgressStep and,
// before each piece that starts on such a multiple i, reports SetPos(i / total * 100). These
// are the reports of a per-frame `(i & 0x3FFF) == 0` check, without the per-frame test.
template <typename Body>
void ForEachProgressBlock(std::uint32_t begin, std::uint32_t end, std::uint32_t total,
                          ProgressIndicator* progress, Body&& body) {
    std::uint32_t i = begin;
    while (i < end) {
        if (progress != nullptr && i % kProgressStep == 0) {
            progress->SetPos(static_cast<int>(static_cast<double>(i) / total * 100.0));
            if (progress->Cancelled()) return;
        }
        const std::uint64_t boundary = (std::uint64_t{i} / kProgressStep + 1) * kProgressStep;
        const auto last = static_cast<std::uint32_t>(boundary < end ? boundary : end);
        body(i, last);
        i = last;
    }
}

}  // namespace kelvane
