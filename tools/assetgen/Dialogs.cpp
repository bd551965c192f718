// The round-end / question dialogs, the settings dialogs and their buttons.
#include "Buttons.h"
#include "Critters.h"
#include "Figure.h"
#include "Paint.h"
#include "Text.h"
#include "Themes.h"

#include <functional>

namespace assetgen {

namespace {

struct Theme {
    const char* prefix;
    Rgb rim;
    Rgb face;
    std::function<void(cairo_t*, double cx, double cy, double size)> mascot;
};

const Theme& theme(int i) {
    static const Theme themes[] = {
        {"MAIN", pal::PoliceBlue, pal::Cream,
         [](cairo_t* cr, double cx, double cy, double s) {
             FigurePose p;
             p.wave = 1;
             drawFigure(cr, Role::Police, cx - 4, cy + s * 0.5, s / 85.0, p);
         }},
        {"APPLE", rgb(220, 70, 60), rgb(255, 246, 226),
         [](cairo_t* cr, double cx, double cy, double s) { critters::apple(cr, cx, cy + s * 0.08, s * 0.36); }},
        {"FROG", rgb(60, 160, 90), rgb(236, 250, 222),
         [](cairo_t* cr, double cx, double cy, double s) { critters::frog(cr, cx, cy + s * 0.3, s / 62.0, true, 0); }},
        {"MOLE", rgb(150, 100, 60), rgb(252, 240, 214),
         [](cairo_t* cr, double cx, double cy, double s) { critters::mole(cr, cx, cy + s * 0.5, s / 115.0, 0); }},
    };
    return themes[i];
}

void frame(cairo_t* cr, double w, double h, const Theme& t) {
    // Opaque: the rim fills the corners.
    cairo_rectangle(cr, 0, 0, w, h);
    paint::fillShaded(cr, t.rim.lighter(0.2), t.rim.darker(0.2), 0, h, 0);
    paint::roundedRect(cr, 1.5, 1.5, w - 3, h - 3, 8);
    paint::setColor(cr, pal::Ink);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    // A narrow rim: the settings dialog's last button reaches x 448 and keeps clear of it.
    paint::roundedRect(cr, 6, 6, w - 12, h - 12, 10);
    paint::fillShaded(cr, t.face.lighter(0.3), t.face, 6, h - 6, 2.5, t.rim.darker(0.4));
    // Dotted stitching along the inner edge.
    paint::roundedRect(cr, 11, 11, w - 22, h - 22, 7);
    const double dash[] = {4, 4};
    cairo_set_dash(cr, dash, 2, 0);
    paint::setColor(cr, t.rim.lighter(0.3), 0.7);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
}

void dialogBackground(PictureSet& set, const Theme& t) {
    // Text at (100,65); buttons at (34,130), (124,130), (214,130), 80x36 each.
    Canvas c(320, 180);
    cairo_t* cr = c.cr();
    frame(cr, 320, 180, t);
    paint::ellipse(cr, 56, 72, 38, 38);
    paint::setColor(cr, t.rim.lighter(0.7));
    cairo_fill(cr);
    t.mascot(cr, 56, 72, 80);
    // The question at (100,65) stands on the clean face: no line under it.
    // Button shelf.
    paint::roundedRect(cr, 24, 124, 280, 46, 10);
    paint::setColor(cr, t.rim.lighter(0.75));
    cairo_fill(cr);
    set.addOpaque(std::string(t.prefix) + "_DLG_BG", c);
}

void setupBackground(PictureSet& set, const Theme& t) {
    // Labels from x 120, sliders x 220..400, values at x 410, rows 70..215;
    // buttons at (185,266), (276,266), (368,266).
    Canvas c(455, 310);
    cairo_t* cr = c.cr();
    frame(cr, 455, 310, t);
    // Title ribbon.
    paint::roundedRect(cr, 130, 14, 200, 36, 12);
    paint::fillShaded(cr, t.rim.lighter(0.2), t.rim, 14, 50, 2.5);
    text::Style st{text::Cjk, 22, true, pal::White, t.rim.darker(0.5), 2.5};
    st.letterSpacing = 4;
    text::draw(cr, "游戏设置", 230, 32, st);
    // Content panel: one clean field with no lines, since each game places its labels, sliders,
    // check box and description rows differently (y 70 to 225).
    paint::roundedRect(cr, 108, 58, 336, 190, 10);
    paint::fillShaded(cr, pal::White, t.face.lighter(0.4), 58, 248, 2, t.rim.lighter(0.2));
    // Mascot column.
    paint::ellipse(cr, 58, 150, 44, 44);
    paint::setColor(cr, t.rim.lighter(0.7));
    cairo_fill(cr);
    t.mascot(cr, 58, 150, 92);
    // Button shelf, out to the rim.
    paint::roundedRect(cr, 176, 258, 449 - 176, 46, 10);
    paint::setColor(cr, t.rim.lighter(0.75));
    cairo_fill(cr);
    set.addOpaque(std::string(t.prefix) + "_SETUP", c);
}

void nameBackground(PictureSet& set, const Theme& t) {
    // The game writes the title on the ribbon (y 20), the prompt at (28,62), draws the edit field
    // (28,88)-(312,116) and the buttons at (70,136) and (190,136), 80x36 each.
    Canvas c(340, 190);
    cairo_t* cr = c.cr();
    frame(cr, 340, 190, t);
    paint::roundedRect(cr, 70, 12, 200, 32, 12);
    paint::fillShaded(cr, t.rim.lighter(0.2), t.rim, 12, 44, 2.5);
    // A sunken well behind the edit field.
    paint::roundedRect(cr, 22, 82, 296, 40, 8);
    paint::setColor(cr, t.rim.lighter(0.6));
    cairo_fill(cr);
    paint::roundedRect(cr, 60, 130, 220, 48, 10);
    paint::setColor(cr, t.rim.lighter(0.75));
    cairo_fill(cr);
    set.addOpaque("NAME_DLG_BG", c);
}

void dialogButton(PictureSet& set, const std::string& name, const char* label, const Rgb& face) {
    ButtonLook look;
    look.face = face;
    look.radius = 12;
    set.addKeyed(name, buttonStrip(80, 36, 3, label, look), 3);
}

}  // namespace

void addDialogPictures(PictureSet& set) {
    for (int i = 0; i < 4; ++i) dialogBackground(set, theme(i));
    for (int i = 1; i < 4; ++i) setupBackground(set, theme(i));
    nameBackground(set, theme(0));

    const Rgb blue = pal::Blue, green = rgb(60, 170, 90), red = pal::Red, orange = pal::Orange;
    dialogButton(set, "MAIN_DLG_EXIT", "退出", red);
    dialogButton(set, "MAIN_DLG_REPLAY", "返回", blue);
    dialogButton(set, "MOLE_DLG_NEXT", "下一关", green);
    dialogButton(set, "APPLE_DLG_NEXT", "下一关", green);
    dialogButton(set, "FROG_DLG_NEXT", "下一关", green);
    for (const char* g : {"APPLE", "FROG", "MOLE"}) {
        dialogButton(set, std::string(g) + "_DLG_REPLAY", "重玩", orange);
        dialogButton(set, std::string(g) + "_DLG_END", "结束", red);
    }
    dialogButton(set, "YES", "是", green);
    dialogButton(set, "NO", "否", red);
    dialogButton(set, "DEFAULT", "默认", orange);
    dialogButton(set, "OK", "确定", green);
    dialogButton(set, "CANCEL", "取消", blue);
}

}  // namespace assetgen
