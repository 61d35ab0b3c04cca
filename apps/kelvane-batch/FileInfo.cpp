#include "FileInfo.h"

#include <cctype>
#include <nlohmann/json.hpp>

#include "formats/FileError.h"
#include "platform/acm/AcmFormats.h"
#include "resources/Strings.h"

namespace kelvane {

namespace {

constexpr std::uint32_t kMono = 147;
constexpr std::uint32_t kStereo = 148;
constexpr std::uint32_t kFormatLine = 170;
constexpr std::uint32_t kLengthLine = 185;
constexpr std::uint32_t kMpegLine = 205;

constexpr const char* kTypeNames[] = {"wave", "mpeg", "aiff", "au", "raw"};

// A file read through libsndfile is named by its own kind: "flac", "ogg-vorbis", "wave64".
std::string TypeName(const WaveObject& wave) {
    if (wave.sourceType != SourceType::Sndfile)
        return kTypeNames[static_cast<std::size_t>(wave.sourceType)];
    std::string name = wave.sourceFormatName;
    for (char& c : name) c = c == ' ' ? '-' : static_cast<char>(std::tolower(c));
    return name;
}
constexpr unsigned kTagMpeg = 0x50;
constexpr unsigned kTagMpegLayer3 = 0x55;

// The sound as the file stores it: a streamed sound is described before it decodes.
struct StoredFormat {
    unsigned tag;
    unsigned rate;
    unsigned bits;
    unsigned channels;
};

StoredFormat StoredFormatOf(const WaveObject& wave) {
    if (wave.mode == WaveMode::Streamed)
        return {wave.sourceTag, wave.sourceRate, wave.sourceBits, wave.sourceChannels};
    const WaveFormat& f = *wave.format;
    return {f.formatTag, f.samplesPerSec, f.bitsPerSample, f.channels};
}

std::string TagName(unsigned tag) {
    std::string name = AcmFormatTagName(static_cast<std::uint16_t>(tag));
    return name.empty() ? "Format " + std::to_string(tag) : name;
}

std::string ChannelsText(unsigned channels) {
    return std::string(LoadString(channels > 1 ? kStereo : kMono));
}

std::string FormatLine(const WaveObject& wave) {
    if (!wave.sourceText.empty()) return wave.sourceText;
    if (wave.sourceType == SourceType::Mpeg && wave.mpegInfo) {
        const MpegInfo& m = *wave.mpegInfo;
        return FormatString(kMpegLine, static_cast<int>(m.version), static_cast<int>(m.layer),
                            static_cast<int>(m.rate), ChannelsText(m.channels).c_str(),
                            static_cast<int>(m.bitRate));
    }
    const StoredFormat f = StoredFormatOf(wave);
    return FormatString(kFormatLine, TagName(f.tag).c_str(), static_cast<int>(f.rate),
                        static_cast<int>(f.bits), ChannelsText(f.channels).c_str());
}

FileError LoadUndecoded(WaveObject& wave, const std::string& path, const RawParams* raw) {
    const std::uint32_t flags = LOAD_READ_ONLY | LOAD_MAP_FILE;
    if (raw && LoadTypeOfName(path) == 0) return wave.Load(path, kFileRawLoad | flags, raw);
    return wave.Load(path, flags);
}

bool HasSound(const WaveObject& wave) {
    return wave.format &&
           ((wave.mode == WaveMode::Resident && wave.dataBytes) || wave.mode == WaveMode::Streamed);
}

double Seconds(const WaveObject& wave) {
    return static_cast<double>(wave.FrameCount()) / static_cast<double>(wave.format->samplesPerSec);
}

}  // namespace

bool DescribeSoundFile(const std::string& path, const RawParams* raw, std::string& text) {
    WaveObject wave(1, nullptr);
    const FileError loaded = LoadUndecoded(wave, path, raw);
    if (loaded != FileError::Success) {
        text = FileErrorText(loaded);
        return false;
    }
    text.clear();
    // The preview leaves MPEG layer 3 out.
    const bool layer3 =
        wave.sourceType == SourceType::Mpeg && wave.mpegInfo && wave.mpegInfo->layer == 3;
    if (HasSound(wave) && !layer3) {
        text += "Format: " + FormatLine(wave) + "\n";
        text += "Length: " + FormatString(kLengthLine, Seconds(wave)) + "\n";
    }
    if (const char* title = wave.GetInfo("INAM")) text += std::string("Title: ") + title + "\n";
    if (const char* engineer = wave.GetInfo("IENG"))
        text += std::string("Engineer: ") + engineer + "\n";
    return true;
}

bool DescribeSoundFileJson(const std::string& path, const RawParams* raw, std::string& json) {
    using Json = nlohmann::ordered_json;
    Json object{{"file", path}};
    WaveObject wave(1, nullptr);
    const FileError loaded = LoadUndecoded(wave, path, raw);
    const bool ok = loaded == FileError::Success;
    if (!ok) {
        object["error"] = FileErrorText(loaded);
    } else {
        object["type"] = TypeName(wave);
        if (HasSound(wave)) {
            StoredFormat f = StoredFormatOf(wave);
            const bool mpeg = wave.sourceType == SourceType::Mpeg && wave.mpegInfo;
            if (mpeg) {
                // The Wave tags of MPEG audio; it stores no sample size and decodes to 16 bits.
                f.tag = wave.mpegInfo->layer == 3 ? kTagMpegLayer3 : kTagMpeg;
                f.bits = wave.format->bitsPerSample;
            }
            object["format"] = mpeg                             ? "MPEG"
                               : !wave.sourceFormatName.empty() ? wave.sourceFormatName
                                                                : TagName(f.tag);
            object["tag"] = f.tag;
            object["rate"] = f.rate;
            object["bits"] = f.bits;
            object["channels"] = f.channels;
            object["frames"] = wave.FrameCount();
            object["seconds"] = Seconds(wave);
            if (!wave.sourceText.empty()) object["source"] = wave.sourceText;
            if (mpeg) {
                object["layer"] = wave.mpegInfo->layer;
                object["kbits"] = wave.mpegInfo->bitRate;
            }
        }
        Json info = Json::object();
        for (const std::string_view id : kInfoIds)
            if (const char* text = wave.GetInfo(id)) info[std::string(id)] = text;
        object["info"] = std::move(info);
    }
    // INFO texts are bytes of no stated encoding: what is not UTF-8 is replaced, not thrown.
    json = object.dump(-1, ' ', false, Json::error_handler_t::replace);
    return ok;
}

}  // namespace kelvane
