// Small file-system helpers: whole-file reading and the read-only attribute.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tomery {

/// The file's bytes; nothing when it cannot be opened or read.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path);

/// Clears a file's read-only attribute (the owner's write permission) for the guard's
/// lifetime and puts the remembered permissions back on destruction, on every path.
/// Does nothing for a path that does not exist.
class ReadOnlyAttributeLift {
  public:
    explicit ReadOnlyAttributeLift(std::string path);
    ~ReadOnlyAttributeLift();

    ReadOnlyAttributeLift(const ReadOnlyAttributeLift&) = delete;
    ReadOnlyAttributeLift& operator=(const ReadOnlyAttributeLift&) = delete;

  private:
    std::string path_;
    std::optional<unsigned> remembered_;  ///< permission bits before the lift
};

}  // namespace tomery
