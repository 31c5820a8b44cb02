#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"

namespace {

BITMAPINFO Info(Integer W, Integer H, Integer Bpp, DWORD Compression = BI_RGB) {
  BITMAPINFO I;
  I.bmiHeader.biWidth = W;
  I.bmiHeader.biHeight = H;
  I.bmiHeader.biBitCount = static_cast<WORD>(Bpp);
  I.bmiHeader.biCompression = Compression;
  return I;
}

void SetMasks(BITMAPINFO& I, DWORD R, DWORD G, DWORD B) {
  const DWORD M[3] = {R, G, B};
  std::memcpy(I.bmiColors, M, 12);
}

}  // namespace

TEST(DibSection, RowsAreAlignedAndOrderedBySign) {
  struct TCase {
    Integer Bpp;
    Integer Width;
    Integer RowBytes;
  };
  const TCase Cases[] = {{1, 9, 4}, {1, 33, 8}, {4, 9, 8}, {8, 5, 8}, {16, 3, 8}, {24, 5, 16}, {32, 3, 12}};
  for (const TCase& C : Cases) {
    for (Integer Sign : {1, -1}) {
      BITMAPINFO I = Info(C.Width, 4 * Sign, C.Bpp);
      void* Bits = nullptr;
      HBITMAP B = CreateDIBSection(nullptr, &I, DIB_RGB_COLORS, &Bits, nullptr, 0);
      ASSERT_NE(B, nullptr) << C.Bpp;
      Byte* Base = static_cast<Byte*>(Bits);
      const TSurface& S = B->Surface;
      // Bottom-up: row 0 (the top) is the last in memory.
      EXPECT_EQ(S.Row(0), Sign > 0 ? Base + 3 * C.RowBytes : Base) << C.Bpp;
      EXPECT_EQ(S.Row(3), Sign > 0 ? Base : Base + 3 * C.RowBytes) << C.Bpp;
      DIBSECTION D;
      ASSERT_EQ(GetObject(B, sizeof(D), &D), static_cast<Integer>(sizeof(DIBSECTION)));
      EXPECT_EQ(D.dsBm.bmWidthBytes, C.RowBytes);
      EXPECT_EQ(D.dsBm.bmBits, Bits);
      EXPECT_EQ(D.dsBmih.biHeight, 4 * Sign);
      EXPECT_EQ(D.dsBmih.biSizeImage, static_cast<DWORD>(4 * C.RowBytes));
      BITMAP Bm;
      EXPECT_EQ(GetObject(B, sizeof(Bm), &Bm), static_cast<Integer>(sizeof(BITMAP)));
      EXPECT_EQ(Bm.bmHeight, 4);
      EXPECT_TRUE(DeleteObject(B));
    }
  }
}

TEST(DibSection, RejectsBadDescriptions) {
  BITMAPINFO Bad[] = {Info(0, 4, 24),         Info(4, 0, 24),
                      Info(4, 4, 7),          Info(4, 4, 24, BI_BITFIELDS),
                      Info(4, 4, 8, BI_RLE8), Info(100000, 100000, 32)};
  for (BITMAPINFO& I : Bad)
    EXPECT_EQ(CreateDIBSection(nullptr, &I, DIB_RGB_COLORS, nullptr, nullptr, 0), nullptr);
  EXPECT_EQ(CreateDIBSection(nullptr, nullptr, DIB_RGB_COLORS, nullptr, nullptr, 0), nullptr);
}

TEST(DibSection, PixelFormatsMapColours) {
  struct TCase {
    Integer Bpp;
    DWORD Compression;
    DWORD Masks[3];
    COLORREF In;
    DWORD Pixel;
    COLORREF Out;
  };
  const TCase Cases[] = {
      {32, BI_RGB, {}, RGB(1, 2, 3), 0x00010203, RGB(1, 2, 3)},
      {24, BI_RGB, {}, RGB(1, 2, 3), 0x010203, RGB(1, 2, 3)},
      {16, BI_RGB, {}, RGB(255, 128, 8), 0x7C00 | (16 << 5) | 1, RGB(255, 132, 8)},
      {16,
       BI_BITFIELDS,
       {0xF800, 0x07E0, 0x001F},
       RGB(255, 128, 8),
       0xF800 | (32 << 5) | 1,
       RGB(255, 130, 8)},
      {32, BI_BITFIELDS, {0x000000FF, 0x0000FF00, 0x00FF0000}, RGB(1, 2, 3), 0x00030201, RGB(1, 2, 3)},
  };
  for (const TCase& C : Cases) {
    BITMAPINFO I = Info(2, 2, C.Bpp, C.Compression);
    if (C.Compression == BI_BITFIELDS) SetMasks(I, C.Masks[0], C.Masks[1], C.Masks[2]);
    HBITMAP B = CreateDIBSection(nullptr, &I, DIB_RGB_COLORS, nullptr, nullptr, 0);
    ASSERT_NE(B, nullptr);
    EXPECT_EQ(ColorToPixel(B->Surface, C.In), C.Pixel) << C.Bpp;
    EXPECT_EQ(PixelToColor(B->Surface, C.Pixel), C.Out) << C.Bpp;
    DeleteObject(B);
  }
}

