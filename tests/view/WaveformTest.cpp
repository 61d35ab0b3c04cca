#include <QPainter>
#include <QPicture>
#include <QScrollBar>
#include <random>

#include "document/OrvaneDoc.h"
#include "shell/ChildFrame.h"
#include "shell/MainFrame.h"
#include "shell/OrvaneApp.h"
#include "support/EditorTest.h"
#include "view/OrvaneView.h"
#include "view/WaveformWnd.h"

namespace kelvane::test {
namespace {

// A view on a sound whose frames a test sets, with a detail window of a known width.
class WaveformTest : public EditorTest {
  protected:
    void SetUpSound(std::uint32_t frames, std::uint16_t channels = 1) {
        doc = Open(WriteTone("tone.wav", 100, channels));
        ASSERT_NE(doc, nullptr);
        auto wave = std::make_unique<WaveObject>();
        ASSERT_TRUE(wave->Allocate(PcmFormat(44100, 16, channels), frames));
        std::fill_n(wave->data, wave->dataBytes, 0);
        doc->ReplaceWave(std::move(wave));
        view = app().MainFrame()->ActiveChild()->View();
        detail = &view->Detail();
    }
    void Set(std::uint32_t frame, std::int16_t value) {
        reinterpret_cast<std::int16_t*>(doc->m_pWave->data)[frame] = value;
    }
    void Show(std::uint32_t zoom, std::uint32_t first, int width = 500, int height = 100) {
        detail->SetClientSize(QSize(width, height));
        detail->SetZoom(zoom);
        detail->SetFirstFrame(first);
        detail->BuildPeaks();
    }

