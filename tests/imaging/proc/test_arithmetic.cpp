// The shared arithmetic, colour and bit helpers of the imaging library.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieblend.h"
#include "imaging/core/ieprocbase.h"

namespace {

TEST(ProcArithmetic, ClampTestsTheLowBoundFirst) {
  EXPECT_EQ(IEClamp(5, 10, 0), 10);
  EXPECT_EQ(IEClamp(20, 10, 0), 0);
  EXPECT_EQ(IEClamp(7, 0, 255), 7);
  EXPECT_EQ(IEClampByte(-1), 0);
  EXPECT_EQ(IEClampByte(256), 255);
}

TEST(ProcArithmetic, CeilAndFloorFollowTheFraction) {
  struct TCase {
    Extended X;
    Integer Ceil, Floor;
  };
  for (const TCase& C : {TCase{2.0L, 2, 2}, TCase{2.1L, 3, 2}, TCase{-1.5L, -1, -2}, TCase{-2.0L, -2, -2},
                         TCase{1.9L, 2, 1}}) {
    EXPECT_EQ(IECeil(C.X), C.Ceil) << static_cast<double>(C.X);
    EXPECT_EQ(IEFloor(C.X), C.Floor) << static_cast<double>(C.X);
  }
}

TEST(ProcArithmetic, MultiplesOf90AreWholeDegrees) {
  for (double A : {0.0, 90.0, -270.0, 450.0, -180.0}) EXPECT_TRUE(IEIsMultipleOf90(A)) << A;
  for (double A : {90.5, 45.0, 1.0}) EXPECT_FALSE(IEIsMultipleOf90(A)) << A;
}

TEST(ProcArithmetic, FloatMinMaxAndOrderCoords) {
  EXPECT_EQ(IEMinFloat(2.5, -1.0), -1.0);
  EXPECT_EQ(IEMaxFloat(2.5, -1.0), 2.5);
  Integer X1 = 9, Y1 = 1, X2 = 3, Y2 = 4;
  IEOrderCoords(X1, Y1, X2, Y2);
  EXPECT_EQ((std::array{X1, Y1, X2, Y2}), (std::array{3, 1, 9, 4}));
}

TEST(ProcArithmetic, GreyValueUsesTheLibraryWeights) {
  EXPECT_EQ(IEGrayValue(IEMakeRGB(255, 255, 255)), 255);
  EXPECT_EQ(IEGrayValue(IEMakeRGB(1, 1, 1)), 1);
  EXPECT_EQ(IEGrayValue(IEMakeRGB(255, 0, 0)), 53);
  EXPECT_EQ(IEGrayValue(IEMakeRGB(0, 255, 0)), 181);
  EXPECT_EQ(IEGrayValue(IEMakeRGB(0, 0, 255)), 20);
  // A change of the weights reaches every caller.
  const Integer Saved = IEGrayWeightR;
  IEGrayWeightR = 29;
  EXPECT_EQ(IEGrayValue(IEMakeRGB(100, 0, 0)), 29);
  IEGrayWeightR = Saved;
}

TEST(ProcArithmetic, PackedColourForms) {
  EXPECT_EQ(IEPackBytes(0x44, 0x33, 0x22, 0x11), 0x11223344);
  EXPECT_EQ(IESwapRB(0x11223344), 0x00443322);
  EXPECT_EQ(IEColorToARGB(static_cast<TColor>(0x00332211), 0x80), static_cast<Integer>(0x80112233));
  EXPECT_TRUE(IESameRGB(0x7F102030, 0x00102030));
  EXPECT_FALSE(IESameRGB(0x00102031, 0x00102030));
}

TEST(ProcArithmetic, NearestColourTakesTheFirstOfEqualEntries) {
  const std::array<TIERGBTriple, 4> Palette = {IEMakeRGB(0, 0, 0), IEMakeRGB(100, 0, 0), IEMakeRGB(0, 100, 0),
                                               IEMakeRGB(100, 0, 0)};
  EXPECT_EQ(IEFindNearestColor(Palette.data(), 4, 0x5A0000), 1);
  EXPECT_EQ(IEFindNearestColor(Palette.data(), 4, 0x000A0A), 0);
  EXPECT_EQ(IEFindNearestColor(Palette.data(), 0, 0xFFFFFF), 0);
}

TEST(ProcArithmetic, RedAndBlueExchanges) {
  const std::array<TIERGBTriple, 2> Source = {TIERGBTriple{1, 2, 3}, TIERGBTriple{4, 5, 6}};
  std::array<TIERGBTriple, 2> Dest{};
  IECopyPaletteSwapRB(Dest.data(), Source.data(), 2);
  EXPECT_EQ(Dest[1], (TIERGBTriple{6, 5, 4}));
  std::array<Word, 6> Wide = {1, 2, 3, 4, 5, 6};
  IESwapRedBlue48(Wide.data(), 2);
  EXPECT_EQ(Wide, (std::array<Word, 6>{3, 2, 1, 6, 5, 4}));
}

TEST(ProcArithmetic, BitHelpersCountFromTheMostSignificantBit) {
  Byte Row[2] = {0, 0};
  IESetBit(Row, 0, true);
  IESetBit(Row, 9, true);
  EXPECT_EQ(Row[0], IEBitMask[0]);
  EXPECT_EQ(Row[1], 0x40);
  EXPECT_TRUE(IEGetBit(Row, 9));
  IESetBit(Row, 9, false);
  EXPECT_EQ(Row[1], 0);
  // Three bits from source bit 6 land on destination bits 1..3 only.
  const Byte Source[2] = {0x03, 0x80};
  Byte Dest = 0x00;
  IECopyBits(&Dest, Source, 1, 6, 3, 2);
  EXPECT_EQ(Dest, 0x70);
  Dest = 0xFF;
  const Byte Zero[2] = {0, 0};
  IECopyBits(&Dest, Zero, 1, 6, 3, 2);
  EXPECT_EQ(Dest, 0x8F);
}

TEST(ProcArithmetic, CopyBitsIgnoresNegativePositions) {
  const Byte Source[2] = {0xFF, 0xFF};
  Byte Dest[2] = {0, 0};
  IECopyBits(Dest + 1, Source, -1, 0, 4, 2);
  IECopyBits(Dest, Source + 1, 0, -3, 4, 1);
  EXPECT_EQ(Dest[0], 0);
  EXPECT_EQ(Dest[1], 0);
}

TEST(ProcArithmetic, InvertedPictureDiffersAndInvertsBack) {
  TIEBitmap A(10, 3, ie1g), B(10, 3, ie1g);
  // Whole rows are compared, padding included.
  for (TIEBitmap* P : {&A, &B})
    for (Integer Y = 0; Y < 3; ++Y)
      std::fill_n(static_cast<Byte*>(P->GetScanline(Y)), P->GetRowLen(), 0x0F + Y);
  ASSERT_TRUE(IEBitmapsEqual(&A, &B));
  IEInvertBitmap(&A);
  EXPECT_EQ(static_cast<Byte*>(A.GetScanline(2))[0], static_cast<Byte>(~0x11));
  EXPECT_FALSE(IEBitmapsEqual(&A, &B));
  IEInvertBitmap(&A);
  EXPECT_TRUE(IEBitmapsEqual(&A, &B));
}

TEST(ProcArithmetic, PicturesDifferBySizeOrAlpha) {
  TIEBitmap A(4, 4, ie8g), B(4, 5, ie8g), C(4, 4, ie8g);
  for (TIEBitmap* P : {&A, &B, &C})
    for (Integer Y = 0; Y < P->GetHeight(); ++Y)
      std::fill_n(static_cast<Byte*>(P->GetScanline(Y)), P->GetRowLen(), 7);
  EXPECT_FALSE(IEBitmapsEqual(&A, &B));
  EXPECT_TRUE(IEBitmapsEqual(&A, &C));
  C.GetAlphaChannel();
  EXPECT_FALSE(IEBitmapsEqual(&A, &C));
  A.GetAlphaChannel();
  EXPECT_TRUE(IEBitmapsEqual(&A, &C));
  static_cast<Byte*>(A.GetAlphaChannel()->GetScanline(3))[1] = 3;
  EXPECT_FALSE(IEBitmapsEqual(&A, &C));
}

}  // namespace
