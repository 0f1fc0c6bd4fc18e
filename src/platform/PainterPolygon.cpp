// Even-odd polygon fill of the painter: a scanline walk over the rows of the
// surface with an active edge list, crossings computed exactly (128-bit
// products) at each row's pixel centres.
#include <algorithm>
#include <vector>

#include "platform/Painter.h"
#include "platform/PainterSpans.h"

namespace plat {

namespace {

using int128 = __int128;

// An edge oriented downwards: it crosses rows top..bottom-1.
struct Edge {
    int64_t x0, y0, x1, y1;
};

// First pixel column whose centre lies at or right of the edge on row y
// (the edge crosses the row's centre line): ceil(X - 1/2) with
// X = x0 + (y + 1/2 - y0) (x1 - x0) / (y1 - y0), clamped to [0, width].
int CrossingColumn(const Edge& e, int64_t y, int width) {
    const int128 dy = e.y1 - e.y0;                                  // > 0
    const int128 n = int128{2} * e.x0 * dy + int128{2 * (y - e.y0) + 1} * (e.x1 - e.x0);  // X = n / (2 dy)
    // X - 1/2 = (n - dy) / (2 dy); take the ceiling of that fraction.
    const int128 num = n - dy, den = 2 * dy;
    int128 q = num / den;
    if (num % den != 0 && num > 0) ++q;
    if (q < 0) return 0;
    if (q > width) return width;
    return static_cast<int>(q);
}

}  // namespace

void FillPolygon(Surface16& surface, const Point* points, int count, const Brush& brush) {
    if (points == nullptr || count < 3 || brush.style == Brush::Style::Hollow) return;
    const int64_t height = surface.height();
    std::vector<Edge> edges;
    edges.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const Point a = points[i], b = points[(i + 1) % count];
        if (a.y == b.y) continue;  // a horizontal edge crosses no centre line
        Edge e = a.y < b.y ? Edge{a.x, a.y, b.x, b.y} : Edge{b.x, b.y, a.x, a.y};
        if (e.y1 <= 0 || e.y0 >= height) continue;
        edges.push_back(e);
    }
    if (edges.empty()) return;
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.y0 < b.y0; });

    int64_t y = std::max<int64_t>(0, edges.front().y0);
    size_t next = 0;
    std::vector<const Edge*> active;
    std::vector<int> columns;
    for (; y < height && (next < edges.size() || !active.empty()); ++y) {
        while (next < edges.size() && edges[next].y0 <= y) active.push_back(&edges[next++]);
        active.erase(std::remove_if(active.begin(), active.end(), [y](const Edge* e) { return e->y1 <= y; }),
                     active.end());
        if (active.empty()) {
            if (next < edges.size()) y = edges[next].y0 - 1;  // jump the empty rows
            continue;
        }
        columns.clear();
        for (const Edge* e : active) columns.push_back(CrossingColumn(*e, y, surface.width()));
        std::sort(columns.begin(), columns.end());
        for (size_t k = 0; k + 1 < columns.size(); k += 2)
            painter::BrushSpan(surface, static_cast<int>(y), columns[k], columns[k + 1], brush);
    }
}

}  // namespace plat
