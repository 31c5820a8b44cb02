// The BMP reader and writer: files built byte by byte, round trips through every header kind,
// bit count and compression, and ImageMagick as the outside reader and writer.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"
#include "imaging/core/iestreams.h"
#include "imaging/formats/iebmp.h"
#include "imaging/io/zezudidioparams.h"
#include "tests/imaging/formats/BmpTestSupport.h"
#include "tests/imaging/formats/FormatsTestSupport.h"
#include "tests/imaging/io/ReadLimitsTestSupport.h"

namespace {

TIERGBTriple BGR(Byte R, Byte G, Byte B) {
  return {B, G, R};
}

struct TBmpRead {
  TIEBitmap Bitmap;
  TIOParamsVals Params;
  TTestProgress P;
  std::unique_ptr<TIEMask> Alpha;

  void Load(const std::vector<Byte>& File, bool IgnoreAlpha = false) {
    TMemoryStream Stream;
    LoadBytes(Stream, File);
    BmpReadStream(&Stream, &Bitmap, 0, Params, P.Progress, false, false, Alpha, IgnoreAlpha);
  }
};

std::vector<Byte> Save(TIEBitmap& Bitmap, TIOParamsVals& Params, bool SaveAlpha = false) {
  TMemoryStream Stream;
  TTestProgress P;
  BmpWriteStream(&Stream, &Bitmap, Params, P.Progress, SaveAlpha);
  EXPECT_FALSE(P.Aborting);
  return StreamBytes(Stream);
}

// Four colours in a 7 x 5 picture (odd sizes exercise the row padding and nibble packing).
const TIERGBTriple Colours[4] = {BGR(0, 0, 0), BGR(255, 255, 255), BGR(200, 30, 40), BGR(10, 90, 250)};

void FillPicture(TIEBitmap& B, Integer ColourCount) {
  B.Allocate(7, 5, ie24RGB);
  for (Integer Y = 0; Y < 5; ++Y)
    for (Integer X = 0; X < 7; ++X) B.SetPixel24(X, Y, Colours[(X + 2 * Y) % ColourCount]);
}

void ExpectSamePixels(TIEBitmap& A, TIEBitmap& B) {
  ASSERT_EQ(A.GetWidth(), B.GetWidth());
  ASSERT_EQ(A.GetHeight(), B.GetHeight());
  for (Integer Y = 0; Y < A.GetHeight(); ++Y)
    for (Integer X = 0; X < A.GetWidth(); ++X)
      ASSERT_EQ(A.GetPixel24(X, Y), B.GetPixel24(X, Y)) << X << "," << Y;
}

}  // namespace

