// The one table from the toolkit's keys to the virtual-key codes of the key tables.
#pragma once

#include <cstdint>

#include "OvcCmd.h"

namespace tomery::editor {

/// The virtual-key code of a Qt::Key value, or 0 for a key the tables cannot name. Letters
/// and digits map to their upper-case and digit codes; with Shift held, the shifted digit
/// symbols of the US layout map to their digits, so that Ctrl+Shift+digit bindings work.
KeyCode QtKeyToVirtualKey(int qtKey, bool shift);

}  // namespace tomery::editor
