// The pixel-format statics derived from the back surface's channel masks and
// the lookup tables the effect layers read: rotation sine, 5-bit channel
// split, blend, additive, subtractive and grey tables, and the fire noise.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "draw/DrawInternal.h"
#include "draw/effects/kaEffect.h"

_getrgb GetRGB[65536];

uint32_t kaDraw::MaskR, kaDraw::MaskG, kaDraw::MaskB;
uint32_t kaDraw::BitR, kaDraw::BitG, kaDraw::BitB;
uint16_t kaDraw::ShiftR, kaDraw::ShiftG, kaDraw::ShiftB;
uint16_t kaDraw::ShiftR2, kaDraw::ShiftG2, kaDraw::ShiftB2;
uint32_t kaDraw::MaskRGB, kaDraw::MaskRGB2, kaDraw::WhiteRGB;
int kaDraw::RotateData[450];
uint16_t kaDraw::BlendList[3][32][32][32];
uint16_t kaDraw::AddBlendList[3][32][32][32];
uint16_t kaDraw::DelBlendList[3][32][32];
uint16_t kaDraw::GrayList[96];

namespace kadraw {

namespace {

// Shifts the mask down to its lowest set bit: the channel's maximum value
// and its bit position.
void SplitMask(uint32_t mask, uint32_t* bit, uint16_t* shift) {
    *bit = mask;
    *shift = 0;
    while ((*bit & 1) == 0) {
        *bit >>= 1;
        ++*shift;
    }
}

// Position of the channel's top five bits.
uint16_t TopFiveShift(uint32_t bit, uint16_t shift) { return bit == 0x3F ? shift + 1 : shift; }

}  // namespace

bool DerivePixelFormat(const plat::PixelFormat& format) {
    // A palettised format has no channel masks; the shift search below would
    // never end on one.
    if (format.maskR == 0 || format.maskG == 0 || format.maskB == 0) return false;
    SplitMask(format.maskR, &kaDraw::BitR, &kaDraw::ShiftR);
    SplitMask(format.maskG, &kaDraw::BitG, &kaDraw::ShiftG);
    SplitMask(format.maskB, &kaDraw::BitB, &kaDraw::ShiftB);
    kaDraw::ShiftR2 = TopFiveShift(kaDraw::BitR, kaDraw::ShiftR);
    kaDraw::ShiftG2 = TopFiveShift(kaDraw::BitG, kaDraw::ShiftG);
    kaDraw::ShiftB2 = TopFiveShift(kaDraw::BitB, kaDraw::ShiftB);
    kaDraw::MaskRGB = ((kaDraw::BitR >> 1) << kaDraw::ShiftR) | ((kaDraw::BitG >> 1) << kaDraw::ShiftG) |
                      ((kaDraw::BitB >> 1) << kaDraw::ShiftB);
    kaDraw::MaskRGB2 = (kaDraw::MaskRGB << 16) | kaDraw::MaskRGB;
    kaDraw::MaskR = format.maskR;
    kaDraw::MaskG = format.maskG;
    kaDraw::MaskB = format.maskB;
    kaDraw::WhiteRGB = (kaDraw::BitR << kaDraw::ShiftR) | (kaDraw::BitG << kaDraw::ShiftG) |
                       (kaDraw::BitB << kaDraw::ShiftB);
    return true;
}

void BuildRotateData() {
    const double pi = std::acos(-1.0);
    for (int i = 0; i < 450; ++i)
        kaDraw::RotateData[i] = static_cast<int>(std::sin(2.0 * pi * i / 360.0) * 360.0);
}

void BuildColorTables() {
    // Channel split: every reachable pixel value gets its channels reduced to
    // five bits. Blue sits at bit 0 in every format we run in.
    std::memset(GetRGB, 0, sizeof GetRGB);
    const int rr = kaDraw::BitR == 0x3F ? 64 : 32;
    const int gg = kaDraw::BitG == 0x3F ? 64 : 32;
    const int bb = kaDraw::BitB == 0x3F ? 64 : 32;
    for (int i = 0; i < rr; ++i) {
        for (int j = 0; j < gg; ++j) {
            for (int k = 0; k < bb; ++k) {
                size_t index = ((static_cast<size_t>(i) << kaDraw::ShiftR) + (static_cast<size_t>(j) << kaDraw::ShiftG) +
                                static_cast<size_t>(k)) & 0xFFFF;
                _getrgb& e = GetRGB[index];
                e.r = static_cast<uint8_t>(rr == 64 ? i >> 1 : i);
                e.g = static_cast<uint8_t>(gg == 64 ? j >> 1 : j);
                e.b = static_cast<uint8_t>(bb == 64 ? k >> 1 : k);
            }
        }
    }

    const uint16_t shift[3] = {kaDraw::ShiftR2, kaDraw::ShiftG2, kaDraw::ShiftB2};
    for (int c = 0; c < 3; ++c) {
        for (int l = 0; l < 32; ++l) {
            for (int a = 0; a < 32; ++a) {
                int fromA = a - l > 0 ? a - l : 0;
                for (int b = 0; b < 32; ++b) {
                    int fromB = b - (31 - l) > 0 ? b - (31 - l) : 0;
                    int cross = fromA + fromB;
                    int add = fromA + b < 31 ? fromA + b : 31;
                    kaDraw::BlendList[c][l][a][b] = static_cast<uint16_t>(cross << shift[c]);
                    kaDraw::AddBlendList[c][l][a][b] = static_cast<uint16_t>(add << shift[c]);
                }
            }
        }
        for (int a = 0; a < 32; ++a)
            for (int b = 0; b < 32; ++b)
                kaDraw::DelBlendList[c][a][b] = static_cast<uint16_t>((a - b > 0 ? a - b : 0) << shift[c]);
    }

    std::memset(kaDraw::GrayList, 0, sizeof kaDraw::GrayList);
    for (int s = 0; s < 94; ++s) kaDraw::GrayList[s] = static_cast<uint16_t>(s / 3);

    // Drawn in index order so that a given seed always yields the same noise.
    for (char& n : kaEffect::FireRandomList) n = static_cast<char>(std::rand() % 3);
}

}  // namespace kadraw
