// TBitmap: formats, scan lines, resizing, copies, transparency and its canvas.
#include <thread>

#include "ClassesTestUtil.h"
#include "platform/gdi/Palettes.h"

TEST(Bitmap, SizedBitmapIsAWhiteDeviceBitmap) {
  TBitmap B;
  EXPECT_TRUE(B.Empty());
  EXPECT_EQ(B.GetPixelFormat(), pfDevice);
  B.SetSize(3, 2);
  EXPECT_FALSE(B.Empty());
  EXPECT_EQ(B.GetHandleType(), bmDDB);
  EXPECT_EQ(B.GetPixelFormat(), pfDevice);
  EXPECT_EQ(B.GetHandle()->Surface.Bpp, 32);
  EXPECT_EQ(Picture(B), Rows({"...", "..."}));
  B.SetSize(0, 5);
  EXPECT_TRUE(B.Empty());
}

TEST(Bitmap, ScanLinesRunFromTheTopAtFallingAddresses) {
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(5, 4);  // 15 bytes of pixels, 16 per row
  Byte* Row0 = static_cast<Byte*>(B.GetScanLine(0));
  for (Integer R = 1; R < 4; ++R) EXPECT_EQ(static_cast<Byte*>(B.GetScanLine(R)), Row0 - 16 * R);
  // Bytes are blue, green, red.
  Byte* Row3 = static_cast<Byte*>(B.GetScanLine(3));
  Row3[3] = 0x11, Row3[4] = 0x22, Row3[5] = 0x33;
  EXPECT_EQ(B.GetCanvas()->GetPixels(1, 3), static_cast<TColor>(RGB(0x33, 0x22, 0x11)));
  for (Integer Bad : {-1, 4})
    ExpectError<EInvalidGraphicOperation>([&] { B.GetScanLine(Bad); }, "Scan line index out of range");
  TBitmap Empty;
  EXPECT_THROW(Empty.GetScanLine(0), EInvalidGraphicOperation);
}

TEST(Bitmap, ResizingKeepsTheCommonPartAndFillsTheRest) {
  for (TPixelFormat F : {pfDevice, pf24bit, pf8bit, pf16bit, pf1bit}) {
    SCOPED_TRACE(F);
    TBitmap B;
    B.SetPixelFormat(F);
    B.SetSize(3, 2);
    TCanvas* C = B.GetCanvas();
    C->SetPixels(0, 0, clBlack);
    C->SetPixels(2, 1, clBlack);
    B.SetWidth(5);
    EXPECT_EQ(Picture(B), Rows({"#....", "..#.."}));
    B.SetHeight(1);
    EXPECT_EQ(Picture(B), Rows({"#...."}));
    EXPECT_EQ(B.GetPixelFormat(), F);
  }
  // With a canvas, new pixels take its brush colour.
  TBitmap B;
  B.SetSize(1, 1);
  B.GetCanvas()->GetBrush()->SetColor(clBlack);
  B.SetSize(2, 2);
  EXPECT_EQ(Picture(B), Rows({".#", "##"}));
}

TEST(Bitmap, PixelFormatsConvertThePixels) {
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(2, 1);
  B.GetCanvas()->SetPixels(0, 0, clRed);
  B.GetCanvas()->SetPixels(1, 0, clNavy);
  struct {
    TPixelFormat Format;
    Integer Bpp;
    COLORREF Left, Right;
  } Steps[] = {
      {pf8bit, 8, 0x0000FF, 0x800000},  // both are halftone palette colours
      {pf32bit, 32, 0x0000FF, 0x800000},
      {pf15bit, 16, 0x0000FF, 0x840000},  // 5 bits of 0x80, widened
      {pf4bit, 4, 0x0000FF, 0x800000},
      {pf1bit, 1, 0x000000, 0x000000},  // black is nearer to both than white
  };
  for (const auto& S : Steps) {
    SCOPED_TRACE(S.Bpp);
    B.SetPixelFormat(S.Format);
    EXPECT_EQ(B.GetPixelFormat(), S.Format);
    EXPECT_EQ(B.GetHandleType(), bmDIB);
    EXPECT_EQ(B.GetHandle()->Surface.Bpp, S.Bpp);
    EXPECT_EQ(PixelAt(B, 0, 0), S.Left);
    EXPECT_EQ(PixelAt(B, 1, 0), S.Right);
  }
  EXPECT_TRUE(B.GetMonochrome());
  ExpectError<EInvalidGraphic>([&] { B.SetPixelFormat(pfCustom); }, "Invalid pixel format");
}

