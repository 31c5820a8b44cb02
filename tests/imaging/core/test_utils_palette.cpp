#include <gtest/gtest.h>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieutilspalette.h"
#include "platform/classes/Bitmap.h"
#include "platform/gdi/Dib.h"

namespace {

TEST(UtilsPalette, GreyPaletteIsWrittenAndRecognised) {
  TBitmap Bitmap;
  Bitmap.SetPixelFormat(pf8bit);
  Bitmap.SetSize(4, 4);
  IESetGrayPalette(&Bitmap);
  EXPECT_TRUE(IEIsGrayPalette(&Bitmap));
  RGBQUAD Entry[1];
  ASSERT_EQ(GetDIBColorTable(Bitmap.GetCanvas()->GetHandle(), 200, 1, Entry), 1u);
  EXPECT_EQ(Entry[0], (RGBQUAD{200, 200, 200, 0}));

  Entry[0].rgbGreen = 201;
  SetDIBColorTable(Bitmap.GetCanvas()->GetHandle(), 200, 1, Entry);
  EXPECT_FALSE(IEIsGrayPalette(&Bitmap));
}

TEST(UtilsPalette, ABitmapWithoutColourTableCountsAsGrey) {
  TBitmap Bitmap;
  Bitmap.SetPixelFormat(pf24bit);
  Bitmap.SetSize(2, 2);
  EXPECT_TRUE(IEIsGrayPalette(&Bitmap));
}

// A pf8bit bitmap whose entry i is (red i, green 255 - i, blue i / 2).
void FillColorTable(TBitmap& Bitmap) {
  RGBQUAD Table[256];
  for (Integer I = 0; I < 256; ++I)
    Table[I] = RGBQUAD{static_cast<BYTE>(I / 2), static_cast<BYTE>(255 - I), static_cast<BYTE>(I), 0};
  SetDIBColorTable(Bitmap.GetCanvas()->GetHandle(), 0, 256, Table);
}

TEST(UtilsPalette, CopiesAnEightBitColourTableIntoAPalettedPicture) {
  TBitmap Bitmap;
  Bitmap.SetPixelFormat(pf8bit);
  Bitmap.SetSize(2, 2);
  FillColorTable(Bitmap);
  TIEBitmap Picture(2, 2, ie8p);
  IECopyTBitmapPalette(&Bitmap, &Picture);
  for (Integer I : {0, 1, 100, 255}) {
    TIERGBTriple Color;
    Picture.GetPaletteColor(I, Color);
    EXPECT_EQ(Color,
              (TIERGBTriple{static_cast<Byte>(I / 2), static_cast<Byte>(255 - I), static_cast<Byte>(I)}))
        << "entry " << I;
  }
}

}  // namespace
