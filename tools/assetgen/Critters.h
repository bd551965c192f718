#pragma once
#include "Palette.h"

#include <cairo.h>

// The word games' characters and props, drawn at any size.
namespace assetgen::critters {

// A shiny apple whose body fills the circle (cx, cy, r).
void apple(cairo_t* cr, double cx, double cy, double r, const Rgb& skin = pal::Red);
// Frog seen from the front (sitting, facing the viewer) or from behind;
// phase 0/1 alternates the pose (throat puffed / blink, legs shifted).
void frog(cairo_t* cr, double cx, double baseY, double scale, bool front, int phase);
// Mole head and shoulders rising out of the ground at (cx, baseY).
// mood: 0 cheeky, 1 dizzy (hit), 2 sly (running off).
void mole(cairo_t* cr, double cx, double baseY, double scale, int mood);
// A radish standing in (cx, baseY) as its bottom.
void radish(cairo_t* cr, double cx, double baseY, double scale);
// A floating leaf pad whose bounding box is (x, y, w, h).
void lilyPad(cairo_t* cr, double x, double y, double w, double h);

}  // namespace assetgen::critters
