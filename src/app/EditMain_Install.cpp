// The command "&Install PDA...": the current DOC file handed to a HotSync user's install
// folder.
#include "AutoInst.h"
#include "EditInst.h"
#include "EditMain.h"
#include "RegistryFile.h"

namespace tomery::app {

void TEditForm::InstallPDA1Click() {
    if (!workflow_->SavePrompt()) {
        return;
    }
    install::TRegistryFile registry(install::TRegistryFile::DefaultPath());
    if (!registry.Problem().empty()) {
        ui_->MessageBox("Error", registry.Problem(), TMsgIcon::Error, {TMsgButton::Ok});
    }
    install::TUserData users(registry, [this](const std::string& caption, const std::string& text) {
        ui_->MessageBox(caption, text, TMsgIcon::Error, {TMsgButton::Ok});
    });
    std::vector<std::string> names;
    for (std::int32_t user = 0; user < users.UserCount(); ++user) {
        names.push_back(users.UserName(user));
    }
    InstallDlg_->SetUsers(names, users.DefaultUser());
    if (!ui_->ShowDialog(*InstallDlg_)) {
        return;
    }
    if (users.InstallFile(InstallDlg_->SelectedUser(), workflow_->CurrentFile())) {
        ui_->MessageBox("Information", "Auto Install will occur during the next HotSync",
                        TMsgIcon::Information, {TMsgButton::Ok});
    }
}

}  // namespace tomery::app
