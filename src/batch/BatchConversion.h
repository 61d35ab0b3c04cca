#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "batch/BatchMonitor.h"
#include "batch/FilterEntry.h"
#include "batch/FilterGate.h"
#include "formats/EncoderSettings.h"
#include "formats/FileError.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

// Output formats of a batch run, in the order of the format list.
enum class BatchFormat : int {
    Wave = 0,
    Au = 1,
    Aiff = 2,
    RealAudio = 3,
    Raw = 4,
    Flac = 5,
    Ogg = 6,
    Opus = 7,
    Mp3 = 8
};
inline constexpr int kBatchFormatCount = 9;
// "wav", "au", "aif", "ra", "raw", "flac", "ogg", "opus", "mp3"
[[nodiscard]] const char* BatchExtension(BatchFormat format);
// The file layer's save type of a format (RealAudio, which is exported, gives kFileWave).
[[nodiscard]] std::uint32_t BatchSaveType(BatchFormat format);

// The default RealAudio method of a batch run: "Real Audio 2.0 - 14.4".
inline constexpr std::uint32_t kBatchRealAudioMethod = 9;

struct BatchSummary {
    std::uint32_t converted = 0;  // files saved
    std::uint32_t failed = 0;     // files not loaded, not processed or not saved
    std::uint32_t skipped = 0;    // files whose output was already there
    bool cancelled = false;
};

// What became of one input file, as a report gives it.
enum class BatchFileStatus : std::uint32_t {
    Converted = 0,
    Skipped = 1,  // its output already existed
    LoadFailed = 2,
    FilterFailed = 3,
    SaveFailed = 4,
    Cancelled = 5,  // stopped before its output was written
};
[[nodiscard]] const char* BatchFileStatusText(BatchFileStatus status);

struct BatchFileResult {
    BatchFileStatus status = BatchFileStatus::Cancelled;
    std::string error;         // the load or save error text of a failure
    std::uint32_t frames = 0;  // of the sound saved
};

// One batch conversion: input files, a chain of filters each with its own settings file, an
// output format with an optional sub-format, and an output folder. Run converts every file
// in one pass; Cancel (safe from another thread or a signal handler) ends the run at its next
// check, after the step in progress.
class BatchConversion {
  public:
    BatchConversion() = default;
    BatchConversion(const BatchConversion&) = delete;
    BatchConversion& operator=(const BatchConversion&) = delete;

    void AddInput(std::string path) { inputs_.push_back(std::move(path)); }
    void RemoveInput(std::size_t index);
    [[nodiscard]] const std::vector<std::string>& Inputs() const { return inputs_; }

    // Appends filter `filter` with a fresh, empty settings file; null when it cannot be made.
    FilterEntry* AddFilter(int filter);
    // Removes the entry and its settings file.
    void RemoveFilter(std::size_t index);
    [[nodiscard]] const std::vector<std::unique_ptr<FilterEntry>>& Chain() const { return chain_; }

    // Choosing a format discards the sub-format chosen before.
    void SetOutputFormat(BatchFormat format);
    [[nodiscard]] BatchFormat OutputFormat() const { return format_; }
    // Wave: the compressed (or PCM) target format, extra bytes included.
    void SetWaveSubFormat(const WaveFormat& format);
    // Wave: a target made for each sound from its own format (null: the target cannot be had,
    // and the save fails as an unsupported sub-format).
    using WaveTargetFn = std::function<FormatPtr(const WaveFormat& sound)>;
    void SetWaveTarget(WaveTargetFn target);
    // AU: 0 linear, 1 Mu-Law, 2 A-law; RealAudio: the method 0 to 9; raw: SampleCode 1 to 6.
    void SetSubFormatNumber(std::uint32_t number);
    [[nodiscard]] bool HasSubFormat() const { return hasSubFormat_; }
    [[nodiscard]] std::uint32_t SubFormatNumber() const { return subFormatNumber_; }
    // FLAC, Ogg Vorbis, Opus and MP3: the encoder's settings (the defaults until set).
    void SetEncoderSettings(const EncoderSettings& settings) { encoder_ = settings; }
    [[nodiscard]] const EncoderSettings& Encoder() const { return encoder_; }
    // The Wave writer converts in one codec step, which cannot also change the rate or the
    // channels of a compressed target. When set, a sound is first resampled to such a
    // target's rate and channels (the command line sets it; the dialog's run does not).
    void SetResampleForTarget(bool on) { resampleForTarget_ = on; }

    // An empty folder writes to the current one.
    void SetOutputFolder(std::string folder);
    [[nodiscard]] const std::string& OutputFolder() const { return outputFolder_; }
    // Where the waves keep their temporary sample files ("" for the system's).
    void SetTempDirectory(std::string directory) { tempDirectory_ = std::move(directory); }
    // When set, an input whose output already exists is skipped: outputs are written whole
    // under another name and renamed into place, so an existing one is complete.
    void SetSkipExisting(bool on) { skipExisting_ = on; }
    // Inputs whose extension names no file type are read as raw samples with these parameters
    // (the command line's; the dialog's run never sets them).
    void SetRawInput(const RawParams& raw) { rawInput_ = raw; }
    // Samples of more than 16 bits are dithered to 16 (the default) or rounded.
    void SetDither(bool on) { dither_ = on; }

    // The output name of an input: folder + base name + "." + the format's extension.
    [[nodiscard]] std::string OutputName(const std::string& input) const;

    void Cancel() { cancel_.store(true, std::memory_order_relaxed); }
    [[nodiscard]] bool IsCancelled() const { return cancel_.load(std::memory_order_relaxed); }
    // For a signal handler: storing true is all it may do.
    [[nodiscard]] std::atomic<bool>& CancelFlag() { return cancel_; }

    // Converts every input; an empty input list does nothing at all.
    BatchSummary Run(BatchMonitor& monitor);

    // Converts one file as Run does, logging its messages but not the run's end; `cancelled`
    // says the cancel flag stopped it. A runner that spreads files over threads gives each
    // thread a BatchConversion of its own, and may pass a gate to order filter steps.
    // `result`, when given, receives what became of the file.
    BatchSummary ConvertFile(const std::string& path, BatchMonitor& monitor,
                             FilterGate* gate = nullptr, BatchFileResult* result = nullptr);

  private:
    enum class Step { Next, Stop };
    Step ConvertOne(const std::string& path, BatchMonitor& monitor, BatchSummary& summary,
                    FilterGate* gate, BatchFileResult& result);
    FileError LoadInput(WaveObject& wave, const std::string& path, BatchMonitor& monitor) const;
    bool SaveWave(WaveObject& wave, const std::string& output, BatchMonitor& monitor,
                  std::string& errorText);
    [[nodiscard]] SaveOption SaveOptionFor(const WaveObject& wave) const;
    FileError SaveConvertedWave(WaveObject& wave, const std::string& output, BatchMonitor& monitor);

    std::vector<std::string> inputs_;
    std::vector<std::unique_ptr<FilterEntry>> chain_;
    BatchFormat format_ = BatchFormat::Wave;
    bool hasSubFormat_ = false;
    WaveTargetFn waveTarget_;
    bool resampleForTarget_ = false;
    bool skipExisting_ = false;
    std::uint32_t subFormatNumber_ = 0;
    EncoderSettings encoder_;
    std::string outputFolder_;
    std::string tempDirectory_;
    std::optional<RawParams> rawInput_;
    bool dither_ = true;
    std::atomic<bool> cancel_{false};
};

}  // namespace kelvane
