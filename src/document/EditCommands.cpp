#include "document/EditCommands.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <span>
#include <vector>

#include "document/OrvaneDoc.h"
#include "processing/EffectResult.h"
#include "processing/FormatConversion.h"
#include "resources/Strings.h"
#include "ui/AppState.h"
#include "ui/DialogHost.h"

namespace kelvane {

namespace {

constexpr std::uint32_t kTransferText = 163;
constexpr std::uint32_t kGeneratingText = 164;
constexpr std::uint32_t kConvertingText = 188;
constexpr std::uint32_t kNoSpaceMessage = 1003;
// Copies up to this many bytes are too quick to be worth a progress window.
constexpr std::uint32_t kQuietCopyBytes = 0x40000;

// The first view's progress window for the life of the object.
class ProgressWindow {
  public:
    explicit ProgressWindow(COrvaneDoc& doc) : view_(doc.GetView()) {
        if (view_) view_->BeginProgress();
    }
    ProgressWindow(COrvaneDoc& doc, std::uint32_t textId) : ProgressWindow(doc) { SetText(textId); }
    ~ProgressWindow() {
        if (view_) view_->EndProgress();
    }
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    void SetText(std::uint32_t textId) {
        if (view_) view_->SetProgressText(LoadString(textId));
    }
    [[nodiscard]] ProgressIndicator* Indicator() const {
        return view_ ? view_->Progress() : nullptr;
    }
    [[nodiscard]] bool Cancelled() const { return Indicator() && Indicator()->Cancelled(); }

