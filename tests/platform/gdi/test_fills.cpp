#include <gtest/gtest.h>

#include <map>
#include <queue>

#include "GdiTestUtil.h"
#include "platform/gdi/Painting.h"
#include "platform/gdi/SysColors.h"

TEST(FloodFill, BorderAndSurfaceModes) {
  TTestCanvas C(9, 5);
  SelectObject(C.DC, GetStockObject(NULL_BRUSH));
  Rectangle(C.DC, 0, 0, 9, 5);
  SetPixel(C.DC, 4, 2, RGB(0, 0, 255));  // an island of another colour
  HBRUSH Red = CreateSolidBrush(RGB(255, 0, 0));
  SelectObject(C.DC, Red);
  // Border mode fills everything up to black, the island too.
  EXPECT_TRUE(FloodFill(C.DC, 1, 1, 0));
  EXPECT_EQ(C.At(4, 2), RGB(255, 0, 0));
  EXPECT_EQ(C.At(0, 0), 0u);
  EXPECT_FALSE(FloodFill(C.DC, 0, 0, 0));  // starts on the border
  // Surface mode fills only the colour given.
  SetPixel(C.DC, 4, 2, RGB(0, 0, 255));
  HBRUSH Green = CreateSolidBrush(RGB(0, 255, 0));
  SelectObject(C.DC, Green);
  EXPECT_TRUE(ExtFloodFill(C.DC, 1, 1, RGB(255, 0, 0), FLOODFILLSURFACE));
  EXPECT_EQ(C.At(4, 2), RGB(0, 0, 255));
  EXPECT_EQ(C.At(7, 3), RGB(0, 255, 0));
  EXPECT_FALSE(ExtFloodFill(C.DC, 1, 1, RGB(255, 0, 0), FLOODFILLSURFACE));  // not that colour now
  EXPECT_FALSE(ExtFloodFill(C.DC, 20, 1, 0, FLOODFILLBORDER));               // outside
  // The clip bounds the fill.
  IntersectClipRect(C.DC, 0, 0, 4, 5);
  SelectObject(C.DC, Red);
  EXPECT_TRUE(ExtFloodFill(C.DC, 1, 1, RGB(0, 255, 0), FLOODFILLSURFACE));
  EXPECT_EQ(C.At(3, 3), RGB(255, 0, 0));
  EXPECT_EQ(C.At(5, 3), RGB(0, 255, 0));
  EXPECT_FALSE(ExtFloodFill(C.DC, 6, 1, RGB(0, 255, 0), FLOODFILLSURFACE));
  SelectObject(C.DC, GetStockObject(WHITE_BRUSH));
  DeleteObject(Red);
  DeleteObject(Green);
}

TEST(FloodFill, LineGridCellsNeverLeak) {
  // A wire frame of one-pixel black lines (horizontal, vertical, diagonal) on a 24-bit white
  // bitmap; every white region flooded with its own colour, as the mosaic generators do.
  for (Integer PenWidth : {1, 3}) {
    TTestCanvas C(121, 97, 24);
    HPEN Pen = CreatePen(PS_SOLID, PenWidth, 0);
    SelectObject(C.DC, Pen);
    auto Line = [&](Integer X0, Integer Y0, Integer X1, Integer Y1) {
      MoveToEx(C.DC, X0, Y0, nullptr);
      LineTo(C.DC, X1, Y1);
    };
    for (Integer Y = 0; Y <= 96; Y += 12) Line(0, Y, 121, Y);
    for (Integer X = 0; X <= 120; X += 15) Line(X, 0, X, 97);
    Line(0, 0, 120, 96);
    Line(120, 0, 0, 96);
    Line(7, 90, 100, 3);
    Line(30, 96, 45, 0);
    // Reference: label the 4-connected white regions of the drawing.
    std::vector<Integer> Label(static_cast<std::size_t>(C.Width * C.Height), -1);
    Integer Regions = 0;
    for (Integer Y = 0; Y < C.Height; ++Y)
      for (Integer X = 0; X < C.Width; ++X) {
        if (C.At(X, Y) != 0xFFFFFF || Label[Y * C.Width + X] >= 0) continue;
        std::queue<TPoint> Q;
        Q.push({X, Y});
        Label[Y * C.Width + X] = Regions;
        while (!Q.empty()) {
          const TPoint P = Q.front();
          Q.pop();
          const TPoint N[4] = {{P.X + 1, P.Y}, {P.X - 1, P.Y}, {P.X, P.Y + 1}, {P.X, P.Y - 1}};
          for (const TPoint& M : N) {
            if (M.X < 0 || M.Y < 0 || M.X >= C.Width || M.Y >= C.Height) continue;
            if (C.At(M.X, M.Y) != 0xFFFFFF || Label[M.Y * C.Width + M.X] >= 0) continue;
            Label[M.Y * C.Width + M.X] = Regions;
            Q.push(M);
          }
        }
        ++Regions;
      }
    ASSERT_GT(Regions, 80);
    // Flood each region from its first pixel with a distinct colour, bounded by black.
    std::vector<COLORREF> ColorOf(static_cast<std::size_t>(Regions));
    Integer Next = 0;
    for (Integer Y = 0; Y < C.Height; ++Y)
      for (Integer X = 0; X < C.Width; ++X) {
        if (C.At(X, Y) != 0xFFFFFF) continue;
        const COLORREF Color = RGB(static_cast<BYTE>(1 + Next % 250), static_cast<BYTE>(1 + Next / 250), 7);
        ColorOf[static_cast<std::size_t>(Label[Y * C.Width + X])] = Color;
        ++Next;
        HBRUSH B = CreateSolidBrush(Color);
        HGDIOBJ Old = SelectObject(C.DC, B);
        ASSERT_TRUE(FloodFill(C.DC, X, Y, 0));
        SelectObject(C.DC, Old);
        DeleteObject(B);
      }
    EXPECT_EQ(Next, Regions) << "a fill leaked into another cell";
    for (Integer Y = 0; Y < C.Height; ++Y)
      for (Integer X = 0; X < C.Width; ++X) {
        const Integer L = Label[Y * C.Width + X];
        EXPECT_EQ(C.At(X, Y), L < 0 ? 0u : ColorOf[static_cast<std::size_t>(L)]) << X << "," << Y;
      }
    SelectObject(C.DC, GetStockObject(BLACK_PEN));
    DeleteObject(Pen);
  }
}

