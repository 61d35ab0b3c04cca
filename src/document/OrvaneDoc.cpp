#include "document/OrvaneDoc.h"

#include <unistd.h>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "document/DocumentFiles.h"
#include "document/PropertiesDlg.h"
#include "document/SelectionDlg.h"
#include "formats/FileError.h"
#include "formats/RealAudioExport.h"
#include "formats/SndfileFile.h"
#include "resources/Strings.h"
#include "ui/AppState.h"
#include "ui/DialogHost.h"
#include "ui/EncoderOptionsDlg.h"
#include "wavedata/SharedPages.h"

namespace kelvane {

namespace {

constexpr std::uint32_t kCopyChunk = 0x40000;
constexpr qint64 kStreamPiece = 32768;

DocumentHost* g_host = nullptr;

bool ReportToIndicator(void* context, std::uint32_t /*phase*/, std::uint32_t percent) {
    auto* progress = static_cast<ProgressIndicator*>(context);
    if (!progress) return true;
    progress->SetPos(static_cast<int>(percent));
    return !progress->Cancelled();
}

QString Text(std::uint32_t id) { return QString::fromUtf8(LoadString(id)); }

// Opens the first view's progress window for the life of the object.
class ProgressScope {
  public:
    ProgressScope(COrvaneDoc& doc, std::uint32_t textId) : view_(doc.GetView()) {
        if (!view_) return;
        view_->BeginProgress();
        view_->SetProgressText(LoadString(textId));
    }
    ~ProgressScope() {
        if (view_) view_->EndProgress();
    }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

    void SetText(std::uint32_t textId) {
        if (view_) view_->SetProgressText(LoadString(textId));
    }
    [[nodiscard]] ProgressIndicator* Indicator() const { return view_ ? view_->Progress() : nullptr; }
    [[nodiscard]] bool Cancelled() const { return Indicator() && Indicator()->Cancelled(); }

