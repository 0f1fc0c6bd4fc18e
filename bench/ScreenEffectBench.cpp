// The distortion and pattern layers, the tunnel, the light rays and the
// screen effects over a full 640x480 frame, each with its time as a multiple
// of one frame memcpy measured in the same run (the counter x_memcpy, from
// the shared effect fixture), next to one full-frame keyed Layer and to
// SDL2's and pixman's scaling for the enlargements.
#include <benchmark/benchmark.h>
#if KA_HAVE_PIXMAN
#include <pixman.h>
#endif

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "EffectFixture.h"
#include "draw/effects/kaEffect.h"
#include "shell/Globals.h"

namespace {

using fxbench::kHeight;
using fxbench::kWidth;
constexpr int kW = kWidth, kH = kHeight;
constexpr size_t kFrameBytes = fxbench::kFramePixels * 2;

// Beside the shared scene: a tunnel texture, a sparse sprite for the light
// rays (one opaque pixel in about a thousand) and a small dense one.
struct Extras {
    int sprite = 0;   // the shared 640x480 sprite, ~20 % transparent
    int texture = 0;  // 256x256
    int sparse = 0;   // 640x480
    int dense = 0;    // 64x64, all opaque
};

void RestoreBack();

Extras& Up() {
    fxbench::Scene& scene = fxbench::TheScene();
    static Extras e = [&scene] {
        Extras x;
        x.sprite = scene.sprite;
        std::mt19937 rng(7);
        auto make = [&rng](int w, int h) {
            const int n = kaDraw::CreateObject(w, h, 2);
            for (int y = 0; y < h; ++y)
                for (int i = 0; i < w; ++i) Sprite[n].Object->row(y)[i] = fxbench::RandomPixel(rng, false);
            return n;
        };
        x.texture = make(256, 256);
        x.dense = make(64, 64);
        x.sparse = kaDraw::CreateObject(kW, kH, 2);
        for (int y = 0; y < kH; y += 31)
            for (int i = (y * 7) % 32; i < kW; i += 32) Sprite[x.sparse].Object->row(y)[i] = 0xFFFF;
        return x;
    }();
    RestoreBack();
    FrameTime = 1.0f / 60;
    return e;
}

void RestoreBack() {
    const fxbench::Scene& scene = fxbench::TheScene();
    for (int y = 0; y < kH; ++y) std::memcpy(DDBack->row(y), &scene.backPixels[static_cast<size_t>(y) * kW], kW * 2);
}

// The ratio to one frame memcpy, as the shared fixture reports it.
void ReportRatio(benchmark::State& state) {
    state.counters["x_memcpy"] = benchmark::Counter(static_cast<double>(state.iterations()) * fxbench::MemcpySeconds(),
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Runs `body` once per iteration; the effects that change the back surface
// in place get a fresh copy of the back picture first (not timed).
template <typename Body>
void Timed(benchmark::State& state, Body body, bool freshBack = false) {
    Extras& e = Up();
    for (auto _ : state) {
        if (freshBack) {
            state.PauseTiming();
            RestoreBack();
            state.ResumeTiming();
        }
        body(e);
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
    Timed(state, [](Extras& s) { kaDraw::Layer(0, 0, s.sprite, 0, 0, kW, kH); });
}
BENCHMARK(BM_Fx2_KeyedLayer);

// ---- Row-copying layers (target: at most 2x one keyed Layer) ------------------------

#define FX2_CASE(name, call) \
    void BM_Fx2_##name(benchmark::State& state) { Timed(state, [](Extras& s) { call; }); } \
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
    Timed(state, [](Extras&) { kaDraw::CreateTunnel(256, 256, kW, kH, -1, -1, -1, 0, 0, 0); });
}
BENCHMARK(BM_Fx2_CreateTunnel)->Unit(benchmark::kMillisecond);

void BM_Fx2_TunnelLayer(benchmark::State& state) {
    Up();
    kaDraw::CreateTunnel(256, 256, kW, kH, -1, -1, -1, 0, 0, 0);
    int turn = 0;
    Timed(state, [&turn](Extras& s) {
        kaDraw::TunnelLayer(0, 0, turn, turn * 2, s.texture);
        ++turn;
    });
}
BENCHMARK(BM_Fx2_TunnelLayer);

FX2_CASE(LightLayerSparse, kaDraw::LightLayer(0, 0, 0, 0, 0, 0xFF, 1, s.sparse, 0, 0, kW, kH));
FX2_CASE(LightLayerDense64, kaDraw::LightLayer(288, 208, 1, 1, 1, 0xFF, 1, s.dense, 0, 0, 64, 64));

// ---- Screen effects (in place: the back picture is restored untimed) ------------

#define FX2_FRESH(name, call) \
    void BM_Fx2_##name(benchmark::State& state) { Timed(state, [](Extras&) { call; }, true); } \
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
    Up();
    std::memcpy(src->pixels, fxbench::TheScene().backPixels.data(), kFrameBytes);
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

#if KA_HAVE_PIXMAN
void PixmanScale(benchmark::State& state, int k) {
    Up();
    std::vector<uint16_t> from(fxbench::TheScene().backPixels), to(kFrameBytes / 2);
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
#endif

}  // namespace
