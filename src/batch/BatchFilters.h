#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "processing/EffectSettings.h"
#include "processing/ProgressIndicator.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

// The ten filters of a batch chain, by number: 0 center, 1 convert, 2 volume, 3 swap,
// 4 reverse, 5 normalize, 6 echo, 7 pitch, 8 chorus, 9 stretch (compress/expand length).
inline constexpr int kBatchFilterCount = 10;

// The filter's name as the chain list shows it (string 189 + number).
[[nodiscard]] std::string_view BatchFilterName(int filter);
// The short name used on the command line ("volume"), and back; -1 for an unknown name.
[[nodiscard]] std::string_view BatchFilterShortName(int filter);
[[nodiscard]] int BatchFilterByShortName(std::string_view name);

// One key a filter reads from its settings file; `fractional` keys hold a decimal number.
struct BatchFilterKey {
    std::string_view key;
    bool fractional = false;
};
// The keys of the filter's settings (none for center, swap, reverse and normalize).
[[nodiscard]] std::vector<BatchFilterKey> BatchFilterKeys(int filter);

// The settings a filter's private file holds, written as the command line takes them
// ("LEFTVOLUME=80, RIGHTVOLUME=80, LOCKLR=1"), in the filter's key order; keys the file lacks
// are left out, and a filter without settings gives an empty text.
[[nodiscard]] std::string BatchFilterSettingsText(int filter, const std::string& settingsFile);

// Builds the filter's effect on its private settings and runs it over the whole wave; null
// when the effect gives no result.
[[nodiscard]] std::unique_ptr<WaveObject> ApplyBatchFilter(int filter, const WaveObject& wave,
                                                           const SettingsPlace& place,
                                                           ProgressIndicator* progress);

}  // namespace kelvane
