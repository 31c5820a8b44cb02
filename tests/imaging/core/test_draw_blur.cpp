// The Gaussian blur of grey pictures: the kernel's width, rows and columns, the rectangle and
// what is left alone.
#include <algorithm>
#include <numeric>

#include "DrawTestSupport.h"
#include "imaging/core/ieblur.h"

using namespace DrawTesting;

namespace {

TEST(TBlurTest, KernelKeepsItsNonZeroTapsSymmetricAndSumsToOne) {
  const struct {
    Double Radius;
    Integer HalfWidth;
  } Cases[] = {{1, 4}, {2, 9}, {2.5, 11}, {100, 100}};
  for (const auto& C : Cases) {
    const TIEGaussKernel K = IEGaussKernel(C.Radius);
    EXPECT_EQ(K.HalfWidth, C.HalfWidth) << C.Radius;
    for (Integer I = 1; I <= 100; ++I) EXPECT_EQ(K.Weights[100 - I], K.Weights[100 + I]) << C.Radius;
    const Integer Sum = std::accumulate(K.Weights.begin(), K.Weights.end(), 0);
    EXPECT_NEAR(Sum, 65536, 101) << C.Radius;  // each tap rounded on its own
  }
}

TEST(TBlurTest, RowsRepeatTheirEndsAndRoundToNearest) {
  const TIEGaussKernel K = IEGaussKernel(1.5);
  const Byte Flat[6] = {77, 77, 77, 77, 77, 77};
  Byte Out[6] = {};
  IEBlurRow(K, Flat, Out, 6);
  for (const Byte V : Out) EXPECT_EQ(V, 77);
  // A step keeps its ends, falls monotonically and is symmetric about its middle.
  Byte Step[20] = {};
  std::fill_n(Step, 10, 200);
  Byte Blurred[20] = {};
  IEBlurRow(K, Step, Blurred, 20);
  EXPECT_EQ(Blurred[0], 200);
  EXPECT_EQ(Blurred[19], 0);
  for (Integer I = 0; I < 19; ++I) EXPECT_GE(Blurred[I], Blurred[I + 1]);
  for (Integer I = 0; I < 10; ++I) EXPECT_NEAR(Blurred[I] + Blurred[19 - I], 200, 1);
  EXPECT_LT(Blurred[9], 200);
  EXPECT_GT(Blurred[10], 0);
}

// A picture one pixel wide has nothing to blur along its rows: its column comes out as the
// row blur of the same values.
TEST(TBlurTest, ColumnsAreBlurredLikeRows) {
  const Integer H = 24;
  auto Column = GreyPicture(1, H, [](Integer, Integer Y) { return Y < 9 ? 250 : (Y * 37) % 256; });
  const std::vector<Byte> Before = GreyPixels(Column.get());
  std::vector<Byte> Expected(H);
  IEBlurRow(IEGaussKernel(2.5), Before.data(), Expected.data(), H);
  IEBlurChannel(Column.get(), 0, 0, 0, H - 1, 2.5);
  EXPECT_EQ(GreyPixels(Column.get()), Expected);
  EXPECT_NE(Expected, Before);
}

TEST(TBlurTest, OnlyTheClampedRectangleChanges) {
  auto Pattern = [](Integer X, Integer Y) { return (X * 53 + Y * 91) % 256; };
  auto Pic = GreyPicture(12, 10, Pattern);
  IEBlurChannel(Pic.get(), -4, 3, 5, 99, 1.5);  // columns 0..5, rows 3..9
  bool Changed = false;
  for (Integer Y = 0; Y < 10; ++Y)
    for (Integer X = 0; X < 12; ++X) {
      const Byte V = static_cast<Byte*>(Pic->GetScanline(Y))[X];
      if (X > 5 || Y < 3)
        EXPECT_EQ(V, Pattern(X, Y)) << X << "," << Y;
      else
        Changed |= V != Pattern(X, Y);
    }
  EXPECT_TRUE(Changed);
}

TEST(TBlurTest, NothingChangesForEmptyRectanglesOtherFormatsOrNoRadius) {
  auto Pattern = [](Integer X, Integer Y) { return (X * 53 + Y * 91) % 256; };
  auto Pic = GreyPicture(8, 8, Pattern);
  const std::vector<Byte> Before = GreyPixels(Pic.get());
  IEBlurChannel(Pic.get(), 6, 0, 2, 7, 2);  // X1 > X2
  IEBlurChannel(Pic.get(), 0, 0, 7, 7, 0);
  IEBlurChannel(Pic.get(), 0, 0, 7, 7, -1);
  EXPECT_EQ(GreyPixels(Pic.get()), Before);

  TIEBitmap Rgb(4, 4, ie24RGB);
  Rgb.Fill(0);
  static_cast<Byte*>(Rgb.GetScanline(1))[4] = 255;
  IEBlurChannel(&Rgb, 0, 0, 3, 3, 2);
  EXPECT_EQ(static_cast<Byte*>(Rgb.GetScanline(1))[4], 255);
  EXPECT_EQ(static_cast<Byte*>(Rgb.GetScanline(1))[1], 0);
}

TEST(TBlurTest, FileBackedPicturesBlurToTheSameBytes) {
  auto Pattern = [](Integer X, Integer Y) { return ((X / 3 + Y / 2) % 2) * 255; };
  auto InMemory = GreyPicture(40, 30, Pattern);
  IEBlurChannel(InMemory.get(), 2, 1, 37, 28, 2.5);
  TFileBitmapsGuard ToFiles;
  auto InFile = GreyPicture(40, 30, Pattern);
  ASSERT_EQ(InFile->GetLocation(), ieFile);
  IEBlurChannel(InFile.get(), 2, 1, 37, 28, 2.5);
  EXPECT_EQ(GreyPixels(InFile.get()), GreyPixels(InMemory.get()));
}

}  // namespace
