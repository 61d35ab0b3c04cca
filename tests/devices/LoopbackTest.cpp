#include <QThread>
#include <algorithm>

#include "DeviceTestUtil.h"
#include "devices/Playback.h"
#include "devices/Recording.h"
#include "formats/FileError.h"
#include "support/EditorTest.h"

namespace kelvane::test {
namespace {

// The application is up (it installs the device hooks); these drive the devices directly.
class Loopback : public EditorTest {};

constexpr std::uint32_t kRate = 44100;
constexpr std::uint32_t kBuffer = kRate / 4;

bool WaitUntilIdle(const WaveObject& wave, double seconds) {
    return PumpUntil([&] { return wave.deviceState == DeviceState::Idle; }, seconds);
}

TEST_F(Loopback, PlayedFramesArriveInTheRecordingInEachPcmLayout) {
    if (!RequireSoundServer()) return;
    for (const auto& [bits, channels] :
         {std::pair<std::uint16_t, std::uint16_t>{16, 2}, {16, 1}, {8, 2}, {8, 1}}) {
        SCOPED_TRACE(testing::Message() << bits << "-bit, " << channels << " channel(s)");
        const WaveFormat format = PcmFormat(kRate, bits, channels);
        auto played = NoiseWave(format, 3 * kRate, bits + channels);
        const std::uint32_t start = kRate / 2, count = 2 * kRate;
        auto recorded = RecordWhile(format, [&] {
            ASSERT_EQ(StartPlay(*played, start, count, 0, -1), DeviceCode::Ok);
            EXPECT_TRUE(WaitUntilIdle(*played, 30)) << "playback never ended by itself";
        });
        ASSERT_EQ(recorded->mode, WaveMode::Resident);
        const Match match = FindInRecording(*played, start, count, *recorded);
        ASSERT_TRUE(match.found) << "the recording is silent";
        EXPECT_GT(match.correlation, 0.99);
        EXPECT_LE(std::max(match.span, count) - std::min(match.span, count), kBuffer)
            << "recorded " << match.span << " frames of " << count;
        EXPECT_EQ(match.differing, 0u) << "frames changed on the way through the server";
    }
}

TEST_F(Loopback, ABusyUiThreadLeavesNoGap) {
    if (!RequireSoundServer()) return;
    const WaveFormat format = PcmFormat(kRate, 16, 2);
    auto played = NoiseWave(format, 3 * kRate, 7);
    auto recorded = RecordWhile(format, [&] {
        ASSERT_EQ(StartPlay(*played, 0, 3 * kRate, 0, -1), DeviceCode::Ok);
        PumpFor(0.4);
        QThread::msleep(500);  // the UI thread handles nothing meanwhile
        EXPECT_TRUE(WaitUntilIdle(*played, 30));
    });
    const Match match = FindInRecording(*played, 0, 3 * kRate, *recorded);
    ASSERT_TRUE(match.found);
    // A gap shifts everything after it, which no correlation of the whole range survives.
    EXPECT_GT(match.correlation, 0.99);
    EXPECT_EQ(match.differing, 0u);
}

TEST_F(Loopback, ARangeShorterThanABufferPlaysOnceAndStopsByItself) {
    if (!RequireSoundServer()) return;
    const WaveFormat format = PcmFormat(kRate, 16, 1);
    auto played = NoiseWave(format, kRate, 3);
    const std::uint32_t start = 1000, count = kRate / 10;
    auto recorded = RecordWhile(format, [&] {
        ASSERT_EQ(StartPlay(*played, start, count, 0, -1), DeviceCode::Ok);
        EXPECT_EQ(played->deviceState, DeviceState::Playing);
        std::uint32_t frame = GetPlayFrame(*played);
        EXPECT_TRUE(frame >= start && frame <= start + count) << frame;
        EXPECT_TRUE(WaitUntilIdle(*played, 10));
    });
    EXPECT_EQ(played->deviceContext, nullptr);
    EXPECT_EQ(GetPlayFrame(*played), 0u);
    const Match match = FindInRecording(*played, start, count, *recorded);
    ASSERT_TRUE(match.found);
    EXPECT_GT(match.correlation, 0.99);
    EXPECT_LE(match.span, count + 16) << "played more than once";
}

TEST_F(Loopback, ALoopKeepsThePlayFrameInsideItsRangeUntilStopped) {
    if (!RequireSoundServer()) return;
    const WaveFormat format = PcmFormat(kRate, 16, 2);
    auto played = NoiseWave(format, kRate, 5);
    const std::uint32_t start = 10000, count = 5000;  // passes shorter than a buffer
    ASSERT_EQ(StartPlay(*played, start, count, 1, -1), DeviceCode::Ok);
    std::uint32_t lowest = UINT32_MAX, highest = 0, outside = 0, wraps = 0, previous = start;
    PumpUntil(
        [&] {
            const std::uint32_t frame = GetPlayFrame(*played);
            if (frame < start || frame >= start + count) ++outside;
            if (frame < previous) ++wraps;
            previous = frame;
            lowest = std::min(lowest, frame);
            highest = std::max(highest, frame);
            return false;
        },
        2.0);
    EXPECT_EQ(outside, 0u) << "lowest " << lowest << ", highest " << highest;
    EXPECT_GE(wraps, 2u) << "the play frame never jumped back to the range start";
    EXPECT_EQ(played->deviceState, DeviceState::Playing) << "a loop ended by itself";
    played->StopDevice();
    EXPECT_EQ(played->deviceState, DeviceState::Idle);
}

TEST_F(Loopback, StartPlayRefusesWhatItCannotPlay) {
    if (!RequireSoundServer()) return;
    const WaveFormat format = PcmFormat(kRate, 16, 2);
    auto played = NoiseWave(format, kRate, 9);
    EXPECT_EQ(StartPlay(*played, 0, 0, 0, -1), DeviceCode::NothingToPlay);
    EXPECT_EQ(StartPlay(*played, 0, kRate, 0, 99), DeviceCode::NoSuchDevice);
    EXPECT_EQ(played->deviceState, DeviceState::Idle);
    WaveObject empty;
    empty.Allocate(format, 0);
    EXPECT_EQ(StartPlay(empty, 0, 10, 0, -1), DeviceCode::NoData);

    ASSERT_EQ(StartPlay(*played, 0, kRate, 0, -1), DeviceCode::Ok);
    EXPECT_EQ(StartPlay(*played, 0, kRate, 0, -1), DeviceCode::Playing);
    EXPECT_EQ(played->deviceState, DeviceState::Playing) << "the first playback must go on";
    EXPECT_TRUE(WaitUntilIdle(*played, 20));
}

TEST_F(Loopback, ACompressedSoundPlaysAsSixteenBitPcm) {
    if (!RequireSoundServer()) return;
    auto pcm = NoiseWave(PcmFormat(kRate, 16, 1), kRate, 11);
    const std::string path = dir.File("mulaw.wav");
    WaveFormat mulaw{kTagMuLaw, 1, kRate, kRate, 1, 8, 0};
    ASSERT_EQ(pcm->Save(path, kFileWave, {&mulaw}), FileError::Success);
    WaveObject compressed;
    ASSERT_EQ(compressed.Load(path, kFileWave), FileError::Success);
    auto recorded = RecordWhile(PcmFormat(kRate, 16, 1), [&] {
        ASSERT_EQ(StartPlay(compressed, 0, compressed.FrameCount(), 0, -1), DeviceCode::Ok);
        EXPECT_TRUE(WaitUntilIdle(compressed, 20));
    });
    const Match match = FindInRecording(*pcm, 0, kRate, *recorded);
    ASSERT_TRUE(match.found);
    EXPECT_GT(match.correlation, 0.99);  // Mu-Law is lossy, but not by much
}

}  // namespace
}  // namespace kelvane::test
