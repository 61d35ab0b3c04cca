#include "formats/streams/MpegStream.h"

#include <dlfcn.h>

#include <mutex>

#include "platform/modules/ProgramModule.h"
#include "platform/mpadec/MpaDecode.h"

#ifndef KELVANE_MPADEC_PATH
#define KELVANE_MPADEC_PATH "mpadec.so"
#endif

namespace kelvane {

namespace {

// The loaded decoder module, shared by every stream of the process. Streams are made and
// destroyed on several threads by the batch command, so loading, counting and unloading hold
// the lock; the entry points are only read while a stream keeps the module loaded.
struct DecoderLibrary {
    void* module = nullptr;
    MpaOpenFn open = nullptr;
    MpaReadFn read = nullptr;
    MpaSeekFn seek = nullptr;
    MpaEofFn eof = nullptr;
    MpaCloseFn close = nullptr;
    MpaSizeFn size = nullptr;
    MpaInfoFn info = nullptr;
    std::uint32_t openStreams = 0;

    template <typename Fn>
    void Find(Fn& fn, const char* name) {
        fn = reinterpret_cast<Fn>(::dlsym(module, name));
    }

    bool Load() {
        if (module != nullptr) return true;
        module = OpenProgramModule("mpadec.so", KELVANE_MPADEC_PATH);
        if (module == nullptr) return false;
        Find(open, "MPADecodeOpen");
        Find(read, "MPADecodeRead");
        Find(seek, "MPADecodeSeek");
        Find(eof, "MPADecodeEof");
        Find(close, "MPADecodeClose");
        Find(size, "MPADecodeGetUncompressedSize");
        Find(info, "MPADecodeGetInfo");
        return true;
    }

    void Unload() {
        if (module != nullptr) ::dlclose(module);
        *this = DecoderLibrary{};
    }
};

DecoderLibrary library;
std::mutex libraryLock;

}  // namespace

MpegStream::MpegStream(std::unique_ptr<DataBlock> block) : block_(std::move(block)) {
    if (!block_ || block_->pointer == nullptr || block_->size == 0) return;
    const std::lock_guard lock(libraryLock);
    if (!library.Load() || library.open == nullptr) return;
    handle_ = library.open(block_->pointer, block_->size);
    if (handle_ == nullptr) return;
    ++library.openStreams;
    ok = 1;
}

MpegStream::~MpegStream() {
    const std::lock_guard lock(libraryLock);
    if (handle_ != nullptr && library.close != nullptr) library.close(handle_);
    block_.reset();
    if (handle_ != nullptr) --library.openStreams;
    if (library.openStreams == 0) library.Unload();
}

std::uint32_t MpegStream::Read(void* destination, std::uint32_t count) {
    return ok && library.read ? library.read(handle_, destination, count) : 0;
}

std::uint32_t MpegStream::Seek(std::int32_t offset, std::uint32_t origin) {
    return ok && library.seek ? library.seek(handle_, offset, origin) : 0;
}

std::uint32_t MpegStream::IsEof() {
    if (!ok) return 1;
    return library.eof ? library.eof(handle_) : 0;
}

std::uint32_t MpegStream::Size() {
    return ok && library.size ? library.size(handle_) : 0;
}

void MpegStream::GetInfo(MpegInfo& info) {
    if (ok && library.info) library.info(handle_, &info);
}

std::uint32_t MpegStream::OpenCount() {
    const std::lock_guard lock(libraryLock);
    return library.openStreams;
}

const char* MpegStream::LibraryPath() {
    return KELVANE_MPADEC_PATH;
}

}  // namespace kelvane
