// The viewer window: a second document, read-only, or one of the logs, beside the main
// window; in document mode a right click (or the menu key) opens the bookmark list.
#pragma once

#include "CharacterSet.h"
#include "OvcEditP.h"
#include "ViewBookmarks.h"
#include "WorkProgress.h"

#include <QSize>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

namespace tomery::app {
class TModalUi;
}
namespace tomery::editor {
class TOvcControllerComponent;
class TOvcTextFileEditor;
}  // namespace tomery::editor

namespace tomery::viewer {

class TBMLBox;

class TViewBox : public QWidget {
    Q_OBJECT
  public:
    /// `ui` (not owned, outlives the window) shows the viewer's messages and the list.
    explicit TViewBox(app::TModalUi& ui, QWidget* parent = nullptr);

    editor::TOvcTextFileEditor& TextViewer() { return *TextViewer1; }
    TBMLBox& BookmarkList() { return *BMLBox; }
    bool DocumentMode() const { return documentMode_; }
    /// The file last loaded as a document (a DOC file's own path) and its caption; the
    /// Reload list takes them from here.
    const std::string& DocumentPath() const { return documentPath_; }
    const std::string& DocumentTitle() const { return documentTitle_; }

    /// The set the viewer shows its documents in; the main window gives it its own.
    void SetCharacterSet(const charset::TCharacterSet& set);
    /// Shows a DOC file (decoded into "Conversion.txt", its bytes as they are, captioned with
    /// its document name) or any other file (read as its bytes tell, UTF-8 or the set's
    /// bytes, captioned with its file name) as a document. Captions are UTF-8. A failed conversion
    /// or a missing file is reported and leaves the viewer as it was; so does a cancel of
    /// `progress`, which hears how far the conversion and the load got, and says nothing.
    void LoadDocument(const std::string& path, const TWorkProgress& progress = {});
    /// Shows `path` in document mode, word wrap on, 400 x 400 at the screen's top left.
    /// False, after the " not found" message, when the file does not exist.
    bool ShowDocument(const std::string& path, const std::string& caption);
    /// Shows a log: 600 x 400, word wrap as `wordWrap` says, no bookmarks.
    bool ShowLog(const std::string& path, const std::string& caption, bool wordWrap);

    /// The marker bookmarks of the shown text, then the DOC file's stored ones that fit it.
    std::vector<TBookmark> Bookmarks();
    /// In document mode: "No bookmarks found", or the modal list and then the jump to the
    /// remembered bookmark. Nothing in log mode.
    void OpenBookmarkList();
    /// The caret to the bookmark's display line under the current wrap, that line on top.
    void GoToBookmark(const TBookmark& bookmark);

    /// Runs when the window is closed (it is only hidden).
    std::function<void()> OnClose;

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    /// LoadDocument, its cancel raising EWorkCancelled.
    void ShowDocumentFile(const std::string& path, const TWorkProgress& progress);
    /// Shows the text that `load` puts into the viewer from the file at `path`.
    bool ShowFile(const std::string& path, const std::string& caption, bool wordWrap, QSize size,
                  bool documentMode, const std::function<void()>& load);
    void TextViewer1MouseDown(Qt::MouseButton button);

    app::TModalUi& ui_;
    editor::TOvcControllerComponent* controller_ = nullptr;
    editor::TOvcTextFileEditor* TextViewer1 = nullptr;
    TBMLBox* BMLBox = nullptr;
    bool documentMode_ = false;
    std::string documentPath_;
    std::string documentTitle_;
    std::string docName_;  ///< the DOC reader's name argument for the viewer's documents
    /// Those of the DOC file in view, in its paragraphs.
    std::vector<editor::TStoredBookmark> storedBookmarks_;
};

}  // namespace tomery::viewer
