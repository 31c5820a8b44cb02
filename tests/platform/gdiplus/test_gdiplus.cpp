#include <gtest/gtest.h>

#include "platform/gdi/Painting.h"
#include "platform/gdiplus/GdiPlusFlat.h"
#include "tests/platform/gdi/GdiTestUtil.h"

namespace {

constexpr COLORREF White = 0xFFFFFF;

// A started interface and a graphics object over a test canvas of the given depth.
struct TGraphicsFixture {
  ULONG_PTR Token = 0;
  TTestCanvas Canvas;
  GpGraphics* Graphics = nullptr;
  GpPen* Pen = nullptr;

  explicit TGraphicsFixture(Integer Bpp = 32, Integer W = 16, Integer H = 16) : Canvas(W, H, Bpp, White) {
    GdiplusStartupInput Input;
    EXPECT_EQ(GdiplusStartup(&Token, &Input, nullptr), Ok);
    EXPECT_EQ(GdipCreateFromHDC(Canvas.DC, &Graphics), Ok);
  }
  ~TGraphicsFixture() {
    if (Pen) GdipDeletePen(Pen);
    GdipDeleteGraphics(Graphics);
    GdiplusShutdown(Token);
  }
  void Fill(ARGB Color, REAL X, REAL Y, REAL W, REAL H) {
    GpSolidFill* Brush = nullptr;
    ASSERT_EQ(GdipCreateSolidFill(Color, &Brush), Ok);
    EXPECT_EQ(GdipFillRectangle(Graphics, Brush, X, Y, W, H), Ok);
    GdipDeleteBrush(Brush);
  }
  GpPen* MakePen(ARGB Color, REAL Width = 1) {
    EXPECT_EQ(GdipCreatePen1(Color, Width, UnitPixel, &Pen), Ok);
    return Pen;
  }
};

TEST(TGdiplusStartupTest, VersionsAndStartupAreChecked) {
  TTestCanvas Canvas(4, 4);
  GpGraphics* Graphics = reinterpret_cast<GpGraphics*>(1);
  EXPECT_EQ(GdipCreateFromHDC(Canvas.DC, &Graphics), GdiplusNotInitialized);
  EXPECT_EQ(Graphics, nullptr);
  GpPen* Pen = nullptr;
  EXPECT_EQ(GdipCreatePen1(0xFF000000, 1, UnitPixel, &Pen), GdiplusNotInitialized);

  ULONG_PTR Token = 0;
  GdiplusStartupInput Input;
  Input.GdiplusVersion = 2;
  EXPECT_EQ(GdiplusStartup(&Token, &Input, nullptr), UnsupportedGdiplusVersion);
  Input.GdiplusVersion = 1;
  ASSERT_EQ(GdiplusStartup(&Token, &Input, nullptr), Ok);
  EXPECT_TRUE(GdiplusPresent());
  EXPECT_EQ(GdipCreateFromHDC(nullptr, &Graphics), OutOfMemory);
  ASSERT_EQ(GdipCreateFromHDC(Canvas.DC, &Graphics), Ok);
  EXPECT_EQ(GdipSetSmoothingMode(Graphics, SmoothingModeInvalid), InvalidParameter);
  EXPECT_EQ(GdipDeleteGraphics(Graphics), Ok);
  GdiplusShutdown(Token);
  EXPECT_EQ(GdipCreateFromHDC(Canvas.DC, &Graphics), GdiplusNotInitialized);
}

// Integer corners are pixel centres: without smoothing a W x H box covers exactly W x H
// pixels; anti-aliased, its edge pixels are half covered.
TEST(TGdiplusFillTest, BoxesCoverPixelCentres) {
  for (Integer Bpp : {32, 24}) {
    TGraphicsFixture F(Bpp);
    F.Fill(0xFF0000FF, 2, 2, 4, 3);
    for (Integer Y = 0; Y < 8; ++Y)
      for (Integer X = 0; X < 8; ++X) {
        const bool Inside = X >= 2 && X < 6 && Y >= 2 && Y < 5;
        EXPECT_EQ(F.Canvas.At(X, Y), Inside ? 0xFF0000u : White) << Bpp << ": " << X << "," << Y;
      }
    ASSERT_EQ(GdipSetSmoothingMode(F.Graphics, SmoothingModeAntiAlias), Ok);
    F.Fill(0xFF000000, 8, 8, 4, 4);
    EXPECT_EQ(F.Canvas.At(10, 10), 0u);
    EXPECT_EQ(F.Canvas.At(7, 10), White);
    for (const auto& [X, Y] : {std::pair{8, 10}, {12, 10}, {10, 8}, {10, 12}}) {
      const Integer Grey = GetRValue(F.Canvas.At(X, Y));
      EXPECT_NEAR(Grey, 128, 2) << X << "," << Y;
    }
  }
}

TEST(TGdiplusFillTest, TransparentBrushBlendsAndClearBrushLeavesThePicture) {
  TGraphicsFixture F;
  F.Fill(0x80000000, 0, 0, 4, 4);
  EXPECT_NEAR(GetGValue(F.Canvas.At(1, 1)), 127, 1);
  F.Fill(0x00000000, 8, 8, 4, 4);
  EXPECT_EQ(F.Canvas.At(9, 9), White);
}

TEST(TGdiplusPenTest, OnePixelLineCoversItsRowAndBothEnds) {
  TGraphicsFixture F(24);
  ASSERT_EQ(GdipDrawLine(F.Graphics, F.MakePen(0x80FF0000), 2, 5, 9, 5), Ok);
  for (Integer X = 0; X < 12; ++X) {
    const COLORREF C = F.Canvas.At(X, 5);
    if (X >= 2 && X <= 9) {
      EXPECT_EQ(GetRValue(C), 255) << X;
      EXPECT_NEAR(GetBValue(C), 127, 1) << X;
    } else {
      EXPECT_EQ(C, White) << X;
    }
  }
  EXPECT_EQ(F.Canvas.At(5, 4), White);
  EXPECT_EQ(F.Canvas.At(5, 6), White);
}

// An anti-aliased line between pixel rows shares its ink between them.
TEST(TGdiplusPenTest, AntiAliasedEdgeSplitsAcrossPixels) {
  TGraphicsFixture F;
  ASSERT_EQ(GdipSetSmoothingMode(F.Graphics, SmoothingModeHighQuality), Ok);
  ASSERT_EQ(GdipDrawLine(F.Graphics, F.MakePen(0xFF000000), 2, 5.5f, 12, 5.5f), Ok);
  EXPECT_NEAR(GetRValue(F.Canvas.At(6, 5)), 128, 2);
  EXPECT_NEAR(GetRValue(F.Canvas.At(6, 6)), 128, 2);
  EXPECT_EQ(F.Canvas.At(6, 4), White);
}

TEST(TGdiplusPenTest, ColourWidthAndClearAlphaTakeEffect) {
  TGraphicsFixture F;
  GpPen* Pen = F.MakePen(0xFF000000);
  ASSERT_EQ(GdipSetPenWidth(Pen, 3), Ok);
  ASSERT_EQ(GdipSetPenColor(Pen, 0x00000000), Ok);
  ASSERT_EQ(GdipDrawLine(F.Graphics, Pen, 1, 5, 14, 5), Ok);
  EXPECT_EQ(F.Canvas.At(5, 5), White);
  ASSERT_EQ(GdipSetPenColor(Pen, 0xFF00FF00), Ok);
  ASSERT_EQ(GdipDrawLine(F.Graphics, Pen, 1, 5, 14, 5), Ok);
  for (Integer Y : {4, 5, 6}) EXPECT_EQ(F.Canvas.At(5, Y), 0x00FF00u) << Y;
  EXPECT_EQ(F.Canvas.At(5, 3), White);
  EXPECT_EQ(F.Canvas.At(5, 7), White);
}

TEST(TGdiplusPenTest, DashesLeaveGaps) {
  TGraphicsFixture F;
  GpPen* Pen = F.MakePen(0xFF000000);
  ASSERT_EQ(GdipSetPenDashStyle(Pen, DashStyleDash), Ok);
  ASSERT_EQ(GdipDrawLine(F.Graphics, Pen, 0, 2, 15, 2), Ok);
  std::string Row;
  for (Integer X = 0; X < 8; ++X) Row += F.Canvas.At(X, 2) == 0 ? '#' : '.';
  EXPECT_EQ(Row, "###.###.");
  EXPECT_EQ(GdipSetPenDashStyle(Pen, static_cast<GpDashStyle>(7)), InvalidParameter);
}

// Foreground pixels every 8 rows from the device origin; an all-transparent background
// leaves the picture showing.
TEST(TGdiplusHatchTest, HorizontalHatchOverTransparentBackground) {
  TGraphicsFixture F(24);
  GpHatch* Hatch = nullptr;
  ASSERT_EQ(GdipCreateHatchBrush(HatchStyleHorizontal, 0xFF000000, 0x00000000, &Hatch), Ok);
  ASSERT_EQ(GdipFillRectangle(F.Graphics, Hatch, 0, 0, 16, 16), Ok);
  for (Integer Y = 0; Y < 16; ++Y) EXPECT_EQ(F.Canvas.At(3, Y), Y % 8 == 0 ? 0u : White) << Y;
  GdipDeleteBrush(Hatch);
  ASSERT_EQ(GdipCreateHatchBrush(HatchStyleCross, 0xFF000000, 0xFFFF0000, &Hatch), Ok);
  ASSERT_EQ(GdipFillRectangle(F.Graphics, Hatch, 0, 0, 16, 16), Ok);
  EXPECT_EQ(F.Canvas.At(8, 3), 0u);
  EXPECT_EQ(F.Canvas.At(3, 3), 0x0000FFu);  // blue background, as a COLORREF
  GdipDeleteBrush(Hatch);
  EXPECT_EQ(GdipCreateHatchBrush(static_cast<GpHatchStyle>(99), 0, 0, &Hatch), InvalidParameter);
}

// GDI drawing between calls survives on a copied (24-bit) bitmap.
TEST(TGdiplusSurfaceTest, CopiedBitmapKeepsGdiDrawingBetweenCalls) {
  TGraphicsFixture F(24);
  F.Fill(0xFF000000, 0, 0, 2, 2);
  SetPixel(F.Canvas.DC, 10, 10, 0x0000FF);
  F.Fill(0xFF000000, 4, 4, 2, 2);
  EXPECT_EQ(F.Canvas.At(10, 10), 0x0000FFu);
  EXPECT_EQ(F.Canvas.At(4, 4), 0u);
  EXPECT_EQ(F.Canvas.At(0, 0), 0u);
}

TEST(TGdiplusShapeTest, EllipseFillsItsInsideAndPolygonFillsAlternate) {
  TGraphicsFixture F(32, 24, 24);
  GpSolidFill* Brush = nullptr;
  ASSERT_EQ(GdipCreateSolidFill(0xFF000000, &Brush), Ok);
  ASSERT_EQ(GdipFillEllipse(F.Graphics, Brush, 2, 2, 10, 10), Ok);
  EXPECT_EQ(F.Canvas.At(7, 7), 0u);
  EXPECT_EQ(F.Canvas.At(7, 3), 0u);
  EXPECT_EQ(F.Canvas.At(3, 3), White);  // outside the curve near the box corner
  // A pentagram: its centre is covered twice and stays empty by the alternate rule.
  const GpPoint Star[] = {{18, 13}, {21, 22}, {13, 16}, {23, 16}, {15, 22}};
  ASSERT_EQ(GdipFillPolygonI(F.Graphics, Brush, Star, 5, FillModeAlternate), Ok);
  EXPECT_EQ(F.Canvas.At(18, 18), White);
  ASSERT_EQ(GdipFillPolygonI(F.Graphics, Brush, Star, 5, FillModeWinding), Ok);
  EXPECT_EQ(F.Canvas.At(18, 18), 0u);
  GdipDeleteBrush(Brush);
}

TEST(TGdiplusShapeTest, PathOfArcsAndTransformsMoveTheDrawing) {
  TGraphicsFixture F(32, 24, 24);
  GpPath* Path = nullptr;
  ASSERT_EQ(GdipCreatePath(FillModeAlternate, &Path), Ok);
  ASSERT_EQ(GdipAddPathArc(Path, 2, 2, 8, 8, 180, 180), Ok);
  ASSERT_EQ(GdipAddPathLine(Path, 10, 6, 2, 6), Ok);
  GpSolidFill* Brush = nullptr;
  ASSERT_EQ(GdipCreateSolidFill(0xFF000000, &Brush), Ok);
  ASSERT_EQ(GdipFillPath(F.Graphics, Brush, Path), Ok);
  EXPECT_EQ(F.Canvas.At(6, 4), 0u);  // the upper half-disc
  EXPECT_EQ(F.Canvas.At(6, 8), White);
  ASSERT_EQ(GdipTranslateWorldTransform(F.Graphics, 10, 0, MatrixOrderPrepend), Ok);
  ASSERT_EQ(GdipFillRectangle(F.Graphics, Brush, 0, 12, 2, 2), Ok);
  EXPECT_EQ(F.Canvas.At(10, 12), 0u);
  EXPECT_EQ(F.Canvas.At(0, 12), White);
  ASSERT_EQ(GdipResetWorldTransform(F.Graphics), Ok);
  ASSERT_EQ(GdipFillRectangle(F.Graphics, Brush, 0, 12, 2, 2), Ok);
  EXPECT_EQ(F.Canvas.At(0, 12), 0u);
  GdipDeleteBrush(Brush);
  GdipDeletePath(Path);
}

}  // namespace

