#pragma once
// The graphics layer's internal drawing interface, shared by its rasterizer and by the blit and
// text layers. Every public drawing call has the same shape:
//   1. check the DC and take its surface (DC->Surface()) and clip (DC->Clip(), surface
//      coordinates; DC->ClipIsRect() for the one-rectangle fast path);
//   2. turn logical coordinates into surface coordinates once (DC->Offset() when
//      !DC->HasTransform(), else DC->ToSurface / ToSurfaceF);
//   3. make a TPixelOp (a colour with the DC's mix mode) or a TBrushPainter (the brush);
//   4. call the routines here, which state "callers clip": they take surface coordinates that
//      lie inside the surface and inside the clip, and never check again.
// The *Clipped helpers at the end do step 4's clipping for a rectangle or a span.
#include <algorithm>
#include <vector>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Surface.h"

// A DC the drawing calls accept: a window's, a memory DC or a metafile's recording DC.
inline bool IsDeviceContext(HDC DC) {
  return DC && (DC->ObjType == OBJ_DC || DC->ObjType == OBJ_MEMDC || DC->ObjType == OBJ_ENHMETADC);
}

// A COLORREF as the DC draws it: PALETTEINDEX through the selected palette (or the default
// palette), PALETTERGB and other flag bytes dropped.
COLORREF ResolveColor(HDC DC, COLORREF Color);
// Entry Index of the DC's palette (the default palette for a null DC or none selected); an
// index past the end gives entry 0. PALETTEINDEX colours and DIB_PAL_COLORS tables use it.
COLORREF PaletteEntryColor(HDC DC, UINT Index);
// The colour of the pen (DC_PEN: the DC's pen colour) and of a solid brush (DC_BRUSH likewise).
COLORREF PenColor(HDC DC, HPEN Pen);
COLORREF BrushColor(HDC DC, HBRUSH Brush);

// A mix mode as AND/XOR masks for one source pixel value: new = (dst & And) ^ Xor.
// And == 0 is a plain store of Xor; And == all ones with Xor == 0 leaves dst as it is.
struct TRopMasks {
  DWORD And = 0;
  DWORD Xor = 0;
};
TRopMasks MakeRopMasks(Integer Rop2, DWORD Pixel, DWORD PixelMask);

// One colour with a mix mode on one surface. Callers clip; X0 < X1 for spans.
struct TPixelOp {
  const TSurface* S = nullptr;
  DWORD And = 0;
  DWORD Xor = 0;
  bool Nop() const { return And == S->PixelMask() && Xor == 0; }
  void Pixel(Integer X, Integer Y) const;
  void Span(Integer Y, Integer X0, Integer X1) const;
  void Rect(const TRect& R) const;
};
// Color must be resolved (ResolveColor).
TPixelOp MakePixelOp(const TSurface& S, COLORREF Color, Integer Rop2);

// Raw span fill with AND/XOR masks: the loop every fill ends in (one pixel type per call).
void FillSpanRaw(const TSurface& S, Integer Y, Integer X0, Integer X1, DWORD And, DWORD Xor);

// A mod N (N > 0) that is never negative: where coordinate A falls in a pattern repeating every N.
inline Integer WrapIndex(Integer A, Integer N) {
  const Integer R = A % N;
  return R < 0 ? R + N : R;
}

// The DC's brush (or any brush) prepared for one call: solid, hatched (lines in the brush colour,
// gaps in the background colour when OPAQUE, untouched when TRANSPARENT) or pattern (monochrome
// patterns in the text colour for 0 bits and the background colour for 1 bits), aligned to the
// DC's brush origin, with the DC's mix mode. Callers clip.
class TBrushPainter {
 public:
  TBrushPainter(HDC DC, HBRUSH Brush);
  // With an explicit mix mode (PatBlt-style raster operations pass their own).
  TBrushPainter(HDC DC, HBRUSH Brush, Integer Rop2);
  bool IsNull() const { return FKind == TKind::Null; }
  void Span(Integer Y, Integer X0, Integer X1) const;
  void Rect(const TRect& R) const;

