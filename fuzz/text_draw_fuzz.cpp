// Fuzz entry point for laid-out text on a headless screen: random byte
// strings, rectangles, sizes and effect words through the six-argument Draw
// and DrawAA, then Show. Everything must end, stay inside the surfaces and
// keep FontCount inside the record table.
#include <cstdlib>
#include <cstring>
#include <string>

#include "draw/kaDraw.h"
#include "platform/Options.h"
#include "shell/Globals.h"
#include "text/kaFont.h"

// The framework calls these of a program; the fuzzer has none.
void kaCreate() {}
void MainScreen() {}

namespace {

struct Input {
    const uint8_t* data;
    size_t size;
    int Int(int lo, int hi) {
        uint32_t v = 0;
        for (int i = 0; i < 4 && size > 0; ++i, ++data, --size) v = v << 8 | *data;
        return lo + static_cast<int>(v % static_cast<uint32_t>(hi - lo + 1));
    }
};

bool gOpen = false;

void CloseScreen() {
    kaFont::DestroyObject();  // releases fontconfig, which leaks otherwise
    kaDraw::DestroyObject();
}

}  // namespace

// The screen and the fonts are opened once, before the first input, so that
// their lasting allocations are not taken for leaks of an input.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    plat::Options options;
    options.headless = true;
    plat::SetOptions(options);
    gOpen = kaDraw::Screen(640, 480, 1) == 1;
    std::atexit(CloseScreen);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!gOpen || size < 16) return 0;
    Input in{data, size};
    const int kind = in.Int(0, 3);
    const int fontSize = in.Int(-40, 120);
    int x1 = in.Int(-700, 1300), y1 = in.Int(-500, 1000);
    int x2 = in.Int(-700, 1300), y2 = in.Int(-500, 1000);
    if (kind == 3) x1 = INT32_MIN + in.Int(0, 100), y2 = INT32_MAX - in.Int(0, 100);
    const unsigned short effect = static_cast<unsigned short>(in.Int(0, 0xFFFF));
    const std::string text(reinterpret_cast<const char*>(in.data), in.size);
    kaDraw::VirtualScreen(in.Int(-100, 100), in.Int(-100, 100), 640 - in.Int(-100, 100), 480 - in.Int(-100, 100));
    if (kind % 2 == 0) {
        kaFont::Begin(in.Int(0, 2), fontSize, in.Int(-720, 720), in.Int(0, 2), in.Int(0, 1), in.Int(0, 1));
        kaFont::Color(0xFFFFFF, 0x000000, 1);
        kaFont::Draw(x1, y1, x2, y2, text.c_str(), effect);
        kaFont::Before();
    } else {
        kaFont::BeginAA(in.Int(0, 2), fontSize);
        kaFont::Color(0xFFFFFF, 0x000000, 1);
        kaFont::DrawAA(x1, y1, x2, y2, text.c_str(), effect);
        kaFont::BeforeAA();
    }
    if (kaFont::FontCount < 1 || kaFont::FontCount > kaFont::kTextPosCount) std::abort();
    FrameTime = 1.0f / 60;
    kaFont::Show(0.01f);
    kaFont::Show(0);
    return 0;
}
