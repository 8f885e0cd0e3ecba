// The conversion log's own failure ("Error creating log file: PATH") shown to the user as a
// message box, before the conversion error that follows it.
#pragma once

namespace tomery::app {

class TModalUi;

/// While it lives, the conversion log reports through `ui`; afterwards it writes to stderr
/// again, as the command-line tool does.
class TLogErrorBox {
  public:
    explicit TLogErrorBox(TModalUi& ui);
    ~TLogErrorBox();
    TLogErrorBox(const TLogErrorBox&) = delete;
    TLogErrorBox& operator=(const TLogErrorBox&) = delete;
};

}  // namespace tomery::app
