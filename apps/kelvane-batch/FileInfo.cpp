#include "FileInfo.h"

#include "formats/FileError.h"
#include "platform/acm/AcmFormats.h"
#include "resources/Strings.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

namespace {

constexpr std::uint32_t kMono = 147;
constexpr std::uint32_t kStereo = 148;
constexpr std::uint32_t kFormatLine = 170;
constexpr std::uint32_t kLengthLine = 185;
constexpr std::uint32_t kMpegLine = 205;

std::string ChannelsText(unsigned channels) {
    return std::string(LoadString(channels > 1 ? kStereo : kMono));
}

std::string FormatLine(const WaveObject& wave) {
    if (wave.sourceType == SourceType::Mpeg && wave.mpegInfo) {
        const MpegInfo& m = *wave.mpegInfo;
        return FormatString(kMpegLine, static_cast<int>(m.version), static_cast<int>(m.layer),
                            static_cast<int>(m.rate), ChannelsText(m.channels).c_str(),
                            static_cast<int>(m.bitRate));
    }
    // A streamed sound is described as the file stores it, not as it decodes.
    const bool streamed = wave.mode == WaveMode::Streamed;
    const unsigned tag = streamed ? wave.sourceTag : wave.format->formatTag;
    const unsigned rate = streamed ? wave.sourceRate : wave.format->samplesPerSec;
    const unsigned bits = streamed ? wave.sourceBits : wave.format->bitsPerSample;
    const unsigned channels = streamed ? wave.sourceChannels : wave.format->channels;
    std::string name = AcmFormatTagName(static_cast<std::uint16_t>(tag));
    if (name.empty()) name = "Format " + std::to_string(tag);
    return FormatString(kFormatLine, name.c_str(), static_cast<int>(rate), static_cast<int>(bits),
                        ChannelsText(channels).c_str());
}

}  // namespace

bool DescribeSoundFile(const std::string& path, std::string& text) {
    WaveObject wave(1, nullptr);
    const FileError loaded = wave.Load(path, LOAD_READ_ONLY | LOAD_MAP_FILE);
    if (loaded != FileError::Success) {
        text = FileErrorText(loaded);
        return false;
    }
    text.clear();
    const bool hasSound = wave.format && ((wave.mode == WaveMode::Resident && wave.dataBytes) ||
                                          wave.mode == WaveMode::Streamed);
    // The preview leaves MPEG layer 3 out.
    const bool layer3 =
        wave.sourceType == SourceType::Mpeg && wave.mpegInfo && wave.mpegInfo->layer == 3;
    if (hasSound && !layer3) {
        text += "Format: " + FormatLine(wave) + "\n";
        const double seconds = static_cast<double>(wave.FrameCount()) /
                               static_cast<double>(wave.format->samplesPerSec);
        text += "Length: " + FormatString(kLengthLine, seconds) + "\n";
    }
    if (const char* title = wave.GetInfo("INAM")) text += std::string("Title: ") + title + "\n";
    if (const char* engineer = wave.GetInfo("IENG"))
        text += std::string("Engineer: ") + engineer + "\n";
    return true;
}

}  // namespace kelvane
