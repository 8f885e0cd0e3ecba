// The install destinations beside the HotSync users: J-Pilot's install list, the handheld
// itself through pilot-xfer, and a folder of the user's choice.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace tomery::install {

/// A destination refused the file; the message says why and names the files.
class EInstallError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

/// The last part of a path: the file's own name.
std::string FileNamePart(const std::string& path);

/// Copies `source` over `destination` so that an old destination survives every failure;
/// returns why the copy failed, "" when it did not.
std::string CopyFileTo(const std::string& source, const std::string& destination);

/// Copies the file into `folder` under its own name, replacing a file of that name; returns
/// the copy's path. Raises EInstallError when the copy cannot be made.
std::string CopyIntoFolder(const std::string& file, const std::string& folder);

/// J-Pilot's folder: $JPILOT_HOME/.jpilot, else ~/.jpilot, when it exists; "" when not.
std::string FindJPilotFolder();

struct TJPilotListing {
    std::string listFile;        ///< the install list that holds the file
    bool alreadyListed = false;  ///< the file was on the list before
};

/// Puts the file's absolute path as one line on J-Pilot's install list in `folder`:
/// jpilot.install, or jpilot_to_install when only that list of older J-Pilots exists. A file
/// on the list already, also one marked for the card by a leading byte 0x01, is not added
/// again; every other line stays as it was. Raises EInstallError when the path cannot be one
/// line of the list or the list cannot be read or written.
TJPilotListing AddToJPilotList(const std::string& folder, const std::string& file);

/// $PILOTPORT, else "usb:", as pilot-link's programs choose their port.
std::string PilotPort();

/// pilot-xfer's arguments that install `file` on the handheld at `port`.
std::vector<std::string> PilotXferArguments(const std::string& port, const std::string& file);

/// Whether pilot-xfer installed the file: it ends with 0 also when the handheld refused the
/// file, and says so only in its output ("failed.", "Unable to open", "Insufficient space").
bool PilotXferSucceeded(int exitCode, const std::string& output);

}  // namespace tomery::install
