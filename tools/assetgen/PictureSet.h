#pragma once
#include "Canvas.h"

#include <functional>
#include <string>
#include <vector>

namespace assetgen {

struct Picture {
    std::string name;
    SurfacePtr image;  // RGB24, no alpha
    int frameWidth = 0;
    int frameHeight = 0;
    int frames = 1;
    int perRow = 0;  // 0: all frames side by side
    bool keyed = false;
};

// Every picture of the game, in the order they were drawn.
class PictureSet {
public:
    void addOpaque(const std::string& name, const Canvas& canvas, int frames = 1);
    void addKeyed(const std::string& name, const Canvas& canvas, int frames = 1, int perRow = 0);
    // Menu button whose uncovered pixels carry the hit-test "outside" colour.
    void addOnOutside(const std::string& name, const Canvas& canvas, int frames);

    const std::vector<Picture>& pictures() const { return pictures_; }

private:
    void add(Picture p);
    std::vector<Picture> pictures_;
};

// Paints `count` frames into a canvas laid out side by side (perRow 0) or
// perRow to a row. fn draws one frame in frame-local coordinates, clipped.
void drawFrames(Canvas& canvas, int frameWidth, int frameHeight, int count, int perRow,
                const std::function<void(cairo_t*, int frame)>& fn);

// Size of a strip of frames.
int stripWidth(int frameWidth, int count, int perRow);
int stripHeight(int frameHeight, int count, int perRow);

std::vector<unsigned char> encodePng(cairo_surface_t* surface);

}  // namespace assetgen
