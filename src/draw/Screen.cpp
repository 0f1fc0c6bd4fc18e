// Display set-up: the device, the two screen surfaces, the internal work
// sprites, the pixel format and tables, and the start of the other classes.
// Also the framework-wide error report and the orderly shutdown.
#include <cstring>

#include "draw/DrawInternal.h"
#include "platform/NamedLock.h"
#include "platform/Window.h"
#include "shell/Globals.h"
#include "shell/kaJoystick.h"
#include "shell/kaSystem.h"
#include "sound/kaMusic.h"
#include "sound/kaSound.h"
#include "text/kaFont.h"

plat::DisplayDevice* DDObject = nullptr;
plat::Surface16* DDFront = nullptr;
plat::Surface16* DDBack = nullptr;
void* DDClip = nullptr;

int kaDraw::Width, kaDraw::Height;
int kaDraw::ColorBit = 16;
int kaDraw::RetryColorBit1, kaDraw::RetryColorBit2;
int kaDraw::SearchVideoCard, kaDraw::UseStretch, kaDraw::ErrorCheck;
int kaDraw::Vx1, kaDraw::Vy1, kaDraw::Vx2, kaDraw::Vy2;
plat::Rect kaDraw::RefreshSize, kaDraw::RefreshPos;
uint32_t kaDraw::FpsTime;

namespace {

constexpr const char* kScreenFunction = "kaDraw::Screen";

struct InternalSprite {
    const char* name;
    const char* failure;
};

// Slots 0..3: the Buffer, Screen, Font and Font buffer work sprites.
constexpr InternalSprite kInternalSprites[kadraw::kFirstFreeSlot] = {
    {"内部用１", "Bufferスプライトが生成できません"},
    {"内部用２", "Screenスプライトが生成できません"},
    {"内部用３", "Fontスプライトが生成できません"},
    {"内部用４", "Fontバッファスプライトが生成できません"},
};

bool gExitDone = false;

// Tries the requested depth, then the two fall-back depths if given.
bool EnterDisplayMode() {
    if (plat::SetDisplayMode(kaDraw::Width, kaDraw::Height, kaDraw::ColorBit) == plat::kOk) return true;
    if (kaDraw::RetryColorBit1 == 0) return false;
    kaDraw::ColorBit = kaDraw::RetryColorBit1;
    if (plat::SetDisplayMode(kaDraw::Width, kaDraw::Height, kaDraw::ColorBit) == plat::kOk) return true;
    if (kaDraw::RetryColorBit2 == 0) return false;
    kaDraw::ColorBit = kaDraw::RetryColorBit2;
    return plat::SetDisplayMode(kaDraw::Width, kaDraw::Height, kaDraw::ColorBit) == plat::kOk;
}

void ResetSlot(kaDraw::_sprite& s) {
    s.Object = nullptr;
    s.FileName[0] = '\0';
    s.PackData = 0;
    s.Memory = 2;
    s.Color = 0;
    s.SizeX = 0;
    s.SizeY = 0;
}

}  // namespace

namespace kadraw {

size_t FormatErrorText(char* out, size_t size, const char* function, const char* message) {
    if (size == 0) return 0;
    std::string text = std::string(function ? function : "") + " : " + (message ? message : "");
    size_t n = text.size();
    if (n > size - 1) {
        n = size - 1;
        // Never keep half of a multi-byte character.
        while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    }
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
    return n;
}

}  // namespace kadraw

