#include "platform/acm/AcmConversion.h"

#include "platform/acm/AcmDriver.h"

namespace kelvane {

AcmConversion::AcmConversion(std::unique_ptr<AcmCodec> codec) : codec_(std::move(codec)) {}

AcmConversion::~AcmConversion() = default;

AcmResult AcmConversion::Open(const WaveFormat& source, const WaveFormat& target,
                              std::unique_ptr<AcmConversion>& out) {
    out.reset();
    for (const AcmDriver* driver : AcmDrivers()) {
        if (auto codec = driver->Open(source, target)) {
            out.reset(new AcmConversion(std::move(codec)));
            return AcmResult::Ok;
        }
    }
    return AcmResult::NotPossible;
}

bool AcmConversion::CanConvert(const WaveFormat& source, const WaveFormat& target) {
    for (const AcmDriver* driver : AcmDrivers())
        if (driver->CanOpen(source, target)) return true;
    return false;
}

AcmResult AcmConversion::TargetSize(std::uint32_t sourceBytes, std::uint32_t& targetBytes) const {
    targetBytes = codec_->TargetSize(sourceBytes);
    return targetBytes == 0 && sourceBytes > 0 ? AcmResult::NotPossible : AcmResult::Ok;
}

AcmResult AcmConversion::Prepare(AcmStreamHeader& header) const {
    if (header.source == nullptr || header.target == nullptr || header.sourceLength == 0 ||
        header.targetLength == 0)
        return AcmResult::InvalidParam;
    header.status = AcmHeaderPrepared | AcmHeaderDone;
    return AcmResult::Ok;
}

AcmResult AcmConversion::Convert(AcmStreamHeader& header, std::uint32_t flags) {
    if (!(header.status & AcmHeaderPrepared)) return AcmResult::Unprepared;
    if (flags & ~std::uint32_t{AcmConvertBlockAlign}) return AcmResult::InvalidFlag;
    header.status &= ~std::uint32_t{AcmHeaderDone};
    codec_->Convert(header.source, header.sourceLength, header.target, header.targetLength,
                    !(flags & AcmConvertBlockAlign), header.sourceUsed, header.targetUsed);
    header.status |= AcmHeaderDone;
    return AcmResult::Ok;
}

AcmResult AcmConversion::Unprepare(AcmStreamHeader& header) const {
    if (!(header.status & AcmHeaderPrepared)) return AcmResult::Unprepared;
    header.status &= ~std::uint32_t{AcmHeaderPrepared};
    return AcmResult::Ok;
}

}  // namespace kelvane
