#include "platform/CodePage.h"

#include <iconv.h>

#include <cstdint>

namespace platform {
namespace {

// One conversion descriptor per direction and thread, opened on first use.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (Ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts the whole input or nothing; `out` receives the bytes on success.
    bool Convert(const char* in, size_t inLen, char* out, size_t outCap, size_t& outLen) {
        if (!Ok()) return false;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in);
        char* dst = out;
        size_t left = inLen;
        size_t room = outCap;
        if (iconv(cd_, &src, &left, &dst, &room) == static_cast<size_t>(-1) || left != 0) return false;
        if (iconv(cd_, nullptr, nullptr, &dst, &room) == static_cast<size_t>(-1)) return false;
        outLen = outCap - room;
        return true;
    }

private:
    iconv_t cd_;
};

Converter& ToGbk() {
    thread_local Converter c("CP936", "UTF-32LE");
    return c;
}

Converter& FromGbk() {
    thread_local Converter c("UTF-32LE", "CP936");
    return c;
}

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

void PutLe32(char* p, char32_t cp) {
    for (int k = 0; k < 4; ++k) p[k] = static_cast<char>((cp >> (8 * k)) & 0xFF);
}

char32_t GetLe32(const char* p) {
    char32_t cp = 0;
    for (int k = 3; k >= 0; --k) cp = (cp << 8) | static_cast<uint8_t>(p[k]);
    return cp;
}

// Decodes `len` CP936 bytes that should form exactly one character.
bool DecodeOne(const char* bytes, size_t len, char32_t& cp) {
    char out[16];
    size_t outLen = 0;
    if (!FromGbk().Convert(bytes, len, out, sizeof out, outLen) || outLen != 4) return false;
    cp = GetLe32(out);
    return true;
}

}  // namespace

std::string ToAnsi(const std::u16string& text) {
    std::string out;
    out.reserve(text.size() * 2);
    size_t i = 0;
    while (i < text.size()) {
        const char32_t cp = NextUtf16(text, i);
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
            continue;
        }
        char in[4];
        PutLe32(in, cp);
        char bytes[8];
        size_t n = 0;
        if (cp != kReplacement && ToGbk().Convert(in, 4, bytes, sizeof bytes, n) && n > 0 && n <= 2) {
            out.append(bytes, n);
        } else {
            out.push_back('?');
        }
    }
    return out;
}

std::u16string FromAnsi(const std::string& bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        const uint8_t b = static_cast<uint8_t>(bytes[i]);
        if (b < 0x80) {
            out.push_back(b);
            ++i;
            continue;
        }
        char32_t cp = 0;
        if (i + 1 < bytes.size() && b >= 0x81 && b <= 0xFE && DecodeOne(&bytes[i], 2, cp)) {
            AppendUtf16(out, cp);
            i += 2;
        } else if (DecodeOne(&bytes[i], 1, cp)) {
            AppendUtf16(out, cp);
            ++i;
        } else {
            out.push_back(static_cast<char16_t>(kReplacement));
            ++i;
        }
    }
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

}  // namespace platform
