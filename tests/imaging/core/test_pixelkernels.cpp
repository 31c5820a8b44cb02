// The AVX2 pixel kernels give the plain kernels' bytes, at every width (their tails run the
// plain bodies) and for grey weights the multiply-add cannot take.
#include <gtest/gtest.h>

#include <vector>

#include "imaging/core/iebwconvert.h"
#include "imaging/core/iepixelkernels.h"

namespace {

std::vector<Byte> Noise(size_t Size, Cardinal Seed) {
  std::vector<Byte> Bytes(Size);
  for (Byte& B : Bytes) {
    Seed = Seed * 1103515245u + 12345u;
    B = static_cast<Byte>(Seed >> 16);
  }
  return Bytes;
}

const Integer Widths[] = {0, 1, 7, 8, 10, 11, 16, 18, 19, 20, 33, 34, 35, 64, 66, 100, 1001, 4099};

TEST(PixelKernels, Avx2KernelsMatchThePlainOnes) {
  const TIEPixelKernels* Avx2 = IEAvx2PixelKernels();
  if (!Avx2) GTEST_SKIP() << "no AVX2 on this processor";
  const TIEPixelKernels& Plain = IEPlainPixelKernels();
  const TIEGray8 Weights[] = {{21, 71, 8}, {30, 59, 11}, {200, 10, 0}, {0, 0, 100}};
  for (const Integer Width : Widths) {
    SCOPED_TRACE(Width);
    const std::vector<Byte> Src = Noise(3 * static_cast<size_t>(Width), Width + 1);
    for (const TIEGray8& Gray : Weights) {
      std::vector<Byte> A(Width), B(Width);
      Plain.Rgb24ToGray8(Src.data(), A.data(), Width, Gray);
      Avx2->Rgb24ToGray8(Src.data(), B.data(), Width, Gray);
      EXPECT_EQ(A, B) << Gray.WR;
    }
    std::vector<Byte> A32(4 * Width), B32(4 * Width);
    Plain.Rgb24To32(Src.data(), A32.data(), Width);
    Avx2->Rgb24To32(Src.data(), B32.data(), Width);
    EXPECT_EQ(A32, B32);
    std::vector<Byte> A24(3 * Width), B24(3 * Width);
    Plain.Gray8To24(Src.data(), A24.data(), Width);
    Avx2->Gray8To24(Src.data(), B24.data(), Width);
    EXPECT_EQ(A24, B24);
    for (Integer Y = 0; Y < 8; ++Y) {
      std::vector<Byte> BitsA((Width + 7) / 8), BitsB((Width + 7) / 8);
      Plain.Rgb24ToDither(Src.data(), BitsA.data(), Width, Y, Weights[0]);
      Avx2->Rgb24ToDither(Src.data(), BitsB.data(), Width, Y, Weights[0]);
      EXPECT_EQ(BitsA, BitsB) << Y;
    }
    for (const Integer Threshold : {-1, 0, 90, 255, 256}) {
      std::vector<Byte> BitsA((Width + 7) / 8), BitsB((Width + 7) / 8);
      Plain.Rgb24ToThreshold(Src.data(), BitsA.data(), Width, Threshold, Weights[0]);
      Avx2->Rgb24ToThreshold(Src.data(), BitsB.data(), Width, Threshold, Weights[0]);
      EXPECT_EQ(BitsA, BitsB) << Threshold;
    }
    UInt64 SumsA[3] = {1, 2, 3}, SumsB[3] = {1, 2, 3};
    Plain.SumRgb24(Src.data(), Width, SumsA);
    Avx2->SumRgb24(Src.data(), Width, SumsB);
    EXPECT_EQ(std::vector<UInt64>(SumsA, SumsA + 3), std::vector<UInt64>(SumsB, SumsB + 3));
  }
}

TEST(PixelKernels, PlainKernelsFollowThePixelFormulas) {
  const Integer Width = 2100;  // longer than one block flush of the channel sums
  const std::vector<Byte> Src = Noise(3 * Width, 7);
  const TIEGray8 Gray{21, 71, 8};
  std::vector<Byte> Levels(Width);
  IEPlainPixelKernels().Rgb24ToGray8(Src.data(), Levels.data(), Width, Gray);
  UInt64 Sums[3] = {0, 0, 0};
  IEPlainPixelKernels().SumRgb24(Src.data(), Width, Sums);
  UInt64 Expected[3] = {0, 0, 0};
  for (Integer X = 0; X < Width; ++X) {
    const Byte* P = &Src[3 * X];
    ASSERT_EQ(Levels[X], (P[2] * 21 + P[1] * 71 + P[0] * 8) / 100) << X;
    Expected[0] += P[2];
    Expected[1] += P[1];
    Expected[2] += P[0];
  }
  EXPECT_EQ(std::vector<UInt64>(Sums, Sums + 3), std::vector<UInt64>(Expected, Expected + 3));
  std::vector<Byte> Bits((Width + 7) / 8);
  IEPlainPixelKernels().Rgb24ToDither(Src.data(), Bits.data(), Width, 5, Gray);
  for (Integer X = 0; X < Width; ++X)
    ASSERT_EQ((Bits[X >> 3] >> (7 - (X & 7))) & 1, IEBayer8x8[(X & 7) * 8 + 5] < (Levels[X] >> 2)) << X;
}

TEST(PixelKernels, WordWideDitherAndThresholdMatchThePixelRule) {
  for (const Integer Width : Widths) {
    const std::vector<Byte> Levels = Noise(Width, 3 * Width + 5);
    std::vector<Byte> Bits((Width + 7) / 8 + 1, 0xAA);
    for (Integer Y = 0; Y < 8; ++Y) {
      IEDitherGray8Row(Levels.data(), Bits.data(), Width, Y);
      for (Integer X = 0; X < Width; ++X) {
        const bool Set = (Bits[X >> 3] >> (7 - (X & 7))) & 1;
        ASSERT_EQ(Set, IEBayer8x8[(X & 7) * 8 + Y] < (Levels[X] >> 2)) << Width << ": " << X << "," << Y;
      }
    }
    for (const Integer Threshold : {-5, 0, 1, 128, 255, 256}) {
      IEThresholdGray8Row(Levels.data(), Bits.data(), Width, Threshold);
      for (Integer X = 0; X < Width; ++X) {
        const bool Set = (Bits[X >> 3] >> (7 - (X & 7))) & 1;
        ASSERT_EQ(Set, Levels[X] >= Threshold) << Width << ": " << X << " threshold " << Threshold;
      }
    }
  }
}

}  // namespace
