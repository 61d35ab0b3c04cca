#include "batch/BatchConversion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "batch/BatchFilters.h"
#include "batch/RecordingMonitor.h"
#include "formats/FileError.h"
#include "platform/profile/Profile.h"
#include "resources/Strings.h"
#include "support/TestSupport.h"

namespace kelvane {
namespace {

namespace fs = std::filesystem;

class BatchRun : public ::testing::Test {
  protected:
    // A Wave file of random 16-bit (or 8-bit) frames; returns its sample bytes.
    std::vector<std::uint8_t> MakeInput(const std::string& name, std::uint16_t bits = 16,
                                        std::uint16_t channels = 2, std::uint32_t frames = 20000) {
        auto wave = test::RandomWave(PcmFormat(22050, bits, channels), frames, frames + bits);
        EXPECT_EQ(wave->WriteWaveFile(dir.File(name)), 1u);
        return {wave->data, wave->data + wave->dataBytes};
    }
    // Reads any file back with sox as raw data of the given encoding.
    std::vector<std::uint8_t> SoxRaw(const std::string& path, const std::string& type) {
        const std::string raw = path + ".raw";
        EXPECT_EQ(test::RunCommand("sox '" + path + "' -t raw " + type + " '" + raw + "'"), 0);
        return test::ReadFileBytes(raw);
    }
    std::string Out(const std::string& name) { return out.File(name); }

