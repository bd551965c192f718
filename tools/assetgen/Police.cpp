// Police game screens: main menu, setting screen, lobby, the four result
// pictures, the typing panel, progress markers, the latency bar and buttons.
#include "Buttons.h"
#include "Figure.h"
#include "Paint.h"
#include "Scenery.h"
#include "Text.h"
#include "Themes.h"
#include "Vehicles.h"

#include <cmath>

namespace assetgen {

namespace {

void chase(cairo_t* cr, double x, double y, double scale) {
    // Thief ahead, police behind, both running to the right.
    FigurePose thief;
    thief.stride = 0.9;
    thief.armSwing = -0.9;
    thief.lift = 0.6;
    thief.lean = 0.2;
    thief.look = -1;
    drawFigure(cr, Role::Thief, x + 150 * scale / 2.6, y, scale, thief);
    FigurePose police;
    police.stride = -0.85;
    police.armSwing = 0.9;
    police.lift = 0.5;
    police.lean = 0.2;
    drawFigure(cr, Role::Police, x - 40 * scale / 2.6, y + 8, scale, police);
}

void mainMenu(PictureSet& set) {
    Canvas c(800, 600);
    cairo_t* cr = c.cr();
    scenery::townBackdrop(cr, 800, 600, 470, 11);
    scenery::logo(cr, 400, 70, "警察抓小偷", 70, pal::Yellow, pal::RedDark);
    text::Style sub{text::Latin, 20, true, pal::White, pal::BlueDark, 2.5};
    sub.letterSpacing = 3;
    text::draw(cr, "POLICE & THIEF  TYPING RACE", 400, 128, sub);
    // The chase on the street.
    chase(cr, 190, 560, 2.6);
    // Speed lines behind the runners.
    for (int i = 0; i < 4; ++i) {
        cairo_move_to(cr, 20 + i * 8, 420 + i * 26);
        cairo_line_to(cr, 80 + i * 8, 420 + i * 26);
    }
    paint::setColor(cr, pal::White, 0.8);
    cairo_set_line_width(cr, 4);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
    // Sign board with posts behind the three buttons (x 437, y 336..502).
    for (double px : {445.0, 650.0}) {
        cairo_rectangle(cr, px - 6, 480, 12, 110);
        paint::fillShaded(cr, pal::Trunk.lighter(0.2), pal::Trunk.darker(0.2), 480, 590, 2.5);
    }
    scenery::board(cr, 420, 300, 254, 216, pal::Trunk);
    text::Style hint{text::Cjk, 16, true, pal::Amber, pal::Night, 0};
    text::draw(cr, "请选择游戏方式", 547, 318, hint);
    set.addOpaque("POLICE_MAINMENU_BG", c);
}

void settingScreen(PictureSet& set) {
    Canvas c(800, 600);
    cairo_t* cr = c.cr();
    scenery::townBackdrop(cr, 800, 600, 560, 23);
    // Veil over the backdrop so the panels stand out.
    cairo_rectangle(cr, 0, 0, 800, 600);
    paint::setColor(cr, pal::White, 0.25);
    cairo_fill(cr);
    // Role cards sit at (10,20) and (295,20); a tray frames them.
    paint::panel(cr, 4, 8, 564, 206, 16, pal::Cream, pal::Orange, 3);
    // Vehicle trays: police (x 30..250), thief (x 320..530), y 220..320.
    paint::panel(cr, 18, 213, 246, 122, 14, pal::WallBlue, pal::PoliceBlue, 3);
    paint::panel(cr, 308, 213, 236, 122, 14, pal::WallPink, pal::Purple, 3);
    text::Style lab{text::Cjk, 12, true, pal::White, pal::Ink, 1.6};
    text::draw(cr, "警察的交通工具", 141, 327, lab);
    text::draw(cr, "小偷的交通工具", 426, 327, lab);
    // Board for the hints (20,350), (20,380) and the network player block (450..).
    scenery::board(cr, 12, 352 - 8, 548, 180, pal::GreyDark);
    // Start and cancel stand at (210,545) and (315,545).
    paint::roundedRect(cr, 196, 538, 230, 54, 14);
    paint::fillShaded(cr, pal::Trunk.lighter(0.3), pal::Trunk, 538, 592, 3);
    // Text list: tab and board, rows 40 + 25*i from x 573 to 790.
    scenery::tab(cr, 600, 6, 164, 32, "选择比赛文章", pal::Orange);
    scenery::board(cr, 573, 40, 217, 526, pal::Orange.darker(0.1));
    for (int i = 1; i < 21; ++i) {
        cairo_move_to(cr, 580, 40 + 25 * i + 0.5);
        cairo_line_to(cr, 783, 40 + 25 * i + 0.5);
    }
    paint::setColor(cr, pal::NightLight.lighter(0.1), 0.6);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    set.addOpaque("POLICE_SETTING_BG", c);
}

void lobby(PictureSet& set) {
    Canvas c(800, 600);
    cairo_t* cr = c.cr();
    scenery::townBackdrop(cr, 800, 600, 560, 37);
    cairo_rectangle(cr, 0, 0, 800, 600);
    paint::setColor(cr, pal::White, 0.2);
    cairo_fill(cr);
    scenery::logo(cr, 480, 42, "局域网对战", 44, pal::Yellow, pal::BlueDark);
    // Button column: create (30,50), join (30,100), refresh (50,150), return (50,200), each
    // 110x40; the panel leaves clear space round all four.
    paint::panel(cr, 8, 36, 174, 222, 16, pal::WallBlue, pal::PoliceBlue, 3);
    // Session table: header, then rows at y 114 + 30*i.
    scenery::board(cr, 190, 104, 600, 470, pal::PoliceBlue);
    cairo_rectangle(cr, 190, 104, 600, 30);
    paint::setColor(cr, pal::PoliceBlue.darker(0.1));
    cairo_fill(cr);
    text::Style head{text::Cjk, 15, true, pal::White, pal::Ink, 0};
    text::draw(cr, "游戏名称", 200, 119, head, text::Align::Left);
    text::draw(cr, "延迟", 400, 119, head, text::Align::Left);
    text::draw(cr, "状态", 600, 119, head, text::Align::Left);
    for (int i = 1; i < 15; ++i) {
        cairo_move_to(cr, 196, 137 + 30 * i + 0.5);
        cairo_line_to(cr, 784, 137 + 30 * i + 0.5);
    }
    paint::setColor(cr, pal::NightLight.lighter(0.1), 0.6);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    // Radio mast on the left below the buttons.
    cairo_move_to(cr, 90, 300);
    cairo_line_to(cr, 70, 470);
    cairo_move_to(cr, 90, 300);
    cairo_line_to(cr, 110, 470);
    paint::setColor(cr, pal::RedDark);
    cairo_set_line_width(cr, 5);
    cairo_stroke(cr);
    for (int k = 1; k <= 3; ++k) {
        cairo_arc(cr, 90, 300, 18 * k, -M_PI * 0.8, -M_PI * 0.2);
        paint::setColor(cr, pal::Yellow);
        cairo_set_line_width(cr, 4);
        cairo_stroke(cr);
    }
    paint::fillBall(cr, 90, 300, 8, pal::Red);
    set.addOpaque("POLICE_SERVERLIST_BG", c);
}

void handcuffs(cairo_t* cr, double x, double y) {
    for (double dx : {-9.0, 9.0}) {
        paint::ellipse(cr, x + dx, y, 7, 7);
        paint::setColor(cr, pal::Ink);
        cairo_set_line_width(cr, 5);
        cairo_stroke_preserve(cr);
        paint::setColor(cr, pal::GreyLight);
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
    }
}

void stars(cairo_t* cr, double cx, double cy, double spread) {
    const double pts[][3] = {{-1, -0.4, 14}, {1, -0.5, 16}, {-0.8, 0.5, 10}, {0.9, 0.4, 11}, {0, -0.9, 9}};
    for (const auto& p : pts) {
        paint::star(cr, cx + p[0] * spread, cy + p[1] * spread * 0.6, p[2], p[2] * 0.45, 5);
        paint::fillOutlined(cr, pal::Yellow, 2);
    }
}

void result(PictureSet& set, const char* name, bool policeWon, bool localPolice) {
    Canvas c(800, 600);
    cairo_t* cr = c.cr();
    scenery::townBackdrop(cr, 800, 600, 500, policeWon ? 41 : 43);
    const bool happy = policeWon == localPolice;
    if (!happy) {
        // Dusk tint for a lost race.
        cairo_rectangle(cr, 0, 0, 800, 600);
        paint::setColor(cr, rgb(60, 50, 120), 0.35);
        cairo_fill(cr);
    }
    const char* title =
        policeWon ? (localPolice ? "抓住小偷啦！" : "被警察抓住了…") : (localPolice ? "小偷逃走了…" : "成功逃脱！");
    scenery::banner(cr, 400, 80, 420, title, happy ? pal::Red : pal::GreyDark, 46);
    if (happy) stars(cr, 400, 190, 300);
    if (policeWon) {
        // The officer holds the handcuffed thief.
        FigurePose p;
        p.wave = 1;
        drawFigure(cr, Role::Police, 300, 500, 3.0, p);
        FigurePose t;
        t.faceLeft = true;
        t.wave = 1;
        t.lean = -0.08;
        t.blink = 1;
        drawFigure(cr, Role::Thief, 500, 500, 3.0, t);
        handcuffs(cr, 470, 395);
    } else {
        // The thief runs off with the bag; the officer is left behind, panting.
        FigurePose t;
        t.stride = 0.9;
        t.armSwing = -0.9;
        t.lift = 0.6;
        t.lean = 0.22;
        t.look = -1;
        drawFigure(cr, Role::Thief, 560, 500, 3.0, t);
        FigurePose p;
        p.lean = 0.35;
        p.blink = 1;
        drawFigure(cr, Role::Police, 200, 505, 2.2, p);
        for (int i = 0; i < 3; ++i) {
            paint::ellipse(cr, 262 + i * 14, 330 - i * 12, 6 + i * 2, 5 + i * 2);
            paint::fillOutlined(cr, pal::White, 2);
        }
    }
    // Key hints along the bottom.
    paint::roundedRect(cr, 170, 548, 460, 40, 18);
    paint::fillOutlined(cr, pal::Night, 3, pal::Ink);
    text::Style hint{text::Cjk, 17, true, pal::Amber, pal::Night, 0};
    text::draw(cr, "按 Enter 键再来一局    按 Esc 键重新设置", 400, 568, hint);
    set.addOpaque(name, c);
}

void typingPanel(PictureSet& set) {
    // Drawn keyed at (23,510): text line at (60,525), cursor 520..550,
    // progress markers at y 560 from x 50 to 730.
    Canvas c(754, 85);
    cairo_t* cr = c.cr();
    paint::roundedRect(cr, 2, 2, 750, 81, 14);
    paint::fillShaded(cr, rgb(255, 236, 190), rgb(250, 210, 140), 2, 83, 3);
    // Text field.
    paint::roundedRect(cr, 30, 6, 716, 38, 8);
    paint::fillShaded(cr, rgb(236, 240, 250), pal::White, 6, 44, 2);
    // Keyboard key icon on the left.
    paint::roundedRect(cr, 7, 12, 19, 19, 4);
    paint::fillShaded(cr, pal::White, pal::GreyLight, 12, 31, 1.8);
    text::Style k{text::Latin, 12, true, pal::BlueDark, pal::White, 0};
    text::draw(cr, "A", 16.5, 20.5, k);
    // Progress track from the start flag to the finish flag.
    paint::roundedRect(cr, 30, 55, 714, 10, 5);
    paint::fillShaded(cr, pal::Asphalt.darker(0.1), pal::Asphalt, 55, 65, 1.8);
    for (double x = 44; x < 730; x += 24) {
        cairo_rectangle(cr, x, 59, 10, 2);
        paint::setColor(cr, pal::LaneYellow);
        cairo_fill(cr);
    }
    // Finish flag at the right end.
    cairo_rectangle(cr, 744, 46, 2.5, 32);
    paint::fillOutlined(cr, pal::GreyDark, 1);
    for (int r = 0; r < 3; ++r)
        for (int q = 0; q < 2; ++q) {
            cairo_rectangle(cr, 737 + q * 3.5, 47 + r * 3.5, 3.5, 3.5);
            paint::setColor(cr, (r + q) % 2 ? pal::White : pal::Ink.lighter(0.1));
            cairo_fill(cr);
        }
    set.addKeyed("POLICE_INPUT", c);
}

void marker(PictureSet& set, const char* name, const Rgb& colour, bool star) {
    Canvas c(20, 20);
    cairo_t* cr = c.cr();
    cairo_rectangle(cr, 0, 0, 20, 20);
    paint::setColor(cr, rgb(252, 222, 164));  // the typing panel's colour around the track
    cairo_fill(cr);
    paint::fillBall(cr, 10, 10, 8.8, colour, 1.6);
    if (star) {
        paint::star(cr, 10, 10.5, 5, 2.2, 5);
        paint::fillOutlined(cr, pal::White, 0.8);
    } else {
        paint::ellipse(cr, 10, 10, 3.2, 3.2);
        paint::fillOutlined(cr, pal::White, 0.8);
    }
    set.addOpaque(name, c);
}

void ping(PictureSet& set) {
    Canvas bg(100, 18);
    cairo_t* cr = bg.cr();
    cairo_rectangle(cr, 0, 0, 100, 18);
    paint::setColor(cr, pal::Night);
    cairo_fill(cr);
    paint::roundedRect(cr, 0.5, 0.5, 99, 17, 4);
    paint::fillShaded(cr, pal::GreyLight, pal::GreyDark, 0, 18, 1.2);
    cairo_rectangle(cr, 2, 2, 96, 14);
    paint::setColor(cr, rgb(30, 34, 52));
    cairo_fill(cr);
    set.addOpaque("POLICE_PING_BG", bg);

    Canvas bar(96, 14);
    cr = bar.cr();
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 96, 0);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.35, 0.85, 0.3);
    cairo_pattern_add_color_stop_rgb(p, 0.6, 0.95, 0.85, 0.2);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.95, 0.4, 0.25);
    cairo_rectangle(cr, 0, 0, 96, 14);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_rectangle(cr, 0, 1, 96, 4);
    paint::setColor(cr, pal::White, 0.35);
    cairo_fill(cr);
    for (int x = 8; x < 96; x += 8) {
        cairo_rectangle(cr, x, 0, 1, 14);
        paint::setColor(cr, pal::Ink.lighter(0.2), 0.5);
        cairo_fill(cr);
    }
    set.addKeyed("POLICE_PING", bar);
}

