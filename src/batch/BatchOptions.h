#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "batch/BatchConversion.h"

namespace kelvane {

// The text forms of chain steps and sub-formats, as the command line takes them. Each parser
// returns an empty string on success, else what is wrong, in words.

// "NAME[:KEY=VALUE,...]", NAME a filter's short name, KEY one of its settings keys.
struct FilterOption {
    int filter = -1;
    std::vector<std::pair<std::string, std::string>> values;  // keys spelt as the filter's
};
[[nodiscard]] std::string ParseFilterOption(std::string_view text, FilterOption& option);
// Writes exactly the option's values into the entry's settings file, section "BATCH", which
// the entry made empty: in one write, with nothing to replace and nothing to force to disk.
[[nodiscard]] bool WriteFilterSettings(const FilterEntry& entry, const FilterOption& option);

// "wav", "au", "aif", "ra", "raw", "flac", "ogg", "opus" or "mp3"; false for anything else.
[[nodiscard]] bool ParseBatchFormat(std::string_view text, BatchFormat& format);

// The sub-format of the batch's current output format:
//   wav: TAG[:RATE[:CHANNELS[:BITS]]], TAG one of pcm, mulaw, alaw, ima-adpcm, ms-adpcm, gsm;
//        what is left out is taken from each sound where the codec allows (bits: the tag's
//        usual size); a sound is brought to a compressed target's rate and channels first;
//   au: linear, mulaw or alaw; ra: a method 0 to 9; raw: an entry of the raw-format list,
//   1 to 6 (1 8-bit unsigned, 2 8-bit signed, then the four 16-bit encodings);
//   flac: a compression level 0 to 8; ogg: a quality 0 to 10; opus: kbit/s, 6 to 256;
//   mp3: vN, variable bit rate at quality N (0 best to 9), or N, constant N kbit/s (32 to 320).
[[nodiscard]] std::string ApplySubFormat(BatchConversion& batch, std::string_view text);

// A Wave target of the given tag; rate, channels or bits 0 take the sound's own (bits: the
// tag's usual size), or, for a codec that does not offer the sound's, the codec's first
// format. Null when no codec offers that format.
[[nodiscard]] FormatPtr MakeWaveTarget(std::uint16_t tag, std::uint32_t rate,
                                       std::uint16_t channels, std::uint16_t bits,
                                       const WaveFormat& sound);

}  // namespace kelvane
