// The character sets in the main window: Options > Character Set, File > Reopen with
// Character Set, the status bar's set and line end, and the notice of replaced characters.
#include "CharacterSet.h"
#include "DocFileRule.h"
#include "EditFind.h"
#include "EditMain.h"
#include "EditMain_Reopen.h"
#include "EditRepl.h"
#include "OvcEdit.h"
#include "Viewer.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace tomery::app {

namespace {

constexpr char kUtf8Item[] = "UTF-8";

}  // namespace

void TEditForm::ConnectCharsetCommands() {
    auto* group = new QActionGroup(this);
    for (const charset::TCharacterSet* set : charset::AllCharacterSets()) {
        QAction* item = menus_->AppendItem("CharacterSet1", set->Caption(),
                                           Guarded([this, set] { CharacterSetClick(*set); }));
        item->setCheckable(true);
        item->setData(QString::fromStdString(set->Name()));
        group->addAction(item);
    }
    menus_
        ->AppendItem(
            "ReopenWith1", kUtf8Item, Guarded([this] {
                workflow_->ReopenWith({&Editor1->CharacterSet(), charset::TFileEncoding::Utf8});
            }))
        ->setData(QString::fromLatin1(kUtf8Item));
    menus_->Menu("ReopenWith1")->addSeparator();
    for (const charset::TCharacterSet* set : charset::AllCharacterSets()) {
        menus_->AppendItem("ReopenWith1", set->Caption(), Guarded([this, set] {
                               workflow_->ReopenWith({set, charset::TFileEncoding::Bytes});
                           }));
    }
    GiveMnemonics(*menus_->Menu("CharacterSet1"));
    GiveMnemonics(*menus_->Menu("ReopenWith1"));
    menus_->SetOpenHandler("CharacterSet1", Guarded([this] { CharacterSet1Click(); }));
    menus_->SetOpenHandler("ReopenWith1", Guarded([this] { ReopenWith1Click(); }));
    Editor1->OnCharactersReplaced = [this](editor::TOvcCustomEditor&,
                                           const charset::TReplacementLog& log) {
        ShowReplacedNotice(log);
    };
}

void TEditForm::CharacterSet1Click() {
    const QString current = QString::fromStdString(Editor1->CharacterSet().Name());
    for (QAction* item : menus_->Menu("CharacterSet1")->actions()) {
        item->setChecked(item->data().toString() == current);
    }
}

void TEditForm::ReopenWith1Click() {
    // A DOC file records no set: its text is bytes, which any set may show, but never UTF-8.
    const bool isDoc = IsDocFile(workflow_->CurrentFile());
    for (QAction* item : menus_->Menu("ReopenWith1")->actions()) {
        if (item->data().toString() == QLatin1String(kUtf8Item)) {
            item->setEnabled(!isDoc);
        }
    }
}

void TEditForm::CharacterSetClick(const charset::TCharacterSet& set) {
    workflow_->SetDefaultSet(set);
    ViewBox_->SetCharacterSet(set);
    FindDlg_->SetCharacterSet(set);
    ReplDlg_->SetCharacterSet(set);
    // An unchanged Unicode file is read again into the new set, so that its characters stay
    // and what the old set lacked may now be held; any other text keeps its bytes, which the
    // new set shows as its own characters.
    if (!Editor1->isHidden() && !Editor1->Modified() &&
        Editor1->FileEncoding() != charset::TFileEncoding::Bytes &&
        workflow_->CurrentFile() != kUntitled && !IsDocFile(workflow_->CurrentFile())) {
        std::int32_t column = 1;
        const std::int32_t line = Editor1->GetCaretPosition(column);
        workflow_->OpenDocument(workflow_->CurrentFile(), {&set, std::nullopt});
        Editor1->SetCaretPosition(std::min(line, Editor1->LineCount()), 1);
    } else {
        Editor1->SetCharacterSet(set);
        if (!Editor1->isHidden()) {
            workflow_->UpdateCaption();
        }
    }
    RefreshStatus();
}

std::string TEditForm::EncodingText() const {
    return EncodingStatusText(Editor1->CharacterSet().ShortName(),
                              std::string(charset::EncodingName(Editor1->FileEncoding())),
                              Editor1->LineBreak() == editor::TLineBreak::Lf);
}

void TEditForm::ShowReplacedNotice(const charset::TReplacementLog& log) {
    // The panel is narrow: the count and the first replacement; the tool tip has the rest.
    std::string notice = log.Count() == 1 ? "Replaced" : "Replaced " + std::to_string(log.Count());
    if (!log.First().empty()) {
        notice += ": " + log.First().front().Original + " \u2192 " + log.First().front().Shown;
    }
    status_->ShowNotice(notice, log.Details());
}

}  // namespace tomery::app
