#include "EditMain_View.h"

#include "DocFileRule.h"
#include "EditComp.h"
#include "EditMain.h"
#include "EditMain_Compare.h"
#include "EditMain_Document.h"
#include "EditMain_Menus.h"
#include "ErrorHandler.h"
#include "LongWork.h"
#include "OvcEdit.h"
#include "PathText.h"
#include "ProgramFolder.h"
#include "Viewer.h"

#include <QAction>

#include <algorithm>

namespace tomery::app {

namespace {

/// A title as menu text: its own "&" shown, not taken as the entry's accelerator.
std::string MenuText(const std::string& title) {
    std::string text;
    for (const char c : title) {
        text += c == '&' ? "&&" : std::string(1, c);
    }
    return text;
}

}  // namespace

TViewerCommands::TViewerCommands(TModalUi& ui, TMainMenus& menus, viewer::TViewBox& viewBox,
                                 std::vector<std::string>& reloadPaths)
    : ui_(ui), menus_(menus), viewBox_(viewBox), reloadPaths_(reloadPaths) {}

void TViewerCommands::LoadDocument1Click() {
    TFileDialogRequest request;
    request.title = kLoadDocumentTitle;
    request.filter = kDocFilter;
    request.filterIndex = IsDocFile(loadFileName_) ? 1 : 2;
    request.initialDir = loadFolder_;
    request.fileName = loadFileName_;
    const auto chosen = ui_.OpenFileName(request);
    if (!chosen) {
        return;
    }
    loadFileName_ = *chosen;
    loadFolder_ = FolderPart(*chosen);
    LoadDocument(*chosen);
}

void TViewerCommands::LoadDocument(const std::string& path) {
    QWidget& window = *viewBox_.parentWidget();
    TLongWork work(window, QObject::tr("Opening %1").arg(PathForDisplay(FileNamePart(path))));
    viewBox_.LoadDocument(path, work.Progress());
}

void TViewerCommands::ComparisonLog1Click() {
    viewBox_.ShowLog(ProgramFilePath("Comparison.log"), "Comparison Log", false);
}

void TViewerCommands::ConversionLog1Click() {
    viewBox_.ShowLog(ProgramFilePath("Conversion.log"), "DOC Conversion", false);
}

void TViewerCommands::AddToReload() {
    const std::string& title = viewBox_.DocumentTitle();
    if (title.empty() || reloadPaths_.size() == kMaxReloadEntries) {
        return;
    }
    // Titles that differ only by case name different files on Linux.
    for (const std::string& caption : reloadCaptions_) {
        if (caption.substr(std::min<std::size_t>(3, caption.size())) == title) {
            return;
        }
    }
    const std::size_t entry = reloadPaths_.size();
    const std::string number = "&" + std::to_string(entry) + " ";
    reloadCaptions_.push_back(number + title);
    reloadPaths_.push_back(viewBox_.DocumentPath());
    menus_.AppendItem("Reload1", number + MenuText(title),
                      [this, entry] { RunGuarded(ui_, [this, entry] { Reload1Handler(entry); }); });
    menus_.Item("Reload1")->setEnabled(true);
}

void TViewerCommands::Reload1Handler(std::size_t entry) {
    AddToReload();
    LoadDocument(reloadPaths_.at(entry));
}

void TEditForm::ConnectViewerAndCompare() {
    ViewBox_ = new viewer::TViewBox(*ui_, this);
    CompareDlg_ = new TCompareDlg(*ui_, this);
    viewerCommands_ =
        std::make_unique<TViewerCommands>(*ui_, *menus_, *ViewBox_, programValues_.ReloadPaths);
    compareCommand_ = std::make_unique<TCompareCommand>(
        *ui_, *Editor1, *CompareDlg_, [this] { return workflow_->CurrentFile(); },
        [this] { viewerCommands_->ComparisonLog1Click(); });
    ViewBox_->OnClose = Guarded([this] { viewerCommands_->AddToReload(); });
    TViewerCommands& commands = *viewerCommands_;
    menus_->SetCommand("LoadDocument1", Guarded([&commands] { commands.LoadDocument1Click(); }));
    menus_->SetCommand("ComparisonLog1", Guarded([&commands] { commands.ComparisonLog1Click(); }));
    menus_->SetCommand("ConversionLog1", Guarded([&commands] { commands.ConversionLog1Click(); }));
    menus_->SetCommand("Compare1", Guarded([this] { compareCommand_->Compare1Click(); }));
}

}  // namespace tomery::app