TEST(DibSection, IndexedFormatsTakeTheNearestFirstEntry) {
  BITMAPINFO I = Info(8, 1, 4);
  I.bmiHeader.biClrUsed = 3;
  I.bmiColors[0] = {0, 0, 0, 0};
  I.bmiColors[1] = {0, 0, 200, 0};  // red 200
  I.bmiColors[2] = {0, 0, 200, 0};  // the same again: never chosen
  HBITMAP B = CreateDIBSection(nullptr, &I, DIB_RGB_COLORS, nullptr, nullptr, 0);
  ASSERT_NE(B, nullptr);
  EXPECT_EQ(B->Surface.ColorCount, 3);
  EXPECT_EQ(ColorToPixel(B->Surface, RGB(190, 0, 0)), 1u);
  EXPECT_EQ(ColorToPixel(B->Surface, RGB(90, 0, 0)), 0u);
  PutRawPixel(B->Surface, 1, 0, 2);
  PutRawPixel(B->Surface, 2, 0, 1);
  EXPECT_EQ(B->Bits()[0], 0x02);
  EXPECT_EQ(B->Bits()[1], 0x10);
  DeleteObject(B);
}

TEST(DibBits, ConvertBetweenDepthsBothWays) {
  // A 32-bit source with four colours, read back at every depth and written back again.
  HDC DC = CreateCompatibleDC(nullptr);
  BITMAPINFO I32 = Info(5, 2, 32);
  HBITMAP Src = CreateDIBSection(DC, &I32, DIB_RGB_COLORS, nullptr, nullptr, 0);
  const COLORREF Colors[5] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(255, 0, 0), RGB(0, 0, 255),
                              RGB(0, 255, 0)};
  for (Integer X = 0; X < 5; ++X) {
    PutRawPixel(Src->Surface, X, 0, ColorToPixel(Src->Surface, Colors[X]));
    PutRawPixel(Src->Surface, X, 1, ColorToPixel(Src->Surface, Colors[4 - X]));
  }
  for (Integer Bpp : {1, 4, 8, 16, 24, 32}) {
    for (Integer Sign : {1, -1}) {
      BITMAPINFO I = Info(5, 2 * Sign, Bpp);
      const Integer RowBytes = DibRowBytes(5, Bpp);
      std::vector<Byte> Buf(static_cast<std::size_t>(RowBytes) * 2, 0xCC);
      ASSERT_EQ(GetDIBits(DC, Src, 0, 2, Buf.data(), &I, DIB_RGB_COLORS), 2) << Bpp;
      EXPECT_EQ(I.bmiHeader.biSizeImage, static_cast<DWORD>(RowBytes * 2));
      BITMAPINFO Back = I;
      HBITMAP Dst = CreateDIBSection(DC, &I32, DIB_RGB_COLORS, nullptr, nullptr, 0);
      ASSERT_EQ(SetDIBits(DC, Dst, 0, 2, Buf.data(), &Back, DIB_RGB_COLORS), 2) << Bpp;
      for (Integer Y = 0; Y < 2; ++Y)
        for (Integer X = 0; X < 5; ++X) {
          COLORREF Want = Y == 0 ? Colors[X] : Colors[4 - X];
          if (Bpp == 1) Want = (Want == RGB(255, 255, 255)) ? Want : RGB(0, 0, 0);
          EXPECT_EQ(PixelToColor(Dst->Surface, GetRawPixel(Dst->Surface, X, Y)), Want)
              << "bpp " << Bpp << " sign " << Sign << " at " << X << "," << Y;
        }
      DeleteObject(Dst);
    }
  }
  DeleteObject(Src);
  DeleteDC(DC);
}