    test::ScopedProfile profile;
    test::ScopedTempDir dir;
    test::ScopedTempDir out;
    BatchConversion batch;
    test::RecordingMonitor monitor;
};

TEST_F(BatchRun, AnEmptyInputListDoesNothing) {
    batch.AddFilter(5);
    const BatchSummary summary = batch.Run(monitor);
    EXPECT_EQ(summary.converted + summary.failed, 0u);
    EXPECT_TRUE(monitor.events.empty());
    EXPECT_TRUE(monitor.log.empty());
}

TEST_F(BatchRun, AnEmptyChainOnlyChangesTheFormat) {
    if (!test::RequireTool("sox")) return;
    const auto samples = MakeInput("a.wav");
    batch.AddInput(dir.File("a.wav"));
    batch.SetOutputFolder(out.path());
    batch.SetOutputFormat(BatchFormat::Au);
    const BatchSummary summary = batch.Run(monitor);
    EXPECT_EQ(summary.converted, 1u);
    EXPECT_EQ(SoxRaw(Out("a.au"), "-e signed -b 16 -L"), samples);
    EXPECT_EQ(monitor.log,
              FormatString(2003, dir.File("a.wav").c_str()) + std::string(LoadString(2004)));
    // Wave output carries the program as its software text.
    batch.SetOutputFormat(BatchFormat::Wave);
    batch.Run(monitor);
    const auto bytes = test::ReadFileBytes(Out("a.wav"));
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find(std::string("ISFT") + '\x08' + std::string(3, '\0') + "Kelvane"),
              std::string::npos);
}

TEST_F(BatchRun, FailuresAreLoggedAndTheRunGoesOn) {
    MakeInput("good.wav");
    // A Wave file without a single frame loads, but there is nothing to save.
    std::vector<std::uint8_t> empty = {'R', 'I', 'F',  'F',  36,  0,   0,    0,    'W', 'A', 'V',
                                       'E', 'f', 'm',  't',  ' ', 16,  0,    0,    0,   1,   0,
                                       1,   0,   0x40, 0x1F, 0,   0,   0x80, 0x3E, 0,   0,   2,
                                       0,   16,  0,    'd',  'a', 't', 'a',  0,    0,   0,   0};
    test::WriteFileBytes(dir.File("empty.wav"), empty);
    test::WriteFileBytes(dir.File("notes.txt"), {'h', 'i'});
    for (const char* name : {"missing.wav", "notes.txt", "empty.wav", "good.wav"})
        batch.AddInput(dir.File(name));
    batch.SetOutputFolder(out.path());
    const BatchSummary summary = batch.Run(monitor);
    EXPECT_EQ(summary.failed, 3u);
    EXPECT_EQ(summary.converted, 1u);
    const std::string missing = dir.File("missing.wav");
    const std::string notes = dir.File("notes.txt");
    const std::string expected =
        FormatString(2000, missing.c_str(),
                     std::string(FileErrorText(FileError::CannotOpen)).c_str()) +
        FormatString(2000, notes.c_str(),
                     std::string(FileErrorText(FileError::UnknownType)).c_str()) +
        FormatString(2002, Out("empty.wav").c_str(),
                     std::string(FileErrorText(FileError::NothingToSave)).c_str()) +
        FormatString(2003, dir.File("good.wav").c_str()) + std::string(LoadString(2004));
    EXPECT_EQ(monitor.log, expected);
    EXPECT_TRUE(fs::exists(Out("good.wav")));
    EXPECT_FALSE(fs::exists(Out("empty.wav")));
    EXPECT_EQ(monitor.overall, (std::vector<int>{0, 25, 50, 75, 100}));
}

TEST_F(BatchRun, AFilterWithoutTemporaryStorageStopsOnlyItsFile) {
    MakeInput("a.wav");
    batch.AddInput(dir.File("a.wav"));
    batch.AddFilter(3);
    batch.AddFilter(5);
    batch.SetOutputFolder(out.path());
    batch.SetTempDirectory(dir.File("no-such-folder"));
    const BatchSummary summary = batch.Run(monitor);
    EXPECT_EQ(summary.failed, 1u);
    EXPECT_EQ(monitor.log,
              FormatString(2001, dir.File("a.wav").c_str()) + std::string(LoadString(2004)));
    // The second filter never ran and nothing was saved.
    EXPECT_EQ(std::count(monitor.events.begin(), monitor.events.end(),
                         "step:" + std::string(BatchFilterName(5))),
              0);
    EXPECT_FALSE(fs::exists(Out("a.wav")));
}

TEST_F(BatchRun, AFailedSaveIsLoggedAndLeavesNoFile) {
    MakeInput("a.wav");
    batch.AddInput(dir.File("a.wav"));
    batch.SetOutputFolder(out.File("no/such/folder"));
    batch.SetOutputFormat(BatchFormat::Aiff);
    const BatchSummary summary = batch.Run(monitor);
    EXPECT_EQ(summary.failed, 1u);
    const std::string output = out.File("no/such/folder/a.aif");
    EXPECT_EQ(monitor.log,
              FormatString(2002, output.c_str(), std::string(LoadString(1009)).c_str()) +
                  std::string(LoadString(2004)));
    EXPECT_FALSE(fs::exists(output));
}

TEST_F(BatchRun, CancellingFinishesTheStepAndSavesNothingMore) {
    for (const char* name : {"1.wav", "2.wav", "3.wav"}) {
        MakeInput(name);
        batch.AddInput(dir.File(name));
    }
    batch.AddFilter(2);
    batch.AddFilter(5);
    batch.SetOutputFolder(out.path());
    const std::string second = dir.File("2.wav");
    monitor.onPos = [&](test::RecordingMonitor& m) {
        if (m.file == second && m.step == BatchFilterName(2)) batch.Cancel();
    };
    const BatchSummary summary = batch.Run(monitor);
    EXPECT_TRUE(summary.cancelled);
    EXPECT_TRUE(fs::exists(Out("1.wav")));
    EXPECT_FALSE(fs::exists(Out("2.wav")));
    EXPECT_FALSE(fs::exists(Out("3.wav")));
    // The volume step ran to its end; the normalize step of file 2 never started.
    const auto volume = std::find(monitor.events.begin(), monitor.events.end(),
                                  "step:" + std::string(BatchFilterName(2)));
    const auto at2 = std::find(monitor.events.begin(), monitor.events.end(), "file:" + second);
    EXPECT_EQ(std::count(at2, monitor.events.end(), "step:" + std::string(BatchFilterName(5))), 0);
    EXPECT_NE(volume, monitor.events.end());
    const std::string end(LoadString(2005));
    ASSERT_GE(monitor.log.size(), end.size());
    EXPECT_EQ(monitor.log.substr(monitor.log.size() - end.size()), end);
    EXPECT_EQ(monitor.file, end);
    EXPECT_FALSE(batch.IsCancelled());
}

TEST_F(BatchRun, RawOutputWithoutASubFormatKeepsTheSampleSize) {
    const auto sixteen = MakeInput("s.wav", 16, 2);
    const auto eight = MakeInput("e.wav", 8, 1);
    batch.AddInput(dir.File("s.wav"));
    batch.AddInput(dir.File("e.wav"));
    batch.SetOutputFolder(out.path());
    batch.SetOutputFormat(BatchFormat::Raw);
    batch.Run(monitor);
    EXPECT_EQ(test::ReadFileBytes(Out("s.raw")), sixteen);  // 16-bit little-endian signed
    EXPECT_EQ(test::ReadFileBytes(Out("e.raw")), eight);    // 8-bit unsigned
    batch.SetSubFormatNumber(4);                            // 16-bit big-endian signed
    batch.Run(monitor);
    auto swapped = sixteen;
    for (std::size_t i = 0; i + 1 < swapped.size(); i += 2) std::swap(swapped[i], swapped[i + 1]);
    EXPECT_EQ(test::ReadFileBytes(Out("s.raw")), swapped);
}

TEST_F(BatchRun, EachFilterReadsOnlyItsOwnSettingsFile) {
    if (!test::RequireTool("sox")) return;
    const auto samples = MakeInput("a.wav", 16, 1);
    WriteProfileInt("WAVEVOLUME", "LEFTVOLUME", 10);  // the editor's settings stay out of it
    batch.AddInput(dir.File("a.wav"));
    batch.SetOutputFolder(out.path());
    const FilterEntry* half = batch.AddFilter(2);
    ASSERT_TRUE(WritePrivateProfileString("BATCH", "LEFTVOLUME", "50", half->SettingsFile()));
    ASSERT_TRUE(WritePrivateProfileString("BATCH", "RIGHTVOLUME", "50", half->SettingsFile()));
    batch.AddFilter(2);  // defaults: 100 %
    batch.Run(monitor);
    const auto result = SoxRaw(Out("a.wav"), "-e signed -b 16 -L");
    ASSERT_EQ(result.size(), samples.size());
    for (std::size_t i = 0; i < samples.size(); i += 2) {
        const auto in = static_cast<std::int16_t>(samples[i] | (samples[i + 1] << 8));
        const auto got = static_cast<std::int16_t>(result[i] | (result[i + 1] << 8));
        ASSERT_EQ(got, in * 50 / 100) << "sample " << i / 2;
    }
    EXPECT_EQ(GetProfileInt("WAVEVOLUME", "LEFTVOLUME", 0), 10);
}

TEST(BatchChain, EntriesOwnTheirSettingsFiles) {
    BatchConversion batch;
    EXPECT_EQ(batch.AddFilter(10), nullptr);
    EXPECT_EQ(batch.AddFilter(-1), nullptr);
    const std::string first = batch.AddFilter(6)->SettingsFile();
    const std::string second = batch.AddFilter(7)->SettingsFile();
    EXPECT_NE(first, second);
    EXPECT_TRUE(fs::exists(first));
    EXPECT_EQ(fs::path(first).filename().string().substr(0, 3), "FIL");
    batch.RemoveFilter(0);
    EXPECT_FALSE(fs::exists(first));
    ASSERT_EQ(batch.Chain().size(), 1u);
    EXPECT_EQ(batch.Chain()[0]->Filter(), 7);
    std::string gone;
    {
        BatchConversion other;
        gone = other.AddFilter(1)->SettingsFile();
    }
    EXPECT_FALSE(fs::exists(gone));
    EXPECT_TRUE(fs::exists(second));
    batch.SetOutputFormat(BatchFormat::Au);
    batch.SetSubFormatNumber(1);
    batch.SetOutputFormat(BatchFormat::Au);  // choosing a format again drops the sub-format
    EXPECT_FALSE(batch.HasSubFormat());
}

TEST(BatchChain, SettingsTextShowsWhatTheFileHoldsInKeyOrder) {
    BatchConversion batch;
    const std::string pitch = batch.AddFilter(7)->SettingsFile();
    EXPECT_EQ(BatchFilterSettingsText(7, pitch), "") << "an empty file";
    ASSERT_TRUE(WritePrivateProfileString("BATCH", "DELAY", "30", pitch));
    ASSERT_TRUE(WritePrivateProfileString("BATCH", "CHANGEPITCH", "95.500000", pitch));
    EXPECT_EQ(BatchFilterSettingsText(7, pitch), "CHANGEPITCH=95.5, DELAY=30");
    ASSERT_TRUE(WritePrivateProfileString("BATCH", "CHANGEPITCH", "100.000000", pitch));
    EXPECT_EQ(BatchFilterSettingsText(7, pitch), "CHANGEPITCH=100, DELAY=30");
    EXPECT_EQ(BatchFilterSettingsText(4, batch.AddFilter(4)->SettingsFile()), "");
}

// The last filter writes its frames straight into the output file: the file is the one
// loading, filtering and saving through temporary storage gives, for every filter, for frames
// of an odd byte count (the "data" chunk's pad byte) and over an earlier output.
TEST_F(BatchRun, TheLastFilterWritesTheSameFileAsASaveOfItsResult) {
    constexpr int kChorus = 8;
    MakeInput("stereo.wav");
    MakeInput("mono8.wav", 8, 1, 20001);
    test::ScopedTempDir reference;
    for (int filter = 0; filter <= 9; ++filter) {
        for (const char* name : {"stereo.wav", "mono8.wav"}) {
            BatchConversion one;
            one.AddInput(dir.File(name));
            one.SetOutputFolder(out.path());
            const std::string settings = one.AddFilter(filter)->SettingsFile();
            for (int run = 0; run < 2; ++run) ASSERT_EQ(one.Run(monitor).converted, 1u);

            WaveObject wave(1, dir.path().c_str());
            ASSERT_EQ(wave.Load(dir.File(name), LOAD_READ_ONLY | LOAD_CONVERT_TO_PCM, nullptr,
                                nullptr, nullptr),
                      FileError::Success);
            auto result = ApplyBatchFilter(filter, wave, {settings, kBatchSection}, nullptr);
            ASSERT_NE(result, nullptr) << filter;
            result->SetInfo("ISFT", std::string(LoadString(57344)).c_str());
            ASSERT_EQ(result->Save(reference.File(name), kFileWave, {}, nullptr, nullptr),
                      FileError::Success);
            const auto bytes = test::ReadFileBytes(Out(name));
            const auto expected = test::ReadFileBytes(reference.File(name));
            // The chorus draws its voices at random anew each time: only the layout compares.
            if (filter == kChorus)
                EXPECT_EQ(bytes.size(), expected.size()) << name;
            else
                EXPECT_EQ(bytes, expected) << BatchFilterName(filter) << " " << name;
        }
    }
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(out.path())) ++files;
    EXPECT_EQ(files, 2u) << "no hidden file is left beside the outputs";
}

}  // namespace
}  // namespace kelvane
