// Printing the editor's text: the lines of the whole text or of the selection, written
// through a plain line printer in the editor's font.
#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QString>

#include <functional>
#include <string>

class QPrinter;

namespace tomery::editor {
class TOvcCustomEditor;
}

namespace tomery::app {

/// Hands every line to print to `write`, one per display line with tabs expanded. For the
/// selection, the first line keeps its horizontal position (blanks stand for what lies
/// before the selection) and the last line ends where the selection ends.
void ForEachLineToPrint(editor::TOvcCustomEditor& editor, bool selectionOnly,
                        const std::function<void(const std::string&)>& write);

/// A line printer on a paged device: each line starts at the left edge of the printable area
/// below the previous one; the line height is the text's height plus 2 device units; a line
/// wider than the page goes on in the next printed line from the last character that fits;
/// a page ends once the next line would start below the page height less two line heights.
/// The job begins with the printer and ends with it, whatever happens in between.
class TLinePrinter {
  public:
    /// Raises a std::runtime_error when the printer refuses the job.
    TLinePrinter(QPrinter& printer, const QFont& font, const QColor& color);
    ~TLinePrinter();
    TLinePrinter(const TLinePrinter&) = delete;
    TLinePrinter& operator=(const TLinePrinter&) = delete;

    /// Raises a std::runtime_error when a new page cannot be started.
    void WriteLine(const QString& line);

  private:
    /// Characters of `text` that fit the page width; at least one.
    qsizetype FittingLength(const QString& text) const;
    void NextLine();

    QPrinter& printer_;
    QPainter painter_;
    int lineHeight_ = 0;
    int ascent_ = 0;
    int y_ = 0;
    bool pageFull_ = false;  ///< the next line starts a new page
};

/// Prints the editor's text (or its selection) to `printer` in the editor's fixed font.
void PrintEditorText(QPrinter& printer, editor::TOvcCustomEditor& editor, bool selectionOnly);

}  // namespace tomery::app
