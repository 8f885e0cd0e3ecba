// Search and replace on the control: the selection replaced first, the search over the store,
// the occurrence selected, the view brought up to date and the result.
#include "OvcEdit.h"
#include "OvcEdit_BusyCursor.h"

namespace tomery::editor {

namespace {

/// The word delimiters as a string, which the search turns into its own table.
const std::string& WordDelimiterChars() {
    static const std::string chars = [] {
        std::string out;
        for (int c = 0; c < 256; ++c) {
            if (IsWordDelimiter(static_cast<unsigned char>(c))) {
                out += static_cast<char>(c);
            }
        }
        return out;
    }();
    return chars;
}

}  // namespace

std::int32_t TOvcCustomEditor::Search(std::string_view searchString,
                                      std::optional<std::string_view> replacement,
                                      TSearchOptions options) {
    const bool replaceMode = (options & (seReplace | seReplaceAll)) != 0;
    if (searchString.empty() || (replaceMode && !replacement.has_value())) {
        return 0;
    }
    // The program never replaces in a read-only view; replacing through the store there
    // would change a text the user cannot edit.
    if (replaceMode && GetReadOnly()) {
        return -1;
    }
    const std::string_view newText = CutToSearchLength(replacement.value_or(std::string_view()));
    const auto places = [this] { return TSearchPlaces{caretPos(), selBegin_, selEnd_}; };
    std::int32_t replaced = 0;
    const TCaseTable& upperCase = CharacterSet().UpperCase();
    if (replaceMode && SelectionMatches(*paraList_, places(), searchString, options, &upperCase)) {
        if (const TEditorErrorCode code = InsertString(newText)) {
            DoOnError(code);
            return code;
        }
        replaced = 1;
    }
    const bool caretAtSelEnd = SelectionAvailable() && selMovingEnd_ == selEnd_;
    TSearchOutcome outcome;
    {
        const TBusyCursor busy;
        {
            // Replacements keep the paragraphs, so the view follows them once at the end.
            class TDeferredFollowing {
              public:
                explicit TDeferredFollowing(TOvcCustomEditor& e) : editor_(e) {
                    editor_.deferFollowing();
                }
                ~TDeferredFollowing() { editor_.endDeferredFollowing(); }
                TDeferredFollowing(const TDeferredFollowing&) = delete;
                TDeferredFollowing& operator=(const TDeferredFollowing&) = delete;

              private:
                TOvcCustomEditor& editor_;
            };
            const TDeferredFollowing deferred(*this);
            outcome = SearchParagraphs(
                *paraList_, {searchString, newText, options, WordDelimiterChars(), &upperCase},
                places());
        }
        if (outcome.Stop == TSearchStop::Found) {
            selectParaRange(outcome.MatchBegin, outcome.MatchEnd, outcome.CaretAtEnd);
        } else if (outcome.Replacements > 0) {
            updateVertScrollBar();
            if ((options & seSelOnly) != 0) {
                selectParaRange(outcome.Range.Begin, outcome.Range.End, caretAtSelEnd);
            } else {
                collapseSelection(true);
                positionCaret();
            }
        }
    }
    requestFullRepaint();
    const std::int32_t result = SearchResult(outcome, replaced);
    if (outcome.Stop == TSearchStop::StoreError) {
        DoOnError(outcome.Error);
    }
    return result;
}

bool TOvcCustomEditor::FindText(std::string_view searchString, TSearchOptions options) {
    return Search(searchString, std::nullopt, options) == 0;
}

}  // namespace tomery::editor
