#include <gtest/gtest.h>

#include <climits>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieutilsbits.h"

namespace {

TEST(UtilsBits, GetAndSetAddressTheMostSignificantBitFirst) {
  Byte Row[2] = {0x80, 0x00};
  EXPECT_TRUE(IEUtilsGetBit(Row, 0));
  EXPECT_FALSE(IEUtilsGetBit(Row, 7));
  IEUtilsSetBit(Row, 9, true);
  EXPECT_EQ(Row[1], 0x40);
  IEUtilsSetBit(Row, 15, true);
  IEUtilsSetBit(Row, 9, false);
  EXPECT_EQ(Row[1], 0x01);
  EXPECT_EQ(Row[0], 0x80);
  EXPECT_TRUE(IEUtilsGetBit(Row, 15));
}

TEST(UtilsBits, MaskWidthAndEnd) {
  struct TCase {
    Cardinal Mask;
    Integer Width, End;
  };
  const TCase Cases[] = {
      {0x00000000, 0, -1}, {0x000000F0, 4, 8}, {0x00000F0F, 4, 12}, {0xFFFFFFFF, 32, 32},
      {0x00000400, 1, 10}, {0x0000001F, 5, 5}, {0x0000F800, 5, 16}, {0x000007E0, 6, 11},
      {0x80000000, 1, 31}, {0x00000001, 1, 0},
  };
  for (const TCase& Case : Cases) {
    EXPECT_EQ(IEBitMaskWidth(Case.Mask), Case.Width) << std::hex << Case.Mask;
    EXPECT_EQ(IEBitMaskEnd(Case.Mask), Case.End) << std::hex << Case.Mask;
  }
}

TEST(UtilsBits, ReversesBitOrder) {
  const std::pair<Byte, Byte> Bytes[] = {
      {0x01, 0x80}, {0x80, 0x01}, {0x0F, 0xF0}, {0xA0, 0x05}, {0x00, 0x00}};
  for (auto [In, Out] : Bytes) {
    Byte B = In;
    IEReverseBits8(B);
    EXPECT_EQ(B, Out) << int(In);
  }
  const std::pair<Cardinal, Cardinal> Words[] = {{1, 0x80000000u},
                                                 {6, 0x60000000u},
                                                 {0x80000000u, 1},
                                                 {0x12345678u, 0x1E6A2C48u},
                                                 {0xFFFF0000u, 0x0000FFFFu}};
  for (auto [In, Out] : Words) {
    Cardinal V = In;
    IEReverseBits32(V);
    EXPECT_EQ(V, Out) << std::hex << In;
  }
}

TEST(UtilsBits, ColorCount) {
  EXPECT_EQ(IEColorCount(8, 3), 16777216);
  EXPECT_EQ(IEColorCount(1, 1), 2);
  EXPECT_EQ(IEColorCount(4, 0), 1);
  EXPECT_EQ(IEColorCount(5, 6), 1 << 30);
  EXPECT_EQ(IEColorCount(8, 4), INT_MAX) << "2^32 colours do not fit";
  EXPECT_EQ(IEColorCount(16, 3), INT_MAX);
}

TEST(UtilsBits, RowLengths) {
  struct TCase {
    Integer Width, Bits, Align;
    Int64 Bytes;
  };
  const TCase Cases[] = {
      {3, 24, 32, 12},
      {10, 1, 32, 4},
      {10, 1, 8, 2},
      {5, 4, 16, 4},
      {4, 24, 32, 12},
      {1, 32, 32, 4},
      {0, 24, 32, 0},
      {33, 1, 32, 8},
      {3, 24, 8, 9},
      {9, 1, 0, 2},
      {9, 1, 4, 2},
      // Width x bits beyond 32 bits must not wrap.
      {200000000, 24, 32, 600000000},
      {INT_MAX, 32, 32, Int64(INT_MAX) * 4},
      {INT_MAX, 48, 8, Int64(INT_MAX) * 6},
  };
  for (const TCase& Case : Cases)
    EXPECT_EQ(IEBitmapRowLen(Case.Width, Case.Bits, Case.Align), Case.Bytes)
        << Case.Width << " x " << Case.Bits << " aligned to " << Case.Align;
}

TEST(UtilsBits, PlatformPixelFormats) {
  struct TCase {
    TPixelFormat Format;
    Integer Bits;
    TIEPixelFormat IEFormat;
    Int64 RowOf5;
  };
  const TCase Cases[] = {
      {pfDevice, 0, ie24RGB, 0},  {pf1bit, 1, ie1g, 4},       {pf4bit, 4, ie8p, 4},
      {pf8bit, 8, ie8p, 8},       {pf15bit, 15, ie24RGB, 12}, {pf16bit, 16, ie24RGB, 12},
      {pf24bit, 24, ie24RGB, 16}, {pf32bit, 32, ie24RGB, 20}, {pfCustom, 0, ie24RGB, 0},
  };
  for (const TCase& Case : Cases) {
    EXPECT_EQ(IEVclPixelFormatToBitCount(Case.Format), Case.Bits) << Case.Format;
    EXPECT_EQ(IEVclPixelFormatToIE(Case.Format), Case.IEFormat) << Case.Format;
    EXPECT_EQ(IETBitmapRowLen(5, Case.Format), Case.RowOf5) << Case.Format;
  }
}

}  // namespace
