#pragma once
#include <cairo.h>

#include <cstdint>
#include <memory>

namespace assetgen {

struct SurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextDeleter {
    void operator()(cairo_t* c) const { cairo_destroy(c); }
};
using SurfacePtr = std::shared_ptr<cairo_surface_t>;

// A drawing area with alpha. Art is painted on it, then flattened into the
// alpha-free RGB picture that the game loads.
class Canvas {
public:
    Canvas(int width, int height);

    cairo_t* cr() const { return cr_.get(); }
    cairo_surface_t* surface() const { return surface_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }

    // Opaque picture: everything composited over black.
    SurfacePtr flattenOpaque() const;
    // Colour-keyed picture: faint pixels become the key (pure black), edges are
    // blended onto black, and solid pixels never fall into the key's range.
    SurfacePtr flattenKeyed() const;
    // Menu button with a hit-test mask: uncovered pixels get the "outside"
    // colour, edges blend into it, and nothing else may convert to that value.
    SurfacePtr flattenOnOutside(uint8_t r, uint8_t g, uint8_t b) const;

private:
    int width_;
    int height_;
    std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface_;
    std::unique_ptr<cairo_t, ContextDeleter> cr_;
};

// RGB565 value as the game's loader computes it (truncation).
inline uint16_t toRgb565(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

}  // namespace assetgen
