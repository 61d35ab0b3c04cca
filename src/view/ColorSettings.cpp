#include "view/ColorSettings.h"

#include "platform/profile/Profile.h"

namespace kelvane {

namespace {

constexpr char kSection[] = "COLOR";

struct ColorKey {
    const char* key;
    int fallback;
};

// In the order of the dialog's list, whose names are strings 133 to 144.
constexpr ColorKey kKeys[ColorSettings::kCount] = {
    {"SCREENMIDDLELINE", 15},   {"SCREENINACTIVEMIDDLELINE", 8},   {"SCREENLEFTCHANNEL", 9},
    {"SCREENRIGHTCHANNEL", 12}, {"SCREENTEXT", 15},                {"SCREENBACKGROUND", 0},
    {"DOCUMENTMIDDLELINE", 15}, {"DOCUMENTINACTIVEMIDDLELINE", 7}, {"DOCUMENTLEFTCHANNEL", 1},
    {"DOCUMENTRIGHTCHANNEL", 4}, {"DOCUMENTTEXT", 0},              {"DOCUMENTBACKGROUND", 15},
};

std::uint32_t Rgb(int index) {
    return kPalette[static_cast<std::size_t>(index) & 15u];
}

ColorSet SetFrom(const std::array<int, ColorSettings::kCount>& indices, std::size_t first) {
    return {Rgb(indices[first]),     Rgb(indices[first + 1]), Rgb(indices[first + 2]),
            Rgb(indices[first + 3]), Rgb(indices[first + 5]), Rgb(indices[first + 4])};
}

}  // namespace

ColorSettings::ColorSettings() { Reset(); }

void ColorSettings::Load() {
    for (std::size_t i = 0; i < kCount; ++i)
        indices[i] = GetProfileInt(kSection, kKeys[i].key, kKeys[i].fallback);
}

void ColorSettings::Save() const {
    for (std::size_t i = 0; i < kCount; ++i) WriteProfileInt(kSection, kKeys[i].key, indices[i]);
}

void ColorSettings::Reset() {
    for (std::size_t i = 0; i < kCount; ++i) indices[i] = kKeys[i].fallback;
}

ColorSet ColorSettings::Screen() const { return SetFrom(indices, 0); }

ColorSet ColorSettings::Document() const { return SetFrom(indices, 6); }

std::uint32_t ColorNameId(std::size_t index) { return 133 + static_cast<std::uint32_t>(index); }

}  // namespace kelvane
