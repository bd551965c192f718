// Space shooter: menu and high-score screens, the scrolling background layer,
// stars, the ship, two enemy kinds, the explosion, missile, badges and the
// status-bar pictures.
#include "Buttons.h"
#include "Paint.h"
#include "Random.h"
#include "Scenery.h"
#include "Spacecraft.h"
#include "Text.h"
#include "Themes.h"

#include <cmath>

namespace assetgen {

namespace {

void starfield(cairo_t* cr, double w, double h, unsigned seed) {
    cairo_pattern_t* p = cairo_pattern_create_radial(w * 0.7, h * 0.3, 10, w * 0.5, h * 0.5, w * 0.8);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.25, 0.14, 0.45);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.05, 0.04, 0.16);
    cairo_rectangle(cr, 0, 0, w, h);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    Random rng(seed);
    for (int i = 0; i < 8; ++i) {
        paint::ellipse(cr, rng.range(0, w), rng.range(0, h), rng.range(80, 200), rng.range(40, 90));
        paint::setColor(cr, i % 2 ? pal::Magenta : pal::Cyan, 0.07);
        cairo_fill(cr);
    }
    for (int i = 0; i < 260; ++i) {
        const double x = rng.range(0, w), y = rng.range(0, h), r = rng.range(0.5, 1.6);
        paint::ellipse(cr, x, y, r, r);
        paint::setColor(cr, pal::White, rng.range(0.4, 1));
        cairo_fill(cr);
    }
    for (int i = 0; i < 12; ++i) paint::sparkle(cr, rng.range(0, w), rng.range(0, h), rng.range(4, 8), pal::White);
}

void menuBackground(PictureSet& set) {
    Canvas c(800, 600);
    cairo_t* cr = c.cr();
    starfield(cr, 800, 600, 5);
    spacecraft::planet(cr, 700, 250, 50);
    spacecraft::planet(cr, 110, 480, 26);
    spacecraft::ship(cr, 130, 300, 2.2, 0, 11);
    spacecraft::saucer(cr, 680, 330, 1.6, 2, 11);
    spacecraft::bug(cr, 620, 470, 1.4, 1, 12);
    scenery::logo(cr, 400, 120, "太空大战", 72, pal::Cyan.lighter(0.3), pal::BlueDark);
    text::Style sub{text::Latin, 18, true, pal::Yellow, pal::SpaceDeep, 2};
    sub.letterSpacing = 4;
    text::draw(cr, "TYPE THE LETTERS  -  SAVE THE GALAXY", 400, 180, sub);
    // Console frame behind the buttons (x 257, y 287..464).
    paint::roundedRect(cr, 236, 266, 328, 214, 18);
    paint::fillShaded(cr, rgb(70, 80, 120), rgb(30, 34, 70), 266, 480, 3, pal::Cyan.darker(0.3));
    paint::roundedRect(cr, 246, 276, 308, 194, 12);
    paint::setColor(cr, pal::SpaceDeep, 0.7);
    cairo_fill(cr);
    set.addOpaque("SPACE_MAINMENU_BG", c);
}

void hiscoreBackground(PictureSet& set) {
    Canvas c(800, 600);
    cairo_t* cr = c.cr();
    starfield(cr, 800, 600, 9);
    spacecraft::planet(cr, 700, 90, 40);
    scenery::logo(cr, 400, 70, "英雄榜", 64, pal::Yellow, pal::RedDark);
    // Table: entries at (250, 165 + 35 i), i = 0..8, in green: the table shows its best nine.
    paint::roundedRect(cr, 180, 140, 440, 337, 16);
    paint::fillShaded(cr, rgb(40, 46, 90), rgb(18, 20, 50), 140, 477, 3, pal::Cyan.darker(0.2));
    text::Style rank{text::Latin, 18, true, pal::Yellow, pal::SpaceDeep, 1.5};
    for (int i = 0; i < 9; ++i) {
        const double y = 165 + 35 * i + 10;
        if (i % 2 == 0) {
            cairo_rectangle(cr, 190, y - 14, 420, 30);
            paint::setColor(cr, pal::White, 0.05);
            cairo_fill(cr);
        }
        if (i < 3) {
            const Rgb medal[] = {pal::Gold, pal::GreyLight, rgb(210, 140, 80)};
            paint::fillBall(cr, 222, y, 11, medal[i], 1.8);
        }
        text::draw(cr, std::to_string(i + 1), 222, y, rank);
    }
    spacecraft::ship(cr, 110, 420, 1.6, 3, 11);
    set.addOpaque("SPACE_HISCORE_BG", c);
}

