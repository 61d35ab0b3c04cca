#include "platform/raenc/RaEncoder.h"

#include <cstdio>
#include <string>
#include <vector>

#include "platform/raenc/PcmAdapter.h"
#include "platform/raenc/Ra144Timing.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
}

namespace kelvane {

namespace {

constexpr RaMethod kMethods[kRaMethodCount] = {
    {RaCodec::Ac3, 32000, 1, 32000, 4600},   {RaCodec::Ac3, 32000, 1, 32000, 7000},
    {RaCodec::Ac3, 32000, 1, 32000, 11000},  {RaCodec::Ac3, 32000, 2, 32000, 4600},
    {RaCodec::Ac3, 44100, 1, 64000, 11000},  {RaCodec::Ac3, 44100, 2, 64000, 8000},
    {RaCodec::Ac3, 44100, 1, 128000, 16000}, {RaCodec::Ac3, 44100, 2, 128000, 14000},
    {RaCodec::Ac3, 32000, 1, 32000, 7000},   {RaCodec::Ra144, 8000, 1, 8000, 0},
};

constexpr int kPackageVersion = 3;
constexpr std::uint32_t kInputBufferBytes = 16384;  // whole frames for mono and stereo 16-bit

}  // namespace

const RaMethod* RaMethodInfo(int method) {
    return method >= 0 && method < kRaMethodCount ? &kMethods[method] : nullptr;
}

struct RaEncoder {
    const RaMethod* method = nullptr;
    RaInputFormat input;
    AVCodecContext* codec = nullptr;
    AVFormatContext* output = nullptr;
    AVStream* stream = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    PcmAdapter adapter;
    std::vector<std::uint8_t> partial;  // input bytes short of a whole frame
    std::vector<std::int16_t> pending;  // converted samples, interleaved, not yet encoded
    std::string path;
    std::int64_t nextPts = 0;
    std::uint64_t framesIn = 0;  // converted frames, before padding
    std::uint32_t bytesWritten = 0;
    bool started = false;
    bool finished = false;

    ~RaEncoder() {
        const bool abandoned = output && !finished;
        CloseOutput();
        if (abandoned) std::remove(path.c_str());
        FreeCodec();
    }

    void FreeCodec() {
        avcodec_free_context(&codec);
        av_frame_free(&frame);
        av_packet_free(&packet);
    }

    void CloseOutput() {
        if (!output) return;
        avio_closep(&output->pb);
        avformat_free_context(output);
        output = nullptr;
        stream = nullptr;
    }

    [[nodiscard]] int FrameSize() const { return codec->frame_size; }

    bool OpenCodec(const RaMethod& m) {
        const AVCodec* encoder =
            avcodec_find_encoder(m.codec == RaCodec::Ra144 ? AV_CODEC_ID_RA_144 : AV_CODEC_ID_AC3);
        if (!encoder) return false;
        codec = avcodec_alloc_context3(encoder);
        frame = av_frame_alloc();
        packet = av_packet_alloc();
        if (!codec || !frame || !packet) return false;
        codec->sample_rate = static_cast<int>(m.rate);
        av_channel_layout_default(&codec->ch_layout, m.channels);
        codec->sample_fmt = m.codec == RaCodec::Ra144 ? AV_SAMPLE_FMT_S16 : AV_SAMPLE_FMT_FLTP;
        codec->bit_rate = m.bitRate;
        codec->cutoff = static_cast<int>(m.bandwidth);
        codec->time_base = AVRational{1, static_cast<int>(m.rate)};
        if (avcodec_open2(codec, encoder, nullptr) < 0 || codec->frame_size <= 0) return false;
        frame->nb_samples = codec->frame_size;
        frame->format = codec->sample_fmt;
        frame->sample_rate = codec->sample_rate;
        return av_channel_layout_copy(&frame->ch_layout, &codec->ch_layout) >= 0 &&
               av_frame_get_buffer(frame, 0) >= 0;
    }

    int WritePackets() {
        for (;;) {
            const int got = avcodec_receive_packet(codec, packet);
            if (got == AVERROR(EAGAIN) || got == AVERROR_EOF) return 0;
            if (got < 0) return got;
            bytesWritten += static_cast<std::uint32_t>(packet->size);
            packet->stream_index = stream->index;
            av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
            const int written = av_write_frame(output, packet);
            av_packet_unref(packet);
            if (written < 0) return written;
        }
    }

    void FillFrame(const std::int16_t* samples) {
        const int n = FrameSize();
        const int channels = method->channels;
        if (codec->sample_fmt == AV_SAMPLE_FMT_S16) {
            std::copy(samples, samples + static_cast<std::ptrdiff_t>(n) * channels,
                      reinterpret_cast<std::int16_t*>(frame->data[0]));
            return;
        }
        for (int c = 0; c < channels; ++c) {
            auto* plane = reinterpret_cast<float*>(frame->data[c]);
            for (int i = 0; i < n; ++i) plane[i] = samples[i * channels + c] / 32768.0f;
        }
    }

    // Converts `frames` input frames (null: what the conversion still holds) and encodes every
    // whole codec frame there is.
    int Feed(const std::int16_t* in, std::uint32_t frames) {
        const std::size_t before = pending.size();
        if (!(in ? adapter.Convert(in, frames, pending) : adapter.Flush(pending)))
            return AVERROR(EINVAL);
        framesIn += (pending.size() - before) / method->channels;
        return EncodePending();
    }

