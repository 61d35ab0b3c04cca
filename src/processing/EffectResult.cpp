#include "processing/EffectResult.h"

#include <algorithm>
#include <cstring>

#include "wavedata/SharedPages.h"

namespace kelvane {

FrameRange ProcessedRange(std::uint32_t start, std::uint32_t length, std::uint32_t waveLength) {
    if (length == 0) return {0, waveLength};
    start = std::min(start, waveLength);
    return {start, std::min(length, waveLength - start)};
}

std::unique_ptr<WaveObject> NewResultWave(const WaveObject& source, std::uint32_t frames) {
    if (!source.format) return nullptr;
    return NewResultWave(source, *source.format, frames);
}

std::unique_ptr<WaveObject> NewResultWave(const WaveObject& source, const WaveFormat& format,
                                          std::uint32_t frames) {
    auto result = std::make_unique<WaveObject>(1, source.tempDirectory.c_str());
    if (!result->Allocate(format, frames)) return nullptr;
    return result;
}

std::unique_ptr<WaveObject> NewResultKeeping(const WaveObject& source, std::uint32_t frames,
                                             FrameRange changed, std::vector<KeptRun>& toCopy) {
    if (!source.format) return nullptr;
    const std::uint32_t n = source.FrameCount();
    const std::uint32_t after = n - std::min(changed.end(), n);
    const std::uint32_t newEnd = frames - std::min(after, frames);
    const KeptRun kept[] = {{0, 0, std::min(changed.start, newEnd)}, {newEnd, n - after, after}};
    auto result = std::make_unique<WaveObject>(1, source.tempDirectory.c_str());
    if (!result->AllocateSharing(source, frames, kept, toCopy)) return nullptr;
    const std::uint64_t bpf = BytesPerFrame(source.frameLayout);
    PrepareToRead(source, changed.start * bpf, std::uint64_t{changed.length} * bpf);
    return result;
}

void CopyUnshared(const WaveObject& source, WaveObject& result, std::span<const KeptRun> toCopy,
                  FrameRange changed, std::uint32_t first, std::uint32_t last) {
    const std::uint64_t bpf = BytesPerFrame(source.frameLayout);
    CopyKeptBytes(source, result, toCopy, first * bpf, last * bpf);
    const std::uint32_t a = std::clamp(changed.start, first, last);
    const std::uint32_t b = std::clamp(changed.end(), first, last);
    CopyFrames(source, a, result, a, b - a);
}

void CopyFrames(const WaveObject& source, std::uint32_t from, WaveObject& target, std::uint32_t to,
                std::uint32_t count) {
    const std::size_t bpf = BytesPerFrame(source.frameLayout);
    if (count == 0 || bpf == 0) return;
    std::memcpy(target.data + to * bpf, source.data + from * bpf, count * bpf);
}

}  // namespace kelvane
