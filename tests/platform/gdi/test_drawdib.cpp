#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/gdi/DrawDib.h"
#include "tests/platform/gdi/GdiTestUtil.h"

namespace {

// A packed 24-bit DIB (header, then rows) whose pixel (X, Y), counted from the top, is Colors[Y][X].
struct TPackedDib {
  std::vector<Byte> Data;
  BITMAPINFOHEADER* Header() { return reinterpret_cast<BITMAPINFOHEADER*>(Data.data()); }
  Byte* Bits() { return Data.data() + sizeof(BITMAPINFOHEADER); }

  TPackedDib(std::initializer_list<std::initializer_list<COLORREF>> Colors, bool BottomUp) {
    const Integer H = static_cast<Integer>(Colors.size());
    const Integer W = static_cast<Integer>(Colors.begin()->size());
    const Integer RowBytes = DibRowBytes(W, 24);
    Data.assign(sizeof(BITMAPINFOHEADER) + RowBytes * H, 0);
    BITMAPINFOHEADER Hd;
    Hd.biWidth = W;
    Hd.biHeight = BottomUp ? H : -H;
    Hd.biBitCount = 24;
    std::memcpy(Data.data(), &Hd, sizeof(Hd));
    Integer Y = 0;
    for (const auto& Row : Colors) {
      Byte* P = Bits() + RowBytes * (BottomUp ? H - 1 - Y : Y);
      for (COLORREF C : Row) {
        *P++ = GetBValue(C);
        *P++ = GetGValue(C);
        *P++ = GetRValue(C);
      }
      ++Y;
    }
  }
};

constexpr COLORREF Red = 0x0000FF, Green = 0x00FF00, Blue = 0xFF0000, Black = 0;

class DrawDib : public ::testing::Test {
 protected:
  HDRAWDIB Dd = DrawDibOpen();
  ~DrawDib() override { DrawDibClose(Dd); }
};

}  // namespace

TEST_F(DrawDib, DrawsUprightWhateverTheRowOrder) {
  for (bool BottomUp : {true, false}) {
    TPackedDib Dib({{Red, Green}, {Blue, Black}}, BottomUp);
    TTestCanvas C(4, 4);
    ASSERT_TRUE(DrawDibDraw(Dd, C.DC, 1, 1, 2, 2, Dib.Header(), Dib.Bits(), 0, 0, 2, 2, 0));
    EXPECT_EQ(C.At(1, 1), Red) << BottomUp;
    EXPECT_EQ(C.At(2, 1), Green) << BottomUp;
    EXPECT_EQ(C.At(1, 2), Blue) << BottomUp;
    EXPECT_EQ(C.At(2, 2), Black) << BottomUp;
    EXPECT_EQ(C.At(0, 0), 0xFFFFFFu) << BottomUp;
    EXPECT_EQ(C.At(3, 3), 0xFFFFFFu) << BottomUp;
  }
}

TEST_F(DrawDib, SourceRectangleCountsFromTheTop) {
  for (bool BottomUp : {true, false}) {
    TPackedDib Dib({{Red, Green}, {Blue, Black}}, BottomUp);
    TTestCanvas C(2, 2);
    ASSERT_TRUE(DrawDibDraw(Dd, C.DC, 0, 0, 1, 1, Dib.Header(), Dib.Bits(), 1, 0, 1, 1, 0));
    EXPECT_EQ(C.At(0, 0), Green) << BottomUp;
    ASSERT_TRUE(DrawDibDraw(Dd, C.DC, 0, 0, 1, 1, Dib.Header(), Dib.Bits(), 0, 1, 1, 1, 0));
    EXPECT_EQ(C.At(0, 0), Blue) << BottomUp;
  }
}

