#pragma once
#include <cairo.h>

// The space shooter's craft, drawn at any size and animation frame.
namespace assetgen::spacecraft {

// Player ship pointing up, centred at (cx, cy); frame animates the engine flame.
void ship(cairo_t* cr, double cx, double cy, double scale, int frame, int frames);
// Flying saucer; frame turns its rim lights.
void saucer(cairo_t* cr, double cx, double cy, double scale, int frame, int frames);
// Bug-like alien fighter; frame beats its wings.
void bug(cairo_t* cr, double cx, double cy, double scale, int frame, int frames);
// Explosion stage t in [0, 1): a fireball that grows, then breaks into smoke.
void explosion(cairo_t* cr, double cx, double cy, double radius, double t);
// A small ringed planet.
void planet(cairo_t* cr, double cx, double cy, double r);

}  // namespace assetgen::spacecraft