// A big choice card: portrait on the left, label on the right (or below on a small card).
// Frames: normal; hover lifted by 3 pixels with a bright glow; pressed darker and pushed down 3
// pixels; chosen (shown on the disabled button) with a golden rim and the check mark. Only the
// chosen frame carries the mark.
template <typename Portrait>
Canvas card(int w, int h, const char* label, const Rgb& face, Portrait portrait) {
    Canvas c(w * 4, h);
    drawFrames(c, w, h, 4, 0, [&](cairo_t* cr, int f) {
        const ButtonState st = static_cast<ButtonState>(f);
        const bool hover = st == ButtonState::Hover;
        const bool pressed = st == ButtonState::Pressed;
        const bool chosen = st == ButtonState::Disabled;
        Rgb bg = face;
        if (hover) bg = bg.lighter(0.28);
        if (pressed) bg = bg.darker(0.22);
        const double off = pressed ? 3 : hover ? -3 : 0;
        const double top = 6 + off, cardH = h - 15;
        if (hover) {
            // Glow around the lifted card, in solid colours (black would show through blends).
            paint::roundedRect(cr, 0, 0, w, h - 6, 17);
            paint::setColor(cr, rgb(255, 246, 170));
            cairo_fill(cr);
            paint::roundedRect(cr, 2, top - 3, w - 4, cardH + 8, 15);
            paint::setColor(cr, pal::Yellow);
            cairo_fill(cr);
        }
        if (chosen) {
            paint::roundedRect(cr, 1, 1, w - 2, h - 3, 16);
            paint::setColor(cr, pal::Gold);
            cairo_fill(cr);
        }
        // The card's side: deep under a lifted card, gone under a pushed one.
        paint::roundedRect(cr, 5, 10, w - 10, cardH, 13);
        paint::setColor(cr, bg.darker(0.5));
        cairo_fill(cr);
        paint::roundedRect(cr, 5, top, w - 10, cardH, 13);
        paint::fillShaded(cr, bg.lighter(pressed ? 0.1 : 0.35), bg, top, top + cardH, 2.5,
                          hover ? pal::Orange.darker(0.3) : pal::Ink);
        cairo_save(cr);
        paint::roundedRect(cr, 5, top, w - 10, cardH, 13);
        cairo_clip(cr);
        // Spotlight behind the portrait.
        paint::ellipse(cr, w * 0.3, h * 0.5 + off, w * 0.28, h * 0.42);
        paint::setColor(cr, pal::White, pressed ? 0.18 : 0.35);
        cairo_fill(cr);
        portrait(cr, off, false);
        if (pressed) {
            // Shadow along the top edge of a pushed card.
            cairo_rectangle(cr, 5, top, w - 10, 8);
            paint::setColor(cr, pal::Ink, 0.25);
            cairo_fill(cr);
        }
        cairo_restore(cr);
        text::Style st2{text::Cjk, h * 0.24, true, pal::White, bg.darker(0.6), 3};
        st2.px = std::min(st2.px, 46.0);
        st2.px = text::fitSize(cr, label, st2, w * (w > 150 ? 0.4 : 0.9));
        if (w > 150)
            text::draw(cr, label, w * 0.74, h * 0.45 + off, st2);
        else
            text::draw(cr, label, w / 2, h - 24 + off, st2);
        if (chosen) scenery::checkBadge(cr, w - 22, 22, w > 150 ? 15 : 11);
        if (hover) {
            paint::sparkle(cr, w - 18, 16 + off, w > 150 ? 8 : 6, pal::White);
            paint::sparkle(cr, 16, h - 24 + off, w > 150 ? 5 : 4, pal::White);
        }
    });
    return c;
}

