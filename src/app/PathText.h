// Paths between the system's bytes and Qt's strings. A file name on Linux is any bytes; Qt reads
// names as UTF-8 and turns the bytes it cannot read into U+FFFD, so a path that passes through
// a QString unchanged no longer names its file. Every path crossing into or out of Qt goes
// through these functions.
#pragma once

#include <QString>

#include <string>
#include <string_view>

class QUrl;

namespace tomery::app {

/// The path as a string for Qt's widgets (a line edit, a file dialog's name field, the command
/// line parser) that PathFromQt turns back into exactly the same bytes: UTF-8 reads as its
/// characters, and each byte outside a valid UTF-8 sequence becomes the lone surrogate
/// U+DC80..U+DCFF, as other toolkits escape undecodable names.
QString PathToQt(std::string_view path);

/// The bytes a path from Qt stands for: PathToQt undone, UTF-8 for everything else.
std::string PathFromQt(const QString& path);

/// The bytes of a local file's URL (a dropped file), decoded from its percent-encoded form,
/// which keeps bytes that are not UTF-8; empty for a URL that is not a file of this host.
std::string PathFromUrl(const QUrl& url);

/// The path for the eye (captions, lists, messages): a byte that is not UTF-8 shows as U+FFFD.
/// Never hand this back to the file system.
QString PathForDisplay(std::string_view path);

}  // namespace tomery::app
