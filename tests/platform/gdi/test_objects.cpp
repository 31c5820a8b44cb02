#include <gtest/gtest.h>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Palettes.h"

TEST(GdiObjects, StockObjectsDescribeThemselves) {
  struct TCase {
    Integer Index;
    UINT Style;
    COLORREF Color;
  };
  const TCase Brushes[] = {{WHITE_BRUSH, BS_SOLID, 0xFFFFFF}, {LTGRAY_BRUSH, BS_SOLID, 0xC0C0C0},
                           {GRAY_BRUSH, BS_SOLID, 0x808080},  {DKGRAY_BRUSH, BS_SOLID, 0x404040},
                           {BLACK_BRUSH, BS_SOLID, 0},        {NULL_BRUSH, BS_NULL, 0}};
  for (const TCase& C : Brushes) {
    LOGBRUSH L;
    ASSERT_EQ(GetObject(GetStockObject(C.Index), sizeof(L), &L), static_cast<Integer>(sizeof(L)));
    EXPECT_EQ(L.lbStyle, C.Style) << C.Index;
    EXPECT_EQ(L.lbColor, C.Color) << C.Index;
  }
  const TCase Pens[] = {{WHITE_PEN, PS_SOLID, 0xFFFFFF}, {BLACK_PEN, PS_SOLID, 0}, {NULL_PEN, PS_NULL, 0}};
  for (const TCase& C : Pens) {
    LOGPEN L;
    ASSERT_EQ(GetObject(GetStockObject(C.Index), sizeof(L), &L), static_cast<Integer>(sizeof(L)));
    EXPECT_EQ(L.lopnStyle, C.Style);
    EXPECT_EQ(L.lopnColor, C.Color);
  }
  WORD Count = 0;
  EXPECT_EQ(GetObject(GetStockObject(DEFAULT_PALETTE), sizeof(Count), &Count), 2);
  EXPECT_EQ(Count, 20);
  EXPECT_EQ(GetStockObject(99), nullptr);
  EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH)));  // harmless
  EXPECT_NE(GetStockObject(WHITE_BRUSH), nullptr);
}

TEST(GdiObjects, PensKeepTheirStyle) {
  HPEN Dash = CreatePen(PS_DASH, 1, RGB(1, 2, 3));
  LOGPEN L;
  GetObject(Dash, sizeof(L), &L);
  EXPECT_EQ(L.lopnStyle, PS_DASH);
  EXPECT_EQ(L.lopnWidth.X, 1);
  // Wide dashed pens of CreatePen draw solid.
  HPEN WideDash = CreatePen(PS_DASH, 3, 0);
  GetObject(WideDash, sizeof(L), &L);
  EXPECT_EQ(L.lopnStyle, PS_SOLID);
  LOGBRUSH B{BS_SOLID, RGB(9, 9, 9), 0};
  HPEN Ext = ExtCreatePen(PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_JOIN_MITER, 5, &B, 0, nullptr);
  ASSERT_NE(Ext, nullptr);
  EXTLOGPEN E;
  EXPECT_EQ(GetObject(Ext, sizeof(E), &E), 28);  // up to the style entries
  EXPECT_EQ(E.elpPenStyle, PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_JOIN_MITER);
  EXPECT_EQ(E.elpWidth, 5u);
  EXPECT_EQ(E.elpColor, RGB(9, 9, 9));
  EXPECT_EQ(GetObjectType(Ext), static_cast<DWORD>(OBJ_EXTPEN));
  // Cosmetic pens are one pixel wide and solid-coloured.
  EXPECT_EQ(ExtCreatePen(PS_COSMETIC, 3, &B, 0, nullptr), nullptr);
  EXPECT_EQ(CreateHatchBrush(9, 0), nullptr);
  for (HGDIOBJ O : {static_cast<HGDIOBJ>(Dash), static_cast<HGDIOBJ>(WideDash), static_cast<HGDIOBJ>(Ext)})
    EXPECT_TRUE(DeleteObject(O));
}

