#include "view/WaveDrag.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QDrag>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>
#include <QUrl>

#include "document/OrvaneDoc.h"
#include "formats/WaveFile.h"
#include "view/WaveformWnd.h"

namespace kelvane {

namespace {

// A sound without a title would take the temporary file's name as its title; it gets the
// name it would have when saved under the document's name instead.
// Files written for drags stay until the program ends: a drop target may read them late.
class DragFiles {
  public:
    // A Wave file named `name` holding `bytes`, in a folder of its own; empty on failure.
    QString Write(const QString& name, const QByteArray& bytes) {
        if (!m_dir.isValid()) return {};
        const QString folder = m_dir.filePath(QString::number(++m_nDrags));
        QFile file(folder + "/" + name);
        if (!QDir().mkpath(folder) || !file.open(QIODevice::WriteOnly) ||
            file.write(bytes) != bytes.size())
            return {};
        return file.fileName();
    }

  private:
    QTemporaryDir m_dir{QDir::tempPath() + "/kelvane-drag-XXXXXX"};
    int m_nDrags = 0;
};

void GiveDefaultTitle(COrvaneDoc& doc) {
    WaveObject& wave = *doc.m_pWave;
    if (wave.GetInfo("INAM") != nullptr) return;
    const std::string name = doc.PathName().empty() ? doc.Title().toStdString() : doc.PathName();
    wave.SetInfo("INAM", FileTitle(name).c_str());
}

}  // namespace

bool CopyWaveImage(COrvaneDoc& doc, QIODevice& out) {
    if (!doc.m_pWave) return false;
    GiveDefaultTitle(doc);
    return doc.StoreToStream(out);
}

QByteArray WaveImageBytes(COrvaneDoc& doc) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    CopyWaveImage(doc, buffer);
    return bytes;
}

void DrawWavePicture(COrvaneDoc& doc, QPainter& painter, QSize size) {
    CWaveformWnd window(doc, false, true);
    window.SetClientSize(kPictureUnits);
    window.SetZoom(window.FitZoom());
    window.BuildPeaks();
    painter.save();
    painter.scale(static_cast<double>(size.width()) / kPictureUnits.width(),
                  static_cast<double>(size.height()) / kPictureUnits.height());
    window.DrawWave(painter, kPictureUnits.width(), kPictureUnits.height());
    painter.restore();
}

QImage WavePicture(COrvaneDoc& doc, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    DrawWavePicture(doc, painter, size);
    return image;
}

std::unique_ptr<QMimeData> MakeWaveMimeData(COrvaneDoc& doc) {
    static DragFiles files;
    auto data = std::make_unique<QMimeData>();
    const QByteArray wave = WaveImageBytes(doc);
    data->setData(kWaveMimeType, wave);
    // File managers, office suites and audio workstations take a file, not data.
    const QString name = QFileInfo(doc.PathName().empty() ? doc.Title()
                                                          : QString::fromStdString(doc.PathName()))
                             .completeBaseName();
    const QString path = files.Write((name.isEmpty() ? QString("Sound") : name) + ".wav", wave);
    if (!path.isEmpty()) data->setUrls({QUrl::fromLocalFile(path)});
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    WavePicture(doc, kDragPictureSize).save(&buffer, "PNG");
    data->setData(kPictureMimeType, png);
    return data;
}

CWaveDrag::CWaveDrag(COrvaneDoc& doc, CWaveformWnd& window)
    : QObject(&window), m_doc(doc), m_window(window) {
    window.viewport()->installEventFilter(this);
}

bool CWaveDrag::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton || !(mouse->modifiers() & Qt::ControlModifier) ||
                !m_doc.HasData())
                return false;
            m_pressedAt = mouse->position().toPoint();
            return true;
        }
        case QEvent::MouseMove: {
            if (!m_pressedAt) return false;
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            if ((at - *m_pressedAt).manhattanLength() >= QApplication::startDragDistance()) {
                m_pressedAt.reset();
                StartDrag();
            }
            return true;
        }
        case QEvent::MouseButtonRelease:
            if (!m_pressedAt) return false;
            m_pressedAt.reset();
            return true;
        default:
            return false;
    }
}

void CWaveDrag::StartDrag() {
    auto* drag = new QDrag(&m_window);
    drag->setMimeData(MakeWaveMimeData(m_doc).release());
    drag->setPixmap(QPixmap::fromImage(WavePicture(m_doc, kDragPictureSize / 2)));
    drag->exec(Qt::CopyAction);
}

}  // namespace kelvane
