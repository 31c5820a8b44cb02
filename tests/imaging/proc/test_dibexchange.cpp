// Pictures to and from packed DIBs: sizes, row order, bit offsets, 16-bit masks, the YUV
// frame layouts, and 1-bit platform bitmaps expanded to 24 bits.
#include <cstring>
#include <vector>

#include "PixelsTestSupport.h"
#include "imaging/core/iedibbitmap.h"
#include "imaging/core/iestreams.h"
#include "imaging/proc/iedibexchange.h"
#include "imaging/proc/ieprocfilters.h"
#include "imaging/proc/ieyuv.h"
#include "platform/classes/Bitmap.h"
#include "platform/user/GlobalMemory.h"

using namespace PixelsTesting;

namespace {

// The block of a DIB handle, copied out and freed.
std::vector<Byte> TakeBlock(HGLOBAL Handle) {
  const Byte* P = static_cast<const Byte*>(GlobalLock(Handle));
  std::vector<Byte> Out(P, P + GlobalSize(Handle));
  GlobalUnlock(Handle);
  GlobalFree(Handle);
  return Out;
}

// A BITMAPINFOHEADER followed by Extra (masks, table or pixels).
std::vector<Byte> Header(Integer W, Integer H, Integer BitCount, Cardinal Compression,
                         const std::vector<Byte>& Extra = {}) {
  std::vector<Byte> D(40, 0);
  IEStoreLE32(D.data(), 40);
  IEStoreLE32(D.data() + 4, static_cast<Cardinal>(W));
  IEStoreLE32(D.data() + 8, static_cast<Cardinal>(H));
  D[12] = 1;
  D[14] = static_cast<Byte>(BitCount);
  IEStoreLE32(D.data() + 16, Compression);
  D.insert(D.end(), Extra.begin(), Extra.end());
  return D;
}

TBGR YUV(Integer Y, Integer U, Integer V) {
  TIERGBTriple P;
  IEYUVToRGB(Y, U, V, P);
  return {P.rgbtBlue, P.rgbtGreen, P.rgbtRed};
}

Cardinal Code(const char* C) {
  return IELoadLE32(reinterpret_cast<const Byte*>(C));
}

TEST(TDIBExchangeTest, ColourPictureGivesBottomRowFirstWithSpareBytes) {
  auto B = Picture24(10, 3, [](Integer X, Integer Y) { return TBGR{Byte(X), Byte(Y), 7}; });
  const std::vector<Byte> D = TakeBlock(_CopyBitmaptoDIBEx(B.get(), 0, 0, 0, 0, 96, 96));
  ASSERT_EQ(D.size(), 140u);  // 44 + 32 x 3
  EXPECT_EQ(IELoadLE32(D.data() + 4), 10u);
  EXPECT_EQ(IELoadLE32(D.data() + 8), 3u);
  EXPECT_EQ(D[14], 24);
  EXPECT_EQ(IELoadLE32(D.data() + 24), 3779u);  // Trunc(96 x 39.3700787)
  EXPECT_EQ(D[40 + 3 * 4 + 1], 2);              // first stored row: the bottom one
  EXPECT_EQ(D[40 + 32 + 1], 1);

  // A grey rectangle: 8 bits with the grey ramp, columns from X1.
  auto Grey = Picture(6, 2, ie8g, [](Byte* Row, Integer Y) {
    for (Integer X = 0; X < 6; ++X) Row[X] = Byte(10 * X + Y);
  });
  const std::vector<Byte> G = TakeBlock(_CopyBitmaptoDIBEx(Grey.get(), 2, 1, 5, 2, 72, 72));
  ASSERT_EQ(G.size(), 44u + 1024 + 4);
  EXPECT_EQ(IELoadLE32(G.data() + 4), 3u);
  EXPECT_EQ(G[14], 8);
  EXPECT_EQ(std::vector<Byte>(G.begin() + 40 + 200 * 4, G.begin() + 40 + 200 * 4 + 4),
            (std::vector<Byte>{200, 200, 200, 0}));
  EXPECT_EQ(std::vector<Byte>(G.begin() + 1064, G.begin() + 1067), (std::vector<Byte>{21, 31, 41}));

  EXPECT_EQ(_CopyBitmaptoDIBEx(B.get(), 4, 0, 4, 3, 96, 96), nullptr);  // no pixels
}

TEST(TDIBExchangeTest, OneBitRowsStartAtTheFirstColumnAndOtherFormatsGoThrough24Bits) {
  auto B = Picture(16, 1, ie1g, [](Byte* Row, Integer) {
    Row[0] = 0x10;  // pixel 3
    Row[1] = 0x01;  // pixel 15
  });
  const std::vector<Byte> D = TakeBlock(_CopyBitmaptoDIBEx(B.get(), 3, 0, 0, 0, 96, 96));
  ASSERT_EQ(D.size(), 44u + 8 + 4);
  EXPECT_EQ(D[14], 1);
  EXPECT_EQ(std::vector<Byte>(D.begin() + 40, D.begin() + 48),
            (std::vector<Byte>{0, 0, 0, 0, 255, 255, 255, 255}));
  EXPECT_EQ(D[48], 0x80);  // picture pixel 3 is DIB pixel 0
  EXPECT_EQ(D[49], 0x08);  // and pixel 15 is DIB pixel 12

  TIEBitmap CMYK(4, 2, ieCMYK);
  const std::vector<Byte> C = TakeBlock(_CopyBitmaptoDIBEx(&CMYK, 0, 0, 0, 0, 96, 96));
  ASSERT_GE(C.size(), 40u);
  EXPECT_EQ(C[14], 24);
}

TEST(TDIBExchangeTest, RoundTripsKeepPalettedAndOneBitPictures) {
  auto Paletted = Picture(3, 2, ie8p, [](Byte* Row, Integer Y) {
    for (Integer X = 0; X < 3; ++X) Row[X] = Byte(X + Y);
  });
  for (Integer I = 0; I < 4; ++I)
    Paletted->SetPaletteColor(I, TIERGBTriple{Byte(I), Byte(50 + I), Byte(100 + I)});
  HGLOBAL Handle = _CopyBitmaptoDIBEx(Paletted.get(), 0, 0, 0, 0, 96, 96);
  TIEBitmap Back;
  EXPECT_EQ(IECopyDIBToIEBitmap(Handle, &Back, nullptr, false), 8);
  EXPECT_EQ(GlobalFlags(Handle) & GMEM_LOCKCOUNT, 0u);  // unlocked again
  GlobalFree(Handle);
  ASSERT_EQ(Back.GetPixelFormat(), ie24RGB);
  EXPECT_EQ(Pixel24(&Back, 2, 1), (TBGR{3, 53, 103}));
  EXPECT_EQ(Pixel24(&Back, 0, 0), (TBGR{0, 50, 100}));

  auto Bits = Picture(9, 2, ie1g, [](Byte* Row, Integer Y) {
    Row[0] = Y ? 0xA5 : 0x3C;
    Row[1] = 0x80;
  });
  HGLOBAL One = _CopyBitmaptoDIBEx(Bits.get(), 0, 0, 0, 0, 96, 96);
  TIEBitmap OneBack;
  EXPECT_EQ(IECopyDIBToIEBitmap(One, &OneBack, nullptr, false), 1);
  GlobalFree(One);
  ASSERT_EQ(OneBack.GetPixelFormat(), ie1g);
  EXPECT_EQ(RowBytes(&OneBack, 2), RowBytes(Bits.get(), 2));
}

TEST(TDIBExchangeTest, SixteenBitPixelsFollowTheirMasks) {
  const struct {
    const char* Name;
    Cardinal Compression;
    std::vector<Byte> Masks;
    Word Pixel;
    TBGR Expected;
  } Cases[] = {
      {"5-5-5", 0, {}, 0x7FFF, {248, 248, 248}},
      {"5-5-5 red", 0, {}, 0x7C00, {0, 0, 248}},
      {"5-6-5", 3, {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0}, 0xFFFF, {248, 252, 248}},
      {"5-6-5 green", 3, {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0}, 0x07E0, {0, 252, 0}},
  };
  for (const auto& C : Cases) {
    std::vector<Byte> Extra = C.Masks;
    // Two rows, bottom one first: the pixel lands in picture row 1.
    Extra.insert(Extra.end(), {Byte(C.Pixel), Byte(C.Pixel >> 8), 0, 0, 0, 0, 0, 0});
    const std::vector<Byte> D = Header(1, 2, 16, C.Compression, Extra);
    TIEBitmap B;
    EXPECT_EQ(IECopyDIBToIEBitmap(const_cast<Byte*>(D.data()), &B, nullptr, true), 16) << C.Name;
    EXPECT_EQ(Pixel24(&B, 0, 1), C.Expected) << C.Name;
    EXPECT_EQ(Pixel24(&B, 0, 0), (TBGR{0, 0, 0})) << C.Name;
  }
}

TEST(TYUVTest, StudioRangeEndsAreBlackAndWhite) {
  EXPECT_EQ(YUV(16, 128, 128), (TBGR{0, 0, 0}));
  EXPECT_EQ(YUV(235, 128, 128), (TBGR{255, 255, 255}));
  EXPECT_EQ(YUV(81, 90, 240), (TBGR{0, 0, 254}));
  EXPECT_EQ(YUV(100, 60, 200), (TBGR{0, 66, 213}));
}

TEST(TYUVTest, FramesComeThroughTheirFourCCWithTheirRowOrder) {
  // Two rows of two pixels: the first data row white, the second black.
  const std::vector<Byte> Frame = {235, 128, 235, 128, 16, 128, 16, 128};
  const TBGR White{255, 255, 255}, Black{0, 0, 0};
  const struct {
    const char* Code;
    Integer Height;
    bool WhiteOnTop;
  } Cases[] = {{"YUY2", 2, true}, {"YUY2", -2, false}, {"YUNV", 2, true}};
  for (const auto& C : Cases) {
    const std::vector<Byte> D = Header(2, C.Height, 16, Code(C.Code));
    TIEBitmap B;
    IECopyDIBToIEBitmap(const_cast<Byte*>(D.data()), &B, Frame.data(), true);
    ASSERT_EQ(B.GetHeight(), 2);
    EXPECT_EQ(Pixel24(&B, 1, 0), C.WhiteOnTop ? White : Black) << C.Code << C.Height;
    EXPECT_EQ(Pixel24(&B, 1, 1), C.WhiteOnTop ? Black : White) << C.Code << C.Height;
  }
  // Y41P counts its rows the other way: a positive height is bottom-up.
  std::vector<Byte> Y41P(24, 128);
  std::fill(Y41P.begin() + 8, Y41P.begin() + 12, 235);
  for (Integer I : {1, 3, 5, 7}) Y41P[I] = 235;
  std::fill(Y41P.begin() + 20, Y41P.begin() + 24, 16);
  for (Integer I : {13, 15, 17, 19}) Y41P[I] = 16;
  const std::vector<Byte> D = Header(8, 2, 12, Code("Y41P"));
  TIEBitmap B;
  IECopyDIBToIEBitmap(const_cast<Byte*>(D.data()), &B, Y41P.data(), true);
  EXPECT_EQ(Pixel24(&B, 7, 0), Black);
  EXPECT_EQ(Pixel24(&B, 7, 1), White);
}

TEST(TYUVTest, EachLayoutTakesItsOwnSamples) {
  // Luma 60, 70, 80, 90 for the pixels, chroma pairs (U, V) as each layout places them.
  struct TCase {
    void (*Decode)(const void*, TIEBitmap*, bool);
    std::vector<Byte> Data;
    std::vector<TBGR> Expected;
  };
  const TCase Cases[] = {
      {IEDecodeYUY2,
       {60, 90, 70, 200, 80, 100, 90, 210},
       {YUV(60, 90, 200), YUV(70, 90, 200), YUV(80, 100, 210), YUV(90, 100, 210)}},
      {IEDecodeUYVY,
       {90, 60, 200, 70, 100, 80, 210, 90},
       {YUV(60, 90, 200), YUV(70, 90, 200), YUV(80, 100, 210), YUV(90, 100, 210)}},
      {IEDecodeYVYU,
       {60, 200, 70, 90, 80, 210, 90, 100},
       {YUV(60, 90, 200), YUV(70, 90, 200), YUV(80, 100, 210), YUV(90, 100, 210)}},
      {IEDecodeY211,
       {60, 90, 80, 200},
       {YUV(60, 90, 200), YUV(60, 90, 200), YUV(80, 90, 200), YUV(80, 90, 200)}},
      {IEDecodeIYU1,
       {90, 60, 70, 200, 80, 90},
       {YUV(60, 90, 200), YUV(70, 90, 200), YUV(80, 90, 200), YUV(90, 90, 200)}},
      {IEDecodeIYU2,
       {90, 60, 200, 91, 70, 201, 92, 80, 202, 93, 90, 203},
       {YUV(60, 90, 200), YUV(70, 91, 201), YUV(80, 92, 202), YUV(90, 93, 203)}},
      // U 10, V 20, lumas 1 .. 4 in one little-endian word.
      {IEDecodeCLJR,
       {0x0A, 0x15, 0xC4, 0x20},
       {YUV(1, 10, 20), YUV(2, 10, 20), YUV(3, 10, 20), YUV(4, 10, 20)}},
  };
  for (size_t I = 0; I < std::size(Cases); ++I) {
    TIEBitmap B(4, 1, ie24RGB);
    Cases[I].Decode(Cases[I].Data.data(), &B, true);
    for (Integer X = 0; X < 4; ++X) EXPECT_EQ(Pixel24(&B, X, 0), Cases[I].Expected[X]) << I << ":" << X;
  }
}

TEST(TYUVTest, PlanarLayoutsOrderTheirChromaPlanes) {
  // 4 x 2 luma, then two 2 x 1 chroma planes.
  const std::vector<Byte> Data = {60, 70, 80, 90, 100, 110, 120, 130, 90, 95, 200, 205};
  TIEBitmap I420(4, 2, ie24RGB), YV12(4, 2, ie24RGB);
  IEDecodeI420(Data.data(), &I420, true);
  IEDecodeYV12(Data.data(), &YV12, false);
  EXPECT_EQ(Pixel24(&I420, 1, 0), YUV(70, 90, 200));
  EXPECT_EQ(Pixel24(&I420, 3, 1), YUV(130, 95, 205));
  EXPECT_EQ(Pixel24(&YV12, 3, 1), YUV(90, 205, 95));  // bottom-up: the first luma row is the last row
  // A quarter-size plane: 4 x 4 luma, one sample each.
  std::vector<Byte> Nine(18, 100);
  Nine[16] = 200;  // V
  Nine[17] = 90;   // U
  TIEBitmap YVU9(4, 4, ie24RGB);
  IEDecodeYVU9(Nine.data(), &YVU9, true);
  EXPECT_EQ(Pixel24(&YVU9, 3, 3), YUV(100, 90, 200));
}

TEST(TYUVTest, OddSizedPlanarFramesReuseTheirLastChromaSample) {
  // 3 x 3 luma and one U and one V sample: the last column and row have no chroma of their own.
  std::vector<Byte> Data(9, 120);
  Data.push_back(90);   // U
  Data.push_back(200);  // V
  Data.push_back(0);    // whatever follows the frame
  TIEBitmap B(3, 3, ie24RGB);
  IEDecodeI420(Data.data(), &B, true);
  for (Integer Y = 0; Y < 3; ++Y)
    for (Integer X = 0; X < 3; ++X) EXPECT_EQ(Pixel24(&B, X, Y), YUV(120, 90, 200)) << X << "," << Y;
}

TEST(TPlatformBitmapTest, OneBitExpandsToWhiteAndBlackWithProgress) {
  IEBuild1BitExpandTable();
  TBitmap Source;
  Source.SetPixelFormat(pf1bit);
  Source.SetSize(10, 2);
  for (Integer Y = 0; Y < 2; ++Y) {
    Byte* Row = static_cast<Byte*>(Source.GetScanLine(Y));
    Row[0] = 0x81;
    Row[1] = 0x40;  // pixel 9
  }
  TBitmap Dest;
  std::vector<Integer> Percents;
  struct TLog {
    std::vector<Integer>* Out;
    void Progress(TObject*, Integer P) { Out->push_back(P); }
  } Log{&Percents};
  TIEIOProgress Progress;
  Progress.OnProgress = TIEProgressEvent(&Log, &TLog::Progress);
  IE1BitTBitmapTo24Bit(&Source, &Dest, Progress);
  ASSERT_EQ(Dest.GetPixelFormat(), pf24bit);
  ASSERT_EQ(Dest.GetWidth(), 10);
  const Byte* Row = static_cast<const Byte*>(Dest.GetScanLine(1));
  const std::vector<Byte> Expected = {255, 255, 255, 0, 0, 0, 0,   0,   0,   0, 0, 0, 0,   0,   0,
                                      0,   0,   0,   0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 255, 255};
  EXPECT_EQ(std::vector<Byte>(Row, Row + 30), Expected);
  EXPECT_EQ(Percents, (std::vector<Integer>{40, 80}));  // Trunc(rows x 100 / 2.5)
}

TEST(TDIBExchangeTest, DrawingIntoADibBitmapKeepsSizeAndPixels) {
  // Two 24-bit rows, bottom one first.
  const std::vector<Byte> D = Header(2, 2, 24, 0, {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0});
  TIEDibbitmap Dest;
  EXPECT_EQ(IEDrawDIBToDibbitmap(const_cast<Byte*>(D.data()), &Dest, nullptr, true), 24);
  ASSERT_EQ(Dest.GetWidth(), 2);
  ASSERT_EQ(Dest.GetHeight(), 2);
  const Byte* Top = static_cast<const Byte*>(Dest.GetScanline(0));
  EXPECT_EQ(std::vector<Byte>(Top, Top + 6), (std::vector<Byte>{7, 8, 9, 10, 11, 12}));
  EXPECT_EQ(IEDrawDIBToDibbitmap(nullptr, &Dest, nullptr, true), 0);
}

}  // namespace
