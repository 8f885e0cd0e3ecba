// The Tools menu's handlers and File > Append: each copies the text out of the editor,
// transforms it with a tool and writes it back, after a backup that Revert restores.
#include "EditMain.h"

#include "Conversion.h"
#include "DocFileRule.h"
#include "EditMain_Document.h"
#include "OvcEdit.h"
#include "OvcEdit_BusyCursor.h"
#include "ProgramFolder.h"
#include "ToolsFramework.h"
#include "Tools_Dump.h"
#include "Tools_Filters.h"
#include "Tools_Lines.h"
#include "Tools_Reformat.h"

#include <QLocale>

#include <algorithm>
#include <optional>
#include <span>

namespace tomery::app {

namespace {

using tools::TWorkLines;

/// The steps of a tool command. Each handler runs its own order of them.
enum class TStep {
    Guard,   ///< an empty text ends the command
    Prompt,  ///< the input box; Cancel ends the command, a non-number raises the error
    Cursor,  ///< the busy cursor, until the command ends
    Backup,  ///< the backup that Revert restores
    Tool,    ///< the transformation
};
using enum TStep;

constexpr TStep kCursorFirst[] = {Guard, Cursor, Backup, Tool};
constexpr TStep kPromptFirst[] = {Guard, Prompt, Cursor, Backup, Tool};
constexpr TStep kPromptAfterBackup[] = {Guard, Cursor, Backup, Prompt, Tool};
constexpr TStep kPromptBeforeBackup[] = {Guard, Prompt, Backup, Cursor, Tool};
constexpr TStep kBackupFirst[] = {Guard, Backup, Cursor, Tool};
constexpr TStep kWithoutCursor[] = {Guard, Backup, Tool};
constexpr TStep kUnguarded[] = {Prompt, Cursor, Backup, Tool};

struct TPrompt {
    const char* caption;
    const char* text;
    std::string defaultText;
    std::string* remembered = nullptr;  ///< receives the confirmed entry when set
};

/// An indentation no wider than a paragraph may be: a wider one would only build lines the
/// store cuts up again. Raises the store's "text too large" error, before any memory is
/// spent, when the indented lines could not all fit in the text anyway.
std::int32_t ClampIndent(std::int32_t indent, std::size_t lineCount,
                         const editor::TOvcCustomEditor& editor) {
    indent = std::min(indent, editor.ParaLengthLimit());
    if (indent > 0 &&
        editor.TextLength() + std::int64_t{indent} * std::int64_t(lineCount) > editor.ByteLimit()) {
        throw editor::EEditorError(editor::kErrorTextTooLarge);
    }
    return indent;
}

/// Bytes per dump line such that a line (offset field, 3 characters and 1 character per
/// byte, 1 space) stays within the store's paragraph length.
std::int32_t ClampDumpWidth(std::int32_t bytesPerLine, const editor::TOvcCustomEditor& editor) {
    return std::min(bytesPerLine, std::max(1, (editor.ParaLengthLimit() - 11) / 4));
}

std::int32_t ClampLine(std::int32_t line, const editor::TOvcCustomEditor& editor) {
    return std::clamp(line, 1, editor.LineCount());
}

/// Runs one tool command: the steps in the handler's order, then the text counts as
/// modified. An error ends the command where it happened; the cursor comes back either way.
class TToolCommand {
  public:
    TToolCommand(editor::TOvcCustomEditor& editor, TDocumentWorkflow& workflow, TModalUi& ui)
        : editor_(editor), workflow_(workflow), ui_(ui) {}

    void Run(std::span<const TStep> order, const std::function<void(std::int32_t)>& tool,
             const std::optional<TPrompt>& prompt = std::nullopt) {
        std::optional<editor::TBusyCursor> busy;
        std::int32_t argument = 0;
        for (const TStep step : order) {
            switch (step) {
                case Guard:
                    if (editor_.TextLength() == 0) {
                        return;
                    }
                    break;
                case Prompt: {
                    const auto entry = ui_.InputBox(
                        prompt->caption, prompt->text,
                        prompt->remembered ? *prompt->remembered : prompt->defaultText);
                    if (!entry) {
                        return;
                    }
                    if (prompt->remembered) {
                        *prompt->remembered = *entry;
                    }
                    argument = tools::ParseInteger(*entry);
                    break;
                }
                case Cursor:
                    busy.emplace();
                    break;
                case Backup:
                    workflow_.Backup1Click();
                    break;
                case Tool:
                    RunKeepingStoredBookmarks(tool, argument);
                    break;
            }
        }
        editor_.SetModified(true);
    }

