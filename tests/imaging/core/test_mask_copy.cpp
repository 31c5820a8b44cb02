// Copying selected pixels between TIEBitmaps, and masks to and from bitmaps.
#include <gtest/gtest.h>

#include "MaskTestSupport.h"
#include "imaging/core/iebitmap.h"

namespace {

using TRows = std::vector<std::string>;

constexpr TIERGBTriple Red{0, 0, 255};
constexpr TIERGBTriple Black{0, 0, 0};

// '#' where the pixel has the colour.
TRows RowsOfColour(TIEBitmap& Bitmap, const TIERGBTriple& Colour) {
  TRows Rows;
  for (Integer Y = 0; Y < Bitmap.GetHeight(); ++Y) {
    std::string Row;
    for (Integer X = 0; X < Bitmap.GetWidth(); ++X) Row += Bitmap.GetPixel24(X, Y) == Colour ? '#' : '.';
    Rows.push_back(Row);
  }
  return Rows;
}

std::unique_ptr<TIEBitmap> Filled24(Integer Width, Integer Height, TColor Colour) {
  auto Bitmap = std::make_unique<TIEBitmap>(Width, Height, ie24RGB);
  Bitmap->Fill(Colour);
  return Bitmap;
}

TEST(MaskCopy, OneBitMaskCopiesSelectedPixelsAtTheChosenCorners) {
  struct TCase {
    const char* Name;
    bool DestAtBox, SourceAtBox;
    TRows Expected;
  };
  // The box is (2, 1)-(3, 2).
  const TCase Cases[] = {
      {"same places", false, false, {"......", "..#...", "...#..", "......"}},
      {"source at the box", false, true, {"......", "..#...", "...#..", "......"}},
      {"dest at the box", true, false, {"#.....", ".#....", "......", "......"}},
      {"both at the box", true, true, {"#.....", ".#....", "......", "......"}},
  };
  const auto Mask = MaskFromRows({"......", "..#...", "...#..", "......"}, 1);
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    auto Source = Filled24(6, 4, 0x000000);
    // Red exactly where the copy reads.
    for (Integer Y = 0; Y < 4; ++Y)
      for (Integer X = 0; X < 6; ++X) {
        const bool RedHere = C.SourceAtBox ? (X < 2 && Y < 2) : (X >= 2 && X <= 3 && Y >= 1 && Y <= 2);
        if (RedHere) Source->SetPixel24(X, Y, Red);
      }
    auto Dest = Filled24(6, 4, 0x000000);
    Mask->CopyIEBitmap(Dest.get(), Source.get(), C.DestAtBox, C.SourceAtBox, false);
    EXPECT_EQ(RowsOfColour(*Dest, Red), C.Expected);
  }
}

TEST(MaskCopy, EightBitMaskBlendsByStrength) {
  TIEMask Mask;
  Mask.AllocateBits(4, 1, 8);
  Mask.SetPixel(0, 0, 128);
  Mask.SetPixel(1, 0, 255);
  Mask.SetPixel(2, 0, 0);
  Mask.SetPixel(3, 0, 64);
  auto Source = Filled24(4, 1, 0xFFFFFF);
  auto Dest = Filled24(4, 1, 0x000000);
  Mask.CopyIEBitmap(Dest.get(), Source.get(), false, false, false);
  EXPECT_EQ(Dest->GetPixel24(0, 0), (TIERGBTriple{127, 127, 127}));
  EXPECT_EQ(Dest->GetPixel24(1, 0), (TIERGBTriple{254, 254, 254}));
  EXPECT_EQ(Dest->GetPixel24(2, 0), Black);
  EXPECT_EQ(Dest->GetPixel24(3, 0), (TIERGBTriple{63, 63, 63}));
  // Towards a darker source the difference is negative and still rounds down.
  auto Light = Filled24(4, 1, 0xFFFFFF);
  auto Dark = Filled24(4, 1, 0x000000);
  Mask.CopyIEBitmap(Light.get(), Dark.get(), false, false, false);
  EXPECT_EQ(Light->GetPixel24(0, 0), (TIERGBTriple{127, 127, 127}));
  EXPECT_EQ(Light->GetPixel24(3, 0), (TIERGBTriple{191, 191, 191}));

  TIEBitmap Grey(4, 1, ie8g), GreyDest(4, 1, ie8g);
  Grey.Fill(200);
  GreyDest.Fill(100);
  Mask.CopyIEBitmap(&GreyDest, &Grey, false, false, false);
  EXPECT_EQ(GreyDest.GetPixel8(0, 0), 150);
  EXPECT_EQ(GreyDest.GetPixel8(2, 0), 100);
}

