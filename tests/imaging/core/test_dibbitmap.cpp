#include <gtest/gtest.h>

#include <cstring>

#include "imaging/core/iedibbitmap.h"
#include "imaging/core/iefilebuffer.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Painting.h"

TEST(DibBitmap, AllocatesBottomUpSectionsOfOneOrTwentyFourBits) {
  TIEDibbitmap Dib;
  EXPECT_FALSE(Dib.Allocate(10, 10, ie8g));
  ASSERT_TRUE(Dib.Allocate(10, 4, ie24RGB));
  EXPECT_EQ(Dib.GetRowLen(), 32);
  EXPECT_EQ(Dib.GetPixelFormat(), ie24RGB);
  EXPECT_EQ(Dib.GetDrawInfo().bmiHeader.biHeight, 4);
  EXPECT_EQ(Dib.GetDrawInfo().bmiHeader.biSizeImage, 128u);
  EXPECT_EQ(Dib.GetScanline(0), Dib.GetBits() + 3 * 32);
  EXPECT_EQ(Dib.GetScanline(3), Dib.GetBits());
  ASSERT_TRUE(Dib.Allocate(33, 2, ie1g));
  EXPECT_EQ(Dib.GetRowLen(), 8);
  EXPECT_EQ(Dib.GetBitCount(), 1);
  EXPECT_EQ(Dib.GetPixelFormat(), ie1g);
  const RGBQUAD White{255, 255, 255, 0};
  EXPECT_EQ(Dib.GetDrawInfo().bmiColors[0], RGBQUAD{});
  EXPECT_EQ(Dib.GetDrawInfo().bmiColors[1], White);
}

TEST(DibBitmap, SystemDrawingReachesTheRows) {
  TIEDibbitmap Dib;
  ASSERT_TRUE(Dib.AllocateBits(4, 3, 24));
  ASSERT_NE(Dib.GetDeviceContext(), nullptr);
  EXPECT_EQ(GetCurrentObject(Dib.GetDeviceContext(), OBJ_BITMAP), static_cast<HGDIOBJ>(Dib.GetDibSection()));
  SetPixel(Dib.GetDeviceContext(), 1, 0, RGB(10, 20, 30));
  const Byte* Row0 = static_cast<Byte*>(Dib.GetScanline(0));
  EXPECT_EQ(Row0[3], 30);  // blue
  EXPECT_EQ(Row0[4], 20);
  EXPECT_EQ(Row0[5], 10);
}

TEST(DibBitmap, EmptySizeRefusedWithoutLosingTheSection) {
  TIEDibbitmap Dib;
  ASSERT_TRUE(Dib.AllocateBits(2, 2, 24));
  Byte* Bits = Dib.GetBits();
  EXPECT_FALSE(Dib.AllocateBits(0, 5, 24));
  EXPECT_FALSE(Dib.AllocateBits(5, -1, 24));
  EXPECT_EQ(Dib.GetBits(), Bits);
  EXPECT_EQ(Dib.GetWidth(), 2);
}

TEST(DibBitmap, FailedSectionLeavesTheBitmapEmpty) {
  TIEDibbitmap Dib;
  ASSERT_TRUE(Dib.AllocateBits(2, 2, 24));
  EXPECT_FALSE(Dib.AllocateBits(2, 2, 7));  // no such DIB depth
  EXPECT_EQ(Dib.GetWidth(), 0);
  EXPECT_EQ(Dib.GetHeight(), 0);
  EXPECT_EQ(Dib.GetBitCount(), 0);
  EXPECT_EQ(Dib.GetBits(), nullptr);
  EXPECT_EQ(Dib.GetDeviceContext(), nullptr);
}

TEST(DibBitmap, AssignCopiesOnlyFromAnotherDibBitmap) {
  TIEDibbitmap A, B;
  ASSERT_TRUE(A.AllocateBits(3, 2, 24));
  std::memset(A.GetBits(), 0x5A, 2 * A.GetRowLen());
  B.Assign(&A);
  ASSERT_EQ(B.GetWidth(), 3);
  ASSERT_EQ(B.GetBitCount(), 24);
  EXPECT_NE(B.GetBits(), A.GetBits());
  EXPECT_EQ(std::memcmp(B.GetBits(), A.GetBits(), 2 * A.GetRowLen()), 0);
  TIEWorkBitmap Other(5, 5, 24);
  B.Assign(&Other);
  EXPECT_EQ(B.GetWidth(), 3);
}

