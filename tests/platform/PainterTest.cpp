// The painter's conventions on tiny surfaces where every pixel is checked:
// the 1-pixel pen's left-out end point, wide pens, the box rule, even-odd
// fills, the origin-aligned hatch, clipping on every side and coordinates
// at the ends of the int range.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "platform/Painter.h"

namespace plat {
namespace {

constexpr uint16_t kInk = 1, kPaper = 2;

// The surface as rows of characters: '.' for 0, '#' for kInk, 'o' for kPaper.
std::vector<std::string> Art(const Surface16& s) {
    std::vector<std::string> rows;
    for (int y = 0; y < s.height(); ++y) {
        std::string row;
        for (int x = 0; x < s.width(); ++x) {
            const uint16_t p = s.row(y)[x];
            row += p == 0 ? '.' : p == kInk ? '#' : p == kPaper ? 'o' : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

int Count(const Surface16& s, uint16_t value) {
    int n = 0;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) n += s.row(y)[x] == value;
    return n;
}

void Fill(Surface16& s, uint16_t value) {
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) s.row(y)[x] = value;
}

const Pen kThin{kInk, 1};

// ---- The 1-pixel pen ------------------------------------------------------------

struct LineCase {
    const char* name;
    Point from, to;
    std::vector<std::string> art;
};

TEST(PainterThinPen, StepsTowardsTheEndPointAndLeavesItOut) {
    const LineCase cases[] = {
        {"horizontal", {1, 1}, {5, 1}, {"......", ".####.", "......"}},
        {"leftwards", {5, 1}, {1, 1}, {"......", "..####", "......"}},
        {"vertical", {2, 0}, {2, 2}, {"..#...", "..#...", "......"}},
        {"diagonal", {0, 0}, {3, 3}, {"#.....", ".#....", "..#..."}},
        {"shallow, rounding half up", {0, 0}, {4, 1}, {"##....", "..##..", "......"}},
        {"same point", {3, 1}, {3, 1}, {"......", "......", "......"}},
    };
    for (const LineCase& c : cases) {
        Surface16 s(6, 3);
        DrawLine(s, c.from, c.to, kThin);
        EXPECT_EQ(Art(s), c.art) << c.name;
    }
}

TEST(PainterThinPen, JoinedSegmentsLeaveOnlyTheLastEndPointOut) {
    Surface16 s(5, 4);
    const Point path[] = {{0, 0}, {3, 0}, {3, 3}};
    DrawPolyline(s, path, 3, kThin, false);
    EXPECT_EQ(Art(s), (std::vector<std::string>{"####.", "...#.", "...#.", "....."}));
    Surface16 closed(5, 4);
    const Point square[] = {{0, 0}, {3, 0}, {3, 3}, {0, 3}};
    DrawPolyline(closed, square, 4, kThin, true);
    EXPECT_EQ(Art(closed), (std::vector<std::string>{"####.", "#..#.", "#..#.", "####."}));
}

// ---- Wide pens ---------------------------------------------------------------------

TEST(PainterWidePen, AHorizontalPenCoversItsWidthInRowsCentredOnTheLine) {
    // Odd widths straddle row 10 evenly; even ones take one row more above.
    const struct {
        int width, top, bottom;  // rows covered in the middle of the line
    } cases[] = {{2, 9, 10}, {3, 9, 11}, {4, 8, 11}, {5, 8, 12}};
    for (const auto& c : cases) {
        Surface16 s(40, 21);
        DrawLine(s, {10, 10}, {30, 10}, {kInk, c.width});
        for (int y = 0; y < 21; ++y)
            EXPECT_EQ(s.row(y)[20] == kInk, y >= c.top && y <= c.bottom) << "width " << c.width << " row " << y;
    }
}

TEST(PainterWidePen, CapsAreRoundAndTheLineIsTheSameBothWays) {
    Surface16 dot(7, 7);
    DrawLine(dot, {3, 3}, {3, 3}, {kInk, 5});
    EXPECT_EQ(Art(dot), (std::vector<std::string>{".......", "..###..", ".#####.", ".#####.", ".#####.", "..###..",
                                                   "......."}));
    for (int width = 2; width <= 6; ++width) {
        Surface16 a(30, 30), b(30, 30);
        DrawLine(a, {4, 7}, {23, 19}, {kInk, width});
        DrawLine(b, {23, 19}, {4, 7}, {kInk, width});
        EXPECT_EQ(Art(a), Art(b)) << "width " << width;
        EXPECT_EQ(a.row(7)[4], kInk);
        EXPECT_EQ(a.row(19)[23], kInk) << "a wide pen draws its end point";
    }
}

// ---- Boxes ---------------------------------------------------------------------------

TEST(PainterBox, RightAndBottomAreExclusiveInAnyCornerOrder) {
    for (auto corners : {std::vector<int>{1, 1, 5, 4}, std::vector<int>{5, 4, 1, 1}, std::vector<int>{5, 1, 1, 4}}) {
        Surface16 s(7, 5);
        DrawBox(s, corners[0], corners[1], corners[2], corners[3], Brush::Solid(kPaper), kThin);
        EXPECT_EQ(Art(s), (std::vector<std::string>{".......", ".####..", ".#oo#..", ".####..", "......."}));
    }
    Surface16 empty(4, 4);
    DrawBox(empty, 2, 1, 2, 3, Brush::Solid(kPaper), kThin);
    DrawBox(empty, 0, 2, 3, 2, Brush::Solid(kPaper), kThin);
    EXPECT_EQ(Count(empty, 0), 16);
}

TEST(PainterBox, AWideOutlineIsCentredOnTheOuterPixels) {
    Surface16 s(12, 12);
    DrawBox(s, 3, 3, 9, 9, Brush::Solid(kPaper), {kInk, 3});
    // Width 3 around columns 3 and 8: 2..4 and 7..9; the inside is 5..6.
    EXPECT_EQ(Art(s)[5], "..###oo###..");
    EXPECT_EQ(Art(s)[2].substr(3, 6), "######");
    EXPECT_EQ(s.row(1)[5], 0);
}

// ---- Polygons --------------------------------------------------------------------------

TEST(PainterPolygon, FillsByPixelCentresWithTheRightAndBottomEdgesOut) {
    Surface16 s(6, 5);
    const Point rect[] = {{1, 1}, {5, 1}, {5, 4}, {1, 4}};
    FillPolygon(s, rect, 4, Brush::Solid(kInk));
    EXPECT_EQ(Art(s), (std::vector<std::string>{"......", ".####.", ".####.", ".####.", "......"}));
    Surface16 tri(6, 5);
    const Point triangle[] = {{0, 0}, {6, 0}, {0, 5}};
    FillPolygon(tri, triangle, 3, Brush::Solid(kInk));
    EXPECT_EQ(Art(tri), (std::vector<std::string>{"#####.", "####..", "###...", "##....", "#....."}));
}

TEST(PainterPolygon, EvenOddLeavesOverlapsEmpty) {
    // A pentagram: its inner pentagon is crossed twice and stays empty.
    Surface16 star(21, 21);
    const Point points[] = {{10, 0}, {16, 20}, {0, 7}, {20, 7}, {4, 20}};
    FillPolygon(star, points, 5, Brush::Solid(kInk));
    EXPECT_EQ(star.row(10)[10], 0);
    EXPECT_EQ(star.row(3)[10], kInk);
    EXPECT_EQ(star.row(8)[2], kInk);
    // One outline going round a square twice in opposite senses: a frame.
    Surface16 frame(8, 8);
    const Point ring[] = {{0, 0}, {8, 0}, {8, 8}, {0, 8}, {0, 0}, {2, 2}, {2, 6}, {6, 6}, {6, 2}, {2, 2}};
    FillPolygon(frame, ring, 10, Brush::Solid(kInk));
    EXPECT_EQ(Art(frame), (std::vector<std::string>{"########", "########", "##....##", "##....##", "##....##",
                                                     "##....##", "########", "########"}));
}

TEST(PainterPolygon, DegenerateInputDrawsNothing) {
    Surface16 s(5, 5);
    const Point line[] = {{0, 0}, {4, 4}, {0, 0}};
    FillPolygon(s, line, 3, Brush::Solid(kInk));
    FillPolygon(s, line, 2, Brush::Solid(kInk));
    FillPolygon(s, nullptr, 5, Brush::Solid(kInk));
    FillPolygon(s, line, -1, Brush::Solid(kInk));
    DrawPolygon(s, line, 0, Brush::Solid(kInk), kThin);
    EXPECT_EQ(Count(s, 0), 25);
}

// ---- The cross-hatch --------------------------------------------------------------------

TEST(PainterHatch, IsTwoDiagonalsAlignedToTheSurfaceOrigin) {
    Surface16 s(16, 16);
    const Point whole[] = {{0, 0}, {16, 0}, {16, 16}, {0, 16}};
    FillPolygon(s, whole, 4, Brush::Hatch(kInk, kPaper, true));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(s.row(y)[x], ((x + y) % 8 == 0 || (x - y + 16) % 8 == 0) ? kInk : kPaper) << x << "," << y;
    // Boxes placed anywhere show the same pattern where they cover the same
    // pixels.
    for (auto origin : {Point{3, 5}, Point{-7, 2}, Point{9, -4}}) {
        Surface16 t(16, 16);
        const Point quad[] = {origin, {origin.x + 20, origin.y}, {origin.x + 20, origin.y + 20}, {origin.x, origin.y + 20}};
        FillPolygon(t, quad, 4, Brush::Hatch(kInk, kPaper, true));
        for (int y = std::max(0, origin.y); y < std::min(16, origin.y + 20); ++y)
            for (int x = std::max(0, origin.x); x < std::min(16, origin.x + 20); ++x) ASSERT_EQ(t.row(y)[x], s.row(y)[x]) << x << "," << y;
    }
}

TEST(PainterHatch, TransparentGapsKeepWhatWasThere) {
    Surface16 opaque(8, 8), clear(8, 8);
    Fill(clear, 7);
    DrawBox(opaque, 0, 0, 8, 8, Brush::Hatch(kInk, kPaper, true), {kInk, 0});
    DrawBox(clear, 0, 0, 8, 8, Brush::Hatch(kInk, kPaper, false), {kInk, 0});
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) EXPECT_EQ(clear.row(y)[x], opaque.row(y)[x] == kPaper ? 7 : kInk);
    EXPECT_GT(Count(opaque, kPaper), 0);
}

// ---- Bézier curves -------------------------------------------------------------------------

TEST(PainterBezier, StraightControlsGiveTheLineAndCurvesStayInTheirHull) {
    Surface16 curve(12, 4), line(12, 4);
    const Point straight[] = {{1, 2}, {4, 2}, {7, 2}, {10, 2}};
    DrawBezier(curve, straight, 4, kThin);
    DrawLine(line, {1, 2}, {10, 2}, kThin);
    EXPECT_EQ(Art(curve), Art(line));

    Surface16 s(40, 40);
    const Point arch[] = {{2, 35}, {2, 2}, {37, 2}, {37, 35}, {30, 38}, {20, 38}, {10, 36}};
    DrawBezier(s, arch, 7, kThin);
    EXPECT_EQ(s.row(35)[2], kInk) << "starts at the first point";
    EXPECT_EQ(s.row(36)[10], 0) << "leaves the last point out";
    EXPECT_GT(Count(s, kInk), 60);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            if (s.row(y)[x] == kInk) {
                ASSERT_TRUE(x >= 2 && x <= 37 && y >= 2 && y <= 38) << x << "," << y;
            }
    // The top of the arch: (2, 2) and (37, 2) pull it to y = 2 + 33/4.
    EXPECT_EQ(s.row(10)[19] + s.row(10)[20], 2 * kInk);

    Surface16 none(8, 8);
    for (int count : {0, 1, 2, 3, 5, 6}) DrawBezier(none, arch, count, kThin);
    EXPECT_EQ(Count(none, 0), 64) << "counts other than 1 + 3n draw nothing";
}

// ---- Clipping ------------------------------------------------------------------------------

// Each figure drawn on a 16 x 12 surface must match the middle of the same
// figure drawn on a surface 32 pixels larger on every side (32 keeps the
// hatch phase), whichever sides it leaves by.
TEST(PainterClipping, MatchesTheUnclippedFigureOnEverySide) {
    using Figure = void (*)(Surface16&, int);  // draws with an offset on both axes
    const struct {
        const char* name;
        Figure draw;
    } figures[] = {
        {"thin lines", [](Surface16& s, int o) {
             DrawLine(s, {o - 9, o + 3}, {o + 25, o + 8}, kThin);
             DrawLine(s, {o + 5, o - 7}, {o + 9, o + 20}, kThin);
             DrawLine(s, {o + 20, o + 15}, {o - 3, o - 5}, kThin);
         }},
        {"wide lines", [](Surface16& s, int o) {
             DrawLine(s, {o - 9, o + 3}, {o + 25, o + 8}, {kInk, 4});
             DrawLine(s, {o + 15, o - 2}, {o + 14, o + 13}, {kPaper, 5});
             DrawLine(s, {o, o + 11}, {o + 3, o + 11}, {kInk, 3});
         }},
        {"boxes", [](Surface16& s, int o) {
             DrawBox(s, o - 4, o - 3, o + 6, o + 5, Brush::Solid(kPaper), kThin);
             DrawBox(s, o + 10, o + 7, o + 30, o + 20, Brush::Hatch(kInk, kPaper, true), {kInk, 3});
         }},
        {"polygons", [](Surface16& s, int o) {
             const Point p[] = {{o - 10, o - 4}, {o + 26, o + 2}, {o + 3, o + 18}, {o + 8, o + 5}};
             DrawPolygon(s, p, 4, Brush::Hatch(kInk, kPaper, true), {kInk, 2});
         }},
        {"curves", [](Surface16& s, int o) {
             const Point p[] = {{o - 8, o + 14}, {o + 2, o - 20}, {o + 14, o + 30}, {o + 24, o - 3}};
             DrawBezier(s, p, 4, {kInk, 3});
         }},
    };
    constexpr int kMargin = 32;
    for (const auto& f : figures) {
        Surface16 small(16, 12), large(16 + 2 * kMargin, 12 + 2 * kMargin);
        f.draw(small, 0);
        f.draw(large, kMargin);
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 16; ++x)
                ASSERT_EQ(small.row(y)[x], large.row(y + kMargin)[x + kMargin]) << f.name << " at " << x << "," << y;
        EXPECT_GT(Count(small, 0), 0) << f.name;
    }
}

TEST(PainterClipping, PixelsOffTheSurfaceAreNeitherReadNorWritten) {
    Surface16 s(3, 3);
    for (auto p : {Point{-1, 0}, Point{0, -1}, Point{3, 0}, Point{0, 3}, Point{INT_MIN, INT_MAX}}) {
        SetPixel(s, p.x, p.y, kInk);
        uint16_t v = 9;
        EXPECT_FALSE(GetPixel(s, p.x, p.y, &v));
        EXPECT_EQ(v, 9);
    }
    EXPECT_EQ(Count(s, 0), 9);
    SetPixel(s, 2, 1, kInk);
    uint16_t v = 0;
    EXPECT_TRUE(GetPixel(s, 2, 1, &v));
    EXPECT_EQ(v, kInk);
}

// ---- Huge coordinates ----------------------------------------------------------------------

TEST(PainterHugeCoordinates, LinesKeepTheirExactPixels) {
    constexpr int kN = 1 << 29;
    Surface16 diag(8, 8), half(8, 8), flat(8, 8);
    DrawLine(diag, {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, kThin);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(diag.row(i)[i], kInk);
    EXPECT_EQ(Count(diag, kInk), 8);
    // Slope 1/2 through the origin: y = round-half-up(x / 2).
    DrawLine(half, {-2 * kN, -kN}, {2 * kN, kN}, kThin);
    for (int x = 0; x < 8; ++x) EXPECT_EQ(half.row((x + 1) / 2)[x], kInk) << x;
    EXPECT_EQ(Count(half, kInk), 8);
    DrawLine(flat, {INT_MIN, 5}, {INT_MAX, 5}, {kInk, 3});
    for (int y = 0; y < 8; ++y) EXPECT_EQ(flat.row(y)[3] == kInk, y >= 4 && y <= 6);
}

TEST(PainterHugeCoordinates, FiguresSpanningTheIntRangeFinishAndCover) {
    Surface16 s(16, 16);
    DrawBox(s, INT_MIN, INT_MIN, INT_MAX, INT_MAX, Brush::Solid(kPaper), {kInk, 7});
    EXPECT_EQ(Count(s, kPaper), 256) << "the outline is far away";
    const Point tri[] = {{INT_MIN, INT_MIN}, {INT_MAX, INT_MIN}, {0, INT_MAX}};
    Fill(s, 0);
    FillPolygon(s, tri, 3, Brush::Solid(kInk));
    EXPECT_EQ(Count(s, kInk), 256);
    const Point thin[] = {{INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MAX, INT_MAX - 1}};
    Fill(s, 0);
    FillPolygon(s, thin, 3, Brush::Solid(kInk));
    EXPECT_LE(Count(s, kInk), 16);
    const Point wild[] = {{INT_MIN, 8}, {INT_MAX, INT_MIN}, {INT_MIN, INT_MAX}, {INT_MAX, 8},
                          {0, 0},       {INT_MAX, INT_MAX}, {INT_MIN, 0}};
    Fill(s, 0);
    DrawBezier(s, wild, 7, {kInk, 4});
    DrawBezier(s, wild, 7, kThin);
    DrawPolygon(s, wild, 7, Brush::Hatch(kInk, kPaper, false), {kInk, 9});
    SUCCEED() << "finished";
}

}  // namespace
}  // namespace plat
