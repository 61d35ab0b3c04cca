// Rebuild and paint of a 1600 by 400 detail window on one hour of 44100 Hz 16-bit stereo in
// temporary storage, at every zoom from 1 to the fit zoom, headless. Prints milliseconds per
// step (median of the runs, and the worst), and the time memcpy takes for the bytes the peaks
// read. Run with QT_SCALE_FACTOR=2 for a device pixel ratio of 2.
#include <QApplication>
#include <QScrollBar>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "document/OrvaneDoc.h"
#include "view/OrvaneView.h"
#include "view/WaveformWnd.h"

namespace {

using namespace kelvane;

constexpr std::uint32_t kRate = 44100;
constexpr std::uint32_t kFrames = kRate * 3600;
constexpr int kRuns = 15;

struct Times {
    double median = 0;
    double worst = 0;
};

// Times `step` for each run, after an untimed `prepare`.
Times Measure(const std::function<void(int)>& step, const std::function<void(int)>& prepare = {}) {
    std::vector<double> ms;
    for (int run = 0; run < kRuns; ++run) {
        if (prepare) prepare(run);
        const auto begin = std::chrono::steady_clock::now();
        step(run);
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin)
                .count());
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
}

std::string Cell(const Times& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%6.2f/%6.2f", t.median, t.worst);
    return text;
}

std::unique_ptr<WaveObject> HourOfStereo() {
    auto wave = std::make_unique<WaveObject>();
    if (!wave->Allocate(PcmFormat(kRate, 16, 2), kFrames)) return nullptr;
    auto* samples = reinterpret_cast<std::int16_t*>(wave->data);
    std::uint32_t noise = 1;
    for (std::uint32_t i = 0; i < kFrames; ++i) {
        noise = noise * 1664525u + 1013904223u;
        const double envelope = 0.5 + 0.5 * std::sin(i * 2e-6);
        const auto n = static_cast<int>(noise >> 20) - 2048;
        samples[2 * i] = static_cast<std::int16_t>(envelope * 20000 * std::sin(i * 0.0627) + n);
        samples[2 * i + 1] = static_cast<std::int16_t>(envelope * 15000 * std::sin(i * 0.0791) - n);
    }
    return wave;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    COrvaneDoc doc;
    COrvaneView view(doc);
    auto wave = HourOfStereo();
    if (!wave) {
        std::fprintf(stderr, "no temporary storage for one hour of stereo\n");
        return 1;
    }
    doc.ReplaceWave(std::move(wave));
    CWaveformWnd& detail = view.Detail();
    detail.SetClientSize(QSize(1600, 400));
    const auto* bytes = doc.m_pWave->data;
    std::vector<std::uint8_t> copy(std::size_t{1600} * 17 * 4);

    std::printf("device pixel ratio %.0f, one hour stereo, 1600x400\n", detail.devicePixelRatioF());
    std::printf("%6s %13s %13s %13s %13s %13s %10s\n", "zoom", "peaks", "draw", "rebuild+paint",
                "thumb scroll", "cursor", "memcpy");
    const auto at = [&](int run, std::uint32_t zoom) {
        return static_cast<std::uint32_t>((std::uint64_t{kFrames} * run / kRuns + 4410) / zoom *
                                          zoom);
    };
    for (std::uint32_t zoom = 1; zoom <= detail.FitZoom(); zoom *= 2) {
        detail.SetZoom(zoom);
        const auto moveTo = [&](int run) { detail.SetFirstFrame(at(run, zoom)); };
        const Times peaks = Measure([&](int) { detail.BuildPeaks(); }, moveTo);
        const Times draw = Measure([&](int) { static_cast<void>(detail.RenderFrame()); },
                                   [&](int) { detail.BuildPeaks(); });
        const Times paint = Measure(
            [&](int) {
                detail.BuildPeaks();
                static_cast<void>(detail.RenderFrame());
            },
            moveTo);
        QScrollBar* bar = detail.horizontalScrollBar();
        const Times scroll = Measure([&](int run) {
            detail.OnHScroll(QAbstractSlider::SliderMove, bar->maximum() * run / kRuns);
            static_cast<void>(detail.RenderFrame());
        });
        const Times cursor = Measure([&](int run) {
            doc.SetSelection(detail.FirstFrame() + static_cast<std::uint32_t>(run) * zoom, 0);
            static_cast<void>(detail.RenderFrame());
        });
        // The bytes the peaks read: up to 17 frames a column.
        const std::size_t read =
            std::size_t{detail.Columns()} * std::min<std::uint32_t>(zoom, 17) * 4;
        const Times memcpyTime = Measure([&](int run) {
            std::memcpy(copy.data(),
                        bytes + std::size_t{at(run, zoom)} * 4 % (std::size_t{kFrames} * 4 - read),
                        read);
        });
        std::printf("%6u %13s %13s %13s %13s %13s %10.4f\n", zoom, Cell(peaks).c_str(),
                    Cell(draw).c_str(), Cell(paint).c_str(), Cell(scroll).c_str(),
                    Cell(cursor).c_str(), memcpyTime.median);
    }
    std::printf("milliseconds, median/worst of %d runs\n", kRuns);
    return 0;
}
