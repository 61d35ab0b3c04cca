#include "batch/BatchOptions.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstdlib>

#include "batch/BatchFilters.h"
#include "formats/RawFile.h"
#include "platform/acm/AcmFormats.h"
#include "platform/acm/G711Driver.h"
#include "platform/profile/Profile.h"

namespace kelvane {

namespace {

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t from = 0;;) {
        const std::size_t at = text.find(separator, from);
        parts.push_back(text.substr(from, at == std::string_view::npos ? at : at - from));
        if (at == std::string_view::npos) return parts;
        from = at + 1;
    }
}

template <typename T>
bool ParseNumber(std::string_view text, T& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc{} && ptr == end && !text.empty();
}

bool ParseDecimal(std::string_view text, double& value) {
    const std::string copy(text);
    char* end = nullptr;
    value = std::strtod(copy.c_str(), &end);
    return !copy.empty() && end == copy.c_str() + copy.size();
}

struct WaveTag {
    std::string_view name;
    std::uint16_t tag;
};
constexpr WaveTag kWaveTags[] = {{"pcm", 1},          {"mulaw", kTagMuLaw}, {"alaw", kTagALaw},
                                 {"ima-adpcm", 0x11}, {"ms-adpcm", 2},      {"gsm", 0x31}};

std::string WaveSubFormat(BatchConversion& batch, std::string_view text) {
    const auto parts = Split(text, ':');
    const auto tag = std::find_if(std::begin(kWaveTags), std::end(kWaveTags),
                                  [&](const WaveTag& t) { return SameText(t.name, parts[0]); });
    if (tag == std::end(kWaveTags) || parts.size() > 4)
        return "unknown wav sub-format '" + std::string(text) +
               "' (TAG[:RATE[:CHANNELS[:BITS]]], TAG one of pcm, mulaw, alaw, ima-adpcm, "
               "ms-adpcm, gsm)";
    std::uint32_t rate = 0;
    std::uint16_t channels = 0;
    std::uint16_t bits = 0;
    if ((parts.size() > 1 && !ParseNumber(parts[1], rate)) ||
        (parts.size() > 2 && (!ParseNumber(parts[2], channels) || channels < 1 || channels > 2)) ||
        (parts.size() > 3 && !ParseNumber(parts[3], bits)))
        return "bad rate, channels or bits in wav sub-format '" + std::string(text) + "'";
    // Try the format on a sound of CD quality, so a target no codec offers is refused now.
    const WaveFormat probe = PcmFormat(44100, 16, 2);
    if (!MakeWaveTarget(tag->tag, rate, channels, bits, probe))
        return "no codec offers the wav sub-format '" + std::string(text) + "'";
    const std::uint16_t code = tag->tag;
    batch.SetWaveTarget(
        [=](const WaveFormat& sound) { return MakeWaveTarget(code, rate, channels, bits, sound); });
    return {};
}

std::string NumberSubFormat(BatchConversion& batch, std::string_view text, std::uint32_t low,
                            std::uint32_t high, const char* what) {
    std::uint32_t number = 0;
    if (!ParseNumber(text, number) || number < low || number > high)
        return std::string("the sub-format of ") + what + " is a number from " +
               std::to_string(low) + " to " + std::to_string(high);
    batch.SetSubFormatNumber(number);
    return {};
}

// One encoder setting from a number within its key's range.
std::string EncoderSubFormat(BatchConversion& batch, std::string_view text, const char* key,
                             const char* what) {
    const auto row =
        std::find_if(std::begin(kEncoderKeys), std::end(kEncoderKeys),
                     [&](const EncoderKey& k) { return std::string_view(k.key) == key; });
    int number = 0;
    if (!ParseNumber(text, number) || number < row->low || number > row->high)
        return std::string("the sub-format of ") + what + " is a number from " +
               std::to_string(row->low) + " to " + std::to_string(row->high);
    EncoderSettings settings = batch.Encoder();
    settings.*(row->field) = number;
    batch.SetEncoderSettings(settings);
    return {};
}

// "vN": variable bit rate at quality N (0 best to 9); "N": constant N kbit/s.
std::string Mp3SubFormat(BatchConversion& batch, std::string_view text) {
    const bool variable = !text.empty() && (text[0] == 'v' || text[0] == 'V');
    std::string error = variable ? EncoderSubFormat(batch, text.substr(1), "MP3QUALITY", "mp3 (vN)")
                                 : EncoderSubFormat(batch, text, "MP3BITRATE", "mp3 (kbit/s)");
    if (!error.empty()) return error + ", or vN for variable bit rate at quality N, 0 to 9";
    EncoderSettings settings = batch.Encoder();
    settings.mp3Vbr = variable ? 1 : 0;
    batch.SetEncoderSettings(settings);
    return {};
}

}  // namespace

