#include "EditMain.h"

#include "EditAbout.h"
#include "EditFind.h"
#include "EditInst.h"
#include "EditMain_Bookmarks.h"
#include "EditMain_Compare.h"
#include "EditMain_Document.h"
#include "EditMain_Logo.h"
#include "EditMain_Shortcuts.h"
#include "EditMain_View.h"
#include "EditMain_Window.h"
#include "EditMain_WorkGuard.h"
#include "EditRepl.h"
#include "EditStat.h"
#include "ErrorHandler.h"
#include "LogErrorBox.h"
#include "LongWork.h"
#include "OvcBase.h"
#include "OvcCmd.h"
#include "OvcEdit.h"
#include "PathText.h"
#include "ProgramFolder.h"
#include "QtModalUi.h"
#include "StoredBookmarkPlaces.h"
#include "RecentlyUsed.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPrinter>
#include <QResizeEvent>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <functional>

namespace tomery::app {

namespace {

/// The area above the status bar: the editor fills it, the logo is centred in it.
class TClientArea : public QWidget {
  public:
    explicit TClientArea(std::function<void()> resized) : resized_(std::move(resized)) {}

  protected:
    void resizeEvent(QResizeEvent*) override { resized_(); }

  private:
    std::function<void()> resized_;
};

}  // namespace

/// The workflow's view of the editor control. `splitLines` hears of the lines a load cut.
class TEditorDocument : public TDocumentEditor {
  public:
    TEditorDocument(editor::TOvcTextFileEditor& editor,
                    std::function<void(const editor::TSplitLines&)> splitLines)
        : editor_(editor), splitLines_(std::move(splitLines)) {}

    void SetFileName(const std::string& path) override { editor_.SetFileName(path); }
    bool Modified() const override { return editor_.Modified(); }
    std::uint64_t ChangeCount() const override { return editor_.ParaList().ChangeCount(); }
    void SetModified(bool modified) override { editor_.SetModified(modified); }
    std::int64_t TextLength() const override { return editor_.TextLength(); }
    void NewFile(const std::string& name, const charset::TCharacterSet& set) override {
        editor_.NewFile(name);
        editor_.SetCharacterSet(set);
    }
    void LoadFromFile(const std::string& path, const TReading& reading,
                      const TWorkProgress& progress) override {
        LoadText(reading, [&] { editor_.LoadWithProgress(path, reading.Encoding, progress); });
    }
    void LoadFromStream(const std::string& path, editor::TTextStream& stream,
                        const TReading& reading, const TWorkProgress& progress) override {
        LoadText(reading, [&] { editor_.LoadFromStream(path, stream, progress); });
    }
    TReading CurrentReading() const override {
        return {&editor_.CharacterSet(), editor_.FileEncoding()};
    }
    const charset::TReplacementLog& LoadReplacements() const override {
        return editor_.LoadReplacements();
    }
    void SaveToFile(const std::string& path, const TWorkProgress& progress) override {
        editor_.SaveWithProgress(path, progress);
    }
    void SaveConversionText(const std::string& path, const TWorkProgress& progress) override {
        AsConversionText([&] { editor_.SaveWithProgress(path, progress); });
    }
    std::string TextBytes(bool conversionText) override {
        std::string bytes;
        if (conversionText) {
            AsConversionText([&] { bytes = editor_.FileBytes(); });
        } else {
            bytes = editor_.FileBytes();
        }
        return bytes;
    }
    std::int32_t CaretParagraph() const override { return editor_.CaretPara(); }
    void MoveCaretToParagraph(std::int32_t para) override {
        editor_.MoveCaretToPara(std::clamp(para, 1, editor_.ParaCount()), 1, false);
    }
    void SetStoredBookmarks(const std::vector<doc::TBookmarkPlace>& places) override {
        editor_.ParaList().SetStoredBookmarks(viewer::StoredBookmarksAt(places, editor_.ParaList()));
    }
    std::vector<doc::TBookmarkPlace> StoredBookmarkPlaces() override {
        return viewer::PlacesOfStoredBookmarks(editor_.ParaList());
    }
    std::vector<doc::TBookmarkToStore> StoredBookmarksToSave() override {
        return BookmarksToStore(editor_.ParaList());
    }
    void Close() override {
        // After New or a Save As the editor's file name is new and it no longer counts as open,
        // so closing through IsOpen alone would leave the closed text behind the logo.
        editor_.SetIsOpen(false);
        editor_.ResetText(true);
        editor_.RefreshAll(true);
    }
    void ShowAndFocus() override {
        editor_.show();  // lays the editor out when its size changed while it was hidden
        WrapToTheWindow();
        editor_.setFocus();
    }
    void Hide() override { editor_.hide(); }

