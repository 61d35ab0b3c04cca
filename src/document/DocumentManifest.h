#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "wavedata/WaveFormat.h"

namespace kelvane {

class COrvaneDoc;

// What a document's manifest says of it: enough to list it and to bring it back. The manifest
// names each state's sound by the pieces of the lasting temporary files that hold it.
struct DocumentManifest {
    QString file;
    QJsonObject json;
    QString name;
    WaveFormat format{};
    std::uint32_t frames = 0;
    QDateTime changed;
};

// A take being recorded: the file it grows in, buffer by buffer.
struct RecordingFile {
    std::string file;
    WaveFormat format{};
};
// The recording layer tells whoever listens where a take it starts goes.
using RecordingListener = std::function<void(const RecordingFile&)>;
void SetRecordingListener(RecordingListener listener);
void AnnounceRecording(const RecordingFile& recording);

// The manifest of the document as it is now: its file and title, the sound, its undo and redo
// states, selection, modified flag and the recording under way for it, if any.
[[nodiscard]] QByteArray ManifestOf(const COrvaneDoc& doc, const RecordingFile* recording);
// Replaces the file whole, or leaves the earlier one as it was; false when it could not.
[[nodiscard]] bool WriteManifest(const QByteArray& manifest, const QString& file);
[[nodiscard]] std::optional<DocumentManifest> ReadManifest(const QString& file);
// Gives the document the sound the manifest describes (a recording under way, when there was
// one), with its file, title and selection, marked modified. False when the files it needs
// are missing or short; the document is then unchanged.
[[nodiscard]] bool RestoreDocument(const DocumentManifest& manifest, COrvaneDoc& doc);

}  // namespace kelvane
