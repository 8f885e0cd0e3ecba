// Feeds arbitrary bytes to the editor's text-file load: the encoding's detection, a UTF-16
// file's conversion, the reader's line splitting, the conversion into the character set and
// the paragraph store's trimming, splitting and limits, as the editor control loads a file.
#include "MemoryFile.h"
#include "OvcEditP.h"
#include "OvcTextFile.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tomery::editor;
    using tomery::charset::TFileEncoding;
    const tomery::fuzz::MemoryFile file(data, size);
    TParaList list(nullptr, true, 1024);
    TTextFileReader reader(file.Path(), tomery::charset::DefaultCharacterSet());
    std::string line;
    std::size_t bytesRead = 0;
    while (reader.ReadLine(line)) {
        bytesRead += line.size();
        if (list.AppendLine(line, TTrimBlanks::Yes) != 0) {
            break;  // a limit was reached: the editor stops the load there
        }
    }
    // A Unicode file's lines may grow: one character can become several (Щ → Shch).
    if (reader.Encoding() == TFileEncoding::Bytes && bytesRead > size) {
        __builtin_trap();  // lines made of more bytes than the file holds
    }
    return 0;
}
