// TIFF pages written by the filter: every layout and compression of the I/O library (LZW is
// tested beside the further formats, which hold it) read back equal through the filter's
// reader and accepted by tiffinfo with all strips decoded; strip layout, corrections of the
// parameters, alpha, the page's tags, JPEG pages and failures.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"
#include "imaging/core/ieprocbase.h"
#include "imaging/core/iestreams.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/io/tifccitt.h"
#include "imaging/io/tiffilt.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Streams.h"
#include "tests/imaging/io/TiffWriteTestSupport.h"

namespace {

class TTiffWritePages : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    IOLibraryInitialize();
    CCITTInitialize();
  }
  static void TearDownTestSuite() {
    CCITTFinalize();
    IOLibraryFinalize();
  }
};

// A picture with runs, edges and every level of its format.
std::unique_ptr<TIEBitmap> MakePicture(TIEPixelFormat Format, Integer Width, Integer Height) {
  auto B = std::make_unique<TIEBitmap>(Width, Height, Format);
  for (Integer Y = 0; Y < Height; ++Y) {
    auto* Row = static_cast<Byte*>(B->GetScanline(Y));
    for (Integer X = 0; X < Width; ++X) {
      const Integer V = (X * 7 + Y * 13 + (X / 5) * (Y / 3)) & 0xFFFF;
      switch (Format) {
        case ie1g:
          IESetBit(Row, X, ((X / 3 + Y / 4) % 3 == 0) != (X * Y % 11 == 0));
          break;
        case ie8g:
        case ie8p:
          Row[X] = static_cast<Byte>(Format == ie8p ? V % 6 : V);
          break;
        case ie16g:
          B->SetPixel16(X, Y, static_cast<Word>(V * 257 + X));
          break;
        case ieCMYK:
          for (Integer C = 0; C < 4; ++C) Row[4 * X + C] = static_cast<Byte>(V + 60 * C);
          break;
        case ieRGB48:
          B->SetPixel48(X, Y,
                        {static_cast<Word>(V * 97), static_cast<Word>(X * 1000), static_cast<Word>(Y * 999)});
          break;
        default:
          Row[3 * X] = static_cast<Byte>(V);
          Row[3 * X + 1] = static_cast<Byte>(X * 3);
          Row[3 * X + 2] = static_cast<Byte>(255 - Y);
      }
    }
  }
  if (Format == ie8p) {
    const TIERGBTriple Colours[6] = {{0, 0, 255},  {0, 255, 0},    {255, 0, 0},
                                     {10, 20, 30}, {200, 100, 50}, {1, 2, 3}};
    for (Integer I = 0; I < 6; ++I) B->SetPaletteColor(I, Colours[I]);
  }
  return B;
}

// Grey levels that fit Bits bits exactly, as an ie24RGB picture.
std::unique_ptr<TIEBitmap> GreyLevels(Integer Bits, Integer Width, Integer Height) {
  auto B = std::make_unique<TIEBitmap>(Width, Height, ie24RGB);
  const Integer Levels = 1 << Bits, Step = 255 / (Levels - 1);
  for (Integer Y = 0; Y < Height; ++Y)
    for (Integer X = 0; X < Width; ++X) {
      const auto L = static_cast<Byte>((X + Y) % Levels * Step);
      B->SetPixel24(X, Y, {L, L, L});
    }
  return B;
}

// An ie24RGB picture of the given colours in stripes.
std::unique_ptr<TIEBitmap> Stripes(const std::vector<TIERGBTriple>& Colours, Integer Width, Integer Height) {
  auto B = std::make_unique<TIEBitmap>(Width, Height, ie24RGB);
  for (Integer Y = 0; Y < Height; ++Y)
    for (Integer X = 0; X < Width; ++X) B->SetPixel24(X, Y, Colours[(X / 2 + Y) % Colours.size()]);
  return B;
}

struct TRoundTrip {
  const char* Name;
  TIEPixelFormat Format;  // of the picture written; ieNull: grey levels of Bits bits in ie24RGB
  Integer Bits, Samples, Compression, FillOrder;
  Word CompressionTag, PhotometricTag;
  std::vector<Cardinal> BitsPerSample;
  Integer Width, Height;
};

