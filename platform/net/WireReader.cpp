#include "platform/net/WireReader.h"

#include <bit>
#include <cmath>

namespace platform::net {

bool WireReader::Need(size_t n) {
    if (ok_ && bytes_.size() - pos_ >= n) return true;
    ok_ = false;
    return false;
}

bool WireReader::UInt32(uint32_t& v) {
    if (!Need(4)) return false;
    v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(bytes_[pos_ + i]) << (8 * i);
    pos_ += 4;
    return true;
}

bool WireReader::Int32(int32_t& v) {
    uint32_t u = 0;
    if (!UInt32(u)) return false;
    v = static_cast<int32_t>(u);
    return true;
}

bool WireReader::UInt16(uint16_t& v) {
    if (!Need(2)) return false;
    v = static_cast<uint16_t>(bytes_[pos_] | (bytes_[pos_ + 1] << 8));
    pos_ += 2;
    return true;
}

bool WireReader::UInt64(uint64_t& v) {
    uint32_t lo = 0, hi = 0;
    if (!UInt32(lo) || !UInt32(hi)) return false;
    v = (static_cast<uint64_t>(hi) << 32) | lo;
    return true;
}

bool WireReader::Byte(uint8_t& v) {
    if (!Need(1)) return false;
    v = bytes_[pos_++];
    return true;
}

bool WireReader::Float(float& v) {
    uint32_t u = 0;
    if (!UInt32(u)) return false;
    float f = std::bit_cast<float>(u);
    if (!std::isfinite(f)) {
        ok_ = false;
        return false;
    }
    v = f;
    return true;
}

bool WireReader::String(std::u16string& s, uint32_t maxUnits) {
    uint32_t count = 0;
    if (!UInt32(count)) return false;
    if (count > maxUnits || !Need(static_cast<size_t>(count) * 2)) {
        ok_ = false;
        return false;
    }
    s.resize(count);
    for (uint32_t i = 0; i < count; ++i) {
        s[i] = static_cast<char16_t>(bytes_[pos_] | (bytes_[pos_ + 1] << 8));
        pos_ += 2;
    }
    return true;
}

bool WireReader::Ascii(std::string& s, uint32_t maxUnits) {
    std::u16string units;
    if (!String(units, maxUnits)) return false;
    s.clear();
    for (char16_t c : units) {
        if (c > 0x7F) {
            ok_ = false;
            return false;
        }
        s.push_back(static_cast<char>(c));
    }
    return true;
}

}  // namespace platform::net
