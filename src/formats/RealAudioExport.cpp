#include "formats/RealAudioExport.h"

#include <dlfcn.h>

#include <vector>

#include "formats/streams/BlockStream.h"
#include "formats/streams/ConvertStream.h"
#include "platform/modules/ProgramModule.h"
#include "resources/Strings.h"

#ifndef KELVANE_RAENC_PATH
#define KELVANE_RAENC_PATH "raenc.so"
#endif

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

// The loaded module. FFmpeg's libraries are not made to be unloaded and loaded again within a
// process, and a batch writes many files, so the module is never closed: it goes with the
// process. Closing it at exit would free nothing the end of the process does not, and would
// turn what those libraries keep for their whole life into leaks in a leak checker's eyes.
class EncoderModule {
  public:
    EncoderModule() {
        handle_ = OpenProgramModule("raenc.so", KELVANE_RAENC_PATH);
        if (handle_ == nullptr) return;
        complete_ = Find(calls_.packageInit, "RAenc_PackageInit") &&
                    Find(calls_.create, "RAenc_Create") &&
                    Find(calls_.initializeEncoder, "RAenc_InitializeEncoder") &&
                    Find(calls_.setDestination, "RAenc_SetDestination") &&
                    Find(calls_.setOutputFile, "RAenc_SetOutputFile") &&
                    Find(calls_.getBufferSizes, "RAenc_GetBufferSizes") &&
                    Find(calls_.start, "RAenc_Start") && Find(calls_.encode, "RAenc_Encode") &&
                    Find(calls_.done, "RAenc_Done") && Find(calls_.destroy, "RAenc_Destroy");
    }
    EncoderModule(const EncoderModule&) = delete;
    EncoderModule& operator=(const EncoderModule&) = delete;

    [[nodiscard]] const RealAudioEncoderCalls* Calls() const {
        return complete_ ? &calls_ : nullptr;
    }

  private:
    template <typename Fn>
    bool Find(Fn& fn, const char* name) {
        fn = reinterpret_cast<Fn>(::dlsym(handle_, name));
        return fn != nullptr;
    }

    void* handle_ = nullptr;
    RealAudioEncoderCalls calls_;
    bool complete_ = false;
};

}  // namespace

const RealAudioEncoderCalls* RealAudioEncoderModule() {
    static const EncoderModule module;
    return module.Calls();
}

const char* RealAudioEncoderPath() {
    return KELVANE_RAENC_PATH;
}

RealAudioResult ExportRealAudio(const std::string& path, std::uint32_t method,
                                const WaveObject& wave, ProgressIndicator& progress) {
    const RealAudioEncoderCalls* calls = RealAudioEncoderModule();
    if (calls == nullptr) return RealAudioResult::EncoderInit;
    return ExportRealAudio(path, method, wave, progress, *calls);
}

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
