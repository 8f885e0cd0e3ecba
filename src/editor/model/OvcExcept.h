// The root of the editor control's exceptions.
#pragma once

#include <stdexcept>

namespace tomery::editor {

class EOvcException : public std::runtime_error {
  public:
    using runtime_error::runtime_error;
};

}  // namespace tomery::editor
