// The TIFF reader over a table of files made by other programs (see
// tests/imaging/io/fixtures/tiff/make-fixtures.sh): strips and tiles, one or three planes,
// either byte order, every compression, 1 to 16 bits, palettes, CMYK and several pages. Each
// page must decode to the picture another decoder makes of it. It lives beside the further
// formats because LZW comes from there.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"
#include "imaging/formats/ieformats.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/io/tifccitt.h"
#include "imaging/io/tiffilt.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/Streams.h"

namespace {

const std::string FixtureFolder = std::string(TILVAROK_TEST_DATA) + "/../imaging/io/fixtures/tiff/";

std::vector<Byte> ReadFileBytes(const std::string& Name) {
  std::ifstream In(FixtureFolder + Name, std::ios::binary);
  return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
}

// A reference picture: Channels samples per pixel, row by row.
struct TReference {
  Integer Width = 0;
  Integer Height = 0;
  Integer Channels = 0;
  std::vector<Integer> Samples;
};

// Binary PGM and PPM (16-bit samples big-endian), or raw CMYK bytes of a picture of Width x Height.
TReference ReadReference(const std::string& Name, Integer Width, Integer Height) {
  const std::vector<Byte> Bytes = ReadFileBytes(Name);
  TReference R;
  if (Name.ends_with(".cmyk")) {
    R = {Width, Height, 4, {Bytes.begin(), Bytes.end()}};
    return R;
  }
  std::string Text(Bytes.begin(), Bytes.end());
  std::istringstream Header(Text);
  std::string Magic;
  Integer MaxValue = 0;
  Header >> Magic >> R.Width >> R.Height >> MaxValue;
  R.Channels = Magic == "P6" ? 3 : 1;
  std::size_t At = static_cast<std::size_t>(Header.tellg()) + 1;
  const Integer Count = R.Width * R.Height * R.Channels;
  for (Integer I = 0; I < Count && At < Bytes.size(); ++I) {
    if (MaxValue > 255) {
      R.Samples.push_back(Bytes[At] << 8 | Bytes[At + 1]);
      At += 2;
    } else {
      R.Samples.push_back(Bytes[At++]);
    }
  }
  return R;
}

// The pixel in the picture's own channels: grey formats 1, colour 3, CMYK the 4 inks.
std::vector<Integer> PixelChannels(TIEBitmap& Bitmap, Integer X, Integer Y) {
  const auto* Row = static_cast<const Byte*>(Bitmap.GetScanline(Y));
  switch (Bitmap.GetPixelFormat()) {
    case ie1g:
      return {(Row[X / 8] & (0x80 >> (X % 8))) ? 255 : 0};
    case ie8g:
      return {Row[X]};
    case ie16g:
      return {Bitmap.GetPixel16(X, Y)};
    case ie8p: {
      TIERGBTriple C;
      Bitmap.GetPaletteColor(Row[X], C);
      return {C.rgbtRed, C.rgbtGreen, C.rgbtBlue};
    }
    case ieRGB48: {
      const TIERGB48Pixel P = Bitmap.GetPixel48(X, Y);
      return {P.r, P.g, P.b};
    }
    case ieCMYK:  // stored as 255 minus each ink
      return {255 - Row[X * 4], 255 - Row[X * 4 + 1], 255 - Row[X * 4 + 2], 255 - Row[X * 4 + 3]};
    default: {
      const TIERGBTriple C = Bitmap.GetPixel24(X, Y);
      return {C.rgbtRed, C.rgbtGreen, C.rgbtBlue};
    }
  }
}

struct TDecodeCase {
  const char* File;
  Integer Page;
  const char* Reference;
  bool Native;
  TIEPixelFormat Format;
  Integer Tolerance;  // lossy data, and 16-bit samples cut to 8 bits where the reference rounds
};

std::ostream& operator<<(std::ostream& Out, const TDecodeCase& C) {
  return Out << C.File << " page " << C.Page << (C.Native ? " native" : "");
}

const TDecodeCase DecodeCases[] = {
    {"rgb8_none.tif", 0, "rgb8.ppm", false, ie24RGB, 0},
    {"rgb8_packbits.tif", 0, "rgb8.ppm", false, ie24RGB, 0},
    {"rgb8_lzw.tif", 0, "rgb8.ppm", false, ie24RGB, 0},
    {"rgb8_lzw_predictor.tif", 0, "rgb8.ppm", false, ie24RGB, 0},
    {"rgb8_deflate_predictor.tif", 0, "rgb8.ppm", false, ie24RGB, 0},
    {"rgb8_tiles_none.tif", 0, "rgb8.ppm", false, ie24RGB, 0},
    {"rgb8_tiles_lzw.tif", 0, "rgb8.ppm", false, ie24RGB, 0},
    {"rgb8_planar_lzw.tif", 0, "rgb8.ppm", false, ie24RGB, 0},
    {"rgb8_bigendian_lzw_predictor.tif", 0, "rgb8.ppm", false, ie24RGB, 0},
    {"rgb8_jpeg_ycbcr.tif", 0, "rgb8_jpeg_ycbcr.ppm", false, ie24RGB, 3},
    {"rgb8_jpeg_rgb.tif", 0, "rgb8_jpeg_rgb.ppm", false, ie24RGB, 3},
    {"rgba8_lzw.tif", 0, "rgb8.ppm", false, ie24RGB, 0},
    {"rgb16_none.tif", 0, "rgb16.ppm", false, ie24RGB, 1},
    {"rgb16_bigendian_deflate.tif", 0, "rgb16.ppm", false, ie24RGB, 1},
    {"rgb16_none.tif", 0, "rgb16.16.ppm", true, ieRGB48, 0},
    {"rgb16_bigendian_deflate.tif", 0, "rgb16.16.ppm", true, ieRGB48, 0},
    {"grey8_deflate.tif", 0, "grey8.pgm", false, ie24RGB, 0},
    {"grey8_deflate.tif", 0, "grey8.pgm", true, ie8g, 0},
    {"grey16_lzw_predictor.tif", 0, "grey16.pgm", false, ie24RGB, 1},
    {"grey16_bigendian_lzw_predictor.tif", 0, "grey16.pgm", false, ie24RGB, 1},
    {"grey16_lzw_predictor.tif", 0, "grey16.16.pgm", true, ie16g, 0},
    {"grey16_bigendian_lzw_predictor.tif", 0, "grey16.16.pgm", true, ie16g, 0},
    {"grey4_packbits.tif", 0, "grey4.pgm", false, ie24RGB, 0},
    {"bilevel_none.tif", 0, "bilevel.pgm", false, ie1g, 0},
    {"bilevel_g4.tif", 0, "bilevel.pgm", false, ie1g, 0},
    {"bilevel_white_packbits.tif", 0, "bilevel.pgm", false, ie1g, 0},
    {"bilevel_white_g3.tif", 0, "bilevel.pgm", false, ie1g, 0},
    {"bilevel_white_g3_2d.tif", 0, "bilevel.pgm", false, ie1g, 0},
    {"bilevel_white_g4.tif", 0, "bilevel.pgm", false, ie1g, 0},
    {"palette8_lzw.tif", 0, "palette8.ppm", false, ie24RGB, 0},
    {"palette8_lzw.tif", 0, "palette8.ppm", true, ie8p, 0},
    {"palette4_none.tif", 0, "palette4.ppm", false, ie24RGB, 0},
    {"cmyk8_lzw.tif", 0, "cmyk8.cmyk", true, ieCMYK, 0},
    {"multipage.tif", 0, "rgb8.ppm", false, ie24RGB, 0},
    {"multipage.tif", 1, "grey8.pgm", false, ie24RGB, 0},
    {"multipage.tif", 2, "palette8.ppm", false, ie24RGB, 0},
};

class TTiffDecodeTable : public ::testing::TestWithParam<TDecodeCase> {
 protected:
  static void SetUpTestSuite() {
    IEFormatsInstall();
    IOLibraryInitialize();
    CCITTInitialize();
  }
  static void TearDownTestSuite() {
    CCITTFinalize();
    IOLibraryFinalize();
  }
};

struct TReadResult {
  Integer PageCount = 0;
  bool Aborting = false;
  std::unique_ptr<TIEMask> AlphaMask;
};

TReadResult ReadPage(const std::string& File, Integer Page, bool Native, TIEBitmap& Bitmap,
                     TIOParamsVals& Params) {
  TMemoryStream Stream;
  const std::vector<Byte> Bytes = ReadFileBytes(File);
  Stream.Write(Bytes.data(), static_cast<Integer>(Bytes.size()));
  Stream.SetPosition(0);
  Params.SetImageIndex(Page);
  Params.NativePixelFormat = Native;
  TIELocalProgress Local;
  TReadResult Result;
  TiffReadStream(&Bitmap, &Stream, Result.PageCount, Params, Local.Progress, false, Result.AlphaMask, true,
                 false, false);
  Result.Aborting = Local.Aborting;
  return Result;
}

TEST_P(TTiffDecodeTable, DecodesAsTheReferenceDecoderDoes) {
  const TDecodeCase& Case = GetParam();
  TIEBitmap Bitmap;
  TIOParamsVals Params;
  const TReadResult Read = ReadPage(Case.File, Case.Page, Case.Native, Bitmap, Params);
  ASSERT_FALSE(Read.Aborting);
  ASSERT_EQ(Bitmap.GetPixelFormat(), Case.Format);
  const TReference Ref = ReadReference(Case.Reference, Bitmap.GetWidth(), Bitmap.GetHeight());
  ASSERT_EQ(Bitmap.GetWidth(), Ref.Width);
  ASSERT_EQ(Bitmap.GetHeight(), Ref.Height);
  ASSERT_EQ(Ref.Samples.size(), static_cast<std::size_t>(Ref.Width * Ref.Height * Ref.Channels));
  Integer Worst = 0, WorstX = 0, WorstY = 0;
  for (Integer Y = 0; Y < Ref.Height; ++Y)
    for (Integer X = 0; X < Ref.Width; ++X) {
      const std::vector<Integer> Actual = PixelChannels(Bitmap, X, Y);
      const auto* Expected = &Ref.Samples[(Y * Ref.Width + X) * Ref.Channels];
      ASSERT_TRUE(Actual.size() == static_cast<std::size_t>(Ref.Channels) || Ref.Channels == 1);
      for (std::size_t C = 0; C < Actual.size(); ++C) {
        const Integer Difference = std::abs(Actual[C] - Expected[Ref.Channels == 1 ? 0 : C]);
        if (Difference > Worst) std::tie(Worst, WorstX, WorstY) = std::tuple(Difference, X, Y);
      }
    }
  EXPECT_LE(Worst, Case.Tolerance) << "at " << WorstX << ", " << WorstY;
}

INSTANTIATE_TEST_SUITE_P(Fixtures, TTiffDecodeTable, ::testing::ValuesIn(DecodeCases));

TEST_F(TTiffDecodeTable, AnRgbaPageDeliversItsAlphaInTheMask) {
  TIEBitmap Bitmap;
  TIOParamsVals Params;
  const TReadResult Read = ReadPage("rgba8_lzw.tif", 0, false, Bitmap, Params);
  ASSERT_FALSE(Read.Aborting);
  ASSERT_TRUE(Read.AlphaMask);
  const TReference Alpha = ReadReference("rgba8.alpha.pgm", 0, 0);
  ASSERT_EQ(Read.AlphaMask->GetWidth(), Alpha.Width);
  ASSERT_EQ(Read.AlphaMask->GetHeight(), Alpha.Height);
  EXPECT_FALSE(Read.AlphaMask->GetFull());
  for (Integer Y = 0; Y < Alpha.Height; ++Y)
    for (Integer X = 0; X < Alpha.Width; ++X)
      ASSERT_EQ(Read.AlphaMask->GetPixel(X, Y), Alpha.Samples[Y * Alpha.Width + X]) << X << ", " << Y;
}

TEST_F(TTiffDecodeTable, TheMultiPageFileReportsItsPagesAndAPagePastThemReadsNothing) {
  TIEBitmap Bitmap;
  Bitmap.Allocate(3, 2, ie8g);
  TIOParamsVals Params;
  const TReadResult Read = ReadPage("multipage.tif", 5, false, Bitmap, Params);
  EXPECT_FALSE(Read.Aborting);
  EXPECT_EQ(Read.PageCount, 3);
  EXPECT_EQ(Bitmap.GetWidth(), 3);
  EXPECT_EQ(Bitmap.GetPixelFormat(), ie8g);
  const TReadResult Second = ReadPage("multipage.tif", 1, false, Bitmap, Params);
  EXPECT_EQ(Second.PageCount, 3);
  EXPECT_EQ(Params.ImageCount, 3);
  EXPECT_EQ(Params.TiffCompression, 8);  // PackBits
}

}  // namespace
