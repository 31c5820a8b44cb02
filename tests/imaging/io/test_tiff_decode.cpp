// Strip and tile decoding over small pages built in memory: where strips and tiles are found
// and how far they reach, the compressions' row rules, sample unpacking, the predictor in both
// byte orders, planar pages and JPEG data.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "JpegTestSupport.h"
#include "TiffBuildSupport.h"
#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"
#include "imaging/core/ieutilsbits.h"
#include "imaging/io/iezlib.h"
#include "imaging/io/jpegfilt.h"
#include "imaging/io/tiffilt.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Streams.h"

namespace {

// A page of Width x Height, Samples samples of Bits bits, with its strips.
TTiffTestPage Page(Integer Width, Integer Height, Integer Samples, Integer Bits, Integer Photometric,
                   Integer Compression, const std::vector<std::vector<Byte>>& Strips) {
  TTiffTestPage P;
  P.Long(256, {uint64_t(Width)}).Long(257, {uint64_t(Height)}).Short(277, {uint64_t(Samples)});
  P.Tags.push_back(TTiffTestTag{258, 3, std::vector<uint64_t>(Samples, Bits)});
  P.Short(262, {uint64_t(Photometric)}).Short(259, {uint64_t(Compression)});
  if (!Strips.empty()) P.Strips(Strips);
  return P;
}

struct TDecoded {
  std::unique_ptr<TIEBitmap> Bitmap = std::make_unique<TIEBitmap>();
  TIOParamsVals Params;
  std::unique_ptr<TIEMask> AlphaMask;
  bool Aborting = false;

  TDecoded() { Params.NativePixelFormat = true; }

  TDecoded& Read(const std::vector<Byte>& File) {
    TMemoryStream Stream;
    Stream.Write(File.data(), static_cast<Integer>(File.size()));
    Stream.SetPosition(0);
    TIELocalProgress Local;
    Integer Pages = 0;
    TiffReadStream(Bitmap.get(), &Stream, Pages, Params, Local.Progress, false, AlphaMask, false, false,
                   false);
    Aborting = Local.Aborting;
    return *this;
  }
  TDecoded& Read(const std::vector<TTiffTestPage>& Pages, bool BigEndian = false) {
    return Read(TTiffTestFile(BigEndian).Build(Pages));
  }

