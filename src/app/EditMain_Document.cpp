#include "EditMain_Document.h"

#include "DocFileRule.h"

namespace tomery::app {

std::string FileNamePart(const std::string& path) {
    const auto separator = path.find_last_of('/');
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string FolderPart(const std::string& path) {
    const auto separator = path.find_last_of('/');
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

std::string DocNameAsText(const std::string& docName, const charset::TCharacterSet& set) {
    return set.ToUtf8(docName);
}

std::string DocNameFromText(const std::string& text, const charset::TCharacterSet& set,
                            charset::TReplacementLog* log) {
    return set.FromUtf8(text, log);
}

std::string ReplacedOnReadingText(const std::string& path, const charset::TCharacterSet& set,
                                  const charset::TReplacementLog& replaced) {
    return FileNamePart(path) + " has characters that " + set.ShortName() + " does not have. " +
           replaced.Details();
}

std::string CaptionFor(const std::string& baseCaption, const std::string& currentFile,
                       const std::string& docName) {
    std::string caption = baseCaption + " [" + FileNamePart(currentFile);
    if (!docName.empty()) {
        caption += " -- " + docName;
    }
    return caption + "]";
}

std::string CutShortText(const std::string& path) {
    return FileNamePart(path) +
           " looks cut short: its text ends before the length the file declares. The text it "
           "holds was opened; the rest is missing (see the conversion log).";
}

std::string SavePromptText(const std::string& currentFile) {
    return FileNamePart(currentFile) + " has changed. Save?";
}

std::string SaveDialogTitle(const std::string& currentFile) {
    return "Save " + FileNamePart(currentFile) + " As";
}

int FilterIndexFor(const std::string& path) {
    return IsDocFile(path) ? 1 : 2;
}

std::string SaveDocNoticeText(const std::string& currentFile, std::int64_t sizeKB) {
    return FileNamePart(currentFile) + " saved in " + FolderPart(currentFile) +
           " folder as a DOC file. File size is " + std::to_string(sizeKB) + " KB.";
}

}  // namespace tomery::app
