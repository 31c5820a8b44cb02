#pragma once
// Row-level building blocks of the bit-block transfers: raw pixel rows unpacked to one DWORD
// per pixel and packed back, conversion between two surfaces' raw pixels, the DC's brush as
// rows of raw pixels, and the maps of stretching. Everything here takes surface coordinates that the caller
// has already clipped.
#include <optional>
#include <vector>

#include "platform/gdi/DcInternals.h"

// N raw pixels of Row from column X into Out, one DWORD each (24-bit pixels with a zero top
// byte, 32-bit pixels with their alpha byte).
void UnpackRow(const TSurface& S, const Byte* Row, Integer X, Integer N, DWORD* Out);
// N raw pixels into Row from column X; bits the format does not hold are dropped.
void PackRow(const TSurface& S, Byte* Row, Integer X, Integer N, const DWORD* In);
// The raw pixels of Row at the columns Columns[0..N).
void GatherRow(const TSurface& S, const Byte* Row, const Integer* Columns, Integer N, DWORD* Out);

// The bits of a direct-colour pixel that carry colour (not alpha or padding).
DWORD ColorBits(const TSurface& S);

// One side of a colour conversion. Mono marks a monochrome device-dependent bitmap, whose bits
// are not colours: converted to colour, 0 bits take the destination DC's text colour and 1 bits
// its background colour; converted from colour, the pixels showing the source DC's background
// colour become 1 and all others 0. A 1-bit DIB section is a palette format like any other.
struct TColorSide {
  const TSurface* S = nullptr;
  bool Mono = false;
  COLORREF Text = 0;         // resolved text colour of the side's DC
  COLORREF Bk = 0x00FFFFFF;  // resolved background colour of the side's DC
};
TColorSide ColorSideOf(HDC DC);
// The 0xAARRGGBB pixels that blending and filtering work in (a pf32 surface without rows).
const TSurface& RgbSurface();

// Source raw pixels to destination raw pixels, chosen once per call: a copy when both sides
// share the format, a table for palette and monochrome sources, a background-colour match for
// colour to monochrome, per-pixel colour conversion otherwise (palette destinations take the
// nearest entry, cached).
class TPixelConverter {
 public:
  TPixelConverter(const TColorSide& Src, const TColorSide& Dst);
  bool Identity() const { return FKind == TKind::Identity; }
  // In may be Out.
  void Convert(const DWORD* In, DWORD* Out, Integer N);

 private:
  enum class TKind : Byte { Identity, Table, ToMono, Generic };
  DWORD NearestIndex(COLORREF C);
  TKind FKind = TKind::Identity;
  DWORD FTable[256] = {};
  DWORD FColorMask = 0, FKey = 0;
  TSurface FSrc, FDst;
  COLORREF FCacheKeys[256];
  DWORD FCacheValues[256] = {};
};

// Packed rows of one surface format into packed rows of another, for GetDIBits, SetDIBits,
// CopyImage and ConvertRow: a byte copy between equal formats of 8 bits and more, a byte
// shuffle between 24- and 32-bit RGB (alpha becomes 0), the indices kept between palette
// formats with equal colour tables, else a TPixelConverter without the monochrome-bitmap rules
// (a 1-bit bitmap converts through its colour table). Chosen once for all the rows of a call.
class TRowConverter {
 public:
  TRowConverter(const TSurface& Src, const TSurface& Dst);
  // Count pixels of row Src from column SrcX into row Dst from column DstX.
  void Convert(const Byte* Src, Integer SrcX, Byte* Dst, Integer DstX, Integer Count);

 private:
  enum class TKind : Byte { Copy, Rgb, Pixels };
  TKind FKind = TKind::Pixels;
  TSurface FSrc, FDst;
  std::optional<TPixelConverter> FConv;  // Pixels without one: raw pixels pass unchanged
};

// The DC's brush as destination raw pixels, aligned to the brush origin. Hatch gaps of a
// TRANSPARENT DC are marked in a skip mask: the destination stays there.
class TPatternRows {
 public:
  explicit TPatternRows(HDC DC);
  TPatternRows(const TPatternRows&) = delete;
  TPatternRows& operator=(const TPatternRows&) = delete;
  bool IsNull() const { return FBrush.IsNull(); }
  bool IsSolid() const { return FPattern.Width == 0; }
  DWORD SolidPixel() const { return FPattern.Solid; }
  bool AnySkip() const { return FPattern.AnySkip; }
  // Pattern pixels of row Y from column X0; Skip (when AnySkip) receives 1 for gaps.
  void Fill(Integer Y, Integer X0, Integer N, DWORD* Out, Byte* Skip) const;

 private:
  const TBrushPainter FBrush;
  const TBrushPainter::TPattern FPattern;  // FBrush's
};

// The nearest-neighbour rule of stretching: destination i (0 <= i < DstCount) takes source
// SrcStart + (i * SrcCount) div DstCount, or, mirrored, SrcStart + SrcCount - 1 - that.
// Out[k] receives the source of destination First + k, for Count destinations.
void StretchMap(Integer DstCount, Integer SrcStart, Integer SrcCount, bool Flip, Integer First, Integer Count,
                Integer* Out);

// A copy of rows [Top, Bottom) of a surface, for transfers whose source and destination share
// pixels. The copy's row 0 is row Top.
struct TSurfaceCopy {
  TSurface S;
  std::vector<Byte> Bits;
  TSurfaceCopy(const TSurface& From, Integer Top, Integer Bottom);
};
// True when both surfaces address the same pixels.
inline bool SameSurface(const TSurface& A, const TSurface& B) {
  return A.Row0 == B.Row0 && A.Stride == B.Stride;
}

inline TRect IntersectRects(const TRect& A, const TRect& B) {
  TRect R{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
          std::min(A.Bottom, B.Bottom)};
  if (R.Left >= R.Right || R.Top >= R.Bottom) return {};
  return R;
}
inline bool IsEmptyRect(const TRect& R) {
  return R.Left >= R.Right || R.Top >= R.Bottom;
}
