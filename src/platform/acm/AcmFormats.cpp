#include "platform/acm/AcmFormats.h"

#include <cstdio>

#include "platform/acm/AcmConversion.h"
#include "platform/acm/AcmDriver.h"
#include "platform/acm/G711Driver.h"
#include "platform/acm/GsmDriver.h"
#include "platform/acm/ImaAdpcmDriver.h"
#include "platform/acm/MsAdpcmDriver.h"
#include "platform/acm/PcmDriver.h"

namespace kelvane {

std::span<const AcmDriver* const> AcmDrivers() {
    static const PcmDriver pcm;
    static const G711Driver muLaw(kTagMuLaw);
    static const G711Driver aLaw(kTagALaw);
    static const ImaAdpcmDriver ima;
    static const MsAdpcmDriver msAdpcm;
    static const GsmDriver gsm;
    static const AcmDriver* const drivers[] = {&pcm, &msAdpcm, &aLaw, &muLaw, &ima, &gsm};
    return drivers;
}

const char* AcmFormatTagName(std::uint16_t tag) {
    for (const AcmDriver* driver : AcmDrivers())
        if (driver->Tag() == tag) return driver->TagName();
    return "";
}

std::vector<std::uint16_t> AcmFormatTags() {
    std::vector<std::uint16_t> tags;
    for (const AcmDriver* driver : AcmDrivers()) tags.push_back(driver->Tag());
    return tags;
}

std::string AcmFormatDescription(const WaveFormat& f) {
    char text[96];
    const char* channels = f.channels == 1 ? "Mono" : f.channels == 2 ? "Stereo" : "";
    const unsigned khz = f.samplesPerSec / 1000, rest = f.samplesPerSec % 1000;
    if (f.bitsPerSample != 0)
        std::snprintf(text, sizeof text, "%u.%03u kHz, %u Bit, %s", khz, rest,
                      unsigned{f.bitsPerSample}, channels);
    else
        std::snprintf(text, sizeof text, "%u.%03u kHz, %s", khz, rest, channels);
    return text;
}

std::vector<AcmFormatDetails> AcmEnumFormats(const WaveFormat* seed, std::uint16_t tag) {
    std::vector<AcmFormatDetails> list;
    for (const AcmDriver* driver : AcmDrivers()) {
        if (tag != 0 && driver->Tag() != tag) continue;
        std::vector<FormatPtr> candidates;
        driver->Candidates(seed, candidates);
        for (FormatPtr& candidate : candidates) {
            if (seed && !AcmConversion::CanConvert(*seed, *candidate)) continue;
            bool seen = false;
            for (const AcmFormatDetails& d : list) seen = seen || SameFormat(*d.format, *candidate);
            if (seen) continue;
            std::string description = AcmFormatDescription(*candidate);
            list.push_back({driver->Tag(), std::move(candidate), std::move(description)});
        }
    }
    return list;
}

}  // namespace kelvane
