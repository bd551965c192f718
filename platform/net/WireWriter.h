#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace platform::net {

// Writes values in the wire encoding: little-endian integers, IEEE-754 binary32 floats, and
// strings as a 32-bit count of UTF-16 code units followed by the units.
class WireWriter {
public:
    WireWriter& Int32(int32_t v);
    WireWriter& UInt32(uint32_t v);
    WireWriter& UInt16(uint16_t v);
    WireWriter& UInt64(uint64_t v);
    WireWriter& Byte(uint8_t v);
    WireWriter& Float(float v);
    WireWriter& String(const std::u16string& s);
    // An ASCII text written as a string (each byte one unit).
    WireWriter& Ascii(const std::string& s);

    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    std::vector<uint8_t> Take() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
};

}  // namespace platform::net
