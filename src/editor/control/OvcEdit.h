// The editor control: a view with caret, selection and scroll position over a paragraph
// store, its painting, mouse and keys, and the text file editor built on it.
#pragma once

#include <QColor>
#include <QCursor>
#include <QImage>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "CharacterSet.h"
#include "FileEncoding.h"
#include "OvcBase.h"
#include "OvcCaret.h"
#include "OvcCellText.h"
#include "OvcCmd.h"
#include "OvcEditCalc.h"
#include "OvcEditP.h"
#include "OvcEdit_Search.h"
#include "OvcFxFnt.h"
#include "OvcPrimarySelection.h"
#include "OvcTextFile.h"
#include "ReplacementLog.h"

class QPainter;

namespace tomery::editor {

class TOvcEditBase : public TOvcBase {
    Q_OBJECT
  public:
    using TOvcBase::TOvcBase;
};

enum class TBorderStyle { bsNone, bsSingle };
enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum class TTabType { ttReal, ttFixed, ttSmart };

/// What OnDrawLine receives for one painted row. Columns are display columns (tabs expanded);
/// the selection fields are 0 when no selection is shown.
struct TEditorDrawLineArgs {
    QPainter& Canvas;
    QRect Rect;        ///< the row in window pixels
    const char* S;     ///< the display line, tabs expanded, zero-terminated
    std::int32_t Len;  ///< characters of S
    std::int32_t Line;
    std::int32_t Pos;    ///< HorzOffset: columns scrolled off to the left
    std::int32_t Count;  ///< VisibleCols
    std::int32_t HBLine, HBCol, HELine, HECol;
    bool WasDrawn = false;  ///< set by the handler when it drew the row itself
};

/// The editing control. Coordinates: paragraphs and display lines from 1; a position in a
/// paragraph and a column in a display line are 1-based character indexes; a display column
/// is a 1-based screen column after tab expansion. Setters ignore values outside their
/// accepted range. Text-changing operations return an error code; DoOnError turns a non-zero
/// one into OnError or an EEditorError.
class TOvcCustomEditor : public TOvcEditBase, private TParaListClient {
    Q_OBJECT
  public:
    explicit TOvcCustomEditor(QWidget* parent = nullptr);
    ~TOvcCustomEditor() override;

