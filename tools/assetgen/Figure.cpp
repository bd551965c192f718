#include "Figure.h"

#include "Paint.h"
#include "Palette.h"

#include <cmath>

namespace assetgen {

namespace {

using paint::ellipse;
using paint::fillOutlined;
using paint::setColor;

// A limb: two segments stroked thick with an ink border and round ends.
void limb(cairo_t* cr, double x0, double y0, double x1, double y1, double x2, double y2, double width,
          const Rgb& colour) {
    for (int pass = 0; pass < 2; ++pass) {
        cairo_move_to(cr, x0, y0);
        cairo_line_to(cr, x1, y1);
        cairo_line_to(cr, x2, y2);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_set_line_width(cr, pass == 0 ? width + 3.2 : width);
        setColor(cr, pass == 0 ? pal::Ink : colour);
        cairo_stroke(cr);
    }
}

struct Colours {
    Rgb shirt, shirtDark, trousers, shoes, hat;
};

Colours coloursOf(Role role) {
    if (role == Role::Police)
        return {pal::PoliceBlue, pal::PoliceBlueDark, rgb(40, 52, 96), rgb(52, 44, 60), pal::PoliceBlueDark};
    return {pal::ThiefStripeA, pal::ThiefStripeB, pal::ThiefPants, rgb(90, 60, 50), rgb(70, 62, 92)};
}

// Knee and foot of a leg from the hip: swing angle and knee bend.
void leg(cairo_t* cr, double hx, double hy, double swing, double bend, const Colours& c, bool far) {
    const double len = 11;
    const double kx = hx + len * std::sin(swing), ky = hy + len * std::cos(swing);
    const double fx = kx + len * std::sin(swing - bend), fy = ky + len * std::cos(swing - bend);
    const Rgb trousers = far ? c.trousers.darker(0.25) : c.trousers;
    limb(cr, hx, hy, kx, ky, fx, fy, 7.5, trousers);
    // Shoe pointing forward.
    cairo_save(cr);
    cairo_translate(cr, fx + 2, fy - 1);
    cairo_rotate(cr, (swing - bend) * 0.4);
    ellipse(cr, 0, 0, 5.5, 3.2);
    fillOutlined(cr, far ? c.shoes.darker(0.2) : c.shoes, 1.6);
    cairo_restore(cr);
}

void arm(cairo_t* cr, double sx, double sy, double swing, double bend, const Colours& c, bool far, Role role) {
    const double len = 8.5;
    const double ex = sx + len * std::sin(swing), ey = sy + len * std::cos(swing);
    const double hx = ex + len * std::sin(swing + bend), hy = ey + len * std::cos(swing + bend);
    const Rgb sleeve = role == Role::Police ? c.shirt : pal::ThiefStripeB.lighter(0.15);
    limb(cr, sx, sy, ex, ey, hx, hy, 6.5, far ? sleeve.darker(0.25) : sleeve);
    ellipse(cr, hx, hy, 3.4, 3.4);
    fillOutlined(cr, role == Role::Police ? pal::White : pal::Skin, 1.5);  // police wear white gloves
}

void torso(cairo_t* cr, Role role, double y, const Colours& c, bool front) {
    // y: top of the torso (shoulders).
    const double top = y, bottom = y + 25;
    cairo_new_path(cr);
    cairo_move_to(cr, -9, top + 2);
    cairo_curve_to(cr, -10, top - 1, 10, top - 1, 9.5, top + 2);
    cairo_line_to(cr, 10.5, bottom);
    cairo_line_to(cr, -10.5, bottom);
    cairo_close_path(cr);
    if (role == Role::Police) {
        paint::fillShaded(cr, pal::PoliceBlueLight, c.shirt, top, bottom, 2.0);
        // Belt and buckle.
        cairo_rectangle(cr, -10.5, bottom - 5, 21, 4);
        fillOutlined(cr, rgb(60, 48, 40), 1.2);
        if (front) {
            cairo_rectangle(cr, 1, bottom - 5.5, 4, 5);
            fillOutlined(cr, pal::Gold, 1.0);
            // Badge and tie.
            paint::star(cr, 5, top + 8, 3.6, 1.7, 5);
            fillOutlined(cr, pal::Gold, 1.0);
            cairo_move_to(cr, -1, top + 2);
            cairo_line_to(cr, 1.5, top + 2);
            cairo_line_to(cr, 1.8, top + 12);
            cairo_line_to(cr, 0.2, top + 14);
            cairo_line_to(cr, -1.3, top + 12);
            cairo_close_path(cr);
            fillOutlined(cr, pal::PoliceBlueDark, 1.0);
        } else {
            // Reflective band across the back.
            cairo_rectangle(cr, -10, top + 8, 20, 3.5);
            fillOutlined(cr, pal::Yellow, 1.0);
        }
    } else {
        paint::fillShaded(cr, pal::White, rgb(226, 226, 232), top, bottom, 0);
        // Stripes, clipped to the shirt.
        cairo_save(cr);
        cairo_move_to(cr, -9, top + 2);
        cairo_curve_to(cr, -10, top - 1, 10, top - 1, 9.5, top + 2);
        cairo_line_to(cr, 10.5, bottom);
        cairo_line_to(cr, -10.5, bottom);
        cairo_close_path(cr);
        cairo_clip_preserve(cr);
        cairo_new_path(cr);
        for (double sy = top + 3; sy < bottom; sy += 6.5) cairo_rectangle(cr, -12, sy, 24, 3.3);
        setColor(cr, c.shirtDark);
        cairo_fill(cr);
        cairo_restore(cr);
        cairo_move_to(cr, -9, top + 2);
        cairo_curve_to(cr, -10, top - 1, 10, top - 1, 9.5, top + 2);
        cairo_line_to(cr, 10.5, bottom);
        cairo_line_to(cr, -10.5, bottom);
        cairo_close_path(cr);
        setColor(cr, pal::Ink);
        cairo_set_line_width(cr, 2.0);
        cairo_stroke(cr);
    }
}

void head(cairo_t* cr, Role role, double y, bool front, double blink, double look) {
    // y: centre of the head.
    const double r = 12.5;
    // Ear on the far side.
    if (front) {
        ellipse(cr, -9.5, y + 1, 3.2, 4);
        fillOutlined(cr, pal::Skin, 1.6);
    }
    ellipse(cr, 0, y, r, r * 0.96);
    fillOutlined(cr, pal::Skin, 2.0);
    if (front) {
        // Cheek shade and rosy cheek.
        ellipse(cr, 6, y + 5, 3.2, 2.2);
        setColor(cr, pal::Pink, 0.55);
        cairo_fill(cr);
        // Eyes (three-quarter: both shifted forward).
        const double eyeY = y - 1;
        for (double ex : {1.5, 8.0}) {
            if (blink > 0.5) {
                cairo_move_to(cr, ex - 2.2, eyeY);
                cairo_line_to(cr, ex + 2.2, eyeY);
                setColor(cr, pal::Ink);
                cairo_set_line_width(cr, 1.6);
                cairo_stroke(cr);
            } else {
                ellipse(cr, ex, eyeY, 2.3, 3.0);
                setColor(cr, pal::White);
                cairo_fill_preserve(cr);
                setColor(cr, pal::Ink);
                cairo_set_line_width(cr, 1.0);
                cairo_stroke(cr);
                ellipse(cr, ex + 0.6 + look * 0.8, eyeY + 0.4, 1.4, 1.9);
                setColor(cr, pal::Ink);
                cairo_fill(cr);
                ellipse(cr, ex + 0.2 + look * 0.8, eyeY - 0.5, 0.5, 0.5);
                setColor(cr, pal::White);
                cairo_fill(cr);
            }
        }
        // Nose and mouth.
        ellipse(cr, 11.5, y + 2.5, 2.2, 1.9);
        fillOutlined(cr, pal::SkinShade, 1.2);
        cairo_move_to(cr, 3, y + 7);
        cairo_curve_to(cr, 5, y + 9.5, 8, y + 9.5, 9.5, y + 7);
        setColor(cr, pal::Ink);
        cairo_set_line_width(cr, 1.4);
        cairo_stroke(cr);
        if (role == Role::Thief) {
            // Domino mask over the eyes, with holes.
            cairo_save(cr);
            cairo_move_to(cr, -9, eyeY - 3.5);
            cairo_curve_to(cr, -2, eyeY - 6, 8, eyeY - 6, 12.5, eyeY - 3.5);
            cairo_line_to(cr, 12, eyeY + 3);
            cairo_curve_to(cr, 8, eyeY + 5, 5, eyeY + 3, 4.8, eyeY + 2.5);
            cairo_curve_to(cr, 4, eyeY + 4.5, -3, eyeY + 5, -9, eyeY + 2.5);
            cairo_close_path(cr);
            for (double ex : {1.5, 8.0}) {
                cairo_new_sub_path(cr);
                cairo_arc_negative(cr, ex, eyeY, 2.6, 0, -2 * M_PI);
            }
            cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
            fillOutlined(cr, pal::ThiefMask, 1.2);
            cairo_restore(cr);
            // Stubble.
            setColor(cr, rgb(150, 120, 110));
            for (int i = 0; i < 6; ++i) {
                ellipse(cr, 1 + i * 1.7, y + 10.5 - (i % 2) * 0.8, 0.5, 0.5);
                cairo_fill(cr);
            }
        }
    } else {
        // Back of the head: hair and both ears.
        ellipse(cr, 0, y + 1.5, r - 0.5, r * 0.82);
        setColor(cr, role == Role::Police ? pal::Hair : rgb(74, 56, 50));
        cairo_fill(cr);
        ellipse(cr, 0, y, r, r * 0.96);
        setColor(cr, pal::Ink);
        cairo_set_line_width(cr, 2.0);
        cairo_stroke(cr);
        for (double ex : {-12.0, 12.0}) {
            ellipse(cr, ex, y + 1, 2.6, 3.6);
            fillOutlined(cr, pal::Skin, 1.4);
        }
        if (role == Role::Thief) {
            // Mask knot at the back.
            cairo_rectangle(cr, -11.5, y - 4, 23, 4);
            fillOutlined(cr, pal::ThiefMask, 1.2);
            ellipse(cr, 0, y - 2, 2.5, 2.5);
            fillOutlined(cr, pal::ThiefMask, 1.0);
        }
    }
    // Hat.
    if (role == Role::Police) {
        // Peaked cap: crown, band, visor, badge.
        cairo_move_to(cr, -12, y - 7);
        cairo_curve_to(cr, -15, y - 20, 13, y - 24, 14, y - 9);
        cairo_close_path(cr);
        paint::fillShaded(cr, pal::PoliceBlueLight, pal::PoliceBlueDark, y - 22, y - 7, 2.0);
        cairo_rectangle(cr, -12.5, y - 9.5, 26, 4);
        fillOutlined(cr, rgb(40, 40, 60), 1.4);
        if (front) {
            cairo_move_to(cr, 6, y - 6);
            cairo_curve_to(cr, 12, y - 7, 17, y - 6, 18, y - 3);
            cairo_line_to(cr, 8, y - 4);
            cairo_close_path(cr);
            fillOutlined(cr, rgb(48, 44, 60), 1.4);
            paint::star(cr, 5, y - 15, 3.4, 1.6, 5);
            fillOutlined(cr, pal::Gold, 1.0);
        }
    } else {
        // Knitted beanie with a fold.
        cairo_move_to(cr, -12.5, y - 5);
        cairo_curve_to(cr, -13, y - 22, 13, y - 22, 12.5, y - 5);
        cairo_close_path(cr);
        paint::fillShaded(cr, rgb(100, 90, 130), rgb(64, 56, 88), y - 20, y - 5, 2.0);
        paint::roundedRect(cr, -13.5, y - 8.5, 27, 5.5, 2.5);
        fillOutlined(cr, rgb(84, 76, 112), 1.4);
        ellipse(cr, 0, y - 19, 3, 3);
        fillOutlined(cr, pal::Red, 1.2);
    }
}

void sack(cairo_t* cr, double y) {
    // Loot bag slung over the back.
    cairo_move_to(cr, -6, y + 2);
    cairo_curve_to(cr, -24, y, -24, y + 24, -10, y + 24);
    cairo_curve_to(cr, -2, y + 24, 0, y + 12, -6, y + 2);
    cairo_close_path(cr);
    paint::fillShaded(cr, pal::SackBrown.lighter(0.2), pal::SackBrown.darker(0.15), y, y + 24, 2.0);
    ellipse(cr, -6, y + 2, 3.5, 2.2);
    fillOutlined(cr, pal::SackBrown.darker(0.3), 1.4);
    cairo_move_to(cr, -13.5, y + 9);
    cairo_curve_to(cr, -17, y + 8, -17, y + 13, -13.5, y + 13.5);
    cairo_curve_to(cr, -10, y + 14, -10, y + 19, -14, y + 18.5);
    cairo_move_to(cr, -13.8, y + 6.5);
    cairo_line_to(cr, -13.8, y + 21);
    setColor(cr, pal::GoldDark.darker(0.2));
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
}

}  // namespace

void drawFigure(cairo_t* cr, Role role, double x, double y, double scale, const FigurePose& p) {
    const Colours c = coloursOf(role);
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, p.faceLeft ? -scale : scale, scale);

