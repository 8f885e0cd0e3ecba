// A Wine prefix as the install command meets it: the Windows paths inside it, whether its
// Wine server runs, and its user.reg as the registry of the HotSync Manager run under Wine.
#pragma once

#include "RegistryFile.h"

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tomery::install {

/// $WINEPREFIX, else ~/.wine, as Wine itself chooses.
std::string DefaultWinePrefix();

/// "X:\..." or "X:/...": a path on a Windows drive.
bool IsWindowsPath(const std::string& path);

/// `name` in `folder` as it is spelt there: itself when it exists, else the first entry that
/// differs only in the case of A to Z (Windows programs do not care about case), else itself.
std::string ExistingName(const std::string& folder, const std::string& name);

/// The file a Windows path names inside the prefix: the drive through dosdevices/<x>: (drive
/// C: through drive_c when dosdevices has no c:), each level spelt as it exists there.
/// Nothing for a path that is not on a drive, or a drive the prefix does not have.
std::optional<std::string> WindowsPathInPrefix(const std::string& prefix, const std::string& path);

/// /tmp/.wine-<user id>, where Wine servers keep their sockets.
std::string WineServerRoot();

/// Whether a Wine server runs for the prefix: its socket lies in
/// <root>/server-<device>-<inode of the prefix>/ and a process holds the lock file beside it
/// (a socket whose lock nobody holds is what a killed server left behind).
bool WineServerRuns(const std::string& prefix, const std::string& root = WineServerRoot());

/// The program's path when an executable file of that name lies in a folder of $PATH; "" when
/// none does.
std::string FindProgram(const std::string& name);

/// What a program run to its end did: its exit code (-1 when it did not start or crashed) and
/// what it wrote to its output and error output.
struct TProgramRun {
    int exitCode = -1;
    std::string output;
};
/// Runs a program (its path first) with extra environment variables and waits for its end.
using TRunProgram = std::function<TProgramRun(const std::vector<std::string>& arguments,
                                              const std::vector<std::string>& environment)>;

/// The HotSync Manager's registry in a Wine prefix. Reading goes through user.reg; the install
/// flag is set by `wine reg add` when Wine is installed, because a running Wine server keeps
/// the registry in memory and writes it over the file. Without Wine the file is edited, and
/// only while no Wine server runs for the prefix.
class TWineRegistry : public TRegistry {
  public:
    /// `wine` is the wine program, "" when it is not installed; `run` runs it. `serverRoot`
    /// is where Wine servers keep their sockets.
    TWineRegistry(std::string prefix, std::string wine, TRunProgram run,
                  std::string serverRoot = WineServerRoot());

    const std::string& Prefix() const { return prefix_; }
    const TRegistryFile& File() const { return file_; }

    std::string Reread() override { return file_.Reread(); }
    bool OpenKey(const std::string& key) const override { return file_.OpenKey(key); }
    std::optional<std::string> ReadString(const std::string& key, const std::string& name,
                                          std::size_t bufferSize) const override {
        return file_.ReadString(key, name, bufferSize);
    }
    bool WriteInteger(const std::string& key, const std::string& name,
                      std::uint32_t value) override;
    std::string LocalPath(const std::string& path) const override;

  private:
    std::string prefix_;
    std::string wine_;
    TRunProgram run_;
    std::string serverRoot_;
    TRegistryFile file_;
};

}  // namespace tomery::install
