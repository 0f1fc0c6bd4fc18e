// Vector drawing on the 640x480 back surface: kaDraw::Line, Box and
// FillPattern side by side with SDL2's software renderer on an RGB565
// surface drawing the same shapes (SDL has neither wide pens nor hatches:
// the wide lines are matched with two-triangle quads and the hatched polygon
// with a solid triangle fan, both less work than ours). Results per batch.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <vector>

#include "draw/kaDraw.h"
#include "platform/Options.h"

namespace {

constexpr int kWidth = 640, kHeight = 480;
constexpr uint32_t kColor = 0x40C0FF, kBack = 0x802010;  // 0x00BBGGRR

void OpenOurScreen() {
    static bool open = false;
    if (open) return;
    plat::Options options;
    options.headless = true;
    plat::SetOptions(options);
    kaDraw::Screen(kWidth, kHeight, 1);
    open = true;
}

struct SdlCanvas {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, 16, SDL_PIXELFORMAT_RGB565);
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(surface);
    SdlCanvas() { SDL_SetRenderDrawColor(renderer, 0xFF, 0xC0, 0x40, 0xFF); }
    ~SdlCanvas() {
        SDL_DestroyRenderer(renderer);
        SDL_FreeSurface(surface);
    }
};

SdlCanvas& Sdl() {
    static SdlCanvas canvas;
    return canvas;
}

// ---- Shapes: the same for both -------------------------------------------------------

// 200 lines from the centre to points all round the border.
struct Segment {
    int x1, y1, x2, y2;
};
const std::vector<Segment>& Fan() {
    static const std::vector<Segment> fan = [] {
        std::vector<Segment> v;
        for (int i = 0; i < 50; ++i) {
            const int x = i * kWidth / 50, y = i * kHeight / 50;
            v.push_back({320, 240, x, 0});
            v.push_back({320, 240, kWidth - 1 - x, kHeight - 1});
            v.push_back({320, 240, 0, kHeight - 1 - y});
            v.push_back({320, 240, kWidth - 1, y});
        }
        return v;
    }();
    return fan;
}

// 48 boxes of 100 x 80 tiling most of the screen.
SDL_Rect BoxAt(int i) { return {(i % 8) * 78 + 10, (i / 8) * 76 + 10, 100, 80}; }
constexpr int kBoxes = 48;

// A hexagon of radius 200 round the centre.
const std::vector<tagPOINT>& Hexagon() {
    static const std::vector<tagPOINT> hex = {{520, 240}, {420, 413}, {220, 413}, {120, 240}, {220, 67}, {420, 67}};
    return hex;
}

// ---- Lines -------------------------------------------------------------------------------

void BM_Line1_Ours(benchmark::State& state) {
    OpenOurScreen();
    for (auto _ : state) {
        for (const Segment& s : Fan()) kaDraw::Line(s.x1, s.y1, s.x2, s.y2, kColor, 1);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Line1_Ours);

void BM_Line1_Sdl(benchmark::State& state) {
    SdlCanvas& c = Sdl();
    for (auto _ : state) {
        for (const Segment& s : Fan()) SDL_RenderDrawLine(c.renderer, s.x1, s.y1, s.x2, s.y2);
        SDL_RenderFlush(c.renderer);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Line1_Sdl);

void BM_Line5_Ours(benchmark::State& state) {
    OpenOurScreen();
    for (auto _ : state) {
        for (const Segment& s : Fan()) kaDraw::Line(s.x1, s.y1, s.x2, s.y2, kColor, 5);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Line5_Ours);

// Width-5 quads without caps, as two triangles each.
void BM_Line5_SdlQuads(benchmark::State& state) {
    SdlCanvas& c = Sdl();
    std::vector<SDL_Vertex> vertices;
    for (const Segment& s : Fan()) {
        const float dx = float(s.x2 - s.x1), dy = float(s.y2 - s.y1);
        const float len = SDL_sqrtf(dx * dx + dy * dy);
        const float nx = -dy / len * 2.5f, ny = dx / len * 2.5f;
        const SDL_Color col{0xFF, 0xC0, 0x40, 0xFF};
        const SDL_Vertex a{{s.x1 + nx, s.y1 + ny}, col, {}}, b{{s.x1 - nx, s.y1 - ny}, col, {}};
        const SDL_Vertex e{{s.x2 + nx, s.y2 + ny}, col, {}}, f{{s.x2 - nx, s.y2 - ny}, col, {}};
        vertices.insert(vertices.end(), {a, b, e, b, f, e});
    }
    for (auto _ : state) {
        SDL_RenderGeometry(c.renderer, nullptr, vertices.data(), static_cast<int>(vertices.size()), nullptr, 0);
        SDL_RenderFlush(c.renderer);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Line5_SdlQuads);

// ---- Boxes -----------------------------------------------------------------------------

void BM_Box_Ours(benchmark::State& state) {
    OpenOurScreen();
    for (auto _ : state) {
        for (int i = 0; i < kBoxes; ++i) {
            const SDL_Rect r = BoxAt(i);
            kaDraw::Box(r.x, r.y, r.x + r.w, r.y + r.h, kBack, kColor, 1);
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Box_Ours);

void BM_Box_Sdl(benchmark::State& state) {
    SdlCanvas& c = Sdl();
    for (auto _ : state) {
        for (int i = 0; i < kBoxes; ++i) {
            const SDL_Rect r = BoxAt(i);
            SDL_SetRenderDrawColor(c.renderer, 0x10, 0x20, 0x80, 0xFF);
            SDL_RenderFillRect(c.renderer, &r);
            SDL_SetRenderDrawColor(c.renderer, 0xFF, 0xC0, 0x40, 0xFF);
            SDL_RenderDrawRect(c.renderer, &r);
        }
        SDL_RenderFlush(c.renderer);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Box_Sdl);

// ---- Polygons ----------------------------------------------------------------------------

void BM_FillPattern_Ours(benchmark::State& state) {
    OpenOurScreen();
    std::vector<tagPOINT> hex = Hexagon();
    const int flag = static_cast<int>(state.range(0));
    for (auto _ : state) {
        kaDraw::FillPattern(hex.data(), static_cast<int>(hex.size()), kColor, kBack, 1, flag);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FillPattern_Ours)->Arg(1)->Arg(2);

// The same hexagon filled solid as a triangle fan, then its outline.
void BM_FillPattern_SdlSolid(benchmark::State& state) {
    SdlCanvas& c = Sdl();
    const std::vector<tagPOINT>& hex = Hexagon();
    std::vector<SDL_Vertex> fan;
    const SDL_Color col{0xFF, 0xC0, 0x40, 0xFF};
    for (size_t k = 1; k + 1 < hex.size(); ++k)
        for (size_t i : {size_t{0}, k, k + 1}) fan.push_back({{float(hex[i].x), float(hex[i].y)}, col, {}});
    std::vector<SDL_Point> outline;
    for (const tagPOINT& p : hex) outline.push_back({p.x, p.y});
    outline.push_back(outline.front());
    for (auto _ : state) {
        SDL_RenderGeometry(c.renderer, nullptr, fan.data(), static_cast<int>(fan.size()), nullptr, 0);
        SDL_RenderDrawLines(c.renderer, outline.data(), static_cast<int>(outline.size()));
        SDL_RenderFlush(c.renderer);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FillPattern_SdlSolid);

}  // namespace
