// "-" as a path of tomery-doc: standard input is copied to a private file before a
// conversion, and a conversion into a private file is copied to standard output after it,
// since the conversion reads and replaces whole files.
#pragma once

#include <string>

namespace tomery::cli {

/// A private folder under the temporary folder, removed with everything in it on destruction.
class TStreamFiles {
  public:
    TStreamFiles();
    ~TStreamFiles();
    TStreamFiles(const TStreamFiles&) = delete;
    TStreamFiles& operator=(const TStreamFiles&) = delete;

    /// False when the folder could not be made.
    bool IsReady() const { return !folder_.empty(); }

    /// Copies all of standard input into a file of the folder; returns its path, or an empty
    /// string when reading or writing failed.
    std::string SaveStandardInput();
    /// The path a conversion writes to when its output is standard output.
    std::string OutputPath() const { return folder_ + "/standard-output"; }
    /// Copies the file at OutputPath() to standard output; false when that fails.
    bool SendOutput() const;

  private:
    std::string folder_;
};

/// True for the path that names standard input or output.
inline bool IsStandardStream(const std::string& path) {
    return path == "-";
}

}  // namespace tomery::cli
