// The Tools menu's handlers and File > Append: each copies the text out of the editor,
// transforms it with a tool and builds the result into a text of its own, which then takes
// the place of the editor's text after a backup that Revert restores. The work keeps the
// window alive and can be cancelled, leaving the text as it was.
#include "EditMain.h"

#include "Conversion.h"
#include "DocFileRule.h"
#include "EditMain_Document.h"
#include "OvcEdit.h"
#include "OvcEdit_BusyCursor.h"
#include "ProgramFolder.h"
#include "ToolWork.h"
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

/// A tool's work: the text that replaces the editor's, built from the prompt's number (0
/// without a prompt) while `progress` hears how far it got.
using TToolWork = std::function<std::unique_ptr<editor::TParaList>(std::int32_t argument,
                                                                   const TWorkProgress& progress)>;

/// Runs one tool command: the steps in the handler's order, then the text counts as
/// modified. The tool builds its text while the window stays alive and the editor shows the
/// text as it was; Cancel leaves everything as it was. An error ends the command where it
/// happened; the cursor comes back either way.
class TToolCommand {
  public:
    TToolCommand(QWidget& window, editor::TOvcCustomEditor& editor, TDocumentWorkflow& workflow,
                 TModalUi& ui, const char* label)
        : window_(window), editor_(editor), workflow_(workflow), ui_(ui), label_(label) {}

    /// `afterwards` runs once the tool's text has replaced the editor's.
    void Run(std::span<const TStep> order, const TToolWork& work,
             const std::optional<TPrompt>& prompt = std::nullopt,
             const std::function<void()>& afterwards = {}) {
        TEnd end = TEnd::EndedEarly;
        try {
            end = RunSteps(order, work, prompt);
        } catch (...) {
            MakeDueBackup();
            throw;
        }
        if (end == TEnd::EndedEarly) {
            MakeDueBackup();
        }
        if (end != TEnd::Done) {
            return;
        }
        if (afterwards) {
            afterwards();
        }
        editor_.SetModified(true);
    }

  private:
    enum class TEnd { Done, EndedEarly, Cancelled };

    TEnd RunSteps(std::span<const TStep> order, const TToolWork& work,
                  const std::optional<TPrompt>& prompt) {
        std::int32_t argument = 0;
        for (const TStep step : order) {
            switch (step) {
                case Guard:
                    if (editor_.TextLength() == 0) {
                        return TEnd::EndedEarly;
                    }
                    break;
                case Prompt: {
                    const auto entry = ui_.InputBox(
                        prompt->caption, prompt->text,
                        prompt->remembered ? *prompt->remembered : prompt->defaultText);
                    if (!entry) {
                        return TEnd::EndedEarly;
                    }
                    if (prompt->remembered) {
                        *prompt->remembered = *entry;
                    }
                    argument = tools::ParseInteger(*entry);
                    break;
                }
                case Cursor:
                    busy_.emplace();
                    break;
                case Backup:
                    backupDue_ = true;
                    break;
                case Tool: {
                    // The dialog stays while the backup is saved and the text replaced.
                    const auto done = RunToolWork(window_, QString::fromUtf8(label_),
                                                  [&](const TWorkProgress& progress) {
                                                      Replace(work(argument, progress));
                                                      return true;
                                                  });
                    if (!done) {
                        return TEnd::Cancelled;
                    }
                    break;
                }
            }
        }
        return TEnd::Done;
    }

    /// The backup is made once the tool's text is about to replace the editor's, or when the
    /// command ends early after its backup step: both show the text the backup step saw, and
    /// a cancelled tool leaves the backup and Revert as they were.
    void MakeDueBackup() {
        if (backupDue_) {
            backupDue_ = false;
            workflow_.Backup1Click();
        }
    }

    /// A tool writes the text anew; the stored bookmarks keep their lines and columns.
    void Replace(std::unique_ptr<editor::TParaList> text) {
        MakeDueBackup();
        text->SetStoredBookmarks(editor_.ParaList().StoredBookmarks());
        tools::ReplaceText(editor_, std::move(text));
    }

    QWidget& window_;
    editor::TOvcCustomEditor& editor_;
    TDocumentWorkflow& workflow_;
    TModalUi& ui_;
    const char* label_;
    std::optional<editor::TBusyCursor> busy_;
    bool backupDue_ = false;
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
    TToolCommand(*this, *Editor1, *workflow_, *ui_, "Changing the case")
        .Run(kCursorFirst, [&](std::int32_t, const TWorkProgress& progress) {
            return tools::TransformText(
                *Editor1,
                [&](TWorkLines lines, const TWorkProgress& changing) {
                    return tools::ChangeCase(std::move(lines), change, changing);
                },
                progress);
        });
}

