#include "formats/RealAudioExport.h"

#include <vector>

#include "formats/streams/BlockStream.h"
#include "formats/streams/ConvertStream.h"
#include "resources/Strings.h"

namespace kelvane {

namespace {

constexpr int kPackageVersion = 3;
constexpr int kDestinationFile = 1;
constexpr std::uint32_t kFallbackBufferBytes = 16384;

// The sound's bytes converted to 16-bit PCM at its own rate and channel count.
std::unique_ptr<ConvertStream> PcmSource(const WaveObject& wave, const WaveFormat& pcm) {
    // An empty sound still needs a readable block: it delivers nothing.
    static std::uint8_t none = 0;
    auto block =
        std::make_unique<BorrowedBlock>(wave.data ? wave.data : &none, wave.dataBytes, false, true);
    return std::make_unique<ConvertStream>(*wave.format, pcm,
                                           std::make_unique<BlockStream>(std::move(block)));
}

}  // namespace

RealAudioResult ExportRealAudio(const std::string& path, std::uint32_t method,
                                const WaveObject& wave, ProgressIndicator& progress,
                                const RealAudioEncoderCalls& calls) {
    if (!wave.format) return RealAudioResult::NotConvertible;
    const WaveFormat pcm = PcmFormat(wave.format->samplesPerSec, 16, wave.format->channels);
    auto source = PcmSource(wave, pcm);
    if (!source->IsOk()) return RealAudioResult::NotConvertible;
    const std::uint32_t total = source->Size();

    RaInputFormat record;
    record.formatTag = kTagPcm;
    record.samplesPerSec = pcm.samplesPerSec & 0xFFFFu;
    record.bitsPerSample = 16;
    record.channels = pcm.channels;

    if (calls.packageInit(kPackageVersion) != 0) return RealAudioResult::EncoderInit;
    RaHandle encoder = calls.create();
    if (calls.initializeEncoder(encoder, static_cast<int>(method), &record) != 0) {
        calls.destroy(encoder);
        return RealAudioResult::EncoderInit;
    }
    calls.setDestination(encoder, kDestinationFile);
    if (calls.setOutputFile(encoder, path.c_str()) != 0) {
        calls.destroy(encoder);
        return RealAudioResult::OutputFile;
    }
    std::uint32_t sizes[3] = {};
    calls.getBufferSizes(encoder, &sizes[0], &sizes[1], &sizes[2]);
    std::vector<std::uint8_t> buffer(sizes[0] ? sizes[0] : kFallbackBufferBytes);
    calls.start(encoder);

    const auto size = static_cast<std::uint32_t>(buffer.size());
    std::uint64_t done = 0;
    for (std::uint32_t n = source->Read(buffer.data(), size); n > 0;
         n = source->Read(buffer.data(), size)) {
        done += n;
        progress.SetPos(static_cast<int>(static_cast<double>(done) / total * 100.0));
        std::uint32_t produced = 0;
        std::uint32_t status = 0;
        calls.encode(encoder, buffer.data(), n, 0, &produced, 0, &status);
    }
    calls.done(encoder);
    calls.destroy(encoder);
    return RealAudioResult::Success;
}

std::string_view RealAudioErrorText(RealAudioResult result) {
    switch (result) {
        case RealAudioResult::Success:
            return {};
        case RealAudioResult::EncoderInit:
            return LoadString(1010);
        case RealAudioResult::OutputFile:
            return LoadString(1009);
        default:
            return LoadString(1006);
    }
}

}  // namespace kelvane
