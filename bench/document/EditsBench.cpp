// Small edits of a long sound through the document's commands, headless: opens the file with
// a real view, then times each step and measures the temporary bytes the editor holds.
// Prints "name value unit" lines; the peer figures (memcpy of the same bytes) come in the
// same run.
//
//   bench_edits FILE [--whole-copy]
//
// --whole-copy makes every new sound a whole copy, as every edit did before sounds shared
// pages: the "before" figures, measured in the same run.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "document/EditCommands.h"
#include "document/OrvaneDoc.h"
#include "document/ProcessCommands.h"
#include "processing/Normalize.h"
#include "processing/Reverse.h"
#include "ui/AppState.h"
#include "ui/DialogHost.h"
#include "view/OrvaneView.h"

namespace {

constexpr std::uint32_t kFadeIn = 32813;
constexpr std::uint32_t kReverse = 32821;
constexpr std::uint32_t kNormalize = 32822;

double Millis(const std::function<void()>& step) {
    const auto begin = std::chrono::steady_clock::now();
    step();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - begin;
    return took.count();
}

// Disk bytes of the temporary files this process holds open (named or unlinked), each file
// counted once however often it is open.
double TempBytes() {
    const char* env = std::getenv("TMPDIR");
    const std::string dir = env ? env : "/tmp";
    std::set<ino_t> seen;
    double bytes = 0;
    DIR* fds = ::opendir("/proc/self/fd");
    if (!fds) return -1;
    while (const dirent* entry = ::readdir(fds)) {
        const std::string link = std::string("/proc/self/fd/") + entry->d_name;
        char target[4096];
        const ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
        if (n <= 0) continue;
        target[n] = '\0';
        struct stat st {};
        if (std::strncmp(target, dir.c_str(), dir.size()) != 0 || ::stat(link.c_str(), &st) != 0 ||
            !S_ISREG(st.st_mode) || !seen.insert(st.st_ino).second)
            continue;
        bytes += static_cast<double>(st.st_blocks) * 512;
    }
    ::closedir(fds);
    return bytes;
}

// A bench has nobody to answer a dialog: a message means a step failed.
class NoDialogs : public kelvane::DialogHost {
  public:
    int Exec(QDialog&) override { std::exit(3); }
    QMessageBox::StandardButton Message(QWidget*, const QString& text, QMessageBox::StandardButtons,
                                        QMessageBox::Icon) override {
        std::fprintf(stderr, "bench_edits: %s\n", text.toUtf8().constData());
        std::exit(1);
    }
};

void Print(const char* name, double value, const char* unit) {
    std::printf("%s %.3f %s\n", name, value, unit);
}

}  // namespace

