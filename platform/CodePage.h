#pragma once
#include <string>

namespace platform {

// The ANSI code page of the game is CP936 (GBK). Texts inside the game are UTF-16.
std::string ToAnsi(const std::u16string& text);     // unconvertible characters become '?'
std::u16string FromAnsi(const std::string& bytes);  // invalid bytes become U+FFFD
std::string ToUtf8(const std::u16string& text);
std::u16string FromUtf8(const std::string& text);

}  // namespace platform