    // Encodes every whole frame held in `pending`.
    int EncodePending() {
        const std::size_t step = static_cast<std::size_t>(FrameSize()) * method->channels;
        std::size_t used = 0;
        int result = 0;
        while (result == 0 && pending.size() - used >= step) {
            if ((result = av_frame_make_writable(frame)) < 0) break;
            FillFrame(pending.data() + used);
            used += step;
            frame->pts = nextPts;
            nextPts += FrameSize();
            result = avcodec_send_frame(codec, frame);
            if (result == 0) result = WritePackets();
        }
        pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(used));
        return result;
    }
};

int RAenc_PackageInit(int version) {
    return version == kPackageVersion ? 0 : 1;
}

RaHandle RAenc_Create() {
    return new (std::nothrow) RaEncoder;
}

int RAenc_InitializeEncoder(RaHandle handle, int method, const RaInputFormat* format) {
    if (!handle || !format || handle->output) return 1;
    const RaMethod* m = RaMethodInfo(method);
    if (!m || format->formatTag != 1 || format->bitsPerSample != 16 || format->channels < 1 ||
        format->channels > 2 || format->samplesPerSec == 0)
        return 1;
    handle->FreeCodec();
    handle->method = m;
    handle->input = *format;
    if (!handle->OpenCodec(*m) ||
        !handle->adapter.Open(format->samplesPerSec, format->channels, m->rate, m->channels)) {
        handle->FreeCodec();
        handle->method = nullptr;
        return 1;
    }
    return 0;
}

int RAenc_SetDestination(RaHandle handle, int destination) {
    return handle && destination == 1 ? 0 : 1;
}

int RAenc_SetOutputFile(RaHandle handle, const char* path) {
    if (!handle || !path || !handle->codec || handle->output) return 1;
    if (avformat_alloc_output_context2(&handle->output, nullptr, "rm", path) < 0) return 1;
    if (avio_open(&handle->output->pb, path, AVIO_FLAG_WRITE) < 0) {
        avformat_free_context(handle->output);
        handle->output = nullptr;
        return 1;
    }
    handle->path = path;
    return 0;
}

int RAenc_GetBufferSizes(RaHandle handle, std::uint32_t* input, std::uint32_t* output,
                         std::uint32_t* reserved) {
    if (!handle || !handle->codec) return 1;
    if (input) *input = kInputBufferBytes;
    // AC-3 and 14.4 packets are a fixed size per frame; 3840 bytes is AC-3's largest frame.
    if (output) *output = 3840;
    if (reserved) *reserved = 0;
    return 0;
}

int RAenc_Start(RaHandle handle) {
    if (!handle || !handle->output || handle->started) return 1;
    AVStream* stream = avformat_new_stream(handle->output, nullptr);
    if (!stream || avcodec_parameters_from_context(stream->codecpar, handle->codec) < 0) return 1;
    // The muxer derives packet times, durations and the 14.4 frame length from these two;
    // 14.4 leaves both unset in its parameters.
    stream->codecpar->frame_size = handle->codec->frame_size;
    stream->codecpar->bit_rate = handle->method->bitRate;
    stream->time_base = handle->codec->time_base;
    handle->stream = stream;
    if (avformat_write_header(handle->output, nullptr) < 0) return 1;
    handle->started = true;
    return 0;
}

int RAenc_Encode(RaHandle handle, const void* bytes, std::uint32_t count, int /*reserved1*/,
                 std::uint32_t* produced, int /*reserved2*/, std::uint32_t* status) {
    if (produced) *produced = 0;
    if (status) *status = 0;
    if (!handle || !handle->started || handle->finished || (!bytes && count)) return 1;
    const std::uint32_t written = handle->bytesWritten;
    // A frame split between two calls waits in `partial` for its other half.
    const auto* in = static_cast<const std::uint8_t*>(bytes);
    auto& partial = handle->partial;
    partial.insert(partial.end(), in, in + count);
    const std::uint32_t frameBytes = 2u * handle->input.channels;
    const auto frames = static_cast<std::uint32_t>(partial.size() / frameBytes);
    // No whole frame yet: nothing to convert (a null input would mean the end).
    const int result =
        frames == 0 ? 0
                    : handle->Feed(reinterpret_cast<const std::int16_t*>(partial.data()), frames);
    partial.erase(partial.begin(),
                  partial.begin() + static_cast<std::ptrdiff_t>(frames * frameBytes));
    if (produced) *produced = handle->bytesWritten - written;
    if (status) *status = static_cast<std::uint32_t>(result);
    return result == 0 ? 0 : 1;
}

int RAenc_Done(RaHandle handle) {
    if (!handle || !handle->started || handle->finished) return 1;
    int result = handle->Feed(nullptr, 0);
    const std::size_t step =
        static_cast<std::size_t>(handle->FrameSize()) * handle->method->channels;
    if (result == 0 && !handle->pending.empty()) {
        handle->pending.resize(step, 0);
        result = handle->EncodePending();
    }
    // An encoder that never got a frame would still flush one of lookahead.
    if (result == 0 && handle->nextPts > 0 && avcodec_send_frame(handle->codec, nullptr) == 0)
        result = handle->WritePackets();
    if (av_write_trailer(handle->output) < 0) result = 1;
    handle->finished = true;
    handle->CloseOutput();
    const auto durationMs = static_cast<std::uint32_t>(
        (handle->framesIn * 1000 + handle->method->rate - 1) / handle->method->rate);
    if (result == 0 && handle->method->codec == RaCodec::Ra144 &&
        !FixRa144Timing(handle->path, durationMs))
        result = 1;
    return result == 0 ? 0 : 1;
}

void RAenc_Destroy(RaHandle handle) {
    delete handle;
}

}  // namespace kelvane
