#include "processing/FormatConversion.h"

#include <algorithm>
#include <limits>

#include "processing/RangeEffect.h"

namespace kelvane {

FormatConversionEffect::FormatConversionEffect(SettingsPlace place) : place_(std::move(place)) {
    LoadSettings<FormatConversionSettings>(settings, kFormatConversionKeys, place_,
                                           kFormatConversionSection);
}

void FormatConversionEffect::Save() const {
    SaveSettings<FormatConversionSettings>(settings, kFormatConversionKeys, place_,
                                           kFormatConversionSection);
}

namespace {

constexpr std::uint32_t kConversionStep = 65536;

// Output frame j takes source frame ceil((j + 1) * from / to) - 1. The accumulator stays in
// (0, to] after the first frame, so each later step adds from / to whole frames and carries
// the remainder, which is the subtract-while-above loop without its iterations.
class SourceFrames {
  public:
    SourceFrames(std::uint32_t from, std::uint32_t to)
        : to_(to), whole_(from / to), rest_(from % to), acc_(from) {
        while (acc_ > to_) {
            acc_ -= to_;
            ++index_;
        }
    }
    [[nodiscard]] std::uint32_t index() const { return index_; }
    void Next() {
        index_ += whole_;
        acc_ += rest_;
        if (acc_ > to_) {
            acc_ -= to_;
            ++index_;
        }
    }

  private:
    std::uint64_t to_;
    std::uint32_t whole_;
    std::uint64_t rest_;
    std::uint64_t acc_;
    std::uint32_t index_ = 0;
};

template <FrameLayout S, FrameLayout T>
void Convert(const std::uint8_t* in, std::uint8_t* out, std::uint32_t frames, SourceFrames& pick,
             ProgressIndicator* progress) {
    for (std::uint32_t j = 0; j < frames;) {
        if (progress != nullptr) {
            progress->SetPos(static_cast<int>(static_cast<double>(j) / frames * 100.0));
            if (progress->Cancelled()) return;
        }
        const std::uint32_t last = j + std::min(kConversionStep, frames - j);
        for (; j < last; ++j) {
            WriteFrame<T>(out, j, ReadFrame<S>(in, pick.index()));
            pick.Next();
        }
    }
}

}  // namespace

std::unique_ptr<WaveObject> FormatConversionEffect::Process(const WaveObject& source,
                                                            ProgressIndicator* progress) const {
    if (!HasReadableFrames(source)) return nullptr;
    const std::uint32_t from = source.format->samplesPerSec;
    const int to = settings.samplingRate;
    const int channels = settings.channels;
    const int bits = settings.sampleSize;
    if (from == 0 || to <= 0 || (channels != 1 && channels != 2) || (bits != 8 && bits != 16))
        return nullptr;
    const std::uint64_t frames64 =
        std::uint64_t{source.FrameCount()} * static_cast<std::uint64_t>(to) / from;
    if (frames64 > std::numeric_limits<std::uint32_t>::max()) return nullptr;
    const auto frames = static_cast<std::uint32_t>(frames64);

    // The format's rate field takes the low 16 bits of the rate.
    WaveFormat target;
    MakePcmFormat(target, static_cast<std::uint16_t>(to), static_cast<std::uint16_t>(bits),
                  static_cast<std::uint16_t>(channels));
    const FrameLayout targetLayout = FrameLayoutOf(&target);
    auto result = NewResultWave(source, target, frames);
    if (!result) return nullptr;
    if (frames != 0) {
        SourceFrames pick(from, static_cast<std::uint32_t>(to));
        DispatchLayout(source.frameLayout, [&](auto s) {
            DispatchLayout(targetLayout, [&](auto t) {
                Convert<decltype(s)::value, decltype(t)::value>(source.data, result->data, frames,
                                                                pick, progress);
            });
        });
    }
    result->CopyInfo(&source);
    return result;
}

}  // namespace kelvane
