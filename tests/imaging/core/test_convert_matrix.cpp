// Every pair of the eleven pixel formats, and the formula of each direct conversion.
#include <gtest/gtest.h>

#include "ConvertTestSupport.h"
#include "imaging/core/iecolorspace.h"

namespace {

constexpr TIEPixelFormat Formats[] = {ie1g,  ie8p,   ie8g,    ie16g,    ie24RGB,
                                      ie32f, ieCMYK, ieRGB48, ieCIELab, ie32RGB};

// The raw white or black pixel of each format (ie8p: palette index 1 is white, 0 black).
std::vector<Byte> BlackOrWhite(TIEPixelFormat Format, bool White) {
  switch (Format) {
    case ie8p:
      return {Byte(White ? 1 : 0)};
    case ie8g:
      return {Byte(White ? 255 : 0)};
    case ie16g:
      return Raw<Word>(White ? 65535 : 0);
    case ie24RGB:
      return Raw(White ? Rgb(255, 255, 255) : Rgb(0, 0, 0));
    case ie32f:
      return Raw<Single>(White ? 1.0f : 0.0f);
    case ieCMYK:
      return Raw(White ? TCMYK{255, 255, 255, 255} : TCMYK{0, 0, 0, 0});
    case ieRGB48:
      return Raw(White ? TIERGB48Pixel{65535, 65535, 65535} : TIERGB48Pixel{0, 0, 0});
    case ieCIELab:
      return Raw(White ? TIECIELabPixel{255, 0, 0} : TIECIELabPixel{0, 0, 0});
    case ie32RGB:
      return White ? std::vector<Byte>{255, 255, 255, 255} : std::vector<Byte>{0, 0, 0, 255};
    default:
      return {};
  }
}

// White where X + Y is even. No white pixel falls on the dither matrix's 63, so ordered
// dithering keeps every pixel too.
bool IsWhite(Integer X, Integer Y) {
  return (X + Y) % 2 == 0;
}

std::unique_ptr<TIEBitmap> MakeCheckerboard(TIEPixelFormat Format) {
  auto B = std::make_unique<TIEBitmap>(8, 2, Format);
  if (Format == ie8p) {
    B->SetPaletteColor(0, Rgb(0, 0, 0));
    B->SetPaletteColor(1, Rgb(255, 255, 255));
  }
  for (Integer Y = 0; Y < 2; ++Y)
    for (Integer X = 0; X < 8; ++X) {
      if (Format == ie1g)
        SetBit(*B, X, Y, IsWhite(X, Y));
      else
        SetRawPixel(*B, X, Y, BlackOrWhite(Format, IsWhite(X, Y)));
    }
  return B;
}

class ConvertMatrix : public ::testing::TestWithParam<bool> {};

// Black and white survive every one of the 110 conversions, in memory and in temporary files,
// with either black-and-white mode; the source is never touched, also when the pair goes
// through 24 bits.
TEST_P(ConvertMatrix, BlackAndWhiteSurviveEveryPairAndTheSourceStays) {
  TConvertSettingsGuard Settings;
  if (GetParam()) Settings.UseFiles();
  for (const TIEPixelFormat From : Formats)
    for (const TIEPixelFormat To : Formats)
      for (const Byte Mode : {0, 1}) {
        if (From == To) continue;
        SCOPED_TRACE(::testing::Message()
                     << "from " << int(From) << " to " << int(To) << " mode " << int(Mode));
        auto Source = MakeCheckerboard(From);
        const std::vector<Byte> Before = AllRows(*Source);
        TIEBitmap Dest(8, 2, To);
        Dest.SetBlackWhiteConversion(Mode);
        Dest.CopyAndConvertFormat(Source.get());
        EXPECT_EQ(Source->GetPixelFormat(), From);
        EXPECT_EQ(AllRows(*Source), Before);
        EXPECT_EQ(Dest.GetPixelFormat(), To);
        for (Integer Y = 0; Y < 2; ++Y)
          for (Integer X = 0; X < 8; ++X) {
            const Byte Level = IsWhite(X, Y) ? 255 : 0;
            EXPECT_EQ(Dest.GetPixelRGB(X, Y), Rgb(Level, Level, Level)) << X << "," << Y;
          }
      }
}

INSTANTIATE_TEST_SUITE_P(Storage, ConvertMatrix, ::testing::Values(false, true),
                         [](const auto& Info) { return Info.param ? "File" : "Memory"; });

struct TFormulaCase {
  const char* Name;
  TIEPixelFormat From;
  std::vector<Byte> Pixel;
  TIEPixelFormat To;
  std::vector<Byte> Expected;
};

// An ie8p source holds its pixel at index 5, whose palette entry is this colour.
const TIERGBTriple Entry5 = Rgb(10, 20, 30);
constexpr Word W1234 = 0x1234;

const TFormulaCase FormulaCases[] = {
    {"PaletteToGrey", ie8p, {5}, ie8g, {18}},
    {"PaletteToGrey16", ie8p, {5}, ie16g, Raw<Word>(4787)},
    {"PaletteToFloat",
     ie8p,
     {5},
     ie32f,
     Raw<Single>(static_cast<Single>((10 * 0.2126 + 20 * 0.7152 + 30 * 0.0722) / 255))},
    {"PaletteTo24", ie8p, {5}, ie24RGB, Raw(Rgb(10, 20, 30))},
    {"PaletteTo48", ie8p, {5}, ieRGB48, Raw(TIERGB48Pixel{2570, 5140, 7710})},
    {"PaletteTo32", ie8p, {5}, ie32RGB, {30, 20, 10, 255}},
    {"GreyTo16", ie8g, {100}, ie16g, Raw<Word>(25700)},
    {"GreyToFloat", ie8g, {100}, ie32f, Raw<Single>(static_cast<Single>(100 / 255.0))},
    {"GreyTo24", ie8g, {100}, ie24RGB, Raw(Rgb(100, 100, 100))},
    {"GreyTo48", ie8g, {100}, ieRGB48, Raw(TIERGB48Pixel{25700, 25700, 25700})},
    {"GreyTo32", ie8g, {100}, ie32RGB, {100, 100, 100, 255}},
    {"Grey16To8", ie16g, Raw(W1234), ie8g, {0x12}},
    {"Grey16ToPalette", ie16g, Raw(W1234), ie8p, {0x12}},
    {"Grey16ToFloat", ie16g, Raw(W1234), ie32f, Raw<Single>(static_cast<Single>(0x1234 / 65535.0))},
    {"Grey16To24WithoutRange", ie16g, Raw(W1234), ie24RGB, Raw(Rgb(0x12, 0x12, 0x12))},
    {"Grey16To48", ie16g, Raw(W1234), ieRGB48, Raw(TIERGB48Pixel{W1234, W1234, W1234})},
    {"Grey16To32", ie16g, Raw(W1234), ie32RGB, {0x12, 0x12, 0x12, 255}},
    {"RGBToGrey", ie24RGB, Raw(Rgb(10, 20, 30)), ie8g, {18}},
    {"RGBToGrey16", ie24RGB, Raw(Rgb(10, 20, 30)), ie16g, Raw<Word>(4787)},
    {"WhiteToGrey", ie24RGB, Raw(Rgb(255, 255, 255)), ie8g, {255}},
    {"WhiteToGrey16", ie24RGB, Raw(Rgb(255, 255, 255)), ie16g, Raw<Word>(65535)},
    {"RGBToCMYK", ie24RGB, Raw(Rgb(10, 20, 30)), ieCMYK, {85, 170, 255, 30}},
    {"RGBTo48", ie24RGB, Raw(Rgb(10, 20, 30)), ieRGB48, Raw(TIERGB48Pixel{2570, 5140, 7710})},
    {"WhiteToLab", ie24RGB, Raw(Rgb(255, 255, 255)), ieCIELab, {255, 0, 0}},
    {"RGBTo32", ie24RGB, Raw(Rgb(10, 20, 30)), ie32RGB, {30, 20, 10, 255}},
    {"FloatToGrey", ie32f, Raw<Single>(0.5f), ie8g, {127}},
    {"FloatToPalette", ie32f, Raw<Single>(0.5f), ie8p, {127}},
    {"FloatToGrey16", ie32f, Raw<Single>(0.5f), ie16g, Raw<Word>(32767)},
    {"FloatTo24", ie32f, Raw<Single>(0.5f), ie24RGB, Raw(Rgb(127, 127, 127))},
    {"FloatTo48", ie32f, Raw<Single>(0.5f), ieRGB48, Raw(TIERGB48Pixel{32767, 32767, 32767})},
    {"FloatTo32", ie32f, Raw<Single>(0.5f), ie32RGB, {127, 127, 127, 255}},
    {"FloatAboveOneIsClamped", ie32f, Raw<Single>(2.0f), ie8g, {255}},
    {"NegativeFloatIsClamped", ie32f, Raw<Single>(-1.0f), ie16g, Raw<Word>(0)},
    {"CMYKTo24", ieCMYK, {255, 128, 0, 200}, ie24RGB, Raw(Rgb(200, 100, 0))},
    {"CMYKTo32", ieCMYK, {255, 128, 0, 200}, ie32RGB, {0, 100, 200, 255}},
    {"CMYKToGreyVia24", ieCMYK, {255, 128, 0, 200}, ie8g, {113}},
    {"48To24", ieRGB48, Raw(TIERGB48Pixel{0x1234, 0x5678, 0x9ABC}), ie24RGB, Raw(Rgb(0x12, 0x56, 0x9A))},
    {"48ToGrey", ieRGB48, Raw(TIERGB48Pixel{0x1234, 0x5678, 0x9ABC}), ie8g, {77}},
    {"48ToGrey16", ieRGB48, Raw(TIERGB48Pixel{0x1234, 0x5678, 0x9ABC}), ie16g, Raw<Word>(19741)},
    {"48ToFloat", ieRGB48, Raw(TIERGB48Pixel{0x1234, 0x5678, 0x9ABC}), ie32f,
     Raw<Single>(static_cast<Single>((0x1234 * 0.2126 + 0x5678 * 0.7152 + 0x9ABC * 0.0722) / 65535))},
    {"White48ToFloatIsOne", ieRGB48, Raw(TIERGB48Pixel{65535, 65535, 65535}), ie32f, Raw<Single>(1.0f)},
    {"48To32", ieRGB48, Raw(TIERGB48Pixel{0x1234, 0x5678, 0x9ABC}), ie32RGB, {0x9A, 0x56, 0x12, 255}},
    {"48ToCMYKVia24", ieRGB48, Raw(TIERGB48Pixel{0x0A00, 0x1400, 0x1E00}), ieCMYK, {85, 170, 255, 30}},
    {"LabTo24", ieCIELab, {255, 0, 0}, ie24RGB, Raw(Rgb(255, 255, 255))},
    {"LabTo32", ieCIELab, {255, 0, 0}, ie32RGB, {255, 255, 255, 255}},
    {"32To24DropsTheFourthByte", ie32RGB, {30, 20, 10, 7}, ie24RGB, Raw(Rgb(10, 20, 30))},
    {"32ToGreyVia24", ie32RGB, {30, 20, 10, 7}, ie8g, {18}},
    {"32To48Via24", ie32RGB, {30, 20, 10, 7}, ieRGB48, Raw(TIERGB48Pixel{2570, 5140, 7710})},
    {"GreyToCMYKVia24", ie8g, {100}, ieCMYK, {255, 255, 255, 100}},
    {"PaletteToCMYKVia24", ie8p, {5}, ieCMYK, {85, 170, 255, 30}},
};

class ConvertFormula : public ::testing::TestWithParam<TFormulaCase> {};

TEST_P(ConvertFormula, FirstPixel) {
  const TFormulaCase& Case = GetParam();
  TIEBitmap Source(1, 1, Case.From);
  if (Case.From == ie8p) Source.SetPaletteColor(5, Entry5);
  SetRawPixel(Source, 0, 0, Case.Pixel);
  TIEBitmap Dest(1, 1, Case.To);
  Dest.CopyAndConvertFormat(&Source);
  EXPECT_EQ(RawPixel(Dest, 0, 0), Case.Expected);
}

INSTANTIATE_TEST_SUITE_P(Pairs, ConvertFormula, ::testing::ValuesIn(FormulaCases),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST(ConvertFormats, Grey16To24FollowsTheDestinationsDisplayRange) {
  const Word Samples[] = {500, 1000, 1500, 2000, 2500};
  const Byte Expected[] = {0, 0, 127, 255, 255};
  TIEBitmap Source(5, 1, ie16g);
  for (Integer X = 0; X < 5; ++X) SetRawPixel(Source, X, 0, Raw(Samples[X]));
  TIEBitmap Dest(5, 1, ie24RGB);
  Dest.SetRangeMin(1000);
  Dest.SetRangeMax(2000);
  Dest.CopyAndConvertFormat(&Source);
  for (Integer X = 0; X < 5; ++X)
    EXPECT_EQ(Dest.GetPixel24(X, 0), Rgb(Expected[X], Expected[X], Expected[X])) << X;
}

TEST(ConvertFormats, Grey16ThroughTwentyFourBitsUsesTheSourcesRange) {
  // As if the source had been converted to 24 bits itself: its own range applies.
  TIEBitmap Source(1, 1, ie16g);
  Source.SetRangeMin(1000);
  Source.SetRangeMax(2000);
  SetRawPixel(Source, 0, 0, Raw<Word>(1500));
  TIEBitmap Dest(1, 1, ieCMYK);
  Dest.CopyAndConvertFormat(&Source);
  EXPECT_EQ(RawPixel(Dest, 0, 0), (std::vector<Byte>{255, 255, 255, 127}));
}

TEST(ConvertFormats, OrderedDitherOfWhiteSetsAllButTheTopMatrixPosition) {
  for (const Byte Level : {Byte(0), Byte(255)}) {
    TIEBitmap Source(8, 8, ie8g);
    Source.Fill(Level);
    TIEBitmap Dest(8, 8, ie1g);
    Dest.SetBlackWhiteConversion(0);
    Dest.CopyAndConvertFormat(&Source);
    Integer Set = 0;
    for (Integer Y = 0; Y < 8; ++Y)
      for (Integer X = 0; X < 8; ++X) Set += GetBit(Dest, X, Y);
    EXPECT_EQ(Set, Level == 255 ? 63 : 0);
    // The matrix's 63 sits at row index (X and 7) = 7, column (Y and 7) = 0.
    if (Level == 255) {
      EXPECT_FALSE(GetBit(Dest, 7, 0));
    }
  }
}

TEST(ConvertFormats, OrderedDitherComparesTheSixBitLevel) {
  // Level 100 shr 2 = 25: set where the matrix holds less than 25. A swapped index (Y and 7
  // first) or a level not shifted gives another pattern.
  TIEBitmap Source(8, 8, ie8g);
  Source.Fill(100);
  TIEBitmap Dest(8, 8, ie1g);
  Dest.SetBlackWhiteConversion(0);
  Dest.CopyAndConvertFormat(&Source);
  constexpr Byte Bayer[64] = {0,  32, 8,  40, 2,  34, 10, 42, 48, 16, 56, 24, 50, 18, 58, 26,
                              12, 44, 4,  36, 14, 46, 6,  38, 60, 28, 52, 20, 62, 30, 54, 22,
                              3,  35, 11, 43, 1,  33, 9,  41, 51, 19, 59, 27, 49, 17, 57, 25,
                              15, 47, 7,  39, 13, 45, 5,  37, 63, 31, 55, 23, 61, 29, 53, 21};
  for (Integer Y = 0; Y < 8; ++Y)
    for (Integer X = 0; X < 8; ++X) EXPECT_EQ(GetBit(Dest, X, Y), Bayer[X * 8 + Y] < 25) << X << "," << Y;
}

TEST(ConvertFormats, ThresholdModeUsesTheMeanColoursGrey) {
  // The mean of 0, 50, 101, 49 is 50: a level equal to it is white, one below black.
  TIEBitmap Source(4, 1, ie8g);
  const Byte Levels[] = {0, 50, 101, 49};
  for (Integer X = 0; X < 4; ++X) Source.SetPixel8(X, 0, Levels[X]);
  TIEBitmap Dest(4, 1, ie1g);
  Dest.SetBlackWhiteConversion(1);
  Dest.CopyAndConvertFormat(&Source);
  EXPECT_FALSE(GetBit(Dest, 0, 0));
  EXPECT_TRUE(GetBit(Dest, 1, 0));
  EXPECT_TRUE(GetBit(Dest, 2, 0));
  EXPECT_FALSE(GetBit(Dest, 3, 0));
}

TEST(ConvertFormats, OtherBlackWhiteModesLeaveTheDestination) {
  TIEBitmap Source(8, 1, ie8g);
  Source.Fill(255);
  TIEBitmap Dest(8, 1, ie1g);
  Dest.Fill(0);
  Dest.SetBlackWhiteConversion(2);
  Dest.CopyAndConvertFormat(&Source);
  EXPECT_EQ(static_cast<const Byte*>(Dest.GetScanline(0))[0], 0);
}

TEST(ConvertFormats, OneBitToPaletteSetsOnlyTheFirstTwoEntries) {
  TIEBitmap Source(2, 1, ie1g);
  SetBit(Source, 0, 0, false);
  SetBit(Source, 1, 0, true);
  TIEBitmap Dest(2, 1, ie8p);
  for (Integer I = 0; I < 256; ++I) Dest.SetPaletteColor(I, Rgb(1, 2, 3));
  Dest.CopyAndConvertFormat(&Source);
  EXPECT_EQ(Dest.GetPaletteBuffer()[0], Rgb(0, 0, 0));
  EXPECT_EQ(Dest.GetPaletteBuffer()[1], Rgb(255, 255, 255));
  EXPECT_EQ(Dest.GetPaletteBuffer()[2], Rgb(1, 2, 3));
  EXPECT_EQ(Dest.GetPixel8(0, 0), 0);
  EXPECT_EQ(Dest.GetPixel8(1, 0), 1);
}

TEST(ConvertFormats, GreyToPaletteWritesTheGreyRamp) {
  TIEBitmap Source(1, 1, ie8g);
  Source.SetPixel8(0, 0, 77);
  TIEBitmap Dest(1, 1, ie8p);
  Dest.CopyAndConvertFormat(&Source);
  for (Integer I = 0; I < 256; ++I) EXPECT_EQ(Dest.GetPaletteBuffer()[I], Rgb(I, I, I)) << I;
  EXPECT_EQ(Dest.GetPixel8(0, 0), 77);
}

TEST(ConvertFormats, ColourReductionKeepsFewColoursExactly) {
  const TIERGBTriple Colors[] = {Rgb(200, 10, 10), Rgb(10, 200, 10), Rgb(10, 10, 200)};
  auto Source = MakeRGB(6, 4, [&](Integer X, Integer Y) { return Colors[(X + Y) % 3]; });
  TIEBitmap Dest(6, 4, ie8p);
  Dest.CopyAndConvertFormat(Source.get());
  for (Integer Y = 0; Y < 4; ++Y)
    for (Integer X = 0; X < 6; ++X) EXPECT_EQ(Dest.GetPixelRGB(X, Y), Colors[(X + Y) % 3]);
}

TEST(ConvertFormats, ColourReductionThroughTwentyFourBitsLeavesTheSource) {
  TIEBitmap Source(2, 1, ieRGB48);
  SetRawPixel(Source, 0, 0, Raw(TIERGB48Pixel{0xFF00, 0, 0}));
  SetRawPixel(Source, 1, 0, Raw(TIERGB48Pixel{0, 0, 0xFF00}));
  TIEBitmap Dest(2, 1, ie8p);
  Dest.CopyAndConvertFormat(&Source);
  EXPECT_EQ(Source.GetPixelFormat(), ieRGB48);
  EXPECT_EQ(Dest.GetPixelRGB(0, 0), Rgb(255, 0, 0));
  EXPECT_EQ(Dest.GetPixelRGB(1, 0), Rgb(0, 0, 255));
}

TEST(ConvertFormats, AlphaChannelIsCopiedAlsoBetweenEqualFormats) {
  for (const TIEPixelFormat To : {ie24RGB, ie8g}) {
    TIEBitmap Source(2, 1, ie24RGB);
    Source.Fill(0);
    Source.SetAlpha(1, 0, 40);
    TIEBitmap Dest(2, 1, To);
    Dest.Fill(0xFFFFFF);
    Dest.CopyAndConvertFormat(&Source);
    ASSERT_TRUE(Dest.HasAlphaChannel());
    EXPECT_EQ(Dest.GetAlpha(0, 0), 255);
    EXPECT_EQ(Dest.GetAlpha(1, 0), 40);
    // Equal formats copy no pixel.
    EXPECT_EQ(Dest.GetPixelRGB(0, 0), To == ie24RGB ? Rgb(255, 255, 255) : Rgb(0, 0, 0));
  }
}

TEST(ConvertFormats, DifferentSizesCopyNothing) {
  TIEBitmap Source(2, 2, ie8g);
  Source.Fill(0);
  TIEBitmap Dest(2, 3, ie24RGB);
  Dest.Fill(0xFFFFFF);
  Dest.CopyAndConvertFormat(&Source);
  EXPECT_EQ(Dest.GetPixel24(0, 0), Rgb(255, 255, 255));
}

}  // namespace