const TRoundTrip RoundTrips[] = {
    {"rgb", ie24RGB, 8, 3, 0, 1, 1, 2, {8, 8, 8}, 37, 13},
    {"rgb packbits", ie24RGB, 8, 3, 8, 1, 32773, 2, {8, 8, 8}, 37, 13},
    {"rgb deflate", ie24RGB, 8, 3, 9, 1, 32946, 2, {8, 8, 8}, 37, 13},
    {"rgb packbits in 2 strips", ie24RGB, 8, 3, 8, 1, 32773, 2, {8, 8, 8}, 1000, 400},
    {"grey 8", ie8g, 8, 1, 0, 1, 1, 1, {8}, 37, 13},
    {"grey 8 deflate", ie8g, 8, 1, 9, 1, 32946, 1, {8}, 37, 13},
    {"grey 16", ie16g, 16, 1, 0, 1, 1, 1, {16}, 37, 13},
    {"palette 8", ie8p, 8, 1, 8, 1, 32773, 3, {8}, 37, 13},
    {"cmyk", ieCMYK, 8, 4, 0, 1, 1, 5, {8, 8, 8, 8}, 37, 13},
    {"rgb 48", ieRGB48, 16, 3, 8, 1, 32773, 2, {16, 16, 16}, 37, 13},
    {"bilevel", ie1g, 1, 1, 0, 1, 1, 1, {1}, 37, 13},
    {"bilevel packbits", ie1g, 1, 1, 8, 1, 32773, 1, {1}, 37, 13},
    {"fax huffman", ie1g, 1, 1, 1, 1, 2, 0, {1}, 37, 13},
    {"fax group 3", ie1g, 1, 1, 2, 1, 3, 0, {1}, 37, 13},
    {"fax group 3 two-dimensional", ie1g, 1, 1, 3, 1, 3, 0, {1}, 37, 13},
    {"fax group 4", ie1g, 1, 1, 4, 1, 4, 0, {1}, 37, 13},
    {"fax group 4 reversed bits", ie1g, 1, 1, 4, 2, 4, 0, {1}, 37, 13},
    {"fax group 4 in 2 strips", ie1g, 1, 1, 4, 1, 4, 0, {1}, 8200, 1100},
    {"grey 4 from rgb", ieNull, 4, 1, 0, 1, 1, 1, {4}, 37, 13},
    {"grey 2 from rgb packbits", ieNull, 2, 1, 8, 1, 32773, 1, {2}, 37, 13},
};

class TTiffWriteRoundTrip : public TTiffWritePages, public ::testing::WithParamInterface<TRoundTrip> {};

TEST_P(TTiffWriteRoundTrip, ReadsBackEqualAndPassesTiffinfo) {
  const TRoundTrip& C = GetParam();
  std::unique_ptr<TIEBitmap> Picture =
      C.Format == ieNull ? GreyLevels(C.Bits, C.Width, C.Height) : MakePicture(C.Format, C.Width, C.Height);
  TIOParamsVals Params;
  Params.BitsPerSample = C.Bits;
  Params.SamplesPerPixel = C.Samples;
  Params.TiffCompression = C.Compression;
  Params.TiffFillOrder = C.FillOrder;
  const std::vector<Byte> File = WriteTiffBytes(Picture.get(), Params);

  const auto Pages = ParseWrittenTiff(File);
  ASSERT_EQ(Pages.size(), 1u);
  EXPECT_EQ(Pages[0].Value(259), C.CompressionTag);
  EXPECT_EQ(Pages[0].Value(262), C.PhotometricTag);
  EXPECT_EQ(Pages[0].Tag(258).Values, C.BitsPerSample);
  EXPECT_EQ(Pages[0].Value(277), C.BitsPerSample.size() == 1 ? 1u : C.BitsPerSample.size());

  TIEBitmap Back;
  TIOParamsVals ReadParams;
  const TTiffReadBack R = ReadTiffPage(File, 0, Back, ReadParams);
  ASSERT_FALSE(R.Aborting);
  EXPECT_EQ(R.PageCount, 1);
  EXPECT_TRUE(SamePixels(*Picture, Back));
  for (Integer I = 0; C.Format == ie8p && I < 6; ++I) {
    TIERGBTriple A, B;
    Picture->GetPaletteColor(I, A);
    Back.GetPaletteColor(I, B);
    EXPECT_EQ(A, B) << "palette entry " << I;
  }

  if (!TiffinfoAvailable()) GTEST_SKIP() << "tiffinfo is not installed";
  EXPECT_TRUE(TiffinfoAccepts(File));
}

