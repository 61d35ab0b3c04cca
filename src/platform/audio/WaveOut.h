#pragma once

#include <QAudioDevice>
#include <QAudioFormat>
#include <QObject>
#include <QThread>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/audio/AudioDevices.h"

class QAudioSink;
class QIODevice;
class QTimer;

namespace kelvane {

// A wave-out device. Queued buffers are copied into the sound server by a worker thread, so a
// busy UI thread does not starve the device while prepared buffers remain; each played
// buffer comes back through `done` on the thread that opened the device.
class WaveOut {
  public:
    using DoneFn = std::function<void(WaveBuffer&)>;

    static DeviceResult Open(int device, const WaveFormat& format, DoneFn done,
                             std::unique_ptr<WaveOut>& out);
    ~WaveOut();
    WaveOut(const WaveOut&) = delete;
    WaveOut& operator=(const WaveOut&) = delete;

    // Plays `buffer.bytes` of `buffer.data` after the buffers queued before it. `last` says
    // that no buffer follows it, so a sound too short to start the server may be padded.
    void Write(WaveBuffer& buffer, bool last);
    // Silences the device and forgets every queued buffer; the position restarts at 0.
    void Reset();
    // Bytes heard since the device opened or was reset.
    [[nodiscard]] std::uint32_t PositionBytes() const { return m_position.load(); }

  private:
    struct Queued {
        WaveBuffer* buffer;
        std::uint32_t sent;
        std::uint64_t end;  // stream offset of its last byte once all of it is sent
        std::chrono::steady_clock::time_point heard{};  // when the position first passed end
        bool last;
    };

    WaveOut(DoneFn done, const QAudioFormat& format);
    bool StartSink(const QAudioDevice& device);
    void Feed();
    void Pad(qint64 bytes);
    [[nodiscard]] std::uint64_t PaddingBefore(std::uint64_t offset) const;
    void Deliver(WaveBuffer* buffer, std::uint32_t generation);

    DoneFn m_done;
    QAudioFormat m_format;
    QThread m_thread;
    std::unique_ptr<QObject> m_worker;  // lives in m_thread
    QObject* m_home = nullptr;          // the application object: buffers come back on its thread
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    QAudioSink* m_sink = nullptr;  // owned by m_worker
    QIODevice* m_io = nullptr;
    QTimer* m_timer = nullptr;

    std::mutex m_mutex;
    std::deque<Queued> m_queue;
    std::uint64_t m_written = 0;  // stream bytes, silence included
    std::vector<std::pair<std::uint64_t, std::uint64_t>> m_padding;  // silence: offset, length
    std::atomic<std::uint32_t> m_position{0};
    std::atomic<std::uint32_t> m_generation{0};
};

}  // namespace kelvane
