#include "processing/CompressExpand.h"

#include <algorithm>

#include "processing/EffectResult.h"
#include "processing/FrameInterpolation.h"
#include "processing/ProgressCounter.h"
#include "processing/RangeEffect.h"

namespace kelvane {

namespace {

constexpr std::uint32_t kCopyBlock = 32768;

// The frames before the range that are not shared, in blocks, reporting copied * 100 / total
// after each.
void CopyHead(const WaveObject& source, WaveObject& result, std::span<const KeptRun> toCopy,
              std::uint32_t frames, std::uint64_t total, ProgressIndicator* progress) {
    const std::uint64_t bpf = BytesPerFrame(source.frameLayout);
    for (std::uint32_t done = 0; done < frames;) {
        const std::uint32_t n = std::min(kCopyBlock, frames - done);
        CopyKeptBytes(source, result, toCopy, done * bpf, (std::uint64_t{done} + n) * bpf);
        done += n;
        if (progress != nullptr) {
            progress->SetPos(static_cast<int>(std::uint64_t{done} * 100 / total));
            if (progress->Cancelled()) return;
        }
    }
}

}  // namespace

CompressExpandEffect::CompressExpandEffect(SettingsPlace place, std::uint32_t waveLength)
    : place_(std::move(place)), waveLength_(waveLength) {
    CompressExpandStored stored;
    LoadSettings<CompressExpandStored>(stored, kCompressExpandKeys, place_, kCompressExpandSection);
    settings.percent = stored.percent;
    settings.segmentTime = SegmentTimeFromStored(stored.delay);
    settings.crossFadeRatio = CrossFadeFromStored(stored.crossFadeRatio);
}

void CompressExpandEffect::SaveSettings() const {
    const CompressExpandStored stored{TruncToInt(settings.percent),
                                      StoredSegmentTime(settings.segmentTime),
                                      StoredCrossFade(settings.crossFadeRatio)};
    kelvane::SaveSettings<CompressExpandStored>(stored, kCompressExpandKeys, place_,
                                                kCompressExpandSection);
}

std::unique_ptr<WaveObject> CompressExpandEffect::Process(const WaveObject& source,
                                                          std::uint32_t& start,
                                                          std::uint32_t& length,
                                                          ProgressIndicator* progress) const {
    SaveSettings();
    if (!HasReadableFrames(source)) return nullptr;
    const std::uint32_t waveLength = source.FrameCount();
    const FrameRange range = ProcessedRange(start, length, waveLength);
    const double newLengthValue = settings.percent * range.length * 0.01;
    if (!(newLengthValue >= 0.0 && newLengthValue < 4294967296.0)) return nullptr;
    const auto newLength = static_cast<std::uint32_t>(newLengthValue);
    const std::uint64_t resultLength64 = std::uint64_t{waveLength} - range.length + newLength;
    if (resultLength64 > 0xFFFFFFFFu) return nullptr;
    const auto resultLength = static_cast<std::uint32_t>(resultLength64);
    const double step = static_cast<double>(range.length) / newLength;

    std::vector<KeptRun> toCopy;
    auto result = NewResultKeeping(source, resultLength, range, toCopy);
    if (!result) return nullptr;
    auto scratch = NewResultWave(source, range.length);
    if (!scratch) return nullptr;

    const std::uint64_t total = resultLength64 + newLength;
    CopyHead(source, *result, toCopy, range.start, total, progress);

    const double ratio = settings.percent * 0.01;
    if (range.length > 0) {
        const SegmentShape shape = ComputeSegmentShape(
            ratio, source.format->samplesPerSec, settings.segmentTime, settings.crossFadeRatio);
        const SegmentJob job{&source, range.start, scratch.get(), 0, range.length, ratio, shape};
        if (!RunSegmentShift(job, {progress, 0, true, static_cast<double>(range.start),
                                   static_cast<double>(total)}))
            return nullptr;
    }

    ProgressCounter resampled(progress, static_cast<double>(total), 0,
                              static_cast<double>(range.end()));
    if (newLength > 0) {
        DispatchLayout(source.frameLayout, [&](auto layout) {
            constexpr FrameLayout L = decltype(layout)::value;
            const std::uint8_t* in = scratch->data;
            std::uint8_t* out = result->data + std::size_t{range.start} * BytesPerFrame(L);
            const std::uint32_t frames = range.length;
            resampled.Run(newLength, [&](std::uint32_t first, std::uint32_t last) {
                for (std::uint32_t j = first; j < last; ++j)
                    WriteFrame<L>(out, j, InterpolateFrame<L>(in, frames, j * step));
            });
        });
    }
    scratch.reset();

    ProgressCounter tail(progress, static_cast<double>(total), 0,
                         static_cast<double>(std::uint64_t{range.end()} + newLength));
    const std::uint64_t bpf = BytesPerFrame(source.frameLayout);
    const std::uint64_t tailAt = std::uint64_t{range.start} + newLength;
    tail.Run(waveLength - range.end(), [&](std::uint32_t first, std::uint32_t last) {
        CopyKeptBytes(source, *result, toCopy, (tailAt + first) * bpf, (tailAt + last) * bpf);
    });

    length = newLength;
    result->CopyInfo(&source);
    return result;
}

}  // namespace kelvane
