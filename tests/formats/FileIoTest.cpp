// Load, Save and Materialize across the formats: round trips, progress, refusals and saves
// that fail half-way.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <functional>

#include "formats/FormatsTestUtil.h"
#include "support/TestSupport.h"

namespace kelvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(RoundTrip, EveryFormatKeepsFramesFormatSamplesAndWaveInfo) {
    test::ScopedTempDir dir;
    struct Target {
        const char* name;
        std::uint32_t saveType, loadType, code;
    };
    const Target targets[] = {{"r.wav", 0, 0, 0},
                              {"r.aiff", 0, 0, 0},
                              {"r.au", 0, 0, 0},
                              {"r8s.raw", kFileRawSave, kFileRawLoad, 1},
                              {"r8u.raw", kFileRawSave, kFileRawLoad, 2},
                              {"r3.raw", kFileRawSave, kFileRawLoad, 3},
                              {"r4.raw", kFileRawSave, kFileRawLoad, 4},
                              {"r5.raw", kFileRawSave, kFileRawLoad, 5},
                              {"r6.raw", kFileRawSave, kFileRawLoad, 6}};
    for (const WaveFormat& f : {PcmFormat(11025, 8, 1), PcmFormat(22050, 8, 2),
                                PcmFormat(12000, 16, 1), PcmFormat(96000, 16, 2)}) {
        auto wave = test::RandomWave(f, 1001, f.samplesPerSec);
        for (std::size_t i = 0; i < kInfoCount; ++i)
            wave->SetInfo(kInfoIds[i], std::string(i + 1, static_cast<char>('a' + i)).c_str());
        for (const Target& t : targets) {
            const bool raw = t.saveType == kFileRawSave;
            if (raw && (t.code <= 2) != (f.bitsPerSample == 8)) continue;
            const std::string file = dir.File(t.name);
            ASSERT_EQ(wave->Save(file, t.saveType, {.code = t.code}), FileError::Success) << t.name;
            const RawParams params{16, f.samplesPerSec, t.code, f.channels};
            auto streamed = test::LoadOrFail(file, t.loadType, &params);
            auto back = test::LoadOrFail(file, t.loadType | LOAD_CONVERT_TO_PCM, &params);
            ASSERT_EQ(back->mode, WaveMode::Resident) << t.name;
            EXPECT_TRUE(SameFormat(*back->format, f)) << t.name;
            EXPECT_EQ(back->FrameCount(), 1001u) << t.name;
            EXPECT_EQ(0, std::memcmp(back->data, wave->data, wave->dataBytes)) << t.name;
            if (std::string(t.name) == "r.wav") {
                for (const auto id : kInfoIds) EXPECT_STREQ(back->GetInfo(id), wave->GetInfo(id));
                continue;
            }
            // Saving the Streamed object reads its stream: the same file again.
            ASSERT_EQ(streamed->mode, WaveMode::Streamed) << t.name;
            const std::string again = dir.File(std::string("again-") + t.name);
            ASSERT_EQ(streamed->Save(again, t.saveType, {.code = t.code}), FileError::Success);
            EXPECT_EQ(test::ReadFileBytes(again), test::ReadFileBytes(file)) << t.name;
        }
    }
}

TEST(Refusals, LoadAndSaveRefuseWhatTheyCannotDo) {
    test::ScopedTempDir dir;
    WaveObject wave;
    EXPECT_EQ(wave.Load(dir.File("x.raw"), 0), FileError::UnknownType);
    EXPECT_EQ(wave.Load(dir.File("missing.wav"), 0), FileError::CannotOpen);
    ASSERT_EQ(wave.Allocate(PcmFormat(8000, 16, 1), 10), 1u);
    EXPECT_EQ(wave.Save(dir.File("x.mp2"), 0), FileError::BadRequest);
    EXPECT_EQ(wave.Save(dir.File("x.wav"), 0x50000), FileError::BadRequest);
    EXPECT_EQ(wave.Materialize(), FileError::NotStreamed);
    WaveObject formatOnly;
    ASSERT_EQ(formatOnly.Allocate(PcmFormat(8000, 16, 1), 0), 1u);
    EXPECT_EQ(formatOnly.Save(dir.File("x.wav"), 0), FileError::NothingToSave);
}

