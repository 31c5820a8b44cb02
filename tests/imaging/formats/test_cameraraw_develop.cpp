// Camera raw development: a 4 x 4 Bayer tile interpolated, converted and written, each value
// worked out by hand; white balance, the colour conversions, the white point and the turn back
// of 45-degree sensors.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "CameraRawEntryTestSupport.h"
#include "CameraRawPackTestSupport.h"
#include "imaging/core/iebitmap.h"
#include "imaging/formats/iecameraraw.h"
#include "imaging/io/zezudidioparams.h"
#include "tests/imaging/formats/FormatsTestSupport.h"

namespace {

constexpr Cardinal Rggb = 0x94949494;  // rows R G R G / G B G B

// The tile: each cell holds only the sample of its filter colour.
void FillBayerTile(TRawTestContext& T) {
  static constexpr Integer Tile[4][4] = {
      {100, 200, 104, 208}, {220, 300, 224, 310}, {108, 212, 112, 216}, {228, 320, 232, 330}};
  T.C->Filters = Rggb;
  for (Integer Row = 0; Row < 4; ++Row)
    for (Integer Col = 0; Col < 4; ++Col) RawBayerCell(*T.C, Row, Col) = static_cast<Word>(Tile[Row][Col]);
  T.C->QuickInterpolate = 1;
  T.C->Trim = 1;
}

struct TRgb {
  Integer R, G, B;
};

void ExpectCell(TRawTestContext& T, Integer Row, Integer Col, TRgb Expected) {
  EXPECT_EQ(T.At(Row, Col, 0), Expected.R) << Row << "," << Col;
  EXPECT_EQ(T.At(Row, Col, 1), Expected.G) << Row << "," << Col;
  EXPECT_EQ(T.At(Row, Col, 2), Expected.B) << Row << "," << Col;
}

TEST(CameraRawDevelop, BilinearFillsTheMissingColoursOfTheTileFromItsNeighbours) {
  TRawTestContext T(4, 4);
  FillBayerTile(T);
  RawInterpolate(*T.C);
  // Blue cell (1,1): red = (100+104+108+112)/4, green = 2 x (200+224+212+220) / 8.
  ExpectCell(T, 1, 1, {106, 214, 300});
  // Green cell (1,2): red = 2 x (104+112) / 4, blue = 2 x (310+300) / 4.
  ExpectCell(T, 1, 2, {108, 224, 305});
  // Green cell (2,1): red = 2 x (112+108) / 4, blue = 2 x (300+320) / 4.
  ExpectCell(T, 2, 1, {110, 212, 310});
  // Red cell (2,2): blue = (300+310+330+320)/4, green = 2 x (224+216+232+212) / 8.
  ExpectCell(T, 2, 2, {112, 221, 315});
  // The border is left to the trim.
  ExpectCell(T, 0, 0, {100, 0, 0});
}

TEST(CameraRawDevelop, TheTileDevelopsToTheHandComputedPicture) {
  TRawTestContext T(4, 4);
  FillBayerTile(T);
  T.C->Gamma = 1;  // a straight line: every entry of the curve is Brightness x 442 / white
  T.C->Brightness = 0.5f;
  std::strcpy(T.C->Make, "Canon");
  RawInterpolate(*T.C);
  RawConvertToRgb(*T.C);
  // Magnitudes sqrt(r^2 + g^2 + b^2) / 2: 191.7, 196.8, 195.7, 200.4.
  EXPECT_EQ(T.At(1, 1, 3), 192);
  EXPECT_EQ(T.At(1, 2, 3), 197);
  EXPECT_EQ(T.At(2, 1, 3), 196);
  EXPECT_EQ(T.At(2, 2, 3), 200);
  EXPECT_EQ(T.C->Histogram[24], 3);
  EXPECT_EQ(T.C->Histogram[25], 1);
  // 1% of 16 cells rounds to 0: the white point is the top level, 25 x 16 = 400, and every
  // channel is multiplied by 0.5 x 442 / 400 = 0.5525.
  std::vector<Double> Scale(0x10000);
  TIEBitmap Bitmap;
  RawWritePicture(*T.C, &Bitmap, false, Scale.data());
  ASSERT_EQ(Bitmap.GetWidth(), 2);
  ASSERT_EQ(Bitmap.GetHeight(), 2);
  ASSERT_EQ(Bitmap.GetPixelFormat(), ie24RGB);
  const TRgb Expected[2][2] = {{{59, 118, 166}, {60, 124, 169}}, {{61, 117, 171}, {62, 122, 174}}};
  for (Integer Row = 0; Row < 2; ++Row) {
    const Byte* Line = static_cast<const Byte*>(Bitmap.GetScanline(Row));
    for (Integer Col = 0; Col < 2; ++Col) {
      EXPECT_EQ(Line[Col * 3 + 2], Expected[Row][Col].R) << Row << "," << Col;
      EXPECT_EQ(Line[Col * 3 + 1], Expected[Row][Col].G) << Row << "," << Col;
      EXPECT_EQ(Line[Col * 3 + 0], Expected[Row][Col].B) << Row << "," << Col;
    }
  }
}

// Every cell holds Grey in its three channels, developed without trim at gamma 1.
void DevelopGreys(TRawTestContext& T, const std::vector<Integer>& Greys, bool Deep, TIEBitmap& Bitmap) {
  for (Integer Col = 0; Col < static_cast<Integer>(Greys.size()); ++Col)
    for (Integer C = 0; C < 3; ++C) T.Cell(0, Col)[C] = static_cast<Word>(Greys[Col]);
  T.C->Gamma = 1;
  T.C->Brightness = 1;
  RawConvertToRgb(*T.C);
  std::vector<Double> Scale(0x10000);
  RawWritePicture(*T.C, &Bitmap, Deep, Scale.data());
}

TEST(CameraRawDevelop, DeepOutputReaches65535WhereEightBitsReach255) {
  // Magnitudes 866 and 433; white = (866 >> 3) x 16 = 1728; factor 442 / 1728, times 257 deep:
  // 1000 saturates, 500 gives 127.9 and 32868.7.
  TRawTestContext Narrow(1, 2);
  TIEBitmap Eight;
  DevelopGreys(Narrow, {1000, 500}, false, Eight);
  const Byte* Bytes = static_cast<const Byte*>(Eight.GetScanline(0));
  EXPECT_EQ(std::vector<Integer>(Bytes, Bytes + 6), (std::vector<Integer>{255, 255, 255, 128, 128, 128}));
  TRawTestContext Wide(1, 2);
  TIEBitmap Deep;
  DevelopGreys(Wide, {1000, 500}, true, Deep);
  ASSERT_EQ(Deep.GetPixelFormat(), ieRGB48);
  const Word* Words = static_cast<const Word*>(Deep.GetScanline(0));
  EXPECT_EQ(std::vector<Integer>(Words, Words + 6),
            (std::vector<Integer>{65535, 65535, 65535, 32869, 32869, 32869}));
}

TEST(CameraRawDevelop, AHistogramThatNeverPassesThePercentileGivesWhitePointOne) {
  // 100 cells: the percentile is 1 and the single lit cell never exceeds it.
  TRawTestContext T(1, 100);
  std::vector<Integer> Greys(100, 0);
  Greys[7] = 3;
  TIEBitmap Bitmap;
  DevelopGreys(T, Greys, false, Bitmap);
  const Byte* Line = static_cast<const Byte*>(Bitmap.GetScanline(0));
  EXPECT_EQ(Line[7 * 3], 255);  // 3 x 442 / 1.0 saturates
  EXPECT_EQ(Line[6 * 3], 0);
}

TEST(CameraRawDevelop, MagnificationRepeatsPixelsAndRows) {
  TRawTestContext T(1, 2);
  T.C->XMag = 1;
  T.C->YMag = 2;
  TIEBitmap Bitmap;
  DevelopGreys(T, {1000, 500}, false, Bitmap);
  ASSERT_EQ(Bitmap.GetWidth(), 2);
  ASSERT_EQ(Bitmap.GetHeight(), 2);
  EXPECT_EQ(static_cast<const Byte*>(Bitmap.GetScanline(1))[3], 128);
  TRawTestContext W(1, 2);
  W.C->XMag = 2;
  TIEBitmap Wider;
  DevelopGreys(W, {1000, 500}, false, Wider);
  ASSERT_EQ(Wider.GetWidth(), 4);
  const Byte* Line = static_cast<const Byte*>(Wider.GetScanline(0));
  EXPECT_EQ(Line[3], 255);
  EXPECT_EQ(Line[6], 128);
}

TEST(CameraRawDevelop, ScaleColorsTakesTheBlackLevelAndMultipliersAndKeepsZeros) {
  TRawTestContext T(1, 3);
  T.C->Black = 10;
  T.C->Maximum = 1010;
  T.C->PreMul[0] = 2;
  T.C->PreMul[1] = 1;
  T.C->PreMul[2] = 0.5f;
  T.C->PreMul[3] = 1;
  T.C->RedScale = 1.5f;
  T.C->BlueScale = 1;
  T.Cell(0, 0)[0] = 110;  // (110 - 10) x 2 x 1.5
  T.Cell(0, 0)[2] = 15;   // (15 - 10) x 0.5 = 2.5, rounded to even
  T.Cell(0, 1)[0] = 900;  // clamped to Maximum - Black
  T.Cell(0, 1)[1] = 5;    // below black: 0
  RawScaleColors(*T.C);
  EXPECT_EQ(T.C->Maximum, 1000);
  ExpectCell(T, 0, 0, {300, 0, 2});
  ExpectCell(T, 0, 1, {1000, 0, 0});
  ExpectCell(T, 0, 2, {0, 0, 0});
}

TEST(CameraRawDevelop, AutomaticWhiteBalanceIgnoresValuesNearSaturation) {
  TRawTestContext T(1, 3);
  T.C->Maximum = 1000;
  for (Single& M : T.C->PreMul) M = 1;
  T.C->RedScale = T.C->BlueScale = 1;
  T.C->UseAutoWhiteBalance = 1;
  T.Cell(0, 0)[0] = 100;
  T.Cell(0, 1)[0] = 950;  // within 100 of saturation: not counted
  T.Cell(0, 0)[1] = 200;
  T.Cell(0, 0)[2] = 50;
  RawScaleColors(*T.C);
  EXPECT_FLOAT_EQ(T.C->PreMul[0], 2);
  EXPECT_FLOAT_EQ(T.C->PreMul[1], 1);
  EXPECT_FLOAT_EQ(T.C->PreMul[2], 4);
  ExpectCell(T, 0, 0, {200, 200, 200});
}

TEST(CameraRawDevelop, CameraWhiteBalanceUsesTheWhiteSampleElseTheCameraMultipliers) {
  TRawTestContext T(1, 1);
  T.C->Filters = Rggb;
  T.C->Maximum = 1000;
  T.C->RedScale = T.C->BlueScale = 1;
  T.C->UseCameraWhiteBalance = 1;
  for (Integer Row = 0; Row < 8; ++Row)
    for (Integer Col = 0; Col < 8; ++Col) {
      static constexpr Word ByColour[3] = {100, 200, 50};
      T.C->WhiteSample[Row][Col] = ByColour[RawFilterColor(Rggb, Row, Col)];
    }
  RawScaleColors(*T.C);
  EXPECT_FLOAT_EQ(T.C->PreMul[0], 2);
  EXPECT_FLOAT_EQ(T.C->PreMul[2], 4);

  TRawTestContext U(1, 1);
  U.C->Filters = Rggb;
  U.C->Maximum = 1000;
  U.C->RedScale = U.C->BlueScale = 1;
  U.C->UseCameraWhiteBalance = 1;
  U.C->CameraRed = 1.5f;
  U.C->CameraBlue = 2.5f;
  RawScaleColors(*U.C);
  EXPECT_FLOAT_EQ(U.C->PreMul[0], 1.5f);
  EXPECT_FLOAT_EQ(U.C->PreMul[1], 1);
  EXPECT_FLOAT_EQ(U.C->PreMul[2], 2.5f);
}

TEST(CameraRawDevelop, ConversionsOfComplementaryFourColourAndDocumentPictures) {
  // Complementary filters: (c0 + c1 - c2, c1 + c2 - c0, c2 + c0 - c1), clamped at 0.
  TRawTestContext Cmy(1, 1);
  Cmy.C->IsCmy = 1;
  Cmy.Cell(0, 0)[0] = 300, Cmy.Cell(0, 0)[1] = 200, Cmy.Cell(0, 0)[2] = 600;
  RawConvertToRgb(*Cmy.C);
  ExpectCell(Cmy, 0, 0, {0, 500, 700});
  // Four colours without a matrix: the two greens are averaged.
  TRawTestContext Four(1, 1);
  Four.C->Colors = 4;
  Four.Cell(0, 0)[1] = 100, Four.Cell(0, 0)[3] = 301;
  RawConvertToRgb(*Four.C);
  EXPECT_EQ(Four.At(0, 0, 1), 200);
  // A matrix over the camera channels.
  TRawTestContext Matrix(1, 1);
  Matrix.C->UseCoefficients = 1;
  const Single M[3][4] = {{1, 0.5f, 0, 0}, {0, 1, 0, 0}, {0.25f, 0, 2, 0}};
  std::memcpy(Matrix.C->Coefficients, M, sizeof M);
  Matrix.Cell(0, 0)[0] = 100, Matrix.Cell(0, 0)[1] = 40, Matrix.Cell(0, 0)[2] = 10;
  RawConvertToRgb(*Matrix.C);
  ExpectCell(Matrix, 0, 0, {120, 40, 45});
  // Document mode: one channel, the cell's own filter colour, as grey.
  TRawTestContext Document(2, 2);
  Document.C->DocumentMode = 1;
  Document.C->Filters = Rggb;
  Document.Cell(1, 1)[2] = 77;
  RawConvertToRgb(*Document.C);
  EXPECT_EQ(Document.C->Colors, 1);
  ExpectCell(Document, 1, 1, {77, 77, 77});
}

TEST(CameraRawDevelop, ComplementaryMatrixUndoesTheFilterResponses) {
  static constexpr double Response[4][3] = {
      {0.11, 0.86, 0.08}, {0.50, 0.29, 0.51}, {0.11, 0.92, 0.75}, {0.81, 0.98, 0.08}};
  TRawTestContext T(1, 1);
  RawGmcyCoefficients(*T.C);
  EXPECT_EQ(T.C->UseCoefficients, 1);
  for (Integer Out = 0; Out < 3; ++Out)
    for (Integer In = 0; In < 3; ++In) {
      double Sum = 0;
      for (Integer Channel = 0; Channel < 4; ++Channel)
        Sum += T.C->Coefficients[Out][Channel] * Response[Channel][In];
      EXPECT_NEAR(Sum, Out == In ? 1.0 : 0.0, 1e-5) << Out << "," << In;
    }
}

TEST(CameraRawDevelop, BlendedMatrixWeighsItsTwoMatrices) {
  TRawTestContext T(1, 1);
  RawBlendCoefficients(*T.C, 0.5f);
  EXPECT_FLOAT_EQ(T.C->Coefficients[0][0], 0.5f * 2.25f + 0.5f);
  EXPECT_FLOAT_EQ(T.C->Coefficients[1][2], 0.5f * 0.75f + 0.25f);
  EXPECT_FLOAT_EQ(T.C->Coefficients[2][3], 0.5f * 2.25f + 0.5f);
}

TEST(CameraRawDevelop, GradientPassKeepsAFlatFieldFlat) {
  TRawTestContext T(8, 8);
  T.C->Filters = Rggb;
  T.C->Maximum = 0x4000;
  for (Integer Row = 0; Row < 8; ++Row)
    for (Integer Col = 0; Col < 8; ++Col) RawBayerCell(*T.C, Row, Col) = 500;
  T.C->QuickInterpolate = 0;
  RawInterpolate(*T.C);
  for (Integer Row = 1; Row < 7; ++Row)
    for (Integer Col = 1; Col < 7; ++Col) ExpectCell(T, Row, Col, {500, 500, 500});
}

TEST(CameraRawDevelop, GradientPassFollowsAnEdgeInsteadOfBlurringAcrossIt) {
  // Left half dark, right half bright: a red cell next to the edge takes its green from its
  // own side, where bilinear averaging mixes both sides.
  auto Develop = [](Integer Quick) {
    TRawTestContext T(10, 10);
    T.C->Filters = Rggb;
    for (Integer Row = 0; Row < 10; ++Row)
      for (Integer Col = 0; Col < 10; ++Col) RawBayerCell(*T.C, Row, Col) = Col < 5 ? 100 : 1000;
    T.C->QuickInterpolate = Quick;
    RawInterpolate(*T.C);
    return T.At(4, 4, 1);
  };
  EXPECT_EQ(Develop(1), 325);  // (100 x 3 + 1000) / 4
  EXPECT_EQ(Develop(0), 100);
}

TEST(CameraRawDevelop, FujiTurnBackMapsTheDiagonalsOntoAnUprightGrid) {
  // 8 x 6 stored, its first row starting with two black pixels: lead 2, last 8, so the grid is
  // fw = 7 cells wide and fh = 2 x 8 - 2 x 2 - 4 = 8 rows high, the output 14 x 8. Stored
  // (x, y) goes to grid row x + y - 2, column (x + 6 - y) / 2; its value is 10 y + x + 1.
  TIEBitmap Bitmap(8, 6, ie24RGB);
  for (Integer Y = 0; Y < 6; ++Y) {
    Byte* Line = static_cast<Byte*>(Bitmap.GetScanline(Y));
    for (Integer X = 0; X < 8; ++X)
      for (Integer C = 0; C < 3; ++C)
        Line[X * 3 + C] = static_cast<Byte>(Y == 0 && X < 2 ? 0 : 10 * Y + X + 1);
  }
  RawFujiRotate24(&Bitmap);
  ASSERT_EQ(Bitmap.GetWidth(), 14);
  ASSERT_EQ(Bitmap.GetHeight(), 8);
  auto At = [&](Integer Row, Integer Col) {
    return static_cast<const Byte*>(Bitmap.GetScanline(Row))[Col * 3];
  };
  EXPECT_EQ(At(0, 2), 31);  // grid (1, 1) = stored (0, 3)
  EXPECT_EQ(At(2, 0), 51);  // grid (3, 0) = stored (0, 5)
  // Between grid cells: (above (0, 1) unset + below (2, 1) 41 + grid (1, 0) unset + (1, 1) 31) / 4.
  EXPECT_EQ(At(0, 1), 18);
  EXPECT_EQ(At(0, 0), 0);
}

TEST(CameraRawDevelop, FujiTurnBackLeavesAPictureWithoutAFrame) {
  TIEBitmap Bitmap(4, 2, ie24RGB);
  std::memset(Bitmap.GetScanline(0), 0, 12);
  RawFujiRotate24(&Bitmap);
  EXPECT_EQ(Bitmap.GetWidth(), 4);
  EXPECT_EQ(Bitmap.GetHeight(), 2);
}

TEST(CameraRawDevelop, ThreeLayerProcessingKeepsAFlatPictureFlatAwayFromItsBorder) {
  TRawTestContext T(12, 12);
  for (Integer Row = 0; Row < 12; ++Row)
    for (Integer Col = 0; Col < 12; ++Col)
      for (Integer C = 0; C < 3; ++C) T.Cell(Row, Col)[C] = 3000;
  RawFoveonInterpolate(*T.C);
  // The cells of the middle 4 x 4 block share every neighbourhood and block smoothing.
  for (Integer Row = 4; Row < 8; ++Row)
    for (Integer Col = 4; Col < 8; ++Col)
      for (Integer C = 0; C < 3; ++C) EXPECT_EQ(T.At(Row, Col, C), T.At(4, 4, C)) << Row << "," << Col;
  EXPECT_GT(T.At(4, 4, 0) + T.At(4, 4, 1) + T.At(4, 4, 2), 0);
}

TEST(CameraRawDevelop, TheReaderDevelopsAFlatSensorFieldToAnEvenGrey) {
  // 16 x 12 samples of 1001, loaded times 4: every interpolated cell is (4004, 4004, 4004) with
  // magnitude 3468 (level 433, white 6928). Gamma 0.6 and brightness 0.5 give
  // 4004 x 0.5 x 442 / 6928 x (6936 / 6928)^-0.4 = 127.7 in every channel.
  TMemoryStream Stream;
  LoadBytes(Stream, CameraRawTest::MakeFlatNucoreRaw(16, 12, 1001));
  TIOParamsVals Params;
  Params.RawFactors[1] = 0.5;
  TTestProgress Progress;
  TIEBitmap Bitmap;
  CameraRawReadStream(&Stream, &Bitmap, Params, Progress.Progress, false);
  ASSERT_FALSE(Progress.Aborting);
  ASSERT_EQ(Bitmap.GetWidth(), 14);
  ASSERT_EQ(Bitmap.GetHeight(), 10);
  for (Integer Row = 0; Row < 10; ++Row) {
    const Byte* Line = static_cast<const Byte*>(Bitmap.GetScanline(Row));
    for (Integer I = 0; I < 14 * 3; ++I) ASSERT_EQ(Line[I], 128) << Row << "," << I;
  }
}

}  // namespace