TEST(BmpRoundTrip, EveryHeaderKindBitCountAndCompression) {
  struct TCase {
    Byte Version;
    Integer Bits, Samples;
    Byte Compression;
    Integer Colours;
    Integer HeaderSize, FileBits;
    Cardinal FileCompression;
  };
  const TCase Cases[] = {
      {1, 8, 3, 0, 4, 40, 24, 0}, {3, 8, 3, 0, 4, 64, 24, 0}, {2, 8, 3, 0, 4, 12, 24, 0},
      {1, 8, 1, 0, 4, 40, 8, 0},  {1, 8, 1, 1, 4, 40, 8, 1},  {2, 8, 1, 1, 4, 12, 8, 0},
      {1, 4, 1, 0, 4, 40, 4, 0},  {1, 4, 1, 1, 4, 40, 4, 2},  {3, 4, 1, 1, 4, 64, 4, 2},
      {1, 1, 1, 0, 2, 40, 1, 0},  {2, 1, 1, 0, 2, 12, 1, 0},  {0, 8, 3, 0, 4, 40, 24, 0},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(testing::Message() << "version " << int(C.Version) << " bits " << C.Bits << " rle "
                                    << int(C.Compression));
    TIEBitmap Source;
    FillPicture(Source, C.Colours);
    TIOParamsVals Params;
    Params.BmpVersion = C.Version;
    Params.BitsPerSample = C.Bits;
    Params.SamplesPerPixel = C.Samples;
    Params.BmpCompression = C.Compression;
    Params.SetDpiX(96);
    Params.SetDpiY(150);
    const auto File = Save(Source, Params);
    ASSERT_GT(File.size(), 30u);
    EXPECT_EQ(IELoadLE32(&File[2]), File.size());  // file size field
    EXPECT_EQ(IELoadLE32(&File[14]), static_cast<Cardinal>(C.HeaderSize));
    const Integer PaletteBytes = C.FileBits <= 8 ? (1 << C.FileBits) * (C.HeaderSize == 12 ? 3 : 4) : 0;
    EXPECT_EQ(IELoadLE32(&File[10]), static_cast<Cardinal>(14 + C.HeaderSize + PaletteBytes));
    if (C.HeaderSize != 12) {
      EXPECT_EQ(File[28], C.FileBits);
      EXPECT_EQ(IELoadLE32(&File[30]), C.FileCompression);
      EXPECT_EQ(IELoadLE32(&File[34]), File.size() - IELoadLE32(&File[10]));  // image size
      EXPECT_EQ(IELoadLE32(&File[38]), 3780u);                                // 96 dpi
    }
    TBmpRead R;
    R.Load(File);
    ASSERT_FALSE(R.P.Aborting);
    EXPECT_EQ(R.Params.BmpVersion, C.Version == 0 ? 1 : C.Version);
    EXPECT_EQ(R.Params.BmpCompression, C.FileCompression != 0 ? 1 : 0);
    if (C.HeaderSize != 12) {
      EXPECT_EQ(R.Params.DpiY, 150);
    }
    if (C.FileBits == 1) {
      ASSERT_EQ(R.Bitmap.GetPixelFormat(), ie1g);
      R.Bitmap.ConvertToPixelFormat(ie24RGB);
    }
    ExpectSamePixels(Source, R.Bitmap);
  }
}

TEST(BmpRoundTrip, ThirtyTwoBitsCarryAlphaOnlyWhenAsked) {
  TIEBitmap Source;
  FillPicture(Source, 4);
  Source.GetAlphaChannel()->Fill(255);
  Source.SetAlpha(2, 1, 77);
  TIOParamsVals Params;
  TBmpRead R;
  R.Load(Save(Source, Params, true));
  ASSERT_EQ(R.Params.SamplesPerPixel, 4);
  ASSERT_TRUE(R.Alpha);
  EXPECT_EQ(R.Alpha->GetScanline(1)[2], 77);
  EXPECT_EQ(R.Alpha->GetScanline(0)[0], 255);
  ExpectSamePixels(Source, R.Bitmap);

  TBmpRead Opaque;  // written with 255 everywhere: no mask comes back
  Opaque.Load(Save(Source, Params, false));
  EXPECT_FALSE(Opaque.Alpha);

  TBmpRead Ignored;
  Ignored.Load(Save(Source, Params, true), /*IgnoreAlpha=*/true);
  EXPECT_FALSE(Ignored.Alpha);
}

