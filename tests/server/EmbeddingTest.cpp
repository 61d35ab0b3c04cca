#include <signal.h>
#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QStatusBar>
#include <QThread>
#include <QToolBar>

#include <gtest/gtest.h>

#include "document/OrvaneDoc.h"
#include "formats/FileError.h"
#include "platform/embedding/Embedding.h"
#include "server/InPlaceFrame.h"
#include "server/OrvaneServerDoc.h"
#include "server/PrivateBus.h"
#include "shell/CommandTable.h"
#include "shell/MainFrame.h"
#include "shell/OrvaneApp.h"
#include "support/EditorTest.h"
#include "ui/AppState.h"
#include "view/OrvaneView.h"
#include "view/WaveDrag.h"
#include "wavedata/TempFolder.h"
#include "view/WaveformWnd.h"

namespace kelvane::test {
namespace {

using embedding::Aspect;
using embedding::ServerDocument;

// A container in the test: it makes the object by class id and stores it in a byte stream.
class Container : public EditorTest {
  protected:
    Container() { ConnectServerTemplate(); }
    ~Container() override { embedding::RevokeTemplate(kServerClassId); }

    std::unique_ptr<ServerDocument> Embed(const std::string& wavePath) {
        auto object = embedding::CreateInstance(kServerClassId);
        QFile file(QString::fromStdString(wavePath));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(object->LoadFromStream(file));
        return object;
    }
    static COrvaneDoc& DocOf(ServerDocument& object) {
        return static_cast<COrvaneServerDoc&>(object).Document();
    }
    static QByteArray DataOf(ServerDocument& object, std::uint32_t format, bool* given = nullptr) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        const bool ok = object.GetEmbeddedItem()->GetData(format, buffer);
        if (given) *given = ok;
        return bytes;
    }
    static QByteArray FileBytes(const std::string& path) {
        QFile file(QString::fromStdString(path));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // 16-bit mono: the first half swings between +half and -half scale, the second is silent.
    std::string WriteBlock(const std::string& name, std::uint32_t frames) {
        WaveObject wave;
        EXPECT_EQ(wave.Allocate(PcmFormat(8000, 16, 1), frames), 1u);
        const FrameValue up = 0x40004000u, down = 0xC000C000u;  // both halves: mono is their mean
        for (std::uint32_t i = 0; i < frames; ++i)
            wave.SetFrame(i, i < frames / 2 ? (i % 2 ? up : down) : 0);
        const std::string path = dir.File(name);
        EXPECT_EQ(wave.Save(path, kFileWave), FileError::Success);
        return path;
    }
};

// The rectangle holding pixels of `color`, from row `top` to row `bottom` (-1: the last).
QRect Extent(const QImage& image, QRgb color, int top = 0, int bottom = -1) {
    QRect box;
    for (int y = top; y <= (bottom < 0 ? image.height() - 1 : bottom); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (color & 0xFFFFFF)) box |= QRect(x, y, 1, 1);
    return box;
}

TEST_F(Container, ExtentIsFixedWhateverTheLengthAndOtherAspectsGetNone) {
    for (std::uint32_t frames : {10u, 100000u}) {
        auto object = Embed(WriteTone("tone" + std::to_string(frames) + ".wav", frames));
        QSize size;
        ASSERT_TRUE(object->GetEmbeddedItem()->OnGetExtent(Aspect::Content, size));
        EXPECT_EQ(size, QSize(10000, 2500)) << frames;
        QSize icon(1, 1);
        EXPECT_FALSE(object->GetEmbeddedItem()->OnGetExtent(Aspect::Icon, icon));
        EXPECT_EQ(icon, QSize(1, 1));
    }
}

TEST_F(Container, PictureScalesIntoAnyRectangleInTheDocumentColours) {
    auto object = Embed(WriteBlock("block.wav", 8000));
    const ColorSet& colors = App().documentColors;
    for (const QSize size : {QSize(400, 100), QSize(1000, 250), QSize(300, 300)}) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        EXPECT_TRUE(object->GetEmbeddedItem()->OnDraw(painter, size));
        painter.end();
        EXPECT_EQ(image.pixel(size.width() - 1, 1) & 0xFFFFFF, colors.background & 0xFFFFFF)
            << "the background fills the whole rectangle";
        // Off the middle line the trace is the swinging half: the left half of the width, from
        // a quarter to three quarters of the height.
        const int w = size.width(), h = size.height();
        const QRect upper = Extent(image, colors.leftChannel, 0, h / 2 - 2);
        const QRect lower = Extent(image, colors.leftChannel, h / 2 + 2);
        EXPECT_LE(upper.left(), 1);
        EXPECT_NEAR(upper.right(), w / 2, w / 100 + 1) << w;
        EXPECT_NEAR(upper.top(), h / 4, h / 50 + 1) << h;
        EXPECT_NEAR(lower.bottom(), 3 * h / 4, h / 50 + 1) << h;
    }
}

TEST_F(Container, WaveDataIsTheSavedWaveFileAndOnlyWaveIsOffered) {
    auto object = Embed(WriteTone("data.wav", 3001));
    const std::string saved = dir.File("saved.wav");
    ASSERT_EQ(DocOf(*object).m_pWave->Save(saved, kFileWave), FileError::Success);
    bool given = false;
    EXPECT_EQ(DataOf(*object, embedding::kFormatWave, &given), FileBytes(saved));
    EXPECT_TRUE(given);

    EXPECT_EQ(object->GetEmbeddedItem()->Formats(),
              std::vector<std::uint32_t>{embedding::kFormatWave});
    for (std::uint32_t other : {embedding::kFormatBitmap, 1u, 13u}) {
        EXPECT_TRUE(DataOf(*object, other, &given).isEmpty());
        EXPECT_FALSE(given) << other;
    }
}

TEST_F(Container, WaveImageOfWholePiecesIsCopiedComplete) {
    // 8-bit mono: one frame a byte, so the file grows a byte a frame (plus the pad of an odd body).
    const auto sizeFor = [&](std::uint32_t frames) {
        WaveObject wave;
        EXPECT_EQ(wave.Allocate(PcmFormat(8000, 8, 1), frames), 1u);
        for (std::uint32_t i = 0; i < frames; ++i) wave.data[i] = static_cast<std::uint8_t>(i * 7);
        const std::string path = dir.File("w.wav");
        EXPECT_EQ(wave.Save(path, kFileWave), FileError::Success);
        return std::pair{path, FileBytes(path).size()};
    };
    std::uint32_t frames = 3 * 4096;
    frames -= static_cast<std::uint32_t>(sizeFor(frames).second - 3 * 4096);
    auto [path, size] = sizeFor(frames);
    ASSERT_EQ(size % 4096, 0) << "an image of whole pieces";
    auto object = Embed(path);
    EXPECT_EQ(DataOf(*object, embedding::kFormatWave), FileBytes(path));
}

TEST_F(Container, StoringAndLoadingKeepsTheSound) {
    auto object = Embed(WriteTone("stored.wav", 5000, 2, 22050));
    COrvaneDoc& doc = DocOf(*object);
    doc.m_pWave->SetInfo("ICMT", "kept inside the container");
    QByteArray stream;
    QBuffer out(&stream);
    out.open(QIODevice::WriteOnly);
    ASSERT_TRUE(object->SaveToStream(out));
    EXPECT_EQ(stream, DataOf(*object, embedding::kFormatWave)) << "stored as its Wave image";

    auto reloaded = embedding::CreateInstance(kServerClassId);
    QBuffer in(&stream);
    in.open(QIODevice::ReadOnly);
    ASSERT_TRUE(reloaded->LoadFromStream(in));
    const WaveObject& a = *doc.m_pWave;
    const WaveObject& b = *DocOf(*reloaded).m_pWave;
    ASSERT_EQ(b.FrameCount(), 5000u);
    EXPECT_EQ(b.format->samplesPerSec, 22050u);
    EXPECT_EQ(b.format->channels, 2);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(b.data), b.dataBytes),
              QByteArray(reinterpret_cast<const char*>(a.data), a.dataBytes));
    EXPECT_STREQ(b.GetInfo("ICMT"), "kept inside the container");
    EXPECT_FALSE(DocOf(*reloaded).IsModified());

    QByteArray junk("RIFF\x04\0\0\0JUNK", 12);
    QBuffer bad(&junk);
    bad.open(QIODevice::ReadOnly);
    EXPECT_FALSE(reloaded->LoadFromStream(bad));
    EXPECT_EQ(DocOf(*reloaded).Length(), 5000u) << "a damaged stream leaves the sound";
}

