// Shared set-up of the effect benchmarks: a headless 640x480 5-6-5 screen, a
// random full-screen sprite (about 20 % of its pixels 0, i.e. transparent)
// over a random back surface, and the frame memcpy that every effect case is
// measured against in the same run (counter "x_memcpy": time / memcpy time;
// Google Benchmark prints it with an "s" because it is an inverted rate).
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
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

// CPU seconds of this thread: on a loaded machine wall time mostly measures
// the other processes, and Google Benchmark's rates use CPU time too.
inline double ThreadSeconds() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

// CPU seconds of one frame memcpy (614,400 bytes between two buffers of
// their own): the median of 31 batches of 20, measured once per run, before
// the first case.
inline double MemcpySeconds() {
    static const double seconds = [] {
        std::vector<uint16_t> a(kFramePixels, 0x1234), b(kFramePixels);
        std::vector<double> batches;
        for (int batch = 0; batch < 31; ++batch) {
            const double t0 = ThreadSeconds();
            for (int i = 0; i < 20; ++i) {
                std::memcpy(b.data(), a.data(), kFramePixels * 2);
                benchmark::ClobberMemory();
            }
            batches.push_back((ThreadSeconds() - t0) / 20);
        }
        std::nth_element(batches.begin(), batches.begin() + 15, batches.end());
        return batches[15];
    }();
    return seconds;
}

// Runs body once per iteration and reports "x_memcpy", its CPU time per
// iteration over MemcpySeconds().
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