TEST(MaskCopy, OtherFormatsAndMismatches) {
  const auto Mask = MaskFromRows({"#.#."}, 1);
  TIEBitmap Bits(4, 1, ie1g), BitsDest(4, 1, ie1g);
  Bits.Fill(1);
  BitsDest.Fill(0);
  Mask->CopyIEBitmap(&BitsDest, &Bits, false, false, false);
  EXPECT_EQ(static_cast<Byte*>(BitsDest.GetScanline(0))[0] & 0xF0, 0xA0);

  TIEBitmap Words(4, 1, ie16g), WordsDest(4, 1, ie16g);
  Words.Fill(1234);
  WordsDest.Fill(65535);
  Mask->CopyIEBitmap(&WordsDest, &Words, false, false, false);
  EXPECT_EQ(WordsDest.GetPixel16(0, 0), 1234);
  EXPECT_EQ(WordsDest.GetPixel16(1, 0), 65535);
  EXPECT_FALSE(WordsDest.GetFull());  // the accessor keeps the flag

  auto Colour = Filled24(4, 1, 0xFFFFFF);
  TIEBitmap GreyDest(4, 1, ie8g);
  GreyDest.Fill(0);
  Mask->CopyIEBitmap(&GreyDest, Colour.get(), false, false, false);
  EXPECT_TRUE(GreyDest.IsAllZero());
}

TEST(MaskCopy, RangeStaysInsideSmallerBitmaps) {
  auto Mask = MaskFromRows({"########", "########", "########"}, 1);
  auto Source = Filled24(3, 2, 0x0000FF);
  auto Dest = Filled24(2, 3, 0x000000);
  Mask->CopyIEBitmap(Dest.get(), Source.get(), false, false, false);
  EXPECT_EQ(RowsOfColour(*Dest, Red), (TRows{"##", "##", ".."}));
  auto Corner = Filled24(2, 3, 0x000000);
  Mask->CopyIEBitmap(Corner.get(), Source.get(), true, true, false);
  EXPECT_EQ(RowsOfColour(*Corner, Red), (TRows{"##", "##", ".."}));
}

TEST(MaskCopy, AlphaIsTheSourceAlphaUnderTheMaskAndZeroElsewhereInTheBox) {
  const auto Mask = MaskFromRows({"#.....", ".#.#..", "......"}, 1);  // box (0, 0)-(3, 1)
  auto Source = Filled24(6, 3, 0xFFFFFF);
  auto Dest = Filled24(6, 3, 0x000000);
  Mask->CopyIEBitmap(Dest.get(), Source.get(), false, false, true);
  ASSERT_TRUE(Dest->HasAlphaChannel());
  const TRows Alpha = [&] {
    TRows Rows;
    for (Integer Y = 0; Y < 3; ++Y) {
      std::string Row;
      for (Integer X = 0; X < 6; ++X)
        Row += Dest->GetAlpha(X, Y) == 255 ? '#' : Dest->GetAlpha(X, Y) == 0 ? '.' : '?';
      Rows.push_back(Row);
    }
    return Rows;
  }();
  EXPECT_EQ(Alpha, (TRows{"#...##", ".#.###", "######"}));
  EXPECT_FALSE(Dest->GetAlphaChannel()->GetFull());

  TIEMask Strength;
  Strength.AllocateBits(2, 1, 8);
  Strength.SetPixel(0, 0, 100);
  Strength.SetPixel(1, 0, 250);
  auto Translucent = Filled24(2, 1, 0xFFFFFF);
  Translucent->GetAlphaChannel()->Fill(200);
  auto Target = Filled24(2, 1, 0x000000);
  Strength.CopyIEBitmapAlpha(Target.get(), Translucent.get(), false, false);
  EXPECT_EQ(Target->GetAlpha(0, 0), 100);
  EXPECT_EQ(Target->GetAlpha(1, 0), 200);
}

