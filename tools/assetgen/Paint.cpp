#include "Paint.h"

#include <cmath>

namespace assetgen::paint {

void setColor(cairo_t* cr, const Rgb& c, double alpha) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    r = std::min(r, std::min(w, h) / 2);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 1.5 * M_PI);
    cairo_close_path(cr);
}

void ellipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
    if (rx <= 0 || ry <= 0) return;
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
}

void star(cairo_t* cr, double cx, double cy, double outer, double inner, int points, double turn) {
    cairo_new_sub_path(cr);
    for (int i = 0; i < points * 2; ++i) {
        const double a = turn - M_PI / 2 + i * M_PI / points;
        const double r = (i % 2 == 0) ? outer : inner;
        const double x = cx + r * std::cos(a);
        const double y = cy + r * std::sin(a);
        if (i == 0)
            cairo_move_to(cr, x, y);
        else
            cairo_line_to(cr, x, y);
    }
    cairo_close_path(cr);
}

void fillOutlined(cairo_t* cr, const Rgb& fill, double lineWidth, const Rgb& ink) {
    setColor(cr, fill);
    cairo_fill_preserve(cr);
    if (lineWidth > 0) {
        setColor(cr, ink);
        cairo_set_line_width(cr, lineWidth);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(cr);
    } else {
        cairo_new_path(cr);
    }
}

void fillShaded(cairo_t* cr, const Rgb& top, const Rgb& bottom, double y0, double y1, double lineWidth,
                const Rgb& ink) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgb(p, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(p, 1, bottom.r, bottom.g, bottom.b);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    if (lineWidth > 0) {
        setColor(cr, ink);
        cairo_set_line_width(cr, lineWidth);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(cr);
    } else {
        cairo_new_path(cr);
    }
}

void fillBall(cairo_t* cr, double cx, double cy, double r, const Rgb& base, double lineWidth, const Rgb& ink) {
    ellipse(cr, cx, cy, r, r);
    const Rgb hi = base.lighter(0.45);
    const Rgb lo = base.darker(0.25);
    cairo_pattern_t* p = cairo_pattern_create_radial(cx - r * 0.35, cy - r * 0.4, r * 0.1, cx, cy, r * 1.05);
    cairo_pattern_add_color_stop_rgb(p, 0, hi.r, hi.g, hi.b);
    cairo_pattern_add_color_stop_rgb(p, 0.55, base.r, base.g, base.b);
    cairo_pattern_add_color_stop_rgb(p, 1, lo.r, lo.g, lo.b);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    if (lineWidth > 0) {
        setColor(cr, ink);
        cairo_set_line_width(cr, lineWidth);
        cairo_stroke(cr);
    } else {
        cairo_new_path(cr);
    }
}

void shine(cairo_t* cr, double x, double y, double w, double h, double alpha) {
    ellipse(cr, x + w / 2, y + h / 2, w / 2, h / 2);
    setColor(cr, pal::White, alpha);
    cairo_fill(cr);
}

void gradientRect(cairo_t* cr, double x, double y, double w, double h, const Rgb& top, const Rgb& bottom) {
    cairo_rectangle(cr, x, y, w, h);
    fillShaded(cr, top, bottom, y, y + h, 0);
}

void cloud(cairo_t* cr, double x, double y, double s, const Rgb& body) {
    const double parts[][3] = {{0, 10, 14}, {16, 2, 18}, {36, 6, 16}, {50, 12, 12}, {26, 14, 14}};
    for (int pass = 0; pass < 2; ++pass) {
        for (const auto& c : parts) ellipse(cr, x + c[0] * s, y + c[1] * s, c[2] * s, c[2] * s * 0.85);
        if (pass == 0) {
            setColor(cr, pal::InkSoft.lighter(0.45));
            cairo_set_line_width(cr, 3.0 * s);
            cairo_stroke(cr);
        } else {
            cairo_pattern_t* p = cairo_pattern_create_linear(0, y - 14 * s, 0, y + 26 * s);
            const Rgb lo = body.mix(rgb(200, 220, 245), 0.6);
            cairo_pattern_add_color_stop_rgb(p, 0, body.r, body.g, body.b);
            cairo_pattern_add_color_stop_rgb(p, 1, lo.r, lo.g, lo.b);
            cairo_set_source(cr, p);
            cairo_fill(cr);
            cairo_pattern_destroy(p);
        }
    }
}

void sparkle(cairo_t* cr, double cx, double cy, double r, const Rgb& c) {
    star(cr, cx, cy, r, r * 0.28, 4);
    setColor(cr, c);
    cairo_fill(cr);
}

void tree(cairo_t* cr, double x, double baseY, double s, const Rgb& leaf) {
    // Trunk.
    cairo_rectangle(cr, x - 4 * s, baseY - 22 * s, 8 * s, 22 * s);
    fillShaded(cr, pal::Trunk.lighter(0.15), pal::Trunk.darker(0.2), baseY - 22 * s, baseY, 1.6 * s);
    // Crown: three overlapping balls.
    const double balls[][3] = {{-11, -34, 14}, {11, -36, 14}, {0, -50, 16}};
    for (const auto& b : balls) ellipse(cr, x + b[0] * s, baseY + b[1] * s, b[2] * s, b[2] * s);
    setColor(cr, pal::Ink);
    cairo_set_line_width(cr, 3.2 * s);
    cairo_stroke(cr);
    for (const auto& b : balls) fillBall(cr, x + b[0] * s, baseY + b[1] * s, b[2] * s, leaf, 0);
    ellipse(cr, x - 5 * s, baseY - 56 * s, 5 * s, 3.5 * s);
    setColor(cr, leaf.lighter(0.5), 0.8);
    cairo_fill(cr);
}

void flower(cairo_t* cr, double x, double y, double r, const Rgb& petal) {
    for (int i = 0; i < 5; ++i) {
        const double a = i * 2 * M_PI / 5;
        ellipse(cr, x + std::cos(a) * r, y + std::sin(a) * r, r * 0.75, r * 0.75);
    }
    fillOutlined(cr, petal, r * 0.3);
    ellipse(cr, x, y, r * 0.55, r * 0.55);
    fillOutlined(cr, pal::Yellow, r * 0.25);
}

void panel(cairo_t* cr, double x, double y, double w, double h, double r, const Rgb& face, const Rgb& rim, double lw) {
    roundedRect(cr, x, y + 3, w, h, r);
    setColor(cr, rim.darker(0.45));
    cairo_fill(cr);
    roundedRect(cr, x, y, w, h, r);
    fillShaded(cr, rim.lighter(0.25), rim.darker(0.1), y, y + h, lw);
    const double in = std::max(5.0, lw * 2.2);
    roundedRect(cr, x + in, y + in, w - 2 * in, h - 2 * in, std::max(2.0, r - in));
    fillShaded(cr, face.lighter(0.2), face, y + in, y + h - in, lw * 0.6, rim.darker(0.35));
}

}  // namespace assetgen::paint