INSTANTIATE_TEST_SUITE_P(Layouts, TTiffWriteRoundTrip, ::testing::ValuesIn(RoundTrips),
                         [](const ::testing::TestParamInfo<TRoundTrip>& Info) {
                           std::string Name = Info.param.Name;
                           for (char& Ch : Name)
                             if (!std::isalnum(static_cast<unsigned char>(Ch))) Ch = '_';
                           return Name;
                         });

TEST_F(TTiffWritePages, PaletteIndexesOfEveryDepthReadBackAsTheirColours) {
  const std::vector<TIERGBTriple> Colours = {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {10, 20, 30}};
  for (Integer Bits : {2, 3, 5, 6, 7, 8}) {
    SCOPED_TRACE(Bits);
    auto Picture = Stripes(Colours, 19, 5);
    TIOParamsVals Params;
    Params.BitsPerSample = Bits;
    Params.SamplesPerPixel = 1;
    const std::vector<Byte> File = WriteTiffBytes(Picture.get(), Params);
    const TWrittenPage Page = ParseWrittenTiff(File)[0];
    EXPECT_EQ(Page.Value(262), 3u);
    EXPECT_EQ(Page.Value(258), static_cast<Cardinal>(Bits));
    EXPECT_EQ(Page.Tag(320).Count, 3u << Bits);
    TIEBitmap Back;
    TIOParamsVals ReadParams;
    ASSERT_FALSE(ReadTiffPage(File, 0, Back, ReadParams, false).Aborting);
    EXPECT_TRUE(SamePixels(*Picture, Back));
    ExpectTiffinfoAccepts(File);
  }
}

TEST_F(TTiffWritePages, AMegapixelRgbPageIsCutIntoStripsOfHalfAMegabyte) {
  auto Picture = MakePicture(ie24RGB, 1000, 1000);
  TIOParamsVals Params;
  const auto Pages = ParseWrittenTiff(WriteTiffBytes(Picture.get(), Params));
  ASSERT_EQ(Pages.size(), 1u);
  EXPECT_EQ(Pages[0].Value(278), 200u);
  EXPECT_EQ(Pages[0].Tag(279).Values, std::vector<Cardinal>(5, 600000));
  const auto& Offsets = Pages[0].Tag(273).Values;
  ASSERT_EQ(Offsets.size(), 5u);
  for (std::size_t I = 1; I < 5; ++I) EXPECT_EQ(Offsets[I], Offsets[I - 1] + 600000);
}

TEST_F(TTiffWritePages, ATwoColourPictureSavedAsGroup4BecomesA1BitWhiteIsZeroPage) {
  auto Picture = Stripes({{0, 0, 0}, {255, 255, 255}}, 40, 9);
  TIOParamsVals Params;
  Params.BitsPerSample = 1;
  Params.SamplesPerPixel = 1;
  Params.TiffCompression = 4;
  const std::vector<Byte> File = WriteTiffBytes(Picture.get(), Params);
  const auto Pages = ParseWrittenTiff(File);
  EXPECT_EQ(Pages[0].Value(259), 4u);
  EXPECT_EQ(Pages[0].Value(262), 0u);
  EXPECT_EQ(Pages[0].Value(258), 1u);
  TIEBitmap Back;
  TIOParamsVals ReadParams;
  ASSERT_FALSE(ReadTiffPage(File, 0, Back, ReadParams).Aborting);
  ASSERT_EQ(Back.GetPixelFormat(), ie1g);
  for (Integer X = 0; X < 40; ++X)
    EXPECT_EQ(IEGetBit(static_cast<Byte*>(Back.GetScanline(3)), X), ((X / 2 + 3) % 2) == 1);
}

