// The frame-rate meter and the debug text of kaDraw: white 12-pixel Gothic on
// an opaque dark blue background at a point of the back surface.
#include <cstdarg>
#include <cstdio>

#include "draw/kaDraw.h"
#include "platform/Clock.h"
#include "text/kaFont.h"

int kaDraw::FpsCnt = 0;
float kaDraw::FpsData = 0;
float kaDraw::FpsDataMax = 0;
float kaDraw::FpsDataMin = 999.9f;

namespace {

constexpr int kFpsCountLimit = 999;
constexpr uint32_t kWindowMs = 2000;

void DrawDebugText(int x, int y, const char* text) {
    kaFont::Begin(1, 12, 0, 0, 0, 0);
    kaFont::Color(0xFFFFFF, 0x800000, 0);
    kaFont::Draw(x, y, text);
    kaFont::Before();
}

// A text cut to fit its buffer may end inside a UTF-8 character, which
// would make the whole text read as CP932: the piece is dropped.
void TrimCutCharacter(char* text, size_t length) {
    size_t lead = length;
    while (lead > 0 && length - lead < 4 && (static_cast<unsigned char>(text[lead - 1]) & 0xC0) == 0x80) --lead;
    if (lead == 0) return;
    const unsigned char c = static_cast<unsigned char>(text[lead - 1]);
    const size_t need = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    if (lead - 1 + need > length) text[lead - 1] = '\0';
}

}  // namespace

void kaDraw::ShowFPS() {
    const uint32_t now = plat::TimeGetTime();
    // Wrap-safe: the window ends when `now` has reached FpsTime.
    if (static_cast<int32_t>(now - FpsTime) >= 0) {
        FpsData = static_cast<float>(FpsCnt / 2.0);
        if (FpsData > FpsDataMax) FpsDataMax = FpsData;
        if (FpsData > 0 && FpsData < FpsDataMin) FpsDataMin = FpsData;
        FpsTime = now + kWindowMs;
        FpsCnt = 0;
    }
    if (FpsCnt < kFpsCountLimit) ++FpsCnt;
    char text[64];
    std::snprintf(text, sizeof text, "%3.1f fps ( max %3.1f / min %3.1f )", FpsData, FpsDataMax, FpsDataMin);
    DrawDebugText(0, 0, text);
}

void kaDraw::ShowString(int x, int y, const char* Str) {
    if (Str == nullptr) return;
    DrawDebugText(x, y, Str);
}

void kaDraw::ShowFormat(int x, int y, const char* Format, ...) {
    if (Format == nullptr) return;
    char text[256];
    va_list args;
    va_start(args, Format);
    const int n = std::vsnprintf(text, sizeof text, Format, args);
    va_end(args);
    if (n < 0) return;
    if (static_cast<size_t>(n) >= sizeof text) TrimCutCharacter(text, sizeof text - 1);
    DrawDebugText(x, y, text);
}
