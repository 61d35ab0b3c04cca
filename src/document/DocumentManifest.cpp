#include "document/DocumentManifest.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>

#include "document/OrvaneDoc.h"
#include "ui/AppState.h"
#include "wavedata/SessionFolder.h"

namespace kelvane {

namespace {

constexpr int kManifestVersion = 1;

RecordingListener g_recordingListener;

QString FormatText(const WaveFormat& format) {
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(&format), FormatSize(format)).toBase64());
}

std::optional<WaveFormat> FormatFrom(const QJsonValue& value) {
    const QByteArray bytes = QByteArray::fromBase64(value.toString().toLatin1());
    WaveFormat format;
    if (bytes.size() < static_cast<qsizetype>(sizeof format)) return std::nullopt;
    std::memcpy(&format, bytes.data(), sizeof format);
    if (format.blockAlign == 0 || FrameLayoutOf(&format) == LayoutNone) return std::nullopt;
    return format;
}

QJsonObject PieceJson(const std::string& file, std::uint64_t offset, std::uint64_t at,
                      std::uint64_t length) {
    return {{"file", QString::fromStdString(file)},
            {"offset", static_cast<qint64>(offset)},
            {"at", static_cast<qint64>(at)},
            {"length", static_cast<qint64>(length)}};
}

// The lasting files behind a sound, as (file, offset in file, place in block, length); empty
// when some of it lives elsewhere (memory, a file that is not ours) and cannot be brought back.
QJsonArray PiecesOf(const WaveObject& wave) {
    if (!wave.storage) return {};
    QJsonArray pieces;
    for (const Piece& piece : wave.storage->Pieces()) {
        const std::string file = KeptNameInSessions(piece.file->fd);
        if (file.empty()) return {};
        pieces.append(PieceJson(file, piece.offset, piece.at, piece.length));
    }
    if (!pieces.isEmpty()) return pieces;
    // A file made here and read back whole, such as a take, shares no pages but has a name.
    const auto* block = dynamic_cast<const MappedFileBlock*>(wave.storage.get());
    const std::string file = block && block->fd >= 0 ? KeptNameInSessions(block->fd) : "";
    if (file.empty()) return {};
    return {PieceJson(file, 0, 0, block->size)};
}

QJsonObject StateOf(const WaveObject& wave) {
    QJsonObject info;
    for (const auto id : kInfoIds)
        if (const char* text = wave.GetInfo(id); text != nullptr && *text != '\0')
            info.insert(QString::fromLatin1(id.data(), static_cast<qsizetype>(id.size())),
                        QString::fromUtf8(text));
    const auto* base = wave.storage ? wave.storage->pointer : nullptr;
    const qint64 dataAt = base && wave.data ? wave.data - base : 0;
    return {{"format", wave.format ? FormatText(*wave.format) : QString()},
            {"bytes", static_cast<qint64>(wave.dataBytes)},
            {"dataAt", dataAt},
            {"pieces", PiecesOf(wave)},
            {"info", info}};
}

QJsonArray StatesOf(const std::deque<std::unique_ptr<WaveObject>>& states) {
    QJsonArray array;
    for (const auto& wave : states) array.append(StateOf(*wave));
    return array;
}

