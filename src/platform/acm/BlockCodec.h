#pragma once

#include <cstdint>
#include <vector>

#include "platform/acm/AcmDriver.h"

namespace kelvane {

// A conversion of fixed source blocks into fixed target blocks (a frame, a compressed block).
class BlockCodec : public AcmCodec {
  public:
    [[nodiscard]] std::uint32_t TargetSize(std::uint32_t sourceBytes) const override;
    void Convert(const std::uint8_t* source, std::uint32_t sourceBytes, std::uint8_t* target,
                 std::uint32_t targetBytes, bool last, std::uint32_t& used,
                 std::uint32_t& produced) override;

  protected:
    BlockCodec(std::uint32_t sourceBlock, std::uint32_t targetBlock)
        : sourceBlock_(sourceBlock), targetBlock_(targetBlock) {}
    virtual void ConvertBlocks(const std::uint8_t* source, std::uint8_t* target,
                               std::uint32_t blocks) = 0;
    // The partial block at the end of the data; returns the target bytes written, at most
    // one target block.
    virtual std::uint32_t ConvertTail(const std::uint8_t* source, std::uint32_t bytes,
                                      std::uint8_t* target) = 0;

    std::uint32_t sourceBlock_;
    std::uint32_t targetBlock_;
};

// Encodes blocks of 16-bit (or 8-bit, widened first) PCM into compressed blocks; a partial
// last block is padded with silence.
class BlockEncoder : public BlockCodec {
  protected:
    BlockEncoder(std::uint32_t samplesPerBlock, std::uint16_t channels, std::uint16_t sourceBits,
                 std::uint32_t blockAlign);
    // `pcm` holds samplesPerBlock interleaved frames.
    virtual void EncodeBlock(const std::int16_t* pcm, std::uint8_t* target) = 0;

    std::uint32_t samplesPerBlock_;
    std::uint16_t channels_;

  private:
    void ConvertBlocks(const std::uint8_t* source, std::uint8_t* target,
                       std::uint32_t blocks) final;
    std::uint32_t ConvertTail(const std::uint8_t* source, std::uint32_t bytes,
                              std::uint8_t* target) final;
    void Widen(const std::uint8_t* source, std::uint32_t bytes);

    std::uint16_t sourceBits_;
    std::vector<std::int16_t> pcm_;
};

// Decodes compressed blocks of samplesPerBlock frames into 16-bit PCM; a partial last block
// gives the frames its bytes hold.
class BlockDecoder : public BlockCodec {
  protected:
    BlockDecoder(std::uint32_t blockAlign, std::uint16_t channels, std::uint32_t samplesPerBlock)
        : BlockCodec(blockAlign, samplesPerBlock * channels * 2u),
          channels_(channels),
          samplesPerBlock_(samplesPerBlock) {}
    // Decodes the first `samples` frames of the block at `in`.
    virtual void DecodeBlock(const std::uint8_t* in, std::int16_t* out,
                             std::uint32_t samples) const = 0;
    // Frames in a partial block of `bytes`, 0 when it does not even hold the header.
    [[nodiscard]] virtual std::uint32_t FramesInPartialBlock(std::uint32_t bytes) const = 0;

    std::uint32_t channels_;
    std::uint32_t samplesPerBlock_;

  private:
    void ConvertBlocks(const std::uint8_t* source, std::uint8_t* target,
                       std::uint32_t blocks) final;
    std::uint32_t ConvertTail(const std::uint8_t* source, std::uint32_t bytes,
                              std::uint8_t* target) final;
};

// The block layout both ADPCM codecs use: 256 bytes a channel up to 11025 Hz, doubling with
// the rate; the byte rate follows from the frames a block holds.
[[nodiscard]] WaveFormat AdpcmHeader(std::uint16_t tag, std::uint32_t rate, std::uint16_t channels,
                                     std::uint16_t extraSize,
                                     std::uint32_t (*samplesPerBlock)(std::uint32_t,
                                                                      std::uint16_t));

// Samples per channel in a partial block from the byte count; the decoders' tails use it.
[[nodiscard]] inline std::int16_t Load16(const std::uint8_t* p) {
    return static_cast<std::int16_t>(p[0] | (p[1] << 8));
}
inline void Store16(std::uint8_t* p, std::int32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

}  // namespace kelvane
