// Rectangle and region fills, pattern raster operations and single pixels.
#include "platform/gdi/EnhMetaFileRecord.h"
#include "platform/gdi/Painting.h"
#include "platform/gdi/RasterInternals.h"
#include "platform/gdi/SysColors.h"

namespace {

// A brush argument: small values are system colour indices + 1.
HBRUSH BrushArg(HBRUSH Brush) {
  const auto V = reinterpret_cast<std::uintptr_t>(Brush);
  if (V >= 1 && V <= static_cast<std::uintptr_t>(SysColorCount))
    return GetSysColorBrush(static_cast<Integer>(V) - 1);
  return Brush;
}

TRect RectToSurface(HDC DC, const RECT& R) {
  const TPoint A = DC->ToSurface(R.TopLeft()), B = DC->ToSurface(R.BottomRight());
  return {std::min(A.X, B.X), std::min(A.Y, B.Y), std::max(A.X, B.X), std::max(A.Y, B.Y)};
}

TPixelOp InvertOp(const TSurface& S) {
  return TPixelOp{&S, S.PixelMask(), S.PixelMask()};
}

// A region in logical coordinates moved to surface coordinates.
TRegionData RegionToSurface(HDC DC, const TRegionData& Rgn) {
  TRegionData R = Rgn;
  const TPoint O = DC->ToSurface({0, 0});
  R.Offset(O.X, O.Y);
  return R;
}

template <class F>
void ForEachRegionRectClipped(HDC DC, const TRegionData& R, F&& Fn) {
  R.ForEachRectIn(DC->ClipBox(), [&](const TRect& A) { ForEachClipRect(DC, A, Fn); });
}

}  // namespace

Integer FillRect(HDC DC, const RECT* Rect, HBRUSH Brush) {
  Brush = BrushArg(Brush);
  if (!IsDeviceContext(DC) || !Rect || !Brush) return FALSE;
  if (Rect->Right <= Rect->Left || Rect->Bottom <= Rect->Top) return TRUE;
  if (IsRecordingDC(DC)) EmfRecordPatBlt(DC, *Rect, PATCOPY, Brush);
  FillRectClipped(DC, RectToSurface(DC, *Rect), TBrushPainter(DC, Brush, R2_COPYPEN));
  return TRUE;
}

Integer FrameRect(HDC DC, const RECT* Rect, HBRUSH Brush) {
  Brush = BrushArg(Brush);
  if (!IsDeviceContext(DC) || !Rect || !Brush) return FALSE;
  if (Rect->Right <= Rect->Left || Rect->Bottom <= Rect->Top) return TRUE;
  if (IsRecordingDC(DC))
    ForEachFrameRect(*Rect, [&](const TRect& R) { EmfRecordPatBlt(DC, R, PATCOPY, Brush); });
  const TBrushPainter Painter(DC, Brush, R2_COPYPEN);
  ForEachFrameRect(RectToSurface(DC, *Rect), [&](const TRect& R) { FillRectClipped(DC, R, Painter); });
  return TRUE;
}

BOOL InvertRect(HDC DC, const RECT* Rect) {
  if (!IsDeviceContext(DC) || !Rect) return FALSE;
  if (IsRecordingDC(DC)) EmfRecordPatBlt(DC, *Rect, DSTINVERT, nullptr);
  FillRectClipped(DC, RectToSurface(DC, *Rect), InvertOp(DC->Surface()));
  return TRUE;
}

BOOL DrawFocusRect(HDC DC, const RECT* Rect) {
  if (!IsDeviceContext(DC) || !Rect) return FALSE;
  const TPixelOp Op = InvertOp(DC->Surface());
  const TPoint Org = DC->DcOrigin();
  // Every other pixel, on a checkerboard fixed to the device origin.
  ForEachFrameRect(RectToSurface(DC, *Rect), [&](const TRect& F) {
    ForEachClipRect(DC, F, [&](const TRect& C) {
      for (Integer Y = C.Top; Y < C.Bottom; ++Y)
        for (Integer X = C.Left + ((C.Left + Y - Org.X - Org.Y) & 1); X < C.Right; X += 2) Op.Pixel(X, Y);
    });
  });
  return TRUE;
}

void PatBltClipped(HDC DC, const TRect& R, Byte Rop3) {
  // Without a source the table is a mix mode of pattern and destination.
  const Integer Rop2 = Rop3ToRop2(Rop3);
  if (Rop3UsesPattern(Rop3)) {
    FillRectClipped(DC, R, TBrushPainter(DC, DC->State.Brush, Rop2));
    return;
  }
  const TSurface& S = DC->Surface();
  const TRopMasks M = MakeRopMasks(Rop2, 0, S.PixelMask());
  const TPixelOp Op{&S, M.And, M.Xor};
  if (!Op.Nop()) FillRectClipped(DC, R, Op);
}

