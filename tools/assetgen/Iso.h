#pragma once
#include "Palette.h"

#include <cairo.h>

// Isometric drawing in the map's projection: ground axis a runs along the
// screen direction (2,1), axis b along (-2,1), z straight up.
namespace assetgen::iso {

struct Pt {
    double x, y;
};

// A local frame on the ground: "forward" follows a race heading (0..3),
// "side" is forward turned a quarter, origin at screen point (ox, oy).
struct View {
    double ox, oy;
    int heading = 3;
    double scale = 1;

    Pt project(double fwd, double side, double up) const;
    // Ground direction of local axes, in (a, b).
    void axes(double& fa, double& fb, double& sa, double& sb) const;
    // Whether a face with local outward normal (nf, ns) faces the viewer.
    bool facing(double nf, double ns) const;
};

// Outlined box between the given local bounds; visible faces only.
void box(cairo_t* cr, const View& v, double f0, double f1, double s0, double s1, double z0, double z1,
         const Rgb& colour, double lineWidth = 1.6);
// Quad from four local points (fwd, side, up), filled and outlined.
void quad(cairo_t* cr, const View& v, const double pts[4][3], const Rgb& colour, double lineWidth = 1.6);
// Wheel standing in the fwd/up plane at side offset s: tyre, rim, spokes turned by spin.
void wheel(cairo_t* cr, const View& v, double f, double s, double z, double r, double spin);
// Ellipse on the ground (a shadow or patch).
void groundEllipse(cairo_t* cr, const View& v, double f, double s, double rf, double rs);

}  // namespace assetgen::iso
