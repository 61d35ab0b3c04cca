// Copy and Paste of a whole sound through the editor's clipboard commands, headless: opens
// the file as a document with a real view and prints the seconds each step takes.
//
//   bench_clipboard FILE
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <functional>

#include "document/EditCommands.h"
#include "document/OrvaneDoc.h"
#include "ui/AppState.h"
#include "view/OrvaneView.h"

namespace {

double Seconds(const std::function<bool()>& step) {
    const auto begin = std::chrono::steady_clock::now();
    const bool done = step();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - begin;
    return done ? took.count() : -1.0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    using namespace kelvane;
    App().clipboardWave = std::make_unique<WaveObject>(1, App().tempDir.c_str());
    COrvaneDoc doc;
    COrvaneView view(doc);
    if (!doc.OnOpenDocument(argv[1])) return 1;
    const double bytes = doc.m_pWave->dataBytes;

    doc.OnSelectAll();
    const double copy = Seconds([&] { return EditCopy(doc); });
    // Over the whole sound Paste writes its bytes once; at the end it writes them twice.
    const double over = Seconds([&] { return EditPaste(doc, &view); });
    doc.OnGoToEnd();
    const double append = Seconds([&] { return EditPaste(doc, &view); });
    if (copy < 0 || over < 0 || append < 0) return 1;
    std::printf("%.0f %.3f %.3f %.3f\n", bytes, copy, over, append);
    App().clipboardWave.reset();
    return 0;
}