TEST(GdiObjects, SelectedObjectsAreNeverFreedUnderTheDC) {
  HDC DC = CreateCompatibleDC(nullptr);
  HBRUSH Brush = CreateSolidBrush(RGB(1, 1, 1));
  HGDIOBJ Old = SelectObject(DC, Brush);
  EXPECT_EQ(Old, GetStockObject(WHITE_BRUSH));
  EXPECT_TRUE(IsObjectSelected(Brush));
  EXPECT_TRUE(DeleteObject(Brush));  // deferred
  EXPECT_EQ(GetCurrentObject(DC, OBJ_BRUSH), Brush);
  LOGBRUSH L;
  EXPECT_EQ(GetObject(Brush, sizeof(L), &L), static_cast<Integer>(sizeof(L)));  // still alive
  SelectObject(DC, Old);                                                        // freed here
  EXPECT_FALSE(IsObjectSelected(Brush));

  // A bitmap belongs to one DC at a time and cannot be deleted while selected.
  HDC Other = CreateCompatibleDC(nullptr);
  HBITMAP Bmp = CreateCompatibleBitmap(nullptr, 4, 4);
  HGDIOBJ OldBmp = SelectObject(DC, Bmp);
  EXPECT_EQ(OldBmp, StockBitmap());
  EXPECT_EQ(SelectObject(Other, Bmp), nullptr);
  EXPECT_FALSE(DeleteObject(Bmp));
  SelectObject(DC, OldBmp);
  EXPECT_NE(SelectObject(Other, Bmp), nullptr);
  DeleteDC(Other);  // lets go of the bitmap
  EXPECT_TRUE(DeleteObject(Bmp));
  DeleteDC(DC);
}

TEST(GdiObjects, PatternBrushCopiesTheBitmap) {
  HBITMAP Bmp = CreateBitmap(2, 2, 1, 32, nullptr);
  PutRawPixel(Bmp->Surface, 1, 1, 0x00ABCDEF);
  HBRUSH Brush = CreatePatternBrush(Bmp);
  DeleteObject(Bmp);
  ASSERT_NE(Brush, nullptr);
  EXPECT_EQ(Brush->Pattern[3], RGB(0xAB, 0xCD, 0xEF));
  DeleteObject(Brush);
}

TEST(Palettes, NearestIndexAndHalftoneLayout) {
  LOGPALETTE L;
  L.palNumEntries = 3;
  L.palPalEntry[0] = {10, 10, 10, 0};
  L.palPalEntry[1] = {200, 0, 0, 0};
  L.palPalEntry[2] = {200, 0, 0, 0};
  HPALETTE Pal = CreatePalette(&L);
  EXPECT_EQ(GetNearestPaletteIndex(Pal, RGB(180, 20, 0)), 1u);  // the first of equal entries
  EXPECT_EQ(GetNearestPaletteIndex(Pal, RGB(0, 0, 0)), 0u);
  EXPECT_EQ(GetNearestPaletteIndex(nullptr, 0), CLR_INVALID);
  PALETTEENTRY E[4];
  EXPECT_EQ(GetPaletteEntries(Pal, 1, 4, E), 2u);
  EXPECT_EQ(E[0].peRed, 200);
  const PALETTEENTRY NewE = {1, 2, 3, 0};
  EXPECT_EQ(SetPaletteEntries(Pal, 2, 1, &NewE), 1u);
  GetPaletteEntries(Pal, 2, 1, E);
  EXPECT_EQ(E[0], NewE);

  HPALETTE Half = CreateHalftonePalette(nullptr);
  PALETTEENTRY H[256];
  ASSERT_EQ(GetPaletteEntries(Half, 0, 256, H), 256u);
  EXPECT_EQ(H[0], (PALETTEENTRY{0, 0, 0, 0}));
  EXPECT_EQ(H[7], (PALETTEENTRY{192, 192, 192, 0}));
  EXPECT_EQ(H[10], (PALETTEENTRY{0, 0, 0, 0}));  // cube start
  EXPECT_EQ(H[11], (PALETTEENTRY{0, 0, 51, 0}));
  EXPECT_EQ(H[225], (PALETTEENTRY{255, 255, 255, 0}));  // cube end
  EXPECT_EQ(H[226], (PALETTEENTRY{12, 12, 12, 0}));
  EXPECT_EQ(H[246], (PALETTEENTRY{255, 251, 240, 0}));
  EXPECT_EQ(H[255], (PALETTEENTRY{255, 255, 255, 0}));
  PALETTEENTRY S[256];
  EXPECT_EQ(GetSystemPaletteEntries(nullptr, 0, 256, S), 256u);
  EXPECT_EQ(S[249], H[249]);

  // A memory DC maps PALETTEINDEX colours through its palette.
  HDC DC = CreateCompatibleDC(nullptr);
  HBITMAP B = CreateBitmap(1, 1, 1, 32, nullptr);
  SelectObject(DC, B);
  EXPECT_EQ(SelectPalette(DC, Pal, FALSE), GetStockObject(DEFAULT_PALETTE));
  EXPECT_EQ(RealizePalette(DC), 0u);
  EXPECT_EQ(GetNearestColor(DC, PALETTEINDEX(1)), RGB(200, 0, 0));
  EXPECT_EQ(GetNearestColor(DC, RGB(7, 8, 9)), RGB(7, 8, 9));
  DeleteDC(DC);
  DeleteObject(B);
  DeleteObject(Pal);
  DeleteObject(Half);
}
