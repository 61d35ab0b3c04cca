#pragma once

#include <cstdint>
#include <memory>

#include "wavedata/WaveFormat.h"

namespace kelvane {

// Result codes of the compression manager, numbered as the system's multimedia results.
enum class AcmResult : std::uint32_t {
    Ok = 0,
    InvalidHandle = 5,
    NoMemory = 7,
    InvalidFlag = 10,
    InvalidParam = 11,
    NotPossible = 512,
    Unprepared = 514,
};

enum AcmConvertFlags : std::uint32_t {
    // Convert whole source blocks only and keep the rest for the next call. Without it the
    // call is the last one: a partial block is converted (encoders pad it) and any delayed
    // output is flushed.
    AcmConvertBlockAlign = 0x4,
};

enum AcmHeaderStatus : std::uint32_t { AcmHeaderDone = 0x1, AcmHeaderPrepared = 0x2 };

// One conversion request: the caller's buffers and what a Convert used and produced.
struct AcmStreamHeader {
    std::uint32_t status = 0;
    std::uint8_t* source = nullptr;
    std::uint32_t sourceLength = 0;
    std::uint32_t sourceUsed = 0;
    std::uint8_t* target = nullptr;
    std::uint32_t targetLength = 0;
    std::uint32_t targetUsed = 0;
};

class AcmCodec;

// A non-real-time conversion from one format to another by one driver. Closing is
// destroying it.
class AcmConversion {
  public:
    // Refuses (NotPossible) any pair no single driver converts; `out` stays null then.
    static AcmResult Open(const WaveFormat& source, const WaveFormat& target,
                          std::unique_ptr<AcmConversion>& out);
    // Whether Open would succeed, without building anything.
    [[nodiscard]] static bool CanConvert(const WaveFormat& source, const WaveFormat& target);
    ~AcmConversion();
    AcmConversion(const AcmConversion&) = delete;
    AcmConversion& operator=(const AcmConversion&) = delete;

    // Target bytes that `sourceBytes` of source can produce at most.
    AcmResult TargetSize(std::uint32_t sourceBytes, std::uint32_t& targetBytes) const;
    AcmResult Prepare(AcmStreamHeader& header) const;
    AcmResult Convert(AcmStreamHeader& header, std::uint32_t flags);
    AcmResult Unprepare(AcmStreamHeader& header) const;

  private:
    explicit AcmConversion(std::unique_ptr<AcmCodec> codec);
    std::unique_ptr<AcmCodec> codec_;
};

}  // namespace kelvane
