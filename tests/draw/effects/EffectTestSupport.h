// Shared pieces of the effect layer tests: random sprites and back surfaces,
// a copy of the back surface to compare against, and every layer member as
// one callable taking a destination point and a source rectangle.
#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>

#include <functional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "../DrawFixture.h"

namespace fxtest {

using drawtest::FillSurface;

// Random pixels, about one in five of them 0 (transparent), none of them 0
// when zeros is false. In 5-5-5 the unused top bit stays clear.
inline void Randomise(plat::Surface16* s, uint32_t seed, bool zeros = true) {
    std::mt19937 rng(seed);
    const uint16_t mask = static_cast<uint16_t>(kaDraw::MaskR | kaDraw::MaskG | kaDraw::MaskB);
    for (int y = 0; y < s->height(); ++y)
        for (int x = 0; x < s->width(); ++x) {
            uint16_t v = static_cast<uint16_t>(rng()) & mask;
            if (zeros && rng() % 5 == 0) v = 0;
            if (!zeros && v == 0) v = 1;
            s->row(y)[x] = v;
        }
}

inline int RandomSprite(int w, int h, uint32_t seed, bool zeros = true) {
    int n = kaDraw::CreateObject(w, h, 2);
    Randomise(Sprite[n].Object, seed, zeros);
    return n;
}

// The back surface as it is now, to compare with later.
inline std::vector<uint16_t> Snapshot() {
    std::vector<uint16_t> v;
    for (int y = 0; y < DDBack->height(); ++y) v.insert(v.end(), DDBack->row(y), DDBack->row(y) + DDBack->width());
    return v;
}
inline uint16_t At(const std::vector<uint16_t>& snap, int x, int y) { return snap[static_cast<size_t>(y) * 640 + x]; }

// Number of back pixels outside (x1, y1)-(x2, y2) that differ from snap.
inline int ChangedOutside(const std::vector<uint16_t>& snap, int x1, int y1, int x2, int y2) {
    int n = 0;
    for (int y = 0; y < DDBack->height(); ++y)
        for (int x = 0; x < DDBack->width(); ++x)
            if ((x < x1 || x >= x2 || y < y1 || y >= y2) && DDBack->row(y)[x] != At(snap, x, y)) ++n;
    return n;
}

// A layer member drawing source rectangle (x1, y1)-(x2, y2) of sprite obj at
// (px, py); the rotation family draws into a box of the source's size at
// angle 0, so that every member maps the source one to one (or nearly).
using Member = std::function<int(int px, int py, int obj, int x1, int y1, int x2, int y2)>;
struct NamedMember {
    std::string name;
    Member call;
    bool writesZero = false;    // plots 0 pixels too (the mesh)
    bool readsBack = false;     // the result depends on the back surface
    bool fills = false;         // also fills back rows left of the drawn area (the smear)
};

inline void PrintTo(const NamedMember& m, std::ostream* os) { *os << m.name; }

inline std::vector<NamedMember> AllMembers() {
    using D = kaDraw;
    auto box = [](auto fn) {
        // The far corner in 64 bits, held to int: tests place boxes at the
        // ends of the int range.
        auto corner = [](int p, int a, int b) {
            int64_t v = int64_t{p} + (int64_t{b} - a);
            return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX));
        };
        return [fn, corner](int px, int py, int o, int x1, int y1, int x2, int y2) {
            return fn(px, py, corner(px, x1, x2), corner(py, y1, y2), o, x1, y1, x2, y2);
        };
    };
    return {
        {"Blend", [](int a, int b, int o, int c, int d, int e, int f) { return D::BlendLayer(a, b, o, c, d, e, f); }, false, true},
        {"BlendF", [](int a, int b, int o, int c, int d, int e, int f) { return D::BlendLayer(a, b, 0.3f, o, c, d, e, f); }, false, true},
        {"BlendF3", [](int a, int b, int o, int c, int d, int e, int f) { return D::BlendLayer(a, b, 0.2f, 0.5f, 0.9f, o, c, d, e, f); }, false, true},
        {"BlendI", [](int a, int b, int o, int c, int d, int e, int f) { return D::BlendLayer(a, b, 12, o, c, d, e, f); }, false, true},
        {"BlendI3", [](int a, int b, int o, int c, int d, int e, int f) { return D::BlendLayer(a, b, 3, 16, 29, o, c, d, e, f); }, false, true},
        {"GradF", [](int a, int b, int o, int c, int d, int e, int f) { return D::BlendLayer(a, b, 0.1f, 0.4f, 0.7f, 0, 3, 2, o, c, d, e, f); }, false, true},
        {"GradI", [](int a, int b, int o, int c, int d, int e, int f) { return D::BlendLayer(a, b, 2, 9, 20, 1, 2, 1, o, c, d, e, f); }, false, true},
        {"Add", [](int a, int b, int o, int c, int d, int e, int f) { return D::AddBlendLayer(a, b, o, c, d, e, f); }, false, true},
        {"AddF", [](int a, int b, int o, int c, int d, int e, int f) { return D::AddBlendLayer(a, b, 0.6f, o, c, d, e, f); }, false, true},
        {"Del", [](int a, int b, int o, int c, int d, int e, int f) { return D::DelBlendLayer(a, b, o, c, d, e, f); }, false, true},
        {"Edge", [](int a, int b, int o, int c, int d, int e, int f) { return D::EdgeBlendLayer(a, b, o, c, d, e, f); }, false, true},
        {"Plain", [](int a, int b, int o, int c, int d, int e, int f) { return D::PlainLayer(a, b, 1, 0, 1, o, c, d, e, f); }},
        {"BrightF", [](int a, int b, int o, int c, int d, int e, int f) { return D::BrightLayer(a, b, 0.7f, o, c, d, e, f); }},
        {"BrightF3", [](int a, int b, int o, int c, int d, int e, int f) { return D::BrightLayer(a, b, 0.1f, 0.5f, 1.0f, o, c, d, e, f); }},
        {"BrightI", [](int a, int b, int o, int c, int d, int e, int f) { return D::BrightLayer(a, b, 20, o, c, d, e, f); }},
        {"BrightI3", [](int a, int b, int o, int c, int d, int e, int f) { return D::BrightLayer(a, b, 5, 17, 31, o, c, d, e, f); }},
        {"Shade", [](int a, int b, int o, int c, int d, int e, int f) { return D::ShadeLayer(a, b, 3, o, c, d, e, f); }},
        {"Gray", [](int a, int b, int o, int c, int d, int e, int f) { return D::GrayLayer(a, b, o, c, d, e, f); }},
        {"Mirror", [](int a, int b, int o, int c, int d, int e, int f) { return D::MirrorLayer(a, b, 3, o, c, d, e, f); }},
        {"Mesh", [](int a, int b, int o, int c, int d, int e, int f) { return D::MeshLayer(a, b, 4, 3, 1, 1.0f, 0.0f, o, c, d, e, f); }, true},
        {"Rotate", box([](int a, int b, int g, int h, int o, int c, int d, int e, int f) { return D::RotateLayer(a, b, g, h, 0, o, c, d, e, f); })},
        {"TileRotate", box([](int a, int b, int g, int h, int o, int c, int d, int e, int f) { return D::TileRotateLayer(a, b, g, h, 0, o, c, d, e, f); })},
        {"ZoomRotate", box([](int a, int b, int g, int h, int o, int c, int d, int e, int f) { return D::ZoomRotateLayer(a, b, g, h, 0, 1.0f, o, c, d, e, f); })},
        {"TileZoomRotate", box([](int a, int b, int g, int h, int o, int c, int d, int e, int f) { return D::TileZoomRotateLayer(a, b, g, h, 0, 1.0f, o, c, d, e, f); })},
        {"Mystery", box([](int a, int b, int g, int h, int o, int c, int d, int e, int f) { return D::MysteryLayer(a, b, g, h, 0, 1.0f, 0.0f, 1.0f, 0.0f, 1.0f, 0.5f, 1.0f, o, c, d, e, f); })},
        {"Pick", [](int a, int b, int o, int c, int d, int e, int f) { return D::PickLayer(a, b, 1, 1, o, c, d, e, f); }, false, false, true},
        {"Shift", [](int a, int b, int o, int c, int d, int e, int f) { return D::ShiftLayer(a, b, 0.8f, o, c, d, e, f); }, false, true},
    };
}

}  // namespace fxtest
