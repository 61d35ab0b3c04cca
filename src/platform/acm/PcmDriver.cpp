#include "platform/acm/PcmDriver.h"

#include <soxr.h>

#include <algorithm>
#include <cstring>

#include "platform/acm/BlockCodec.h"

namespace kelvane {

namespace {

template <FrameLayout S, FrameLayout T>
void ConvertFrames(const std::uint8_t* source, std::uint8_t* target, std::uint32_t frames) {
    if constexpr (S == T) {
        std::memcpy(target, source, static_cast<std::size_t>(frames) * BytesPerFrame(S));
    } else {
        for (std::uint32_t i = 0; i < frames; ++i)
            WriteFrame<T>(target, i, ReadFrame<S>(source, i));
    }
}

bool IsEditablePcm(const WaveFormat& f) {
    return FrameLayoutOf(&f) != LayoutNone;
}

std::uint32_t Layout16(std::uint16_t channels) {
    return channels == 2 ? LayoutStereo16 : LayoutMono16;
}

// Same rate: a frame for a frame.
class FrameCodec final : public BlockCodec {
  public:
    FrameCodec(std::uint32_t sourceLayout, std::uint32_t targetLayout)
        : BlockCodec(BytesPerFrame(sourceLayout), BytesPerFrame(targetLayout)),
          sourceLayout_(sourceLayout),
          targetLayout_(targetLayout) {}

  private:
    void ConvertBlocks(const std::uint8_t* source, std::uint8_t* target,
                       std::uint32_t blocks) override {
        ConvertPcmFrames(sourceLayout_, source, targetLayout_, target, blocks);
    }
    std::uint32_t ConvertTail(const std::uint8_t*, std::uint32_t, std::uint8_t*) override {
        return 0;
    }

    std::uint32_t sourceLayout_;
    std::uint32_t targetLayout_;
};

struct SoxrDeleter {
    void operator()(soxr* resampler) const { soxr_delete(resampler); }
};
using SoxrHandle = std::unique_ptr<soxr, SoxrDeleter>;

// Another rate: frames are brought to 16 bits (and down to mono first when the target is
// mono), resampled, then written in the target layout.
class ResampleCodec final : public AcmCodec {
  public:
    ResampleCodec(const WaveFormat& s, const WaveFormat& t, SoxrHandle resampler,
                  std::uint16_t workChannels)
        : sourceLayout_(FrameLayoutOf(&s)),
          targetLayout_(FrameLayoutOf(&t)),
          workLayout_(Layout16(workChannels)),
          sourceRate_(s.samplesPerSec),
          targetRate_(t.samplesPerSec),
          resampler_(std::move(resampler)) {}

    [[nodiscard]] std::uint32_t TargetSize(std::uint32_t sourceBytes) const override {
        const std::uint64_t frames = sourceBytes / BytesPerFrame(sourceLayout_);
        const std::uint64_t out = frames * targetRate_ / sourceRate_ + kFlushFrames;
        return static_cast<std::uint32_t>(
            std::min<std::uint64_t>(out * BytesPerFrame(targetLayout_), 0xFFFFFFFFu));
    }

