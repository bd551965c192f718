#pragma once
#include "Canvas.h"
#include "Palette.h"
#include "Text.h"

#include <functional>
#include <string>

namespace assetgen {

enum class ButtonState { Normal = 0, Hover = 1, Pressed = 2, Disabled = 3 };

struct ButtonLook {
    Rgb face = pal::Blue;
    Rgb label = pal::White;
    double radius = 12;  // corner radius; half the height gives a pill
    double fontPx = 0;   // 0: fitted to the button
    const char* family = text::Cjk;
    // Optional picture drawn in the left part of the face (x, y, w, h of the
    // face); the label is then centred in the rest.
    std::function<void(cairo_t*, double x, double y, double w, double h, ButtonState)> icon;
    double iconWidth = 0;
};

// One button face in the cell (0,0)-(w,h): raised when normal, lit with a
// golden rim under the pointer, pushed down when pressed, grey when disabled.
void drawButton(cairo_t* cr, double w, double h, const std::string& label, const ButtonLook& look, ButtonState state);

// A strip of frames: normal, hover, pressed (and disabled when frames is 4).
Canvas buttonStrip(int w, int h, int frames, const std::string& label, const ButtonLook& look);

// Grey version of a colour for disabled looks.
Rgb greyed(const Rgb& c);

}  // namespace assetgen
