#include "Iso.h"

#include "Paint.h"

#include <cmath>

namespace assetgen::iso {

void View::axes(double& fa, double& fb, double& sa, double& sb) const {
    switch (heading & 3) {
    case 0:
        fa = -1, fb = 0;
        break;
    case 1:
        fa = 0, fb = 1;
        break;
    case 2:
        fa = 0, fb = -1;
        break;
    default:
        fa = 1, fb = 0;
        break;
    }
    sa = -fb;
    sb = fa;
}

Pt View::project(double fwd, double side, double up) const {
    double fa, fb, sa, sb;
    axes(fa, fb, sa, sb);
    const double a = fwd * fa + side * sa;
    const double b = fwd * fb + side * sb;
    return Pt{ox + (a - b) * scale, oy + ((a + b) / 2 - up) * scale};
}

bool View::facing(double nf, double ns) const {
    double fa, fb, sa, sb;
    axes(fa, fb, sa, sb);
    const double na = nf * fa + ns * sa;
    const double nb = nf * fb + ns * sb;
    return na + nb > 0;
}

void quad(cairo_t* cr, const View& v, const double p[4][3], const Rgb& colour, double lw) {
    for (int i = 0; i < 4; ++i) {
        const Pt q = v.project(p[i][0], p[i][1], p[i][2]);
        if (i == 0)
            cairo_move_to(cr, q.x, q.y);
        else
            cairo_line_to(cr, q.x, q.y);
    }
    cairo_close_path(cr);
    paint::fillOutlined(cr, colour, lw);
}

void box(cairo_t* cr, const View& v, double f0, double f1, double s0, double s1, double z0, double z1,
         const Rgb& colour, double lw) {
    // Side faces (fwd ends and side ends), then the top.
    const Rgb sideA = colour;
    const Rgb sideB = colour.darker(0.22);
    if (v.facing(1, 0)) {
        const double q[4][3] = {{f1, s0, z0}, {f1, s1, z0}, {f1, s1, z1}, {f1, s0, z1}};
        quad(cr, v, q, sideA, lw);
    }
    if (v.facing(-1, 0)) {
        const double q[4][3] = {{f0, s0, z0}, {f0, s1, z0}, {f0, s1, z1}, {f0, s0, z1}};
        quad(cr, v, q, sideA, lw);
    }
    if (v.facing(0, 1)) {
        const double q[4][3] = {{f0, s1, z0}, {f1, s1, z0}, {f1, s1, z1}, {f0, s1, z1}};
        quad(cr, v, q, sideB, lw);
    }
    if (v.facing(0, -1)) {
        const double q[4][3] = {{f0, s0, z0}, {f1, s0, z0}, {f1, s0, z1}, {f0, s0, z1}};
        quad(cr, v, q, sideB, lw);
    }
    const double top[4][3] = {{f0, s0, z1}, {f1, s0, z1}, {f1, s1, z1}, {f0, s1, z1}};
    quad(cr, v, top, colour.lighter(0.25), lw);
}

void wheel(cairo_t* cr, const View& v, double f, double s, double z, double r, double spin) {
    auto ring = [&](double rr) {
        for (int i = 0; i <= 24; ++i) {
            const double t = i * 2 * M_PI / 24;
            const Pt q = v.project(f + rr * std::cos(t), s, z + rr * std::sin(t));
            if (i == 0)
                cairo_move_to(cr, q.x, q.y);
            else
                cairo_line_to(cr, q.x, q.y);
        }
        cairo_close_path(cr);
    };
    ring(r);
    paint::fillOutlined(cr, rgb(52, 50, 62), 1.6);
    ring(r * 0.58);
    paint::fillOutlined(cr, rgb(200, 204, 214), 1.0);
    for (int k = 0; k < 3; ++k) {
        const double t = spin + k * M_PI / 3;
        const Pt a = v.project(f + r * 0.55 * std::cos(t), s, z + r * 0.55 * std::sin(t));
        const Pt b = v.project(f - r * 0.55 * std::cos(t), s, z - r * 0.55 * std::sin(t));
        cairo_move_to(cr, a.x, a.y);
        cairo_line_to(cr, b.x, b.y);
    }
    paint::setColor(cr, rgb(90, 94, 110));
    cairo_set_line_width(cr, 1.3 * v.scale);
    cairo_stroke(cr);
}

void groundEllipse(cairo_t* cr, const View& v, double f, double s, double rf, double rs) {
    for (int i = 0; i <= 24; ++i) {
        const double t = i * 2 * M_PI / 24;
        const Pt q = v.project(f + rf * std::cos(t), s + rs * std::sin(t), 0);
        if (i == 0)
            cairo_move_to(cr, q.x, q.y);
        else
            cairo_line_to(cr, q.x, q.y);
    }
    cairo_close_path(cr);
}

}  // namespace assetgen::iso