TEST(DibBits, ScanLinesCountFromTheBottomOfBottomUpDibs) {
  BITMAPINFO I = Info(1, 3, 24);
  HBITMAP B = CreateDIBSection(nullptr, &I, DIB_RGB_COLORS, nullptr, nullptr, 0);
  for (Integer Y = 0; Y < 3; ++Y) PutRawPixel(B->Surface, 0, Y, static_cast<DWORD>(Y + 1));
  Byte Row[4] = {};
  BITMAPINFO Q = Info(1, 3, 24);
  ASSERT_EQ(GetDIBits(nullptr, B, 0, 1, Row, &Q, DIB_RGB_COLORS), 1);
  EXPECT_EQ(Row[0], 3);  // the bottom row
  Q = Info(1, -3, 24);
  ASSERT_EQ(GetDIBits(nullptr, B, 0, 1, Row, &Q, DIB_RGB_COLORS), 1);
  EXPECT_EQ(Row[0], 1);
  // A header query describes the bitmap.
  BITMAPINFO H;
  H.bmiHeader.biBitCount = 0;
  EXPECT_EQ(GetDIBits(nullptr, B, 0, 0, nullptr, &H, DIB_RGB_COLORS), 3);
  EXPECT_EQ(H.bmiHeader.biBitCount, 24);
  EXPECT_EQ(H.bmiHeader.biSizeImage, 12u);
  DeleteObject(B);
}

TEST(Bitmaps, CompatibleBitmapsFollowTheSelectedBitmap) {
  HDC DC = CreateCompatibleDC(nullptr);
  HBITMAP Mono = CreateCompatibleBitmap(DC, 10, 10);
  EXPECT_EQ(Mono->Surface.Bpp, 1);
  BITMAPINFO I = Info(4, 4, 8);
  I.bmiColors[5] = {1, 2, 3, 0};
  HBITMAP Dib = CreateDIBSection(DC, &I, DIB_RGB_COLORS, nullptr, nullptr, 0);
  SelectObject(DC, Dib);
  HBITMAP Same = CreateCompatibleBitmap(DC, 3, 3);
  EXPECT_TRUE(Same->IsDibSection);
  EXPECT_EQ(Same->Surface.Bpp, 8);
  EXPECT_EQ(Same->ColorTable[5], I.bmiColors[5]);
  HBITMAP Screen = CreateCompatibleBitmap(nullptr, 3, 3);
  EXPECT_EQ(Screen->Surface.Bpp, 32);
  EXPECT_FALSE(Screen->IsDibSection);
  BITMAP Bm;
  GetObject(Mono, sizeof(Bm), &Bm);
  EXPECT_EQ(Bm.bmWidthBytes, 2);
  EXPECT_EQ(Bm.bmBits, nullptr);
  EXPECT_EQ(CreateCompatibleBitmap(DC, 0, 5), StockBitmap());
  DeleteDC(DC);
  for (HBITMAP B : {Mono, Dib, Same, Screen}) EXPECT_TRUE(DeleteObject(B));
}

TEST(Bitmaps, CreateBitmapTakesWordAlignedRows) {
  const Byte Bits[] = {0xA0, 0x00, 0x50, 0x00};  // 4x2 monochrome: 1010 / 0101
  HBITMAP B = CreateBitmap(4, 2, 1, 1, Bits);
  ASSERT_NE(B, nullptr);
  EXPECT_EQ(GetRawPixel(B->Surface, 0, 0), 1u);
  EXPECT_EQ(GetRawPixel(B->Surface, 1, 0), 0u);
  EXPECT_EQ(GetRawPixel(B->Surface, 1, 1), 1u);
  Byte Out[4] = {};
  EXPECT_EQ(GetBitmapBits(B, 4, Out), 4);
  EXPECT_EQ(0, std::memcmp(Out, Bits, 4));
  DeleteObject(B);
}

TEST(Bitmaps, CopyImageMakesSectionsAndStretches) {
  BITMAPINFO I = Info(2, 2, 24);
  HBITMAP Src = CreateDIBSection(nullptr, &I, DIB_RGB_COLORS, nullptr, nullptr, 0);
  PutRawPixel(Src->Surface, 1, 0, 0xFF0000);
  auto* Copy =
      static_cast<HBITMAP>(static_cast<HGDIOBJ>(CopyImage(Src, IMAGE_BITMAP, 4, 4, LR_CREATEDIBSECTION)));
  ASSERT_NE(Copy, nullptr);
  EXPECT_TRUE(Copy->IsDibSection);
  EXPECT_EQ(Copy->Surface.Bpp, 24);
  EXPECT_EQ(GetRawPixel(Copy->Surface, 2, 0), 0xFF0000u);
  EXPECT_EQ(GetRawPixel(Copy->Surface, 3, 1), 0xFF0000u);
  EXPECT_EQ(GetRawPixel(Copy->Surface, 1, 1), 0u);
  auto* Ddb = static_cast<HBITMAP>(static_cast<HGDIOBJ>(CopyImage(Src, IMAGE_BITMAP, 0, 0, 0)));
  EXPECT_FALSE(Ddb->IsDibSection);
  EXPECT_EQ(PixelToColor(Ddb->Surface, GetRawPixel(Ddb->Surface, 1, 0)), RGB(255, 0, 0));
  DeleteObject(Copy);
  DeleteObject(Ddb);
  DeleteObject(Src);
}
