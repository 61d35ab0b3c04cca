#include "wavedata/WaveObject.h"

#include <cmath>
#include <cstring>

#include "wavedata/SessionFolder.h"

namespace kelvane {

namespace {
StopDeviceHook gStopDevice = nullptr;

int InfoSlot(std::string_view id) {
    for (std::size_t i = 0; i < kInfoCount; ++i)
        if (kInfoIds[i] == id) return static_cast<int>(i);
    return -1;
}
}  // namespace

void SetStopDeviceHook(StopDeviceHook hook) {
    gStopDevice = hook;
}

WaveObject::WaveObject(std::uint32_t temp, const char* directory)
    : useTempFiles(temp), tempDirectory(directory ? directory : "") {}

WaveObject::~WaveObject() {
    Reset();
}

void WaveObject::StopDevice() {
    if (deviceState != DeviceState::Idle && gStopDevice != nullptr) gStopDevice(*this);
}

void WaveObject::Reset() {
    StopDevice();
    storage.reset();
    stream.reset();
    mpegInfo.reset();
    mode = WaveMode::Empty;
    dataBytes = 0;
    data = nullptr;
    frameLayout = LayoutNone;
    sourceType = SourceType::Wave;
    sourceChannels = 0;
    sourceRate = 0;
    sourceBits = 0;
    sourceTag = kTagPcm;
    sourceFormatName.clear();
    sourceText.clear();
    format.reset();
    deviceState = DeviceState::Idle;
    deviceContext = nullptr;
    ClearInfo();
}

void WaveObject::SetFormat(const WaveFormat& f) {
    format = CopyFormat(f);
    frameLayout = FrameLayoutOf(format.get());
}

std::uint32_t WaveObject::Allocate(const WaveFormat& f, std::uint32_t frames) {
    Reset();
    if (frames == 0) {
        SetFormat(f);
        mode = WaveMode::FormatOnly;
        return 1;
    }
    const std::uint64_t bytes64 = std::uint64_t{BytesPerFrame(FrameLayoutOf(&f))} * frames;
    if (bytes64 > 0xFFFFFFFFu) return 0;
    const auto bytes = static_cast<std::uint32_t>(bytes64);
    if (useTempFiles == 0) {
        auto block = std::make_unique<GlobalBlock>(bytes, true);
        if (block->pointer == nullptr) return 0;
        storage = std::move(block);
    } else {
        const std::string name = MakeTempFileName();
        storage = std::make_unique<MappedFileBlock>(bytes, name.empty() ? nullptr : name.c_str(),
                                                    true, nullptr, false, true);
        if (storage->pointer == nullptr) return 0;
    }
    SetFormat(f);
    data = storage->pointer;
    dataBytes = bytes;
    mode = WaveMode::Resident;
    return 1;
}

std::uint32_t WaveObject::AttachBuffer(const WaveFormat& f, std::uint8_t* buffer,
                                       std::uint32_t bytes) {
    Reset();
    SetFormat(f);
    storage = std::make_unique<BorrowedBlock>(buffer, bytes, false, false);
    data = buffer;
    dataBytes = bytes;
    sourceType = SourceType::Wave;
    mode = WaveMode::Resident;
    return 1;
}

std::uint32_t WaveObject::AttachBlock(const WaveFormat& f, std::unique_ptr<DataBlock>& block) {
    if (!block || block->pointer == nullptr) return 0;
    Reset();
    SetFormat(f);
    data = block->pointer;
    dataBytes = block->size;
    storage = std::move(block);
    mode = WaveMode::Resident;
    return 1;
}

std::uint32_t WaveObject::AttachBlock(const WaveFormat& f, DataBlock& block) {
    if (block.pointer == nullptr) return 0;
    std::unique_ptr<DataBlock> borrowed =
        std::make_unique<BorrowedBlock>(block.pointer, block.size, false, block.readOnly != 0);
    return AttachBlock(f, borrowed);
}

std::uint32_t WaveObject::FrameCount() const {
    if (mode == WaveMode::Resident && format) return FramesInBytes(*format, dataBytes);
    if (mode == WaveMode::Streamed && stream) {
        const std::uint32_t bpf = BytesPerFrame(frameLayout);
        return bpf == 0 ? 0 : stream->Size() / bpf;
    }
    return 0;
}

FrameValue WaveObject::GetFrame(std::uint32_t index) const {
    return ReadFrameAt(frameLayout, data, index);
}

void WaveObject::SetFrame(std::uint32_t index, FrameValue value) {
    WriteFrameAt(frameLayout, data, index, value);
}

FrameValue WaveObject::GetFrameInterpolated(double pos) const {
    const std::uint32_t n = FrameCount();
    if (!(pos >= 0.0) || pos >= static_cast<double>(n)) return 0;
    const auto k = static_cast<std::uint32_t>(std::floor(pos));
    const FrameValue a = GetFrame(k);
    const FrameValue b = k + 1 < n ? GetFrame(k + 1) : 0;
    const double t = pos - k;
    // The unsigned base is deliberate: a fraction below a negative sample rounds down.
    auto mix = [t](std::uint32_t au, std::int32_t as, std::int32_t bs) {
        const auto v = static_cast<std::int64_t>(static_cast<double>(au) + (bs - as) * t);
        return static_cast<std::uint32_t>(v) & 0xFFFFu;
    };
    const std::uint32_t left = mix(a & 0xFFFFu, LeftOf(a), LeftOf(b));
    const std::uint32_t right = mix(a >> 16, RightOf(a), RightOf(b));
    return (right << 16) | left;
}

const char* WaveObject::GetInfo(std::string_view id) const {
    const int slot = InfoSlot(id);
    return slot < 0 ? nullptr : infoTexts[static_cast<std::size_t>(slot)].get();
}

void WaveObject::SetInfo(std::string_view id, const char* text) {
    const int slot = InfoSlot(id);
    if (slot < 0) return;
    auto& entry = infoTexts[static_cast<std::size_t>(slot)];
    entry.reset();
    if (text == nullptr || *text == '\0') return;
    const std::size_t length = std::strlen(text);
    entry = std::make_unique<char[]>(length + 1);
    std::memcpy(entry.get(), text, length + 1);
}

void WaveObject::ClearInfo() {
    for (auto& text : infoTexts) text.reset();
}

void WaveObject::CopyInfo(const WaveObject* other) {
    if (other == nullptr || other == this) return;
    for (const auto id : kInfoIds) SetInfo(id, other->GetInfo(id));
}

std::string WaveObject::MakeTempFileName() const {
    std::string path;
    if (!tempDirectory.empty())
        TempFileName(tempDirectory, "WAV", path);
    else
        SystemTempFileName("WAV", path);
    if (!path.empty()) KeepIfInSession(path);
    return path;
}

}  // namespace kelvane