std::vector<std::uint32_t> CommandIds(QToolBar* bar) {
    std::vector<std::uint32_t> ids;
    for (QAction* action : bar->actions())
        ids.push_back(action->isSeparator() ? 0 : action->property("commandId").toUInt());
    return ids;
}

TEST_F(Container, InPlaceFrameBuildsItsBarsOnTheContainersFrame) {
    auto object = Embed(WriteTone("inplace.wav", 20000, 2, 44100));
    QMainWindow frame;
    auto* site = new QWidget;
    frame.setCentralWidget(site);
    frame.resize(900, 500);
    frame.show();
    auto* inPlace = static_cast<CInPlaceFrame*>(object->ActivateInPlace(frame, *site));
    ASSERT_NE(inPlace, nullptr);

    const auto bars = frame.findChildren<QToolBar*>();
    ASSERT_EQ(bars.size(), 2);
    const std::vector<std::uint32_t> edit(InPlaceToolbar().begin(), InPlaceToolbar().end());
    const std::vector<std::uint32_t> transport(DocumentToolbar().begin(), DocumentToolbar().end());
    EXPECT_EQ(CommandIds(inPlace->EditToolBar()), edit);
    EXPECT_EQ(CommandIds(inPlace->TransportToolBar()), transport);
    for (QToolBar* bar : bars) {
        EXPECT_EQ(bar->allowedAreas(), Qt::AllToolBarAreas);
        EXPECT_EQ(frame.toolBarArea(bar), Qt::TopToolBarArea);
    }
    ASSERT_EQ(frame.statusBar(), inPlace->StatusBar());
    const auto panes = frame.statusBar()->findChildren<QLabel*>();
    ASSERT_EQ(panes.size(), 6);
    EXPECT_TRUE(panes[0]->text().contains("44100")) << panes[0]->text().toStdString();
    EXPECT_TRUE(inPlace->ResizeBar()->isVisible());
    EXPECT_TRUE(site->isAncestorOf(inPlace->View()));

    // The bars' commands reach the embedded document.
    COrvaneDoc& doc = DocOf(*object);
    doc.SetSelection(0, 1000);
    const auto action = [&](QToolBar* bar, std::uint32_t id) {
        for (QAction* a : bar->actions())
            if (a->property("commandId").toUInt() == id) return a;
        return static_cast<QAction*>(nullptr);
    };
    inPlace->UpdateCommandUI();
    action(inPlace->EditToolBar(), 57635)->trigger();
    EXPECT_EQ(doc.Length(), 19000u);
    EXPECT_TRUE(doc.CanUndo());

    // Escape ends in-place editing and takes the bars away.
    for (QAction* a : inPlace->actions())
        if (a->property("commandId").toUInt() == 32769) a->trigger();
    QApplication::processEvents();
    EXPECT_EQ(object->InPlace(), nullptr);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(frame.findChildren<QToolBar*>().isEmpty());
    EXPECT_TRUE(frame.findChildren<QStatusBar*>().isEmpty());
}

