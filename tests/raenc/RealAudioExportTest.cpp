#include "formats/RealAudioExport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "raenc/RaCheck.h"
#include "resources/Strings.h"
#include "support/TestSupport.h"

namespace kelvane {
namespace {

// The export's calls as the encoder saw them, each forwarded to the real library.
std::vector<std::string> g_calls;
RaInputFormat g_described;

RealAudioEncoderCalls Recorder() {
    RealAudioEncoderCalls c;
    c.packageInit = [](int v) { return g_calls.push_back("PackageInit"), RAenc_PackageInit(v); };
    c.create = [] { return g_calls.push_back("Create"), RAenc_Create(); };
    c.initializeEncoder = [](RaHandle h, int m, const RaInputFormat* f) {
        g_calls.push_back("InitializeEncoder");
        g_described = *f;
        return RAenc_InitializeEncoder(h, m, f);
    };
    c.setDestination = [](RaHandle h, int d) {
        return g_calls.push_back("SetDestination"), RAenc_SetDestination(h, d);
    };
    c.setOutputFile = [](RaHandle h, const char* p) {
        return g_calls.push_back("SetOutputFile"), RAenc_SetOutputFile(h, p);
    };
    c.getBufferSizes = [](RaHandle h, std::uint32_t* a, std::uint32_t* b, std::uint32_t* d) {
        return g_calls.push_back("GetBufferSizes"), RAenc_GetBufferSizes(h, a, b, d);
    };
    c.start = [](RaHandle h) { return g_calls.push_back("Start"), RAenc_Start(h); };
    c.encode = [](RaHandle h, const void* b, std::uint32_t n, int r1, std::uint32_t* p, int r2,
                  std::uint32_t* s) {
        return g_calls.push_back("Encode"), RAenc_Encode(h, b, n, r1, p, r2, s);
    };
    c.done = [](RaHandle h) { return g_calls.push_back("Done"), RAenc_Done(h); };
    c.destroy = [](RaHandle h) { g_calls.push_back("Destroy"), RAenc_Destroy(h); };
    return c;
}

class Positions final : public ProgressIndicator {
  public:
    bool Create(void*) override { return true; }
    void SetText(std::string_view) override {}
    int SetPos(int position) override {
        seen.push_back(position);
        return 0;
    }
    void SetRange(int, int) override {}
    std::vector<int> seen;
};

class RealAudioExport : public ::testing::Test {
  protected:
    void SetUp() override { g_calls.clear(); }
    test::ScopedTempDir dir;
    Positions progress;
};

TEST_F(RealAudioExport, AnEmptySoundStartsAndFinishesWithoutEncoding) {
    WaveObject wave(1, nullptr);
    ASSERT_EQ(wave.Allocate(PcmFormat(22050, 16, 2), 0), 1u);
    const std::string path = dir.File("empty.ra");
    EXPECT_EQ(ExportRealAudio(path, 9, wave, progress, Recorder()), RealAudioResult::Success);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"PackageInit", "Create", "InitializeEncoder",
                                                 "SetDestination", "SetOutputFile",
                                                 "GetBufferSizes", "Start", "Done", "Destroy"}));
    EXPECT_TRUE(progress.seen.empty());
    EXPECT_TRUE(std::filesystem::exists(path));
}

TEST_F(RealAudioExport, SoundsReachTheEncoderAs16BitPcmAtTheirOwnRate) {
    if (!test::RequireTool("ffmpeg")) return;
    struct Case {
        std::uint32_t rate;
        std::uint16_t bits, channels;
        std::uint32_t method;
    };
    for (const Case c : {Case{11025, 8, 1, 9}, Case{48000, 16, 2, 5}, Case{22050, 8, 2, 0}}) {
        SCOPED_TRACE(std::to_string(c.rate) + " Hz, " + std::to_string(c.bits) + " bits");
        g_calls.clear();
        progress.seen.clear();
        // A sweep, stored at the case's sample size through the frame accessors.
        const auto sweep = test::SweepWave(c.rate, c.channels, c.rate * 2, 300, 2500, 12000);
        WaveObject wave(1, nullptr);
        ASSERT_EQ(wave.Allocate(PcmFormat(c.rate, c.bits, c.channels), c.rate * 2), 1u);
        for (std::uint32_t i = 0; i < wave.FrameCount(); ++i) wave.SetFrame(i, sweep->GetFrame(i));
        const std::string path = dir.File(std::to_string(c.rate) + ".ra");
        ASSERT_EQ(ExportRealAudio(path, c.method, wave, progress, Recorder()),
                  RealAudioResult::Success);
        EXPECT_EQ(g_described.formatTag, 1);
        EXPECT_EQ(std::uint32_t{g_described.samplesPerSec}, c.rate);  // a packed field
        EXPECT_EQ(g_described.bitsPerSample, 16);
        EXPECT_EQ(g_described.channels, c.channels);
        EXPECT_TRUE(std::is_sorted(progress.seen.begin(), progress.seen.end()));
        ASSERT_FALSE(progress.seen.empty());
        EXPECT_EQ(progress.seen.back(), 100);
        // What ffmpeg decodes follows the source's mono mix.
        std::vector<std::int16_t> source(wave.FrameCount());
        for (std::uint32_t i = 0; i < wave.FrameCount(); ++i) {
            const FrameValue f = wave.GetFrame(i);
            source[i] = static_cast<std::int16_t>((LeftOf(f) + RightOf(f)) / 2);
        }
        EXPECT_GT(test::BestCorrelation(source, test::DecodeMono(path, c.rate), 2048), 0.9);
    }
}

TEST_F(RealAudioExport, FailuresLeaveNoFileAndNameTheirMessage) {
    auto wave = test::SweepWave(8000, 1, 8000, 200, 1000, 8000);
    const std::string path = dir.File("out.ra");
    EXPECT_EQ(ExportRealAudio(path, 10, *wave, progress, Recorder()), RealAudioResult::EncoderInit);
    EXPECT_EQ(g_calls.back(), "Destroy");
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(RealAudioErrorText(RealAudioResult::EncoderInit), LoadString(1010));

    const std::string nowhere = dir.File("no/folder/out.ra");
    EXPECT_EQ(ExportRealAudio(nowhere, 0, *wave, progress), RealAudioResult::OutputFile);
    EXPECT_EQ(RealAudioErrorText(RealAudioResult::OutputFile), LoadString(1009));

    // A format no codec decodes never reaches the encoder.
    g_calls.clear();
    WaveFormat unknown = PcmFormat(8000, 16, 1);
    unknown.formatTag = 0x55;
    WaveObject odd(1, nullptr);
    std::vector<std::uint8_t> bytes(4000, 0);
    ASSERT_EQ(odd.AttachBuffer(unknown, bytes.data(), 4000), 1u);
    EXPECT_EQ(ExportRealAudio(path, 9, odd, progress, Recorder()), RealAudioResult::NotConvertible);
    EXPECT_TRUE(g_calls.empty());
    EXPECT_EQ(RealAudioErrorText(RealAudioResult::NotConvertible), LoadString(1006));
    EXPECT_TRUE(RealAudioErrorText(RealAudioResult::Success).empty());
}

}  // namespace
}  // namespace kelvane
