#include "server/EmbeddedStorage.h"

#include <QFile>
#include <QIODevice>
#include <array>

#include "document/OrvaneDoc.h"
#include "ui/AppState.h"
#include "view/WaveDrag.h"
#include "wavedata/DataBlock.h"

namespace kelvane {

namespace {

constexpr qint64 kStreamPiece = 32768;

// The stream's bytes into a new temporary file; "" when it could not be written whole.
std::string CopyToTempFile(QIODevice& stream) {
    std::string path;
    const std::string folder = App().tempDir.empty() ? SystemTempDirectory() : App().tempDir;
    if (TempFileName(folder, "WAV", path) == 0) return {};
    QFile file(QString::fromStdString(path));
    bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    std::array<char, kStreamPiece> piece{};
    for (qint64 got = 0; written && (got = stream.read(piece.data(), kStreamPiece)) > 0;)
        written = file.write(piece.data(), got) == got;
    file.close();
    if (!written) {
        QFile::remove(file.fileName());
        return {};
    }
    return path;
}

}  // namespace

bool StoreEmbedded(COrvaneDoc& doc, QIODevice& stream) {
    return CopyWaveImage(doc, stream);
}

bool LoadEmbedded(COrvaneDoc& doc, QIODevice& stream) {
    const std::string path = CopyToTempFile(stream);
    if (path.empty()) return false;
    // Unlinked as it opens: the file lives as long as the sound that maps it.
    std::unique_ptr<DataBlock> block =
        std::make_unique<MappedFileBlock>(0, path.c_str(), true, nullptr, false, true);
    if (block->pointer == nullptr) {
        QFile::remove(QString::fromStdString(path));
        return false;
    }
    auto wave = std::make_unique<WaveObject>(1, App().tempDir.c_str());
    if (!wave->ParseWaveImage(block)) return false;
    doc.DeleteContents();
    doc.m_pWave = std::move(wave);
    doc.ClearSelection();
    doc.SetModifiedFlag(false);
    doc.UpdateAllViews(HINT_ALL);
    return true;
}

}  // namespace kelvane
