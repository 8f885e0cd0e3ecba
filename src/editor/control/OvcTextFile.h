// Plain text files as the editor reads and writes them: lines ended by CR (an LF after it
// belongs to the line end), Ctrl-Z ending the text, CR LF written after every line; the file
// names the editor derives; the input/output errors it raises.
#pragma once

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

#include "FileReplacement.h"

namespace tomery::editor {

/// A file could not be opened, read, created or written. The message is the user's
/// ("File not found", "Disk full", "I/O error 5" ...); ErrorCode is the system's errno.
class EInOutError : public std::runtime_error {
  public:
    explicit EInOutError(int errorCode);
    int ErrorCode() const { return errorCode_; }

  private:
    int errorCode_;
};

/// The user's message for a system error number.
std::string InOutErrorMessage(int errorCode);

/// A name of two or more characters that ends with a full stop loses that one full stop.
std::string NormalizeFileName(std::string name);
/// `name` with its extension (the part after the last full stop of the last path element)
/// replaced by a full stop and `extension`, or with them appended when it has none.
std::string BackupFileName(const std::string& name, std::string_view extension);

/// Reads a text file line by line through a 32,768-byte buffer. A line ends at CR; an LF
/// directly after the CR belongs to the line end, any other LF stays in the line. The byte 26
/// ends the text. Lines are returned whole, however long.
class TTextFileReader {
  public:
    static constexpr std::size_t kBufferSize = 32768;

    /// Opens the file; raises EInOutError when it cannot.
    explicit TTextFileReader(const std::string& path);
    ~TTextFileReader();
    TTextFileReader(const TTextFileReader&) = delete;
    TTextFileReader& operator=(const TTextFileReader&) = delete;

    /// The next line without its line end; false at the end of the text. Raises EInOutError
    /// when reading fails.
    bool ReadLine(std::string& line);

  private:
    /// Refills the buffer; false at the end of the file.
    bool fill();

    int fd_ = -1;
    std::array<char, kBufferSize> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool atEnd_ = false;
    bool skipLineFeed_ = false;  ///< the last line ended with CR, whose LF may follow
};

/// Writes a text file through an 8,192-byte buffer, creating it or emptying an existing one.
class TTextFileWriter {
  public:
    static constexpr std::size_t kBufferSize = 8192;

    /// Writes beside `path` and replaces the file only on Close, so that a failure leaves an
    /// existing file as it was. Raises EInOutError when the file cannot be created (a
    /// read-only file counts as one that cannot).
    explicit TTextFileWriter(const std::string& path);
    TTextFileWriter(const TTextFileWriter&) = delete;
    TTextFileWriter& operator=(const TTextFileWriter&) = delete;

    /// Raises EInOutError when writing fails.
    void Write(std::string_view bytes);
    /// Writes what is buffered and closes; raises EInOutError on failure.
    void Close();

  private:
    void flush();

    FileReplacement file_;
    std::array<char, kBufferSize> buffer_;
    std::size_t used_ = 0;
};

}  // namespace tomery::editor
