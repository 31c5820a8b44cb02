// The PCX reader over files built field by field: header checks, sizes, resolutions, every
// plane layout, runs that cross lines, and data that ends early or cannot fill its claim.
#include <gtest/gtest.h>

#include "imaging/core/hyieutils.h"
#include "tests/imaging/io/PcxTestSupport.h"

namespace {

TIERGBTriple Rgb(Byte Red, Byte Green, Byte Blue) {
  TIERGBTriple C{};
  C.rgbtRed = Red;
  C.rgbtGreen = Green;
  C.rgbtBlue = Blue;
  return C;
}

// Palette entry I of a file: red I x 10, green I x 5, blue 255 - I.
TIERGBTriple Entry(Integer I) {
  return Rgb(static_cast<Byte>(I * 10), static_cast<Byte>(I * 5), static_cast<Byte>(255 - I));
}

void StoreEntries(Byte* Out, Integer Count) {
  for (Integer I = 0; I < Count; ++I) {
    const TIERGBTriple C = Entry(I);
    Out[3 * I] = C.rgbtRed;
    Out[3 * I + 1] = C.rgbtGreen;
    Out[3 * I + 2] = C.rgbtBlue;
  }
}

}  // namespace

TEST(PcxRead, HeadersItCannotReadFail) {
  struct TCase {
    const char* Name;
    void (*Spoil)(TPcxFile&);
  };
  const TCase Cases[] = {
      {"manufacturer 11", [](TPcxFile& F) { F.Manufacturer = 11; }},
      {"16 bits per pixel", [](TPcxFile& F) { F.Bits = 16; }},
      {"encoding 2", [](TPcxFile& F) { F.Encoding = 2; }},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    TPcxFile File;
    File.BytesPerLine = 2;
    File.Data = {0, 0};
    Case.Spoil(File);
    TPcxRead R;
    ReadPcxBytes(File.Bytes(), R);
    EXPECT_TRUE(R.Aborting);
  }
  TPcxRead Short;
  ReadPcxBytes(std::vector<Byte>(100, 10), Short);
  EXPECT_TRUE(Short.Aborting);
}

TEST(PcxRead, SizeComesFromTheExtentsAndResolutionFromTheHeaderOrTheDefault) {
  TPcxFile File;
  File.XMin = 10;
  File.XMax = 19;
  File.YMin = 5;
  File.YMax = 6;
  File.Planes = 3;
  File.BytesPerLine = 10;
  File.Data.assign(60, 0);
  TPcxRead R;
  ReadPcxBytes(File.Bytes(), R, /*Preview=*/true);
  ASSERT_FALSE(R.Aborting);
  EXPECT_EQ(R.Params.Width, 10);
  EXPECT_EQ(R.Params.FileWidth, 10);
  EXPECT_EQ(R.Params.Height, 2);
  EXPECT_EQ(R.Params.DpiX, 72);
  EXPECT_EQ(R.Params.DpiY, 96);
  EXPECT_EQ(R.Params.ImageCount, 1);
  EXPECT_EQ(R.Params.PcxVersion, 5);
  EXPECT_EQ(R.Bitmap.GetWidth(), 0) << "a preview leaves the picture alone";

  File.DpiY = 0;
  TPcxRead NoDpi;
  ReadPcxBytes(File.Bytes(), NoDpi);
  EXPECT_EQ(NoDpi.Params.DpiX, DefaultDpiX);
  EXPECT_EQ(NoDpi.Params.DpiY, DefaultDpiY);
  EXPECT_EQ(NoDpi.Bitmap.GetWidth(), 10);
  EXPECT_EQ(NoDpi.Bitmap.GetPixelFormat(), ie24RGB);
}

