#pragma once
#include <string>
#include <string_view>

namespace platform {

// The ANSI code page of the game is CP936 (GBK). Texts inside the game are UTF-16.
std::string ToAnsi(std::u16string_view text);     // a character the code page lacks becomes one '?'
std::u16string FromAnsi(std::string_view bytes);  // a byte that starts no character becomes U+FFFD
std::string ToUtf8(const std::u16string& text);
std::u16string FromUtf8(const std::string& text);

}  // namespace platform
