#include "batch/BatchConversion.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "batch/BatchFilters.h"
#include "formats/FileError.h"
#include "formats/OutputFile.h"
#include "formats/RealAudioExport.h"
#include "formats/WaveFile.h"
#include "formats/streams/BlockStream.h"
#include "formats/streams/ConvertStream.h"
#include "processing/EffectResult.h"
#include "resources/Strings.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

namespace {

constexpr std::uint32_t kProgramTitle = 57344;
constexpr std::uint32_t kLoadingText = 166;
constexpr std::uint32_t kSavingText = 168;
constexpr std::uint32_t kCannotLoad = 2000;
constexpr std::uint32_t kCannotFilter = 2001;
constexpr std::uint32_t kCannotSave = 2002;
constexpr std::uint32_t kFileDone = 2003;
constexpr std::uint32_t kAllDone = 2004;
constexpr std::uint32_t kCancelled = 2005;
constexpr std::uint32_t kSkipped = 2006;

constexpr const char* kExtensions[kBatchFormatCount] = {"wav",  "au",  "aif",  "ra", "raw",
                                                        "flac", "ogg", "opus", "mp3"};
constexpr const char* kStatusTexts[] = {"converted",     "skipped",     "load failed",
                                        "filter failed", "save failed", "cancelled"};

// Every load and save reports its percentage to the current-step bar, whatever the phase.
bool ForwardPercent(void* context, std::uint32_t /*phase*/, std::uint32_t percent) {
    static_cast<BatchMonitor*>(context)->SetPos(static_cast<int>(percent));
    return true;
}

// The sound as 16-bit PCM at another rate or channel count, in temporary storage; null when
// it cannot be had.
std::unique_ptr<WaveObject> Resampled(const WaveObject& wave, const WaveFormat& pcm,
                                      const std::string& tempDirectory) {
    if (!wave.format || !wave.data) return nullptr;
    auto block = std::make_unique<BorrowedBlock>(wave.data, wave.dataBytes, false, true);
    ConvertStream source(*wave.format, pcm, std::make_unique<BlockStream>(std::move(block)));
    if (!source.IsOk()) return nullptr;
    auto result = std::make_unique<WaveObject>(1, tempDirectory.c_str());
    if (!result->Allocate(pcm, source.Size() / pcm.blockAlign)) return nullptr;
    std::uint32_t got = 0;
    for (std::uint32_t n; got < result->dataBytes &&
                          (n = source.Read(result->data + got, result->dataBytes - got)) > 0;)
        got += n;
    result->dataBytes = got - got % pcm.blockAlign;  // the estimate may run a little long
    result->CopyInfo(&wave);
    return result;
}

// The RealAudio encoder writes its file in place. It gets an unused hidden name beside the
// output instead, renamed over the output once complete, as the other writers do, so an
// output that exists is always whole (--skip-existing relies on it).
RealAudioResult ExportRealAudioWhole(const std::string& output, std::uint32_t method,
                                     const WaveObject& wave, ProgressIndicator& progress) {
    const std::size_t slash = output.rfind('/');
    std::string part = output.substr(0, slash + 1) + "." + output.substr(slash + 1) + ".XXXXXX";
    const int fd = ::mkstemp(part.data());
    if (fd < 0) return RealAudioResult::OutputFile;
    ::close(fd);
    // Removed again so that the encoder creates it with the usual permissions.
    std::remove(part.c_str());
    RealAudioResult result = ExportRealAudio(part, method, wave, progress);
    if (result == RealAudioResult::Success && std::rename(part.c_str(), output.c_str()) != 0)
        result = RealAudioResult::OutputFile;
    if (result != RealAudioResult::Success) std::remove(part.c_str());
    return result;
}

// Holds a file's turn at a gate for one filter step.
class GateTurn {
  public:
    GateTurn(FilterGate* gate, std::size_t step, int filter)
        : gate_(gate), step_(step), filter_(filter) {
        if (gate_) gate_->Enter(step_, filter_);
    }
    ~GateTurn() {
        if (gate_) gate_->Leave(step_, filter_);
    }
    GateTurn(const GateTurn&) = delete;
    GateTurn& operator=(const GateTurn&) = delete;

  private:
    FilterGate* gate_;
    std::size_t step_;
    int filter_;
};

}  // namespace

const char* BatchExtension(BatchFormat format) {
    const int i = static_cast<int>(format);
    return i >= 0 && i < kBatchFormatCount ? kExtensions[i] : "";
}

const char* BatchFileStatusText(BatchFileStatus status) {
    const auto i = static_cast<std::size_t>(status);
    return i < std::size(kStatusTexts) ? kStatusTexts[i] : "";
}

void BatchConversion::RemoveInput(std::size_t index) {
    if (index < inputs_.size()) inputs_.erase(inputs_.begin() + static_cast<std::ptrdiff_t>(index));
}

