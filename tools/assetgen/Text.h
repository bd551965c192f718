#pragma once
#include "Palette.h"

#include <cairo.h>

#include <string>

// Text on pictures, laid out with Pango. Chinese labels use the CJK face.
namespace assetgen::text {

inline constexpr const char* Cjk = "WenQuanYi Zen Hei";
inline constexpr const char* Latin = "Liberation Sans";

enum class Align { Left, Center, Right };

struct Style {
    const char* family = Cjk;
    double px = 16;
    bool bold = true;
    Rgb fill = pal::White;
    Rgb outline = pal::Ink;
    double outlineWidth = 0;   // 0: no outline
    double letterSpacing = 0;  // pixels
};

struct Extent {
    double width;
    double height;
};

Extent measure(cairo_t* cr, const std::string& utf8, const Style& style);
// Draws text with its box's reference point at (x, y): y is the vertical
// centre of the text box; x the left, centre or right edge per align.
void draw(cairo_t* cr, const std::string& utf8, double x, double y, const Style& style, Align align = Align::Center);
// Largest pixel size (<= style.px) at which the text fits maxWidth.
double fitSize(cairo_t* cr, const std::string& utf8, const Style& style, double maxWidth);

}  // namespace assetgen::text
