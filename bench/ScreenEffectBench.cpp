// The distortion and pattern layers, the tunnel, the light rays and the
// screen effects over a full 640x480 frame, each with its time as a multiple
// of one frame memcpy measured in the same run (the counter x_memcpy), next
// to one full-frame keyed Layer and to SDL2's and pixman's scaling for the
// enlargements. Fixed inputs: a random sprite with about 20 % key pixels
// over a random back surface.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <SDL.h>

#include <algorithm>
#include <ctime>
#include <cstring>
#include <random>
#include <vector>

#include "draw/kaDraw.h"
#include "draw/effects/kaEffect.h"
#include "platform/Options.h"
#include "shell/Globals.h"

namespace {

constexpr int kW = 640, kH = 480;
constexpr size_t kFrameBytes = size_t{kW} * kH * 2;

double CpuSeconds() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

// CPU seconds of one frame memcpy, the median of 21 copies made just now:
// the machine is shared, and its load changes from one case to the next.
double MemcpySeconds() {
    static std::vector<uint16_t> a(kFrameBytes / 2, 0x1234), b(kFrameBytes / 2);
    std::vector<double> runs;
    for (int run = 0; run < 21; ++run) {
        const double t0 = CpuSeconds();
        std::memcpy(b.data(), a.data(), kFrameBytes);
        benchmark::ClobberMemory();
        runs.push_back(CpuSeconds() - t0);
    }
    std::nth_element(runs.begin(), runs.begin() + 10, runs.end());
    return runs[10];
}

// The per-iteration CPU time divided by one memcpy.
void ReportRatio(benchmark::State& state) {
    state.counters["x_memcpy"] =
        benchmark::Counter(MemcpySeconds(), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

struct Scene {
    int sprite = 0;   // 640x480, ~20 % black (the key)
    int texture = 0;  // 256x256 tunnel texture
    int sparse = 0;   // 640x480, one opaque pixel in a thousand
    int dense = 0;    // 64x64, all opaque
    std::vector<uint16_t> back;
};

Scene& Up() {
    static Scene scene = [] {
        plat::Options options;
        options.headless = true;
        plat::SetOptions(options);
        kaDraw::Screen(kW, kH, 1);
        Scene s;
        std::mt19937 rng(7);
        auto paint = [&](int n, int w, int h, int keyPercent) {
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    uint16_t p = static_cast<uint16_t>(rng() | 1);
                    Sprite[n].Object->row(y)[x] = static_cast<int>(rng() % 1000) < keyPercent * 10 ? 0 : p;
                }
        };
        s.sprite = kaDraw::CreateObject(kW, kH, 2);
        paint(s.sprite, kW, kH, 20);
        s.texture = kaDraw::CreateObject(256, 256, 2);
        paint(s.texture, 256, 256, 0);
        s.sparse = kaDraw::CreateObject(kW, kH, 2);
        paint(s.sparse, kW, kH, 100);
        for (int y = 0; y < kH; y += 31)
            for (int x = (y * 7) % 32; x < kW; x += 32) Sprite[s.sparse].Object->row(y)[x] = 0xFFFF;
        s.dense = kaDraw::CreateObject(64, 64, 2);
        paint(s.dense, 64, 64, 0);
        s.back.resize(kFrameBytes / 2);
        for (uint16_t& p : s.back) p = static_cast<uint16_t>(rng());
        return s;
    }();
    std::memcpy(DDBack->row(0), scene.back.data(), kFrameBytes);
    FrameTime = 1.0f / 60;
    return scene;
}

// Runs `body` once per iteration on a fresh copy of the back picture for the
// effects that change it in place (the copy is not timed).
template <typename Body>
void Timed(benchmark::State& state, Body body, bool freshBack = false) {
    Scene& s = Up();
    for (auto _ : state) {
        if (freshBack) {
            state.PauseTiming();
            std::memcpy(DDBack->row(0), s.back.data(), kFrameBytes);
            state.ResumeTiming();
        }
        body(s);
        benchmark::ClobberMemory();
    }
    ReportRatio(state);
}

// ---- Baselines ------------------------------------------------------------------

void BM_Fx2_FrameMemcpy(benchmark::State& state) {
    std::vector<uint16_t> a(kFrameBytes / 2, 0x1234), b(kFrameBytes / 2);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), kFrameBytes);
        benchmark::ClobberMemory();
    }
    ReportRatio(state);
}
BENCHMARK(BM_Fx2_FrameMemcpy);

