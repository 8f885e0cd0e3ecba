// The tools that add generated lines after the text: the hexadecimal file dump and the two
// test tools (a size report and the list of character codes).
#pragma once

#include "Tools.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tomery::tools {

/// Appends "Dump File - <fileName>", an empty line and, for every `bytesPerLine` bytes of
/// `bytes`, a line: the offset right-aligned in 8 places and two spaces, each byte as two
/// upper-case hexadecimal digits and a space (three spaces for each byte a short last line
/// lacks), a space, and the bytes as characters, those below 32 or above 126 as spaces.
/// Nothing follows the header when `bytesPerLine` is below 1. `progress` hears how many dump
/// lines are done.
TWorkLines AppendDump(TWorkLines lines, const std::string& fileName, std::string_view bytes,
                      std::int32_t bytesPerLine, const TWorkProgress& progress = {});

/// Reads a number as the user's locale writes it, blanks around it allowed; nothing when the
/// text is not one.
using TNumberReader = std::function<std::optional<double>(const std::string&)>;

/// Appends a report on the lines holding "@": how many there are, the sum of the numbers after
/// the first "@" of each (in MB) and the CDs of 650 MB they fill. Raises EConvertError
/// "'<text>' is not a valid floating point value" for text after "@" that is no number.
/// `progress` hears how many lines are read.
TWorkLines AppendSizeReport(TWorkLines lines, const TNumberReader& readNumber,
                            const TWorkProgress& progress = {});

/// Appends "List of ASCII characters", an empty line and "%3d -> c" for the codes 1 to 255.
TWorkLines AppendCharacterList(TWorkLines lines);

}  // namespace tomery::tools