    COrvaneDoc* doc = nullptr;
    COrvaneView* view = nullptr;
    CWaveformWnd* detail = nullptr;
};

TEST_F(WaveformTest, PeaksSampleSixteenFramesPerColumnAndStopAtTheEnd) {
    SetUpSound(200);
    Set(60, 1000);
    Set(61, 30000);  // between two sampled frames at zoom 64
    Set(130, -7);
    Show(64, 0);
    ASSERT_EQ(detail->Columns(), 4u);
    const auto& peaks = detail->PeaksLeft();
    EXPECT_EQ(peaks[0].max, 1000) << "frame 61 is not sampled";
    EXPECT_EQ(peaks[0].last, 1000) << "frame 60 is the last one sampled";
    EXPECT_EQ(peaks[2].min, 0) << "frame 130 is not sampled either";
    // The last column holds frames 192 to 199 only.
    Set(196, -9000);
    detail->BuildPeaks();
    EXPECT_EQ(detail->PeaksLeft()[3].min, -9000);
    EXPECT_EQ(detail->PeaksLeft()[3].last, -9000);
    EXPECT_TRUE(detail->PeaksRight().empty()) << "mono";

    Show(1, 0);
    for (std::uint32_t c : {60u, 61u, 130u}) {
        const ColumnPeak& p = detail->PeaksLeft()[c];
        EXPECT_TRUE(p.first == p.last && p.last == p.max && p.max == p.min) << c;
    }
    EXPECT_EQ(detail->PeaksLeft()[61].max, 30000);
}

TEST_F(WaveformTest, FitZoomScrollBarAndZoomRules) {
    SetUpSound(1000);
    detail->SetClientSize(QSize(400, 100));
    EXPECT_EQ(detail->FitZoom(), 4u);

    SetUpSound(100000);
    Show(16, 0);
    QScrollBar* bar = detail->horizontalScrollBar();
    EXPECT_EQ(bar->pageStep(), 800);
    detail->OnHScroll(QAbstractSlider::SliderMove, 5000);
    EXPECT_EQ(detail->FirstFrame(), 50000u);
    detail->OnHScroll(QAbstractSlider::SliderPageStepAdd, 0);
    EXPECT_EQ(detail->FirstFrame(), 58000u);
    detail->OnHScroll(QAbstractSlider::SliderSingleStepSub, 0);
    EXPECT_EQ(detail->FirstFrame(), 57200u);

    Show(1, 0, 500);
    EXPECT_FALSE(Enabled(32775)) << "zoom in at 1";
    EXPECT_TRUE(Enabled(32776));
    ASSERT_TRUE(Run(32777));
    EXPECT_EQ(detail->Zoom(), 256u);
    EXPECT_FALSE(Enabled(32776)) << "zoom out at the fit zoom";
    ASSERT_TRUE(Run(32775));
    EXPECT_EQ(detail->Zoom(), 128u);
    EXPECT_EQ(bar->maximum() > 0, true);
    // The whole sound visible: no scroll bar, the first frame back at 0.
    Show(256, 3000, 500);
    EXPECT_EQ(bar->maximum(), 0);
    EXPECT_EQ(detail->FirstFrame(), 0u);
}

TEST_F(WaveformTest, MouseSelectsWholeColumns) {
    SetUpSound(100000);
    Show(8, 160);
    detail->OnLButtonDown(10);
    detail->OnLButtonUp(10);
    EXPECT_EQ(doc->m_nSelStart, 240u);
    EXPECT_EQ(doc->m_nSelLength, 0u);

    Show(4, 0);
    detail->OnLButtonDown(5);
    detail->OnMouseMove(2);
    detail->OnLButtonUp(2);
    EXPECT_EQ(doc->m_nSelStart, 8u);
    EXPECT_EQ(doc->m_nSelLength, 16u);

    // Past the end of the data the selection ends exactly with the sound.
    SetUpSound(1003);
    Show(4, 0);
    detail->OnLButtonDown(100);
    detail->OnMouseMove(499);
    detail->OnLButtonUp(499);
    EXPECT_EQ(doc->m_nSelStart, 400u);
    EXPECT_EQ(doc->m_nSelLength, 603u);
    // A press beyond the end, or while playing, starts nothing.
    detail->OnLButtonDown(300);
    EXPECT_FALSE(detail->IsDragging());
    doc->m_pWave->deviceState = DeviceState::Playing;
    detail->OnLButtonDown(10);
    EXPECT_FALSE(detail->IsDragging());
    doc->m_pWave->deviceState = DeviceState::Idle;
}

TEST_F(WaveformTest, SelectionAndCursorAreInvertedOnTheFrame) {
    SetUpSound(100000);
    Show(1000, 5000, 50, 40);
    const QImage plain = [&] {
        QImage image(50, 40, QImage::Format_RGB32);
        QPainter painter(&image);
        detail->DrawWave(painter, 50, 40);
        return image;
    }();
    const auto inverted = [&](const QImage& frame, int x) {
        return (frame.pixel(x, 5) & 0xFFFFFF) == (~plain.pixel(x, 5) & 0xFFFFFF);
    };
    // One frame at zoom 1000 still inverts a whole column; no cursor while selected.
    doc->SetSelection(20500, 1);
    QImage frame = detail->RenderFrame();
    EXPECT_TRUE(inverted(frame, 15));
    EXPECT_FALSE(inverted(frame, 14));
    EXPECT_FALSE(inverted(frame, 16));
    EXPECT_FALSE(inverted(frame, 0));
    // Starting left of the window: from column 0; ending beyond it: cut at the edge.
    doc->SetSelection(0, 99000);
    frame = detail->RenderFrame();
    EXPECT_TRUE(inverted(frame, 0));
    EXPECT_TRUE(inverted(frame, 49));
    // Without a selection the position shows as a one-column cursor.
    doc->SetSelection(7000, 0);
    frame = detail->RenderFrame();
    EXPECT_TRUE(inverted(frame, 2));
    EXPECT_FALSE(inverted(frame, 3));
}

// Traces are filled as runs into a raster image but stroked everywhere else (pictures for other
// programs); both must show the same trace at any pixel ratio, joins included.
TEST_F(WaveformTest, TracesFilledIntoImagesMatchTheStrokedPolyline) {
    SetUpSound(40000, 2);
    std::mt19937 random(5);
    std::uniform_int_distribution<int> sample(-32768, 32767);
    for (std::uint32_t i = 0; i < 80000; ++i) Set(i, static_cast<std::int16_t>(sample(random)));
    const auto render = [&](qreal ratio, bool stroked) {
        QImage image(qRound(300 * ratio), qRound(120 * ratio), QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        QPainter painter(&image);
        if (!stroked) {
            detail->DrawWave(painter, 300, 120);
            return image;
        }
        QPicture picture;
        QPainter recorder(&picture);
        detail->DrawWave(recorder, 300, 120);
        recorder.end();
        painter.drawPicture(0, 0, picture);
        return image;
    };
    for (qreal ratio : {1.0, 2.0}) {
        for (std::uint32_t zoom : {1u, 2u, 64u}) {
            SCOPED_TRACE(testing::Message() << "ratio " << ratio << ", zoom " << zoom);
            Show(zoom, 0, 300, 120);
            const QImage filled = render(ratio, false), stroked = render(ratio, true);
            const QRgb background = stroked.pixel(0, 0);
            int traced = 0, differing = 0;
            for (int y = 0; y < stroked.height(); ++y)
                for (int x = 0; x < stroked.width(); ++x) {
                    traced += stroked.pixel(x, y) != background;
                    differing += stroked.pixel(x, y) != filled.pixel(x, y);
                }
            EXPECT_GT(traced, stroked.width() * 10);
            EXPECT_LT(differing, traced / 50) << "of " << traced << " traced pixels";
        }
    }
}

TEST_F(WaveformTest, APaintWhileThePeaksAreBuiltLeavesNoStalePicture) {
    SetUpSound(200000, 2);
    for (std::uint32_t i = 0; i < 400000; ++i) Set(i, static_cast<std::int16_t>(i * 7919 % 20000));
    app().MainFrame()->ActiveChild()->showMaximized();
    for (std::uint32_t id : {32777u, 32775u}) {  // fit, then zoom in: both show progress
        ASSERT_TRUE(Run(id));
        const QImage shown = detail->RenderFrame().copy();
        detail->CreateDrawingObjects(false);
        EXPECT_EQ(shown, detail->RenderFrame()) << id;
    }
}

TEST_F(WaveformTest, CancelStopsThePictureAndLeavesTheDocumentToWorkOn) {
    SetUpSound(2'000'000, 2);
    app().MainFrame()->ActiveChild()->showMaximized();
    const auto width = static_cast<std::uint32_t>(detail->ClientWidth());
    constexpr std::uint32_t kZoomToFit = 32777, kZoomIn = 32775, kReverse = 32821;
    {
        CancelClicker clicker;
        ASSERT_TRUE(Run(kZoomToFit));
        ASSERT_TRUE(clicker.clicked);
    }
    EXPECT_LT(detail->Columns(), width / 2) << "the building stopped";
    EXPECT_EQ(detail->PeaksLeft().size(), detail->Columns());
    EXPECT_EQ(detail->PeaksRight().size(), detail->Columns());
    (void)detail->RenderFrame();
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(Enabled(kReverse));
    ASSERT_TRUE(Run(kZoomIn));
    EXPECT_EQ(detail->Columns(), width) << "the next zoom builds the whole picture";
}

TEST_F(WaveformTest, ViewLaysOutTheOverviewAboveTheDetail) {
    SetUpSound(1000, 2);
    view->resize(300, 60);
    EXPECT_EQ(view->Overview().height(), 20);
    EXPECT_EQ(view->Detail().geometry().top(), 20);
    EXPECT_EQ(view->Detail().height(), 80);
    view->resize(600, 400);
    EXPECT_EQ(view->Overview().height(), 80);
    EXPECT_FALSE(view->Overview().PeaksRight().empty()) << "stereo";
}

}  // namespace
}  // namespace kelvane::test
