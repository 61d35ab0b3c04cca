#pragma once

#include <mpg123.h>

#include <cstdint>
#include <memory>

namespace kelvane {

// One MPEG audio decode from bytes held in memory, through libmpg123's replaceable reader,
// always to signed 16-bit PCM at the file's rate and channel count.
class MpaDecoder {
  public:
    // Null when libmpg123 finds no decodable audio in the bytes.
    static std::unique_ptr<MpaDecoder> Open(const std::uint8_t* data, std::uint32_t bytes);
    ~MpaDecoder();
    MpaDecoder(const MpaDecoder&) = delete;
    MpaDecoder& operator=(const MpaDecoder&) = delete;

    std::uint32_t Read(void* destination, std::uint32_t bytes);
    std::uint32_t Seek(std::int32_t offset, std::uint32_t origin);
    [[nodiscard]] bool Eof() const { return done_ || position_ >= size_; }
    [[nodiscard]] std::uint32_t Size() const { return size_; }
    void GetInfo(void* record) const;

  private:
    // The file's bytes as libmpg123 reads them.
    struct Source {
        const std::uint8_t* data;
        std::uint32_t size;
        std::uint32_t position = 0;
    };
    static mpg123_ssize_t ReadSource(void* handle, void* buffer, size_t bytes);
    static off_t SeekSource(void* handle, off_t offset, int whence);

    MpaDecoder(const std::uint8_t* data, std::uint32_t bytes);
    static mpg123_handle* NewHandle(Source& source);
    [[nodiscard]] bool MostlyFrames() const;
    bool Start();

    Source source_;
    mpg123_handle* handle_ = nullptr;
    std::uint32_t frameBytes_ = 0;  // channels × 2
    std::uint32_t size_ = 0;
    std::uint32_t position_ = 0;
    bool done_ = false;
};

}  // namespace kelvane