TEST(Bitmap, HandleTypeAndMonochrome) {
  TBitmap B;
  B.SetSize(2, 2);
  B.SetHandleType(bmDIB);
  EXPECT_EQ(B.GetPixelFormat(), pf32bit);
  B.SetHandleType(bmDDB);
  EXPECT_EQ(B.GetPixelFormat(), pfDevice);
  B.SetMonochrome(true);
  EXPECT_TRUE(B.GetMonochrome());
  EXPECT_EQ(B.GetHandleType(), bmDDB);
  EXPECT_FALSE(B.GetHandle()->IsDibSection);  // a real monochrome device bitmap
  B.SetMonochrome(false);
  EXPECT_EQ(B.GetPixelFormat(), pfDevice);
}

TEST(Bitmap, AssignCopiesAndNullEmpties) {
  TBitmap A;
  A.SetPixelFormat(pf8bit);
  A.SetSize(2, 2);
  A.GetCanvas()->SetPixels(1, 1, clBlack);
  A.SetTransparentColor(clBlack);
  TBitmap B;
  B.Assign(&A);
  EXPECT_NE(B.GetHandle(), A.GetHandle());
  EXPECT_EQ(B.GetPixelFormat(), pf8bit);
  EXPECT_EQ(B.GetTransparentMode(), tmFixed);
  EXPECT_EQ(Picture(B), Rows({"..", ".#"}));
  A.GetCanvas()->SetPixels(0, 0, clBlack);
  EXPECT_EQ(Picture(B), Rows({"..", ".#"}));
  B.Assign(nullptr);
  EXPECT_TRUE(B.Empty());
  EXPECT_EQ(B.GetPixelFormat(), pfDevice);
}

TEST(Bitmap, TransparentColorAndMask) {
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(3, 2);
  TCanvas* C = B.GetCanvas();
  C->SetPixels(0, 1, clLime);  // bottom-left: the automatic transparent colour
  C->SetPixels(2, 0, clLime);
  EXPECT_EQ(B.GetTransparentMode(), tmAuto);
  EXPECT_EQ(B.GetTransparentColor(), static_cast<TColor>(0x0200FF00));
  HBITMAP Mask = B.GetMaskHandle();
  ASSERT_NE(Mask, nullptr);
  const TSurface& M = Mask->Surface;
  EXPECT_EQ(M.Bpp, 1);
  const DWORD Expect[2][3] = {{0, 0, 1}, {1, 0, 0}};
  for (Integer Y = 0; Y < 2; ++Y)
    for (Integer X = 0; X < 3; ++X) EXPECT_EQ(GetRawPixel(M, X, Y), Expect[Y][X]) << X << "," << Y;
  // A fixed colour; the mask follows the pixels.
  B.SetTransparentColor(clWhite);
  EXPECT_EQ(B.GetTransparentMode(), tmFixed);
  EXPECT_EQ(GetRawPixel(B.GetMaskHandle()->Surface, 1, 0), 1u);
  B.SetTransparentMode(tmAuto);
  EXPECT_EQ(B.GetTransparentColor(), static_cast<TColor>(0x0200FF00));
}