TEST(BmpRead, TopDownRowsAndAlphaFollowTheFileOrder) {
  TBmpFixture F;
  F.BitCount = 32;
  F.Height = -2;
  F.Pixels = {1, 2, 3, 10, 4,  5,  6,  20,  // first stored row
              7, 8, 9, 30, 11, 12, 13, 40};
  TBmpRead R;
  R.Load(EncodeBmp(F));
  EXPECT_EQ(R.Bitmap.GetPixel24(0, 0), (TIERGBTriple{1, 2, 3}));
  EXPECT_EQ(R.Bitmap.GetPixel24(1, 1), (TIERGBTriple{11, 12, 13}));
  ASSERT_TRUE(R.Alpha);
  EXPECT_EQ(R.Alpha->GetScanline(0)[1], 20);
  EXPECT_EQ(R.Alpha->GetScanline(1)[0], 30);

  F.Height = 2;  // bottom-up: the first stored row is the bottom one
  TBmpRead Up;
  Up.Load(EncodeBmp(F));
  EXPECT_EQ(Up.Bitmap.GetPixel24(0, 1), (TIERGBTriple{1, 2, 3}));
  EXPECT_EQ(Up.Alpha->GetScanline(1)[1], 20);

  TBmpFixture Rgb = F;  // 24 and native 8 bits go straight into the rows, in the same order
  Rgb.BitCount = 24;
  Rgb.Height = -2;
  Rgb.Pixels = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
  TBmpRead Down24;
  Down24.Load(EncodeBmp(Rgb));
  EXPECT_EQ(Down24.Bitmap.GetPixel24(1, 0), (TIERGBTriple{4, 5, 6}));
  EXPECT_EQ(Down24.Bitmap.GetPixel24(0, 1), (TIERGBTriple{7, 8, 9}));
  Rgb.BitCount = 8;
  Rgb.Palette.assign(1024, 0);
  Rgb.Pixels = {1, 2, 0, 0, 3, 4, 0, 0};
  TBmpRead Down8;
  Down8.Params.NativePixelFormat = true;
  Down8.Load(EncodeBmp(Rgb));
  EXPECT_EQ(Down8.Bitmap.GetPixel8(1, 0), 2);
  EXPECT_EQ(Down8.Bitmap.GetPixel8(0, 1), 3);

  for (Byte A : {0, 255}) {  // alpha that says nothing
    for (size_t I = 3; I < F.Pixels.size(); I += 4) F.Pixels[I] = A;
    TBmpRead Flat;
    Flat.Load(EncodeBmp(F));
    EXPECT_FALSE(Flat.Alpha) << int(A);
  }
}

TEST(BmpRead, OneBitPaletteWhiteBlackIsInverted) {
  TBmpFixture F;
  F.BitCount = 1;
  F.Width = 3;
  F.Height = 1;
  F.Pixels = {0xA0, 0, 0, 0};  // 1 0 1
  F.Palette = {255, 255, 255, 0, 0, 0, 0, 0};
  TBmpRead WhiteFirst;
  WhiteFirst.Load(EncodeBmp(F));
  EXPECT_EQ(static_cast<Byte*>(WhiteFirst.Bitmap.GetScanline(0))[0] & 0xE0, 0x40);
  F.Palette = {0, 0, 0, 0, 255, 255, 255, 0};
  TBmpRead BlackFirst;
  BlackFirst.Load(EncodeBmp(F));
  EXPECT_EQ(static_cast<Byte*>(BlackFirst.Bitmap.GetScanline(0))[0] & 0xE0, 0xA0);
}

TEST(BmpRead, SixteenBitsWithAndWithoutBitFields) {
  TBmpFixture F;
  F.BitCount = 16;
  F.Width = 1;
  F.Height = 1;
  F.Pixels = {0xFF, 0x7F, 0, 0};  // 0x7FFF: white in 5-5-5
  TBmpRead Plain;
  Plain.Load(EncodeBmp(F));
  EXPECT_EQ(Plain.Bitmap.GetPixel24(0, 0), BGR(248, 248, 248));
  EXPECT_EQ(Plain.Params.BitsPerSample, 5);
  F.Compression = 3;
  F.Masks = {0xF800, 0x07E0, 0x001F};
  F.Pixels = {0xE0, 0x07, 0, 0};  // 0x07E0: pure green in 5-6-5
  for (Cardinal HeaderSize : {40u, 124u}) {
    F.HeaderSize = HeaderSize;
    TBmpRead Fields;
    Fields.Load(EncodeBmp(F));
    EXPECT_EQ(Fields.Bitmap.GetPixel24(0, 0), BGR(0, 252, 0)) << HeaderSize;
    EXPECT_EQ(Fields.Params.BitsPerSample, 5);
  }
  F.Masks = {0, 0, 0};  // widths of 0 ask for shifts below zero
  F.HeaderSize = 40;
  TBmpRead Zero;
  Zero.Load(EncodeBmp(F));
  EXPECT_EQ(Zero.Bitmap.GetPixel24(0, 0), BGR(0, 0, 0));
}

