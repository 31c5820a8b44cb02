// BitBlt, StretchBlt and MaskBlt: DC state to a blit request, once per call.
#include <algorithm>

#include "platform/gdi/Blit.h"
#include "platform/gdi/BlitEngine.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/EnhMetaFileRecord.h"

namespace {

// Both rectangles of a DC-to-DC transfer. The source is only looked at when a code reads it.
bool MakeRequest(HDC Dst, Integer X, Integer Y, Integer W, Integer H, HDC Src, Integer XSrc, Integer YSrc,
                 Integer WSrc, Integer HSrc, Byte Fore, Byte Back, TBlitRequest& R) {
  if (!IsDeviceContext(Dst)) return false;
  bool FlipX, FlipY;
  if (!MapBlitRect(Dst, X, Y, W, H, R.DstRect, FlipX, FlipY)) return false;
  R.Dst = Dst;
  R.Rop = Fore;
  R.BackRop = Back;
  R.StretchMode = Dst->State.StretchBltMode;
  if (Rop3UsesSource(Fore) || Rop3UsesSource(Back)) {
    if (!IsDeviceContext(Src)) return false;
    bool SrcFlipX, SrcFlipY;
    if (!MapBlitRect(Src, XSrc, YSrc, WSrc, HSrc, R.SrcRect, SrcFlipX, SrcFlipY)) return false;
    R.Src = &Src->Surface();
    R.SrcSide = ColorSideOf(Src);
    R.FlipX = FlipX != SrcFlipX;
    R.FlipY = FlipY != SrcFlipY;
  }
  return true;
}

}  // namespace

BOOL BitBlt(HDC Dst, Integer X, Integer Y, Integer Width, Integer Height, HDC Src, Integer XSrc, Integer YSrc,
            DWORD Rop) {
  if (IsRecordingDC(Dst))
    EmfRecordBlt(Dst, EMR_BITBLT, X, Y, Width, Height, Src, XSrc, YSrc, Width, Height, Rop);
  TBlitRequest R;
  const Byte Code = Rop3Index(Rop);
  if (!MakeRequest(Dst, X, Y, Width, Height, Src, XSrc, YSrc, Width, Height, Code, Code, R))
    return BlitFailed();
  return ExecuteBlit(R) ? TRUE : BlitFailed();
}

BOOL StretchBlt(HDC Dst, Integer X, Integer Y, Integer Width, Integer Height, HDC Src, Integer XSrc,
                Integer YSrc, Integer WidthSrc, Integer HeightSrc, DWORD Rop) {
  if (IsRecordingDC(Dst))
    EmfRecordBlt(Dst, EMR_STRETCHBLT, X, Y, Width, Height, Src, XSrc, YSrc, WidthSrc, HeightSrc, Rop);
  TBlitRequest R;
  const Byte Code = Rop3Index(Rop);
  if (!MakeRequest(Dst, X, Y, Width, Height, Src, XSrc, YSrc, WidthSrc, HeightSrc, Code, Code, R))
    return BlitFailed();
  if (Width == 0 || Height == 0) return TRUE;
  return ExecuteBlit(R) ? TRUE : BlitFailed();
}

BOOL MaskBlt(HDC Dst, Integer X, Integer Y, Integer Width, Integer Height, HDC Src, Integer XSrc,
             Integer YSrc, HBITMAP Mask, Integer XMask, Integer YMask, DWORD Rop4) {
  if (!Mask) return BitBlt(Dst, X, Y, Width, Height, Src, XSrc, YSrc, Rop4 & 0x00FFFFFF);
  if (Mask->ObjType != OBJ_BITMAP || Mask->Surface.Bpp != 1) return BlitFailed();
  TBlitRequest R;
  if (!MakeRequest(Dst, X, Y, Width, Height, Src, XSrc, YSrc, Width, Height, Rop3Index(Rop4),
                   Rop4BackIndex(Rop4), R))
    return BlitFailed();
  R.Mask = &Mask->Surface;
  R.MaskOrg = {std::min(XMask, XMask + Width), std::min(YMask, YMask + Height)};
  return ExecuteBlit(R) ? TRUE : BlitFailed();
}
