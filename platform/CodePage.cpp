#include "platform/CodePage.h"

#include <cstdint>
#include <cstring>

#include "platform/CodePageConverter.h"

namespace platform {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Reads one code point from UTF-16 at `i`; lone surrogates give U+FFFD.
char32_t NextUtf16(const std::u16string& text, size_t& i) {
    const char16_t u = text[i++];
    if (u >= 0xD800 && u <= 0xDBFF) {
        if (i < text.size() && text[i] >= 0xDC00 && text[i] <= 0xDFFF) {
            const char16_t low = text[i++];
            return 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (low - 0xDC00);
        }
        return kReplacement;
    }
    if (u >= 0xDC00 && u <= 0xDFFF) return kReplacement;
    return u;
}

void AppendUtf16(std::u16string& out, char32_t cp) {
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(cp));
    }
}

// One open converter per direction and thread. The game's rules: a character the code page
// lacks becomes one '?' however many UTF-16 units it takes; a byte that starts no character
// becomes U+FFFD, so the player sees that something was there.
CodePageConverter& ToAnsiConverter() {
    thread_local CodePageConverter c(CodePageConverter::Direction::Utf16ToAnsi, "?",
                                     CodePageConverter::Marks::PerCharacter);
    return c;
}

CodePageConverter& FromAnsiConverter() {
    const char16_t replacement = kReplacement;
    thread_local CodePageConverter c(CodePageConverter::Direction::AnsiToUtf16,
                                     std::string(reinterpret_cast<const char*>(&replacement), sizeof replacement));
    return c;
}

}  // namespace

std::string ToAnsi(std::u16string_view text) {
    return ToAnsiConverter().Convert(
        std::string_view(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t)));
}

std::u16string FromAnsi(std::string_view bytes) {
    const std::string units = FromAnsiConverter().Convert(bytes);
    std::u16string out(units.size() / sizeof(char16_t), u'\0');
    std::memcpy(out.data(), units.data(), out.size() * sizeof(char16_t));
    return out;
}

std::string ToUtf8(const std::u16string& text) {
    std::string out;
    out.reserve(text.size() * 3);
    size_t i = 0;
    while (i < text.size()) {
        const char32_t cp = NextUtf16(text, i);
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

std::u16string FromUtf8(const std::string& text) {
    std::u16string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const uint8_t b = static_cast<uint8_t>(text[i]);
        size_t extra = 0;
        char32_t cp = 0;
        char32_t min = 0;
        if (b < 0x80) {
            out.push_back(b);
            ++i;
            continue;
        } else if ((b & 0xE0) == 0xC0) {
            extra = 1;
            cp = b & 0x1F;
            min = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2;
            cp = b & 0x0F;
            min = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3;
            cp = b & 0x07;
            min = 0x10000;
        } else {
            out.push_back(static_cast<char16_t>(kReplacement));
            ++i;
            continue;
        }
        size_t k = 1;
        for (; k <= extra && i + k < text.size(); ++k) {
            const uint8_t c = static_cast<uint8_t>(text[i + k]);
            if ((c & 0xC0) != 0x80) break;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (k <= extra || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out.push_back(static_cast<char16_t>(kReplacement));
            i += k;  // skip the lead byte and the continuation bytes that belonged to it
            continue;
        }
        AppendUtf16(out, cp);
        i += extra + 1;
    }
    return out;
}

long AnsiTextLength(std::string_view bytes) {
    long characters = 0;
    for (size_t i = 0; i < bytes.size(); ++i, ++characters) {
        const auto b = static_cast<uint8_t>(bytes[i]);
        if (b < 0x20 || b == 0x7F || b == 0xFF) return -1;
        if (b <= 0x80) continue;  // ASCII, and 0x80 (the euro sign)
        if (i + 1 == bytes.size()) return -1;
        const auto trail = static_cast<uint8_t>(bytes[++i]);
        if (trail < 0x40 || trail == 0x7F || trail == 0xFF) return -1;
    }
    return characters;
}

bool IsAnsiText(std::string_view bytes) {
    const long characters = AnsiTextLength(bytes);
    if (characters < 0) return false;
    // Pairs of the right form that the code page leaves unassigned convert to U+FFFD.
    return characters == static_cast<long>(bytes.size()) || FromAnsi(bytes).find(u'\uFFFD') == std::u16string::npos;
}

int32_t AnsiCode(char16_t c) {
    if (c < 0x80) return c;
    const std::string bytes = ToAnsi(std::u16string(1, c));
    if (bytes.size() == 1) {
        const auto b = static_cast<unsigned char>(bytes[0]);
        return b == '?' ? -1 : b;  // '?' stands for a character the code page lacks
    }
    if (bytes.size() == 2) return static_cast<unsigned char>(bytes[0]) * 256 + static_cast<unsigned char>(bytes[1]);
    return -1;
}

namespace {

// The length of the well-formed UTF-8 in `bytes`, not counting a sequence the end cuts short;
// 0 when they are ASCII only or not UTF-8 at all.
size_t Utf8Length(std::string_view bytes) {
    bool beyondAscii = false;
    size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const size_t extra = b < 0x80                 ? 0
                             : b >= 0xC2 && b <= 0xDF ? 1
                             : b >= 0xE0 && b <= 0xEF ? 2
                             : b >= 0xF0 && b <= 0xF4 ? 3
                                                      : 4;
        if (extra == 4) return 0;
        if (i + extra >= bytes.size() && extra > 0) break;  // cut short by the end
        for (size_t k = 1; k <= extra; ++k) {
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return 0;
        }
        beyondAscii = beyondAscii || extra > 0;
        i += extra + 1;
    }
    return beyondAscii ? i : 0;
}

}  // namespace

std::u16string FromUtf8OrAnsi(std::string_view bytes) {
    constexpr std::string_view kMark = "\xEF\xBB\xBF";
    if (bytes.substr(0, kMark.size()) == kMark) bytes.remove_prefix(kMark.size());
    if (const size_t length = Utf8Length(bytes)) return FromUtf8(std::string(bytes.substr(0, length)));
    return FromAnsi(bytes);
}

}  // namespace platform
