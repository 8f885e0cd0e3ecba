// Tools > Mark Chapters: the lines that match a pattern become bookmarks of the viewer's
// marker convention, in one step that Undo takes back whole.
#include "EditMain.h"

#include "EditMain_Status.h"
#include "OvcEdit.h"
#include "OvcEditU.h"
#include "ToolWork.h"
#include "Tools.h"
#include "ViewBookmarks.h"

#include <QRegularExpression>

namespace tomery::app {

namespace {

std::vector<std::string> Paragraphs(editor::TParaList& list, const TWorkProgress& progress) {
    std::vector<std::string> paragraphs;
    paragraphs.reserve(static_cast<std::size_t>(list.ParaCount()));
    tools::TLineProgress done(progress, static_cast<std::uint64_t>(list.ParaCount()));
    for (const editor::TParaNode* para = list.Head(); para != nullptr; para = para->Next) {
        paragraphs.emplace_back(para->Text());
        done.Advance(para->Length());
    }
    return paragraphs;
}

/// Puts the marker before each chapter line and, when the text declares none, the marker's
/// declaration after its last line, as one undo step. When the store refuses a step (a line
/// or the text grown past its limit), or the undo buffer cannot hold the whole step, the marks
/// made are taken out again: the store's error is raised, or false returned for the buffer.
bool ApplyChapterMarks(editor::TOvcTextFileEditor& editor, const viewer::TChapterMarks& marks) {
    editor::TParaList& list = editor.ParaList();
    editor::TEditorErrorCode code = editor::kErrorNone;
    bool kept = true;
    {
        const editor::TUndoGroupGuard group(list.UndoBuffer());
        std::int32_t declaration = 0;  ///< its paragraph once made
        if (marks.Declare) {
            const std::int32_t last = list.ParaCount();
            // A text that ends with a line break keeps ending with one.
            const bool endsWithBreak = list.GetParaLength(last) == 0;
            const std::string line = "<" + marks.Marker + ">";
            code = endsWithBreak ? list.InsertParaBefore(last, line)
                                 : list.InsertParaAfter(last, line);
            declaration = code == editor::kErrorNone ? (endsWithBreak ? last : last + 1) : 0;
        }
        std::size_t marked = 0;
        for (; marked < marks.Paras.size() && code == editor::kErrorNone; ++marked) {
            code = list.InsertText(marks.Paras[marked], 1, marks.Marker);
        }
        marked -= code == editor::kErrorNone ? 0 : 1;
        kept = !list.UndoBuffer().Overflow();
        if (code != editor::kErrorNone || !kept) {
            for (std::size_t i = 0; i < marked; ++i) {
                list.DeleteText(marks.Paras[i], 1, static_cast<std::int32_t>(marks.Marker.size()));
            }
            if (declaration > 0) {
                list.DeletePara(declaration);
            }
        }
    }
    editor.RefreshAll(true);
    if (code != editor::kErrorNone) {
        throw editor::EEditorError(code);
    }
    return kept;
}

}  // namespace

void TEditForm::MarkChapters1Click() {
    if (Editor1->TextLength() == 0) {
        return;
    }
    const std::optional<std::string> pattern = ui_->InputBox(
        "Mark Chapters", "Regular expression of the chapter lines:", programValues_.ChapterPattern);
    if (!pattern) {
        return;
    }
    programValues_.ChapterPattern = *pattern;
    const QRegularExpression expression(QString::fromStdString(*pattern));
    if (!expression.isValid()) {
        ui_->MessageBox("Error",
                        "'" + *pattern + "' is not a valid regular expression: " +
                            expression.errorString().toStdString() + ".",
                        TMsgIcon::Error, {TMsgButton::Ok});
        return;
    }
    const charset::TCharacterSet& set = Editor1->CharacterSet();
    // Finding the chapter lines only reads the text: Cancel leaves nothing to take back.
    const std::optional<viewer::TChapterMarks> planned =
        RunToolWork(*this, "Marking chapters", [&](const TWorkProgress& progress) {
            const std::vector<std::string> paragraphs =
                Paragraphs(Editor1->ParaList(), tools::PassProgress(progress, 0, 2));
            const TWorkProgress matching = tools::PassProgress(progress, 1, 2);
            tools::TLineProgress matched(matching, paragraphs.size());
            return viewer::PlanChapterMarks(paragraphs, [&](const std::string& para) {
                matched.Advance(para.size());
                return expression.match(QString::fromStdU16String(set.ToUtf16(para))).hasMatch();
            });
        });
    if (!planned) {
        return;
    }
    const viewer::TChapterMarks& marks = *planned;
    if (marks.Paras.empty()) {
        ui_->MessageBox("Information", "No line matches '" + *pattern + "'.", TMsgIcon::Information,
                        {TMsgButton::Ok});
        return;
    }
    const std::string count = std::to_string(marks.Paras.size());
    if (!ApplyChapterMarks(*Editor1, marks)) {
        ui_->MessageBox("Information",
                        count + " lines match '" + *pattern +
                            "': too many to take back in one step. Nothing was marked.",
                        TMsgIcon::Information, {TMsgButton::Ok});
        return;
    }
    status_->ShowNotice(count + (marks.Paras.size() == 1 ? " chapter marked" : " chapters marked"),
                        "Each chapter line begins with the bookmark marker \"" + marks.Marker +
                            "\", which the last line declares; the viewer lists them as "
                            "bookmarks.");
}

}  // namespace tomery::app
