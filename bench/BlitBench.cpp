// Copies and fills of 640x480 16-bit frames: our blitters side by side with
// SDL2 doing the same work on RGB565 SDL_Surfaces, and a plain memcpy of one
// frame as the bandwidth limit. Results are per frame.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <cstring>
#include <memory>
#include <vector>

#include "platform/Blit.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kTile = 32;
constexpr int kTilesX = kWidth / kTile;   // 20
constexpr int kTilesY = kHeight / kTile;  // 15: 300 tiles fill the screen
constexpr uint16_t kKey = 0xF81F;         // magenta, a common transparent colour
constexpr size_t kFrameBytes = size_t{kWidth} * kHeight * 2;

// A sheet of 32x32 sprites: each one a disc of colour on the key, about 30 %
// of the pixels being key, as in the corners around a round sprite.
uint16_t SheetPixel(int x, int y) {
    int tx = x % kTile - kTile / 2, ty = y % kTile - kTile / 2;
    if (tx * tx + ty * ty > 15 * 15) return kKey;  // 31 % of the tile
    uint32_t h = static_cast<uint32_t>(x) * 2654435761u ^ static_cast<uint32_t>(y) * 40503u;
    uint16_t p = static_cast<uint16_t>(h >> 8);
    return p == kKey ? p ^ 1 : p;
}

uint16_t BackPixel(int x, int y) { return static_cast<uint16_t>(x * 31 + y * 1021); }

// A tile position in the sheet for tile number n of the map.
void TileSource(int n, int* sx, int* sy) {
    *sx = (n * 7 % kTilesX) * kTile;
    *sy = (n * 3 % kTilesY) * kTile;
}

// ---- Our surfaces -------------------------------------------------------------

struct OurScene {
    plat::Surface16 sheet{kWidth, kHeight};
    plat::Surface16 back{kWidth, kHeight};
    plat::Surface16 present{kWidth, kHeight};

    OurScene() {
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                sheet.row(y)[x] = SheetPixel(x, y);
                back.row(y)[x] = BackPixel(x, y);
            }
        sheet.setColorKey(kKey);
    }
};

OurScene& Ours() {
    static OurScene scene;
    return scene;
}

// ---- SDL's surfaces -----------------------------------------------------------

struct SdlScene {
    SDL_Surface* sheet;
    SDL_Surface* rleSheet;  // the same pixels, run-length encoded by SDL
    SDL_Surface* back;
    SDL_Surface* present;

    static SDL_Surface* Make() {
        return SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, 16, SDL_PIXELFORMAT_RGB565);
    }
    static void Paint(SDL_Surface* s, uint16_t (*pixel)(int, int)) {
        for (int y = 0; y < kHeight; ++y) {
            auto* row = reinterpret_cast<uint16_t*>(static_cast<uint8_t*>(s->pixels) + y * s->pitch);
            for (int x = 0; x < kWidth; ++x) row[x] = pixel(x, y);
        }
    }

    SdlScene() : sheet(Make()), rleSheet(Make()), back(Make()), present(Make()) {
        Paint(sheet, SheetPixel);
        Paint(rleSheet, SheetPixel);
        Paint(back, BackPixel);
        SDL_SetColorKey(sheet, SDL_TRUE, kKey);
        SDL_SetColorKey(rleSheet, SDL_TRUE, kKey);
        SDL_SetSurfaceRLE(rleSheet, 1);
    }
};

SdlScene& Sdl() {
    static SdlScene scene;
    return scene;
}

void CountFrames(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kFrameBytes));
}

// ---- The bandwidth limit ------------------------------------------------------

void BM_Memcpy_Frame(benchmark::State& state) {
    std::vector<uint16_t> a(kFrameBytes / 2, 0x1234), b(kFrameBytes / 2);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), kFrameBytes);
        benchmark::ClobberMemory();
    }
    CountFrames(state);
}
BENCHMARK(BM_Memcpy_Frame);

// ---- (a) A tile-map frame: clear, 300 keyed tiles, present ------------------

void BM_TileMapFrame_Ours(benchmark::State& state) {
    OurScene& s = Ours();
    const plat::Rect screen{0, 0, kWidth, kHeight};
    for (auto _ : state) {
        plat::Fill(s.back, screen, 0);
        for (int n = 0; n < kTilesX * kTilesY; ++n) {
            int sx, sy;
            TileSource(n, &sx, &sy);
            plat::BltFast(s.back, n % kTilesX * kTile, n / kTilesX * kTile, s.sheet, {sx, sy, sx + kTile, sy + kTile},
                          true);
        }
        plat::BltFast(s.present, 0, 0, s.back, screen, false);
        benchmark::ClobberMemory();
    }
    CountFrames(state);
}
BENCHMARK(BM_TileMapFrame_Ours);

void TileMapFrameSdl(benchmark::State& state, SDL_Surface* sheet) {
    SdlScene& s = Sdl();
    for (auto _ : state) {
        SDL_FillRect(s.back, nullptr, 0);
        for (int n = 0; n < kTilesX * kTilesY; ++n) {
            int sx, sy;
            TileSource(n, &sx, &sy);
            SDL_Rect from{sx, sy, kTile, kTile};
            SDL_Rect to{n % kTilesX * kTile, n / kTilesX * kTile, kTile, kTile};
            SDL_BlitSurface(sheet, &from, s.back, &to);
        }
        SDL_BlitSurface(s.back, nullptr, s.present, nullptr);
        benchmark::ClobberMemory();
    }
    CountFrames(state);
}

void BM_TileMapFrame_Sdl(benchmark::State& state) { TileMapFrameSdl(state, Sdl().sheet); }
void BM_TileMapFrame_SdlRle(benchmark::State& state) { TileMapFrameSdl(state, Sdl().rleSheet); }
BENCHMARK(BM_TileMapFrame_Sdl);
BENCHMARK(BM_TileMapFrame_SdlRle);

