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
    const std::string copy(text);  // zero-terminated for the parser
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