// A window's context has no bitmap: drawing lands on the screen surface at the window's place,
// shifted by the viewport origin and kept inside the visible region.
TEST(TGdiplusSurfaceTest, WindowContextDrawsAtItsOriginInsideItsVisibleRegion) {
  TTestCanvas Screen(12, 8, 32, White);
  HDC Window =
      TDeviceContext::CreateForSurface(&Screen.Bitmap->Surface, TPoint{4, 2}, TRegionData(TRect{4, 2, 9, 8}));
  SetViewportOrgEx(Window, 1, 1, nullptr);
  ULONG_PTR Token = 0;
  GdiplusStartupInput Input;
  ASSERT_EQ(GdiplusStartup(&Token, &Input, nullptr), Ok);
  GpGraphics* Graphics = nullptr;
  ASSERT_EQ(GdipCreateFromHDC(Window, &Graphics), Ok);
  GpSolidFill* Brush = nullptr;
  ASSERT_EQ(GdipCreateSolidFill(0xFF000000, &Brush), Ok);
  EXPECT_EQ(GdipFillRectangle(Graphics, Brush, 0, 0, 6, 2), Ok);
  GdipDeleteBrush(Brush);
  GdipDeleteGraphics(Graphics);
  GdiplusShutdown(Token);
  DeleteDC(Window);
  EXPECT_EQ(Screen.Picture(),
            "\n"
            "............\n"
            "............\n"
            "............\n"
            ".....####...\n"
            ".....####...\n"
            "............\n"
            "............\n"
            "............\n");
}
