// Undo and Redo through every level of an hour of stereo, beside the single level the editor
// has always had: the document's exchange alone, then with a real view redrawing after each
// step (its overview reads the whole sound). Prints the slowest and the median step in ms.
//
//   bench_undo [LEVELS...]     (default: 1 20)
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "document/OrvaneDoc.h"
#include "ui/AppState.h"
#include "view/OrvaneView.h"

namespace {

using namespace kelvane;

constexpr std::uint32_t kHourFrames = 44100u * 3600u;

template <typename Step>
std::vector<double> Time(int count, Step step) {
    std::vector<double> took;
    for (int i = 0; i < count; ++i) {
        const auto begin = std::chrono::steady_clock::now();
        step();
        took.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin)
                .count());
    }
    std::sort(took.begin(), took.end());
    return took;
}

// Each state is a whole hour in its own temporary file, its space reserved as an edit's is.
bool Measure(int levels, bool withView) {
    App().undoLevels = levels;
    COrvaneDoc doc;
    std::unique_ptr<COrvaneView> view;
    if (withView) view = std::make_unique<COrvaneView>(doc);
    if (!doc.ResetToEmpty(PcmFormat(44100, 16, 2))) return false;
    for (int i = 0; i <= levels; ++i) {
        auto wave = std::make_unique<WaveObject>(1, App().tempDir.c_str());
        if (!wave->Allocate(PcmFormat(44100, 16, 2), kHourFrames)) return false;
        doc.ReplaceWave(std::move(wave));
        doc.UpdateAllViews(HINT_WAVE_CHANGED);
    }
    const auto undo = Time(levels, [&] { doc.OnUndo(); });
    const auto redo = Time(levels, [&] { doc.OnRedo(); });
    std::printf(
        "%-8s %2d level(s): Undo slowest %.3f ms, median %.3f ms; Redo slowest %.3f ms, "
        "median %.3f ms\n",
        withView ? "view" : "document", levels, undo.back(), undo[undo.size() / 2], redo.back(),
        redo[redo.size() / 2]);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    App().undoDiskLimit = ~std::uint64_t{0};
    std::vector<int> levels;
    for (int i = 1; i < argc; ++i) levels.push_back(std::atoi(argv[i]));
    if (levels.empty()) levels = {1, 20};
    for (const bool withView : {false, true})
        for (int n : levels)
            if (n < 1 || !Measure(n, withView)) {
                std::fprintf(stderr, "no temporary space for %d levels of an hour of stereo\n", n);
                return 1;
            }
    return 0;
}
