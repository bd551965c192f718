#include "Text.h"

#include "Paint.h"

#include <pango/pangocairo.h>

#include <memory>

namespace assetgen::text {

namespace {

struct LayoutDeleter {
    void operator()(PangoLayout* l) const { g_object_unref(l); }
};
using LayoutPtr = std::unique_ptr<PangoLayout, LayoutDeleter>;

LayoutPtr makeLayout(cairo_t* cr, const std::string& utf8, const Style& style) {
    LayoutPtr layout(pango_cairo_create_layout(cr));
    PangoContext* ctx = pango_layout_get_context(layout.get());
    cairo_font_options_t* opts = cairo_font_options_create();
    cairo_font_options_set_antialias(opts, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(opts, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(opts, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(ctx, opts);
    cairo_font_options_destroy(opts);
    pango_layout_context_changed(layout.get());

    PangoFontDescription* desc = pango_font_description_new();
    pango_font_description_set_family(desc, style.family);
    pango_font_description_set_absolute_size(desc, style.px * PANGO_SCALE);
    pango_font_description_set_weight(desc, style.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_layout_set_font_description(layout.get(), desc);
    pango_font_description_free(desc);
    if (style.letterSpacing != 0) {
        PangoAttrList* attrs = pango_attr_list_new();
        pango_attr_list_insert(attrs,
                               pango_attr_letter_spacing_new(static_cast<int>(style.letterSpacing * PANGO_SCALE)));
        pango_layout_set_attributes(layout.get(), attrs);
        pango_attr_list_unref(attrs);
    }
    pango_layout_set_text(layout.get(), utf8.c_str(), -1);
    return layout;
}

}  // namespace

Extent measure(cairo_t* cr, const std::string& utf8, const Style& style) {
    LayoutPtr layout = makeLayout(cr, utf8, style);
    PangoRectangle ink, logical;
    pango_layout_get_pixel_extents(layout.get(), &ink, &logical);
    return Extent{static_cast<double>(logical.width), static_cast<double>(logical.height)};
}

void draw(cairo_t* cr, const std::string& utf8, double x, double y, const Style& style, Align align) {
    LayoutPtr layout = makeLayout(cr, utf8, style);
    PangoRectangle ink, logical;
    pango_layout_get_pixel_extents(layout.get(), &ink, &logical);
    double left = x;
    if (align == Align::Center) left = x - logical.width / 2.0;
    if (align == Align::Right) left = x - logical.width;
    // Centre on the ink box vertically so CJK and Latin labels sit alike.
    const double top = y - (ink.y + ink.height / 2.0);
    cairo_save(cr);
    cairo_move_to(cr, left - logical.x, top);
    pango_cairo_layout_path(cr, layout.get());
    if (style.outlineWidth > 0) {
        paint::setColor(cr, style.outline);
        cairo_set_line_width(cr, style.outlineWidth * 2);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke_preserve(cr);
    }
    paint::setColor(cr, style.fill);
    cairo_fill(cr);
    cairo_restore(cr);
}

double fitSize(cairo_t* cr, const std::string& utf8, const Style& style, double maxWidth) {
    Style s = style;
    while (s.px > 6 && measure(cr, utf8, s).width > maxWidth) s.px -= 0.5;
    return s.px;
}

}  // namespace assetgen::text
