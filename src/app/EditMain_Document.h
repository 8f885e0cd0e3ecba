// The texts and rules of the document workflow that need no window: captions, questions,
// the DOC filter of the file dialogs, the Save DOC notice.
#pragma once

#include "CharacterSet.h"

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

/// A DOC document name, which is bytes of the document's set, as UTF-8 text: for the
/// caption, the "Document Name" box and File Information.
std::string DocNameAsText(const std::string& docName,
                          const charset::TCharacterSet& set = charset::DefaultCharacterSet());
/// Typed UTF-8 text as a DOC document name in `set`; characters the set lacks are
/// transliterated or replaced, and counted in `log`.
std::string DocNameFromText(const std::string& text,
                            const charset::TCharacterSet& set = charset::DefaultCharacterSet(),
                            charset::TReplacementLog* log = nullptr);

/// What reading a file into `set` replaced: "notes.txt has characters that Windows-1252 does
/// not have. 2 characters were replaced:" and the first few with their lines.
std::string ReplacedOnReadingText(const std::string& path, const charset::TCharacterSet& set,
                                  const charset::TReplacementLog& replaced);

/// "Tomery [notes.txt]", "Tomery [book.pdb -- My Book]".
std::string CaptionFor(const std::string& baseCaption, const std::string& currentFile,
                       const std::string& docName);

/// The warning after opening a DOC file whose text ends before the length it declares.
std::string CutShortText(const std::string& path);

/// "notes.txt has changed. Save?"
std::string SavePromptText(const std::string& currentFile);

/// "Save notes.txt As"
std::string SaveDialogTitle(const std::string& currentFile);

/// 1 (DOC files) for a DOC path, else 2 (text files).
int FilterIndexFor(const std::string& path);

/// "book.pdb saved in /docs/ folder as a DOC file. File size is 12 KB."
std::string SaveDocNoticeText(const std::string& currentFile, std::int64_t sizeKB);

}  // namespace tomery::app