TEST(MaskCopy, BitmapToMaskAndBack) {
  for (const bool InFiles : {false, true}) {
    SCOPED_TRACE(InFiles ? "temporary files" : "memory");
    std::unique_ptr<TFileBitmapsGuard> Guard;
    if (InFiles) Guard = std::make_unique<TFileBitmapsGuard>();
    TIEBitmap Alpha(5, 3, ie8g);
    Alpha.Fill(0);
    Alpha.SetPixel8(1, 1, 77);
    Alpha.SetPixel8(4, 2, 255);
    TIEMask Mask;
    Alpha.CopyToTIEMask(&Mask);
    EXPECT_EQ(Mask.GetBitsPerPixel(), 8);
    EXPECT_EQ(Mask.GetPixel(1, 1), 77);
    EXPECT_EQ(Mask.GetPixel(4, 2), 255);
    EXPECT_EQ(BoxOf(Mask), (TMaskBox{1, 1, 4, 2}));
    EXPECT_FALSE(Mask.GetFull());

    TIEBitmap Back;
    Back.CopyFromTIEMask(&Mask);
    EXPECT_EQ(Back.GetPixelFormat(), ie8g);
    EXPECT_EQ(Back.GetPixel8(1, 1), 77);
    EXPECT_EQ(Back.GetPixel8(4, 2), 255);
    EXPECT_EQ(Back.GetPixel8(0, 0), 0);
  }
}

TEST(MaskCopy, OneBitAndColourBitmapsToMasks) {
  TIEBitmap Bits(10, 2, ie1g);
  Bits.Fill(1);
  ASSERT_TRUE(Bits.GetFull());
  TIEMask Mask;
  Bits.CopyToTIEMask(&Mask);
  EXPECT_EQ(Mask.GetBitsPerPixel(), 1);
  EXPECT_TRUE(Mask.GetFull());
  EXPECT_EQ(MaskRows(Mask), (TRows{"##########", "##########"}));

  TIEBitmap Back;
  Back.CopyFromTIEMask(&Mask);
  EXPECT_EQ(Back.GetPixelFormat(), ie1g);
  EXPECT_TRUE(Back.GetFull());

  auto Colour = Filled24(2, 1, 0xFFFFFF);
  Colour->SetPixel24(0, 0, TIERGBTriple{50, 200, 100});  // grey (100 x 21 + 200 x 71 + 50 x 8) div 100
  Colour->CopyToTIEMask(&Mask);
  EXPECT_EQ(Mask.GetBitsPerPixel(), 8);
  EXPECT_EQ(Mask.GetPixel(0, 0), 167);
  EXPECT_EQ(Mask.GetPixel(1, 0), 255);
  EXPECT_FALSE(Mask.GetFull());

  TIEBitmap Words(3, 3, ie16g);
  TIEMask Untouched;
  Words.CopyToTIEMask(&Untouched);
  EXPECT_EQ(Untouched.GetBitsPerPixel(), 0);

  TIEBitmap Opaque(3, 2, ie8g);
  Opaque.Fill(0);
  Opaque.CopyFromTIEMask(nullptr);
  EXPECT_TRUE(Opaque.GetFull());
  EXPECT_EQ(Opaque.GetPixel8(2, 1), 255);
}

}  // namespace
