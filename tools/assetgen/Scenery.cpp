#include "Scenery.h"

#include "Paint.h"
#include "Random.h"
#include "Text.h"

#include <cmath>

namespace assetgen::scenery {

void townBackdrop(cairo_t* cr, double w, double h, double streetY, unsigned seed) {
    Random rng(seed);
    paint::gradientRect(cr, 0, 0, w, streetY, pal::SkyTop, pal::SkyBottom);
    // Sun.
    paint::ellipse(cr, w * 0.86, h * 0.12, 70, 70);
    paint::setColor(cr, pal::Yellow, 0.25);
    cairo_fill(cr);
    paint::fillBall(cr, w * 0.86, h * 0.12, 44, pal::Yellow, 0);
    for (int i = 0; i < 5; ++i) paint::cloud(cr, rng.range(0, w), rng.range(30, streetY * 0.35), rng.range(1.0, 1.8));
    // Far hills.
    cairo_move_to(cr, 0, streetY);
    for (double x = 0; x <= w; x += 20) cairo_line_to(cr, x, streetY - 150 - 40 * std::sin(x / 90.0 + seed));
    cairo_line_to(cr, w, streetY);
    cairo_close_path(cr);
    paint::fillShaded(cr, rgb(150, 210, 130), rgb(110, 180, 100), streetY - 200, streetY, 2.0, rgb(90, 150, 90));
    // A row of houses.
    const Rgb walls[] = {pal::WallCream, pal::WallPink, pal::WallBlue, pal::WallMint};
    const Rgb roofs[] = {pal::RoofRed, pal::RoofBrown, pal::RoofBlue, pal::RoofGreen};
    for (double x = -20; x < w; x += rng.range(90, 130)) {
        const double hw = rng.range(60, 90), hh = rng.range(70, 130);
        const int k = rng.below(4);
        const double top = streetY - 20 - hh;
        cairo_rectangle(cr, x, top, hw, hh + 20);
        paint::fillShaded(cr, walls[k].lighter(0.1), walls[k].darker(0.08), top, streetY, 2.5);
        cairo_move_to(cr, x - 8, top + 2);
        cairo_line_to(cr, x + hw / 2, top - hw * 0.45);
        cairo_line_to(cr, x + hw + 8, top + 2);
        cairo_close_path(cr);
        paint::fillOutlined(cr, roofs[k], 2.5);
        for (double wy = top + 14; wy < streetY - 40; wy += 34)
            for (double wx = x + 10; wx + 16 < x + hw - 6; wx += 26) {
                paint::roundedRect(cr, wx, wy, 16, 18, 2);
                paint::fillOutlined(cr, rng.uniform() < 0.3 ? pal::Yellow.lighter(0.3) : pal::Window, 1.5);
            }
        x += hw;
    }
    // Street and pavement.
    cairo_rectangle(cr, 0, streetY - 22, w, 22);
    paint::fillShaded(cr, pal::Pavement.lighter(0.2), pal::Pavement, streetY - 22, streetY, 2.0);
    cairo_rectangle(cr, 0, streetY, w, h - streetY);
    paint::fillShaded(cr, pal::Asphalt.lighter(0.1), pal::Asphalt.darker(0.1), streetY, h, 0);
    for (double x = 10; x < w; x += 70) {
        cairo_rectangle(cr, x, streetY + (h - streetY) / 2 - 3, 36, 6);
        paint::setColor(cr, pal::LaneYellow);
        cairo_fill(cr);
    }
}

void banner(cairo_t* cr, double cx, double cy, double width, const std::string& title, const Rgb& colour, double px) {
    const double h = px * 1.6;
    // Ribbon tails.
    for (int side = -1; side <= 1; side += 2) {
        const double x0 = cx + side * width / 2;
        cairo_move_to(cr, x0 - side * 20, cy - h / 2 + 12);
        cairo_line_to(cr, x0 + side * 40, cy - h / 2 + 12);
        cairo_line_to(cr, x0 + side * 24, cy + 6);
        cairo_line_to(cr, x0 + side * 40, cy + h / 2 + 12);
        cairo_line_to(cr, x0 - side * 20, cy + h / 2 + 12);
        cairo_close_path(cr);
        paint::fillOutlined(cr, colour.darker(0.3), 3);
    }
    paint::roundedRect(cr, cx - width / 2, cy - h / 2, width, h, 10);
    paint::fillShaded(cr, colour.lighter(0.25), colour.darker(0.1), cy - h / 2, cy + h / 2, 3);
    paint::roundedRect(cr, cx - width / 2 + 8, cy - h / 2 + 5, width - 16, h * 0.3, 6);
    paint::setColor(cr, pal::White, 0.3);
    cairo_fill(cr);
    text::Style st{text::Cjk, px, true, pal::White, colour.darker(0.55), px * 0.09};
    st.px = text::fitSize(cr, title, st, width - 30);
    text::draw(cr, title, cx, cy, st);
}

void board(cairo_t* cr, double x, double y, double w, double h, const Rgb& frame) {
    paint::roundedRect(cr, x - 6, y - 6 + 4, w + 12, h + 12, 14);
    paint::setColor(cr, frame.darker(0.5));
    cairo_fill(cr);
    paint::roundedRect(cr, x - 6, y - 6, w + 12, h + 12, 14);
    paint::fillShaded(cr, frame.lighter(0.25), frame.darker(0.15), y - 6, y + h + 6, 3);
    paint::roundedRect(cr, x, y, w, h, 9);
    paint::fillShaded(cr, pal::NightLight, pal::Night, y, y + h, 2.5);
    // No glare line: texts start right at the top of a board and need a clean field.
    // Screws in the corners of the frame.
    for (double sx : {x - 1.5, x + w + 1.5})
        for (double sy : {y - 1.5, y + h + 1.5}) {
            paint::ellipse(cr, sx, sy, 2.5, 2.5);
            paint::fillOutlined(cr, pal::GreyLight, 1.0);
        }
}

void tab(cairo_t* cr, double x, double y, double w, double h, const std::string& label, const Rgb& colour) {
    paint::roundedRect(cr, x, y, w, h + 10, 10);
    paint::fillShaded(cr, colour.lighter(0.25), colour, y, y + h, 2.5);
    text::Style st{text::Cjk, h * 0.6, true, pal::White, colour.darker(0.55), 1.8};
    text::draw(cr, label, x + w / 2, y + h / 2 + 1, st);
}

void logo(cairo_t* cr, double cx, double cy, const std::string& title, double px, const Rgb& fill, const Rgb& outline) {
    text::Style shadow{text::Cjk, px, true, outline.darker(0.5), outline.darker(0.5), px * 0.12};
    text::draw(cr, title, cx + 3, cy + 5, shadow);
    text::Style st{text::Cjk, px, true, fill, outline, px * 0.11};
    st.letterSpacing = px * 0.05;
    shadow.letterSpacing = st.letterSpacing;
    text::draw(cr, title, cx, cy, st);
    // Shine over the upper half of the letters.
    text::Style shine{text::Cjk, px, true, fill.lighter(0.55), fill, 0};
    shine.letterSpacing = st.letterSpacing;
    cairo_save(cr);
    cairo_rectangle(cr, cx - 2000, cy - px, 4000, px * 0.55);
    cairo_clip(cr);
    text::draw(cr, title, cx, cy, shine);
    cairo_restore(cr);
}

void checkBadge(cairo_t* cr, double cx, double cy, double r) {
    paint::ellipse(cr, cx, cy, r, r);
    paint::fillOutlined(cr, pal::CheckGreen, 2.0);
    cairo_move_to(cr, cx - r * 0.5, cy);
    cairo_line_to(cr, cx - r * 0.1, cy + r * 0.4);
    cairo_line_to(cr, cx + r * 0.55, cy - r * 0.45);
    paint::setColor(cr, pal::White);
    cairo_set_line_width(cr, r * 0.28);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

}  // namespace assetgen::scenery