BOOL PatBlt(HDC DC, Integer X, Integer Y, Integer Width, Integer Height, DWORD Rop) {
  if (!IsDeviceContext(DC) || Rop3UsesSource(Rop3Index(Rop))) return FALSE;
  const RECT R{X, Y, X + Width, Y + Height};
  if (IsRecordingDC(DC)) EmfRecordPatBlt(DC, R, Rop, nullptr);
  PatBltClipped(DC, RectToSurface(DC, R), Rop3Index(Rop));
  return TRUE;
}

BOOL FillRgn(HDC DC, HRGN Rgn, HBRUSH Brush) {
  Brush = BrushArg(Brush);
  if (!IsDeviceContext(DC) || !Rgn || !Brush) return FALSE;
  if (IsRecordingDC(DC)) EmfRecordRegion(DC, EMR_FILLRGN, Rgn, Brush, 0, 0);
  const TBrushPainter Painter(DC, Brush);
  if (Painter.IsNull()) return TRUE;
  ForEachRegionRectClipped(DC, RegionToSurface(DC, Rgn->Data), [&](const TRect& R) { Painter.Rect(R); });
  return TRUE;
}

BOOL PaintRgn(HDC DC, HRGN Rgn) {
  return IsDeviceContext(DC) ? FillRgn(DC, Rgn, DC->State.Brush) : FALSE;
}

BOOL InvertRgn(HDC DC, HRGN Rgn) {
  if (!IsDeviceContext(DC) || !Rgn) return FALSE;
  if (IsRecordingDC(DC)) EmfRecordRegion(DC, EMR_INVERTRGN, Rgn, nullptr, 0, 0);
  const TPixelOp Op = InvertOp(DC->Surface());
  ForEachRegionRectClipped(DC, RegionToSurface(DC, Rgn->Data), [&](const TRect& R) { Op.Rect(R); });
  return TRUE;
}

BOOL FrameRgn(HDC DC, HRGN Rgn, HBRUSH Brush, Integer Width, Integer Height) {
  Brush = BrushArg(Brush);
  if (!IsDeviceContext(DC) || !Rgn || !Brush || Width <= 0 || Height <= 0) return FALSE;
  if (IsRecordingDC(DC)) EmfRecordRegion(DC, EMR_FRAMERGN, Rgn, Brush, Width, Height);
  // The region minus its interior: pixels whose neighbours within Width/Height are all inside.
  const TRegionData Outer = RegionToSurface(DC, Rgn->Data);
  TRegionData Inner = Outer;
  auto Erode = [&](Integer Dx, Integer Dy) {
    TRegionData Moved = Outer;
    if (Moved.Offset(Dx, Dy)) Inner.Combine(Inner, Moved, RGN_AND);
  };
  for (Integer K = 1; K <= Width; ++K) Erode(K, 0), Erode(-K, 0);
  for (Integer K = 1; K <= Height; ++K) Erode(0, K), Erode(0, -K);
  TRegionData Frame;
  Frame.Combine(Outer, Inner, RGN_DIFF);
  const TBrushPainter Painter(DC, Brush);
  if (Painter.IsNull()) return TRUE;
  ForEachRegionRectClipped(DC, Frame, [&](const TRect& R) { Painter.Rect(R); });
  return TRUE;
}

COLORREF SetPixel(HDC DC, Integer X, Integer Y, COLORREF Color) {
  if (!IsDeviceContext(DC)) return CLR_INVALID;
  if (IsRecordingDC(DC)) {
    EmfRecordPixel(DC, X, Y, Color);
    return Color;
  }
  const TPoint P = DC->ToSurface({X, Y});
  if (!InClip(DC, P.X, P.Y)) return CLR_INVALID;
  const TSurface& S = DC->Surface();
  const DWORD Pixel = ColorToPixel(S, ResolveColor(DC, Color));
  PutRawPixel(S, P.X, P.Y, Pixel);
  return PixelToColor(S, Pixel);
}

BOOL SetPixelV(HDC DC, Integer X, Integer Y, COLORREF Color) {
  return SetPixel(DC, X, Y, Color) != CLR_INVALID ? TRUE : FALSE;
}

COLORREF GetPixel(HDC DC, Integer X, Integer Y) {
  if (!IsDeviceContext(DC)) return CLR_INVALID;
  const TPoint P = DC->ToSurface({X, Y});
  if (!InClip(DC, P.X, P.Y)) return CLR_INVALID;
  const TSurface& S = DC->Surface();
  return PixelToColor(S, GetRawPixel(S, P.X, P.Y));
}
