#include "admodule/XmlDepthScan.h"

#include <algorithm>

#include "platform/CodePageConverter.h"

namespace tavi {
namespace {

// Well-formed UTF-8: every byte above 0x7F is part of a complete sequence of the right length,
// so no lead byte can take the ASCII byte after it (a quote, a bracket) into its character.
bool IsWellFormedUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = platform::CodePageConverter::Utf8CharLength(text.data() + i, text.size() - i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

bool IsNameStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }

bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == ':'; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// The length of the reference at the start of `text` (which starts with "&"), 0 if none.
std::size_t ReferenceLength(std::string_view text) {
    for (std::string_view named : {"&amp;", "&lt;", "&gt;", "&quot;", "&apos;"}) {
        if (text.substr(0, named.size()) == named) return named.size();
    }
    const bool hex = text.substr(0, 3) == "&#x";
    if (!hex && text.substr(0, 2) != "&#") return 0;
    std::size_t at = hex ? 3 : 2;
    const std::size_t first = at;
    while (at < text.size() && (hex ? IsHexDigit(text[at]) : IsDigit(text[at]))) ++at;
    return at > first && at < text.size() && text[at] == ';' ? at + 1 : 0;
}

}  // namespace

int XmlDepthScan::Deepest(std::string_view text, int limit) {
    if (!IsWellFormedUtf8(text)) return kRefused;
    return XmlDepthScan(text, limit).Run();
}

int XmlDepthScan::Run() {
    SpaceBetweenNodes();
    if (At("<?xml") && !Declaration()) return kRefused;
    for (;;) {
        if (open_.empty()) {
            SpaceBetweenNodes();
            // The parser ends the document at anything but markup, as the scan does here.
            if (at_ >= text_.size() || text_[at_] != '<') return deepest_;
        } else {
            const std::size_t text = at_;
            at_ = std::min(text_.find('<', at_), text_.size());
            if (!References(text_.substr(text, at_ - text))) return kRefused;
            if (at_ >= text_.size()) return deepest_;  // an element left open: the parse fails
        }
        if (!Markup()) return kRefused;
        if (deepest_ > limit_) return deepest_;
    }
}

bool XmlDepthScan::Declaration() {
    at_ += 5;
    for (;;) {
        const std::size_t before = at_;
        Space();
        if (At("?>")) {
            at_ += 2;
            return true;
        }
        std::string_view name;
        if (at_ == before || !Attribute(name)) return false;
        if (name != "version" && name != "encoding" && name != "standalone") return false;
    }
}

bool XmlDepthScan::Markup() {
    if (At("<!--")) return SkipPast(4, "-->");
    if (At("<![CDATA[")) return SkipPast(9, "]]>");
    if (At("</")) return EndTag();
    if (At("<?") || At("<!")) return false;
    return StartTag();
}

bool XmlDepthScan::StartTag() {
    ++at_;
    std::string_view name;
    if (!Name(name)) return false;
    deepest_ = std::max(deepest_, static_cast<int>(open_.size()) + 1);
    for (int attributes = 0;; ++attributes) {
        Space();
        if (At("/>")) {
            at_ += 2;
            return true;
        }
        if (At(">")) {
            ++at_;
            open_.push_back(name);
            return true;
        }
        std::string_view attribute;
        if (attributes == kMaxAttributes || !Attribute(attribute)) return false;
    }
}

bool XmlDepthScan::EndTag() {
    at_ += 2;
    std::string_view name;
    if (open_.empty() || !Name(name) || name != open_.back()) return false;
    Space();
    if (!At(">")) return false;
    ++at_;
    open_.pop_back();
    return true;
}

// name = "value" or name = 'value', the value without "<" (which XML never allows there).
bool XmlDepthScan::Attribute(std::string_view& name) {
    if (!Name(name)) return false;
    Space();
    if (!At("=")) return false;
    ++at_;
    Space();
    if (at_ >= text_.size() || (text_[at_] != '"' && text_[at_] != '\'')) return false;
    const std::size_t end = text_.find(text_[at_], at_ + 1);
    if (end == std::string_view::npos) return false;
    const std::string_view value = text_.substr(at_ + 1, end - at_ - 1);
    if (value.find('<') != std::string_view::npos || !References(value)) return false;
    at_ = end + 1;
    return true;
}

bool XmlDepthScan::References(std::string_view part) {
    for (std::size_t amp = part.find('&'); amp != std::string_view::npos; amp = part.find('&', amp + 1)) {
        if (ReferenceLength(part.substr(amp)) == 0) return false;
    }
    return true;
}

bool XmlDepthScan::Name(std::string_view& name) {
    if (at_ >= text_.size() || !IsNameStart(text_[at_])) return false;
    const std::size_t start = at_;
    while (at_ < text_.size() && IsNameChar(text_[at_])) ++at_;
    name = text_.substr(start, at_ - start);
    return true;
}

bool XmlDepthScan::SkipPast(std::size_t opener, std::string_view terminator) {
    const std::size_t end = text_.find(terminator, at_ + opener);
    if (end == std::string_view::npos) return false;
    at_ = end + terminator.size();
    return true;
}

void XmlDepthScan::Space() {
    while (at_ < text_.size() &&
           (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\r' || text_[at_] == '\n')) {
        ++at_;
    }
}

void XmlDepthScan::SpaceBetweenNodes() {
    for (;;) {
        Space();
        if (at_ < text_.size() && (text_[at_] == '\v' || text_[at_] == '\f')) {
            ++at_;
        } else if (At("\xEF\xBB\xBF") || At("\xEF\xBF\xBE") || At("\xEF\xBF\xBF")) {
            at_ += 3;
        } else {
            return;
        }
    }
}

bool XmlDepthScan::At(std::string_view prefix) const { return text_.substr(at_).starts_with(prefix); }

}  // namespace tavi
