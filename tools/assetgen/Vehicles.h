#pragma once
#include "Figure.h"
#include "Iso.h"

#include <cairo.h>

namespace assetgen {

// A car in the map's projection with its driver, animated by frame: wheels
// turn, the body rocks, the police car's light bar flashes, the getaway car
// puffs exhaust. (x, y) is the centre of its footprint.
void drawCar(cairo_t* cr, Role role, int heading, double x, double y, int frame, int frames, double scale = 1);

// A motorbike with its rider seated.
void drawMotorbike(cairo_t* cr, Role role, int heading, double x, double y, int frame, int frames,
                   double scale = 1);

}  // namespace assetgen
