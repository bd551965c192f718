#pragma once
#include <array>
#include <cstdint>

// One leg of the circuit: the heading a forward runner keeps on it and its length in blocks of
// 32 map units.
struct RouteLeg {
    int32_t Heading = 0;
    uint8_t Length = 0;
};

// The closed circuit of the race: ten legs, 1728 map units around.
class RouteTable {
public:
    static constexpr int32_t kLegs = 10;
    static constexpr int32_t kFull = 1728;

    RouteTable();

    const RouteLeg& Leg(int32_t i) const { return legs_[Wrap(i)]; }
    // Length of leg i in map units.
    int32_t Units(int32_t i) const { return Leg(i).Length * 32; }
    // Distance from the start of leg 0 to the start of leg i.
    int32_t Start(int32_t i) const;
    // The leg after `i` in the direction `travelSign` (+1 or -1), wrapping 9 -> 0 and 0 -> 9.
    static int32_t Next(int32_t i, int32_t travelSign);
    static int32_t Wrap(int32_t i);

private:
    std::array<RouteLeg, kLegs> legs_;
};
