// Headerless pixel data: header skip, row alignment, channel order, planes, text samples,
// progress and short data.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/formats/ierawbitmap.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Exceptions.h"
#include "tests/imaging/formats/FormatsTestSupport.h"

namespace {

struct TPercents {
  std::vector<Integer> Seen;
  void Progress(TObject*, Integer Percent) { Seen.push_back(Percent); }
};

struct TRawCase {
  TIEBitmap Bitmap;
  TIOParamsVals Params;
  TTestProgress Progress;
  TPercents Percents;

  TRawCase(Integer Width, Integer Height, TIEPixelFormat Format) {
    Bitmap.Allocate(Width, Height, Format);
    for (Integer Y = 0; Y < Height; ++Y) std::memset(Row(Y), 0x77, Bitmap.GetRowLen());
    Progress.Progress.OnProgress = TIEProgressEvent(&Percents, &TPercents::Progress);
  }
  void Read(const std::vector<Byte>& Data) {
    TMemoryStream Stream;
    LoadBytes(Stream, Data);
    HeaderlessRawReadStream(&Stream, &Bitmap, Params, Progress.Progress);
  }
  void Read(const std::string& Text) { Read(std::vector<Byte>(Text.begin(), Text.end())); }
  Byte* Row(Integer Y) { return static_cast<Byte*>(Bitmap.GetScanline(Y)); }
  std::vector<Byte> RowBytes(Integer Y, Integer Count) { return {Row(Y), Row(Y) + Count}; }
};

TEST(RawBitmap, SkipsTheHeaderAndPutsRedGreenBlueInPlace) {
  TRawCase C(2, 2, ie24RGB);
  C.Params.RawHeaderSize = 8;
  std::vector<Byte> Data(8, 0xEE);
  for (Byte P = 0; P < 4; ++P) Data.insert(Data.end(), {Byte(10 + P), Byte(20 + P), Byte(30 + P)});
  C.Read(Data);
  // The picture holds blue, green, red.
  EXPECT_EQ(C.RowBytes(0, 6), (std::vector<Byte>{30, 20, 10, 31, 21, 11}));
  EXPECT_EQ(C.RowBytes(1, 6), (std::vector<Byte>{32, 22, 12, 33, 23, 13}));
}

TEST(RawBitmap, BlueFirstDataIsLeftAsItIs) {
  TRawCase C(1, 1, ie24RGB);
  C.Params.RawChannelOrder = 1;
  C.Read(std::vector<Byte>{1, 2, 3});
  EXPECT_EQ(C.RowBytes(0, 3), (std::vector<Byte>{1, 2, 3}));
}

TEST(RawBitmap, RowAlignmentSkipsThePaddingOfEachFileRow) {
  TRawCase C(3, 2, ie8g);
  C.Params.RawRowAlign = 32;
  C.Read(std::vector<Byte>{1, 2, 3, 99, 4, 5, 6, 99});
  EXPECT_EQ(C.RowBytes(0, 3), (std::vector<Byte>{1, 2, 3}));
  EXPECT_EQ(C.RowBytes(1, 3), (std::vector<Byte>{4, 5, 6}));
}

TEST(RawBitmap, DecimalTextFillsOnePixelRedFirst) {
  TRawCase C(1, 1, ie24RGB);
  C.Params.RawDataFormat = 1;
  C.Read(std::string("255 0 10"));
  EXPECT_EQ(C.RowBytes(0, 3), (std::vector<Byte>{10, 0, 255}));
}

TEST(RawBitmap, HexTextUsesUpperCaseDigitsOnly) {
  TRawCase C(2, 1, ie8g);
  C.Params.RawDataFormat = 2;
  C.Read(std::string("FF 0A"));
  EXPECT_EQ(C.RowBytes(0, 2), (std::vector<Byte>{255, 10}));

  // A lower-case letter ends a sample and is skipped like any separator.
  TRawCase Lower(2, 1, ie8g);
  Lower.Params.RawDataFormat = 2;
  Lower.Read(std::string("1f2"));
  EXPECT_EQ(Lower.RowBytes(0, 2), (std::vector<Byte>{1, 2}));
}

TEST(RawBitmap, DecimalSamplesOfWordsAndFloats) {
  TRawCase Words(2, 1, ie16g);
  Words.Params.RawDataFormat = 1;
  Words.Read(std::string("65535,258"));
  Word W[2];
  std::memcpy(W, Words.Row(0), 4);
  EXPECT_EQ(W[0], 65535);
  EXPECT_EQ(W[1], 258);

  // Points end a sample: "1.5" is the two samples 1 and 5.
  TRawCase Floats(2, 1, ie32f);
  Floats.Params.RawDataFormat = 1;
  Floats.Read(std::string("1.5"));
  float F[2];
  std::memcpy(F, Floats.Row(0), 8);
  EXPECT_EQ(F[0], 1.0f);
  EXPECT_EQ(F[1], 5.0f);
}

TEST(RawBitmap, HexTextForFloatPixelsIsRefused) {
  TRawCase C(1, 1, ie32f);
  C.Params.RawDataFormat = 2;
  try {
    C.Read(std::string("FF"));
    FAIL() << "no exception";
  } catch (const Exception& E) {
    EXPECT_EQ(E.GetMessage(), "Format unsupported");
  }
}

TEST(RawBitmap, PlanarColourIsSpreadAndReportedPerPlane) {
  TRawCase C(2, 1, ie24RGB);
  C.Params.RawPlanar = 1;
  C.Read(std::vector<Byte>{1, 2, 11, 12, 21, 22});
  EXPECT_EQ(C.RowBytes(0, 6), (std::vector<Byte>{21, 11, 1, 22, 12, 2}));
  EXPECT_EQ(C.Percents.Seen, (std::vector<Integer>{0, 33, 66, 100}));

  TRawCase Cmyk(1, 1, ieCMYK);
  Cmyk.Params.RawPlanar = 1;
  Cmyk.Read(std::vector<Byte>{1, 2, 3, 4});
  EXPECT_EQ(Cmyk.RowBytes(0, 4), (std::vector<Byte>{1, 2, 3, 4}));
  EXPECT_EQ(Cmyk.Percents.Seen, (std::vector<Integer>{0, 25, 50, 75, 100}));
}

TEST(RawBitmap, PlanarWordsWithAlignedPlaneRowsAndSwappedEnds) {
  TRawCase C(1, 1, ieRGB48);
  C.Params.RawPlanar = 1;
  C.Params.RawRowAlign = 32;
  // Each one-word plane row takes four bytes in the file.
  C.Read(std::vector<Byte>{1, 0, 9, 9, 2, 0, 9, 9, 3, 0, 9, 9});
  Word W[3];
  std::memcpy(W, C.Row(0), 6);
  EXPECT_EQ(W[0], 3);
  EXPECT_EQ(W[1], 2);
  EXPECT_EQ(W[2], 1);
}

TEST(RawBitmap, InterleavedProgressReportsEachRowOnce) {
  TRawCase C(1, 4, ie8g);
  C.Read(std::vector<Byte>{1, 2, 3, 4});
  EXPECT_EQ(C.Percents.Seen, (std::vector<Integer>{0, 25, 50, 75}));
}

TEST(RawBitmap, ShortDataLeavesTheRestUnchanged) {
  TRawCase Bytes(2, 2, ie8g);
  Bytes.Read(std::vector<Byte>{1, 2, 3});
  EXPECT_EQ(Bytes.RowBytes(1, 2), (std::vector<Byte>{3, 0x77}));

  TRawCase Planes(2, 1, ie24RGB);
  Planes.Params.RawPlanar = 1;
  Planes.Params.RawChannelOrder = 1;
  Planes.Read(std::vector<Byte>{1, 2, 3});
  EXPECT_EQ(Planes.RowBytes(0, 6), (std::vector<Byte>{1, 3, 0x77, 2, 0x77, 0x77}));

  TRawCase Text(3, 1, ie8g);
  Text.Params.RawDataFormat = 1;
  Text.Read(std::string("5 6"));
  EXPECT_EQ(Text.RowBytes(0, 3), (std::vector<Byte>{5, 6, 0x77}));
}

TEST(RawBitmap, TextForOneBitPicturesSetsABitPerSample) {
  // Each sample is a whole text number; writing them as bytes would run past the 1-bit row.
  TRawCase C(10, 1, ie1g);
  C.Params.RawDataFormat = 1;
  C.Read(std::string("1 0 0 0 0 0 0 1 1 0"));
  EXPECT_EQ(C.Row(0)[0], 0x81);
  EXPECT_EQ(C.Row(0)[1] & 0xC0, 0x80);
}

TEST(RawBitmap, PixelFormatsWithoutALayoutReadNothing) {
  for (const TIEPixelFormat Format : {ieCIELab, ie32RGB}) {
    TRawCase C(1, 1, Format);
    C.Read(std::vector<Byte>{1, 2, 3, 4});
    EXPECT_EQ(C.RowBytes(0, 3), (std::vector<Byte>{0x77, 0x77, 0x77})) << int(Format);
  }
}

TEST(RawBitmap, TokensAreBoundedAndHexWrapsAtThirtyTwoBits) {
  TMemoryStream Stream;
  LoadBytes(Stream, std::vector<Byte>(40, '7'));
  EXPECT_EQ(RawReadDecimalToken(&Stream).size(), 34u);
  EXPECT_EQ(RawReadDecimalToken(&Stream), "777777");
  EXPECT_EQ(RawReadDecimalToken(&Stream), "");
  EXPECT_EQ(RawHexToInt("1FFFFFFFF"), 0xFFFFFFFFu);
  EXPECT_EQ(RawHexToInt("A0"), 0xA0u);
}

}  // namespace
