// The command "&Install PDA...": the current DOC file handed to a HotSync user's install
// folder (the registry file's desktop software or the HotSync Manager under Wine), to
// J-Pilot's install list, to the handheld through pilot-xfer, or into a folder.
#include "AutoInst.h"
#include "Destinations.h"
#include "EditInst.h"
#include "EditInstXfer.h"
#include "EditMain.h"
#include "OvcCharset.h"
#include "PathText.h"
#include "RegistryFile.h"
#include "WinePrefix.h"

#include <QComboBox>

#include <sys/stat.h>

#include <cstdlib>
#include <memory>

namespace tomery::app {

namespace {

constexpr char kNextHotSync[] = "Auto Install will occur during the next HotSync";
constexpr char kJPilotTarget[] = "jpilot";
constexpr char kPilotXferTarget[] = "pilot-xfer";
constexpr char kFolderTarget[] = "folder";

/// One desktop software's HotSync users: the registry file's or the Wine prefix's.
struct THotSyncSource {
    std::unique_ptr<install::TRegistry> registry;
    std::unique_ptr<install::TUserData> users;
    std::string tag;  ///< "file" or "wine", part of the remembered destination
};

/// An entry of the dialog's list.
struct TTarget {
    QString label;
    std::string key;  ///< remembered as the last destination
    THotSyncSource* source = nullptr;
    std::int32_t user = -1;
};

bool Exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

bool HasDesktopSoftware(const install::TRegistry& registry) {
    return registry.OpenKey("Software\\U.S. Robotics") ||
           registry.OpenKey("Software\\Palm Computing");
}

}  // namespace

void TEditForm::InstallPDA1Click() {
    if (!workflow_->SavePrompt()) {
        return;
    }
    const auto errorBox = [this](const std::string& caption, const std::string& text) {
        ui_->MessageBox(caption, text, TMsgIcon::Error, {TMsgButton::Ok});
    };
    const auto readUsers = [&](THotSyncSource& source) {
        try {
            source.users = std::make_unique<install::TUserData>(*source.registry, errorBox);
        } catch (const install::EUsersFileError& error) {
            // One broken desktop software does not keep the file from the other destinations.
            errorBox("Tomery", ErrorBoxText(error.what()));
        }
    };

    // The HotSync Manager under Wine is offered when its prefix holds the desktop software.
    std::vector<std::unique_ptr<THotSyncSource>> sources;
    const std::string prefix = install::DefaultWinePrefix();
    auto wine = std::make_unique<THotSyncSource>();
    wine->tag = "wine";
    if (Exists(prefix + "/user.reg")) {
        auto registry = std::make_unique<install::TWineRegistry>(
            prefix, install::FindProgram("wine"), RunProgramAndWait);
        if (!registry->File().Problem().empty()) {
            errorBox("Error", registry->File().Problem());
        } else if (HasDesktopSoftware(*registry)) {
            wine->registry = std::move(registry);
            readUsers(*wine);
        }
    }
    const std::string jpilot = install::FindJPilotFolder();
    const std::string pilotXfer = install::FindProgram("pilot-xfer");

    // The registry file is read when it exists, is named, or nothing else would be offered:
    // then its missing desktop software is reported as ever.
    const std::string registryPath = install::TRegistryFile::DefaultPath();
    const char* named = std::getenv("TOMERY_REGISTRY");
    auto file = std::make_unique<THotSyncSource>();
    file->tag = "file";
    if (Exists(registryPath) || (named != nullptr && *named != '\0') ||
        (!wine->users && jpilot.empty() && pilotXfer.empty())) {
        auto registry = std::make_unique<install::TRegistryFile>(registryPath);
        if (!registry->Problem().empty()) {
            errorBox("Error", registry->Problem());
        }
        file->registry = std::move(registry);
        readUsers(*file);
    }
    sources.push_back(std::move(file));
    sources.push_back(std::move(wine));

    // The users first, each source's in file order; a Wine user is marked as one when the
    // registry file has users too.
    std::vector<TTarget> targets;
    int selected = -1;
    const bool bothHaveUsers = sources[0]->users && sources[0]->users->UserCount() > 0 &&
                               sources[1]->users && sources[1]->users->UserCount() > 0;
    for (const auto& source : sources) {
        if (!source->users) {
            continue;
        }
        for (std::int32_t user = 0; user < source->users->UserCount(); ++user) {
            QString label = editor::BytesToText(source->users->UserName(user));
            if (source->tag == "wine" && bothHaveUsers) {
                label += QStringLiteral(" (Wine)");
            }
            if (selected < 0 && source->users->HasLastUser() &&
                user == source->users->DefaultUser()) {
                selected = static_cast<int>(targets.size());
            }
            targets.push_back({label,
                               "hotsync:" + source->tag + ":" + source->users->UserName(user),
                               source.get(), user});
        }
    }
    if (!jpilot.empty()) {
        targets.push_back({QStringLiteral("J-Pilot (next HotSync)"), kJPilotTarget});
    }
    const std::string port = install::PilotPort();
    if (!pilotXfer.empty()) {
        targets.push_back({QStringLiteral("Palm on %1 (pilot-xfer, now)").arg(PathForDisplay(port)),
                           kPilotXferTarget});
    }
    targets.push_back({QStringLiteral("Copy to folder..."), kFolderTarget});
    for (std::size_t i = 0; selected < 0 && i < targets.size(); ++i) {
        if (targets[i].key == InstallTarget) {
            selected = static_cast<int>(i);
        }
    }

    QStringList labels;
    for (const TTarget& target : targets) {
        labels << target.label;
    }
    InstallDlg_->SetEntries(labels, selected < 0 ? 0 : selected);
    if (!ui_->ShowDialog(*InstallDlg_)) {
        return;
    }
    const int chosen = InstallDlg_->SelectedEntry();
    if (chosen < 0 || chosen >= static_cast<int>(targets.size())) {
        return;
    }
    const TTarget& target = targets[static_cast<std::size_t>(chosen)];
    const std::string path = workflow_->CurrentFile();
    const std::string name = install::FileNamePart(path);
    const auto inform = [this, &target](const std::string& text) {
        InstallTarget = target.key;
        ui_->MessageBox("Information", text, TMsgIcon::Information, {TMsgButton::Ok});
    };
    try {
        if (target.source != nullptr) {
            install::TUserData& users = *target.source->users;
            if (users.InstallFile(target.user, path)) {
                inform(name + " was placed in the install folder of " +
                       users.UserName(target.user) + " (" + users.InstallFolder(target.user) +
                       ").\n" + kNextHotSync);
            }
        } else if (target.key == kJPilotTarget) {
            const install::TJPilotListing listing = install::AddToJPilotList(jpilot, path);
            inform(name + (listing.alreadyListed ? " is already on" : " was added to") +
                   " J-Pilot's install list (" + listing.listFile +
                   "); it goes to the handheld at the next HotSync.");
        } else if (target.key == kPilotXferTarget) {
            TPilotXferDlg progress(this, pilotXfer, install::PilotXferArguments(port, path));
            if (!ui_->ShowDialog(progress)) {
                return;  // cancelled: the user knows what became of it
            }
            if (!progress.StartError().empty()) {
                errorBox("Error", "pilot-xfer (" + pilotXfer +
                                      ") could not be started: " + progress.StartError());
            } else if (install::PilotXferSucceeded(progress.ExitCode(), progress.Output())) {
                inform(name + " was installed on the Palm on " + port + " by pilot-xfer.");
            } else {
                errorBox("Error", "pilot-xfer could not install " + name + " on the Palm on " +
                                      port + ". What it said:\n" + progress.Output());
            }
        } else {
            const char* home = std::getenv("HOME");
            const auto folder = ui_->ChooseFolder(
                "Copy to folder",
                !InstallFolder.empty() ? InstallFolder : std::string(home != nullptr ? home : ""));
            if (!folder) {
                return;
            }
            install::CopyIntoFolder(path, *folder);
            InstallFolder = *folder;
            inform(name + " was copied to the folder " + *folder + ".");
        }
    } catch (const install::EInstallError& error) {
        errorBox("Error", error.what());
    }
}

}  // namespace tomery::app