    const double hipY = -22 - p.bob;
    if (p.seated) {
        // Riding: hips at the origin, thighs forward, shins down to the footrest.
        const double hy = 0;
        for (int far = 1; far >= 0; --far) {
            const double dx = far ? -2 : 2;
            limb(cr, dx - 2, hy, dx + 9, hy - 1, dx + 10, hy + 10, 7.5, far ? c.trousers.darker(0.25) : c.trousers);
            ellipse(cr, dx + 12, hy + 11, 5, 3);
            fillOutlined(cr, c.shoes, 1.5);
        }
        cairo_save(cr);
        cairo_translate(cr, -2, hy - 25);
        cairo_rotate(cr, 0.18 + p.lean);
        if (role == Role::Thief && p.front) sack(cr, 2);
        arm(cr, -3, 3, 1.2, 0.3, c, true, role);
        torso(cr, role, 0, c, p.front);
        if (role == Role::Thief && !p.front) sack(cr, 2);
        cairo_restore(cr);
        // Near arm reaching the handlebar.
        const double sx = 2, sy = hy - 22;
        limb(cr, sx, sy, (sx + p.handX) / 2 + 1, (sy + p.handY) / 2 + 3, p.handX, p.handY, 6.5,
             role == Role::Police ? c.shirt : pal::ThiefStripeB.lighter(0.15));
        ellipse(cr, p.handX, p.handY, 3.4, 3.4);
        fillOutlined(cr, role == Role::Police ? pal::White : pal::Skin, 1.5);
        cairo_save(cr);
        cairo_translate(cr, 1, hy - 37);
        head(cr, role, -1 - 1, p.front, p.blink, p.look);
        cairo_restore(cr);
        cairo_restore(cr);
        return;
    }

