// The texts and rules of the document workflow that need no window: captions, questions,
// the DOC filter of the file dialogs, the Save DOC notice.
#pragma once

#include <cstdint>
#include <string>

namespace tomery::app {

/// The file dialogs' filter: DOC files (index 1), text files (index 2), all files.
inline constexpr char kDocFilter[] =
    "Doc Files (*.pdb; *.prc)|*.pdb;*.prc|Text Files (*.txt; *.log)|*.txt;*.log|"
    "All Files (*.*)|*.*";
inline constexpr char kConversionErrorText[] = "Conversion Error. View Log file.";

/// The last path component; the whole string when it has no separator.
std::string FileNamePart(const std::string& path);
/// Everything up to and including the last separator; empty when there is none.
std::string FolderPart(const std::string& path);

/// A DOC document name, which is bytes, as text through the Windows-1252 mapping: for the
/// caption, the "Document Name" box and File Information.
std::string DocNameAsText(const std::string& docName);
/// Typed text as a DOC document name; characters without a Windows-1252 byte are dropped.
std::string DocNameFromText(const std::string& text);

/// "Tomery [notes.txt]", "Tomery [book.pdb -- My Book]".
std::string CaptionFor(const std::string& baseCaption, const std::string& currentFile,
                       const std::string& docName);

/// "notes.txt has changed. Save?"
std::string SavePromptText(const std::string& currentFile);

/// "Save notes.txt As"
std::string SaveDialogTitle(const std::string& currentFile);

/// 1 (DOC files) for a DOC path, else 2 (text files).
int FilterIndexFor(const std::string& path);

/// "book.pdb saved in /docs/ folder as a DOC file. File size is 12 KB."
std::string SaveDocNoticeText(const std::string& currentFile, std::int64_t sizeKB);

}  // namespace tomery::app
