// Wipes: the virtual-screen rectangle opened or closed a few pixels per
// frame, so that everything a scene draws appears or vanishes behind a
// moving edge. Shapes 1..9: from an edge, from the centre lines, from the
// centre point, and through a bar of EffectSize pixels.
#include <cstdlib>

#include "draw/kaDraw.h"
#include "shell/Globals.h"

int kaDraw::EffectOn, kaDraw::EffectInOut, kaDraw::EffectType, kaDraw::EffectSize;
float kaDraw::EffectSpeed;
int kaDraw::Wx1, kaDraw::Wy1, kaDraw::Wx2, kaDraw::Wy2;
int kaDraw::WipeIn, kaDraw::WipeOut;

namespace {

struct Centre {
    int cx, cy, h;
};

Centre SavedCentre() {
    return {kaDraw::Wx1 + (kaDraw::Wx2 - kaDraw::Wx1) / 2, kaDraw::Wy1 + (kaDraw::Wy2 - kaDraw::Wy1) / 2,
            kaDraw::EffectSize / 2};
}

// Opens one axis by d on both sides; both edges go to full once either gets
// there.
void OpenAxis(int& lo, int& hi, int full1, int full2, int d) {
    lo -= d;
    hi += d;
    if (lo <= full1 || hi >= full2) {
        lo = full1;
        hi = full2;
    }
}

bool IsFull() {
    return kaDraw::Vx1 == kaDraw::Wx1 && kaDraw::Vx2 == kaDraw::Wx2 && kaDraw::Vy1 == kaDraw::Wy1 &&
           kaDraw::Vy2 == kaDraw::Wy2;
}

// Returns true when the wipe-in has reached the saved rectangle.
bool StepIn(int d) {
    int &vx1 = kaDraw::Vx1, &vy1 = kaDraw::Vy1, &vx2 = kaDraw::Vx2, &vy2 = kaDraw::Vy2;
    switch (kaDraw::EffectType) {
    case 1:
        vy1 -= d;
        if (vy1 > kaDraw::Wy1) return false;
        vy1 = kaDraw::Wy1;
        return true;
    case 2:
        vy2 += d;
        if (vy2 < kaDraw::Wy2) return false;
        vy2 = kaDraw::Wy2;
        return true;
    case 3:
        vx1 -= d;
        if (vx1 > kaDraw::Wx1) return false;
        vx1 = kaDraw::Wx1;
        return true;
    case 4:
        vx2 += d;
        if (vx2 < kaDraw::Wx2) return false;
        vx2 = kaDraw::Wx2;
        return true;
    case 5:
        OpenAxis(vy1, vy2, kaDraw::Wy1, kaDraw::Wy2, d);
        return vy1 == kaDraw::Wy1;
    case 6:
        OpenAxis(vx1, vx2, kaDraw::Wx1, kaDraw::Wx2, d);
        return vx1 == kaDraw::Wx1;
    case 7:
        OpenAxis(vx1, vx2, kaDraw::Wx1, kaDraw::Wx2, d);
        OpenAxis(vy1, vy2, kaDraw::Wy1, kaDraw::Wy2, d);
        return IsFull();
    case 8:
        if (vy1 != kaDraw::Wy1 || vy2 != kaDraw::Wy2)
            OpenAxis(vy1, vy2, kaDraw::Wy1, kaDraw::Wy2, d);
        else
            OpenAxis(vx1, vx2, kaDraw::Wx1, kaDraw::Wx2, d);
        return IsFull();
    case 9:
        if (vx1 != kaDraw::Wx1 || vx2 != kaDraw::Wx2)
            OpenAxis(vx1, vx2, kaDraw::Wx1, kaDraw::Wx2, d);
        else
            OpenAxis(vy1, vy2, kaDraw::Wy1, kaDraw::Wy2, d);
        return IsFull();
    default:
        // An unknown shape moves nothing and never ends.
        return false;
    }
}

// Closes one axis by d on both sides, stopping at the bar of 2h around c.
void NarrowToBar(int& lo, int& hi, int c, int h, int d) {
    lo += d;
    hi -= d;
    if (lo >= c - h || hi <= c + h) {
        lo = c - h;
        hi = c + h;
    }
}

// Returns true when the wipe-out has closed the screen.
bool StepOut(int d) {
    int &vx1 = kaDraw::Vx1, &vy1 = kaDraw::Vy1, &vx2 = kaDraw::Vx2, &vy2 = kaDraw::Vy2;
    const Centre c = SavedCentre();
    switch (kaDraw::EffectType) {
    case 1: vy1 += d; return vy1 >= kaDraw::Wy2;
    case 2: vy2 -= d; return vy2 <= kaDraw::Wy1;
    case 3: vx1 += d; return vx1 >= kaDraw::Wx2;
    case 4: vx2 -= d; return vx2 <= kaDraw::Wx1;
    case 5:
        vy1 += d;
        vy2 -= d;
        return vy1 >= vy2;
    case 6:
        vx1 += d;
        vx2 -= d;
        return vx1 >= vx2;
    case 7:
        vx1 += d;
        vx2 -= d;
        vy1 += d;
        vy2 -= d;
        if (vx1 >= vx2) vx1 = vx2 = c.cx;
        if (vy1 >= vy2) vy1 = vy2 = c.cy;
        return vx1 == vx2 && vy1 == vy2;
    case 8:
        if (vx1 != c.cx - c.h && vx2 != c.cx + c.h) {
            NarrowToBar(vx1, vx2, c.cx, c.h, d);
            return false;
        }
        vy1 += d;
        vy2 -= d;
        return vy1 >= vy2;
    case 9:
        if (vy1 != c.cy - c.h && vy2 != c.cy + c.h) {
            NarrowToBar(vy1, vy2, c.cy, c.h, d);
            return false;
        }
        vx1 += d;
        vx2 -= d;
        return vx1 >= vx2;
    default: return false;
    }
}

}  // namespace

