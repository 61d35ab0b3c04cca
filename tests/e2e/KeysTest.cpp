#include <gtest/gtest.h>

#include "Desktop.h"
#include "platform/profile/Profile.h"
#include "support/TestSupport.h"

namespace kelvane::test {
namespace {

// A person's keys, sent as real X events to the built editor on a private desktop (X server and
// window manager), reverse a sound and save it; sox's reverse of the original must match what was
// saved.
TEST(EndToEnd, KeysSelectReverseAndSave) {
    for (const char* tool : {"Xvfb", "openbox", "xdotool", "sox"})
        if (!RequireTool(tool)) return;
    ScopedTempDir dir;
    ScopedProfile profile;
    const std::string wave = dir.File("keys.wav");
    const std::string original = dir.File("original.wav");
    ASSERT_EQ(RunCommand("sox -n -r 22050 -c 2 -b 16 '" + wave + "' synth 1.5 sine 300-900"), 0);
    ASSERT_EQ(
        RunCommand("cp '" + wave + "' '" + original + "' && touch -d 2020-01-01 '" + wave + "'"),
        0);

    std::string output;
    const int status = RunOnDesktop(KELVANE_KEYS_SCRIPT, {KELVANE_EDITOR, wave}, 180, &output);
    ASSERT_EQ(status, 0) << output;

    const std::string saved = dir.File("saved.raw");
    const std::string expected = dir.File("expected.raw");
    ASSERT_EQ(RunCommand("sox '" + wave + "' -t raw '" + saved + "'"), 0);
    ASSERT_EQ(RunCommand("sox -D '" + original + "' -t raw '" + expected + "' reverse"), 0);
    EXPECT_EQ(ReadFileBytes(saved), ReadFileBytes(expected));
}

// Several documents at a real desktop: the active one stays active through commands with a
// progress window, Save As writes the type its list shows, handed-over and new documents come to
// the front, and a failure's message follows its progress window (windows.sh says how).
TEST(EndToEnd, TheDocumentWorkedInStaysActiveAndSavesWhatItShows) {
    for (const char* tool : {"Xvfb", "openbox", "xdotool", "sox"})
        if (!RequireTool(tool)) return;
    ScopedTempDir dir;
    ScopedProfile profile;
    const std::string au = dir.File("c.au"), original = dir.File("original.au");
    for (const char* name : {"a.wav", "b.wav"})
        ASSERT_EQ(
            RunCommand("sox -n -r 8000 -c 1 -b 16 '" + dir.File(name) + "' synth 0.5 sine 300"), 0);
    // Long enough for the progress windows to show: they are what moved the focus.
    ASSERT_EQ(
        RunCommand("sox -n -r 44100 -c 2 -b 16 -e signed '" + au + "' synth 120 sine 200-900"), 0);
    ASSERT_EQ(RunCommand("sox -n -r 8000 -c 1 -b 16 -t wav '" + dir.File("rev.au") +
                         "' synth 0.5 sine 500"),
              0);
    ASSERT_EQ(RunCommand("cp '" + au + "' '" + original + "' && touch -d 2020-01-01 '" +
                         dir.path() + "'/*"),
              0);

    std::string output;
    const int status =
        RunOnDesktop(KELVANE_WINDOWS_SCRIPT, {KELVANE_EDITOR, dir.path()}, 240, &output);
    ASSERT_EQ(status, 0) << output;

    const std::string saved = dir.File("saved.raw"), expected = dir.File("expected.raw");
    ASSERT_EQ(RunCommand("sox '" + au + "' -t raw '" + saved + "'"), 0);
    ASSERT_EQ(RunCommand("sox '" + original + "' -t raw '" + expected + "' reverse"), 0);
    EXPECT_EQ(ReadFileBytes(saved), ReadFileBytes(expected)) << "Ctrl+S saved the reversed c.au";
    const std::vector<std::uint8_t> written = ReadFileBytes(dir.File("x.wav"));
    ASSERT_GE(written.size(), 4u);
    EXPECT_EQ(std::string(written.begin(), written.begin() + 4), ".snd")
        << "Save As of an AU document shows AU and writes AU";
}

// An hour of sound, at a real desktop: Cancel in the progress window of an effect and of a save
// leaves the document unchanged and the file byte for byte as it was (cancel.sh says how).
TEST(EndToEnd, CancelOnAnHourLongSoundLeavesItAsItWas) {
    for (const char* tool : {"Xvfb", "openbox", "xdotool", "sox"})
        if (!RequireTool(tool)) return;
    ScopedTempDir dir;
    ScopedProfile profile;
    // The editor's temporary files go to a folder of their own, the sound and its copy to another.
    ASSERT_EQ(RunCommand("mkdir '" + dir.File("tmp") + "' '" + dir.File("files") + "'"), 0);
    const std::string sound = dir.File("files/hour.au"), original = dir.File("original.au");
    ASSERT_EQ(
        RunCommand("sox -n -r 22050 -c 2 -b 16 -e signed '" + sound + "' synth 3600 sine 300"), 0);
    ASSERT_EQ(RunCommand("cp '" + sound + "' '" + original + "'"), 0);

    std::string output;
    const int status = RunOnDesktop(KELVANE_CANCEL_SCRIPT, {KELVANE_EDITOR, sound}, 300, &output,
                                    {"TMPDIR=" + dir.File("tmp")});
    ASSERT_EQ(status, 0) << output;
    EXPECT_EQ(RunCommand("cmp -s '" + sound + "' '" + original + "'"), 0) << "the file changed";
    EXPECT_EQ(RunCommand("test $(ls -A '" + dir.File("files") + "' | wc -l) -eq 1"), 0)
        << "a partial file was left beside it";
}

// A take at a real desktop with the sound server: the Record button, a tone played meanwhile,
// Close, Ctrl+S (record.sh says how). The file then holds the sound, as sox hears it.
TEST(EndToEnd, ATakeIsRecordedMarkedAndSaved) {
    for (const char* tool : {"Xvfb", "openbox", "xdotool", "sox", "paplay"})
        if (!RequireTool(tool)) return;
    if (!RequireSoundServer()) return;
    ScopedTempDir dir;
    ScopedProfile profile;
    const std::string take = dir.File("take.wav"), tone = dir.File("tone.wav");
    ASSERT_EQ(RunCommand("sox -n -r 22050 -c 1 -b 16 '" + take + "' trim 0 0.5"), 0);
    ASSERT_EQ(RunCommand("sox -n -r 22050 -c 1 -b 16 '" + tone + "' synth 2 sine 440 vol 0.5"), 0);

    std::string output;
    const int status =
        RunOnDesktop(KELVANE_RECORD_SCRIPT, {KELVANE_EDITOR, take, tone}, 120, &output);
    ASSERT_EQ(status, 0) << output;

    std::string seconds, stat;
    ASSERT_EQ(RunCommand("soxi -D '" + take + "'", &seconds), 0);
    EXPECT_GE(std::stod(seconds), 1.5) << "the take replaced the half second of silence";
    ASSERT_EQ(RunCommand("sox '" + take + "' -n stat 2>&1", &stat), 0);
    const auto value = [&](const std::string& label) {
        const std::size_t at = stat.find(label);
        return at == std::string::npos ? 0.0 : std::stod(stat.substr(stat.find(':', at) + 1));
    };
    // Other tests may play into the same sink meanwhile: the level, not the pitch, is certain.
    EXPECT_GT(value("RMS     amplitude"), 0.1) << stat;
}

// A copy killed at a real desktop: the next start offers its sound in "Recover Sounds", Enter
// recovers it as it was after the Reverse, and Ctrl+S saves it (recover.sh says how).
TEST(EndToEnd, AKilledCopysSoundIsRecoveredWithEnterAndSaved) {
    for (const char* tool : {"Xvfb", "openbox", "xdotool", "sox"})
        if (!RequireTool(tool)) return;
    ScopedTempDir dir;
    ScopedProfile profile;
    ASSERT_EQ(RunCommand("mkdir '" + dir.File("tmp") + "'"), 0);
    const std::string wave = dir.File("tone.wav"), expected = dir.File("expected.raw");
    ASSERT_EQ(RunCommand("sox -n -r 22050 -c 2 -b 16 '" + wave + "' synth 3 sine 300:900"), 0);
    ASSERT_EQ(RunCommand("sox '" + wave + "' -t raw '" + expected + "' reverse"), 0);

    std::string output;
    const int status = RunOnDesktop(KELVANE_RECOVER_SCRIPT, {KELVANE_EDITOR, wave}, 120, &output,
                                    {"TMPDIR=" + dir.File("tmp")});
    ASSERT_EQ(status, 0) << output;
    const std::string saved = dir.File("saved.raw");
    ASSERT_EQ(RunCommand("sox '" + wave + "' -t raw '" + saved + "'"), 0);
    EXPECT_EQ(ReadFileBytes(saved), ReadFileBytes(expected)) << "the recovered Reverse was saved";
}

// Asked for in the settings, the desktop's file chooser takes the file and the editor's own
// panels the rest, all with keys: Save As to FLAC, then Open of the FLAC file (chooser.sh).
TEST(EndToEnd, TheDesktopChooserAndItsPanelsWorkWithKeys) {
    for (const char* tool : {"Xvfb", "openbox", "xdotool", "sox", "ffprobe"})
        if (!RequireTool(tool)) return;
    ScopedTempDir dir;
    ScopedProfile profile;
    WriteProfileInt("FILEDIALOGS", "DESKTOP", 1);  // as the manual page spells it
    const std::string wave = dir.File("tone.wav");
    ASSERT_EQ(RunCommand("sox -n -r 22050 -c 2 -b 16 '" + wave + "' synth 1 sine 440"), 0);
    std::string output;
    const int status = RunOnDesktop(KELVANE_CHOOSER_SCRIPT, {KELVANE_EDITOR, wave}, 120, &output);
    ASSERT_EQ(status, 0) << output;
    std::string codec;
    RunCommand("ffprobe -v error -show_entries stream=codec_name -of csv=p=0 '" +
                   dir.File("tone.flac") + "'",
               &codec);
    EXPECT_EQ(codec, "flac\n");
}

}  // namespace
}  // namespace kelvane::test
