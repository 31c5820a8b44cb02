// The GIF reader and writer: frames and their control values, pixel formats by table,
// transparency masks, previews, bounded reading of damaged files, and what the writer puts in
// the file (tables, transparent slot, code size, comments).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iefilebuffer.h"
#include "imaging/core/iemask.h"
#include "imaging/formats/giffilter.h"
#include "imaging/formats/giflzw.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/StringList.h"
#include "tests/imaging/formats/GifTestSupport.h"

namespace {

const std::vector<TGifColour> Four = {{10, 20, 30}, {200, 0, 0}, {0, 200, 0}, {0, 0, 200}};

struct TGifRead {
  TIEBitmap Bitmap;
  TIOParamsVals Params;
  std::unique_ptr<TIEMask> Mask;
  Integer FrameCount = -1;
  bool Aborted = false;
};

void Read(const std::vector<Byte>& File, TGifRead& R, Integer Index = 0, bool Preview = false,
          bool IgnoreAlpha = false) {
  R.Params.GifLzwDecompressProc = GifLzwDecompress;
  R.Params.GifImageIndex = Index;
  TMemoryStream Stream;
  LoadBytes(Stream, File);
  TTestProgress Local;
  GifReadStream(&Stream, &R.Bitmap, R.FrameCount, R.Params, Local.Progress, Preview, R.Mask, IgnoreAlpha);
  R.Aborted = Local.Aborting;
}

std::vector<Byte> Write(TIEBitmap& Bitmap, TIOParamsVals& Params, bool* Aborted = nullptr) {
  Params.GifLzwCompressProc = GifLzwCompress;
  TMemoryStream Stream;
  TTestProgress Local;
  GifWriteStream(&Stream, &Bitmap, Params, Local.Progress);
  if (Aborted) *Aborted = Local.Aborting;
  return StreamBytes(Stream);
}

// Three 2 x 2 frames: the first with its own control block, the second with another and a
// local table, the third without one.
std::vector<Byte> ThreeFrames() {
  return TGifBuilder(4, 3, Four, 2)
      .Comment("first")
      .Control(1, 10, 3)
      .Frame(0, 0, 2, 2, {0, 1, 2, 3})
      .Control(2, 25, 0)
      .Frame(2, 1, 2, 2, {0, 1, 1, 0}, {{1, 2, 3}, {4, 5, 6}}, false, 2)
      .Comment("")
      .Frame(1, 1, 2, 2, {3, 3, 3, 3})
      .Comment("last")
      .Finish();
}

TEST(GifRead, WantedFrameGivesItsValuesAndAllFramesAreCounted) {
  TGifRead R;
  Read(ThreeFrames(), R, 1);
  ASSERT_FALSE(R.Aborted);
  EXPECT_EQ(R.FrameCount, 3);
  EXPECT_EQ(R.Params.GifImageCount, 3);
  EXPECT_EQ(R.Params.GifVersion, "GIF89a");
  EXPECT_EQ(R.Params.GifWinWidth, 4);
  EXPECT_EQ(R.Params.GifWinHeight, 3);
  EXPECT_EQ(R.Params.GifBackground, (TIERGBTriple{0, 200, 0}));
  EXPECT_EQ(R.Params.GifXPos, 2);
  EXPECT_EQ(R.Params.GifYPos, 1);
  EXPECT_EQ(R.Params.GifDelayTime, 25);
  EXPECT_EQ(R.Params.GifAction, 2);
  EXPECT_TRUE(R.Params.GifHasTransparentColor);
  EXPECT_EQ(R.Params.GifTransparentColor, (TIERGBTriple{3, 2, 1}));
  EXPECT_EQ(R.Params.BitsPerSample, 1);
  ASSERT_EQ(R.Params.GetColorMapCount(), 2);
  EXPECT_EQ(R.Params.ColorMap[1], (TIERGBTriple{6, 5, 4}));
  ASSERT_EQ(R.Bitmap.GetPixelFormat(), ie24RGB);
  EXPECT_EQ(R.Bitmap.GetPixel24(1, 0), (TIERGBTriple{6, 5, 4}));
  ASSERT_TRUE(R.Mask);
  EXPECT_EQ(R.Mask->GetPixel(0, 0), 0);
  EXPECT_EQ(R.Mask->GetPixel(1, 0), 255);
  EXPECT_EQ(R.Params.GifComments->GetCount(), 2);  // the empty comment is left out
  EXPECT_EQ(R.Params.GifComments->GetStrings(1), "last");
}

TEST(GifRead, FrameWithoutControlBlockHasNoDelayTransparencyOrDisposal) {
  TGifRead R;
  Read(ThreeFrames(), R, 2);
  ASSERT_FALSE(R.Aborted);
  EXPECT_EQ(R.Params.GifDelayTime, 0);
  EXPECT_FALSE(R.Params.GifHasTransparentColor);
  EXPECT_EQ(R.Params.GifAction, 0);
  EXPECT_FALSE(R.Mask);
  EXPECT_EQ(R.Bitmap.GetPixel24(1, 1), (TIERGBTriple{200, 0, 0}));
}

TEST(GifRead, PixelFormatFollowsTheTable) {
  struct TCase {
    std::vector<TGifColour> Table;
    bool Native;
    TIEPixelFormat Format;
  };
  const std::vector<TGifColour> BlackWhite = {{0, 0, 0}, {255, 255, 255}};
  for (const TCase& Case : {TCase{BlackWhite, false, ie1g}, TCase{BlackWhite, true, ie1g},
                            TCase{{{0, 0, 0}, {255, 255, 254}}, false, ie24RGB},
                            TCase{{{0, 0, 0}, {255, 255, 254}}, true, ie8p}, TCase{Four, true, ie8p}}) {
    TGifRead R;
    R.Params.NativePixelFormat = Case.Native;
    Read(TGifBuilder(9, 2, Case.Table)
             .Frame(0, 0, 9, 2, {1, 0, 1, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1})
             .Finish(),
         R);
    ASSERT_FALSE(R.Aborted);
    ASSERT_EQ(R.Bitmap.GetPixelFormat(), Case.Format);
    const auto* Row = static_cast<const Byte*>(R.Bitmap.GetScanline(0));
    if (Case.Format == ie1g) {
      EXPECT_EQ(Row[0], 0xB0);
      EXPECT_EQ(Row[1], 0x80);
    } else if (Case.Format == ie8p) {
      EXPECT_EQ(Row[2], 1);
      EXPECT_EQ(R.Bitmap.GetPaletteUsed(), static_cast<Integer>(Case.Table.size()));
    }
  }
}

TEST(GifRead, TransparentIndexThatNeverOccursGivesNoMask) {
  TGifRead R;
  Read(TGifBuilder(2, 1, Four).Control(0, 0, 3).Frame(0, 0, 2, 1, {0, 1}).Finish(), R);
  ASSERT_FALSE(R.Aborted);
  EXPECT_TRUE(R.Params.GifHasTransparentColor);
  EXPECT_FALSE(R.Mask);
}

TEST(GifRead, InterlacedFrameLandsOnItsRows) {
  std::vector<Byte> Indices(3 * 11);
  for (Integer I = 0; I < 33; ++I) Indices[I] = static_cast<Byte>(I / 3 % 4);
  TGifRead R;
  Read(TGifBuilder(3, 11, Four).Frame(0, 0, 3, 11, Indices, {}, true).Finish(), R);
  ASSERT_FALSE(R.Aborted);
  EXPECT_TRUE(R.Params.GifInterlaced);
  for (Integer Y = 0; Y < 11; ++Y) {
    const TGifColour C = Four[Y % 4];
    EXPECT_EQ(R.Bitmap.GetPixel24(2, Y), (TIERGBTriple{C.B, C.G, C.R})) << Y;
  }
}

TEST(GifRead, PreviewFillsParametersAndLeavesTheBitmap) {
  TGifRead R;
  R.Bitmap.Allocate(5, 5, ie8g);
  Read(ThreeFrames(), R, 0, true, true);
  ASSERT_FALSE(R.Aborted);
  EXPECT_EQ(R.FrameCount, 3);
  EXPECT_EQ(R.Params.Width, 2);
  EXPECT_EQ(R.Params.GifDelayTime, 10);
  EXPECT_EQ(R.Bitmap.GetWidth(), 5);
  EXPECT_EQ(R.Bitmap.GetPixelFormat(), ie8g);
}

TEST(GifRead, DamagedFilesFailWithoutReadingPastTheirData) {
  const std::vector<Byte> Good = TGifBuilder(4, 4, Four).Frame(0, 0, 4, 4, std::vector<Byte>(16, 1)).Finish();
  std::vector<Byte> NoSignature = Good;
  NoSignature[0] = 'X';
  const std::vector<Byte> HeaderOnly(Good.begin(), Good.begin() + 12);
  const std::vector<Byte> TableCut(Good.begin(), Good.begin() + 20);
  // A 60000 x 60000 frame whose data is a few bytes.
  const std::vector<Byte> Huge = TGifBuilder(60000, 60000, Four).Frame(0, 0, 60000, 60000, {1}).Finish();
  // A code size of 12 in front of valid data.
  std::vector<Byte> BadCodeSize = Good;
  BadCodeSize[13 + 12 + 10] = 12;
  for (const auto& File : {NoSignature, HeaderOnly, TableCut, Huge, BadCodeSize}) {
    TGifRead R;
    Read(File, R);
    EXPECT_TRUE(R.Aborted) << File.size();
    EXPECT_TRUE(R.Bitmap.IsEmpty());
  }
  // Data that ends inside the blocks counts the frames met so far.
  TGifRead Cut;
  std::vector<Byte> Truncated = ThreeFrames();
  Truncated.resize(Truncated.size() - 20);
  Read(Truncated, Cut);
  EXPECT_FALSE(Cut.Aborted);
  EXPECT_EQ(Cut.FrameCount, 2);
}

TEST(GifRead, WithoutAnyDecoderTheFrameFails) {
  TGifRead R;
  R.Params.GifLzwDecompressProc = nullptr;
  const TGifLzwDecompressProc Library = IEGifLzwDecompressProc;
  IEGifLzwDecompressProc = nullptr;
  TMemoryStream Stream;
  LoadBytes(Stream, ThreeFrames());
  TTestProgress Local;
  GifReadStream(&Stream, &R.Bitmap, R.FrameCount, R.Params, Local.Progress, false, R.Mask, false);
  IEGifLzwDecompressProc = Library;
  EXPECT_TRUE(Local.Aborting);
}

TEST(GifWrite, AlphaGivesTheLastSlotOfAFullTable) {
  TIEBitmap Picture(3, 2, ie24RGB);
  for (Integer X = 0; X < 3; ++X)
    for (Integer Y = 0; Y < 2; ++Y) Picture.SetPixel24(X, Y, TIERGBTriple{Byte(X * 100), Byte(Y * 90), 7});
  Picture.SetAlpha(1, 1, 0);
  Picture.SetAlpha(2, 0, 254);
  TIOParamsVals Params;
  Params.BitsPerSample = 8;
  const std::vector<Byte> File = Write(Picture, Params);
  ASSERT_GT(File.size(), 13u + 768u + 3u + 8u);
  EXPECT_EQ(File[10], 0xF7);            // 256-entry global table
  const size_t Control = 13 + 768 + 3;  // after the empty comment block
  EXPECT_EQ(File[Control], 0x21);
  EXPECT_EQ(File[Control + 1], 0xF9);
  EXPECT_EQ(File[Control + 3] & 1, 1);
  EXPECT_EQ(File[Control + 6], 255);
  EXPECT_TRUE(Params.GifHasTransparentColor);

  TGifRead R;
  Read(File, R);
  ASSERT_FALSE(R.Aborted);
  ASSERT_TRUE(R.Mask);
  EXPECT_EQ(R.Mask->GetPixel(1, 1), 0);
  EXPECT_EQ(R.Mask->GetPixel(2, 0), 0);
  EXPECT_EQ(R.Mask->GetPixel(0, 0), 255);
  EXPECT_EQ(R.Bitmap.GetPixel24(2, 1), Picture.GetPixel24(2, 1));
}

TEST(GifWrite, OneBitGivesCodeSizeTwoAndABlackWhiteTable) {
  TIEBitmap Picture(10, 3, ie24RGB);
  for (Integer X = 0; X < 10; ++X)
    for (Integer Y = 0; Y < 3; ++Y)
      Picture.SetPixel24(X, Y, (X + Y) % 3 ? TIERGBTriple{40, 40, 40} : TIERGBTriple{250, 250, 250});
  TIOParamsVals Params;
  Params.BitsPerSample = 1;
  const std::vector<Byte> File = Write(Picture, Params);
  EXPECT_EQ(File[10], 0x80);
  EXPECT_EQ(std::vector<Byte>(File.begin() + 13, File.begin() + 19),
            (std::vector<Byte>{0, 0, 0, 255, 255, 255}));
  EXPECT_EQ(File[19 + 3 + 8 + 10], 2);  // after the comment, control block and descriptor
  TGifRead R;
  Read(File, R);
  ASSERT_EQ(R.Bitmap.GetPixelFormat(), ie1g);
  for (Integer X = 0; X < 10; ++X)
    for (Integer Y = 0; Y < 3; ++Y) EXPECT_EQ(R.Bitmap.GetPixelRGB(X, Y).rgbtRed, (X + Y) % 3 ? 0 : 255);
}

TEST(GifWrite, RoundTripKeepsFewColoursExactlyInEveryForm) {
  TIEBitmap Picture(13, 9, ie24RGB);
  for (Integer X = 0; X < 13; ++X)
    for (Integer Y = 0; Y < 9; ++Y)
      Picture.SetPixel24(X, Y, TIERGBTriple{Byte(X * 19), Byte(Y * 28), Byte(X ^ Y)});
  for (bool Interlaced : {false, true}) {
    TIOParamsVals Params;
    Params.GifInterlaced = Interlaced;
    Params.GifDelayTime = 33;
    Params.GifAction = 3;
    Params.GifXPos = 5;
    Params.GifComments->Add("made here");
    Params.GifComments->Add("");
    Params.GifComments->Add(std::string(300, 'c'));
    const std::vector<Byte> File = Write(Picture, Params);
    TGifRead R;
    Read(File, R);
    ASSERT_FALSE(R.Aborted);
    EXPECT_EQ(R.Params.GifInterlaced, Interlaced);
    EXPECT_EQ(R.Params.GifDelayTime, 33);
    EXPECT_EQ(R.Params.GifAction, 3);
    EXPECT_EQ(R.Params.GifXPos, 5);
    ASSERT_EQ(R.Params.GifComments->GetCount(), 2);
    EXPECT_EQ(R.Params.GifComments->GetStrings(0), "made here");
    EXPECT_EQ(R.Params.GifComments->GetStrings(1), std::string(44, 'c'));
    for (Integer X = 0; X < 13; ++X)
      for (Integer Y = 0; Y < 9; ++Y)
        ASSERT_EQ(R.Bitmap.GetPixel24(X, Y), Picture.GetPixel24(X, Y)) << X << Y;
  }
  // A palette picture keeps its own indices and table.
  TIEBitmap Paletted(4, 1, ie8p);
  for (Integer I = 0; I < 4; ++I) Paletted.SetPaletteColor(I, TIERGBTriple{Byte(I), Byte(2 * I), 99});
  Paletted.SetPaletteUsed(4);
  for (Integer X = 0; X < 4; ++X) static_cast<Byte*>(Paletted.GetScanline(0))[X] = static_cast<Byte>(3 - X);
  TIOParamsVals Params;
  Params.BitsPerSample = 2;
  TGifRead R;
  R.Params.NativePixelFormat = true;
  Read(Write(Paletted, Params), R);
  ASSERT_EQ(R.Bitmap.GetPixelFormat(), ie8p);
  EXPECT_EQ(static_cast<const Byte*>(R.Bitmap.GetScanline(0))[0], 3);
  EXPECT_EQ(R.Params.ColorMap[3], (TIERGBTriple{3, 6, 99}));
}

TEST(GifWrite, ShortWriteAndMissingCoderAreReported) {
  TIEBitmap Picture(64, 64, ie24RGB);
  TIOParamsVals Params;
  Params.GifLzwCompressProc = GifLzwCompress;
  for (Int64 Limit : {5, 800, 850}) {
    TLimitedStream Stream(Limit);
    TTestProgress Local;
    GifWriteStream(&Stream, &Picture, Params, Local.Progress);
    EXPECT_TRUE(Local.Aborting) << Limit;
  }
  Params.GifLzwCompressProc = nullptr;
  const TGifLzwCompressProc Library = IEGifLzwCompressProc;
  IEGifLzwCompressProc = nullptr;
  TMemoryStream Stream;
  TTestProgress Local;
  GifWriteStream(&Stream, &Picture, Params, Local.Progress);
  IEGifLzwCompressProc = Library;
  EXPECT_TRUE(Local.Aborting);
  EXPECT_EQ(Stream.GetSize(), 13 + 768 + 3 + 8 + 10);  // nothing after the image descriptor
}

}  // namespace
