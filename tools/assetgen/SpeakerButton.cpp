// The main menu's sound switch: MAIN_SOUND_ON, a speaker sending out sound waves, and
// MAIN_SOUND_OFF, the speaker struck through; three 44x44 frames each (normal, hover,
// pressed) in the look of the menu's buttons.
#include "Buttons.h"
#include "Paint.h"
#include "Themes.h"

#include <cmath>

namespace assetgen {

namespace {

constexpr int Size = 44;

void speaker(cairo_t* cr, double cx, double cy, bool on) {
    const double x = cx - 11;
    // Box and cone.
    cairo_move_to(cr, x, cy - 4.5);
    cairo_line_to(cr, x + 6, cy - 4.5);
    cairo_line_to(cr, x + 13, cy - 10.5);
    cairo_line_to(cr, x + 13, cy + 10.5);
    cairo_line_to(cr, x + 6, cy + 4.5);
    cairo_line_to(cr, x, cy + 4.5);
    cairo_close_path(cr);
    paint::fillOutlined(cr, pal::White, 1.8);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    if (on) {
        for (double r : {5.5, 10.5}) {
            cairo_new_sub_path(cr);
            cairo_arc(cr, x + 13, cy, r, -M_PI / 3.2, M_PI / 3.2);
            paint::setColor(cr, pal::Ink);
            cairo_set_line_width(cr, 4.2);
            cairo_stroke_preserve(cr);
            paint::setColor(cr, pal::White);
            cairo_set_line_width(cr, 2.2);
            cairo_stroke(cr);
        }
        return;
    }
    // A red cross where the waves would be.
    for (int pass = 0; pass < 2; ++pass) {
        cairo_move_to(cr, x + 16, cy - 6);
        cairo_line_to(cr, x + 26, cy + 6);
        cairo_move_to(cr, x + 26, cy - 6);
        cairo_line_to(cr, x + 16, cy + 6);
        paint::setColor(cr, pass == 0 ? pal::Ink : pal::Red);
        cairo_set_line_width(cr, pass == 0 ? 5.0 : 3.0);
        cairo_stroke(cr);
    }
}

void speakerButton(PictureSet& set, const char* name, bool on) {
    ButtonLook look;
    look.face = on ? pal::Orange : pal::Grey;
    look.radius = 12;
    look.iconWidth = Size - 10;
    look.icon = [on](cairo_t* cr, double x, double y, double w, double h, ButtonState) {
        speaker(cr, x + w / 2, y + h / 2, on);
    };
    set.addKeyed(name, buttonStrip(Size, Size, 3, "", look), 3);
}

}  // namespace

void addSpeakerButtons(PictureSet& set) {
    speakerButton(set, "MAIN_SOUND_ON", true);
    speakerButton(set, "MAIN_SOUND_OFF", false);
}

}  // namespace assetgen
