// The 32 sprite strips of the race: police and thief, four poses, four
// headings, frames three to a row.
#include "Figure.h"
#include "Route.h"
#include "Themes.h"
#include "Vehicles.h"

#include <cmath>
#include <string>

namespace assetgen {

namespace {

constexpr int FrameCount[2][4] = {{9, 8, 17, 11}, {11, 8, 8, 8}};
constexpr double FigureScale[2] = {0.9, 0.92};
// Centre of a vehicle's footprint inside its frame, [role][pose - 2].
constexpr route::Point VehicleCentre[2][2] = {{{46, 82}, {38, 62}}, {{50, 84}, {42, 70}}};

void standing(cairo_t* cr, Role role, int heading, int f, int n) {
    const route::Point a = route::FeetAnchor[static_cast<int>(role)];
    const double t = 2 * M_PI * f / n;
    FigurePose p;
    p.front = heading == 1 || heading == 3;
    p.faceLeft = heading == 0 || heading == 1;
    p.bob = 0.6 + 0.6 * std::sin(t);
    p.blink = (f == n - 2) ? 1 : 0;
    if (role == Role::Police) {
        // Catches his breath, then raises an arm and blows the whistle.
        const double w = std::sin(M_PI * (f - 3) / 4.0);
        p.wave = (f >= 3 && f <= 7) ? std::max(0.0, w) + 0.2 : 0;
    } else {
        // Shifty glances back and forth, rubbing his hands.
        p.look = std::sin(t) > 0 ? 1 : -1;
        p.wave = 0.5 + 0.5 * std::sin(t * 2);
        p.lean = 0.06 * std::sin(t);
    }
    drawFigure(cr, role, a.x, a.y, FigureScale[static_cast<int>(role)], p);
}

void running(cairo_t* cr, Role role, int heading, int f, int n) {
    const route::Point a = route::FeetAnchor[static_cast<int>(role)];
    const double t = 2 * M_PI * f / n;
    FigurePose p;
    p.front = heading == 1 || heading == 3;
    p.faceLeft = heading == 0 || heading == 1;
    p.stride = std::sin(t);
    p.armSwing = -std::sin(t);
    p.lift = std::max(0.0, std::cos(t));
    p.bob = 2.5 * std::fabs(std::cos(t));
    p.lean = 0.16;
    drawFigure(cr, role, a.x, a.y, FigureScale[static_cast<int>(role)], p);
}

}  // namespace

void addPoliceSprites(PictureSet& set) {
    for (int role = 0; role < 2; ++role)
        for (int pose = 0; pose < 4; ++pose)
            for (int heading = 0; heading < 4; ++heading) {
                const route::Size size = route::FrameSize[role][pose];
                const int n = FrameCount[role][pose];
                Canvas c(stripWidth(size.w, n, 3), stripHeight(size.h, n, 3));
                const Role r = static_cast<Role>(role);
                drawFrames(c, size.w, size.h, n, 3, [&](cairo_t* cr, int f) {
                    switch (pose) {
                    case 0:
                        standing(cr, r, heading, f, n);
                        break;
                    case 1:
                        running(cr, r, heading, f, n);
                        break;
                    case 2: {
                        const route::Point v = VehicleCentre[role][0];
                        drawMotorbike(cr, r, heading, v.x, v.y, f, n, 1.0);
                        break;
                    }
                    default: {
                        const route::Point v = VehicleCentre[role][1];
                        drawCar(cr, r, heading, v.x, v.y, f, n, 1.0);
                        break;
                    }
                    }
                });
                set.addKeyed(
                    "POLICE_" + std::to_string(role) + "_" + std::to_string(pose) + "_" + std::to_string(heading), c, n,
                    3);
            }
}

}  // namespace assetgen