  private:
    DocumentView* view_;
};

}  // namespace

void SetDocumentHost(DocumentHost* host) { g_host = host; }

DeviceHooks& Devices() {
    static DeviceHooks hooks;
    return hooks;
}

COrvaneDoc::COrvaneDoc() = default;

COrvaneDoc::~COrvaneDoc() { DeleteContents(); }

std::unique_ptr<WaveObject> COrvaneDoc::NewWave() const {
    return std::make_unique<WaveObject>(1, App().tempDir.c_str());
}

bool COrvaneDoc::OnNewDocument() { return ResetToEmpty(PcmFormat(22050, 16, 1)); }

bool COrvaneDoc::ResetToEmpty(const WaveFormat& format) {
    DeleteContents();
    auto wave = NewWave();
    if (!wave->Allocate(format, 0)) return false;
    m_pWave = std::move(wave);
    ClearSelection();
    StartHistory();
    SetModifiedFlag(true);
    emit WaveChanged();
    return true;
}

void COrvaneDoc::DeleteContents() {
    m_pWave.reset();
    m_undoWaves.clear();
    m_redoWaves.clear();
}

void COrvaneDoc::StartHistory() {
    m_nUndoDiskLimit = App().undoDiskLimit;
    const std::string& folder = m_pWave->tempDirectory;
    if (m_nUndoDiskLimit == 0)
        m_nUndoDiskLimit = FreeDiskBytes(folder.empty() ? SystemTempDirectory() : folder) / 2;
}

// The newest undo state always stays: it is what one level of undo has always kept.
void COrvaneDoc::TrimHistory() {
    const auto levels = static_cast<std::size_t>(std::max(App().undoLevels, 1));
    while (m_undoWaves.size() > levels) m_undoWaves.pop_front();
    // States share the pages they did not change, so each file counts once.
    auto held = [this] {
        std::vector<const WaveObject*> states;
        for (const auto* stack : {&m_undoWaves, &m_redoWaves})
            for (const auto& wave : *stack) states.push_back(wave.get());
        return HeldBytes(states, m_pWave.get());
    };
    while (m_undoWaves.size() > 1 && held() > m_nUndoDiskLimit) m_undoWaves.pop_front();
}

WaveObject* COrvaneDoc::UndoWave() const {
    return m_undoWaves.empty() ? nullptr : m_undoWaves.back().get();
}

WaveObject* COrvaneDoc::RedoWave() const {
    return m_redoWaves.empty() ? nullptr : m_redoWaves.back().get();
}

bool COrvaneDoc::OnOpenDocument(const std::string& path) {
    const std::uint32_t type = OpenTypeOf(path);
    RawParams raw;
    if (type == kFileMpeg && IsMpegLayer3(path)) {
        MessageBox(1007);
        return false;
    }
    if (type == kFileRawLoad) {
        if (!AskRawFileFormat(raw)) return false;
        m_nRawParam = raw.dataFormat;
    }
    std::unique_ptr<WaveObject> wave = NewWave();
    const std::string copy = wave->MakeTempFileName();
    ProgressScope progress(*this, 166);
    const CopyResult copied = copy.empty() ? CopyResult::CannotCreateTarget
                                           : CopyFileWithProgress(path, copy, ReportToIndicator,
                                                                  progress.Indicator());
    if (copied != CopyResult::Success) {
        if (!copy.empty()) ::unlink(copy.c_str());
        if (copied != CopyResult::Cancelled) MessageBox(CopyResultMessage(copied));
        return false;
    }
    progress.SetText(187);
    const FileError loaded =
        wave->Load(copy,
                   type | LOAD_DELETE_ON_CLOSE | LOAD_CONVERT_TO_PCM |
                       (LoadDitherSetting() ? 0 : LOAD_NO_DITHER),
                   type == kFileRawLoad ? &raw : nullptr, ReportToIndicator, progress.Indicator());
    if (loaded != FileError::Success) {
        wave.reset();
        ::unlink(copy.c_str());  // the copy may not have reached the wave's storage
        if (!progress.Cancelled()) MessageBox(QString::fromUtf8(FileErrorText(loaded)));
        return false;
    }
    DeleteContents();
    m_strSourceText = wave->sourceText;
    m_pWave = std::move(wave);
    ClearSelection();
    StartHistory();
    SetPathName(path);
    SetModifiedFlag(false);
    return true;
}

bool COrvaneDoc::OnSaveDocument(const std::string& path) {
    m_pWave->StopDevice();
    const std::uint32_t type = SaveTypeForPlainSave(path);
    if (type == 0) {
        MessageBox(1012);
        return false;
    }
    SaveOption option;
    if (type == kFileRawSave) option.code = m_nRawParam;
    const EncoderSettings encoder = LoadEncoderSettings();
    option.encoder = &encoder;
    if (!WriteFile(path, type, option)) return false;
    SetModifiedFlag(false);
    return true;
}

bool COrvaneDoc::WriteFile(const std::string& path, std::uint32_t type, SaveOption option) {
    ProgressScope progress(*this, 168);
    const FileError saved =
        m_pWave->Save(path, type, option, ReportToIndicator, progress.Indicator());
    if (saved == FileError::Success) return true;
    if (!progress.Cancelled()) MessageBox(QString::fromUtf8(FileErrorText(saved)));
    return false;
}

bool COrvaneDoc::ExportRealAudioFile(const std::string& path, std::uint32_t method) {
    ProgressScope progress(*this, 168);
    NullProgress none;
    ProgressIndicator* indicator = progress.Indicator();
    const RealAudioResult result =
        ExportRealAudio(path, method, *m_pWave, indicator ? *indicator : none);
    if (result == RealAudioResult::Success) return true;
    MessageBox(QString::fromUtf8(RealAudioErrorText(result)));
    return false;
}

bool COrvaneDoc::StoreToStream(QIODevice& stream) {
    if (!m_pWave) return false;
    const std::string image = m_pWave->MakeTempFileName();
    if (image.empty()) return false;
    const bool written = m_pWave->WriteWaveFile(image) == 1;
    QFile file(QString::fromStdString(image));
    bool copied = written && file.open(QIODevice::ReadOnly);
    while (copied && !file.atEnd()) {
        const QByteArray piece = file.read(kStreamPiece);
        copied = !piece.isEmpty() && stream.write(piece) == piece.size();
    }
    file.close();
    ::unlink(image.c_str());
    return copied;
}

bool COrvaneDoc::LoadFromStream(QIODevice& stream) {
    std::unique_ptr<WaveObject> wave = NewWave();
    const std::string image = wave->MakeTempFileName();
    if (image.empty()) return false;
    bool copied = false;
    {
        QFile file(QString::fromStdString(image));
        copied = file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        while (copied && !stream.atEnd()) {
            const QByteArray piece = stream.read(kStreamPiece);
            copied = !piece.isEmpty() && file.write(piece) == piece.size();
        }
        copied = copied && file.flush();
    }
    if (!copied) {
        ::unlink(image.c_str());
        return false;
    }
    // Deleted on close: the file is unlinked as soon as it is mapped, and goes with the wave.
    std::unique_ptr<DataBlock> block =
        std::make_unique<MappedFileBlock>(0, image.c_str(), true, nullptr, false, true);
    if (!block->pointer || wave->ParseWaveImage(block) != 1) {
        ::unlink(image.c_str());
        return false;
    }
    DeleteContents();
    m_pWave = std::move(wave);
    ClearSelection();
    StartHistory();
    SetModifiedFlag(false);
    emit WaveChanged();
    UpdateAllViews(HINT_ALL);
    return true;
}

bool COrvaneDoc::SaveModified() {
    if (!IsModified()) return true;
    QString name;
    if (!m_strPathName.empty()) {
        const QFileInfo info(QString::fromStdString(m_strPathName));
        name = info.completeBaseName() + "." + info.suffix();
    } else {
        name = m_strTitle.isEmpty() ? Text(225) : m_strTitle;
    }
    const auto answer =
        MessageBox(QString::fromUtf8(FormatString(224, name.toUtf8().constData())),
                   QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Question);
    if (answer == QMessageBox::Cancel) return false;
    if (answer == QMessageBox::Yes) OnFileSave();
    return true;
}

void COrvaneDoc::AddView(DocumentView* view) { m_views.push_back(view); }

void COrvaneDoc::RemoveView(DocumentView* view) { std::erase(m_views, view); }

DocumentView* COrvaneDoc::GetView() const { return m_views.empty() ? nullptr : m_views.front(); }

void COrvaneDoc::UpdateAllViews(std::uint32_t hint) {
    for (DocumentView* view : m_views) view->OnUpdate(hint);
}

void COrvaneDoc::ReplaceWave(std::unique_ptr<WaveObject> wave) {
    m_redoWaves.clear();
    m_undoWaves.push_back(std::move(m_pWave));
    m_pWave = std::move(wave);
    TrimHistory();
    emit WaveChanged();
}

void COrvaneDoc::ClearSelection() {
    m_nSelStart = 0;
    m_nSelLength = 0;
}

void COrvaneDoc::SetSelection(std::uint32_t start, std::uint32_t length) {
    const std::uint32_t n = Length();
    start = std::min(start, n);
    const std::uint32_t end = length > n - start ? n : start + length;
    m_nSelStart = start;
    m_nSelLength = end - start;
    UpdateAllViews(HINT_SELECTION);
}

std::uint32_t COrvaneDoc::GetPlayPosition() const {
    if (m_pWave && m_pWave->deviceState == DeviceState::Playing && Devices().getPlayFrame)
        return Devices().getPlayFrame(*m_pWave);
    return m_nSelStart;
}

bool COrvaneDoc::CopyWithProgress(std::uint8_t* destination, const std::uint8_t* source,
                                  std::uint32_t bytes, int firstPercent, int lastPercent) {
    for (std::uint32_t done = 0; done < bytes;) {
        const std::uint32_t piece = std::min(kCopyChunk, bytes - done);
        std::copy_n(source + done, piece, destination + done);
        done += piece;
        DocumentView* view = GetView();
        if (view && view->Progress()) {
            const auto span = static_cast<std::int64_t>(lastPercent - firstPercent);
            view->Progress()->SetPos(firstPercent + static_cast<int>(span * done / bytes));
            if (view->Progress()->Cancelled()) return false;
        }
    }
    return true;
}

std::string COrvaneDoc::FormatPosition(std::uint32_t frames) const {
    return kelvane::FormatPosition(frames, m_pWave ? m_pWave->format.get() : nullptr,
                                   App().display);
}

bool COrvaneDoc::IsIdle() const {
    return !m_pWave || m_pWave->deviceState != DeviceState::Playing;
}

bool COrvaneDoc::HasData() const {
    if (!m_pWave || !IsIdle()) return false;
    return (m_pWave->mode == WaveMode::Resident && m_pWave->dataBytes != 0) ||
           m_pWave->mode == WaveMode::Streamed;
}

bool COrvaneDoc::IsStereoIdle() const {
    return IsIdle() && m_pWave && m_pWave->format && m_pWave->format->channels > 1;
}

void COrvaneDoc::Play(std::uint32_t start, std::uint32_t count, int loop) {
    const auto startPlay = Devices().startPlay;
    if (!startPlay || startPlay(*m_pWave, start, count, loop, App().waveOutDevice) != 0)
        MessageBox(1011);
    UpdateAllViews(HINT_PLAY_STARTED);
}

void COrvaneDoc::OnPlay() {
    if (!m_pWave) return;
    Play(m_nSelStart, m_nSelLength ? m_nSelLength : Length() - m_nSelStart, 0);
}

void COrvaneDoc::OnPlayFromBeginning() {
    if (m_pWave) Play(0, Length(), 0);
}

void COrvaneDoc::OnPlayLoop() {
    if (!m_pWave) return;
    if (m_nSelLength)
        Play(m_nSelStart, m_nSelLength, 1);
    else
        Play(0, Length(), 1);
}

void COrvaneDoc::OnStop() { m_pWave->StopDevice(); }

void COrvaneDoc::OnRecord() {
    const WaveFormat format = *m_pWave->format;
    m_pWave->StopDevice();
    std::unique_ptr<WaveObject> recorded;
    if (Devices().record)
        recorded = Devices().record(format);
    else
        MessageBox(1002);
    if (!recorded) return;
    ReplaceWave(std::move(recorded));
    SetModifiedFlag(true);  // a take is a change like any other: Close must ask about it
    UpdateAllViews(HINT_ALL);
}

void COrvaneDoc::OnGoToBeginning() { SetSelection(0, 0); }

void COrvaneDoc::OnGoToEnd() { SetSelection(Length(), 0); }

void COrvaneDoc::OnPlayOrStop() {
    if (IsIdle())
        OnPlay();
    else
        OnStop();
}

void COrvaneDoc::OnSelectToBeginning() { SetSelection(0, m_nSelStart + m_nSelLength); }

void COrvaneDoc::OnSelectToEnd() { SetSelection(m_nSelStart, Length() - m_nSelStart); }

void COrvaneDoc::OnSelectAll() { SetSelection(0, Length()); }

void COrvaneDoc::OnSelectNone() { SetSelection(0, 0); }

void COrvaneDoc::OnSelection() {
    CSelectionDlg dialog;
    if (RunModal(dialog) != QDialog::Accepted) return;
    const std::uint32_t n = Length();
    std::uint32_t length = static_cast<std::uint32_t>(static_cast<std::int64_t>(dialog.Length()));
    if (n < length) length = n;
    const double typedStart = dialog.Start();
    std::uint32_t start = typedStart < 0 ? 0 : static_cast<std::uint32_t>(std::min(typedStart, 4294967295.0));
    if (start >= n) start = n;
    const std::uint64_t end = std::min<std::uint64_t>(std::uint64_t{start} + length, n);
    m_nSelStart = start;
    m_nSelLength = static_cast<std::uint32_t>(end - start);
    UpdateAllViews(HINT_SELECTION);
}

void COrvaneDoc::OnUndo() {
    if (m_undoWaves.empty()) return;
    m_redoWaves.push_back(std::move(m_pWave));
    m_pWave = std::move(m_undoWaves.back());
    m_undoWaves.pop_back();
    m_nSelStart = std::min(m_nSelStart, Length());
    m_nSelLength = 0;
    emit WaveChanged();
    UpdateAllViews(HINT_SELECTION);
    UpdateAllViews(HINT_ALL);
}

void COrvaneDoc::OnRedo() {
    if (m_redoWaves.empty()) return;
    m_undoWaves.push_back(std::move(m_pWave));
    m_pWave = std::move(m_redoWaves.back());
    m_redoWaves.pop_back();
    TrimHistory();
    ClearSelection();
    emit WaveChanged();
    UpdateAllViews(HINT_SELECTION);
    UpdateAllViews(HINT_ALL);
}

COrvaneDoc* COrvaneDoc::OnPromote() {
    if (!g_host) return nullptr;
    const WaveFormat& format = *m_pWave->format;
    // A recording may have left the selection beyond the end of a shorter sound.
    const std::uint32_t start = std::min(m_nSelStart, Length());
    const std::uint32_t length = std::min(m_nSelLength, Length() - start);
    // The copy is made before the new document, so a cancelled one leaves no document behind;
    // without space the new document still opens, with its valid empty sound.
    std::unique_ptr<WaveObject> wave = NewWave();
    if (!wave->Allocate(format, length)) {
        COrvaneDoc* promoted = g_host->CreateNewDocument();
        if (promoted) MessageBox(1003);
        return promoted;
    }
    const std::uint32_t bytes = format.blockAlign * length;
    const std::uint8_t* source = m_pWave->data + std::size_t{format.blockAlign} * start;
    if (bytes <= kCopyChunk) {
        std::copy_n(source, bytes, wave->data);
    } else {
        ProgressScope progress(*this, 163);
        if (!CopyWithProgress(wave->data, source, bytes, 0, 100)) return nullptr;
    }
    COrvaneDoc* promoted = g_host->CreateNewDocument();
    if (!promoted) return nullptr;
    promoted->m_pWave = std::move(wave);
    // Promoting leaves this sound as it was, so its modified flag stays as it was too.
    promoted->UpdateAllViews(HINT_ALL);
    return promoted;
}

void COrvaneDoc::OnFileSave() {
    if (m_strPathName.empty()) {
        OnFileSaveAs();
        return;
    }
    if (IsModified()) OnSaveDocument(m_strPathName);
}

void COrvaneDoc::OnFileSaveAs() {
    m_pWave->StopDevice();
    if (!g_host) return;
    const DocumentHost::SaveChoice choice =
        g_host->AskSaveAs(*this, SaveAsPreselection(m_strPathName));
    if (choice.path.empty()) return;
    const std::string path = WithDefaultExtension(choice.path, choice.type);
    SaveOption option;
    if (choice.type == kSaveWave) option.target = choice.waveFormat.get();
    option.encoder = &choice.encoder;
    if (choice.type == kSaveAu) option.code = choice.subFormat.value_or(0);
    if (choice.type == kSaveRaw) {
        m_nRawParam = choice.subFormat.value_or(m_pWave->format->bitsPerSample == 8 ? 2 : 3);
        option.code = m_nRawParam;
    }
    m_pWave->SetInfo("ISFT", std::string(LoadString(57344)).c_str());
    if (choice.type == kSaveRealAudio) {
        // An export: the document keeps its name and its modified flag.
        ExportRealAudioFile(path, choice.subFormat.value_or(0));
        return;
    }
    if (!WriteFile(path, SaveTypeOfChoice(choice.type), option)) return;
    SetModifiedFlag(false);
    g_host->AddToRecentFiles(QString::fromStdString(path));
    SetPathName(path);
}

void COrvaneDoc::OnProperties() {
    CPropertiesDlg dialog(*m_pWave, QString::fromStdString(m_strSourceText));
    if (RunModal(dialog) != QDialog::Accepted) return;
    dialog.Store(*m_pWave);
    SetModifiedFlag(true);
}

void COrvaneDoc::SetModifiedFlag(bool modified) {
    if (m_bModified == modified) return;
    m_bModified = modified;
    emit TitleChanged();
}

void COrvaneDoc::SetPathName(const std::string& path) {
    m_strPathName = path;
    SetTitle(QFileInfo(QString::fromStdString(path)).fileName());
}

void COrvaneDoc::SetTitle(const QString& title) {
    m_strTitle = title;
    emit TitleChanged();
}

}  // namespace kelvane
