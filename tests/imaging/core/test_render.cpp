#include <gtest/gtest.h>

#include <cstring>

#include "imaging/core/iebitmap.h"
#include "platform/classes/Bitmap.h"
#include "tests/imaging/core/RenderTestSupport.h"

using namespace RenderTest;

namespace {

struct TDraw {
  Integer Transparency = 255;
  TResampleFilter Filter = rfNone;
  Byte BlendOp = 0;
  bool EnableAlpha = true;
  bool RowCopy = false;
  const TRect* Clip = nullptr;
};

void Render(TIEBitmap* Source, TIEBitmap* Dest, Integer DX, Integer DY, Integer DW, Integer DH, Integer SX,
            Integer SY, Integer SW, Integer SH, const TDraw& O = {}) {
  std::vector<Byte*> Rows;
  std::vector<Integer> Columns, RowIndexes;
  Source->RenderToTIEBitmap(Dest, Rows, Columns, RowIndexes, O.Clip, DX, DY, DW, DH, SX, SY, SW, SH,
                            O.EnableAlpha, O.RowCopy, O.Transparency, O.Filter, true, O.BlendOp);
  EXPECT_TRUE(Rows.empty() && Columns.empty() && RowIndexes.empty()) << "tables the call built are freed";
}

const TIERGBTriple Marker = Rgb(1, 2, 3);

}  // namespace

TEST(Render, OneToOneCopiesRowsExactlyAndNothingElse) {
  auto Source = MakeCoordinates(8, 6);
  auto Dest = MakeFilled(10, 10, Marker);
  Render(Source.get(), Dest.get(), 2, 3, 4, 2, 1, 2, 4, 2);
  for (Integer Y = 0; Y < 10; ++Y)
    for (Integer X = 0; X < 10; ++X) {
      const bool Inside = X >= 2 && X < 6 && Y >= 3 && Y < 5;
      const TIERGBTriple Expected =
          Inside ? Rgb(static_cast<Byte>(X - 2 + 1), static_cast<Byte>(Y - 3 + 2), 7) : Marker;
      ASSERT_EQ(Dest->GetPixel24(X, Y), Expected) << X << "," << Y;
    }
}

TEST(Render, NegativeDestinationStartsFurtherInTheSource) {
  // DestX -10, 100 columns from 50: starts at source column Round(10 x 0.5) = 5, draws 90.
  auto Source = MakeCoordinates(50, 1);
  auto Dest = MakeFilled(100, 1, Marker);
  Render(Source.get(), Dest.get(), -10, 0, 100, 1, 0, 0, 50, 1);
  EXPECT_EQ(Dest->GetPixel24(0, 0).rgbtRed, 5);
  EXPECT_EQ(Dest->GetPixel24(1, 0).rgbtRed, 5);
  EXPECT_EQ(Dest->GetPixel24(2, 0).rgbtRed, 6);
  EXPECT_EQ(Dest->GetPixel24(89, 0).rgbtRed, 49);
  EXPECT_EQ(Dest->GetPixel24(90, 0), Marker);
  // The skipped source columns are rounded, halves to even: 3.5 gives 4, 2.5 gives 2.
  Render(Source.get(), Dest.get(), -7, 0, 100, 1, 0, 0, 50, 1);
  EXPECT_EQ(Dest->GetPixel24(0, 0).rgbtRed, 4);
  Render(Source.get(), Dest.get(), -5, 0, 100, 1, 0, 0, 50, 1);
  EXPECT_EQ(Dest->GetPixel24(0, 0).rgbtRed, 2);
}

TEST(Render, ScalingPicksTruncatedSourcePositions) {
  auto Source = MakeCoordinates(9, 6);
  auto Dest = MakeFilled(5, 4, Marker);
  // 9 x 6 into 4 x 3: column Trunc(X x 2.25), row Trunc(Y x 2).
  Render(Source.get(), Dest.get(), 1, 1, 4, 3, 0, 0, 9, 6);
  const Byte Columns[4] = {0, 2, 4, 6};
  for (Integer Y = 0; Y < 3; ++Y)
    for (Integer X = 0; X < 4; ++X)
      EXPECT_EQ(Dest->GetPixel24(1 + X, 1 + Y), Rgb(Columns[X], static_cast<Byte>(2 * Y), 7))
          << X << "," << Y;
  EXPECT_EQ(Dest->GetPixel24(0, 0), Marker);
}

TEST(Render, ClipRightAndBottomAreTheLastDrawn) {
  auto Source = MakeFilled(6, 6, Grey(200));
  auto Dest = MakeFilled(6, 6, Marker);
  const TRect Clip{1, 2, 3, 4};
  TDraw O;
  O.Clip = &Clip;
  Render(Source.get(), Dest.get(), 0, 0, 6, 6, 0, 0, 6, 6, O);
  for (Integer Y = 0; Y < 6; ++Y)
    for (Integer X = 0; X < 6; ++X) {
      const bool Inside = X >= 1 && X <= 3 && Y >= 2 && Y <= 4;
      ASSERT_EQ(Dest->GetPixel24(X, Y), Inside ? Grey(200) : Marker) << X << "," << Y;
    }
}