TEST(WorkBitmap, AllocatesOnceForTheSameShape) {
  TIEWorkBitmap Empty(0, 10, 24);
  EXPECT_EQ(Empty.GetBits(), nullptr);
  EXPECT_EQ(Empty.GetWidth(), 0);

  TIEWorkBitmap W(5, 3, 24);
  ASSERT_NE(W.GetBits(), nullptr);
  EXPECT_EQ(W.GetRowLen(), 16);
  EXPECT_EQ(W.GetScanline(2), W.GetBits());
  EXPECT_EQ(W.GetScanline(0), static_cast<Byte*>(W.GetBits()) + 32);
  void* Bits = W.GetBits();
  W.Allocate(5, 3, 24);
  EXPECT_EQ(W.GetBits(), Bits);
  W.Allocate(5, 3, 8);
  EXPECT_EQ(W.GetRowLen(), 8);
  EXPECT_EQ(W.GetBitsPerPixel(), 8);
}

TEST(WorkBitmap, FailedAllocationLeavesItEmpty) {
  TIEWorkBitmap W(4, 4, 24);
  IEAllocationFailureHook = [](UInt64) { return true; };
  W.Allocate(8, 8, 24);
  IEAllocationFailureHook = nullptr;
  EXPECT_EQ(W.GetBits(), nullptr);
  EXPECT_EQ(W.GetWidth(), 0);
  EXPECT_EQ(W.GetHeight(), 0);
  EXPECT_EQ(W.GetRowLen(), 0);
}

TEST(DibBitmap, BitmapCopiesItsRows) {
  TIEDibbitmap Dib;
  ASSERT_TRUE(Dib.AllocateBits(3, 2, 24));
  for (Integer Y = 0; Y < 2; ++Y)
    for (Integer I = 0; I < 9; ++I) static_cast<Byte*>(Dib.GetScanline(Y))[I] = static_cast<Byte>(Y * 9 + I);
  TIEBitmap Bitmap;
  Bitmap.CopyFromTIEDibBitmap(&Dib);
  ASSERT_EQ(Bitmap.GetPixelFormat(), ie24RGB);
  ASSERT_EQ(Bitmap.GetWidth(), 3);
  EXPECT_EQ(std::memcmp(Bitmap.GetScanline(1), Dib.GetScanline(1), 9), 0);
  EXPECT_EQ(Bitmap.GetPixel24(0, 1), (TIERGBTriple{9, 10, 11}));

  TIEDibbitmap Mono;
  ASSERT_TRUE(Mono.AllocateBits(9, 1, 1));
  static_cast<Byte*>(Mono.GetScanline(0))[0] = 0xA5;
  static_cast<Byte*>(Mono.GetScanline(0))[1] = 0x80;
  Bitmap.CopyFromTIEDibBitmap(&Mono);
  ASSERT_EQ(Bitmap.GetPixelFormat(), ie1g);
  EXPECT_EQ(static_cast<Byte*>(Bitmap.GetScanline(0))[0], 0xA5);
  EXPECT_EQ(static_cast<Byte*>(Bitmap.GetScanline(0))[1], 0x80);

  Bitmap.CopyFromTIEDibBitmap(nullptr);
  EXPECT_EQ(Bitmap.GetWidth(), 9);
}

TEST(DibBitmap, PlatformBitmapStorageTakesTheDibsDepth) {
  TIEDibbitmap Dib;
  ASSERT_TRUE(Dib.AllocateBits(2, 2, 24));
  std::memset(Dib.GetBits(), 0x33, 2 * Dib.GetRowLen());
  TIEBitmap Bitmap;
  Bitmap.SetLocation(ieTBitmap);
  Bitmap.CopyFromTIEDibBitmap(&Dib);
  EXPECT_EQ(Bitmap.GetLocation(), ieTBitmap);
  EXPECT_EQ(Bitmap.GetPixelFormat(), ie24RGB);
  EXPECT_EQ(Bitmap.GetPixel24(1, 1), (TIERGBTriple{0x33, 0x33, 0x33}));
}
