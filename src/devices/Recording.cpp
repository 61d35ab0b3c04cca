#include "devices/Recording.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>

#include "platform/audio/WaveIn.h"

namespace kelvane {

namespace {

constexpr std::size_t kRecordBuffers = 2;

struct RecordContext {
    std::array<WaveBuffer, kRecordBuffers> buffers;
    std::uint32_t buffersDone = 0;
    int fd = -1;
    std::string fileName;
    std::uint64_t bytesWritten = 0;
    bool writeFailed = false;
    std::uint32_t frameLayout = LayoutNone;
    std::uint32_t frameBytes = 0;
    std::uint32_t leftPeak = 0;
    std::uint32_t rightPeak = 0;
    std::unique_ptr<WaveIn> waveIn;

    ~RecordContext() {
        waveIn.reset();
        if (fd >= 0) ::close(fd);
    }
};

std::map<const WaveObject*, std::unique_ptr<RecordContext>>& Contexts() {
    static std::map<const WaveObject*, std::unique_ptr<RecordContext>> contexts;
    return contexts;
}

RecordContext* ContextOf(const WaveObject& wave) {
    return wave.deviceState == DeviceState::Recording
               ? static_cast<RecordContext*>(wave.deviceContext)
               : nullptr;
}

// 8-bit silence is 128, yet the offset is 127: silence reads as 256, not 0.
std::uint32_t Magnitude8(std::uint8_t sample) {
    return static_cast<std::uint32_t>(std::abs(static_cast<int>(sample) - 127)) * 256u;
}

std::uint32_t Magnitude16(const std::uint8_t* bytes) {
    std::int16_t sample;
    std::memcpy(&sample, bytes, 2);
    return static_cast<std::uint32_t>(std::abs(static_cast<int>(sample)));
}

template <std::uint32_t Layout>
Peaks PeaksOf(const std::uint8_t* bytes, std::uint32_t frames) {
    Peaks peaks;
    for (std::uint32_t i = 0; i < frames; ++i) {
        if constexpr (Layout == LayoutMono8) {
            peaks.left = std::max(peaks.left, Magnitude8(bytes[i]));
        } else if constexpr (Layout == LayoutStereo8) {
            peaks.left = std::max(peaks.left, Magnitude8(bytes[2 * i]));
            peaks.right = std::max(peaks.right, Magnitude8(bytes[2 * i + 1]));
        } else if constexpr (Layout == LayoutMono16) {
            peaks.left = std::max(peaks.left, Magnitude16(bytes + 2 * i));
        } else {
            peaks.left = std::max(peaks.left, Magnitude16(bytes + 4 * i));
            peaks.right = std::max(peaks.right, Magnitude16(bytes + 4 * i + 2));
        }
    }
    if constexpr (Layout == LayoutMono8 || Layout == LayoutMono16) peaks.right = peaks.left;
    return peaks;
}

// Appends a whole buffer or nothing: a write the disk refuses halfway is cut back, so the
// recording ends at the last buffer that reached the disk, on a frame.
bool AppendBuffer(RecordContext& context, const WaveBuffer& buffer) {
    std::uint32_t done = 0;
    while (done < buffer.bytes) {
        const ssize_t n = ::write(context.fd, buffer.data.data() + done, buffer.bytes - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            [[maybe_unused]] const int cut =
                ::ftruncate(context.fd, static_cast<off_t>(context.bytesWritten));
            ::lseek(context.fd, static_cast<off_t>(context.bytesWritten), SEEK_SET);
            return false;
        }
        done += static_cast<std::uint32_t>(n);
    }
    context.bytesWritten += buffer.bytes;
    return true;
}

void OnBufferFull(WaveObject& wave, WaveBuffer& buffer) {
    RecordContext* context = ContextOf(wave);
    if (context == nullptr) return;
    if (buffer.bytes > 0 && !context->writeFailed) {
        ++context->buffersDone;
        context->writeFailed = !AppendBuffer(*context, buffer);
        const Peaks peaks = MeasurePeaks(context->frameLayout, buffer.data.data(), buffer.bytes);
        context->leftPeak = peaks.left;
        context->rightPeak = peaks.right;
    }
    context->waveIn->AddBuffer(buffer);
}

DeviceCode OpenCode(DeviceResult result) {
    switch (result) {
        case DeviceResult::NoError:
            return DeviceCode::Ok;
        case DeviceResult::BadDeviceId:
            return DeviceCode::NoSuchDevice;
        case DeviceResult::Allocated:
            return DeviceCode::DeviceInUse;
        default:
            return DeviceCode::DeviceFailed;
    }
}

DeviceCode Fail(WaveObject& wave, DeviceCode code) {
    const auto it = Contexts().find(&wave);
    if (it != Contexts().end()) {
        const std::string name = it->second->fileName;
        Contexts().erase(it);
        if (!name.empty()) ::unlink(name.c_str());
    }
    wave.deviceContext = nullptr;
    wave.deviceState = DeviceState::Idle;
    return code;
}

}  // namespace

Peaks MeasurePeaks(std::uint32_t frameLayout, const std::uint8_t* bytes, std::uint32_t count) {
    const std::uint32_t frameBytes = BytesPerFrame(frameLayout);
    if (frameBytes == 0) return {};
    const std::uint32_t frames = count / frameBytes;
    switch (frameLayout) {
        case LayoutMono8:
            return PeaksOf<LayoutMono8>(bytes, frames);
        case LayoutStereo8:
            return PeaksOf<LayoutStereo8>(bytes, frames);
        case LayoutMono16:
            return PeaksOf<LayoutMono16>(bytes, frames);
        default:
            return PeaksOf<LayoutStereo16>(bytes, frames);
    }
}

DeviceCode StartRecord(WaveObject& wave, int device, WaveIn** handle) {
    if (wave.deviceState == DeviceState::Recording) return DeviceCode::Recording;
    if (wave.deviceState == DeviceState::Playing) return DeviceCode::Playing;
    if (!wave.format) return DeviceCode::NoData;

    auto owned = std::make_unique<RecordContext>();
    RecordContext& context = *owned;
    Contexts()[&wave] = std::move(owned);
    wave.deviceContext = &context;

    context.fileName = wave.MakeTempFileName();
    if (context.fileName.empty()) return Fail(wave, DeviceCode::NoTempFile);
    context.fd = ::open(context.fileName.c_str(), O_RDWR | O_TRUNC | O_CLOEXEC);
    if (context.fd < 0) return Fail(wave, DeviceCode::NoTempFile);

    const DeviceCode opened = OpenCode(WaveIn::Open(
        device, *wave.format, [&wave](WaveBuffer& buffer) { OnBufferFull(wave, buffer); },
        context.waveIn));
    if (opened != DeviceCode::Ok) return Fail(wave, opened);

    context.frameLayout = wave.frameLayout;
    context.frameBytes = BytesPerFrame(wave.frameLayout);
    const std::uint32_t bufferBytes = wave.format->samplesPerSec / 10 * context.frameBytes;
    if (bufferBytes == 0) return Fail(wave, DeviceCode::DeviceFailed);
    for (WaveBuffer& buffer : context.buffers) {
        buffer.data.assign(bufferBytes, 0);
        context.waveIn->AddBuffer(buffer);
    }
    if (context.waveIn->Start() != DeviceResult::NoError)
        return Fail(wave, DeviceCode::DeviceFailed);

    wave.deviceState = DeviceState::Recording;
    if (handle) *handle = context.waveIn.get();
    return DeviceCode::Ok;
}

void StopRecord(WaveObject& wave) {
    const auto it = Contexts().find(&wave);
    if (it == Contexts().end()) return;
    std::unique_ptr<RecordContext> context = std::move(it->second);
    Contexts().erase(it);
    // Sound still in the device at this moment is not written.
    context->waveIn.reset();
    ::close(context->fd);
    context->fd = -1;

    const WaveFormat format = *wave.format;
    wave.deviceState = DeviceState::Idle;
    wave.Reset();
    std::unique_ptr<DataBlock> block =
        std::make_unique<MappedFileBlock>(0, context->fileName.c_str(), true, nullptr, false, true);
    if (!wave.AttachBlock(format, block)) {
        // Nothing was recorded: an empty sound in the format, and no file left behind.
        ::unlink(context->fileName.c_str());
        wave.Allocate(format, 0);
    }
    wave.deviceContext = nullptr;
}

std::uint32_t GetRecordedFrames(const WaveObject& wave) {
    const RecordContext* context = ContextOf(wave);
    if (context == nullptr || context->frameBytes == 0) return 0;
    const std::uint64_t bytes =
        context->writeFailed ? context->bytesWritten : context->waveIn->PositionBytes();
    return static_cast<std::uint32_t>(bytes / context->frameBytes);
}

bool RecordingWriteFailed(const WaveObject& wave) {
    const RecordContext* context = ContextOf(wave);
    return context != nullptr && context->writeFailed;
}

std::uint32_t GetLeftPeak(const WaveObject& wave) {
    const RecordContext* context = ContextOf(wave);
    return context ? context->leftPeak : 0;
}

std::uint32_t GetRightPeak(const WaveObject& wave) {
    const RecordContext* context = ContextOf(wave);
    return context ? context->rightPeak : 0;
}

std::string RecordingFileName(const WaveObject& wave) {
    const RecordContext* context = ContextOf(wave);
    return context ? context->fileName : std::string();
}

}  // namespace kelvane
