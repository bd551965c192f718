#pragma once
#include "Palette.h"

#include <cairo.h>

#include <string>

// Scenery shared by several screens: the town backdrop, title banners and
// the dark boards that status texts are drawn on.
namespace assetgen::scenery {

// Sky, clouds, hills and a row of town houses; the street along the bottom
// starts at streetY.
void townBackdrop(cairo_t* cr, double w, double h, double streetY, unsigned seed);
// A ribbon banner with a title centred at (cx, cy).
void banner(cairo_t* cr, double cx, double cy, double width, const std::string& title, const Rgb& colour,
            double px = 40);
// A dark rounded board framed in wood or metal; texts in amber go on it.
void board(cairo_t* cr, double x, double y, double w, double h, const Rgb& frame);
// A small heading tab above a board.
void tab(cairo_t* cr, double x, double y, double w, double h, const std::string& label, const Rgb& colour);
// A big title logo with outline and drop shadow.
void logo(cairo_t* cr, double cx, double cy, const std::string& title, double px, const Rgb& fill, const Rgb& outline);
// A round badge with a check mark.
void checkBadge(cairo_t* cr, double cx, double cy, double r);

}  // namespace assetgen::scenery