TEST(BmpRead, LargeHeadersPalettesAndColourCounts) {
  TBmpFixture F;
  F.HeaderSize = 108;
  F.BitCount = 8;
  F.Width = 2;
  F.Height = 1;
  F.ColoursUsed = 300;  // more than 256 counts as none given: 256 entries
  for (int I = 0; I < 256; ++I) F.Palette.insert(F.Palette.end(), {Byte(I), Byte(255 - I), 7, 0});
  F.Pixels = {5, 250, 0, 0};
  TBmpRead R;
  R.Load(EncodeBmp(F));
  EXPECT_EQ(R.Params.BmpVersion, 0);
  EXPECT_EQ(R.Params.GetColorMapCount(), 256);
  EXPECT_EQ(R.Bitmap.GetPixel24(1, 0), (TIERGBTriple{250, 5, 7}));

  F.HeaderSize = 40;
  F.ColoursUsed = 2;  // indices past the palette read as black
  F.Palette.resize(8);
  TBmpRead Short;
  Short.Params.NativePixelFormat = true;
  Short.Load(EncodeBmp(F));
  ASSERT_EQ(Short.Bitmap.GetPixelFormat(), ie8p);
  EXPECT_EQ(Short.Bitmap.GetPixel8(1, 0), 250);
  TBmpRead Expanded;
  Expanded.Load(EncodeBmp(F));
  EXPECT_EQ(Expanded.Bitmap.GetPixel24(1, 0), BGR(0, 0, 0));
}

TEST(BmpRead, RunLengthData) {
  TBmpFixture F;
  F.BitCount = 8;
  F.Compression = 1;
  F.Width = 4;
  F.Height = 3;
  for (int I = 0; I < 256; ++I) F.Palette.insert(F.Palette.end(), {Byte(I), Byte(I), Byte(I), 0});
  // Bottom row: run of 2 x 9, literal 3 bytes (padded; the one past the edge is dropped); next
  // row: run of 6 x 4 (past the edge too); then a delta past the last row ends decoding.
  F.Pixels = {2, 9, 0, 3, 1, 2, 3, 0, 0, 0, 6, 4, 0, 0, 0, 2, 0, 5, 1, 77};
  TBmpRead R;
  R.Params.NativePixelFormat = true;
  R.Load(EncodeBmp(F));
  ASSERT_FALSE(R.P.Aborting);
  const Byte Bottom[] = {9, 9, 1, 2};
  for (Integer X = 0; X < 4; ++X) EXPECT_EQ(R.Bitmap.GetPixel8(X, 2), Bottom[X]);
  EXPECT_EQ(R.Bitmap.GetPixel8(3, 1), 4);
  EXPECT_NE(R.Bitmap.GetPixel8(0, 0), 77);  // after the delta nothing more
  EXPECT_EQ(R.Bitmap.GetPaletteUsed(), 256);

  F.BitCount = 4;  // RLE4: nibbles alternate; pixels past the edge are dropped
  F.Compression = 2;
  F.Palette.resize(16 * 4);
  F.Pixels = {5, 0x12, 0, 0, 0, 3, 0x34, 0x50};  // no end-of-bitmap: stops at the end of data
  TBmpRead R4;
  R4.Load(EncodeBmp(F));
  const Byte Row4[] = {1, 2, 1, 2};
  for (Integer X = 0; X < 4; ++X) EXPECT_EQ(R4.Bitmap.GetPixel24(X, 2).rgbtRed, Row4[X] * 1);
  EXPECT_EQ(R4.Bitmap.GetPixel24(2, 1).rgbtRed, 5);
}