void TEditForm::Indent1Click() {
    std::int32_t caretColumn = 1;
    std::int32_t caretLine = 1;
    std::int32_t topLine = 1;
    TToolCommand(*this, *Editor1, *workflow_, *ui_, "Indenting")
        .Run(
            kPromptFirst,
            [&](std::int32_t column, const TWorkProgress& progress) {
                caretLine = Editor1->GetCaretPosition(caretColumn);
                topLine = Editor1->TopLine();
                return tools::TransformText(
                    *Editor1,
                    [&](TWorkLines lines, const TWorkProgress& indenting) {
                        std::size_t first = 0;
                        std::size_t last = lines.size();
                        if (Editor1->SelectionAvailable()) {
                            first = static_cast<std::size_t>(Editor1->SelBegin().Para - 1);
                            last = static_cast<std::size_t>(Editor1->SelEnd().Para - 1);
                        }
                        const std::int32_t indent =
                            ClampIndent(column, std::min(last + 1, lines.size()) - first, *Editor1);
                        return tools::Indent(std::move(lines), indent, first, last, indenting);
                    },
                    progress);
            },
            TPrompt{"Indent", "At what column?", "0"},
            [&] {
                // The text may have fewer display lines now (less indentation wraps less).
                Editor1->SetCaretPosition(ClampLine(caretLine, *Editor1), caretColumn);
                Editor1->SetTopLine(ClampLine(topLine, *Editor1));
            });
}

void TEditForm::Reformat_Click(const std::string& item) {
    const bool smart = item == "SmartWordwrap1";
    TToolCommand(*this, *Editor1, *workflow_, *ui_, "Reformatting")
        .Run(
            kPromptBeforeBackup,
            [&](std::int32_t width, const TWorkProgress& progress) {
                const auto autoIndent =
                    Editor1->AutoIndent() ? tools::TAutoIndent::On : tools::TAutoIndent::Off;
                return tools::TransformText(
                    *Editor1,
                    [&](TWorkLines lines, const TWorkProgress& filling) {
                        return smart ? tools::SmartWordwrap(std::move(lines), width, filling)
                                     : tools::FixedWordwrap(std::move(lines), width, autoIndent,
                                                            filling);
                    },
                    progress);
            },
            TPrompt{"Reformat", "Enter a character count", "", &programValues_.ReformatCount});
}

void TEditForm::Remove_Click(const std::string& item) {
    if (item == "ShortWords1") {
        TToolCommand(*this, *Editor1, *workflow_, *ui_, "Removing short words")
            .Run(
                kPromptAfterBackup,
                [&](std::int32_t length, const TWorkProgress& progress) {
                    return tools::TransformText(
                        *Editor1,
                        [&](TWorkLines lines, const TWorkProgress& removing) {
                            return tools::RemoveShortWords(std::move(lines), length, removing);
                        },
                        progress);
                },
                TPrompt{"Remove short words", "Enter word length:", "1"});
        return;
    }
    struct TFilter {
        const char* item;
        const char* label;
        TWorkLines (*filter)(TWorkLines, const TWorkProgress&);
    };
    static constexpr TFilter kFilters[] = {
        {"Duplicates1", "Removing duplicates",
         [](TWorkLines lines, const TWorkProgress&) {
             return tools::RemoveDuplicates(std::move(lines));
         }},
        {"ExtCharacters1", "Removing extended characters", tools::RemoveExtendedCharacters},
        {"HTMLTags1", "Removing HTML tags", tools::RemoveHtmlTags},
        {"Punctuations1", "Removing punctuation", tools::RemovePunctuation},
    };
    const TFilter& chosen = *std::find_if(std::begin(kFilters), std::end(kFilters),
                                          [&](const TFilter& f) { return item == f.item; });
    TToolCommand(*this, *Editor1, *workflow_, *ui_, chosen.label)
        .Run(kCursorFirst, [&](std::int32_t, const TWorkProgress& progress) {
            return tools::TransformText(*Editor1, chosen.filter, progress);
        });
}

void TEditForm::ShowASCII_Click(const std::string& item) {
    TToolCommand(*this, *Editor1, *workflow_, *ui_, "Showing the ASCII codes")
        .Run(kBackupFirst, [&](std::int32_t, const TWorkProgress& progress) {
            // The codings read the paragraphs as they are: tabs stay tabs.
            return tools::TransformText(
                *Editor1,
                [&](TWorkLines lines, const TWorkProgress& coding) {
                    if (item == "Normal1") {
                        return tools::DecodeAscii(std::move(lines), coding);
                    }
                    return tools::EncodeAscii(std::move(lines),
                                              item == "LowCoded1" ? tools::TAsciiCoding::LowCoded
                                                                  : tools::TAsciiCoding::Extended,
                                              coding);
                },
                progress, tools::TTabs::Kept);
        });
}

void TEditForm::Sort_Click(const std::string& item) {
    const bool descending = item == "Descending1";
    TToolCommand(*this, *Editor1, *workflow_, *ui_, "Sorting")
        .Run(
            kPromptFirst,
            [&](std::int32_t column, const TWorkProgress& progress) {
                return tools::TransformText(
                    *Editor1,
                    [&](TWorkLines lines, const TWorkProgress& sorting) {
                        lines = tools::SortLinesInLocale(std::move(lines), column,
                                                         Editor1->CharacterSet(), sorting);
                        if (descending) {
                            std::reverse(lines.begin(), lines.end());
                        }
                        return lines;
                    },
                    progress);
            },
            TPrompt{"Sort", "At what column?", "", &programValues_.SortColumn});
}

