// POLICE_BACKGROUND: the 1600x1200 town the race runs through. The road is
// laid along the race route itself, so the figures always run on it; houses,
// trees, a park and the two landmarks of the chase (police station and bank)
// stand clear of it.
#include "Iso.h"
#include "Paint.h"
#include "Random.h"
#include "Route.h"
#include "Text.h"
#include "Themes.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace assetgen {

namespace {

constexpr int MapW = 1600, MapH = 1200;
constexpr double Pavement = 16;  // pavement band beside the asphalt (cross-axis pixels)

using route::Point;

Point unit(Point p) {
    const double n = std::hypot(p.x, p.y);
    return {p.x / n, p.y / n};
}

Point crossOf(int heading) {
    const Point s = route::step(heading);
    return unit(s.x * s.y > 0 ? Point{-2, 1} : Point{2, 1});
}

struct Segment {
    Point a, b;
    int heading;
};

std::vector<Segment> roadSegments() {
    const route::Road& r = route::road();
    std::vector<Segment> out;
    for (int i = 0; i < 10; ++i) out.push_back({r.centre[i], r.centre[(i + 1) % 10], route::Legs[i].heading});
    return out;
}

// Parallelogram of a leg widened by w on both sides and extended by w at both ends.
void legShape(cairo_t* cr, const Segment& s, double w) {
    const Point d = unit({s.b.x - s.a.x, s.b.y - s.a.y});
    const Point e = crossOf(s.heading);
    // Extend along the road by the cross width measured on the other axis.
    const double ext = w;
    const Point p0{s.a.x - d.x * ext, s.a.y - d.y * ext};
    const Point p1{s.b.x + d.x * ext, s.b.y + d.y * ext};
    Point q[4] = {{p0.x + e.x * w, p0.y + e.y * w},
                  {p1.x + e.x * w, p1.y + e.y * w},
                  {p1.x - e.x * w, p1.y - e.y * w},
                  {p0.x - e.x * w, p0.y - e.y * w}};
    // Every leg is wound the same way, so the union of legs fills (and clips)
    // without holes where they overlap at the corners.
    double area = 0;
    for (int i = 0; i < 4; ++i) area += q[i].x * q[(i + 1) % 4].y - q[(i + 1) % 4].x * q[i].y;
    if (area < 0) std::swap(q[1], q[3]);
    cairo_move_to(cr, q[0].x, q[0].y);
    for (int i = 1; i < 4; ++i) cairo_line_to(cr, q[i].x, q[i].y);
    cairo_close_path(cr);
}

double distToSegment(Point p, Point a, Point b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

double distToRoad(Point p) {
    double best = 1e9;
    for (const auto& s : roadSegments()) best = std::min(best, distToSegment(p, s.a, s.b));
    return best;
}

bool insideLoop(Point p) {
    const auto& c = route::road().centre;
    bool in = false;
    for (size_t i = 0, j = c.size() - 1; i < c.size(); j = i++)
        if ((c[i].y > p.y) != (c[j].y > p.y) && p.x < (c[j].x - c[i].x) * (p.y - c[i].y) / (c[j].y - c[i].y) + c[i].x)
            in = !in;
    return in;
}

void grass(cairo_t* cr) {
    paint::gradientRect(cr, 0, 0, MapW, MapH, pal::Grass.lighter(0.08), pal::Grass.darker(0.04));
    Random rng(101);
    // Soft lighter and darker patches, then tufts.
    for (int i = 0; i < 140; ++i) {
        const double x = rng.range(0, MapW), y = rng.range(0, MapH), r = rng.range(30, 90);
        paint::ellipse(cr, x, y, r, r * 0.5);
        paint::setColor(cr, rng.uniform() < 0.5 ? pal::GrassLight : pal::GrassDark, 0.18);
        cairo_fill(cr);
    }
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 1.6);
    for (int i = 0; i < 2600; ++i) {
        const double x = rng.range(0, MapW), y = rng.range(0, MapH);
        cairo_move_to(cr, x - 3, y);
        cairo_line_to(cr, x - 1, y - 5);
        cairo_move_to(cr, x + 2, y);
        cairo_line_to(cr, x + 3, y - 4);
        paint::setColor(cr, rng.uniform() < 0.6 ? pal::GrassDark : pal::GrassLight, 0.8);
        cairo_stroke(cr);
    }
}

void road(cairo_t* cr) {
    const auto segs = roadSegments();
    const double hw = route::road().halfWidth;
    // Pavement: outline of the union first, then the fill over the inner edges.
    for (const auto& s : segs) legShape(cr, s, hw + Pavement);
    paint::setColor(cr, pal::GreyDark);
    cairo_set_line_width(cr, 5);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    cairo_stroke(cr);
    for (const auto& s : segs) legShape(cr, s, hw + Pavement);
    paint::setColor(cr, pal::Pavement);
    cairo_fill(cr);
    // Paving joints across the pavement.
    cairo_save(cr);
    for (const auto& s : segs) legShape(cr, s, hw + Pavement);
    cairo_clip(cr);
    for (const auto& s : segs) {
        const Point d = unit({s.b.x - s.a.x, s.b.y - s.a.y});
        const Point e = crossOf(s.heading);
        const double len = std::hypot(s.b.x - s.a.x, s.b.y - s.a.y);
        for (double t = -hw; t < len + hw; t += 18) {
            for (int side = -1; side <= 1; side += 2) {
                const Point p{s.a.x + d.x * t + e.x * side * hw, s.a.y + d.y * t + e.y * side * hw};
                cairo_move_to(cr, p.x, p.y);
                cairo_line_to(cr, p.x + e.x * side * Pavement, p.y + e.y * side * Pavement);
            }
        }
    }
    paint::setColor(cr, pal::Pavement.darker(0.15));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    cairo_restore(cr);
    // Kerb and asphalt.
    for (const auto& s : segs) legShape(cr, s, hw + 3);
    paint::setColor(cr, pal::Kerb);
    cairo_fill(cr);
    for (const auto& s : segs) legShape(cr, s, hw);
    paint::setColor(cr, pal::AsphaltEdge);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    for (const auto& s : segs) legShape(cr, s, hw);
    paint::setColor(cr, pal::Asphalt);
    cairo_fill(cr);
    // Asphalt speckles.
    Random rng(202);
    cairo_save(cr);
    for (const auto& s : segs) legShape(cr, s, hw);
    cairo_clip(cr);
    for (int i = 0; i < 5000; ++i) {
        const double x = rng.range(0, MapW), y = rng.range(0, MapH);
        cairo_rectangle(cr, x, y, 2, 1);
        paint::setColor(cr, rng.uniform() < 0.5 ? pal::Asphalt.lighter(0.12) : pal::Asphalt.darker(0.1));
        cairo_fill(cr);
    }
    cairo_restore(cr);
    // White edge lines and the dashed yellow centre line, each within its leg.
    for (const auto& s : segs) {
        const Point d = unit({s.b.x - s.a.x, s.b.y - s.a.y});
        const Point e = crossOf(s.heading);
        const double len = std::hypot(s.b.x - s.a.x, s.b.y - s.a.y);
        for (int side = -1; side <= 1; side += 2) {
            const double off = side * (hw - 7);
            cairo_move_to(cr, s.a.x + d.x * hw + e.x * off, s.a.y + d.y * hw + e.y * off);
            cairo_line_to(cr, s.b.x - d.x * hw + e.x * off, s.b.y - d.y * hw + e.y * off);
        }
        paint::setColor(cr, pal::White, 0.85);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        for (double t = hw + 6; t + 16 < len - hw; t += 30) {
            cairo_move_to(cr, s.a.x + d.x * t, s.a.y + d.y * t);
            cairo_line_to(cr, s.a.x + d.x * (t + 16), s.a.y + d.y * (t + 16));
        }
        paint::setColor(cr, pal::LaneYellow);
        cairo_set_line_width(cr, 3.5);
        cairo_stroke(cr);
    }
    // Chequered start line across leg 0, where the police sets off.
    const Segment& s0 = segs[0];
    const Point d = unit({s0.b.x - s0.a.x, s0.b.y - s0.a.y});
    const Point e = crossOf(s0.heading);
    const int cells = 8;
    for (int row = 0; row < 2; ++row)
        for (int k = 0; k < cells; ++k) {
            const double w0 = -hw + 2 * hw * k / cells, w1 = -hw + 2 * hw * (k + 1) / cells;
            const double t0 = 14 + row * 7, t1 = t0 + 7;
            auto pt = [&](double t, double w) { return Point{s0.a.x + d.x * t + e.x * w, s0.a.y + d.y * t + e.y * w}; };
            const Point q[4] = {pt(t0, w0), pt(t0, w1), pt(t1, w1), pt(t1, w0)};
            cairo_move_to(cr, q[0].x, q[0].y);
            for (int i = 1; i < 4; ++i) cairo_line_to(cr, q[i].x, q[i].y);
            cairo_close_path(cr);
            paint::setColor(cr, (k + row) % 2 ? pal::White : rgb(40, 40, 52));
            cairo_fill(cr);
        }
}

// ---- Props, drawn back to front ----

struct Prop {
    double depth;  // screen y of the footprint's front
    std::function<void(cairo_t*)> draw;
};

struct HouseStyle {
    Rgb wall, roof;
};

void house(cairo_t* cr, double x, double y, double A, double B, double H, const HouseStyle& st, Random& rng,
           const char* sign = nullptr, const Rgb* signColour = nullptr) {
    iso::View v{x, y, 3, 1};
    // Shadow on the grass.
    iso::groundEllipse(cr, v, 4, 6, A + 10, B + 10);
    paint::setColor(cr, pal::GrassDark.darker(0.15), 0.45);
    cairo_fill(cr);
    iso::box(cr, v, -A, A, -B, B, 0, H, st.wall);
    // Windows on the two visible walls, door on the side facing +b.
    auto window = [&](double f0, double f1, double s, double z0, double z1, bool onF) {
        double q[4][3];
        if (onF) {
            const double pts[4][3] = {{A, f0, z0}, {A, f1, z0}, {A, f1, z1}, {A, f0, z1}};
            std::copy(&pts[0][0], &pts[0][0] + 12, &q[0][0]);
        } else {
            const double pts[4][3] = {{f0, s, z0}, {f1, s, z0}, {f1, s, z1}, {f0, s, z1}};
            std::copy(&pts[0][0], &pts[0][0] + 12, &q[0][0]);
        }
        iso::quad(cr, v, q, rng.uniform() < 0.25 ? pal::Yellow.lighter(0.3) : pal::Window, 1.4);
    };
    const int floors = H > 50 ? 2 : 1;
    for (int fl = 0; fl < floors; ++fl) {
        const double z0 = 10 + fl * 24, z1 = z0 + 12;
        for (double f = -A + 8; f + 10 < A - 2; f += 20) {
            if (fl == 0 && std::fabs(f + 5) < 10) continue;  // door here
            window(f, f + 10, B, z0, z1, false);
        }
        for (double s = -B + 8; s + 10 < B - 2; s += 20) window(s, s + 10, 0, z0, z1, true);
    }
    {
        const double q[4][3] = {{-8, B, 0}, {4, B, 0}, {4, B, 20}, {-8, B, 20}};
        iso::quad(cr, v, q, st.roof.darker(0.3), 1.4);
    }
    // Gabled roof along the forward axis.
    const double R = B * 0.8, eave = 4;
    const double back[4][3] = {
        {-A - eave, -B - eave, H}, {A + eave, -B - eave, H}, {A + eave, 0, H + R}, {-A - eave, 0, H + R}};
    iso::quad(cr, v, back, st.roof.darker(0.1), 1.8);
    const double gable[3][3] = {{A, -B, H}, {A, B, H}, {A, 0, H + R}};
    {
        for (int i = 0; i < 3; ++i) {
            const iso::Pt p = v.project(gable[i][0], gable[i][1], gable[i][2]);
            if (i == 0)
                cairo_move_to(cr, p.x, p.y);
            else
                cairo_line_to(cr, p.x, p.y);
        }
        cairo_close_path(cr);
        paint::fillOutlined(cr, st.wall.darker(0.12), 1.6);
    }
    const double front[4][3] = {
        {-A - eave, B + eave, H}, {A + eave, B + eave, H}, {A + eave, 0, H + R}, {-A - eave, 0, H + R}};
    iso::quad(cr, v, front, st.roof, 1.8);
    // Roof tile rows.
    for (double t = 0.25; t < 1; t += 0.25) {
        const iso::Pt p0 = v.project(-A - eave, (B + eave) * (1 - t), H + R * t);
        const iso::Pt p1 = v.project(A + eave, (B + eave) * (1 - t), H + R * t);
        cairo_move_to(cr, p0.x, p0.y);
        cairo_line_to(cr, p1.x, p1.y);
    }
    paint::setColor(cr, st.roof.darker(0.25));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    if (sign) {
        // A signboard over the door.
        const iso::Pt c = v.project(0, B + 1, H - 8);
        text::Style ts{text::Cjk, 15, true, pal::White, pal::Ink, 0};
        const double w = text::measure(cr, sign, ts).width + 14;
        paint::roundedRect(cr, c.x - w / 2, c.y - 10, w, 20, 5);
        paint::fillOutlined(cr, *signColour, 1.8);
        text::draw(cr, sign, c.x, c.y, ts);
    }
}

void bush(cairo_t* cr, double x, double y, double r, const Rgb& c) {
    paint::ellipse(cr, x, y - r * 0.6, r * 1.5, r);
    paint::setColor(cr, pal::Ink);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke_preserve(cr);
    paint::setColor(cr, c);
    cairo_fill(cr);
    paint::fillBall(cr, x - r * 0.5, y - r * 0.9, r * 0.7, c.lighter(0.1), 0);
    paint::fillBall(cr, x + r * 0.5, y - r * 0.8, r * 0.65, c, 0);
}

void pond(cairo_t* cr, double x, double y, double rx, double ry) {
    paint::ellipse(cr, x, y, rx + 8, ry + 5);
    paint::fillOutlined(cr, pal::Sand, 2.5);
    paint::ellipse(cr, x, y, rx, ry);
    paint::fillShaded(cr, pal::WaterLight, pal::WaterDeep, y - ry, y + ry, 2.0);
    Random rng(303);
    for (int i = 0; i < 6; ++i) {
        const double px = x + rng.range(-rx * 0.6, rx * 0.6), py = y + rng.range(-ry * 0.5, ry * 0.5);
        paint::ellipse(cr, px, py, 12, 4);
        paint::setColor(cr, pal::White, 0.45);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    }
    // Lily pads.
    for (int i = 0; i < 4; ++i) {
        const double px = x + rng.range(-rx * 0.6, rx * 0.6), py = y + rng.range(-ry * 0.5, ry * 0.5);
        paint::ellipse(cr, px, py, 9, 5);
        paint::fillOutlined(cr, pal::Leaf, 1.4);
    }
}

void fountain(cairo_t* cr, double x, double y) {
    paint::ellipse(cr, x, y, 46, 23);
    paint::fillOutlined(cr, pal::Kerb, 2.5);
    paint::ellipse(cr, x, y - 3, 38, 18);
    paint::fillShaded(cr, pal::WaterLight, pal::Water, y - 21, y + 15, 2.0);
    cairo_rectangle(cr, x - 5, y - 30, 10, 26);
    paint::fillShaded(cr, pal::White, pal::Kerb, y - 30, y - 4, 2.0);
    for (double dx : {-12.0, 0.0, 12.0}) {
        cairo_move_to(cr, x, y - 32);
        cairo_curve_to(cr, x + dx * 0.5, y - 48, x + dx, y - 40, x + dx * 1.6, y - 12);
    }
    paint::setColor(cr, pal::WaterLight.lighter(0.4));
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
}

void lamp(cairo_t* cr, double x, double y) {
    cairo_rectangle(cr, x - 2, y - 44, 4, 44);
    paint::fillOutlined(cr, pal::GreyDark, 1.4);
    paint::fillBall(cr, x, y - 48, 6, pal::Yellow, 1.6);
}

}  // namespace

