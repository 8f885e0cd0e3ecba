// The DOC reader from the header on: the header, the record list, record 0, then the text
// records in list order, each decoded and expanded as it is read and handed on in large
// pieces. It holds one record and the record list at a time, whatever the file's size.
#pragma once

#include "Conversion.h"
#include "ConversionLog.h"
#include "DocSource.h"
#include "FileReplacement.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tomery::doc {

/// Where the reader's text goes: a file that replaces its destination at the end, or memory.
class TextSink {
  public:
    virtual ~TextSink() = default;

    /// Creates the output; false when it cannot be created.
    virtual bool Open() = 0;
    /// The output as the log names it.
    virtual const std::string& Name() const = 0;
    /// Appends text; false when the write failed.
    virtual bool Write(ByteView text) = 0;
    /// Appends the pieces in order; false when the write failed. One Write each, unless the
    /// sink takes them at once.
    virtual bool WritePieces(std::span<const ByteView> pieces);
    /// Completes the output; false when anything failed on the way, a failed Write included.
    virtual bool Commit() = 0;
};

/// The decoded text let go, where only what else the file holds is wanted.
class DiscardingSink final : public TextSink {
  public:
    bool Open() override { return true; }
    const std::string& Name() const override { return name_; }
    bool Write(ByteView) override { return true; }
    bool Commit() override { return true; }

  private:
    std::string name_ = "(none)";
};

/// The reader's output as a text file that replaces its destination only when whole.
class TextFileSink final : public TextSink {
  public:
    explicit TextFileSink(std::string path, TDurability durability = TDurability::Durable)
        : path_(std::move(path)), durability_(durability) {}

    bool Open() override { return file_.emplace(path_, durability_).IsOpen(); }
    const std::string& Name() const override { return path_; }
    bool Write(ByteView text) override { return file_->Write(text.data(), text.size()); }
    bool WritePieces(std::span<const ByteView> pieces) override;
    bool Commit() override { return file_->Commit(); }

  private:
    std::string path_;
    TDurability durability_;
    std::optional<FileReplacement> file_;
    std::vector<std::string_view> pieces_;  ///< WritePieces's pieces, kept from call to call
};

/// Reads the DOC file in `source` into `out`, logging each step. Returns true when the whole
/// text was written; `docName` is emptied after the format check and set to the DOC's name
/// on success. `findings`, when given, gets the stored bookmarks' places and whether the text
/// was cut short.
bool ReadDocText(LogLines& log, DocSource& source, TextSink& out, std::string& docName,
                 const ConversionOptions& options, DocTextFindings* findings = nullptr);

/// ConvertDocToText into `out`, logging to `log`: opens the DOC file `path` and reads it.
/// A cancelled conversion is logged before EWorkCancelled goes on.
bool ReadDocFile(LogLines& log, const std::string& path, TextSink& out, std::string& docName,
                 const ConversionOptions& options, DocTextFindings* findings);

}  // namespace tomery::doc
