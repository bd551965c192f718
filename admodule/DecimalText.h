#pragma once
// Number texts read from configuration files and server answers.

#include <cstdint>
#include <optional>
#include <string_view>

namespace tavi {

// A counter text: only the digits 0 to 9, at most 9 of them; the empty text reads as 0.
// Anything else (a sign, a space, ten digits) is not a counter.
std::optional<std::int32_t> ParseCounter(std::string_view text);

// Lenient reading of a status number: leading white space, an optional sign, then the digits
// up to the first other character. No digits give 0; values beyond 32 bits saturate.
std::int32_t ParseLooseInt(std::string_view text);

}  // namespace tavi
