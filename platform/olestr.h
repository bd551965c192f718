#pragma once
// OLE Automation strings: a 32-bit byte length, the UTF-16 code units and a terminating zero
// unit, in one malloc'ed block. The pointer handed around points at the first code unit, so a
// string reads like a zero-terminated char16_t text and its length sits just before it.

#include <cstdint>
#include <cstdlib>
#include <cstring>

using OLECHAR = char16_t;
using BSTR = OLECHAR*;

// Longest string whose byte length still fits the 32-bit prefix.
inline constexpr std::uint32_t kOleStringMaxUnits = (0xFFFFFFFFu - 2u) / 2u;

// A new string of `len` units copied from `text`; zero-filled when `text` is null. Null when
// the length is too large or memory runs out.
inline BSTR SysAllocStringLen(const OLECHAR* text, std::uint32_t len) {
    if (len > kOleStringMaxUnits) return nullptr;
    const std::size_t bytes = static_cast<std::size_t>(len) * sizeof(OLECHAR);
    auto* block = static_cast<unsigned char*>(std::malloc(sizeof(std::uint32_t) + bytes + sizeof(OLECHAR)));
    if (block == nullptr) return nullptr;
    const auto byteLen = static_cast<std::uint32_t>(bytes);
    std::memcpy(block, &byteLen, sizeof byteLen);
    auto* units = reinterpret_cast<BSTR>(block + sizeof(std::uint32_t));
    if (text != nullptr && len > 0) {
        std::memcpy(units, text, bytes);
    } else if (len > 0) {
        std::memset(units, 0, bytes);
    }
    units[len] = 0;
    return units;
}

// A copy of a zero-terminated text; null for a null text.
inline BSTR SysAllocString(const OLECHAR* text) {
    if (text == nullptr) return nullptr;
    std::size_t len = 0;
    while (text[len] != 0) {
        if (len >= kOleStringMaxUnits) return nullptr;
        ++len;
    }
    return SysAllocStringLen(text, static_cast<std::uint32_t>(len));
}

inline void SysFreeString(BSTR text) {
    if (text == nullptr) return;
    std::free(reinterpret_cast<unsigned char*>(text) - sizeof(std::uint32_t));
}

// Length in bytes, from the prefix; 0 for a null string.
inline std::uint32_t SysStringByteLen(const OLECHAR* text) {
    if (text == nullptr) return 0;
    std::uint32_t byteLen = 0;
    std::memcpy(&byteLen, reinterpret_cast<const unsigned char*>(text) - sizeof(std::uint32_t), sizeof byteLen);
    return byteLen;
}

// Length in code units, from the prefix; 0 for a null string.
inline std::uint32_t SysStringLen(const OLECHAR* text) { return SysStringByteLen(text) / sizeof(OLECHAR); }
