#include "formats/streams/ConvertStream.h"

namespace kelvane {

namespace {

bool Alike(const WaveFormat& a, const WaveFormat& b) {
    return a.formatTag == b.formatTag && a.samplesPerSec == b.samplesPerSec &&
           a.bitsPerSample == b.bitsPerSample && a.channels == b.channels;
}

}  // namespace

ConvertStream::ConvertStream(const WaveFormat& source, const WaveFormat& target,
                             std::unique_ptr<SampleStream> inner)
    : inner_(std::move(inner)) {
    Build(source, target);
}

ConvertStream::ConvertStream(const WaveFormat& source, const WaveFormat& target,
                             SampleStream& inner)
    : inner_(inner) {
    Build(source, target);
}

void ConvertStream::Build(const WaveFormat& source, const WaveFormat& target) {
    if (!inner_.Offers(CapsReadable)) return;
    if (Alike(source, target)) {
        ok = 1;
        return;
    }
    FormatPtr current = CopyFormat(source);
    if (source.formatTag != kTagPcm) {
        const WaveFormat decoded = PcmFormat(source.samplesPerSec, 16, source.channels);
        if (!AddStage(*current, decoded)) return;
        current = CopyFormat(decoded);
    }
    const bool sixteenBitsReady =
        current->bitsPerSample == 16 && current->channels == target.channels &&
        (target.formatTag == kTagPcm || current->samplesPerSec == target.samplesPerSec);
    if (!sixteenBitsReady) {
        const WaveFormat pcm = PcmFormat(target.samplesPerSec, 16, target.channels);
        if (!AddStage(*current, pcm)) return;
        current = CopyFormat(pcm);
    }
    if (!Alike(*current, target) && !AddStage(*current, target)) return;
    ok = 1;
}

bool ConvertStream::AddStage(const WaveFormat& from, const WaveFormat& to) {
    std::unique_ptr<AcmStream> stage;
    if (stages_ > 0)
        stage = std::make_unique<AcmStream>(from, to, std::move(last_));
    else if (inner_.Owns())
        stage = std::make_unique<AcmStream>(from, to, inner_.Release());
    else
        stage = std::make_unique<AcmStream>(from, to, *inner_.get());
    last_ = std::move(stage);
    ++stages_;
    return last_->IsOk() != 0;
}

const AcmStream* ConvertStream::Stage(std::uint32_t index) const {
    if (index >= stages_) return nullptr;
    const AcmStream* stage = last_.get();
    for (std::uint32_t i = stages_ - 1; i > index; --i)
        stage = dynamic_cast<const AcmStream*>(stage->Inner());
    return stage;
}

std::uint32_t ConvertStream::Read(void* destination, std::uint32_t count) {
    return ok ? Last()->Read(destination, count) : 0;
}

std::uint32_t ConvertStream::Seek(std::int32_t offset, std::uint32_t origin) {
    return ok ? Last()->Seek(offset, origin) : kSeekFailed;
}

std::uint32_t ConvertStream::IsEof() {
    return ok ? Last()->IsEof() : 1;
}

std::uint32_t ConvertStream::Size() {
    return ok ? Last()->Size() : 0;
}

}  // namespace kelvane