  private:
    /// Runs `load` with the text held in `reading`'s set.
    template <typename Work>
    void LoadText(const TReading& reading, Work load) {
        // A hidden editor does not know the width it will show, so it loads the text unwrapped
        // and wraps it once, at the column it shows, when it appears.
        if (editor_.isHidden() && editor_.WordWrap() && editor_.WrapToWindow()) {
            columnBeforeLoad_ = editor_.WrapColumn();
            editor_.SetWordWrap(false);
        }
        // The text is converted into its set as it is read; a failed load keeps the old one.
        const charset::TCharacterSet& before = editor_.CharacterSet();
        editor_.SetCharacterSet(*reading.Set);
        try {
            load();
        } catch (...) {
            editor_.SetCharacterSet(before);
            WrapToTheWindow();
            throw;
        }
        // The load puts the caret at the start but reports it only through a caret move, which
        // an editor that keeps the focus (Revert) does not make.
        editor_.SetCaretPosition(1, 1);
        if (editor_.LoadSplitLines().Count > 0) {
            splitLines_(editor_.LoadSplitLines());
        }
    }

    /// Runs `write` with the editor writing the DOC road's text: a text loaded from an
    /// LF-only or a UTF-8 file keeps its line ends and encoding for its own file, but the DOC
    /// road reads the set's bytes with CR LF.
    template <typename Write>
    void AsConversionText(Write write) {
        const editor::TLineBreak loaded = editor_.LineBreak();
        const charset::TFileEncoding encoding = editor_.FileEncoding();
        editor_.SetLineBreak(editor::TLineBreak::CrLf);
        editor_.SetFileEncoding(charset::TFileEncoding::Bytes);
        try {
            write();
        } catch (...) {
            editor_.SetLineBreak(loaded);
            editor_.SetFileEncoding(encoding);
            throw;
        }
        editor_.SetLineBreak(loaded);
        editor_.SetFileEncoding(encoding);
    }

    /// Ends an unwrapped load: the editor wraps to its window, or, where it cannot tell the
    /// window's width, at the column it had.
    void WrapToTheWindow() {
        if (columnBeforeLoad_ == 0) {
            return;
        }
        // Without a column to wrap at, turning wrap on costs nothing; the editor's layout then
        // sets the column it shows, which is the one wrap.
        editor_.SetWrapColumn(editor::kNoWrapColumn);
        editor_.SetWordWrap(true);
        if (editor_.WrapColumn() == editor::kNoWrapColumn && editor_.isVisible()) {
            editor_.RefreshAll(false);
        }
        if (editor_.WrapColumn() == editor::kNoWrapColumn) {
            editor_.SetWrapColumn(columnBeforeLoad_);
        }
        columnBeforeLoad_ = 0;
    }

