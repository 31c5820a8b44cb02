// The skin bitmap: sizing, pixel access, the colour key, the row kernels and pixel transfers
// between skin bitmaps.
#include <gtest/gtest.h>

#include <vector>

#include "platform/classes/Bitmap.h"
#include "skin/data/bsEffects.h"

namespace {

// Every pixel its own value: 0xFF, column, row, 0x40.
void FillUnique(TbsBitmap& B) {
  for (Integer Y = 0; Y < B.GetHeight(); ++Y)
    for (Integer X = 0; X < B.GetWidth(); ++X) B.SetPixel(X, Y, 0xFF000040 | (X << 16) | (Y << 8));
}

TEST(BsBitmapTest, SizingKeepsPixelsUnlessTheSizeChanges) {
  TbsBitmap B;
  EXPECT_TRUE(B.Empty());
  EXPECT_EQ(B.GetPixel(0, 0), 0u);
  B.SetSize(-10, 5);
  ASSERT_FALSE(B.Empty());
  EXPECT_EQ(B.GetWidth(), 10);
  EXPECT_EQ(B.GetHeight(), 5);
  EXPECT_EQ(B.GetBitmapInfo().bmiHeader.biHeight, -5);
  EXPECT_EQ(B.GetPixel(3, 3), 0u);
  B.SetPixel(3, 3, 0x12345678);
  B.SetSize(0, 5);
  B.SetSize(10, 5);
  EXPECT_EQ(B.GetPixel(3, 3), 0x12345678u);
  B.SetPixel(10, 0, 1);  // outside: nothing written
  B.SetPixel(-1, 0, 1);
  EXPECT_EQ(B.GetPixel(10, 0), 0u);
  EXPECT_EQ(B.GetPixel(0, 1), 0u);
  EXPECT_EQ(B.GetPixel(9, 0), 0u);
  EXPECT_EQ(*B.GetPixelPtr(3, 3), 0x12345678u);
}

TEST(BsBitmapTest, RegistryForgetsDestroyedBitmaps) {
  HDC LastDC = nullptr;
  {
    TbsBitmap B;
    B.SetSize(4, 4);
    B.SetSize(8, 2);
    B.SetSize(3, 3);
    LastDC = B.GetDC();
    EXPECT_EQ(FindBitmapByDC(LastDC), &B);
  }
  EXPECT_EQ(FindBitmapByDC(LastDC), nullptr);
}

TEST(BsBitmapTest, KeyTransparentColorToleratesFiveLevels) {
  struct TCase {
    TbsPixel Pixel;
    bool Marked;
  };
  const std::vector<TCase> Cases{
      {0xFF84057A, true}, {0xFF85057A, false}, {0x007A0084, true}, {0xFF7F067F, false}};
  for (const TCase& C : Cases) {
    TbsBitmap B;
    B.SetSize(1, 1);
    B.SetPixel(0, 0, C.Pixel);
    B.KeyTransparentColor(bsTransparentKey);
    EXPECT_EQ(B.GetTransparent(), C.Marked) << std::hex << C.Pixel;
    EXPECT_EQ(B.GetPixel(0, 0), C.Marked ? bsTransparentPixel : C.Pixel);
  }
}

TEST(BsBitmapTest, FillRectBlendsOnlyWithAlphaBlend) {
  TbsBitmap B;
  B.SetSize(4, 4);
  B.FillRect(Rect(-5, -5, 50, 50), 0xFF102030);
  B.SetAlphaBlend(true);
  B.FillRect(Rect(0, 0, 4, 4), bsTransparentKey);  // alpha 0: nothing changes
  EXPECT_EQ(B.GetPixel(2, 2), 0xFF102030u);
  B.SetAlphaBlend(false);
  B.FillRect(Rect(1, 1, 3, 2), bsTransparentKey);
  EXPECT_EQ(B.GetPixel(1, 1), bsTransparentKey);
  EXPECT_EQ(B.GetPixel(2, 1), bsTransparentKey);
  EXPECT_EQ(B.GetPixel(3, 1), 0xFF102030u);  // right edge excluded
  EXPECT_EQ(B.GetPixel(1, 2), 0xFF102030u);  // bottom edge excluded
}

TEST(BsKernelTest, BlendLineWeighsTheDestinationBy256MinusAlpha) {
  const std::vector<TbsPixel> Src{0x80C86400, 0x00FFFFFF, 0xFF123456, 0x40FFFFFF, 0x01FFFFFF};
  std::vector<TbsPixel> Dst{0x00000000, 0xFF010203, 0x00000000, 0xFF000000, 0x00000000, 0xAABBCCDD};
  BlendLine(Src.data(), Dst.data(), 5);
  EXPECT_EQ(Dst[0], 0x40643200u);  // (200, 100, 0) at 128 over 0: (100, 50, 0), alpha 64
  EXPECT_EQ(Dst[1], 0xFF010203u);  // alpha 0 leaves the destination
  EXPECT_EQ(Dst[2], 0xFF123456u);  // alpha 255 copies
  // 255 * 64 + 0 * 192 = 16320 >> 8 = 63; alpha 64 * 64 + 255 * 192 = 53056 >> 8 = 207.
  EXPECT_EQ(Dst[3], 0xCF3F3F3Fu);
  EXPECT_EQ(Dst[4], 0x00000000u);  // 255 * 1 >> 8 = 0
  EXPECT_EQ(Dst[5], 0xAABBCCDDu);  // past the count
  BlendLine(Src.data(), Dst.data(), 0);
  BlendLine(Src.data(), Dst.data(), -3);
}

TEST(BsKernelTest, RowKernels) {
  std::vector<TbsPixel> Row{1, 2, 0xAA7F007F, 4};
  std::vector<TbsPixel> Dst(4, 9);
  ColorKeyLine(Row.data(), Dst.data(), 4);
  EXPECT_EQ(Dst, (std::vector<TbsPixel>{0xFF000001, 0xFF000002, 9, 0xFF000004}));
  SetAlphaLine(Dst.data(), 2, 0x33);
  EXPECT_EQ(Dst[0], 0x33000001u);
  EXPECT_EQ(Dst[2], 9u);
  std::vector<TbsPixel> Grid(4 * 3, 0);
  FillRectLongwords(Grid.data(), 4, 3, 1, 0, 2, 1, 7);  // both ends inclusive
  EXPECT_EQ(Grid, (std::vector<TbsPixel>{0, 7, 7, 0, 0, 7, 7, 0, 0, 0, 0, 0}));
  EXPECT_EQ(ColorToPixel(0x00336699), 0xFF996633u);
}

TEST(BsBitmapTest, SameSizeTransferIsClippedToTheTarget) {
  TbsBitmap Src, Dst;
  Src.SetSize(6, 4);
  FillUnique(Src);
  Dst.SetSize(5, 5);
  Src.DrawRectToBitmap(&Dst, -1, 3, Rect(1, 0, 5, 3));
  EXPECT_EQ(Dst.GetPixel(0, 3), Src.GetPixel(2, 0));
  EXPECT_EQ(Dst.GetPixel(2, 4), Src.GetPixel(4, 1));
  EXPECT_EQ(Dst.GetPixel(3, 3), 0u);
  EXPECT_EQ(Dst.GetPixel(0, 2), 0u);
}

TEST(BsBitmapTest, ScaledTransferTakesTheNearestLowerSourcePixel) {
  TbsBitmap Src, Dst;
  Src.SetSize(5, 3);
  FillUnique(Src);
  Dst.SetSize(8, 3);
  Src.DrawToBitmapRect(&Dst, Rect(0, 0, 8, 3), Rect(0, 0, 5, 3));
  // Column i takes Trunc(i * 4 / 7): 0 0 1 1 2 2 3 4.
  const Integer Expected[8] = {0, 0, 1, 1, 2, 2, 3, 4};
  for (Integer I = 0; I < 8; ++I) EXPECT_EQ(Dst.GetPixel(I, 1), Src.GetPixel(Expected[I], 1)) << I;
  // A one-pixel-wide destination takes the middle column.
  TbsBitmap Narrow;
  Narrow.SetSize(1, 3);
  Src.DrawToBitmapRect(&Narrow, Rect(0, 0, 1, 3), Rect(0, 0, 5, 3));
  EXPECT_EQ(Narrow.GetPixel(0, 2), Src.GetPixel(2, 2));
  // A source rectangle past the right edge draws nothing.
  TbsBitmap Untouched;
  Untouched.SetSize(8, 3);
  Src.DrawToBitmapRect(&Untouched, Rect(0, 0, 8, 3), Rect(0, 0, 6, 3));
  EXPECT_EQ(Untouched.GetPixel(0, 0), 0u);
}

TEST(BsBitmapTest, DrawingOnAnotherSkinBitmapsCanvasBlendsPerPixel) {
  TbsBitmap Src, Dst;
  Src.SetSize(2, 1);
  Src.SetPixel(0, 0, 0x80C86400);
  Src.SetPixel(1, 0, 0x00FFFFFF);
  Src.SetAlphaBlend(true);
  Dst.SetSize(3, 1);
  Dst.FillRect(Rect(0, 0, 3, 1), 0xFF000000);
  Src.DrawToCanvas(Dst.GetCanvas(), 1, 0);
  EXPECT_EQ(Dst.GetPixel(1, 0), 0xBF643200u);  // 128 * 128 + 255 * 128 = 49024 >> 8 = 191
  EXPECT_EQ(Dst.GetPixel(2, 0), 0xFF000000u);
  // The colour key skips key pixels and makes the rest opaque.
  Src.SetAlphaBlend(false);
  Src.SetPixel(0, 0, 0x00112233);
  Src.SetPixel(1, 0, bsTransparentPixel);
  Src.SetTransparent(true);
  Src.DrawToBitmap(&Dst, 0, 0);
  EXPECT_EQ(Dst.GetPixel(0, 0), 0xFF112233u);
  EXPECT_EQ(Dst.GetPixel(1, 0), 0xBF643200u);
}

TEST(BsBitmapTest, AssignCopiesPixelsAndModes) {
  TbsBitmap Src;
  Src.SetSize(3, 2);
  FillUnique(Src);
  Src.SetName("glow");
  Src.SetAlphaBlend(true);
  TbsBitmap Copy;
  Copy.Assign(&Src);
  EXPECT_EQ(Copy.GetWidth(), 3);
  EXPECT_EQ(Copy.GetPixel(2, 1), Src.GetPixel(2, 1));
  EXPECT_EQ(Copy.GetName(), "glow");
  EXPECT_TRUE(Copy.GetAlphaBlend());

  // A 32-bit section keeps its alpha and turns blending on when some alpha is partial.
  TBitmap Bmp;
  Bmp.SetPixelFormat(pf32bit);
  Bmp.SetSize(2, 2);
  static_cast<TbsPixel*>(Bmp.GetScanLine(1))[1] = 0x80010203;
  TbsBitmap FromBmp;
  FromBmp.Assign(&Bmp);
  EXPECT_EQ(FromBmp.GetPixel(1, 1), 0x80010203u);
  EXPECT_TRUE(FromBmp.GetAlphaBlend());

  // Out again through the canvas: the copy lands opaque where the source is.
  TBitmap Out;
  Copy.SetAlphaBlend(false);
  Out.Assign(&Copy);  // TBitmap asks the skin bitmap to assign itself
  EXPECT_EQ(Out.GetWidth(), 3);
  EXPECT_EQ(Out.GetCanvas()->GetPixels(2, 1), TColor(0x400102));
}

}  // namespace
