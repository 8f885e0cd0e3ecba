#include "CharacterSet.h"

#include "TextCase.h"
#include "Utf8.h"

#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/translit.h>
#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>

#include <array>
#include <iterator>
#include <mutex>
#include <optional>
#include <stdexcept>

namespace tomery::charset {

namespace {

constexpr char16_t kFirstPrivateByte = 0xF700;
constexpr char16_t kReplacementCharacter = 0xFFFD;

/// The Palm OS Latin set is Windows-1252 as the handheld's fonts draw it: the four card
/// suits where Windows has 0x8D to 0x90 (Ž among them), and no ž at 0x9E.
constexpr std::array<char16_t, 32> PalmOsHighBytes() {
    std::array<char16_t, 32> high{};
    high[0x8D - 0x80] = 0x2666;  // ♦
    high[0x8E - 0x80] = 0x2663;  // ♣
    high[0x8F - 0x80] = 0x2665;  // ♥
    high[0x90 - 0x80] = 0x2660;  // ♠
    high[0x9E - 0x80] = 0x009E;  // undefined
    return high;
}

const TCharacterSet::TDefinition kDefinitions[] = {
    {"windows-1252", "Western (Windows-1252)", "windows-1252", {}},
    {"palmos-latin", "Palm OS Latin (Palm OS)", "windows-1252", PalmOsHighBytes()},
    {"iso-8859-1", "Western (ISO-8859-1)", "ISO-8859-1", {}},
    {"iso-8859-15", "Western (ISO-8859-15)", "ISO-8859-15", {}},
    {"windows-1250", "Central European (Windows-1250)", "windows-1250", {}},
    {"iso-8859-2", "Central European (ISO-8859-2)", "ISO-8859-2", {}},
    {"windows-1257", "Baltic (Windows-1257)", "windows-1257", {}},
    {"windows-1251", "Cyrillic (Windows-1251)", "windows-1251", {}},
    {"koi8-r", "Cyrillic (KOI8-R)", "KOI8-R", {}},
    {"koi8-u", "Cyrillic (KOI8-U)", "KOI8-U", {}},
    {"iso-8859-5", "Cyrillic (ISO-8859-5)", "ISO-8859-5", {}},
    {"windows-1253", "Greek (Windows-1253)", "windows-1253", {}},
    {"iso-8859-7", "Greek (ISO-8859-7)", "ISO-8859-7", {}},
    {"windows-1254", "Turkish (Windows-1254)", "windows-1254", {}},
    {"iso-8859-9", "Turkish (ISO-8859-9)", "ISO-8859-9", {}},
};

/// Names people type for the sets: the code page numbers and the common ISO names.
struct TAlias {
    const char* Alias;
    const char* Name;
};
const TAlias kAliases[] = {
    {"cp1252", "windows-1252"}, {"latin1", "iso-8859-1"},   {"cp1250", "windows-1250"},
    {"cp1251", "windows-1251"}, {"cp1253", "windows-1253"}, {"cp1254", "windows-1254"},
    {"cp1257", "windows-1257"}, {"koi8r", "koi8-r"},        {"koi8u", "koi8-u"},
    {"latin2", "iso-8859-2"},   {"latin5", "iso-8859-9"},   {"latin9", "iso-8859-15"},
    {"palmos", "palmos-latin"}, {"palm", "palmos-latin"},
};

std::string NameKey(std::string_view name) {
    std::string key;
    for (const char c : AsciiLowered(std::string(name))) {
        if (c != '-' && c != '_') {
            key += c;
        }
    }
    return key;
}

/// The character ICU gives a byte; nothing when the code page leaves it undefined.
std::optional<char16_t> IcuCharacter(UConverter* converter, unsigned char byte) {
    UErrorCode status = U_ZERO_ERROR;
    ucnv_reset(converter);
    const char in = static_cast<char>(byte);
    UChar out[4];
    const int32_t length = ucnv_toUChars(converter, out, 4, &in, 1, &status);
    if (U_FAILURE(status) || length != 1 || out[0] == kReplacementCharacter ||
        (out[0] == 0x1A && byte != 0x1A)) {
        return std::nullopt;
    }
    return static_cast<char16_t>(out[0]);
}

/// "Windows-1252" of "Western (Windows-1252)": the caption's part in brackets.
std::string ShortNameOf(const std::string& caption) {
    const std::size_t open = caption.find('(');
    const std::size_t close = caption.rfind(')');
    return open == std::string::npos || close <= open ? caption
                                                      : caption.substr(open + 1, close - open - 1);
}

std::string Utf8Of(const icu::UnicodeString& text) {
    std::string utf8;
    text.toUTF8String(utf8);
    return utf8;
}

/// Russian by its common romanization (Ж → Zh, where ICU's general rule writes Ž), every other
/// script by ICU's, then down to ASCII, which every offered set holds.
constexpr char kTransliteration[] = "Russian-Latin/BGN; Any-Latin; Latin-ASCII";

/// One transliterator for the whole program: building one costs milliseconds, and ICU's
/// transliterators are not safe to share between threads without a lock.
class TSharedTransliterator {
  public:
    icu::UnicodeString Transliterate(icu::UnicodeString text) {
        const std::lock_guard lock(mutex_);
        if (!transliterator_) {
            UErrorCode status = U_ZERO_ERROR;
            transliterator_.reset(
                icu::Transliterator::createInstance(kTransliteration, UTRANS_FORWARD, status));
            if (U_FAILURE(status)) {
                transliterator_.reset();
                return icu::UnicodeString();
            }
        }
        transliterator_->transliterate(text);
        return text;
    }

