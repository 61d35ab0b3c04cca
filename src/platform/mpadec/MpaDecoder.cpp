#include "platform/mpadec/MpaDecoder.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <mutex>

#include "platform/mpadec/MpaDecode.h"

namespace kelvane {

namespace {

void InitLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
}

#pragma pack(push, 1)
struct InfoRecord {
    std::uint32_t size;
    std::uint32_t version;
    std::uint32_t layer;
    std::uint32_t bitRate;
    std::uint32_t rate;
    std::uint16_t channels;
    std::uint8_t reserved[18];
};
#pragma pack(pop)
static_assert(sizeof(InfoRecord) == 40);

}  // namespace

MpaDecoder::MpaDecoder(const std::uint8_t* data, std::uint32_t bytes) : source_{data, bytes} {}

MpaDecoder::~MpaDecoder() {
    if (handle_ != nullptr) {
        mpg123_close(handle_);
        mpg123_delete(handle_);
    }
}

mpg123_ssize_t MpaDecoder::ReadSource(void* handle, void* buffer, size_t bytes) {
    auto* source = static_cast<Source*>(handle);
    const std::size_t n = std::min<std::size_t>(bytes, source->size - source->position);
    std::memcpy(buffer, source->data + source->position, n);
    source->position += static_cast<std::uint32_t>(n);
    return static_cast<mpg123_ssize_t>(n);
}

off_t MpaDecoder::SeekSource(void* handle, off_t offset, int whence) {
    auto* source = static_cast<Source*>(handle);
    off_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? source->position : source->size;
    const off_t target = base + offset;
    if (target < 0 || target > static_cast<off_t>(source->size)) return -1;
    source->position = static_cast<std::uint32_t>(target);
    return target;
}

std::unique_ptr<MpaDecoder> MpaDecoder::Open(const std::uint8_t* data, std::uint32_t bytes) {
    if (data == nullptr || bytes == 0) return nullptr;
    std::unique_ptr<MpaDecoder> decoder(new MpaDecoder(data, bytes));
    return decoder->Start() ? std::move(decoder) : nullptr;
}

mpg123_handle* MpaDecoder::NewHandle(Source& source) {
    int error = MPG123_OK;
    mpg123_handle* handle = mpg123_new(nullptr, &error);
    if (handle == nullptr) return nullptr;
    // A damaged frame ends the data instead of a hunt for the next header, which in bytes
    // that are not MPEG audio at all finds false ones.
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_NO_RESYNC, 0);
    // Every rate, the file's own channel count, and only signed 16-bit samples.
    mpg123_format_none(handle);
    const long* rates = nullptr;
    std::size_t count = 0;
    mpg123_rates(&rates, &count);
    for (std::size_t i = 0; i < count; ++i)
        mpg123_format(handle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    if (mpg123_replace_reader_handle(handle, ReadSource, SeekSource, nullptr) != MPG123_OK ||
        mpg123_open_handle(handle, &source) != MPG123_OK) {
        mpg123_delete(handle);
        return nullptr;
    }
    return handle;
}

// Frame headers can turn up by chance in any bytes; real MPEG audio is mostly frames from
// its first one on, so at least half of the bytes from there must parse as frames.
bool MpaDecoder::MostlyFrames() const {
    Source probe{source_.data, source_.size};
    mpg123_handle* handle = NewHandle(probe);
    if (handle == nullptr) return false;
    std::uint64_t frameBytes = 0;
    std::uint64_t end = 0;  // where the last frame ends
    for (;;) {
        const int result = mpg123_framebyframe_next(handle);
        if (result != MPG123_OK && result != MPG123_NEW_FORMAT) break;
        mpg123_frameinfo frame{};
        if (mpg123_info(handle, &frame) != MPG123_OK || frame.framesize <= 0) break;
        frameBytes += static_cast<std::uint64_t>(frame.framesize);
        end = static_cast<std::uint64_t>(mpg123_framepos(handle)) +
              static_cast<std::uint64_t>(frame.framesize);
    }
    mpg123_close(handle);
    mpg123_delete(handle);
    if (frameBytes == 0 || end < frameBytes || end > source_.size) return false;
    const std::uint64_t first = end - frameBytes;
    return frameBytes * 2 >= source_.size - first;
}

