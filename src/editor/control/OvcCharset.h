// The 8-bit text of the editor as screen, clipboard and dialog text, through a character set.
#pragma once

#include <QString>

#include <string>
#include <string_view>

#include "CharacterSet.h"
#include "ReplacementLog.h"

namespace tomery::editor {

/// Bytes as screen text, each byte the set's character.
QString BytesToText(std::string_view bytes,
                    const charset::TCharacterSet& set = charset::DefaultCharacterSet());
/// Screen text as bytes of the set. A character the set lacks is transliterated, else
/// replaced by "?", and counted in `log`.
std::string TextToBytes(const QString& text,
                        const charset::TCharacterSet& set = charset::DefaultCharacterSet(),
                        charset::TReplacementLog* log = nullptr);

}  // namespace tomery::editor
