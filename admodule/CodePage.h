#pragma once
// Conversions between the ANSI code page of the module's texts (CP936), UTF-8 and UTF-16.
// A character that cannot be converted becomes "?", as the system conversions do.

#include <string>
#include <string_view>

namespace tavi {

// One direction of conversion, kept open for a batch of texts.
class CodeConverter {
public:
    enum class Direction { Utf16ToAnsi, AnsiToUtf16, AnsiToUtf8, Utf8ToAnsi };

    explicit CodeConverter(Direction direction);
    ~CodeConverter();
    CodeConverter(const CodeConverter&) = delete;
    CodeConverter& operator=(const CodeConverter&) = delete;

    // Bytes in the source encoding to bytes in the target encoding.
    std::string convert(std::string_view in);

private:
    Direction direction_;
    void* cd_;
    std::size_t inUnit_;
    std::string_view replacement_;
};

std::string Utf16ToAnsi(std::u16string_view text);
std::u16string AnsiToUtf16(std::string_view text);
std::string AnsiToUtf8(std::string_view text);
std::string Utf8ToAnsi(std::string_view text);

}  // namespace tavi