TEST(Render, DegenerateRectanglesDrawNothing) {
  auto Source = MakeFilled(4, 4, Grey(9));
  auto Dest = MakeFilled(4, 4, Marker);
  Render(Source.get(), Dest.get(), 0, 0, 0, 4, 0, 0, 4, 4);
  Render(Source.get(), Dest.get(), 0, 0, 4, 4, 0, 0, 4, 0);
  Render(Source.get(), Dest.get(), 4, 0, 4, 4, 0, 0, 4, 4);
  Render(Source.get(), Dest.get(), 0, 4, 4, 4, 0, 0, 4, 4);
  Render(Source.get(), Dest.get(), -4, 0, 4, 4, 0, 0, 4, 4);
  for (Integer Y = 0; Y < 4; ++Y)
    for (Integer X = 0; X < 4; ++X) ASSERT_EQ(Dest->GetPixel24(X, Y), Marker);
}

// An unscaled draw whose source rectangle runs past the source repeats its edge pixels, as the
// scaled path does, instead of reading past the rows.
TEST(Render, UnscaledCopyNeverReadsPastTheSource) {
  auto Source = MakeCoordinates(10, 4);
  auto Dest = MakeFilled(10, 4, Marker);
  Render(Source.get(), Dest.get(), 0, 0, 10, 4, 5, 2, 10, 4);
  for (Integer X = 0; X < 10; ++X) {
    const Byte Column = static_cast<Byte>(std::min(X + 5, 9));
    EXPECT_EQ(Dest->GetPixel24(X, 0), Rgb(Column, 2, 7)) << X;
    EXPECT_EQ(Dest->GetPixel24(X, 1), Rgb(Column, 3, 7)) << X;
    EXPECT_EQ(Dest->GetPixel24(X, 3), Rgb(Column, 3, 7)) << X;
  }
  Render(Source.get(), Dest.get(), 0, 0, 10, 4, -3, 0, 10, 4);
  EXPECT_EQ(Dest->GetPixel24(0, 0), Rgb(0, 0, 7));
  EXPECT_EQ(Dest->GetPixel24(9, 0), Rgb(9, 0, 7));
}

TEST(Render, TransparencyAndAlpha) {
  auto White = MakeFilled(2, 1, Grey(255));
  auto Dest = MakeFilled(2, 1, Grey(0));
  TDraw Half;
  Half.Transparency = 128;
  Render(White.get(), Dest.get(), 0, 0, 2, 1, 0, 0, 2, 1, Half);
  EXPECT_EQ(Dest->GetPixel24(0, 0), Grey(127));

  // An alpha channel in use: 255 moves black 255/256 of the way, 0 leaves it.
  White->SetAlpha(1, 0, 0);
  auto Black = MakeFilled(2, 1, Grey(0));
  Render(White.get(), Black.get(), 0, 0, 2, 1, 0, 0, 2, 1);
  EXPECT_EQ(Black->GetPixel24(0, 0), Grey(254));
  EXPECT_EQ(Black->GetPixel24(1, 0), Grey(0));
  // Transparency caps the alpha.
  Render(White.get(), Black.get(), 0, 0, 2, 1, 0, 0, 2, 1, Half);
  EXPECT_EQ(Black->GetPixel24(0, 0), Grey(254 + ((128 * (255 - 254)) >> 8)));

  // Without EnableAlpha, or with a Full channel, the opaque renderer copies.
  TDraw NoAlpha;
  NoAlpha.EnableAlpha = false;
  Render(White.get(), Black.get(), 0, 0, 2, 1, 0, 0, 2, 1, NoAlpha);
  EXPECT_EQ(Black->GetPixel24(1, 0), Grey(255));
  auto Full = MakeFilled(1, 1, Grey(255));
  Full->GetAlphaChannel()->Fill(255);
  ASSERT_TRUE(Full->GetAlphaChannel()->GetFull());
  auto Dark = MakeFilled(1, 1, Grey(0));
  Render(Full.get(), Dark.get(), 0, 0, 1, 1, 0, 0, 1, 1);
  EXPECT_EQ(Dark->GetPixel24(0, 0), Grey(255));
}

