// Every effect layer once over a full 640x480 area (the random sprite of
// EffectFixture.h, about 20 % transparent, over a random back surface), each
// reporting its time as a multiple of a frame memcpy measured in the same
// run ("x_memcpy", see EffectFixture.h), and beside them the peers doing the same work: SDL2's
// 16-bit blit with surface alpha modulation, pixman's r5g6b5 composites
// (OVER with a solid 50 % mask, ADD, nearest-filter affine rotation) and
// SDL2_gfx's rotozoomSurface.
//
// Fixed parameters: weights 0.5f (or 0.25f/0.5f/0.75f per channel), levels
// 16 (or 8/16/24), gradients horizontal from column 320 stepping every 8,
// Shade 2, mirror both ways, mesh (WaveSize 4, WaveCount 3, Step 4, Zoom 1,
// Angle 0), rotations 30 degrees (zoom 1.5 where zoomed), the mystery zooms
// 1.0 + 0.001 per row, smear from column 320, displacement 0.5, stretch of a
// 320x240 quarter to 640x480.
#include <SDL.h>

#include <cmath>

#include "EffectFixture.h"
#include "draw/effects/EdgeLoans.h"

#if KA_HAVE_PIXMAN
#include <pixman.h>
#endif
#if KA_HAVE_SDL2_GFX
#include <SDL2_rotozoom.h>
#endif

