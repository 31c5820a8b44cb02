// StretchDIBits and SetDIBitsToDevice: a caller's DIB read in place as a source surface.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/gdi/Blit.h"
#include "platform/gdi/BlitEngine.h"
#include "platform/gdi/DibFormat.h"
#include "platform/gdi/EnhMetaFileRecord.h"

namespace {

// A caller's DIB; S describes the rows the call reads, in the DIB's own row order.
struct TDibSource {
  DWORD Masks[3] = {0, 0, 0};
  std::vector<RGBQUAD> Colors;
  TSurface S;
  Integer Height = 0;  // of the whole DIB
  bool BottomUp = true;
};

// The header, masks and colour table of a DIB. False for what the platform cannot draw:
// compressed bits, odd depths.
bool ReadDib(HDC DC, const void* Bits, const BITMAPINFO* Info, UINT Usage, TDibSource& Out) {
  if (!Bits || Usage > DIB_PAL_COLORS || !ReadDibFormat(Info, Out.Masks)) return false;
  Out.Colors = ReadColorTable(DC, Info, Usage);
  Out.Height = std::abs(Info->bmiHeader.biHeight);
  Out.BottomUp = Info->bmiHeader.biHeight > 0;
  return true;
}

TColorSide DibSide(HDC DC, const TDibSource& Dib) {
  TColorSide Side = ColorSideOf(DC);  // colour-to-monochrome compares with the DC's background
  Side.S = &Dib.S;
  Side.Mono = false;
  return Side;
}

}  // namespace

Integer StretchDIBits(HDC DC, Integer XDest, Integer YDest, Integer DestWidth, Integer DestHeight,
                      Integer XSrc, Integer YSrc, Integer SrcWidth, Integer SrcHeight, const void* Bits,
                      const BITMAPINFO* Info, UINT Usage, DWORD Rop) {
  if (IsRecordingDC(DC))
    EmfRecordStretchDIBits(DC, XDest, YDest, DestWidth, DestHeight, XSrc, YSrc, SrcWidth, SrcHeight, Bits,
                           Info, Usage, Rop);
  TDibSource Dib;
  if (!IsDeviceContext(DC) || !ReadDib(DC, Bits, Info, Usage, Dib)) return BlitFailed();
  if (DestWidth == 0 || DestHeight == 0 || SrcWidth == 0 || SrcHeight == 0) return 0;
  Dib.S = DibSurface(Info, Dib.Masks, Dib.Colors, Bits, Dib.Height);
  TBlitRequest R;
  bool FlipX, FlipY;
  if (!MapBlitRect(DC, XDest, YDest, DestWidth, DestHeight, R.DstRect, FlipX, FlipY)) return BlitFailed();
  // The source rectangle in top-down rows; the image stays upright either way.
  const Int64 X0 = XSrc, X1 = static_cast<Int64>(XSrc) + SrcWidth;
  const Int64 Y0 = Dib.BottomUp ? Dib.Height - static_cast<Int64>(YSrc) - SrcHeight : YSrc;
  const Int64 Y1 = Y0 + SrcHeight;
  if (!InShapeRange(X0) || !InShapeRange(X1) || !InShapeRange(Y0) || !InShapeRange(Y1)) return BlitFailed();
  R.SrcRect = {static_cast<Integer>(std::min(X0, X1)), static_cast<Integer>(std::min(Y0, Y1)),
               static_cast<Integer>(std::max(X0, X1)), static_cast<Integer>(std::max(Y0, Y1))};
  R.FlipX = FlipX != (SrcWidth < 0);
  R.FlipY = FlipY != (SrcHeight < 0);
  R.Dst = DC;
  R.Src = &Dib.S;
  R.SrcSide = DibSide(DC, Dib);
  R.Rop = R.BackRop = Rop3Index(Rop);
  R.StretchMode = DC->State.StretchBltMode;
  if (!ExecuteBlit(R)) return BlitFailed();
  return std::abs(SrcHeight);
}

Integer SetDIBitsToDevice(HDC DC, Integer XDest, Integer YDest, DWORD Width, DWORD Height, Integer XSrc,
                          Integer YSrc, UINT StartScan, UINT Lines, const void* Bits, const BITMAPINFO* Info,
                          UINT Usage) {
  if (IsRecordingDC(DC))
    EmfRecordSetDIBitsToDevice(DC, XDest, YDest, Width, Height, XSrc, YSrc, StartScan, Lines, Bits, Info,
                               Usage);
  TDibSource Dib;
  if (!IsDeviceContext(DC) || !ReadDib(DC, Bits, Info, Usage, Dib)) return BlitFailed();
  if (Width > static_cast<DWORD>(ShapeCoordLimit) || Height > static_cast<DWORD>(ShapeCoordLimit))
    return BlitFailed();
  if (StartScan >= static_cast<UINT>(Dib.Height) || Lines == 0) return 0;
  const Integer Rows = static_cast<Integer>(std::min<UINT>(Lines, static_cast<UINT>(Dib.Height) - StartScan));
  Dib.S = DibSurface(Info, Dib.Masks, Dib.Colors, Bits, Rows);
  // Top-down index of the first row the bits hold.
  const Int64 Base = Dib.BottomUp ? static_cast<Int64>(Dib.Height) - StartScan - Rows : StartScan;
  const Int64 W = Width, H = Height;
  const Int64 Top = (Dib.BottomUp ? Dib.Height - static_cast<Int64>(YSrc) - H : YSrc) - Base;
  if (!InShapeRange(XSrc) || !InShapeRange(XSrc + W) || !InShapeRange(Top) || !InShapeRange(Top + H))
    return BlitFailed();
  TBlitRequest R;
  const TPoint P = DC->ToSurface({XDest, YDest});
  if (!InShapeRange(P.X) || !InShapeRange(P.Y)) return BlitFailed();
  R.DstRect = {P.X, P.Y, P.X + static_cast<Integer>(W), P.Y + static_cast<Integer>(H)};
  R.SrcRect = {XSrc, static_cast<Integer>(Top), static_cast<Integer>(XSrc + W),
               static_cast<Integer>(Top + H)};
  R.Dst = DC;
  R.Src = &Dib.S;
  R.SrcSide = DibSide(DC, Dib);
  if (!ExecuteBlit(R)) return BlitFailed();
  return Rows;
}