    editor::TOvcTextFileEditor& editor_;
    std::function<void(const editor::TSplitLines&)> splitLines_;
    std::int32_t columnBeforeLoad_ = 0;  ///< 0 unless a load went unwrapped
};

void TEditForm::ShowSplitLinesNotice(const editor::TSplitLines& split) {
    const std::string first = std::to_string(split.FirstLine);
    const std::string notice = split.Count == 1
                                   ? "Line " + first + " split for editing"
                                   : std::to_string(split.Count) + " long lines split for editing";
    const std::string limit = std::to_string(Editor1->ParaLengthLimit());
    status_->ShowNotice(notice, "Lines longer than " + limit +
                                    " characters show as several lines and are saved as one. "
                                    "First: line " +
                                    first + ".");
}

TEditForm::TEditForm(std::unique_ptr<TModalUi> ui, QWidget* parent)
    : QMainWindow(parent), ui_(std::move(ui)) {
    programValues_.BackupPath = ProgramFilePath("Backup.txt");
    if (!ui_) {
        ui_ = std::make_unique<TQtModalUi>(this);
    }
    logErrors_ = std::make_unique<TLogErrorBox>(*ui_);
    setWindowTitle(QStringLiteral("Tomery"));
    setWindowIcon(QIcon(ProgramPicture()));
    setAcceptDrops(true);

    client_ = new TClientArea([this] { FormResize(); });
    setCentralWidget(client_);
    Image1 = new QLabel(client_);
    Image1->setPixmap(ProgramPicture());
    Image1->resize(Image1->pixmap().size());
    Label1 = new QLabel(QStringLiteral("Tomery"), client_);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QFont logoFont(QStringLiteral("Arial"));
    logoFont.setPixelSize(32);
    logoFont.setBold(true);
    Label1->setFont(logoFont);
    Label1->setStyleSheet(QStringLiteral("color: navy"));
    Label1->resize(client_->width(), kLogoLabelHeight);

    DefaultController = new editor::TOvcControllerComponent(this);
    editor::TOvcCommandProcessor& commands = DefaultController->Controller().EntryCommands();
    commands.Clear();
    commands.AddBuiltInTable(editor::TBuiltInTable::WordStar, false);
    commands.AddBuiltInTable(editor::TBuiltInTable::Default, true);

    PopupMenu1 = new QMenu(this);
    menus_ = std::make_unique<TMainMenus>(this, menuBar(), PopupMenu1);
    // A command chosen while the menu bar is in keyboard mode (Alt, Esc out of a submenu, then
    // another menu's key) leaves the keyboard with the menu bar; it goes back to the editor.
    connect(menuBar(), &QMenuBar::triggered, this, [this] {
        QTimer::singleShot(0, this, [this] {
            if (menuBar()->hasFocus() && Editor1->isVisible()) {
                Editor1->setFocus();
            }
        });
    });
    status_ = std::make_unique<TStatusPanels>(statusBar());

    Editor1 = new editor::TOvcTextFileEditor(client_);
    Editor1->SetController(&DefaultController->Controller());
    Editor1->FixedFont().SetName(QStringLiteral("Fixedsys"));
    Editor1->FixedFont().SetSize(10);
    Editor1->SetWordWrap(true);
    Editor1->SetWrapColumn(63);
    Editor1->SetWrapToWindow(true);
    Editor1->SetTabType(editor::TTabType::ttFixed);
    Editor1->SetWantTab(true);
    Editor1->SetLeftMargin(5);
    Editor1->SetHideSelection(false);
    Editor1->Carets().CaretOvr().SetShape(editor::TOvcCaretShape::csBlock);
    Editor1->SetBackupExt("BAK");
    Editor1->setCursor(Qt::IBeamCursor);
    Editor1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Editor1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(Editor1->mapToGlobal(at)); });
    // While no document is open the status bar keeps line 0, column 0, even when the
    // editor's last report arrives after Close.
    Editor1->OnShowStatus = [this](editor::TOvcCustomEditor&, std::int32_t line,
                                   std::int32_t column) {
        if (!Editor1->isHidden()) {
            ShowStatus(line, column);
        }
    };
    Editor1->hide();
    Editor1->installEventFilter(new TEditorKeyGuard(commands, Editor1));

    document_ = std::make_unique<TEditorDocument>(
        *Editor1, [this](const editor::TSplitLines& split) { ShowSplitLinesNotice(split); });
    storedBookmarks_ = std::make_unique<TStoredBookmarksCommand>(*ui_, *Editor1, this);
    workflow_ = std::make_unique<TDocumentWorkflow>(
        *ui_, *document_, *menus_, "Tomery", programValues_.BackupPath,
        [this](const std::string& caption) { setWindowTitle(QString::fromStdString(caption)); },
        [this] { ShowStatus(0, 0); });
    workflow_->SetWorkWindow(*this);
    workGuard_ = std::make_unique<TUnsavedWorkGuard>(*this, *workflow_, *document_, *ui_);
    workflow_->SetOnSettled([this] { workGuard_->Settled(); });
    workflow_->SetOnOpened([](const std::string& path) { AddToRecentlyUsed(path); });
    ConnectCommands();
    RunGuarded(*ui_, [this] { FormCreate(); });
    AboutBox_ = new TAboutBox(this);
    InstallDlg_ = new TInstallDlg(this);
    ConnectViewerAndCompare();
    FindDlg_ = new TFindDlg(this);
    ReplDlg_ = new TReplDlg(this);
    Statistics1 = new TStatistics1(this);
    ConnectCharsetCommands();
    CharacterSetClick(workflow_->DefaultSet());
}

