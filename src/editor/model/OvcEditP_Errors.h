// The editor's error codes with their messages, and the exceptions of the editor control.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "OvcExcept.h"

namespace tomery::editor {

/// Result of a changing operation of the store or the editor: 0 is success.
using TEditorErrorCode = std::uint16_t;

inline constexpr TEditorErrorCode kErrorNone = 0;
inline constexpr TEditorErrorCode kErrorOutOfMemory = 263;
inline constexpr TEditorErrorCode kErrorRegionTooLarge = 264;
inline constexpr TEditorErrorCode kErrorTooManyParas = 265;
inline constexpr TEditorErrorCode kErrorJoinTooLong = 266;
inline constexpr TEditorErrorCode kErrorTextTooLarge = 267;
inline constexpr TEditorErrorCode kErrorParaTooLong = 268;

/// The user's message for a non-zero code ("Unknown Error condition" for codes without one).
const char* EditorErrorMessage(TEditorErrorCode code);

/// An editor error code turned into an exception carrying the code's message.
class EEditorError : public EOvcException {
  public:
    explicit EEditorError(TEditorErrorCode code)
        : EOvcException(EditorErrorMessage(code)), code_(code) {}
    TEditorErrorCode ErrorCode() const { return code_; }

  protected:
    EEditorError(const std::string& message, TEditorErrorCode code)
        : EOvcException(message), code_(code) {}

  private:
    TEditorErrorCode code_;
};

/// A paragraph or display line number outside the text.
class EInvalidLineOrPara : public EEditorError {
  public:
    EInvalidLineOrPara() : EEditorError("Invalid line or paragraph index", 0) {}
};

/// A display line or column outside the text.
class EInvalidLineOrCol : public EEditorError {
  public:
    EInvalidLineOrCol() : EEditorError("Invalid line or column", 0) {}
};

}  // namespace tomery::editor
