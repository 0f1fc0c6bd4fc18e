// Random figures through the painter: any coordinates in the int range, any
// pen width, any brush, on a small surface. Nothing may be written outside
// the surface (the row padding beyond its width stays zero) and every call
// must finish.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/Painter.h"

namespace {

class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool empty() const { return pos_ >= size_; }
    uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    int32_t Int() {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v = v << 8 | Byte();
        return static_cast<int32_t>(v);
    }
    // Mostly near the surface, sometimes anywhere in the int range.
    int Coordinate() {
        const uint8_t kind = Byte();
        if (kind < 192) return static_cast<int>(Byte()) - 96;
        return Int();
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

plat::Point PointOf(Input& in) {
    const int x = in.Coordinate();
    return {x, in.Coordinate()};
}

plat::Pen PenOf(Input& in) {
    const uint8_t w = in.Byte();
    return {static_cast<uint16_t>(in.Byte() | 1), w < 250 ? w % 12 : in.Int()};
}

plat::Brush BrushOf(Input& in) {
    switch (in.Byte() % 4) {
    case 0:
        return plat::Brush::Hollow();
    case 1:
        return plat::Brush::Solid(0x1234);
    default:
        return plat::Brush::Hatch(0x5555, 0x2222, in.Byte() & 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    const int w = 1 + in.Byte() % 40, h = 1 + in.Byte() % 40;
    plat::Surface16 s(w, h);
    std::vector<plat::Point> points;
    for (int op = 0; op < 16 && !in.empty(); ++op) {
        switch (in.Byte() % 5) {
        case 0: {
            const plat::Point a = PointOf(in), b = PointOf(in);
            plat::DrawLine(s, a, b, PenOf(in));
            break;
        }
        case 1: {
            const plat::Point a = PointOf(in), b = PointOf(in);
            const plat::Brush brush = BrushOf(in);
            plat::DrawBox(s, a.x, a.y, b.x, b.y, brush, PenOf(in));
            break;
        }
        case 2:
        case 3: {
            points.clear();
            const int n = in.Byte() % 12;
            for (int i = 0; i < n; ++i) points.push_back(PointOf(in));
            const plat::Brush brush = BrushOf(in);
            const plat::Pen pen = PenOf(in);
            if (op % 2) {
                plat::DrawPolygon(s, points.data(), n, brush, pen);
            } else {
                plat::DrawBezier(s, points.data(), n, pen);
            }
            break;
        }
        case 4: {
            const plat::Point a = PointOf(in);
            plat::SetPixel(s, a.x, a.y, 7);
            break;
        }
        }
    }
    for (int y = 0; y < s.height(); ++y)
        for (int x = s.width(); x < s.pitchPixels(); ++x)
            if (s.row(y)[x] != 0) std::abort();
    return 0;
}