int kaDraw::SetWipe(int InOut, int Type, float Speed, int Size) {
    if (EffectOn > 0) return 0;
    if (EffectOn == -1) VirtualScreen(Wx1, Wy1, Wx2, Wy2);
    Wx1 = Vx1;
    Wy1 = Vy1;
    Wx2 = Vx2;
    Wy2 = Vy2;
    if (Type == 0) Type = std::rand() % 9 + 1;
    WipeIn = WipeOut = 0;
    EffectInOut = InOut;
    EffectType = Type;
    EffectSpeed = Speed;
    EffectSize = Size;

    if (InOut != 0) {
        EffectOn = 2;
        return 1;
    }
    EffectOn = 1;
    const Centre c = SavedCentre();
    switch (Type) {
    case 1: Vy1 = Wy2; break;
    case 2: Vy2 = Wy1; break;
    case 3: Vx1 = Wx2; break;
    case 4: Vx2 = Wx1; break;
    case 5: Vy1 = Vy2 = c.cy; break;
    case 6: Vx1 = Vx2 = c.cx; break;
    case 7:
        Vx1 = Vx2 = c.cx;
        Vy1 = Vy2 = c.cy;
        break;
    case 8:
        Vy1 = Vy2 = c.cy;
        Vx1 = c.cx - c.h;
        Vx2 = c.cx + c.h;
        break;
    case 9:
        Vx1 = Vx2 = c.cx;
        Vy1 = c.cy - c.h;
        Vy2 = c.cy + c.h;
        break;
    default: break;
    }
    return 1;
}

void kaDraw::SetWipeOut() {
    Wx1 = Vx1;
    Wy1 = Vy1;
    Wx2 = Vx2;
    Wy2 = Vy2;
    Vx2 = Vx1;
    Vy2 = Vy1;
    EffectOn = -1;
}

int kaDraw::Wipe() {
    if (EffectOn <= 0) return 0;
    // At least one pixel per frame, however short the frame.
    const int d = static_cast<int>(FrameTime * EffectSpeed) + 1;
    if (EffectInOut == 0) {
        if (StepIn(d)) {
            EffectOn = 0;
            WipeIn = 1;
        }
    } else if (StepOut(d)) {
        EffectOn = -1;
        WipeOut = 1;
    }
    return 1;
}
