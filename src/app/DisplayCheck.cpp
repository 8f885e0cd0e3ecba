#include "DisplayCheck.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace tomery::app {

namespace {

/// What the command line sets of what the toolkit reads from it; the toolkit takes its
/// options with one dash or two.
struct TPlatformOptions {
    std::string platform;
    bool display = false;
};

TPlatformOptions PlatformOptionsOf(const QStringList& arguments) {
    TPlatformOptions options;
    for (qsizetype i = 1; i + 1 < arguments.size(); ++i) {
        QString option = arguments[i];
        if (option.startsWith(QStringLiteral("--"))) {
            option.remove(0, 1);
        }
        if (option == QStringLiteral("-platform")) {
            options.platform = arguments[++i].toStdString();
        } else if (option == QStringLiteral("-display")) {
            options.display = true;
            ++i;
        }
    }
    return options;
}

/// The environment variable the platform plugin `name` needs, or "" when it needs none.
/// Options after a colon ("vnc:size=800x600") do not change the plugin.
std::string DisplayVariableOf(const QString& name) {
    const QString plugin = name.section(u':', 0, 0).trimmed();
    if (plugin == QStringLiteral("xcb")) {
        return "DISPLAY";
    }
    if (plugin.startsWith(QStringLiteral("wayland"))) {
        return "WAYLAND_DISPLAY";
    }
    return "";
}

std::string Alternatives(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : " or ") + name;
    }
    return text;
}

}  // namespace

std::string ProcessEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string MissingDisplayMessage(const QStringList& arguments, const TEnvironment& environment) {
    const TPlatformOptions options = PlatformOptionsOf(arguments);
    const bool chosenByOption = !options.platform.empty();
    const std::string chosen = chosenByOption ? options.platform : environment("QT_QPA_PLATFORM");
    const QStringList platforms = QString::fromStdString(chosen).split(u';', Qt::SkipEmptyParts);
    const auto present = [&](const std::string& variable) {
        return (variable == "DISPLAY" && options.display) || !environment(variable.c_str()).empty();
    };
    std::string missing;
    if (platforms.isEmpty()) {
        if (present("DISPLAY") || present("WAYLAND_DISPLAY")) {
            return "";
        }
        missing = "neither DISPLAY nor WAYLAND_DISPLAY is set";
    } else {
        std::vector<std::string> needed;
        for (const QString& platform : platforms) {
            const std::string variable = DisplayVariableOf(platform);
            if (variable.empty() || present(variable)) {
                return "";
            }
            if (std::find(needed.begin(), needed.end(), variable) == needed.end()) {
                needed.push_back(variable);
            }
        }
        missing = (chosenByOption ? "-platform " : "QT_QPA_PLATFORM=") + chosen + " needs " +
                  Alternatives(needed) +
                  (needed.size() == 1 ? ", which is not set" : ", neither of which is set");
    }
    return "tomery: no display to show the editor on: " + missing +
           ". Start it in a desktop session; tomery --help lists its options, and tomery-doc "
           "converts DOC files without a display.\n";
}

}  // namespace tomery::app
