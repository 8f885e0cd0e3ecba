// The main window's Print and File Info commands and its Help Contents.
#include "EditHelp.h"
#include "EditMain.h"
#include "EditPrint.h"
#include "EditStat.h"
#include "OvcEdit.h"

#include <QPrinter>

namespace tomery::app {

void TEditForm::Print1Click() {
    if (!PrintDialog1Printer) {
        PrintDialog1Printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    QPrinter& printer = *PrintDialog1Printer;
    const bool selection = Editor1->SelectionAvailable();
    if (!ui_->PrintDialog(printer, selection)) {
        return;
    }
    PrintEditorText(printer, *Editor1, selection && printer.printRange() == QPrinter::Selection);
}

void TEditForm::FileInfo1Click() {
    Statistics1->Fill(
        CollectFileInformation(workflow_->CurrentFile(), workflow_->DocName(), *Editor1));
    ui_->ShowDialog(*Statistics1);
}

void TEditForm::Help2Click() {
    if (HelpWindow_ == nullptr) {
        HelpWindow_ = new THelpWindow(this);
        HelpWindow_->move(geometry().center() - HelpWindow_->rect().center());
    }
    HelpWindow_->LoadFile(HelpFilePath());
    HelpWindow_->show();
    HelpWindow_->raise();
    HelpWindow_->activateWindow();
}

}  // namespace tomery::app
