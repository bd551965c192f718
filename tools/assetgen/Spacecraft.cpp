#include "Spacecraft.h"

#include "Paint.h"
#include "Palette.h"
#include "Random.h"

#include <cmath>

namespace assetgen::spacecraft {

using paint::ellipse;
using paint::fillOutlined;

void ship(cairo_t* cr, double cx, double cy, double s, int frame, int frames) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, s, s);
    const double t = 2 * M_PI * frame / frames;
    // Engine flames, flickering.
    for (int side = -1; side <= 1; side += 2) {
        const double len = 10 + 4 * std::sin(t * 2 + side);
        cairo_move_to(cr, side * 9 - 4, 16);
        cairo_curve_to(cr, side * 9 - 3, 18 + len, side * 9 + 3, 18 + len, side * 9 + 4, 16);
        cairo_close_path(cr);
        paint::fillShaded(cr, pal::Yellow.lighter(0.5), pal::Orange, 16, 18 + len, 1.4, pal::RedDark);
    }
    // Wings.
    cairo_move_to(cr, -6, -2);
    cairo_line_to(cr, -30, 14);
    cairo_line_to(cr, -28, 20);
    cairo_line_to(cr, -6, 14);
    cairo_close_path(cr);
    cairo_move_to(cr, 6, -2);
    cairo_line_to(cr, 30, 14);
    cairo_line_to(cr, 28, 20);
    cairo_line_to(cr, 6, 14);
    cairo_close_path(cr);
    paint::fillShaded(cr, pal::Red.lighter(0.2), pal::RedDark, -2, 20, 2);
    // Engines.
    for (int side = -1; side <= 1; side += 2) {
        paint::roundedRect(cr, side * 9 - 4.5, 4, 9, 14, 3);
        paint::fillShaded(cr, pal::GreyLight, pal::Grey, 4, 18, 1.6);
    }
    // Fuselage.
    cairo_move_to(cr, 0, -27);
    cairo_curve_to(cr, 9, -18, 10, 4, 8, 18);
    cairo_line_to(cr, -8, 18);
    cairo_curve_to(cr, -10, 4, -9, -18, 0, -27);
    cairo_close_path(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(-10, 0, 10, 0);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.75, 0.78, 0.85);
    cairo_pattern_add_color_stop_rgb(p, 0.4, 1, 1, 1);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.6, 0.64, 0.74);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    paint::setColor(cr, pal::Ink);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    // Canopy and stripe.
    ellipse(cr, 0, -10, 4.5, 8);
    paint::fillShaded(cr, pal::Cyan.lighter(0.5), pal::Blue, -18, -2, 1.5);
    cairo_rectangle(cr, -8.5, 6, 17, 3);
    fillOutlined(cr, pal::Red, 1);
    // Wingtip lights blink.
    const bool on = frame % 4 < 2;
    ellipse(cr, -28, 16, 2.2, 2.2);
    fillOutlined(cr, on ? pal::Green.lighter(0.4) : pal::GreenDark, 1);
    ellipse(cr, 28, 16, 2.2, 2.2);
    fillOutlined(cr, on ? pal::Red.lighter(0.4) : pal::RedDark, 1);
    cairo_restore(cr);
}

