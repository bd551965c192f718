#pragma once
#include "Figure.h"
#include "Iso.h"

#include <cairo.h>

namespace assetgen {

// A car in the map's projection with its driver, animated by frame: wheels
// turn, the body rocks, the police car's light bar flashes, the getaway car
// puffs exhaust. (x, y) is the centre of its footprint.
// plain: a neutral yellow car without driver (an icon for either side).
void drawCar(cairo_t* cr, Role role, int heading, double x, double y, int frame, int frames, double scale = 1,
             bool plain = false);

// A motorbike with its rider seated.
// plain: a neutral bike without rider.
void drawMotorbike(cairo_t* cr, Role role, int heading, double x, double y, int frame, int frames, double scale = 1,
                   bool plain = false);

}  // namespace assetgen
