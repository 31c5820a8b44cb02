// The view's background painter on small 24-bit bitmaps: each style's pixels where they land.
#include <gtest/gtest.h>

#include <memory>

#include "imaging/view/zezudidviewpaint.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/Canvas.h"
#include "platform/classes/Graphic.h"

namespace {

constexpr TColor Back = 0x305070;  // red 0x70, green 0x50, blue 0x30
constexpr TColor NotBack = 0xCFAF8F;
constexpr TColor Sentinel = 0x0A0B0C;

struct TPainted {
  std::unique_ptr<TBitmap> Bitmap = std::make_unique<TBitmap>();
  TPainted(Integer Width, Integer Height) {
    Bitmap->SetPixelFormat(pf24bit);
    Bitmap->SetSize(Width, Height);
    for (Integer Y = 0; Y < Height; ++Y)
      for (Integer X = 0; X < Width; ++X) Set(X, Y, Sentinel);
  }
  TColor At(Integer X, Integer Y) const {
    const Byte* P = static_cast<const Byte*>(Bitmap->GetScanLine(Y)) + X * 3;
    return P[2] | (P[1] << 8) | (P[0] << 16);
  }
  void Set(Integer X, Integer Y, TColor C) {
    Byte* P = static_cast<Byte*>(Bitmap->GetScanLine(Y)) + X * 3;
    P[0] = static_cast<Byte>(C >> 16);
    P[1] = static_cast<Byte>(C >> 8);
    P[2] = static_cast<Byte>(C);
  }
  // The painter over the whole bitmap; WithBitmap hands it the bitmap behind the canvas.
  void Paint(TIEBackgroundStyle Style, bool WithBitmap = true, const TRect& Inner = {},
             TPicture* WallPaper = nullptr, TIEWallPaperStyle WallStyle = iewoNormal, Integer BoxSize = 16) {
    IEDrawBackground({}, Bitmap->GetCanvas(), WithBitmap ? Bitmap.get() : nullptr, WallStyle, WallPaper,
                     clBlue, 0, BoxSize, Inner, {0, 0, Bitmap->GetWidth(), Bitmap->GetHeight()}, Back, Style);
  }
};

TEST(ViewBackground, SolidFillsTheWholeArea) {
  TPainted P(9, 7);
  P.Paint(iebsSolid);
  for (Integer Y = 0; Y < 7; ++Y)
    for (Integer X = 0; X < 9; ++X) ASSERT_EQ(P.At(X, Y), Back) << X << "," << Y;
}

// Boxes of 16, 16 and 8 pixels each way, the top-left one in the background colour; the row
// writer and the canvas boxes agree.
TEST(ViewBackground, ChessboardBoxesBothPaths) {
  for (const bool WithBitmap : {true, false}) {
    TPainted P(40, 40);
    P.Paint(iebsChessboard, WithBitmap);
    struct {
      Integer X, Y;
      TColor Expected;
    } const Cases[] = {{0, 0, Back},   {15, 15, Back},    {16, 0, NotBack}, {31, 0, NotBack},
                       {32, 0, Back},  {39, 0, Back},     {0, 16, NotBack}, {16, 16, Back},
                       {39, 39, Back}, {32, 31, NotBack}, {15, 16, NotBack}};
    for (const auto& C : Cases)
      EXPECT_EQ(P.At(C.X, C.Y), C.Expected) << C.X << "," << C.Y << " " << WithBitmap;
  }
}

TEST(ViewBackground, ChessboardRowsStayInsideTheClip) {
  TPainted P(40, 40);
  IntersectClipRect(P.Bitmap->GetCanvas()->GetHandle(), 10, 10, 20, 20);
  P.Paint(iebsChessboard);
  SelectClipRgn(P.Bitmap->GetCanvas()->GetHandle(), nullptr);
  EXPECT_EQ(P.At(9, 10), Sentinel);
  EXPECT_EQ(P.At(10, 10), Back);
  EXPECT_EQ(P.At(19, 19), Back);
  EXPECT_EQ(P.At(16, 10), NotBack);
  EXPECT_EQ(P.At(20, 19), Sentinel);
}

TEST(ViewBackground, GradientRunsFromTheColourAtTheTopToTheEndColourAtTheBottom) {
  TPainted P(4, 64);
  P.Paint(iebsGradient);
  EXPECT_EQ(P.At(0, 0), Back);
  EXPECT_EQ(P.At(3, 0), Back);
  // Row y: 0x70 + (0x00 - 0x70) * y / 64 red, blue 0x30 + (0xFF - 0x30) * y / 64.
  EXPECT_EQ(P.At(2, 32), static_cast<TColor>(0x38 | (0x28 << 8) | (0x97 << 16)));
  const TColor Last = P.At(0, 63);
  EXPECT_LE(Last & 0xFF, 2);
  EXPECT_GE(Last >> 16, 0xFB);
}

TEST(ViewBackground, GradientWithoutItsEntryLeavesTheAreaAlone) {
  TPainted P(8, 8);
  IESetGradientFillEntry(nullptr);
  EXPECT_FALSE(IEGradientFillRect({0, 0, 8, 8}, P.Bitmap->GetCanvas()->GetHandle(), Back, true, clBlue));
  P.Paint(iebsGradient);
  IESetGradientFillEntry(&GradientFill);
  EXPECT_EQ(P.At(0, 0), Sentinel);
  EXPECT_EQ(P.At(7, 7), Sentinel);
}

TEST(ViewBackground, DiagonalsCrossInTheInvertedColour) {
  TPainted P(10, 10);
  P.Paint(iebsDiagonals);
  EXPECT_EQ(P.At(0, 0), NotBack);
  EXPECT_EQ(P.At(4, 4), NotBack);
  EXPECT_EQ(P.At(9, 1), NotBack);
  EXPECT_EQ(P.At(4, 6), NotBack);
  EXPECT_EQ(P.At(3, 5), Back);
  EXPECT_EQ(P.At(0, 5), Back);
}

TEST(ViewBackground, HatchStylesMixTheColourWithTheCanvasBackground) {
  TPainted P(16, 16);
  P.Paint(iebsHorizontal);
  Integer Coloured = 0;
  for (Integer Y = 0; Y < 16; ++Y) {
    const TColor Row = P.At(0, Y);
    for (Integer X = 1; X < 16; ++X) ASSERT_EQ(P.At(X, Y), Row) << "horizontal lines run whole rows";
    Coloured += Row == Back;
  }
  EXPECT_EQ(Coloured, 2);  // one line every 8 rows
}

TEST(ViewBackground, PhotoLikeFramesTheInnerRectangleOverGrey) {
  TPainted P(30, 30);
  P.Paint(iebsPhotoLike, true, {10, 10, 20, 20}, nullptr, iewoNormal, 4);
  EXPECT_EQ(P.At(0, 0), 0xB0B0B0u);
  EXPECT_EQ(P.At(9, 9), clBlack);
  EXPECT_EQ(P.At(20, 15), clBlack);
  EXPECT_EQ(P.At(21, 15), 0xB0B0B0u);
  EXPECT_EQ(P.At(10, 10), Back);
  EXPECT_EQ(P.At(14, 10), NotBack);
}

TEST(ViewBackground, CropShadowDarkensBesideAndBelowThePicture) {
  TPainted P(30, 30);
  P.Paint(iebsCropShadow, true, {5, 5, 20, 20});
  EXPECT_EQ(P.At(2, 2), Back);
  EXPECT_EQ(P.At(12, 12), Back);  // the picture's place is only filled
  const TColor Beside = P.At(20, 12);
  EXPECT_LT(Beside & 0xFF, Back & 0xFF);
  const TColor Below = P.At(12, 20);
  EXPECT_LT(Below & 0xFF, Back & 0xFF);
}

TEST(ViewBackground, CroppedIsButtonFaceWithASunkenEdgeAtDesignTimeASolidFill) {
  TPainted P(20, 20);
  P.Paint(iebsCropped, true, {6, 6, 14, 14});
  EXPECT_EQ(P.At(0, 0), ColorToRGB(clBtnFace));
  EXPECT_NE(P.At(4, 10), ColorToRGB(clBtnFace));  // the edge, two pixels outside the picture
  TPainted D(20, 20);
  IEDrawBackground(TComponentState{csDesigning}, D.Bitmap->GetCanvas(), D.Bitmap.get(), iewoNormal, nullptr,
                   clBlue, 0, 16, {6, 6, 14, 14}, {0, 0, 20, 20}, Back, iebsCropped);
  EXPECT_EQ(D.At(4, 10), Back);
}

TEST(ViewBackground, WallPaperTilesFromTheOrigin) {
  TBitmap Tile;
  Tile.SetPixelFormat(pf24bit);
  Tile.SetSize(3, 3);
  Tile.GetCanvas()->GetBrush()->SetColor(clRed);
  Tile.GetCanvas()->FillRect({0, 0, 3, 3});
  Tile.GetCanvas()->SetPixels(0, 0, clLime);
  TPicture WallPaper;
  WallPaper.SetGraphic(&Tile);
  for (const auto& [Style, X, Y, Expected] :
       {std::tuple{iewoTile, 6, 3, clLime}, std::tuple{iewoTile, 7, 4, clRed},
        std::tuple{iewoNormal, 0, 0, clLime}, std::tuple{iewoNormal, 6, 3, Back}}) {
    TPainted P(10, 10);
    P.Paint(iebsSolid, true, {}, &WallPaper, Style);
    EXPECT_EQ(P.At(X, Y), static_cast<TColor>(Expected)) << Style << " " << X << "," << Y;
  }
}

}  // namespace
