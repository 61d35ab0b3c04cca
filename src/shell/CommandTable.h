#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <span>

namespace kelvane {

class COrvaneApp;
class CMainFrame;
class CChildFrame;
class COrvaneDoc;
class COrvaneView;

// Where a command runs: the application, the main frame, or the active document and view.
struct CommandContext {
    COrvaneApp& app;
    CMainFrame& frame;
    CChildFrame* child = nullptr;
    COrvaneDoc* doc = nullptr;
    COrvaneView* view = nullptr;
};

enum class Target : std::uint8_t { App, Frame, Doc, View };

// One command: the id its prompt is keyed by in the string table, its menu text, keys, the
// object it needs, what it does and when it may. A command without a rule is enabled whenever
// its target exists; one without a handler is never enabled.
struct Command {
    std::uint32_t id;
    const char* menuText;             // null: toolbar or key only
    std::array<const char*, 2> keys;  // QKeySequence texts
    Target target;
    void (*handler)(const CommandContext&);
    bool (*enabled)(const CommandContext&);
    const char* icon = nullptr;                        // icon name, null when none
    bool (*checked)(const CommandContext&) = nullptr;  // null: not a check item
};

[[nodiscard]] std::span<const Command> Commands();
[[nodiscard]] const Command* FindCommand(std::uint32_t id);

[[nodiscard]] bool IsEnabled(const Command& command, const CommandContext& context);
// Runs the command when it is enabled; false when it was not.
bool RunCommand(const Command& command, const CommandContext& context);

// A menu text of the tables, in the user's language; empty for none.
[[nodiscard]] QString CommandText(const char* menuText);

// The status-bar prompt (first line of the command's string) and the tool tip (second line,
// or the prompt when there is none).
[[nodiscard]] QString PromptOf(std::uint32_t id);
[[nodiscard]] QString ToolTipOf(std::uint32_t id);

// Menus as rows with a depth: a row with a text and id 0 opens a submenu, a row without text
// is a separator, kRecentFiles stands for the recent-file list.
struct MenuRow {
    int depth;
    const char* text;
    std::uint32_t id;
};
inline constexpr std::uint32_t kRecentFiles = 57616;
// Space: plays the active document or stops it; a key without a menu item or button.
inline constexpr std::uint32_t kPlayOrStop = 32840;
// The menu holding "New Window" also lists the open document windows at its end.
inline constexpr std::uint32_t kNewWindow = 57648;
inline constexpr std::uint32_t kRecentFileCount = 10;
[[nodiscard]] std::span<const MenuRow> MenuWithoutDocument();  // resource 128
[[nodiscard]] std::span<const MenuRow> MenuWithDocument();     // resource 129

// Toolbar buttons in order; 0 is a separator.
[[nodiscard]] std::span<const std::uint32_t> MainToolbar();      // resource 128
[[nodiscard]] std::span<const std::uint32_t> DocumentToolbar();  // resource 130
[[nodiscard]] std::span<const std::uint32_t> InPlaceToolbar();   // resource 4
// The keys of in-place editing (resource 4), besides Escape, which ends it.
[[nodiscard]] std::span<const std::uint32_t> InPlaceKeys();

}  // namespace kelvane
