#pragma once
// The one CP936 (GBK) converter of the program and the advertising module: whole texts between
// the ANSI code page and UTF-16 or UTF-8, through iconv. What cannot be converted (an invalid or
// cut sequence, a character the target lacks) becomes the caller's replacement, so each caller
// states its own rule: the game shows U+FFFD for bad bytes, the module writes "?" as the system
// conversions it stands in for do.

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

class CodePageConverter {
public:
    enum class Direction { Utf16ToAnsi, AnsiToUtf16, AnsiToUtf8, Utf8ToAnsi };
    // How many replacements a character outside the BMP gets when it cannot be converted: one,
    // or one per UTF-16 unit (two), which is what a conversion through UTF-16 gives.
    enum class Marks { PerCharacter, PerUtf16Unit };

    // `replacement` is in the target encoding (UTF-16 in native byte order for AnsiToUtf16).
    CodePageConverter(Direction direction, std::string replacement, Marks marks = Marks::PerUtf16Unit);
    ~CodePageConverter();
    CodePageConverter(const CodePageConverter&) = delete;
    CodePageConverter& operator=(const CodePageConverter&) = delete;

    // Bytes in the source encoding to bytes in the target encoding; empty when iconv lacks CP936.
    std::string Convert(std::string_view in);

    // The length of the well-formed UTF-8 character at the start of `text` (`left` bytes), or 0
    // when there is none: no overlong form, surrogate or value past U+10FFFF.
    static std::size_t Utf8CharLength(const char* text, std::size_t left);

private:
    // Input bytes and replacement count for the unconvertible sequence at `in`.
    std::size_t SkipLength(const char* in, std::size_t left, std::size_t& marks) const;

    Direction direction_;
    std::string replacement_;
    Marks marks_;
    void* cd_;
    std::size_t inUnit_ = 1;
};

}  // namespace platform
