#include "ConversionLog.h"

#include "ProgramFolder.h"

#include <iostream>
#include <utility>

namespace tomery::doc {

namespace {

void ReportToStandardError(const std::string& message) {
    std::cerr << message << '\n';
}

LogErrorReporter& Reporter() {
    static LogErrorReporter reporter = ReportToStandardError;
    return reporter;
}

}  // namespace

void SetLogErrorReporter(LogErrorReporter reporter) {
    Reporter() = reporter ? std::move(reporter) : ReportToStandardError;
}

std::string ConversionLogPath() {
    return ProgramFilePath("Conversion.log");
}

ConversionLog::ConversionLog() : path_(ConversionLogPath()) {
    out_.open(path_, std::ios::binary | std::ios::trunc);
    if (!out_.is_open()) {
        Reporter()("Error creating log file: " + path_);
    }
}

ConversionLog::~ConversionLog() {
    if (out_.is_open() && !out_.flush()) {
        Reporter()("Error writing log file: " + path_);
    }
}

void ConversionLog::Line(const std::string& text) {
    out_ << text << "\r\n";
}

}  // namespace tomery::doc
