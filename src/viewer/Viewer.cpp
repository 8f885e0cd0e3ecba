#include "Viewer.h"

#include "Conversion.h"
#include "DocFileRule.h"
#include "FileAccess.h"
#include "ModalUi.h"
#include "OvcBase.h"
#include "OvcEdit.h"
#include "ProgramFolder.h"
#include "StoredBookmarkPlaces.h"
#include "ViewBML.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

#include <filesystem>

namespace tomery::viewer {

namespace {

const QSize kDocumentSize(400, 400);

}  // namespace

TViewBox::TViewBox(app::TModalUi& ui, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      ui_(ui) {
    controller_ = new editor::TOvcControllerComponent(this);
    editor::TOvcCommandProcessor& commands = controller_->Controller().EntryCommands();
    commands.Clear();
    commands.AddBuiltInTable(editor::TBuiltInTable::Default, true);
    commands.AddBuiltInTable(editor::TBuiltInTable::WordStar, false);
    commands.AddBuiltInTable(editor::TBuiltInTable::Grid, false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    TextViewer1 = new editor::TOvcTextFileEditor(this);
    layout->addWidget(TextViewer1);
    TextViewer1->SetController(&controller_->Controller());
    TextViewer1->SetReadOnly(true);
    TextViewer1->FixedFont().SetName(QStringLiteral("Fixedsys"));
    TextViewer1->FixedFont().SetSize(8);
    TextViewer1->SetLeftMargin(5);
    TextViewer1->SetWordWrap(true);
    TextViewer1->SetWrapColumn(31);
    TextViewer1->SetWrapToWindow(true);
    TextViewer1->Carets().CaretOvr().SetShape(editor::TOvcCaretShape::csBlock);
    TextViewer1->HighlightColors().SetUseDefault(true);
    TextViewer1->SetHideSelection(false);
    TextViewer1->SetBackupExt("BAK");
    TextViewer1->viewport()->installEventFilter(this);

    BMLBox = new TBMLBox(this);

    // The keyboard's ways to the bookmark list, and Esc to put the viewer away.
    for (const char* keys : {"Shift+F10", "Menu"}) {
        connect(new QShortcut(QKeySequence(QString::fromLatin1(keys)), this), &QShortcut::activated,
                this, [this] { OpenBookmarkList(); });
    }
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            [this] { close(); });
}

void TViewBox::LoadDocument(const std::string& path, const TWorkProgress& progress) {
    try {
        ShowDocumentFile(path, progress);
    } catch (const EWorkCancelled&) {
        // Nothing was replaced: the viewer stays as it was.
    }
}

void TViewBox::ShowDocumentFile(const std::string& path, const TWorkProgress& progress) {
    std::string shown = path;
    std::string caption = std::filesystem::path(path).filename().string();
    const bool isDoc = IsDocFile(path);
    doc::DocTextFindings findings;
    if (isDoc) {
        shown = ProgramFilePath("Conversion.txt");
        doc::ConversionOptions options = doc::BuiltInConversionOptions();
        options.progress = StepProgress(progress, 0, 500);
        if (!doc::ConvertDocToText(path, shown, docName_, options, &findings)) {
            ui_.MessageBox("Error", "Conversion Error. View Log file.", app::TMsgIcon::Error,
                           {app::TMsgButton::Ok});
            return;
        }
        caption = TextViewer1->CharacterSet().ToUtf8(docName_);
    }
    const auto load = [&] {
        // A DOC file's text is the set's bytes, whatever they look like.
        TextViewer1->LoadWithProgress(
            shown, isDoc ? std::optional(charset::TFileEncoding::Bytes) : std::nullopt,
            isDoc ? StepProgress(progress, 500, 1000) : progress);
    };
    if (!ShowFile(shown, caption, true, kDocumentSize, true, load)) {
        return;
    }
    documentPath_ = path;
    documentTitle_ = caption;
    // Placed by the lines and columns of the DOC's own text, which the shown paragraphs may
    // have cut or trimmed.
    storedBookmarks_ = StoredBookmarksAt(findings.bookmarks, TextViewer1->ParaList());
    BMLBox->SetRememberedIndex(0);
}

void TViewBox::SetCharacterSet(const charset::TCharacterSet& set) {
    TextViewer1->SetCharacterSet(set);
}

bool TViewBox::ShowDocument(const std::string& path, const std::string& caption) {
    return ShowFile(path, caption, true, kDocumentSize, true,
                    [this, &path] { TextViewer1->LoadFromFile(path); });
}

bool TViewBox::ShowLog(const std::string& path, const std::string& caption, bool wordWrap) {
    return ShowFile(path, caption, wordWrap, QSize(600, 400), false, [this, &path] {
        // A log's lines are the document's bytes, but the file names in them are UTF-8.
        const std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(path);
        if (!bytes) {
            throw editor::EInOutError(EIO);
        }
        TextViewer1->LoadFromMemory(
            path, TextViewer1->CharacterSet().FromMixedBytes(std::string_view(
                      reinterpret_cast<const char*>(bytes->data()), bytes->size())));
    });
}

bool TViewBox::ShowFile(const std::string& path, const std::string& caption, bool wordWrap,
                        QSize size, bool documentMode, const std::function<void()>& load) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        ui_.MessageBox("Error", path + " not found", app::TMsgIcon::Error, {app::TMsgButton::Ok});
        return false;
    }
    // Loading replaces the text only when it succeeds; a failure leaves the viewer as it was.
    load();
    setWindowTitle(QString::fromStdString(caption));
    TextViewer1->SetWordWrap(wordWrap);
    setWindowState(Qt::WindowNoState);
    const QScreen* screen = QGuiApplication::primaryScreen();
    move(screen != nullptr ? screen->geometry().topLeft() : QPoint(0, 0));
    resize(size);
    documentMode_ = documentMode;
    show();
    raise();
    activateWindow();
    TextViewer1->setFocus();
    return true;
}

