#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace kelvane {

// The block through which a second start of the editor hands its file to the running copy: a
// named shared memory block of 264 bytes. Offset 0 holds the running copy's process id, offset
// 4 a zero-terminated path of at most 259 bytes (empty: no request). A block whose process is
// gone, or is no longer a copy of this program, is taken over.
class SingleInstance {
  public:
    static constexpr std::size_t kBlockSize = 264;
    static constexpr std::size_t kPathOffset = 4;
    static constexpr std::size_t kPathSize = kBlockSize - kPathOffset;

    // Opens the block of `name` for this user: as its owner when no live copy holds it, as a
    // second copy otherwise. Null when shared memory cannot be had at all.
    static std::unique_ptr<SingleInstance> Open(std::string_view name);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    [[nodiscard]] bool IsOwner() const { return m_bOwner; }
    [[nodiscard]] pid_t OwnerProcess() const;
    [[nodiscard]] const std::string& Name() const { return m_strName; }

    // A second copy's request: stores the path when the field is empty (false otherwise, or
    // when the path does not fit) and asks the owner to come to the front.
    bool HandOver(std::string_view path);
    // The owner's poll: the pending path, the field cleared; empty when there is none.
    [[nodiscard]] std::string TakePendingPath();
    // Whether a second copy asked the owner to come to the front since the last call.
    [[nodiscard]] static bool TakeRaiseRequest();

  private:
    SingleInstance(std::string name, int fd, std::uint8_t* block, bool owner);
    static void InstallRaiseHandler();

    std::string m_strName;
    int m_fd;
    std::uint8_t* m_pBlock;
    bool m_bOwner;
};

}  // namespace kelvane
