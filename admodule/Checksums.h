#pragma once
// The two digests the module needs: CRC-32 for query signatures, MD5 for the user id.

#include <cstdint>
#include <string>
#include <string_view>

namespace tavi {

// Reflected CRC-32 of ISO-HDLC (IEEE 802.3); "123456789" gives 0xCBF43926.
std::uint32_t Crc32(std::string_view bytes);

// The CRC-32 as exactly 8 uppercase hexadecimal digits, zero-padded.
std::string Crc32Hex(std::string_view bytes);

// MD5 (RFC 1321) as 32 lowercase hexadecimal digits.
std::string Md5Hex(std::string_view bytes);

}  // namespace tavi
