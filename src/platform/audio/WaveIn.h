#pragma once

#include <QAudioDevice>
#include <QAudioFormat>
#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>

#include "platform/audio/AudioDevices.h"

class QAudioSource;
class QIODevice;

namespace kelvane {

// A wave-in device. It fills the added buffers in order and hands each full one back through
// `full`, always later from the event loop, never from inside AddBuffer. A device can be open
// once at a time; a second open reports it allocated. What the server records while the UI
// thread is busy waits in the server until the buffers are filled.
class WaveIn {
  public:
    using FullFn = std::function<void(WaveBuffer&)>;

    static DeviceResult Open(int device, const WaveFormat& format, FullFn full,
                             std::unique_ptr<WaveIn>& out);
    ~WaveIn();
    WaveIn(const WaveIn&) = delete;
    WaveIn& operator=(const WaveIn&) = delete;

    // `buffer.bytes` counts what it receives, from 0.
    void AddBuffer(WaveBuffer& buffer);
    DeviceResult Start();
    // Stops recording and forgets every added buffer; sound not yet handed back is lost.
    void Reset();
    // Bytes received since the start.
    [[nodiscard]] std::uint32_t PositionBytes() const { return m_position; }

  private:
    WaveIn(FullFn full, const QAudioDevice& device, const QAudioFormat& format);
    void Pull();

    FullFn m_full;
    QByteArray m_deviceId;
    std::unique_ptr<QObject> m_receiver;
    std::shared_ptr<bool> m_alive;
    std::unique_ptr<QAudioSource> m_source;
    QIODevice* m_io = nullptr;
    QTimer m_timer;
    std::deque<WaveBuffer*> m_queue;
    std::uint32_t m_position = 0;
    std::uint32_t m_generation = 0;
};

}  // namespace kelvane
