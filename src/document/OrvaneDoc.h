#pragma once

#include <QIODevice>
#include <QObject>
#include <QString>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/EncoderSettings.h"
#include "processing/ProgressIndicator.h"
#include "wavedata/WaveObject.h"

namespace kelvane {

// What a document tells its views.
inline constexpr std::uint32_t HINT_ALL = 0;
inline constexpr std::uint32_t HINT_WAVE_CHANGED = 1;
inline constexpr std::uint32_t HINT_SELECTION = 2;
inline constexpr std::uint32_t HINT_PLAY_STARTED = 16;

// What a document asks of a view: repaint after a change, and the progress window of long
// operations (Progress() is null while none is open).
class DocumentView {
  public:
    virtual ~DocumentView() = default;
    virtual void OnUpdate(std::uint32_t hint) = 0;
    virtual void BeginProgress() = 0;
    virtual void SetProgressText(std::string_view text) = 0;
    virtual void EndProgress() = 0;
    [[nodiscard]] virtual ProgressIndicator* Progress() = 0;
};

// What documents ask of the application: a new untitled document (Promote), the file and
// output format chosen in Save As, and the recent-file list a saved name joins. The
// application installs it.
class DocumentHost {
  public:
    virtual ~DocumentHost() = default;
    virtual class COrvaneDoc* CreateNewDocument() = 0;
    // An empty path when cancelled. `type` is the list position (SaveAsType); the Wave target
    // (null: the sound's own format) or the number chosen with Options comes with it.
    struct SaveChoice {
        std::string path;
        std::uint32_t type = 0;
        FormatPtr waveFormat;
        std::optional<std::uint32_t> subFormat;
        EncoderSettings encoder;  // FLAC, Ogg Vorbis, Opus, MP3
    };
    virtual SaveChoice AskSaveAs(const COrvaneDoc& doc, std::uint32_t preselectedType) = 0;
    virtual void AddToRecentFiles(const QString& path) = 0;
};
void SetDocumentHost(DocumentHost* host);

// One open sound, with its selection and its steps of undo and redo. Positions and lengths
// are frames.
class COrvaneDoc : public QObject {
    Q_OBJECT

  public:
    COrvaneDoc();
    ~COrvaneDoc() override;

    // An empty 22050 Hz 16-bit mono sound, marked modified.
    bool OnNewDocument();
    // Replaces the sound with an empty one of `format`, as File > New does.
    bool ResetToEmpty(const WaveFormat& format);
    bool OnOpenDocument(const std::string& path);
    bool OnSaveDocument(const std::string& path);
    // The document inside a container's storage: the sound as a Wave file image. Loading
    // replaces the sound only when the whole image parsed.
    bool StoreToStream(QIODevice& stream);
    bool LoadFromStream(QIODevice& stream);
    void DeleteContents();
    // The close prompt: false when the user cancelled.
    bool SaveModified();

    void AddView(DocumentView* view);
    void RemoveView(DocumentView* view);
    [[nodiscard]] DocumentView* GetView() const;
    [[nodiscard]] const std::vector<DocumentView*>& Views() const { return m_views; }
    void UpdateAllViews(std::uint32_t hint);

    // The old sound becomes the newest undo state; the redo states go, and the oldest undo
    // states beyond the level and disk limits.
    void ReplaceWave(std::unique_ptr<WaveObject> wave);
    // The states the next Undo and Redo bring back; null when there is none.
    [[nodiscard]] WaveObject* UndoWave() const;
    [[nodiscard]] WaveObject* RedoWave() const;
    [[nodiscard]] std::size_t UndoLevels() const { return m_undoWaves.size(); }
    [[nodiscard]] std::size_t RedoLevels() const { return m_redoWaves.size(); }
    void ClearSelection();
    // Clamped to the sound; sends HINT_SELECTION.
    void SetSelection(std::uint32_t start, std::uint32_t length);
    [[nodiscard]] std::uint32_t GetPlayPosition() const;
    // False when the person cancelled it in the progress window.
    bool CopyWithProgress(std::uint8_t* destination, const std::uint8_t* source,
                          std::uint32_t bytes, int firstPercent, int lastPercent);
    [[nodiscard]] std::string FormatPosition(std::uint32_t frames) const;
    [[nodiscard]] std::uint32_t Length() const { return m_pWave ? m_pWave->FrameCount() : 0; }

