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

namespace {

thread_local ResultTarget* gTarget = nullptr;

// The result in the target's file when one is waiting for this source and the file takes it.
std::unique_ptr<WaveObject> TargetedResult(const WaveObject& source, const WaveFormat& format,
                                           std::uint32_t frames) {
    if (!gTarget || gTarget->source != &source || gTarget->made || frames == 0) return nullptr;
    const std::uint64_t header = gTarget->headerBytes(format);
    const std::uint64_t bytes = std::uint64_t{BytesPerFrame(FrameLayoutOf(&format))} * frames;
    if (bytes == 0 || header + bytes > 0xFFFFFFFFu) return nullptr;
    std::unique_ptr<DataBlock> block =
        std::make_unique<MappedFileBlock>(static_cast<std::uint32_t>(header + bytes),
                                          gTarget->path.c_str(), false, nullptr, false, true);
    if (block->pointer == nullptr) return nullptr;
    auto result = std::make_unique<WaveObject>(1, source.tempDirectory.c_str());
    if (!result->AttachBlock(format, block)) return nullptr;
    result->data += header;
    result->dataBytes = static_cast<std::uint32_t>(bytes);
    gTarget->made = result->storage.get();
    return result;
}

}  // namespace

ScopedResultTarget::ScopedResultTarget(ResultTarget& target) : previous_(gTarget) {
    gTarget = &target;
}

ScopedResultTarget::~ScopedResultTarget() {
    gTarget = previous_;
}

std::unique_ptr<WaveObject> NewResultWave(const WaveObject& source, std::uint32_t frames) {
    if (!source.format) return nullptr;
    return NewResultWave(source, *source.format, frames);
}

std::unique_ptr<WaveObject> NewResultWave(const WaveObject& source, const WaveFormat& format,
                                          std::uint32_t frames) {
    if (auto targeted = TargetedResult(source, format, frames)) return targeted;
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
    const std::uint64_t bpf = BytesPerFrame(source.frameLayout);
    if (auto targeted = TargetedResult(source, *source.format, frames)) {
        toCopy.clear();
        for (const KeptRun& run : kept)
            if (run.count != 0) toCopy.push_back({run.to * bpf, run.from * bpf, run.count * bpf});
        return targeted;
    }
    auto result = std::make_unique<WaveObject>(1, source.tempDirectory.c_str());
    if (!result->AllocateSharing(source, frames, kept, toCopy)) return nullptr;
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
