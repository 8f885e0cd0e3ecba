#include "EditMain_Document.h"

#include "DocFileRule.h"
#include "OvcCharset.h"

#include <QString>

namespace tomery::app {

std::string FileNamePart(const std::string& path) {
    const auto separator = path.find_last_of('/');
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string FolderPart(const std::string& path) {
    const auto separator = path.find_last_of('/');
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

std::string DocNameAsText(const std::string& docName) {
    return editor::BytesToText(docName).toStdString();
}

std::string DocNameFromText(const std::string& text) {
    return editor::TextToBytes(QString::fromStdString(text));
}

std::string CaptionFor(const std::string& baseCaption, const std::string& currentFile,
                       const std::string& docName) {
    std::string caption = baseCaption + " [" + FileNamePart(currentFile);
    if (!docName.empty()) {
        caption += " -- " + docName;
    }
    return caption + "]";
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
