// TBitmap32 and the platform's graphics: assignment from 24-bit bitmaps (every finished
// mosaic), other formats, transparency, pictures and icons, and copies back; canvas and font.
#include <gtest/gtest.h>

#include <vector>

#include "platform/classes/Bitmap.h"
#include "platform/classes/Canvas.h"
#include "platform/classes/Graphic.h"
#include "platform/classes/Icon.h"
#include "platform/classes/Metafile.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"
#include "raster/RS32.h"

namespace {
// Writes pixel (X, Y) of a 24-bit bitmap as its scan line holds it: blue, green, red.
void Put24(TBitmap& B, Integer X, Integer Y, Byte R, Byte G, Byte Bl) {
  Byte* P = static_cast<Byte*>(B.GetScanLine(Y)) + X * 3;
  P[0] = Bl;
  P[1] = G;
  P[2] = R;
}
}  // namespace

TEST(RasterAssign, TwentyFourBitRedAndBlue) {
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(2, 1);
  Put24(B, 0, 0, 255, 0, 0);
  Put24(B, 1, 0, 0, 0, 255);
  TBitmap32 R;
  R.Assign(&B);
  ASSERT_EQ(R.GetWidth(), 2);
  ASSERT_EQ(R.GetHeight(), 1);
  EXPECT_EQ(R.Pixel(0, 0), 0xFFFF0000u);
  EXPECT_EQ(R.Pixel(1, 0), 0xFF0000FFu);
  const Byte* Bytes = reinterpret_cast<const Byte*>(R.GetPixels());
  EXPECT_EQ((std::vector<Byte>(Bytes, Bytes + 8)), (std::vector<Byte>{0, 0, 255, 255, 255, 0, 0, 255}));
}

// Every pixel from the same position counted from the top-left corner, for widths with and
// without a tail of the four-pixel steps; the result equals the block copy's.
TEST(RasterAssign, TwentyFourBitRowsTopDown) {
  for (Integer W : {1, 3, 4, 7, 13, 37}) {
    TBitmap B;
    B.SetPixelFormat(pf24bit);
    B.SetSize(W, 5);
    for (Integer Y = 0; Y < 5; ++Y)
      for (Integer X = 0; X < W; ++X) Put24(B, X, Y, Byte(X * 17), Byte(Y * 40), Byte(X + Y * 3 + 1));
    TBitmap32 R;
    R.Assign(&B);
    TBitmap32 Blitted;
    Blitted.SetSize(W, 5);
    BitBlt(Blitted.GetSurfaceDC(), 0, 0, W, 5, B.GetCanvas()->GetHandle(), 0, 0, SRCCOPY);
    for (Integer Y = 0; Y < 5; ++Y)
      for (Integer X = 0; X < W; ++X) {
        const TColor32 Expected = 0xFF000000u | (TColor32(Byte(X * 17)) << 16) |
                                  (TColor32(Byte(Y * 40)) << 8) | Byte(X + Y * 3 + 1);
        ASSERT_EQ(R.Pixel(X, Y), Expected) << W << ": " << X << "," << Y;
        ASSERT_EQ(R.Pixel(X, Y), Blitted.Pixel(X, Y) | 0xFF000000u);
      }
  }
}

TEST(RasterAssign, ConvertRowTail) {
  const Byte Src[15] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
  TColor32 Dst[6] = {0, 0, 0, 0, 0, 0xDEADBEEF};
  Convert24To32Row(Src, Dst, 5);
  EXPECT_EQ(Dst[0], 0xFF030201u);
  EXPECT_EQ(Dst[3], 0xFF0C0B0Au);
  EXPECT_EQ(Dst[4], 0xFF0F0E0Du);
  EXPECT_EQ(Dst[5], 0xDEADBEEFu);
}

TEST(RasterAssign, OtherFormatsTransparencyAndFont) {
  TBitmap B;
  B.SetPixelFormat(pf8bit);
  B.SetSize(3, 2);
  B.GetCanvas()->GetBrush()->SetColor(0x00FF00);
  B.GetCanvas()->FillRect(MakeRect(0, 0, 3, 2));
  B.GetCanvas()->SetPixels(1, 1, 0x0000FF);
  B.GetCanvas()->GetFont()->SetName("Arial");
  B.SetTransparentColor(0x0000FF);
  B.SetTransparent(true);
  TBitmap32 R;
  R.Assign(&B);
  EXPECT_EQ(R.Pixel(0, 0), 0xFF00FF00u);
  EXPECT_EQ(R.Pixel(1, 1), 0x00FF0000u);  // the transparent colour, alpha 0
  EXPECT_EQ(R.GetFont()->GetName(), "Arial");
}