    // Legs: the far leg first.
    const double swing = p.stride * 0.75;
    const double bendBack = 0.3 + 1.1 * p.lift;
    leg(cr, -2, hipY, -swing, p.stride > 0 ? bendBack : 0.35, c, true);
    cairo_save(cr);
    cairo_translate(cr, 0, hipY);
    cairo_rotate(cr, p.lean);
    const double top = -25;
    // Far arm.
    if (role == Role::Police && p.wave > 0)
        arm(cr, -4, top + 4, -0.3, 0.5, c, true, role);
    else if (role == Role::Thief && p.wave > 0)
        arm(cr, -4, top + 4, 0.7 + 0.3 * p.wave, 1.2, c, true, role);
    else
        arm(cr, -4, top + 4, -p.armSwing * 0.9, 0.5 + 0.4 * std::fabs(p.armSwing), c, true, role);
    // The loot bag hangs on the back: behind the body seen from the front.
    if (role == Role::Thief && p.front) sack(cr, top + 1);
    torso(cr, role, top, c, p.front);
    if (role == Role::Thief && !p.front) sack(cr, top + 1);
    cairo_restore(cr);
    leg(cr, 2, hipY, swing, p.stride < 0 ? bendBack : 0.35, c, false);
    cairo_save(cr);
    cairo_translate(cr, 0, hipY);
    cairo_rotate(cr, p.lean);
    // Near arm: a police officer may raise it to blow the whistle / wave.
    if (role == Role::Police && p.wave > 0)
        arm(cr, 5, top + 4, 2.2 + 0.5 * p.wave, 0.6, c, false, role);
    else if (role == Role::Thief && p.wave > 0)
        arm(cr, 5, top + 4, 0.6 + 0.3 * (1 - p.wave), 1.3, c, false, role);
    else
        arm(cr, 5, top + 4, p.armSwing * 0.9, 0.5 + 0.4 * std::fabs(p.armSwing), c, false, role);
    cairo_translate(cr, 1.5, top - 11);
    cairo_rotate(cr, p.lean * 0.5);
    head(cr, role, 0, p.front, p.blink, p.look);
    if (role == Role::Police && p.front && p.wave > 0.5) {
        // Whistle at the mouth.
        cairo_rectangle(cr, 9, 6, 6, 3.2);
        fillOutlined(cr, rgb(220, 220, 230), 1.0);
    }
    cairo_restore(cr);
    cairo_restore(cr);
}

void drawBust(cairo_t* cr, Role role, double x, double y, double scale, bool front, bool faceLeft) {
    const Colours c = coloursOf(role);
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, faceLeft ? -scale : scale, scale);
    torso(cr, role, 0, c, front);
    cairo_translate(cr, 1, -11);
    head(cr, role, 0, front, 0, 0);
    cairo_restore(cr);
}

}  // namespace assetgen
