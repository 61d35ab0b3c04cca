// The editor's one command table, its menus and its toolbars.
#include <QCoreApplication>

#include <QKeySequence>

#include "devices/WaveDevicesDlg.h"
#include "document/EditCommands.h"
#include "document/OrvaneDoc.h"
#include "document/ProcessCommands.h"
#include "resources/Strings.h"
#include "shell/ChildFrame.h"
#include "shell/CommandTable.h"
#include "shell/MainFrame.h"
#include "shell/OrvaneApp.h"
#include "view/OrvaneView.h"

namespace kelvane {

namespace {

using C = const CommandContext&;

// Marks a menu text for lupdate, which takes it for QT_TR_NOOP: CommandText translates it in
// the context "kelvane".
#define MENU(text) text

// The document's enable rules.
bool Idle(C c) { return c.doc->IsIdle(); }
bool Data(C c) { return c.doc->HasData(); }
bool Stereo(C c) { return c.doc->IsStereoIdle(); }
bool Recordable(C c) { return c.doc->HasWave() && c.doc->IsIdle(); }
bool Undoable(C c) { return c.doc->CanUndo(); }
bool Redoable(C c) { return c.doc->CanRedo(); }
bool Selected(C c) { return c.doc->HasSelection(); }
bool HasWave(C c) { return c.doc->HasWave(); }
// The clipboard commands'.
bool SelectedIdle(C c) { return c.doc->HasSelection() && c.doc->IsIdle(); }
bool ClipboardIdle(C c) { return ClipboardHasData() && c.doc->IsIdle(); }

// Processing commands share one runner; the rule depends on the effect.
#define PROCESS(id, text, rule, icon)                                                     \
    {id, text, {}, Target::Doc, [](C c) { RunProcessCommand(*c.doc, id); },              \
     [](C c) { return HasProcessCommand(id) && rule(c); }, icon}

constexpr Command kCommands[] = {
    // Application.
    {57600, MENU("&New"), {"Ctrl+N"}, Target::App, [](C c) { c.app.OnFileNew(); }, nullptr, "new"},
    {57601, MENU("&Open..."), {"Ctrl+O"}, Target::App, [](C c) { c.app.OnFileOpen(); }, nullptr,
     "open"},
    {57602, MENU("&Close"), {}, Target::Doc, [](C c) { c.app.CloseDocument(*c.doc); }, nullptr},
    {32832, MENU("&Batch Conversion..."), {}, Target::App, [](C c) { c.app.OnBatchConversion(); },
     nullptr},
    {32835, MENU("Close A&ll"), {}, Target::App, [](C c) { c.app.OnCloseAll(); },
     [](C c) { return c.app.DocumentCount() > 0; }},
    {57665, MENU("E&xit"), {}, Target::App, [](C c) { c.app.OnAppExit(); }, nullptr},
    {57664, MENU("&About Kelvane..."), {}, Target::App, [](C c) { c.app.OnAppAbout(); }, nullptr},
    {57667, MENU("&Help Topics"), {}, Target::App, [](C c) { c.app.OnHelp(); }, nullptr, "help"},
    {57670, nullptr, {"F1"}, Target::App, [](C c) { c.app.OnHelp(); }, nullptr},
    // Main frame.
    {32788, MENU("&Color..."), {}, Target::Frame, [](C c) { c.frame.OnColor(); }, nullptr},
    {32793, MENU("&Devices..."), {}, Target::Frame, [](C c) { ShowWaveDevicesDialog(&c.frame); },
     nullptr},
    {32799, MENU("Display &Format..."), {}, Target::Frame, [](C c) { c.frame.OnDisplayFormat(); },
     nullptr},
    {32803, MENU("&Miscellaneous..."), {}, Target::Frame, [](C c) { c.frame.OnMiscellaneous(); },
     nullptr},
    {59392, MENU("&Toolbar"), {}, Target::Frame, [](C c) { c.frame.ToggleToolbar(); }, nullptr,
     nullptr, [](C c) { return c.frame.ToolbarVisible(); }},
    {59393, MENU("&Status Bar"), {}, Target::Frame, [](C c) { c.frame.ToggleStatusBar(); }, nullptr,
     nullptr, [](C c) { return c.frame.StatusBarVisible(); }},
    {57648, MENU("&New Window"), {}, Target::Doc, [](C c) { c.app.OpenWindow(*c.doc); }, nullptr,
     "newwindow"},
    {57650, MENU("&Cascade"), {}, Target::Frame, [](C c) { c.frame.Cascade(); }, nullptr,
     "cascade"},
    {57651, MENU("&Tile"), {}, Target::Frame, [](C c) { c.frame.Tile(); }, nullptr, "tile"},
    {57649, MENU("&Arrange Icons"), {}, Target::Frame, [](C c) { c.frame.ArrangeIcons(); },
     nullptr},
    // Document: transport.
    {32771, nullptr, {}, Target::Doc, [](C c) { c.doc->OnPlay(); }, Data, "play"},
    {32772, nullptr, {}, Target::Doc, [](C c) { c.doc->OnStop(); }, HasWave, "stop"},
    {32773, nullptr, {}, Target::Doc, [](C c) { c.doc->OnPlayFromBeginning(); }, Data, "playbegin"},
    {32778, nullptr, {}, Target::Doc, [](C c) { c.doc->OnPlayLoop(); }, Data, "loop"},
    {32774, nullptr, {}, Target::Doc, [](C c) { c.doc->OnRecord(); }, Recordable, "record"},
    {32779, nullptr, {"Home"}, Target::Doc, [](C c) { c.doc->OnGoToBeginning(); }, nullptr,
     "gotostart"},
    {32781, nullptr, {"End"}, Target::Doc, [](C c) { c.doc->OnGoToEnd(); }, nullptr, "gotoend"},
    {kPlayOrStop, nullptr, {"Space"}, Target::Doc, [](C c) { c.doc->OnPlayOrStop(); }, HasWave},
    // Document: files and selection.
    {57603, MENU("&Save"), {"Ctrl+S"}, Target::Doc, [](C c) { c.doc->OnFileSave(); }, nullptr,
     "save"},
    {57604, MENU("Save &As..."), {}, Target::Doc, [](C c) { c.doc->OnFileSaveAs(); }, nullptr},
    {32829, MENU("P&roperties..."), {"Alt+Return"}, Target::Doc, [](C c) { c.doc->OnProperties(); },
     nullptr},
    {32789, MENU("Select &All"), {"Shift+A"}, Target::Doc, [](C c) { c.doc->OnSelectAll(); },
     nullptr},
    {32790, MENU("Select &None"), {"Shift+N"}, Target::Doc, [](C c) { c.doc->OnSelectNone(); },
     nullptr},
    {32791, MENU("&Selection..."), {}, Target::Doc, [](C c) { c.doc->OnSelection(); }, nullptr},
    {32841, MENU("Select to &Beginning"), {"Shift+Home"}, Target::Doc,
     [](C c) { c.doc->OnSelectToBeginning(); }, nullptr},
    {32842, MENU("Select to &End"), {"Shift+End"}, Target::Doc, [](C c) { c.doc->OnSelectToEnd(); },
     nullptr},
    {32834, MENU("&Promote as New Document"), {"Ctrl+D"}, Target::Doc,
     [](C c) { c.doc->OnPromote(); }, Selected},
    {57643, MENU("&Undo"), {"Ctrl+Z", "Alt+Backspace"}, Target::Doc, [](C c) { c.doc->OnUndo(); },
     Undoable, "undo"},
    {57644, MENU("&Redo"), {"Ctrl+Y", "Ctrl+Shift+Z"}, Target::Doc, [](C c) { c.doc->OnRedo(); },
     Redoable, "redo"},
    // View: clipboard editing.
    {57635, MENU("Cu&t"), {"Ctrl+X", "Shift+Del"}, Target::View,
     [](C c) { EditCut(*c.doc, c.view); }, SelectedIdle, "cut"},
    {57634, MENU("&Copy"), {"Ctrl+C", "Ctrl+Ins"}, Target::View, [](C c) { EditCopy(*c.doc); },
     SelectedIdle, "copy"},
    {57637, MENU("&Paste"), {"Ctrl+V", "Shift+Ins"}, Target::View,
     [](C c) { EditPaste(*c.doc, c.view); }, ClipboardIdle, "paste"},
    {32808, MENU("&Delete"), {"Del"}, Target::View, [](C c) { EditDelete(*c.doc, c.view); },
     SelectedIdle, "delete"},
    {32806, MENU("&Mix"), {"Ctrl+M"}, Target::View, [](C c) { EditMix(*c.doc, c.view); },
     ClipboardIdle},
    {32807, MENU("Tr&im"), {"Ctrl+T"}, Target::View, [](C c) { EditTrim(*c.doc, c.view); },
     SelectedIdle},
    // View: zoom and panes.
    {32775, nullptr, {}, Target::View, [](C c) { c.view->OnZoomIn(); },
     [](C c) { return c.view->CanZoomIn(); }, "zoomin"},
    {32776, nullptr, {}, Target::View, [](C c) { c.view->OnZoomOut(); },
     [](C c) { return c.view->CanZoomOut(); }, "zoomout"},
    {32777, nullptr, {}, Target::View, [](C c) { c.view->OnZoomToFit(); },
     [](C c) { return c.view->CanZoomToFit(); }, "zoomfit"},
    {57680, nullptr, {"F6"}, Target::View, [](C c) { c.view->NextPane(true); }, nullptr},
    {57681, nullptr, {"Shift+F6"}, Target::View, [](C c) { c.view->NextPane(false); }, nullptr},
    // Document: processing.
    PROCESS(32810, MENU("Adjust &Volume..."), Idle, nullptr),
    PROCESS(32813, MENU("&In"), Idle, nullptr),
    PROCESS(32812, MENU("&Out"), Idle, nullptr),
    PROCESS(32816, MENU("&Left to Right"), Stereo, nullptr),
    PROCESS(32815, MENU("&Right to Left"), Stereo, nullptr),
    PROCESS(32817, MENU("&Mute"), Idle, nullptr),
    PROCESS(32818, MENU("&Insert Silence..."), Idle, nullptr),
    PROCESS(32819, MENU("&Swap Channels"), Stereo, nullptr),
    PROCESS(32821, MENU("&Reverse"), Idle, nullptr),
    PROCESS(32822, MENU("&Normalize"), Idle, nullptr),
    PROCESS(32831, MENU("Cen&ter Signals"), Data, nullptr),
    PROCESS(32825, MENU("Add &Echo..."), Idle, nullptr),
    PROCESS(32827, MENU("Add &Chorus..."), Idle, nullptr),
    PROCESS(32826, MENU("Change &Pitch..."), Idle, nullptr),
    PROCESS(32828, MENU("Compress/E&xpand Length..."), Idle, nullptr),
    PROCESS(32809, MENU("Convert F&ormat..."), Idle, nullptr),
};

#undef PROCESS

constexpr MenuRow kMenu128[] = {
    {0, MENU("&File"), 0},
    {1, nullptr, 57600},
    {1, nullptr, 57601},
    {1, nullptr, 0},
    {1, nullptr, 32832},
    {1, nullptr, 0},
    {1, MENU("&Preferences"), 0},
    {2, nullptr, 32788},
    {2, nullptr, 32793},
    {2, nullptr, 32799},
    {2, nullptr, 32803},
    {1, nullptr, 0},
    {1, nullptr, kRecentFiles},
    {1, nullptr, 0},
    {1, nullptr, 57665},
    {0, MENU("&View"), 0},
    {1, nullptr, 59392},
    {1, nullptr, 59393},
    {0, MENU("&Help"), 0},
    {1, nullptr, 57667},
    {1, nullptr, 0},
    {1, nullptr, 57664},
};

constexpr MenuRow kMenu129[] = {
    {0, MENU("&File"), 0},
    {1, nullptr, 57600},
    {1, nullptr, 57601},
    {1, nullptr, 57602},
    {1, nullptr, 57603},
    {1, nullptr, 57604},
    {1, nullptr, 0},
    {1, nullptr, 32832},
    {1, nullptr, 0},
    {1, nullptr, 32829},
    {1, MENU("&Preferences"), 0},
    {2, nullptr, 32788},
    {2, nullptr, 32793},
    {2, nullptr, 32799},
    {2, nullptr, 32803},
    {1, nullptr, 0},
    {1, nullptr, kRecentFiles},
    {1, nullptr, 0},
    {1, nullptr, 57665},
    {0, MENU("&Edit"), 0},
    {1, nullptr, 57643},
    {1, nullptr, 57644},
    {1, nullptr, 0},
    {1, nullptr, 57635},
    {1, nullptr, 57634},
    {1, nullptr, 57637},
    {1, nullptr, 32808},
    {1, nullptr, 0},
    {1, nullptr, 32806},
    {1, nullptr, 32807},
    {0, MENU("&Selection"), 0},
    {1, nullptr, 32789},
    {1, nullptr, 32790},
    {1, nullptr, 32791},
    {1, nullptr, 32841},
    {1, nullptr, 32842},
    {1, nullptr, 0},
    {1, nullptr, 32834},
    {0, MENU("&Process"), 0},
    {1, nullptr, 32810},
    {1, MENU("&Fade"), 0},
    {2, nullptr, 32813},
    {2, nullptr, 32812},
    {1, MENU("P&an"), 0},
    {2, nullptr, 32816},
    {2, nullptr, 32815},
    {1, nullptr, 32817},
    {1, nullptr, 32818},
    {1, nullptr, 32819},
    {1, nullptr, 32821},
    {1, nullptr, 32822},
    {1, nullptr, 32831},
    {1, nullptr, 0},
    {1, nullptr, 32825},
    {1, nullptr, 32827},
    {1, nullptr, 32826},
    {1, nullptr, 32828},
    {1, nullptr, 0},
    {1, nullptr, 32809},
    {0, MENU("&View"), 0},
    {1, nullptr, 59392},
    {1, nullptr, 59393},
    {0, MENU("&Window"), 0},
    {1, nullptr, 57648},
    {1, nullptr, 57650},
    {1, nullptr, 57651},
    {1, nullptr, 57649},
    {1, nullptr, 0},
    {1, nullptr, 32835},
    {0, MENU("&Help"), 0},
    {1, nullptr, 57667},
    {1, nullptr, 0},
    {1, nullptr, 57664},
};

#undef MENU

constexpr std::uint32_t kToolbar128[] = {57600, 57601, 57603, 0, 57635, 57634, 57637, 0, 57667};
constexpr std::uint32_t kToolbar130[] = {32774, 0,     32773, 32771, 32778, 32772, 0,
                                         32779, 32781, 0,     32775, 32776, 32777};
constexpr std::uint32_t kToolbar4[] = {57635, 57634, 57637, 0, 57667};
constexpr std::uint32_t kInPlaceKeys[] = {57634, 57637, 57635, 57643, 57670};

bool TargetExists(Target target, const CommandContext& c) {
    switch (target) {
        case Target::Doc:
            return c.doc != nullptr;
        case Target::View:
            return c.view != nullptr;
        default:
            return true;
    }
}

}  // namespace

std::span<const Command> Commands() { return kCommands; }

const Command* FindCommand(std::uint32_t id) {
    for (const Command& command : kCommands)
        if (command.id == id) return &command;
    return nullptr;
}

bool IsEnabled(const Command& command, const CommandContext& context) {
    if (!command.handler || !TargetExists(command.target, context)) return false;
    return !command.enabled || command.enabled(context);
}

bool RunCommand(const Command& command, const CommandContext& context) {
    if (!IsEnabled(command, context)) return false;
    command.handler(context);
    return true;
}

QString CommandText(const char* menuText) {
    return menuText ? QCoreApplication::translate("kelvane", menuText) : QString();
}

QString PromptOf(std::uint32_t id) {
    return QString::fromUtf8(LoadString(id)).section('\n', 0, 0);
}

QString ToolTipOf(std::uint32_t id) {
    const QString text = QString::fromUtf8(LoadString(id));
    const QString tip = text.contains('\n') ? text.section('\n', 1, 1) : text;
    // Menus show their keys; buttons name theirs here, Play and Stop the Space that does both.
    const Command* command = FindCommand(id == 32771 || id == 32772 ? kPlayOrStop : id);
    if (!command || command->menuText || !command->keys[0]) return tip;
    return QString("%1 (%2)").arg(
        tip,
        QKeySequence(QString::fromLatin1(command->keys[0])).toString(QKeySequence::NativeText));
}

std::span<const MenuRow> MenuWithoutDocument() { return kMenu128; }
std::span<const MenuRow> MenuWithDocument() { return kMenu129; }
std::span<const std::uint32_t> MainToolbar() { return kToolbar128; }
std::span<const std::uint32_t> DocumentToolbar() { return kToolbar130; }
std::span<const std::uint32_t> InPlaceToolbar() { return kToolbar4; }
std::span<const std::uint32_t> InPlaceKeys() { return kInPlaceKeys; }

}  // namespace kelvane