void roleButtons(PictureSet& set) {
    set.addKeyed("POLICE_POLICE",
                 card(270, 190, "警察", rgb(110, 170, 245),
                      [](cairo_t* cr, double off, bool) {
                          FigurePose p;
                          p.wave = 1;
                          drawFigure(cr, Role::Police, 82, 168 + off, 1.85, p);
                      }),
                 4);
    set.addKeyed("POLICE_THIEF",
                 card(270, 190, "小偷", rgb(176, 140, 220),
                      [](cairo_t* cr, double off, bool) {
                          FigurePose p;
                          p.wave = 0.7;
                          p.look = 1;
                          drawFigure(cr, Role::Thief, 88, 170 + off, 1.75, p);
                      }),
                 4);
    set.addKeyed(
        "POLICE_CAR",
        card(100, 100, "汽车", rgb(120, 200, 240),
             [](cairo_t* cr, double off, bool) { drawCar(cr, Role::Police, 3, 50, 48 + off, 0, 8, 1.0, true); }),
        4);
    set.addKeyed(
        "POLICE_BIKE",
        card(100, 100, "摩托", rgb(250, 180, 90),
             [](cairo_t* cr, double off, bool) { drawMotorbike(cr, Role::Police, 3, 50, 56 + off, 0, 8, 1.0, true); }),
        4);
}

