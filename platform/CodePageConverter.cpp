#include "platform/CodePageConverter.h"

#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <utility>

namespace platform {
namespace {

constexpr const char* kAnsi = "CP936";
constexpr const char* kUtf8 = "UTF-8";
constexpr const char* kUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

bool InRange(char c, unsigned char low, unsigned char high) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= low && byte <= high;
}

char16_t Utf16Unit(const char* p) {
    char16_t unit = 0;
    std::memcpy(&unit, p, sizeof unit);
    return unit;
}

}  // namespace

std::size_t CodePageConverter::Utf8CharLength(const char* text, std::size_t left) {
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

CodePageConverter::CodePageConverter(Direction direction, std::string replacement, Marks marks)
    : direction_(direction), replacement_(std::move(replacement)), marks_(marks) {
    const char* from = kAnsi;
    const char* to = kAnsi;
    switch (direction) {
    case Direction::Utf16ToAnsi:
        from = kUtf16;
        inUnit_ = sizeof(char16_t);
        break;
    case Direction::AnsiToUtf16:
        to = kUtf16;
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

CodePageConverter::~CodePageConverter() {
    if (cd_ != kNoConverter) iconv_close(static_cast<iconv_t>(cd_));
}

// An unconvertible sequence is skipped by one input unit, except a whole well-formed character
// the target lacks: a UTF-8 character, or a UTF-16 surrogate pair, is skipped at once.
std::size_t CodePageConverter::SkipLength(const char* in, std::size_t left, std::size_t& marks) const {
    marks = 1;
    std::size_t skip = left < inUnit_ ? left : inUnit_;
    if (direction_ == Direction::Utf8ToAnsi) {
        const std::size_t length = Utf8CharLength(in, left);
        if (length > 1) {
            skip = length;
            if (length == 4 && marks_ == Marks::PerUtf16Unit) marks = 2;
        }
    } else if (direction_ == Direction::Utf16ToAnsi && left >= 4) {
        const char16_t high = Utf16Unit(in);
        const char16_t low = Utf16Unit(in + 2);
        if (high >= 0xD800 && high <= 0xDBFF && low >= 0xDC00 && low <= 0xDFFF) {
            skip = 4;
            if (marks_ == Marks::PerUtf16Unit) marks = 2;
        }
    }
    return skip;
}

std::string CodePageConverter::Convert(std::string_view in) {
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
        std::size_t marks = 1;
        const std::size_t skip = SkipLength(inPtr, inLeft, marks);
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

}  // namespace platform
