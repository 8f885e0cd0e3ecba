// A fuzz input as a file that lives in memory only: the code under test opens it by path,
// yet no run writes to or syncs a disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include <sys/mman.h>
#include <unistd.h>

namespace tomery::fuzz {

class MemoryFile {
  public:
    MemoryFile(const std::uint8_t* data, std::size_t size)
        : descriptor_(::memfd_create("fuzz-input", MFD_CLOEXEC)) {
        for (std::size_t done = 0; descriptor_ >= 0 && done < size;) {
            const ssize_t written = ::write(descriptor_, data + done, size - done);
            if (written <= 0) {
                __builtin_trap();  // the harness itself failed, not the code under test
            }
            done += static_cast<std::size_t>(written);
        }
    }
    ~MemoryFile() { ::close(descriptor_); }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    std::string Path() const { return "/proc/self/fd/" + std::to_string(descriptor_); }

  private:
    int descriptor_;
};

}  // namespace tomery::fuzz
