// kaDraw::WaveLayer, kaDraw::RollWaveLayer and kaDraw::TileRollWaveLayer:
// sprite rows swayed sideways by a cosine of whole degrees, optionally
// rolled vertically, optionally repeated across the screen in a band. Each
// member keeps its own phases (shared by all its calls) and advances them by
// FrameTime after drawing. `Width` is the sway's amplitude in pixels.
#include <cmath>

#include "draw/effects/EffectPixels.h"
#include "draw/effects/EffectState.h"
#include "draw/effects/RowBlits.h"
#include "shell/Globals.h"

namespace {

using kadraw::Copy;
using kadraw::Span;

// The degree of row y: one degree per row, or per `size` rows.
int64_t RowDegree(int64_t y, int size, float angle) {
    return (size == 0 ? y : y / size) + static_cast<int64_t>(angle);
}

// cos of whole degrees, kept once worked out: the rows of one call and of
// the calls that follow ask for the same few hundred degrees again, and a
// kept value is the very same double.
double CosOfDegree(int64_t degree) {
    constexpr int64_t kLow = -1024, kCount = 4096;
    static double kept[kCount];
    static bool known[kCount];
    if (degree < kLow || degree >= kLow + kCount) return kafx::CosDegrees(static_cast<double>(degree));
    const size_t i = static_cast<size_t>(degree - kLow);
    if (!known[i]) {
        kept[i] = kafx::CosDegrees(static_cast<double>(degree));
        known[i] = true;
    }
    return kept[i];
}

// n / d and n % d for n = first, first + 1, ... (first >= 0, d > 0),
// counted along instead of divided for every n.
struct Counted {
    int64_t d, quotient, remainder;
    Counted(int64_t first, int64_t divisor) : d(divisor), quotient(first / divisor), remainder(first % divisor) {}
    void Next() {
        if (++remainder == d) {
            remainder = 0;
            ++quotient;
        }
    }
};

int64_t Sway(int64_t degree, int amplitude) { return static_cast<int64_t>(CosOfDegree(degree) * amplitude); }

float AdvanceAngle(float angle, float speed) {
    float a = static_cast<float>(angle + static_cast<double>(FrameTime) * speed);
    if (a >= 360.0) a = static_cast<float>(a - 360.0);
    return kadraw::WrapBelow(a, 360.0);
}

// A positive speed moves the picture down: the phase counts down through
// the rows.
float AdvanceRoll(float roll, float speed, int64_t rows) {
    const double h = static_cast<double>(rows);
    float r = static_cast<float>(roll - static_cast<double>(FrameTime) * speed);
    if (r < 0.0) r = static_cast<float>(r + h);
    if (r >= h) r = static_cast<float>(r - h);
    return kadraw::WrapBelow(r, h);
}

}  // namespace

void kaDraw::WaveLayer(int Px, int Py, int Width, int Size, float Speed, int ObjDD, int X1, int Y1, int X2, int Y2,
                       int Mode) {
    kadraw::state::Wave& phase = kadraw::state::wave;
    const Span rows = kadraw::RowsShown(Py, Y1, Y2);
    kadraw::RowCopier copier(Copy::Keyed, ObjDD);
    for (int64_t y = rows.first; y < rows.last; ++y) {
        int64_t x = Sway(RowDegree(y, Size, phase.angle), Width);
        // Neighbouring rows swing to opposite sides, counted from the first row.
        if (Mode != 0 && ((y - Y1) & 1) != 0) x = -x;
        if (Mode != 0) x *= phase.lineX;
        copier.Row(int64_t{Px} + x, int64_t{Py} + y - Y1, X1, y, X2);
    }
    // The sign carries over into the next call: it flips once per row drawn.
    const int64_t h = int64_t{Y2} - Y1;
    if (Mode != 0 && h > 0 && (h & 1) != 0) phase.lineX = -phase.lineX;
    phase.angle = AdvanceAngle(phase.angle, Speed);
}

void kaDraw::RollWaveLayer(int Px, int Py, int Width, int Size, float WaveSpeed, float RollSpeed, int ObjDD, int X1,
                           int Y1, int X2, int Y2) {
    kadraw::state::RollWave& phase = kadraw::state::rollWave;
    const int64_t h = int64_t{Y2} - Y1;
    if (h <= 0) return;  // no rows to roll through
    const int64_t roll = static_cast<int64_t>(kadraw::WrapBelow(phase.roll, static_cast<double>(h)));
    const Span rows = kadraw::RowsShown(Py, Y1, Y2);
    kadraw::RowCopier copier(Copy::Keyed, ObjDD);
    for (int64_t y = rows.first; y < rows.last; ++y) {
        const int64_t x = Sway(RowDegree(y, Size, phase.angle), Width);
        int64_t r = y + roll;
        if (r >= Y2) r -= h;
        copier.Row(int64_t{Px} + x, int64_t{Py} + y - Y1, X1, r, X2);
    }
    phase.angle = AdvanceAngle(phase.angle, WaveSpeed);
    phase.roll = AdvanceRoll(phase.roll, RollSpeed, h);
}

void kaDraw::TileRollWaveLayer(int Py1, int Py2, int Width, int Size, float WaveSpeed, float RollSpeed, int ObjDD,
                               int X1, int Y1, int X2, int Y2) {
    kadraw::state::RollWave& phase = kadraw::state::tileRollWave;
    const int64_t w = int64_t{X2} - X1, h = int64_t{Y2} - Y1;
    if (w <= 0 || h <= 0) return;  // an empty tile would never cover the band
    const int64_t roll = static_cast<int64_t>(kadraw::WrapBelow(phase.roll, static_cast<double>(h)));
    // Band rows 0 .. Py2 - Py1 - 1, on screen rows Py1 + y.
    const Span rows = kadraw::RowsShown(Py1, 0, int64_t{Py2} - Py1);
    const int64_t tiles = kaDraw::Width / w + 2;  // n = 0 .. Width / W + 1
    const Span seen = kadraw::VisibleColumns();
    kadraw::RowCopier copier(Copy::Keyed, ObjDD);
    // The tiles a row needs follow from its offset alone, and neighbouring
    // rows mostly share one.
    int64_t lastOffset = 0;
    Span n;
    // Band rows are never negative: y % h and y / Size are counted along
    // rather than divided for every row.
    const int64_t angle = static_cast<int64_t>(phase.angle);
    Counted tileRow(rows.first, h), degree(rows.first, Size == 0 ? 1 : Size < 0 ? -int64_t{Size} : Size);
    for (int64_t y = rows.first; y < rows.last; ++y, tileRow.Next(), degree.Next()) {
        int64_t r = tileRow.remainder + roll;
        if (r > h - 1) r -= h;
        // The row of tiles starts one amplitude to the left, so that the sway
        // never opens a gap at the left edge.
        const int64_t rowDegree = (Size == 0 ? y : Size < 0 ? -degree.quotient : degree.quotient) + angle;
        const int64_t offset = Sway(rowDegree, Width) - Width;
        if (y == rows.first || offset != lastOffset) n = kadraw::TilesTouching(offset, w, tiles, seen);
        lastOffset = offset;
        copier.Tiles(n.first * w + offset, n.last - n.first, int64_t{Py1} + y, X1, Y1 + r, X2);
    }
    phase.angle = AdvanceAngle(phase.angle, WaveSpeed);
    phase.roll = AdvanceRoll(phase.roll, RollSpeed, h);
}