  private:
    std::mutex mutex_;
    std::unique_ptr<icu::Transliterator> transliterator_;
};

TSharedTransliterator& Transliterator() {
    static TSharedTransliterator shared;
    return shared;
}

}  // namespace

TCharacterSet::TCharacterSet(const TDefinition& definition)
    : name_(definition.Name),
      caption_(definition.Caption),
      shortName_(ShortNameOf(caption_)) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open(definition.IcuName, &status);
    if (U_FAILURE(status)) {
        throw std::runtime_error(std::string("Character set not available: ") + definition.IcuName);
    }
    for (int value = 0; value < 256; ++value) {
        const auto byte = static_cast<unsigned char>(value);
        std::optional<char16_t> character = IcuCharacter(converter, byte);
        if (byte >= 0x80 && byte <= 0x9F && definition.HighOverrides[byte - 0x80] != 0) {
            const char16_t override = definition.HighOverrides[byte - 0x80];
            character = override <= 0x9F ? std::nullopt : std::optional<char16_t>(override);
        }
        defined_[byte] = character.has_value();
        characters_[byte] =
            character.value_or(byte <= 0x9F ? char16_t(byte) : char16_t(kFirstPrivateByte + byte));
    }
    ucnv_close(converter);
    // Each character leads back to its byte; where two bytes share one (none of the offered
    // sets has such), the first wins.
    TBytePage none;
    none.fill(-1);
    pages_.push_back(none);
    for (int byte = 255; byte >= 0; --byte) {
        const char16_t character = characters_[static_cast<std::size_t>(byte)];
        std::uint16_t& page = pageOf_[character >> 8];
        if (page == 0) {
            page = static_cast<std::uint16_t>(pages_.size());
            pages_.push_back(none);
        }
        pages_[page][character & 0xFF] = static_cast<std::int16_t>(byte);
    }
    for (std::size_t byte = 0; byte < upperCase_.size(); ++byte) {
        const auto upper = Byte(static_cast<char32_t>(u_toupper(characters_[byte])));
        upperCase_[byte] = defined_[byte] && upper ? *upper : static_cast<unsigned char>(byte);
    }
}

std::u16string TCharacterSet::ToUtf16(std::string_view bytes) const {
    std::u16string text(bytes.size(), u'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        text[i] = characters_[static_cast<unsigned char>(bytes[i])];
    }
    return text;
}

void TCharacterSet::AppendUtf8(std::string_view bytes, std::string& out) const {
    out.reserve(out.size() + bytes.size());
    for (const char byte : bytes) {
        if (static_cast<unsigned char>(byte) < 0x80) {
            out += byte;
        } else {
            charset::AppendUtf8(characters_[static_cast<unsigned char>(byte)], out);
        }
    }
}

std::string TCharacterSet::ToUtf8(std::string_view bytes) const {
    std::string out;
    AppendUtf8(bytes, out);
    return out;
}

std::string TCharacterSet::FromUtf16(std::u16string_view text, TReplacementLog* log,
                                     std::int64_t line) const {
    std::string bytes;
    bytes.reserve(text.size());
    for (const char16_t c : text) {
        const std::int16_t byte = ByteOrNone(c);
        if (byte < 0) {
            return convertSlowly(text, log, line);
        }
        bytes += static_cast<char>(byte);
    }
    return bytes;
}

std::string TCharacterSet::FromUtf8(std::string_view text, TReplacementLog* log,
                                    std::int64_t line) const {
    std::string bytes;
    bytes.reserve(text.size());
    AppendFromUtf8(text, bytes, log, line);
    return bytes;
}

