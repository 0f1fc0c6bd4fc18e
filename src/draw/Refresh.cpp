// The end of every frame: the fade overlay (mask tiles or a transition from
// the Screen sprite), the scrolling help page, the vertical-blank wait and
// the copy of the back surface to the visible surface.
#include <cstdlib>

#include "draw/DrawInternal.h"
#include "platform/Blit.h"
#include "platform/Window.h"
#include "shell/Globals.h"

int kaDraw::RefreshMode = 1;
int kaDraw::FadeNo, kaDraw::FadeAdd, kaDraw::FadeType, kaDraw::FadeMax, kaDraw::MaskBMP;
int kaDraw::HelpOn, kaDraw::HelpBMP[2], kaDraw::HelpSize;
float kaDraw::HelpY, kaDraw::HelpBackX, kaDraw::HelpBackY;

namespace {

constexpr int kScreenSprite = 1;
constexpr int kFadeFrames = 10;

void FromScreenSprite(int Px, int Py, int X1, int Y1, int X2, int Y2) {
    kaDraw::DirectLayer(Px, Py, kScreenSprite, X1, Y1, X2, Y2);
}

// One of the ten 64 x 48 frames of the mask strip, tiled over 640 x 480.
void DrawMaskFrame() {
    const int left = (kaDraw::FadeNo - 1) * 64;
    for (int x = 0; x < 10; ++x)
        for (int y = 0; y < 10; ++y) kaDraw::Layer(x * 64, y * 48, kaDraw::MaskBMP, left, 0, left + 64, 48);
}

void DrawHelp() {
    const int backX = static_cast<int>(kaDraw::HelpBackX), backY = static_cast<int>(kaDraw::HelpBackY);
    for (int x = 0; x <= 10; ++x)
        for (int y = 0; y <= 10; ++y) kaDraw::Layer(x * 64 + backX, y * 48 + backY, kaDraw::HelpBMP[1], 0, 0, 64, 48);
    kaDraw::HelpBackX -= FrameTime * 10;
    kaDraw::HelpBackY -= FrameTime * 10;
    if (kaDraw::HelpBackX <= -64) kaDraw::HelpBackX += 64;
    if (kaDraw::HelpBackY <= -48) kaDraw::HelpBackY += 48;

    const int top = static_cast<int>(kaDraw::HelpY);
    const int viewH = kaDraw::Vy2 - kaDraw::Vy1;
    kaDraw::Layer(kaDraw::Vx1, kaDraw::Vy1, kaDraw::HelpBMP[0], 0, top, kaDraw::Vx2 - kaDraw::Vx1, top + viewH);

    switch (HelpKey) {
    case VK_UP: kaDraw::HelpY -= FrameTime * 100; break;
    case VK_LEFT: kaDraw::HelpY -= FrameTime * 300; break;
    case VK_DOWN: kaDraw::HelpY += FrameTime * 100; break;
    case VK_RIGHT: kaDraw::HelpY += FrameTime * 300; break;
    default: break;
    }
    if (kaDraw::HelpY < 0) kaDraw::HelpY = 0;
    if (kaDraw::HelpY > kaDraw::HelpSize - viewH) kaDraw::HelpY = static_cast<float>(kaDraw::HelpSize - viewH);
}

}  // namespace

