#include "Conversion.h"

#include "ConversionLog.h"
#include "DocReader.h"
#include "DocSource.h"
#include "DocWriter.h"
#include "FileReplacement.h"
#include "TextBlocks.h"

#include <optional>

#ifndef TOMERY_DOC_BINARY_MODE
#define TOMERY_DOC_BINARY_MODE 0
#endif
#ifndef TOMERY_DOC_COMPRESSION
#define TOMERY_DOC_COMPRESSION 1
#endif
#ifndef TOMERY_DOC_RATIO_LOGGING
#define TOMERY_DOC_RATIO_LOGGING 0
#endif

namespace tomery::doc {

namespace {

/// The reader's output as a text file that replaces its destination only when whole.
class TextFileSink final : public TextSink {
  public:
    explicit TextFileSink(std::string path) : path_(std::move(path)) {}

    bool Open() override { return file_.emplace(path_).IsOpen(); }
    const std::string& Name() const override { return path_; }
    bool Write(ByteView text) override { return file_->Write(text.data(), text.size()); }
    bool Commit() override { return file_->Commit(); }

  private:
    std::string path_;
    std::optional<FileReplacement> file_;
};

/// The reader's output kept in memory.
class MemorySink final : public TextSink {
  public:
    bool Open() override { return true; }
    const std::string& Name() const override { return name_; }
    bool Write(ByteView text) override {
        text_.append(text.begin(), text.end());
        return true;
    }
    bool Commit() override { return true; }
    std::string& Text() { return text_; }

  private:
    std::string name_ = "(memory)";
    std::string text_;
};

std::string SavingLine(const std::string& destination, const std::string& docName,
                       const ConversionOptions& options) {
    std::string line = "saving to " + destination + " as <" + docName + ">,";
    if (options.binaryMode) {
        line += " binary mode,";
    }
    if (!options.compression) {
        line += " not";
    }
    return line + " compressed";
}

}  // namespace

const ConversionOptions& BuiltInConversionOptions() {
    static const ConversionOptions options{TOMERY_DOC_BINARY_MODE != 0, TOMERY_DOC_COMPRESSION != 0,
                                           TOMERY_DOC_RATIO_LOGGING != 0};
    return options;
}

bool ConvertDocToText(const std::string& source, const std::string& output, std::string& docName) {
    return ConvertDocToText(source, output, docName, BuiltInConversionOptions());
}

bool ConvertDocToText(const std::string& source, const std::string& output, std::string& docName,
                      DocTextFindings& findings) {
    return ConvertDocToText(source, output, docName, BuiltInConversionOptions(), &findings);
}

bool ConvertDocToText(const std::string& source, const std::string& output, std::string& docName,
                      const ConversionOptions& options, DocTextFindings* findings) {
    ConversionLog log;
    if (!log.IsOpen()) {
        return false;
    }
    FileDocSource file(source);
    if (!file.IsOpen()) {
        log.EmptyLine();
        log.Line("problem opening source file: " + source);
        return false;
    }
    log.EmptyLine();
    log.Line("opened source file: " + source);
    TextFileSink out(output);
    return ReadDocText(log, file, out, docName, options, findings);
}

DocImageText DecodeDocImage(std::string_view image, const ConversionOptions& options) {
    MemoryLog log;
    MemoryDocSource source(
        ByteView(reinterpret_cast<const std::uint8_t*>(image.data()), image.size()));
    MemorySink out;
    DocImageText result;
    result.converted = ReadDocText(log, source, out, result.docName, options, &result.findings);
    if (result.converted) {
        result.text = std::move(out.Text());
    }
    result.log = log.Text();
    return result;
}

bool ConvertTextToDoc(const std::string& source, const std::string& destination,
                      const std::string& docName, const std::vector<TBookmarkToStore>& bookmarks) {
    return ConvertTextToDoc(source, destination, docName, BuiltInConversionOptions(), bookmarks);
}

bool ConvertTextToDoc(const std::string& source, const std::string& destination,
                      const std::string& docName, const ConversionOptions& options,
                      const std::vector<TBookmarkToStore>& bookmarks) {
    ConversionLog log;
    if (!log.IsOpen()) {
        return false;
    }
    TextBlocks text(source);
    FileReplacement out(destination);
    if (!text.IsOpen() || !out.IsOpen()) {
        log.EmptyLine();
        log.Line("problem opening files");
        return false;
    }
    log.EmptyLine();
    log.Line("Opened files: " + source + ", " + destination);
    log.Line(SavingLine(destination, docName, options));
    return WriteDocFile(log, text, out, source, destination, docName, options, bookmarks);
}

}  // namespace tomery::doc
