#include "platform/acm/BlockCodec.h"

#include <algorithm>
#include <cstring>

namespace kelvane {

std::uint32_t BlockCodec::TargetSize(std::uint32_t sourceBytes) const {
    const std::uint64_t blocks = (std::uint64_t{sourceBytes} + sourceBlock_ - 1) / sourceBlock_;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(blocks * targetBlock_, 0xFFFFFFFFu));
}

void BlockCodec::Convert(const std::uint8_t* source, std::uint32_t sourceBytes,
                         std::uint8_t* target, std::uint32_t targetBytes, bool last,
                         std::uint32_t& used, std::uint32_t& produced) {
    const std::uint32_t whole = sourceBytes / sourceBlock_;
    const std::uint32_t blocks = std::min(whole, targetBytes / targetBlock_);
    ConvertBlocks(source, target, blocks);
    used = blocks * sourceBlock_;
    produced = blocks * targetBlock_;
    const std::uint32_t rest = sourceBytes - used;
    if (last && blocks == whole && rest > 0 && targetBytes - produced >= targetBlock_) {
        produced += ConvertTail(source + used, rest, target + produced);
        used = sourceBytes;
    }
}

BlockEncoder::BlockEncoder(std::uint32_t samplesPerBlock, std::uint16_t channels,
                           std::uint16_t sourceBits, std::uint32_t blockAlign)
    : BlockCodec(samplesPerBlock * channels * (sourceBits / 8), blockAlign),
      samplesPerBlock_(samplesPerBlock),
      channels_(channels),
      sourceBits_(sourceBits),
      pcm_(static_cast<std::size_t>(samplesPerBlock) * channels) {}

void BlockEncoder::Widen(const std::uint8_t* source, std::uint32_t bytes) {
    if (bytes < sourceBlock_) std::fill(pcm_.begin(), pcm_.end(), std::int16_t{0});
    if (sourceBits_ == 16) {
        std::memcpy(pcm_.data(), source, bytes & ~1u);
        return;
    }
    for (std::uint32_t i = 0; i < bytes; ++i)
        pcm_[i] = static_cast<std::int16_t>((source[i] - 128) * 256);
}

void BlockEncoder::ConvertBlocks(const std::uint8_t* source, std::uint8_t* target,
                                 std::uint32_t blocks) {
    for (std::uint32_t b = 0; b < blocks; ++b) {
        Widen(source + static_cast<std::size_t>(b) * sourceBlock_, sourceBlock_);
        EncodeBlock(pcm_.data(), target + static_cast<std::size_t>(b) * targetBlock_);
    }
}

std::uint32_t BlockEncoder::ConvertTail(const std::uint8_t* source, std::uint32_t bytes,
                                        std::uint8_t* target) {
    Widen(source, bytes);
    EncodeBlock(pcm_.data(), target);
    return targetBlock_;
}

WaveFormat AdpcmHeader(std::uint16_t tag, std::uint32_t rate, std::uint16_t channels,
                       std::uint16_t extraSize,
                       std::uint32_t (*samplesPerBlock)(std::uint32_t, std::uint16_t)) {
    const std::uint32_t perChannel = rate <= 11025 ? 256 : rate <= 22050 ? 512 : 1024;
    WaveFormat header;
    header.formatTag = tag;
    header.channels = channels;
    header.samplesPerSec = rate;
    header.blockAlign = static_cast<std::uint16_t>(perChannel * channels);
    header.bitsPerSample = 4;
    header.extraSize = extraSize;
    const std::uint32_t perBlock = samplesPerBlock(header.blockAlign, channels);
    header.avgBytesPerSec =
        static_cast<std::uint32_t>(std::uint64_t{rate} * header.blockAlign / perBlock);
    return header;
}

void BlockDecoder::ConvertBlocks(const std::uint8_t* source, std::uint8_t* target,
                                 std::uint32_t blocks) {
    for (std::uint32_t b = 0; b < blocks; ++b)
        DecodeBlock(source + static_cast<std::size_t>(b) * sourceBlock_,
                    reinterpret_cast<std::int16_t*>(target) +
                        static_cast<std::size_t>(b) * samplesPerBlock_ * channels_,
                    samplesPerBlock_);
}

std::uint32_t BlockDecoder::ConvertTail(const std::uint8_t* source, std::uint32_t bytes,
                                        std::uint8_t* target) {
    const std::uint32_t frames = std::min(samplesPerBlock_, FramesInPartialBlock(bytes));
    if (frames == 0) return 0;
    DecodeBlock(source, reinterpret_cast<std::int16_t*>(target), frames);
    return frames * channels_ * 2;
}

}  // namespace kelvane
