// The current user's registry as the install command needs it: keys that exist or not,
// bounded string values, 32-bit numbers written back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace tomery::install {

/// A value could not be stored in a key that exists; the message names where and why.
class ERegistryWriteError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

/// Key paths are relative to HKEY_CURRENT_USER, with '\' between levels
/// ("Software\Palm Computing\Pilot Desktop\Core"); names and paths compare without regard
/// to case, as the registry does.
class TRegistry {
  public:
    virtual ~TRegistry() = default;

    /// Reads the registry again, so that what other programs changed meanwhile is seen.
    /// Returns why it could not be read ("" when it could); it then reads as empty.
    virtual std::string Reread() = 0;
    /// Whether the key can be opened.
    virtual bool OpenKey(const std::string& key) const = 0;
    /// A string value read into a buffer of `bufferSize` bytes with its terminator: at most
    /// bufferSize - 1 characters. Nothing when the key or value is missing or not a string.
    virtual std::optional<std::string> ReadString(const std::string& key, const std::string& name,
                                                  std::size_t bufferSize) const = 0;
    /// Sets a 32-bit number in an existing key; false when the key is missing. Raises
    /// ERegistryWriteError when the key exists but the value could not be stored.
    virtual bool WriteInteger(const std::string& key, const std::string& name,
                              std::uint32_t value) = 0;
    /// A path read from the registry as this system reaches it: a Windows path ("C:\\Palm")
    /// in the Wine prefix that holds it.
    virtual std::string LocalPath(const std::string& path) const { return path; }
};

}  // namespace tomery::install
