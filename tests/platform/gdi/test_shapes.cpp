#include <gtest/gtest.h>

#include <algorithm>

#include "GdiTestUtil.h"
#include "platform/gdi/Painting.h"

namespace {

Integer Count(const TTestCanvas& C, COLORREF Color) {
  Integer N = 0;
  for (Integer Y = 0; Y < C.Height; ++Y)
    for (Integer X = 0; X < C.Width; ++X) N += C.At(X, Y) == Color;
  return N;
}

TRect InkBox(const TTestCanvas& C, COLORREF Background = 0xFFFFFF) {
  TRect B{C.Width, C.Height, 0, 0};
  for (Integer Y = 0; Y < C.Height; ++Y)
    for (Integer X = 0; X < C.Width; ++X)
      if (C.At(X, Y) != Background) {
        B.Left = std::min(B.Left, X), B.Top = std::min(B.Top, Y);
        B.Right = std::max(B.Right, X + 1), B.Bottom = std::max(B.Bottom, Y + 1);
      }
  return B;
}

}  // namespace

TEST(Shapes, RectangleExcludesRightAndBottom) {
  TTestCanvas C(7, 6);
  HBRUSH Red = CreateSolidBrush(RGB(255, 0, 0));
  SelectObject(C.DC, Red);
  Rectangle(C.DC, 1, 1, 6, 5);
  EXPECT_EQ(C.Picture(),
            TTestCanvas::Rows({".......", ".#####.", ".#???#.", ".#???#.", ".#####.", "......."}));
  // Without a pen the fill is one pixel smaller on the right and bottom.
  C.Clear(0xFFFFFF);
  SelectObject(C.DC, GetStockObject(NULL_PEN));
  Rectangle(C.DC, 1, 1, 6, 5);
  EXPECT_EQ(C.Picture(0xFFFFFF, RGB(255, 0, 0)),
            TTestCanvas::Rows({".......", ".####..", ".####..", ".####..", ".......", "......."}));
  // Corners given in any order.
  C.Clear(0xFFFFFF);
  SelectObject(C.DC, GetStockObject(BLACK_PEN));
  SelectObject(C.DC, GetStockObject(NULL_BRUSH));
  Rectangle(C.DC, 6, 5, 1, 1);
  EXPECT_EQ(C.Picture(),
            TTestCanvas::Rows({".......", ".#####.", ".#...#.", ".#...#.", ".#####.", "......."}));
  SelectObject(C.DC, GetStockObject(WHITE_BRUSH));
  DeleteObject(Red);
}

TEST(Shapes, EllipseStaysInItsBoxTouchesEverySideAndIsClosed) {
  // Every box from 1x1 to 14x14: outline inside the box touching all four sides, and a fill
  // from outside reaches none of the interior the brush would paint.
  for (Integer W = 1; W <= 14; ++W)
    for (Integer H = 1; H <= 14; ++H) {
      TTestCanvas Filled(W + 4, H + 4), Hollow(W + 4, H + 4);
      HBRUSH Blue = CreateSolidBrush(RGB(0, 0, 255));
      SelectObject(Filled.DC, Blue);
      Ellipse(Filled.DC, 2, 2, 2 + W, 2 + H);
      EXPECT_EQ(InkBox(Filled), (TRect{2, 2, 2 + W, 2 + H})) << W << "x" << H << Filled.Picture();
      const Integer Interior = Count(Filled, RGB(0, 0, 255));
      SelectObject(Hollow.DC, GetStockObject(NULL_BRUSH));
      Ellipse(Hollow.DC, 2, 2, 2 + W, 2 + H);
      EXPECT_EQ(Count(Hollow, 0), Count(Filled, 0)) << W << "x" << H;
      HBRUSH Green = CreateSolidBrush(RGB(0, 255, 0));
      SelectObject(Hollow.DC, Green);
      ExtFloodFill(Hollow.DC, 0, 0, 0xFFFFFF, FLOODFILLSURFACE);
      EXPECT_EQ(Count(Hollow, 0xFFFFFF), Interior) << W << "x" << H << Hollow.Picture(RGB(0, 255, 0), 0);
      SelectObject(Filled.DC, GetStockObject(WHITE_BRUSH));
      SelectObject(Hollow.DC, GetStockObject(WHITE_BRUSH));
      DeleteObject(Blue);
      DeleteObject(Green);
    }
}

TEST(Shapes, EllipsePixels) {
  TTestCanvas C(10, 6);
  SelectObject(C.DC, GetStockObject(NULL_BRUSH));
  Ellipse(C.DC, 0, 0, 10, 6);
  EXPECT_EQ(C.Picture(), TTestCanvas::Rows({"..######..", ".#......#.", "#........#", "#........#",
                                            ".#......#.", "..######.."}));
}

