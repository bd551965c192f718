#include "ContactSheet.h"

#include "Paint.h"
#include "Text.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace assetgen {

namespace {

constexpr int SheetWidth = 2000;
constexpr int Gap = 16;
constexpr int Caption = 22;

// The key colour becomes transparent so the checkerboard shows through.
SurfacePtr keyedView(cairo_surface_t* rgb) {
    const int w = cairo_image_surface_get_width(rgb);
    const int h = cairo_image_surface_get_height(rgb);
    SurfacePtr out(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h), SurfaceDeleter{});
    cairo_surface_flush(rgb);
    cairo_surface_flush(out.get());
    for (int y = 0; y < h; ++y) {
        const auto* s = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(rgb) +
                                                          y * cairo_image_surface_get_stride(rgb));
        auto* d = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(out.get()) +
                                              y * cairo_image_surface_get_stride(out.get()));
        for (int x = 0; x < w; ++x) {
            const uint32_t p = s[x] & 0xFFFFFF;
            const bool key = toRgb565((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF) == 0;
            d[x] = key ? 0u : (0xFF000000u | p);
        }
    }
    cairo_surface_mark_dirty(out.get());
    return out;
}

// match: comma-separated parts, any of which may occur in the name.
bool matches(const std::string& name, const std::string& match) {
    if (match.empty()) return true;
    size_t start = 0;
    while (start <= match.size()) {
        const size_t comma = std::min(match.find(',', start), match.size());
        const std::string part = match.substr(start, comma - start);
        if (!part.empty() && name.find(part) != std::string::npos) return true;
        start = comma + 1;
    }
    return false;
}

struct Placed {
    const Picture* pic;
    double x, y, scale;
};

}  // namespace

void writeContactSheet(const PictureSet& set, const std::string& path, const std::string& match, double zoom) {
    std::vector<Placed> placed;
    double x = Gap, y = Gap, rowH = 0;
    for (const auto& p : set.pictures()) {
        if (!matches(p.name, match)) continue;
        const int w = cairo_image_surface_get_width(p.image.get());
        const int h = cairo_image_surface_get_height(p.image.get());
        const double scale = w * zoom > SheetWidth - 2 * Gap ? (SheetWidth - 2.0 * Gap) / w : zoom;
        const double cw = std::max(w * scale, 120.0), ch = h * scale + Caption;
        if (x + cw > SheetWidth - Gap) {
            x = Gap;
            y += rowH + Gap;
            rowH = 0;
        }
        placed.push_back(Placed{&p, x, y, scale});
        x += cw + Gap;
        rowH = std::max(rowH, ch);
    }
    const int height = static_cast<int>(y + rowH + Gap);
    if (placed.empty()) throw std::runtime_error("no picture matches " + match);

    cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_RGB24, SheetWidth, height);
    cairo_t* cr = cairo_create(sheet);
    paint::setColor(cr, rgb(58, 60, 70));
    cairo_paint(cr);
    cairo_pattern_t* checker = nullptr;
    {
        cairo_surface_t* tile = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 16, 16);
        cairo_t* t = cairo_create(tile);
        paint::setColor(t, rgb(96, 70, 110));
        cairo_paint(t);
        paint::setColor(t, rgb(120, 90, 136));
        cairo_rectangle(t, 0, 0, 8, 8);
        cairo_rectangle(t, 8, 8, 8, 8);
        cairo_fill(t);
        cairo_destroy(t);
        checker = cairo_pattern_create_for_surface(tile);
        cairo_pattern_set_extend(checker, CAIRO_EXTEND_REPEAT);
        cairo_surface_destroy(tile);
    }
    text::Style caption{text::Latin, 13, true, pal::White};
    for (const auto& pl : placed) {
        const Picture& p = *pl.pic;
        const int w = cairo_image_surface_get_width(p.image.get());
        const int h = cairo_image_surface_get_height(p.image.get());
        char label[160];
        std::snprintf(label, sizeof label, "%s  %dx%d%s", p.name.c_str(), p.frameWidth, p.frameHeight,
                      p.frames > 1 ? (" x" + std::to_string(p.frames)).c_str() : "");
        text::draw(cr, label, pl.x, pl.y + Caption / 2.0 - 2, caption, text::Align::Left);
        cairo_save(cr);
        cairo_translate(cr, pl.x, pl.y + Caption);
        cairo_scale(cr, pl.scale, pl.scale);
        cairo_rectangle(cr, 0, 0, w, h);
        if (p.keyed) {
            cairo_set_source(cr, checker);
            cairo_fill(cr);
            SurfacePtr view = keyedView(p.image.get());
            cairo_set_source_surface(cr, view.get(), 0, 0);
            cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
            cairo_paint(cr);
        } else {
            cairo_set_source_surface(cr, p.image.get(), 0, 0);
            cairo_fill(cr);
        }
        paint::setColor(cr, rgb(0, 230, 255));
        cairo_set_line_width(cr, 1.0 / pl.scale);
        for (int f = 0; f < p.frames; ++f) {
            const int col = p.perRow > 0 ? f % p.perRow : f;
            const int row = p.perRow > 0 ? f / p.perRow : 0;
            cairo_rectangle(cr, col * p.frameWidth + 0.5, row * p.frameHeight + 0.5, p.frameWidth - 1,
                            p.frameHeight - 1);
        }
        cairo_stroke(cr);
        cairo_restore(cr);
    }
    cairo_pattern_destroy(checker);
    cairo_destroy(cr);
    const cairo_status_t st = cairo_surface_write_to_png(sheet, path.c_str());
    cairo_surface_destroy(sheet);
    if (st != CAIRO_STATUS_SUCCESS) throw std::runtime_error("cannot write " + path);
    std::printf("assetgen: contact sheet (%zu pictures) -> %s\n", placed.size(), path.c_str());
}

}  // namespace assetgen
