#include "processing/InsertSilence.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "processing/RangeEffect.h"

namespace kelvane {

InsertSilenceEffect::InsertSilenceEffect(SettingsPlace place) : place_(std::move(place)) {
    SilenceSettings stored;
    LoadSettings<SilenceSettings>(stored, kSilenceKeys, place_, kSilenceSection);
    seconds = stored.hundredths * 0.01;
}

void InsertSilenceEffect::Save() const {
    const SilenceSettings stored{static_cast<int>(seconds * 100.0)};
    SaveSettings<SilenceSettings>(stored, kSilenceKeys, place_, kSilenceSection);
}

std::unique_ptr<WaveObject> InsertSilenceEffect::Process(const WaveObject& source,
                                                         std::uint32_t& start,
                                                         std::uint32_t& length,
                                                         ProgressIndicator* progress) const {
    if (!HasReadableFrames(source)) return nullptr;
    const std::uint32_t n = source.FrameCount();
    const double frames = std::trunc(source.format->samplesPerSec * seconds);
    // A negative or oversized length read from a private settings file inserts nothing or fails.
    const double inserted = std::max(frames, 0.0);
    if (!(inserted <= std::numeric_limits<std::uint32_t>::max() - n)) return nullptr;
    const auto silence = static_cast<std::uint32_t>(inserted);
    const std::uint32_t total = n + silence;
    const std::uint32_t at = std::min(start, n);
    std::vector<KeptRun> toCopy;
    auto result = NewResultKeeping(source, total, {at, 0}, toCopy);
    if (!result) return nullptr;

    const std::size_t bpf = BytesPerFrame(source.frameLayout);
    // 8-bit silence is 128, so whole frames are filled byte by byte with it.
    const int silenceByte = source.format->bitsPerSample == 8 ? 0x80 : 0;
    std::uint32_t written = 0;
    // Stored bytes are copied as they are, in blocks of at most 32768 frames.
    auto inBlocks = [&](std::uint32_t count, auto&& fill) {
        for (std::uint32_t done = 0; done < count;) {
            if (progress != nullptr && progress->Cancelled()) return;
            const std::uint32_t block = std::min<std::uint32_t>(32768, count - done);
            fill(result->data + std::size_t{written} * bpf, done, block);
            done += block;
            written += block;
            if (progress != nullptr)
                progress->SetPos(static_cast<int>(std::uint64_t{written} * 100 / total));
        }
    };
    auto copyKept = [&](std::uint8_t*, std::uint32_t, std::uint32_t block) {
        CopyKeptBytes(source, *result, toCopy, std::uint64_t{written} * bpf,
                      (std::uint64_t{written} + block) * bpf);
    };
    inBlocks(at, copyKept);
    inBlocks(silence, [&](std::uint8_t* to, std::uint32_t, std::uint32_t block) {
        std::memset(to, silenceByte, block * bpf);
    });
    inBlocks(n - at, copyKept);
    if (progress != nullptr) progress->SetPos(100);
    length = silence;
    result->CopyInfo(&source);
    return result;
}

}  // namespace kelvane