TEST(Shapes, RoundRectAndPieFitTheBox) {
  TTestCanvas C(20, 14);
  SelectObject(C.DC, GetStockObject(NULL_BRUSH));
  RoundRect(C.DC, 1, 1, 19, 13, 6, 6);
  EXPECT_EQ(InkBox(C), (TRect{1, 1, 19, 13}));
  EXPECT_EQ(C.At(1, 1), 0xFFFFFFu);  // the corner is cut
  EXPECT_EQ(C.At(10, 1), 0u);
  EXPECT_EQ(C.At(1, 7), 0u);

  // A quarter pie, counter-clockwise from the right to the top.
  TTestCanvas P(21, 21);
  SelectObject(P.DC, GetStockObject(BLACK_BRUSH));
  Pie(P.DC, 0, 0, 21, 21, 21, 10, 10, 0);
  EXPECT_EQ(P.At(15, 5), 0u);
  EXPECT_EQ(P.At(5, 15), 0xFFFFFFu);
  EXPECT_EQ(P.At(5, 5), 0xFFFFFFu);
  EXPECT_EQ(InkBox(P), (TRect{10, 0, 21, 11}));
  SetArcDirection(P.DC, AD_CLOCKWISE);
  Pie(P.DC, 0, 0, 21, 21, 21, 10, 10, 0);  // the other three quarters
  EXPECT_EQ(P.At(5, 15), 0u);
  EXPECT_EQ(P.At(5, 5), 0u);
}

TEST(Shapes, PolygonFillRulesOnAStar) {
  const POINT Star[] = {{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}};
  for (Integer Mode : {ALTERNATE, WINDING}) {
    TTestCanvas C(21, 21);
    SelectObject(C.DC, GetStockObject(NULL_PEN));
    SelectObject(C.DC, GetStockObject(BLACK_BRUSH));
    SetPolyFillMode(C.DC, Mode);
    Polygon(C.DC, Star, 5);
    EXPECT_EQ(C.At(10, 10), Mode == WINDING ? 0u : 0xFFFFFFu) << Mode << C.Picture();
    EXPECT_EQ(C.At(10, 3), 0u);
    // The fill is the region of the same polygon.
    HRGN R = CreatePolygonRgn(Star, 5, Mode);
    for (Integer Y = 0; Y < 21; ++Y)
      for (Integer X = 0; X < 21; ++X) EXPECT_EQ(C.At(X, Y) == 0, PtInRegion(R, X, Y) != 0) << X << "," << Y;
    DeleteObject(R);
  }
  // With a pen the outline runs through the vertices, right and bottom ones included.
  TTestCanvas C(6, 6);
  SelectObject(C.DC, GetStockObject(NULL_BRUSH));
  const POINT Square[] = {{1, 1}, {4, 1}, {4, 4}, {1, 4}};
  Polygon(C.DC, Square, 4);
  EXPECT_EQ(C.Picture(), TTestCanvas::Rows({"......", ".####.", ".#..#.", ".#..#.", ".####.", "......"}));
}

TEST(Shapes, WideInsideFramePenStaysInTheBox) {
  TTestCanvas C(20, 20);
  HPEN Pen = CreatePen(PS_INSIDEFRAME, 4, 0);
  SelectObject(C.DC, Pen);
  SelectObject(C.DC, GetStockObject(NULL_BRUSH));
  Ellipse(C.DC, 2, 2, 18, 18);
  EXPECT_EQ(InkBox(C), (TRect{2, 2, 18, 18}));
  C.Clear(0xFFFFFF);
  Rectangle(C.DC, 2, 2, 18, 18);
  EXPECT_EQ(InkBox(C), (TRect{2, 2, 18, 18}));
  EXPECT_EQ(C.At(5, 10), 0u);
  EXPECT_EQ(C.At(6, 10), 0xFFFFFFu);
  SelectObject(C.DC, GetStockObject(BLACK_PEN));
  DeleteObject(Pen);
}

TEST(Shapes, AdvancedModeBoxesIncludeRightAndBottom) {
  TTestCanvas C(8, 8);
  SetGraphicsMode(C.DC, GM_ADVANCED);
  const XFORM Scale{2, 0, 0, 2, 0, 0};
  SetWorldTransform(C.DC, &Scale);
  Rectangle(C.DC, 1, 1, 3, 3);  // device (2, 2)-(6, 6), inclusive
  EXPECT_EQ(InkBox(C), (TRect{2, 2, 7, 7}));
}

TEST(Shapes, RotatedShapesBecomePolygons) {
  TTestCanvas C(30, 30);
  SetGraphicsMode(C.DC, GM_ADVANCED);
  const XFORM Rot45{0.70710678f, 0.70710678f, -0.70710678f, 0.70710678f, 15, 5};
  SetWorldTransform(C.DC, &Rot45);
  SelectObject(C.DC, GetStockObject(BLACK_BRUSH));
  Rectangle(C.DC, 0, 0, 10, 10);
  // A diamond: top corner near (15, 5), centre near (15, 12).
  EXPECT_EQ(C.At(15, 12), 0u);
  EXPECT_EQ(C.At(10, 6), 0xFFFFFFu);
  EXPECT_EQ(C.At(20, 6), 0xFFFFFFu);
  const TRect B = InkBox(C);
  EXPECT_NEAR(B.Left, 8, 1);
  EXPECT_NEAR(B.Right, 23, 1);
}
