#include "wavedata/WaveFormat.h"

#include <cstring>

namespace kelvane {

std::uint32_t FormatSize(const WaveFormat& format) {
    return format.formatTag == kTagPcm ? sizeof(WaveFormat) : sizeof(WaveFormat) + format.extraSize;
}

void MakePcmFormat(WaveFormat& format, std::uint16_t rate, std::uint16_t bits,
                   std::uint16_t channels) {
    format = PcmFormat(rate, bits, channels);
}

WaveFormat PcmFormat(std::uint32_t rate, std::uint16_t bits, std::uint16_t channels) {
    WaveFormat f;
    f.formatTag = kTagPcm;
    f.channels = channels;
    f.bitsPerSample = bits;
    f.blockAlign = static_cast<std::uint16_t>(channels * bits / 8);
    f.samplesPerSec = rate;
    f.avgBytesPerSec = f.blockAlign * rate;
    f.extraSize = 0;
    return f;
}

FrameLayout FrameLayoutOf(const WaveFormat* format) {
    if (format == nullptr || format->formatTag != kTagPcm) return LayoutNone;
    if (format->bitsPerSample == 8 && format->channels == 1) return LayoutMono8;
    if (format->bitsPerSample == 8 && format->channels == 2) return LayoutStereo8;
    if (format->bitsPerSample == 16 && format->channels == 1) return LayoutMono16;
    if (format->bitsPerSample == 16 && format->channels == 2) return LayoutStereo16;
    return LayoutNone;
}

std::uint32_t FramesInBytes(const WaveFormat& format, std::uint32_t bytes) {
    if (const std::uint32_t bpf = BytesPerFrame(FrameLayoutOf(&format))) return bytes / bpf;
    if (format.avgBytesPerSec == 0) return 0;
    return static_cast<std::uint32_t>(std::uint64_t{bytes} * format.samplesPerSec /
                                      format.avgBytesPerSec);
}

FormatPtr CopyFormat(const WaveFormat& format) {
    const std::uint32_t size = FormatSize(format);
    FormatPtr copy(static_cast<WaveFormat*>(std::malloc(size)));
    if (copy) {
        std::memcpy(copy.get(), &format, size);
        if (format.formatTag == kTagPcm) copy->extraSize = 0;
    }
    return copy;
}

FormatPtr NewFormat(const WaveFormat& header) {
    const std::uint32_t size = FormatSize(header);
    FormatPtr copy(static_cast<WaveFormat*>(std::calloc(1, size)));
    if (copy) *copy = header;
    return copy;
}

bool SameFormat(const WaveFormat& a, const WaveFormat& b) {
    const std::uint32_t size = FormatSize(a);
    return size == FormatSize(b) && std::memcmp(&a, &b, size) == 0;
}

FrameValue ReadFrameAt(std::uint32_t layout, const std::uint8_t* d, std::uint32_t i) {
    FrameValue v = 0;
    DispatchLayout(layout, [&](auto l) { v = ReadFrame<decltype(l)::value>(d, i); });
    return v;
}

void WriteFrameAt(std::uint32_t layout, std::uint8_t* d, std::uint32_t i, FrameValue f) {
    DispatchLayout(layout, [&](auto l) { WriteFrame<decltype(l)::value>(d, i, f); });
}

}  // namespace kelvane
