#pragma once
#include <cairo.h>

namespace assetgen {

enum class Role { Police = 0, Thief = 1 };

// Pose of a figure. The figure is drawn in a three-quarter view: facing the
// viewer (front) or turned away (back), towards the left or the right.
struct FigurePose {
    bool front = true;
    bool faceLeft = false;
    double stride = 0;               // running: leg swing -1..1 (front leg forward)
    double armSwing = 0;             // -1..1, opposite to the legs when running
    double lift = 0;                 // running: how far the back foot is lifted 0..1
    double bob = 0;                  // body raised by this many pixels
    double lean = 0;                 // forward lean in radians
    double blink = 0;                // 0 eyes open, 1 closed
    double look = 0;                 // -1..1 eyes glance back or forward
    double wave = 0;                 // police: raised arm 0..1; thief: rubbing hands 0..1
    bool seated = false;             // riding: (x, y) is the hips; knees forward, hands on the handlebar
    double handX = 14, handY = -10;  // seated: hands, relative to the hips
};

// Draws a whole figure whose feet stand at (x, y).
void drawFigure(cairo_t* cr, Role role, double x, double y, double scale, const FigurePose& pose);

// Head and shoulders only (a driver seen through a car window), the neck at (x, y).
void drawBust(cairo_t* cr, Role role, double x, double y, double scale, bool front, bool faceLeft);

}  // namespace assetgen