// Reads `bytes` from `file` at `offset`; false when the file is missing or short.
bool ReadPiece(const QString& file, std::uint64_t offset, std::uint8_t* to, std::uint64_t bytes) {
    const int fd = ::open(file.toLocal8Bit().constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return false;
    while (bytes > 0) {
        const ssize_t got = ::pread(fd, to, bytes, static_cast<off_t>(offset));
        if (got <= 0) break;
        to += got;
        offset += static_cast<std::uint64_t>(got);
        bytes -= static_cast<std::uint64_t>(got);
    }
    ::close(fd);
    return bytes == 0;
}

std::unique_ptr<WaveObject> NewSound(const WaveFormat& format, std::uint64_t bytes) {
    auto wave = std::make_unique<WaveObject>(1, App().tempDir.c_str());
    if (bytes / format.blockAlign > UINT32_MAX ||
        !wave->Allocate(format, static_cast<std::uint32_t>(bytes / format.blockAlign)))
        return nullptr;
    return wave;
}

// Files of a copy that died, taken over into this copy's session folder: renamed, so their
// lasting names go on there, and opened once however many states share them.
struct TakenFiles {
    std::string folder;
    std::map<QString, std::shared_ptr<PieceFile>> files;

    std::shared_ptr<PieceFile> Take(const QString& file) {
        if (const auto found = files.find(file); found != files.end()) return found->second;
        const std::string from = file.toStdString();
        const std::string to = folder + std::filesystem::path(from).filename().string();
        if (folder.empty() || ::rename(from.c_str(), to.c_str()) != 0) return nullptr;
        const int fd = ::open(to.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
        struct stat st {};
        if (fd < 0 || ::fstat(fd, &st) != 0 || KeptNameInSessions(fd).empty()) {
            if (fd >= 0) ::close(fd);
            ::rename(to.c_str(), from.c_str());
            return nullptr;
        }
        auto taken = std::make_shared<PieceFile>(fd, static_cast<std::uint64_t>(st.st_size), to);
        files.emplace(file, taken);
        return taken;
    }
    // Where a file is now, taken over or not.
    QString Path(const QString& file) const {
        const auto found = files.find(file);
        return found == files.end() ? file : QString::fromStdString(found->second->path);
    }
};

struct StateShape {
    WaveFormat format;
    std::uint64_t bytes;
    std::uint64_t dataAt;
};

// The state's own pages mapped again, nothing copied; null when they cannot be.
std::unique_ptr<WaveObject> MapState(const StateShape& shape, const QJsonArray& described,
                                     TakenFiles& taken) {
    std::vector<Piece> pieces;
    for (const QJsonValue& value : described) {
        const QJsonObject piece = value.toObject();
        auto file = taken.Take(piece["file"].toString());
        if (!file) return nullptr;
        pieces.push_back({std::move(file), static_cast<std::uint64_t>(piece["offset"].toInteger()),
                          static_cast<std::uint64_t>(piece["at"].toInteger()),
                          static_cast<std::uint64_t>(piece["length"].toInteger())});
    }
    if (pieces.empty() || shape.bytes == 0) return nullptr;
    std::sort(pieces.begin(), pieces.end(),
              [](const Piece& a, const Piece& b) { return a.at < b.at; });
    // A whole file's piece may end in a part of a page.
    const std::uint64_t page = PageBytes();
    const std::uint64_t whole = (shape.dataAt + shape.bytes + page - 1) / page * page;
    pieces.back().length = std::max(pieces.back().length, whole - pieces.back().at);
    // A page past its file's end faults when read: a damaged state is copied instead, which
    // finds it short and gives it up.
    const std::uint64_t end = shape.dataAt + shape.bytes;
    for (const Piece& piece : pieces)
        if (piece.at < end &&
            piece.offset + std::min(piece.length, end - piece.at) > piece.file->bytes)
            return nullptr;
    std::unique_ptr<DataBlock> block =
        std::make_unique<PieceBlock>(shape.dataAt + shape.bytes, std::move(pieces), nullptr);
    auto wave = std::make_unique<WaveObject>(1, App().tempDir.c_str());
    if (!wave->AttachBlock(shape.format, block)) return nullptr;
    wave->data += shape.dataAt;
    wave->dataBytes = static_cast<std::uint32_t>(shape.bytes);
    return wave;
}

// The state's bytes copied into a new sound of this copy's, when its pages cannot be mapped.
std::unique_ptr<WaveObject> CopyState(const StateShape& shape, const QJsonArray& described,
                                      const TakenFiles& taken) {
    auto wave = NewSound(shape.format, shape.bytes);
    if (!wave || wave->dataBytes != shape.bytes) return nullptr;
    std::uint64_t covered = 0;
    for (const QJsonValue& value : described) {
        const QJsonObject piece = value.toObject();
        const auto at = static_cast<std::uint64_t>(piece["at"].toInteger());
        const auto length = static_cast<std::uint64_t>(piece["length"].toInteger());
        const std::uint64_t from = std::max(at, shape.dataAt);
        const std::uint64_t to = std::min(at + length, shape.dataAt + shape.bytes);
        if (from >= to) continue;
        const auto offset = static_cast<std::uint64_t>(piece["offset"].toInteger()) + (from - at);
        if (!ReadPiece(taken.Path(piece["file"].toString()), offset,
                       wave->data + (from - shape.dataAt), to - from))
            return nullptr;
        covered += to - from;
    }
    return covered == shape.bytes ? std::move(wave) : nullptr;
}

std::unique_ptr<WaveObject> RestoreState(const QJsonObject& state, TakenFiles& taken) {
    const auto format = FormatFrom(state["format"]);
    if (!format) return nullptr;
    const StateShape shape{*format, static_cast<std::uint64_t>(state["bytes"].toInteger()),
                           static_cast<std::uint64_t>(state["dataAt"].toInteger())};
    if (shape.bytes > UINT32_MAX) return nullptr;
    const QJsonArray pieces = state["pieces"].toArray();
    std::unique_ptr<WaveObject> wave = MapState(shape, pieces, taken);
    if (!wave) wave = CopyState(shape, pieces, taken);
    if (!wave) return nullptr;
    const QJsonObject info = state["info"].toObject();
    for (auto it = info.begin(); it != info.end(); ++it)
        wave->SetInfo(it.key().toStdString(), it.value().toString().toUtf8().constData());
    return wave;
}

// All the states or none: a history with a gap would undo to the wrong sound.
std::optional<std::deque<std::unique_ptr<WaveObject>>> RestoreStates(const QJsonArray& states,
                                                                     TakenFiles& taken) {
    std::deque<std::unique_ptr<WaveObject>> restored;
    for (const QJsonValue& state : states) {
        auto wave = RestoreState(state.toObject(), taken);
        if (!wave) return std::nullopt;
        restored.push_back(std::move(wave));
    }
    return restored;
}

// A recording under way: whole frames of what reached its file by the last buffer written.
std::unique_ptr<WaveObject> RestoreRecording(const QJsonObject& recording) {
    const auto format = FormatFrom(recording["format"]);
    const QString file = recording["file"].toString();
    if (!format || !QFileInfo(file).isFile()) return nullptr;
    const auto size = static_cast<std::uint64_t>(QFileInfo(file).size());
    auto wave = NewSound(*format, size - size % format->blockAlign);
    if (!wave || (wave->dataBytes > 0 && !ReadPiece(file, 0, wave->data, wave->dataBytes)))
        return nullptr;
    return wave;
}

}  // namespace

void SetRecordingListener(RecordingListener listener) {
    g_recordingListener = std::move(listener);
}

void AnnounceRecording(const RecordingFile& recording) {
    if (g_recordingListener) g_recordingListener(recording);
}

void COrvaneDoc::AdoptRecovered(std::unique_ptr<WaveObject> wave,
                                std::deque<std::unique_ptr<WaveObject>> undo,
                                std::deque<std::unique_ptr<WaveObject>> redo,
                                const std::string& path, const QString& title,
                                const std::string& sourceText, std::uint32_t rawParam) {
    DeleteContents();
    m_pWave = std::move(wave);
    m_undoWaves = std::move(undo);
    m_redoWaves = std::move(redo);
    m_strPathName = path;
    m_strSourceText = sourceText;
    m_nRawParam = rawParam;
    ClearSelection();
    StartHistory();
    SetTitle(title);
    SetModifiedFlag(true);
    emit WaveChanged();
}

QByteArray ManifestOf(const COrvaneDoc& doc, const RecordingFile* recording) {
    QJsonObject json{{"version", kManifestVersion},
                     {"path", QString::fromStdString(doc.PathName())},
                     {"title", doc.Title()},
                     {"sourceText", QString::fromStdString(doc.SourceText())},
                     {"rawParam", static_cast<qint64>(doc.m_nRawParam)},
                     {"modified", doc.IsModified()},
                     {"selStart", static_cast<qint64>(doc.m_nSelStart)},
                     {"selLength", static_cast<qint64>(doc.m_nSelLength)},
                     {"undo", StatesOf(doc.m_undoWaves)},
                     {"redo", StatesOf(doc.m_redoWaves)}};
    if (doc.m_pWave) json.insert("sound", StateOf(*doc.m_pWave));
    if (recording != nullptr)
        json.insert("recording", QJsonObject{{"file", QString::fromStdString(recording->file)},
                                             {"format", FormatText(recording->format)}});
    return QJsonDocument(json).toJson(QJsonDocument::Compact);
}

bool WriteManifest(const QByteArray& manifest, const QString& file) {
    // Written whole beside the old one, flushed to the disk and renamed over it: a full disk
    // fails a write here and leaves the old manifest as it was. (QSaveFile was seen replacing
    // a manifest with an empty file on a full memory file system.)
    const std::string target = file.toStdString();
    std::string temporary = target + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) return false;
    const char* bytes = manifest.constData();
    std::size_t left = static_cast<std::size_t>(manifest.size());
    while (left > 0) {
        const ssize_t written = ::write(fd, bytes, left);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) break;
        bytes += written;
        left -= static_cast<std::size_t>(written);
    }
    const bool complete = left == 0 && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (complete && closed && ::rename(temporary.c_str(), target.c_str()) == 0) return true;
    ::unlink(temporary.c_str());
    return false;
}

