// TransparentBlt: a colour-keyed copy, stretched by nearest neighbour.
#include "platform/gdi/Blit.h"
#include "platform/gdi/BlitEngine.h"
#include "platform/gdi/EnhMetaFileRecord.h"

namespace {

// Which source raw pixels show the key colour: palette entries by their colour, direct pixels
// by their colour bits against the key in the source's format.
class TKeyMatcher {
 public:
  TKeyMatcher(const TSurface& S, COLORREF Key) : FIndexed(S.IsIndexed()) {
    if (FIndexed) {
      for (Integer I = 0; I < S.ColorCount && I < 256; ++I)
        FTable[I] = RGB(S.Colors[I].rgbRed, S.Colors[I].rgbGreen, S.Colors[I].rgbBlue) == Key;
    } else {
      FMask = ColorBits(S);
      FKey = ColorToPixel(S, Key) & FMask;
    }
  }
  void Match(const DWORD* In, Byte* Out, Integer N) const {
    if (FIndexed) {
      for (Integer I = 0; I < N; ++I) Out[I] = FTable[In[I] & 0xFF];
    } else {
      for (Integer I = 0; I < N; ++I) Out[I] = (In[I] & FMask) == FKey;
    }
  }

 private:
  bool FIndexed;
  Byte FTable[256] = {};
  DWORD FMask = 0, FKey = 0;
};

}  // namespace

BOOL TransparentBlt(HDC Dst, Integer X, Integer Y, Integer Width, Integer Height, HDC Src, Integer XSrc,
                    Integer YSrc, Integer WidthSrc, Integer HeightSrc, UINT Transparent) {
  if (!IsDeviceContext(Dst) || !IsDeviceContext(Src)) return BlitFailed();
  if (IsRecordingDC(Dst))
    EmfRecordBlt(Dst, EMR_TRANSPARENTBLT, X, Y, Width, Height, Src, XSrc, YSrc, WidthSrc, HeightSrc,
                 Transparent);
  TRect DstRect, SrcRect;
  if (!MapPlainRect(Dst, X, Y, Width, Height, DstRect) ||
      !MapPlainRect(Src, XSrc, YSrc, WidthSrc, HeightSrc, SrcRect))
    return BlitFailed();
  if (IsEmptyRect(DstRect)) return TRUE;
  if (IsEmptyRect(SrcRect)) return BlitFailed();
  const TSurface& D = Dst->Surface();
  const TSurface& S = Src->Surface();
  const TRect Vis = IntersectRects(DstRect, Dst->ClipBox());
  const TNearestSampler Sampler(S, D, DstRect, SrcRect, Vis);
  const TRect& Area = Sampler.Area();
  if (IsEmptyRect(Area)) return TRUE;

  const TKeyMatcher Keys(S, ResolveColor(Src, Transparent));
  TPixelConverter Conv(ColorSideOf(Src), ColorSideOf(Dst));
  const auto Size = static_cast<std::size_t>(Area.Width());
  std::vector<DWORD> SBuf(Size), DBuf(Size);
  std::vector<Byte> Key(Size);
  ForEachClipRect(Dst, Area, [&](const TRect& C) {
    const Integer N = C.Width();
    for (Integer Y = C.Top; Y < C.Bottom; ++Y) {
      Sampler.Row(Y, C.Left, N, SBuf.data());
      Keys.Match(SBuf.data(), Key.data(), N);
      Conv.Convert(SBuf.data(), SBuf.data(), N);
      Byte* Row = D.Row(Y);
      UnpackRow(D, Row, C.Left, N, DBuf.data());
      for (Integer I = 0; I < N; ++I)
        if (!Key[static_cast<std::size_t>(I)])
          DBuf[static_cast<std::size_t>(I)] = SBuf[static_cast<std::size_t>(I)];
      PackRow(D, Row, C.Left, N, DBuf.data());
    }
  });
  return TRUE;
}
