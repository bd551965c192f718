#pragma once
// Conversions between the ANSI code page of the module's texts (CP936), UTF-8 and UTF-16, with the
// module's rule: whatever cannot be converted becomes "?", one per UTF-16 unit (a character outside
// the BMP gives two), as the system conversions the module's callers expect do.

#include <string>
#include <string_view>

#include "platform/CodePageConverter.h"

namespace tavi {

using CodeConverter = platform::CodePageConverter;

// A converter for a batch of texts in one direction, with the module's "?" rule.
CodeConverter MakeConverter(CodeConverter::Direction direction);

std::string Utf16ToAnsi(std::u16string_view text);
std::u16string AnsiToUtf16(std::string_view text);
std::string AnsiToUtf8(std::string_view text);
std::string Utf8ToAnsi(std::string_view text);

}  // namespace tavi