FilterEntry* BatchConversion::AddFilter(int filter) {
    auto entry = FilterEntry::Create(filter);
    if (!entry) return nullptr;
    chain_.push_back(std::move(entry));
    return chain_.back().get();
}

void BatchConversion::RemoveFilter(std::size_t index) {
    if (index < chain_.size()) chain_.erase(chain_.begin() + static_cast<std::ptrdiff_t>(index));
}

void BatchConversion::SetOutputFormat(BatchFormat format) {
    format_ = format;
    hasSubFormat_ = false;
    waveTarget_ = nullptr;
    subFormatNumber_ = 0;
    encoder_ = {};
}

void BatchConversion::SetWaveSubFormat(const WaveFormat& format) {
    std::shared_ptr<const WaveFormat> chosen(CopyFormat(format).release(), FormatDeleter{});
    SetWaveTarget([chosen](const WaveFormat&) { return CopyFormat(*chosen); });
}

void BatchConversion::SetWaveTarget(WaveTargetFn target) {
    waveTarget_ = std::move(target);
    hasSubFormat_ = static_cast<bool>(waveTarget_);
}

void BatchConversion::SetSubFormatNumber(std::uint32_t number) {
    subFormatNumber_ = number;
    hasSubFormat_ = true;
}

void BatchConversion::SetOutputFolder(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    outputFolder_ = std::move(folder);
}

std::string BatchConversion::OutputName(const std::string& input) const {
    return outputFolder_ + FileTitle(input) + "." + BatchExtension(format_);
}

BatchSummary BatchConversion::Run(BatchMonitor& monitor) {
    BatchSummary summary;
    if (inputs_.empty()) return summary;
    const auto files = static_cast<int>(inputs_.size());
    int overall = 0;
    for (const std::string& path : inputs_) {
        monitor.SetFileText(path);
        monitor.SetOverallPos(overall / files);
        BatchFileResult result;
        if (ConvertOne(path, monitor, summary, nullptr, result) == Step::Stop) break;
        overall += 100;
    }
    summary.cancelled = IsCancelled();
    const std::string end(LoadString(summary.cancelled ? kCancelled : kAllDone));
    monitor.AppendLog(end);
    cancel_.store(false, std::memory_order_relaxed);
    monitor.SetText("");
    monitor.SetFileText(end);
    if (!summary.cancelled) monitor.SetOverallPos(100);
    return summary;
}

BatchSummary BatchConversion::ConvertFile(const std::string& path, BatchMonitor& monitor,
                                          FilterGate* gate, BatchFileResult* result) {
    BatchSummary summary;
    BatchFileResult own;
    summary.cancelled =
        ConvertOne(path, monitor, summary, gate, result ? *result : own) == Step::Stop;
    return summary;
}

namespace {

bool FinishDirect(WaveObject& wave, OutputFile& file, const std::string& output,
                  std::string& errorText) {
    const FileError saved = FinishWaveAround(wave, file, output);
    errorText = FileErrorText(saved);
    return saved == FileError::Success;
}

}  // namespace

FileError BatchConversion::LoadInput(WaveObject& wave, const std::string& path,
                                     BatchMonitor& monitor) const {
    const std::uint32_t flags =
        LOAD_READ_ONLY | LOAD_CONVERT_TO_PCM | (dither_ ? 0 : LOAD_NO_DITHER);
    if (rawInput_ && LoadTypeOfName(path) == 0)
        return wave.Load(path, kFileRawLoad | flags, &*rawInput_, ForwardPercent, &monitor);
    return wave.Load(path, flags, nullptr, ForwardPercent, &monitor);
}

