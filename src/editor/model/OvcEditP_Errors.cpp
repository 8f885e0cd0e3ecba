#include "OvcEditP_Errors.h"

namespace tomery::editor {

const char* EditorErrorMessage(TEditorErrorCode code) {
    switch (code) {
        case kErrorOutOfMemory:
            return "insufficient memory for requested operation";
        case kErrorRegionTooLarge:
            return "Region is too large (> 64K)";
        case kErrorTooManyParas:
            return "Current operation will exceed the maximum number of allowed paragraphs";
        case kErrorJoinTooLong:
            return "Cannot join paragraphs. New paragraph size exceeds maximum paragraph size";
        case kErrorTextTooLarge:
            return "Current operation will exceed the maximum editor text size";
        case kErrorParaTooLong:
            return "Current operation will exceed the maximum paragraph size";
        default:
            return "Unknown Error condition";
    }
}

}  // namespace tomery::editor
