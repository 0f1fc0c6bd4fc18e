// Pixels, pens (the 1-pixel stepping line and the round-capped wide pen),
// polylines, boxes and Bézier curves of the painter. Polygon fills are in
// PainterPolygon.cpp.
#include "platform/Painter.h"

#include <algorithm>
#include <cmath>

#include "platform/PainterSpans.h"

namespace plat {

namespace {

using painter::SolidSpan;
using int128 = __int128;

// ---- 1-pixel pen ----------------------------------------------------------------

// Offset along the minor axis after i steps along the major one: i * minor /
// major rounded half up. Exact for every int coordinate (the product needs
// more than 64 bits).
int64_t MinorOffset(int64_t i, int64_t major, int64_t minor) {
    return static_cast<int64_t>((int128{2} * i * minor + major) / (int128{2} * major));
}

// Steps [first, last] of a walk that start + sign * step stays inside [0, limit).
bool StepsInside(int64_t start, int sign, int64_t limit, int64_t* first, int64_t* last) {
    int64_t lo, hi;
    if (sign > 0) {
        lo = -start;
        hi = limit - 1 - start;
    } else {
        lo = start - (limit - 1);
        hi = start;
    }
    *first = std::max(*first, lo);
    *last = std::min(*last, hi);
    return *first <= *last;
}

// The 1-pixel line: `major` steps along one axis (x when xMajor), each moving
// the other axis by the rounded slope. The end point is step `major`, which
// is never drawn.
void ThinLine(Surface16& s, int64_t x0, int64_t y0, int64_t x1, int64_t y1, uint16_t color) {
    const int64_t dx = x1 - x0, dy = y1 - y0;
    const int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    if (adx == 0 && ady == 0) return;
    const int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
    const bool xMajor = adx >= ady;
    const int64_t major = xMajor ? adx : ady, minor = xMajor ? ady : adx;
    const int64_t majStart = xMajor ? x0 : y0, minStart = xMajor ? y0 : x0;
    const int majSign = xMajor ? sx : sy, minSign = xMajor ? sy : sx;
    const int64_t majLimit = xMajor ? s.width() : s.height();
    const int64_t minLimit = xMajor ? s.height() : s.width();

    int64_t first = 0, last = major - 1;
    if (!StepsInside(majStart, majSign, majLimit, &first, &last)) return;
    // The minor offset grows with the step: find the steps whose offset keeps
    // the minor coordinate inside by bisection.
    int64_t offLo, offHi;  // allowed offsets, inclusive
    if (minSign > 0) {
        offLo = -minStart;
        offHi = minLimit - 1 - minStart;
    } else {
        offLo = minStart - (minLimit - 1);
        offHi = minStart;
    }
    if (MinorOffset(first, major, minor) > offHi || MinorOffset(last, major, minor) < offLo) return;
    if (MinorOffset(first, major, minor) < offLo) {
        int64_t a = first, b = last;  // smallest step with offset >= offLo
        while (a < b) {
            int64_t m = a + (b - a) / 2;
            if (MinorOffset(m, major, minor) >= offLo) b = m; else a = m + 1;
        }
        first = a;
    }
    if (MinorOffset(last, major, minor) > offHi) {
        int64_t a = first, b = last;  // largest step with offset <= offHi
        while (a < b) {
            int64_t m = a + (b - a + 1) / 2;
            if (MinorOffset(m, major, minor) <= offHi) a = m; else b = m - 1;
        }
        last = a;
    }
    if (first > last) return;

    // Walk with the remainder of the rounding, no division per pixel.
    const int128 twoMajor = int128{2} * major;
    const int128 num = int128{2} * first * minor + major;
    int64_t off = static_cast<int64_t>(num / twoMajor);
    int64_t rem = static_cast<int64_t>(num % twoMajor);
    const int64_t step2 = 2 * minor, wrap = 2 * major;
    const int64_t px = xMajor ? majStart + majSign * first : minStart + minSign * off;
    const int64_t py = xMajor ? minStart + minSign * off : majStart + majSign * first;
    const ptrdiff_t pitch = s.pitchPixels();
    const ptrdiff_t majStep = xMajor ? sx : sy * pitch;
    const ptrdiff_t minStep = xMajor ? sy * pitch : sx;
    uint16_t* p = s.row(static_cast<int>(py)) + px;
    for (int64_t i = first; i <= last; ++i) {
        *p = color;
        p += majStep;
        rem += step2;
        if (rem >= wrap) {
            rem -= wrap;
            p += minStep;
        }
    }
}

// ---- Wide pen ---------------------------------------------------------------------

struct Span {
    double lo = HUGE_VAL, hi = -HUGE_VAL;
    void Add(double a, double b) {
        if (a < b) {
            lo = std::min(lo, a);
            hi = std::max(hi, b);
        }
    }
};

// Cuts the segment a + t (b - a), t in [0, 1], to the box; false when
// nothing is left.
bool ClipSegment(double* ax, double* ay, double* bx, double* by, double minX, double minY, double maxX,
                 double maxY) {
    double t0 = 0, t1 = 1;
    const double dx = *bx - *ax, dy = *by - *ay;
    auto edge = [&](double p, double q) {  // p * t <= q
        if (p == 0) return q >= 0;
        double t = q / p;
        if (p < 0) {
            if (t > t1) return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0) return false;
            t1 = std::min(t1, t);
        }
        return true;
    };
    if (!edge(-dx, *ax - minX) || !edge(dx, maxX - *ax) || !edge(-dy, *ay - minY) || !edge(dy, maxY - *ay)) return false;
    const double x0 = *ax, y0 = *ay;
    if (t1 < 1) *bx = x0 + t1 * dx, *by = y0 + t1 * dy;
    if (t0 > 0) *ax = x0 + t0 * dx, *ay = y0 + t0 * dy;
    return true;
}

// Every pixel whose centre lies within width / 2 of the segment. An odd
// width is centred on the pixel centres of the end points, an even one on
// their top-left corners, so that both straddle the thin line symmetrically.
void WideLine(Surface16& s, int64_t x0, int64_t y0, int64_t x1, int64_t y1, int width, uint16_t color) {
    const double r = width / 2.0;
    const double c = (width & 1) ? 0.5 : 0.0;
    double ax = static_cast<double>(x0) + c, ay = static_cast<double>(y0) + c;
    double bx = static_cast<double>(x1) + c, by = static_cast<double>(y1) + c;
    // A cap cut off beyond this margin cannot reach the surface, so cutting
    // the segment there keeps the arithmetic small without changing a pixel.
    const double margin = r + 2;
    if (!ClipSegment(&ax, &ay, &bx, &by, -margin, -margin, s.width() + margin, s.height() + margin)) return;

    const double dx = bx - ax, dy = by - ay;
    const double len2 = dx * dx + dy * dy, len = std::sqrt(len2);
    const double top = std::min(ay, by) - r, bottom = std::max(ay, by) + r;
    const int yFirst = static_cast<int>(std::max(0.0, std::ceil(top - 0.5)));
    const int yEnd = static_cast<int>(std::min<double>(s.height(), std::ceil(bottom - 0.5)));
    for (int y = yFirst; y < yEnd; ++y) {
        const double yc = y + 0.5;
        Span span;
        for (int end = 0; end < 2; ++end) {  // the two round caps
            const double cx = end ? bx : ax, cy = end ? by : ay;
            const double h = r * r - (yc - cy) * (yc - cy);
            if (h > 0) {
                const double w = std::sqrt(h);
                span.Add(cx - w, cx + w);
            }
        }
        if (len > 0) {
            // The body: 0 <= (P - A).d <= |d|^2 and |(P - A) x d| <= r |d|,
            // each linear in x along the row.
            double lo = -HUGE_VAL, hi = HUGE_VAL;
            auto within = [&](double coef, double offset, double minV, double maxV) {
                // minV <= coef * (x - ax) + offset <= maxV
                if (coef == 0) {
                    if (offset < minV || offset > maxV) hi = -HUGE_VAL;
                    return;
                }
                double u = (minV - offset) / coef, v = (maxV - offset) / coef;
                if (u > v) std::swap(u, v);
                lo = std::max(lo, ax + u);
                hi = std::min(hi, ax + v);
            };
            within(dx, (yc - ay) * dy, 0, len2);
            within(dy, -(yc - ay) * dx, -r * len, r * len);
            span.Add(lo, hi);
        }
        if (!(span.lo < span.hi)) continue;
        // Centres in [lo, hi).
        const double xa = std::max(0.0, std::ceil(span.lo - 0.5));
        const double xb = std::min<double>(s.width(), std::ceil(span.hi - 0.5));
        if (xa < xb) SolidSpan(s, y, static_cast<int>(xa), static_cast<int>(xb), color);
    }
}

void Segment(Surface16& s, Point a, Point b, const Pen& pen) {
    if (pen.width <= 1) {
        ThinLine(s, a.x, a.y, b.x, b.y, pen.color);
    } else {
        WideLine(s, a.x, a.y, b.x, b.y, pen.width, pen.color);
    }
}

// ---- Bézier ---------------------------------------------------------------------

struct Cubic {
    double x[4], y[4];
};

void Split(const Cubic& c, Cubic* left, Cubic* right) {
    auto mid = [](double a, double b) { return (a + b) * 0.5; };
    const double x01 = mid(c.x[0], c.x[1]), y01 = mid(c.y[0], c.y[1]);
    const double x12 = mid(c.x[1], c.x[2]), y12 = mid(c.y[1], c.y[2]);
    const double x23 = mid(c.x[2], c.x[3]), y23 = mid(c.y[2], c.y[3]);
    const double xa = mid(x01, x12), ya = mid(y01, y12);
    const double xb = mid(x12, x23), yb = mid(y12, y23);
    const double xm = mid(xa, xb), ym = mid(ya, yb);
    *left = {{c.x[0], x01, xa, xm}, {c.y[0], y01, ya, ym}};
    *right = {{xm, xb, x23, c.x[3]}, {ym, yb, y23, c.y[3]}};
}

// Squared distance of (px, py) from the segment (ax, ay)-(bx, by).
double DistanceSquared(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double ex = ax + t * dx - px, ey = ay + t * dy - py;
    return ex * ex + ey * ey;
}

// Both control points within a quarter pixel of the chord: the piece is
// drawn as that chord.
bool Flat(const Cubic& c) {
    for (int i = 1; i <= 2; ++i)
        if (DistanceSquared(c.x[i], c.y[i], c.x[0], c.y[0], c.x[3], c.y[3]) > 1.0 / 16) return false;
    return true;
}

Point Rounded(double x, double y) {
    return {static_cast<int>(std::floor(x + 0.5)), static_cast<int>(std::floor(y + 0.5))};
}

// Subdivides while the piece can reach the surface (its control points
// bound it) and is not yet flat; pieces off the surface are dropped, so a
// huge curve costs only what crosses the surface.
void Flatten(Surface16& s, const Cubic& c, const Pen& pen, int depth) {
    const double margin = std::max(1, pen.width) / 2.0 + 2;
    const double minX = *std::min_element(c.x, c.x + 4), maxX = *std::max_element(c.x, c.x + 4);
    const double minY = *std::min_element(c.y, c.y + 4), maxY = *std::max_element(c.y, c.y + 4);
    if (maxX < -margin || maxY < -margin || minX > s.width() + margin || minY > s.height() + margin) return;
    if (depth >= 48 || Flat(c)) {
        Segment(s, Rounded(c.x[0], c.y[0]), Rounded(c.x[3], c.y[3]), pen);
        return;
    }
    Cubic left, right;
    Split(c, &left, &right);
    Flatten(s, left, pen, depth + 1);
    Flatten(s, right, pen, depth + 1);
}

}  // namespace

