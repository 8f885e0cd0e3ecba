// The editor's commands: ProcessCommand with its table from command codes to actions, the
// caret and selection moves, and how key presses reach it.
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <array>

#include "OvcCharset.h"
#include "OvcEdit.h"
#include "OvcKeyMap.h"

namespace tomery::editor {

class TOvcCustomEditor::Commands {
  public:
    using Action = void (*)(TOvcCustomEditor& editor, std::uint16_t character);
    struct Entry {
        Action Run = nullptr;        ///< null: the command is not handled
        bool FiresOnChange = false;  ///< OnChange follows, whether or not the text changed
    };
    using Table = std::array<Entry, ccUserFirst>;
    using Move = void (*)(TOvcCustomEditor& editor, bool extend);

    static constexpr Table MakeTable();
    /// Runs the command's action without OnChange; false when it has none.
    static bool Run(TOvcCustomEditor& editor, CommandCode command, std::uint16_t character);
    static bool FiresOnChange(CommandCode command);

    static void Left(TOvcCustomEditor& e, bool extend) { e.caretLeft(extend); }
    static void Right(TOvcCustomEditor& e, bool extend);
    static void Up(TOvcCustomEditor& e, bool extend) { e.moveCaret(0, -1, false, extend, false); }
    static void Down(TOvcCustomEditor& e, bool extend) { e.moveCaret(0, 1, false, extend, false); }
    static void PrevPage(TOvcCustomEditor& e, bool extend) { Page(e, -1, extend); }
    static void NextPage(TOvcCustomEditor& e, bool extend) { Page(e, 1, extend); }
    static void Page(TOvcCustomEditor& e, std::int32_t direction, bool extend);
    static void Home(TOvcCustomEditor& e, bool extend);
    static void End(TOvcCustomEditor& e, bool extend);
    static void FirstPage(TOvcCustomEditor& e, bool extend);
    static void LastPage(TOvcCustomEditor& e, bool extend);
    static void TopOfPage(TOvcCustomEditor& e, bool extend);
    static void BotOfPage(TOvcCustomEditor& e, bool extend);
    static void WordLeft(TOvcCustomEditor& e, bool extend);
    static void WordRight(TOvcCustomEditor& e, bool extend);
    /// The bookmark number a command's character argument names; above 9 for none.
    static std::size_t MarkerIndex(std::uint16_t character) {
        return static_cast<std::uint8_t>(character - '0');
    }

