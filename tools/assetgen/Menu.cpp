// Main menu: the six full-screen pictures (none and one splash per game),
// the five game buttons with their hit-test mask and the quit button.
#include "Buttons.h"
#include "Critters.h"
#include "Figure.h"
#include "Paint.h"
#include "Random.h"
#include "Scenery.h"
#include "Spacecraft.h"
#include "Text.h"
#include "Themes.h"
#include "Vehicles.h"

#include <cmath>
#include <functional>

namespace assetgen {

namespace {

// The buttons stand at x 62, y 250..498 on a board painted exactly in the
// buttons' "outside" colour, so their masked corners blend into it.
void menuFrame(cairo_t* cr, unsigned seed) {
    paint::gradientRect(cr, 0, 0, 800, 600, rgb(255, 226, 150), rgb(255, 180, 110));
    Random rng(seed);
    // Scattered letter tiles in the background.
    text::Style t{text::Latin, 22, true, pal::White, pal::White, 0};
    for (int i = 0; i < 40; ++i) {
        const double x = rng.range(0, 800), y = rng.range(0, 600);
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_rotate(cr, rng.range(-0.4, 0.4));
        paint::roundedRect(cr, -15, -15, 30, 30, 6);
        paint::setColor(cr, pal::White, 0.22);
        cairo_fill(cr);
        const char letter[2] = {static_cast<char>('A' + rng.below(26)), 0};
        t.fill = pal::Orange.darker(0.05);
        text::draw(cr, letter, 0, 0, t);
        cairo_restore(cr);
    }
    scenery::logo(cr, 190, 110, "打字游戏", 64, pal::Yellow, pal::RedDark);
    text::Style sub{text::Latin, 16, true, pal::White, pal::RedDark, 2};
    sub.letterSpacing = 3;
    text::draw(cr, "TYPING  GAMES", 190, 168, sub);
    // Chalkboard for the game buttons.
    paint::roundedRect(cr, 36, 214, 312, 310, 18);
    paint::fillShaded(cr, pal::Trunk.lighter(0.25), pal::Trunk.darker(0.1), 214, 524, 3);
    cairo_rectangle(cr, 48, 226, 288, 286);
    paint::setColor(cr, pal::Board);
    cairo_fill(cr);
    cairo_rectangle(cr, 48, 226, 288, 286);
    paint::setColor(cr, pal::Ink);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    // Picture frame for the splash on the right.
    paint::roundedRect(cr, 372, 36, 410, 480, 18);
    paint::fillShaded(cr, pal::White, pal::GreyLight, 36, 516, 3);
}

void splash(PictureSet& set, const char* name, const char* title, const char* line,
            const std::function<void(cairo_t*)>& picture, unsigned seed) {
    Canvas c(800, 600);
    cairo_t* cr = c.cr();
    menuFrame(cr, seed);
    cairo_save(cr);
    paint::roundedRect(cr, 384, 48, 386, 400, 12);
    cairo_clip(cr);
    picture(cr);
    cairo_restore(cr);
    paint::roundedRect(cr, 384, 48, 386, 400, 12);
    paint::setColor(cr, pal::Ink);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    text::Style ts{text::Cjk, 26, true, pal::RedDark, pal::White, 0};
    text::draw(cr, title, 577, 474, ts);
    text::Style ls{text::Cjk, 14, false, pal::InkSoft, pal::White, 0};
    text::draw(cr, line, 577, 500, ls);
    set.addOpaque(name, c);
}

void keyboardPicture(cairo_t* cr) {
    paint::gradientRect(cr, 384, 48, 386, 400, rgb(120, 190, 250), rgb(200, 235, 255));
    paint::cloud(cr, 420, 90, 1.3);
    paint::cloud(cr, 640, 120, 1.0);
    const char* rows[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
    paint::roundedRect(cr, 400, 240, 354, 170, 16);
    paint::fillShaded(cr, pal::GreyLight, pal::Grey, 240, 410, 3);
    text::Style k{text::Latin, 16, true, pal::BlueDark, pal::White, 0};
    for (int r = 0; r < 3; ++r)
        for (int i = 0; rows[r][i]; ++i) {
            const double x = 412 + r * 16 + i * 33, y = 256 + r * 38;
            const bool lit = (r * 7 + i) % 9 == 0;
            paint::roundedRect(cr, x, y, 30, 32, 5);
            paint::fillShaded(cr, lit ? pal::Yellow.lighter(0.4) : pal::White, lit ? pal::Yellow : pal::GreyLight, y,
                              y + 32, 1.8);
            const char s[2] = {rows[r][i], 0};
            text::draw(cr, s, x + 15, y + 15, k);
        }
    paint::roundedRect(cr, 500, 372, 160, 28, 5);
    paint::fillShaded(cr, pal::White, pal::GreyLight, 372, 400, 1.8);
    text::Style hi{text::Cjk, 30, true, pal::White, pal::BlueDark, 3};
    text::draw(cr, "选一个游戏吧！", 577, 180, hi);
}

void policePicture(cairo_t* cr) {
    scenery::townBackdrop(cr, 1100, 448, 380, 71);
    FigurePose t;
    t.stride = 0.9;
    t.armSwing = -0.9;
    t.lift = 0.6;
    t.lean = 0.2;
    t.look = -1;
    drawFigure(cr, Role::Thief, 660, 430, 2.2, t);
    drawCar(cr, Role::Police, 3, 480, 380, 0, 8, 2.0);
}

void spacePicture(cairo_t* cr) {
    paint::gradientRect(cr, 384, 48, 386, 400, pal::SpaceDeep, pal::SpaceViolet);
    Random rng(12);
    for (int i = 0; i < 120; ++i) {
        paint::ellipse(cr, rng.range(384, 770), rng.range(48, 448), rng.range(0.6, 1.6), rng.range(0.6, 1.6));
        paint::setColor(cr, pal::White, rng.range(0.5, 1));
        cairo_fill(cr);
    }
    spacecraft::planet(cr, 690, 130, 44);
    spacecraft::saucer(cr, 480, 140, 1.6, 0, 11);
    spacecraft::bug(cr, 620, 250, 1.3, 2, 12);
    spacecraft::explosion(cr, 470, 270, 40, 0.4);
    spacecraft::ship(cr, 560, 380, 1.8, 0, 11);
}

void molePicture(cairo_t* cr) {
    paint::gradientRect(cr, 384, 48, 386, 120, pal::SkyTop, pal::SkyBottom);
    cairo_rectangle(cr, 384, 160, 386, 300);
    paint::fillShaded(cr, pal::GrassLight, pal::Grass, 160, 460, 0);
    for (int k = 0; k < 3; ++k) {
        const double cx = 450 + k * 125, cy = 300 + (k % 2) * 90;
        paint::ellipse(cr, cx, cy, 52, 17);
        paint::fillShaded(cr, rgb(60, 40, 30), rgb(100, 70, 48), cy - 17, cy + 17, 2.5);
        if (k != 2) critters::mole(cr, cx, cy + 6, k == 0 ? 0.9 : 0.8, k == 1 ? 1 : 0);
    }
    critters::radish(cr, 720, 250, 1.4);
}

void frogPicture(cairo_t* cr) {
    paint::gradientRect(cr, 384, 48, 386, 400, pal::WaterLight, pal::Water);
    for (int k = 0; k < 4; ++k) critters::lilyPad(cr, 400 + k * 90, 150 + (k % 2) * 120, 120, 46);
    critters::frog(cr, 590, 330, 2.6, true, 0);
    critters::frog(cr, 460, 185, 1.2, false, 1);
}

void applePicture(cairo_t* cr) {
    paint::gradientRect(cr, 384, 48, 386, 400, pal::SkyTop, pal::SkyBottom);
    cairo_rectangle(cr, 384, 380, 386, 80);
    paint::fillShaded(cr, pal::Grass, pal::GrassDark, 380, 460, 2);
    for (int i = 0; i < 10; ++i) paint::fillBall(cr, 390 + i * 42, 60 + (i % 2) * 14, 44, pal::Leaf, 2.5);
    text::Style l{text::Latin, 24, true, pal::White, pal::RedDark, 0};
    const double apples[][2] = {{460, 190}, {580, 250}, {690, 170}};
    const char* letters[] = {"A", "P", "L"};
    for (int i = 0; i < 3; ++i) {
        critters::apple(cr, apples[i][0], apples[i][1], 30);
        text::draw(cr, letters[i], apples[i][0], apples[i][1] + 4, l);
    }
    for (int i = 0; i < 4; ++i) critters::apple(cr, 600 + i * 22, 350 - (i % 2) * 6, 11);
    paint::roundedRect(cr, 580, 352, 120, 56, 10);
    paint::fillShaded(cr, rgb(230, 180, 100), rgb(170, 110, 50), 352, 408, 2.5);
}

// A game button: a rounded tag with the game's icon and name; pixels it does
// not cover carry the "outside" colour for the pixel hit test.
void gameButton(PictureSet& set, const char* name, const char* label, const Rgb& face,
                const std::function<void(cairo_t*, double cx, double cy)>& iconFn) {
    ButtonLook look;
    look.face = face;
    look.radius = 22;
    look.iconWidth = 50;
    look.fontPx = 22;
    look.icon = [&](cairo_t* cr, double x, double y, double, double h, ButtonState) {
        paint::ellipse(cr, x + 24, y + h / 2, 17, 17);
        paint::fillOutlined(cr, pal::White, 2);
        iconFn(cr, x + 24, y + h / 2);
    };
    set.addOnOutside(name, buttonStrip(260, 48, 3, label, look), 3);
}

}  // namespace

void addMenuPictures(PictureSet& set) {
    splash(set, "MAIN_NONE", "欢迎来到打字游戏", "用鼠标选择左边的游戏，或按数字键 1 ~ 6", keyboardPicture, 1);
    splash(set, "MAIN_APPLE_SPLASH", "接苹果", "敲下苹果上的字母，别让它掉到地上", applePicture, 2);
    splash(set, "MAIN_FROG_SPLASH", "青蛙过河", "打出荷叶上的单词，帮青蛙跳到对岸", frogPicture, 3);
    splash(set, "MAIN_MOLE_SPLASH", "打地鼠", "看准字母敲下去，保护你的萝卜", molePicture, 4);
    splash(set, "MAIN_SPACE_SPLASH", "太空大战", "输入敌机上的字母，发射导弹", spacePicture, 5);
    splash(set, "MAIN_POLICE_SPLASH", "警察抓小偷", "打字越快跑得越快，和对手比一比", policePicture, 6);

    gameButton(set, "MAIN_POLICE", "警察抓小偷", pal::PoliceBlue, [](cairo_t* cr, double cx, double cy) {
        paint::star(cr, cx, cy, 12, 5.5, 5);
        paint::fillOutlined(cr, pal::Gold, 1.6);
    });
    gameButton(set, "MAIN_SPACE", "太空大战", pal::Purple,
               [](cairo_t* cr, double cx, double cy) { spacecraft::ship(cr, cx, cy - 1, 0.42, 0, 11); });
    gameButton(set, "MAIN_MOLE", "打地鼠", rgb(170, 110, 70),
               [](cairo_t* cr, double cx, double cy) { critters::mole(cr, cx, cy + 13, 0.26, 0); });
    gameButton(set, "MAIN_FROG", "青蛙过河", rgb(60, 160, 90),
               [](cairo_t* cr, double cx, double cy) { critters::frog(cr, cx, cy + 10, 0.55, true, 0); });
    gameButton(set, "MAIN_APPLE", "接苹果", pal::Red,
               [](cairo_t* cr, double cx, double cy) { critters::apple(cr, cx, cy + 2, 10); });

    ButtonLook quit;
    quit.face = pal::Red;
    quit.radius = 26;
    quit.fontPx = 24;
    ButtonLook records;
    records.face = pal::PoliceBlue;
    records.radius = 24;
    records.fontPx = 22;
    set.addKeyed("MAIN_RECORDS", buttonStrip(220, 52, 3, "成绩记录", records), 3);

    set.addKeyed("MAIN_QUIT", buttonStrip(240, 60, 3, "退出游戏", quit), 3);
}

}  // namespace assetgen
