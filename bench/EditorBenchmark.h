// What the benchmarks of the editor control share: an 800 by 600 window with the control
// and a text file to load, and a main that runs them inside a QApplication.
#pragma once

#include <QApplication>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <string>

#include "OvcEdit.h"
#include "TempFolder.h"

namespace tomery::bench {

struct TEditorWindow {
    std::unique_ptr<QWidget> form = std::make_unique<QWidget>();
    editor::TOvcTextFileEditor* editor = nullptr;
    std::string file;  ///< holds the text to load
};

/// Shows the window with word wrap on; `configure` sets the rest of the control up.
inline TEditorWindow MakeEditorWindow(
    const std::string& text, const std::function<void(editor::TOvcTextFileEditor&)>& configure) {
    static tomery::testing::TempFolder folder;
    TEditorWindow w;
    w.file = folder.Path("prose.txt");
    tomery::testing::WriteFile(w.file, text);
    new editor::TOvcControllerComponent(w.form.get());
    w.editor = new editor::TOvcTextFileEditor(w.form.get());
    w.form->resize(800, 600);
    w.editor->setGeometry(0, 0, 800, 600);
    w.editor->SetWordWrap(true);
    configure(*w.editor);
    w.form->show();
    w.editor->setFocus();
    QApplication::processEvents();
    return w;
}

/// Runs the benchmarks headless unless a display platform was asked for; `beforeExit`
/// releases the benchmark's widgets while the application still lives.
inline int RunQtBenchmarks(int argc, char** argv, const std::function<void()>& beforeExit) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    beforeExit();
    return 0;
}

}  // namespace tomery::bench