namespace {

using fxbench::RunCase;
using fxbench::TheScene;
using D = kaDraw;

constexpr int W = fxbench::kWidth, H = fxbench::kHeight;

#define FX_CASE(name, call)                                       \
    void BM_Fx_##name(benchmark::State& state) {                  \
        const int s = TheScene().sprite;                          \
        RunCase(state, [s] { benchmark::DoNotOptimize(call); });  \
    }                                                             \
    BENCHMARK(BM_Fx_##name)

void BM_Fx_Memcpy(benchmark::State& state) {
    std::vector<uint16_t> a(fxbench::kFramePixels, 0x1234), b(fxbench::kFramePixels);
    RunCase(state, [&] { std::memcpy(b.data(), a.data(), fxbench::kFramePixels * 2); });  // about 1 by definition
}
BENCHMARK(BM_Fx_Memcpy);

// ---- Blend and brightness layers ------------------------------------------------
FX_CASE(Blend, D::BlendLayer(0, 0, s, 0, 0, W, H));
FX_CASE(BlendFloat, D::BlendLayer(0, 0, 0.5f, s, 0, 0, W, H));
FX_CASE(BlendFloat3, D::BlendLayer(0, 0, 0.25f, 0.5f, 0.75f, s, 0, 0, W, H));
FX_CASE(BlendInt, D::BlendLayer(0, 0, 16, s, 0, 0, W, H));
FX_CASE(BlendInt3, D::BlendLayer(0, 0, 8, 16, 24, s, 0, 0, W, H));
FX_CASE(GradientFloat, D::BlendLayer(0, 0, 0.25f, 0.5f, 0.75f, 0, 320, 8, s, 0, 0, W, H));
FX_CASE(GradientInt, D::BlendLayer(0, 0, 8, 16, 24, 0, 320, 8, s, 0, 0, W, H));
FX_CASE(AddBlend, D::AddBlendLayer(0, 0, s, 0, 0, W, H));
FX_CASE(AddBlendFloat, D::AddBlendLayer(0, 0, 0.5f, s, 0, 0, W, H));
FX_CASE(DelBlend, D::DelBlendLayer(0, 0, s, 0, 0, W, H));
FX_CASE(EdgeBlend, D::EdgeBlendLayer(0, 0, s, 0, 0, W, H));
// The same through the portable kernel (its best build for this machine).
void BM_Fx_EdgeBlendPortable(benchmark::State& state) {
    const int s = TheScene().sprite;
    kafx::AllowAvx512EdgeRows(false);
    RunCase(state, [s] { benchmark::DoNotOptimize(D::EdgeBlendLayer(0, 0, s, 0, 0, W, H)); });
    kafx::AllowAvx512EdgeRows(true);
}
BENCHMARK(BM_Fx_EdgeBlendPortable);
FX_CASE(Plain, D::PlainLayer(0, 0, 1, 0, 1, s, 0, 0, W, H));
FX_CASE(BrightFloat, D::BrightLayer(0, 0, 0.5f, s, 0, 0, W, H));
FX_CASE(BrightFloat3, D::BrightLayer(0, 0, 0.25f, 0.5f, 0.75f, s, 0, 0, W, H));
FX_CASE(BrightInt, D::BrightLayer(0, 0, 16, s, 0, 0, W, H));
FX_CASE(BrightInt3, D::BrightLayer(0, 0, 8, 16, 24, s, 0, 0, W, H));
FX_CASE(Shade, D::ShadeLayer(0, 0, 2, s, 0, 0, W, H));
FX_CASE(Gray, D::GrayLayer(0, 0, s, 0, 0, W, H));

// ---- Geometric layers -------------------------------------------------------------
FX_CASE(Mirror, D::MirrorLayer(0, 0, 3, s, 0, 0, W, H));
FX_CASE(Mesh, D::MeshLayer(0, 0, 4, 3, 4, 1.0f, 0.0f, s, 0, 0, W, H));
FX_CASE(Rotate, D::RotateLayer(0, 0, W, H, 30, s, 0, 0, W, H));
FX_CASE(TileRotate, D::TileRotateLayer(0, 0, W, H, 30, s, 0, 0, W, H));
FX_CASE(ZoomRotate, D::ZoomRotateLayer(0, 0, W, H, 30, 1.5f, s, 0, 0, W, H));
FX_CASE(TileZoomRotate, D::TileZoomRotateLayer(0, 0, W, H, 30, 1.5f, s, 0, 0, W, H));
FX_CASE(Mystery, D::MysteryLayer(0, 0, W, H, 30, 1.0f, 0.001f, 1.0f, 0.001f, 1.0f, 0.5f, 1.0f, s, 0, 0, W, H));
FX_CASE(Pick, D::PickLayer(0, 0, 0, 320, s, 0, 0, W, H));
FX_CASE(Shift, D::ShiftLayer(0, 0, 0.5f, s, 0, 0, W, H));

// The stretch against the keyed copy of the same size, the direct stretch
// against the opaque one.
void BM_Fx_KeyedCopy(benchmark::State& state) {
    const int s = TheScene().sprite;
    RunCase(state, [s] { D::Layer(0, 0, s, 0, 0, W, H); });
}
BENCHMARK(BM_Fx_KeyedCopy);
void BM_Fx_OpaqueCopy(benchmark::State& state) {  // what the direct stretch is measured against
    const int s = TheScene().sprite;
    RunCase(state, [s] { D::DirectLayer(0, 0, s, 0, 0, W, H); });
}
BENCHMARK(BM_Fx_OpaqueCopy);
void BM_Fx_Stretch(benchmark::State& state) {
    const int s = TheScene().sprite;
    D::UseStretch = 1;
    RunCase(state, [s] { D::StretchLayer(0, 0, s, 0, 0, W / 2, H / 2, W, H); });
}
BENCHMARK(BM_Fx_Stretch);
void BM_Fx_DirectStretch(benchmark::State& state) {
    const int s = TheScene().sprite;
    D::UseStretch = 1;
    RunCase(state, [s] { D::DirectStretchLayer(0, 0, s, 0, 0, W / 2, H / 2, W, H); });
}
BENCHMARK(BM_Fx_DirectStretch);

// ---- Peers ----------------------------------------------------------------------

struct SdlPeers {
    SDL_Surface* src;
    SDL_Surface* dst;
    SdlPeers() {
        auto& scene = TheScene();
        src = SDL_CreateRGBSurfaceWithFormat(0, W, H, 16, SDL_PIXELFORMAT_RGB565);
        dst = SDL_CreateRGBSurfaceWithFormat(0, W, H, 16, SDL_PIXELFORMAT_RGB565);
        for (int y = 0; y < H; ++y) {
            std::memcpy(static_cast<uint8_t*>(src->pixels) + y * src->pitch, &scene.spritePixels[size_t{W} * y], W * 2);
            std::memcpy(static_cast<uint8_t*>(dst->pixels) + y * dst->pitch, &scene.backPixels[size_t{W} * y], W * 2);
        }
        SDL_SetColorKey(src, SDL_TRUE, 0);  // 0 transparent, as in the layers
    }
};
SdlPeers& Sdl() {
    static SdlPeers peers;
    return peers;
}

void BM_Peer_SdlAlphaModBlit(benchmark::State& state) {
    SdlPeers& p = Sdl();
    SDL_SetSurfaceBlendMode(p.src, SDL_BLENDMODE_BLEND);
    SDL_SetSurfaceAlphaMod(p.src, 128);
    RunCase(state, [&] { SDL_BlitSurface(p.src, nullptr, p.dst, nullptr); });
    SDL_SetSurfaceAlphaMod(p.src, 255);
    SDL_SetSurfaceBlendMode(p.src, SDL_BLENDMODE_NONE);
}
BENCHMARK(BM_Peer_SdlAlphaModBlit);

#if KA_HAVE_SDL2_GFX
void BM_Peer_SdlGfxRotozoom(benchmark::State& state) {
    SdlPeers& p = Sdl();
    RunCase(state, [&] { SDL_FreeSurface(rotozoomSurface(p.src, 30.0, 1.0, SMOOTHING_OFF)); });
}
BENCHMARK(BM_Peer_SdlGfxRotozoom);
#endif

#if KA_HAVE_PIXMAN
struct PixmanPeers {
    std::vector<uint16_t> src, dst;
    pixman_image_t* srcImage;
    pixman_image_t* rotSource;
    pixman_image_t* dstImage;
    pixman_image_t* half;
    PixmanPeers() : src(TheScene().spritePixels), dst(TheScene().backPixels) {
        srcImage = pixman_image_create_bits(PIXMAN_r5g6b5, W, H, reinterpret_cast<uint32_t*>(src.data()), W * 2);
        rotSource = pixman_image_create_bits(PIXMAN_r5g6b5, W, H, reinterpret_cast<uint32_t*>(src.data()), W * 2);
        dstImage = pixman_image_create_bits(PIXMAN_r5g6b5, W, H, reinterpret_cast<uint32_t*>(dst.data()), W * 2);
        pixman_color_t grey{0, 0, 0, 0x8000};
        half = pixman_image_create_solid_fill(&grey);
        // 30 degrees about the centre, nearest neighbour.
        pixman_f_transform_t f;
        pixman_f_transform_init_translate(&f, -W / 2.0, -H / 2.0);
        pixman_f_transform_rotate(&f, nullptr, std::cos(M_PI / 6), std::sin(M_PI / 6));
        pixman_f_transform_translate(&f, nullptr, W / 2.0, H / 2.0);
        pixman_transform_t t;
        pixman_transform_from_pixman_f_transform(&t, &f);
        pixman_image_set_transform(rotSource, &t);
        pixman_image_set_filter(rotSource, PIXMAN_FILTER_NEAREST, nullptr, 0);
    }
};
PixmanPeers& Pixman() {
    static PixmanPeers peers;
    return peers;
}

void BM_Peer_PixmanOverHalfMask(benchmark::State& state) {
    PixmanPeers& p = Pixman();
    RunCase(state, [&] { pixman_image_composite32(PIXMAN_OP_OVER, p.srcImage, p.half, p.dstImage, 0, 0, 0, 0, 0, 0, W, H); });
}
BENCHMARK(BM_Peer_PixmanOverHalfMask);

void BM_Peer_PixmanAdd(benchmark::State& state) {
    PixmanPeers& p = Pixman();
    RunCase(state, [&] { pixman_image_composite32(PIXMAN_OP_ADD, p.srcImage, nullptr, p.dstImage, 0, 0, 0, 0, 0, 0, W, H); });
}
BENCHMARK(BM_Peer_PixmanAdd);

void BM_Peer_PixmanRotateNearest(benchmark::State& state) {
    PixmanPeers& p = Pixman();
    RunCase(state, [&] { pixman_image_composite32(PIXMAN_OP_SRC, p.rotSource, nullptr, p.dstImage, 0, 0, 0, 0, 0, 0, W, H); });
}
BENCHMARK(BM_Peer_PixmanRotateNearest);
#endif

}  // namespace
