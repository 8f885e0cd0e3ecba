// Without a display the editor says in one line what is missing and ends, instead of letting
// the toolkit abort it; help, version and the display-free platforms work as before.
#include "DisplayCheck.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <map>

namespace tomery::app {
namespace {

using tomery::testing::ReadFile;

TEST(DisplayCheck, AsksForTheDisplayThePlatformNeeds) {
    struct Case {
        std::map<std::string, std::string> environment;
        QStringList arguments;
        const char* missing;  // "" when the window can be shown
    };
    const Case cases[] = {
        {{{"DISPLAY", ":0"}}, {}, ""},
        {{{"WAYLAND_DISPLAY", "wayland-0"}}, {}, ""},
        {{}, {}, "neither DISPLAY nor WAYLAND_DISPLAY is set"},
        {{{"DISPLAY", ""}}, {}, "neither DISPLAY nor WAYLAND_DISPLAY is set"},
        {{{"QT_QPA_PLATFORM", "offscreen"}}, {}, ""},
        {{{"QT_QPA_PLATFORM", "vnc:size=800x600"}}, {}, ""},
        {{{"QT_QPA_PLATFORM", ";"}}, {}, "neither DISPLAY nor WAYLAND_DISPLAY is set"},
        {{{"QT_QPA_PLATFORM", "xcb"}, {"WAYLAND_DISPLAY", "w"}},
         {},
         "QT_QPA_PLATFORM=xcb needs DISPLAY, which is not set"},
        {{{"QT_QPA_PLATFORM", "wayland;xcb"}, {"DISPLAY", ":1"}}, {}, ""},
        {{{"QT_QPA_PLATFORM", "wayland-egl;xcb"}},
         {},
         "QT_QPA_PLATFORM=wayland-egl;xcb needs WAYLAND_DISPLAY or DISPLAY, neither of which is "
         "set"},
        // The command line's choice comes first, with one dash or two.
        {{{"QT_QPA_PLATFORM", "xcb"}}, {"-platform", "minimal"}, ""},
        {{{"QT_QPA_PLATFORM", "offscreen"}},
         {"--platform", "xcb"},
         "-platform xcb needs DISPLAY, which is not set"},
        {{}, {"-display", ":2"}, ""},
        {{}, {"-platform"}, "neither DISPLAY nor WAYLAND_DISPLAY is set"},
    };
    for (const Case& c : cases) {
        const auto environment = [&c](const char* name) {
            const auto found = c.environment.find(name);
            return found == c.environment.end() ? std::string() : found->second;
        };
        const std::string message =
            MissingDisplayMessage(QStringList{"tomery"} + c.arguments, environment);
        const std::string context = c.arguments.join(' ').toStdString() + " " +
                                    (c.environment.empty() ? "" : c.environment.begin()->second);
        if (*c.missing == '\0') {
            EXPECT_EQ(message, "") << context;
        } else {
            EXPECT_NE(message.find(std::string(": ") + c.missing + ". "), std::string::npos)
                << context << message;
        }
    }
}

TEST(DisplayCheck, TheEditorWithoutADisplayEndsWithOneLineButStillAnswersHelp) {
    const tomery::testing::TempFolder folder;  // the program folder, which must stay empty
    const auto run = [&](const std::string& arguments) {
        const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" +
                                    std::string(TOMERY_EDITOR_BINARY) + "' " + arguments + " >'" +
                                    folder.StateHome() + ".out' 2>'" + folder.StateHome() + ".err'";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    const auto output = [&](const char* stream) {
        std::string text = ReadFile(folder.StateHome() + stream);
        std::filesystem::remove(folder.StateHome() + stream);
        return text;
    };

    EXPECT_EQ(run(""), 1);
    const std::string line = output(".err");
    EXPECT_EQ(line.find('\n'), line.size() - 1) << line;
    EXPECT_EQ(line.rfind("tomery: no display to show the editor on: neither DISPLAY nor "
                         "WAYLAND_DISPLAY is set. ",
                         0),
              0u)
        << line;
    for (const char* way : {"tomery --help", "tomery-doc"}) {
        EXPECT_NE(line.find(way), std::string::npos) << way;
    }
    EXPECT_EQ(output(".out"), "");
    EXPECT_TRUE(std::filesystem::is_empty(folder.Root()));

    EXPECT_EQ(run("--help"), 0);
    EXPECT_EQ(output(".out").rfind("Usage: tomery [options] [FILE]\n", 0), 0u);
    EXPECT_EQ(run("--version"), 0);
    EXPECT_EQ(output(".out").rfind("tomery ", 0), 0u);
    EXPECT_EQ(output(".err"), "");
}

}  // namespace
}  // namespace tomery::app
