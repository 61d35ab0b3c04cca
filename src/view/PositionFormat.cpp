#include "view/PositionFormat.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/profile/Profile.h"
#include "resources/Strings.h"

namespace kelvane {

namespace {

constexpr char kSection[] = "DISPLAYFORMAT";

std::string Printf(const char* pattern, auto... values) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, values...);
    return text;
}

// A sound without a rate divides by zero; its texts need no meaning, only no crash.
std::int32_t Truncate(double value) {
    return std::isfinite(value) && std::fabs(value) < 2147483648.0
               ? static_cast<std::int32_t>(value)
               : 0;
}

std::string Smpte(std::uint32_t frames, std::uint32_t rate, double framesPerSec) {
    const double t = static_cast<double>(frames) / static_cast<double>(rate);
    const double w = std::floor(t);
    const std::int32_t frame = Truncate((t - w) * framesPerSec);
    const std::int32_t seconds = Truncate(std::fmod(w, 60.0));
    const std::int32_t minutes = Truncate(std::fmod(std::floor(w * 0.016666666666666666), 60.0));
    const std::int32_t hours = Truncate(std::floor(w * 0.0002777777777777778));
    return Printf("%d:%d:%d:%d", hours, minutes, seconds, frame);
}

}  // namespace

void DisplayFormatSettings::Load() {
    unit = static_cast<std::uint32_t>(GetProfileInt(kSection, "DISPLAYFORMAT", 1));
    framesPerSec = GetProfileInt(kSection, "FRAMESPERSEC", 1500) * 0.01;
    tempo = std::atof(GetProfileString(kSection, "TEMPO", "120").c_str());
}

void DisplayFormatSettings::Save() const {
    WriteProfileInt(kSection, "DISPLAYFORMAT", static_cast<int>(unit));
    WriteProfileInt(kSection, "FRAMESPERSEC", static_cast<int>(framesPerSec * 100.0));
    WriteProfileString(kSection, "TEMPO", Printf("%f", tempo));
}

std::string FormatPosition(std::uint32_t frames, const WaveFormat* format,
                           const DisplayFormatSettings& settings) {
    const std::uint32_t rate = format ? format->samplesPerSec : 0;
    const std::uint32_t align = format ? format->blockAlign : 0;
    switch (settings.unit) {
    case DisplayFormatSettings::Bytes:
        return Printf("%d", static_cast<std::int32_t>(frames * align));
    case DisplayFormatSettings::Samples:
        return Printf("%d", static_cast<std::int32_t>(frames));
    case DisplayFormatSettings::Seconds:
        return Printf("%.4f", static_cast<double>(frames) / static_cast<double>(rate));
    case DisplayFormatSettings::Smpte:
        return Smpte(frames, rate, settings.framesPerSec);
    case DisplayFormatSettings::Frames:
        return Printf("%d", Truncate(static_cast<double>(frames) / static_cast<double>(rate) *
                                     settings.framesPerSec));
    default:
        // Beats have no rule yet: the panes show their labels alone.
        return {};
    }
}

std::string UnitName(std::uint32_t unit) { return std::string(LoadString(155 + unit)); }

}  // namespace kelvane
