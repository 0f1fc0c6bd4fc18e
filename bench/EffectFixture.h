// Shared set-up of the effect benchmarks: a headless 640x480 5-6-5 screen, a
// random full-screen sprite (about 20 % of its pixels 0, i.e. transparent)
// over a random back surface, and the frame memcpy that every effect case is
// measured against in the same run (counter "x_memcpy": time / memcpy time).
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <random>
#include <vector>

#include "draw/kaDraw.h"
#include "platform/Options.h"

namespace fxbench {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr size_t kFramePixels = size_t{kWidth} * kHeight;

// Random 5-6-5 pixels; with zeros, about one in five is 0.
inline uint16_t RandomPixel(std::mt19937& rng, bool zeros) {
    uint16_t v = static_cast<uint16_t>(rng());
    if (zeros && rng() % 5 == 0) return 0;
    return v == 0 ? 1 : v;
}

struct Scene {
    int sprite = 0;              // the 640x480 sprite
    std::vector<uint16_t> spritePixels, backPixels;

    Scene() {
        plat::Options options;
        options.headless = true;
        plat::SetOptions(options);
        kaDraw::Screen(kWidth, kHeight, 1);
        sprite = kaDraw::CreateObject(kWidth, kHeight, 2);
        std::mt19937 rng(1234);
        spritePixels.resize(kFramePixels);
        backPixels.resize(kFramePixels);
        for (auto& p : spritePixels) p = RandomPixel(rng, true);
        for (auto& p : backPixels) p = RandomPixel(rng, false);
        for (int y = 0; y < kHeight; ++y) {
            std::memcpy(Sprite[sprite].Object->row(y), &spritePixels[static_cast<size_t>(y) * kWidth], kWidth * 2);
            std::memcpy(DDBack->row(y), &backPixels[static_cast<size_t>(y) * kWidth], kWidth * 2);
        }
    }
};

inline Scene& TheScene() {
    static Scene scene;
    return scene;
}

// Seconds of one frame memcpy (614,400 bytes), the best of several batches,
// measured once per run.
inline double MemcpySeconds() {
    static const double seconds = [] {
        std::vector<uint16_t> a(kFramePixels, 0x1234), b(kFramePixels);
        double best = 1e9;
        for (int batch = 0; batch < 20; ++batch) {
            auto t0 = std::chrono::steady_clock::now();
            for (int i = 0; i < 50; ++i) {
                std::memcpy(b.data(), a.data(), kFramePixels * 2);
                benchmark::ClobberMemory();
            }
            std::chrono::duration<double> dt = std::chrono::steady_clock::now() - t0;
            best = std::min(best, dt.count() / 50);
        }
        return best;
    }();
    return seconds;
}

// Runs body once per iteration and reports the ratio to the memcpy.
template <typename Body>
void RunCase(benchmark::State& state, Body&& body) {
    TheScene();
    const double base = MemcpySeconds();
    for (auto _ : state) {
        body();
        benchmark::ClobberMemory();
    }
    state.counters["x_memcpy"] = benchmark::Counter(static_cast<double>(state.iterations()) * base,
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace fxbench
