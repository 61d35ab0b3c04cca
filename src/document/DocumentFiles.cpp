#include "document/DocumentFiles.h"

#include <QFileInfo>
#include <QString>
#include <array>

#include "document/RawFileFormatDlg.h"
#include "formats/FileError.h"
#include "ui/DialogHost.h"

namespace kelvane {

namespace {

QString Suffix(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).suffix().toLower();
}

bool OneOf(const QString& suffix, std::initializer_list<const char*> names) {
    for (const char* name : names)
        if (suffix == QLatin1String(name)) return true;
    return false;
}

}  // namespace

std::uint32_t OpenTypeOf(const std::string& path) {
    // A name that lies (a Wave file saved as "take.au") still opens by what the file holds.
    if (const std::uint32_t type = LoadTypeOfContents(path)) return type;
    const QString s = Suffix(path);
    if (s == "wav") return kFileWave;
    if (OneOf(s, {"au", "snd"})) return kFileAu;
    if (OneOf(s, {"aif", "aiff"})) return kFileAiff;
    if (OneOf(s, {"mp", "mpa", "mp2"})) return kFileMpeg;
    if (OneOf(s, {"flac", "ogg", "oga", "opus", "aifc", "caf", "w64", "rf64"})) return kFileSndfile;
    return kFileRawLoad;
}

std::uint32_t SaveTypeForPlainSave(const std::string& path) {
    const QString s = Suffix(path);
    if (s == "wav") return kFileWave;
    if (OneOf(s, {"au", "snd"})) return kFileAu;
    if (OneOf(s, {"aif", "aiff"})) return kFileAiff;
    if (OneOf(s, {"mp", "mp2", "mpa"})) return 0;
    if (const std::uint32_t type = SaveTypeOfName(path); type >= kFileFlac) return type;
    return kFileRawSave;
}

bool IsMpegLayer3(const std::string& path) {
    WaveObject scratch(1, nullptr);
    return scratch.Load(path, kFileMpeg | LOAD_READ_ONLY | LOAD_MAP_FILE) == FileError::Success &&
           scratch.mpegInfo && scratch.mpegInfo->layer == 3;
}

bool AskRawFileFormat(RawParams& raw) {
    CRawFileFormatDlg dialog;
    if (RunModal(dialog) != QDialog::Accepted) return false;
    dialog.SaveSettings();
    raw = dialog.Params();
    return true;
}

std::uint32_t CopyResultMessage(CopyResult result) {
    switch (result) {
        case CopyResult::CannotOpenSource:
            return 1004;
        case CopyResult::CannotCreateTarget:
        case CopyResult::WriteFailed:
            return 1005;
        default:
            return 1006;
    }
}

std::uint32_t SaveAsPreselection(const std::string& path) {
    const QString s = Suffix(path);
    if (path.empty()) return kSaveRaw;
    if (s == "ra") return kSaveRealAudio;
    if (OneOf(s, {"aif", "aiff"})) return kSaveAiff;
    if (OneOf(s, {"au", "snd"})) return kSaveAu;
    if (s == "wav") return kSaveWave;
    if (s == "flac") return kSaveFlac;
    if (OneOf(s, {"ogg", "oga"})) return kSaveOgg;
    if (s == "opus") return kSaveOpus;
    if (s == "mp3") return kSaveMp3;
    return kSaveRaw;
}

std::uint32_t SaveTypeOfChoice(std::uint32_t choice) {
    constexpr std::array<std::uint32_t, kSaveAsTypeCount + 1> kTypes = {
        0,         kFileWave, kFileAu,   kFileAiff, kSaveRealAudio, kFileRawSave,
        kFileFlac, kFileOgg,  kFileOpus, kFileMp3};
    return choice < kTypes.size() ? kTypes[choice] : 0;
}

std::string WithDefaultExtension(const std::string& path, std::uint32_t choice) {
    constexpr std::array<const char*, kSaveAsTypeCount + 1> kExtensions = {
        "", ".wav", ".au", ".aif", ".ra", "", ".flac", ".ogg", ".opus", ".mp3"};
    if (!Suffix(path).isEmpty() || choice >= kExtensions.size()) return path;
    return path + kExtensions[choice];
}

}  // namespace kelvane
