#include "admodule/Base64.h"

#include <array>
#include <cstdint>

namespace tavi {
namespace {

constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<std::uint8_t, 256> MakeDecodeTable() {
    std::array<std::uint8_t, 256> table{};  // characters outside the alphabet stay 0
    for (std::size_t i = 0; i < kAlphabet.size(); ++i) {
        table[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::uint8_t>(i);
    }
    return table;
}

constexpr std::array<std::uint8_t, 256> kDecode = MakeDecodeTable();

void FlushGroup(const std::array<std::uint8_t, 4>& sextets, int count, std::string& out) {
    if (count == 0) return;
    const std::uint32_t value = (std::uint32_t{sextets[0]} << 18) | (std::uint32_t{sextets[1]} << 12) |
                                (std::uint32_t{sextets[2]} << 6) | std::uint32_t{sextets[3]};
    out.push_back(static_cast<char>((value >> 16) & 0xFF));
    if (count >= 3) out.push_back(static_cast<char>((value >> 8) & 0xFF));
    if (count >= 4) out.push_back(static_cast<char>(value & 0xFF));
}

}  // namespace

std::string Base64Encode(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const std::uint32_t v = (std::uint32_t{static_cast<unsigned char>(bytes[i])} << 16) |
                                (std::uint32_t{static_cast<unsigned char>(bytes[i + 1])} << 8) |
                                std::uint32_t{static_cast<unsigned char>(bytes[i + 2])};
        out.push_back(kAlphabet[(v >> 18) & 63]);
        out.push_back(kAlphabet[(v >> 12) & 63]);
        out.push_back(kAlphabet[(v >> 6) & 63]);
        out.push_back(kAlphabet[v & 63]);
    }
    const std::size_t rest = bytes.size() - i;
    if (rest == 1) {
        const std::uint32_t v = std::uint32_t{static_cast<unsigned char>(bytes[i])} << 16;
        out.push_back(kAlphabet[(v >> 18) & 63]);
        out.push_back(kAlphabet[(v >> 12) & 63]);
        out.append("==");
    } else if (rest == 2) {
        const std::uint32_t v = (std::uint32_t{static_cast<unsigned char>(bytes[i])} << 16) |
                                (std::uint32_t{static_cast<unsigned char>(bytes[i + 1])} << 8);
        out.push_back(kAlphabet[(v >> 18) & 63]);
        out.push_back(kAlphabet[(v >> 12) & 63]);
        out.push_back(kAlphabet[(v >> 6) & 63]);
        out.push_back('=');
    }
    return out;
}

std::string Base64Decode(std::string_view text) {
    std::string out;
    out.reserve(text.size() / 4 * 3 + 3);
    std::array<std::uint8_t, 4> sextets{};
    int count = 0;
    for (const char c : text) {
        if (c == '\r' || c == '\n') continue;
        if (c == '=') {
            FlushGroup(sextets, count, out);
            sextets = {};
            count = 0;
            continue;
        }
        sextets[static_cast<std::size_t>(count++)] = kDecode[static_cast<unsigned char>(c)];
        if (count == 4) {
            FlushGroup(sextets, count, out);
            sextets = {};
            count = 0;
        }
    }
    FlushGroup(sextets, count, out);
    return out;
}

}  // namespace tavi
