// kelvane-batch: converts sound files through a chain of filters into one output format,
// without the editor, several files at a time. Exit status: 0 every file converted, 1 some
// file failed, 2 usage error, 130 interrupted.

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "FileInfo.h"
#include "ParallelRun.h"
#include "ReportFile.h"
#include "batch/BatchConversion.h"
#include "batch/BatchInputs.h"
#include "batch/BatchOptions.h"
#include "formats/RawFile.h"
#include "platform/profile/TempStorageSettings.h"
#include "wavedata/TempFolder.h"

namespace {

using namespace kelvane;

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitInterrupted = 130;

// Set before the handler is installed; the handler only stores to lock-free atomics: every
// worker's own cancel flag first, then the run's, which the runner reads with acquire.
std::atomic<bool> g_interrupted{false};
std::atomic<bool>* const* g_cancelFlags = nullptr;
std::atomic<std::size_t> g_cancelFlagCount{0};
static_assert(std::atomic<bool>::is_always_lock_free);
static_assert(std::atomic<std::size_t>::is_always_lock_free);

extern "C" void OnInterrupt(int) {
    const std::size_t count = g_cancelFlagCount.load();
    for (std::size_t i = 0; i < count; ++i)
        g_cancelFlags[i]->store(true, std::memory_order_relaxed);
    g_interrupted.store(true, std::memory_order_release);
}

// The first Ctrl+C finishes each worker's current step and ends the run; a second one ends
// the process.
void InstallInterruptHandler(const std::vector<std::atomic<bool>*>& flags) {
    g_cancelFlags = flags.data();
    g_cancelFlagCount = flags.size();
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

int PrintInfo(const std::vector<std::string>& files, const RawParams* raw) {
    int status = kExitOk;
    for (const std::string& path : files) {
        std::string text;
        if (DescribeSoundFile(path, raw, text)) {
            std::printf("%s\n%s", path.c_str(), text.c_str());
        } else {
            std::fprintf(stderr, "kelvane-batch: %s: %s\n", path.c_str(), text.c_str());
            status = kExitFailed;
        }
    }
    return status;
}

// One JSON object a line, failures included, so a script reads every file from one stream.
int PrintJsonInfo(const std::vector<std::string>& files, const RawParams* raw) {
    int status = kExitOk;
    for (const std::string& path : files) {
        std::string line;
        if (!DescribeSoundFileJson(path, raw, line)) status = kExitFailed;
        std::printf("%s\n", line.c_str());
    }
    return status;
}

struct Options {
    std::vector<std::string> files;
    std::string outputDir;
    std::string format = "wav";
    std::string subFormat;
    std::vector<std::string> filters;
    std::string raw;
    std::string filesFrom;
    std::string shard;
    std::string report;
    bool skipExisting = false;
    unsigned jobs = std::max(1u, std::thread::hardware_concurrency());
    bool info = false;
    bool json = false;
    bool quiet = false;
    bool noDither = false;
};

constexpr std::uint32_t kMaxRawRate = 1000000;

// "RATE,CODE,CHANNELS", CODE an entry of the raw-format list (1 to 6); empty on success.
std::string ParseRawOption(const std::string& text, RawParams& raw) {
    std::uint32_t values[3] = {};
    const char* at = text.data();
    const char* end = text.data() + text.size();
    for (int i = 0; i < 3; ++i) {
        const auto [ptr, ec] = std::from_chars(at, end, values[i]);
        const bool last = i == 2;
        if (ec != std::errc{} || (last ? ptr != end : ptr == end || *ptr != ','))
            return "--raw takes RATE,CODE,CHANNELS, e.g. 22050,3,2";
        at = ptr + 1;
    }
    raw.rate = values[0];
    raw.dataFormat = RawCodeOfListEntry(values[1]);
    raw.channels = values[2];
    if (raw.rate < 1 || raw.rate > kMaxRawRate)
        return "--raw: the rate is 1 to " + std::to_string(kMaxRawRate) + " Hz";
    if (raw.dataFormat == 0)
        return "--raw: the code is 1 to 6 (8-bit unsigned, 8-bit signed, 16-bit little-endian "
               "signed, 16-bit big-endian signed, 16-bit little-endian unsigned, 16-bit "
               "big-endian unsigned)";
    if (raw.channels < 1 || raw.channels > 2) return "--raw: channels are 1 or 2";
    return {};
}

// Builds a batch from the options; an empty string on success, else the usage error.
std::string Configure(const Options& options, const std::optional<RawParams>& raw,
                      BatchConversion& batch) {
    BatchFormat format{};
    if (!ParseBatchFormat(options.format, format))
        return "unknown output format '" + options.format +
               "' (wav, au, aif, ra, raw, flac, ogg, opus or mp3)";
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
    batch.SetSkipExisting(options.skipExisting);
    if (raw) batch.SetRawInput(*raw);
    batch.SetDither(!options.noDither);
    TempStorageSettings temp;
    temp.Load();
    batch.SetTempDirectory(TempFolderFor(temp.Apply()));
    return {};
}

// One batch per worker, each with its own filter settings files; never more than the files.
std::string MakeWorkers(const Options& options, const std::optional<RawParams>& raw,
                        std::vector<std::unique_ptr<BatchConversion>>& workers) {
    const std::size_t count = std::min<std::size_t>(options.jobs, options.files.size());
    for (std::size_t i = 0; i < count; ++i) {
        workers.push_back(std::make_unique<BatchConversion>());
        if (std::string error = Configure(options, raw, *workers.back()); !error.empty())
            return error;
    }
    return {};
}

const char* Environment(const char* name) {
    return std::getenv(name);
}

// Adds the names listed in --files-from, then keeps this process's --shard of them; an empty
// string on success, else the usage error.
std::string GatherInputs(Options& options) {
    std::vector<std::string> lines;
    if (!options.filesFrom.empty()) {
        const bool standardInput = options.filesFrom == "-";
        std::ifstream file;
        if (!standardInput) file.open(options.filesFrom, std::ios::binary);
        if (!standardInput && !file.is_open())
            return "cannot read the list '" + options.filesFrom + "': " + std::strerror(errno);
        std::istream& in = standardInput ? std::cin : file;
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        if (std::string error = SplitLines(text, lines); !error.empty())
            return (standardInput ? "the list on standard input" : options.filesFrom) + ": " +
                   error;
        for (const std::string& line : lines)
            if (!line.empty()) options.files.push_back(line);
    }
    if (!options.shard.empty()) {
        BatchShard shard;
        if (std::string error = ParseShard(options.shard, Environment, shard); !error.empty())
            return error;
        options.files = ShareOf(std::move(options.files), shard);
    }
    if (std::string error = FindSplitName(lines, options.files); !error.empty())
        return (options.filesFrom == "-" ? "the list on standard input" : options.filesFrom) +
               ": " + error;
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    CLI::App app{
        "Converts sound files (wav, au, snd, aif, aiff, aifc, caf, w64, rf64, flac, ogg, opus, "
        "mp1, "
        "mp2, mp3, or raw samples) through "
        "a chain of filters into one output format, several files at a time.",
        "kelvane-batch"};
    app.set_version_flag("--version", "kelvane-batch " KELVANE_VERSION);
    app.add_option("files", options.files,
                   "Input sound files (or, with --info, files to describe)");
    app.add_option("-o,--output-dir", options.outputDir, "Output folder (default: the current one)")
        ->check(CLI::ExistingDirectory);
    app.add_option("-f,--format", options.format,
                   "Output format: wav, au, aif, ra, raw, flac, ogg, opus or mp3")
        ->capture_default_str();
    app.add_option("--subformat", options.subFormat,
                   "wav: TAG[:RATE[:CHANNELS[:BITS]]] with TAG pcm, mulaw, alaw, ima-adpcm, "
                   "ms-adpcm or gsm; au: linear, mulaw or alaw; ra: method 0-9; raw: a CODE as "
                   "--raw takes it; flac: compression level 0-8 (default 5); ogg: quality 0-10 "
                   "(default 5); opus: bit rate in kbit/s, 6-256 (default 128; rates Opus does "
                   "not take are resampled to 48000 Hz); mp3: vN for variable bit rate at "
                   "quality N, 0 best to 9 (default v2), or a constant bit rate in kbit/s, "
                   "32-320");
    app.add_option("--filter", options.filters,
                   "NAME[:KEY=VALUE,...], repeatable, in chain order; NAME one of center, "
                   "convert, volume, swap, reverse, normalize, echo, pitch, chorus, stretch")
        ->take_all()
        ->expected(1)
        ->allow_extra_args(false);
    app.add_option("-j,--jobs", options.jobs, "Files converted at once (default: one per core)")
        ->check(CLI::Range(1u, 1024u))
        ->capture_default_str();
    app.add_option("--raw", options.raw,
                   "RATE,CODE,CHANNELS: read files whose extension is none of the above as raw "
                   "samples; CODE 1 8-bit unsigned, 2 8-bit signed, 3 16-bit little-endian "
                   "signed, 4 16-bit big-endian signed, 5 16-bit little-endian unsigned, 6 "
                   "16-bit big-endian unsigned");
    auto* info =
        app.add_flag("--info", options.info,
                     "Print format, length, title and engineer of each file instead of converting");
    app.add_flag("--json", options.json,
                 "With --info: one JSON object a line per file (type, format, rate, bits, "
                 "channels, frames, seconds, INFO texts)")
        ->needs(info);
    app.add_flag("-q,--quiet", options.quiet, "Print neither the log nor the progress bar");
    app.add_flag("--no-dither", options.noDither,
                 "Round samples of more than 16 bits (24-bit, float, FLAC, Ogg) to 16 bits "
                 "instead of dithering them");
    app.add_option("--files-from", options.filesFrom,
                   "Also take the input files listed in FILE (- for standard input), one name a "
                   "line; empty lines are ignored")
        ->type_name("FILE");
    app.add_option("--shard", options.shard,
                   "Convert only share K of N (K from 0 to N-1) of the inputs, so that N "
                   "processes given the same list, in any order, convert every file once "
                   "between them (a name listed twice is converted once); 'slurm' takes K and "
                   "N from the task of a Slurm job array")
        ->type_name("K/N|slurm");
    auto* skipExisting = app.add_flag(
        "--skip-existing", options.skipExisting,
        "Do not convert an input whose output file already exists (outputs are written whole "
        "or not at all), so an interrupted run can simply be started again");
    auto* report = app.add_option("--report", options.report,
                                  "Append one JSON object a line per input to FILE (input, output, "
                                  "status and its text, error, seconds, frames); many processes "
                                  "may share one FILE")
                       ->type_name("FILE");
    skipExisting->excludes(info);
    report->excludes(info);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        return UsageError(e.what());
    }

    if (std::string error = GatherInputs(options); !error.empty()) return UsageError(error);
    // A share or a list may be empty: there is nothing to do, which is no error.
    if (options.files.empty())
        return options.shard.empty() && options.filesFrom.empty() ? UsageError("no input files")
                                                                  : kExitOk;
    std::optional<RawParams> raw;
    if (!options.raw.empty()) {
        if (std::string error = ParseRawOption(options.raw, raw.emplace()); !error.empty())
            return UsageError(error);
    }
    const RawParams* rawParams = raw ? &*raw : nullptr;
    if (options.info)
        return options.json ? PrintJsonInfo(options.files, rawParams)
                            : PrintInfo(options.files, rawParams);

    std::vector<std::unique_ptr<BatchConversion>> workers;
    if (std::string error = MakeWorkers(options, raw, workers); !error.empty())
        return UsageError(error);
    ReportFile reportFile;
    if (!options.report.empty()) {
        if (std::string error = reportFile.Open(options.report); !error.empty())
            return UsageError("cannot open the report '" + options.report + "': " + error);
    }
    std::vector<std::atomic<bool>*> flags;
    for (auto& worker : workers) flags.push_back(&worker->CancelFlag());
    InstallInterruptHandler(flags);
    ParallelRun run(std::move(workers), options.files, g_interrupted,
                    options.report.empty() ? nullptr : &reportFile);
    const BatchSummary summary = run.Run(!options.quiet, !options.quiet && isatty(STDERR_FILENO));
    // The worker threads have ended; the handler must not reach the batches `run` frees.
    g_cancelFlagCount.store(0);
    if (!run.ReportError().empty()) {
        std::fprintf(stderr, "kelvane-batch: cannot write the report '%s': %s\n",
                     options.report.c_str(), run.ReportError().c_str());
        if (!summary.cancelled) return kExitFailed;
    }
    if (summary.cancelled) return kExitInterrupted;
    return summary.failed > 0 ? kExitFailed : kExitOk;
}
