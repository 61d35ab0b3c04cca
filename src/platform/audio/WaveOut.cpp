#include "platform/audio/WaveOut.h"

#include <QAudioSink>
#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <vector>

namespace kelvane {

namespace {

constexpr int kFeedMs = 10;
// The sound server is asked to hold as much as the editor queues: five quarter seconds.
constexpr qint64 kServerBufferQuarters = 5;
// The server's position runs up to a block of the sink ahead of the sound: a buffer counts as
// played this much later, or closing the device after the last one would cut its end.
constexpr std::chrono::milliseconds kPlayedMargin{100};

}  // namespace

WaveOut::WaveOut(DoneFn done, const QAudioFormat& format)
    : m_done(std::move(done)), m_format(format), m_worker(std::make_unique<QObject>()) {}

DeviceResult WaveOut::Open(int device, const WaveFormat& format, DoneFn done,
                           std::unique_ptr<WaveOut>& out) {
    QAudioFormat audioFormat;
    if (!ToAudioFormat(format, audioFormat)) return DeviceResult::Error;
    QAudioDevice audioDevice;
    if (const DeviceResult found = FindOutputDevice(device, audioDevice);
        found != DeviceResult::NoError)
        return found;
    std::unique_ptr<WaveOut> waveOut(new WaveOut(std::move(done), audioFormat));
    if (!waveOut->StartSink(audioDevice)) return DeviceResult::Error;
    out = std::move(waveOut);
    return DeviceResult::NoError;
}

bool WaveOut::StartSink(const QAudioDevice& device) {
    m_home = QCoreApplication::instance();
    m_worker->moveToThread(&m_thread);
    m_thread.start();
    bool started = false;
    QMetaObject::invokeMethod(
        m_worker.get(),
        [&] {
            m_sink = new QAudioSink(device, m_format, m_worker.get());
            m_sink->setBufferSize(m_format.bytesForDuration(250000) * kServerBufferQuarters);
            m_io = m_sink->start();
            started = m_io != nullptr && m_sink->error() == QAudio::NoError;
            m_timer = new QTimer(m_worker.get());
            m_timer->setTimerType(Qt::PreciseTimer);
            QObject::connect(m_timer, &QTimer::timeout, m_worker.get(), [this] { Feed(); });
            m_timer->start(kFeedMs);
        },
        Qt::BlockingQueuedConnection);
    return started;
}

WaveOut::~WaveOut() {
    QMetaObject::invokeMethod(
        m_worker.get(),
        [this] {
            delete m_timer;
            delete m_sink;
        },
        Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

void WaveOut::Write(WaveBuffer& buffer, bool last) {
    std::lock_guard lock(m_mutex);
    m_queue.push_back({&buffer, 0, UINT64_MAX, {}, last});
}

void WaveOut::Reset() {
    {
        std::lock_guard lock(m_mutex);
        m_queue.clear();
        ++m_generation;
    }
    QMetaObject::invokeMethod(
        m_worker.get(),
        [this] {
            std::lock_guard lock(m_mutex);
            m_sink->stop();
            m_io = m_sink->start();
            m_written = 0;
            m_padding.clear();
            m_position = 0;
        },
        Qt::BlockingQueuedConnection);
}

// Worker thread: tops the server up from the queue, then returns what has been heard.
void WaveOut::Feed() {
    std::vector<WaveBuffer*> played;
    std::uint32_t generation = 0;
    {
        std::lock_guard lock(m_mutex);
        if (m_io == nullptr) return;
        qint64 room = m_sink->bytesFree();
        for (Queued& q : m_queue) {
            if (q.end != UINT64_MAX) continue;
            const qint64 left = q.buffer->bytes - q.sent;
            const qint64 wrote =
                left > 0 && room > 0
                    ? m_io->write(reinterpret_cast<const char*>(q.buffer->data.data()) + q.sent,
                                  std::min(room, left))
                    : 0;
            if (wrote > 0) {
                q.sent += static_cast<std::uint32_t>(wrote);
                room -= wrote;
                m_written += static_cast<std::uint64_t>(wrote);
            }
            if (q.sent < q.buffer->bytes) break;
            q.end = m_written;
        }
        // Only the end of a sound that never started the stream is padded: silence anywhere
        // else would be a gap, or would hold back the sound still to come.
        const bool ended =
            !m_queue.empty() && m_queue.back().last && m_queue.back().end != UINT64_MAX;
        if (ended && room > 0 && m_written < static_cast<std::uint64_t>(m_sink->bufferSize()))
            Pad(room);
        const auto frames = static_cast<std::uint64_t>(m_sink->processedUSecs()) *
                            static_cast<std::uint64_t>(m_format.sampleRate()) / 1000000u;
        const std::uint64_t position = std::min<std::uint64_t>(
            frames * static_cast<std::uint64_t>(m_format.bytesPerFrame()), m_written);
        m_position = static_cast<std::uint32_t>(position - PaddingBefore(position));
        const auto now = std::chrono::steady_clock::now();
        while (!m_queue.empty() && m_queue.front().end <= position) {
            Queued& front = m_queue.front();
            if (front.heard == std::chrono::steady_clock::time_point{}) front.heard = now;
            if (now - front.heard < kPlayedMargin) break;
            played.push_back(front.buffer);
            m_queue.pop_front();
        }
        generation = m_generation;
    }
    for (WaveBuffer* buffer : played)
        QMetaObject::invokeMethod(
            m_home,
            [this, alive = std::weak_ptr<bool>(m_alive), buffer, generation] {
                if (alive.lock()) Deliver(buffer, generation);
            },
            Qt::QueuedConnection);
}

// The server starts a stream only once it holds a full buffer, so a sound shorter than that
// is followed by silence; the position skips it.
void WaveOut::Pad(qint64 bytes) {
    const char fill = m_format.sampleFormat() == QAudioFormat::UInt8 ? '\x80' : '\0';
    const std::vector<char> silence(static_cast<std::size_t>(bytes), fill);
    const qint64 wrote = m_io->write(silence.data(), bytes);
    if (wrote <= 0) return;
    m_padding.push_back({m_written, static_cast<std::uint64_t>(wrote)});
    m_written += static_cast<std::uint64_t>(wrote);
}

std::uint64_t WaveOut::PaddingBefore(std::uint64_t offset) const {
    std::uint64_t total = 0;
    for (const auto& [start, length] : m_padding)
        if (start < offset) total += std::min(length, offset - start);
    return total;
}

void WaveOut::Deliver(WaveBuffer* buffer, std::uint32_t generation) {
    // A reset since the worker let it go means its owner has taken it back already.
    if (generation != m_generation) return;
    // The owner may close the device from inside the call, so call a copy.
    const DoneFn done = m_done;
    done(*buffer);
}

}  // namespace kelvane