TEST(RasterAssign, ThirtyTwoBitKeepsTheFourthByteAndCopiesBack) {
  TBitmap32 A;
  A.SetSize(3, 2);
  A.Clear(0x80123456);
  *A.PixelAddress(2, 1) = 0x01ABCDEF;
  TBitmap B;
  B.Assign(&A);  // through TBitmap32::AssignTo
  EXPECT_EQ(B.GetPixelFormat(), pf32bit);
  EXPECT_EQ(B.GetWidth(), 3);
  TBitmap32 R;
  R.Assign(&B);
  EXPECT_EQ(R.Pixel(0, 0) & 0x00FFFFFF, 0x123456u);
  EXPECT_EQ(static_cast<const Cardinal*>(B.GetScanLine(1))[2], R.Pixel(2, 1));

  TPicture Picture;
  Picture.Assign(&A);
  ASSERT_NE(Picture.GetGraphic(), nullptr);
  TBitmap32 FromPicture;
  FromPicture.Assign(&Picture);
  EXPECT_EQ(FromPicture.GetWidth(), 3);
  EXPECT_EQ(FromPicture.Pixel(2, 1) & 0x00FFFFFF, 0xABCDEFu);
}

// An icon is drawn over white and over red: pixels that differ are transparent.
TEST(RasterAssign, IconTransparency) {
  const Byte MaskBits[2] = {0x40, 0};  // pixel 1 keeps the destination
  const Cardinal ColorBits[2] = {0x00336699, 0};
  ICONINFO Info;
  Info.hbmMask = CreateBitmap(2, 1, 1, 1, MaskBits);
  Info.hbmColor = CreateBitmap(2, 1, 1, 32, ColorBits);
  TIcon Icon;
  Icon.SetHandle(CreateIconIndirect(&Info));
  DeleteObject(Info.hbmMask);
  DeleteObject(Info.hbmColor);
  TPicture Picture;
  Picture.SetGraphic(&Icon);
  TBitmap32 R;
  R.Assign(&Picture);
  ASSERT_EQ(R.GetWidth(), 2);
  EXPECT_EQ(R.Pixel(0, 0), 0xFF336699u);
  EXPECT_EQ(R.Pixel(1, 0), 0x00FFFFFFu);
  // Drawn as any graphic, the icon is opaque everywhere.
  TBitmap32 Plain;
  Plain.Assign(&Icon);
  EXPECT_EQ(Plain.Pixel(0, 0), 0xFF336699u);
  EXPECT_EQ(Plain.Pixel(1, 0), 0xFF000000u);
  TPicture Empty;
  Plain.Assign(&Empty);
  EXPECT_TRUE(Plain.Empty());
}

// A metafile paints only some pixels: the others come out transparent (white beneath).
TEST(RasterAssign, MetafileTransparency) {
  TMetafile M;
  M.SetWidth(4);
  M.SetHeight(2);
  {
    TMetafileCanvas C(&M, nullptr);
    C.GetBrush()->SetColor(static_cast<TColor>(0x996633));
    C.FillRect(TRect{0, 0, 2, 2});
  }
  TPicture Picture;
  Picture.SetGraphic(&M);
  TBitmap32 R;
  R.Assign(&Picture);
  ASSERT_EQ(R.GetWidth(), 4);
  EXPECT_EQ(R.Pixel(1, 1), 0xFF336699u);
  EXPECT_EQ(R.Pixel(2, 0), 0x00FFFFFFu);
}

TEST(RasterAssign, UnsupportedSourceRaisesConversionError) {
  TBitmap32 R;
  TFont Font;
  EXPECT_THROW(R.Assign(&Font), EConvertError);
  EXPECT_THROW(Font.Assign(&R), EConvertError);
}

TEST(RasterCanvas, DrawingThroughTheCanvasChangesPixelsAndNotifies) {
  TBitmap32 B;
  B.SetSize(4, 4);
  Integer Changes = 0;
  struct TCounter : TObject {
    Integer* Count;
    void Change(TObject*) { ++*Count; }
  } Counter;
  Counter.Count = &Changes;
  B.OnChange = TNotifyEvent(&Counter, &TCounter::Change);
  TCanvas* C = B.GetCanvas();
  C->GetBrush()->SetColor(0x0000FF);
  C->FillRect(MakeRect(1, 1, 3, 3));
  EXPECT_EQ(B.Pixel(1, 1) & 0x00FFFFFF, 0xFF0000u);
  EXPECT_EQ(B.Pixel(0, 0), 0u);
  EXPECT_GE(Changes, 1);
  B.SetSize(5, 5);  // a new surface: the canvas is made again on the next use
  C = B.GetCanvas();
  C->GetBrush()->SetColor(0x00FF00);
  C->FillRect(MakeRect(0, 0, 1, 1));
  EXPECT_EQ(B.Pixel(0, 0) & 0x00FFFFFF, 0x00FF00u);
  B.OnChange.Clear();
}

TEST(RasterCanvas, SettingsCopyTheFont) {
  TBitmap32 A, B;
  A.GetFont()->SetName("Courier New");
  A.GetFont()->SetSize(14);
  A.SetSize(1, 1);
  B.Assign(&A);
  EXPECT_EQ(B.GetFont()->GetName(), "Courier New");
  EXPECT_EQ(B.GetFont()->GetSize(), 14);
}
