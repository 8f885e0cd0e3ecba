#include "Conversion.h"

#include "ConversionLog.h"
#include "DocReader.h"
#include "DocSource.h"
#include "DocWriter.h"
#include "FileReplacement.h"
#include "TextBlocks.h"

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
    TextFileSink out(output);
    return ReadDocFile(log, source, out, docName, options, findings);
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
    try {
        return WriteDocFile(log, text, out, source, destination, docName, options, bookmarks);
    } catch (const EWorkCancelled&) {
        log.EmptyLine();
        log.Line("conversion cancelled");
        throw;
    }
}

}  // namespace tomery::doc