std::optional<DocumentManifest> ReadManifest(const QString& file) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) return std::nullopt;
    const QJsonDocument document = QJsonDocument::fromJson(in.readAll());
    if (!document.isObject() || document.object()["version"].toInt() != kManifestVersion)
        return std::nullopt;
    DocumentManifest manifest;
    manifest.file = file;
    manifest.json = document.object();
    manifest.changed = QFileInfo(file).lastModified();
    const QJsonObject recording = manifest.json["recording"].toObject();
    const QJsonObject sound = recording.isEmpty() ? manifest.json["sound"].toObject() : recording;
    const auto format = FormatFrom(sound["format"]);
    if (!format) return std::nullopt;
    manifest.format = *format;
    const std::uint64_t bytes =
        recording.isEmpty()
            ? static_cast<std::uint64_t>(sound["bytes"].toInteger())
            : static_cast<std::uint64_t>(QFileInfo(recording["file"].toString()).size());
    manifest.frames =
        static_cast<std::uint32_t>(std::min<std::uint64_t>(bytes / format->blockAlign, UINT32_MAX));
    manifest.name = manifest.json["title"].toString();
    return manifest;
}

bool RestoreDocument(const DocumentManifest& manifest, COrvaneDoc& doc) {
    const QJsonObject& json = manifest.json;
    const QJsonObject recording = json["recording"].toObject();
    TakenFiles taken{App().tempDir, {}};
    std::unique_ptr<WaveObject> wave = RestoreState(json["sound"].toObject(), taken);
    auto undo = RestoreStates(json["undo"].toArray(), taken);
    auto redo = RestoreStates(json["redo"].toArray(), taken);
    if (!recording.isEmpty()) {
        // The take replaces the sound as its Record would have, the sound becoming Undo's.
        if (wave && undo) undo->push_back(std::move(wave));
        if (redo) redo->clear();
        wave = RestoreRecording(recording);
    }
    if (!wave) return false;
    if (!undo || !redo) {
        undo.emplace();
        redo.emplace();
    }
    doc.AdoptRecovered(std::move(wave), std::move(*undo), std::move(*redo),
                       json["path"].toString().toStdString(), json["title"].toString(),
                       json["sourceText"].toString().toStdString(),
                       static_cast<std::uint32_t>(json["rawParam"].toInteger()));
    doc.SetSelection(static_cast<std::uint32_t>(json["selStart"].toInteger()),
                     static_cast<std::uint32_t>(json["selLength"].toInteger()));
    return true;
}

}  // namespace kelvane
