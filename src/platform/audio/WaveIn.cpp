#include "platform/audio/WaveIn.h"

#include <QAudioSource>
#include <QCoreApplication>
#include <set>

namespace kelvane {

namespace {

constexpr int kPullMs = 20;

std::set<QByteArray>& OpenDevices() {
    static std::set<QByteArray> ids;
    return ids;
}

}  // namespace

WaveIn::WaveIn(FullFn full, const QAudioDevice& device, const QAudioFormat& format)
    : m_full(std::move(full)),
      m_deviceId(device.id()),
      m_receiver(std::make_unique<QObject>()),
      m_alive(std::make_shared<bool>(true)),
      m_source(std::make_unique<QAudioSource>(device, format)) {
    OpenDevices().insert(m_deviceId);
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, m_receiver.get(), [this] { Pull(); });
}

DeviceResult WaveIn::Open(int device, const WaveFormat& format, FullFn full,
                          std::unique_ptr<WaveIn>& out) {
    QAudioFormat audioFormat;
    if (!ToAudioFormat(format, audioFormat)) return DeviceResult::Error;
    QAudioDevice audioDevice;
    if (const DeviceResult found = FindInputDevice(device, audioDevice);
        found != DeviceResult::NoError)
        return found;
    if (OpenDevices().contains(audioDevice.id())) return DeviceResult::Allocated;
    out.reset(new WaveIn(std::move(full), audioDevice, audioFormat));
    return DeviceResult::NoError;
}

WaveIn::~WaveIn() {
    Reset();
    OpenDevices().erase(m_deviceId);
}

void WaveIn::AddBuffer(WaveBuffer& buffer) {
    buffer.bytes = 0;
    m_queue.push_back(&buffer);
}

DeviceResult WaveIn::Start() {
    m_io = m_source->start();
    if (m_io == nullptr || m_source->error() != QAudio::NoError) {
        m_source->stop();
        m_io = nullptr;
        return DeviceResult::Error;
    }
    m_position = 0;
    m_timer.start(kPullMs);
    return DeviceResult::NoError;
}

void WaveIn::Reset() {
    m_timer.stop();
    if (m_io) m_source->stop();
    m_io = nullptr;
    m_queue.clear();
    ++m_generation;
}

void WaveIn::Pull() {
    while (m_io && !m_queue.empty()) {
        WaveBuffer& buffer = *m_queue.front();
        const qint64 room = static_cast<qint64>(buffer.data.size()) - buffer.bytes;
        const qint64 got =
            room > 0 ? m_io->read(reinterpret_cast<char*>(buffer.data.data()) + buffer.bytes, room)
                     : 0;
        if (got > 0) {
            buffer.bytes += static_cast<std::uint32_t>(got);
            m_position += static_cast<std::uint32_t>(got);
        }
        if (buffer.bytes < buffer.data.size()) return;
        m_queue.pop_front();
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [this, alive = std::weak_ptr<bool>(m_alive), b = &buffer, generation = m_generation] {
                if (!alive.lock() || generation != m_generation) return;
                const FullFn full = m_full;  // the owner may close the device from inside
                full(*b);
            },
            Qt::QueuedConnection);
    }
}

}  // namespace kelvane
