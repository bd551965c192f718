#pragma once
// The element nesting of an XML text, found without recursion before the XML library (which
// parses recursively) sees the text.
//
// The scan reads a strict form of XML in which the library and the scan cannot disagree about
// where a tag, a quoted value, a comment or a text ends: well-formed UTF-8 (a lead byte never
// hides the quote or bracket after it), ASCII names, at most kMaxAttributes attributes to an
// element (the library checks each new one against all before it), quoted attribute values
// without "<", texts and values whose every "&" starts one of the five named references or a
// decimal or hexadecimal character reference (the library would read past a broken one into
// the markup after it), matching end tags, and no processing instruction or declaration other than a leading
// "<?xml version=... encoding=... standalone=... ?>". Every document the module reads or
// writes has that form. Any other text is refused: its depth counts as kRefused.

#include <cstddef>
#include <string_view>
#include <vector>

namespace tavi {

class XmlDepthScan {
public:
    static constexpr int kRefused = 1 << 30;
    static constexpr int kMaxAttributes = 32;

    // The deepest nesting of `text`, or kRefused; the scan stops once it passes `limit`.
    static int Deepest(std::string_view text, int limit);

private:
    XmlDepthScan(std::string_view text, int limit) : text_(text), limit_(limit) {}

    int Run();
    bool Declaration();
    bool Markup();
    bool StartTag();
    bool EndTag();
    // One attribute, its name in `name`.
    bool Attribute(std::string_view& name);
    bool Name(std::string_view& name);
    // Whether every "&" of `part` (a text or a value) starts a complete reference.
    static bool References(std::string_view part);
    // Past the end of the comment or section whose opener (`opener` bytes) is at the scan.
    bool SkipPast(std::size_t opener, std::string_view terminator);
    // Space inside a tag: the four ASCII spaces (the parser allows more, which is refused here).
    void Space();
    // Everything the parser skips between nodes: those, vertical tab and form feed, and the
    // three-byte byte order mark and the two noncharacters U+FFFE and U+FFFF.
    void SpaceBetweenNodes();
    bool At(std::string_view prefix) const;

    std::string_view text_;
    int limit_;
    std::size_t at_ = 0;
    int deepest_ = 0;
    std::vector<std::string_view> open_;  // names of the elements the scan is inside
};

}  // namespace tavi
