#include "Canvas.h"

#include "Palette.h"

#include <stdexcept>

namespace assetgen {

namespace {

SurfacePtr makeRgb(int w, int h) {
    return SurfacePtr(cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h), SurfaceDeleter{});
}

template <typename Fn>
SurfacePtr convert(cairo_surface_t* src, int w, int h, Fn fn) {
    cairo_surface_flush(src);
    SurfacePtr out = makeRgb(w, h);
    cairo_surface_flush(out.get());
    const unsigned char* sp = cairo_image_surface_get_data(src);
    unsigned char* dp = cairo_image_surface_get_data(out.get());
    const int ss = cairo_image_surface_get_stride(src);
    const int ds = cairo_image_surface_get_stride(out.get());
    for (int y = 0; y < h; ++y) {
        const auto* s = reinterpret_cast<const uint32_t*>(sp + y * ss);
        auto* d = reinterpret_cast<uint32_t*>(dp + y * ds);
        for (int x = 0; x < w; ++x) {
            const uint32_t p = s[x];
            d[x] = fn((p >> 24) & 0xFF, (p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
        }
    }
    cairo_surface_mark_dirty(out.get());
    return out;
}

uint32_t pack(uint32_t r, uint32_t g, uint32_t b) { return (r << 16) | (g << 8) | b; }

}  // namespace

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      cr_(cairo_create(surface_.get())) {
    if (cairo_status(cr_.get()) != CAIRO_STATUS_SUCCESS) throw std::runtime_error("cairo context");
}

SurfacePtr Canvas::flattenOpaque() const {
    // Premultiplied colour is the colour over black.
    return convert(surface_.get(), width_, height_,
                   [](uint32_t, uint32_t r, uint32_t g, uint32_t b) { return pack(r, g, b); });
}

SurfacePtr Canvas::flattenKeyed() const {
    return convert(surface_.get(), width_, height_, [](uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
        if (a < 64) return 0u;
        if (toRgb565(r, g, b) == 0) {
            // A solid pixel must not vanish into the key: lift it to the ink colour.
            if (a >= 128) return pack(pal::Ink.r8(), pal::Ink.g8(), pal::Ink.b8());
            return 0u;
        }
        return pack(r, g, b);
    });
}

SurfacePtr Canvas::flattenOnOutside(uint8_t orr, uint8_t og, uint8_t ob) const {
    const uint16_t marker = toRgb565(orr, og, ob);
    return convert(surface_.get(), width_, height_, [&](uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
        if (a < 16) return pack(orr, og, ob);
        // Blend the edge onto the outside colour so the button sits smoothly on it.
        const uint32_t ia = 255 - a;
        uint32_t rr = r + (orr * ia + 127) / 255;
        uint32_t gg = g + (og * ia + 127) / 255;
        uint32_t bb = b + (ob * ia + 127) / 255;
        if (rr > 255) rr = 255;
        if (gg > 255) gg = 255;
        if (bb > 255) bb = 255;
        if (toRgb565(rr, gg, bb) == marker) bb = bb >= 128 ? bb - 8 : bb + 8;
        if (toRgb565(rr, gg, bb) == 0) return pack(pal::Ink.r8(), pal::Ink.g8(), pal::Ink.b8());
        return pack(rr, gg, bb);
    });
}

}  // namespace assetgen