  private:
    /// A move command and its extending twin.
    template <Move move>
    static constexpr void setMove(Table& table, CommandCode plain, CommandCode extend) {
        table[plain].Run = [](TOvcCustomEditor& e, std::uint16_t) { move(e, false); };
        table[extend].Run = [](TOvcCustomEditor& e, std::uint16_t) { move(e, true); };
    }
};

namespace {

using Editor = TOvcCustomEditor;
using C = TOvcCustomEditor::Commands;

}  // namespace

constexpr C::Table C::MakeTable() {
    Table t{};
    setMove<Left>(t, ccLeft, ccExtendLeft);
    setMove<Right>(t, ccRight, ccExtendRight);
    setMove<Up>(t, ccUp, ccExtendUp);
    setMove<Down>(t, ccDown, ccExtendDown);
    setMove<PrevPage>(t, ccPrevPage, ccExtendPgUp);
    setMove<NextPage>(t, ccNextPage, ccExtendPgDn);
    setMove<Home>(t, ccHome, ccExtendHome);
    setMove<End>(t, ccEnd, ccExtendEnd);
    setMove<FirstPage>(t, ccFirstPage, ccExtFirstPage);
    setMove<LastPage>(t, ccLastPage, ccExtLastPage);
    setMove<TopOfPage>(t, ccTopOfPage, ccExtTopOfPage);
    setMove<BotOfPage>(t, ccBotOfPage, ccExtBotOfPage);
    setMove<WordLeft>(t, ccWordLeft, ccExtWordLeft);
    setMove<WordRight>(t, ccWordRight, ccExtWordRight);
    for (CommandCode i = 0; i < 10; ++i) {
        t[ccGotoMarker0 + i].Run = [](Editor& e, std::uint16_t c) { e.GotoMarker(MarkerIndex(c)); };
        t[ccSetMarker0 + i].Run = [](Editor& e, std::uint16_t c) { e.SetMarker(MarkerIndex(c)); };
    }
    t[ccCtrlChar].Run = [](Editor&, std::uint16_t) {};
    t[ccCopy].Run = [](Editor& e, std::uint16_t) {
        if (e.SelectionAvailable()) {
            e.CopyToClipboard();
        }
    };
    t[ccCut] = {[](Editor& e, std::uint16_t) { e.CutToClipboard(); }, true};
    t[ccDel] = {[](Editor& e, std::uint16_t) { e.deleteForward(); }, true};
    t[ccBack] = {[](Editor& e, std::uint16_t) { e.backspace(); }, true};
    t[ccDelBol] = {[](Editor& e, std::uint16_t) { e.deleteToLineStart(); }, true};
    t[ccDelEol] = {[](Editor& e, std::uint16_t) { e.deleteToLineEnd(); }, true};
    t[ccDelLine] = {[](Editor& e, std::uint16_t) { e.deleteLine(); }, true};
    t[ccDelWord] = {[](Editor& e, std::uint16_t) { e.deleteWord(); }, true};
    // The new-line action fires OnChange itself, only when it changed the text.
    t[ccNewLine].Run = [](Editor& e, std::uint16_t) { e.newLine(); };
    t[ccTab] = {[](Editor& e, std::uint16_t) { e.tab(); }, true};
    t[ccPaste] = {[](Editor& e, std::uint16_t) { e.PasteFromClipboard(); }, true};
    t[ccUndo] = {[](Editor& e, std::uint16_t) { e.Undo(); }, true};
    t[ccRedo] = {[](Editor& e, std::uint16_t) { e.Redo(); }, true};
    t[ccIns].Run = [](Editor& e, std::uint16_t) { e.SetInsertMode(!e.InsertMode()); };
    t[ccScrollDown].Run = [](Editor& e, std::uint16_t) { e.Scroll(0, 1); };
    t[ccScrollUp].Run = [](Editor& e, std::uint16_t) { e.Scroll(0, -1); };
    t[ccTypeChar] = {[](Editor& e, std::uint16_t c) { e.typeCharacter(static_cast<char>(c)); },
                     true};
    return t;
}

namespace {

constexpr C::Table kCommands = C::MakeTable();

}  // namespace

bool C::Run(Editor& editor, CommandCode command, std::uint16_t character) {
    if (command >= ccUserFirst || kCommands[command].Run == nullptr) {
        return false;
    }
    kCommands[command].Run(editor, character);
    return true;
}

bool C::FiresOnChange(CommandCode command) {
    return command < ccUserFirst && kCommands[command].FiresOnChange;
}

bool TOvcCustomEditor::ProcessCommand(CommandCode command, std::uint16_t character) {
    if (command >= ccUserFirst) {
        DoOnUserCommand(command);
        return true;
    }
    if (!Commands::Run(*this, command, character)) {
        return false;
    }
    if (Commands::FiresOnChange(command)) {
        DoOnChange();
    }
    return true;
}

// Moves.

void TOvcCustomEditor::caretLeft(bool extend) {
    const std::int32_t pos = CaretParaPos();
    if (pos >= 2) {
        MoveCaretToPara(caretPara_, pos - 1, extend);
    } else if (wrapAtLeft_ && caretLine_ > 1) {
        MoveCaretTo(caretLine_ - 1, paraList_->GetLineLength(caretLine_ - 1) + 1, extend);
    }
}

void C::Right(Editor& e, bool extend) {
    const std::int32_t pos = e.CaretParaPos();
    if (pos <= e.paraList_->GetParaLength(e.caretPara_) || e.scrollPastEnd_) {
        e.MoveCaretToPara(e.caretPara_, pos + 1, extend);
    } else {
        e.MoveCaretTo(e.caretLine_ + 1, 1, extend);
    }
}

void C::Page(Editor& e, std::int32_t direction, bool extend) {
    const std::int32_t page = e.visibleLines_ > 1 ? e.visibleLines_ - 1 : 1;
    e.moveCaret(0, direction * page, false, extend, true);
}

void C::Home(Editor& e, bool extend) {
    e.MoveCaretTo(e.caretLine_, 1, extend);
}

void C::End(Editor& e, bool extend) {
    e.MoveCaretTo(e.caretLine_, e.paraList_->GetLineLength(e.caretLine_) + 1, extend);
}

void C::FirstPage(Editor& e, bool extend) {
    e.MoveCaretTo(1, 1, extend);
}

void C::LastPage(Editor& e, bool extend) {
    const std::int32_t last = e.LineCount();
    e.MoveCaretTo(last, e.paraList_->GetLineLength(last) + 1, extend);
}

void C::TopOfPage(Editor& e, bool extend) {
    if (e.caretLineVisible()) {
        e.moveCaret(0, e.topLine_ - e.caretLine_, false, extend, false);
    } else if (!extend) {
        e.Scroll(0, e.caretLine_ - e.topLine_);
    }
}

void C::BotOfPage(Editor& e, bool extend) {
    if (e.caretLineVisible()) {
        const std::int32_t last = std::min(e.topLine_ + e.visibleLines_ - 1, e.LineCount());
        e.moveCaret(0, last - e.caretLine_, false, extend, false);
    } else if (!extend) {
        e.Scroll(0, std::max(1, e.caretLine_ - e.visibleLines_ + 1) - e.topLine_);
    }
}

void C::WordLeft(Editor& e, bool extend) {
    const std::int32_t pos = e.CaretParaPos();
    if (pos <= 1) {
        if (e.caretPara_ > 1) {
            e.MoveCaretTo(e.caretLine_ - 1, e.paraList_->GetLineLength(e.caretLine_ - 1) + 1,
                          extend);
        }
        return;
    }
    const std::string_view text = e.paraList_->GetPara(e.caretPara_)->Text();
    const auto delimiter = [&](std::int32_t i) {
        return IsWordDelimiter(static_cast<unsigned char>(text[i]));
    };
    std::int32_t i = std::min<std::int32_t>(pos - 1, static_cast<std::int32_t>(text.size())) - 1;
    while (i >= 0 && delimiter(i)) {
        --i;
    }
    while (i >= 0 && !delimiter(i)) {
        --i;
    }
    e.MoveCaretToPara(e.caretPara_, i + 2, extend);
}

void C::WordRight(Editor& e, bool extend) {
    const std::int32_t pos = e.CaretParaPos();
    const std::string_view text = e.paraList_->GetPara(e.caretPara_)->Text();
    const auto length = static_cast<std::int32_t>(text.size());
    if (pos > length) {
        e.MoveCaretTo(e.caretLine_ + 1, 1, extend);
        return;
    }
    const auto delimiter = [&](std::int32_t i) {
        return IsWordDelimiter(static_cast<unsigned char>(text[i]));
    };
    std::int32_t i = pos - 1;
    while (i < length && !delimiter(i)) {
        ++i;
    }
    while (i < length && delimiter(i)) {
        ++i;
    }
    e.MoveCaretToPara(e.caretPara_, i + 1, extend);
}

// Keys.

namespace {

ModifierSet ModifiersOf(Qt::KeyboardModifiers modifiers) {
    return ((modifiers & Qt::ShiftModifier) ? modifier::Shift : 0) |
           ((modifiers & Qt::ControlModifier) ? modifier::Ctrl : 0) |
           ((modifiers & Qt::AltModifier) ? modifier::Alt : 0);
}

}  // namespace

void TOvcCustomEditor::keyPressEvent(QKeyEvent* event) {
    if (Controller() == nullptr) {
        event->ignore();
        return;
    }
    const ModifierSet modifiers = ModifiersOf(event->modifiers());
    const KeyCode virtualKey = QtKeyToVirtualKey(event->key(), (modifiers & modifier::Shift) != 0,
                                                 event->nativeScanCode());
    TOvcCommandProcessor& processor = Controller()->EntryCommands();
    const bool ctrl = (modifiers & modifier::Ctrl) != 0;
    const bool alt = (modifiers & modifier::Alt) != 0;
    if (alt) {
        if (virtualKey == key::Tab || virtualKey == key::Alt || virtualKey == 0) {
            event->ignore();
            return;
        }
        const CommandCode command = processor.TranslateKey(virtualKey, modifiers);
        if (command != ccNone && ProcessCommand(command, virtualKey)) {
            event->accept();
        } else {
            event->ignore();
        }
        return;
    }
    const CommandCode command =
        virtualKey != 0 ? processor.TranslateKey(virtualKey, modifiers) : CommandCode{ccNotCommand};
    if (ProcessCommand(command, virtualKey)) {
        event->accept();
        return;
    }
    // Tab and Enter wanted by the editor are its own even where their action has nothing to
    // do, so that they never reach the dialog.
    bool handled = false;
    if (virtualKey == key::Tab && wantTab_) {
        Commands::Run(*this, ccTab, virtualKey);
        handled = true;
    } else if (virtualKey == key::Enter && wantEnter_) {
        Commands::Run(*this, ccNewLine, virtualKey);
        handled = true;
    }
    suppressChar_ = command == ccKeyPending || virtualKey == key::Backspace;
    // A key pressed with Ctrl types nothing: an unbound Ctrl+; or Ctrl+= is no character.
    // (AltGr, which types the third symbols of a key, does not count as Ctrl here.)
    if (!handled && !suppressChar_ && !ctrl) {
        handled = typeText(event->text());
    }
    if (handled) {
        event->accept();
    } else {
        TOvcEditBase::keyPressEvent(event);
    }
}

bool TOvcCustomEditor::typeText(const QString& text) {
    charset::TReplacementLog log;
    bool typed = false;
    for (const char c : TextToBytes(text, *characterSet_, &log)) {
        if (static_cast<unsigned char>(c) >= 32) {
            ProcessCommand(ccTypeChar, static_cast<unsigned char>(c));
            typed = true;
        }
    }
    if (typed && !log.Empty() && !GetReadOnly()) {
        DoOnCharactersReplaced(log);
    }
    return typed;
}

// Input methods and dead keys: what they compose arrives committed, as typed text, and
// joins the undo step of the typing around it as a typed key does.

void TOvcCustomEditor::inputMethodEvent(QInputMethodEvent* event) {
    const QString committed = event->commitString();
    if (!committed.isEmpty() && !GetReadOnly()) {
        typeText(committed);
    }
    event->accept();
}

QVariant TOvcCustomEditor::inputMethodQuery(Qt::InputMethodQuery query) const {
    switch (query) {
        case Qt::ImEnabled:
            return !GetReadOnly();
        case Qt::ImCursorRectangle: {
            // The caret's cell, in the coordinates of the control (the text is drawn on its
            // viewport), so that a candidate window opens beside it.
            const QPoint cell = caret_->CellPosition();
            return QRect(viewport()->mapTo(this, cell), QSize(charWidth_, lineHeight_));
        }
        case Qt::ImFont:
            return fixedFont_.Font();
        case Qt::ImHints:
            return static_cast<int>(Qt::ImhMultiLine);
        default:
            return TOvcEditBase::inputMethodQuery(query);
    }
}

}  // namespace tomery::editor
