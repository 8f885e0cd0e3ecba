// Plain text files as the editor reads and writes them: lines ended by CR (an LF after it
// belongs to the line end) and written with CR LF, or LF throughout for a Linux text file; a
// final Ctrl-Z dropped; Unicode files converted into the document's character set and back;
// the file names the editor derives; the input/output errors it raises.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "CharacterSet.h"
#include "FileEncoding.h"
#include "FileReplacement.h"
#include "ReplacementLog.h"
#include "WorkProgress.h"

namespace tomery::editor {

/// A file could not be opened, read, created or written. The message is the user's
/// ("File not found", "Disk full", "I/O error 5" ...); ErrorCode is the system's errno.
class EInOutError : public std::runtime_error {
  public:
    explicit EInOutError(int errorCode);
    EInOutError(int errorCode, const std::string& message);
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

/// How the lines of a text file end. The text-file rules end a line at CR (an LF after it
/// belongs to the line end); a Linux text file, whose lines all end with LF and which holds
/// no CR anywhere, is read and written with LF instead.
enum class TLineBreak { CrLf, Lf };

/// The bytes written after every line.
std::string_view LineBreakBytes(TLineBreak lineBreak);

/// Bytes held in memory, read as a file of that content would be.
struct TInMemoryText {
    std::string_view Bytes;  ///< kept alive by the caller while the reader reads
};

/// Text that arrives piece by piece while another part of the program makes it (a DOC file
/// being decoded): it holds the set's bytes, and its lines end as the text-file rules say.
class TTextStream {
  public:
    virtual ~TTextStream() = default;
    /// Up to `capacity` more bytes, waiting for them when none are ready; 0 at the end of the
    /// text. Raises whatever kept the text from being made.
    virtual std::size_t Read(char* dest, std::size_t capacity) = 0;
    /// How much of its work the making of the text has done, of how much: what progress
    /// reports tell.
    virtual std::uint64_t WorkDone() const = 0;
    virtual std::uint64_t WorkTotal() const = 0;
};

/// Reads a text file line by line through a 32,768-byte buffer, in the bytes of a character
/// set. A file without CR but with an LF has LF line ends; any other file ends its lines at CR,
/// an LF directly after the CR belonging to the line end and any other LF staying in the line.
/// A byte 26 (the old end of file mark) is dropped when it is the file's very last byte and is
/// an ordinary character anywhere else. Lines are returned whole, however long. A Unicode file
/// (see charset::ReadingEncoding) is read without its mark, its lines converted into the set;
/// a UTF-16 file is first converted into UTF-8 in memory, where the rules above apply.
///
/// A file is read twice, first to learn its line ends and encoding: `progress`, when set, is
/// told every kProgressStep bytes how many of the bytes of both readings were read, and its
/// cancel raises EWorkCancelled from the constructor or ReadLine.
class TTextFileReader {
  public:
    static constexpr std::size_t kBufferSize = 32768;
    static constexpr std::uint64_t kProgressStep = 1 << 20;

    /// Opens the file and learns its line ends and its encoding: `forced`, or the one its bytes
    /// tell. Raises EInOutError when it cannot.
    TTextFileReader(const std::string& path, const charset::TCharacterSet& set,
                    std::optional<charset::TFileEncoding> forced = std::nullopt,
                    TWorkProgress progress = {});
    TTextFileReader(TInMemoryText text, const charset::TCharacterSet& set,
                    std::optional<charset::TFileEncoding> forced = std::nullopt);
    /// Reads the set's bytes of `stream` once, as they arrive, with CR line ends (an LF after
    /// the CR belonging to it); the progress told is the stream's.
    TTextFileReader(TTextStream& stream, const charset::TCharacterSet& set,
                    TWorkProgress progress = {});
    ~TTextFileReader();
    TTextFileReader(const TTextFileReader&) = delete;
    TTextFileReader& operator=(const TTextFileReader&) = delete;

    TLineBreak LineBreak() const { return lineBreak_; }
    charset::TFileEncoding Encoding() const { return encoding_; }
    /// The characters of the lines read so far that the set lacks, lines numbered from 1.
    const charset::TReplacementLog& Replacements() const { return replacements_; }

