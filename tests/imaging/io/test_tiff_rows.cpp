// Decoded TIFF rows into the picture's pixel formats: the layout each page's samples pick, the
// alpha they give the mask, and the layouts that write nothing.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"
#include "imaging/io/tiffilt.h"
#include "imaging/io/zezudidioparams.h"

namespace {

struct TRowCase {
  TTIFFVars Vars;
  TIOParamsVals Params;
  std::unique_ptr<TIEMask> Mask;
  TIEBitmap Bitmap;

  TRowCase(Word Photometric, Integer Samples, Integer Bits, TIEPixelFormat Format, Integer Width = 2) {
    Vars.Photometric = Photometric;
    Vars.SamplesPerPixel = Samples;
    Vars.BitsPerSample = Bits;
    Vars.Width = Width;
    Vars.Height = 1;
    Vars.IOParams = &Params;
    Vars.SkipAlpha = true;
    Bitmap.Allocate(Width, 1, Format);
    Bitmap.Fill(0);
  }
  TRowCase& WithMask() {
    Mask = std::make_unique<TIEMask>();
    Mask->AllocateBits(Vars.Width, 1, 8);
    Mask->Fill(255);
    Mask->SetFull(true);
    Vars.AlphaMask = Mask.get();
    Vars.SkipAlpha = false;
    return *this;
  }
  TRowCase& Convert(std::vector<Byte> Row) {
    TiffConvertRow(Vars, Row.data(), &Bitmap, 0, 0, Vars.Width);
    return *this;
  }
  std::vector<Integer> RGB(Integer X) {
    const TIERGBTriple P = Bitmap.GetPixel24(X, 0);
    return {P.rgbtRed, P.rgbtGreen, P.rgbtBlue};
  }
};

using TRGB = std::vector<Integer>;

TEST(TiffRows, RgbaGivesTheMaskItsAlphaAndSkippedAlphaTheSameColours) {
  const std::vector<Byte> Row = {10, 20, 30, 0, 40, 50, 60, 255};
  TRowCase WithAlpha(2, 4, 8, ie24RGB);
  WithAlpha.WithMask().Convert(Row);
  EXPECT_EQ(WithAlpha.Mask->GetPixel(0, 0), 0);
  EXPECT_EQ(WithAlpha.Mask->GetPixel(1, 0), 255);
  EXPECT_FALSE(WithAlpha.Mask->GetFull());

  TRowCase Skipped(2, 4, 8, ie24RGB);
  Skipped.Convert(Row);
  for (Integer X = 0; X < 2; ++X) EXPECT_EQ(Skipped.RGB(X), WithAlpha.RGB(X));
  EXPECT_EQ(Skipped.RGB(1), (TRGB{40, 50, 60}));
}

TEST(TiffRows, AssociatedAlphaIsTakenOutOfTheColours) {
  TRowCase Case(2, 5, 8, ie24RGB, 1);
  Case.Vars.ExtraSamples = {1, 0};
  Case.Vars.ExtraSample = 1;
  Case.WithMask().Convert({50, 100, 25, 128, 7});
  // 50 / (128 / 255) = 99.6, 100 / (128 / 255) = 199.2, 25 / (128 / 255) = 49.8
  EXPECT_EQ(Case.RGB(0), (TRGB{100, 199, 50}));
  EXPECT_EQ(Case.Mask->GetPixel(0, 0), 128);

  // Unassociated alpha keeps the colours.
  TRowCase Plain(2, 5, 8, ie24RGB, 1);
  Plain.Vars.ExtraSamples = {2, 0};
  Plain.WithMask().Convert({50, 100, 25, 128, 7});
  EXPECT_EQ(Plain.RGB(0), (TRGB{50, 100, 25}));
}

TEST(TiffRows, GreyLayouts) {
  // WhiteIsZero 8-bit grey kept native holds 255 - v.
  TRowCase White(0, 1, 8, ie8g);
  White.Convert({0, 200});
  EXPECT_EQ(White.Bitmap.GetPixel8(1, 0), 55);

  // 16-bit grey into 24 bits: the high byte, or the 12 significant bits of one writer's files.
  TRowCase Sixteen(1, 1, 16, ie24RGB);
  Sixteen.Convert({0x00, 0xFF, 0xF0, 0x0F});
  EXPECT_EQ(Sixteen.RGB(0), (TRGB{255, 255, 255}));
  EXPECT_EQ(Sixteen.RGB(1), (TRGB{15, 15, 15}));
  TRowCase Twelve(1, 1, 16, ie24RGB);
  Twelve.Vars.Software = "Look@Molli v1.1 build 7";
  Twelve.Convert({0x00, 0xFF, 0xF0, 0x0F});
  EXPECT_EQ(Twelve.RGB(1), (TRGB{255, 255, 255}));

  // 16-bit big-endian native grey, WhiteIsZero complemented.
  TRowCase Native(0, 1, 16, ie16g);
  Native.Vars.LittleEndian = false;
  Native.Convert({0x12, 0x34, 0x00, 0x01});
  EXPECT_EQ(Native.Bitmap.GetPixel16(0, 0), 0xFFFF - 0x1234);
  EXPECT_EQ(Native.Bitmap.GetPixel16(1, 0), 0xFFFE);

  // Grey with alpha: the second sample to the mask.
  TRowCase Alpha(1, 2, 8, ie24RGB);
  Alpha.WithMask().Convert({90, 10, 180, 20});
  EXPECT_EQ(Alpha.RGB(1), (TRGB{180, 180, 180}));
  EXPECT_EQ(Alpha.Mask->GetPixel(1, 0), 20);
}

TEST(TiffRows, OneBitGreyIsInvertedByPhotometricAndCodec) {
  struct TCase {
    Word Photometric;
    Word Compression;
    bool Inverted;
  };
  // The fax decoders give white as set bits; the other codecs the stored bits.
  const TCase Cases[] = {{0, 1, true},  {0, 5, true}, {0, 32773, true}, {0, 4, false},
                         {1, 1, false}, {1, 4, true}, {1, 2, true}};
  for (const TCase& C : Cases) {
    TRowCase Case(C.Photometric, 1, 1, ie1g, 8);
    Case.Vars.Compression = C.Compression;
    Case.Convert({0xA5});
    EXPECT_EQ(*static_cast<Byte*>(Case.Bitmap.GetScanline(0)), C.Inverted ? 0x5A : 0xA5)
        << C.Photometric << "/" << C.Compression;
  }
}

TEST(TiffRows, PaletteLayouts) {
  TRowCase Bits(3, 1, 1, ie24RGB, 3);
  Bits.Vars.ColorMap = {TIERGBTriple{1, 2, 3}, TIERGBTriple{200, 100, 50}};
  Bits.Convert({0b01000000});
  EXPECT_EQ(Bits.RGB(0), (TRGB{3, 2, 1}));
  EXPECT_EQ(Bits.RGB(1), (TRGB{50, 100, 200}));
  EXPECT_EQ(Bits.RGB(2), (TRGB{3, 2, 1}));

  // An index beyond the colour map gives black instead of reading past it.
  TRowCase Short(3, 1, 8, ie24RGB);
  Short.Vars.ColorMap = {TIERGBTriple{9, 9, 9}};
  Short.Convert({0, 250});
  EXPECT_EQ(Short.RGB(1), (TRGB{0, 0, 0}));

  // Palette with a second sample: the mask gets its complement.
  TRowCase Alpha(3, 2, 8, ie24RGB);
  Alpha.Vars.ColorMap = {TIERGBTriple{9, 9, 9}, TIERGBTriple{7, 7, 7}};
  Alpha.WithMask().Convert({1, 5, 0, 255});
  EXPECT_EQ(Alpha.RGB(0), (TRGB{7, 7, 7}));
  EXPECT_EQ(Alpha.Mask->GetPixel(0, 0), 250);
  EXPECT_EQ(Alpha.Mask->GetPixel(1, 0), 0);
}

TEST(TiffRows, RgbSixteenBitAndFiveFiveFive) {
  TRowCase Native(2, 3, 16, ieRGB48, 1);
  Native.Vars.LittleEndian = false;
  Native.Convert({0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC});
  EXPECT_EQ(Native.Bitmap.GetPixel48(0, 0), (TIERGB48Pixel{0x1234, 0x5678, 0x9ABC}));

  TRowCase Wide(2, 3, 16, ie24RGB, 1);
  Wide.Vars.LittleEndian = false;
  Wide.Convert({0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC});
  EXPECT_EQ(Wide.RGB(0), (TRGB{0x12, 0x56, 0x9A}));

  // One 16-bit sample as 5-5-5, little-endian whatever the file's order.
  TRowCase Packed(2, 1, 16, ie24RGB, 1);
  Packed.Vars.LittleEndian = false;
  Packed.Convert({0x43, 0x7C});  // 0x7C43: red 31, green 2, blue 3
  EXPECT_EQ(Packed.RGB(0), (TRGB{248, 16, 24}));
}

TEST(TiffRows, CmykLayouts) {
  TRowCase Native(5, 4, 8, ieCMYK, 1);
  Native.Convert({0, 255, 10, 20});
  const auto* Stored = static_cast<Byte*>(Native.Bitmap.GetScanline(0));
  EXPECT_EQ(std::vector<Integer>(Stored, Stored + 4), (std::vector<Integer>{255, 0, 245, 235}));

  TRowCase Sixteen(5, 4, 16, ieCMYK, 1);
  Sixteen.Convert({0xFF, 0x00, 0x00, 0xFF, 0x34, 0x12, 0x00, 0x00});
  const auto* Sixteens = static_cast<Byte*>(Sixteen.Bitmap.GetScanline(0));
  EXPECT_EQ(std::vector<Integer>(Sixteens, Sixteens + 4), (std::vector<Integer>{255, 0, 0xED, 255}));

  // No ink is white; a fifth sample of unassociated alpha goes to the mask.
  TRowCase Alpha(5, 5, 8, ie24RGB, 1);
  Alpha.Vars.ExtraSamples = {2};
  Alpha.Vars.ExtraSample = 2;
  Alpha.WithMask().Convert({0, 0, 0, 0, 99});
  EXPECT_EQ(Alpha.RGB(0), (TRGB{255, 255, 255}));
  EXPECT_EQ(Alpha.Mask->GetPixel(0, 0), 99);
}

TEST(TiffRows, LayoutsWithoutAConversionWriteNothing) {
  struct TCase {
    Word Photometric;
    Integer Samples, Bits;
    std::array<Integer, 2> SubSampling;
  };
  const TCase Cases[] = {
      {1, 1, 3, {2, 2}}, {1, 1, 5, {2, 2}}, {0, 1, 6, {2, 2}}, {6, 3, 8, {2, 2}}, {2, 3, 32, {2, 2}}};
  for (const TCase& C : Cases) {
    TRowCase Case(C.Photometric, C.Samples, C.Bits, ie24RGB);
    Case.Vars.YCbCrSubSampling = C.SubSampling;
    Case.Bitmap.SetPixel24(1, 0, TIERGBTriple{77, 77, 77});
    Case.Convert(std::vector<Byte>(64, 200));
    EXPECT_EQ(Case.RGB(1), (TRGB{77, 77, 77})) << C.Photometric << "/" << C.Bits;
  }
}

}  // namespace