TEditForm::~TEditForm() {
    RunGuarded(*ui_, [this] { FormDestroy(); });
}

bool TEditForm::LogoVisible() const {
    return !Editor1->isVisible() && Image1->isVisible();
}

void TEditForm::FormCreate() {
    CenterLogo();
    BaseCaption = windowTitle().toStdString();
    IniFile = std::make_unique<TIniFile>(SettingsFilePath());
    const TFormSettings settings = ReadFormSettings(*IniFile);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect place =
        PlaceWindow({settings.width, settings.height},
                    screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768));
    resize(place.size());
    LastOpenFile = settings.lastOpenFile;
    InstallFolder = settings.installFolder;
    InstallTarget = settings.installTarget;
    Editor1->SetAutoIndent(settings.autoIndent);
    Editor1->SetTabSize(static_cast<std::uint8_t>(settings.tabSize));
    Editor1->SetWordWrap(settings.wordWrap);
    Editor1->SetTrimWhiteSpace(settings.trimTrailingBlanks);
    Editor1->FixedFont().SetName(QString::fromStdString(settings.fontName));
    Editor1->FixedFont().SetSize(settings.fontSize);
    Editor1->FixedFont().SetStyle((settings.bold ? editor::fsBold : 0) |
                                  (settings.italic ? editor::fsItalic : 0));
    workflow_->SetSaveDocCard(settings.saveDocCard);
    if (const charset::TCharacterSet* set = charset::FindCharacterSet(settings.characterSet)) {
        workflow_->SetDefaultSet(*set);
    }
    move(place.topLeft());
    menus_->Item("AutoIndentation1")->setChecked(Editor1->AutoIndent());
    menus_->Item("WordWrap1")->setChecked(Editor1->WordWrap());
    menus_->Item("TrimTrailingBlanks1")->setChecked(Editor1->TrimWhiteSpace());
    workflow_->SetDialogStart(FolderPart(LastOpenFile), LastOpenFile);
    for (const std::string& path : settings.reopenFiles) {
        workflow_->AddToReopen(path);
    }
    ShowStatus(0, 0);
    for (const char* hidden : {"HTMLTags1", "N9", "TestTool11", "TestTool21"}) {
        menus_->Item(hidden)->setVisible(false);
    }
}

void TEditForm::FormDestroy() {
    if (!IniFile) {
        return;
    }
    TShutdownState state;
    state.windowIsNormal = !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized));
    state.currentFile = workflow_->CurrentFile();
    state.docName = DocNameAsText(workflow_->DocName(), Editor1->CharacterSet());
    state.lastOpenFile = LastOpenFile;
    TFormSettings& values = state.values;
    values.width = width();
    values.height = height();
    values.autoIndent = Editor1->AutoIndent();
    values.tabSize = Editor1->TabSize();
    values.wordWrap = Editor1->WordWrap();
    values.trimTrailingBlanks = Editor1->TrimWhiteSpace();
    values.fontName = Editor1->FixedFont().Name().toStdString();
    values.fontSize = Editor1->FixedFont().Size();
    values.bold = (Editor1->FixedFont().Style() & editor::fsBold) != 0;
    values.italic = (Editor1->FixedFont().Style() & editor::fsItalic) != 0;
    values.saveDocCard = workflow_->SaveDocCard();
    values.characterSet = workflow_->DefaultSet().Name();
    values.installFolder = InstallFolder;
    values.installTarget = InstallTarget;
    values.reopenFiles = workflow_->ReopenList().ToKeep(workflow_->CurrentFile());
    WriteFormSettings(*IniFile, state);
}

