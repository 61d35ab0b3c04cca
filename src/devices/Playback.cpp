#include "devices/Playback.h"

#include <array>
#include <map>
#include <memory>

#include "formats/streams/BlockStream.h"
#include "formats/streams/ConvertStream.h"
#include "formats/streams/RangeStream.h"
#include "platform/audio/WaveOut.h"

namespace kelvane {

namespace {

constexpr std::uint32_t kUnknownLoop = 0xFFFFFFFFu;

struct PlayContext {
    std::uint32_t startFrame = 0;
    std::uint32_t frameCount = 0;
    int loop = 0;
    std::array<WaveBuffer, kPlayBuffers> buffers;
    std::unique_ptr<SampleStream> chain;  // null when the wave's own stream is read
    std::unique_ptr<RangeStream> source;
    std::uint32_t bufferBytes = 0;
    std::uint32_t loopFrames = kUnknownLoop;
    std::uint32_t deliveredBytes = 0;
    std::uint32_t frameBytes = 0;
    // Last: it is closed first, so no buffer comes back into a half-destroyed context.
    std::unique_ptr<WaveOut> waveOut;
};

std::map<const WaveObject*, std::unique_ptr<PlayContext>>& Contexts() {
    static std::map<const WaveObject*, std::unique_ptr<PlayContext>> contexts;
    return contexts;
}

PlayContext* ContextOf(const WaveObject& wave) {
    return wave.deviceState == DeviceState::Playing ? static_cast<PlayContext*>(wave.deviceContext)
                                                    : nullptr;
}

bool HasSampleData(const WaveObject& wave) {
    return wave.mode == WaveMode::Streamed ||
           (wave.mode != WaveMode::Empty && wave.mode != WaveMode::FormatOnly && wave.data);
}

// The stream the range is cut from, and the format the device plays.
SampleStream* BuildChain(WaveObject& wave, PlayContext& context, WaveFormat& deviceFormat) {
    deviceFormat = *wave.format;
    if (wave.mode == WaveMode::Streamed) return wave.stream.get();
    auto block = std::make_unique<BlockStream>(
        std::make_unique<BorrowedBlock>(wave.data, wave.dataBytes, false, true));
    if (wave.format->formatTag == kTagPcm) {
        context.chain = std::move(block);
    } else {
        deviceFormat = PcmFormat(wave.format->samplesPerSec, 16, wave.format->channels);
        context.chain =
            std::make_unique<ConvertStream>(*wave.format, deviceFormat, std::move(block));
    }
    return context.chain.get();
}

std::uint32_t FillBuffer(PlayContext& context, WaveBuffer& buffer) {
    std::uint32_t filled = 0;
    const auto room = static_cast<std::uint32_t>(buffer.data.size());
    while (filled < room) {
        std::uint32_t got = context.source->Read(buffer.data.data() + filled, room - filled);
        if (got == 0 && context.source->IsEof()) {
            if (context.loopFrames == kUnknownLoop)
                context.loopFrames = context.deliveredBytes / context.frameBytes;
            if (!context.loop) break;
            context.source->Seek(0, SeekStart);
            got = context.source->Read(buffer.data.data() + filled, room - filled);
        }
        if (got == 0) break;
        if (context.loopFrames == kUnknownLoop) context.deliveredBytes += got;
        filled += got;
    }
    buffer.user = context.source->IsEof() ? 1 : 0;
    buffer.bytes = filled;
    return filled;
}

bool IsLast(const PlayContext& context, const WaveBuffer& buffer) {
    return buffer.user == 1 && !context.loop;
}

void OnBufferDone(WaveObject& wave, WaveBuffer& buffer) {
    PlayContext* context = ContextOf(wave);
    if (context == nullptr) return;
    if (buffer.user == 1 && !context->loop) {
        wave.StopDevice();
        return;
    }
    if (FillBuffer(*context, buffer) > 0) context->waveOut->Write(buffer, IsLast(*context, buffer));
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
    StopPlay(wave);
    return code;
}

}  // namespace

DeviceCode StartPlay(WaveObject& wave, std::uint32_t start, std::uint32_t count, int loop,
                     int device) {
    if (!HasSampleData(wave) || !wave.format) return DeviceCode::NoData;
    if (wave.deviceState == DeviceState::Playing) return DeviceCode::Playing;
    if (count == 0) return DeviceCode::NothingToPlay;
    if (wave.deviceState == DeviceState::Recording) return DeviceCode::DeviceFailed;

    auto owned = std::make_unique<PlayContext>();
    PlayContext& context = *owned;
    Contexts()[&wave] = std::move(owned);
    wave.deviceContext = &context;
    wave.deviceState = DeviceState::Playing;  // so that a failure below cleans up
    context.startFrame = start;
    context.frameCount = count;
    context.loop = loop;

    WaveFormat deviceFormat;
    SampleStream* chain = BuildChain(wave, context, deviceFormat);
    if (chain == nullptr) return Fail(wave, DeviceCode::NoData);
    context.frameBytes = deviceFormat.channels * deviceFormat.bitsPerSample / 8u;
    if (context.frameBytes == 0) return Fail(wave, DeviceCode::DeviceFailed);
    context.bufferBytes = deviceFormat.samplesPerSec / 4 * context.frameBytes;
    context.source = std::make_unique<RangeStream>(*chain, start * context.frameBytes,
                                                   count * context.frameBytes);

    const DeviceCode opened = OpenCode(WaveOut::Open(
        device, deviceFormat, [&wave](WaveBuffer& buffer) { OnBufferDone(wave, buffer); },
        context.waveOut));
    if (opened != DeviceCode::Ok) return Fail(wave, opened);
    for (WaveBuffer& buffer : context.buffers) buffer.data.resize(context.bufferBytes);

    if (FillBuffer(context, context.buffers[0]) == 0) return Fail(wave, DeviceCode::NoFirstBuffer);
    context.waveOut->Write(context.buffers[0], IsLast(context, context.buffers[0]));
    for (std::size_t i = 1; i < kPlayBuffers; ++i) {
        if (FillBuffer(context, context.buffers[i]) == 0) break;
        context.waveOut->Write(context.buffers[i], IsLast(context, context.buffers[i]));
    }
    return DeviceCode::Ok;
}

std::uint32_t GetPlayFrame(const WaveObject& wave) {
    const PlayContext* context = ContextOf(wave);
    if (context == nullptr || !context->waveOut) return 0;
    const std::uint32_t frames = context->waveOut->PositionBytes() / context->frameBytes;
    return frames % context->loopFrames + context->startFrame;
}

void StopPlay(WaveObject& wave) {
    auto& contexts = Contexts();
    const auto it = contexts.find(&wave);
    if (it != contexts.end()) {
        if (it->second->waveOut) it->second->waveOut->Reset();
        it->second->waveOut.reset();
        contexts.erase(it);
    }
    wave.deviceContext = nullptr;
    wave.deviceState = DeviceState::Idle;
}

}  // namespace kelvane
