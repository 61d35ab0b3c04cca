#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "wavedata/WaveFormat.h"

namespace kelvane {

// One offered format: its complete header and the driver's description of it
// ("44.100 kHz, 16 Bit, Stereo").
struct AcmFormatDetails {
    std::uint16_t tag = 0;
    FormatPtr format;
    std::string description;
};

// The name of a format tag as its driver gives it ("PCM", "IMA ADPCM", ...), "" when no
// driver handles the tag.
[[nodiscard]] const char* AcmFormatTagName(std::uint16_t tag);
// The tags of every installed driver, PCM first.
[[nodiscard]] std::vector<std::uint16_t> AcmFormatTags();

// The formats every driver offers (only those of `tag` when it is nonzero), without
// duplicates. With a seed only the formats the seed converts to directly are listed.
[[nodiscard]] std::vector<AcmFormatDetails> AcmEnumFormats(const WaveFormat* seed,
                                                           std::uint16_t tag = 0);

[[nodiscard]] std::string AcmFormatDescription(const WaveFormat& format);

}  // namespace kelvane
