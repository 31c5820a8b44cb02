#pragma once
// Small surfaces for rasterizer tests: a memory DC with a 32-bit top-down DIB section, pixel
// access as COLORREFs, and an ASCII picture for failure messages.
#include <string>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Dib.h"

struct TTestCanvas {
  HDC DC = nullptr;
  HBITMAP Bitmap = nullptr;
  HGDIOBJ OldBitmap = nullptr;
  Integer Width, Height;

  TTestCanvas(Integer W, Integer H, Integer Bpp = 32, COLORREF Fill = 0x00FFFFFF) : Width(W), Height(H) {
    BITMAPINFO Info;
    Info.bmiHeader.biWidth = W;
    Info.bmiHeader.biHeight = -H;
    Info.bmiHeader.biBitCount = static_cast<WORD>(Bpp);
    if (Bpp <= 8) {
      // Black, white and a few strong colours, then greys.
      const COLORREF Base[] = {0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF,
                               0xFF00FF, 0xFFFF00, 0x808080, 0xC0C0C0, 0x000080, 0x008000,
                               0x800000, 0x008080, 0x800080, 0x808000};
      for (Integer I = 0; I < (1 << Bpp); ++I) {
        const COLORREF C =
            I < 16 ? Base[I] : RGB(static_cast<BYTE>(I), static_cast<BYTE>(I), static_cast<BYTE>(I));
        Info.bmiColors[I] = {GetBValue(C), GetGValue(C), GetRValue(C), 0};
      }
    }
    DC = CreateCompatibleDC(nullptr);
    Bitmap = CreateDIBSection(DC, &Info, DIB_RGB_COLORS, nullptr, nullptr, 0);
    OldBitmap = SelectObject(DC, Bitmap);
    Clear(Fill);
  }
  ~TTestCanvas() {
    SelectObject(DC, OldBitmap);
    DeleteObject(Bitmap);
    DeleteDC(DC);
  }
  TTestCanvas(const TTestCanvas&) = delete;
  TTestCanvas& operator=(const TTestCanvas&) = delete;

  COLORREF At(Integer X, Integer Y) const {
    const TSurface& S = Bitmap->Surface;
    return PixelToColor(S, GetRawPixel(S, X, Y));
  }
  void Clear(COLORREF C) {
    const TSurface& S = Bitmap->Surface;
    const DWORD P = ColorToPixel(S, C);
    for (Integer Y = 0; Y < Height; ++Y)
      for (Integer X = 0; X < Width; ++X) PutRawPixel(S, X, Y, P);
  }
  // '.' for Background, '#' for Ink, '?' for anything else.
  std::string Picture(COLORREF Background = 0xFFFFFF, COLORREF Ink = 0) const {
    std::string Out = "\n";
    for (Integer Y = 0; Y < Height; ++Y) {
      for (Integer X = 0; X < Width; ++X) {
        const COLORREF C = At(X, Y);
        Out += C == Background ? '.' : C == Ink ? '#' : '?';
      }
      Out += '\n';
    }
    return Out;
  }
  // Rows of '.'/'#' compared against Picture().
  static std::string Rows(std::initializer_list<const char*> Lines) {
    std::string Out = "\n";
    for (const char* L : Lines) (Out += L) += '\n';
    return Out;
  }
};