  private:
    DocumentView* view_;
};

// The selection clamped to the sound: after Record it may lie beyond the end.
struct Selection {
    std::uint32_t start;
    std::uint32_t length;
    [[nodiscard]] std::uint32_t end() const { return start + length; }
};

Selection SelectionOf(const COrvaneDoc& doc) {
    const std::uint32_t n = doc.Length();
    const std::uint32_t start = std::min(doc.m_nSelStart, n);
    return {start, std::min(doc.m_nSelLength, n - start)};
}

// Whether the sound's frames can be reached as bytes (an empty sound has none to reach).
bool HasBytes(const WaveObject& wave) {
    return wave.format && (wave.data != nullptr || wave.FrameCount() == 0);
}

std::uint8_t* FrameAt(const WaveObject& wave, std::uint32_t frame) {
    return wave.data + std::size_t{wave.format->blockAlign} * frame;
}

std::uint32_t BytesOf(const WaveObject& wave, std::uint32_t frames) {
    return wave.format->blockAlign * frames;
}

// `frames` frames of the source's format in new temporary storage, or false when there is no
// room: the `kept` runs are the source's frames, and what is not shared with the source is left
// in `toCopy` (see CopyRuns). The byte copies address frames by block alignment, so a format
// whose storage is not block alignment × frames (no PCM layout) is refused too.
bool AllocateKeeping(WaveObject& wave, const WaveObject& source, std::uint64_t frames,
                     std::span<const KeptRun> kept, std::vector<KeptRun>& toCopy) {
    if (frames > 0xFFFFFFFFu) return false;
    if (!wave.AllocateSharing(source, static_cast<std::uint32_t>(frames), kept, toCopy))
        return false;
    return wave.dataBytes == source.format->blockAlign * frames;
}

std::unique_ptr<WaveObject> NewWaveKeeping(const WaveObject& source, std::uint64_t frames,
                                           std::span<const KeptRun> kept,
                                           std::vector<KeptRun>& toCopy) {
    auto wave = std::make_unique<WaveObject>(1, App().tempDir.c_str());
    if (!AllocateKeeping(*wave, source, frames, kept, toCopy)) return nullptr;
    return wave;
}

std::uint64_t BytesIn(std::span<const KeptRun> runs) {
    std::uint64_t bytes = 0;
    for (const KeptRun& run : runs) bytes += run.count;
    return bytes;
}

// The byte runs AllocateKeeping left, copied with the progress bar going from `first` to
// `last` percent; false when the person cancelled.
bool CopyRuns(COrvaneDoc& doc, WaveObject& target, const WaveObject& source,
              std::span<const KeptRun> runs, int first, int last) {
    const std::uint64_t total = BytesIn(runs);
    std::uint64_t done = 0;
    for (const KeptRun& run : runs) {
        const int from = first + static_cast<int>((last - first) * done / total);
        done += run.count;
        const int to = first + static_cast<int>((last - first) * done / total);
        if (!doc.CopyWithProgress(target.data + run.to, source.data + run.from,
                                  static_cast<std::uint32_t>(run.count), from, to))
            return false;
    }
    return true;
}

// The clipboard sound in the document's format: the clipboard's own bytes when rate, channels
// and sample size agree, a converted copy otherwise. Null when there is none.
std::unique_ptr<WaveObject> SourceFor(const WaveFormat& to, ProgressWindow& progress) {
    const WaveObject* clip = App().clipboardWave.get();
    if (!ClipboardHasData() || !clip->format || !clip->data) return nullptr;
    const WaveFormat& from = *clip->format;
    if (from.samplesPerSec == to.samplesPerSec && from.channels == to.channels &&
        from.bitsPerSample == to.bitsPerSample) {
        auto attached = std::make_unique<WaveObject>(0);
        attached->AttachBuffer(from, clip->data, clip->dataBytes);
        return attached;
    }
    progress.SetText(kConvertingText);
    FormatConversionEffect conversion(SettingsPlace{});
    conversion.settings = {static_cast<int>(to.samplesPerSec), to.channels, to.bitsPerSample};
    auto converted = conversion.Process(*clip, progress.Indicator());
    // The copies below take the source's frames as the document's.
    if (converted && (converted->frameLayout != FrameLayoutOf(&to) ||
                      converted->format->blockAlign != to.blockAlign))
        converted.reset();
    return converted;
}

// What every change ends with: the new position or selection to every view, the modified
// flag, and a rebuild of the window that ran the command.
void Finish(COrvaneDoc& doc, DocumentView* view, std::uint32_t start, std::uint32_t length) {
    doc.m_nSelStart = start;
    doc.m_nSelLength = length;
    doc.UpdateAllViews(HINT_SELECTION);
    doc.SetModifiedFlag(true);
    if (!view) view = doc.GetView();
    if (view) view->OnUpdate(HINT_WAVE_CHANGED);
}

bool Fail() {
    MessageBox(kNoSpaceMessage);
    return false;
}

template <FrameLayout L>
void MixFrames(const WaveObject& wave, std::uint32_t waveLength, const WaveObject& source,
               std::uint32_t at, WaveObject& out, std::uint32_t first, std::uint32_t last) {
    const std::uint32_t sourceLength = source.FrameCount();
    for (std::uint32_t i = first; i < last; ++i) {
        FrameValue v = i < waveLength ? ReadFrame<L>(wave.data, i) : 0;
        if (i >= at && i - at < sourceLength) {
            const FrameValue add = ReadFrame<L>(source.data, i - at);
            v = PackFrame(Clamp16(LeftOf(v) + LeftOf(add)), Clamp16(RightOf(v) + RightOf(add)));
        }
        WriteFrame<L>(out.data, i, v);
    }
}

}  // namespace

bool ClipboardHasData() {
    const WaveObject* clip = App().clipboardWave.get();
    if (!clip) return false;
    return (clip->mode == WaveMode::Resident && clip->dataBytes != 0) ||
           clip->mode == WaveMode::Streamed;
}

// The selection as a new clipboard sound; null when there is no room (the clipboard is then
// emptied) or when the copy was cancelled (the clipboard stays).
std::unique_ptr<WaveObject> CopySelection(COrvaneDoc& doc) {
    auto copy = std::make_unique<WaveObject>(1, App().tempDir.c_str());
    const WaveObject& wave = *doc.m_pWave;
    const Selection s = SelectionOf(doc);
    const KeptRun kept[] = {{0, s.start, s.length}};
    std::vector<KeptRun> toCopy;
    if (!HasBytes(wave) || !AllocateKeeping(*copy, wave, s.length, kept, toCopy)) {
        if (App().clipboardWave) App().clipboardWave->Reset();
        Fail();
        return nullptr;
    }
    std::optional<ProgressWindow> progress;
    if (BytesIn(toCopy) > kQuietCopyBytes) progress.emplace(doc, kTransferText);
    if (!CopyRuns(doc, *copy, wave, toCopy, 0, 100)) return nullptr;
    return copy;
}

bool EditCopy(COrvaneDoc& doc) {
    std::unique_ptr<WaveObject> copy = CopySelection(doc);
    if (!copy) return false;
    App().clipboardWave = std::move(copy);
    return true;
}

bool EditCut(COrvaneDoc& doc, DocumentView* view) {
    // The clipboard takes the copy only once the deletion stands, so Cancel in either step
    // leaves both as they were.
    std::unique_ptr<WaveObject> copy = CopySelection(doc);
    if (!copy) return false;
    std::swap(App().clipboardWave, copy);
    if (EditDelete(doc, view)) return true;
    std::swap(App().clipboardWave, copy);
    return false;
}

bool EditDelete(COrvaneDoc& doc, DocumentView* view) {
    const Selection s = SelectionOf(doc);
    if (s.length == 0) return false;
    const WaveObject& wave = *doc.m_pWave;
    ProgressWindow progress(doc, kGeneratingText);
    const std::uint32_t n = wave.FrameCount() - s.length;
    const KeptRun kept[] = {{0, 0, s.start}, {s.start, s.end(), n - s.start}};
    std::vector<KeptRun> toCopy;
    std::unique_ptr<WaveObject> result =
        HasBytes(wave) ? NewWaveKeeping(wave, n, kept, toCopy) : nullptr;
    if (!result) return Fail();
    if (!CopyRuns(doc, *result, wave, toCopy, 0, 100)) return false;
    result->CopyInfo(&wave);
    doc.ReplaceWave(std::move(result));
    Finish(doc, view, std::min(s.start, n), 0);
    return true;
}

bool EditPaste(COrvaneDoc& doc, DocumentView* view) {
    const WaveObject& wave = *doc.m_pWave;
    const Selection s = SelectionOf(doc);
    ProgressWindow progress(doc);
    std::unique_ptr<WaveObject> source =
        HasBytes(wave) ? SourceFor(*wave.format, progress) : nullptr;
    if (progress.Cancelled()) return false;
    if (!source) return Fail();
    progress.SetText(kGeneratingText);
    const std::uint32_t added = source->FrameCount();
    const std::uint64_t total = std::uint64_t{added} + wave.FrameCount() - s.length;
    const KeptRun kept[] = {{0, 0, s.start},
                            {std::uint64_t{s.start} + added, s.end(), wave.FrameCount() - s.end()}};
    std::vector<KeptRun> toCopy;
    std::unique_ptr<WaveObject> result = NewWaveKeeping(wave, total, kept, toCopy);
    if (!result) return Fail();
    // The bar runs over the bytes that move: the pasted ones and those not shared.
    const std::uint64_t moved = BytesIn(toCopy);
    const std::uint64_t all = moved + BytesOf(wave, added);
    const int pasted = all == 0 ? 0 : static_cast<int>(moved * 100 / all);
    if (!CopyRuns(doc, *result, wave, toCopy, 0, pasted) ||
        !doc.CopyWithProgress(FrameAt(*result, s.start), source->data, BytesOf(wave, added), pasted,
                              100))
        return false;
    result->CopyInfo(&wave);
    source.reset();
    doc.ReplaceWave(std::move(result));
    // The pasted frames stay selected; they always fit the new sound.
    Finish(doc, view, s.start, added);
    return true;
}

bool EditTrim(COrvaneDoc& doc, DocumentView* view) {
    const Selection s = SelectionOf(doc);
    if (s.length == 0) return false;
    const WaveObject& wave = *doc.m_pWave;
    ProgressWindow progress(doc, kGeneratingText);
    const KeptRun kept[] = {{0, s.start, s.length}};
    std::vector<KeptRun> toCopy;
    std::unique_ptr<WaveObject> result =
        HasBytes(wave) ? NewWaveKeeping(wave, s.length, kept, toCopy) : nullptr;
    if (!result) return Fail();
    // Reading a frame of a PCM layout and writing it back gives its bytes again, so the frame
    // copy is a byte copy, made in the progress blocks of a frame loop.
    ForEachProgressBlock(0, s.length, s.length, progress.Indicator(),
                         [&](std::uint32_t first, std::uint32_t last) {
                             CopyKeptBytes(wave, *result, toCopy, BytesOf(wave, first),
                                           std::uint64_t{BytesOf(wave, last)});
                         });
    if (progress.Cancelled()) return false;
    doc.ReplaceWave(std::move(result));
    Finish(doc, view, 0, 0);
    return true;
}

bool EditMix(COrvaneDoc& doc, DocumentView* view) {
    const WaveObject& wave = *doc.m_pWave;
    const std::uint32_t at = SelectionOf(doc).start;
    ProgressWindow progress(doc);
    std::unique_ptr<WaveObject> source =
        HasBytes(wave) ? SourceFor(*wave.format, progress) : nullptr;
    if (progress.Cancelled()) return false;
    if (!source) return Fail();
    progress.SetText(kGeneratingText);
    const std::uint32_t length = wave.FrameCount();
    const std::uint64_t mixEnd = std::uint64_t{at} + source->FrameCount();
    const std::uint64_t total = std::max<std::uint64_t>(length, mixEnd);
    // Only the frames under the clipboard's change; the others stay the sound's own.
    const std::uint64_t after = length - std::min<std::uint64_t>(length, mixEnd);
    const KeptRun kept[] = {{0, 0, at}, {mixEnd, mixEnd, after}};
    std::vector<KeptRun> toCopy;
    std::unique_ptr<WaveObject> result = NewWaveKeeping(wave, total, kept, toCopy);
    if (!result) return Fail();
    const auto n = static_cast<std::uint32_t>(total);
    const std::uint64_t bpf = wave.format->blockAlign;
    const bool mixed = DispatchLayout(wave.frameLayout, [&](auto layout) {
        ForEachProgressBlock(
            0, n, n, progress.Indicator(), [&](std::uint32_t first, std::uint32_t last) {
                CopyKeptBytes(wave, *result, toCopy, first * bpf, last * bpf);
                const auto a =
                    static_cast<std::uint32_t>(std::clamp<std::uint64_t>(at, first, last));
                const auto b =
                    static_cast<std::uint32_t>(std::clamp<std::uint64_t>(mixEnd, first, last));
                MixFrames<decltype(layout)::value>(wave, length, *source, at, *result, a, b);
            });
    });
    if (progress.Cancelled()) return false;
    if (!mixed) return Fail();
    source.reset();
    doc.ReplaceWave(std::move(result));
    Finish(doc, view, std::min(at, n), 0);
    return true;
}

}  // namespace kelvane
