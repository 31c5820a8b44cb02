#include <gtest/gtest.h>
#include <cstring>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieresample.h"
#include "tests/imaging/core/RenderTestSupport.h"

using namespace RenderTest;

namespace {

// A 1-bit picture from rows of '#' (set) and '.'.
std::unique_ptr<TIEBitmap> Bits(std::initializer_list<const char*> Rows) {
  auto B =
      MakeBitmap(static_cast<Integer>(std::strlen(*Rows.begin())), static_cast<Integer>(Rows.size()), ie1g);
  B->Fill(0);
  Integer Y = 0;
  for (const char* Row : Rows) {
    Byte* R = static_cast<Byte*>(B->GetScanline(Y++));
    for (Integer X = 0; Row[X]; ++X)
      if (Row[X] == '#') R[X >> 3] |= 0x80 >> (X & 7);
  }
  return B;
}

}  // namespace

TEST(Resample, OneBitToGreyByTheShareOfSetBits) {
  const auto Source = Bits({"##..#", "#...#", "....."});
  auto Dest = MakeFilled(2, 1, Grey(1));
  // Columns 0..3, rows 0..1 into two windows that share their border column: columns 0..1
  // and 1..3, rows 0..1 each.
  IEResample1BitToGray24(Source.get(), 0, 0, 3, 1, Dest.get());
  EXPECT_EQ(Dest->GetPixel24(0, 0), Grey(191));  // 3 of 4
  EXPECT_EQ(Dest->GetPixel24(1, 0), Grey(42));   // 1 of 6, rounded down
  // Column 4 widened to two pixels, three rows into one: the row window ends at
  // trunc(trunc(3) / 2) = row 1, so both see rows 0..1, both set.
  IEResample1BitToGray24(Source.get(), 4, 0, 4, 2, Dest.get());
  EXPECT_EQ(Dest->GetPixel24(0, 0), Grey(255));
  EXPECT_EQ(Dest->GetPixel24(1, 0), Grey(255));
  TIEBitmap Empty;
  Dest->Fill(0);
  IEResample1BitToGray24(&Empty, 0, 0, 3, 1, Dest.get());
  EXPECT_EQ(Dest->GetPixel24(1, 0), Grey(0));
}

TEST(Resample, ProjectingKeepsBlackOrWhite) {
  const auto Source = Bits({"##.#", "#.##"});
  TIEBitmap Dest(2, 1, ie1g);
  IEResample1Bit(Source.get(), &Dest, rfProjectBW);  // a box with any black is black
  const Byte* Row = static_cast<const Byte*>(Dest.GetScanline(0));
  EXPECT_EQ(Row[0] & 0xC0, 0x00);
  IEResample1Bit(Source.get(), &Dest, rfProjectWB);  // any white is white
  EXPECT_EQ(Row[0] & 0xC0, 0xC0);
  const auto Full = Bits({"##..", "##.."});
  IEResample1Bit(Full.get(), &Dest, rfProjectBW);
  EXPECT_EQ(Row[0] & 0xC0, 0x80);
  auto Colour = MakeFilled(1, 1, Grey(9));
  IEResample1Bit(Source.get(), Colour.get(), rfTriangle);
  EXPECT_EQ(Colour->GetPixel24(0, 0), Grey(170));  // 4 of the 6 in its window, columns 0..2
}

TEST(Resample, BuiltInBoxAverageOfGreyAndColour) {
  TIEBitmap Grey8(3, 1, ie8g);
  Grey8.SetPixel8(0, 0, 0);
  Grey8.SetPixel8(1, 0, 255);
  Grey8.SetPixel8(2, 0, 100);
  TIEBitmap Small(1, 1, ie8g);
  IEResampleGray8(&Grey8, &Small, rfTriangle);
  EXPECT_EQ(Small.GetPixel8(0, 0), 118);  // 355 / 3 rounded
  TIEBitmap Wide(6, 1, ie8g);
  IEResampleGray8(&Grey8, &Wide, rfTriangle);
  EXPECT_EQ(Wide.GetPixel8(1, 0), 0);
  EXPECT_EQ(Wide.GetPixel8(2, 0), 255);

  auto Colour = MakeCoordinates(4, 2);
  auto Half = MakeFilled(2, 1, Grey(0));
  IEResampleFiltered(Colour.get(), Half.get(), rfLanczos3);
  EXPECT_EQ(Half->GetPixel24(1, 0), Rgb(3, 1, 7));  // red (2 + 3) / 2 = 2.5, green 0.5: rounded up
}

TEST(Resample, BuiltInFilteredTakesFormatsOtherThanColour) {
  // Grey stays grey; a palette picture averages its colours into a 24-bit result.
  TIEBitmap Grey8(2, 1, ie8g);
  Grey8.SetPixel8(0, 0, 10);
  Grey8.SetPixel8(1, 0, 31);
  TIEBitmap OneGrey(1, 1, ie8g);
  IEResampleFiltered(&Grey8, &OneGrey, rfTriangle);
  EXPECT_EQ(OneGrey.GetPixel8(0, 0), 21);
  TIEBitmap Palette(8, 1, ie8p);
  Palette.SetPaletteColor(1, {0, 100, 200});  // blue, green, red
  for (Integer X = 0; X < 8; ++X) static_cast<Byte*>(Palette.GetScanline(0))[X] = 1;
  TIEBitmap Two(2, 1, ie8p);
  IEResampleFiltered(&Palette, &Two, rfTriangle);
  ASSERT_EQ(Two.GetPixelFormat(), ie24RGB);
  EXPECT_EQ(Two.GetPixel24(1, 0).rgbtRed, 200);
  EXPECT_EQ(Two.GetPixel24(1, 0).rgbtBlue, 0);
}

TEST(Resample, HooksReplaceTheBuiltInResamplers) {
  static TResampleFilter Seen = rfNone;
  IEResampleHooks.Filtered = [](TIEBitmap*, TIEBitmap* Dest, TResampleFilter Filter, TIEProgressEvent,
                                TObject*) {
    Seen = Filter;
    Dest->Fill(0x0000FF);
  };
  auto Source = MakeCoordinates(4, 4);
  auto Dest = MakeFilled(2, 2, Grey(0));
  IEResampleFiltered(Source.get(), Dest.get(), rfMitchell);
  IEResampleHooks.Filtered = nullptr;
  EXPECT_EQ(Seen, rfMitchell);
  EXPECT_EQ(Dest->GetPixel24(0, 0), Rgb(255, 0, 0));
}