// The same 300 tiles at positions off the 32-pixel grid, as sprites land.
void BM_SpritesUnaligned_Ours(benchmark::State& state) {
    OurScene& s = Ours();
    for (auto _ : state) {
        for (int n = 0; n < kTilesX * kTilesY; ++n) {
            int sx, sy;
            TileSource(n, &sx, &sy);
            int x = (n * 211) % (kWidth - kTile), y = (n * 97) % (kHeight - kTile);
            plat::BltFast(s.back, x, y, s.sheet, {sx, sy, sx + kTile, sy + kTile}, true);
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SpritesUnaligned_Ours);

void BM_SpritesUnaligned_Sdl(benchmark::State& state) {
    SdlScene& s = Sdl();
    for (auto _ : state) {
        for (int n = 0; n < kTilesX * kTilesY; ++n) {
            int sx, sy;
            TileSource(n, &sx, &sy);
            SDL_Rect from{sx, sy, kTile, kTile};
            SDL_Rect to{(n * 211) % (kWidth - kTile), (n * 97) % (kHeight - kTile), kTile, kTile};
            SDL_BlitSurface(s.sheet, &from, s.back, &to);
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SpritesUnaligned_Sdl);

// One keyed 32x32 tile, in cache: the cost of a call.
void BM_KeyedTile32_Ours(benchmark::State& state) {
    OurScene& s = Ours();
    for (auto _ : state) {
        plat::BltFast(s.back, 64, 64, s.sheet, {32, 0, 64, 32}, true);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_KeyedTile32_Ours);

void BM_KeyedTile32_Sdl(benchmark::State& state) {
    SdlScene& s = Sdl();
    for (auto _ : state) {
        SDL_Rect from{32, 0, kTile, kTile}, to{64, 64, kTile, kTile};
        SDL_BlitSurface(s.sheet, &from, s.back, &to);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_KeyedTile32_Sdl);

// ---- (b) Full-screen keyed copy -------------------------------------------------

void BM_KeyedFullFrame_Ours(benchmark::State& state) {
    OurScene& s = Ours();
    for (auto _ : state) {
        plat::BltFast(s.back, 0, 0, s.sheet, {0, 0, kWidth, kHeight}, true);
        benchmark::ClobberMemory();
    }
    CountFrames(state);
}
BENCHMARK(BM_KeyedFullFrame_Ours);

void BM_KeyedFullFrame_Sdl(benchmark::State& state) {
    SdlScene& s = Sdl();
    for (auto _ : state) {
        SDL_BlitSurface(s.sheet, nullptr, s.back, nullptr);
        benchmark::ClobberMemory();
    }
    CountFrames(state);
}
BENCHMARK(BM_KeyedFullFrame_Sdl);

void BM_KeyedFullFrame_SdlRle(benchmark::State& state) {
    SdlScene& s = Sdl();
    for (auto _ : state) {
        SDL_BlitSurface(s.rleSheet, nullptr, s.back, nullptr);
        benchmark::ClobberMemory();
    }
    CountFrames(state);
}
BENCHMARK(BM_KeyedFullFrame_SdlRle);

// ---- (c) Full-screen opaque copy ------------------------------------------------

void BM_OpaqueFullFrame_Ours(benchmark::State& state) {
    OurScene& s = Ours();
    for (auto _ : state) {
        plat::BltFast(s.present, 0, 0, s.back, {0, 0, kWidth, kHeight}, false);
        benchmark::ClobberMemory();
    }
    CountFrames(state);
}
BENCHMARK(BM_OpaqueFullFrame_Ours);

void BM_OpaqueFullFrame_Sdl(benchmark::State& state) {
    SdlScene& s = Sdl();
    for (auto _ : state) {
        SDL_BlitSurface(s.back, nullptr, s.present, nullptr);
        benchmark::ClobberMemory();
    }
    CountFrames(state);
}
BENCHMARK(BM_OpaqueFullFrame_Sdl);

// ---- (d) Full-screen fill: black (the clear) and a colour -----------------------

void FillOurs(benchmark::State& state, uint16_t value) {
    OurScene& s = Ours();
    for (auto _ : state) {
        plat::Fill(s.back, {0, 0, kWidth, kHeight}, value);
        benchmark::ClobberMemory();
    }
    CountFrames(state);
}

void FillSdl(benchmark::State& state, uint16_t value) {
    SdlScene& s = Sdl();
    for (auto _ : state) {
        SDL_FillRect(s.back, nullptr, value);
        benchmark::ClobberMemory();
    }
    CountFrames(state);
}

void BM_FillBlack_Ours(benchmark::State& state) { FillOurs(state, 0); }
void BM_FillBlack_Sdl(benchmark::State& state) { FillSdl(state, 0); }
void BM_FillColour_Ours(benchmark::State& state) { FillOurs(state, 0x7BEF); }
void BM_FillColour_Sdl(benchmark::State& state) { FillSdl(state, 0x7BEF); }
BENCHMARK(BM_FillBlack_Ours);
BENCHMARK(BM_FillBlack_Sdl);
BENCHMARK(BM_FillColour_Ours);
BENCHMARK(BM_FillColour_Sdl);

// A fill starting on an odd pixel, so the row head and tail are single pixels.
void BM_FillColourOddRect_Ours(benchmark::State& state) {
    OurScene& s = Ours();
    for (auto _ : state) {
        plat::Fill(s.back, {1, 1, kWidth - 2, kHeight - 1}, 0x7BEF);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FillColourOddRect_Ours);

}  // namespace

BENCHMARK_MAIN();