TEST(Render, BlendOperationsAndTheirTransparentMix) {
  auto Source = MakeFilled(1, 1, Grey(255));
  auto Dest = MakeFilled(1, 1, Grey(255));
  TDraw Multiply;
  Multiply.BlendOp = 4;
  Render(Source.get(), Dest.get(), 0, 0, 1, 1, 0, 0, 1, 1, Multiply);
  EXPECT_EQ(Dest->GetPixel24(0, 0), Grey(254));
  // The blend of a copy of the destination, then mixed: 100 + (128 (Screen(200, 100) - 100)) shr 8.
  auto Src200 = MakeFilled(1, 1, Grey(200));
  auto Dst100 = MakeFilled(1, 1, Grey(100));
  TDraw Screen;
  Screen.BlendOp = 11;
  Screen.Transparency = 128;
  Render(Src200.get(), Dst100.get(), 0, 0, 1, 1, 0, 0, 1, 1, Screen);
  EXPECT_EQ(Dst100->GetPixel24(0, 0), Grey(100 + ((128 * (221 - 100)) >> 8)));
  // Row-interleaving operations see the destination row.
  auto Stripes = MakeFilled(1, 4, Grey(9));
  auto Lines = MakeFilled(1, 4, Grey(0));
  TDraw Odd;
  Odd.BlendOp = 42;
  Render(Stripes.get(), Lines.get(), 0, 0, 1, 4, 0, 0, 1, 4, Odd);
  EXPECT_EQ(Lines->GetPixel24(0, 0), Grey(0));
  EXPECT_EQ(Lines->GetPixel24(0, 3), Grey(9));
}

TEST(Render, ContrastAndChannelOffsets) {
  auto Source = MakeBitmap(3, 1, ie24RGB);
  Source->SetPixel24(0, 0, Grey(100));
  Source->SetPixel24(1, 0, Grey(200));
  Source->SetPixel24(2, 0, Rgb(100, 100, 100));
  Source->SetAdjustColors(true);
  Source->SetContrast(10);          // K = 2
  Source->SetChannelOffset(0, 10);  // red
  auto Dest = MakeFilled(3, 1, Marker);
  Render(Source.get(), Dest.get(), 0, 0, 3, 1, 0, 0, 3, 1);
  // 2 (c + offset - 128) + 128, clamped.
  EXPECT_EQ(Dest->GetPixel24(0, 0), Rgb(92, 72, 72));
  EXPECT_EQ(Dest->GetPixel24(1, 0), Grey(255));
  Source->SetContrast(-100);  // K = 0
  Render(Source.get(), Dest.get(), 0, 0, 3, 1, 0, 0, 3, 1);
  EXPECT_EQ(Dest->GetPixel24(1, 0), Grey(128));
}

TEST(Render, RowCopyRepeatsWholeDestinationRows) {
  auto Source = MakeCoordinates(2, 1);
  auto Dest = MakeFilled(4, 2, Marker);
  Dest->SetPixel24(3, 0, Rgb(50, 50, 50));  // outside the drawn columns
  TDraw O;
  O.RowCopy = true;
  Render(Source.get(), Dest.get(), 0, 0, 3, 2, 0, 0, 2, 1, O);
  EXPECT_EQ(Dest->GetPixel24(0, 1), Rgb(0, 0, 7));
  EXPECT_EQ(Dest->GetPixel24(2, 1), Rgb(1, 0, 7));
  EXPECT_EQ(Dest->GetPixel24(3, 1), Rgb(50, 50, 50));
  O.RowCopy = false;
  Dest->SetPixel24(3, 1, Marker);
  Render(Source.get(), Dest.get(), 0, 0, 3, 2, 0, 0, 2, 1, O);
  EXPECT_EQ(Dest->GetPixel24(3, 1), Marker);
}

TEST(Render, CallersTablesStartAtTheDestinationAndStopAtTheSourceEdge) {
  auto Source = MakeCoordinates(4, 2);
  auto Dest = MakeFilled(6, 1, Marker);
  std::vector<Byte*> Rows;
  std::vector<Integer> Columns = {3, 2, 1, 9, 0}, RowIndexes = {1};
  Source->RenderToTIEBitmap(Dest.get(), Rows, Columns, RowIndexes, nullptr, 1, 0, 5, 1, 0, 0, 5, 1, true,
                            false, 255, rfNone, true, 0);
  EXPECT_EQ(Dest->GetPixel24(1, 0), Rgb(3, 1, 7));
  EXPECT_EQ(Dest->GetPixel24(3, 0), Rgb(1, 1, 7));
  EXPECT_EQ(Dest->GetPixel24(4, 0), Marker);  // entry 9 is outside the source: drawing stops
  EXPECT_EQ(Dest->GetPixel24(5, 0), Marker);
  EXPECT_EQ(Columns.size(), 5u);  // the caller's tables stay
  EXPECT_TRUE(Rows.empty());
}