void saucer(cairo_t* cr, double cx, double cy, double s, int frame, int frames) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy + 1.5 * std::sin(2 * M_PI * frame / frames));
    cairo_scale(cr, s, s);
    // Dome with a little green pilot.
    ellipse(cr, 0, -6, 13, 12);
    paint::fillShaded(cr, pal::Cyan.lighter(0.6), pal::Cyan, -18, 6, 2);
    ellipse(cr, 0, -7, 5.5, 6);
    fillOutlined(cr, pal::Green, 1.4);
    for (int side = -1; side <= 1; side += 2) {
        ellipse(cr, side * 2.2, -8, 1.8, 2.2);
        fillOutlined(cr, pal::White, 0.6);
    }
    // Hull.
    ellipse(cr, 0, 4, 29, 10);
    paint::fillShaded(cr, pal::Magenta.lighter(0.4), pal::Purple.darker(0.1), -6, 14, 2);
    ellipse(cr, 0, 2, 22, 4);
    paint::setColor(cr, pal::White, 0.35);
    cairo_fill(cr);
    // Rim lights chase round.
    for (int k = 0; k < 6; ++k) {
        const double a = M_PI * (k + 0.5) / 6;
        const bool lit = (k + frame) % 3 == 0;
        ellipse(cr, -26 * std::cos(a), 6 + 5 * std::sin(a), 2.6, 2.2);
        fillOutlined(cr, lit ? pal::Yellow.lighter(0.4) : pal::Orange.darker(0.2), 1);
    }
    // Beam legs.
    cairo_move_to(cr, -10, 13);
    cairo_line_to(cr, -14, 19);
    cairo_move_to(cr, 10, 13);
    cairo_line_to(cr, 14, 19);
    paint::setColor(cr, pal::Ink);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void bug(cairo_t* cr, double cx, double cy, double s, int frame, int frames) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, s, s);
    const double beat = std::sin(2 * M_PI * frame / frames);
    // Wings.
    for (int side = -1; side <= 1; side += 2) {
        cairo_save(cr);
        cairo_translate(cr, side * 8, -4);
        cairo_rotate(cr, side * (0.35 + 0.35 * beat));
        ellipse(cr, side * 16, 0, 17, 8);
        cairo_restore(cr);
        paint::fillShaded(cr, rgb(200, 255, 220), rgb(80, 200, 160), -14, 8, 1.8);
    }
    // Body segments.
    ellipse(cr, 0, 8, 10, 13);
    paint::fillShaded(cr, rgb(120, 230, 90), rgb(40, 140, 60), -5, 21, 2);
    for (double y : {4.0, 10.0, 16.0}) {
        cairo_move_to(cr, -8, y);
        cairo_curve_to(cr, -3, y + 2, 3, y + 2, 8, y);
    }
    paint::setColor(cr, rgb(40, 120, 50));
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    // Head with big eyes and antennae.
    cairo_move_to(cr, -5, -17);
    cairo_curve_to(cr, -9, -28, -14, -28, -15, -24);
    cairo_move_to(cr, 5, -17);
    cairo_curve_to(cr, 9, -28, 14, -28, 15, -24);
    paint::setColor(cr, pal::Ink);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    for (int side = -1; side <= 1; side += 2) {
        ellipse(cr, side * 15, -24, 2.5, 2.5);
        fillOutlined(cr, pal::Pink, 1);
    }
    ellipse(cr, 0, -10, 11, 9);
    paint::fillShaded(cr, rgb(150, 240, 110), rgb(60, 170, 70), -19, -1, 2);
    for (int side = -1; side <= 1; side += 2) {
        ellipse(cr, side * 5, -11, 4, 4.5);
        fillOutlined(cr, rgb(255, 80, 60), 1.2);
        ellipse(cr, side * 5 - 1, -12.5, 1.3, 1.3);
        paint::setColor(cr, pal::White);
        cairo_fill(cr);
    }
    // Mandibles open and close with the wings.
    for (int side = -1; side <= 1; side += 2) {
        cairo_move_to(cr, side * 4, -3);
        cairo_line_to(cr, side * (3 + 2 * beat), 2);
    }
    paint::setColor(cr, pal::Ink);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void explosion(cairo_t* cr, double cx, double cy, double radius, double t) {
    Random rng(77);
    const double grow = std::min(1.0, t / 0.45);
    const double fade = std::max(0.0, (t - 0.4) / 0.6);
    // Puffs around the centre: hot colours first, grey smoke later.
    for (int k = 0; k < 14; ++k) {
        const double a = rng.range(0, 2 * M_PI);
        const double d = rng.range(0.1, 0.6) * radius * (0.4 + 0.8 * grow);
        const double r = rng.range(0.25, 0.42) * radius * (0.3 + 0.7 * grow) * (1 - 0.5 * fade);
        const double x = cx + std::cos(a) * d, y = cy + std::sin(a) * d - fade * radius * 0.15;
        const Rgb hot = k % 3 == 0 ? pal::Yellow : (k % 3 == 1 ? pal::Orange : pal::Red);
        const Rgb smoke = rgb(120, 112, 128);
        const Rgb c = hot.mix(smoke, std::min(1.0, fade * 1.3));
        if (fade > 0.5 && rng.uniform() < (fade - 0.5) * 1.6) continue;  // the smoke breaks up
        paint::fillBall(cr, x, y, r, c, 2.0, c.darker(0.5));
    }
    // White-hot core early on.
    if (t < 0.5) {
        const double r = radius * 0.3 * (1 - t * 1.4) + 2;
        paint::fillBall(cr, cx, cy, r, pal::Yellow.lighter(0.7), 0);
    }
    // Sparks flying out.
    Random sparks(91);
    for (int k = 0; k < 10; ++k) {
        const double a = sparks.range(0, 2 * M_PI);
        const double d = radius * (0.3 + 0.7 * t);
        if (t > 0.85) break;
        paint::sparkle(cr, cx + std::cos(a) * d, cy + std::sin(a) * d, 5 * (1 - t), pal::Yellow.lighter(0.5));
    }
}

void planet(cairo_t* cr, double cx, double cy, double r) {
    // Ring behind, planet, ring in front.
    cairo_save(cr);
    cairo_rectangle(cr, cx - r * 2, cy - r * 2, r * 4, r * 2);
    cairo_clip(cr);
    ellipse(cr, cx, cy, r * 1.8, r * 0.45);
    paint::setColor(cr, pal::Ink);
    cairo_set_line_width(cr, r * 0.16);
    cairo_stroke_preserve(cr);
    paint::setColor(cr, pal::Sand);
    cairo_set_line_width(cr, r * 0.1);
    cairo_stroke(cr);
    cairo_restore(cr);
    paint::fillBall(cr, cx, cy, r, rgb(240, 150, 90), 2.5);
    for (double k : {-0.4, 0.1, 0.5}) {
        ellipse(cr, cx, cy + k * r, r * 0.9 * std::sqrt(1 - k * k), r * 0.08);
        paint::setColor(cr, rgb(200, 100, 70), 0.6);
        cairo_fill(cr);
    }
    cairo_save(cr);
    cairo_rectangle(cr, cx - r * 2, cy, r * 4, r * 2);
    cairo_clip(cr);
    ellipse(cr, cx, cy, r * 1.8, r * 0.45);
    paint::setColor(cr, pal::Ink);
    cairo_set_line_width(cr, r * 0.16);
    cairo_stroke_preserve(cr);
    paint::setColor(cr, pal::Sand);
    cairo_set_line_width(cr, r * 0.1);
    cairo_stroke(cr);
    cairo_restore(cr);
}

}  // namespace assetgen::spacecraft