    // Properties.
    bool AutoIndent() const { return autoIndent_; }
    void SetAutoIndent(bool on) { autoIndent_ = on; }
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style);
    std::int32_t ByteLimit() const { return paraList_->ByteLimit(); }
    virtual void SetByteLimit(std::int32_t limit);
    TOvcCaret& CaretIns() { return caret_->CaretIns(); }
    TOvcCaret& CaretOvr() { return caret_->CaretOvr(); }
    TOvcCaretPair& Carets() { return *caret_; }
    /// The set the bytes of the text stand for on screen, on the clipboard and when typed.
    const charset::TCharacterSet& CharacterSet() const { return *characterSet_; }
    /// Shows the same bytes as characters of `set`, which must live as long as the control
    /// (the offered sets live for the whole run).
    void SetCharacterSet(const charset::TCharacterSet& set);
    TOvcFixedFont& FixedFont() { return fixedFont_; }
    /// The background: the colour set, else the base colour of the palette.
    QColor Color() const;
    /// An invalid colour gives the background back to the palette.
    void SetColor(const QColor& color);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool hide);
    TOvcColors& HighlightColors() { return highlightColors_; }
    bool InsertMode() const { return insertMode_; }
    void SetInsertMode(bool insert);
    std::int32_t LeftMargin() const { return leftMargin_; }
    void SetLeftMargin(std::int32_t pixels);
    std::int32_t ParaLengthLimit() const { return paraList_->ParaLengthLimit(); }
    void SetParaLengthLimit(std::int32_t limit);
    std::int32_t ParaLimit() const { return paraList_->ParaLimit(); }
    void SetParaLimit(std::int32_t limit);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    virtual bool GetReadOnly() const { return readOnly_; }
    std::int32_t RightMargin() const { return rightMargin_; }
    void SetRightMargin(std::int32_t pixels);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle bars);
    bool ScrollBarsAlways() const { return scrollBarsAlways_; }
    void SetScrollBarsAlways(bool always);
    bool ScrollPastEnd() const { return scrollPastEnd_; }
    void SetScrollPastEnd(bool on);
    bool ShowBookmarks() const { return showBookmarks_; }
    void SetShowBookmarks(bool show);
    std::uint8_t TabSize() const { return tabSize_; }
    void SetTabSize(std::uint8_t size);
    TTabType TabType() const { return tabType_; }
    void SetTabType(TTabType type);
    /// Whether the lines that loading, the text tools, Enter and pasting end lose their
    /// trailing blanks and tabs.
    bool TrimWhiteSpace() const { return trimWhiteSpace_; }
    void SetTrimWhiteSpace(bool trim) { trimWhiteSpace_ = trim; }
    std::uint16_t UndoBufferSize() const { return paraList_->UndoBufferSize(); }
    void SetUndoBufferSize(std::uint16_t bytes);
    bool WantEnter() const { return wantEnter_; }
    void SetWantEnter(bool want) { wantEnter_ = want; }
    bool WantTab() const { return wantTab_; }
    void SetWantTab(bool want) { wantTab_ = want; }
    bool WordWrap() const { return paraList_->WordWrap(); }
    void SetWordWrap(bool on);
    bool WrapAtLeft() const { return wrapAtLeft_; }
    void SetWrapAtLeft(bool on);
    std::int32_t WrapColumn() const { return paraList_->WrapColumn(); }
    void SetWrapColumn(std::int32_t column);
    bool WrapToWindow() const { return wrapToWindow_; }
    void SetWrapToWindow(bool on);

    // Events, each fired through its DoOn... operation.
    std::function<void(TOvcCustomEditor& sender)> OnChange;
    std::function<void(TOvcCustomEditor& sender, TEditorDrawLineArgs& args)> OnDrawLine;
    std::function<void(TOvcCustomEditor& sender, std::uint16_t& errorCode)> OnError;
    std::function<void(TOvcCustomEditor& sender, std::int32_t lineNum, std::int32_t colNum)>
        OnShowStatus;
    std::function<void(TOvcCustomEditor& sender, std::int32_t line)> OnTopLineChanged;
    std::function<void(TOvcCustomEditor& sender, CommandCode command)> OnUserCommand;
    /// Text that entered the control (typed, composed or pasted) held characters the set
    /// lacks; `log` tells what took their place. Once per operation.
    std::function<void(TOvcCustomEditor& sender, const charset::TReplacementLog& log)>
        OnCharactersReplaced;

    virtual void DoOnDrawLine(TEditorDrawLineArgs& args);
    virtual void DoOnChange();
    /// Code 0 does nothing; otherwise OnError gets it, or EEditorError is raised without one.
    virtual void DoOnError(TEditorErrorCode code);
    virtual void DoOnShowStatus(std::int32_t line, std::int32_t column);
    virtual void DoOnTopLineChanged(std::int32_t line);
    virtual void DoOnUserCommand(CommandCode command);
    virtual void DoOnCharactersReplaced(const charset::TReplacementLog& log);

    // Text access; none of these changes the text or the caret. Out-of-range numbers raise
    // EInvalidLineOrPara.
    /// The text of paragraph `para`; valid until the text changes.
    std::string_view GetPara(std::int32_t para);
    const char* GetParaPointer(std::int32_t para);
    /// Copies at most `capacity` characters of the line and a terminator (so `dest` holds
    /// capacity + 1 bytes); returns `dest`.
    char* GetLine(std::int32_t line, char* dest, std::uint16_t capacity);
    /// As GetLine with tabs expanded; returns the length copied.
    std::int32_t GetPrintableLine(std::int32_t line, char* dest, std::uint16_t capacity);
    std::string GetStringLine(std::int32_t line);
    std::int32_t LineLength(std::int32_t line);
    std::int32_t LineCount() const { return paraList_->LineCount(); }
    std::int32_t ParaCount() const { return paraList_->ParaCount(); }
    std::int64_t TextLength() const { return paraList_->ByteCount(); }
    std::int32_t TopLine() const { return topLine_; }
    /// Columns that fit the window; creates the window first.
    std::int32_t VisibleColumns();
    std::int32_t VisibleLines() const { return visibleLines_; }
    /// Replaces (paragraph, position) by (display line, column).
    void ParaToLine(std::int32_t& para, std::int32_t& pos);
    bool Modified() const { return paraList_->Modified(); }
    /// A change repaints; clearing marks every undo record as made on modified text.
    void SetModified(bool modified);
    /// The store behind the view, for text tools and tests.
    TParaList& ParaList() { return *paraList_; }

    // Caret and view.
    std::int32_t GetCaretPosition(std::int32_t& column) const;
    /// EInvalidLineOrPara for a line outside the text or a column below 1.
    void SetCaretPosition(std::int32_t line, std::int32_t column);
    void SetTopLine(std::int32_t line);
    void MoveCaretTo(std::int32_t line, std::int32_t column, bool extend);
    void MoveCaretToPara(std::int32_t para, std::int32_t pos, bool extend);
    /// Moves the horizontal offset by `columns` and the first line by `lines`.
    virtual void Scroll(std::int32_t columns, std::int32_t lines);
    /// Scroll bars, layout and wrap to window again, then a full repaint.
    void RefreshAll(bool paintNow);
    std::int32_t CaretPara() const { return caretPara_; }
    /// The caret's position in its paragraph.
    std::int32_t CaretParaPos() const { return caretLineOffset_ + caretCol_; }
    std::int32_t HorzOffset() const { return horzOffset_; }
    std::int32_t CharWidth() const { return charWidth_; }
    std::int32_t LineHeight() const { return lineHeight_; }
    const TVertScroll& VertScroll() const { return vertScroll_; }
    std::int32_t HorzRange() const { return horzRange_; }

    // Selection.
    bool SelectionAvailable() const { return !(selBegin_ == selEnd_); }
    /// False without a selection; else its ends as display line and column (end exclusive).
    bool GetSelection(std::int32_t& line1, std::int32_t& col1, std::int32_t& line2,
                      std::int32_t& col2) const;
    void SetSelection(std::int32_t line1, std::int32_t col1, std::int32_t line2, std::int32_t col2,
                      bool caretAtEnd);
    void SelectAll(bool caretAtEnd);
    void CollapseSelection(bool toEnd);
    TParaPos SelBegin() const { return selBegin_; }
    TParaPos SelEnd() const { return selEnd_; }

    // Editing.
    /// Replaces the selection by `text`, which may hold CR and LF line breaks; one undo step.
    TEditorErrorCode InsertString(std::string_view text);
    /// Executes a command (codes of OvcCmd.h); true when it was handled.
    virtual bool ProcessCommand(CommandCode command, std::uint16_t character);
    /// Adds a loaded line as paragraph(s) before the last one, without undo.
    TEditorErrorCode AppendLine(std::string_view text);
    /// Replaces the store by a new, empty one keeping the settings.
    void ResetText(bool repaint);
    /// A new, empty store with this control's settings, for a text built apart from the one
    /// shown (a load, a text tool) until SwapParaList puts it in place.
    std::unique_ptr<TParaList> NewParaList();
    /// Replaces the store, as loading a file does; the view starts again at the top.
    void SwapParaList(std::unique_ptr<TParaList> list);
    virtual void CopyToClipboard();
    virtual void CutToClipboard();
    virtual void PasteFromClipboard();
    /// Where selections are offered and middle clicks paste from; the platform's by default.
    void SetPrimarySelection(std::shared_ptr<TPrimarySelection> selection);
    bool CanUndo() const;
    bool CanRedo() const;
    virtual void Undo();
    virtual void Redo();
    /// Bookmarks 0 to 9; other indexes are ignored.
    virtual void SetMarker(std::size_t index);
    /// EInvalidLineOrCol for a line outside the text or a column below 1.
    virtual void SetMarkerAt(std::size_t index, std::int32_t line, std::int32_t column);
    void GotoMarker(std::size_t index);

    // Search (OvcEdit_Find.cpp).
    /// Finds `searchString` (cut to 255 characters; empty: result 0, nothing happens) as the
    /// se... options ask and selects the occurrence, the caret at its end searching forward and
    /// at its start backward. The replace modes (seReplace, seReplaceAll) need a replacement
    /// (absent: result 0) and are refused on a read-only control (result -1). Result: -1 when
    /// nothing was found or replaced, 0 when an occurrence was selected, else the number of
    /// replacements; a store error code when a replacement failed (reported through DoOnError,
    /// so only when OnError is assigned does the call return it).
    virtual std::int32_t Search(std::string_view searchString,
                                std::optional<std::string_view> replacement,
                                TSearchOptions options);
    /// Search without a replacement; true when it returned 0.
    bool FindText(std::string_view searchString, TSearchOptions options);

    /// What an input method asks of the control, above all the caret's rectangle.
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

    /// The table from command codes to actions (OvcEdit_Commands.cpp).
    class Commands;

  signals:
    /// The caret was positioned; delivered after the operation, once per positioning.
    void StatusShown(int line, int column);

  protected:
    void CreateWnd() override;
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

    TTrimBlanks trimBlanks() const { return trimWhiteSpace_ ? TTrimBlanks::Yes : TTrimBlanks::No; }

  private:
    friend class Commands;

    // TParaListClient: the store's reports.
    void ParaDeleted(std::int32_t para) override;
    void TextDeleted(std::int32_t para, std::int32_t pos, std::int32_t count) override;
    void ParaSplit(std::int32_t para, std::int32_t pos, std::int32_t indent) override;
    void TextInserted(std::int32_t para, std::int32_t pos, std::int32_t count) override;
    void ParasJoined(std::int32_t para, std::int32_t pos) override;
    void Reposition() override;
    void BusyChanged(bool busy) override;
    /// Applies `adjust` to the top, caret and selection positions and recomputes the display
    /// coordinates from them.
    template <typename Adjust>
    void followChange(Adjust adjust);
    /// Recomputes the first line and the caret's display place from paragraph positions.
    void followPositions(TParaPos top, TParaPos caret);
    /// Until endDeferredFollowing, change reports only adjust paragraph positions, leaving the
    /// display places (whose lookups would move the store's position cache away from a long
    /// run of changes) to be recomputed once at the end. Only for changes that keep every
    /// paragraph, such as replacements.
    void deferFollowing();
    void endDeferredFollowing();

    // View (OvcEdit_View.cpp).
    void layout();
    void wrapToWindow();
    void moveCaret(std::int32_t colDelta, std::int32_t lineDelta, bool absolute, bool extend,
                   bool keepRow);
    void positionCaret();
    bool caretLineVisible() const;
    bool caretVisible();
    std::int32_t caretDisplayColumn();
    std::int32_t lineDisplayColumn(std::int32_t line, std::int32_t column);
    std::int32_t lineCharColumn(std::int32_t line, std::int32_t displayColumn);
    std::int32_t lastTopLine() const;
    void setTopLine(std::int32_t line);
    TParaPos caretPos() const { return {caretPara_, caretLineOffset_ + caretCol_}; }
    /// The caret's position cut back to its paragraph's length + 1.
    TParaPos caretTextPos();
    void setCaretFromPara(TParaPos pos);
    void collapseSelection(bool repaint);
    void extendSelection();
    void updateSelectionDisplay();
    TLineAndColumn displayOf(TParaPos pos);
    void updateHorzScrollBar();
    void updateVertScrollBar();
    void updateScrollBarPositions();
    void scrollPixels(std::int32_t oldHorz, std::int32_t oldTop);
    void repaintLines(std::int32_t first, std::int32_t last);
    void repaintChangedLines();
    void requestFullRepaint();
    void vertScrollAction(int action);
    void horzScrollAction(int action);
    void recreateWindow();

    // Painting (OvcEdit_Paint.cpp).
    /// The colours one paint uses, from the palette unless the font, the control or the
    /// highlight colours have colours of their own.
    struct TPaintColors {
        QColor text;
        QColor background;
        QColor selectedText;
        QColor selectedBackground;
    };
    TPaintColors paintColors() const;
    QRect textArea() const;
    void paintRow(QPainter& painter, std::int32_t row, bool selectionShown,
                  const TPaintColors& colors);
    void paintBookmarks(QPainter& painter, const QRect& area);
    bool selectionShown() const;

    // Mouse (OvcEdit_Mouse.cpp).
    TLineAndColumn pointToLineCol(QPoint point);
    void mouseStep(QPoint point, bool firstStep);
    void autoScrollTick();
    void selectWordAt(QPoint point, bool shift);
    void selectParagraphAt(QPoint point, bool shift);
    void updateCursor(QPoint point);
    /// Takes the focus for a click; false when the click is to be dropped.
    bool activateByClick();
    /// Pastes the primary selection at the point, leaving any selection of this control alone.
    void pastePrimaryAt(QPoint point);
    /// Offers the selection as the primary selection once the current operation is done.
    void offerSelectionLater();

    // Editing (OvcEdit.cpp).
    TEditorErrorCode deleteSelection();
    /// The selection as screen text.
    QString selectedText();
    /// Inserts text from the clipboard or the primary selection over the selection (up to a
    /// zero character, what the set lacks replaced) and reports replacements and an error.
    void pasteText(const QString& text);
    /// ccDel: the selection, else the character at the caret, else a join with the next
    /// paragraph (an empty paragraph is removed instead).
    void deleteForward();
    void typeCharacter(char c);
    /// Types the characters of `text` that are no control characters as bytes of the set,
    /// each as ccTypeChar, and reports what the set lacked; true when it typed any.
    bool typeText(const QString& text);
    void detachStore();
    /// Caret left one position, or onto the end of the previous line at a paragraph start
    /// when WrapAtLeft allows.
    void caretLeft(bool extend);
    /// Selects from `from` to `to` (paragraph positions), the caret at `to` or at `from`.
    void selectParaRange(TParaPos from, TParaPos to, bool caretAtEnd);

    // Deleting (OvcEdit_Deleting.cpp); none changes a read-only control.
    /// ccBack: the selection, else the character before the caret or the join with the
    /// previous paragraph; only a caret move on a read-only control.
    void backspace();
    void deleteToLineStart();
    void deleteToLineEnd();
    /// The caret's display line with its line break, in one undo group.
    void deleteLine();
    /// The rest of the word at the caret and the blanks after it.
    void deleteWord();

    // New line and tab (OvcEdit_NewLineTab.cpp).
    /// Splits the paragraph at the caret (with AutoIndent indenting the new one) when inserting
    /// on a writable control, else moves the caret to the next paragraph; fires OnChange itself
    /// when it changed the text.
    void newLine();
    /// At the end of a paragraph whose line goes on in the next (or at the start of that
    /// next one) makes the line end there and moves the caret after it; false elsewhere.
    bool endLineAtCut(TParaPos at);
    /// Display width of the blanks that begin the caret's line, before the caret.
    std::int32_t indentWidthAtCaret();
    /// A tab character, or blanks to the next tab stop or the neighbouring line's next word.
    void tab();
    std::int32_t fixedTabBlanks() const;
    std::int32_t smartTabBlanks();
    /// Inserts `count` blanks at the caret (overwriting as many characters in overwrite mode).
    void insertBlanks(std::int32_t count);

    std::unique_ptr<TParaList> paraList_;
    std::unique_ptr<TOvcCaretPair> caret_;
    TOvcFixedFont fixedFont_;
    TCellTextPainter cellText_;
    TOvcColors highlightColors_;
    QImage markers_;  ///< the glyphs of bookmarks 0 to 9, side by side
    QCursor marginCursor_;
    QColor color_;  ///< invalid while the palette gives the background
    const charset::TCharacterSet* characterSet_ = &charset::DefaultCharacterSet();

    bool autoIndent_ = false;
    TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
    bool hideSelection_ = true;
    bool insertMode_ = true;
    std::int32_t leftMargin_ = 15;
    bool readOnly_ = false;
    std::int32_t rightMargin_ = 5;
    TScrollStyle scrollBars_ = TScrollStyle::ssBoth;
    bool scrollBarsAlways_ = false;
    bool scrollPastEnd_ = false;
    bool showBookmarks_ = true;
    std::uint8_t tabSize_ = 8;
    TTabType tabType_ = TTabType::ttReal;
    bool trimWhiteSpace_ = true;
    bool wantEnter_ = true;
    bool wantTab_ = false;
    bool wrapAtLeft_ = true;
    bool wrapToWindow_ = false;

    // View state.
    std::int32_t caretLine_ = 1;
    std::int32_t caretCol_ = 1;  ///< character column in the caret line (may pass its end)
    std::int32_t caretPara_ = 1;
    std::int32_t caretLineOffset_ = 0;  ///< 0-based offset of the caret line in its paragraph
    std::int32_t topLine_ = 1;
    std::int32_t topPara_ = 1;
    std::int32_t topLineOffset_ = 0;
    std::int32_t horzOffset_ = 0;
    TParaPos selBegin_{1, 1};  ///< selBegin_ <= selEnd_; equal: no selection
    TParaPos selEnd_{1, 1};    ///< exclusive
    TParaPos selMovingEnd_{1, 1};
    std::int32_t selBeginLine_ = 1, selBeginCol_ = 1, selEndLine_ = 1, selEndCol_ = 1;
    std::int32_t charWidth_ = 1;
    std::int32_t lineHeight_ = 1;
    std::int32_t visibleCols_ = 1;
    std::int32_t visibleLines_ = 0;
    std::int32_t horzRange_ = 0;
    TVertScroll vertScroll_;
    bool hasHorzBar_ = true;
    bool hasVertBar_ = true;
    bool repaintPending_ = false;  ///< a full repaint is requested and not yet painted
    bool inLayout_ = false;
    bool mouseCaptured_ = false;
    bool mouseInMargin_ = false;
    bool mouseShift_ = false;
    bool marginSelecting_ = false;
    TLineAndColumn mouseAnchor_;  ///< margin mode: the fixed end of the line selection
    TLineAndColumn mouseLast_;
    QPoint mousePoint_;
    QTimer autoScrollTimer_;
    std::int64_t lastAutoScrollMs_ = 0;
    bool suppressChar_ = false;
    std::shared_ptr<TPrimarySelection> primarySelection_ = std::make_shared<TPrimarySelection>();
    bool selectionOfferPending_ = false;
    QPoint wheelRemainder_;  ///< wheel deltas too small for a step so far (1/8 degrees)
    /// The first line's and the caret's positions while following is deferred.
    struct TDeferredPositions {
        TParaPos Top;
        TParaPos Caret;
    };
    std::optional<TDeferredPositions> deferred_;
};

