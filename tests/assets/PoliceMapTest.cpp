// The race route on POLICE_BACKGROUND: walking both figures along the legs
// of the route table from their start positions, the point under their feet
// (bottom centre of every pose's frame) is always road.
#include "PackReader.h"

#include <gtest/gtest.h>

namespace {

struct Leg {
    int heading, length;
};
constexpr Leg Legs[10] = {{0, 4}, {2, 4}, {0, 2}, {2, 6}, {0, 3}, {2, 4}, {3, 4}, {2, 4}, {3, 5}, {1, 18}};
constexpr int Step[4][2] = {{-2, -1}, {-2, 1}, {2, -1}, {2, 1}};
constexpr int Frame[2][4][2] = {{{61, 85}, {69, 91}, {92, 99}, {77, 82}}, {{95, 101}, {62, 93}, {100, 101}, {85, 92}}};

bool isRoad(unsigned short v) {
    const int r = (v >> 11) << 3, g = ((v >> 5) & 63) << 2, b = (v & 31) << 3;
    const int hi = std::max({r, g, b}), lo = std::min({r, g, b});
    // Asphalt, kerbs, pavement and the chequered start line are all greys.
    const bool grey = hi - lo <= 40 && (r + g + b) / 3 >= 36;
    // The yellow centre line, also where its edge blends into the asphalt.
    const bool yellowLine = r >= g && g >= b && r - b > 30 && r > 120;
    return grey || yellowLine;
}

TEST(PoliceMap, RoadRunsUnderBothFiguresAllRoundTheLoop) {
    PackReader pack(distPath("Game/GameRes.DLL"));
    Picture565 map;
    ASSERT_TRUE(loadPicture(pack, "POLICE_BACKGROUND", map));
    ASSERT_EQ(map.w, 1600);
    ASSERT_EQ(map.h, 1200);
    const double start[2][2] = {{324, 880}, {48, 744}};
    const int firstLeg[2] = {0, 1};
    for (int role = 0; role < 2; ++role) {
        double x = start[role][0], y = start[role][1];
        int checked = 0, offRoad = 0;
        for (int i = 0; i < 10; ++i) {
            const Leg& leg = Legs[(firstLeg[role] + i) % 10];
            for (int u = 0; u <= leg.length * 32; u += 4) {
                const double px = x + Step[leg.heading][0] * u, py = y + Step[leg.heading][1] * u;
                for (const auto& f : Frame[role]) {
                    const int fx = static_cast<int>(px + f[0] / 2.0), fy = static_cast<int>(py + f[1]);
                    ASSERT_TRUE(fx >= 0 && fx < 1600 && fy >= 0 && fy < 1200)
                        << "feet off the map at " << fx << "," << fy;
                    ++checked;
                    if (!isRoad(map.at(fx, fy))) {
                        ++offRoad;
                        ADD_FAILURE() << "role " << role << " leg " << (firstLeg[role] + i) % 10 << " feet at " << fx
                                      << "," << fy << " are not on the road";
                        if (offRoad > 5) return;
                    }
                }
            }
            x += Step[leg.heading][0] * leg.length * 32;
            y += Step[leg.heading][1] * leg.length * 32;
        }
        EXPECT_EQ(x, start[role][0]) << "the route does not close";
        EXPECT_EQ(y, start[role][1]);
        EXPECT_GT(checked, 1000);
    }
}

TEST(PoliceMap, ScenerySurroundsTheRoad) {
    // Most of the map is not road: houses, trees and lawns fill the town.
    PackReader pack(distPath("Game/GameRes.DLL"));
    Picture565 map;
    ASSERT_TRUE(loadPicture(pack, "POLICE_BACKGROUND", map));
    int road = 0, total = 0;
    for (int y = 0; y < 1200; y += 10)
        for (int x = 0; x < 1600; x += 10) {
            road += isRoad(map.at(x, y));
            ++total;
        }
    EXPECT_LT(road, total * 45 / 100);
    EXPECT_GT(road, total * 8 / 100);
}

}  // namespace
