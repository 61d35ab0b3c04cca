#include "formats/FileError.h"

#include <cctype>
#include <fstream>

#include "resources/Strings.h"

namespace kelvane {

namespace {

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The text after the last '.', or empty when the name (not its folders) has none.
std::string_view ExtensionOf(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    const std::size_t slash = name.rfind('/');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && slash > dot))
        return {};
    return name.substr(dot + 1);
}

struct ExtensionType {
    std::string_view extension;
    std::uint32_t load;
    std::uint32_t save;
};

constexpr ExtensionType kExtensions[] = {
    {"wav", kFileWave, kFileWave},
    {"au", kFileAu, kFileAu},
    {"snd", kFileAu, kFileAu},
    {"aif", kFileAiff, kFileAiff},
    {"aiff", kFileAiff, kFileAiff},
    {"mp", kFileMpeg, 0},
    {"mpa", kFileMpeg, 0},
    {"mp1", kFileMpeg, 0},
    {"mp2", kFileMpeg, 0},
    {"mp3", kFileMpeg, kFileMp3},
    {"flac", kFileSndfile, kFileFlac},
    {"ogg", kFileSndfile, kFileOgg},
    {"oga", kFileSndfile, kFileOgg},
    {"opus", kFileSndfile, kFileOpus},
    {"aifc", kFileSndfile, 0},
    {"caf", kFileSndfile, 0},
    {"w64", kFileSndfile, 0},
    {"rf64", kFileSndfile, 0},
};

const ExtensionType* TypeOfName(std::string_view fileName) {
    const std::string_view extension = ExtensionOf(fileName);
    for (const auto& row : kExtensions)
        if (SameText(row.extension, extension)) return &row;
    return nullptr;
}

}  // namespace

std::uint32_t LoadTypeOfName(std::string_view fileName) {
    const ExtensionType* row = TypeOfName(fileName);
    return row ? row->load : 0;
}

std::uint32_t SaveTypeOfName(std::string_view fileName) {
    const ExtensionType* row = TypeOfName(fileName);
    return row ? row->save : 0;
}

std::uint32_t LoadTypeOfContents(const std::string& fileName) {
    char head[12] = {};
    std::ifstream file(fileName, std::ios::binary);
    if (!file.read(head, sizeof head)) return 0;
    const std::string_view h(head, sizeof head);
    if (h.substr(0, 4) == "RIFF" && h.substr(8, 4) == "WAVE") return kFileWave;
    if (h.substr(0, 4) == ".snd") return kFileAu;
    if (h.substr(0, 4) == "FORM" && h.substr(8, 4) == "AIFF") return kFileAiff;
    // What libsndfile reads: FLAC, Ogg, CAF, RF64, Wave64, AIFF-C.
    const std::string_view id = h.substr(0, 4);
    if (id == "fLaC" || id == "OggS" || id == "caff" || id == "riff" ||
        ((id == "RF64" || id == "BW64") && h.substr(8, 4) == "WAVE") ||
        (id == "FORM" && h.substr(8, 4) == "AIFC"))
        return kFileSndfile;
    return 0;
}

std::string_view FileErrorText(FileError code) {
    switch (code) {
        case FileError::Success:
            return {};
        case FileError::Unsupported:
            return LoadString(1007);
        case FileError::UnknownType:
            return LoadString(1008);
        case FileError::NoMemory:
            return LoadString(1003);
        case FileError::CannotCreate:
        case FileError::WriteFailed:
            return LoadString(1009);
        case FileError::Corrupt:
            return LoadString(1000);
        case FileError::TooLong:
            return LoadString(2300);
        default:
            return LoadString(1006);
    }
}

}  // namespace kelvane