TEST_F(TTiffWritePages, APartlyTransparentPictureGetsAnAlphaSample) {
  auto Picture = MakePicture(ie24RGB, 20, 6);
  TIEBitmap* Alpha = Picture->GetAlphaChannel();
  for (Integer Y = 0; Y < 6; ++Y)
    for (Integer X = 0; X < 20; ++X) static_cast<Byte*>(Alpha->GetScanline(Y))[X] = static_cast<Byte>(X * 12);
  TIOParamsVals Params;
  const std::vector<Byte> File = WriteTiffBytes(Picture.get(), Params);
  const auto Pages = ParseWrittenTiff(File);
  EXPECT_EQ(Pages[0].Value(277), 4u);
  EXPECT_EQ(Pages[0].Value(338), 1u);
  EXPECT_EQ(Pages[0].Tag(258).Values, std::vector<Cardinal>(4, 8));
  TIEBitmap Back;
  TIOParamsVals ReadParams;
  const TTiffReadBack R = ReadTiffPage(File, 0, Back, ReadParams);
  ASSERT_TRUE(R.AlphaMask);
  for (Integer X = 0; X < 20; ++X) EXPECT_EQ(R.AlphaMask->GetPixel(X, 2), X * 12);
  Back.RemoveAlphaChannel(false, 0);
  Picture->RemoveAlphaChannel(false, 0);
  EXPECT_TRUE(SamePixels(*Picture, Back));
  ExpectTiffinfoAccepts(File);
}

TEST_F(TTiffWritePages, AnOpaqueAlphaChannelAddsNoSample) {
  auto Picture = MakePicture(ie24RGB, 20, 6);
  Picture->GetAlphaChannel()->Fill(255);
  TIOParamsVals Params;
  const auto Pages = ParseWrittenTiff(WriteTiffBytes(Picture.get(), Params));
  EXPECT_EQ(Pages[0].Value(277), 3u);
  EXPECT_FALSE(Pages[0].Has(338));
}

// Parameters that ask for a layout the picture cannot give are corrected, written back, and the
// page's tags describe the rows that were written.
struct TCorrection {
  const char* Name;
  TIEPixelFormat Format;
  Integer Bits, Samples, Photometric, Compression;
  Integer BitsAfter, SamplesAfter, PhotometricAfter;
  Word PhotometricTag, CompressionTag, SamplesTag;
};

TEST_F(TTiffWritePages, ParametersAreCorrectedToWhatIsWritten) {
  const TCorrection Cases[] = {
      {"palette with 3 samples is RGB", ie24RGB, 8, 3, 3, 0, 8, 3, 2, 2, 1, 3},
      {"16-bit RGB of a 24-bit picture is 8-bit", ie24RGB, 16, 3, 2, 0, 8, 3, 2, 2, 1, 3},
      {"grey with 3 samples is RGB", ie24RGB, 8, 3, 1, 0, 8, 3, 2, 2, 1, 3},
      {"more than 3 RGB samples are 3", ie24RGB, 8, 5, 2, 0, 8, 3, 2, 2, 1, 3},
      {"YCbCr without JPEG is RGB", ie24RGB, 8, 3, 6, 0, 8, 3, 2, 2, 1, 3},
      {"a CMYK picture is CMYK", ieCMYK, 8, 3, 2, 0, 8, 4, 5, 5, 1, 4},
      {"a 48-bit picture is 16-bit RGB", ieRGB48, 8, 1, 1, 8, 16, 3, 2, 2, 32773, 3},
      {"fax of a colour page is uncompressed", ie24RGB, 8, 3, 2, 4, 8, 3, 2, 2, 1, 3},
      {"a grey picture as RGB", ie8g, 8, 3, 2, 0, 8, 3, 2, 2, 1, 3},
      {"grey 4 bits, palette quantized", ie24RGB, 4, 1, 2, 9, 4, 1, 3, 3, 32946, 1},
      {"16-bit palette is 8-bit", ie24RGB, 16, 1, 2, 0, 8, 1, 3, 3, 1, 1},
      {"grey of a palette picture compressed by fax: indexes uncompressed", ie8p, 8, 1, 3, 4, 8, 1, 3, 3, 1,
       1},
      {"grey of several 4-bit samples is RGB", ie24RGB, 4, 3, 1, 0, 8, 3, 2, 2, 1, 3},
      {"JPEG of a 1-bit picture is 8-bit YCbCr", ie1g, 1, 1, 1, 7, 8, 1, 1, 6, 7, 3},
  };
  for (const TCorrection& C : Cases) {
    SCOPED_TRACE(C.Name);
    auto Picture = MakePicture(C.Format, 11, 5);
    TIOParamsVals Params;
    Params.BitsPerSample = C.Bits;
    Params.SamplesPerPixel = C.Samples;
    Params.TiffPhotometric = static_cast<Byte>(C.Photometric);
    Params.TiffCompression = C.Compression;
    const std::vector<Byte> File = WriteTiffBytes(Picture.get(), Params);
    EXPECT_EQ(Params.BitsPerSample, C.BitsAfter);
    EXPECT_EQ(Params.SamplesPerPixel, C.SamplesAfter);
    EXPECT_EQ(Params.TiffPhotometric, C.PhotometricAfter);
    const auto Pages = ParseWrittenTiff(File);
    ASSERT_EQ(Pages.size(), 1u);
    EXPECT_EQ(Pages[0].Value(262), C.PhotometricTag);
    EXPECT_EQ(Pages[0].Value(259), C.CompressionTag);
    EXPECT_EQ(Pages[0].Value(277), C.SamplesTag);
    // The rows hold exactly what the tags say.
    Cardinal Bytes = 0;
    for (Cardinal Count : Pages[0].Tag(279).Values) Bytes += Count;
    if (C.CompressionTag == 1) {
      const Cardinal RowBits = 11 * Pages[0].Value(258) * C.SamplesTag;
      EXPECT_EQ(Bytes, (RowBits + 7) / 8 * 5);
    }
    TIEBitmap Back;
    TIOParamsVals ReadParams;
    EXPECT_FALSE(ReadTiffPage(File, 0, Back, ReadParams, false).Aborting);
    ExpectTiffinfoAccepts(File);
  }
}