// ---- Public functions -------------------------------------------------------------

bool GetPixel(const Surface16& surface, int x, int y, uint16_t* pixel) {
    if (x < 0 || y < 0 || x >= surface.width() || y >= surface.height()) return false;
    if (pixel != nullptr) *pixel = surface.row(y)[x];
    return true;
}

void SetPixel(Surface16& surface, int x, int y, uint16_t pixel) {
    if (x < 0 || y < 0 || x >= surface.width() || y >= surface.height()) return;
    surface.row(y)[x] = pixel;
}

void DrawLine(Surface16& surface, Point from, Point to, const Pen& pen) { Segment(surface, from, to, pen); }

void DrawPolyline(Surface16& surface, const Point* points, int count, const Pen& pen, bool closed) {
    if (points == nullptr || count < 2) return;
    for (int i = 1; i < count; ++i) Segment(surface, points[i - 1], points[i], pen);
    if (closed) Segment(surface, points[count - 1], points[0], pen);
}

void DrawBox(Surface16& surface, int x1, int y1, int x2, int y2, const Brush& brush, const Pen& pen) {
    int64_t left = std::min(x1, x2), right = std::max(x1, x2);
    int64_t top = std::min(y1, y2), bottom = std::max(y1, y2);
    if (left == right || top == bottom) return;
    const int64_t w = surface.width(), h = surface.height();
    auto clipX = [w](int64_t x) { return static_cast<int>(std::clamp<int64_t>(x, 0, w)); };
    auto clipY = [h](int64_t y) { return static_cast<int>(std::clamp<int64_t>(y, 0, h)); };
    for (int y = clipY(top), ye = clipY(bottom); y < ye; ++y)
        painter::BrushSpan(surface, y, clipX(left), clipX(right), brush);
    if (pen.width > 1) {
        const int r = static_cast<int>(right - 1), b = static_cast<int>(bottom - 1);
        const Point corners[4] = {{static_cast<int>(left), static_cast<int>(top)}, {r, static_cast<int>(top)}, {r, b},
                                  {static_cast<int>(left), b}};
        DrawPolyline(surface, corners, 4, pen, true);
        return;
    }
    // The 1-pixel frame along the outer pixels of the box.
    const int xa = clipX(left), xb = clipX(right);
    for (int64_t y : {top, bottom - 1})
        if (y >= 0 && y < h) SolidSpan(surface, static_cast<int>(y), xa, xb, pen.color);
    for (int64_t x : {left, right - 1}) {
        if (x < 0 || x >= w) continue;
        for (int y = clipY(top + 1), ye = clipY(bottom - 1); y < ye; ++y) surface.row(y)[x] = pen.color;
    }
}

void DrawPolygon(Surface16& surface, const Point* points, int count, const Brush& brush, const Pen& pen) {
    FillPolygon(surface, points, count, brush);
    DrawPolyline(surface, points, count, pen, true);
}

void DrawBezier(Surface16& surface, const Point* points, int count, const Pen& pen) {
    if (points == nullptr || count < 4 || (count - 1) % 3 != 0) return;
    for (int i = 0; i + 3 < count; i += 3) {
        Cubic c;
        for (int k = 0; k < 4; ++k) {
            c.x[k] = points[i + k].x;
            c.y[k] = points[i + k].y;
        }
        Flatten(surface, c, pen, 0);
    }
}

}  // namespace plat
