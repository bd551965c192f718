#pragma once
// Signing and encoding of the ad server's query texts.

#include <string>
#include <string_view>

namespace tavi {

// The signature of a query text that ends in "&c=" followed by the signing key: the text is
// converted from the ANSI code page to UTF-8 and its CRC-32 written as 8 uppercase hex digits.
std::string SignQuery(std::string_view textWithKey);

// `items` is the query text up to (not including) its signature item. The text is signed with
// "&c=" + key appended, then sent with "&c=" + signature appended, Base64-encoded.
std::string EncodeQuery(std::string_view items, std::string_view signingKey);

// The signed text before encoding (what EncodeQuery encodes).
std::string SignedQueryText(std::string_view items, std::string_view signingKey);

}  // namespace tavi