/// The lines of a loaded file too long for one paragraph, each cut into several that continue
/// it and written back as one line.
struct TSplitLines {
    std::int64_t Count = 0;
    std::int64_t FirstLine = 0;  ///< the first one's line number (from 1); 0 when none
};

/// The editor of a text file: file name, open state, loading and saving plain text.
class TOvcCustomTextFileEditor : public TOvcCustomEditor {
    Q_OBJECT
  public:
    using TOvcCustomEditor::TOvcCustomEditor;

    /// The backup copy's extension, at most 3 characters, without the dot.
    const std::string& BackupExt() const { return backupExt_; }
    void SetBackupExt(std::string extension);
    const std::string& FileName() const { return fileName_; }
    /// A name that differs without regard to case is stored normalised and closes the file.
    void SetFileName(const std::string& name);
    bool IsOpen() const { return isOpen_; }
    /// True loads FileName, false empties the text.
    void SetIsOpen(bool open);
    bool MakeBackup() const { return makeBackup_; }
    void SetMakeBackup(bool on) { makeBackup_ = on; }
    /// The line end that saving writes: the loaded file's (LF for a Linux text file), CR LF
    /// for a new text.
    TLineBreak LineBreak() const { return lineBreak_; }
    void SetLineBreak(TLineBreak lineBreak) { lineBreak_ = lineBreak; }
    /// The encoding that saving writes: the loaded file's, `Bytes` for a new text.
    charset::TFileEncoding FileEncoding() const { return fileEncoding_; }
    void SetFileEncoding(charset::TFileEncoding encoding) { fileEncoding_ = encoding; }
    /// What the last load could not keep exactly, lines numbered from 1; empty after a
    /// byte-exact load and after NewFile.
    const charset::TReplacementLog& LoadReplacements() const { return loadReplacements_; }
    /// The lines the last load cut into several paragraphs; none after NewFile.
    const TSplitLines& LoadSplitLines() const { return loadSplitLines_; }

