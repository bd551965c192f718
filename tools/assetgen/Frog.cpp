// Frog game: the river with both banks, the drifting leaf, the frog from
// behind and from the front, and the control buttons.
#include "Critters.h"
#include "Paint.h"
#include "Random.h"
#include "SmallButtons.h"
#include "Themes.h"

#include <cmath>

namespace assetgen {

namespace {

void reeds(cairo_t* cr, double x, double baseY, Random& rng) {
    for (int k = 0; k < 5; ++k) {
        const double dx = x + k * 6 + rng.range(-2, 2), h = rng.range(30, 55);
        cairo_move_to(cr, dx, baseY);
        cairo_curve_to(cr, dx + 2, baseY - h * 0.5, dx - 3, baseY - h * 0.8, dx + rng.range(-4, 4), baseY - h);
        paint::setColor(cr, pal::Ink);
        cairo_set_line_width(cr, 4.5);
        cairo_stroke_preserve(cr);
        paint::setColor(cr, pal::LeafLight);
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
        if (k % 2 == 0) {
            paint::roundedRect(cr, dx - 3, baseY - h * 0.85, 6, 14, 3);
            paint::fillOutlined(cr, pal::Trunk, 1.4);
        }
    }
}

void background(PictureSet& set) {
    Canvas c(800, 600);
    cairo_t* cr = c.cr();
    Random rng(88);
    // River between the banks (leaf rows at y 210, 295, 380; leaves 59 high).
    paint::gradientRect(cr, 0, 150, 800, 320, pal::WaterLight, pal::Water);
    for (int i = 0; i < 40; ++i) {
        const double x = rng.range(0, 800), y = rng.range(170, 455);
        cairo_move_to(cr, x, y);
        cairo_curve_to(cr, x + 10, y - 3, x + 20, y + 3, x + 30, y);
        paint::setColor(cr, pal::White, 0.5);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
    }
    // Far bank with grass, reeds and the sign for its word (425..573, 90..149).
    cairo_move_to(cr, 0, 0);
    cairo_line_to(cr, 800, 0);
    cairo_line_to(cr, 800, 160);
    for (double x = 800; x >= 0; x -= 40) cairo_line_to(cr, x, 160 + 6 * std::sin(x / 37.0));
    cairo_close_path(cr);
    paint::fillShaded(cr, pal::GrassLight, pal::Grass, 0, 166, 2.5);
    cairo_rectangle(cr, 0, 0, 800, 56);
    paint::fillShaded(cr, pal::SkyTop, pal::SkyBottom, 0, 56, 0);
    for (int i = 0; i < 3; ++i) paint::cloud(cr, rng.range(50, 750), rng.range(10, 30), 0.8);
    cairo_move_to(cr, 0, 56);
    for (double x = 0; x <= 800; x += 50) cairo_line_to(cr, x, 56 - 12 * std::fabs(std::sin(x / 90.0)));
    cairo_line_to(cr, 800, 64);
    cairo_line_to(cr, 0, 64);
    cairo_close_path(cr);
    paint::fillOutlined(cr, rgb(110, 190, 100), 2);
    cairo_rectangle(cr, 0, 56, 800, 8);
    paint::setColor(cr, pal::GrassLight);
    cairo_fill(cr);
    // Signboard on posts: the far bank's word goes here.
    for (double px : {440.0, 558.0}) {
        cairo_rectangle(cr, px - 4, 120, 8, 40);
        paint::fillOutlined(cr, pal::Trunk, 2);
    }
    paint::roundedRect(cr, 425, 90, 148, 50, 10);
    paint::fillShaded(cr, rgb(250, 236, 200), rgb(230, 200, 150), 90, 140, 3, pal::Trunk.darker(0.2));
    // Spots for the frogs already across at (i*80-70, 100).
    for (int i = 1; i <= 4; ++i) {
        paint::ellipse(cr, i * 80 - 35, 146, 34, 8);
        paint::setColor(cr, pal::GrassDark, 0.5);
        cairo_fill(cr);
    }
    reeds(cr, 360, 160, rng);
    reeds(cr, 620, 158, rng);
    reeds(cr, 740, 162, rng);
    // Near bank: the frog starts at (425,430); crossings to do wait at
    // (750-i*80, 500); the buttons stand on the left.
    cairo_move_to(cr, 0, 600);
    cairo_line_to(cr, 0, 462);
    for (double x = 0; x <= 800; x += 40) cairo_line_to(cr, x, 462 + 5 * std::sin(x / 41.0));
    cairo_line_to(cr, 800, 600);
    cairo_close_path(cr);
    paint::fillShaded(cr, pal::Sand.lighter(0.1), pal::Sand.darker(0.1), 455, 490, 2.5);
    cairo_rectangle(cr, 0, 488, 800, 112);
    paint::fillShaded(cr, pal::Grass, pal::GrassDark, 488, 600, 0);
    cairo_move_to(cr, 0, 488);
    cairo_line_to(cr, 800, 488);
    paint::setColor(cr, pal::GrassDark.darker(0.1));
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    // Stepping stone under the frog's start.
    paint::ellipse(cr, 460, 478, 48, 12);
    paint::fillShaded(cr, pal::GreyLight, pal::Grey, 466, 490, 2.5);
    for (int i = 1; i <= 4; ++i) {
        paint::ellipse(cr, 785 - i * 80, 546, 32, 8);
        paint::setColor(cr, pal::GrassDark.darker(0.1), 0.5);
        cairo_fill(cr);
    }
    for (int i = 0; i < 10; ++i)
        paint::flower(cr, rng.range(260, 390), rng.range(500, 590), 3, i % 2 ? pal::Yellow : pal::White);
    reeds(cr, 8, 470, rng);
    reeds(cr, 770, 470, rng);
    // Board behind the buttons (x 10..238, y 479..590).
    paint::roundedRect(cr, 4, 472, 242, 124, 16);
    paint::fillShaded(cr, rgb(222, 180, 120), rgb(180, 130, 80), 472, 596, 3);
    set.addOpaque("FROG_BACKGROUND", c);
}

void sprites(PictureSet& set) {
    {
        // The leaf is (0,0)-(148,59); its word sits at (TextOffset, 25).
        Canvas c(148, 59);
        cairo_t* cr = c.cr();
        critters::lilyPad(cr, 2, 2, 144, 55);
        paint::ellipse(cr, 74, 34, 56, 15);
        paint::setColor(cr, rgb(214, 246, 176));
        cairo_fill(cr);
        set.addKeyed("FROG_LEAF", c);
    }
    const char* names[2][2] = {{"FROG_BACK_1", "FROG_BACK_2"}, {"FROG_FRONT_1", "FROG_FRONT_2"}};
    for (int front = 0; front < 2; ++front)
        for (int phase = 0; phase < 2; ++phase) {
            Canvas c(70, 50);
            critters::frog(c.cr(), 35, 48, 1.15, front == 1, phase);
            set.addKeyed(names[front][phase], c);
        }
}

}  // namespace

void addFrogPictures(PictureSet& set) {
    background(set);
    sprites(set);
    addGameButtons(set, "FROG_START", "FROG_END", "FROG_PAUSE", "FROG_SETTING", "FROG_EXIT", rgb(60, 160, 130));
}

}  // namespace assetgen
