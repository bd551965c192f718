#include "admodule/CodePage.h"

#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cstring>

namespace tavi {
namespace {

constexpr const char* kAnsi = "CP936";
constexpr const char* kUtf8 = "UTF-8";
constexpr const char* kUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
constexpr char kQuestion16[2] = {std::endian::native == std::endian::little ? '?' : '\0',
                                 std::endian::native == std::endian::little ? '\0' : '?'};

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

bool InRange(char c, unsigned char low, unsigned char high) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= low && byte <= high;
}

// The length of the well-formed UTF-8 character at the start of `text`, or 0 when it is not one.
std::size_t Utf8CharLength(const char* text, std::size_t left) {
    if (left == 0) return 0;
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (left < length || !InRange(text[1], low, high)) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (!InRange(text[i], 0x80, 0xBF)) return 0;
    }
    return length;
}

}  // namespace

CodeConverter::CodeConverter(Direction direction) : direction_(direction) {
    const char* from = kAnsi;
    const char* to = kAnsi;
    inUnit_ = 1;
    replacement_ = "?";
    switch (direction) {
    case Direction::Utf16ToAnsi:
        from = kUtf16;
        inUnit_ = sizeof(char16_t);
        break;
    case Direction::AnsiToUtf16:
        to = kUtf16;
        replacement_ = std::string_view(kQuestion16, 2);
        break;
    case Direction::AnsiToUtf8:
        to = kUtf8;
        break;
    case Direction::Utf8ToAnsi:
        from = kUtf8;
        break;
    }
    cd_ = iconv_open(to, from);
}

CodeConverter::~CodeConverter() {
    if (cd_ != kNoConverter) iconv_close(static_cast<iconv_t>(cd_));
}

// An input sequence that cannot be converted (invalid, cut, or not in the target) is replaced
// and skipped by one input unit. From UTF-8, a whole character the target lacks is skipped at
// once and replaced once per UTF-16 unit, as a conversion through UTF-16 gives it.
std::string CodeConverter::convert(std::string_view in) {
    std::string out;
    if (in.empty() || cd_ == kNoConverter) return out;
    const auto cd = static_cast<iconv_t>(cd_);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);  // a fresh state for every text
    out.reserve(in.size() * 2 + 8);
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char buffer[1024];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer, sizeof buffer - outLeft);
        if (rc != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) continue;
        std::size_t skip = inLeft < inUnit_ ? inLeft : inUnit_;
        std::size_t marks = 1;
        if (direction_ == Direction::Utf8ToAnsi) {
            const std::size_t length = Utf8CharLength(inPtr, inLeft);
            if (length > 1) {
                skip = length;
                marks = length == 4 ? 2 : 1;
            }
        }
        for (std::size_t i = 0; i < marks; ++i) out.append(replacement_);
        inPtr += skip;
        inLeft -= skip;
    }
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    out.append(buffer, sizeof buffer - outLeft);
    return out;
}

std::string Utf16ToAnsi(std::u16string_view text) {
    const std::string_view bytes(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t));
    return CodeConverter(CodeConverter::Direction::Utf16ToAnsi).convert(bytes);
}

std::u16string AnsiToUtf16(std::string_view text) {
    const std::string bytes = CodeConverter(CodeConverter::Direction::AnsiToUtf16).convert(text);
    std::u16string out(bytes.size() / sizeof(char16_t), u'\0');
    std::memcpy(out.data(), bytes.data(), out.size() * sizeof(char16_t));
    return out;
}

std::string AnsiToUtf8(std::string_view text) {
    return CodeConverter(CodeConverter::Direction::AnsiToUtf8).convert(text);
}

std::string Utf8ToAnsi(std::string_view text) {
    return CodeConverter(CodeConverter::Direction::Utf8ToAnsi).convert(text);
}

}  // namespace tavi
