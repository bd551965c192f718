#pragma once
#include "Palette.h"

#include <cairo.h>

// Shared drawing helpers for the cartoon style: outlined shapes with soft
// gradient shading and a glossy highlight.
namespace assetgen::paint {

void setColor(cairo_t* cr, const Rgb& c, double alpha = 1.0);
void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
void ellipse(cairo_t* cr, double cx, double cy, double rx, double ry);
void star(cairo_t* cr, double cx, double cy, double outer, double inner, int points, double turn = 0);

// Fills the current path (kept) and strokes it with the ink colour.
void fillOutlined(cairo_t* cr, const Rgb& fill, double lineWidth = 2.0, const Rgb& ink = pal::Ink);
// Fills the current path with a vertical gradient from top to bottom colour,
// then strokes it.
void fillShaded(cairo_t* cr, const Rgb& top, const Rgb& bottom, double y0, double y1, double lineWidth = 2.0,
                const Rgb& ink = pal::Ink);
// Radial shading: light from the upper left.
void fillBall(cairo_t* cr, double cx, double cy, double r, const Rgb& base, double lineWidth = 2.0,
              const Rgb& ink = pal::Ink);
// A soft white shine (opaque-looking once flattened) in the upper-left of a box.
void shine(cairo_t* cr, double x, double y, double w, double h, double alpha = 0.55);

// Vertical gradient over a rectangle, no outline.
void gradientRect(cairo_t* cr, double x, double y, double w, double h, const Rgb& top, const Rgb& bottom);

void cloud(cairo_t* cr, double x, double y, double scale, const Rgb& body = pal::White);
void sparkle(cairo_t* cr, double cx, double cy, double r, const Rgb& c);
void tree(cairo_t* cr, double x, double baseY, double scale, const Rgb& leaf = pal::Leaf);
void flower(cairo_t* cr, double x, double y, double r, const Rgb& petal);

// A panel: rounded card with outline, bevel and inner area.
void panel(cairo_t* cr, double x, double y, double w, double h, double r, const Rgb& face, const Rgb& rim,
           double lineWidth = 3.0);

}  // namespace assetgen::paint
