#include "DeviceTestUtil.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <cmath>
#include <random>

#include "devices/Recording.h"

namespace kelvane::test {

bool PumpUntil(const std::function<bool()>& done, double seconds) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > seconds * 1000) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(2);
    }
    return true;
}

void PumpFor(double seconds) {
    PumpUntil([] { return false; }, seconds);
}

std::unique_ptr<WaveObject> NoiseWave(const WaveFormat& format, std::uint32_t frames,
                                      std::uint32_t seed) {
    auto wave = std::make_unique<WaveObject>();
    EXPECT_EQ(wave->Allocate(format, frames), 1u);
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> sample(-20000, 20000);
    for (std::uint32_t i = 0; i < frames; ++i) {
        auto value = [&] {
            const int s = sample(random);
            return static_cast<std::uint16_t>(s == 0 ? 1000 : s);
        };
        const std::uint32_t left = value();
        wave->SetFrame(i, left | (static_cast<std::uint32_t>(value()) << 16));
    }
    return wave;
}

namespace {

int Left(const WaveObject& wave, std::uint32_t i) {
    return static_cast<std::int16_t>(wave.GetFrame(i) & 0xFFFF);
}

bool Sounding(const WaveObject& wave, std::uint32_t i) {
    const FrameValue v = wave.GetFrame(i);
    // 8-bit samples carry the top byte only: anything within one step of 0 is silence.
    return std::abs(static_cast<std::int16_t>(v & 0xFFFF)) > 256 ||
           std::abs(static_cast<std::int16_t>(v >> 16)) > 256;
}

double Correlation(const WaveObject& a, std::uint32_t aStart, const WaveObject& b,
                   std::uint32_t bStart, std::uint32_t count) {
    double ab = 0, aa = 0, bb = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const double x = Left(a, aStart + i);
        const double y = Left(b, bStart + i);
        ab += x * y;
        aa += x * x;
        bb += y * y;
    }
    return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0;
}

}  // namespace

Match FindInRecording(const WaveObject& played, std::uint32_t start, std::uint32_t count,
                      const WaveObject& recorded) {
    Match match;
    const std::uint32_t n = recorded.FrameCount();
    std::uint32_t first = 0;
    while (first < n && !Sounding(recorded, first)) ++first;
    if (first == n) return match;
    std::uint32_t last = n - 1;
    while (last > first && !Sounding(recorded, last)) --last;
    match.span = last - first + 1;
    // The first sounding frame may be one of the quiet frames of the noise.
    const std::uint32_t probe = std::min<std::uint32_t>(count, 2000);
    for (std::uint32_t back = 0; back <= 8 && back <= first; ++back) {
        const std::uint32_t at = first - back;
        if (at + probe > n) break;
        const double c = Correlation(played, start, recorded, at, probe);
        if (c > match.correlation) {
            match.correlation = c;
            match.offset = at;
        }
    }
    match.found = true;
    const std::uint32_t compared = std::min(count, n - match.offset);
    match.correlation = Correlation(played, start, recorded, match.offset, compared);
    for (std::uint32_t i = 0; i < compared; ++i)
        if (played.GetFrame(start + i) != recorded.GetFrame(match.offset + i)) ++match.differing;
    return match;
}

std::unique_ptr<WaveObject> RecordWhile(const WaveFormat& format, const std::function<void()>& play,
                                        double tailSeconds) {
    auto recorded = std::make_unique<WaveObject>();
    recorded->Allocate(format, 0);
    EXPECT_EQ(StartRecord(*recorded, -1), DeviceCode::Ok);
    // The server may take a moment before the first recorded bytes arrive.
    EXPECT_TRUE(PumpUntil([&] { return GetRecordedFrames(*recorded) > 0; }, 10));
    PumpFor(0.3);
    play();
    PumpFor(tailSeconds);
    recorded->StopDevice();
    EXPECT_EQ(recorded->deviceState, DeviceState::Idle);
    return recorded;
}

}  // namespace kelvane::test
