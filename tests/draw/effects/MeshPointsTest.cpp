// The mesh layer against its rules written out point by point (the ripple
// worked out afresh for every point), on random sprites, grids, ripples,
// shears, zooms and virtual screens: the layer shares the ripple between
// columns mirrored about the centre, which must not change a single point.
#include <cmath>

#include "EffectTestSupport.h"
#include "draw/effects/EffectPixels.h"

using namespace drawtest;
using namespace fxtest;

namespace {

struct MeshCase {
    int px, py, waveSize, waveCount, step;
    float zoom, angle;
    int obj, x1, y1, x2, y2;
};

// Points in order, later ones over earlier ones, each inside the virtual
// screen and the surface.
std::vector<uint16_t> Reference(const MeshCase& c, std::vector<uint16_t> back) {
    const int64_t left = std::max(kaDraw::Vx1, 0), top = std::max(kaDraw::Vy1, 0);
    const int64_t right = std::min(kaDraw::Vx2, 640), bottom = std::min(kaDraw::Vy2, 480);
    // The drawn area as the layers clip it, then the ripple's W and H.
    int64_t px = c.px, py = c.py, x1 = c.x1, y1 = c.y1, ex = c.x2 - c.x1, ey = c.y2 - c.y1;
    if (px + ex > right) ex = right - px;
    if (py + ey > bottom) ey = bottom - py;
    if (px < left) x1 += left - px, ex -= left - px, px = left;
    if (py < top) y1 += top - py, ey -= top - py, py = top;
    const double w = static_cast<double>(c.x2 - x1), h = static_cast<double>(c.y2 - y1);
    for (int64_t y = 0; y < ey; y += c.step)
        for (int64_t x = 0; x < ex; x += c.step) {
            const float zz = static_cast<float>(2.0 / h * static_cast<double>(y) - 1.0);
            const float xx = static_cast<float>(2.0 / w * static_cast<double>(x) - 1.0);
            const double zz2 = static_cast<double>(zz) * zz, xx2 = static_cast<double>(xx) * xx;
            const double ripple = (std::cos(std::sqrt(xx2 + zz2) * c.waveCount) * std::exp(zz2 - xx2) + 1.0) * c.waveSize / 2.0;
            const float yy = static_cast<float>(ripple + static_cast<double>(y));
            const int64_t tx = px + kafx::SaturatingInt((static_cast<double>(x) + static_cast<double>(y) * c.angle) * c.zoom);
            const int64_t ty = py + kafx::SaturatingInt(static_cast<double>(yy) * c.zoom);
            if (tx < left || tx >= right || ty < top || ty >= bottom) continue;
            back[static_cast<size_t>(ty * 640 + tx)] = Sprite[c.obj].Object->row(static_cast<int>(y1 + y))[x1 + x];
        }
    return back;
}

class MeshPointsTest : public DrawTest {};

}  // namespace

TEST_F(MeshPointsTest, EveryPointLandsWhereTheRulesPutIt) {
    std::mt19937 rng(19);
    auto in = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const int obj = RandomSprite(300, 200, 2);
    for (int n = 0; n < 150; ++n) {
        MeshCase c{};
        c.obj = obj;
        c.x1 = in(0, 299), c.x2 = in(c.x1 + 1, 300), c.y1 = in(0, 199), c.y2 = in(c.y1 + 1, 200);
        c.px = in(-100, 600), c.py = in(-100, 450);
        c.waveSize = in(-30, 60), c.waveCount = in(0, 12), c.step = in(1, 9);
        c.zoom = std::uniform_real_distribution<float>(0.3f, 2.5f)(rng);
        c.angle = n % 3 == 0 ? 0.0f : std::uniform_real_distribution<float>(-1.0f, 1.0f)(rng);
        if (n % 4 == 0)
            kaDraw::VirtualScreen(in(0, 200), in(0, 200), in(300, 700), in(250, 500));
        else
            kaDraw::VirtualScreen(0, 0, 640, 480);
        FillSurface(DDBack, 0x4444);
        const auto expected = Reference(c, Snapshot());
        ASSERT_EQ(kaDraw::MeshLayer(c.px, c.py, c.waveSize, c.waveCount, c.step, c.zoom, c.angle, obj, c.x1, c.y1, c.x2, c.y2), 1);
        ASSERT_TRUE(Snapshot() == expected) << "case " << n;
    }
}
