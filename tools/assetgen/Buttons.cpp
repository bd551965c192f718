#include "Buttons.h"

#include "Paint.h"
#include "PictureSet.h"

namespace assetgen {

Rgb greyed(const Rgb& c) {
    const double y = 0.3 * c.r + 0.59 * c.g + 0.11 * c.b;
    return Rgb{y, y, y}.mix(rgb(150, 154, 166), 0.5);
}

void drawButton(cairo_t* cr, double w, double h, const std::string& label, const ButtonLook& look, ButtonState state) {
    const bool pressed = state == ButtonState::Pressed;
    const bool hover = state == ButtonState::Hover;
    const bool disabled = state == ButtonState::Disabled;
    const double lip = std::max(3.0, h * 0.08);
    const double margin = 3;
    const double bx = margin, bw = w - 2 * margin;
    const double bh = h - 2 * margin - lip;
    // A button under the pointer lifts by a pixel; a pressed one sinks onto its base.
    const double by = margin + (pressed ? lip - 1 : hover ? -1 : 0);
    const double r = std::min(look.radius, bh / 2);
    Rgb face = look.face;
    if (hover) face = face.lighter(0.28);
    if (pressed) face = face.darker(0.25);
    if (disabled) face = greyed(face);

    // Golden rim under the pointer.
    if (hover) {
        paint::roundedRect(cr, bx - 2.5, by - 2, bw + 5, bh + lip + 5, r + 2.5);
        paint::setColor(cr, pal::Yellow);
        cairo_fill(cr);
    }
    // Base (the raised side of the button).
    paint::roundedRect(cr, bx, by + (pressed ? 1 : lip), bw, bh, r);
    paint::fillOutlined(cr, face.darker(0.45), 2.0);
    // Face.
    paint::roundedRect(cr, bx, by, bw, bh, r);
    paint::fillShaded(cr, face.lighter(pressed ? 0.05 : 0.3), face.darker(pressed ? 0.0 : 0.12), by, by + bh, 2.0);
    if (pressed) {
        // Shadow inside the top edge of a pushed button.
        paint::roundedRect(cr, bx + 3, by + 2, bw - 6, bh * 0.3, r * 0.8);
        paint::setColor(cr, face.darker(0.3), 0.35);
        cairo_fill(cr);
    } else if (!disabled) {
        paint::roundedRect(cr, bx + r * 0.5 + 3, by + 3, bw - r - 6, bh * 0.32, bh * 0.16);
        paint::setColor(cr, pal::White, hover ? 0.55 : 0.42);
        cairo_fill(cr);
    }

    double tx = bx, tw = bw;
    if (look.icon) {
        cairo_save(cr);
        look.icon(cr, bx + 2, by + 2, look.iconWidth, bh - 4, state);
        cairo_restore(cr);
        tx += look.iconWidth;
        tw -= look.iconWidth;
    }
    if (!label.empty()) {
        text::Style st;
        st.family = look.family;
        st.px = look.fontPx > 0 ? look.fontPx : bh * 0.56;
        st.px = text::fitSize(cr, label, st, tw - 12);
        st.fill = disabled ? rgb(232, 232, 236) : look.label;
        st.outline = disabled ? rgb(110, 112, 124) : face.darker(0.55);
        st.outlineWidth = std::max(1.5, st.px * 0.09);
        if (label.size() <= 6 && look.family == text::Cjk) st.letterSpacing = st.px * 0.08;
        text::draw(cr, label, tx + tw / 2, by + bh / 2 + 0.5, st);
    }
    if (hover) {
        paint::sparkle(cr, bx + bw - 8, by + 6, 5, pal::White);
        paint::sparkle(cr, bx + 8, by + bh - 5, 3.5, pal::White);
    }
}

Canvas buttonStrip(int w, int h, int frames, const std::string& label, const ButtonLook& look) {
    Canvas c(w * frames, h);
    drawFrames(c, w, h, frames, 0,
               [&](cairo_t* cr, int f) { drawButton(cr, w, h, label, look, static_cast<ButtonState>(f)); });
    return c;
}

}  // namespace assetgen
