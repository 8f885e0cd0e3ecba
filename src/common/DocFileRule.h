// File rules shared by the subsystems: which paths are DOC files, and file sizes in KB.
#pragma once

#include <cstdint>
#include <string>

namespace tomery {

/// True when the path's extension, compared without regard to case, is ".pdb" or ".prc".
bool IsDocFile(const std::string& path);

/// The file's size in bytes divided by 1024, plus one; 0 when the file cannot be read.
std::int64_t FileSizeKB(const std::string& path);

}  // namespace tomery
