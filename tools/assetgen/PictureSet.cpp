#include "PictureSet.h"

#include "Palette.h"

#include <stdexcept>

namespace assetgen {

void PictureSet::add(Picture p) {
    for (const auto& q : pictures_)
        if (q.name == p.name) throw std::runtime_error("picture drawn twice: " + p.name);
    pictures_.push_back(std::move(p));
}

void PictureSet::addOpaque(const std::string& name, const Canvas& canvas, int frames) {
    add(Picture{name, canvas.flattenOpaque(), canvas.width() / frames, canvas.height(), frames, 0, false});
}

void PictureSet::addKeyed(const std::string& name, const Canvas& canvas, int frames, int perRow) {
    const int cols = perRow > 0 ? std::min(perRow, frames) : frames;
    const int rows = perRow > 0 ? (frames + perRow - 1) / perRow : 1;
    add(Picture{name, canvas.flattenKeyed(), canvas.width() / cols, canvas.height() / rows, frames, perRow, true});
}

void PictureSet::addOnOutside(const std::string& name, const Canvas& canvas, int frames) {
    add(Picture{name, canvas.flattenOnOutside(pal::BoardR, pal::BoardG, pal::BoardB), canvas.width() / frames,
                canvas.height(), frames, 0, true});
}

int stripWidth(int frameWidth, int count, int perRow) {
    return frameWidth * (perRow > 0 ? std::min(perRow, count) : count);
}

int stripHeight(int frameHeight, int count, int perRow) {
    return frameHeight * (perRow > 0 ? (count + perRow - 1) / perRow : 1);
}

void drawFrames(Canvas& canvas, int fw, int fh, int count, int perRow, const std::function<void(cairo_t*, int)>& fn) {
    cairo_t* cr = canvas.cr();
    for (int f = 0; f < count; ++f) {
        const int col = perRow > 0 ? f % perRow : f;
        const int row = perRow > 0 ? f / perRow : 0;
        cairo_save(cr);
        cairo_translate(cr, col * fw, row * fh);
        cairo_rectangle(cr, 0, 0, fw, fh);
        cairo_clip(cr);
        cairo_new_path(cr);
        fn(cr, f);
        cairo_restore(cr);
    }
}

std::vector<unsigned char> encodePng(cairo_surface_t* surface) {
    std::vector<unsigned char> out;
    auto writer = [](void* closure, const unsigned char* data, unsigned int length) -> cairo_status_t {
        auto* v = static_cast<std::vector<unsigned char>*>(closure);
        v->insert(v->end(), data, data + length);
        return CAIRO_STATUS_SUCCESS;
    };
    if (cairo_surface_write_to_png_stream(surface, writer, &out) != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("PNG encoding failed");
    return out;
}

}  // namespace assetgen