void addPoliceMap(PictureSet& set) {
    Canvas c(MapW, MapH);
    cairo_t* cr = c.cr();
    grass(cr);

    // Park inside the loop: lighter lawn, paths, a pond and a fountain.
    const double hw = route::road().halfWidth;
    const double clearRoad = hw * 0.9 + Pavement + 10;
    Random rng(404);

    // Flower beds and lawn stripes in the park.
    for (int i = 0; i < 60; ++i) {
        const Point p{rng.range(60, MapW - 60), rng.range(60, MapH - 60)};
        if (distToRoad(p) < clearRoad + 10) continue;
        paint::ellipse(cr, p.x, p.y, rng.range(40, 80), rng.range(16, 28));
        paint::setColor(cr, pal::GrassLight, 0.35);
        cairo_fill(cr);
    }
    road(cr);

    std::vector<Prop> props;
    std::vector<Point> taken;
    // A prop stands at p and rises `height` pixels: neither its footprint nor
    // anything drawn above it may cover the road.
    auto freeAt = [&](Point p, double radius, double spacing, double height) {
        if (p.x < radius || p.x > MapW - radius || p.y < radius + 40 || p.y > MapH - 10) return false;
        if (distToRoad(p) < clearRoad + radius) return false;
        for (double up = height / 3; up <= height + 0.5; up += height / 3)
            if (distToRoad({p.x, p.y - up}) < clearRoad + radius * 0.6) return false;
        for (const Point& q : taken)
            if (std::hypot(p.x - q.x, (p.y - q.y) * 1.6) < spacing) return false;
        return true;
    };

    // Landmarks of the chase: the police station near the police's start, the
    // bank near the thief's.
    const Rgb policeSign = pal::PoliceBlue, bankSign = pal::GreenDark;
    auto placeNear = [&](Point want, double radius) {
        for (int ring = 0; ring < 40; ++ring)
            for (int k = 0; k < 16; ++k) {
                const double a = k * M_PI / 8;
                const Point p{want.x + std::cos(a) * ring * 12, want.y + std::sin(a) * ring * 8};
                if (freeAt(p, radius, 150, 120)) return p;
            }
        return want;
    };
    {
        // Its sign stays above the typing panel (screen y 510 on, map y 1090 on at the start).
        const Point p = placeNear({470, 1010}, 70);
        taken.push_back(p);
        props.push_back({p.y + 40, [=](cairo_t* c2) {
                             Random r(1);
                             house(c2, p.x, p.y, 42, 30, 62, {pal::WallBlue, pal::RoofBlue}, r, "警察局", &policeSign);
                         }});
    }
    {
        const Point p = placeNear({150, 560}, 60);
        taken.push_back(p);
        props.push_back({p.y + 40, [=](cairo_t* c2) {
                             Random r(2);
                             house(c2, p.x, p.y, 36, 28, 56, {pal::WallCream, pal::RoofGreen}, r, "银行", &bankSign);
                         }});
    }
    // Park features inside the loop.
    for (const Point want : {Point{820, 520}, Point{1060, 470}}) {
        if (!insideLoop(want) || !freeAt(want, 50, 120, 40)) continue;
        taken.push_back(want);
        if (want.x < 900)
            props.push_back({want.y, [=](cairo_t* c2) { pond(c2, want.x, want.y, 70, 30); }});
        else
            props.push_back({want.y + 23, [=](cairo_t* c2) { fountain(c2, want.x, want.y); }});
    }

    // Houses on a jittered grid outside the park.
    const HouseStyle styles[] = {{pal::WallCream, pal::RoofRed},   {pal::WallPink, pal::RoofBrown},
                                 {pal::WallBlue, pal::RoofBlue},   {pal::WallMint, pal::RoofGreen},
                                 {pal::WallCream, pal::RoofBrown}, {pal::WallPink, pal::RoofRed}};
    int houseNo = 0;
    for (double gy = 90; gy < MapH; gy += 115)
        for (double gx = 70 + std::fmod(gy, 230) / 2; gx < MapW; gx += 175) {
            const Point p{gx + rng.range(-25, 25), gy + rng.range(-15, 15)};
            if (insideLoop(p) || !freeAt(p, 62, 150, 110)) continue;
            taken.push_back(p);
            const HouseStyle st = styles[houseNo % 6];
            const double A = rng.range(26, 36), B = rng.range(22, 30), H = rng.range(0, 1) < 0.3 ? 58 : 34;
            const uint64_t seed = 1000 + houseNo++;
            props.push_back({p.y + 30, [=](cairo_t* c2) {
                                 Random r(seed);
                                 house(c2, p.x, p.y, A, B, H, st, r);
                             }});
        }
    // Trees, bushes, flowers and lamps fill the rest.
    for (int i = 0; i < 900; ++i) {
        const Point p{rng.range(20, MapW - 20), rng.range(70, MapH - 5)};
        const double kind = rng.uniform();
        if (kind < 0.45) {
            if (!freeAt(p, 26, 60, 70 * 1.15)) continue;
            taken.push_back(p);
            const double s = rng.range(0.8, 1.15);
            const Rgb leaf =
                rng.uniform() < 0.3 ? rgb(60, 150, 90) : (rng.uniform() < 0.2 ? rgb(150, 190, 60) : pal::Leaf);
            props.push_back({p.y, [=](cairo_t* c2) { paint::tree(c2, p.x, p.y, s, leaf); }});
        } else if (kind < 0.75) {
            if (!freeAt(p, 16, 40, 20)) continue;
            taken.push_back(p);
            const double r = rng.range(8, 13);
            props.push_back({p.y, [=](cairo_t* c2) { bush(c2, p.x, p.y, r, pal::Leaf.darker(0.05)); }});
        } else {
            if (!freeAt(p, 10, 30, 8)) continue;
            const Rgb petals[] = {pal::Pink, pal::Yellow, pal::White, pal::Red, pal::Purple.lighter(0.3)};
            const Rgb pc = petals[rng.below(5)];
            props.push_back({p.y, [=](cairo_t* c2) {
                                 for (int k = 0; k < 4; ++k)
                                     paint::flower(c2, p.x + (k - 1.5) * 8, p.y + (k % 2) * 4, 2.6, pc);
                             }});
        }
    }
    // Street lamps along the outer edge of the pavement.
    for (const auto& s : roadSegments()) {
        const Point d = unit({s.b.x - s.a.x, s.b.y - s.a.y});
        const Point e = crossOf(s.heading);
        const double len = std::hypot(s.b.x - s.a.x, s.b.y - s.a.y);
        for (double t = 60; t < len - 40; t += 160) {
            for (int side = -1; side <= 1; side += 2) {
                const double off = side * (hw + Pavement - 4);
                const Point p{s.a.x + d.x * t + e.x * off, s.a.y + d.y * t + e.y * off};
                // Skip lamps that would stand on another leg or rise over the asphalt.
                if (distToRoad(p) < hw + 6 || distToRoad({p.x, p.y - 30}) < hw + 4 ||
                    distToRoad({p.x, p.y - 55}) < hw + 4)
                    continue;
                props.push_back({p.y, [=](cairo_t* c2) { lamp(c2, p.x, p.y); }});
            }
        }
    }
    std::stable_sort(props.begin(), props.end(), [](const Prop& a, const Prop& b) { return a.depth < b.depth; });
    for (const auto& p : props) p.draw(cr);
    set.addOpaque("POLICE_BACKGROUND", c);
}

}  // namespace assetgen
