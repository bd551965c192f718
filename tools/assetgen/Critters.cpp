#include "Critters.h"

#include "Paint.h"

#include <cmath>

namespace assetgen::critters {

using paint::ellipse;
using paint::fillOutlined;

void apple(cairo_t* cr, double cx, double cy, double r, const Rgb& skin) {
    const double lw = std::max(1.5, r * 0.08);
    // Two lobes make the apple shape.
    cairo_new_path(cr);
    cairo_move_to(cr, cx, cy - r * 0.72);
    cairo_curve_to(cr, cx + r * 0.5, cy - r * 1.05, cx + r * 1.08, cy - r * 0.75, cx + r, cy - r * 0.05);
    cairo_curve_to(cr, cx + r * 0.95, cy + r * 0.7, cx + r * 0.45, cy + r * 1.02, cx, cy + r * 0.88);
    cairo_curve_to(cr, cx - r * 0.45, cy + r * 1.02, cx - r * 0.95, cy + r * 0.7, cx - r, cy - r * 0.05);
    cairo_curve_to(cr, cx - r * 1.08, cy - r * 0.75, cx - r * 0.5, cy - r * 1.05, cx, cy - r * 0.72);
    cairo_close_path(cr);
    cairo_pattern_t* p = cairo_pattern_create_radial(cx - r * 0.4, cy - r * 0.35, r * 0.1, cx, cy, r * 1.1);
    const Rgb hi = skin.lighter(0.45), lo = skin.darker(0.3);
    cairo_pattern_add_color_stop_rgb(p, 0, hi.r, hi.g, hi.b);
    cairo_pattern_add_color_stop_rgb(p, 0.5, skin.r, skin.g, skin.b);
    cairo_pattern_add_color_stop_rgb(p, 1, lo.r, lo.g, lo.b);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    paint::setColor(cr, pal::Ink);
    cairo_set_line_width(cr, lw);
    cairo_stroke(cr);
    // Shine.
    ellipse(cr, cx - r * 0.45, cy - r * 0.3, r * 0.16, r * 0.28);
    paint::setColor(cr, pal::White, 0.75);
    cairo_fill(cr);
    // Stalk and leaf.
    cairo_move_to(cr, cx, cy - r * 0.62);
    cairo_curve_to(cr, cx, cy - r * 0.9, cx + r * 0.08, cy - r * 1.1, cx + r * 0.15, cy - r * 1.2);
    paint::setColor(cr, pal::Ink);
    cairo_set_line_width(cr, lw * 2.2);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke_preserve(cr);
    paint::setColor(cr, pal::Trunk);
    cairo_set_line_width(cr, lw);
    cairo_stroke(cr);
    cairo_move_to(cr, cx + r * 0.1, cy - r * 0.95);
    cairo_curve_to(cr, cx + r * 0.35, cy - r * 1.35, cx + r * 0.75, cy - r * 1.2, cx + r * 0.8, cy - r * 1.05);
    cairo_curve_to(cr, cx + r * 0.55, cy - r * 0.85, cx + r * 0.3, cy - r * 0.85, cx + r * 0.1, cy - r * 0.95);
    cairo_close_path(cr);
    paint::fillShaded(cr, pal::LeafLight, pal::Leaf, cy - r * 1.3, cy - r * 0.85, lw);
}

void frog(cairo_t* cr, double cx, double baseY, double s, bool front, int phase) {
    const Rgb body = rgb(96, 200, 84), belly = rgb(220, 245, 170), dark = rgb(56, 150, 60);
    cairo_save(cr);
    cairo_translate(cr, cx, baseY);
    cairo_scale(cr, s, s);
    const double lw = 2.0;
    const double shift = phase ? 1.5 : -1.5;
    // Back legs.
    for (int side = -1; side <= 1; side += 2) {
        ellipse(cr, side * (15 + shift * side * 0.3), -7, 11, 7);
        fillOutlined(cr, dark.lighter(0.15), lw);
        ellipse(cr, side * 21, -1, 8, 3.5);
        fillOutlined(cr, body, lw);
    }
    // Body.
    ellipse(cr, 0, -15 + (phase ? 0.5 : 0), 17, 14);
    paint::fillShaded(cr, body.lighter(0.25), body.darker(0.1), -29, -1, lw);
    if (front) {
        ellipse(cr, 0, -10, 10, 8 + (phase ? 1.5 : 0));
        fillOutlined(cr, belly, 1.4);
    } else {
        for (double sx : {-6.0, 5.0, 0.0})
            for (double sy : {-20.0, -12.0}) {
                ellipse(cr, sx + sy * 0.1, sy, 2.2, 1.8);
                paint::setColor(cr, dark);
                cairo_fill(cr);
            }
    }
    // Front feet.
    for (int side = -1; side <= 1; side += 2) {
        ellipse(cr, side * 8, -2, 5, 3);
        fillOutlined(cr, body.lighter(0.1), 1.6);
    }
    // Eyes on top of the head.
    for (int side = -1; side <= 1; side += 2) {
        ellipse(cr, side * 8, -27, 6.5, 6.5);
        fillOutlined(cr, body.lighter(0.1), lw);
        if (front) {
            if (phase == 1) {
                cairo_move_to(cr, side * 8 - 3.5, -27);
                cairo_line_to(cr, side * 8 + 3.5, -27);
                paint::setColor(cr, pal::Ink);
                cairo_set_line_width(cr, 1.8);
                cairo_stroke(cr);
            } else {
                ellipse(cr, side * 8, -27, 4.2, 4.2);
                fillOutlined(cr, pal::White, 1.0);
                ellipse(cr, side * 8 + 0.5, -26.5, 2.2, 2.6);
                paint::setColor(cr, pal::Ink);
                cairo_fill(cr);
            }
        }
    }
    if (front) {
        cairo_move_to(cr, -8, -17);
        cairo_curve_to(cr, -4, -13, 4, -13, 8, -17);
        paint::setColor(cr, pal::Ink);
        cairo_set_line_width(cr, 1.6);
        cairo_stroke(cr);
        for (int side = -1; side <= 1; side += 2) {
            ellipse(cr, side * 11, -16, 2.6, 1.6);
            paint::setColor(cr, pal::Pink, 0.8);
            cairo_fill(cr);
        }
    }
    cairo_restore(cr);
}

void mole(cairo_t* cr, double cx, double baseY, double s, int mood) {
    const Rgb fur = rgb(132, 96, 80), furLight = rgb(176, 136, 112);
    cairo_save(cr);
    cairo_translate(cr, cx, baseY);
    cairo_scale(cr, s, s);
    // Body.
    cairo_move_to(cr, -34, 0);
    cairo_curve_to(cr, -38, -60, -30, -92, 0, -92);
    cairo_curve_to(cr, 30, -92, 38, -60, 34, 0);
    cairo_close_path(cr);
    paint::fillShaded(cr, furLight, fur.darker(0.15), -92, 0, 2.5);
    // Belly.
    ellipse(cr, 0, -22, 20, 20);
    fillOutlined(cr, rgb(236, 206, 170), 1.8);
    // Paws (big digging claws).
    for (int side = -1; side <= 1; side += 2) {
        ellipse(cr, side * 24, -14, 11, 8);
        fillOutlined(cr, pal::Pink.lighter(0.3), 2);
        for (int k = -1; k <= 1; ++k) {
            ellipse(cr, side * 24 + k * 5, -7, 2, 3);
            fillOutlined(cr, pal::White, 1.0);
        }
    }
    // Face.
    const double ey = -64;
    for (int side = -1; side <= 1; side += 2) {
        const double ex = side * 11;
        if (mood == 1) {
            // Dizzy: spiral eyes.
            cairo_new_path(cr);
            for (double t = 0; t < 4 * M_PI; t += 0.2) {
                const double rr = t * 0.45;
                const double x = ex + rr * std::cos(t), y = ey + rr * std::sin(t);
                if (t == 0)
                    cairo_move_to(cr, x, y);
                else
                    cairo_line_to(cr, x, y);
            }
            paint::setColor(cr, pal::Ink);
            cairo_set_line_width(cr, 1.6);
            cairo_stroke(cr);
        } else {
            ellipse(cr, ex, ey, 4.5, 5.5);
            fillOutlined(cr, pal::White, 1.4);
            ellipse(cr, ex + (mood == 2 ? side * 1.5 : 0.8), ey + 1, 2.6, 3.2);
            paint::setColor(cr, pal::Ink);
            cairo_fill(cr);
            ellipse(cr, ex, ey - 1.5, 0.9, 0.9);
            paint::setColor(cr, pal::White);
            cairo_fill(cr);
            if (mood == 2) {
                cairo_move_to(cr, ex - 5, ey - 8 + side * 1.5);
                cairo_line_to(cr, ex + 5, ey - 8 - side * 1.5);
                paint::setColor(cr, pal::Ink);
                cairo_set_line_width(cr, 2);
                cairo_stroke(cr);
            }
        }
    }
    // Snout, nose, whiskers, teeth.
    ellipse(cr, 0, -50, 12, 8.5);
    fillOutlined(cr, rgb(236, 206, 170), 1.8);
    ellipse(cr, 0, -54, 5.5, 4);
    fillOutlined(cr, pal::Pink, 1.5);
    for (int side = -1; side <= 1; side += 2)
        for (int k = 0; k < 2; ++k) {
            cairo_move_to(cr, side * 9, -50 + k * 3);
            cairo_line_to(cr, side * 24, -52 + k * 6);
        }
    paint::setColor(cr, pal::Ink);
    cairo_set_line_width(cr, 1.1);
    cairo_stroke(cr);
    if (mood == 1) {
        ellipse(cr, 0, -43, 4, 3);
        fillOutlined(cr, rgb(120, 40, 50), 1.2);
        // Bump on the head and circling stars.
        ellipse(cr, 8, -90, 7, 6);
        fillOutlined(cr, furLight.lighter(0.2), 1.8);
        for (int k = 0; k < 3; ++k) {
            paint::star(cr, -26 + k * 26, -100 - (k % 2) * 8, 6, 2.6, 5);
            fillOutlined(cr, pal::Yellow, 1.4);
        }
    } else {
        cairo_rectangle(cr, -3.5, -45, 7, 5);
        fillOutlined(cr, pal::White, 1.2);
        cairo_move_to(cr, -7, -46);
        cairo_curve_to(cr, -3, -43, 3, -43, 7, -46);
        paint::setColor(cr, pal::Ink);
        cairo_set_line_width(cr, 1.4);
        cairo_stroke(cr);
    }
    // Miner's helmet.
    cairo_move_to(cr, -26, -80);
    cairo_curve_to(cr, -26, -104, 26, -104, 26, -80);
    cairo_close_path(cr);
    paint::fillShaded(cr, pal::Yellow.lighter(0.3), pal::Orange, -104, -80, 2.2);
    paint::roundedRect(cr, -30, -82, 60, 6, 3);
    fillOutlined(cr, pal::Orange.darker(0.1), 1.8);
    if (mood != 1) {
        ellipse(cr, 0, -92, 6, 5);
        fillOutlined(cr, pal::Yellow.lighter(0.6), 1.6);
    }
    cairo_restore(cr);
}

void radish(cairo_t* cr, double cx, double baseY, double s) {
    cairo_save(cr);
    cairo_translate(cr, cx, baseY);
    cairo_scale(cr, s, s);
    // Leaves.
    for (int k = -1; k <= 1; ++k) {
        cairo_save(cr);
        cairo_translate(cr, k * 3, -26);
        cairo_rotate(cr, k * 0.45);
        ellipse(cr, 0, -9, 4.5, 10);
        paint::fillShaded(cr, pal::LeafLight, pal::Leaf, -19, 1, 1.6);
        cairo_restore(cr);
    }
    // Root.
    cairo_move_to(cr, 0, 0);
    cairo_curve_to(cr, -5, -4, -13, -12, -12, -20);
    cairo_curve_to(cr, -11, -29, 11, -29, 12, -20);
    cairo_curve_to(cr, 13, -12, 5, -4, 0, 0);
    cairo_close_path(cr);
    paint::fillShaded(cr, rgb(255, 120, 150), rgb(220, 50, 90), -28, 0, 1.8);
    ellipse(cr, -5, -20, 2, 4);
    paint::setColor(cr, pal::White, 0.7);
    cairo_fill(cr);
    cairo_restore(cr);
}

void lilyPad(cairo_t* cr, double x, double y, double w, double h) {
    const double cx = x + w / 2, cy = y + h / 2;
    // Pad with a notch, two shades.
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, w / 2, h / 2);
    cairo_move_to(cr, 0, 0);
    cairo_arc(cr, 0, 0, 1, -M_PI / 2 + 0.35, 1.5 * M_PI - 0.05);
    cairo_close_path(cr);
    cairo_restore(cr);
    paint::fillShaded(cr, rgb(130, 214, 96), rgb(60, 150, 60), y, y + h, 2.5);
    // Veins.
    for (int k = 0; k < 7; ++k) {
        const double a = -M_PI / 2 + 0.7 + k * 0.8;
        cairo_move_to(cr, cx, cy);
        cairo_line_to(cr, cx + std::cos(a) * w * 0.42, cy + std::sin(a) * h * 0.4);
    }
    paint::setColor(cr, rgb(170, 230, 130), 0.9);
    cairo_set_line_width(cr, 1.3);
    cairo_stroke(cr);
}

}  // namespace assetgen::critters
