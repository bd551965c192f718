#pragma once
// Base64 with the standard alphabet, as the ad server expects it in query texts.

#include <string>
#include <string_view>

namespace tavi {

// Groups of three bytes become four characters; a last group of one or two bytes is padded
// with "==" or "=". No line breaks.
std::string Base64Encode(std::string_view bytes);

// Lenient decoding of configuration texts: carriage returns and line feeds are skipped, "="
// ends the current group, and any other character outside the alphabet counts as the value 0.
// A group of four characters gives three bytes, of three gives two, of one or two gives one.
std::string Base64Decode(std::string_view text);

}  // namespace tavi