TEST(BmpRead, BadAndShortFiles) {
  TBmpFixture F;
  F.Width = 2;
  F.Height = 2;
  F.Pixels = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
  auto File = EncodeBmp(F);
  File[0] = 'X';
  TBmpRead NoSignature;
  NoSignature.Params.BitsPerSample = 99;
  NoSignature.Load(File);
  EXPECT_TRUE(NoSignature.P.Aborting);
  EXPECT_EQ(NoSignature.Params.BitsPerSample, 99);  // untouched

  File[0] = 'B';
  File.resize(File.size() - 8);  // the top row is missing: the rows there are load
  TBmpRead Short;
  Short.Load(File);
  EXPECT_FALSE(Short.P.Aborting);
  EXPECT_EQ(Short.Bitmap.GetPixel24(1, 1), (TIERGBTriple{4, 5, 6}));

  F.Compression = 1;  // run-length data claiming far more than the file holds
  F.BitCount = 8;
  F.Palette.assign(1024, 0);
  F.Pixels = {2, 1};
  File = EncodeBmp(F);
  PutLE(File, 2, 0x7FFFFFFF, 4);
  TBmpRead Claims;
  Claims.Load(File);
  EXPECT_FALSE(Claims.P.Aborting);

  TBmpFixture Zero;  // no pixels: parameters only
  Zero.Width = 0;
  TBmpRead Empty;
  Empty.Load(EncodeBmp(Zero));
  EXPECT_TRUE(Empty.Bitmap.IsEmpty());
  EXPECT_EQ(Empty.Params.BitsPerSample, 8);
  EXPECT_EQ(Empty.Params.SamplesPerPixel, 3);
}

// A header may claim no more pixels than the data after it could give: whole rows for
// uncompressed data, 128 pixels a byte for run-length data and undecoded compressions.
TEST(BmpRead, ClaimsBeyondTheDataAreRefusedBeforeAllocating) {
  struct TCase {
    Integer BitCount;
    Cardinal Compression;
    Integer Width, Height;
    std::vector<Byte> Pixels;
    bool Refused;
  };
  const TCase Cases[] = {
      {24, 0, 128, 1, {1}, false},  // plain rows: 128 pixels a byte, so short files load
      {24, 0, 129, 1, {1}, true},
      {8, 1, 256, 1, {0, 1}, false},  // end of bitmap alone: two bytes, 256 pixels
      {8, 1, 257, 1, {0, 1}, true},
      {4, 2, 128, 2, {0, 1}, false},
      {4, 2, 129, 2, {0, 1}, true},
      {24, 0, 60000, 60000, std::vector<Byte>(16, 1), true},
      {8, 1, 60000, 60000, {255, 1, 0, 1}, true},
      {4, 2, 60000, 60000, {255, 0x11, 0, 1}, true},
      {1, 0, 60000, 60000, {0, 0, 0, 0}, true},
      {7, 0, 60000, 60000, {0, 0, 0, 0}, true},  // a bit count that is never decoded
  };
  for (const TCase& C : Cases) {
    TBmpFixture F;
    F.BitCount = C.BitCount;
    F.Compression = C.Compression;
    F.Width = C.Width;
    F.Height = C.Height;
    F.Pixels = C.Pixels;
    TLargestAllocation Memory(1 << 20);
    TBmpRead R;
    R.Load(EncodeBmp(F));
    SCOPED_TRACE(testing::Message() << C.BitCount << " bits, " << C.Width << " x " << C.Height);
    EXPECT_EQ(R.P.Aborting, C.Refused);
    EXPECT_EQ(R.Bitmap.IsEmpty(), C.Refused);
    EXPECT_LT(Memory.Largest(), 1u << 20);
    EXPECT_EQ(R.Params.FileWidth, C.Width);  // the header still reaches the parameters
  }
}

// A stream that cannot tell its size is read as far as it goes, whatever the header claims.
TEST(BmpRead, StreamOfUnknownSizeKeepsTheShortFileBehaviour) {
  struct TSizelessStream : TMemoryStream {
    Int64 GetSize() override { return -1; }
  };
  TBmpFixture F;
  F.Width = 2;
  F.Height = 3;
  F.Pixels = {1, 2, 3, 4, 5, 6, 0, 0};
  TSizelessStream Stream;
  LoadBytes(Stream, EncodeBmp(F));
  TBmpRead R;
  BmpReadStream(&Stream, &R.Bitmap, 0, R.Params, R.P.Progress, false, false, R.Alpha, false);
  EXPECT_FALSE(R.P.Aborting);
  ASSERT_EQ(R.Bitmap.GetHeight(), 3);
  EXPECT_EQ(R.Bitmap.GetPixel24(1, 2), (TIERGBTriple{4, 5, 6}));
}

