#include "Vehicles.h"

#include "Paint.h"
#include "Palette.h"

#include <cmath>

namespace assetgen {

namespace {

using iso::Pt;
using iso::View;

void puff(cairo_t* cr, const View& v, double f, double s, double z, double r) {
    const Pt p = v.project(f, s, z);
    paint::ellipse(cr, p.x, p.y, r * v.scale, r * 0.85 * v.scale);
    paint::fillOutlined(cr, rgb(226, 228, 236), 1.2, rgb(150, 152, 166));
}

bool frontView(int heading) { return heading == 1 || heading == 3; }
bool leftward(int heading) { return heading == 0 || heading == 1; }

}  // namespace

void drawCar(cairo_t* cr, Role role, int heading, double x, double y, int frame, int frames, double scale, bool plain) {
    const double phase = 2 * M_PI * frame / frames;
    View v{x, y - std::fabs(std::sin(phase)) * 0.8 * scale, heading, scale};
    const bool police = role == Role::Police && !plain;
    const Rgb body = plain ? pal::Yellow : police ? pal::White : rgb(186, 56, 92);
    const Rgb trim = plain ? pal::Orange : police ? pal::PoliceBlue : rgb(70, 60, 96);
    const double spin = -phase * 2;
    const double L = 22, W = 12;

    // Exhaust behind the getaway car (drawn first: it is behind).
    if (!police && !plain && !v.facing(-1, 0)) {
        for (int k = 0; k < 2; ++k) {
            const double t = std::fmod(frame / static_cast<double>(frames) + k * 0.5, 1.0);
            puff(cr, v, -L - 4 - t * 12, -6, 5 + t * 4, 2.5 + t * 3.5);
        }
    }
    // Wheels on the far side, the body, then the near wheels.
    const bool nearPlus = v.facing(0, 1);
    const double farS = nearPlus ? -W : W, nearS = -farS;
    for (double f : {-13.0, 13.0}) iso::wheel(cr, v, f, farS, 6, 6, spin);
    iso::box(cr, v, -L, L, -W, W, 4, 14, body);
    // Door stripe along both sides.
    for (double s : {-W, W}) {
        if (!v.facing(0, s > 0 ? 1 : -1)) continue;
        const double q[4][3] = {{-L + 4, s, 7}, {L - 6, s, 7}, {L - 6, s, 11}, {-L + 4, s, 11}};
        iso::quad(cr, v, q, trim, 1.0);
    }
    // Lights: headlights on the front, tail lights on the back.
    for (int end = -1; end <= 1; end += 2) {
        if (!v.facing(end, 0)) continue;
        for (double s : {-8.0, 8.0}) {
            const Pt p = v.project(end * L, s, 10);
            paint::ellipse(cr, p.x, p.y, 2.4 * scale, 1.8 * scale);
            paint::fillOutlined(cr, end > 0 ? pal::Yellow.lighter(0.4) : pal::Red, 1.0);
        }
    }
    for (double f : {-13.0, 13.0}) iso::wheel(cr, v, f, nearS, 6, 6, spin);

    // Driver behind the glass, then the cabin.
    const Pt seat = v.project(-2, 0, 14);
    if (!plain) drawBust(cr, role, seat.x, seat.y - 7 * scale, scale * 0.62, frontView(heading), leftward(heading));
    const Rgb glass = rgb(150, 210, 245);
    const double cf0 = -12, cf1 = 7, cs = 10, z0 = 14, z1 = 25;
    auto face = [&](const double q[4][3]) {
        for (int i = 0; i < 4; ++i) {
            const Pt p = v.project(q[i][0], q[i][1], q[i][2]);
            if (i == 0)
                cairo_move_to(cr, p.x, p.y);
            else
                cairo_line_to(cr, p.x, p.y);
        }
        cairo_close_path(cr);
        paint::setColor(cr, glass, 0.5);
        cairo_fill_preserve(cr);
        paint::setColor(cr, pal::Ink);
        cairo_set_line_width(cr, 1.5 * scale);
        cairo_stroke(cr);
    };
    if (v.facing(1, 0)) {
        const double q[4][3] = {{cf1 + 4, -cs, z0}, {cf1 + 4, cs, z0}, {cf1, cs, z1}, {cf1, -cs, z1}};
        face(q);
    }
    if (v.facing(-1, 0)) {
        const double q[4][3] = {{cf0 - 2, -cs, z0}, {cf0 - 2, cs, z0}, {cf0, cs, z1}, {cf0, -cs, z1}};
        face(q);
    }
    for (double s : {-cs, cs}) {
        if (!v.facing(0, s > 0 ? 1 : -1)) continue;
        const double q[4][3] = {{cf0 - 2, s, z0}, {cf1 + 4, s, z0}, {cf1, s, z1}, {cf0, s, z1}};
        face(q);
        // Door pillar.
        const Pt a = v.project(-2, s, z0), b = v.project(-2.5, s, z1);
        cairo_move_to(cr, a.x, a.y);
        cairo_line_to(cr, b.x, b.y);
        paint::setColor(cr, body.darker(0.2));
        cairo_set_line_width(cr, 2.5 * scale);
        cairo_stroke(cr);
    }
    const double roof[4][3] = {{cf0, -cs, z1}, {cf1, -cs, z1}, {cf1, cs, z1}, {cf0, cs, z1}};
    iso::quad(cr, v, roof, police ? pal::White : body.lighter(0.2), 1.6 * scale);
    if (plain) return;

    if (police) {
        // Light bar: red and blue halves flash in turn.
        const bool redOn = (frame % 2) == 0;
        iso::box(cr, v, -5, 1, -7, 0, z1, z1 + 3.5, redOn ? rgb(255, 90, 90) : rgb(150, 40, 50), 1.2 * scale);
        iso::box(cr, v, -5, 1, 0, 7, z1, z1 + 3.5, redOn ? rgb(40, 60, 150) : rgb(90, 160, 255), 1.2 * scale);
        const Pt glow = v.project(-2, redOn ? -4 : 4, z1 + 5);
        paint::sparkle(cr, glow.x, glow.y, 7 * scale, redOn ? rgb(255, 150, 150) : rgb(170, 215, 255));
    } else {
        // Spoiler on the boot.
        iso::box(cr, v, -L + 1, -L + 4, -W + 1, W - 1, 16, 18, trim, 1.2 * scale);
    }
}

void drawMotorbike(cairo_t* cr, Role role, int heading, double x, double y, int frame, int frames, double scale,
                   bool plain) {
    const double phase = 2 * M_PI * frame / frames;
    const double bounce = std::fabs(std::sin(phase * 2)) * 0.8;
    // The bike is drawn a little larger than the figures' scale so it is not
    // hidden behind its rider.
    View v{x, y, heading, scale * 1.25};
    const bool police = role == Role::Police && !plain;
    const Rgb paintCol = plain ? pal::Yellow : police ? pal::White : rgb(236, 80, 60);
    const Rgb trim = plain ? pal::Orange : police ? pal::PoliceBlue : rgb(255, 200, 60);
    const double spin = -phase * 2;
    const bool front = frontView(heading);

    // Exhaust puffs behind.
    if (!v.facing(-1, 0)) {
        const double t = std::fmod(frame / static_cast<double>(frames) * 2, 1.0);
        puff(cr, v, -20 - t * 10, 3, 5 + t * 3, 2 + t * 3);
    }
    iso::wheel(cr, v, -13, 0, 7, 7.5, spin);
    iso::wheel(cr, v, 13, 0, 7, 7.5, spin);
    v.oy -= bounce * scale;
    // Body: engine block, tank, seat, mudguard.
    iso::box(cr, v, -6, 6, -3.5, 3.5, 5, 11, rgb(120, 124, 140), 1.3 * scale);
    iso::box(cr, v, -12, 9, -3, 3, 11, 15, paintCol, 1.4 * scale);
    iso::box(cr, v, 2, 9, -4.5, 4.5, 15, 18, trim, 1.3 * scale);               // tank
    iso::box(cr, v, -12, 1, -3.5, 3.5, 15, 17, rgb(60, 56, 72), 1.3 * scale);  // seat
    // Fork from the front wheel to the handlebar.
    {
        const Pt a = v.project(13, 0, 7), b = v.project(9, 0, 22);
        cairo_move_to(cr, a.x, a.y);
        cairo_line_to(cr, b.x, b.y);
        paint::setColor(cr, pal::Ink);
        cairo_set_line_width(cr, 3.5 * scale);
        cairo_stroke(cr);
        cairo_move_to(cr, a.x, a.y);
        cairo_line_to(cr, b.x, b.y);
        paint::setColor(cr, rgb(200, 204, 214));
        cairo_set_line_width(cr, 1.8 * scale);
        cairo_stroke(cr);
    }
    // Rider: feet point placed so the seat is under the hips.
    const Pt seat = v.project(-4, 0, 17);
    const Pt bar = v.project(9, 0, 22);
    FigurePose pose;
    pose.front = front;
    pose.faceLeft = leftward(heading);
    pose.seated = true;
    pose.lean = 0.05 * std::sin(phase);
    const double fs = scale * 0.86;
    pose.handX = (bar.x - seat.x) / fs * (pose.faceLeft ? -1 : 1);
    pose.handY = (bar.y - seat.y) / fs;
    const auto drawHandlebar = [&]() {
        const Pt l = v.project(9, -6, 22), r = v.project(9, 6, 22);
        cairo_move_to(cr, l.x, l.y);
        cairo_line_to(cr, r.x, r.y);
        paint::setColor(cr, pal::Ink);
        cairo_set_line_width(cr, 3.2 * scale);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_stroke(cr);
        if (v.facing(1, 0)) {
            const Pt h = v.project(11, 0, 18);
            paint::ellipse(cr, h.x, h.y, 3 * scale, 2.6 * scale);
            paint::fillOutlined(cr, pal::Yellow.lighter(0.4), 1.2 * scale);
        }
    };
    if (plain) {
        drawHandlebar();
    } else if (front) {
        drawFigure(cr, role, seat.x, seat.y, fs, pose);
        drawHandlebar();
    } else {
        drawHandlebar();
        drawFigure(cr, role, seat.x, seat.y, fs, pose);
    }
    // Rear light and the police bike's flashing beacon.
    if (v.facing(-1, 0)) {
        const Pt t = v.project(-12, 0, 14);
        paint::ellipse(cr, t.x, t.y, 2 * scale, 1.6 * scale);
        paint::fillOutlined(cr, pal::Red, 1.0);
    }
    if (police) {
        // Blue flasher on the front mudguard.
        const bool on = (frame / 2) % 2 == 0;
        const Pt b = v.project(13, 0, 15.5);
        paint::roundedRect(cr, b.x - 2.5 * scale, b.y - 2 * scale, 5 * scale, 4 * scale, 1.5 * scale);
        paint::fillOutlined(cr, on ? rgb(120, 190, 255) : rgb(40, 70, 160), 1.2 * scale);
        if (on) paint::sparkle(cr, b.x, b.y - 3 * scale, 5 * scale, rgb(200, 230, 255));
    }
}

}  // namespace assetgen