void TEditForm::FormResize() {
    CenterLogo();
    Editor1->setGeometry(client_->rect());
    Editor1->SetWrapColumn(Editor1->VisibleColumns());
}

void TEditForm::CenterLogo() {
    const TLogoLayout layout = app::CenterLogo(client_->size(), Image1->size(), Label1->height());
    Image1->setGeometry(layout.picture);
    Label1->setGeometry(layout.label);
}

void TEditForm::ShowStatus(std::int32_t line, std::int32_t column) {
    status_->ShowStatus({Editor1->Modified(), line, column, Editor1->TabSize(),
                         Editor1->InsertMode(), EncodingText()});
}

void TEditForm::closeEvent(QCloseEvent* event) {
    // Long work over the document ends, or is cancelled, before the window may close.
    if (TLongWork::Running()) {
        event->ignore();
        return;
    }
    bool mayClose = false;
    RunGuarded(*ui_, [&] { mayClose = workflow_->SavePrompt(); });
    if (mayClose) {
        workGuard_->WindowClosing();
        event->accept();
    } else {
        event->ignore();
    }
}

void TEditForm::dragEnterEvent(QDragEnterEvent* event) {
    AcceptFileDrop(*event);
}

void TEditForm::dragMoveEvent(QDragMoveEvent* event) {
    AcceptFileDrop(*event);
}

void TEditForm::dropEvent(QDropEvent* event) {
    if (!AcceptFileDrop(*event)) {
        return;
    }
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (std::string path = PathFromUrl(url); !path.empty()) {
            paths.push_back(std::move(path));
        }
    }
    DropFiles(paths);
}

void TEditForm::DropFiles(const std::vector<std::string>& paths) {
    if (paths.empty()) {
        return;
    }
    RunGuarded(*ui_, [&] {
        if (workflow_->SavePrompt()) {
            workflow_->OpenInsteadOfCurrent(paths.front());
        }
    });
    if (isMinimized()) {
        showNormal();
    } else {
        raise();
        activateWindow();
    }
}

void TEditForm::OfferLeftWork() {
    workGuard_->OfferLeftCopies();
}

void TEditForm::OpenNamedFile(const std::string& path) {
    RunGuarded(*ui_, [&] { workflow_->OpenNamedFile(path); });
}

void TEditForm::Click(const std::string& item) {
    menus_->RunShortcut(item);
}

std::function<void()> TEditForm::Guarded(std::function<void()> command) {
    return [this, command = std::move(command)] { RunGuarded(*ui_, command); };
}

