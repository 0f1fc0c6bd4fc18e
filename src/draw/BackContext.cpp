// The back surface's drawing context of the global hdc, for callers that
// draw on the back surface themselves between GetDC and ReleaseDC.
#include "draw/kaDraw.h"
#include "platform/DrawContext.h"

plat::DrawContext* hdc = nullptr;

void kaDraw::GetDC() {
    if (DDBack == nullptr) return;
    delete hdc;  // a second GetDC replaces the first context
    hdc = new plat::DrawContext(DDBack, plat::GetPixelFormat());
}

void kaDraw::ReleaseDC() {
    delete hdc;
    hdc = nullptr;
}