TEST(Bitmap, TransparentDrawLeavesTheTransparentColourOut) {
  TBitmap Src;
  Src.SetPixelFormat(pf24bit);
  Src.SetSize(2, 2);
  Src.GetCanvas()->GetBrush()->SetColor(clLime);
  Src.GetCanvas()->FillRect(Rect(0, 0, 2, 2));
  Src.GetCanvas()->SetPixels(1, 0, clBlack);
  Src.SetTransparent(true);
  for (Integer Scale : {1, 2}) {
    SCOPED_TRACE(Scale);
    TBitmap Dst;
    Dst.SetSize(2 * Scale, 2 * Scale);
    Dst.GetCanvas()->StretchDraw(Rect(0, 0, 2 * Scale, 2 * Scale), &Src);
    if (Scale == 1)
      EXPECT_EQ(Picture(Dst), Rows({".#", ".."}));
    else
      EXPECT_EQ(Picture(Dst), Rows({"..##", "..##", "....", "...."}));
  }
  Src.SetTransparent(false);
  TBitmap Dst;
  Dst.SetSize(2, 2);
  Dst.GetCanvas()->Draw(0, 0, &Src);
  EXPECT_EQ(PixelAt(Dst, 0, 0), 0x00FF00u);
}

TEST(Bitmap, PaletteOfIndexedBitmaps) {
  TBitmap B;
  B.SetPixelFormat(pf8bit);
  B.SetSize(1, 1);
  HPALETTE P = B.GetPalette();
  ASSERT_NE(P, nullptr);
  PALETTEENTRY E[256];
  EXPECT_EQ(GetPaletteEntries(P, 0, 256, E), 256u);
  // A new palette becomes the colour table; index 0 now shows its first entry.
  LOGPALETTE Log;
  Log.palNumEntries = 2;
  Log.palPalEntry[0] = PALETTEENTRY{10, 20, 30, 0};
  Log.palPalEntry[1] = PALETTEENTRY{40, 50, 60, 0};
  HPALETTE Mine = CreatePalette(&Log);
  PutRawPixel(B.GetHandle()->Surface, 0, 0, 0);
  B.SetPalette(Mine);
  DeleteObject(Mine);
  EXPECT_EQ(PixelAt(B, 0, 0), RGB(10, 20, 30));
  TBitmap True;
  True.SetPixelFormat(pf24bit);
  True.SetSize(1, 1);
  EXPECT_EQ(True.GetPalette(), nullptr);
}

TEST(Bitmap, CanvasDrawingFiresChangeAndDcIsFreedUnlessLocked) {
  TBitmap B;
  B.SetSize(4, 4);
  Integer Changes = 0;
  struct TCounter {
    Integer* N;
    void Changed(TObject*) { ++*N; }
  } Counter{&Changes};
  B.OnChange = TNotifyEvent(&Counter, &TCounter::Changed);
  TCanvas* C = B.GetCanvas();
  C->FillRect(Rect(0, 0, 2, 2));
  EXPECT_EQ(Changes, 1);
  EXPECT_TRUE(B.GetModified());
  EXPECT_TRUE(C->HandleAllocated());
  C->Lock();
  std::thread([] { FreeMemoryContexts(); }).join();
  EXPECT_TRUE(C->HandleAllocated());
  C->Unlock();
  FreeMemoryContexts();
  EXPECT_FALSE(C->HandleAllocated());
  // Drawing makes it again, with the pen position kept.
  C->MoveTo(1, 2);
  FreeMemoryContexts();
  EXPECT_EQ(C->GetPenPos(), Point(1, 2));
}

TEST(Bitmap, PictureKeepsItsOwnCopy) {
  TBitmap Src;
  Src.SetSize(3, 2);
  Src.GetCanvas()->SetPixels(2, 1, clBlack);
  TPicture Pic;
  Pic.SetGraphic(&Src);
  TBitmap B;
  B.Assign(Pic.GetGraphic());
  EXPECT_NE(Pic.GetGraphic(), &Src);
  EXPECT_EQ(Picture(B), Rows({"...", "..#"}));
}

TEST(BitmapSize, WidthThenHeightOnAnEmptyBitmapKeepsBoth) {
  TBitmap Bmp;
  Bmp.SetPixelFormat(pf24bit);
  Bmp.SetWidth(40);
  EXPECT_EQ(Bmp.GetWidth(), 40);
  EXPECT_EQ(Bmp.GetHeight(), 0);
  Bmp.SetHeight(30);
  EXPECT_EQ(Bmp.GetWidth(), 40);
  EXPECT_EQ(Bmp.GetHeight(), 30);
  EXPECT_NE(Bmp.GetScanLine(0), nullptr);
}
