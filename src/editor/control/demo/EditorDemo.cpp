// A window with the editor control: tomery-editor-demo [file]. Ctrl+S saves the file back.
#include <QKeySequence>
#include <QLabel>
#include <QShortcut>
#include <QVBoxLayout>
#include <QWidget>

#include "ErrorBoxText.h"
#include "GuardedApplication.h"
#include "OvcEdit.h"

using tomery::editor::TOvcControllerComponent;
using tomery::editor::TOvcCustomEditor;
using tomery::editor::TOvcTextFileEditor;

int main(int argc, char** argv) {
    // An editor error raised by a key (typing into a full line) is shown in the program's
    // error box; the demo goes on.
    tomery::TGuardedApplication application(argc, argv);
    application.SetErrorReporter(tomery::ShowErrorBox);
    QWidget window;
    new TOvcControllerComponent(&window);
    auto* layout = new QVBoxLayout(&window);
    auto* editor = new TOvcTextFileEditor(&window);
    auto* status = new QLabel(&window);
    layout->addWidget(editor);
    layout->addWidget(status);
    editor->SetWordWrap(true);
    editor->SetWrapToWindow(true);
    editor->SetHideSelection(false);
    editor->OnShowStatus = [status](TOvcCustomEditor& sender, std::int32_t line,
                                    std::int32_t column) {
        status->setText(QString("Line %1  Col %2%3")
                            .arg(line)
                            .arg(column)
                            .arg(sender.Modified() ? "  Modified" : ""));
    };
    try {
        if (argc > 1) {
            editor->LoadFromFile(argv[1]);
        }
    } catch (const std::exception& error) {
        tomery::ShowErrorBox(tomery::ErrorBoxText(error.what()));
    }
    auto* save = new QShortcut(QKeySequence("Ctrl+S"), &window);
    QObject::connect(save, &QShortcut::activated, [&] {
        try {
            editor->SaveToFile(editor->FileName());
        } catch (const std::exception& error) {
            tomery::ShowErrorBox(tomery::ErrorBoxText(error.what()));
        }
    });
    window.resize(800, 600);
    window.show();
    editor->setFocus();
    return tomery::TGuardedApplication::exec();
}
