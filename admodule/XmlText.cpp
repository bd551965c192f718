#include "admodule/XmlText.h"

#include "admodule/XmlDepthScan.h"

#include <cstdio>

namespace tavi {
namespace {

bool StartsWith(std::string_view text, std::size_t at, std::string_view prefix) {
    return text.substr(at, prefix.size()) == prefix;
}

// The offset of the place the XML library reports as `row` and `column` (both from 1), counting
// one column per byte or, with `utf8`, per UTF-8 sequence, and one per tab. npos when there is
// no such place.
std::size_t OffsetOf(std::string_view text, int row, int column, bool utf8) {
    std::size_t i = 0;
    if (utf8 && StartsWith(text, 0, "\xEF\xBB\xBF")) i = 3;  // a byte order mark takes no column
    for (int r = 1; r < row; ++r) {
        i = text.find('\n', i);
        if (i == std::string_view::npos) return i;
        ++i;
    }
    for (int c = 1; c < column; ++c) {
        if (i >= text.size() || text[i] == '\n') return std::string_view::npos;
        const auto lead = static_cast<unsigned char>(text[i]);
        i += !utf8 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    }
    return i < text.size() ? i : std::string_view::npos;
}

}  // namespace

int XmlNestingDepth(std::string_view text) { return XmlDepthScan::Deepest(text, kMaxXmlDepth); }

bool ParseXmlText(TiXmlDocument& doc, std::string_view text) {
    if (text.size() > kMaxXmlBytes) return false;
    if (XmlNestingDepth(text) > kMaxXmlDepth) return false;
    // Zero-terminated for the parser, with room to spare: on a UTF-8 lead byte the parser steps
    // over the whole sequence before it looks for the end, so a text that ends inside one would
    // take it past a single terminating zero.
    std::string copy(text);
    copy.append(4, '\0');
    doc.Parse(copy.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
    return !doc.Error();
}

bool ReadSmallFile(const std::string& path, std::string& contents) {
    contents.clear();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    char buffer[8192];
    bool ok = true;
    for (;;) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, file);
        if (got == 0) break;
        if (contents.size() + got > kMaxXmlBytes) {
            ok = false;
            break;
        }
        contents.append(buffer, got);
    }
    if (std::ferror(file)) ok = false;
    std::fclose(file);
    return ok;
}

std::string ElementText(const TiXmlElement* element) {
    if (element == nullptr) return std::string();
    const char* text = element->GetText();
    return text != nullptr ? std::string(text) : std::string();
}

}  // namespace tavi

namespace tavi {

std::optional<std::string> RawElementText(std::string_view source, const TiXmlElement& element) {
    const std::string open = std::string("<") + element.Value();
    // The library counts columns in UTF-8 sequences or in bytes, as the document's declaration
    // says; the place where the element's start tag stands tells which.
    for (const bool utf8 : {true, false}) {
        const std::size_t at = OffsetOf(source, element.Row(), element.Column(), utf8);
        if (at == std::string_view::npos || !StartsWith(source, at, open)) continue;
        char quote = 0;
        std::size_t end = at + open.size();
        for (; end < source.size(); ++end) {
            const char c = source[end];
            if (quote != 0) {
                if (c == quote) quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '>') {
                break;
            }
        }
        if (end >= source.size()) return std::nullopt;
        if (source[end - 1] == '/') return std::string();
        const std::size_t next = source.find('<', end + 1);
        if (next == std::string_view::npos) return std::nullopt;
        std::string raw(source.substr(end + 1, next - end - 1));
        if (!StartsWith(source, next, "</")) raw.push_back('<');
        return raw;
    }
    return std::nullopt;
}

}  // namespace tavi
