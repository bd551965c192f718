#pragma once
// Guarded XML parsing: the XML library parses recursively, so a text that nests deeper than
// any document of ours ever does, or that is not in the strict form whose nesting can be found
// without the library (XmlDepthScan), is refused before it reaches the parser.

#include <tinyxml.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tavi {

inline constexpr std::size_t kMaxXmlBytes = 1u << 20;
inline constexpr int kMaxXmlDepth = 64;

// The deepest element nesting of `text`; above kMaxXmlDepth for a text too deep or not in the
// strict form (XmlDepthScan).
int XmlNestingDepth(std::string_view text);

// Parses `text` into `doc`; false when it is too long, nested too deeply or not well formed.
bool ParseXmlText(TiXmlDocument& doc, std::string_view text);

// Reads a whole file of at most kMaxXmlBytes; false when it cannot be read or is longer.
bool ReadSmallFile(const std::string& path, std::string& contents);

// The element's text, or the empty text for a missing element or one without text.
std::string ElementText(const TiXmlElement* element);

// The element's text exactly as `source` (the text `element` was parsed from, with a tab size of
// 1) writes it, before the XML library trims and condenses its white space: the bytes between
// the start tag and the next markup, followed by "<" when that markup is not the element's end
// tag. The empty text for an empty element; none when the element cannot be found in `source`.
std::optional<std::string> RawElementText(std::string_view source, const TiXmlElement& element);

}  // namespace tavi
