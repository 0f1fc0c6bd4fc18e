// The displacement layer: the back surface under the sprite is pulled up by
// amounts read from the red channel of the sprite's pixels.
#include "draw/effects/EffectPixels.h"
#include "draw/effects/LayerFrame.h"

int kaDraw::ShiftLayer(int Px, int Py, float Shift, int ObjDD, int X1, int Y1, int X2, int Y2) {
    const int64_t st = kafx::SaturatingInt(31.0 - static_cast<double>(Shift) * 31.0);
    return kafx::RunLayer({Px, Py, ObjDD, X1, Y1, X2, Y2}, kafx::DrawnRect,
                          [st](const kafx::LayerArea& a, const kafx::LayerPixels& p) {
                              const uint16_t* s = p.src;
                              uint16_t* d = p.dst;
                              // Top to bottom: the row read below has not been changed yet.
                              for (int y = 0; y < a.ey; ++y, s += p.srcPitch, d += p.dstPitch) {
                                  const int64_t below = a.ey - y;
                                  for (int x = 0; x < a.ex; ++x) {
                                      if (s[x] == 0) continue;
                                      int64_t o = int64_t{GetRGB[s[x]].r} - st;
                                      if (o <= 0 || o >= below) continue;
                                      d[x] = d[x + o * p.dstPitch];
                                  }
                              }
                          });
}
