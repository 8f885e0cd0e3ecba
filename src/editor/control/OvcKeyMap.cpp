#include "OvcKeyMap.h"

#include <QChar>
#include <Qt>
#include <array>
#include <string_view>
#include <utility>

namespace tomery::editor {

namespace {

struct TKeyPair {
    int QtKey;
    KeyCode VirtualKey;
};

constexpr std::array kKeys = {
    TKeyPair{Qt::Key_Backspace, key::Backspace},
    TKeyPair{Qt::Key_Tab, key::Tab},
    TKeyPair{Qt::Key_Backtab, key::Tab},
    TKeyPair{Qt::Key_Return, key::Enter},
    TKeyPair{Qt::Key_Enter, key::Enter},
    TKeyPair{Qt::Key_Shift, key::Shift},
    TKeyPair{Qt::Key_Control, key::Ctrl},
    TKeyPair{Qt::Key_Alt, key::Alt},
    TKeyPair{Qt::Key_CapsLock, key::CapsLock},
    TKeyPair{Qt::Key_Escape, 0x1B},
    TKeyPair{Qt::Key_Space, 0x20},
    TKeyPair{Qt::Key_PageUp, key::PageUp},
    TKeyPair{Qt::Key_PageDown, key::PageDown},
    TKeyPair{Qt::Key_End, key::End},
    TKeyPair{Qt::Key_Home, key::Home},
    TKeyPair{Qt::Key_Left, key::Left},
    TKeyPair{Qt::Key_Up, key::Up},
    TKeyPair{Qt::Key_Right, key::Right},
    TKeyPair{Qt::Key_Down, key::Down},
    TKeyPair{Qt::Key_Insert, key::Insert},
    TKeyPair{Qt::Key_Delete, key::Delete},
    TKeyPair{Qt::Key_NumLock, key::NumLock},
    TKeyPair{Qt::Key_ScrollLock, key::ScrollLock},
};

/// The US layout's symbols on the digit keys 0 to 9, typed with Shift.
constexpr std::array<int, 10> kShiftedDigits = {
    Qt::Key_ParenRight, Qt::Key_Exclam,   Qt::Key_At,          Qt::Key_NumberSign,
    Qt::Key_Dollar,     Qt::Key_Percent,  Qt::Key_AsciiCircum, Qt::Key_Ampersand,
    Qt::Key_Asterisk,   Qt::Key_ParenLeft};

/// The US layout's keys by XKB keycode (the Linux input code + 8): the digit row from 1 to
/// 0, then the three letter rows.
constexpr std::uint32_t kDigitRowFirst = 10;
constexpr std::string_view kDigitRow = "1234567890";
struct TLetterRow {
    std::uint32_t First;
    std::string_view Letters;
};
constexpr std::array kLetterRows = {TLetterRow{24, "QWERTYUIOP"}, TLetterRow{38, "ASDFGHJKL"},
                                    TLetterRow{52, "ZXCVBNM"}};

/// The key at the place of `scanCode`, when it is one of the digit row.
KeyCode DigitAt(std::uint32_t scanCode) {
    const std::uint32_t index = scanCode - kDigitRowFirst;
    return scanCode >= kDigitRowFirst && index < kDigitRow.size()
               ? static_cast<KeyCode>(kDigitRow[index])
               : 0;
}

/// The key at the place of `scanCode`, when it is one of the letters.
KeyCode LetterAt(std::uint32_t scanCode) {
    for (const TLetterRow& row : kLetterRows) {
        if (scanCode >= row.First && scanCode - row.First < row.Letters.size()) {
            return static_cast<KeyCode>(row.Letters[scanCode - row.First]);
        }
    }
    return 0;
}

/// A letter beyond the ASCII ones, as the layouts of other scripts (Cyrillic, Greek) and of
/// some Latin ones (the Turkish dotless i) put on the letter keys.
bool IsNonAsciiLetter(int qtKey) {
    return qtKey > 0x7F && qtKey <= 0xFFFF && QChar(static_cast<char16_t>(qtKey)).isLetter();
}

}  // namespace

KeyCode QtKeyToVirtualKey(int qtKey, bool shift, std::uint32_t scanCode) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        return static_cast<KeyCode>(qtKey);
    }
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        return static_cast<KeyCode>(qtKey);
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        return static_cast<KeyCode>(0x70 + (qtKey - Qt::Key_F1));
    }
    for (const TKeyPair& pair : kKeys) {
        if (pair.QtKey == qtKey) {
            return pair.VirtualKey;
        }
    }
    if (const KeyCode digit = DigitAt(scanCode)) {
        return digit;
    }
    if (IsNonAsciiLetter(qtKey)) {
        if (const KeyCode letter = LetterAt(scanCode)) {
            return letter;
        }
    }
    if (shift && scanCode == 0) {
        for (std::size_t digit = 0; digit < kShiftedDigits.size(); ++digit) {
            if (kShiftedDigits[digit] == qtKey) {
                return key::Digit(static_cast<int>(digit));
            }
        }
    }
    return 0;
}

}  // namespace tomery::editor