std::vector<TBookmark> TViewBox::Bookmarks() {
    std::vector<std::string> paragraphs;
    for (const editor::TParaNode* node = TextViewer1->ParaList().Head(); node != nullptr;
         node = node->Next) {
        paragraphs.emplace_back(node->Text());
    }
    std::vector<TBookmark> bookmarks = FindMarkedBookmarks(paragraphs);
    for (const editor::TStoredBookmark& stored : storedBookmarks_) {
        bookmarks.push_back({stored.Place.Para, stored.Place.Pos, stored.Name});
    }
    return bookmarks;
}

void TViewBox::OpenBookmarkList() {
    if (!documentMode_) {
        return;
    }
    const std::vector<TBookmark> bookmarks = Bookmarks();
    if (bookmarks.empty()) {
        ui_.MessageBox("Warning", "No bookmarks found", app::TMsgIcon::Warning,
                       {app::TMsgButton::Ok});
        return;
    }
    std::vector<std::string> titles;
    for (const TBookmark& bookmark : bookmarks) {
        titles.push_back(TextViewer1->CharacterSet().ToUtf8(bookmark.Title));
    }
    BMLBox->Fill(titles);
    ui_.ShowDialog(*BMLBox);
    const int chosen = BMLBox->RememberedIndex();
    if (chosen >= 0 && chosen < static_cast<int>(bookmarks.size())) {
        GoToBookmark(bookmarks[static_cast<std::size_t>(chosen)]);
    }
}

void TViewBox::GoToBookmark(const TBookmark& bookmark) {
    std::int32_t line = bookmark.Para;
    std::int32_t column = bookmark.Pos;
    TextViewer1->ParaToLine(line, column);
    TextViewer1->SetCaretPosition(line, column);
    TextViewer1->SetTopLine(line);
}

void TViewBox::TextViewer1MouseDown(Qt::MouseButton button) {
    if (button == Qt::RightButton && documentMode_) {
        OpenBookmarkList();
    }
}

bool TViewBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == TextViewer1->viewport() && event->type() == QEvent::MouseButtonPress) {
        TextViewer1MouseDown(static_cast<QMouseEvent*>(event)->button());
    }
    return QWidget::eventFilter(watched, event);
}

void TViewBox::closeEvent(QCloseEvent* event) {
    event->accept();
    if (OnClose) {
        OnClose();
    }
}

}  // namespace tomery::viewer
