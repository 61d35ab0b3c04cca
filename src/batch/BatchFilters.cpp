#include "batch/BatchFilters.h"

#include "batch/FilterEntry.h"
#include "platform/profile/Profile.h"

#include "processing/CenterSignals.h"
#include "processing/ChangePitch.h"
#include "processing/Chorus.h"
#include "processing/CompressExpand.h"
#include "processing/Echo.h"
#include "processing/FormatConversion.h"
#include "processing/Normalize.h"
#include "processing/Reverse.h"
#include "processing/SwapChannels.h"
#include "processing/Volume.h"
#include "resources/Strings.h"

namespace kelvane {

namespace {

constexpr std::uint32_t kFirstFilterName = 189;

constexpr std::string_view kShortNames[kBatchFilterCount] = {
    "center",    "convert", "volume", "swap",   "reverse",
    "normalize", "echo",    "pitch",  "chorus", "stretch"};

template <typename Settings, std::size_t N>
void AddKeys(std::vector<BatchFilterKey>& out, const IntKey<Settings> (&keys)[N]) {
    for (const auto& k : keys) out.push_back({k.key, false});
}

// The pitch is stored as "%f" text ("95.500000"): show it as typed ("95.5").
std::string TrimDecimal(std::string text) {
    if (text.find('.') == std::string::npos) return text;
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

}  // namespace

std::string_view BatchFilterName(int filter) {
    if (filter < 0 || filter >= kBatchFilterCount) return {};
    return LoadString(kFirstFilterName + static_cast<std::uint32_t>(filter));
}

std::string_view BatchFilterShortName(int filter) {
    return filter >= 0 && filter < kBatchFilterCount ? kShortNames[filter] : std::string_view{};
}

int BatchFilterByShortName(std::string_view name) {
    for (int i = 0; i < kBatchFilterCount; ++i)
        if (kShortNames[i] == name) return i;
    return -1;
}

std::vector<BatchFilterKey> BatchFilterKeys(int filter) {
    std::vector<BatchFilterKey> keys;
    switch (filter) {
        case 1:
            AddKeys(keys, kFormatConversionKeys);
            break;
        case 2:
            AddKeys(keys, kVolumeKeys);
            break;
        case 6:
            AddKeys(keys, kEchoKeys);
            break;
        case 7:
            keys.push_back({kChangePitchPercentKey, true});
            AddKeys(keys, kChangePitchKeys);
            break;
        case 8:
            AddKeys(keys, kChorusKeys);
            break;
        case 9:
            AddKeys(keys, kCompressExpandKeys);
            break;
        default:
            break;
    }
    return keys;
}

std::string BatchFilterSettingsText(int filter, const std::string& settingsFile) {
    std::string text;
    for (const BatchFilterKey& key : BatchFilterKeys(filter)) {
        std::string value = GetPrivateProfileString(kBatchSection, key.key, "", settingsFile);
        if (value.empty()) continue;
        if (key.fractional) value = TrimDecimal(std::move(value));
        text += (text.empty() ? "" : ", ") + std::string(key.key) + "=" + value;
    }
    return text;
}

std::unique_ptr<WaveObject> ApplyBatchFilter(int filter, const WaveObject& wave,
                                             const SettingsPlace& place,
                                             ProgressIndicator* progress) {
    std::uint32_t start = 0;
    std::uint32_t length = 0;  // the whole wave
    switch (filter) {
        case 0:
            return CenterSignalsEffect{}.Process(wave, progress);
        case 1:
            return FormatConversionEffect{place}.Process(wave, progress);
        case 2:
            return VolumeEffect{true, place}.Process(wave, start, length, progress);
        case 3:
            return SwapChannelsEffect{place}.Process(wave, start, length, progress);
        case 4:
            return ReverseEffect{place}.Process(wave, start, length, progress);
        case 5:
            return NormalizeEffect{place}.Process(wave, start, length, progress);
        case 6:
            return EchoEffect{place}.Process(wave, start, length, progress);
        case 7:
            return ChangePitchEffect{place}.Process(wave, start, length, progress);
        case 8:
            return ChorusEffect{place}.Process(wave, start, length, progress);
        case 9:
            return CompressExpandEffect{place, wave.FrameCount()}.Process(wave, start, length,
                                                                          progress);
        default:
            return nullptr;
    }
}

}  // namespace kelvane
