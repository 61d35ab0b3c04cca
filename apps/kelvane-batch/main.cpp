// kelvane-batch: converts sound files through a chain of filters into one output format,
// without the editor. Exit status: 0 every file converted, 1 some file failed, 2 usage error,
// 130 interrupted.

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "ConsoleMonitor.h"
#include "FileInfo.h"
#include "batch/BatchConversion.h"
#include "batch/BatchOptions.h"
#include "wavedata/TempStorageSettings.h"

namespace {

using namespace kelvane;

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitInterrupted = 130;

// Set before the handler is installed; the handler only stores to a lock-free atomic.
std::atomic<bool>* g_cancel = nullptr;
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void OnInterrupt(int) {
    if (g_cancel) g_cancel->store(true, std::memory_order_relaxed);
}

// The first Ctrl+C finishes the current step and ends the run; a second one ends the process.
void InstallInterruptHandler(BatchConversion& batch) {
    g_cancel = &batch.CancelFlag();
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

int UsageError(const std::string& message) {
    std::fprintf(stderr, "kelvane-batch: %s\nRun with --help for more information.\n",
                 message.c_str());
    return kExitUsage;
}

int PrintInfo(const std::vector<std::string>& files) {
    int status = kExitOk;
    for (const std::string& path : files) {
        std::string text;
        if (DescribeSoundFile(path, text)) {
            std::printf("%s\n%s", path.c_str(), text.c_str());
        } else {
            std::fprintf(stderr, "kelvane-batch: %s: %s\n", path.c_str(), text.c_str());
            status = kExitFailed;
        }
    }
    return status;
}

struct Options {
    std::vector<std::string> files;
    std::string outputDir;
    std::string format = "wav";
    std::string subFormat;
    std::vector<std::string> filters;
    bool info = false;
    bool quiet = false;
};

// Builds the batch from the options; an empty string on success, else the usage error.
std::string Configure(const Options& options, BatchConversion& batch) {
    BatchFormat format{};
    if (!ParseBatchFormat(options.format, format))
        return "unknown output format '" + options.format + "' (wav, au, aif, ra or raw)";
    batch.SetOutputFormat(format);
    batch.SetResampleForTarget(true);
    if (!options.subFormat.empty()) {
        if (std::string error = ApplySubFormat(batch, options.subFormat); !error.empty())
            return error;
    }
    for (const std::string& text : options.filters) {
        FilterOption option;
        if (std::string error = ParseFilterOption(text, option); !error.empty()) return error;
        const FilterEntry* entry = batch.AddFilter(option.filter);
        if (!entry || !WriteFilterSettings(*entry, option))
            return "cannot write the settings of filter '" + text + "' to a temporary file";
    }
    batch.SetOutputFolder(options.outputDir);
    for (const std::string& path : options.files) batch.AddInput(path);
    TempStorageSettings temp;
    temp.Load();
    batch.SetTempDirectory(temp.Apply());
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    CLI::App app{
        "Converts sound files (wav, au, snd, aif, aiff, mp1, mp2, mp3) through a chain of "
        "filters into one output format.",
        "kelvane-batch"};
    app.set_version_flag("--version", "kelvane-batch 0.1.0");
    app.add_option("files", options.files,
                   "Input sound files (or, with --info, files to describe)");
    app.add_option("-o,--output-dir", options.outputDir, "Output folder (default: the current one)")
        ->check(CLI::ExistingDirectory);
    app.add_option("-f,--format", options.format, "Output format: wav, au, aif, ra or raw")
        ->capture_default_str();
    app.add_option("--subformat", options.subFormat,
                   "wav: TAG[:RATE[:CHANNELS[:BITS]]] with TAG pcm, mulaw, alaw, ima-adpcm, "
                   "ms-adpcm or gsm; au: linear, mulaw or alaw; ra: method 0-9; raw: data "
                   "format 1-6");
    app.add_option("--filter", options.filters,
                   "NAME[:KEY=VALUE,...], repeatable, in chain order; NAME one of center, "
                   "convert, volume, swap, reverse, normalize, echo, pitch, chorus, stretch")
        ->take_all()
        ->expected(1)
        ->allow_extra_args(false);
    app.add_flag("--info", options.info,
                 "Print format, length, title and engineer of each file instead of converting");
    app.add_flag("-q,--quiet", options.quiet, "Print neither the log nor the progress bar");
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        return UsageError(e.what());
    }

    if (options.files.empty()) return UsageError("no input files");
    if (options.info) return PrintInfo(options.files);

    BatchConversion batch;
    if (std::string error = Configure(options, batch); !error.empty()) return UsageError(error);
    InstallInterruptHandler(batch);
    ConsoleMonitor monitor(!options.quiet, !options.quiet && isatty(STDERR_FILENO));
    const BatchSummary summary = batch.Run(monitor);
    monitor.Finish();
    if (summary.cancelled) return kExitInterrupted;
    return summary.failed > 0 ? kExitFailed : kExitOk;
}