    void Convert(const std::uint8_t* source, std::uint32_t sourceBytes, std::uint8_t* target,
                 std::uint32_t targetBytes, bool last, std::uint32_t& used,
                 std::uint32_t& produced) override {
        const std::uint32_t sourceFrame = BytesPerFrame(sourceLayout_);
        const std::uint32_t targetFrame = BytesPerFrame(targetLayout_);
        const std::uint32_t workFrame = BytesPerFrame(workLayout_);
        std::uint32_t inFrames = sourceBytes / sourceFrame;
        std::uint32_t outFrames = 0;
        const std::uint32_t capacity = targetBytes / targetFrame;
        used = 0;
        while (outFrames < capacity) {
            const std::uint32_t piece = std::min(inFrames - used / sourceFrame, kPieceFrames);
            const std::uint8_t* in = source + used;
            const void* work = in;
            if (piece > 0 && sourceLayout_ != workLayout_) {
                workIn_.resize(static_cast<std::size_t>(piece) * workFrame);
                ConvertPcmFrames(sourceLayout_, in, workLayout_, workIn_.data(), piece);
                work = workIn_.data();
            }
            const bool flush = piece == 0 && last && !flushed_;
            if (piece == 0 && !flush) break;
            std::size_t done = 0, made = 0;
            const std::uint32_t room = capacity - outFrames;
            std::uint8_t* out = target + static_cast<std::size_t>(outFrames) * targetFrame;
            void* workOut = out;
            if (targetLayout_ != workLayout_) {
                workOut_.resize(static_cast<std::size_t>(room) * workFrame);
                workOut = workOut_.data();
            }
            soxr_process(resampler_.get(), flush ? nullptr : work, piece, &done, workOut, room,
                         &made);
            if (targetLayout_ != workLayout_)
                ConvertPcmFrames(workLayout_, workOut_.data(), targetLayout_, out,
                                 static_cast<std::uint32_t>(made));
            used += static_cast<std::uint32_t>(done) * sourceFrame;
            outFrames += static_cast<std::uint32_t>(made);
            if (flush && made == 0) flushed_ = true;
            if (!flush && done == 0 && made == 0) break;
        }
        produced = outFrames * targetFrame;
        if (last && flushed_) {
            // A flushed resampler starts afresh, as after a seek to the start.
            soxr_clear(resampler_.get());
            flushed_ = false;
        } else if (!last) {
            flushed_ = false;
        }
    }

  private:
    // Room for what the resampler still holds when the data ends.
    static constexpr std::uint64_t kFlushFrames = 4096;
    static constexpr std::uint32_t kPieceFrames = 16384;

    std::uint32_t sourceLayout_;
    std::uint32_t targetLayout_;
    std::uint32_t workLayout_;
    std::uint32_t sourceRate_;
    std::uint32_t targetRate_;
    SoxrHandle resampler_;
    std::vector<std::uint8_t> workIn_;
    std::vector<std::uint8_t> workOut_;
    bool flushed_ = false;
};

}  // namespace

void ConvertPcmFrames(std::uint32_t sourceLayout, const std::uint8_t* source,
                      std::uint32_t targetLayout, std::uint8_t* target, std::uint32_t frames) {
    DispatchLayout(sourceLayout, [&](auto s) {
        DispatchLayout(targetLayout, [&](auto t) {
            ConvertFrames<decltype(s)::value, decltype(t)::value>(source, target, frames);
        });
    });
}

bool PcmDriver::CanOpen(const WaveFormat& s, const WaveFormat& t) const {
    return IsEditablePcm(s) && IsEditablePcm(t) && s.samplesPerSec > 0 && t.samplesPerSec > 0;
}

std::unique_ptr<AcmCodec> PcmDriver::Open(const WaveFormat& s, const WaveFormat& t) const {
    if (!CanOpen(s, t)) return nullptr;
    if (s.samplesPerSec == t.samplesPerSec)
        return std::make_unique<FrameCodec>(FrameLayoutOf(&s), FrameLayoutOf(&t));
    const std::uint16_t workChannels = std::min(s.channels, t.channels);
    const soxr_io_spec_t io = soxr_io_spec(SOXR_INT16_I, SOXR_INT16_I);
    soxr_io_spec_t plain = io;
    plain.flags |= SOXR_NO_DITHER;
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, SOXR_LINEAR_PHASE);
    soxr_error_t error = nullptr;
    SoxrHandle resampler(soxr_create(s.samplesPerSec, t.samplesPerSec, workChannels, &error, &plain,
                                     &quality, nullptr));
    if (error != nullptr || !resampler) return nullptr;
    return std::make_unique<ResampleCodec>(s, t, std::move(resampler), workChannels);
}

void PcmDriver::Candidates(const WaveFormat* seed, std::vector<FormatPtr>& out) const {
    auto add = [&](std::uint32_t rate) {
        for (std::uint16_t bits : {std::uint16_t{8}, std::uint16_t{16}})
            for (std::uint16_t channels = 1; channels <= 2; ++channels)
                out.push_back(CopyFormat(PcmFormat(rate, bits, channels)));
    };
    for (std::uint32_t rate : kAcmStandardRates) add(rate);
    if (seed && seed->samplesPerSec > 0) add(seed->samplesPerSec);
}

}  // namespace kelvane
