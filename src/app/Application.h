// The application object: events that end in an uncaught error show the "Tomery" error box
// instead of ending the program, so that an editor error raised by a key is reported like
// one raised by a menu command.
#pragma once

#include "GuardedApplication.h"

namespace tomery::app {

class TModalUi;

class TApplication : public TGuardedApplication {
  public:
    TApplication(int& argc, char** argv) : TGuardedApplication(argc, argv) {}

    /// Where errors are shown; not owned. Without one, errors are written to stderr.
    void SetErrorUi(TModalUi* ui);
};

}  // namespace tomery::app