  private:
    /// A tool writes the text anew; the stored bookmarks keep their lines and columns.
    void RunKeepingStoredBookmarks(const std::function<void(std::int32_t)>& tool,
                                   std::int32_t argument) {
        std::vector<editor::TStoredBookmark> bookmarks = editor_.ParaList().StoredBookmarks();
        try {
            tool(argument);
        } catch (...) {
            editor_.ParaList().SetStoredBookmarks(std::move(bookmarks));
            throw;
        }
        editor_.ParaList().SetStoredBookmarks(std::move(bookmarks));
    }

    editor::TOvcCustomEditor& editor_;
    TDocumentWorkflow& workflow_;
    TModalUi& ui_;
};

}  // namespace

void TEditForm::ConnectToolCommands() {
    using THandler = void (TEditForm::*)(const std::string&);
    const std::pair<const char*, THandler> families[] = {
        {"AllLower1", &TEditForm::Capitalize_Click},
        {"AllUpper1", &TEditForm::Capitalize_Click},
        {"FixedWordwrap1", &TEditForm::Reformat_Click},
        {"SmartWordwrap1", &TEditForm::Reformat_Click},
        {"Duplicates1", &TEditForm::Remove_Click},
        {"ExtCharacters1", &TEditForm::Remove_Click},
        {"HTMLTags1", &TEditForm::Remove_Click},
        {"Punctuations1", &TEditForm::Remove_Click},
        {"ShortWords1", &TEditForm::Remove_Click},
        {"Extended1", &TEditForm::ShowASCII_Click},
        {"LowCoded1", &TEditForm::ShowASCII_Click},
        {"Normal1", &TEditForm::ShowASCII_Click},
        {"Ascending1", &TEditForm::Sort_Click},
        {"Descending1", &TEditForm::Sort_Click},
        {"Single1", &TEditForm::Space_Click},
        {"Double1", &TEditForm::Space_Click},
        {"Triple1", &TEditForm::Space_Click},
        {"FillInWithSpaces1", &TEditForm::Tabulate_Click},
        {"ReplaceWithTabs1", &TEditForm::Tabulate_Click},
    };
    for (const auto& [item, handler] : families) {
        menus_->SetCommand(
            item, Guarded([this, item = std::string(item), handler] { (this->*handler)(item); }));
    }
    const std::pair<const char*, void (TEditForm::*)()> singles[] = {
        {"Indent1", &TEditForm::Indent1Click},  {"TestTool11", &TEditForm::Test1Click},
        {"TestTool21", &TEditForm::Test2Click}, {"DumpFile1", &TEditForm::DumpFile1Click},
        {"Append1", &TEditForm::Append1Click},
    };
    for (const auto& [item, handler] : singles) {
        menus_->SetCommand(item, Guarded([this, handler] { (this->*handler)(); }));
    }
}

void TEditForm::Capitalize_Click(const std::string& item) {
    const auto change = item == "AllUpper1" ? tools::TCaseChange::Upper : tools::TCaseChange::Lower;
    TToolCommand(*Editor1, *workflow_, *ui_).Run(kCursorFirst, [&](std::int32_t) {
        tools::TransformText(*Editor1, [&](TWorkLines lines) {
            return tools::ChangeCase(std::move(lines), change);
        });
    });
}

void TEditForm::Indent1Click() {
    TToolCommand(*Editor1, *workflow_, *ui_)
        .Run(
            kPromptFirst,
            [&](std::int32_t column) {
                TWorkLines lines;
                tools::ReadLines(*Editor1, lines);
                std::int32_t caretColumn = 1;
                const std::int32_t caretLine = Editor1->GetCaretPosition(caretColumn);
                const std::int32_t topLine = Editor1->TopLine();
                std::size_t first = 0;
                std::size_t last = lines.size();
                if (Editor1->SelectionAvailable()) {
                    first = static_cast<std::size_t>(Editor1->SelBegin().Para - 1);
                    last = static_cast<std::size_t>(Editor1->SelEnd().Para - 1);
                }
                const std::int32_t indent =
                    ClampIndent(column, std::min(last + 1, lines.size()) - first, *Editor1);
                tools::WriteLines(*Editor1, tools::Indent(std::move(lines), indent, first, last));
                // The text may have fewer display lines now (less indentation wraps less).
                Editor1->SetCaretPosition(ClampLine(caretLine, *Editor1), caretColumn);
                Editor1->SetTopLine(ClampLine(topLine, *Editor1));
            },
            TPrompt{"Indent", "At what column?", "0"});
}

void TEditForm::Reformat_Click(const std::string& item) {
    const bool smart = item == "SmartWordwrap1";
    TToolCommand(*Editor1, *workflow_, *ui_)
        .Run(
            kPromptBeforeBackup,
            [&](std::int32_t width) {
                const auto autoIndent =
                    Editor1->AutoIndent() ? tools::TAutoIndent::On : tools::TAutoIndent::Off;
                tools::TransformText(*Editor1, [&](TWorkLines lines) {
                    return smart ? tools::SmartWordwrap(std::move(lines), width)
                                 : tools::FixedWordwrap(std::move(lines), width, autoIndent);
                });
            },
            TPrompt{"Reformat", "Enter a character count", "", &programValues_.ReformatCount});
}

void TEditForm::Remove_Click(const std::string& item) {
    TToolCommand command(*Editor1, *workflow_, *ui_);
    if (item == "ShortWords1") {
        command.Run(
            kPromptAfterBackup,
            [&](std::int32_t length) {
                tools::TransformText(*Editor1, [&](TWorkLines lines) {
                    return tools::RemoveShortWords(std::move(lines), length);
                });
            },
            TPrompt{"Remove short words", "Enter word length:", "1"});
        return;
    }
    TWorkLines (*const filter)(TWorkLines) = item == "Duplicates1" ? tools::RemoveDuplicates
                                             : item == "ExtCharacters1"
                                                 ? tools::RemoveExtendedCharacters
                                             : item == "HTMLTags1" ? tools::RemoveHtmlTags
                                                                   : tools::RemovePunctuation;
    command.Run(kCursorFirst, [&](std::int32_t) { tools::TransformText(*Editor1, filter); });
}

void TEditForm::ShowASCII_Click(const std::string& item) {
    TToolCommand(*Editor1, *workflow_, *ui_).Run(kBackupFirst, [&](std::int32_t) {
        // The codings read the paragraphs as they are: tabs stay tabs.
        TWorkLines lines;
        tools::ReadRawLines(*Editor1, lines);
        if (item == "Normal1") {
            lines = tools::DecodeAscii(std::move(lines));
        } else {
            lines = tools::EncodeAscii(std::move(lines), item == "LowCoded1"
                                                             ? tools::TAsciiCoding::LowCoded
                                                             : tools::TAsciiCoding::Extended);
        }
        tools::WriteLines(*Editor1, lines);
    });
}

void TEditForm::Sort_Click(const std::string& item) {
    TToolCommand(*Editor1, *workflow_, *ui_)
        .Run(
            kPromptFirst,
            [&](std::int32_t column) {
                TWorkLines lines;
                tools::ReadLines(*Editor1, lines);
                lines = tools::SortLinesInLocale(std::move(lines), column, Editor1->CharacterSet());
                if (item == "Descending1") {
                    tools::WriteLinesReversed(*Editor1, lines);
                } else {
                    tools::WriteLines(*Editor1, lines);
                }
            },
            TPrompt{"Sort", "At what column?", "", &programValues_.SortColumn});
}

void TEditForm::Space_Click(const std::string& item) {
    const auto spacing = item == "Single1"   ? tools::TSpacing::Single
                         : item == "Double1" ? tools::TSpacing::Double
                                             : tools::TSpacing::Triple;
    TToolCommand(*Editor1, *workflow_, *ui_).Run(kCursorFirst, [&](std::int32_t) {
        tools::TransformText(
            *Editor1, [&](TWorkLines lines) { return tools::Space(std::move(lines), spacing); });
    });
}

void TEditForm::Tabulate_Click(const std::string& item) {
    const bool toTabs = item == "ReplaceWithTabs1";
    TToolCommand(*Editor1, *workflow_, *ui_).Run(kBackupFirst, [&](std::int32_t) {
        const std::int32_t tabSize = Editor1->TabSize();
        tools::TransformText(*Editor1, [&](TWorkLines lines) {
            return toTabs ? tools::ReplaceWithTabs(std::move(lines), tabSize)
                          : tools::FillInWithSpaces(std::move(lines), tabSize);
        });
    });
}

void TEditForm::Test1Click() {
    TToolCommand(*Editor1, *workflow_, *ui_).Run(kWithoutCursor, [&](std::int32_t) {
        tools::TransformText(*Editor1, [](TWorkLines lines) {
            return tools::AppendSizeReport(
                std::move(lines), [](const std::string& text) -> std::optional<double> {
                    bool ok = false;
                    const double value =
                        QLocale().toDouble(QString::fromStdString(text).trimmed(), &ok);
                    return ok ? std::optional<double>(value) : std::nullopt;
                });
        });
        Editor1->SetCaretPosition(Editor1->LineCount(), 1);
    });
}

void TEditForm::Test2Click() {
    TToolCommand(*Editor1, *workflow_, *ui_).Run(kCursorFirst, [&](std::int32_t) {
        tools::TransformText(*Editor1, tools::AppendCharacterList);
    });
}

void TEditForm::DumpFile1Click() {
    const auto chosen = ui_->OpenFileName({"Dump a file", "All Files (*.*)|*.*", 1,
                                           workflow_->OpenFolder(), workflow_->OpenFileName(), ""});
    if (!chosen) {
        return;
    }
    workflow_->SetOpenDialogStart(FolderPart(*chosen), *chosen);
    TToolCommand(*Editor1, *workflow_, *ui_)
        .Run(
            kUnguarded,
            [&](std::int32_t bytesPerLine) {
                const std::string bytes = tools::ReadToolFile(*chosen);
                tools::TransformText(*Editor1, [&](TWorkLines lines) {
                    return tools::AppendDump(std::move(lines), *chosen, bytes,
                                             ClampDumpWidth(bytesPerLine, *Editor1));
                });
            },
            TPrompt{"Dump File", "How many bytes per line?", "16"});
}

void TEditForm::Append1Click() {
    const std::string& lastFile = workflow_->OpenFileName();
    const auto chosen = ui_->OpenFileName({"Open a file", kDocFilter, FilterIndexFor(lastFile),
                                           workflow_->OpenFolder(), lastFile, ""});
    if (!chosen) {
        return;
    }
    workflow_->SetOpenDialogStart(FolderPart(*chosen), *chosen);
    std::string textPath = *chosen;
    std::optional<charset::TFileEncoding> encoding;
    if (IsDocFile(*chosen)) {
        encoding = charset::TFileEncoding::Bytes;
        textPath = ProgramFilePath("Conversion.txt");
        std::string docName = workflow_->DocName();
        if (!doc::ConvertDocToText(*chosen, textPath, docName)) {
            ui_->MessageBox("Error", kConversionErrorText, TMsgIcon::Error, {TMsgButton::Ok});
            return;
        }
        workflow_->SetDocName(docName);
    }
    const editor::TBusyCursor busy;
    const std::int32_t lastLine = Editor1->LineCount();
    charset::TReplacementLog replaced;
    tools::AppendTextFile(*Editor1, textPath, encoding, replaced);
    if (!replaced.Empty()) {
        ui_->MessageBox("Information",
                        ReplacedOnReadingText(*chosen, Editor1->CharacterSet(), replaced),
                        TMsgIcon::Information, {TMsgButton::Ok});
    }
    Editor1->SetTopLine(lastLine);
    Editor1->SetCaretPosition(ClampLine(lastLine, *Editor1), 1);
    Editor1->SetModified(true);
}

}  // namespace tomery::app
