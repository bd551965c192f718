#include "admodule/XmlText.h"

#include <cstdio>

namespace tavi {
namespace {

bool StartsWith(std::string_view text, std::size_t at, std::string_view prefix) {
    return text.substr(at, prefix.size()) == prefix;
}

// Index just past `terminator` searched from `from`, or the end of the text.
std::size_t SkipPast(std::string_view text, std::size_t from, std::string_view terminator) {
    const std::size_t at = text.find(terminator, from);
    return at == std::string_view::npos ? text.size() : at + terminator.size();
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

int XmlNestingDepth(std::string_view text) {
    int depth = 0;
    int deepest = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '<') {
            ++i;
            continue;
        }
        if (StartsWith(text, i, "<!--")) {
            i = SkipPast(text, i + 4, "-->");
        } else if (StartsWith(text, i, "<![CDATA[")) {
            i = SkipPast(text, i + 9, "]]>");
        } else if (StartsWith(text, i, "<?") || StartsWith(text, i, "<!")) {
            i = SkipPast(text, i + 2, ">");
        } else if (StartsWith(text, i, "</")) {
            if (depth > 0) --depth;
            i = SkipPast(text, i + 2, ">");
        } else {
            // An opening tag: scan to its end, honouring quoted attribute values. It counts as
            // closed at once only when it ends in "/>" and every attribute value was quoted, the
            // one form the parser is sure to read as an empty element.
            ++depth;
            if (depth > deepest) deepest = depth;
            char quote = 0;
            bool afterEquals = false;
            bool unquotedValue = false;
            std::size_t j = i + 1;
            for (; j < text.size(); ++j) {
                const char c = text[j];
                if (quote != 0) {
                    if (c == quote) quote = 0;
                    continue;
                }
                if (afterEquals) {
                    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
                    afterEquals = false;
                    if (c == '"' || c == '\'') {
                        quote = c;
                        continue;
                    }
                    unquotedValue = true;
                }
                if (c == '=') {
                    afterEquals = true;
                } else if (c == '>') {
                    if (text[j - 1] == '/' && !unquotedValue && depth > 0) --depth;
                    break;
                }
            }
            i = j + 1;
        }
    }
    return deepest;
}

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
