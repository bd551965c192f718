#include "platform/net/WireWriter.h"

#include <bit>

namespace platform::net {

WireWriter& WireWriter::UInt32(uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return *this;
}

WireWriter& WireWriter::Int32(int32_t v) { return UInt32(static_cast<uint32_t>(v)); }

WireWriter& WireWriter::UInt16(uint16_t v) {
    bytes_.push_back(static_cast<uint8_t>(v));
    bytes_.push_back(static_cast<uint8_t>(v >> 8));
    return *this;
}

WireWriter& WireWriter::UInt64(uint64_t v) {
    UInt32(static_cast<uint32_t>(v));
    return UInt32(static_cast<uint32_t>(v >> 32));
}

WireWriter& WireWriter::Byte(uint8_t v) {
    bytes_.push_back(v);
    return *this;
}

WireWriter& WireWriter::Float(float v) { return UInt32(std::bit_cast<uint32_t>(v)); }

WireWriter& WireWriter::String(const std::u16string& s) {
    UInt32(static_cast<uint32_t>(s.size()));
    for (char16_t c : s) UInt16(static_cast<uint16_t>(c));
    return *this;
}

WireWriter& WireWriter::Ascii(const std::string& s) {
    UInt32(static_cast<uint32_t>(s.size()));
    for (char c : s) UInt16(static_cast<uint8_t>(c));
    return *this;
}

}  // namespace platform::net
