#include "admodule/CodePage.h"

#include <cstring>
#include <string_view>

namespace tavi {

CodeConverter MakeConverter(CodeConverter::Direction direction) {
    static const char16_t kQuestion16[] = u"?";
    const std::string_view question = direction == CodeConverter::Direction::AnsiToUtf16
                                          ? std::string_view(reinterpret_cast<const char*>(kQuestion16), 2)
                                          : std::string_view("?", 1);
    return CodeConverter(direction, std::string(question), CodeConverter::Marks::PerUtf16Unit);
}

std::string Utf16ToAnsi(std::u16string_view text) {
    const std::string_view bytes(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t));
    return MakeConverter(CodeConverter::Direction::Utf16ToAnsi).Convert(bytes);
}

std::u16string AnsiToUtf16(std::string_view text) {
    const std::string bytes = MakeConverter(CodeConverter::Direction::AnsiToUtf16).Convert(text);
    std::u16string out(bytes.size() / sizeof(char16_t), u'\0');
    std::memcpy(out.data(), bytes.data(), out.size() * sizeof(char16_t));
    return out;
}

std::string AnsiToUtf8(std::string_view text) {
    return MakeConverter(CodeConverter::Direction::AnsiToUtf8).Convert(text);
}

std::string Utf8ToAnsi(std::string_view text) {
    return MakeConverter(CodeConverter::Direction::Utf8ToAnsi).Convert(text);
}

}  // namespace tavi