// Runs of 255 over 4000 x 4000 pixels: about 117 pixels a byte, close to what the cap allows.
TEST(BmpRead, HighlyCompressedRunLengthPictureStillLoads) {
  constexpr Integer Side = 4000;
  TBmpFixture F;
  F.BitCount = 8;
  F.Compression = 1;
  F.Width = Side;
  F.Height = Side;
  for (int I = 0; I < 256; ++I) F.Palette.insert(F.Palette.end(), {Byte(I), Byte(I), Byte(I), 0});
  const std::vector<Byte> Row(Side, 42);
  std::vector<Byte> Encoded(2 * Side + 2);
  for (Integer Y = 0; Y < Side; ++Y) {
    const Integer Bytes = BmpEncodeRle8Row(Row.data(), Side, Encoded.data());
    F.Pixels.insert(F.Pixels.end(), Encoded.begin(), Encoded.begin() + Bytes);
  }
  TBmpRead R;
  R.Params.NativePixelFormat = true;
  R.Load(EncodeBmp(F));
  ASSERT_FALSE(R.P.Aborting);
  ASSERT_EQ(R.Bitmap.GetWidth(), Side);
  EXPECT_EQ(R.Bitmap.GetPixel8(0, 0), 42);
  EXPECT_EQ(R.Bitmap.GetPixel8(Side - 1, Side - 1), 42);
}

TEST(BmpWrite, RunLengthRowsAndEndCodes) {
  TIEBitmap Source;
  FillPicture(Source, 1);  // one colour: every row a single run
  TIOParamsVals Params;
  Params.SamplesPerPixel = 1;
  Params.BmpCompression = 1;
  const auto File = Save(Source, Params);
  const size_t Pixels = IELoadLE32(&File[10]);
  const std::vector<Byte> Data(File.begin() + static_cast<long>(Pixels), File.end());
  const std::vector<Byte> Row = {7, 0, 0, 0};
  std::vector<Byte> Expected;
  for (int I = 0; I < 5; ++I) Expected.insert(Expected.end(), Row.begin(), Row.end());
  Expected.insert(Expected.end(), {0, 1});
  EXPECT_EQ(Data, Expected);
}

TEST(BmpWrite, RowEncodersRoundTripThroughTheDecoders) {
  const std::vector<std::vector<Byte>> Rows = {
      {1}, {1, 2}, {3, 3}, {1, 2, 3}, {1, 1, 2, 3, 3, 3, 4, 5, 6, 7, 7}, std::vector<Byte>(300, 5), {},
  };
  std::vector<Byte> Long;
  for (int I = 0; I < 600; ++I) Long.push_back(static_cast<Byte>(I % 13));
  auto All = Rows;
  All.push_back(Long);
  for (bool Rle4 : {false, true}) {
    for (const auto& Source : All) {
      std::vector<Byte> Row = Source;
      if (Rle4)
        for (Byte& B : Row) B &= 0x0F;
      if (Row.empty()) continue;
      std::vector<Byte> Out(2 * Row.size() + 2);
      const Integer N = (Rle4 ? BmpEncodeRle4Row : BmpEncodeRle8Row)(
          Row.data(), static_cast<Integer>(Row.size()), Out.data());
      ASSERT_LE(static_cast<size_t>(N), Out.size());
      EXPECT_EQ(Out[N - 2], 0);
      EXPECT_EQ(Out[N - 1], 0);
      TIEBitmap B(static_cast<Integer>(Row.size()), 1, ie8p);
      TTestProgress P;
      (Rle4 ? BmpDecodeRle4ToIndices : BmpDecodeRle8ToIndices)(&B, Out.data(), N, nullptr, P.Progress, 0);
      for (size_t X = 0; X < Row.size(); ++X)
        ASSERT_EQ(B.GetPixel8(static_cast<Integer>(X), 0), Row[X])
            << Rle4 << " " << Row.size() << " at " << X;
    }
  }
}

