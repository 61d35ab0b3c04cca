#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <cctype>
#include <set>

#include "document/OrvaneDoc.h"
#include "resources/Strings.h"
#include "shell/ChildFrame.h"
#include "shell/MainFrame.h"
#include "shell/OrvaneApp.h"
#include "support/EditorTest.h"

namespace kelvane::test {
namespace {

class CommandTableTest : public EditorTest {};

std::vector<std::uint32_t> ToolbarIds(const QToolBar& bar) {
    std::vector<std::uint32_t> ids;
    for (QAction* action : bar.actions())
        ids.push_back(action->isSeparator() ? 0 : action->property("commandId").toUInt());
    return ids;
}

void CollectMenuIds(const QMenu& menu, std::set<std::uint32_t>& ids) {
    for (QAction* action : menu.actions()) {
        if (action->menu()) CollectMenuIds(*action->menu(), ids);
        if (action->property("commandId").isValid())
            ids.insert(action->property("commandId").toUInt());
    }
}

std::set<std::uint32_t> MenuIds(CMainFrame& frame) {
    std::set<std::uint32_t> ids;
    for (QAction* action : frame.menuBar()->actions())
        if (action->menu()) CollectMenuIds(*action->menu(), ids);
    return ids;
}

TEST_F(CommandTableTest, EveryCommandHasAPromptAndEveryMenuRowACommand) {
    std::set<std::uint32_t> seen;
    for (const Command& command : Commands()) {
        EXPECT_TRUE(seen.insert(command.id).second) << "twice: " << command.id;
        EXPECT_FALSE(PromptOf(command.id).isEmpty()) << command.id;
    }
    for (auto rows : {MenuWithoutDocument(), MenuWithDocument()})
        for (const MenuRow& row : rows)
            if (row.id && row.id != kRecentFiles) {
                ASSERT_NE(FindCommand(row.id), nullptr) << row.id;
                EXPECT_NE(FindCommand(row.id)->menuText, nullptr) << row.id;
            }
}

// The letter after a lone '&', lower case; 0 when there is none.
char Mnemonic(const char* text) {
    for (const char* c = text; c && *c; ++c)
        if (c[0] == '&' && c[1] && c[1] != '&') return static_cast<char>(std::tolower(c[1]));
    return 0;
}

TEST_F(CommandTableTest, EveryMenuItemHasAMnemonicOfItsOwnInItsMenu) {
    for (auto rows : {MenuWithoutDocument(), MenuWithDocument()}) {
        // The letters taken at each depth of the menu being walked, with that menu's name.
        std::vector<std::pair<std::string, std::set<char>>> open{{"menu bar", {}}};
        for (const MenuRow& row : rows) {
            open.resize(static_cast<std::size_t>(row.depth) + 1);
            if (row.id == kRecentFiles || (row.id == 0 && !row.text)) continue;
            const char* text = row.id ? FindCommand(row.id)->menuText : row.text;
            const char letter = Mnemonic(text);
            EXPECT_NE(letter, 0) << text;
            EXPECT_TRUE(open.back().second.insert(letter).second)
                << "'" << letter << "' of " << text << " is taken in " << open.back().first;
            if (row.id == 0) open.emplace_back(text, std::set<char>{});
        }
    }
}

TEST_F(CommandTableTest, ToolbarsKeysAndMenusAreThoseOfTheDesign) {
    CMainFrame& frame = *app().MainFrame();
    EXPECT_EQ(ToolbarIds(*frame.ToolBar()),
              (std::vector<std::uint32_t>{57600, 57601, 57603, 0, 57635, 57634, 57637, 0, 57667}));
    const std::set<std::uint32_t> noDocument = MenuIds(frame);
    for (std::uint32_t id : {57600u, 57601u, 32832u, 32788u, 32793u, 32799u, 32803u, 57665u})
        EXPECT_TRUE(noDocument.count(id)) << id;
    for (std::uint32_t id : {57602u, 57603u, 32821u, 57643u})
        EXPECT_FALSE(noDocument.count(id)) << id;

    Open(WriteTone("tone.wav", 100));
    CChildFrame* child = frame.ActiveChild();
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(ToolbarIds(*child->ToolBar()),
              (std::vector<std::uint32_t>{32774, 0, 32773, 32771, 32778, 32772, 0, 32779, 32781, 0,
                                          32775, 32776, 32777}));
    const std::set<std::uint32_t> withDocument = MenuIds(frame);
    for (std::uint32_t id :
         {57602u, 57603u, 57604u, 32829u, 57643u, 57644u, 57635u, 57634u, 57637u,
          32808u, 32806u, 32807u, 32789u, 32790u, 32791u, 32834u, 32810u, 32813u,
          32812u, 32816u, 32815u, 32817u, 32818u, 32819u, 32821u, 32822u, 32825u,
          32826u, 32827u, 32828u, 32831u, 32809u, 57648u, 57650u, 57651u, 32835u})
        EXPECT_TRUE(withDocument.count(id)) << id;

    const std::pair<const char*, std::uint32_t> keys[] = {
        {"Shift+A", 32789},     {"Ctrl+C", 57634},        {"Ctrl+Ins", 57634},
        {"Ctrl+D", 32834},      {"Ctrl+M", 32806},        {"Ctrl+N", 57600},
        {"Shift+N", 32790},     {"Ctrl+O", 57601},        {"Ctrl+S", 57603},
        {"Ctrl+T", 32807},      {"Ctrl+V", 57637},        {"Shift+Ins", 57637},
        {"Ctrl+Z", 57643},      {"Alt+Backspace", 57643}, {"Del", 32808},
        {"Shift+Del", 57635},   {"Ctrl+X", 57635},        {"F1", 57670},
        {"F6", 57680},          {"Shift+F6", 57681},      {"Alt+Return", 32829},
        {"Space", kPlayOrStop}, {"Home", 32779},          {"End", 32781},
        {"Shift+Home", 32841},  {"Shift+End", 32842},     {"Ctrl+Y", 57644},
        {"Ctrl+Shift+Z", 57644}};
    for (const auto& [key, id] : keys) {
        QAction* action = frame.ActionOf(id);
        ASSERT_NE(action, nullptr) << id;
        EXPECT_TRUE(action->shortcuts().contains(QKeySequence(key))) << key;
    }
}

int g_plays = 0;
int CountPlay(WaveObject& wave, std::uint32_t, std::uint32_t, int, int) {
    wave.deviceState = DeviceState::Playing;
    ++g_plays;
    return 0;
}

TEST_F(CommandTableTest, TransportKeysPlayStopMoveAndExtendTheSelection) {
    COrvaneDoc* doc = Open(WriteTone("tone.wav", 1000, 1));
    ASSERT_NE(doc, nullptr);
    const auto selection = [&] { return std::pair{doc->m_nSelStart, doc->m_nSelLength}; };
    doc->SetSelection(300, 100);
    ASSERT_TRUE(Run(32842));
    EXPECT_EQ(selection(), std::pair(300u, 700u)) << "Shift+End";
    doc->SetSelection(300, 100);
    ASSERT_TRUE(Run(32841));
    EXPECT_EQ(selection(), std::pair(0u, 400u)) << "Shift+Home keeps the selection's end";
    ASSERT_TRUE(Run(32781));
    EXPECT_EQ(selection(), std::pair(1000u, 0u)) << "End";
    ASSERT_TRUE(Run(32841));
    EXPECT_EQ(selection(), std::pair(0u, 1000u)) << "End, then Shift+Home: everything";

    g_plays = 0;
    Devices().startPlay = CountPlay;
    ASSERT_TRUE(Run(kPlayOrStop));
    EXPECT_EQ(g_plays, 1);
    EXPECT_FALSE(doc->IsIdle());
    doc->m_pWave->deviceState = DeviceState::Idle;  // nothing really plays: Stop has nothing to end
    Devices().startPlay = nullptr;

    EXPECT_EQ(ToolTipOf(32779), "Go to beginning (Home)");
    EXPECT_EQ(ToolTipOf(32771), "Play selection (Space)");
    EXPECT_EQ(ToolTipOf(32772), "Stop (Space)");
}

// Help's own window (for a desktop without a web browser) shows the guide installed beside
// the program, with its pictures, and the guide names every menu command.
TEST_F(CommandTableTest, HelpShowsAGuideToEveryMenuCommand) {
    QTextBrowser* help = app().ShowHelpWindow();
    ASSERT_NE(help, nullptr) << "no guide beside the program";
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->documentTitle(), "Kelvane User Guide");
    const QVariant picture = help->document()->resource(
        QTextDocument::ImageResource, help->source().resolved(QUrl("save-as.png")));
    EXPECT_TRUE(picture.isValid()) << "the pictures come with the guide";
    QFile page(help->source().toLocalFile());
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QDir guide = QFileInfo(page).dir();
    const QString html = QString::fromUtf8(page.readAll());
    const QRegularExpression names(R"re((src|srcset)="([^" ]+))re");
    int pictures = 0;
    for (const QRegularExpressionMatch& name : names.globalMatch(html)) {
        EXPECT_TRUE(guide.exists(name.captured(2))) << name.captured(2).toStdString();
        ++pictures;
    }
    EXPECT_GT(pictures, 60) << "every picture at scales 1 and 2";
    const QString text = help->toPlainText();
    for (auto rows : {MenuWithoutDocument(), MenuWithDocument()})
        for (const MenuRow& row : rows) {
            if (!row.id || row.id == kRecentFiles) continue;
            const QString name = QString::fromUtf8(FindCommand(row.id)->menuText)
                                     .section('\t', 0, 0)
                                     .remove('&')
                                     .remove("...");
            EXPECT_TRUE(text.contains(name, Qt::CaseInsensitive)) << name.toStdString();
        }
}

TEST_F(CommandTableTest, StatusBarsShowUnitsPromptsAndPositions) {
    CMainFrame& frame = *app().MainFrame();
    EXPECT_EQ(frame.UnitPane()->text(), "Samples");
    COrvaneDoc* doc = Open(WriteTone("tone.wav", 44100, 1, 22050));
    ASSERT_NE(doc, nullptr);
    doc->SetSelection(100, 50);
    CChildFrame* child = frame.ActiveChild();
    const auto panes = child->Inner()->statusBar()->findChildren<QLabel*>();
    QStringList texts;
    for (QLabel* pane : panes) texts.append(pane->text());
    EXPECT_EQ(texts, (QStringList{"22050Hz 16 Bit Mono ", "LN:44100", "SS:100", "SL:50", "PL:100",
                                  "ZM:1"}));
    EXPECT_EQ(frame.ActionOf(32821)->statusTip(), "Reverse");
    EXPECT_EQ(frame.ActionOf(57643)->statusTip(), "Undo the last action");
    EXPECT_EQ(frame.ActionOf(57643)->toolTip(), "Undo");
}

TEST_F(CommandTableTest, EnableRulesFollowTheSound) {
    COrvaneDoc* mono = Open(WriteTone("mono.wav", 100, 1));
    ASSERT_NE(mono, nullptr);
    for (std::uint32_t id : {32816u, 32815u, 32819u}) EXPECT_FALSE(Enabled(id)) << "mono " << id;
    for (std::uint32_t id : {32821u, 32822u, 32831u, 32771u, 32779u})
        EXPECT_TRUE(Enabled(id)) << id;
    mono->m_pWave->deviceState = DeviceState::Playing;
    for (std::uint32_t id : {32821u, 32831u, 32771u, 32774u, 57643u})
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(Enabled(32772)) << "Stop while playing";
    mono->m_pWave->deviceState = DeviceState::Idle;
    Open(WriteTone("stereo.wav", 100, 2));
    for (std::uint32_t id : {32816u, 32815u, 32819u}) EXPECT_TRUE(Enabled(id)) << "stereo " << id;
}

// Tile keeps every window inside the area, at least as wide as its status panes.
TEST_F(CommandTableTest, TileKeepsEveryWindowInsideTheArea) {
    CMainFrame& frame = *app().MainFrame();
    frame.resize(1000, 700);
    frame.show();
    QApplication::processEvents();
    for (const char* name : {"one.wav", "two.wav", "three.wav"}) Open(WriteTone(name, 100));
    ASSERT_TRUE(Run(57651));
    const QRect area = frame.MdiArea()->viewport()->rect();
    for (CChildFrame* child : frame.Children()) {
        EXPECT_TRUE(area.contains(child->geometry())) << child->Document().Title().toStdString();
        EXPECT_GE(child->width(), child->minimumWidth());
    }
}

TEST_F(CommandTableTest, TheWindowMenuListsTheDocumentWindowsAndActivatesThem) {
    CMainFrame& frame = *app().MainFrame();
    Open(WriteTone("first.wav", 100));
    Open(WriteTone("second.wav", 100));
    QMenu* windowMenu = nullptr;
    for (QAction* action : frame.menuBar()->actions())
        if (action->text() == "&Window") windowMenu = action->menu();
    ASSERT_NE(windowMenu, nullptr);
    const auto listed = [&] {
        emit windowMenu->aboutToShow();
        std::vector<QAction*> windows;
        for (QAction* action : windowMenu->actions())
            if (action->isCheckable() && action->property("windowList").isValid())
                windows.push_back(action);
        return windows;
    };
    std::vector<QAction*> windows = listed();
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_EQ(windows[0]->text(), "&1 first.wav");
    EXPECT_EQ(windows[1]->text(), "&2 second.wav");
    EXPECT_TRUE(windows[1]->isChecked()) << "the active one";
    windows[0]->trigger();
    EXPECT_EQ(frame.ActiveChild()->Document().Title(), QString("first.wav"));
    EXPECT_EQ(listed().size(), 2u) << "shown again, listed once";
}

}  // namespace
}  // namespace kelvane::test
