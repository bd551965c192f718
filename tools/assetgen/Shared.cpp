// Pictures shared by every screen: the program icon and the widgets of the
// settings dialog (check box, slider, drop-down arrow).
#include "Figure.h"
#include "Paint.h"
#include "Text.h"
#include "Themes.h"

#include <cmath>

namespace assetgen {

namespace {}  // namespace

// A keyboard key with the police star on it, drawn on a 64 x 64 area.
void drawIcon(cairo_t* cr) {
    paint::roundedRect(cr, 4, 10, 56, 50, 12);
    paint::setColor(cr, pal::BlueDark.darker(0.3));
    cairo_fill(cr);
    paint::roundedRect(cr, 4, 4, 56, 52, 12);
    paint::fillShaded(cr, pal::Yellow.lighter(0.3), pal::Orange, 4, 56, 2.5);
    paint::roundedRect(cr, 11, 9, 42, 36, 8);
    paint::fillShaded(cr, pal::White, pal::Cream, 9, 45, 1.5, pal::Orange.darker(0.3));
    text::Style st{text::Latin, 26, true, pal::PoliceBlue, pal::White, 0};
    text::draw(cr, "A", 32, 28, st);
    paint::star(cr, 49, 47, 9, 4, 5);
    paint::fillOutlined(cr, pal::Gold, 2);
}

namespace {

void icon(PictureSet& set) {
    Canvas c(64, 64);
    drawIcon(c.cr());
    set.addKeyed("MAIN_ICON", c);
}

void checkbox(PictureSet& set) {
    Canvas c(80, 20);
    drawFrames(c, 20, 20, 4, 0, [](cairo_t* cr, int f) {
        const bool checked = f >= 2, hover = f % 2 == 1;
        if (hover) {
            paint::roundedRect(cr, 0.5, 0.5, 19, 19, 5);
            paint::setColor(cr, pal::Yellow);
            cairo_fill(cr);
        }
        paint::roundedRect(cr, 2, 2, 16, 16, 4);
        paint::fillShaded(cr, pal::White, hover ? rgb(255, 244, 200) : pal::GreyLight, 2, 18, 1.8);
        if (checked) {
            cairo_move_to(cr, 5, 10);
            cairo_line_to(cr, 9, 14.5);
            cairo_line_to(cr, 16, 4.5);
            paint::setColor(cr, pal::GreenDark);
            cairo_set_line_width(cr, 3.2);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
            cairo_stroke(cr);
        }
    });
    set.addKeyed("CHECKBOX_BUTTON", c, 4);
}

void slider(PictureSet& set) {
    // Track: stretched into Width x 3, so a plain horizontal band.
    Canvas track(64, 3);
    cairo_t* cr = track.cr();
    cairo_rectangle(cr, 0, 0, 64, 1);
    paint::setColor(cr, rgb(120, 90, 60));
    cairo_fill(cr);
    cairo_rectangle(cr, 0, 1, 64, 2);
    paint::setColor(cr, rgb(210, 170, 110));
    cairo_fill(cr);
    set.addKeyed("SLIDER_BG", track);

    Canvas knob(22, 23);
    drawFrames(knob, 11, 23, 2, 0, [](cairo_t* cr2, int f) {
        const Rgb face = f == 1 ? pal::Orange : pal::Blue;
        // Narrower than its cell, pointing at the cell's middle: at the track's start it keeps
        // clear of the label before the track.
        cairo_move_to(cr2, 2.5, 2);
        cairo_line_to(cr2, 8.5, 2);
        cairo_line_to(cr2, 8.5, 15);
        cairo_line_to(cr2, 5.5, 21);
        cairo_line_to(cr2, 2.5, 15);
        cairo_close_path(cr2);
        paint::fillShaded(cr2, face.lighter(0.4), face.darker(0.1), 2, 21, 1.6);
        for (double y : {7.0, 10.0, 13.0}) {
            cairo_move_to(cr2, 4, y);
            cairo_line_to(cr2, 7, y);
        }
        paint::setColor(cr2, pal::White, 0.8);
        cairo_set_line_width(cr2, 1);
        cairo_stroke(cr2);
    });
    set.addKeyed("SLIDER_SLIDER", knob, 2);
}

void dropdown(PictureSet& set) {
    // Opaque: drawn inside the white list box, so the cell keeps a light face.
    Canvas c(30, 16);
    drawFrames(c, 15, 16, 2, 0, [](cairo_t* cr, int f) {
        cairo_rectangle(cr, 0, 0, 15, 16);
        paint::setColor(cr, pal::White);
        cairo_fill(cr);
        paint::roundedRect(cr, 0.5, 0.5, 14, 15, 3);
        paint::fillShaded(cr, rgb(230, 240, 255), rgb(160, 190, 235), 0, 16, 1, pal::BlueDark);
        const bool open = f == 0;
        if (open) {
            cairo_move_to(cr, 3.5, 10.5);
            cairo_line_to(cr, 11.5, 10.5);
            cairo_line_to(cr, 7.5, 5);
        } else {
            cairo_move_to(cr, 3.5, 6);
            cairo_line_to(cr, 11.5, 6);
            cairo_line_to(cr, 7.5, 11.5);
        }
        cairo_close_path(cr);
        paint::setColor(cr, pal::BlueDark);
        cairo_fill(cr);
    });
    set.addOpaque("DROPDOWN_BUTTON", c, 2);
}

}  // namespace

void addSharedPictures(PictureSet& set) {
    icon(set);
    checkbox(set);
    slider(set);
    dropdown(set);
}

}  // namespace assetgen
