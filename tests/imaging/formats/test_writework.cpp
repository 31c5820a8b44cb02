// The 1-bit form of two-colour pictures that the writers store.
#include <gtest/gtest.h>

#include "imaging/core/iebitmap.h"
#include "imaging/formats/iewritework.h"

namespace {

std::unique_ptr<TIEBitmap> Row(std::initializer_list<TIERGBTriple> Colors) {
  auto B = std::make_unique<TIEBitmap>(static_cast<Integer>(Colors.size()), 1, ie24RGB);
  Integer X = 0;
  for (const TIERGBTriple& C : Colors) B->SetPixel24(X++, 0, C);
  return B;
}

Byte FirstByte(TIEBitmap& B) {
  return *static_cast<const Byte*>(B.GetScanline(0));
}

constexpr TIERGBTriple White{255, 255, 255}, Red{0, 0, 255}, Blue{255, 0, 0};

}  // namespace

TEST(TwoColors, TheDarkerColourGetsTheClearBits) {
  TIERGBTriple Dark, Light;
  auto B = Row({White, Red, White, Red});
  auto Bits = IETwoColorsTo1Bit(B.get(), Dark, Light);
  ASSERT_TRUE(Bits);
  EXPECT_EQ(Dark, Red);
  EXPECT_EQ(Light, White);
  EXPECT_EQ(FirstByte(*Bits) & 0xF0, 0xA0);
}

TEST(TwoColors, OneOrThreeColoursGiveNothing) {
  TIERGBTriple Dark, Light;
  auto One = Row({Red, Red});
  EXPECT_FALSE(IETwoColorsTo1Bit(One.get(), Dark, Light));
  auto Three = Row({Red, White, Blue});
  EXPECT_FALSE(IETwoColorsTo1Bit(Three.get(), Dark, Light));
}

TEST(TwoColors, ColoursOfOneRoundedGreyLevelKeepTheirOrder) {
  // Grey sums 10032 and 10020 both round to level 100: the first colour stays the dark one.
  const TIERGBTriple First{0, 141, 1}, Second{10, 140, 0};
  TIERGBTriple Dark, Light;
  auto B = Row({First, Second});
  auto Bits = IETwoColorsTo1Bit(B.get(), Dark, Light);
  ASSERT_TRUE(Bits);
  EXPECT_EQ(Dark, First);
  EXPECT_EQ(FirstByte(*Bits) & 0xC0, 0x40);
}
