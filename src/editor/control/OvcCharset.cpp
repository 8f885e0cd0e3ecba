#include "OvcCharset.h"

#include <QStringView>

namespace tomery::editor {

QString BytesToText(std::string_view bytes, const charset::TCharacterSet& set) {
    return QString::fromStdU16String(set.ToUtf16(bytes));
}

std::string TextToBytes(const QString& text, const charset::TCharacterSet& set,
                        charset::TReplacementLog* log) {
    const QStringView view(text);
    return set.FromUtf16(std::u16string_view(view.utf16(), static_cast<std::size_t>(view.size())),
                         log);
}

}  // namespace tomery::editor
