#pragma once

#include <array>
#include <cstdint>

namespace kelvane {

// One set of drawing colours as 0xRRGGBB values.
struct ColorSet {
    std::uint32_t middleLine = 0;
    std::uint32_t inactiveMiddleLine = 0;
    std::uint32_t leftChannel = 0;
    std::uint32_t rightChannel = 0;
    std::uint32_t background = 0;
    std::uint32_t text = 0;
};

// The twelve colours of the waveform windows, stored in the profile (section "COLOR") as indices
// into a fixed 16-colour palette: six for the screen, six for pictures of embedded documents.
struct ColorSettings {
    static constexpr std::size_t kCount = 12;
    std::array<int, kCount> indices{};

    ColorSettings();
    void Load();
    void Save() const;
    void Reset();
    [[nodiscard]] ColorSet Screen() const;
    [[nodiscard]] ColorSet Document() const;
};

inline constexpr std::array<std::uint32_t, 16> kPalette = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0x808080,
    0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

// The name the colour dialog lists for setting `index` (0 to 11).
[[nodiscard]] std::uint32_t ColorNameId(std::size_t index);

}  // namespace kelvane
