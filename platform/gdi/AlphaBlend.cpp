// AlphaBlend: constant and per-pixel (premultiplied) alpha over any destination format.
#include "platform/gdi/AlphaBlendRows.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/BlitEngine.h"
#include "platform/gdi/EnhMetaFileRecord.h"

namespace {

// The four bytes of a pixel in four 16-bit lanes, and back (the low byte of each lane).
inline UInt64 Spread(DWORD P) {
  const UInt64 V = P;
  return (V & 0xFF) | ((V & 0xFF00) << 8) | ((V & 0xFF0000) << 16) | ((V & 0xFF000000) << 24);
}
inline DWORD Pack(UInt64 V) {
  return static_cast<DWORD>((V & 0xFF) | ((V >> 8) & 0xFF00) | ((V >> 16) & 0xFF0000) |
                            ((V >> 24) & 0xFF000000));
}
constexpr UInt64 LaneLow = 0x00FF00FF00FF00FFull;
// (x + 127) div 255 in every lane, for lanes up to 255 * 255: equal to
// (x + 128 + ((x + 128) shr 8)) shr 8 there.
inline UInt64 Div255(UInt64 X) {
  X += 0x0080008000800080ull;
  return ((X + ((X >> 8) & LaneLow)) >> 8) & LaneLow;
}

}  // namespace

void BlendConstantRow(DWORD* D, const DWORD* S, Integer N, DWORD A) {
  const DWORD B = 255 - A;
  for (Integer I = 0; I < N; ++I) D[I] = Pack(Div255(Spread(S[I]) * A + Spread(D[I]) * B));
}

void BlendPremultipliedRow(DWORD* D, const DWORD* S, Integer N, DWORD A) {
  for (Integer I = 0; I < N; ++I) {
    DWORD SP = S[I];
    if (A != 255) SP = Pack(Div255(Spread(SP) * A));
    const DWORD SA = SP >> 24;
    if (SA == 255) {
      D[I] = SP;
      continue;
    }
    if (SP == 0) continue;
    UInt64 Sum = Spread(SP) + Div255(Spread(D[I]) * (255 - SA));
    // Lanes above 255 (a source that was not premultiplied) saturate.
    const UInt64 Over = (Sum >> 8) & 0x0001000100010001ull;
    Sum |= Over * 0xFF;
    D[I] = Pack(Sum);
  }
}

BOOL AlphaBlend(HDC Dst, Integer X, Integer Y, Integer Width, Integer Height, HDC Src, Integer XSrc,
                Integer YSrc, Integer WidthSrc, Integer HeightSrc, BLENDFUNCTION Blend) {
  if (!IsDeviceContext(Dst) || !IsDeviceContext(Src)) return BlitFailed();
  if (IsRecordingDC(Dst))
    EmfRecordBlt(Dst, EMR_ALPHABLEND, X, Y, Width, Height, Src, XSrc, YSrc, WidthSrc, HeightSrc,
                 Blend.BlendOp | (Blend.BlendFlags << 8) | (Blend.SourceConstantAlpha << 16) |
                     (static_cast<DWORD>(Blend.AlphaFormat) << 24));
  if (Blend.BlendOp != AC_SRC_OVER || Blend.BlendFlags != 0 || (Blend.AlphaFormat & ~AC_SRC_ALPHA) != 0)
    return BlitFailed();
  TRect DstRect, SrcRect;
  if (!MapPlainRect(Dst, X, Y, Width, Height, DstRect) ||
      !MapPlainRect(Src, XSrc, YSrc, WidthSrc, HeightSrc, SrcRect))
    return BlitFailed();
  const TSurface& D = Dst->Surface();
  const TSurface& S = Src->Surface();
  const bool PerPixel = Blend.AlphaFormat == AC_SRC_ALPHA;
  if (PerPixel && S.Bpp != 32) return BlitFailed();
  // The source rectangle must lie inside the source surface.
  if (SrcRect.Left < 0 || SrcRect.Top < 0 || SrcRect.Right > S.Width || SrcRect.Bottom > S.Height)
    return BlitFailed();
  if (IsEmptyRect(DstRect)) return TRUE;
  if (IsEmptyRect(SrcRect)) return BlitFailed();

  const TRect Vis = IntersectRects(DstRect, Dst->ClipBox());
  const TNearestSampler Sampler(S, D, DstRect, SrcRect, Vis);
  const TRect& Area = Sampler.Area();
  if (IsEmptyRect(Area)) return TRUE;

  const TColorSide DstSide = ColorSideOf(Dst);
  const TColorSide RgbSide{&RgbSurface(), false, DstSide.Text, DstSide.Bk};
  TPixelConverter SrcToRgb(ColorSideOf(Src), RgbSide);
  // Destinations other than 32-bit are blended in RGB and converted back.
  const bool Direct = D.Format == TSurfaceFormat::pf32;
  TPixelConverter DstToRgb(DstSide, RgbSide), RgbToDst(RgbSide, DstSide);
  const auto Size = static_cast<std::size_t>(Area.Width());
  std::vector<DWORD> SBuf(Size), DBuf(Size);
  const DWORD A = Blend.SourceConstantAlpha;
  ForEachClipRect(Dst, Area, [&](const TRect& C) {
    const Integer N = C.Width();
    for (Integer Y = C.Top; Y < C.Bottom; ++Y) {
      Sampler.Row(Y, C.Left, N, SBuf.data());
      SrcToRgb.Convert(SBuf.data(), SBuf.data(), N);
      Byte* Row = D.Row(Y);
      UnpackRow(D, Row, C.Left, N, DBuf.data());
      if (!Direct) DstToRgb.Convert(DBuf.data(), DBuf.data(), N);
      if (PerPixel)
        BlendPremultipliedRow(DBuf.data(), SBuf.data(), N, A);
      else
        BlendConstantRow(DBuf.data(), SBuf.data(), N, A);
      if (!Direct) RgbToDst.Convert(DBuf.data(), DBuf.data(), N);
      PackRow(D, Row, C.Left, N, DBuf.data());
    }
  });
  return TRUE;
}
