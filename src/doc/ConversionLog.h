// "Conversion.log": the record of the last DOC conversion, kept in the program folder.
#pragma once

#include <fstream>
#include <functional>
#include <string>

namespace tomery::doc {

/// Shows a message about the log to the user. The editor shows a message box; the
/// command-line tool prints to stderr (the default).
using LogErrorReporter = std::function<void(const std::string& message)>;

/// Replaces the reporter; an empty function restores the default.
void SetLogErrorReporter(LogErrorReporter reporter);

/// The full path of "Conversion.log" in the program folder.
std::string ConversionLogPath();

/// Where a conversion's log lines go: the log file, or memory for callers that stay off
/// the disk.
class LogLines {
  public:
    virtual ~LogLines() = default;

    virtual void Line(const std::string& text) = 0;
    void EmptyLine() { Line({}); }
};

/// One conversion's log: created afresh, lines ended by CR LF.
class ConversionLog final : public LogLines {
  public:
    /// Creates the log, replacing the last one. When that fails, reports
    /// "Error creating log file: " and the path, and IsOpen() is false.
    ConversionLog();
    /// Writes what is buffered; when the log could not be written whole (a full disk), reports
    /// "Error writing log file: " and the path.
    ~ConversionLog() override;
    ConversionLog(const ConversionLog&) = delete;
    ConversionLog& operator=(const ConversionLog&) = delete;

    bool IsOpen() const { return out_.is_open(); }

    void Line(const std::string& text) override;

  private:
    std::string path_;
    std::ofstream out_;
};

/// The lines of a log kept in memory, each ended by CR LF as in the file.
class MemoryLog final : public LogLines {
  public:
    void Line(const std::string& text) override {
        text_ += text;
        text_ += "\r\n";
    }
    const std::string& Text() const { return text_; }

  private:
    std::string text_;
};

}  // namespace tomery::doc
