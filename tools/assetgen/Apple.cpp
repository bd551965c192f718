// Apple game: the orchard, the falling apple with its letter, the small
// apple in the basket, the fallen apple, the basket and the control buttons.
#include "Critters.h"
#include "Paint.h"
#include "Random.h"
#include "SmallButtons.h"
#include "Themes.h"

#include <cmath>

namespace assetgen {

namespace {

void background(PictureSet& set) {
    Canvas c(800, 600);
    cairo_t* cr = c.cr();
    paint::gradientRect(cr, 0, 0, 800, 600, pal::SkyTop, pal::SkyBottom);
    Random rng(55);
    for (int i = 0; i < 4; ++i) paint::cloud(cr, rng.range(100, 700), rng.range(90, 200), rng.range(1.0, 1.5));
    // Rolling hills and the meadow where apples land.
    cairo_move_to(cr, 0, 430);
    cairo_curve_to(cr, 200, 360, 420, 420, 560, 380);
    cairo_curve_to(cr, 680, 350, 760, 380, 800, 370);
    cairo_line_to(cr, 800, 600);
    cairo_line_to(cr, 0, 600);
    cairo_close_path(cr);
    paint::fillShaded(cr, rgb(150, 214, 110), rgb(110, 180, 84), 360, 600, 2.5, rgb(80, 140, 70));
    cairo_rectangle(cr, 0, 470, 800, 130);
    paint::fillShaded(cr, pal::Grass, pal::GrassDark, 470, 600, 0);
    cairo_move_to(cr, 0, 470);
    cairo_line_to(cr, 800, 470);
    paint::setColor(cr, pal::GrassDark.darker(0.1));
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    for (int i = 0; i < 400; ++i) {
        const double x = rng.range(0, 800), y = rng.range(478, 600);
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + 1.5, y - 5);
    }
    paint::setColor(cr, pal::GrassLight);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    for (int i = 0; i < 14; ++i)
        paint::flower(cr, rng.range(260, 600), rng.range(490, 590), 3, i % 2 ? pal::Pink : pal::White);
    // Two big apple trees frame the orchard; their crowns make the top edge.
    for (double tx : {-30.0, 830.0}) {
        cairo_rectangle(cr, tx - 22, 120, 44, 360);
        paint::fillShaded(cr, pal::Trunk.lighter(0.2), pal::Trunk.darker(0.2), 120, 480, 3);
    }
    for (int i = 0; i < 34; ++i) {
        const double x = i * 25 - 10 + rng.range(-8, 8), y = rng.range(-15, 25) + (i % 2) * 12;
        paint::ellipse(cr, x, y, 42, 36);
        paint::setColor(cr, pal::Ink);
        cairo_set_line_width(cr, 3);
        cairo_stroke(cr);
    }
    for (int i = 0; i < 34; ++i) {
        const double x = i * 25 - 10 + rng.range(-8, 8), y = rng.range(-15, 25) + (i % 2) * 12;
        paint::fillBall(cr, x, y, 40, pal::Leaf, 0);
    }
    for (double tx : {-30.0, 830.0})
        for (int i = 0; i < 6; ++i)
            paint::fillBall(cr, tx + rng.range(-60, 60), rng.range(80, 260), 45, pal::Leaf, 2.5);
    for (int i = 0; i < 22; ++i) {
        const double x = rng.range(0, 800);
        const double y = (x < 90 || x > 710) ? rng.range(60, 260) : rng.range(5, 45);
        critters::apple(cr, x, y, 9);
    }
    // Board behind the control buttons (x 15..241, y 482..590).
    paint::roundedRect(cr, 6, 474, 246, 122, 16);
    paint::fillShaded(cr, rgb(222, 180, 120), rgb(180, 130, 80), 474, 596, 3);
    for (double y = 500; y < 596; y += 26) {
        cairo_move_to(cr, 10, y);
        cairo_line_to(cr, 248, y);
    }
    paint::setColor(cr, rgb(160, 110, 66));
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    // Straw under the basket at (610,460).
    paint::ellipse(cr, 700, 578, 110, 18);
    paint::fillOutlined(cr, pal::Sand, 2);
    set.addOpaque("APPLE_BACKGROUND", c);
}

void sprites(PictureSet& set) {
    {
        // The apple is the rectangle (0,0)-(63,71); a white letter sits at (20,15).
        Canvas c(63, 71);
        critters::apple(c.cr(), 31.5, 40, 28);
        set.addKeyed("APPLE_NORMAL", c);
    }
    {
        Canvas c(26, 26);
        critters::apple(c.cr(), 13, 14.5, 10);
        set.addKeyed("APPLE_SMALL", c);
    }
    {
        // Fallen apple, drawn at X-37: a squashed apple with a splash, centred
        // under where it fell.
        Canvas c(137, 71);
        cairo_t* cr = c.cr();
        paint::ellipse(cr, 68, 60, 60, 9);
        paint::fillOutlined(cr, rgb(250, 230, 150), 2);
        for (int k = 0; k < 7; ++k) {
            const double a = M_PI + k * M_PI / 6;
            paint::ellipse(cr, 68 + std::cos(a) * 56, 52 + std::sin(a) * 14, 5, 4);
            paint::fillOutlined(cr, rgb(250, 220, 140), 1.5);
        }
        cairo_save(cr);
        cairo_translate(cr, 68, 52);
        cairo_scale(cr, 1.35, 0.7);
        critters::apple(cr, 0, 0, 24, rgb(200, 60, 50));
        cairo_restore(cr);
        paint::ellipse(cr, 78, 50, 7, 4);
        paint::fillOutlined(cr, rgb(150, 90, 50), 1.2);
        set.addKeyed("APPLE_BAD", c);
    }
    {
        // Basket at (610,460); small apples show above its rim.
        Canvas c(180, 120);
        cairo_t* cr = c.cr();
        cairo_move_to(cr, 4, 44);
        cairo_line_to(cr, 176, 44);
        cairo_line_to(cr, 156, 116);
        cairo_line_to(cr, 24, 116);
        cairo_close_path(cr);
        paint::fillShaded(cr, rgb(230, 180, 100), rgb(170, 110, 50), 44, 116, 3);
        cairo_save(cr);
        cairo_move_to(cr, 4, 44);
        cairo_line_to(cr, 176, 44);
        cairo_line_to(cr, 156, 116);
        cairo_line_to(cr, 24, 116);
        cairo_close_path(cr);
        cairo_clip(cr);
        for (double y = 56; y < 116; y += 12) {
            for (double x = -10; x < 190; x += 16) {
                paint::ellipse(cr, x + (static_cast<int>(y) / 12 % 2) * 8, y, 8, 5);
                paint::setColor(cr, rgb(150, 96, 44));
                cairo_set_line_width(cr, 1.5);
                cairo_stroke(cr);
            }
        }
        cairo_restore(cr);
        paint::roundedRect(cr, 0, 36, 180, 16, 8);
        paint::fillShaded(cr, rgb(240, 196, 120), rgb(190, 130, 60), 36, 52, 2.5);
        // Handle.
        cairo_move_to(cr, 30, 40);
        cairo_curve_to(cr, 40, -4, 140, -4, 150, 40);
        paint::setColor(cr, pal::Ink);
        cairo_set_line_width(cr, 8);
        cairo_stroke_preserve(cr);
        paint::setColor(cr, rgb(210, 160, 90));
        cairo_set_line_width(cr, 4.5);
        cairo_stroke(cr);
        set.addKeyed("APPLE_BASKET", c);
    }
}

}  // namespace

void addApplePictures(PictureSet& set) {
    background(set);
    sprites(set);
    addGameButtons(set, "PUBLIC_START", "PUBLIC_END", "PUBLIC_PAUSE", "PUBLIC_SETUP", "PUBLIC_EXIT", pal::Blue);
}

}  // namespace assetgen