  // Grey values of row Y, of an ie8g or a 24-bit picture.
  std::vector<Integer> Row8(Integer Y) {
    std::vector<Integer> Values;
    for (Integer X = 0; X < Bitmap->GetWidth(); ++X)
      Values.push_back(Bitmap->GetPixelFormat() == ie8g ? Bitmap->GetPixel8(X, Y)
                                                        : Bitmap->GetPixel24(X, Y).rgbtGreen);
    return Values;
  }
};

std::vector<Byte> Deflate(const std::vector<Byte>& Data) {
  TMemoryStream Out;
  {
    TZCompressionStream Z(&Out, zcDefault);
    Z.Write(Data.data(), static_cast<Integer>(Data.size()));
    Z.Finish();
  }
  const auto* Bytes = static_cast<const Byte*>(Out.GetMemory());
  return {Bytes, Bytes + Out.GetSize()};
}

std::vector<Byte> Reversed(std::vector<Byte> Data) {
  for (Byte& B : Data) IEReverseBits8(B);
  return Data;
}

TEST(TiffDecode, StripLengthsMissingOrShortAreMadeGood) {
  // A PackBits strip whose byte count is 0 is read to the end of the stream.
  TTiffTestPage Packed = Page(4, 1, 1, 8, 1, 32773, {{0xFD, 9}});
  Packed.ValuesOf(279) = {0};
  EXPECT_EQ(TDecoded().Read({Packed}).Row8(0), (std::vector<Integer>{9, 9, 9, 9}));

  // Uncompressed strips whose byte counts are too small still give their whole rows.
  TTiffTestPage Short = Page(2, 2, 1, 8, 1, 1, {{1, 2}, {3, 4}});
  Short.Long(278, {1});
  Short.ValuesOf(279) = {1, 1};
  TDecoded R;
  R.Read({Short});
  EXPECT_EQ(R.Row8(0), (std::vector<Integer>{1, 2}));
  EXPECT_EQ(R.Row8(1), (std::vector<Integer>{3, 4}));
}

TEST(TiffDecode, DataEndingEarlyLeavesTheRemainingRows) {
  // Four rows announced, the strip and the file end after two.
  TTiffTestPage P = Page(2, 4, 1, 8, 1, 1, {{5, 6, 7, 8}});
  P.Long(278, {2});
  TDecoded R;
  R.Bitmap->Allocate(2, 4, ie8g);
  R.Bitmap->Fill(77);
  R.Read({P});
  EXPECT_EQ(R.Row8(1), (std::vector<Integer>{7, 8}));
  EXPECT_FALSE(R.Aborting);
}

// Tiles of 16 x 16 grey pixels, each filled with its own index.
TTiffTestPage TiledPage(Integer Width, Integer Height, Integer Tiles) {
  std::vector<std::vector<Byte>> Data;
  for (Integer T = 0; T < Tiles; ++T) Data.push_back(std::vector<Byte>(256, Byte(T * 10)));
  TTiffTestPage P = Page(Width, Height, 1, 8, 1, 1, Data);
  P.Long(322, {16}).Long(323, {16});
  for (TTiffTestTag& T : P.Tags) T.Tag = T.Tag == 273 ? 324 : T.Tag == 279 ? 325 : T.Tag;
  return P;
}

TEST(TiffDecode, TilesCoverThePageAndTheEdgeTilesAreCut) {
  TDecoded R;
  R.Read({TiledPage(40, 40, 9)});
  ASSERT_FALSE(R.Aborting);
  ASSERT_EQ(R.Bitmap->GetWidth(), 40);
  ASSERT_EQ(R.Bitmap->GetHeight(), 40);
  for (const Integer Y : {0, 15, 16, 39})
    for (const Integer X : {0, 15, 16, 32, 39})
      EXPECT_EQ(R.Bitmap->GetPixel8(X, Y), (Y / 16 * 3 + X / 16) * 10) << X << "," << Y;
}

TEST(TiffDecode, OneWantedTileIsDecodedAlone) {
  TDecoded R;
  R.Params.TiffTileIndex = 4;
  R.Read({TiledPage(40, 40, 9)});
  ASSERT_EQ(R.Bitmap->GetWidth(), 16);
  ASSERT_EQ(R.Bitmap->GetHeight(), 16);
  EXPECT_EQ(R.Bitmap->GetPixel8(0, 0), 40);
  EXPECT_EQ(R.Bitmap->GetPixel8(15, 15), 40);
}

TEST(TiffDecode, PlanarTilesAndUnplaceableTileFormatsFail) {
  TTiffTestPage Planar = TiledPage(16, 16, 3);
  Planar.Short(284, {2});
  Planar.ValuesOf(277) = {3};
  Planar.ValuesOf(258) = {8, 8, 8};
  Planar.ValuesOf(262) = {2};
  EXPECT_TRUE(TDecoded().Read({Planar}).Aborting);

  // A CMYK picture kept in its native format has no tile offset rule.
  TTiffTestPage CMYK = TiledPage(16, 16, 1);
  CMYK.ValuesOf(277) = {4};
  CMYK.ValuesOf(258) = {8, 8, 8, 8};
  CMYK.ValuesOf(262) = {5};
  CMYK.Tags.push_back(TTiffTestTag{325, 4, {1024}});
  EXPECT_TRUE(TDecoded().Read({CMYK}).Aborting);
}

TEST(TiffDecode, FillOrderTwoReversesPackBitsHeadersAndData) {
  const std::vector<Byte> Strip = {0x01, 0x81, 0x42, 0xFE, 0x18};  // 2 literals, then a run of 3
  TTiffTestPage P = Page(5, 1, 1, 8, 1, 32773, {Reversed(Strip)});
  P.Short(266, {2});
  EXPECT_EQ(TDecoded().Read({P}).Row8(0), (std::vector<Integer>{0x81, 0x42, 0x18, 0x18, 0x18}));
}

TEST(TiffDecode, PackBitsRunsPastTheRowAreDropped) {
  // A run of 4 for rows of 3: the fourth byte is not carried into the next row.
  TTiffTestPage P = Page(3, 2, 1, 8, 1, 32773, {{0xFD, 7, 0x02, 1, 2, 3}});
  TDecoded R;
  R.Read({P});
  EXPECT_EQ(R.Row8(0), (std::vector<Integer>{7, 7, 7}));
  EXPECT_EQ(R.Row8(1), (std::vector<Integer>{1, 2, 3}));
}

TEST(TiffDecode, SmallGreySamplesAreUnpackedAndScaled) {
  struct TCase {
    Integer Bits;
    std::vector<Byte> Data;
    std::vector<Integer> Expected;
  };
  const TCase Cases[] = {
      {2, {0b00011011}, {0, 85, 170, 255}},
      {4, {0x0F, 0x80}, {0, 255, 136, 0}},
      // 7-bit samples 1, 64, 127, 0 are doubled across the whole row.
      {7, {0b00000011, 0b00000011, 0b11111000, 0b00000000}, {2, 128, 254, 0}},
      // 3-bit samples keep their values.
      {3, {0b00101001, 0b11000000}, {1, 2, 3, 4}},
  };
  for (const TCase& C : Cases) {
    TDecoded R;
    R.Read({Page(4, 1, 1, C.Bits, 1, 1, {C.Data})});
    if (C.Bits == 3) {
      // No layout writes 3-bit grey: the picture keeps what it was allocated with.
      EXPECT_FALSE(R.Aborting);
      continue;
    }
    EXPECT_EQ(R.Row8(0), C.Expected) << C.Bits << " bits";
  }
}

// Deflated rows with horizontal differences.
std::vector<Byte> Differences16(const std::vector<Word>& Values, Integer Stride, bool BigEndian) {
  std::vector<Byte> Out;
  for (size_t I = 0; I < Values.size(); ++I) {
    const Word D = static_cast<Word>(Values[I] - (I >= size_t(Stride) ? Values[I - Stride] : 0));
    if (BigEndian)
      Out.insert(Out.end(), {Byte(D >> 8), Byte(D)});
    else
      Out.insert(Out.end(), {Byte(D), Byte(D >> 8)});
  }
  return Out;
}

TEST(TiffDecode, SixteenBitPredictorGivesTheSameValuesInBothByteOrders) {
  const std::vector<Word> Grey = {1000, 65000, 300, 40000};
  for (const bool BigEndian : {false, true}) {
    TTiffTestPage P = Page(4, 1, 1, 16, 1, 8, {Deflate(Differences16(Grey, 1, BigEndian))});
    P.Short(317, {2});
    TDecoded R;
    R.Read({P}, BigEndian);
    ASSERT_EQ(R.Bitmap->GetPixelFormat(), ie16g);
    for (Integer X = 0; X < 4; ++X) EXPECT_EQ(R.Bitmap->GetPixel16(X, 0), Grey[X]) << BigEndian;
  }
}

TEST(TiffDecode, SixteenBitPredictorWorksOnEverySampleOfRgba) {
  // Two RGBA pixels of 16 bits; the fourth sample is dropped for the 24-bit picture.
  const std::vector<Word> Pixels = {0x1200, 0x3400, 0x5600, 0xFFFF, 0x9A00, 0x7800, 0x1000, 0x8000};
  TTiffTestPage P = Page(2, 1, 4, 16, 2, 8, {Deflate(Differences16(Pixels, 4, false))});
  P.Short(317, {2});
  TDecoded R;
  R.Read({P});
  ASSERT_EQ(R.Bitmap->GetPixelFormat(), ie24RGB);
  const TIERGBTriple Second = R.Bitmap->GetPixel24(1, 0);
  EXPECT_EQ(Second.rgbtRed, 0x9A);
  EXPECT_EQ(Second.rgbtGreen, 0x78);
  EXPECT_EQ(Second.rgbtBlue, 0x10);
}

TEST(TiffDecode, DeflatedStripsGiveOnlyTheirRowsAndSurviveDamage) {
  // Far more data than the page's two rows: only they are taken.
  std::vector<Byte> Rows(1 << 20, 3);
  Rows[0] = 1, Rows[1] = 2;
  TDecoded Long;
  Long.Read({Page(2, 2, 1, 8, 1, 8, {Deflate(Rows)})});
  EXPECT_EQ(Long.Row8(0), (std::vector<Integer>{1, 2}));
  EXPECT_EQ(Long.Row8(1), (std::vector<Integer>{3, 3}));

  // Damaged data keeps the rows inflated before the damage.
  std::vector<Byte> Broken = Deflate({4, 5, 6, 7});
  Broken.resize(Broken.size() / 2);
  TDecoded R;
  R.Read({Page(2, 2, 1, 8, 1, 8, {Broken})});
  EXPECT_FALSE(R.Aborting);
}

// A stand-in LZW codec that refuses every strip.
Byte* RefusingLzw(const Byte*, Integer, Integer, void*&, Integer) {
  return nullptr;
}

TEST(TiffDecode, AFailingLzwRowAborts) {
  TDecoded R;
  R.Params.TiffLzwDecompressProc = RefusingLzw;
  R.Read({Page(2, 2, 1, 8, 1, 5, {{0x80, 0x00}})});
  EXPECT_TRUE(R.Aborting);
}

TEST(TiffDecode, SubsampledYCbCrRowsKeepTheirOwnLength) {
  // Two rows of four pixels: two groups Y0 Y1 Cb Cr per row, neutral chroma.
  TTiffTestPage P =
      Page(4, 2, 3, 8, 6, 1, {{10, 20, 128, 128, 30, 40, 128, 128, 50, 60, 128, 128, 70, 80, 128, 128}});
  P.Short(530, {2, 1});
  TDecoded R;
  R.Read({P});
  ASSERT_FALSE(R.Aborting);
  const Integer Expected[2][4] = {{10, 20, 30, 40}, {50, 60, 70, 80}};
  for (Integer Y = 0; Y < 2; ++Y)
    for (Integer X = 0; X < 4; ++X) EXPECT_NEAR(R.Bitmap->GetPixel24(X, Y).rgbtGreen, Expected[Y][X], 1);
}

TEST(TiffDecode, PlanarPlanesAreJoinedPerPixel) {
  // Red, green and blue planes, the green one deflated with differences.
  TTiffTestPage P = Page(2, 1, 3, 8, 2, 8, {Deflate({10, 20}), Deflate({30, 10}), Deflate({50, 60})});
  P.Short(284, {2}).Short(317, {2});
  TDecoded R;
  R.Read({P});
  ASSERT_FALSE(R.Aborting);
  const TIERGBTriple Second = R.Bitmap->GetPixel24(1, 0);
  EXPECT_EQ(Second.rgbtRed, 30);
  EXPECT_EQ(Second.rgbtGreen, 40);
  EXPECT_EQ(Second.rgbtBlue, 110);

  // Every layout reaches the row conversion, grey with alpha and a single plane too.
  TTiffTestPage GreyAlpha = Page(2, 1, 2, 8, 1, 1, {{10, 20}, {0, 255}});
  GreyAlpha.Short(284, {2});
  TDecoded A;
  A.Read({GreyAlpha});
  EXPECT_EQ(A.Row8(0), (std::vector<Integer>{10, 20}));
  ASSERT_TRUE(A.AlphaMask);
  EXPECT_EQ(A.AlphaMask->GetPixel(0, 0), 0);
  TTiffTestPage Single = Page(2, 1, 1, 8, 1, 1, {{30, 40}});
  Single.Short(284, {2});
  EXPECT_EQ(TDecoded().Read({Single}).Row8(0), (std::vector<Integer>{30, 40}));

  TTiffTestPage Many = Page(1, 1, 11, 8, 2, 1, std::vector<std::vector<Byte>>(11, {1}));
  Many.Short(284, {2});
  EXPECT_TRUE(TDecoded().Read({Many}).Aborting);
}

std::vector<Byte> JpegBytes(TIEBitmap& Bitmap) {
  const std::string Jpeg = jpegtest::Encode(Bitmap);
  return {Jpeg.begin(), Jpeg.end()};
}

TEST(TiffDecode, JpegTilesArePlacedSideBySide) {
  auto Left = jpegtest::Solid(16, 16, TIERGBTriple{200, 40, 40});
  auto Right = jpegtest::Solid(16, 16, TIERGBTriple{40, 200, 40});
  TTiffTestPage P = Page(32, 16, 3, 8, 6, 7, {JpegBytes(*Left), JpegBytes(*Right)});
  P.Long(322, {16}).Long(323, {16});
  for (TTiffTestTag& T : P.Tags) T.Tag = T.Tag == 273 ? 324 : T.Tag == 279 ? 325 : T.Tag;
  TDecoded R;
  R.Read({P});
  ASSERT_FALSE(R.Aborting);
  ASSERT_EQ(R.Bitmap->GetWidth(), 32);
  EXPECT_NEAR(R.Bitmap->GetPixel24(3, 3).rgbtBlue, 200, 4);
  EXPECT_NEAR(R.Bitmap->GetPixel24(20, 3).rgbtGreen, 200, 4);
  EXPECT_EQ(R.Params.Width, 32);
}

std::vector<Byte> Fixture(const std::string& Name) {
  std::ifstream In(std::filesystem::path(__FILE__).parent_path() / "fixtures" / "tiff" / Name,
                   std::ios::binary);
  return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
}

TEST(TiffDecode, JpegStripsOfStoredRgbComponentsKeepTheirColours) {
  // Made by another encoder: RGB components that the JPEG codec knows as RGB.
  TDecoded R;
  R.Read(Fixture("rgb8_jpeg_rgb.tif"));
  ASSERT_FALSE(R.Aborting);
  const std::vector<Byte> Reference = Fixture("rgb8_jpeg_rgb.ppm");
  const size_t Pixels =
      Reference.size() - static_cast<size_t>(R.Bitmap->GetWidth()) * R.Bitmap->GetHeight() * 3;
  Integer Differences = 0;
  for (Integer Y = 0; Y < R.Bitmap->GetHeight(); ++Y)
    for (Integer X = 0; X < R.Bitmap->GetWidth(); ++X) {
      const Byte* Expected =
          Reference.data() + Pixels + (static_cast<size_t>(Y) * R.Bitmap->GetWidth() + X) * 3;
      const TIERGBTriple P = R.Bitmap->GetPixel24(X, Y);
      Differences += P.rgbtRed != Expected[0] || P.rgbtGreen != Expected[1] || P.rgbtBlue != Expected[2];
    }
  EXPECT_EQ(Differences, 0);
}

TEST(TiffDecode, OldStyleJpegFromTheInterchangeOffset) {
  auto Picture = jpegtest::Gradient(24, 16);
  const std::vector<Byte> Jpeg = JpegBytes(*Picture);
  TTiffTestPage P = Page(24, 16, 3, 8, 6, 6, {Jpeg});
  // The whole stream through JPEGInterchangeFormat; no byte counts.
  P.Remove(279);
  TDecoded R;
  R.Read({P});
  ASSERT_FALSE(R.Aborting);
  ASSERT_EQ(R.Bitmap->GetWidth(), 24);
  EXPECT_LE(jpegtest::MaxDifference(*R.Bitmap, *Picture), 8);
}

// The marker segments before the scan, and the scan with what follows.
std::pair<std::vector<Byte>, std::vector<Byte>> SplitAtScan(const std::vector<Byte>& Jpeg) {
  size_t At = 2;
  while (At + 4 <= Jpeg.size() && !(Jpeg[At] == 0xFF && Jpeg[At + 1] == 0xDA))
    At += 2 + (Jpeg[At + 2] << 8 | Jpeg[At + 3]);
  return {{Jpeg.begin(), Jpeg.begin() + At}, {Jpeg.begin() + At, Jpeg.end()}};
}

TEST(TiffDecode, OldStyleJpegStripsShareTheInterchangeHeader) {
  // Two strips of 8 rows coded with the same tables: the second reuses the first's scan header.
  auto Top = jpegtest::Solid(16, 8, TIERGBTriple{30, 60, 220});
  auto Bottom = jpegtest::Solid(16, 8, TIERGBTriple{220, 60, 30});
  const auto [Header, TopScan] = SplitAtScan(JpegBytes(*Top));
  const auto [Unused, BottomScan] = SplitAtScan(JpegBytes(*Bottom));
  const size_t ScanHeader = 2 + (BottomScan[2] << 8 | BottomScan[3]);
  const std::vector<Byte> BottomData(BottomScan.begin() + ScanHeader, BottomScan.end());
  TTiffTestPage P = Page(16, 16, 3, 8, 6, 6, {TopScan, BottomData});
  P.Long(278, {8}).Long(513, {0}).Long(514, {Header.size()});
  // The interchange header goes after the directory, at the file's end.
  P.ValuesOf(513) = {TTiffTestFile().Build({P}).size()};
  std::vector<Byte> File = TTiffTestFile().Build({P});
  File.insert(File.end(), Header.begin(), Header.end());
  TDecoded R;
  R.Read(File);
  ASSERT_FALSE(R.Aborting);
  EXPECT_NEAR(R.Bitmap->GetPixel24(5, 2).rgbtRed, 220, 6);
  EXPECT_NEAR(R.Bitmap->GetPixel24(5, 12).rgbtBlue, 220, 6);
}

}  // namespace
