#pragma once
#include <array>
#include <vector>

// The race circuit on the police map, worked out from the route table and the
// two start positions, as the race moves the figures.
namespace assetgen::route {

struct Point {
    double x, y;
};

struct Leg {
    int heading;  // 0 up-left (-2,-1), 1 down-left (-2,1), 2 up-right (2,-1), 3 down-right (2,1)
    int length;   // in steps of 32 units
};

inline constexpr std::array<Leg, 10> Legs = {
    {{0, 4}, {2, 4}, {0, 2}, {2, 6}, {0, 3}, {2, 4}, {3, 4}, {2, 4}, {3, 5}, {1, 18}}};
inline constexpr Point PoliceStart{324, 880};  // top-left of the police, start of leg 0
inline constexpr Point ThiefStart{48, 744};    // top-left of the thief, start of leg 1

// Frame sizes of the figures, [role][pose].
struct Size {
    int w, h;
};
inline constexpr Size FrameSize[2][4] = {{{61, 85}, {69, 91}, {92, 99}, {77, 82}},
                                         {{95, 101}, {62, 93}, {100, 101}, {85, 92}}};
// Where the figures' feet stand in every frame of their strips, per role:
// the same point for every pose, so a change of pose never makes a jump.
inline constexpr Point FeetAnchor[2] = {{36, 78}, {38, 88}};

Point step(int heading);

// Top-left of a figure at the start of each leg, for the 10 legs in order
// beginning with firstLeg, and the closing point (11 points).
std::vector<Point> corners(Point start, int firstLeg);

// The road: a closed centre line (one point per leg start, leg 0 first, 10
// points) and its half-width measured along the road's cross axis.
struct Road {
    std::vector<Point> centre;
    double halfWidth;
};
const Road& road();

}  // namespace assetgen::route