TEST(Progress, EachPathReportsItsPhaseUpToOneHundred) {
    test::ScopedTempDir dir;
    auto wave = test::SweepWave(8000, 1, 40000, 100, 1000, 10000);
    WaveFormat mulaw = PcmFormat(8000, 8, 1);
    mulaw.formatTag = kTagMuLaw;
    ASSERT_EQ(wave->Save(dir.File("p.au"), 0), FileError::Success);
    // Phases in the order they appear; converting into memory fills the first half of the
    // bar, the copy the second. AU files load without reports.
    const auto save = [&](const char* name, const WaveFormat* target, test::ProgressLog& log) {
        return wave->Save(dir.File(name), 0, {.target = target}, test::ProgressLog::Record, &log);
    };
    const auto load = [&](const char* name, std::uint32_t flags, test::ProgressLog& log) {
        WaveObject w;
        return w.Load(dir.File(name), flags, nullptr, test::ProgressLog::Record, &log);
    };
    const std::pair<std::function<FileError(test::ProgressLog&)>, std::vector<std::uint32_t>>
        cases[] = {
            {[&](auto& log) { return save("p.aiff", nullptr, log); }, {1}},
            {[&](auto& log) { return save("mu.wav", &mulaw, log); }, {1}},
            {[&](auto& log) { return load("p.aiff", LOAD_CONVERT_TO_PCM, log); }, {2}},
            {[&](auto& log) { return load("mu.wav", LOAD_TO_MEMORY | LOAD_CONVERT_TO_PCM, log); },
             {2, 0}},
            {[&](auto& log) { return load("p.au", LOAD_CONVERT_TO_PCM, log); }, {}},
        };
    for (const auto& [run, expected] : cases) {
        test::ProgressLog log;
        ASSERT_EQ(run(log), FileError::Success);
        std::vector<std::uint32_t> phases;
        std::uint32_t last = 0;
        for (const auto& [phase, percent] : log.calls) {
            if (phases.empty() || phases.back() != phase) phases.push_back(phase);
            EXPECT_GE(percent, last);  // never backwards, across phases too
            last = percent;
        }
        EXPECT_EQ(phases, expected);
        if (!expected.empty()) {
            EXPECT_EQ(last, 100u);
        }
    }
}

// A file size limit makes every write past it fail, as a full disk does.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        ::signal(SIGXFSZ, oldHandler_);
    }

  private:
    rlimit saved_{};
    sighandler_t oldHandler_;
};

TEST(AtomicSave, AFailedSaveLeavesTheTargetAsItWasAndNoOtherFile) {
    test::ScopedTempDir dir;
    const std::string target = dir.File("keep.wav");
    auto small = test::RandomWave(PcmFormat(8000, 8, 1), 100, 1);
    ASSERT_EQ(small->Save(target, 0), FileError::Success);
    const Bytes before = test::ReadFileBytes(target);
    auto big = test::RandomWave(PcmFormat(44100, 16, 2), 3 << 20, 2);  // 12 MiB

    const std::tuple<std::uint32_t, std::uint32_t, FileError> cases[] = {
        {kFileWave, 0, FileError::WriteFailed},
        {kFileAiff, 0, FileError::WriteFailed},
        {kFileAu, 0, FileError::WriteFailed},
        {kFileRawSave, 4, FileError::WriteFailed},
        {kFileFlac, 0, FileError::WriteFailed}};
    for (const auto& [type, option, code] : cases) {
        {
            FileSizeLimit limit(4 << 20);
            EXPECT_EQ(big->Save(target, type, {.code = option}), code) << type;
            EXPECT_EQ(big->WriteWaveFile(target), 0u);
        }
        EXPECT_EQ(test::ReadFileBytes(target), before) << type;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                                std::filesystem::directory_iterator()),
                  1);
    }
    EXPECT_EQ(big->WriteWaveFile(dir.File("missing/x.wav")), 0u);
    EXPECT_EQ(big->Save(dir.File("missing/x.wav"), 0), FileError::CannotCreate);
    EXPECT_EQ(big->Save(dir.File("missing/x.aiff"), 0), FileError::CannotCreate);
    EXPECT_EQ(big->Save(dir.path(), kFileAu), FileError::CannotCreate);
}

TEST(AtomicSave, ReplacingKeepsTheTargetsPermissionsAndNewFilesFollowTheUmask) {
    test::ScopedTempDir dir;
    const std::string target = dir.File("p.wav");
    ASSERT_TRUE(test::WriteFileBytes(target, {1}));
    std::filesystem::permissions(target, std::filesystem::perms(0640));
    auto wave = test::RandomWave(PcmFormat(8000, 8, 1), 10, 1);
    ASSERT_EQ(wave->Save(target, 0), FileError::Success);
    EXPECT_EQ(std::filesystem::status(target).permissions(), std::filesystem::perms(0640));
    const mode_t old = ::umask(027);
    ASSERT_EQ(wave->Save(dir.File("new.wav"), 0), FileError::Success);
    ::umask(old);
    EXPECT_EQ(std::filesystem::status(dir.File("new.wav")).permissions(),
              std::filesystem::perms(0640));
}

}  // namespace
}  // namespace kelvane
