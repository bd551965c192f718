#pragma once
// The signing key of the queries, derived from the configured crc_key text.

#include <string>
#include <string_view>

namespace tavi {

// Base64-decodes crc_key leniently, then cuts the decoded bytes at the last "#" that is not
// the first byte (the "#" and all after it go). Without such a "#" the whole text is the key.
std::string DeriveSigningKey(std::string_view crcKey);

}  // namespace tavi