TEST(BmpWrite, ShortWriteAbortsAndLeavesSizesZero) {
  TIEBitmap Source;
  FillPicture(Source, 4);
  TIOParamsVals Params;
  TLimitedStream Stream(70);
  TTestProgress P;
  BmpWriteStream(&Stream, &Source, Params, P.Progress, false);
  EXPECT_TRUE(P.Aborting);
  const auto File = StreamBytes(Stream);
  EXPECT_EQ(IELoadLE32(&File[2]), 0u);
}

// ImageMagick takes three-byte palette entries after a 64-byte header, so that header is checked
// here at 24 bits only.
TEST(BmpOracle, ImageMagickReadsWhatIsWritten) {
  if (!ToolPresent("convert")) GTEST_SKIP() << "ImageMagick missing";
  struct TCase {
    Byte Version;
    Integer Bits, Samples;
    Byte Compression;
    Integer Colours;
  };
  for (const TCase& C : {TCase{1, 8, 3, 0, 4}, TCase{1, 8, 1, 1, 4}, TCase{1, 4, 1, 1, 4},
                         TCase{2, 8, 1, 0, 4}, TCase{3, 8, 3, 0, 4}, TCase{1, 1, 1, 0, 2}}) {
    SCOPED_TRACE(testing::Message() << int(C.Version) << " " << C.Bits << " " << int(C.Compression));
    TIEBitmap Source;
    FillPicture(Source, C.Colours);
    TIOParamsVals Params;
    Params.BmpVersion = C.Version;
    Params.BitsPerSample = C.Bits;
    Params.SamplesPerPixel = C.Samples;
    Params.BmpCompression = C.Compression;
    TTempFile Bmp("out.bmp");
    Bmp.Write(Save(Source, Params));
    const std::string Raw = ShellOutput("convert '" + Bmp.Path() + "' -depth 8 rgb:- 2>/dev/null");
    ASSERT_EQ(Raw.size(), 7u * 5 * 3);
    for (Integer Y = 0; Y < 5; ++Y)
      for (Integer X = 0; X < 7; ++X) {
        const TIERGBTriple C24 = Source.GetPixel24(X, Y);
        const size_t At = static_cast<size_t>(Y * 7 + X) * 3;
        ASSERT_EQ(BGR(Byte(Raw[At]), Byte(Raw[At + 1]), Byte(Raw[At + 2])), C24) << X << "," << Y;
      }
  }
}

TEST(BmpOracle, ReadsWhatImageMagickWrites) {
  if (!ToolPresent("convert")) GTEST_SKIP() << "ImageMagick missing";
  // The palette files hold three colours, so that they stay at 8 bits; ImageMagick pads its
  // run-length rows with runs past the right edge.
  const char* Options[] = {"BMP3:", "BMP2:", "-compress RLE -type Palette BMP3:", "-type Palette BMP3:",
                           "-alpha set -channel A -fx 0.5 BMP:"};
  for (const char* Option : Options) {
    SCOPED_TRACE(Option);
    TTempFile Bmp("in.bmp");
    const std::string Format = Option;
    const size_t Colon = Format.rfind(' ');
    const std::string Settings = Colon == std::string::npos ? "" : Format.substr(0, Colon);
    const std::string Prefix = Colon == std::string::npos ? Format : Format.substr(Colon + 1);
    std::system(
        ("convert -size 6x4 xc:'#C81E28' -fill '#0A5AFA' -draw 'point 1,2' -draw 'point 5,0' -fill '#FFFFFF' "
         "-draw 'point 0,3' " +
         Settings + " '" + Prefix + Bmp.Path() + "' 2>/dev/null")
            .c_str());
    const auto File = Bmp.Read();
    ASSERT_GT(File.size(), 50u);
    TBmpRead R;
    R.Load(File);
    ASSERT_FALSE(R.P.Aborting);
    EXPECT_EQ(R.Bitmap.GetPixel24(0, 0), BGR(200, 30, 40));
    EXPECT_EQ(R.Bitmap.GetPixel24(1, 2), BGR(10, 90, 250));
    EXPECT_EQ(R.Bitmap.GetPixel24(5, 0), BGR(10, 90, 250));
    EXPECT_EQ(R.Bitmap.GetPixel24(0, 3), BGR(255, 255, 255));
  }
}
