#include <gtest/gtest.h>

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

}  // namespace
