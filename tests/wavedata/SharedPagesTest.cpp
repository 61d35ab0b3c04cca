#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <vector>

#include "support/TestSupport.h"
#include "wavedata/WaveObject.h"

namespace kelvane {
namespace {

const FrameLayout kLayouts[] = {LayoutMono8, LayoutStereo8, LayoutMono16, LayoutStereo16};

WaveFormat FormatOf(FrameLayout layout) {
    const bool stereo = layout == LayoutStereo8 || layout == LayoutStereo16;
    const bool wide = layout == LayoutMono16 || layout == LayoutStereo16;
    return PcmFormat(22050, wide ? 16 : 8, stereo ? 2 : 1);
}

// Restores whole copies as the default when a test ends, however it ends.
struct SharingOn {
    explicit SharingOn(bool on) { SetPageSharing(on); }
    ~SharingOn() { SetPageSharing(true); }
};

// Random kept runs in order and apart: around an edit point, sometimes near page edges,
// sometimes shifted by a length change, sometimes taken from elsewhere (a Copy).
std::vector<KeptRun> RandomRuns(std::uint32_t sourceFrames, std::uint32_t& frames,
                                std::mt19937& rng) {
    auto pick = [&](std::uint32_t below) {
        return below == 0 ? 0u : std::uniform_int_distribution<std::uint32_t>(0, below - 1)(rng);
    };
    std::vector<KeptRun> runs;
    switch (pick(3)) {
        case 0: {  // an edit inside: same length, or longer or shorter after the point
            const std::uint32_t a = pick(sourceFrames + 1);
            const std::uint32_t b = a + pick(sourceFrames - a + 1);
            const std::uint32_t inserted = pick(3) == 0 ? b - a : pick(9000);
            frames = sourceFrames - (b - a) + inserted;
            runs = {{0, 0, a}, {a + inserted, b, sourceFrames - b}};
            break;
        }
        case 1: {  // a piece of the source
            const std::uint32_t a = pick(sourceFrames + 1);
            frames = pick(sourceFrames - a + 1);
            runs = {{0, a, frames}};
            break;
        }
        default: {  // two pieces around a hole, the second from elsewhere
            const std::uint32_t a = pick(sourceFrames / 2 + 1);
            const std::uint32_t hole = pick(5000);
            const std::uint32_t from = pick(sourceFrames + 1);
            const std::uint32_t count = pick(sourceFrames - from + 1);
            frames = a + hole + count;
            runs = {{0, 0, a}, {a + hole, from, count}};
        }
    }
    return runs;
}

// The new sound with `kept` from the source and every other byte from `fill`.
std::unique_ptr<WaveObject> Build(const WaveObject& source, std::uint32_t frames,
                                  const std::vector<KeptRun>& kept, std::uint8_t fill,
                                  const std::string& dir) {
    auto wave = std::make_unique<WaveObject>(1, dir.c_str());
    std::vector<KeptRun> toCopy;
    if (!wave->AllocateSharing(source, frames, kept, toCopy)) return nullptr;
    const std::uint64_t bpf = BytesPerFrame(source.frameLayout);
    std::uint64_t at = 0;
    for (const KeptRun& run : kept) {
        std::fill(wave->data + at, wave->data + run.to * bpf, fill);
        at = (run.to + run.count) * bpf;
    }
    std::fill(wave->data + at, wave->data + wave->dataBytes, fill);
    CopyKeptBytes(source, *wave, toCopy, 0, wave->dataBytes);
    return wave;
}

TEST(SharedPages, SoundsMadeFromSharedPagesEqualWholeCopies) {
    test::ScopedTempDir dir;
    std::mt19937 rng(25);
    int sharing = 0;
    for (const FrameLayout layout : kLayouts) {
        for (int round = 0; round < 24; ++round) {
            SCOPED_TRACE(::testing::Message() << "layout " << layout << " round " << round);
            const std::uint32_t frames = 1 + rng() % 60000;
            const std::uint32_t seed = rng();
            auto plain = test::RandomWave(FormatOf(layout), frames, seed);
            ASSERT_TRUE(plain);
            // Data at the start of a page, after a header, or a byte short of a page's end.
            const std::uint32_t offsets[] = {0, 44, 4095, 58};
            auto shared = test::FileBackedCopy(*plain, offsets[round % 4], dir.path());
            ASSERT_TRUE(shared);
            std::unique_ptr<WaveObject> whole = test::RandomWave(FormatOf(layout), frames, seed);
            // A chain of edits: each step's sound is the next one's source, so pieces of
            // pieces are made too.
            for (int step = 0; step < 4; ++step) {
                std::uint32_t length = 0;
                const auto runs = RandomRuns(whole->FrameCount(), length, rng);
                const auto fill = static_cast<std::uint8_t>(rng());
                auto nextShared = Build(*shared, length, runs, fill, dir.path());
                std::unique_ptr<WaveObject> nextWhole;
                {
                    SharingOn off(false);
                    nextWhole = Build(*whole, length, runs, fill, dir.path());
                }
                ASSERT_TRUE(nextShared && nextWhole);
                ASSERT_EQ(nextShared->dataBytes, nextWhole->dataBytes);
                ASSERT_TRUE(std::equal(nextWhole->data, nextWhole->data + nextWhole->dataBytes,
                                       nextShared->data))
                    << "step " << step;
                sharing += nextShared->storage->kind == BlockKind::Pieces ? 1 : 0;
                shared = std::move(nextShared);
                whole = std::move(nextWhole);
            }
        }
    }
    EXPECT_GT(sharing, 100);
}

TEST(SharedPages, FreedSoundsAndTheirUndoLevelsLeaveNothingMappedOpenOrOnDisk) {
    test::ScopedTempDir dir;
    const std::size_t files = test::OpenFileCount();
    {
        const std::uint32_t second = 22050;
        auto plain = test::RandomWave(FormatOf(LayoutStereo16), 200 * second, 7);
        auto current = test::FileBackedCopy(*plain, 44, dir.path());
        ASSERT_TRUE(current);
        const std::uint64_t size = current->dataBytes;
        EXPECT_EQ(current->storage->ExclusiveBytes(), size + 44);
        std::vector<std::unique_ptr<WaveObject>> undo;
        std::mt19937 rng(3);
        // One-second edits, far more of them than a sound may have pieces.
        for (int edit = 0; edit < 200; ++edit) {
            const std::uint32_t at = rng() % (199 * second);
            const std::vector<KeptRun> runs = {{0, 0, at},
                                               {at + second, at + second, 199 * second - at}};
            auto next = Build(*current, 200 * second, runs, 1, dir.path());
            ASSERT_TRUE(next);
            EXPECT_LE(next->storage->Pieces().size(), 128u);
            // The new sound's own bytes: a second and the pages at its edges, never the sound.
            if (edit < 20) {
                EXPECT_LE(next->storage->ExclusiveBytes(), 4u * second + 3 * 4096);
            }
            undo.push_back(std::move(current));
            current = std::move(next);
        }
        EXPECT_EQ(undo.front()->storage->ExclusiveBytes(), 0u);
        std::vector<std::uint64_t> ownBytes;
        for (auto& level : undo) ownBytes.push_back(level->storage->ExclusiveBytes());
        // Every level is backed by pieces the freeing below must give back.
        EXPECT_GT(test::MappingCount(dir.path()), 100u);
    }
    EXPECT_EQ(test::MappingCount(dir.path()), 0u);
    EXPECT_EQ(test::OpenFileCount(), files);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(SharedPages, SoundsInMemoryOrInOthersFilesAreCopiedWhole) {
    test::ScopedTempDir dir;
    auto random = test::RandomWave(FormatOf(LayoutStereo16), 50000, 1);
    auto memory = std::make_unique<WaveObject>(0);
    ASSERT_TRUE(memory->Allocate(*random->format, 50000));
    std::copy_n(random->data, random->dataBytes, memory->data);
    std::vector<KeptRun> toCopy;
    const KeptRun kept[] = {{0, 0, 50000}};
    WaveObject fromMemory(1, dir.path().c_str());
    ASSERT_TRUE(fromMemory.AllocateSharing(*memory, 50000, kept, toCopy));
    EXPECT_EQ(fromMemory.storage->kind, BlockKind::MappedFile);
    ASSERT_EQ(toCopy.size(), 1u);
    EXPECT_EQ(toCopy[0].count, 200000u);

    auto file = test::FileBackedCopy(*memory, 0, dir.path());
    const std::string path = dir.File("theirs.raw");
    ASSERT_TRUE(
        test::WriteFileBytes(path, std::vector<std::uint8_t>(memory->data, memory->data + 200000)));
    file->storage = std::make_unique<MappedFileBlock>(0, path.c_str(), false, nullptr, false, true);
    file->data = file->storage->pointer;
    WaveObject fromTheirs(1, dir.path().c_str());
    ASSERT_TRUE(fromTheirs.AllocateSharing(*file, 50000, kept, toCopy));
    EXPECT_EQ(fromTheirs.storage->kind, BlockKind::MappedFile);
    EXPECT_EQ(file->storage->ExclusiveBytes(), 0u);

    // Pages of its own need space: without a temporary folder the new sound fails whole.
    auto ours = test::FileBackedCopy(*memory, 0, dir.path());
    WaveObject nowhere(1, dir.File("missing").c_str());
    const KeptRun around[] = {{0, 0, 20000}, {20001, 20001, 29999}};
    EXPECT_EQ(nowhere.AllocateSharing(*ours, 50000, around, toCopy), 0u);
    EXPECT_EQ(nowhere.data, nullptr);
}

}  // namespace
}  // namespace kelvane