void BM_Fx2_KeyedLayer(benchmark::State& state) {
    Timed(state, [](Scene& s) { kaDraw::Layer(0, 0, s.sprite, 0, 0, kW, kH); });
}
BENCHMARK(BM_Fx2_KeyedLayer);

// ---- Row-copying layers (target: at most 2x one keyed Layer) ------------------------

#define FX2_CASE(name, call) \
    void BM_Fx2_##name(benchmark::State& state) { Timed(state, [](Scene& s) { call; }); } \
    BENCHMARK(BM_Fx2_##name)

FX2_CASE(WaveLayer, kaDraw::WaveLayer(0, 0, 8, 0, 90.0f, s.sprite, 0, 0, kW, kH, 1));
FX2_CASE(TileLayer, kaDraw::TileLayer(30.0f, 20.0f, s.sprite, 0, 0, 160, 120));
FX2_CASE(RollWaveLayer, kaDraw::RollWaveLayer(0, 0, 8, 2, 90.0f, 40.0f, s.sprite, 0, 0, kW, kH));
FX2_CASE(TileRollWaveLayer, kaDraw::TileRollWaveLayer(0, kH, 8, 2, 90.0f, 40.0f, s.sprite, 0, 0, 160, 120));
FX2_CASE(MosaicLayer, kaDraw::MosaicLayer(0, 0, 4, s.sprite, 0, 0, kW, kH));
FX2_CASE(LineLayer, kaDraw::LineLayer(0, 0, 2, s.sprite, 0, 0, kW, kH));
FX2_CASE(RandomLayer, kaDraw::RandomLayer(0, 0, 4, s.sprite, 0, 0, kW, kH));
FX2_CASE(WaterfallLayer, kaDraw::WaterfallLayer(0, 0, 1, 60.0f, s.sprite, 0, 0, kW, kH));

// ---- The tunnel and the light rays ------------------------------------------------

void BM_Fx2_CreateTunnel(benchmark::State& state) {
    Timed(state, [](Scene&) { kaDraw::CreateTunnel(256, 256, kW, kH, -1, -1, -1, 0, 0, 0); });
}
BENCHMARK(BM_Fx2_CreateTunnel)->Unit(benchmark::kMillisecond);

void BM_Fx2_TunnelLayer(benchmark::State& state) {
    Up();
    kaDraw::CreateTunnel(256, 256, kW, kH, -1, -1, -1, 0, 0, 0);
    int turn = 0;
    Timed(state, [&turn](Scene& s) {
        kaDraw::TunnelLayer(0, 0, turn, turn * 2, s.texture);
        ++turn;
    });
}
BENCHMARK(BM_Fx2_TunnelLayer);

FX2_CASE(LightLayerSparse, kaDraw::LightLayer(0, 0, 0, 0, 0, 0xFF, 1, s.sparse, 0, 0, kW, kH));
FX2_CASE(LightLayerDense64, kaDraw::LightLayer(288, 208, 1, 1, 1, 0xFF, 1, s.dense, 0, 0, 64, 64));

// ---- Screen effects (in place: the back picture is restored untimed) ------------

#define FX2_FRESH(name, call) \
    void BM_Fx2_##name(benchmark::State& state) { Timed(state, [](Scene&) { call; }, true); } \
    BENCHMARK(BM_Fx2_##name)

FX2_FRESH(Fire, kaEffect::Fire(0, 0, kW, kH));
FX2_FRESH(FireFading, kaEffect::Fire(1, 0, 1, 0, 0, kW, kH));
FX2_FRESH(Shade, kaEffect::Shade(0, 0, kW, kH));
FX2_FRESH(ShadeFading, kaEffect::Shade(1, 1, 1, 0, 0, kW, kH));
FX2_FRESH(Mosaic, kaEffect::Mosaic(320, 240, 400, 8));
FX2_FRESH(Noise, kaEffect::Noise(1, 0, 0, kW, kH));
FX2_FRESH(NoiseFlagged, kaEffect::Noise(1, 0, 1, 1, 0, 0, kW, kH));
FX2_FRESH(Zoom2, kaEffect::Zoom2(0, 0, kW / 2, kH / 2, 0));
FX2_FRESH(Zoom2Mesh, kaEffect::Zoom2(0, 0, kW / 2, kH / 2, 1));
FX2_FRESH(Zoom4, kaEffect::Zoom4(0, 0, kW / 4, kH / 4, 0));

// ---- Peers for the enlargements: the same 2x and 4x nearest scaling --------------

void SdlScale(benchmark::State& state, int k) {
    SDL_Surface* src = SDL_CreateRGBSurfaceWithFormat(0, kW, kH, 16, SDL_PIXELFORMAT_RGB565);
    SDL_Surface* dst = SDL_CreateRGBSurfaceWithFormat(0, kW, kH, 16, SDL_PIXELFORMAT_RGB565);
    std::memcpy(src->pixels, Up().back.data(), kFrameBytes);
    SDL_Rect from{0, 0, kW / k, kH / k}, to{0, 0, kW, kH};
    for (auto _ : state) {
        SDL_BlitScaled(src, &from, dst, &to);
        benchmark::ClobberMemory();
    }
    ReportRatio(state);
    SDL_FreeSurface(src);
    SDL_FreeSurface(dst);
}
void BM_Fx2_Zoom2_SdlBlitScaled(benchmark::State& state) { SdlScale(state, 2); }
void BM_Fx2_Zoom4_SdlBlitScaled(benchmark::State& state) { SdlScale(state, 4); }
BENCHMARK(BM_Fx2_Zoom2_SdlBlitScaled);
BENCHMARK(BM_Fx2_Zoom4_SdlBlitScaled);

void PixmanScale(benchmark::State& state, int k) {
    std::vector<uint16_t> from(Up().back), to(kFrameBytes / 2);
    pixman_image_t* src = pixman_image_create_bits(PIXMAN_r5g6b5, kW, kH, reinterpret_cast<uint32_t*>(from.data()), kW * 2);
    pixman_image_t* dst = pixman_image_create_bits(PIXMAN_r5g6b5, kW, kH, reinterpret_cast<uint32_t*>(to.data()), kW * 2);
    pixman_transform_t t;
    pixman_transform_init_scale(&t, pixman_double_to_fixed(1.0 / k), pixman_double_to_fixed(1.0 / k));
    pixman_image_set_transform(src, &t);
    pixman_image_set_filter(src, PIXMAN_FILTER_NEAREST, nullptr, 0);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_SRC, src, nullptr, dst, 0, 0, 0, 0, 0, 0, kW, kH);
        benchmark::ClobberMemory();
    }
    ReportRatio(state);
    pixman_image_unref(src);
    pixman_image_unref(dst);
}
void BM_Fx2_Zoom2_Pixman(benchmark::State& state) { PixmanScale(state, 2); }
void BM_Fx2_Zoom4_Pixman(benchmark::State& state) { PixmanScale(state, 4); }
BENCHMARK(BM_Fx2_Zoom2_Pixman);
BENCHMARK(BM_Fx2_Zoom4_Pixman);

}  // namespace
