// Native image lists: adding with masks and key colours, drawing transparently, over the list's
// background, as the mask and blended, removing and copying.
#include <gtest/gtest.h>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Painting.h"
#include "platform/user/ImageLists.h"

namespace {

// A 32-bit memory surface of W x H filled with Fill (COLORREF), selected into its own DC.
struct TSurfaceDC {
  HDC DC = CreateCompatibleDC(nullptr);
  HBITMAP Bitmap;
  HGDIOBJ Old;
  TSurfaceDC(Integer W, Integer H, COLORREF Fill) : Bitmap(CreateBitmap(W, H, 1, 32, nullptr)) {
    Old = SelectObject(DC, Bitmap);
    HBRUSH B = CreateSolidBrush(Fill);
    RECT R{0, 0, W, H};
    FillRect(DC, &R, B);
    DeleteObject(B);
  }
  ~TSurfaceDC() {
    SelectObject(DC, Old);
    DeleteObject(Bitmap);
    DeleteDC(DC);
  }
  void Fill(RECT R, COLORREF C) {
    HBRUSH B = CreateSolidBrush(C);
    FillRect(DC, &R, B);
    DeleteObject(B);
  }
  COLORREF At(Integer X, Integer Y) const { return GetPixel(DC, X, Y) & 0xFFFFFF; }
};

constexpr COLORREF Red = 0x0000FF, Blue = 0xFF0000, Fuchsia = 0xFF00FF, White = 0xFFFFFF, Black = 0;

// Two 8 x 8 images: a red 4 x 4 square at (2, 2) on fuchsia, and all blue.
HIMAGELIST TwoImages(UINT Flags) {
  HIMAGELIST L = ImageList_Create(8, 8, Flags, 1, 1);
  TSurfaceDC Strip(16, 8, Fuchsia);
  Strip.Fill({2, 2, 6, 6}, Red);
  Strip.Fill({8, 0, 16, 8}, Blue);
  SelectObject(Strip.DC, Strip.Old);  // the list reads the bitmap itself
  EXPECT_EQ(ImageList_AddMasked(L, Strip.Bitmap, Fuchsia), 0);
  Strip.Old = SelectObject(Strip.DC, Strip.Bitmap);
  return L;
}

}  // namespace

TEST(ImageLists, MaskedImagesDrawTransparentlyOrOverTheBackground) {
  HIMAGELIST L = TwoImages(ILC_MASK | ILC_COLOR32);
  EXPECT_EQ(ImageList_GetImageCount(L), 2);
  Integer Cx = 0, Cy = 0;
  EXPECT_TRUE(ImageList_GetIconSize(L, &Cx, &Cy));
  EXPECT_EQ(Cx, 8);
  TSurfaceDC Dest(20, 20, White);
  EXPECT_TRUE(ImageList_Draw(L, 0, Dest.DC, 4, 4, ILD_NORMAL));
  EXPECT_EQ(Dest.At(4 + 3, 4 + 3), Red);
  EXPECT_EQ(Dest.At(4, 4), White);  // transparent: the key colour's pixels
  EXPECT_EQ(Dest.At(3, 3), White);
  // A background colour fills the transparent pixels of ILD_NORMAL, not of ILD_TRANSPARENT.
  ImageList_SetBkColor(L, 0x00FF00);
  ImageList_Draw(L, 0, Dest.DC, 4, 4, ILD_NORMAL);
  EXPECT_EQ(Dest.At(4, 4), 0x00FF00u);
  EXPECT_EQ(Dest.At(11, 11), 0x00FF00u);
  EXPECT_EQ(Dest.At(12, 12), White);  // the image ends at 4 + 8
  Dest.Fill({0, 0, 20, 20}, White);
  ImageList_Draw(L, 0, Dest.DC, 4, 4, ILD_TRANSPARENT);
  EXPECT_EQ(Dest.At(4, 4), White);
  // The mask: black where the image shows, white where it is transparent.
  ImageList_Draw(L, 0, Dest.DC, 4, 4, ILD_MASK);
  EXPECT_EQ(Dest.At(4, 4), White);
  EXPECT_EQ(Dest.At(7, 7), Black);
  // A bad index draws nothing and fails.
  Dest.Fill({0, 0, 20, 20}, White);
  EXPECT_FALSE(ImageList_Draw(L, 2, Dest.DC, 0, 0, ILD_NORMAL));
  EXPECT_EQ(Dest.At(3, 3), White);
  ImageList_Destroy(L);
}

