#include "wavedata/WaveObject.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/TestSupport.h"

namespace kelvane {
namespace {

std::unique_ptr<WaveObject> Mono16(std::initializer_list<std::int16_t> samples) {
    auto wave = std::make_unique<WaveObject>(1, nullptr);
    EXPECT_EQ(wave->Allocate(PcmFormat(44100, 16, 1), static_cast<std::uint32_t>(samples.size())),
              1u);
    std::uint32_t i = 0;
    for (const std::int16_t s : samples) wave->SetFrame(i++, PackFrame(s, s));
    return wave;
}

TEST(WaveObject, AllocateGivesAZeroFilledResidentWaveOrFormatOnly) {
    test::ScopedTempDir dir;
    WaveObject wave(1, dir.path().c_str());
    ASSERT_EQ(wave.Allocate(PcmFormat(22050, 16, 2), 1000), 1u);
    EXPECT_EQ(wave.mode, WaveMode::Resident);
    EXPECT_EQ(wave.FrameCount(), 1000u);
    EXPECT_EQ(wave.frameLayout, LayoutStereo16);
    for (std::uint32_t i = 0; i < wave.dataBytes; ++i) ASSERT_EQ(wave.data[i], 0);
    // The temporary file is already gone from the folder while the wave lives.
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));

    ASSERT_EQ(wave.Allocate(PcmFormat(22050, 8, 1), 0), 1u);
    EXPECT_EQ(wave.mode, WaveMode::FormatOnly);
    EXPECT_EQ(wave.FrameCount(), 0u);
    EXPECT_EQ(wave.storage, nullptr);

    WaveObject inMemory(0, nullptr);
    ASSERT_EQ(inMemory.Allocate(PcmFormat(8000, 8, 1), 10), 1u);
    EXPECT_EQ(inMemory.storage->kind, BlockKind::Global);
}

TEST(WaveObject, AllocateInAMissingFolderFailsCleanly) {
    WaveObject wave(1, "/nonexistent/kelvane/folder");
    EXPECT_EQ(wave.Allocate(PcmFormat(8000, 8, 1), 100), 0u);
    EXPECT_NE(wave.mode, WaveMode::Resident);
}

TEST(WaveObject, TemporaryFilesFallBackToTheSystemFolder) {
    WaveObject wave(1, "");
    const std::string name = wave.MakeTempFileName();
    ASSERT_FALSE(name.empty());
    EXPECT_EQ(name.rfind(SystemTempDirectory() + "WAV", 0), 0u) << name;
    struct stat st {};
    EXPECT_EQ(::stat(name.c_str(), &st), 0);
    EXPECT_EQ(st.st_size, 0);
    std::filesystem::remove(name);
}

TEST(WaveObject, InfoTextsKeepTheTableAndNeverStoreEmptyText) {
    WaveObject a(1, nullptr), b(1, nullptr);
    a.SetInfo("INAM", "Song");
    a.SetInfo("ICMT", "note");
    a.SetInfo("XXXX", "ignored");
    EXPECT_STREQ(a.GetInfo("INAM"), "Song");
    EXPECT_EQ(a.GetInfo("XXXX"), nullptr);
    EXPECT_EQ(a.GetInfo("inam"), nullptr);  // ids compare exactly
    a.SetInfo("INAM", "");
    EXPECT_EQ(a.GetInfo("INAM"), nullptr);

    b.SetInfo("IART", "someone");
    b.CopyInfo(&a);
    EXPECT_EQ(b.GetInfo("IART"), nullptr);
    EXPECT_STREQ(b.GetInfo("ICMT"), "note");
    b.CopyInfo(nullptr);
    EXPECT_STREQ(b.GetInfo("ICMT"), "note");
    WaveObject none(1, nullptr);
    b.CopyInfo(&none);
    for (const auto id : kInfoIds) EXPECT_EQ(b.GetInfo(id), nullptr) << id;
}

TEST(WaveObject, InterpolationMixesWithSilenceAndRoundsFromTheUnsignedBase) {
    auto wave = Mono16({1000, -100, -101, 3000});
    const std::uint32_t n = wave->FrameCount();
    EXPECT_EQ(wave->GetFrameInterpolated(n - 0.5), PackFrame(1500, 1500));
    EXPECT_EQ(wave->GetFrameInterpolated(n), 0u);
    EXPECT_EQ(wave->GetFrameInterpolated(n + 7.25), 0u);
    EXPECT_EQ(wave->GetFrameInterpolated(-0.25), 0u);
    EXPECT_EQ(wave->GetFrameInterpolated(1.5), PackFrame(-101, -101));
    EXPECT_EQ(wave->GetFrameInterpolated(0.0), PackFrame(1000, 1000));
    EXPECT_EQ(wave->GetFrameInterpolated(0.5), PackFrame(450, 450));
}

TEST(WaveObject, ResetStopsAPlayingDeviceBeforeTheDataGoes) {
    static bool sawData = false;
    SetStopDeviceHook([](WaveObject& w) {
        sawData = w.storage != nullptr && w.data != nullptr;
        w.deviceState = DeviceState::Idle;
    });
    {
        auto wave = Mono16({1, 2, 3});
        wave->deviceState = DeviceState::Playing;
        wave->Reset();
        EXPECT_TRUE(sawData);
        EXPECT_EQ(wave->mode, WaveMode::Empty);
        EXPECT_EQ(wave->format, nullptr);
    }
    SetStopDeviceHook(nullptr);
}

TEST(WaveObject, AttachBlockAdoptsOrBorrows) {
    auto block = std::make_unique<GlobalBlock>(64, true);
    WaveObject borrowing(1, nullptr);
    ASSERT_EQ(borrowing.AttachBlock(PcmFormat(8000, 16, 2), *block), 1u);
    EXPECT_EQ(borrowing.FrameCount(), 16u);
    EXPECT_EQ(borrowing.storage->kind, BlockKind::Borrowed);

    std::unique_ptr<DataBlock> owned = std::move(block);
    WaveObject adopting(1, nullptr);
    borrowing.Reset();
    ASSERT_EQ(adopting.AttachBlock(PcmFormat(8000, 8, 1), owned), 1u);
    EXPECT_EQ(owned, nullptr);
    EXPECT_EQ(adopting.FrameCount(), 64u);

    std::unique_ptr<DataBlock> empty = std::make_unique<BorrowedBlock>(nullptr, 0, false, false);
    EXPECT_EQ(adopting.AttachBlock(PcmFormat(8000, 8, 1), empty), 0u);
    EXPECT_NE(empty, nullptr);
    EXPECT_EQ(adopting.FrameCount(), 64u);  // unchanged by the refusal
}

}  // namespace
}  // namespace kelvane
