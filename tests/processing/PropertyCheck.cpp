#include "processing/PropertyCheck.h"

#include <cstring>
#include <string>

namespace kelvane::test {

WaveFormat FormatOfLayout(FrameLayout layout, std::uint32_t rate) {
    const bool stereo = layout == LayoutStereo8 || layout == LayoutStereo16;
    const bool wide = layout == LayoutMono16 || layout == LayoutStereo16;
    return PcmFormat(rate, wide ? 16 : 8, stereo ? 2 : 1);
}

int RecordingProgress::SetPos(int position) {
    const int previous = positions.empty() ? 0 : positions.back();
    positions.push_back(position);
    return previous;
}

namespace {

std::int32_t Uniform(std::mt19937& rng, std::int32_t lo, std::int32_t hi) {
    return std::uniform_int_distribution<std::int32_t>(lo, hi)(rng);
}

std::int32_t ExtremeSample(std::mt19937& rng) {
    constexpr std::int32_t kValues[] = {-32768, -32767, -256, -255, -1, 0, 1, 255, 256, 32767};
    return kValues[Uniform(rng, 0, 9)];
}

}  // namespace

std::unique_ptr<WaveObject> RandomSound(FrameLayout layout, std::uint32_t rate,
                                        std::uint32_t frames, std::mt19937& rng) {
    auto wave = std::make_unique<WaveObject>(0, nullptr);
    if (!wave->Allocate(FormatOfLayout(layout, rate), frames)) return nullptr;
    const int kind = Uniform(rng, 0, 4);
    if (kind == 0) {
        for (std::uint32_t i = 0; i < wave->dataBytes; ++i)
            wave->data[i] = static_cast<std::uint8_t>(rng());
    } else {
        const std::int32_t amplitude = kind == 1 ? Uniform(rng, 1, 2000) : 0;
        const std::int32_t offset = kind == 2 ? Uniform(rng, -3000, 3000) : 0;
        for (std::uint32_t i = 0; i < frames; ++i) {
            auto sample = [&] {
                if (kind == 4) return ExtremeSample(rng);
                return Clamp16(offset + Uniform(rng, -amplitude, amplitude));
            };
            const std::int32_t left = sample();
            wave->SetFrame(i, PackFrame(left, sample()));
        }
    }
    wave->SetInfo("INAM", ("random " + std::to_string(frames)).c_str());
    return wave;
}

void ForEachRandomCase(std::uint32_t seed, int count, std::uint32_t maxFrames,
                       const std::function<void(RandomCase&)>& check) {
    constexpr std::uint32_t kRates[] = {8000, 11025, 22050, 44100, 48000};
    for (const FrameLayout layout : kAllLayouts) {
        std::mt19937 rng(seed + layout);
        for (int n = 0; n < count; ++n) {
            std::uint32_t frames;
            if (n == 0)
                frames = 0;
            else if (n == 1)
                frames = 1;
            else
                frames = static_cast<std::uint32_t>(Uniform(rng, 2, static_cast<int>(maxFrames)));
            RandomCase c;
            c.layout = layout;
            c.rng = &rng;
            c.wave = RandomSound(layout, kRates[Uniform(rng, 0, 4)], frames, rng);
            ASSERT_NE(c.wave, nullptr);
            const int choice = n < 3 ? 0 : Uniform(rng, 0, 5);
            if (choice == 0) {
                c.start = frames == 0 ? 0 : static_cast<std::uint32_t>(Uniform(rng, 0, frames));
                c.length = 0;
            } else {
                c.start = static_cast<std::uint32_t>(Uniform(rng, 0, frames - 1));
                const auto rest = static_cast<std::int32_t>(frames - c.start);
                c.length = choice == 1 ? 1 : choice == 2 ? rest : Uniform(rng, 1, rest);
            }
            SCOPED_TRACE("layout " + std::to_string(layout) + ", case " + std::to_string(n) +
                         ", frames " + std::to_string(frames) + ", selection " +
                         std::to_string(c.start) + "+" + std::to_string(c.length));
            check(c);
            if (::testing::Test::HasFatalFailure()) return;
        }
    }
}

std::unique_ptr<WaveObject> CopyOf(const WaveObject& wave) {
    auto copy = BlankWave(*wave.format, wave.FrameCount());
    if (copy->dataBytes != 0) std::memcpy(copy->data, wave.data, copy->dataBytes);
    copy->CopyInfo(&wave);
    return copy;
}

std::unique_ptr<WaveObject> BlankWave(const WaveFormat& format, std::uint32_t frames) {
    auto wave = std::make_unique<WaveObject>(0, nullptr);
    if (!wave->Allocate(format, frames)) return nullptr;
    if (wave->dataBytes != 0) std::memset(wave->data, 0x5A, wave->dataBytes);
    return wave;
}

std::unique_ptr<WaveObject> ReferenceRangeLoop(const WaveObject& source, std::uint32_t start,
                                               std::uint32_t length, RecordingProgress& progress,
                                               const RangeFrameFn& fn) {
    const std::uint32_t n = source.FrameCount();
    auto result = BlankWave(*source.format, n);
    const std::uint32_t first = length == 0 ? 0 : start;
    const std::uint32_t len = length == 0 ? n : length;
    for (std::uint32_t i = 0; i < n; ++i) {
        if ((i & 0x3FFF) == 0)
            progress.SetPos(static_cast<int>(static_cast<double>(i) / n * 100.0));
        FrameValue frame = source.GetFrame(i);
        if (i >= first && i < first + len) frame = fn(frame, i - first, first + len - 1 - i, len);
        result->SetFrame(i, frame);
    }
    result->CopyInfo(&source);
    return result;
}

::testing::AssertionResult SameWave(const WaveObject& expected, const WaveObject* actual) {
    if (actual == nullptr) return ::testing::AssertionFailure() << "no result wave";
    if (!actual->format || !SameFormat(*expected.format, *actual->format))
        return ::testing::AssertionFailure() << "format differs";
    if (expected.FrameCount() != actual->FrameCount())
        return ::testing::AssertionFailure()
               << "length " << actual->FrameCount() << ", expected " << expected.FrameCount();
    for (std::uint32_t i = 0; i < expected.dataBytes; ++i)
        if (expected.data[i] != actual->data[i])
            return ::testing::AssertionFailure() << "byte " << i << " is " << int{actual->data[i]}
                                                 << ", expected " << int{expected.data[i]};
    for (const auto id : kInfoIds) {
        const char* a = expected.GetInfo(id);
        const char* b = actual->GetInfo(id);
        if ((a == nullptr) != (b == nullptr) || (a && std::strcmp(a, b) != 0))
            return ::testing::AssertionFailure() << "INFO " << id << " differs";
    }
    return ::testing::AssertionSuccess();
}

}  // namespace kelvane::test