std::string ParseFilterOption(std::string_view text, FilterOption& option) {
    option = {};
    const std::size_t colon = text.find(':');
    const std::string_view name = text.substr(0, colon);
    option.filter = BatchFilterByShortName(name);
    if (option.filter < 0)
        return "unknown filter '" + std::string(name) +
               "' (center, convert, volume, swap, reverse, normalize, echo, pitch, chorus, "
               "stretch)";
    if (colon == std::string_view::npos) return {};
    const auto keys = BatchFilterKeys(option.filter);
    for (const std::string_view pair : Split(text.substr(colon + 1), ',')) {
        const std::size_t equals = pair.find('=');
        const std::string_view key = pair.substr(0, equals);
        const auto known = std::find_if(keys.begin(), keys.end(), [&](const BatchFilterKey& k) {
            return SameText(k.key, key);
        });
        if (known == keys.end()) {
            std::string list;
            for (const auto& k : keys) list += (list.empty() ? "" : ", ") + std::string(k.key);
            return "filter '" + std::string(name) + "' has no setting '" + std::string(key) + "'" +
                   (list.empty() ? " (it takes none)" : " (settings: " + list + ")");
        }
        const std::string_view value =
            equals == std::string_view::npos ? std::string_view{} : pair.substr(equals + 1);
        int whole = 0;
        double decimal = 0;
        const bool ok =
            known->fractional ? ParseDecimal(value, decimal) : ParseNumber(value, whole);
        if (!ok)
            return "setting '" + std::string(known->key) + "' of filter '" + std::string(name) +
                   "' needs " + (known->fractional ? "a number" : "a whole number");
        option.values.emplace_back(std::string(known->key), std::string(value));
    }
    return {};
}

bool WriteFilterSettings(const FilterEntry& entry, const FilterOption& option) {
    if (option.values.empty()) return true;
    return WriteNewPrivateProfile(kBatchSection, option.values, entry.SettingsFile());
}

bool ParseBatchFormat(std::string_view text, BatchFormat& format) {
    for (int i = 0; i < kBatchFormatCount; ++i) {
        if (SameText(text, BatchExtension(static_cast<BatchFormat>(i)))) {
            format = static_cast<BatchFormat>(i);
            return true;
        }
    }
    return false;
}

std::string ApplySubFormat(BatchConversion& batch, std::string_view text) {
    switch (batch.OutputFormat()) {
        case BatchFormat::Wave:
            return WaveSubFormat(batch, text);
        case BatchFormat::Au: {
            constexpr std::string_view kAu[] = {"linear", "mulaw", "alaw"};
            for (std::uint32_t i = 0; i < 3; ++i) {
                if (SameText(text, kAu[i])) {
                    batch.SetSubFormatNumber(i);
                    return {};
                }
            }
            return "the sub-format of au is linear, mulaw or alaw";
        }
        case BatchFormat::Aiff:
            return "aif has no sub-formats";
        case BatchFormat::RealAudio:
            return NumberSubFormat(batch, text, 0, 9, "ra (a method)");
        case BatchFormat::Raw: {
            std::uint32_t entry = 0;
            if (!ParseNumber(text, entry) || RawCodeOfListEntry(entry) == 0)
                return "the sub-format of raw is an entry of the raw-format list, 1 to 6";
            // Each entry writes what its label says, as --raw reads it.
            batch.SetSubFormatNumber(RawCodeOfListEntry(entry));
            return {};
        }
        case BatchFormat::Flac:
            return EncoderSubFormat(batch, text, "FLACLEVEL", "flac (a compression level)");
        case BatchFormat::Ogg:
            return EncoderSubFormat(batch, text, "VORBISQUALITY", "ogg (a quality)");
        case BatchFormat::Opus:
            return EncoderSubFormat(batch, text, "OPUSBITRATE", "opus (kbit/s)");
        case BatchFormat::Mp3:
            return Mp3SubFormat(batch, text);
    }
    return "no output format";
}

}  // namespace kelvane

namespace kelvane {

FormatPtr MakeWaveTarget(std::uint16_t tag, std::uint32_t rate, std::uint16_t channels,
                         std::uint16_t bits, const WaveFormat& sound) {
    const std::uint32_t givenRate = rate;
    const std::uint16_t givenChannels = channels;
    if (rate == 0) rate = sound.samplesPerSec;
    if (channels == 0) channels = sound.channels;
    if (rate == 0 || channels < 1 || channels > 2) return nullptr;
    if (tag == kTagPcm) {
        if (bits == 0) bits = sound.bitsPerSample == 8 ? 8 : 16;
        if (bits != 8 && bits != 16) return nullptr;
        return CopyFormat(PcmFormat(rate, bits, channels));
    }
    if (tag == kTagMuLaw || tag == kTagALaw) {
        if (bits != 0 && bits != 8) return nullptr;
        return CopyFormat(G711Driver::MakeFormat(tag, rate, channels));
    }
    // The compressed formats carry codec-specific extra bytes: take the codec's own header,
    // at the sound's rate and channels when the codec offers them, else at its first offer
    // that fits what was given.
    const WaveFormat seed = PcmFormat(rate, 16, channels);
    for (auto& offered : AcmEnumFormats(&seed, tag)) {
        const WaveFormat& f = *offered.format;
        if (f.samplesPerSec == rate && f.channels == channels &&
            (bits == 0 || f.bitsPerSample == bits))
            return std::move(offered.format);
    }
    for (auto& offered : AcmEnumFormats(nullptr, tag)) {
        const WaveFormat& f = *offered.format;
        if ((givenRate == 0 || f.samplesPerSec == givenRate) &&
            (givenChannels == 0 || f.channels == givenChannels) &&
            (bits == 0 || f.bitsPerSample == bits))
            return std::move(offered.format);
    }
    return nullptr;
}

}  // namespace kelvane