TEST(Brushes, HatchesAlignToTheBrushOrigin) {
  TTestCanvas C(10, 10);
  HBRUSH Hatch = CreateHatchBrush(HS_CROSS, RGB(0, 0, 0));
  SetBkColor(C.DC, RGB(255, 0, 0));
  const RECT R{0, 0, 10, 10};
  FillRect(C.DC, &R, Hatch);
  EXPECT_EQ(C.Picture(RGB(255, 0, 0), 0),
            TTestCanvas::Rows({".......#..", ".......#..", ".......#..", ".......#..", ".......#..",
                               ".......#..", ".......#..", "##########", ".......#..", ".......#.."}));
  C.Clear(0xFFFFFF);
  SetBkMode(C.DC, TRANSPARENT);
  SetBrushOrgEx(C.DC, 2, 1, nullptr);
  HBRUSH Diag = CreateHatchBrush(HS_FDIAGONAL, RGB(0, 0, 0));
  FillRect(C.DC, &R, Diag);
  EXPECT_EQ(C.At(2, 1), 0u);
  EXPECT_EQ(C.At(5, 4), 0u);
  EXPECT_EQ(C.At(4, 4), 0xFFFFFFu);  // gaps untouched
  DeleteObject(Hatch);
  DeleteObject(Diag);
}

TEST(Brushes, MonochromePatternsUseTextAndBackgroundColours) {
  const Byte Bits[] = {0x80, 0, 0x40, 0};  // 2x2: 1 0 / 0 1
  HBITMAP Mono = CreateBitmap(2, 2, 1, 1, Bits);
  HBRUSH Brush = CreatePatternBrush(Mono);
  TTestCanvas C(4, 2);
  SetTextColor(C.DC, RGB(0, 0, 255));
  SetBkColor(C.DC, RGB(255, 0, 0));
  const RECT R{0, 0, 4, 2};
  FillRect(C.DC, &R, Brush);
  EXPECT_EQ(C.At(0, 0), RGB(255, 0, 0));  // 1 bits: background
  EXPECT_EQ(C.At(1, 0), RGB(0, 0, 255));  // 0 bits: text
  EXPECT_EQ(C.At(3, 1), RGB(255, 0, 0));
  DeleteObject(Brush);
  DeleteObject(Mono);
}