int kaDraw::Screen(int Width, int Height, int Memory) {
    // Surfaces of this display have no placement; Memory only matters to
    // drivers that distinguish video and system memory.
    (void)Memory;

    DDObject = nullptr;
    DDFront = nullptr;
    DDBack = nullptr;
    DDClip = nullptr;
    ErrorCheck = 0;
    kaDraw::Width = Width;
    kaDraw::Height = Height;
    VirtualScreen(0, 0, Width, Height);

    // One default device; it counts as accelerated only with 3-D support.
    plat::DisplayCaps caps = plat::GetDisplayCaps();
    SearchVideoCard = caps.threeD ? 1 : 0;
    DDObject = plat::OpenDisplay();
    if (DDObject == nullptr) return Error(kScreenFunction, "DirectDrawが使用できません", 0);

    if (plat::Result r = plat::SetCooperativeLevel(_FullScreen != 0); r != plat::kOk)
        return Error(kScreenFunction, "フルスクリーン化できません", static_cast<long>(r));

    if (_FullScreen) {
        if (!EnterDisplayMode()) return Error(kScreenFunction, "解像度が変更できません", 0);
    } else {
        ColorBit = kaSystem::ColorBit();
    }

    DDFront = plat::CreatePrimarySurface();
    if (DDFront == nullptr) return Error(kScreenFunction, "表画面が生成できません", 0);
    DDBack = plat::CreateSurface(Width, Height);
    if (DDBack == nullptr) return Error(kScreenFunction, "裏画面が生成できません", 0);
    // A window clips itself on this platform: no clipper is needed.

    for (int i = 0; i < kadraw::kFirstFreeSlot; ++i) {
        _sprite& s = Sprite[i];
        s.Object = plat::CreateSurface(Width, Height);
        if (s.Object == nullptr) return Error(kScreenFunction, kInternalSprites[i].failure, 0);
        DDSetColorKey(s.Object, 0);
        std::strcpy(s.FileName, kInternalSprites[i].name);
        s.PackData = 0;
        s.Memory = 2;
        s.Color = 0;
        s.SizeX = static_cast<uint16_t>(Width);
        s.SizeY = static_cast<uint16_t>(Height);
    }

    // Only one capability set exists here; it serves as hardware and
    // emulation set alike.
    UseStretch = caps.stretch ? 1 : 0;

    if (!kadraw::DerivePixelFormat(plat::GetPixelFormat()))
        return Error(kScreenFunction, "ピクセル情報が取得できません", 0);

    kadraw::BuildRotateData();
    if (kaSystem::ColorBit() == 16) kadraw::BuildColorTables();

    for (int i = kadraw::kFirstFreeSlot; i < kadraw::kSpriteCount; ++i) ResetSlot(Sprite[i]);

    HelpBMP[0] = HelpBMP[1] = 0;
    RefreshSize = {0, 0, Width, Height};
    RefreshPos = {_WindowX, _WindowY, _WindowX + Width, _WindowY + Height};

    kaSound::Init();
    kaSound::ResetTable();
    kaMusic::Init();
    kaSystem::Init();
    kaFont::Init();
    kaJoystick::Init();
    if (_MouseArea) kaSystem::WindowMouseArea();
    return 1;
}

void kaDraw::VirtualScreen(int X1, int Y1, int X2, int Y2) {
    Vx1 = X1;
    Vy1 = Y1;
    Vx2 = X2;
    Vy2 = Y2;
}

void kaDraw::SetFullColor(int ColorBit1, int ColorBit2, int ColorBit3) {
    ColorBit = ColorBit1;
    RetryColorBit1 = ColorBit2;
    RetryColorBit2 = ColorBit3;
}

int kaDraw::Exit() {
    if (gExitDone) return 1;
    gExitDone = true;
    kaSystem::DestroyObject();
    kaFont::DestroyObject();
    // The tune stops while the sound device still exists; closing the
    // device then frees the synthesizer.
    kaMusic::DestroyObject();
    kaSound::DestroyObject();
    DestroyObject();
    if (_Mutex) {
        plat::ReleaseNamedLock();
        _Mutex = 0;
    }
    if (_CloseEvent == 0) plat::PostMessage(hwnd, WM_CLOSE, 0, 0);
    _CloseEvent = 2;
    return 1;
}

int kaDraw::Error(const char* Function, const char* Message, long Code) {
    // The code is for the debugger only; the user sees the two texts.
    (void)Code;
    char text[256];
    kadraw::FormatErrorText(text, sizeof text, Function, Message);
    if (DDObject != nullptr) plat::FlipToGDISurface();
    kaSound::Beep();
    plat::MessageBox(hwnd, text, "エラー発生", MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
    ErrorCheck = 1;
    return 0;
}

int kaDraw::Error() { return ErrorCheck; }

int kaDraw::ErrorExit() {
    if (ErrorCheck) Exit();
    return ErrorCheck;
}
