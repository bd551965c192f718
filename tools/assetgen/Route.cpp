#include "Route.h"

#include <algorithm>
#include <cmath>

namespace assetgen::route {

Point step(int heading) {
    static const Point steps[4] = {{-2, -1}, {-2, 1}, {2, -1}, {2, 1}};
    return steps[heading & 3];
}

std::vector<Point> corners(Point start, int firstLeg) {
    std::vector<Point> out{start};
    Point p = start;
    for (int i = 0; i < 10; ++i) {
        const Leg& leg = Legs[(firstLeg + i) % 10];
        const Point s = step(leg.heading);
        p.x += s.x * leg.length * 32;
        p.y += s.y * leg.length * 32;
        out.push_back(p);
    }
    return out;
}

namespace {

// Cross axis of a leg: the other isometric axis, scaled so that one unit
// moves one pixel along it horizontally... measured as (2,±1)/sqrt(5).
Point crossAxis(int heading) {
    const Point s = step(heading);
    // Along (2,1) the cross axis is (-2,1); along (2,-1) it is (2,1).
    const Point c = (s.x * s.y > 0) ? Point{-2, 1} : Point{2, 1};
    const double n = std::sqrt(5.0);
    return Point{c.x / n, c.y / n};
}

// Offset of p from the line through a along heading, in cross-axis units.
double crossOffset(Point p, Point a, int heading) {
    const Point d = step(heading);
    const Point c = crossAxis(heading);
    // Solve p - a = u*d + v*c for v.
    const double det = d.x * c.y - d.y * c.x;
    return (d.x * (p.y - a.y) - d.y * (p.x - a.x)) / det;
}

Road buildRoad() {
    // Feet of both figures at every leg start, for the anchor and for the
    // bottom centre of every pose's frame.
    const std::vector<Point> police = corners(PoliceStart, 0);
    std::vector<Point> thief = corners(ThiefStart, 1);
    // Re-index the thief so that entry i is the start of leg i.
    std::rotate(thief.begin(), thief.begin() + 9, thief.begin() + 10);
    thief[10] = thief[0];

    auto feet = [](Point topLeft, int role) {
        std::vector<Point> f{{topLeft.x + FeetAnchor[role].x, topLeft.y + FeetAnchor[role].y}};
        for (const Size& s : FrameSize[role]) f.push_back({topLeft.x + s.w / 2.0, topLeft.y + s.h});
        return f;
    };
    // Centre line: the police track shifted by the mean offset of all feet.
    double sx = 0, sy = 0;
    int n = 0;
    for (int i = 0; i < 10; ++i) {
        for (int role = 0; role < 2; ++role)
            for (const Point& f : feet(role == 0 ? police[i] : thief[i], role)) {
                sx += f.x - police[i].x;
                sy += f.y - police[i].y;
                ++n;
            }
    }
    Road r;
    for (int i = 0; i < 10; ++i) r.centre.push_back({police[i].x + sx / n, police[i].y + sy / n});
    // Half-width: the farthest foot from the centre line, plus a margin for the
    // drift a figure picks up at corners.
    double widest = 0;
    for (int i = 0; i < 10; ++i) {
        const int heading = Legs[i].heading;
        for (int end = 0; end < 2; ++end)
            for (int role = 0; role < 2; ++role) {
                const Point corner = role == 0 ? police[i + end] : thief[i + end];
                for (const Point& f : feet(corner, role))
                    widest = std::max(widest, std::fabs(crossOffset(f, r.centre[i], heading)));
            }
    }
    r.halfWidth = std::ceil(widest) + 16;
    return r;
}

}  // namespace

const Road& road() {
    static const Road r = buildRoad();
    return r;
}

}  // namespace assetgen::route
