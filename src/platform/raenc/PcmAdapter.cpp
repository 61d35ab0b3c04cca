#include "platform/raenc/PcmAdapter.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/samplefmt.h>
#include <libswresample/swresample.h>
}

namespace kelvane {

struct PcmAdapter::Impl {
    SwrContext* swr = nullptr;
    std::uint16_t outChannels = 0;
    ~Impl() { swr_free(&swr); }
};

PcmAdapter::PcmAdapter() : impl_(std::make_unique<Impl>()) {}
PcmAdapter::~PcmAdapter() = default;

bool PcmAdapter::Open(std::uint32_t inRate, std::uint16_t inChannels, std::uint32_t outRate,
                      std::uint16_t outChannels) {
    if (inRate == 0 || inChannels == 0 || outChannels == 0) return false;
    AVChannelLayout inLayout;
    AVChannelLayout outLayout;
    av_channel_layout_default(&inLayout, inChannels);
    av_channel_layout_default(&outLayout, outChannels);
    swr_free(&impl_->swr);
    const int made =
        swr_alloc_set_opts2(&impl_->swr, &outLayout, AV_SAMPLE_FMT_S16, static_cast<int>(outRate),
                            &inLayout, AV_SAMPLE_FMT_S16, static_cast<int>(inRate), 0, nullptr);
    av_channel_layout_uninit(&inLayout);
    av_channel_layout_uninit(&outLayout);
    if (made < 0 || swr_init(impl_->swr) < 0) return false;
    impl_->outChannels = outChannels;
    return true;
}

namespace {

bool Run(SwrContext* swr, std::uint16_t channels, const std::int16_t* in, std::uint32_t frames,
         std::vector<std::int16_t>& out) {
    const int room = swr_get_out_samples(swr, static_cast<int>(frames));
    if (room < 0) return false;
    const std::size_t before = out.size();
    out.resize(before + static_cast<std::size_t>(room) * channels);
    auto* dst = reinterpret_cast<std::uint8_t*>(out.data() + before);
    const auto* src = reinterpret_cast<const std::uint8_t*>(in);
    const int got = swr_convert(swr, &dst, room, in ? &src : nullptr, static_cast<int>(frames));
    if (got < 0) {
        out.resize(before);
        return false;
    }
    out.resize(before + static_cast<std::size_t>(got) * channels);
    return true;
}

}  // namespace

bool PcmAdapter::Convert(const std::int16_t* in, std::uint32_t frames,
                         std::vector<std::int16_t>& out) {
    return impl_->swr && Run(impl_->swr, impl_->outChannels, in, frames, out);
}

bool PcmAdapter::Flush(std::vector<std::int16_t>& out) {
    return impl_->swr && Run(impl_->swr, impl_->outChannels, nullptr, 0, out);
}

}  // namespace kelvane