TEST_F(TTiffWritePages, RgbWrittenAsCmykOrLabReadsBackClose) {
  for (Byte Photometric : {5, 7}) {
    SCOPED_TRACE(Integer(Photometric));
    auto Picture = Stripes({{0, 0, 200}, {30, 160, 40}, {250, 250, 250}, {90, 60, 10}}, 12, 4);
    TIOParamsVals Params;
    Params.TiffPhotometric = Photometric;
    const std::vector<Byte> File = WriteTiffBytes(Picture.get(), Params);
    const TWrittenPage Page = ParseWrittenTiff(File)[0];
    EXPECT_EQ(Page.Value(262), Photometric == 5 ? 5u : 8u);
    EXPECT_EQ(Page.Value(277), Photometric == 5 ? 4u : 3u);
    TIEBitmap Back;
    TIOParamsVals ReadParams;
    ASSERT_FALSE(ReadTiffPage(File, 0, Back, ReadParams, false).Aborting);
    ASSERT_EQ(Back.GetPixelFormat(), ie24RGB);
    for (Integer X = 0; X < 12; ++X) {
      const TIERGBTriple A = Picture->GetPixel24(X, 1), B = Back.GetPixel24(X, 1);
      EXPECT_NEAR(A.rgbtRed, B.rgbtRed, 12) << X;
      EXPECT_NEAR(A.rgbtGreen, B.rgbtGreen, 12) << X;
      EXPECT_NEAR(A.rgbtBlue, B.rgbtBlue, 12) << X;
    }
    ExpectTiffinfoAccepts(File);
  }
}

TEST_F(TTiffWritePages, GreyIsWrittenAsRgbWhenAskedForThreeSamplesAndReadsBackTheSame) {
  auto Picture = MakePicture(ie8g, 9, 4);
  TIOParamsVals Params;
  const std::vector<Byte> File = WriteTiffBytes(Picture.get(), Params);
  TIEBitmap Back;
  TIOParamsVals ReadParams;
  ASSERT_FALSE(ReadTiffPage(File, 0, Back, ReadParams).Aborting);
  ASSERT_EQ(Back.GetPixelFormat(), ie24RGB);
  for (Integer X = 0; X < 9; ++X) {
    const Byte G = static_cast<Byte*>(Picture->GetScanline(2))[X];
    EXPECT_EQ(Back.GetPixel24(X, 2), (TIERGBTriple{G, G, G}));
  }
}

