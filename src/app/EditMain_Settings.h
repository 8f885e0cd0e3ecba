// The settings file beside the program: its keys, defaults, and the rules for reading them
// when the main window is created and writing them when it is destroyed.
#pragma once

#include "IniText.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tomery::app {

/// An INI file read and written one key at a time; every write reaches the file at once.
/// Lines that are not sections or keys are kept and skipped, so a damaged file still gives
/// every key it holds, and writing it keeps what it does not understand.
class TIniFile {
  public:
    explicit TIniFile(std::string path);
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    const std::string& Path() const { return path_; }

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;
    /// The value as a whole number; `defaultValue` when the key is missing or its value is
    /// not a whole number.
    int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;

    /// Throws std::runtime_error("Unable to write to " + path) when the file refuses it.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);
    void WriteBool(const std::string& section, const std::string& key, bool value);

  private:
    /// The file's text; empty when there is no file, nothing when it cannot be read.
    std::optional<IniText> Load() const;

    std::string path_;
};

/// A whole number in decimal with an optional sign, blanks around it allowed; nothing for
/// any other text or one out of the int range.
std::optional<int> WholeNumber(const std::string& text);

/// "<program folder><program name>.INI"
std::string SettingsFilePath();

/// Every value the settings file keeps, with the defaults of a first run.
struct TFormSettings {
    int width = 600;
    int height = 400;
    std::string lastOpenFile;
    std::string lastDocName;
    bool autoIndent = false;
    int tabSize = 8;
    bool wordWrap = true;
    bool trimTrailingBlanks = true;  ///< loading and saving drop the blanks that end lines
    std::string fontName = "System";
    int fontSize = 10;
    bool bold = false;
    bool italic = false;
    bool saveDocCard = true;
    std::string characterSet = "windows-1252";  ///< the set of new and opened documents
    std::vector<std::string> reopenFiles;       ///< the Reopen list to start with, oldest first
    std::string installFolder = {};  ///< where Install PDA's "Copy to folder..." copied last
    std::string installTarget = {};  ///< the destination Install PDA installed to last
};

/// Reads every key; a missing key or one that is not a whole number where a number belongs
/// gives that key's default, and reading goes on.
TFormSettings ReadFormSettings(const TIniFile& ini);

/// What the main window holds when it is destroyed.
struct TShutdownState {
    bool windowIsNormal = true;  ///< neither minimised nor maximised
    std::string currentFile;     ///< "Untitled", a path, or empty when nothing was opened
    std::string docName;
    std::string lastOpenFile;  ///< the file remembered at start-up
    TFormSettings values;      ///< size, editor options, font and notice as they are now
};

/// Writes the keys in their order: the size only for a normal window; the remembered file
/// only when there is one, never "Untitled" (the file remembered at start-up takes its place).
void WriteFormSettings(TIniFile& ini, const TShutdownState& state);

}  // namespace tomery::app
