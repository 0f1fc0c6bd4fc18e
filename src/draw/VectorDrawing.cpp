// kaDraw's vector drawing on the back surface: reading a pixel's colour,
// pixels, lines, boxes, hatched polygons and Bézier curves. Each call draws
// straight onto the back surface through the painter with a context of its
// own, so a caller's kaDraw::GetDC stays untouched; nothing clips to the
// virtual screen, the painter clips to the surface.
#include <vector>

#include "draw/kaDraw.h"
#include "platform/Painter.h"

namespace {

// The back surface held for one drawing call, or nothing when there is no
// back surface or it cannot be locked (then the call draws nothing).
class BackSurface {
public:
    BackSurface() {
        void* bits = nullptr;
        long pitch = 0;
        if (DDBack != nullptr && DDBack->lock(&bits, &pitch) == plat::kOk) surface_ = DDBack;
    }
    ~BackSurface() {
        if (surface_ != nullptr) surface_->unlock();
    }
    BackSurface(const BackSurface&) = delete;
    BackSurface& operator=(const BackSurface&) = delete;

    explicit operator bool() const { return surface_ != nullptr; }
    plat::Surface16& operator*() const { return *surface_; }

private:
    plat::Surface16* surface_ = nullptr;
};

uint16_t ToPixel(uint32_t color) { return plat::PixelFromColorRef(plat::GetPixelFormat(), color); }

plat::Pen PenOf(uint32_t color, int size) { return {ToPixel(color), size}; }

// The caller's points in the painter's form; empty for no points.
const std::vector<plat::Point>& PointsOf(const tagPOINT* points, int count) {
    static std::vector<plat::Point> copy;  // kept: the drawing calls run on the main thread only
    copy.clear();
    if (points == nullptr || count <= 0) return copy;
    copy.resize(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) copy[static_cast<size_t>(i)] = {points[i].x, points[i].y};
    return copy;
}

}  // namespace

void kaDraw::GetColor(int x, int y, int* Red, int* Green, int* Blue) {
    // A point off the surface (or no surface) reads as black.
    uint32_t color = 0;
    if (BackSurface back{}) {
        uint16_t pixel = 0;
        if (plat::GetPixel(*back, x, y, &pixel)) color = plat::ColorRefFromPixel(plat::GetPixelFormat(), pixel);
    }
    if (Red != nullptr) *Red = static_cast<int>(color & 0xFF);
    if (Green != nullptr) *Green = static_cast<int>((color >> 8) & 0xFF);
    if (Blue != nullptr) *Blue = static_cast<int>((color >> 16) & 0xFF);
}

void kaDraw::Pixel(int Px, int Py, uint32_t Color) {
    if (BackSurface back{}) plat::SetPixel(*back, Px, Py, ToPixel(Color));
}

void kaDraw::Line(int X1, int Y1, int X2, int Y2, uint32_t Color, int Size) {
    if (BackSurface back{}) plat::DrawLine(*back, {X1, Y1}, {X2, Y2}, PenOf(Color, Size));
}

void kaDraw::Box(int X1, int Y1, int X2, int Y2, uint32_t Color1, uint32_t Color2, int Size) {
    if (BackSurface back{})
        plat::DrawBox(*back, X1, Y1, X2, Y2, plat::Brush::Solid(ToPixel(Color1)), PenOf(Color2, Size));
}

void kaDraw::FillPattern(tagPOINT* Point, int Count, uint32_t FrontColor, uint32_t BackColor, int PenSize,
                         int DrawFlag) {
    BackSurface back;
    if (!back) return;
    const plat::Brush brush = DrawFlag == 0 ? plat::Brush::Hollow()
                                            : plat::Brush::Hatch(ToPixel(FrontColor), ToPixel(BackColor), DrawFlag != 2);
    const std::vector<plat::Point>& points = PointsOf(Point, Count);
    plat::DrawPolygon(*back, points.data(), static_cast<int>(points.size()), brush, PenOf(FrontColor, PenSize));
}

void kaDraw::Bezier(tagPOINT* Point, int Count, uint32_t Color, int Size) {
    BackSurface back;
    if (!back) return;
    const std::vector<plat::Point>& points = PointsOf(Point, Count);
    plat::DrawBezier(*back, points.data(), static_cast<int>(points.size()), PenOf(Color, Size));
}