int main(int argc, char** argv) {
    const bool wholeCopy = argc == 3 && std::strcmp(argv[2], "--whole-copy") == 0;
    if (argc != 2 && !wholeCopy) {
        std::fprintf(stderr, "usage: %s FILE [--whole-copy]\n", argv[0]);
        return 2;
    }
    kelvane::SetPageSharing(!wholeCopy);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    using namespace kelvane;
    NoDialogs noDialogs;
    SetDialogHost(&noDialogs);
    App().clipboardWave = std::make_unique<WaveObject>(1, App().tempDir.c_str());
    auto doc = std::make_unique<COrvaneDoc>();
    auto view = std::make_unique<COrvaneView>(*doc);
    // Opening: the copy into temporary storage, the load and the peaks of the first picture.
    bool opened = false;
    const double openMs = Millis([&] { opened = doc->OnOpenDocument(argv[1]); });
    if (!opened) return 1;
    const WaveFormat& format = *doc->m_pWave->format;
    const std::uint32_t second = format.samplesPerSec;
    const std::uint32_t frames = doc->Length();
    const double soundBytes = doc->m_pWave->dataBytes;
    const std::size_t secondBytes = std::size_t{second} * format.blockAlign;
    Print("sound", soundBytes / 1e6, "MB");
    Print("open", openMs, "ms");

    std::vector<std::uint8_t> from(secondBytes, 1), to(secondBytes);
    Print("memcpy_second", Millis([&] { std::memcpy(to.data(), from.data(), secondBytes); }), "ms");

    // For a profiler: only one-second fades, many of them.
    if (const char* fades = std::getenv("BENCH_EDITS_FADES_ONLY")) {
        const std::uint32_t count = std::atoi(fades) > 0 ? std::atoi(fades) : 100;
        for (std::uint32_t k = 0; k < count; ++k) {
            doc->SetSelection((k * 2654435761u) % (frames - second), second);
            Print("fade_second", Millis([&] { RunProcessCommand(*doc, kFadeIn); }), "ms");
        }
        return 0;
    }
    const double before = TempBytes();
    doc->SetSelection(frames / 2 + 12345, second);
    Print("fade_second", Millis([&] { RunProcessCommand(*doc, kFadeIn); }), "ms");
    Print("fade_second_new_temp", (TempBytes() - before) / 1e6, "MB");
    Print("undo", Millis([&] { doc->OnUndo(); }), "ms");
    Print("redo", Millis([&] { doc->OnRedo(); }), "ms");

    doc->SetSelection(frames / 2 + 12345, second);
    Print("copy_second", Millis([&] { EditCopy(*doc); }), "ms");
    doc->SetSelection(frames / 3 + 777, 0);
    Print("paste_second_middle", Millis([&] { EditPaste(*doc, view.get()); }), "ms");
    doc->SetSelection(frames - second / 2, 0);
    Print("paste_second_near_end", Millis([&] { EditPaste(*doc, view.get()); }), "ms");
    doc->SetSelection(frames / 4 + 333, 0);
    Print("mix_second", Millis([&] { EditMix(*doc, view.get()); }), "ms");
    doc->OnSelectAll();
    Print("copy_all", Millis([&] { EditCopy(*doc); }), "ms");
    App().clipboardWave->Reset();

    // Twenty one-second fades, each replaced sound kept as an undo level, on the sound as
    // opened: the pastes above keep parts of older files alive, which is not these edits' cost.
    view.reset();
    doc = std::make_unique<COrvaneDoc>();
    view = std::make_unique<COrvaneView>(*doc);
    if (!doc->OnOpenDocument(argv[1])) return 1;
    std::vector<std::unique_ptr<WaveObject>> levels;
    double editsMs = 0;
    for (std::uint32_t k = 0; k < 20; ++k) {
        doc->SetSelection((k * 2654435761u) % (doc->Length() - second), second);
        editsMs += Millis([&] { RunProcessCommand(*doc, kFadeIn); });
        levels.push_back(std::move(doc->m_undoWaves.back()));
        doc->m_undoWaves.pop_back();
    }
    Print("twenty_edits", editsMs, "ms");
    Print("twenty_edits_temp_ratio", TempBytes() / doc->m_pWave->dataBytes, "x");
    levels.clear();

    // Whole-sound effects: the core's own call beside the document's command, in turns, on
    // the sound the edits above left. A new result takes memory the machine may have to find
    // first, so each figure is the median of three and no result is freed inside a timing.
    const auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    for (const auto& [name, id] :
         {std::pair{"reverse", kReverse}, std::pair{"normalize", kNormalize}}) {
        std::vector<double> core, command;
        for (int round = 0; round < 3; ++round) {
            const WaveObject& wave = *doc->m_pWave;
            std::unique_ptr<WaveObject> result;
            core.push_back(Millis([&] {
                if (id == kReverse)
                    result = ReverseEffect().Process(wave, 0, 0, nullptr);
                else
                    result = NormalizeEffect().Process(wave, 0, 0, nullptr);
            }));
            result.reset();
            doc->SetSelection(0, 0);
            command.push_back(Millis([&] { RunProcessCommand(*doc, id); }));
            doc->OnUndo();
            doc->m_redoWaves.clear();
        }
        std::printf("%s_core %.3f ms\n%s_command %.3f ms\n", name, median(core), name,
                    median(command));
    }
    view.reset();
    doc.reset();
    App().clipboardWave.reset();
    return 0;
}