TEST_F(TTiffWritePages, ThePagesDescriptiveTagsComeFromTheParameters) {
  auto Picture = MakePicture(ie24RGB, 8, 4);
  TIOParamsVals Params;
  Params.TiffImageDescription = "A test picture";
  Params.TiffDocumentName = "doc";
  Params.TiffPageName = "The first page";
  Params.TiffPageNumber = 2;
  Params.TiffPageCount = 7;
  Params.TiffXPos = 3;
  Params.SetDpiX(150);
  Params.SetDpiY(72);
  const std::vector<Byte> File = WriteTiffBytes(Picture.get(), Params);
  const TWrittenPage Page = ParseWrittenTiff(File)[0];
  EXPECT_EQ(std::string(Page.Tag(270).Bytes.begin(), Page.Tag(270).Bytes.end()),
            std::string("A test picture\0", 15));
  EXPECT_EQ(Page.Tag(269).Count, 4u) << "a short text keeps its zero in the entry";
  EXPECT_EQ(Page.Tag(269).Field, 0x00636F64u);
  EXPECT_EQ(Page.Tag(285).Count, 15u);
  EXPECT_EQ(Page.Tag(297).Values, (std::vector<Cardinal>{2, 7}));
  EXPECT_EQ(Page.Tag(282).Values, (std::vector<Cardinal>{150, 1}));
  EXPECT_EQ(Page.Tag(283).Values, (std::vector<Cardinal>{72, 1}));
  EXPECT_EQ(Page.Value(296), 2u);
  EXPECT_EQ(Page.Tag(286).Values, (std::vector<Cardinal>{3, 1}));
  EXPECT_EQ(Page.Tag(287).Values, (std::vector<Cardinal>{0, 1}));
  EXPECT_EQ(Page.Value(254), 0u);
  EXPECT_FALSE(Page.Has(317)) << "no predictor without LZW";
  for (std::size_t I = 1; I < Page.Order.size(); ++I) EXPECT_LT(Page.Order[I - 1], Page.Order[I]);

  TIEBitmap Back;
  TIOParamsVals ReadParams;
  ASSERT_FALSE(ReadTiffPage(File, 0, Back, ReadParams).Aborting);
  EXPECT_EQ(ReadParams.TiffImageDescription, "A test picture");
  EXPECT_EQ(ReadParams.TiffPageName, "The first page");
  EXPECT_EQ(ReadParams.TiffPageNumber, 2);
  EXPECT_EQ(ReadParams.TiffPageCount, 7);
  EXPECT_EQ(ReadParams.TiffXPos, 3);
  EXPECT_EQ(ReadParams.DpiX, 150);
  EXPECT_EQ(ReadParams.DpiY, 72);
  ExpectTiffinfoAccepts(File);
}

TEST_F(TTiffWritePages, WithoutAResolutionTheDefaultOneIsWritten) {
  auto Picture = MakePicture(ie24RGB, 4, 4);
  TIOParamsVals Params;
  Params.DpiX = 0;
  Params.DpiY = -3;
  const TWrittenPage Page = ParseWrittenTiff(WriteTiffBytes(Picture.get(), Params))[0];
  EXPECT_EQ(Page.Tag(282).Values, (std::vector<Cardinal>{300, 1}));
  EXPECT_EQ(Page.Tag(283).Values, (std::vector<Cardinal>{300, 1}));
}

TEST_F(TTiffWritePages, APagePartOfUnknownCountWritesZeroForTheUnknownPart) {
  auto Picture = MakePicture(ie24RGB, 4, 4);
  TIOParamsVals Params;
  Params.TiffPageNumber = 4;
  EXPECT_EQ(ParseWrittenTiff(WriteTiffBytes(Picture.get(), Params))[0].Tag(297).Values,
            (std::vector<Cardinal>{4, 0}));
}

