// Mole game: the field with its ten holes, the mole coming up, standing
// with its letter sign, hit, and running off, the radishes and the status board.
#include "Critters.h"
#include "Paint.h"
#include "Random.h"
#include "Text.h"
#include "Themes.h"

#include <cmath>

namespace assetgen {

namespace {

constexpr double HoleX = 63, HoleY = 136;  // hole centre inside a 126x154 mole frame

void holeBack(cairo_t* cr, double cx, double cy) {
    paint::ellipse(cr, cx, cy + 4, 58, 22);
    paint::fillOutlined(cr, pal::Earth.lighter(0.15), 2.5);
    paint::ellipse(cr, cx, cy, 46, 15);
    paint::fillShaded(cr, rgb(60, 40, 30), rgb(100, 70, 48), cy - 15, cy + 15, 2.5);
}

// Front lip of the hole, drawn over the mole so it seems to come out of it.
void holeLip(cairo_t* cr, double cx, double cy) {
    cairo_move_to(cr, cx - 56, cy + 2);
    cairo_curve_to(cr, cx - 40, cy + 20, cx + 40, cy + 20, cx + 56, cy + 2);
    cairo_curve_to(cr, cx + 40, cy + 28, cx - 40, cy + 28, cx - 56, cy + 2);
    cairo_close_path(cr);
    paint::fillShaded(cr, pal::Earth.lighter(0.25), pal::Earth, cy, cy + 26, 2.5);
    for (int k = -2; k <= 2; ++k) {
        paint::ellipse(cr, cx + k * 20, cy + 16 + std::abs(k) * -2, 5, 3);
        paint::setColor(cr, pal::EarthDark.lighter(0.2));
        cairo_fill(cr);
    }
}

// Mole risen by `rise` (0 hidden .. 1 fully up), clipped at the hole.
void moleInHole(cairo_t* cr, double rise, int mood, bool sign) {
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, 126, HoleY + 6);
    cairo_clip(cr);
    const double base = HoleY + 10 + (1 - rise) * 110;
    critters::mole(cr, HoleX - 6, base, 0.95, mood);
    if (sign && rise > 0.9) {
        // The letter sign (letter at (75,12), stay count at (97,32)).
        cairo_rectangle(cr, 92, 56, 5, base - 60 - 56);
        paint::fillOutlined(cr, pal::Trunk, 1.5);
        paint::roundedRect(cr, 68, 4, 54, 52, 8);
        paint::fillShaded(cr, pal::White, rgb(240, 236, 226), 4, 56, 2.5);
        // Paw holding the stick.
        paint::ellipse(cr, 94.5, 70, 7, 6);
        paint::fillOutlined(cr, pal::Pink.lighter(0.3), 1.8);
    }
    cairo_restore(cr);
    holeLip(cr, HoleX, HoleY);
}

void background(PictureSet& set) {
    Canvas c(800, 600);
    cairo_t* cr = c.cr();
    paint::gradientRect(cr, 0, 0, 800, 120, pal::SkyTop, pal::SkyBottom);
    Random rng(66);
    for (int i = 0; i < 3; ++i) paint::cloud(cr, rng.range(80, 720), rng.range(20, 60), rng.range(0.9, 1.3));
    // Fence along the horizon.
    cairo_rectangle(cr, 0, 96, 800, 504);
    paint::fillShaded(cr, pal::GrassLight, pal::Grass, 96, 600, 0);
    for (double x = 6; x < 800; x += 34) {
        cairo_move_to(cr, x, 112);
        cairo_line_to(cr, x, 82);
        cairo_line_to(cr, x + 8, 74);
        cairo_line_to(cr, x + 16, 82);
        cairo_line_to(cr, x + 16, 112);
        cairo_close_path(cr);
        paint::fillOutlined(cr, pal::Cream, 2);
    }
    cairo_rectangle(cr, 0, 88, 800, 6);
    paint::fillOutlined(cr, pal::Cream.darker(0.08), 1.6);
    // Mown stripes.
    for (int i = 0; i < 8; ++i) {
        cairo_rectangle(cr, 0, 130 + i * 60, 800, 30);
        paint::setColor(cr, pal::GrassLight, 0.25);
        cairo_fill(cr);
    }
    for (int i = 0; i < 500; ++i) {
        const double x = rng.range(0, 800), y = rng.range(120, 600);
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + 1.5, y - 5);
    }
    paint::setColor(cr, pal::GrassDark);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    // Ten holes: columns 75..595 step 130, rows 160 and 314 (mole frames).
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 5; ++col) holeBack(cr, 75 + col * 130 + HoleX, 160 + row * 154 + HoleY);
    // Vegetable patch for the radishes at (i*40+105, 498), i = 1..6.
    paint::roundedRect(cr, 130, 490, 270, 70, 20);
    paint::fillShaded(cr, pal::Earth.lighter(0.1), pal::EarthDark, 490, 560, 2.5);
    for (double y = 505; y < 556; y += 12) {
        cairo_move_to(cr, 142, y);
        cairo_line_to(cr, 388, y);
    }
    paint::setColor(cr, pal::EarthDark.darker(0.1));
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    // Status board: values at (612,525), (720,525), (605,549), (728,549).
    paint::roundedRect(cr, 540, 514, 254, 74, 12);
    paint::fillShaded(cr, pal::Cream, rgb(236, 220, 180), 514, 588, 3, pal::Trunk);
    text::Style lab{text::Cjk, 13, true, pal::EarthDark, pal::White, 0};
    text::draw(cr, "时长", 606, 532, lab, text::Align::Right);
    text::draw(cr, "剩余", 714, 532, lab, text::Align::Right);
    text::draw(cr, "命中", 601, 556, lab, text::Align::Right);
    text::draw(cr, "得分", 722, 556, lab, text::Align::Right);
    cairo_move_to(cr, 548, 545.5);
    cairo_line_to(cr, 786, 545.5);
    paint::setColor(cr, pal::Trunk.lighter(0.4));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    // Little signpost behind the exit button (30,525).
    paint::roundedRect(cr, 20, 516, 110, 64, 12);
    paint::fillShaded(cr, rgb(222, 180, 120), rgb(180, 130, 80), 516, 580, 3);
    set.addOpaque("MOLE_BACKGROUND", c);
}

void sprites(PictureSet& set) {
    {
        Canvas c(252, 154);
        drawFrames(c, 126, 154, 2, 0, [](cairo_t* cr, int f) { moleInHole(cr, f == 0 ? 0.3 : 0.65, 0, false); });
        set.addKeyed("MOLE_APPEAR", c, 2);
    }
    {
        Canvas c(126, 154);
        moleInHole(c.cr(), 1.0, 0, true);
        set.addKeyed("MOLE_NORMAL", c);
    }
    {
        Canvas c(126, 154);
        moleInHole(c.cr(), 0.9, 1, false);
        set.addKeyed("MOLE_HIT", c);
    }
    {
        Canvas c(252, 154);
        drawFrames(c, 126, 154, 2, 0, [](cairo_t* cr, int f) { moleInHole(cr, f == 0 ? 0.6 : 0.25, 2, false); });
        set.addKeyed("MOLE_HIDE", c, 2);
    }
    {
        Canvas c(36, 48);
        critters::radish(c.cr(), 18, 47, 1.0);
        set.addKeyed("MOLE_RADISH", c);
    }
}

}  // namespace

void addMolePictures(PictureSet& set) {
    background(set);
    sprites(set);
}

}  // namespace assetgen
