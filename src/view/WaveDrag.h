#pragma once

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QPoint>
#include <QSize>
#include <memory>
#include <optional>

class QIODevice;
class QMimeData;
class QPainter;

namespace kelvane {

class COrvaneDoc;
class CWaveformWnd;

// The sound as other programs get it: a Wave file image and a picture of its waveform.
inline constexpr char kWaveMimeType[] = "audio/x-wav";
inline constexpr char kPictureMimeType[] = "image/png";
// The picture's own coordinates, scaled into whatever size it is drawn at.
inline constexpr QSize kPictureUnits{4000, 1000};
// The picture of a drag: 100 by 25 mm at about 100 dots per inch.
inline constexpr QSize kDragPictureSize{400, 100};

// The sound as a Wave file image, the bytes a save as Wave writes; false when it could not be
// written whole.
bool CopyWaveImage(COrvaneDoc& doc, QIODevice& out);
[[nodiscard]] QByteArray WaveImageBytes(COrvaneDoc& doc);

// The waveform in the document colours, at the whole sound's fit, filling (0, 0, size).
void DrawWavePicture(COrvaneDoc& doc, QPainter& painter, QSize size);
[[nodiscard]] QImage WavePicture(COrvaneDoc& doc, QSize size);

// What a drag out of the view carries: the Wave data, its picture, and a Wave file written
// for the drag (text/uri-list), kept until the program ends.
[[nodiscard]] std::unique_ptr<QMimeData> MakeWaveMimeData(COrvaneDoc& doc);

// Ctrl with the left button down on a waveform window drags the sound out of the view; a
// plain left drag still selects.
class CWaveDrag : public QObject {
  public:
    CWaveDrag(COrvaneDoc& doc, CWaveformWnd& window);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void StartDrag();

    COrvaneDoc& m_doc;
    CWaveformWnd& m_window;
    std::optional<QPoint> m_pressedAt;
};

}  // namespace kelvane
