// Contact sheets of the gallery.
#include "Sheet.h"

#include "Gallery.h"
#include "draw/kaDraw.h"
#include "platform/Display.h"
#include "shell/Globals.h"

namespace kafx_gallery {

namespace {

// Cell n of the sheet gets the back surface at half size, and the first
// columns of the caption line below it.
void Place(plat::Surface16& sheet, int n) {
    const int cx = n % kSheetColumns * kCellW, cy = n / kSheetColumns * kCellH;
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) sheet.row(cy + y)[cx + x] = DDBack->row(2 * y)[2 * x];
    // Only the member's name: the parameter columns start at 300.
    for (int y = 0; y < kBand; ++y)
        for (int x = 0; x < kCellW; ++x) sheet.row(cy + 240 + y)[cx + x] = x < 300 ? DDBack->row(y)[x] : 0;
}

bool Write(const plat::Surface16& sheet, const std::string& path) {
    return plat::WriteBmp24(sheet, plat::GetPixelFormat(), path.c_str());
}

}  // namespace

bool WriteContactSheets(const Pictures& pictures, int captions, const std::string& path) {
    const int pages = static_cast<int>(Pages().size());
    const int rows = (pages + kSheetColumns - 1) / kSheetColumns;
    plat::Surface16 sheet(kSheetColumns * kCellW, rows * kCellH), plain(kSheetColumns * kCellW, rows * kCellH);
    const float frameTime = FrameTime;
    FrameTime = 1.0f / 60;
    for (int n = 0; n < pages; ++n) {
        PageState s;
        s.page = n;
        for (s.frame = 0; s.frame < kSheetFrames; ++s.frame) {
            s.t = s.frame / 60.0;
            kaDraw::VirtualScreen(0, 0, 640, 480);
            DrawPage(pictures, captions, s, Pages()[n].p, false);
        }
        Place(sheet, n);
        DrawPlain(pictures);
        kaDraw::Layer(0, 0, captions, 0, n * kBand, 640, n * kBand + kBand);
        Place(plain, n);
    }
    FrameTime = frameTime;
    std::string plainPath = path;
    const size_t dot = plainPath.rfind(".bmp");
    plainPath = dot == std::string::npos ? plainPath + "-plain" : plainPath.substr(0, dot) + "-plain.bmp";
    return Write(sheet, path) && Write(plain, plainPath);
}

}  // namespace kafx_gallery