    /// Replaces the text by the file's, a Unicode file's converted into the CharacterSet.
    /// Raises EInOutError or EEditorError on failure, which leaves the text, FileName, IsOpen,
    /// LineBreak, FileEncoding, LoadReplacements and LoadSplitLines as they were.
    virtual void LoadFromFile(const std::string& name);
    /// LoadFromFile reading the file as `encoding`, whatever its bytes tell (see
    /// charset::ReadingEncoding).
    void LoadFromFileAs(const std::string& name, charset::TFileEncoding encoding);
    /// LoadFromFile of a file named `name` that holds `bytes`, read as the set's bytes.
    void LoadFromMemory(const std::string& name, std::string_view bytes);
    /// LoadFromFile, or LoadFromFileAs for `forced`, telling `progress` how far it got (see
    /// TTextFileReader); a cancel raises EWorkCancelled and leaves everything as it was.
    void LoadWithProgress(const std::string& name, std::optional<charset::TFileEncoding> forced,
                          const TWorkProgress& progress);
    /// LoadFromFile of a file named `name` whose bytes `stream` makes as it is read.
    void LoadFromStream(const std::string& name, TTextStream& stream,
                        const TWorkProgress& progress = {});
    /// Writes the paragraphs in FileEncoding (its mark first) with LineBreak after each but
    /// those whose line goes on in the next (an empty last one is not written) and clears
    /// Modified. Raises EInOutError on failure. An empty name does nothing.
    virtual void SaveToFile(const std::string& name);
    /// SaveToFile telling `progress` every few MB how many bytes of the text were written;
    /// a cancel raises EWorkCancelled and leaves the file and Modified as they were.
    void SaveWithProgress(const std::string& name, const TWorkProgress& progress);
    /// The bytes SaveToFile would write, Modified left as it is.
    std::string FileBytes();
    /// Empties the text and names it `name`; it will be saved as bytes with CR LF.
    void NewFile(const std::string& name);

  private:
    void loadFrom(TTextFileReader& reader, const std::string& name);
    void writeText(TTextFileWriter& writer, const TWorkProgress& progress = {});

    std::string backupExt_ = "BAK";
    std::string fileName_;
    bool isOpen_ = false;
    bool makeBackup_ = false;
    TLineBreak lineBreak_ = TLineBreak::CrLf;
    charset::TFileEncoding fileEncoding_ = charset::TFileEncoding::Bytes;
    charset::TReplacementLog loadReplacements_;
    TSplitLines loadSplitLines_;
};

class TOvcTextFileEditor : public TOvcCustomTextFileEditor {
    Q_OBJECT
  public:
    using TOvcCustomTextFileEditor::TOvcCustomTextFileEditor;
};

}  // namespace tomery::editor