void TEditForm::ConnectCommands() {
    TDocumentWorkflow& workflow = *workflow_;
    const std::pair<const char*, std::function<void()>> commands[] = {
        {"New1", [&workflow] { workflow.New1Click(); }},
        {"Open1", [&workflow] { workflow.Open1Click(); }},
        {"Save1", [&workflow] { workflow.Save1Click(); }},
        {"SaveAs1", [&workflow] { workflow.SaveAs1Click(); }},
        {"Close1", [&workflow] { workflow.Close1Click(); }},
        {"Backup1", [&workflow] { workflow.Backup1Click(); }},
        {"Revert1", [&workflow] { workflow.Revert1Click(); }},
        {"Exit1", [this] { Exit1Click(); }},
        {"AboutTomery1", [this] { About1Click(); }},
        {"Undo1", [this] { UndoClick(); }},
        {"Redo1", [this] { RedoClick(); }},
        {"Cut1", [this] { CutClick(); }},
        {"Copy1", [this] { CopyClick(); }},
        {"Paste1", [this] { PasteClick(); }},
        {"Cut2", [this] { CutClick(); }},
        {"Copy2", [this] { CopyClick(); }},
        {"Paste2", [this] { PasteClick(); }},
        {"Delete1", [this] { Delete1Click(); }},
        {"SelectAll1", [this] { SelectAll1Click(); }},
        {"ClearAll1", [this] { ClearAll1Click(); }},
        {"InstallPDA1", [this] { InstallPDA1Click(); }},
        {"Find1", [this] { Find1Click(); }},
        {"FindNext1", [this] { FindNext1Click(); }},
        {"Replace1", [this] { Replace1Click(); }},
        {"GoToLine1", [this] { GotoLine1Click(); }},
        {"Bookmarks1", [this] { storedBookmarks_->Bookmarks1Click(); }},
        {"AutoIndentation1", [this] { AutoIndentation1Click(); }},
        {"Font1", [this] { Font1Click(); }},
        {"Filled1", [this] { TabTypeClick("Filled1"); }},
        {"Real1", [this] { TabTypeClick("Real1"); }},
        {"Smart1", [this] { TabTypeClick("Smart1"); }},
        {"Size1", [this] { TabSize1Click(); }},
        {"WordWrap1", [this] { WordWrap1Click(); }},
        {"TrimTrailingBlanks1", [this] { TrimTrailingBlanks1Click(); }},
        {"Print1", [this] { Print1Click(); }},
        {"FileInfo1", [this] { FileInfo1Click(); }},
        {"HelpContents1", [this] { Help2Click(); }},
        {"MarkChapters1", [this] { MarkChapters1Click(); }},
    };
    for (const auto& [item, command] : commands) {
        menus_->SetCommand(item, Guarded(command));
    }
    ConnectToolCommands();
    menus_->SetOpenHandler("File1", Guarded([this] { File1Click(); }));
    menus_->SetOpenHandler("Edit1", Guarded([this] { Edit1Click(); }));
    menus_->SetOpenHandler("Search1", Guarded([this] { Search1Click(); }));
    menus_->SetOpenHandler("PopupMenu1", Guarded([this] { PopupMenu1Popup(); }));
}

TEditorFacts TEditForm::EditorFacts() const {
    return {Editor1->TextLength(), Editor1->Modified(), Editor1->SelectionAvailable(),
            Editor1->CanUndo(), Editor1->CanRedo()};
}

void TEditForm::File1Click() {
    ApplyFileMenuRules(*menus_, EditorFacts(), workflow_->CurrentFile());
}

void TEditForm::Edit1Click() {
    const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
    ApplyEditMenuRules(*menus_, EditorFacts(), clipboard != nullptr && clipboard->hasText());
}

void TEditForm::Search1Click() {
    ApplySearchMenuRules(*menus_, Editor1->TextLength(), FindDlg_->SearchText());
    menus_->Item("Bookmarks1")->setEnabled(storedBookmarks_->Available());
}

void TEditForm::About1Click() {
    AboutBox_->SetVersion(QStringLiteral("Version " TOMERY_VERSION));
    ui_->ShowDialog(*AboutBox_);
}

void TEditForm::UndoClick() {
    Editor1->Undo();
}
void TEditForm::RedoClick() {
    Editor1->Redo();
}
void TEditForm::CutClick() {
    Editor1->CutToClipboard();
}
void TEditForm::CopyClick() {
    Editor1->CopyToClipboard();
}
void TEditForm::PasteClick() {
    Editor1->PasteFromClipboard();
}
void TEditForm::Delete1Click() {
    Editor1->ProcessCommand(editor::ccDel, 0);
}
void TEditForm::SelectAll1Click() {
    Editor1->SelectAll(false);
}

void TEditForm::ClearAll1Click() {
    if (ui_->MessageBox("Warning", "Are you sure to delete the entire text?", TMsgIcon::Warning,
                        {TMsgButton::Yes, TMsgButton::No}) == TMsgButton::No) {
        return;
    }
    SelectAll1Click();
    Editor1->ProcessCommand(editor::ccDel, 0);
}

}  // namespace tomery::app
