#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "platform/net/SessionTypes.h"

namespace platform::net {

// Reads values written by WireWriter from untrusted bytes. Every read checks what is left; once
// a read fails the reader stays failed and every later read fails too, so a caller may read a
// whole record and check Ok() (and AtEnd()) once.
class WireReader {
public:
    explicit WireReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    bool Int32(int32_t& v);
    bool UInt32(uint32_t& v);
    bool UInt16(uint16_t& v);
    bool UInt64(uint64_t& v);
    bool Byte(uint8_t& v);
    // Fails on NaN and infinities as well.
    bool Float(float& v);
    // Fails when the count exceeds maxUnits or the bytes left.
    bool String(std::u16string& s, uint32_t maxUnits = kMaxStringUnits);
    // A string whose units are all ASCII.
    bool Ascii(std::string& s, uint32_t maxUnits = kMaxStringUnits);

    bool Ok() const { return ok_; }
    bool AtEnd() const { return ok_ && pos_ == bytes_.size(); }

private:
    bool Need(size_t n);
    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
    bool ok_ = true;
};

}  // namespace platform::net
