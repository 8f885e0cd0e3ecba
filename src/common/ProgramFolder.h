// The program folder: where Tomery keeps its settings, logs and intermediate files.
#pragma once

#include <string>

namespace tomery {

/// The folder named by the environment variable TOMERY_HOME when it is set and not
/// empty, otherwise the folder of the running executable. Always ends with '/'.
std::string ProgramFolder();

/// ProgramFolder() followed by `fileName`.
std::string ProgramFilePath(const std::string& fileName);

}  // namespace tomery