void TEditForm::Space_Click(const std::string& item) {
    const auto spacing = item == "Single1"   ? tools::TSpacing::Single
                         : item == "Double1" ? tools::TSpacing::Double
                                             : tools::TSpacing::Triple;
    TToolCommand(*this, *Editor1, *workflow_, *ui_, "Spacing")
        .Run(kCursorFirst, [&](std::int32_t, const TWorkProgress& progress) {
            return tools::TransformText(
                *Editor1,
                [&](TWorkLines lines, const TWorkProgress&) {
                    return tools::Space(std::move(lines), spacing);
                },
                progress);
        });
}

void TEditForm::Tabulate_Click(const std::string& item) {
    const bool toTabs = item == "ReplaceWithTabs1";
    TToolCommand(*this, *Editor1, *workflow_, *ui_, "Tabulating")
        .Run(kBackupFirst, [&](std::int32_t, const TWorkProgress& progress) {
            const std::int32_t tabSize = Editor1->TabSize();
            return tools::TransformText(
                *Editor1,
                [&](TWorkLines lines, const TWorkProgress& tabulating) {
                    return toTabs ? tools::ReplaceWithTabs(std::move(lines), tabSize, tabulating)
                                  : tools::FillInWithSpaces(std::move(lines), tabSize, tabulating);
                },
                progress);
        });
}

void TEditForm::Test1Click() {
    TToolCommand(*this, *Editor1, *workflow_, *ui_, "Running Test Tool #1")
        .Run(
            kWithoutCursor,
            [&](std::int32_t, const TWorkProgress& progress) {
                const auto readNumber = [](const std::string& text) -> std::optional<double> {
                    bool ok = false;
                    const double value =
                        QLocale().toDouble(QString::fromStdString(text).trimmed(), &ok);
                    return ok ? std::optional<double>(value) : std::nullopt;
                };
                return tools::TransformText(
                    *Editor1,
                    [&](TWorkLines lines, const TWorkProgress& reading) {
                        return tools::AppendSizeReport(std::move(lines), readNumber, reading);
                    },
                    progress);
            },
            std::nullopt, [&] { Editor1->SetCaretPosition(Editor1->LineCount(), 1); });
}

void TEditForm::Test2Click() {
    TToolCommand(*this, *Editor1, *workflow_, *ui_, "Running Test Tool #2")
        .Run(kCursorFirst, [&](std::int32_t, const TWorkProgress& progress) {
            return tools::TransformText(
                *Editor1,
                [](TWorkLines lines, const TWorkProgress&) {
                    return tools::AppendCharacterList(std::move(lines));
                },
                progress);
        });
}

void TEditForm::DumpFile1Click() {
    const auto chosen = ui_->OpenFileName({"Dump a file", "All Files (*.*)|*.*", 1,
                                           workflow_->OpenFolder(), workflow_->OpenFileName(), ""});
    if (!chosen) {
        return;
    }
    workflow_->SetOpenDialogStart(FolderPart(*chosen), *chosen);
    TToolCommand(*this, *Editor1, *workflow_, *ui_, "Dumping the file")
        .Run(
            kUnguarded,
            [&](std::int32_t bytesPerLine, const TWorkProgress& progress) {
                const std::string bytes = tools::ReadToolFile(*chosen);
                return tools::TransformText(
                    *Editor1,
                    [&](TWorkLines lines, const TWorkProgress& dumping) {
                        return tools::AppendDump(std::move(lines), *chosen, bytes,
                                                 ClampDumpWidth(bytesPerLine, *Editor1), dumping);
                    },
                    progress);
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
    std::string docName = workflow_->DocName();
    const bool fromDoc = IsDocFile(*chosen);
    if (fromDoc) {
        encoding = charset::TFileEncoding::Bytes;
        textPath = ProgramFilePath("Conversion.txt");
        if (!doc::ConvertDocToText(*chosen, textPath, docName)) {
            ui_->MessageBox("Error", kConversionErrorText, TMsgIcon::Error, {TMsgButton::Ok});
            return;
        }
    }
    const editor::TBusyCursor busy;
    const std::int32_t lastLine = Editor1->LineCount();
    charset::TReplacementLog replaced;
    const auto appended =
        RunToolWork(*this, "Appending the file", [&](const TWorkProgress& progress) {
            tools::ReplaceText(
                *Editor1, tools::AppendTextFile(*Editor1, textPath, encoding, replaced, progress));
            return true;
        });
    if (!appended) {
        return;
    }
    if (fromDoc) {
        // The document takes the DOC file's name only once its text is appended.
        workflow_->SetDocName(docName);
    }
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