TEST(PcxRead, EightBitsIndexTheTrailingPalette) {
  TPcxFile File;
  File.Encoding = 0;
  File.XMax = 2;
  File.YMax = 1;
  File.BytesPerLine = 4;
  File.Data = {0, 1, 2, 0, 255, 7, 1, 0, 12};
  File.Data.resize(File.Data.size() + 768);
  StoreEntries(File.Data.data() + 9, 256);
  TPcxRead R;
  ReadPcxBytes(File.Bytes(), R);
  ASSERT_FALSE(R.Aborting);
  ASSERT_EQ(R.Params.GetColorMapCount(), 256);
  EXPECT_EQ(R.Params.ColorMap[7], Entry(7));
  const Integer Expected[2][3] = {{0, 1, 2}, {255, 7, 1}};
  for (Integer Y = 0; Y < 2; ++Y)
    for (Integer X = 0; X < 3; ++X)
      EXPECT_EQ(R.Bitmap.GetPixel24(X, Y), Entry(Expected[Y][X])) << X << "," << Y;
}

TEST(PcxRead, ARunCrossingTheEndOfALineContinuesInTheNextPlaneAndRow) {
  TPcxFile File;
  File.XMax = 1;
  File.YMax = 1;
  File.Planes = 3;
  File.BytesPerLine = 2;
  // Red 11 11, green 11 22, blue 33 33 | red 33 33, green 33 44, blue 55 55.
  File.Data = {0xC3, 0x11, 0x22, 0xC5, 0x33, 0x44, 0xC2, 0x55};
  TPcxRead R;
  ReadPcxBytes(File.Bytes(), R);
  ASSERT_FALSE(R.Aborting);
  EXPECT_EQ(R.Bitmap.GetPixel24(0, 0), Rgb(0x11, 0x11, 0x33));
  EXPECT_EQ(R.Bitmap.GetPixel24(1, 0), Rgb(0x11, 0x22, 0x33));
  EXPECT_EQ(R.Bitmap.GetPixel24(0, 1), Rgb(0x33, 0x33, 0x55));
  EXPECT_EQ(R.Bitmap.GetPixel24(1, 1), Rgb(0x33, 0x44, 0x55));
}

TEST(PcxRead, FourBitPlanesMakeA16ColourPicture) {
  TPcxFile File;
  File.Encoding = 0;
  File.Bits = 1;
  File.Planes = 4;
  File.XMax = 7;
  File.BytesPerLine = 2;
  StoreEntries(File.Palette.data(), 16);
  File.Data = {0b10101010, 0, 0b11001100, 0, 0b11110000, 0, 0b00000001, 0};
  TPcxRead R;
  ReadPcxBytes(File.Bytes(), R);
  ASSERT_FALSE(R.Aborting);
  EXPECT_EQ(R.Params.BitsPerSample, 4);
  EXPECT_EQ(R.Params.SamplesPerPixel, 1);
  ASSERT_EQ(R.Params.GetColorMapCount(), 16);
  EXPECT_EQ(R.Params.ColorMap[15], Entry(15));
  const Integer Expected[8] = {7, 6, 5, 4, 3, 2, 1, 8};
  for (Integer X = 0; X < 8; ++X) EXPECT_EQ(R.Bitmap.GetPixel24(X, 0), Entry(Expected[X])) << X;
}

TEST(PcxRead, FourAndOneBitPicturesOfOnePlane) {
  TPcxFile Nibbles;
  Nibbles.Bits = 4;
  Nibbles.XMax = 2;
  Nibbles.BytesPerLine = 2;
  StoreEntries(Nibbles.Palette.data(), 16);
  Nibbles.Data = {0x12, 0x3F};
  TPcxRead R4;
  ReadPcxBytes(Nibbles.Bytes(), R4);
  ASSERT_EQ(R4.Params.GetColorMapCount(), 16);
  EXPECT_EQ(R4.Bitmap.GetPixel24(0, 0), Entry(1));
  EXPECT_EQ(R4.Bitmap.GetPixel24(1, 0), Entry(2));
  EXPECT_EQ(R4.Bitmap.GetPixel24(2, 0), Entry(3));

  TPcxFile Bits;
  Bits.Bits = 1;
  Bits.XMax = 9;
  Bits.BytesPerLine = 2;
  StoreEntries(Bits.Palette.data(), 2);
  Bits.Data = {0b10110000, 0b01000000};
  TPcxRead R1;
  ReadPcxBytes(Bits.Bytes(), R1);
  ASSERT_EQ(R1.Bitmap.GetPixelFormat(), ie1g);
  ASSERT_EQ(R1.Params.GetColorMapCount(), 2);
  EXPECT_EQ(R1.Params.ColorMap[1], Entry(1));
  const bool Expected[10] = {1, 0, 1, 1, 0, 0, 0, 0, 0, 1};
  for (Integer X = 0; X < 10; ++X) EXPECT_EQ(Bit1(R1.Bitmap, X, 0), Expected[X]) << X;
}