TEST_F(Container, DragFromTheViewCarriesTheWaveAndItsPicture) {
    COrvaneDoc* doc = Open(WriteTone("drag.wav", 4000, 1, 8000));
    ASSERT_NE(doc, nullptr);
    const std::string saved = dir.File("drag-saved.wav");
    ASSERT_EQ(doc->m_pWave->Save(saved, kFileWave), FileError::Success);
    const std::unique_ptr<QMimeData> data = MakeWaveMimeData(*doc);
    EXPECT_TRUE(data->hasFormat("audio/x-wav"));
    EXPECT_EQ(data->data("audio/x-wav"), FileBytes(saved));
    QImage picture;
    ASSERT_TRUE(picture.loadFromData(data->data("image/png"), "PNG"));
    EXPECT_EQ(picture.size(), kDragPictureSize);
    EXPECT_FALSE(Extent(picture, App().documentColors.leftChannel).isEmpty());
    ASSERT_EQ(data->urls().size(), 1);
    const QString dropped = data->urls().front().toLocalFile();
    EXPECT_TRUE(dropped.endsWith("/drag.wav")) << dropped.toStdString();
    EXPECT_EQ(FileBytes(dropped.toStdString()), FileBytes(saved));
    EXPECT_EQ(RunCommand("soxi -s '" + dropped.toStdString() + "' | grep -qx 4000"), 0)
        << "sox reads the dropped file";

    // Ctrl with the button belongs to the drag; a plain click still places the selection.
    QWidget* area = app().MainFrame()->findChild<COrvaneView*>()->Detail().viewport();
    const auto click = [&](Qt::KeyboardModifiers keys) {
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(
                type, QPointF(50, 10), area->mapToGlobal(QPointF(50, 10)), Qt::LeftButton,
                type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, keys);
            QApplication::sendEvent(area, &event);
        }
    };
    doc->SetSelection(7, 0);
    click(Qt::ControlModifier);
    EXPECT_EQ(doc->m_nSelStart, 7u);
    click(Qt::NoModifier);
    EXPECT_NE(doc->m_nSelStart, 7u);
}

