// Private files of tomery-doc's conversions, which read and replace whole files: standard
// input ("-") is copied to one before a conversion, a text converted into or out of the DOC's
// character set passes through one, and a conversion into one is copied to standard output
// after it.
#pragma once

#include <string>
#include <string_view>

namespace tomery::cli {

/// A private folder under the temporary folder, made on first need and removed with everything
/// in it on destruction. Each method that returns a path returns an empty one when it fails,
/// having said why on standard error.
class TStreamFiles {
  public:
    TStreamFiles() = default;
    ~TStreamFiles();
    TStreamFiles(const TStreamFiles&) = delete;
    TStreamFiles& operator=(const TStreamFiles&) = delete;

    /// The path a conversion reads `input` from: a copy of all of standard input for "-".
    std::string ReadablePath(const std::string& input);
    /// The path a conversion writes `output` to: OutputPath() for "-", or when the text is
    /// to be converted before it goes on (`privately`).
    std::string WritablePath(const std::string& output, bool privately);
    /// The path of a file of the folder holding `text`.
    std::string SaveConvertedInput(std::string_view text);

    /// The file a conversion into the folder wrote.
    std::string OutputPath() const { return folder_ + "/standard-output"; }
    /// Copies the file at OutputPath() to standard output; false (said on standard error) when
    /// that fails.
    bool SendOutput() const;

  private:
    bool MakeFolder();

    std::string folder_;
};

/// True for the path that names standard input or output.
inline bool IsStandardStream(const std::string& path) {
    return path == "-";
}

}  // namespace tomery::cli