TEST_F(TTiffWritePages, JpegPagesFollowTheColourChoice) {
  struct TCase {
    Byte Choice;
    Cardinal Photometric, Samples;
  };
  const TCase Cases[] = {{2, 6, 3}, {0, 2, 3}, {1, 1, 1}, {4, 2, 3}};
  for (const TCase& C : Cases) {
    SCOPED_TRACE(Integer(C.Choice));
    auto Picture = GreyLevels(8, 64, 32);
    TIOParamsVals Params;
    Params.TiffCompression = 7;
    Params.TiffJpegColorSpace = C.Choice;
    Params.TiffJpegQuality = 95;
    const std::vector<Byte> File = WriteTiffBytes(Picture.get(), Params);
    const TWrittenPage Page = ParseWrittenTiff(File)[0];
    EXPECT_EQ(Page.Value(259), 7u);
    EXPECT_EQ(Page.Value(262), C.Photometric);
    EXPECT_EQ(Page.Value(277), C.Samples);
    EXPECT_EQ(Page.Tag(273).Count, 1u) << "one strip";
    TIEBitmap Back;
    TIOParamsVals ReadParams;
    ASSERT_FALSE(ReadTiffPage(File, 0, Back, ReadParams, false).Aborting);
    ASSERT_EQ(Back.GetWidth(), 64);
    for (Integer X = 0; X < 64; X += 7) {
      const Integer Expected = Picture->GetPixel24(X, 5).rgbtGreen;
      EXPECT_NEAR(Back.GetPixel24(X, 5).rgbtGreen, Expected, 12) << X;
    }
    ExpectTiffinfoAccepts(File);
  }
}

TEST_F(TTiffWritePages, AnOldStyleJpegPagePointsAtItsStreamAndItsScan) {
  auto Picture = MakePicture(ie24RGB, 30, 20);
  TIOParamsVals Params;
  Params.TiffCompression = 6;
  const std::vector<Byte> File = WriteTiffBytes(Picture.get(), Params);
  const TWrittenPage Page = ParseWrittenTiff(File)[0];
  EXPECT_EQ(Page.Value(259), 6u);
  EXPECT_EQ(Page.Value(512), 1u);
  EXPECT_EQ(Page.Tag(530).Values, (std::vector<Cardinal>{2, 2}));
  EXPECT_EQ(Page.Value(278), 20u);
  const Cardinal Start = Page.Value(513), Size = Page.Value(514);
  ASSERT_LE(Start + Size, File.size());
  EXPECT_EQ(File[Start], 0xFF);
  EXPECT_EQ(File[Start + 1], 0xD8);
  const Cardinal Scan = Page.Value(273);
  EXPECT_EQ(File[Scan], 0xFF);
  EXPECT_EQ(File[Scan + 1], 0xDA);
  EXPECT_EQ(Scan + Page.Value(279), Start + Size);
  TIEBitmap Back;
  TIOParamsVals ReadParams;
  ASSERT_FALSE(ReadTiffPage(File, 0, Back, ReadParams).Aborting);
  EXPECT_EQ(Back.GetWidth(), 30);
  EXPECT_EQ(Back.GetHeight(), 20);
}

// A stream that takes only the first Limit bytes.
class TShortStream : public TMemoryStream {
 public:
  explicit TShortStream(Int64 Limit) : FLimit(Limit) {}
  Integer Write(const void* Buffer, Integer Count) override {
    const Int64 Room = std::max<Int64>(0, FLimit - GetPosition());
    return TMemoryStream::Write(Buffer, static_cast<Integer>(std::min<Int64>(Count, Room)));
  }

 private:
  Int64 FLimit;
};

TEST_F(TTiffWritePages, AShortWriteAbortsWithoutADirectory) {
  for (Integer Compression : {0, 4, 8, 9}) {
    SCOPED_TRACE(Compression);
    auto Picture = MakePicture(Compression == 4 ? ie1g : ie24RGB, 300, 200);
    TIOParamsVals Params;
    Params.TiffCompression = Compression;
    if (Compression == 4) Params.BitsPerSample = Params.SamplesPerPixel = 1;
    TShortStream Stream(500);
    const TTiffWriteResult R = WriteTiffPage(Stream, Picture.get(), Params);
    EXPECT_TRUE(R.Aborting);
    EXPECT_EQ(R.Pages, 0);
    EXPECT_EQ(TiffLE(TiffStreamBytes(Stream), 4, 4), 0u) << "no directory is linked";
  }
}

TEST_F(TTiffWritePages, AnEmptyPictureIsRefused) {
  TIEBitmap Empty;
  TIOParamsVals Params;
  TMemoryStream Stream;
  const TTiffWriteResult R = WriteTiffPage(Stream, &Empty, Params);
  EXPECT_TRUE(R.Aborting);
  EXPECT_EQ(R.Pages, 0);
  EXPECT_EQ(Stream.GetSize(), 0);
}

}  // namespace