  // The brush as source raw pixels, for raster operations that combine the pattern themselves.
  // Valid while the painter lives.
  struct TPattern {
    DWORD Solid = 0;                // the pixel of a solid brush (Width 0)
    Integer Width = 0, Height = 0;  // pattern size
    Integer OrgX = 0, OrgY = 0;     // brush origin in surface coordinates
    const DWORD* Pixels = nullptr;  // Width x Height, row-major
    const Byte* Skip = nullptr;     // 1: a transparent hatch gap; the destination stays
    bool AnySkip = false;
    // Index of the pattern pixel at the start of surface row Y, and the column of surface X.
    std::size_t RowStart(Integer Y) const {
      return static_cast<std::size_t>(WrapIndex(Y - OrgY, Height)) * Width;
    }
    Integer Column(Integer X) const { return WrapIndex(X - OrgX, Width); }
  };
  // Null brushes have none; solid brushes have Width 0.
  TPattern Pattern() const;

 private:
  enum class TKind : Byte { Null, Solid, Pattern };
  void Init(HDC DC, HBRUSH Brush, Integer Rop2);
  const TSurface* FS = nullptr;
  TKind FKind = TKind::Null;
  TPixelOp FSolid;
  TPattern FPattern;                    // its pointers are set by Pattern(), so that copies stay valid
  std::vector<DWORD> FAnd, FXor, FPix;  // per pattern pixel
  std::vector<Byte> FSkip;
};

// Clipping helpers: R and spans in surface coordinates, clipped against DC->Clip().
void FillRectClipped(HDC DC, TRect R, const TBrushPainter& Brush);
void FillRectClipped(HDC DC, TRect R, const TPixelOp& Op);
// A ROP3 truth table that reads no source, over R: the DC's brush with the table's mix mode,
// or the mix mode alone when the table ignores the pattern too (PatBlt, BitBlt without source).
void PatBltClipped(HDC DC, const TRect& R, Byte Rop3);
template <class F>
void ForEachClipSpan(HDC DC, Integer Y, Integer X0, Integer X1, F&& Fn) {
  if (DC->ClipIsRect()) {
    const TRect& B = DC->ClipBox();
    if (Y < B.Top || Y >= B.Bottom) return;
    if (X0 < B.Left) X0 = B.Left;
    if (X1 > B.Right) X1 = B.Right;
    if (X0 < X1) Fn(X0, X1);
    return;
  }
  DC->Clip().ForEachRectIn(TRect{X0, Y, X1, Y + 1}, [&](const TRect& C) { Fn(C.Left, C.Right); });
}
template <class F>
void ForEachClipRect(HDC DC, const TRect& R, F&& Fn) {
  if (DC->ClipIsRect()) {
    const TRect& B = DC->ClipBox();
    TRect C{std::max(R.Left, B.Left), std::max(R.Top, B.Top), std::min(R.Right, B.Right),
            std::min(R.Bottom, B.Bottom)};
    if (C.Left < C.Right && C.Top < C.Bottom) Fn(C);
    return;
  }
  DC->Clip().ForEachRectIn(R, Fn);
}
// The frame of R one pixel wide, each pixel once: Fn(rect) for up to four rectangles.
template <class F>
void ForEachFrameRect(const TRect& R, F&& Fn) {
  if (R.Width() <= 0 || R.Height() <= 0) return;
  Fn(TRect{R.Left, R.Top, R.Right, R.Top + 1});
  if (R.Height() > 1) Fn(TRect{R.Left, R.Bottom - 1, R.Right, R.Bottom});
  if (R.Height() > 2) {
    Fn(TRect{R.Left, R.Top + 1, R.Left + 1, R.Bottom - 1});
    if (R.Width() > 1) Fn(TRect{R.Right - 1, R.Top + 1, R.Right, R.Bottom - 1});
  }
}
inline bool InClip(HDC DC, Integer X, Integer Y) {
  if (DC->ClipIsRect()) {
    const TRect& B = DC->ClipBox();
    return X >= B.Left && X < B.Right && Y >= B.Top && Y < B.Bottom;
  }
  return DC->Clip().Contains(X, Y);
}