TEST(Fills, RectangleCallsAndRasterOperations) {
  TTestCanvas C(6, 4);
  const RECT R{1, 1, 5, 3};
  FrameRect(C.DC, &R, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(C.Picture(), TTestCanvas::Rows({"......", ".####.", ".####.", "......"}));
  InvertRect(C.DC, &R);
  EXPECT_EQ(C.Picture(), TTestCanvas::Rows({"......", "......", "......", "......"}));
  C.Clear(0xFFFFFF);
  const RECT Big{0, 0, 6, 4};
  DrawFocusRect(C.DC, &Big);
  EXPECT_EQ(C.Picture(), TTestCanvas::Rows({"#.#.#.", ".....#", "#.....", ".#.#.#"}));
  DrawFocusRect(C.DC, &Big);
  EXPECT_EQ(C.Picture(), TTestCanvas::Rows({"......", "......", "......", "......"}));
  PatBlt(C.DC, 0, 0, 2, 2, BLACKNESS);
  PatBlt(C.DC, 4, 2, -2, 2, DSTINVERT);  // negative width extends to the left
  EXPECT_EQ(C.Picture(), TTestCanvas::Rows({"##....", "##....", "..##..", "..##.."}));
  SelectObject(C.DC, GetStockObject(BLACK_BRUSH));
  EXPECT_TRUE(PatBlt(C.DC, 0, 0, 6, 1, PATINVERT));
  EXPECT_EQ(C.Picture(), TTestCanvas::Rows({"##....", "##....", "..##..", "..##.."}));
  EXPECT_FALSE(PatBlt(C.DC, 0, 0, 1, 1, 0x00CC0020));  // SRCCOPY needs a source
  // A system colour index + 1 stands for its brush.
  FillRect(C.DC, &Big, reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_BTNFACE + 1)));
  EXPECT_EQ(C.At(3, 3), GetSysColor(COLOR_BTNFACE));
}

TEST(Fills, RegionsPaintInLogicalCoordinates) {
  TTestCanvas C(8, 6);
  HRGN R = CreateRectRgn(0, 0, 3, 2);
  HRGN S = CreateRectRgn(2, 1, 5, 4);
  CombineRgn(R, R, S, RGN_OR);
  SetViewportOrgEx(C.DC, 1, 1, nullptr);
  FillRgn(C.DC, R, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(C.Picture(),
            TTestCanvas::Rows({"........", ".###....", ".#####..", "...###..", "...###..", "........"}));
  C.Clear(0xFFFFFF);
  FrameRgn(C.DC, R, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), 1, 1);
  EXPECT_EQ(C.Picture(),
            TTestCanvas::Rows({"........", ".###....", ".##.##..", "...#.#..", "...###..", "........"}));
  InvertRgn(C.DC, S);  // logical (2, 1)-(5, 4): surface (3, 2)-(6, 5)
  EXPECT_EQ(C.At(4, 3), 0u);
  EXPECT_EQ(C.At(5, 3), 0xFFFFFFu);
  DeleteObject(R);
  DeleteObject(S);
}

TEST(Pixels, SetAndGetHonourSurfaceAndClip) {
  TTestCanvas C(4, 4);
  EXPECT_EQ(SetPixel(C.DC, 1, 1, RGB(1, 2, 3)), RGB(1, 2, 3));
  EXPECT_EQ(GetPixel(C.DC, 1, 1), RGB(1, 2, 3));
  EXPECT_EQ(GetPixel(C.DC, 4, 0), CLR_INVALID);
  EXPECT_EQ(GetPixel(C.DC, -1, 0), CLR_INVALID);
  EXPECT_EQ(SetPixel(C.DC, 0, 4, 0), CLR_INVALID);
  IntersectClipRect(C.DC, 0, 0, 1, 1);
  EXPECT_EQ(GetPixel(C.DC, 1, 1), CLR_INVALID);
  EXPECT_FALSE(SetPixelV(C.DC, 2, 2, 0));
  // A 16-bit surface stores the nearest 5-bit levels and says so.
  TTestCanvas D(2, 2, 16);
  EXPECT_EQ(SetPixel(D.DC, 0, 0, RGB(255, 100, 7)), RGB(255, 99, 0));
  EXPECT_EQ(GetPixel(D.DC, 0, 0), RGB(255, 99, 0));
}

TEST(Pixels, EveryDepthDrawsTheSameScene) {
  auto Scene = [](HDC DC) {
    SelectObject(DC, GetStockObject(NULL_BRUSH));
    Ellipse(DC, 1, 1, 15, 11);
    MoveToEx(DC, 0, 11, nullptr);
    LineTo(DC, 16, 0);
    Rectangle(DC, 4, 4, 9, 8);
    SelectObject(DC, GetStockObject(BLACK_BRUSH));
    FloodFill(DC, 2, 6, 0);
  };
  TTestCanvas Ref(16, 12);
  Scene(Ref.DC);
  for (Integer Bpp : {1, 4, 8, 16, 24}) {
    TTestCanvas C(16, 12, Bpp);
    Scene(C.DC);
    EXPECT_EQ(C.Picture(), Ref.Picture()) << Bpp;
  }
}