TEST_F(DrawDib, StretchesByDroppingPixelsUnlessHalftoneIsAsked) {
  TPackedDib Dib({{Black, 0xFFFFFF}}, true);
  TTestCanvas Wide(4, 1);
  ASSERT_TRUE(DrawDibDraw(Dd, Wide.DC, 0, 0, 4, 1, Dib.Header(), Dib.Bits(), 0, 0, 2, 1, 0));
  EXPECT_EQ(Wide.At(1, 0), Black);
  EXPECT_EQ(Wide.At(2, 0), 0xFFFFFFu);
  TTestCanvas C(1, 1);
  SetStretchBltMode(C.DC, HALFTONE);  // the DC's own mode plays no part and survives the call
  ASSERT_TRUE(DrawDibDraw(Dd, C.DC, 0, 0, 1, 1, Dib.Header(), Dib.Bits(), 0, 0, 2, 1, 0));
  EXPECT_EQ(C.At(0, 0), Black);
  EXPECT_EQ(GetStretchBltMode(C.DC), HALFTONE);
  ASSERT_TRUE(DrawDibDraw(Dd, C.DC, 0, 0, 1, 1, Dib.Header(), Dib.Bits(), 0, 0, 2, 1, DDF_HALFTONE));
  EXPECT_NE(C.At(0, 0), Black);
  EXPECT_NE(C.At(0, 0), 0xFFFFFFu);
}

TEST_F(DrawDib, MinusOneTakesThePictureSizeAndNullBitsFollowTheHeader) {
  TPackedDib Dib({{Red, Green, Blue}, {Blue, Green, Red}}, true);
  TTestCanvas C(4, 3);
  ASSERT_TRUE(DrawDibDraw(Dd, C.DC, 0, 0, -1, -1, Dib.Header(), nullptr, 0, 0, 3, 2, 0));
  EXPECT_EQ(C.At(0, 0), Red);
  EXPECT_EQ(C.At(2, 0), Blue);
  EXPECT_EQ(C.At(0, 1), Blue);
  EXPECT_EQ(C.At(3, 0), 0xFFFFFFu);
  EXPECT_EQ(C.At(0, 2), 0xFFFFFFu);
}

TEST_F(DrawDib, PaletteDibWithItsColourTableInFront) {
  // Two colours (biClrUsed 2), one byte per pixel: the bits start after the two entries.
  std::vector<Byte> Data(sizeof(BITMAPINFOHEADER) + 2 * sizeof(RGBQUAD) + 4, 0);
  BITMAPINFOHEADER Hd;
  Hd.biWidth = 2;
  Hd.biHeight = 1;
  Hd.biBitCount = 8;
  Hd.biClrUsed = 2;
  std::memcpy(Data.data(), &Hd, sizeof(Hd));
  const RGBQUAD Table[2] = {{0, 0, 255, 0}, {255, 0, 0, 0}};
  std::memcpy(Data.data() + sizeof(Hd), Table, sizeof(Table));
  Data[sizeof(Hd) + sizeof(Table)] = 1;
  TTestCanvas C(2, 1);
  ASSERT_TRUE(DrawDibDraw(Dd, C.DC, 0, 0, 2, 1, reinterpret_cast<BITMAPINFOHEADER*>(Data.data()), nullptr, 0,
                          0, 2, 1, 0));
  EXPECT_EQ(C.At(0, 0), Blue);
  EXPECT_EQ(C.At(1, 0), Red);
}

TEST_F(DrawDib, RefusalsAndFlagsThatDrawNothing) {
  TPackedDib Dib({{Red}}, true);
  TTestCanvas C(1, 1);
  EXPECT_TRUE(DrawDibDraw(Dd, C.DC, 0, 0, 1, 1, Dib.Header(), Dib.Bits(), 0, 0, 1, 1, DDF_DONTDRAW));
  EXPECT_FALSE(DrawDibDraw(Dd, C.DC, 0, 0, 1, 1, Dib.Header(), Dib.Bits(), 0, 0, 1, 1, DDF_UPDATE));
  EXPECT_FALSE(DrawDibDraw(Dd, nullptr, 0, 0, 1, 1, Dib.Header(), Dib.Bits(), 0, 0, 1, 1, 0));
  EXPECT_FALSE(DrawDibDraw(Dd, C.DC, 0, 0, 1, 1, nullptr, Dib.Bits(), 0, 0, 1, 1, 0));
  EXPECT_EQ(C.At(0, 0), 0xFFFFFFu);
  EXPECT_EQ(DrawDibRealize(Dd, C.DC, FALSE), 0u);

  HDRAWDIB Other = DrawDibOpen();
  EXPECT_TRUE(DrawDibClose(Other));
  EXPECT_FALSE(DrawDibClose(Other));
  EXPECT_FALSE(DrawDibDraw(Other, C.DC, 0, 0, 1, 1, Dib.Header(), Dib.Bits(), 0, 0, 1, 1, 0));
  EXPECT_EQ(C.At(0, 0), 0xFFFFFFu);
}