    // Commands.
    void OnPlay();
    void OnPlayFromBeginning();
    void OnPlayLoop();
    void OnStop();
    void OnRecord();
    void OnGoToBeginning();
    void OnGoToEnd();
    // Space: plays the selection (as Play does), or stops what plays.
    void OnPlayOrStop();
    // Shift+Home and Shift+End: the selection reaches the start or the end of the sound.
    void OnSelectToBeginning();
    void OnSelectToEnd();
    void OnSelectAll();
    void OnSelectNone();
    void OnSelection();
    void OnUndo();
    void OnRedo();
    COrvaneDoc* OnPromote();
    void OnFileSave();
    void OnFileSaveAs();
    void OnProperties();

    // Enable rules.
    [[nodiscard]] bool HasWave() const { return m_pWave != nullptr; }
    [[nodiscard]] bool IsIdle() const;
    [[nodiscard]] bool HasData() const;
    [[nodiscard]] bool IsStereoIdle() const;
    [[nodiscard]] bool CanUndo() const { return !m_undoWaves.empty() && IsIdle(); }
    [[nodiscard]] bool CanRedo() const { return !m_redoWaves.empty() && IsIdle(); }
    [[nodiscard]] bool HasSelection() const { return m_nSelLength > 0; }

    [[nodiscard]] bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true);
    [[nodiscard]] const std::string& PathName() const { return m_strPathName; }
    void SetPathName(const std::string& path);
    [[nodiscard]] QString Title() const { return m_strTitle; }
    void SetTitle(const QString& title);
    [[nodiscard]] const std::string& SourceText() const { return m_strSourceText; }
    // A sound brought back after a crash, with what went with it: a fresh history, modified
    // (document/DocumentManifest.cpp).
    void AdoptRecovered(std::unique_ptr<WaveObject> wave,
                        std::deque<std::unique_ptr<WaveObject>> undo,
                        std::deque<std::unique_ptr<WaveObject>> redo, const std::string& path,
                        const QString& title, const std::string& sourceText,
                        std::uint32_t rawParam);

    std::unique_ptr<WaveObject> m_pWave;
    // Oldest first: the back is what the next Undo (Redo) brings back.
    std::deque<std::unique_ptr<WaveObject>> m_undoWaves;
    std::deque<std::unique_ptr<WaveObject>> m_redoWaves;
    std::uint32_t m_nSelStart = 0;
    std::uint32_t m_nSelLength = 0;
    std::uint32_t m_nRawParam = 0;

  signals:
    void TitleChanged();
    // The sound was replaced: an edit, undo, redo or a load.
    void WaveChanged();

  private:
    void Play(std::uint32_t start, std::uint32_t count, int loop);
    // Starts a history: the disk limit of this document's undo states is fixed now.
    void StartHistory();
    void TrimHistory();
    std::unique_ptr<WaveObject> NewWave() const;
    // Writes the sound as a type of the file layer; false after its message was shown.
    bool WriteFile(const std::string& path, std::uint32_t type, SaveOption option);
    bool ExportRealAudioFile(const std::string& path, std::uint32_t method);

    std::vector<DocumentView*> m_views;
    std::uint64_t m_nUndoDiskLimit = UINT64_MAX;  // bytes
    bool m_bModified = false;
    std::string m_strPathName;
    // The opened file's own format when it was converted on opening ("FLAC, 24-bit, ...").
    std::string m_strSourceText;
    QString m_strTitle;
};

// The device layer installs these; until then playing and recording report failure.
struct DeviceHooks {
    // 0 when playback started.
    int (*startPlay)(WaveObject& wave, std::uint32_t start, std::uint32_t count, int loop,
                     int device) = nullptr;
    std::uint32_t (*getPlayFrame)(const WaveObject& wave) = nullptr;
    // Runs the recording dialog proposing `format`; the recorded sound, or null on Cancel.
    std::unique_ptr<WaveObject> (*record)(const WaveFormat& format) = nullptr;
};
DeviceHooks& Devices();

}  // namespace kelvane
