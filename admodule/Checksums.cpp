#include "admodule/Checksums.h"

#include <openssl/evp.h>
#include <zlib.h>

#include <cstdio>

namespace tavi {

std::uint32_t Crc32(std::string_view bytes) {
    uLong crc = crc32(0L, Z_NULL, 0);
    const auto* data = reinterpret_cast<const Bytef*>(bytes.data());
    std::size_t left = bytes.size();
    while (left > 0) {  // zlib takes 32-bit lengths
        const uInt chunk = left > 0x40000000u ? 0x40000000u : static_cast<uInt>(left);
        crc = crc32(crc, data, chunk);
        data += chunk;
        left -= chunk;
    }
    return static_cast<std::uint32_t>(crc);
}

std::string Crc32Hex(std::string_view bytes) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(Crc32(bytes)));
    return text;
}

std::string Md5Hex(std::string_view bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_md5(), nullptr) != 1) {
        return std::string();
    }
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(length * 2u);
    for (unsigned int i = 0; i < length; ++i) {
        out.push_back(kHex[digest[i] >> 4]);
        out.push_back(kHex[digest[i] & 15]);
    }
    return out;
}

}  // namespace tavi
