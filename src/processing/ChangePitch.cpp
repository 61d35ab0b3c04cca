#include "processing/ChangePitch.h"

#include <cctype>
#include <charconv>
#include <string>

#include "platform/profile/Profile.h"
#include "processing/EffectResult.h"
#include "processing/FrameInterpolation.h"
#include "processing/ProgressCounter.h"
#include "processing/RangeEffect.h"

namespace kelvane {

namespace {

// atof: leading blanks skipped, the longest number taken, 0 when there is none. Written
// without the C library so a user's locale cannot turn the decimal point into a comma.
double ParseLeadingDouble(const std::string& text) {
    const char* p = text.c_str();
    const char* end = p + text.size();
    while (p < end && std::isspace(static_cast<unsigned char>(*p))) ++p;
    if (p < end && *p == '+') ++p;
    double value = 0.0;
    if (std::from_chars(p, end, value).ec != std::errc{}) return 0.0;
    return value;
}

// "%f": six decimals, decimal point whatever the locale.
std::string FormatFixed(double value) {
    char buffer[400];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    return std::string(buffer, written.ptr);
}

// newLen = trunc(len / r); false when that gives no wave of 32-bit size.
bool ResampledLength(double newLength, std::uint32_t waveLength, std::uint32_t length,
                     std::uint32_t& result) {
    if (!(newLength >= 0.0 && newLength < 4294967296.0)) return false;
    result = static_cast<std::uint32_t>(newLength);
    return std::uint64_t{waveLength} - length + result <= 0xFFFFFFFFu;
}

}  // namespace

ChangePitchEffect::ChangePitchEffect(SettingsPlace place) : place_(std::move(place)) {
    ChangePitchStored stored;
    LoadSettings<ChangePitchStored>(stored, kChangePitchKeys, place_, kChangePitchSection);
    settings.preserveLength = stored.preserveLength;
    settings.segmentTime = SegmentTimeFromStored(stored.delay);
    settings.crossFadeRatio = CrossFadeFromStored(stored.crossFadeRatio);
    const std::string percent =
        place_.IsPrivate() ? GetPrivateProfileString(place_.section, kChangePitchPercentKey,
                                                     kChangePitchPercentDefault, place_.file)
                           : GetProfileString(kChangePitchSection, kChangePitchPercentKey,
                                              kChangePitchPercentDefault);
    settings.percent = ParseLeadingDouble(percent);
}

void ChangePitchEffect::SaveSettings() const {
    const std::string percent = FormatFixed(settings.percent);
    if (place_.IsPrivate())
        WritePrivateProfileString(place_.section, kChangePitchPercentKey, percent, place_.file);
    else
        WriteProfileString(kChangePitchSection, kChangePitchPercentKey, percent);
    const ChangePitchStored stored{settings.preserveLength, StoredSegmentTime(settings.segmentTime),
                                   StoredCrossFade(settings.crossFadeRatio)};
    kelvane::SaveSettings<ChangePitchStored>(stored, kChangePitchKeys, place_, kChangePitchSection);
}

std::unique_ptr<WaveObject> ChangePitchEffect::Process(const WaveObject& source,
                                                       std::uint32_t& start, std::uint32_t& length,
                                                       ProgressIndicator* progress) const {
    if (!HasReadableFrames(source)) return nullptr;
    return settings.preserveLength != 0 ? KeepLength(source, start, length, progress)
                                        : Resample(source, start, length, progress);
}

std::unique_ptr<WaveObject> ChangePitchEffect::KeepLength(const WaveObject& source,
                                                          std::uint32_t start, std::uint32_t length,
                                                          ProgressIndicator* progress) const {
    const std::uint32_t waveLength = source.FrameCount();
    const FrameRange range = ProcessedRange(start, length, waveLength);
    std::vector<KeptRun> toCopy;
    auto result = NewResultKeeping(source, waveLength, range, toCopy);
    if (!result) return nullptr;

    const double ratio = settings.percent * 0.01;
    const std::uint32_t rate = source.format->samplesPerSec;
    const SegmentShape shape =
        ComputeSegmentShape(ratio, rate, settings.segmentTime, settings.crossFadeRatio);
    // Every frame read counts: the copy, then each step of the segment loop (the estimate
    // counts W frames per W - X of the wave).
    std::int64_t total = 2 * std::int64_t{waveLength} - range.length;
    if (shape.segment > shape.crossFade)
        total += std::int64_t{waveLength} / (shape.segment - shape.crossFade) * shape.segment;

    ProgressCounter counter(progress, static_cast<double>(total));
    counter.Run(waveLength, [&](std::uint32_t first, std::uint32_t last) {
        CopyUnshared(source, *result, toCopy, range, first, last);
    });
    if (range.length > 0) {
        const SegmentJob job{&source,      range.start, result.get(), range.start,
                             range.length, ratio,       shape};
        if (!RunSegmentShift(job,
                             {progress, counter.count(), false, 0.0, static_cast<double>(total)}))
            return nullptr;
    }
    result->CopyInfo(&source);
    return result;
}

std::unique_ptr<WaveObject> ChangePitchEffect::Resample(const WaveObject& source,
                                                        std::uint32_t start, std::uint32_t length,
                                                        ProgressIndicator* progress) const {
    const std::uint32_t waveLength = source.FrameCount();
    const FrameRange range = ProcessedRange(start, length, waveLength);
    const double ratio = settings.percent * 0.01;
    std::uint32_t newLength = 0;
    if (!ResampledLength(range.length / ratio, waveLength, range.length, newLength)) return nullptr;
    const std::uint32_t resultLength = waveLength - range.length + newLength;
    std::vector<KeptRun> toCopy;
    auto result = NewResultKeeping(source, resultLength, range, toCopy);
    if (!result) return nullptr;
    const std::uint64_t bpf = BytesPerFrame(source.frameLayout);

    CopyKeptBytes(source, *result, toCopy, 0, range.start * bpf);
    const double step = static_cast<double>(range.length) / newLength;
    ProgressCounter counter(progress, static_cast<double>(resultLength));
    const bool known =
        newLength == 0 || DispatchLayout(source.frameLayout, [&](auto layout) {
            constexpr FrameLayout L = decltype(layout)::value;
            const std::uint8_t* in = source.data;
            std::uint8_t* out = result->data;
            const std::uint32_t s = range.start;
            counter.Run(newLength, [&](std::uint32_t first, std::uint32_t last) {
                for (std::uint32_t j = first; j < last; ++j)
                    WriteFrame<L>(out, s + j, InterpolateFrame<L>(in, waveLength, s + j * step));
            });
        });
    if (!known) return nullptr;
    const std::uint32_t tail = waveLength - range.end();
    const std::uint64_t tailAt = std::uint64_t{range.start} + newLength;
    counter.Run(tail, [&](std::uint32_t first, std::uint32_t last) {
        CopyKeptBytes(source, *result, toCopy, (tailAt + first) * bpf, (tailAt + last) * bpf);
    });
    result->CopyInfo(&source);
    return result;
}

}  // namespace kelvane
