// The one table from the toolkit's keys to the virtual-key codes of the key tables.
#pragma once

#include <cstdint>

#include "OvcCmd.h"

namespace tomery::editor {

/// The virtual-key code of a key press, or 0 for a key the tables cannot name. The key
/// tables mean keys, not symbols: a letter or digit of the layout maps to its code; a key of
/// the digit row whose symbol is not a digit (the French layout's "é" on 2, the German "§" on
/// Shift+3) and a letter key whose letter is not ASCII (Cyrillic, the Turkish dotless i) map
/// to the key at that place on the US layout, found from `scanCode` (the XKB keycode that X11 and
/// Wayland report, 0 when unknown). Without a scan code, the US layout's shifted digit symbols map
/// to their digits.
KeyCode QtKeyToVirtualKey(int qtKey, bool shift, std::uint32_t scanCode = 0);

}  // namespace tomery::editor