namespace kadraw {

void DrawFadeTransition() {
    const int N = kaDraw::FadeNo, M = kaDraw::FadeMax, W = kaDraw::Width, H = kaDraw::Height;
    const int type = kaDraw::FadeType;
    // Without enough steps the banded transitions would loop forever, divide
    // by zero or draw a random offset modulo zero: such a frame shows none.
    if ((type == 3 || type == 4) && M < kFadeFrames) return;
    if (type >= 2 && M < 1) return;
    const int back = M - N + 1;  // steps still to go, counting this one
    auto jitter = [back]() { return static_cast<int>(std::rand() % (2 * int64_t{back}) - back); };
    if ((type == 3 || type == 4) && back < 1) return;

    switch (type) {
    case 1:
        for (int y = 0; y < H; ++y)
            if (y % N != 0) FromScreenSprite(0, y, 0, y, W, y + 1);
        break;
    case 2:
        for (int y = 0; y < H; y += M) FromScreenSprite(0, y, 0, y, W, y + N + 1);
        break;
    case 3:
        for (int y = 0; y < H; ++y)
            if (y % N != 0) FromScreenSprite(jitter(), y, 0, y, W, y + 1);
        break;
    case 4:
        for (int y = 0; y < H; y += M) FromScreenSprite(jitter(), y, 0, y, W, y + N + 1);
        break;
    case 5: FromScreenSprite(0, (-H / M) * back, 0, 0, W, H); break;
    case 6: FromScreenSprite(0, (H / M) * back, 0, 0, W, H); break;
    case 7: FromScreenSprite((-W / M) * back, 0, 0, 0, W, H); break;
    case 8: FromScreenSprite((W / M) * back, 0, 0, 0, W, H); break;
    case 9:
        FromScreenSprite(0, ((-H / 2) / M) * back, 0, 0, W, H / 2);
        FromScreenSprite(0, H / 2 + ((H / 2) / M) * back, 0, H / 2, W, H);
        break;
    case 10:
        FromScreenSprite(((-W / 2) / M) * back, 0, 0, 0, W / 2, H);
        FromScreenSprite(W / 2 + ((W / 2) / M) * back, 0, W / 2, 0, W, H);
        break;
    case 11: FromScreenSprite(0, 0, 0, 0, (W / M) * N, H); break;
    case 12: {
        const int x0 = (W / M) * back;
        FromScreenSprite(x0, 0, x0, 0, W, H);
        break;
    }
    default: break;
    }
}

}  // namespace kadraw

void kaDraw::Refresh() {
    if (FadeNo != 0) {
        if (FadeType == 0)
            DrawMaskFrame();
        else
            kadraw::DrawFadeTransition();
        FadeNo += FadeAdd;
        if ((FadeAdd == -1 && FadeNo < 1) || (FadeAdd == 1 && FadeNo > kFadeFrames)) {
            FadeNo = 0;
            FadeAdd = 0;
        }
    }
    if (HelpOn) DrawHelp();
    if (RefreshMode != 0) plat::WaitForVerticalBlank();
    if (DDFront == nullptr || DDBack == nullptr) return;
    if (plat::Blt(*DDFront, RefreshPos, *DDBack, RefreshSize, false) == plat::kErrSurfaceLost) ReloadObject();
}

void kaDraw::SetRefreshMode(int Mode) { RefreshMode = Mode; }

void kaDraw::FadeOut() {
    FadeNo = 1;
    FadeAdd = 1;
}

void kaDraw::FadeIn() {
    FadeNo = kFadeFrames;
    FadeAdd = -1;
}

void kaDraw::LoadMask(const char* FileName) {
    SetSpriteColor(0);
    MaskBMP = LoadObject(FileName, 2);
}

void kaDraw::LoadHelp(const char* FileName1, const char* FileName2, int Size) {
    SetSpriteColor(0);
    if (HelpBMP[0] == 0) {
        HelpBMP[0] = LoadObject(FileName1, 2);
        HelpBMP[1] = LoadObject(FileName2, 2);
    } else {
        // A tile whose first load failed holds 0, the Buffer sprite's number:
        // load it afresh rather than replace the Buffer sprite's image.
        SwapObject(FileName1, HelpBMP[0], 2);
        if (HelpBMP[1] == 0)
            HelpBMP[1] = LoadObject(FileName2, 2);
        else
            SwapObject(FileName2, HelpBMP[1], 2);
    }
    HelpY = 0;
    HelpSize = Size;
}

void kaDraw::Help() {
    if (HelpOn)
        HelpOn = 0;
    else if (HelpSize != 0)
        HelpOn = 1;
}
