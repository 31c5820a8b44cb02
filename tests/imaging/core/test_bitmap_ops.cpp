// Operations on the imaging bitmap: copying pictures and rectangles, resizing, filling, pixels,
// the alpha channel and taking a platform bitmap.
#include <gtest/gtest.h>

#include <cstring>

#include "BitmapTestSupport.h"
#include "imaging/core/iebitmap.h"
#include "platform/classes/Bitmap.h"

namespace {

TIERGBTriple Rgb(Byte R, Byte G, Byte B) {
  return TIERGBTriple{B, G, R};
}

// An 8-bit grey picture whose pixel (x, y) is 10 y + x.
void NumberPixels(TIEBitmap& B) {
  for (Integer Y = 0; Y < B.GetHeight(); ++Y)
    for (Integer X = 0; X < B.GetWidth(); ++X) B.SetPixel8(X, Y, static_cast<Byte>(10 * Y + X));
}

TEST(IEBitmapCopy, AssignCopiesPixelsPaletteAlphaAndSettings) {
  TIEBitmap Source(5, 4, ie8p);
  WritePattern(Source);
  Source.SetPaletteColor(7, Rgb(1, 2, 3));
  Source.SetPaletteUsed(16);
  Source.SetAlpha(2, 3, 40);
  Source.SetBlackWhiteConversion(0);
  Source.SetBitAlignment(8);
  TIEBitmap Dest(9, 9, ie24RGB);
  Dest.Assign(&Source);
  EXPECT_EQ(Dest.GetPixelFormat(), ie8p);
  EXPECT_EQ(Dest.GetRowLen(), 5);
  EXPECT_TRUE(HasPattern(Dest, 5));
  TIERGBTriple C;
  Dest.GetPaletteColor(7, C);
  EXPECT_EQ(C, Rgb(1, 2, 3));
  EXPECT_EQ(Dest.GetPaletteUsed(), 16);
  EXPECT_EQ(Dest.GetAlpha(2, 3), 40);
  EXPECT_EQ(Dest.GetBlackWhiteConversion(), 0);
}

TEST(IEBitmapCopy, AssignWithoutAlphaRemovesItAndAssignImageKeepsIt) {
  TIEBitmap Source(3, 3, ie24RGB);
  Source.Fill(0);
  TIEBitmap ByAssign(3, 3, ie24RGB), ByImage(3, 3, ie24RGB);
  ByAssign.SetAlpha(0, 0, 5);
  ByImage.SetAlpha(0, 0, 5);
  ByImage.SetBitAlignment(8);
  ByAssign.Assign(&Source);
  ByImage.AssignImage(&Source);
  EXPECT_FALSE(ByAssign.HasAlphaChannel());
  ASSERT_TRUE(ByImage.HasAlphaChannel());
  EXPECT_EQ(ByImage.GetAlpha(0, 0), 5);
  EXPECT_EQ(ByImage.GetBitAlignment(), 8);
}

TEST(IEBitmapCopy, AssignFromEmptyPicture) {
  TIEBitmap Empty;
  TIEBitmap Memory(4, 4, ie8g);
  Memory.Assign(&Empty);
  EXPECT_TRUE(Memory.IsEmpty());
  TIEBitmap Platform;
  Platform.SetLocation(ieTBitmap);
  ASSERT_TRUE(Platform.Allocate(4, 4, ie24RGB));
  Platform.Assign(&Empty);
  EXPECT_EQ(Platform.GetWidth(), 4);
  EXPECT_EQ(Platform.GetPixelFormat(), ie24RGB);
}

TEST(IEBitmapCopy, AssignBetweenTemporaryFilesCopiesTheFile) {
  TTempFolderGuard Folder;
  TMinFileSizeGuard Threshold(0);
  TIEBitmap Source(40, 30, ie24RGB), Dest;
  WritePattern(Source);
  Dest.Assign(&Source);
  ASSERT_EQ(Dest.GetLocation(), ieFile);
  EXPECT_TRUE(HasPattern(Dest, Dest.GetRowLen()));
  EXPECT_EQ(Source.GetAccess(), iedRead | iedWrite);
  EXPECT_EQ(Dest.GetAccess(), iedRead | iedWrite);
}

TEST(IEBitmapCopy, AssignThatCannotAllocateLeavesAnEmptyBitmap) {
  TIEBitmap Source(100, 20, ie24RGB);
  TIEBitmap Dest(2, 2, ie24RGB);
  Dest.SetAlpha(0, 0, 1);
  TAllocationFailureGuard Fail([](UInt64 Bytes) { return Bytes >= 1000; });
  IEAllowChunks = false;
  IEAllowFileFallback = false;
  Dest.Assign(&Source);
  EXPECT_TRUE(Dest.IsEmpty());
  EXPECT_EQ(Dest.GetWidth(), 0);
  EXPECT_FALSE(Dest.HasAlphaChannel());
}

TEST(IEBitmapCopy, CopyRectToClipsAgainstBothBitmaps) {
  struct TCase {
    const char* Name;
    Integer SourceX, SourceY, DestX, DestY, Width, Height;
    // Expected destination pixel at (0,0), (9,0) and (9,9) (0xEE: untouched).
    Byte At00, At90, At99;
  } Cases[] = {
      {"whole", 0, 0, 0, 0, 10, 10, 0, 9, 99},
      {"dest left of edge", 0, 0, -5, 0, 10, 10, 5, 0xEE, 0xEE},
      {"source left of edge", -5, 0, 0, 0, 10, 10, 0, 9, 99},  // from column 0, width kept
      {"dest past right edge", 0, 0, 10, 0, 5, 5, 0xEE, 0xEE, 0xEE},
      {"dest past bottom edge", 0, 0, 0, 10, 5, 5, 0xEE, 0xEE, 0xEE},
      {"source past right edge", 10, 0, 0, 0, 5, 5, 0xEE, 0xEE, 0xEE},
      {"to the corner", 0, 0, 9, 9, 5, 5, 0xEE, 0xEE, 0},
  };
  for (const TCase& C : Cases) {
    TIEBitmap Source(10, 10, ie8g), Dest(10, 10, ie8g);
    NumberPixels(Source);
    Dest.Fill(0xEE);
    Source.CopyRectTo(&Dest, C.SourceX, C.SourceY, C.DestX, C.DestY, C.Width, C.Height);
    EXPECT_EQ(Dest.GetPixel8(0, 0), C.At00) << C.Name;
    EXPECT_EQ(Dest.GetPixel8(9, 0), C.At90) << C.Name;
    EXPECT_EQ(Dest.GetPixel8(9, 9), C.At99) << C.Name;
  }
}

TEST(IEBitmapCopy, CopyRectToByFormatPairs) {
  TIEBitmap Rgba(4, 2, ie32RGB), RgbaDest(4, 2, ie32RGB);
  Rgba.SetPixel32(1, 1, 0x11223344);
  RgbaDest.Fill(0);
  Rgba.CopyRectTo(&RgbaDest, 1, 1, 2, 0, 1, 1);
  EXPECT_EQ(RgbaDest.GetPixel32(2, 0), 0x11223344u);

  TIEBitmap Grey(4, 2, ie8g), Colour(4, 2, ie24RGB);
  Grey.Fill(200);
  Colour.Fill(0);
  Grey.CopyRectTo(&Colour, 0, 0, 0, 0, 4, 2);
  EXPECT_EQ(Colour.GetPixel24(0, 0), Rgb(0, 0, 0));  // no conversion between those

  TIEBitmap Bits(20, 1, ie1g), BitsDest(20, 1, ie1g), Expanded(20, 1, ie24RGB);
  Bits.Fill(0);
  for (Integer X : {3, 4, 11}) static_cast<Byte*>(Bits.GetScanline(0))[X >> 3] |= 0x80 >> (X & 7);
  BitsDest.Fill(1);
  Bits.CopyRectTo(&BitsDest, 3, 0, 6, 0, 9, 1);  // bits 3..11 to 6..14
  const Byte* Row = static_cast<const Byte*>(BitsDest.GetScanline(0));
  auto Bit = [&](Integer X) { return (Row[X >> 3] >> (7 - (X & 7))) & 1; };
  EXPECT_EQ(Bit(5), 1);  // left alone
  EXPECT_EQ(Bit(6), 1);
  EXPECT_EQ(Bit(7), 1);
  EXPECT_EQ(Bit(8), 0);
  EXPECT_EQ(Bit(14), 1);
  EXPECT_EQ(Bit(15), 1);  // left alone
  Bits.CopyRectTo(&Expanded, 2, 0, 0, 0, 3, 1);
  EXPECT_EQ(Expanded.GetPixel24(0, 0), Rgb(0, 0, 0));
  EXPECT_EQ(Expanded.GetPixel24(1, 0), Rgb(255, 255, 255));
}

TEST(IEBitmapCopy, CopyAlphaRectToKeepsTheLargerAlpha) {
  TIEBitmap Source(3, 1, ie24RGB), Dest(3, 1, ie24RGB);
  Source.SetAlpha(0, 0, 10);
  Source.SetAlpha(1, 0, 200);
  Dest.SetAlpha(0, 0, 50);
  Dest.SetAlpha(1, 0, 60);
  Source.CopyAlphaRectTo(&Dest, 0, 0, 0, 0, 2, 1);
  EXPECT_EQ(Dest.GetAlpha(0, 0), 50);
  EXPECT_EQ(Dest.GetAlpha(1, 0), 200);
}

TEST(IEBitmapSize, ResizeCentresTheOldPicture) {
  TIEBitmap B(100, 100, ie8g);
  B.Fill(7);
  B.SetAlpha(0, 0, 9);
  B.Resize(200, 100, 1, 0, 1, 0);
  ASSERT_EQ(B.GetWidth(), 200);
  EXPECT_EQ(B.GetPixel8(49, 50), 1);
  EXPECT_EQ(B.GetPixel8(50, 50), 7);
  EXPECT_EQ(B.GetPixel8(149, 50), 7);
  EXPECT_EQ(B.GetPixel8(150, 50), 1);
  EXPECT_EQ(B.GetAlpha(50, 0), 9);
  EXPECT_EQ(B.GetAlpha(0, 0), 0);
}

TEST(IEBitmapSize, ResizeShrinkingKeepsTheAlignedPart) {
  TIEBitmap B(10, 10, ie8g);
  NumberPixels(B);
  B.Resize(4, 4, 0, 0, 2, 1);  // right columns, middle rows
  ASSERT_EQ(B.GetWidth(), 4);
  ASSERT_EQ(B.GetHeight(), 4);
  EXPECT_EQ(B.GetPixel8(0, 0), 36);
  EXPECT_EQ(B.GetPixel8(3, 3), 69);
}

TEST(IEBitmapSize, SetWidthAndHeightKeepTheCommonPart) {
  TIEBitmap B(6, 5, ie8p);
  NumberPixels(B);
  B.SetPaletteColor(2, Rgb(9, 9, 9));
  B.SetAlpha(1, 1, 3);
  B.SetWidth(3);
  B.SetHeight(8);
  EXPECT_EQ(B.GetPixel8(2, 4), 42);
  TIERGBTriple C;
  B.GetPaletteColor(2, C);
  EXPECT_EQ(C, Rgb(9, 9, 9));
  ASSERT_TRUE(B.HasAlphaChannel());
  EXPECT_EQ(B.GetAlphaChannel()->GetWidth(), 3);
  EXPECT_EQ(B.GetAlphaChannel()->GetHeight(), 8);
  EXPECT_EQ(B.GetAlpha(1, 1), 3);
}

TEST(IEBitmapSize, BitAlignmentChangesOnlyInMemory) {
  TIEBitmap B(5, 3, ie24RGB);
  WritePattern(B);
  B.SetBitAlignment(8);
  EXPECT_EQ(B.GetRowLen(), 15);
  EXPECT_TRUE(HasPattern(B, 15));
  TTempFolderGuard Folder;
  TMinFileSizeGuard Threshold(0);
  TIEBitmap File(5, 3, ie24RGB);
  File.SetBitAlignment(8);
  EXPECT_EQ(File.GetBitAlignment(), 32);
  EXPECT_EQ(File.GetRowLen(), 16);
}

TEST(IEBitmapSize, MoveRegionFillsTheVacatedPlace) {
  TIEBitmap B(10, 1, ie8g);
  NumberPixels(B);
  B.MoveRegion(0, 0, 3, 0, 5, 0, 99, true);
  const Byte Want[10] = {99, 99, 99, 99, 4, 0, 1, 2, 3, 9};
  for (Integer X = 0; X < 10; ++X) EXPECT_EQ(B.GetPixel8(X, 0), Want[X]) << X;
}

TEST(IEBitmapFill, FillSetsEveryPixelAndTheFullFlag) {
  struct TCase {
    TIEPixelFormat Format;
    double Value;
    Cardinal FirstBytes;  // the first four bytes of row 0, little-endian
    Integer Bytes;
    bool Full;
  } Cases[] = {
      {ie1g, 0, 0x00, 1, false},
      {ie1g, 3, 0xFF, 1, true},
      {ie8g, 255, 0xFF, 1, true},
      {ie8g, 254.9, 0xFE, 1, false},
      {ie16g, 65535, 0xFFFF, 2, true},
      {ie24RGB, 0x0000FF, 0xFF0000, 3, false},  // red is stored B, G, R
      {ie24RGB, 0xFFFFFF, 0xFFFFFF, 3, true},
      {ieRGB48, 0x000001, 0x0101, 2, false},  // red x 257
  };
  for (const TCase& C : Cases) {
    TIEBitmap B(7, 3, C.Format);
    B.Fill(C.Value);
    Cardinal Got = 0;
    std::memcpy(&Got, B.GetScanline(2), static_cast<size_t>(C.Bytes));
    EXPECT_EQ(Got, C.FirstBytes) << int(C.Format) << " " << C.Value;
    EXPECT_EQ(B.GetFull(), C.Full) << int(C.Format) << " " << C.Value;
    EXPECT_EQ(std::memcmp(B.GetScanline(0), B.GetScanline(2), static_cast<size_t>(B.GetRowLen())), 0);
  }
}

TEST(IEBitmapFill, FillOf32RGBKeepsTheFourthBytes) {
  TIEBitmap B(3, 2, ie32RGB);
  B.SetPixel32(2, 1, 0x7F000000);
  B.Fill(0x00FF00);
  EXPECT_EQ(B.GetPixel32(2, 1), 0x7F00FF00u);
  EXPECT_EQ(B.GetPixel32(0, 0) & 0xFFFFFF, 0x00FF00u);
}

TEST(IEBitmapFill, FillOfAlphaChannelSetsFull) {
  TIEBitmap B(3, 3, ie24RGB);
  TIEBitmap* Alpha = B.GetAlphaChannel();
  EXPECT_TRUE(Alpha->GetFull());
  Alpha->Fill(0);
  EXPECT_FALSE(Alpha->GetFull());
  Alpha->Fill(255);
  EXPECT_TRUE(Alpha->GetFull());
}

TEST(IEBitmapFill, FillRectClipsAndStoresTheFormatsValue) {
  TIEBitmap F(3, 3, ie32f);
  F.Fill(0);
  F.FillRect(-4, 1, 1, 9, 0.5);
  EXPECT_EQ(F.GetPixel32f(0, 2), 0.5f);
  EXPECT_EQ(F.GetPixel32f(1, 1), 0.5f);
  EXPECT_EQ(F.GetPixel32f(2, 1), 0.0f);
  EXPECT_EQ(F.GetPixel32f(0, 0), 0.0f);
  TIEBitmap Bits(12, 1, ie1g);
  Bits.Fill(0);
  Bits.FillRect(6, 0, 9, 0, 1);
  EXPECT_EQ(static_cast<Byte*>(Bits.GetScanline(0))[0], 0x03);
  EXPECT_EQ(static_cast<Byte*>(Bits.GetScanline(0))[1], 0xC0);
}

TEST(IEBitmapPixels, GetPixelRGBReadsEveryFormat) {
  TIEBitmap Palette(1, 1, ie8p);
  Palette.SetPaletteColor(4, Rgb(10, 20, 30));
  Palette.SetPixel8(0, 0, 4);
  EXPECT_EQ(Palette.GetPixelRGB(0, 0), Rgb(10, 20, 30));
  TIEBitmap Deep(1, 1, ie16g);
  Deep.SetPixel16(0, 0, 0xAB12);
  EXPECT_EQ(Deep.GetPixelRGB(0, 0), Rgb(0xAB, 0xAB, 0xAB));
  TIEBitmap Float(1, 1, ie32f);
  Float.SetPixel32f(0, 0, 0.5f);
  EXPECT_EQ(Float.GetPixelRGB(0, 0), Rgb(127, 127, 127));
  TIEBitmap Wide(1, 1, ieRGB48);
  Wide.SetPixel48(0, 0, TIERGB48Pixel{0x1200, 0x3400, 0x5600});
  EXPECT_EQ(Wide.GetPixelRGB(0, 0), Rgb(0x12, 0x34, 0x56));
  TIEBitmap Bits(9, 1, ie1g);
  Bits.Fill(0);
  static_cast<Byte*>(Bits.GetScanline(0))[1] = 0x80;
  EXPECT_EQ(Bits.GetPixelRGB(8, 0), Rgb(255, 255, 255));
  EXPECT_EQ(Bits.GetPixelRGB(7, 0), Rgb(0, 0, 0));
  TIEBitmap Rgba(1, 1, ie32RGB);
  Rgba.SetPixel32(0, 0, 0xFF332211);
  EXPECT_EQ(Rgba.GetPixelRGB(0, 0), Rgb(0x33, 0x22, 0x11));
}

TEST(IEBitmapPixels, SettersClearFullBelowTheMaximum) {
  TIEBitmap B(2, 1, ie16g);
  B.Fill(65535);
  B.SetPixel16(0, 0, 65535);
  EXPECT_TRUE(B.GetFull());
  B.SetPixel16(0, 0, 65534);
  EXPECT_FALSE(B.GetFull());
  TIEBitmap Picture(2, 2, ie24RGB);
  Picture.SetFull(true);
  Picture.SetAlpha(1, 1, 128);
  EXPECT_FALSE(Picture.GetAlphaChannel()->GetFull());
  EXPECT_FALSE(Picture.GetFull());
}

TEST(IEBitmapAlpha, RemoveAlphaChannelMergesOntoTheBackground) {
  TIEBitmap B(2, 1, ie24RGB);
  B.Fill(0x000000);
  B.SetAlpha(0, 0, 0);
  B.SetAlpha(1, 0, 128);
  B.RemoveAlphaChannel(true, 0xFFFFFF);
  EXPECT_FALSE(B.HasAlphaChannel());
  EXPECT_EQ(B.GetPixel24(0, 0), Rgb(255, 255, 255));
  // 255 + ((0 - 255) x 128 x 1024) >> 18 = 255 - 128: a floor division.
  EXPECT_EQ(B.GetPixel24(1, 0), Rgb(127, 127, 127));
}

TEST(IEBitmapAlpha, AlphaChannelOfAnAlphaChannelIsNil) {
  TIEBitmap B(2, 2, ie8g);
  TIEBitmap* Alpha = B.GetAlphaChannel();
  ASSERT_NE(Alpha, nullptr);
  EXPECT_TRUE(Alpha->GetIsAlphaChannel());
  EXPECT_EQ(Alpha->GetAlphaChannel(), nullptr);
  auto Own = std::make_unique<TIEBitmap>(2, 2, ie8g);
  TIEBitmap* Attached = Own.get();
  B.AttachAlphaChannel(std::move(Own));
  EXPECT_EQ(B.GetAlphaChannel(), Attached);
  EXPECT_TRUE(Attached->GetIsAlphaChannel());
}

TEST(IEBitmapAlpha, SynchronizeRGBAMovesTheFourthByte) {
  TIEBitmap B(2, 1, ie32RGB);
  B.SetPixel32(0, 0, 0xFF000000);
  B.SetPixel32(1, 0, 0xFF000000);
  B.SynchronizeRGBA(true);
  EXPECT_TRUE(B.GetAlphaChannel()->GetFull());
  B.SetAlpha(1, 0, 0x40);
  B.SynchronizeRGBA(false);
  EXPECT_EQ(B.GetPixel32(1, 0), 0x40000000u);
  B.SynchronizeRGBA(true);
  EXPECT_FALSE(B.GetAlphaChannel()->GetFull());
}

TEST(IEBitmapQueries, FullZeroAndGreyCountOnlyPixelBytes) {
  TIEBitmap Bits(3, 2, ie1g);
  Bits.Fill(0);
  EXPECT_TRUE(Bits.IsAllZero());
  static_cast<Byte*>(Bits.GetScanline(0))[1] = 0xFF;  // padding of the row
  EXPECT_TRUE(Bits.IsAllZero());
  TIEBitmap Grey(2, 2, ie8g);
  Grey.Fill(255);
  Grey.SetFull(false);
  Grey.SyncFull();
  EXPECT_TRUE(Grey.GetFull());
  TIEBitmap Colour(2, 2, ie24RGB);
  Colour.Fill(0x808080);
  EXPECT_TRUE(Colour.IsGrayScale());
  Colour.SetPixel24(1, 1, Rgb(1, 2, 1));
  EXPECT_FALSE(Colour.IsGrayScale());
  TIEBitmap Palette(1, 1, ie8p);
  Palette.SetPaletteColor(9, Rgb(0, 0, 1));
  EXPECT_FALSE(Palette.IsGrayScale());
}

TEST(IEBitmapPlatform, CopyFromTBitmapReadsPlatformFormats) {
  TBitmap Colour;
  Colour.SetPixelFormat(pf24bit);
  Colour.SetSize(3, 2);
  static_cast<Byte*>(Colour.GetScanLine(1))[3] = 77;
  TIEBitmap B;
  B.CopyFromTBitmap(&Colour);
  EXPECT_EQ(B.GetPixelFormat(), ie24RGB);
  EXPECT_EQ(B.GetPixel24(1, 1).rgbtBlue, 77);

  TBitmap HighColour;
  HighColour.SetPixelFormat(pf16bit);
  HighColour.SetSize(1, 1);
  const Word V = (0x1F << 11) | (0x20 << 5) | 0x01;  // 5-6-5
  std::memcpy(HighColour.GetScanLine(0), &V, 2);
  B.CopyFromTBitmap(&HighColour);
  EXPECT_EQ(B.GetPixel24(0, 0), Rgb(0xF8, 0x80, 0x08));
}

TEST(IEBitmapPlatform, PlatformStorageTakesACopyWithoutChangingTheCallersBitmap) {
  TBitmap Indexed;
  Indexed.SetPixelFormat(pf8bit);
  Indexed.SetSize(4, 4);
  TIEBitmap B;
  B.SetLocation(ieTBitmap);
  B.CopyFromTBitmap(&Indexed);
  EXPECT_EQ(Indexed.GetPixelFormat(), pf8bit);
  EXPECT_EQ(B.GetPixelFormat(), ie24RGB);
  EXPECT_EQ(B.GetWidth(), 4);
  EXPECT_NE(B.GetTBitmap(), &Indexed);
}

TEST(IEBitmapPlatform, AssignIntoPlatformStorageCopiesWhatThePlatformHolds) {
  TIEBitmap Grey(5, 3, ie8g);
  WritePattern(Grey);
  TIEBitmap B;
  B.SetLocation(ieTBitmap);
  B.Assign(&Grey);
  EXPECT_EQ(B.GetLocation(), ieTBitmap);
  EXPECT_EQ(B.GetPixelFormat(), ie8g);  // a grey colour table
  EXPECT_EQ(B.GetTBitmap()->GetPixelFormat(), pf8bit);
  EXPECT_TRUE(HasPattern(B, 5));
  TIEBitmap Float(2, 2, ie32f);
  B.Assign(&Float);  // refused: the platform has no such bitmaps
  EXPECT_EQ(B.GetPixelFormat(), ie8g);
  EXPECT_EQ(B.GetWidth(), 5);
}

}  // namespace
