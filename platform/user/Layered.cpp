// Layered windows: constant alpha and colour key over painted content
// (SetLayeredWindowAttributes), or content given as premultiplied pixels (UpdateLayeredWindow).
#include <algorithm>

#include "platform/user/WindowInternals.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

namespace {
constexpr BYTE AC_SRC_ALPHA_FLAG = 0x01;

TWindow* LayeredTopLevel(HWND Wnd) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr) return nullptr;
  if (!(W->ExStyle & WS_EX_LAYERED) || !IsTopLevel(W) || !W->Surface) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return W;
}
}  // namespace

BOOL SetLayeredWindowAttributes(HWND Wnd, COLORREF Key, BYTE Alpha, DWORD Flags) {
  TWindow* W = LayeredTopLevel(Wnd);
  if (W == nullptr) return FALSE;
  const bool WasShown = W->LayeredFlags != 0 || W->LayeredUpdate;
  W->LayeredFlags = Flags & (LWA_ALPHA | LWA_COLORKEY);
  W->LayeredAlpha = Alpha;
  W->LayeredKey = Key & 0x00FFFFFFu;
  if (W->LayeredUpdate) {
    // Back from UpdateLayeredWindow to painted content.
    W->LayeredUpdate = false;
    W->PerPixelAlpha = false;
    RedrawWindow(Wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  } else if (!WasShown) {
    RedrawWindow(Wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }
  DamageScreen(W->Rect);
  return TRUE;
}

BOOL GetLayeredWindowAttributes(HWND Wnd, COLORREF* Key, BYTE* Alpha, DWORD* Flags) {
  TWindow* W = LayeredTopLevel(Wnd);
  // Windows given their content by UpdateLayeredWindow have no attributes to report.
  if (W == nullptr || W->LayeredUpdate) return FALSE;
  if (Key != nullptr) *Key = W->LayeredKey;
  if (Alpha != nullptr) *Alpha = W->LayeredAlpha;
  if (Flags != nullptr) *Flags = W->LayeredFlags;
  return TRUE;
}

BOOL UpdateLayeredWindow(HWND Wnd, HDC, const POINT* Dst, const SIZE* Size, HDC SrcDC, const POINT* SrcPt,
                         COLORREF Key, const TLayeredBlend* Blend, DWORD Flags) {
  TWindow* W = LayeredTopLevel(Wnd);
  if (W == nullptr) return FALSE;
  if (W->LayeredFlags != 0 && !W->LayeredUpdate) {
    // A window using SetLayeredWindowAttributes cannot take content this way.
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const TSize NewSize = Size != nullptr ? *Size : TSize{W->Rect.Width(), W->Rect.Height()};
  if (NewSize.cx < 0 || NewSize.cy < 0 || (Size != nullptr && SrcDC == nullptr)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const TPoint Pos = Dst != nullptr ? *Dst : W->Rect.TopLeft();
  W->LayeredUpdate = true;
  if (Pos != W->Rect.TopLeft() || NewSize.cx != W->Rect.Width() || NewSize.cy != W->Rect.Height()) {
    SetWindowPos(Wnd, nullptr, Pos.X, Pos.Y, NewSize.cx, NewSize.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    if ((W = PeekWindow(Wnd)) == nullptr) return FALSE;
  }
  W->Surface->Resize(NewSize.cx, NewSize.cy);
  W->PerPixelAlpha = (Flags & ULW_ALPHA) && Blend != nullptr && (Blend->AlphaFormat & AC_SRC_ALPHA_FLAG);
  W->LayeredFlags = 0;
  if (Flags & ULW_COLORKEY) W->LayeredFlags |= LWA_COLORKEY;
  W->LayeredKey = Key & 0x00FFFFFFu;
  W->LayeredAlpha = 255;
  if ((Flags & ULW_ALPHA) && Blend != nullptr) {
    W->LayeredFlags |= LWA_ALPHA;
    W->LayeredAlpha = Blend->SourceConstantAlpha;
  }
  if (Flags & ULW_OPAQUE) {
    W->LayeredFlags = 0;
    W->PerPixelAlpha = false;
  }
  if (SrcDC != nullptr) {
    // Copy the source pixels; outside the source surface stays transparent black.
    const TSurface& S = SrcDC->Surface();
    const TPoint Org = SrcDC->Offset();
    const TPoint From = SrcPt != nullptr ? *SrcPt : TPoint{0, 0};
    TSurface& D = W->Surface->Surface;
    for (Integer Y = 0; Y < D.Height; ++Y) {
      DWORD* Row = reinterpret_cast<DWORD*>(D.Row(Y));
      const Integer SY = From.Y + Org.Y + Y;
      for (Integer X = 0; X < D.Width; ++X) {
        const Integer SX = From.X + Org.X + X;
        if (!S.Contains(SX, SY)) {
          Row[X] = 0;
          continue;
        }
        if (S.Bpp == 32 && S.Format == TSurfaceFormat::pf32) {
          Row[X] = reinterpret_cast<const DWORD*>(S.Row(SY))[SX];
          if (!W->PerPixelAlpha) Row[X] |= 0xFF000000u;
        } else {
          const COLORREF C = PixelToColor(S, GetRawPixel(S, SX, SY));
          Row[X] = 0xFF000000u | (static_cast<DWORD>(GetRValue(C)) << 16) |
                   (static_cast<DWORD>(GetGValue(C)) << 8) | GetBValue(C);
        }
      }
    }
  }
  DamageScreen(W->Rect);
  return TRUE;
}
