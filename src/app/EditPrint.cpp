#include "EditPrint.h"

#include "OvcCharset.h"
#include "OvcEdit.h"

#include <QFontMetrics>
#include <QPrinter>

#include <algorithm>
#include <stdexcept>

namespace tomery::app {

namespace {

/// Screen columns taken by the characters of `line` before character column `column`.
std::size_t DisplayWidthBefore(std::string_view line, std::int32_t column, std::uint8_t tabSize) {
    const std::size_t count = std::min<std::size_t>(line.size(), std::max(column - 1, 0));
    return editor::ExpandTabs(line.substr(0, count), tabSize).size();
}

std::string PrintTarget(const QPrinter& printer) {
    const QString target =
        printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
    return target.toStdString();
}

}  // namespace

void ForEachLineToPrint(editor::TOvcCustomEditor& editor, bool selectionOnly,
                        const std::function<void(const std::string&)>& write) {
    std::int32_t line1 = 0;
    std::int32_t column1 = 0;
    std::int32_t line2 = 0;
    std::int32_t column2 = 0;
    const bool selected = selectionOnly && editor.GetSelection(line1, column1, line2, column2);
    if (!selected) {
        line1 = 1;
        line2 = editor.LineCount();
    }
    for (std::int32_t line = line1; line <= line2; ++line) {
        // The whole line, however long: the printer continues it on the next printed line.
        std::string printable = editor.GetStringLine(line);
        if (selected) {
            // Tabs are expanded, so the selection's character columns become screen columns.
            const std::string_view text = editor.ParaList().GetLine(line).Text;
            if (line == line2) {
                printable.resize(std::min(printable.size(),
                                          DisplayWidthBefore(text, column2, editor.TabSize())));
            }
            if (line == line1) {
                const std::size_t blanks =
                    std::min(printable.size(), DisplayWidthBefore(text, column1, editor.TabSize()));
                printable.replace(0, blanks, blanks, ' ');
            }
        }
        write(printable);
    }
}

TLinePrinter::TLinePrinter(QPrinter& printer, const QFont& font, const QColor& color)
    : printer_(printer) {
    if (!painter_.begin(&printer)) {
        throw std::runtime_error("The print job could not be started on " + PrintTarget(printer));
    }
    painter_.setFont(font);
    painter_.setPen(color);
    const QFontMetrics metrics = painter_.fontMetrics();
    lineHeight_ = metrics.height() + 2;
    ascent_ = metrics.ascent();
}

TLinePrinter::~TLinePrinter() {
    painter_.end();
}

void TLinePrinter::WriteLine(const QString& line) {
    QString rest = line;
    do {
        if (pageFull_) {
            if (!printer_.newPage()) {
                throw std::runtime_error("The printer " + PrintTarget(printer_) +
                                         " could not start a new page");
            }
            y_ = 0;
            pageFull_ = false;
        }
        const qsizetype length = FittingLength(rest);
        if (length > 0) {
            painter_.drawText(0, y_ + ascent_, rest.left(length));
        }
        rest.remove(0, length);
        NextLine();
    } while (!rest.isEmpty());
}

qsizetype TLinePrinter::FittingLength(const QString& text) const {
    const QFontMetrics metrics = painter_.fontMetrics();
    const int width = printer_.width();
    if (metrics.horizontalAdvance(text) <= width) {
        return text.size();
    }
    qsizetype fits = 1;  // a character wider than the page still goes on its own
    qsizetype tooLong = text.size();
    while (tooLong - fits > 1) {
        const qsizetype middle = fits + (tooLong - fits) / 2;
        (metrics.horizontalAdvance(text.left(middle)) <= width ? fits : tooLong) = middle;
    }
    return fits;
}

void TLinePrinter::NextLine() {
    y_ += lineHeight_;
    // The page is full once a line would start below this mark; the next page begins only
    // when another line comes, so a text never ends in an empty page.
    if (y_ > printer_.height() - 2 * lineHeight_) {
        pageFull_ = true;
    }
}

void PrintEditorText(QPrinter& printer, editor::TOvcCustomEditor& editor, bool selectionOnly) {
    // Paper is white whatever the screen's theme: the palette's text colour, light on a dark
    // desktop, would not show on it, so the text prints in black unless the font has a colour.
    const QColor fontColor = editor.FixedFont().Color();
    TLinePrinter out(printer, editor.FixedFont().Font(),
                     fontColor.isValid() ? fontColor : QColor(Qt::black));
    ForEachLineToPrint(editor, selectionOnly, [&out, &editor](const std::string& line) {
        out.WriteLine(editor::BytesToText(line, editor.CharacterSet()));
    });
}

}  // namespace tomery::app