BatchConversion::Step BatchConversion::ConvertOne(const std::string& path, BatchMonitor& monitor,
                                                  BatchSummary& summary, FilterGate* gate,
                                                  BatchFileResult& result) {
    result = {};
    // Any entry counts, a folder too: converting could not replace it anyway.
    std::error_code error;
    if (skipExisting_ && std::filesystem::exists(OutputName(path), error)) {
        monitor.AppendLog(FormatString(kSkipped, path.c_str(), OutputName(path).c_str()));
        result.status = BatchFileStatus::Skipped;
        ++summary.skipped;
        return Step::Next;
    }
    auto wave = std::make_unique<WaveObject>(1, tempDirectory_.c_str());
    monitor.SetText(LoadString(kLoadingText));
    const FileError loaded = LoadInput(*wave, path, monitor);
    if (loaded != FileError::Success) {
        const std::string text(FileErrorText(loaded));
        monitor.AppendLog(FormatString(kCannotLoad, path.c_str(), text.c_str()));
        result = {BatchFileStatus::LoadFailed, text, 0};
        wave.reset();
        ++summary.failed;
    }
    if (IsCancelled()) return Step::Stop;

    // The last step of the chain writes its frames straight into the Wave file that replaces
    // the output, instead of into temporary storage that is then copied out.
    std::optional<OutputFile> direct;
    ResultTarget target;
    for (std::size_t step = 0; step < chain_.size() && wave; ++step) {
        const FilterEntry& entry = *chain_[step];
        const GateTurn turn(gate, step, entry.Filter());
        if (IsCancelled()) return Step::Stop;
        monitor.SetText(BatchFilterName(entry.Filter()));
        if (step + 1 == chain_.size() && format_ == BatchFormat::Wave && !hasSubFormat_) {
            direct.emplace(OutputName(path), OutputFile::Mode::Replace);
            if (direct->IsOpen()) target = {wave.get(), direct->Path(), WaveHeaderBytes, nullptr};
        }
        const ScopedResultTarget directResults(target);
        wave = ApplyBatchFilter(entry.Filter(), *wave, {entry.SettingsFile(), kBatchSection},
                                &monitor);
        if (!wave) {
            monitor.AppendLog(FormatString(kCannotFilter, path.c_str()));
            result.status = BatchFileStatus::FilterFailed;
            ++summary.failed;
        }
    }
    if (IsCancelled()) return Step::Stop;

    if (wave) {
        wave->SetInfo("ISFT", std::string(LoadString(kProgramTitle)).c_str());
        const std::string output = OutputName(path);
        monitor.SetText(LoadString(kSavingText));
        std::string errorText;
        const bool written = wave->storage && wave->storage.get() == target.made
                                 ? FinishDirect(*wave, *direct, output, errorText)
                                 : SaveWave(*wave, output, monitor, errorText);
        if (written) {
            monitor.AppendLog(FormatString(kFileDone, path.c_str()));
            result = {BatchFileStatus::Converted, {}, wave->FrameCount()};
            ++summary.converted;
        } else {
            // Writers leave no partial file; the name may be an earlier file or the input.
            monitor.AppendLog(FormatString(kCannotSave, output.c_str(), errorText.c_str()));
            result = {BatchFileStatus::SaveFailed, errorText, 0};
            ++summary.failed;
        }
    }
    wave.reset();
    return IsCancelled() ? Step::Stop : Step::Next;
}

bool BatchConversion::SaveWave(WaveObject& wave, const std::string& output, BatchMonitor& monitor,
                               std::string& errorText) {
    if (format_ == BatchFormat::RealAudio) {
        const std::uint32_t method = hasSubFormat_ ? subFormatNumber_ : kBatchRealAudioMethod;
        const RealAudioResult result = ExportRealAudioWhole(output, method, wave, monitor);
        errorText = RealAudioErrorText(result);
        return result == RealAudioResult::Success;
    }
    const FileError saved = format_ == BatchFormat::Wave && hasSubFormat_
                                ? SaveConvertedWave(wave, output, monitor)
                                : wave.Save(output, BatchSaveType(format_), SaveOptionFor(wave),
                                            ForwardPercent, &monitor);
    errorText = FileErrorText(saved);
    return saved == FileError::Success;
}

std::uint32_t BatchSaveType(BatchFormat format) {
    switch (format) {
        case BatchFormat::Au:
            return kFileAu;
        case BatchFormat::Aiff:
            return kFileAiff;
        case BatchFormat::Raw:
            return kFileRawSave;
        case BatchFormat::Flac:
            return kFileFlac;
        case BatchFormat::Ogg:
            return kFileOgg;
        case BatchFormat::Opus:
            return kFileOpus;
        case BatchFormat::Mp3:
            return kFileMp3;
        default:
            return kFileWave;
    }
}

SaveOption BatchConversion::SaveOptionFor(const WaveObject& wave) const {
    SaveOption option;
    option.encoder = &encoder_;
    if (format_ == BatchFormat::Au) option.code = hasSubFormat_ ? subFormatNumber_ : 0;
    if (format_ == BatchFormat::Raw) {
        const bool eightBit = wave.format && wave.format->bitsPerSample == 8;
        const auto fallback = eightBit ? SampleCode::Unsigned8 : SampleCode::Signed16LE;
        option.code = hasSubFormat_ ? subFormatNumber_ : static_cast<std::uint32_t>(fallback);
    }
    return option;
}

FileError BatchConversion::SaveConvertedWave(WaveObject& wave, const std::string& output,
                                             BatchMonitor& monitor) {
    const FormatPtr target = wave.format ? waveTarget_(*wave.format) : nullptr;
    if (!target) return FileError::Unsupported;
    SaveOption option;
    option.target = target.get();
    const bool resample = resampleForTarget_ && target->formatTag != kTagPcm &&
                          (target->samplesPerSec != wave.format->samplesPerSec ||
                           target->channels != wave.format->channels);
    if (!resample) return wave.Save(output, kFileWave, option, ForwardPercent, &monitor);
    const auto pcm =
        Resampled(wave, PcmFormat(target->samplesPerSec, 16, target->channels), tempDirectory_);
    if (!pcm) return FileError::NoMemory;
    return pcm->Save(output, kFileWave, option, ForwardPercent, &monitor);
}

}  // namespace kelvane
