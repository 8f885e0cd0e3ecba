// Test helper: key bindings written the way a user reads them, such as "Ctrl+Shift+PgUp"
// or the two-key "Ctrl+Q S", turned into command records.
#pragma once

#include <algorithm>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>

#include "OvcCmd.h"

namespace tomery::editor::testing {

struct KeyStroke {
    KeyCode key = 0;
    ModifierSet modifiers = modifier::None;
};

inline KeyCode ParseKeyName(const std::string& name) {
    static const std::pair<const char*, KeyCode> kNames[] = {
        {"Backspace", key::Backspace}, {"Tab", key::Tab},       {"Enter", key::Enter},
        {"PgUp", key::PageUp},         {"PgDn", key::PageDown}, {"End", key::End},
        {"Home", key::Home},           {"Left", key::Left},     {"Up", key::Up},
        {"Right", key::Right},         {"Down", key::Down},     {"Ins", key::Insert},
        {"Del", key::Delete},          {"F2", key::F2},
    };
    for (const auto& [text, code] : kNames) {
        if (name == text) {
            return code;
        }
    }
    if (name.size() == 1 &&
        ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= '0' && name[0] <= '9'))) {
        return static_cast<KeyCode>(name[0]);
    }
    throw std::invalid_argument("unknown key name " + name);
}

/// "Ctrl+Shift+Left" and the like.
inline KeyStroke ParseKeyStroke(const std::string& text) {
    KeyStroke stroke;
    std::string rest = text;
    for (const auto& [prefix, bit] :
         {std::pair{"Ctrl+", modifier::Ctrl}, std::pair{"Shift+", modifier::Shift},
          std::pair{"Alt+", modifier::Alt}}) {
        const std::string p = prefix;
        if (rest.starts_with(p)) {
            stroke.modifiers |= bit;
            rest.erase(0, p.size());
        }
    }
    stroke.key = ParseKeyName(rest);
    return stroke;
}

inline CommandCode ParseCommandName(const std::string& name) {
    const auto found = std::ranges::find(kCommandNames, name);
    if (found == kCommandNames.end()) {
        throw std::invalid_argument("unknown command " + name);
    }
    return static_cast<CommandCode>(found - kCommandNames.begin());
}

/// "Keys command", where a two-key binding's second key takes modifier::PlainOrCtrl.
inline TOvcCommandRecord ParseBinding(const std::string& text) {
    std::istringstream words(text);
    std::string first;
    std::string second;
    std::string command;
    words >> first >> second >> command;
    const KeyStroke prefix = ParseKeyStroke(first);
    if (command.empty()) {
        return {prefix.key, prefix.modifiers, 0, 0, ParseCommandName(second)};
    }
    return {prefix.key, prefix.modifiers, ParseKeyStroke(second).key, modifier::PlainOrCtrl,
            ParseCommandName(command)};
}

}  // namespace tomery::editor::testing
