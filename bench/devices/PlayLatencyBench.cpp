// Whether the play cursor agrees with what is heard. Plays a click every 100 ms through the
// editor's playback and records the sink's monitor with parec, an independent reader, timing
// each block it delivers. For each click it compares when GetPlayFrame first reached the
// click's frame with when the click reached the monitor, and it times the sound from the play
// command (the first click, less the silence before it). Prints milliseconds per run.
//
//   bench_play_latency MONITOR_SOURCE
#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "devices/DeviceHooks.h"
#include "devices/Playback.h"
#include "platform/audio/AudioDevices.h"

namespace {

using namespace kelvane;
using Clock = std::chrono::steady_clock;

constexpr std::uint32_t kRate = 44100;
constexpr std::uint32_t kClickEvery = kRate / 10;
// A stream joining a running sink loses its first milliseconds on the monitor (pacat's too),
// so the clicks start after a lead-in of silence.
constexpr std::uint32_t kLeadIn = kRate / 5;
constexpr std::uint32_t kClicks = 30;
constexpr std::uint32_t kClickFrames = 8;
constexpr std::int16_t kThreshold = 10000;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Records mono 16-bit from a source through parec and keeps, with the samples, the earliest
// time each frame can have reached the source: a block read at t ending at frame n puts frame
// i at t - (n - i) / rate at the latest, and the least of these over all blocks is the bound.
class MonitorRecorder {
  public:
    explicit MonitorRecorder(const std::string& source) {
        const std::string command =
            "parec --raw --format=s16le --channels=1 --rate=" + std::to_string(kRate) +
            " --latency-msec=5 -d " + source + " 2>/dev/null";
        m_pipe = ::popen(command.c_str(), "r");
        if (m_pipe) m_thread = std::thread([this] { Read(); });
    }
    ~MonitorRecorder() { Stop(); }
    [[nodiscard]] bool Running() const { return m_pipe != nullptr; }
    void Stop() {
        m_stop = true;
        if (m_thread.joinable()) m_thread.join();
        if (m_pipe) ::pclose(m_pipe);
        m_pipe = nullptr;
    }
    // Frames whose absolute value passes the threshold after at least a click's gap.
    [[nodiscard]] std::vector<Clock::time_point> Clicks() const {
        std::vector<Clock::time_point> times;
        std::size_t quietSince = 0;
        for (std::size_t i = 0; i < m_samples.size(); ++i) {
            if (std::abs(m_samples[i]) < kThreshold) continue;
            if (times.empty() || i - quietSince > kClickEvery / 2)
                times.push_back(m_origin + std::chrono::duration_cast<Clock::duration>(
                                               std::chrono::duration<double>(double(i) / kRate)));
            quietSince = i;
        }
        return times;
    }

  private:
    void Read() {
        std::int16_t block[256];
        bool first = true;
        while (!m_stop) {
            const std::size_t got = std::fread(block, sizeof block[0], std::size(block), m_pipe);
            if (got == 0) break;
            const Clock::time_point now = Clock::now();
            m_samples.insert(m_samples.end(), block, block + got);
            const auto origin =
                now - std::chrono::duration_cast<Clock::duration>(
                          std::chrono::duration<double>(double(m_samples.size()) / kRate));
            if (first || origin < m_origin) m_origin = origin;
            first = false;
        }
    }

    std::FILE* m_pipe = nullptr;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::vector<std::int16_t> m_samples;
    Clock::time_point m_origin{};
};

std::unique_ptr<WaveObject> ClickTrack() {
    auto wave = std::make_unique<WaveObject>();
    if (!wave->Allocate(PcmFormat(kRate, 16, 1), kLeadIn + kClicks * kClickEvery)) return nullptr;
    auto* samples = reinterpret_cast<std::int16_t*>(wave->data);
    std::fill_n(samples, wave->FrameCount(), std::int16_t{0});
    for (std::uint32_t c = 0; c < kClicks; ++c)
        std::fill_n(samples + kLeadIn + c * kClickEvery, kClickFrames, 30000);
    return wave;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s MONITOR_SOURCE\n", argv[0]);
        return 2;
    }
    QCoreApplication application(argc, argv);
    InstallDeviceHooks();
    auto wave = ClickTrack();
    if (!wave) return 1;
    std::printf("%4s %12s %16s %16s\n", "run", "start ms", "cursor median", "cursor worst");
    for (int run = 1; run <= 5; ++run) {
        MonitorRecorder recorder(argv[1]);
        if (!recorder.Running()) {
            std::fprintf(stderr, "parec did not start\n");
            return 1;
        }
        QThread::msleep(300);
        // When the play frame first reached each click's frame.
        std::vector<Clock::time_point> reached;
        const Clock::time_point command = Clock::now();
        if (StartPlay(*wave, 0, wave->FrameCount(), 0, kDefaultDevice) != DeviceCode::Ok) {
            std::fprintf(stderr, "playback did not start\n");
            return 1;
        }
        while (wave->deviceState == DeviceState::Playing) {
            const std::uint32_t frame = GetPlayFrame(*wave);
            const Clock::time_point now = Clock::now();
            while (reached.size() < kClicks && frame >= kLeadIn + reached.size() * kClickEvery)
                reached.push_back(now);
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            QThread::usleep(500);
        }
        QThread::msleep(300);
        recorder.Stop();
        const std::vector<Clock::time_point> heard = recorder.Clicks();
        if (heard.size() != kClicks || reached.size() != kClicks) {
            std::fprintf(stderr, "run %d: heard %zu clicks, the cursor passed %zu of %u\n", run,
                         heard.size(), reached.size(), kClicks);
            continue;
        }
        std::vector<double> errors;
        for (std::uint32_t c = 0; c < kClicks; ++c) errors.push_back(Ms(reached[c] - heard[c]));
        std::sort(errors.begin(), errors.end(),
                  [](double a, double b) { return std::abs(a) < std::abs(b); });
        std::printf("%4d %12.1f %16.1f %16.1f\n", run,
                    Ms(heard[0] - command) - 1000.0 * kLeadIn / kRate, errors[errors.size() / 2],
                    errors.back());
    }
    std::printf(
        "cursor: when GetPlayFrame reached a click minus when it was heard (+ late, - early)\n");
    return 0;
}
