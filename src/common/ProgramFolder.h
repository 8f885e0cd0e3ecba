// The program folder: where Tomery keeps its settings, logs and intermediate files, and where
// it finds the files it was installed with.
#pragma once

#include <string>
#include <vector>

namespace tomery {

/// What the program folder is chosen from.
struct TProgramFolderFacts {
    std::string tomeryHome;        ///< the environment variable TOMERY_HOME, "" when unset
    std::string executableFolder;  ///< the folder of the running executable
    bool executableFolderWritable = true;
    bool buildMarkerBesideExecutable = false;  ///< the build's marker file stands there
    std::string xdgConfigHome;  ///< the environment variable XDG_CONFIG_HOME, "" when unset
    std::string home;           ///< the user's home folder
};

/// TOMERY_HOME when it is set; else the executable's folder when it can be written and is not
/// an installed program's: a build tree (the build's marker stands there) or a folder that is
/// not a "bin" folder (a copy unpacked in a folder of its own). Else "tomery" in the user's
/// configuration folder, whoever runs the program: XDG_CONFIG_HOME when that is an absolute
/// path and the home folder's ".config" otherwise. Always ends with '/'.
std::string ChooseProgramFolder(const TProgramFolderFacts& facts);

/// The program folder of this process (see ChooseProgramFolder). A configuration folder is
/// created when it does not exist yet.
std::string ProgramFolder();

/// ProgramFolder() followed by `fileName`.
std::string ProgramFilePath(const std::string& fileName);

/// Where the program keeps what must outlive a crash: recovery copies of unsaved texts and
/// the old contents of a file being rewritten in place. "tomery" in XDG_STATE_HOME when that is
/// an absolute path, else in the home folder's ".local/state". Created (for the user only) when
/// it does not exist yet; always ends with '/'.
std::string StateFolder();

/// Where a read-only file the program comes with (the help text) is looked for, in this order:
/// the program folder, so that a copy of the user's own wins; the executable's folder (a build
/// tree, or a copy unpacked in a folder of its own); the installed data folder beside the
/// executable's (../share/tomery/ from its bin folder). Each ends with '/'.
std::vector<std::string> ResourceFolders(const std::string& programFolder,
                                         const std::string& executableFolder);

/// The first of `folders` that holds `fileName`, followed by the name; the first folder's
/// when none does.
std::string FindResourceFile(const std::string& fileName, const std::vector<std::string>& folders);

/// The read-only file `fileName` the program comes with, looked for in this process's
/// ResourceFolders, whatever TOMERY_HOME names as the program folder. Every reader of such a
/// file finds it here.
std::string ResourceFilePath(const std::string& fileName);

}  // namespace tomery