TEST(ImageLists, BlendingMixesTheHighlightIntoOpaquePixelsOnly) {
  HIMAGELIST L = TwoImages(ILC_MASK | ILC_COLOR32);
  TSurfaceDC Dest(10, 10, White);
  ImageList_DrawEx(L, 1, Dest.DC, 0, 0, 0, 0, CLR_NONE, 0x0000FF, ILD_BLEND50);
  EXPECT_EQ(Dest.At(1, 1), 0x7F007Fu);  // blue and red, half each
  Dest.Fill({0, 0, 10, 10}, White);
  ImageList_DrawEx(L, 0, Dest.DC, 0, 0, 0, 0, CLR_NONE, 0x000000, ILD_BLEND25);
  EXPECT_EQ(Dest.At(3, 3), 0x0000BFu);  // red, a quarter black
  EXPECT_EQ(Dest.At(0, 0), White);      // still transparent
  ImageList_Destroy(L);
}

TEST(ImageLists, RemovingShiftsTheRestAndCopiesAreIndependent) {
  HIMAGELIST L = TwoImages(ILC_MASK | ILC_COLOR32);
  HIMAGELIST Copy = ImageList_Duplicate(L);
  EXPECT_TRUE(ImageList_Remove(L, 0));
  EXPECT_EQ(ImageList_GetImageCount(L), 1);
  TSurfaceDC Dest(10, 10, White);
  ImageList_Draw(L, 0, Dest.DC, 0, 0, ILD_NORMAL);
  EXPECT_EQ(Dest.At(0, 0), Blue);  // the former second image, opaque everywhere
  IMAGEINFO Info;
  EXPECT_TRUE(ImageList_GetImageInfo(L, 0, &Info));
  EXPECT_EQ(TRect(Info.rcImage), (TRect{0, 0, 8, 8}));
  EXPECT_FALSE(ImageList_Remove(L, 5));
  EXPECT_EQ(ImageList_GetImageCount(Copy), 2);
  Dest.Fill({0, 0, 10, 10}, White);
  ImageList_Draw(Copy, 0, Dest.DC, 0, 0, ILD_NORMAL);
  EXPECT_EQ(Dest.At(0, 0), White);
  EXPECT_EQ(Dest.At(3, 3), Red);
  // A new size empties the list; growing past the first allocation keeps the images.
  EXPECT_TRUE(ImageList_SetIconSize(Copy, 4, 4));
  EXPECT_EQ(ImageList_GetImageCount(Copy), 0);
  ImageList_Destroy(Copy);
  for (Integer I = 0; I < 5; ++I) {
    TSurfaceDC One(8, 8, 0x010101 * static_cast<COLORREF>(I * 40));
    SelectObject(One.DC, One.Old);
    EXPECT_EQ(ImageList_Add(L, One.Bitmap, nullptr), I + 1);
    One.Old = SelectObject(One.DC, One.Bitmap);
  }
  ImageList_Draw(L, 0, Dest.DC, 0, 0, ILD_NORMAL);
  EXPECT_EQ(Dest.At(0, 0), Blue);
  ImageList_Draw(L, 5, Dest.DC, 0, 0, ILD_NORMAL);
  EXPECT_EQ(Dest.At(0, 0), 0xA0A0A0u);
  EXPECT_TRUE(ImageList_Destroy(L));
  EXPECT_EQ(ImageList_Create(0, 8, ILC_MASK, 1, 1), nullptr);
}
