// The core's small pixel services: bit copies of 1-bit rows, clamping, coordinate order and
// byte order of colours.
#include <gtest/gtest.h>

#include <vector>

#include "imaging/core/ieprocbase.h"
#include "platform/classes/Bitmap.h"

namespace {

TEST(IEProcBase, CopyBitsMatchesTheBitByBitCopyAtEveryOffset) {
  std::vector<Byte> Source(9);
  for (size_t I = 0; I < Source.size(); ++I) Source[I] = static_cast<Byte>(0x5A ^ (I * 37));
  for (Integer DestBit = 0; DestBit < 9; ++DestBit)
    for (Integer SourceBit = 0; SourceBit < 9; ++SourceBit)
      for (Integer Count : {0, 1, 5, 7, 8, 13, 40, 63}) {
        if (SourceBit + Count > 72) continue;
        std::vector<Byte> Fast(10, 0xC3), Slow(10, 0xC3);
        IECopyBits(Fast.data(), Source.data(), DestBit, SourceBit, Count, 9);
        IECopyBitsOneByOne(Slow.data(), Source.data(), DestBit, Count, SourceBit);
        ASSERT_EQ(Fast, Slow) << "dest " << DestBit << " source " << SourceBit << " count " << Count;
      }
}

TEST(IEProcBase, CopyBitsReadsNoFurtherThanTheSourceRow) {
  // The row ends with the last bit copied (the sanitizer build sees any read past it).
  const std::vector<Byte> Row = {0x00, 0xC0};
  Byte Dest[2] = {0x00, 0x00};
  IECopyBits(Dest, Row.data(), 3, 9, 7, static_cast<Integer>(Row.size()));
  EXPECT_EQ(Dest[0], 0x10);
  EXPECT_EQ(Dest[1], 0x00);
}

TEST(IEProcBase, ClampOrderAndSmallHelpers) {
  EXPECT_EQ(IEClamp(-3, 0, 10), 0);
  EXPECT_EQ(IEClamp(12, 0, 10), 10);
  EXPECT_EQ(IEClamp(5, 7, 3), 7);  // Lo wins over Hi
  EXPECT_EQ(IEClampByte(300), 255);
  EXPECT_EQ(IEClampByte(-1), 0);
  EXPECT_EQ(IEMin(2, -2), -2);
  EXPECT_EQ(IEMax(2, -2), 2);
  Integer X1 = 9, Y1 = 1, X2 = 3, Y2 = 4;
  IEOrderCoords(X1, Y1, X2, Y2);
  EXPECT_EQ(X1, 3);
  EXPECT_EQ(X2, 9);
  EXPECT_EQ(Y1, 1);
  EXPECT_EQ(Y2, 4);
  const Byte Row[] = {0x40};
  EXPECT_TRUE(IEGetBit(Row, 1));
  EXPECT_FALSE(IEGetBit(Row, 0));
}

TEST(IEProcBase, ColoursAreStoredBlueGreenRed) {
  EXPECT_EQ(IEMakeRGB(1, 2, 3), (TIERGBTriple{3, 2, 1}));
  EXPECT_EQ(IEColorToRGB(0x030201), (TIERGBTriple{3, 2, 1}));
  Byte Pixels[] = {1, 2, 3, 4, 5, 6};
  IESwapRedBlue(Pixels, 2);
  EXPECT_EQ(Pixels[0], 3);
  EXPECT_EQ(Pixels[5], 4);
  TIERGBTriple Palette[] = {{1, 2, 3}};
  IESwapRedBlueTriples(Palette, 99, 1);
  EXPECT_EQ(Palette[0], (TIERGBTriple{3, 2, 1}));
}

}  // namespace

TEST(IEProcBase, CopyTBitmapTakesSizeFormatAndRowsAndAnEmptySourceLeavesOnePixel) {
  TBitmap Source, Dest;
  Source.SetPixelFormat(pf8bit);
  Source.SetSize(5, 3);
  for (Integer Y = 0; Y < 3; ++Y)
    for (Integer X = 0; X < 5; ++X)
      static_cast<Byte*>(Source.GetScanLine(Y))[X] = static_cast<Byte>(Y * 5 + X);
  Dest.SetPixelFormat(pf24bit);
  Dest.SetSize(9, 9);
  IECopyTBitmap(&Source, &Dest);
  ASSERT_EQ(Dest.GetWidth(), 5);
  ASSERT_EQ(Dest.GetHeight(), 3);
  EXPECT_EQ(Dest.GetPixelFormat(), pf8bit);
  for (Integer Y = 0; Y < 3; ++Y) EXPECT_EQ(static_cast<Byte*>(Dest.GetScanLine(Y))[4], Y * 5 + 4);

  TBitmap Empty;
  Empty.SetPixelFormat(pf1bit);
  IECopyTBitmap(&Empty, &Dest);
  EXPECT_EQ(Dest.GetWidth(), 1);
  EXPECT_EQ(Dest.GetHeight(), 1);
  EXPECT_EQ(Dest.GetPixelFormat(), pf1bit);
}
