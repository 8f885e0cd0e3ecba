#include "EditMain_Settings.h"

#include "EditMain_Reopen.h"
#include "FileAccess.h"
#include "FileReplacement.h"
#include "IniText.h"
#include "PathText.h"
#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <charconv>
#include <filesystem>
#include <stdexcept>

namespace tomery::app {

std::optional<int> WholeNumber(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    const auto last = text.find_last_not_of(" \t");
    if (first == std::string::npos) {
        return std::nullopt;
    }
    const char* begin = text.data() + first;
    const char* end = text.data() + last + 1;
    if (*begin == '+') {
        ++begin;
    }
    int value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

TIniFile::TIniFile(std::string path) : path_(std::move(path)) {}

std::optional<IniText> TIniFile::Load() const {
    std::error_code error;
    if (!std::filesystem::exists(path_, error)) {
        return IniText();
    }
    const auto bytes = ReadWholeFile(path_);
    if (!bytes) {
        return std::nullopt;
    }
    return IniText(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const {
    const auto ini = Load();
    return ini ? ini->Value(section, key).value_or(defaultValue) : defaultValue;
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key,
                          int defaultValue) const {
    return WholeNumber(ReadString(section, key, std::to_string(defaultValue)))
        .value_or(defaultValue);
}

void TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) {
    // A file that exists but cannot be read is not rewritten: its other keys would be lost.
    auto ini = Load();
    if (ini && !ini->SetValue(section, key, value)) {
        return;  // a value with a line break cannot be stored; the key keeps its old value
    }
    if (ini) {
        const std::string text = ini->Text();
        FileReplacement file(path_);
        if (file.Write(text.data(), text.size()) && file.Commit()) {
            return;
        }
    }
    throw std::runtime_error("Unable to write to " + path_);
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

std::string SettingsFilePath() {
    const QString program = QCoreApplication::instance() != nullptr
                                ? QFileInfo(QCoreApplication::applicationFilePath()).baseName()
                                : QStringLiteral("tomery");
    return ProgramFilePath(PathFromQt(program) + ".INI");
}

namespace {

constexpr char kReopenSection[] = "Reopen";

std::string ReopenKey(std::size_t index) {
    return "File" + std::to_string(index);
}

/// The Reopen section: File0 to File9, the oldest first. A path with a line break cannot be
/// stored and is left out.
std::vector<std::string> ReadReopenFiles(const TIniFile& ini) {
    std::vector<std::string> files;
    for (std::size_t i = 0; i < TReopenList::kMaxEntries; ++i) {
        if (std::string path = ini.ReadString(kReopenSection, ReopenKey(i), ""); !path.empty()) {
            files.push_back(std::move(path));
        }
    }
    return files;
}

void WriteReopenFiles(TIniFile& ini, const std::vector<std::string>& files) {
    std::vector<std::string> storable;
    for (const std::string& path : files) {
        if (path.find_first_of("\r\n") == std::string::npos) {
            storable.push_back(path);
        }
    }
    // Every key that differs is written, so that nothing of an earlier, longer list is left.
    for (std::size_t i = 0; i < TReopenList::kMaxEntries; ++i) {
        const std::string path = i < storable.size() ? storable[i] : "";
        if (ini.ReadString(kReopenSection, ReopenKey(i), "") != path) {
            ini.WriteString(kReopenSection, ReopenKey(i), path);
        }
    }
}

}  // namespace

TFormSettings ReadFormSettings(const TIniFile& ini) {
    TFormSettings settings;
    settings.width = ini.ReadInteger("FormSize", "Width", settings.width);
    settings.height = ini.ReadInteger("FormSize", "Height", settings.height);
    settings.lastOpenFile = ini.ReadString("LastOpen", "FileName", "");
    settings.lastDocName = ini.ReadString("LastOpen", "DocName", "");
    settings.autoIndent = ini.ReadInteger("Options", "AutoIndent", 0) != 0;
    settings.tabSize = ini.ReadInteger("Options", "TabSize", settings.tabSize);
    settings.wordWrap = ini.ReadInteger("Options", "WordWrap", 1) != 0;
    settings.trimTrailingBlanks = ini.ReadInteger("Options", "TrimTrailingBlanks", 1) != 0;
    settings.fontName = ini.ReadString("Font", "Name", settings.fontName);
    settings.fontSize = ini.ReadInteger("Font", "Size", settings.fontSize);
    settings.bold = ini.ReadString("Font", "Bold", "0") == "1";
    settings.italic = ini.ReadString("Font", "Italic", "0") == "1";
    settings.saveDocCard = ini.ReadInteger("Misc", "SaveDocCard", 1) != 0;
    settings.characterSet = ini.ReadString("Options", "CharacterSet", settings.characterSet);
    settings.installFolder = ini.ReadString("Misc", "InstallFolder", "");
    settings.installTarget = ini.ReadString("Misc", "InstallTarget", "");
    settings.reopenFiles = ReadReopenFiles(ini);
    return settings;
}

void WriteFormSettings(TIniFile& ini, const TShutdownState& state) {
    const std::string currentFile =
        state.currentFile == kUntitled ? state.lastOpenFile : state.currentFile;
    const TFormSettings& values = state.values;
    if (state.windowIsNormal) {
        ini.WriteInteger("FormSize", "Width", values.width);
        ini.WriteInteger("FormSize", "Height", values.height);
    }
    if (!currentFile.empty()) {
        ini.WriteString("LastOpen", "FileName", currentFile);
        ini.WriteString("LastOpen", "DocName", state.docName);
    }
    ini.WriteBool("Options", "AutoIndent", values.autoIndent);
    ini.WriteInteger("Options", "TabSize", values.tabSize);
    ini.WriteBool("Options", "WordWrap", values.wordWrap);
    ini.WriteString("Font", "Name", values.fontName);
    ini.WriteInteger("Font", "Size", values.fontSize);
    ini.WriteBool("Font", "Bold", values.bold);
    ini.WriteBool("Font", "Italic", values.italic);
    ini.WriteBool("Misc", "SaveDocCard", values.saveDocCard);
    ini.WriteString("Options", "CharacterSet", values.characterSet);
    // Only a user of Install PDA has these; other users' files stay as they were.
    if (!values.installFolder.empty()) {
        ini.WriteString("Misc", "InstallFolder", values.installFolder);
    }
    if (!values.installTarget.empty()) {
        ini.WriteString("Misc", "InstallTarget", values.installTarget);
    }
    ini.WriteBool("Options", "TrimTrailingBlanks", values.trimTrailingBlanks);
    WriteReopenFiles(ini, values.reopenFiles);
}

}  // namespace tomery::app