TEST(Render, FileBackedSourceIsOnlyReadAndFileBackedDestinationRefused) {
  std::unique_ptr<TIEBitmap> Source, FileDest;
  {
    TFileBacked Guard;
    Source = MakeCoordinates(5, 3);
    FileDest = MakeFilled(5, 3, Marker);
  }
  ASSERT_EQ(Source->GetLocation(), ieFile);
  auto Dest = MakeFilled(5, 3, Marker);
  ASSERT_EQ(Dest->GetLocation(), ieMemory);
  Render(Source.get(), Dest.get(), 0, 0, 10, 6, 0, 0, 5, 3);
  EXPECT_EQ(Dest->GetPixel24(4, 2), Rgb(2, 1, 7));
  EXPECT_EQ(Source->GetAccess(), iedRead | iedWrite);
  Render(Dest.get(), FileDest.get(), 0, 0, 5, 3, 0, 0, 5, 3);
  EXPECT_EQ(FileDest->GetPixel24(0, 0), Marker);
}

TEST(Render, OnlyIntoTwentyFourBitDestinations) {
  auto Source = MakeFilled(2, 2, Grey(200));
  TIEBitmap Dest(2, 2, ie32RGB);
  Dest.Fill(0);
  Render(Source.get(), &Dest, 0, 0, 2, 2, 0, 0, 2, 2);
  EXPECT_EQ(Dest.GetPixelRGB(0, 0), Grey(0));
}

TEST(Render, IntoPlatformBitmaps) {
  auto Source = MakeCoordinates(4, 4);
  TBitmap Target;
  Target.SetPixelFormat(pf24bit);
  Target.SetSize(8, 8);
  Source->DrawToTBitmap(&Target, 0, 0, 8, 8, 0, 0, 4, 4, 255, rfNone, 0);
  const Byte* Row = static_cast<const Byte*>(Target.GetScanLine(7));
  EXPECT_EQ(Row[7 * 3 + 2], 3);  // red of source column 3
  EXPECT_EQ(Row[7 * 3 + 1], 3);
  EXPECT_EQ(Row[0 * 3 + 0], 7);
}

TEST(Render, ResamplingFilterAveragesBeforeDrawing) {
  // 2 x 2 blocks of four colours reduced to 2 x 2: each block's colour (the built-in box filter).
  auto Source = MakeBitmap(4, 4, ie24RGB);
  const TIERGBTriple Blocks[2][2] = {{Rgb(10, 20, 30), Rgb(40, 50, 60)},
                                     {Rgb(70, 80, 90), Rgb(100, 110, 120)}};
  for (Integer Y = 0; Y < 4; ++Y)
    for (Integer X = 0; X < 4; ++X) Source->SetPixel24(X, Y, Blocks[Y / 2][X / 2]);
  Source->SetPixel24(0, 0, Rgb(14, 24, 34));  // one pixel off: the block averages 11, 21, 31
  auto Dest = MakeFilled(2, 2, Marker);
  TDraw O;
  O.Filter = rfFastLinear;
  Render(Source.get(), Dest.get(), 0, 0, 2, 2, 0, 0, 4, 4, O);
  EXPECT_EQ(Dest->GetPixel24(0, 0), Rgb(11, 21, 31));
  EXPECT_EQ(Dest->GetPixel24(1, 1), Blocks[1][1]);
  // Without a filter the nearest pixel is taken.
  Render(Source.get(), Dest.get(), 0, 0, 2, 2, 0, 0, 4, 4);
  EXPECT_EQ(Dest->GetPixel24(0, 0), Rgb(14, 24, 34));
}

TEST(Render, ResampledOneBitShowsTheShareOfWhite) {
  TIEBitmap Source(4, 2, ie1g);
  Source.Fill(0);
  Byte* Row = static_cast<Byte*>(Source.GetScanline(0));
  Row[0] = 0xE0;  // windows share their border column: 2 of the left 2 x 2, 2 of the right 3 x 2
  auto Dest = MakeFilled(2, 1, Marker);
  TDraw O;
  O.Filter = rfTriangle;
  Render(&Source, Dest.get(), 0, 0, 2, 1, 0, 0, 4, 2, O);
  EXPECT_EQ(Dest->GetPixel24(0, 0), Grey(127));  // 2 x 255 div 4
  EXPECT_EQ(Dest->GetPixel24(1, 0), Grey(85));   // 2 x 255 div 6
}

TEST(Render, ResampledAlphaGoesAlong) {
  auto Source = MakeFilled(2, 2, Grey(255));
  TIEBitmap* Alpha = Source->GetAlphaChannel();
  Alpha->Fill(0);
  Alpha->SetFull(false);
  auto Dest = MakeFilled(4, 4, Grey(0));
  TDraw O;
  O.Filter = rfBicubic;
  Render(Source.get(), Dest.get(), 0, 0, 4, 4, 0, 0, 2, 2, O);
  EXPECT_EQ(Dest->GetPixel24(3, 3), Grey(0));
}