void backgroundLayer(PictureSet& set) {
    // Keyed over the black playfield, scrolling down: a planet, rocks and gas.
    Canvas c(493, 318);
    cairo_t* cr = c.cr();
    Random rng(17);
    // Star dust: clusters of small bright dots (the layer is keyed, so no haze).
    for (int cl = 0; cl < 5; ++cl) {
        const double cx = rng.range(40, 450), cy = rng.range(40, 280);
        const Rgb tint = cl % 2 ? pal::Magenta.lighter(0.4) : pal::Cyan.lighter(0.3);
        for (int i = 0; i < 40; ++i) {
            const double a = rng.range(0, 2 * M_PI), d = std::fabs(rng.range(-1, 1) * rng.range(0, 1)) * 60;
            paint::ellipse(cr, cx + std::cos(a) * d * 1.6, cy + std::sin(a) * d * 0.7, 1.1, 1.1);
            paint::setColor(cr, tint);
            cairo_fill(cr);
        }
    }
    spacecraft::planet(cr, 330, 150, 46);
    for (int i = 0; i < 9; ++i) {
        const double x = rng.range(30, 460), y = rng.range(30, 290), r = rng.range(6, 15);
        if (std::hypot(x - 330, y - 150) < 90) continue;
        cairo_move_to(cr, x + r, y);
        for (int k = 1; k < 9; ++k) {
            const double a = k * 2 * M_PI / 9, rr = r * rng.range(0.75, 1.1);
            cairo_line_to(cr, x + rr * std::cos(a), y + rr * std::sin(a));
        }
        cairo_close_path(cr);
        paint::fillShaded(cr, rgb(170, 150, 140), rgb(100, 86, 90), y - r, y + r, 1.8);
        paint::ellipse(cr, x + r * 0.2, y + r * 0.1, r * 0.25, r * 0.2);
        paint::setColor(cr, rgb(90, 76, 80));
        cairo_fill(cr);
    }
    set.addKeyed("SPACE_BACKGROUND", c);
}

void stars(PictureSet& set) {
    Canvas c(5, 1);
    cairo_t* cr = c.cr();
    const Rgb shades[] = {rgb(0, 0, 0), rgb(90, 96, 130), rgb(150, 156, 190), rgb(205, 210, 235), rgb(255, 255, 255)};
    for (int i = 0; i < 5; ++i) {
        cairo_rectangle(cr, i, 0, 1, 1);
        paint::setColor(cr, shades[i]);
        cairo_fill(cr);
    }
    set.addOpaque("SPACE_STARS", c);
}

void sprites(PictureSet& set) {
    {
        Canvas c(stripWidth(70, 11, 3), stripHeight(59, 11, 3));
        drawFrames(c, 70, 59, 11, 3, [](cairo_t* cr, int f) { spacecraft::ship(cr, 35, 27, 1.0, f, 11); });
        set.addKeyed("SPACE_SHIP", c, 11, 3);
    }
    {
        Canvas c(stripWidth(65, 11, 3), stripHeight(55, 11, 3));
        drawFrames(c, 65, 55, 11, 3, [](cairo_t* cr, int f) { spacecraft::saucer(cr, 32.5, 29, 1.0, f, 11); });
        set.addKeyed("SPACE_ENEMY_0", c, 11, 3);
    }
    {
        Canvas c(stripWidth(75, 12, 3), stripHeight(65, 12, 3));
        drawFrames(c, 75, 65, 12, 3, [](cairo_t* cr, int f) { spacecraft::bug(cr, 37.5, 35, 1.0, f, 12); });
        set.addKeyed("SPACE_ENEMY_4", c, 12, 3);
    }
    {
        Canvas c(stripWidth(197, 9, 3), stripHeight(186, 9, 3));
        drawFrames(c, 197, 186, 9, 3, [](cairo_t* cr, int f) { spacecraft::explosion(cr, 98.5, 93, 80, f / 9.0); });
        set.addKeyed("SPACE_EXPLOSION_0", c, 9, 3);
    }
    {
        Canvas c(9, 20);
        cairo_t* cr = c.cr();
        cairo_move_to(cr, 4.5, 0.8);
        cairo_curve_to(cr, 8, 4, 8, 10, 7.5, 13);
        cairo_line_to(cr, 1.5, 13);
        cairo_curve_to(cr, 1, 10, 1, 4, 4.5, 0.8);
        cairo_close_path(cr);
        paint::fillShaded(cr, pal::White, pal::GreyLight, 0, 13, 1.2);
        cairo_move_to(cr, 2, 13);
        cairo_line_to(cr, 4.5, 19.5);
        cairo_line_to(cr, 7, 13);
        cairo_close_path(cr);
        paint::fillOutlined(cr, pal::Orange, 1.0, pal::RedDark);
        cairo_rectangle(cr, 2, 7, 5, 2);
        paint::setColor(cr, pal::Red);
        cairo_fill(cr);
        set.addKeyed("SPACE_BOMB", c);
    }
    {
        // Letter badge; the letter is drawn on it in green.
        Canvas c(27, 21);
        cairo_t* cr = c.cr();
        paint::roundedRect(cr, 1, 1, 25, 19, 6);
        paint::fillShaded(cr, rgb(40, 50, 90), rgb(20, 26, 56), 1, 20, 1.6, pal::Cyan);
        set.addKeyed("SPACE_CAPTION_BACK", c);
    }
}

