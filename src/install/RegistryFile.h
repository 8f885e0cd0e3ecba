// A registry kept in a text file: the registry export format, so that a user can write it
// by hand or export it from the desktop software,
//
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\Software\Palm Computing\Pilot Desktop\Core]
//   "Path"="/home/ann/Palm"
//
//   [HKEY_CURRENT_USER\Software\Palm Computing\Pilot Desktop\HotSync Manager]
//   "Install3"=dword:00000001
//
// the same format as a newer regedit writes it ("Windows Registry Editor Version 5.00", most
// often UTF-16 LE with a byte order mark), or the current user's part of a Wine prefix,
// user.reg:
//
//   WINE REGISTRY Version 2
//   [Software\\Palm Computing\\Pilot Desktop\\Core] 1700000000
//   #time=1da1b2c3d4e5f60
//   "Path"="C:\\Palm"
//
// Lines starting with ';' are comments. Writing a value rewrites the file through a temporary
// file in the encoding it was read in and keeps every other line as it was.
#pragma once

#include "Registry.h"

#include <optional>
#include <string>
#include <vector>

namespace tomery::install {

/// The dialects TRegistryFile reads, told apart by the file's first line.
enum class TRegistryFormat { Regedit4, Regedit5, Wine };

class TRegistryFile : public TRegistry {
  public:
    /// Reads the file. A missing file is an empty registry; a malformed one is an empty
    /// registry with a Problem() and is never written.
    explicit TRegistryFile(std::string path);

    /// The file of this user: $TOMERY_REGISTRY when set, else registry.reg in the program
    /// folder.
    static std::string DefaultPath();

    /// Why the file could not be used ("" when it could): names the file and the line.
    const std::string& Problem() const { return problem_; }
    const std::string& Path() const { return path_; }
    TRegistryFormat Format() const { return format_; }

    std::string Reread() override;

    bool OpenKey(const std::string& key) const override;
    std::optional<std::string> ReadString(const std::string& key, const std::string& name,
                                          std::size_t bufferSize) const override;
    bool WriteInteger(const std::string& key, const std::string& name,
                      std::uint32_t value) override;
    /// A Windows path ("C:\\Palm") as it lies in the default Wine prefix; others as they are.
    std::string LocalPath(const std::string& path) const override;

  private:
    /// A value line of a section, as found in the file.
    struct TValue {
        std::size_t line;  ///< index into lines_
        std::string name;
        std::string data;  ///< the text after '='
    };
    struct TSection {
        std::string key;   ///< without the HKEY_CURRENT_USER\ root
        std::size_t last;  ///< index of the section's last non-blank line
        std::vector<TValue> values;
    };

    void Load();
    void Parse();
    /// The key of a section line ("[...]" with what follows it); nothing for another root,
    /// an empty optional with `damaged` set when the line is malformed.
    std::optional<std::string> SectionKey(const std::string& line, bool& damaged) const;
    std::vector<std::string> NewSection(const std::string& key) const;
    const TSection* FindSection(const std::string& key) const;
    const TValue* FindValue(const std::string& key, const std::string& name) const;
    /// Writes the lines over the file; returns why that failed ("" when it did not).
    std::string Store() const;

    std::string path_;
    std::string problem_;
    std::vector<std::string> lines_;
    std::string lineEnd_ = "\r\n";
    TRegistryFormat format_ = TRegistryFormat::Regedit4;
    bool utf16_ = false;  ///< read from and written back as UTF-16 LE with a byte order mark
    std::vector<TSection> sections_;
};

}  // namespace tomery::install