TEST(PcxRead, DataEndingEarlyKeepsTheRowsRead) {
  TPcxFile File;
  File.XMax = 3;
  File.YMax = 3;
  File.Planes = 3;
  File.BytesPerLine = 4;
  File.Data = {0xC4, 0x80, 0xC4, 0x40, 0xC4, 0x20, 0xC2, 0x10};  // row 0, half of row 1's red
  TPcxRead R;
  ReadPcxBytes(File.Bytes(), R);
  EXPECT_FALSE(R.Aborting);
  ASSERT_EQ(R.Bitmap.GetHeight(), 4);
  EXPECT_EQ(R.Bitmap.GetPixel24(3, 0), Rgb(0x80, 0x40, 0x20));
  EXPECT_EQ(R.Bitmap.GetPixel24(1, 1).rgbtRed, 0x10);
}

TEST(PcxRead, ASizeTheDataCouldNeverFillIsRefused) {
  TPcxFile File;
  File.XMax = 60000;
  File.YMax = 60000;
  File.Planes = 3;
  File.BytesPerLine = 60002;
  File.Data.assign(64, 0xFF);
  TPcxRead R;
  ReadPcxBytes(File.Bytes(), R);
  EXPECT_TRUE(R.Aborting);
  EXPECT_EQ(R.Params.Width, 60001) << "the parameters still describe the header";
  EXPECT_LT(R.Bitmap.GetWidth(), 60001);
}

TEST(PcxRead, AClaimedStreamSizeBeyondTheStreamIsCut) {
  TPcxFile File;
  File.XMax = 1;
  File.BytesPerLine = 2;
  File.Data = {5, 6, 12};
  File.Data.resize(File.Data.size() + 768);
  StoreEntries(File.Data.data() + 3, 256);
  TMemoryStream Stream;
  LoadBytes(Stream, File.Bytes());
  TPcxRead R;
  TTestProgress P;
  PcxReadStream(&Stream, &R.Bitmap, R.Params, Stream.GetSize() + 5000, P.Progress, false);
  ASSERT_FALSE(P.Aborting);
  EXPECT_EQ(R.Bitmap.GetPixel24(1, 0), Entry(6)) << "the palette is the stream's last 768 bytes";
}

TEST(PcxRead, LinesShorterThanARowLeaveTheRestOfTheRowEmpty) {
  TPcxFile File;
  File.Encoding = 0;
  File.XMax = 3;
  File.Planes = 3;
  File.BytesPerLine = 2;
  File.Data = {1, 2, 3, 4, 5, 6};
  TPcxRead R;
  ReadPcxBytes(File.Bytes(), R);
  ASSERT_FALSE(R.Aborting);
  EXPECT_EQ(R.Bitmap.GetPixel24(0, 0), Rgb(1, 3, 5));
  EXPECT_EQ(R.Bitmap.GetPixel24(1, 0), Rgb(2, 4, 6));
  EXPECT_EQ(R.Bitmap.GetPixel24(3, 0), Rgb(0, 0, 0)) << "no plane reads into the next one";
}

TEST(PcxRead, MoreThanFourBitsOfOnePlaneTakeAtMostTheSixteenHeaderEntries) {
  for (Byte Bits : {Byte(2), Byte(5), Byte(7)}) {
    SCOPED_TRACE(Bits);
    TPcxFile File;
    File.Bits = Bits;
    File.BytesPerLine = 2;
    File.Data = {0, 0};
    TPcxRead R;
    ReadPcxBytes(File.Bytes(), R, /*Preview=*/true);
    EXPECT_EQ(R.Params.GetColorMapCount(), std::min(1 << Bits, 16));
  }
}