bool MpaDecoder::Start() {
    InitLibrary();
    if (!MostlyFrames()) return false;
    handle_ = NewHandle(source_);
    if (handle_ == nullptr) return false;
    long rate = 0;
    int channels = 0, encoding = 0;
    if (mpg123_getformat(handle_, &rate, &channels, &encoding) != MPG123_OK ||
        encoding != MPG123_ENC_SIGNED_16 || channels < 1 || channels > 2)
        return false;
    // Before a scan the length is an estimate; the stream's size must be exact.
    if (mpg123_scan(handle_) != MPG123_OK) return false;
    const off_t samples = mpg123_length(handle_);
    frameBytes_ = static_cast<std::uint32_t>(channels) * 2;
    if (samples <= 0 ||
        samples > static_cast<off_t>(std::numeric_limits<std::uint32_t>::max() / frameBytes_))
        return false;
    size_ = static_cast<std::uint32_t>(samples) * frameBytes_;
    return mpg123_seek(handle_, 0, SEEK_SET) == 0;
}

std::uint32_t MpaDecoder::Read(void* destination, std::uint32_t bytes) {
    auto* out = static_cast<std::uint8_t*>(destination);
    std::uint32_t delivered = 0;
    while (delivered < bytes && !done_) {
        std::size_t got = 0;
        const int result = mpg123_read(handle_, out + delivered, bytes - delivered, &got);
        delivered += static_cast<std::uint32_t>(got);
        if (result == MPG123_DONE ||
            (result != MPG123_OK && result != MPG123_NEW_FORMAT && got == 0))
            done_ = true;
    }
    position_ += delivered;
    return delivered;
}

std::uint32_t MpaDecoder::Seek(std::int32_t offset, std::uint32_t origin) {
    std::int64_t target;
    switch (origin) {
        case 0:
            target = offset;
            break;
        case 1:
            target = std::int64_t{position_} + offset;
            break;
        case 2:
            target = std::int64_t{size_} + offset;
            break;
        default:
            return position_;
    }
    target = std::clamp<std::int64_t>(target, 0, size_) / frameBytes_;
    const off_t landed = mpg123_seek(handle_, static_cast<off_t>(target), SEEK_SET);
    if (landed < 0) return position_;
    position_ = static_cast<std::uint32_t>(landed) * frameBytes_;
    done_ = false;
    return position_;
}

void MpaDecoder::GetInfo(void* record) const {
    if (record == nullptr) return;
    InfoRecord info;
    std::memcpy(&info, record, sizeof info);
    mpg123_frameinfo frame{};
    if (mpg123_info(handle_, &frame) == MPG123_OK) {
        info.version = static_cast<std::uint32_t>(frame.version) + 1;
        info.layer = static_cast<std::uint32_t>(frame.layer);
        info.bitRate = static_cast<std::uint32_t>(frame.bitrate);
        info.rate = static_cast<std::uint32_t>(frame.rate);
        info.channels = frame.mode == MPG123_M_MONO ? 1 : 2;
    }
    std::memcpy(record, &info, sizeof info);
}

}  // namespace kelvane

using kelvane::MpaDecoder;

void* MPADecodeOpen(const void* data, std::uint32_t bytes) {
    return MpaDecoder::Open(static_cast<const std::uint8_t*>(data), bytes).release();
}

std::uint32_t MPADecodeRead(void* handle, void* destination, std::uint32_t bytes) {
    return handle ? static_cast<MpaDecoder*>(handle)->Read(destination, bytes) : 0;
}

std::uint32_t MPADecodeSeek(void* handle, std::int32_t offset, std::uint32_t origin) {
    return handle ? static_cast<MpaDecoder*>(handle)->Seek(offset, origin) : 0;
}

std::uint32_t MPADecodeEof(void* handle) {
    return handle ? static_cast<MpaDecoder*>(handle)->Eof() : 1;
}

void MPADecodeClose(void* handle) {
    delete static_cast<MpaDecoder*>(handle);
}

std::uint32_t MPADecodeGetUncompressedSize(void* handle) {
    return handle ? static_cast<MpaDecoder*>(handle)->Size() : 0;
}

void MPADecodeGetInfo(void* handle, void* info) {
    if (handle) static_cast<MpaDecoder*>(handle)->GetInfo(info);
}
