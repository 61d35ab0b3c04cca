#include <QApplication>
#include <QFile>
#include <QImage>
#include <QTextStream>
#include <QTimer>
#include <cstdio>
#include <functional>

#include "ContainerWindow.h"
#include "EmbeddedSound.h"

// kelvane-container [STEP...] embeds one sound of the editor and runs the steps in order;
// without --show it ends after them. The steps:
//   --new | --insert WAVEFILE | --open DOCUMENT     create the item (empty, from a file, from a
//   document)
//   --picture WIDTHxHEIGHT FILE                     the item's picture (.svg: SVG, else PNG)
//   --data FILE                                     the item's Wave data
//   --save DOCUMENT                                 the container's document with the item's
//   storage
//   --command ID                                    runs an editor command and waits for its change
//   --hold                                          prints the item's path and keeps it until
//   killed
//   --show                                          the window, with the sound made so far
namespace {

constexpr int kChangeWaitMs = 60000;

int Usage(const QString& problem) {
    std::fprintf(stderr, "kelvane-container: %s\n", qPrintable(problem));
    return 2;
}

bool Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return !bytes.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Runs until `sound` reports a change; false when none came.
bool WaitForChange(EmbeddedSound& sound, const std::function<bool()>& cause) {
    QEventLoop loop;
    bool changed = false;
    QObject::connect(&sound, &EmbeddedSound::Changed, &loop, [&] {
        changed = true;
        loop.quit();
    });
    QTimer::singleShot(kChangeWaitMs, &loop, &QEventLoop::quit);
    if (!cause()) return false;
    if (!changed) loop.exec();
    return changed;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    std::unique_ptr<EmbeddedSound> sound;
    QString documentPath, error;
    bool show = args.isEmpty();
    const auto fail = [&](const QString& what) {
        std::fprintf(stderr, "kelvane-container: %s%s%s\n", qPrintable(what),
                     error.isEmpty() ? "" : ": ", qPrintable(error));
        return 1;
    };
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& step = args[i];
        const auto next = [&]() { return i + 1 < args.size() ? args[++i] : QString(); };
        if (step == "--new" || step == "--insert" || step == "--open") {
            QByteArray storage;
            if (step == "--insert") {
                QFile file(next());
                if (!file.open(QIODevice::ReadOnly)) return fail("cannot read " + file.fileName());
                storage = file.readAll();
            } else if (step == "--open") {
                documentPath = next();
                if (!ReadContainerDocument(documentPath, storage))
                    return fail("not a container document: " + documentPath);
            }
            sound.reset();
            sound = EmbeddedSound::Create(storage, &error);
            if (!sound) return fail("the sound could not be embedded");
            continue;
        }
        if (step == "--show") {
            show = true;
            continue;
        }
        if (!sound) return Usage(step + " needs a sound: --new, --insert or --open first");
        if (step == "--picture") {
            const QStringList size = next().split('x');
            const QString path = next();
            const QSize pixels(size.value(0).toInt(), size.value(1).toInt());
            const char* type = path.endsWith(".svg") ? "image/svg+xml" : "image/png";
            if (!Write(path, sound->Picture(type, pixels, &error))) return fail("no picture");
        } else if (step == "--data") {
            if (!Write(next(), sound->WaveData(&error))) return fail("no Wave data");
        } else if (step == "--save") {
            documentPath = next();
            const QByteArray storage = sound->Storage(&error);
            if (storage.isEmpty() || !WriteContainerDocument(documentPath, storage))
                return fail("the document could not be saved");
        } else if (step == "--command") {
            const uint id = next().toUInt();
            if (!WaitForChange(*sound, [&] { return sound->RunCommand(id, &error); }))
                return fail("no change reported");
            std::printf("changed\n");
            std::fflush(stdout);
        } else if (step == "--hold") {
            std::printf("holding %s\n", qPrintable(sound->Path()));
            std::fflush(stdout);
            return QApplication::exec();
        } else {
            return Usage("unknown step " + step);
        }
    }
    if (!show) return 0;
    ContainerWindow window;
    if (sound) window.SetSound(std::move(sound), documentPath);
    window.show();
    return QApplication::exec();
}