void statusBar(PictureSet& set) {
    const struct {
        const char* name;
        const char* label;
        int w;
    } labels[] = {
        {"SPACE_LABEL_SCORE", "得分", 48}, {"SPACE_LABEL_LIFE", "生命值", 62}, {"SPACE_LABEL_TIME", "时间", 52}};
    for (const auto& l : labels) {
        Canvas c(l.w, 20);
        text::Style st{text::Cjk, 16, true, pal::Yellow, pal::RedDark, 2};
        st.px = text::fitSize(c.cr(), l.label, st, l.w - 6);
        text::draw(c.cr(), l.label, l.w / 2.0, 10, st);
        set.addKeyed(l.name, c);
    }
    // Energy frame at (300,20); the fill goes into (304,23)-(304+energy,39).
    Canvas frame(181, 23);
    cairo_t* cr = frame.cr();
    cairo_rectangle(cr, 0, 0, 181, 23);
    paint::setColor(cr, pal::SpaceDeep);
    cairo_fill(cr);
    paint::roundedRect(cr, 0.5, 0.5, 180, 22, 6);
    paint::fillShaded(cr, pal::GreyLight, pal::GreyDark, 0, 23, 1.2);
    cairo_rectangle(cr, 4, 3, 173, 16);
    paint::setColor(cr, rgb(30, 24, 40));
    cairo_fill(cr);
    for (int x = 4 + 173 / 4; x < 177; x += 173 / 4) {
        cairo_rectangle(cr, x, 3, 1, 16);
        paint::setColor(cr, rgb(70, 64, 90));
        cairo_fill(cr);
    }
    set.addOpaque("SPACE_LIFE", frame);
    Canvas fill(8, 16);
    cr = fill.cr();
    cairo_rectangle(cr, 0, 0, 8, 16);
    paint::fillShaded(cr, rgb(150, 255, 140), rgb(30, 160, 60), 0, 16, 0);
    cairo_rectangle(cr, 0, 2, 8, 3);
    paint::setColor(cr, pal::White, 0.5);
    cairo_fill(cr);
    set.addOpaque("SPACE_LIFE_OVER", fill);
}

void buttons(PictureSet& set) {
    ButtonLook look;
    look.radius = 21;
    look.face = rgb(70, 110, 220);
    const struct {
        const char* name;
        const char* label;
        Rgb face;
    } list[] = {{"SPACE_START", "开始游戏", rgb(60, 170, 90)},
                {"SPACE_RETURN", "返回游戏", rgb(70, 110, 220)},
                {"SPACE_HISCORE", "英雄榜", pal::Orange},
                {"SPACE_OPTION", "选项", pal::Purple},
                {"SPACE_EXIT", "退出", pal::Red}};
    for (const auto& b : list) {
        look.face = b.face;
        set.addKeyed(b.name, buttonStrip(286, 42, 3, b.label, look), 3);
    }
}

}  // namespace

void addSpacePictures(PictureSet& set) {
    menuBackground(set);
    hiscoreBackground(set);
    buttons(set);
    backgroundLayer(set);
    stars(set);
    sprites(set);
    statusBar(set);
}

}  // namespace assetgen
