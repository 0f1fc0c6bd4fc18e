// Laid-out text on a headless screen: the six-argument Draw and DrawAA of a
// page of about 400 characters with a warm glyph cache, the reduction of a
// whole Font buffer sprite (640x480 source, 320x240 result) against a
// memcpy of one frame in the same run (counter "x_memcpy", the frame memcpy
// of the effect benchmarks), and Show once per frame.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "EffectFixture.h"
#include "draw/kaDraw.h"
#include "platform/Options.h"
#include "shell/Globals.h"
#include "text/kaFont.h"

namespace {

// About 400 characters: kana, kanji, punctuation and some ASCII.
std::string Page() {
    const std::string line = "吾が家の庭に小さな池があり、夏になると蛙が鳴く。Text 123 と日本語を混ぜた文。";
    std::string page;
    while (page.size() < 400 * 3) page += line;
    return page;
}

void OpenScreen() {
    static bool open = false;
    if (open) return;
    plat::Options options;
    options.headless = true;
    plat::SetOptions(options);
    kaDraw::Screen(640, 480, 1);
    open = true;
}

void BM_Draw400(benchmark::State& state) {
    OpenScreen();
    const std::string page = Page();
    kaFont::Begin(1, 16, 0, 0, 0, 0);
    kaFont::Color(0xFFFFFF, 0x202020, 1);
    kaFont::Draw(0, 0, 640, 480, page.c_str(), 0);  // warms the glyph cache
    for (auto _ : state) {
        kaFont::Draw(0, 0, 640, 480, page.c_str(), 0);
        benchmark::ClobberMemory();
    }
    state.counters["characters"] = kaFont::FontCount - 1;
    kaFont::Before();
}
BENCHMARK(BM_Draw400)->Unit(benchmark::kMicrosecond);

void BM_Draw400Shadow(benchmark::State& state) {
    OpenScreen();
    const std::string page = Page();
    kaFont::Begin(1, 16, 0, 0, 0, 0);
    kaFont::Color(0xFFFFFF, 0x202020, 1);
    kaFont::Draw(0, 0, 640, 480, page.c_str(), 0x700);
    for (auto _ : state) {
        kaFont::Draw(0, 0, 640, 480, page.c_str(), 0x700);
        benchmark::ClobberMemory();
    }
    kaFont::Before();
}
BENCHMARK(BM_Draw400Shadow)->Unit(benchmark::kMicrosecond);

void BM_DrawAA400(benchmark::State& state) {
    OpenScreen();
    const std::string page = Page();
    kaFont::BeginAA(1, 16);
    kaFont::Color(0xFFFFFF, 0x202020, 1);
    kaFont::DrawAA(0, 0, 640, 480, page.c_str(), 0);
    for (auto _ : state) {
        kaFont::DrawAA(0, 0, 640, 480, page.c_str(), 0);
        benchmark::ClobberMemory();
    }
    state.counters["characters"] = kaFont::FontCount - 1;
    kaFont::BeforeAA();
}
BENCHMARK(BM_DrawAA400)->Unit(benchmark::kMicrosecond);

// The whole line buffer holding a double-size page.
void BM_DrawAA2FullScreen(benchmark::State& state) {
    OpenScreen();
    const std::string page = Page();
    kaFont::BeginAA(1, 8);
    kaFont::Color(0xFFFFFF, 0x202020, 1);
    kaFont::BeforeAA();
    kaDraw::SpriteClear(3);
    // Fill slot 3 with text of double size over the whole surface.
    kaFont::Begin(1, 32, 0, 0, 0, 0);
    kaFont::Color(0xFFFFFF, 0x202020, 1);
    kaFont::Draw(0, 0, 640, 480, page.c_str(), 0);
    kaFont::Before();
    kaDraw::SpriteLayer(3, 0, 0, 2, 0, 0, 640, 480);
    const double memcpySeconds = fxbench::MemcpySeconds();
    for (auto _ : state) {
        benchmark::DoNotOptimize(kaFont::DrawAA2(0, 0, 0, 0, 640, 480));
        benchmark::ClobberMemory();
    }
    state.counters["x_memcpy"] = benchmark::Counter(static_cast<double>(state.iterations()) * memcpySeconds,
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_DrawAA2FullScreen)->Unit(benchmark::kMicrosecond);

void BM_FrameMemcpyForText(benchmark::State& state) {
    std::vector<uint16_t> a(640 * 480, 0x1234), b(640 * 480);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), a.size() * 2);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FrameMemcpyForText)->Unit(benchmark::kMicrosecond);

// A reveal in progress: about half of the page's cells copied per frame.
void BM_ShowPerFrame(benchmark::State& state) {
    OpenScreen();
    const std::string page = Page();
    kaFont::Begin(1, 16, 0, 0, 0, 0);
    kaFont::Color(0xFFFFFF, 0x202020, 1);
    kaFont::HideDraw(0, 0, 640, 480, page.c_str(), 0);
    kaFont::Before();
    FrameTime = 0;
    kaFont::ShowCount = kaFont::FontCount / 2;
    for (auto _ : state) {
        benchmark::DoNotOptimize(kaFont::Show(1000.0f));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ShowPerFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
