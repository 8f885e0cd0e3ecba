// A registry kept in a text file in the registry export format, so that a user can write it
// by hand or export it from the desktop software:
//
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\Software\Palm Computing\Pilot Desktop\Core]
//   "Path"="/home/ann/Palm"
//
//   [HKEY_CURRENT_USER\Software\Palm Computing\Pilot Desktop\HotSync Manager]
//   "Install3"=dword:00000001
//
// Lines starting with ';' are comments. Writing a value rewrites the file through a temporary
// file and keeps every other line as it was.
#pragma once

#include "Registry.h"

#include <string>
#include <vector>

namespace tomery::install {

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

    std::string Reread() override;

    bool OpenKey(const std::string& key) const override;
    std::optional<std::string> ReadString(const std::string& key, const std::string& name,
                                          std::size_t bufferSize) const override;
    bool WriteInteger(const std::string& key, const std::string& name,
                      std::uint32_t value) override;

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
    const TSection* FindSection(const std::string& key) const;
    const TValue* FindValue(const std::string& key, const std::string& name) const;
    /// Writes the lines over the file; returns why that failed ("" when it did not).
    std::string Store() const;

    std::string path_;
    std::string problem_;
    std::vector<std::string> lines_;
    std::string lineEnd_ = "\r\n";
    std::vector<TSection> sections_;
};

}  // namespace tomery::install
