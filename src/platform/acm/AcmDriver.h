#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "wavedata/WaveFormat.h"

namespace kelvane {

// An open conversion inside a driver.
class AcmCodec {
  public:
    virtual ~AcmCodec() = default;
    [[nodiscard]] virtual std::uint32_t TargetSize(std::uint32_t sourceBytes) const = 0;
    // Converts from `source` into `target`; `used` and `produced` report the bytes taken and
    // written. `last` converts partial blocks and flushes delayed output.
    virtual void Convert(const std::uint8_t* source, std::uint32_t sourceBytes,
                         std::uint8_t* target, std::uint32_t targetBytes, bool last,
                         std::uint32_t& used, std::uint32_t& produced) = 0;
};

// One codec driver: the conversions it can open and the formats it offers.
class AcmDriver {
  public:
    virtual ~AcmDriver() = default;
    [[nodiscard]] virtual std::uint16_t Tag() const = 0;
    [[nodiscard]] virtual const char* TagName() const = 0;
    // Null when this driver does not convert the pair.
    [[nodiscard]] virtual std::unique_ptr<AcmCodec> Open(const WaveFormat& source,
                                                         const WaveFormat& target) const = 0;
    [[nodiscard]] virtual bool CanOpen(const WaveFormat& source,
                                       const WaveFormat& target) const = 0;
    // Formats of this driver's tag worth offering: its standard list and, given a seed,
    // those at the seed's rate and channel count.
    virtual void Candidates(const WaveFormat* seed, std::vector<FormatPtr>& out) const = 0;
};

// Every installed driver, PCM first.
[[nodiscard]] std::span<const AcmDriver* const> AcmDrivers();

// Standard rates drivers offer in their lists.
inline constexpr std::uint32_t kAcmStandardRates[] = {8000, 11025, 22050, 44100};

[[nodiscard]] inline bool IsPcm16(const WaveFormat& f) {
    return f.formatTag == kTagPcm && f.bitsPerSample == 16 &&
           (f.channels == 1 || f.channels == 2) && f.samplesPerSec > 0 &&
           f.blockAlign == f.channels * 2;
}

// 8- or 16-bit PCM, mono or stereo: what the codecs encode.
[[nodiscard]] inline bool IsSimplePcm(const WaveFormat& f) {
    return f.formatTag == kTagPcm && (f.bitsPerSample == 8 || f.bitsPerSample == 16) &&
           (f.channels == 1 || f.channels == 2) && f.samplesPerSec > 0 &&
           f.blockAlign == f.channels * f.bitsPerSample / 8;
}

// A codec that decodes its own format to 16-bit PCM, or encodes 8- or 16-bit PCM into it, at
// the same rate and channel count.
template <typename IsCodecFormat>
[[nodiscard]] bool CodesSameRatePcm(const WaveFormat& s, const WaveFormat& t,
                                    IsCodecFormat isCodecFormat) {
    if (s.channels != t.channels || s.samplesPerSec != t.samplesPerSec) return false;
    if (isCodecFormat(s)) return IsPcm16(t);
    return isCodecFormat(t) && IsSimplePcm(s);
}

// The standard rates in mono and stereo and, given a seed, its own rate and channel count,
// each as make(rate, channels).
template <typename Make>
void AddStandardCandidates(const WaveFormat* seed, std::vector<FormatPtr>& out, Make make) {
    for (std::uint32_t rate : kAcmStandardRates)
        for (std::uint16_t channels = 1; channels <= 2; ++channels)
            out.push_back(make(rate, channels));
    if (seed && seed->samplesPerSec > 0 && (seed->channels == 1 || seed->channels == 2))
        out.push_back(make(seed->samplesPerSec, seed->channels));
}

}  // namespace kelvane