void TCharacterSet::AppendFromUtf8(std::string_view text, std::string& out, TReplacementLog* log,
                                   std::int64_t line) const {
    const std::size_t first = out.size();
    std::size_t i = 0;
    for (;;) {
        const std::size_t ascii = AsciiLength(text.substr(i));
        out.append(text.data() + i, ascii);
        i += ascii;
        if (i == text.size()) {
            return;
        }
        std::size_t start = i;
        const std::optional<char32_t> c = NextUtf8(text, i);
        const std::optional<unsigned char> byte = c ? Byte(*c) : std::nullopt;
        if (!byte) {
            // The rest goes the slow way, with the marks composed and the gaps transliterated;
            // a malformed byte there is U+FFFD, which no set has. The character before goes
            // too, as a combining mark here may belong to it.
            if (out.size() > first) {
                out.pop_back();
                do {
                    --start;
                } while (start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80);
            }
            const std::u16string rest =
                icu::UnicodeString::fromUTF8(
                    icu::StringPiece(text.data() + start,
                                     static_cast<int32_t>(text.size() - start)))
                    .getTerminatedBuffer();
            out += convertSlowly(rest, log, line);
            return;
        }
        out += static_cast<char>(*byte);
    }
}

std::string TCharacterSet::FromMixedBytes(std::string_view text) const {
    std::string out;
    std::size_t unicodeStart = 0;  ///< where the valid UTF-8 not yet converted begins
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t at = i;
        if (NextUtf8(text, i)) {
            continue;
        }
        AppendFromUtf8(text.substr(unicodeStart, at - unicodeStart), out);
        out += text[at];
        unicodeStart = i;
    }
    AppendFromUtf8(text.substr(unicodeStart), out);
    return out;
}

std::string TCharacterSet::convertSlowly(std::u16string_view text, TReplacementLog* log,
                                         std::int64_t line) const {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    icu::UnicodeString composed(false, text.data(), static_cast<int32_t>(text.size()));
    if (U_SUCCESS(status)) {
        composed = nfc->normalize(composed, status);
    }
    std::string bytes;
    int32_t i = 0;
    const int32_t length = composed.length();
    while (i < length) {
        const UChar32 c = composed.char32At(i);
        if (const auto byte = Byte(static_cast<char32_t>(c))) {
            bytes += static_cast<char>(*byte);
            i += U16_LENGTH(c);
            continue;
        }
        // A run of characters the set lacks is transliterated as a whole, so that a word
        // keeps its context ("Жук" → "Zhuk").
        int32_t end = i;
        std::size_t characters = 0;
        while (end < length) {
            const UChar32 d = composed.char32At(end);
            if (Byte(static_cast<char32_t>(d))) {
                break;
            }
            end += U16_LENGTH(d);
            ++characters;
        }
        const icu::UnicodeString run = composed.tempSubStringBetween(i, end);
        icu::UnicodeString latin = Transliterator().Transliterate(run);
        // A capital typed alone is more often a word's first letter than part of a word in
        // capitals: Ж becomes Zh, where the transliteration, which cannot tell, writes ZH.
        if (characters == 1 && u_isupper(run.char32At(0)) && latin.length() > 1) {
            icu::UnicodeString rest = latin.tempSubString(1);
            latin.truncate(1);
            latin += rest.toLower(icu::Locale::getRoot());
        }
        std::string shown;
        for (int32_t k = 0; k < latin.length();) {
            const UChar32 d = latin.char32At(k);
            const auto byte = Byte(static_cast<char32_t>(d));
            shown += byte ? static_cast<char>(*byte) : '?';
            k += U16_LENGTH(d);
        }
        if (latin.isEmpty() || latin == run) {
            shown.assign(characters, '?');
        }
        bytes += shown;
        if (log != nullptr) {
            log->Add(line, Utf8Of(run), ToUtf8(shown), characters);
        }
        i = end;
    }
    return bytes;
}

namespace {

/// The set of `kDefinitions[index]`, made when first asked for: a program needs one or two of
/// them, and making one asks ICU for its whole table.
const TCharacterSet& CharacterSetAt(std::size_t index) {
    constexpr std::size_t kSets = std::size(kDefinitions);
    static std::array<std::once_flag, kSets> made;
    static std::array<std::optional<TCharacterSet>, kSets> sets;
    std::call_once(made[index], [index] { sets[index].emplace(kDefinitions[index]); });
    return *sets[index];
}

}  // namespace

const std::vector<const TCharacterSet*>& AllCharacterSets() {
    static const std::vector<const TCharacterSet*> sets = [] {
        std::vector<const TCharacterSet*> all;
        for (std::size_t i = 0; i < std::size(kDefinitions); ++i) {
            all.push_back(&CharacterSetAt(i));
        }
        return all;
    }();
    return sets;
}

const TCharacterSet& DefaultCharacterSet() {
    return CharacterSetAt(0);
}

const TCharacterSet* FindCharacterSet(std::string_view name) {
    std::string key = NameKey(name);
    for (const TAlias& alias : kAliases) {
        if (key == NameKey(alias.Alias)) {
            key = NameKey(alias.Name);
        }
    }
    for (std::size_t i = 0; i < std::size(kDefinitions); ++i) {
        if (key == NameKey(kDefinitions[i].Name)) {
            return &CharacterSetAt(i);
        }
    }
    return nullptr;
}

}  // namespace tomery::charset
