#include "platform/raenc/PcmAdapter.h"

#include <cstring>

#include "platform/acm/AcmConversion.h"
#include "wavedata/WaveFormat.h"

namespace kelvane {

// The compression manager's PCM conversion does the work. A conversion can only be flushed by
// a last call that carries data, so the last input frame of every call is held back for it.
struct PcmAdapter::Impl {
    std::unique_ptr<AcmConversion> conversion;
    std::uint32_t inFrameBytes = 0;
    std::vector<std::uint8_t> held;  // the held-back frame (empty before any input)
    std::vector<std::uint8_t> source;
    std::vector<std::uint8_t> target;

    bool Run(const std::uint8_t* bytes, std::uint32_t count, bool last,
             std::vector<std::int16_t>& out) {
        std::uint32_t room = 0;
        if (conversion->TargetSize(count, room) != AcmResult::Ok || room == 0) return false;
        target.resize(room);
        // The conversion's header takes writable pointers; it only reads the source.
        source.assign(bytes, bytes + count);
        // The target has room for the resampler's tail as well (TargetSize counts it).
        for (std::uint32_t offset = 0; offset < count;) {
            AcmStreamHeader header;
            header.source = source.data() + offset;
            header.sourceLength = count - offset;
            header.target = target.data();
            header.targetLength = room;
            if (conversion->Prepare(header) != AcmResult::Ok) return false;
            const AcmResult converted = conversion->Convert(
                header, last ? 0u : static_cast<std::uint32_t>(AcmConvertBlockAlign));
            conversion->Unprepare(header);
            if (converted != AcmResult::Ok) return false;
            const std::size_t before = out.size();
            out.resize(before + header.targetUsed / 2);
            std::memcpy(out.data() + before, target.data(), header.targetUsed / 2 * 2);
            offset += header.sourceUsed;
            if (header.sourceUsed == 0 && header.targetUsed == 0) return false;
        }
        return true;
    }
};

PcmAdapter::PcmAdapter() : impl_(std::make_unique<Impl>()) {}
PcmAdapter::~PcmAdapter() = default;

bool PcmAdapter::Open(std::uint32_t inRate, std::uint16_t inChannels, std::uint32_t outRate,
                      std::uint16_t outChannels) {
    if (inRate == 0 || inChannels == 0 || outChannels == 0) return false;
    impl_->held.clear();
    impl_->inFrameBytes = 2u * inChannels;
    return AcmConversion::Open(PcmFormat(inRate, 16, inChannels),
                               PcmFormat(outRate, 16, outChannels),
                               impl_->conversion) == AcmResult::Ok;
}

bool PcmAdapter::Convert(const std::int16_t* in, std::uint32_t frames,
                         std::vector<std::int16_t>& out) {
    if (!impl_->conversion) return false;
    if (frames == 0) return true;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(in);
    const std::uint32_t count = frames * impl_->inFrameBytes;
    std::vector<std::uint8_t> joined(impl_->held);
    joined.insert(joined.end(), bytes, bytes + count - impl_->inFrameBytes);
    impl_->held.assign(bytes + count - impl_->inFrameBytes, bytes + count);
    return joined.empty() ||
           impl_->Run(joined.data(), static_cast<std::uint32_t>(joined.size()), false, out);
}

bool PcmAdapter::Flush(std::vector<std::int16_t>& out) {
    if (!impl_->conversion) return false;
    if (impl_->held.empty()) return true;
    const std::vector<std::uint8_t> last = std::move(impl_->held);
    impl_->held.clear();
    return impl_->Run(last.data(), static_cast<std::uint32_t>(last.size()), true, out);
}

}  // namespace kelvane