    /// The next line without its line end; false at the end of the text. Raises EInOutError
    /// when reading fails.
    bool ReadLine(std::string& line);

  private:
    struct TSurvey {
        std::uint64_t Size = 0;
        bool AnyCr = false;
        bool AnyLf = false;
        char Last = 0;
        charset::TFileEncoding Sniffed = charset::TFileEncoding::Bytes;
    };

    /// Learns the encoding, the line ends and the length of the text, then stands at its start.
    void learn(std::optional<charset::TFileEncoding> forced);
    /// Reads what is left of the source once.
    TSurvey survey();
    /// Reads the UTF-16 text after the mark and reads on from it as UTF-8 in memory.
    void convertUtf16();
    /// Up to `capacity` bytes of the source; 0 at its end.
    std::size_t readSource(char* dest, std::size_t capacity);
    /// Tells the progress, every kProgressStep bytes read, of `got` more bytes read.
    void reportRead(std::size_t got);
    /// fill() for a stream, whose end shows only once reached: the last byte read waits in
    /// heldByte_ until more follows, so that a final end-of-file mark can be dropped.
    bool fillFromStream();
    /// Back to the first byte of the text, after the mark.
    void rewind();
    /// Refills the buffer from what is left of the text; false at its end.
    bool fill();
    /// ReadLine before the conversion into the set: a view into the buffer, or into spill_
    /// for a line that went on after a refill; valid until the next call.
    bool nextLine(std::string_view& line);

    const charset::TCharacterSet* set_;
    int fd_ = -1;  ///< the file, or -1 when reading from memory or a stream
    TTextStream* stream_ = nullptr;
    std::optional<char> heldByte_;
    TWorkProgress progress_;
    std::uint64_t bytesRead_ = 0;     ///< by every reading of the source, for progress
    std::uint64_t readingTotal_ = 0;  ///< what the file's two readings read
    TProgressStep reportStep_{kProgressStep};
    std::string_view memory_;  ///< what is left of the text in memory
    std::string_view wholeMemory_;
    std::string utf8_;   ///< a UTF-16 file's text as UTF-8
    std::string spill_;  ///< the start of a line that a refill of the buffer went on with
    std::array<char, kBufferSize> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    std::uint64_t start_ = 0;     ///< where the text starts: after the mark
    std::uint64_t textLeft_ = 0;  ///< bytes of the text not yet in the buffer
    TLineBreak lineBreak_ = TLineBreak::CrLf;
    bool skipLineFeed_ = false;  ///< the last line ended with CR, whose LF may follow
    charset::TFileEncoding encoding_ = charset::TFileEncoding::Bytes;
    charset::TReplacementLog replacements_;
    std::int64_t lineNumber_ = 0;  ///< of the line read last
};

/// Writes a text file through an 8,192-byte buffer, creating it or emptying an existing one,
/// in an encoding: its mark first, then the bytes of a character set converted.
class TTextFileWriter {
  public:
    static constexpr std::size_t kBufferSize = 8192;

    /// Writes beside `path` and replaces the file only on Close, so that a failure leaves an
    /// existing file as it was. Raises EInOutError when the file cannot be created (a
    /// read-only file counts as one that cannot).
    TTextFileWriter(const std::string& path, const charset::TCharacterSet& set,
                    charset::TFileEncoding encoding);
    /// Writes the file's bytes at the end of `memory` instead, which Close leaves there.
    TTextFileWriter(std::string& memory, const charset::TCharacterSet& set,
                    charset::TFileEncoding encoding);
    TTextFileWriter(const TTextFileWriter&) = delete;
    TTextFileWriter& operator=(const TTextFileWriter&) = delete;

    /// Writes bytes of the set. Raises EInOutError when writing fails.
    void Write(std::string_view bytes);
    /// Writes what is buffered and closes; raises EInOutError on failure.
    void Close();

  private:
    void writeFileBytes(std::string_view bytes);
    void flush();

    std::optional<FileReplacement> file_;
    std::string* memory_ = nullptr;  ///< written here instead when set
    const charset::TCharacterSet* set_;
    charset::TFileEncoding encoding_;
    std::string encoded_;  ///< the piece being written, in the file's encoding
    std::array<char, kBufferSize> buffer_;
    std::size_t used_ = 0;
};

}  // namespace tomery::editor