// A container in a process of its own, on a bus of the test's own that starts the editor for it.
class BusContainer : public Container {
  protected:
    void SetUp() override { ASSERT_TRUE(RequireTool("dbus-daemon") && bus.Running()); }
    int Contain(const QStringList& steps, QString* output = nullptr) {
        return bus.Run(KELVANE_CONTAINER, steps, output);
    }
    static QString Q(const std::string& path) { return QString::fromStdString(path); }
    // Waits for the line a holding container prints: the path of its item.
    static QString HeldItem(QProcess& container) {
        while (!container.canReadLine() && container.waitForReadyRead(60000)) {
        }
        return QString::fromUtf8(container.readLine()).trimmed().section(' ', 1);
    }

    PrivateBus bus;
};

TEST_F(BusContainer, PictureDataAndStorageAreThoseOfTheDocumentInProcess) {
    const std::string tone = WriteTone("tone.wav", 30000, 2, 22050);
    const std::string document = dir.File("doc.kvc");
    QString output;
    ASSERT_EQ(Contain({"--insert", Q(tone), "--picture", "400x100", Q(dir.File("p.png")),
                       "--picture", "800x200", Q(dir.File("p.svg")), "--data",
                       Q(dir.File("data.wav")), "--save", Q(document)},
                      &output),
              0)
        << output.toStdString();

    auto object = Embed(tone);
    QImage remote(Q(dir.File("p.png")), "PNG");
    EXPECT_EQ(remote.convertToFormat(QImage::Format_RGB32),
              WavePicture(DocOf(*object), QSize(400, 100)).convertToFormat(QImage::Format_RGB32));
    const QByteArray svg = FileBytes(dir.File("p.svg"));
    EXPECT_TRUE(svg.contains("<svg") && svg.contains("viewBox=\"0 0 800 200\""))
        << svg.left(400).toStdString();

    const std::string saved = dir.File("saved.wav");
    ASSERT_EQ(DocOf(*object).m_pWave->Save(saved, kFileWave), FileError::Success);
    EXPECT_EQ(FileBytes(dir.File("data.wav")), FileBytes(saved));

    // The document saved with the item's storage gives the same sound back.
    ASSERT_EQ(Contain({"--open", Q(document), "--data", Q(dir.File("again.wav"))}, &output), 0)
        << output.toStdString();
    EXPECT_EQ(FileBytes(dir.File("again.wav")), FileBytes(saved));
    EXPECT_EQ(Contain({"--new", "--picture", "40x10", Q(dir.File("empty.png"))}, &output), 0)
        << output.toStdString();
}

