#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// The ANSI code page of the game is CP936 (GBK). Texts inside the game are UTF-16.
std::string ToAnsi(std::u16string_view text);     // a character the code page lacks becomes one '?'
std::u16string FromAnsi(std::string_view bytes);  // a byte that starts no character becomes U+FFFD
// The number of characters in `bytes` when they have the form of code-page text without control
// characters, else -1. Converts nothing, so it costs little whatever a file holds.
long AnsiTextLength(std::string_view bytes);
// True when `bytes` are characters of the code page, none of them a control character: the form
// is checked first, and only text of the right form is converted to find unassigned pairs.
bool IsAnsiText(std::string_view bytes);
std::string ToUtf8(const std::u16string& text);
std::u16string FromUtf8(const std::string& text);
// The ANSI code that stands for `c` (a double-byte character as lead*256+trail, what a key or an
// input method gives for it); -1 when the code page lacks it.
int32_t AnsiCode(char16_t c);
// Bytes of a file or a file name that may be either encoding: UTF-8 when they are well-formed
// UTF-8 with a character beyond ASCII (a byte-order mark skipped, a last character cut short by
// a read bound left out), else the code page.
std::u16string FromUtf8OrAnsi(std::string_view bytes);

}  // namespace platform