void buttons(PictureSet& set) {
    ButtonLook big;
    big.radius = 22;
    big.face = rgb(60, 170, 90);
    set.addKeyed("POLICE_MAINMENU_SINGLE", buttonStrip(220, 50, 3, "单人游戏", big), 3);
    big.face = pal::Orange;
    set.addKeyed("POLICE_MAINMENU_MULTI", buttonStrip(220, 50, 3, "多人游戏", big), 3);
    big.face = pal::Red;
    set.addKeyed("POLICE_MAINMENU_EXIT", buttonStrip(220, 50, 3, "退出游戏", big), 3);

    ButtonLook mid;
    mid.radius = 14;
    mid.face = pal::Blue;
    set.addKeyed("POLICE_CREATE", buttonStrip(110, 40, 3, "建立", mid), 3);
    mid.face = rgb(60, 170, 90);
    set.addKeyed("POLICE_JOIN", buttonStrip(110, 40, 3, "加入", mid), 3);
    mid.face = pal::Orange;
    set.addKeyed("POLICE_REFRESH", buttonStrip(110, 40, 3, "刷新", mid), 3);
    mid.face = pal::Purple;
    set.addKeyed("POLICE_RETURN", buttonStrip(110, 40, 3, "返回", mid), 3);

    ButtonLook small;
    small.radius = 14;
    small.face = rgb(60, 170, 90);
    set.addKeyed("POLICE_START", buttonStrip(95, 40, 3, "开始", small), 3);
    small.face = pal::Red;
    set.addKeyed("POLICE_CANCEL", buttonStrip(95, 40, 3, "取消", small), 3);
}

}  // namespace

void addPolicePictures(PictureSet& set) {
    mainMenu(set);
    settingScreen(set);
    lobby(set);
    result(set, "POLICE_WIN_0", true, true);
    result(set, "POLICE_WIN_1", false, false);
    result(set, "POLICE_LOST_0", false, true);
    result(set, "POLICE_LOST_1", true, false);
    typingPanel(set);
    marker(set, "POLICE_BLUE", pal::Blue, true);
    marker(set, "POLICE_YELLOW", pal::Yellow, false);
    ping(set);
    buttons(set);
    roleButtons(set);
}

}  // namespace assetgen