TEST_F(BusContainer, AnEditIsSignalledAndReachesTheData) {
    if (!RequireTool("sox")) return;
    const std::string tone = WriteTone("edit.wav", 8000, 1, 8000);
    QString output;
    ASSERT_EQ(
        Contain({"--insert", Q(tone), "--command", "32821", "--data", Q(dir.File("reversed.wav"))},
                &output),
        0)
        << output.toStdString();
    EXPECT_TRUE(output.contains("changed"));
    const std::string got = dir.File("got.raw"), expected = dir.File("expected.raw");
    ASSERT_EQ(RunCommand("sox '" + dir.File("reversed.wav") + "' -t raw '" + got + "'"), 0);
    ASSERT_EQ(RunCommand("sox '" + tone + "' -t raw '" + expected + "' reverse"), 0);
    EXPECT_EQ(ReadFileBytes(got), ReadFileBytes(expected));

    EXPECT_NE(Contain({"--insert", Q(tone), "--command", "57665"}, &output), 0)
        << "the application's Exit is not the item's";
    EXPECT_TRUE(output.contains("not available")) << output.toStdString();
}

TEST_F(BusContainer, ContainersKeepApartAndLeaveNothingBehind) {
    const std::string tone = WriteTone("kept.wav", 5000, 1, 8000);
    QProcess& first = bus.Start(KELVANE_CONTAINER, {"--insert", Q(tone), "--hold"});
    QProcess& second = bus.Start(KELVANE_CONTAINER, {"--insert", Q(tone), "--hold"});
    const QString firstItem = HeldItem(first), secondItem = HeldItem(second);
    ASSERT_FALSE(firstItem.isEmpty());
    EXPECT_NE(firstItem, secondItem) << "each container has its own item";
    const qint64 server = bus.OwnerProcess("com.vantrel.Kelvane.Embedding");
    ASSERT_GT(server, 0);

    QDBusInterface stranger("com.vantrel.Kelvane.Embedding", firstItem,
                            "com.vantrel.Kelvane.Embedding.Item", bus.Connection());
    const QDBusMessage refused = stranger.call("Save");
    EXPECT_EQ(refused.errorName(), "com.vantrel.Kelvane.Embedding.Error.AccessDenied");

    // Damaged storage is refused and the service goes on.
    const std::string junk = dir.File("junk.wav");
    ASSERT_TRUE(WriteFileBytes(junk, {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}));
    QString output;
    EXPECT_EQ(Contain({"--insert", Q(junk)}, &output), 1);
    EXPECT_TRUE(output.contains("does not hold a sound")) << output.toStdString();

    first.kill();
    first.waitForFinished();
    ASSERT_EQ(Contain({"--insert", Q(tone), "--data", Q(dir.File("still.wav"))}, &output), 0)
        << output.toStdString();
    EXPECT_EQ(bus.OwnerProcess("com.vantrel.Kelvane.Embedding"), server);

    // With its last container gone, the copy started for them ends and takes its files along.
    second.kill();
    second.waitForFinished();
    for (int i = 0; i < 600 && ::kill(static_cast<pid_t>(server), 0) == 0; ++i) QThread::msleep(50);
    EXPECT_NE(::kill(static_cast<pid_t>(server), 0), 0) << "the server ended";
    EXPECT_TRUE(QDir(Q(TempFolderFor(bus.TempDir())))
                    .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)
                    .isEmpty());
}

TEST_F(BusContainer, APersonsRunningCopyServesAndStays) {
    QProcess& editor = bus.Start(KELVANE_EDITOR, {"--nosplash"});
    qint64 owner = 0;
    for (int i = 0; i < 600 && owner != editor.processId(); ++i) {
        QThread::msleep(50);
        owner = bus.OwnerProcess("com.vantrel.Kelvane.Embedding");
    }
    ASSERT_EQ(owner, editor.processId()) << "the editor a person started offers the service";
    QString output;
    ASSERT_EQ(Contain({"--insert", Q(WriteTone("served.wav", 3000, 1, 8000)), "--picture", "80x20",
                       Q(dir.File("served.png"))},
                      &output),
              0)
        << output.toStdString();
    EXPECT_FALSE(editor.waitForFinished(1000)) << "it stays when its last item goes";
    EXPECT_EQ(bus.OwnerProcess("com.vantrel.Kelvane.Embedding"), editor.processId());
}

}  // namespace
}  // namespace kelvane::test
