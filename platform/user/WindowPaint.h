#pragma once
// Window painting: update regions, WM_PAINT, window device contexts, scrolling and layered
// windows. Every window draws into its top-level window's retained surface; the screen is
// composed from those surfaces, so a DC from GetDC works at any time and what it draws shows
// at the next present.
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Regions.h"
#include "platform/user/WinUser.h"

// Rect and Rgn are client coordinates; null means the whole client area.
BOOL InvalidateRect(HWND Wnd, const RECT* Rect, BOOL Erase);
BOOL InvalidateRgn(HWND Wnd, HRGN Rgn, BOOL Erase);
BOOL ValidateRect(HWND Wnd, const RECT* Rect);
BOOL ValidateRgn(HWND Wnd, HRGN Rgn);
// The bounding box of the update region in client coordinates; FALSE when it is empty. With
// Erase, a pending erase is done now (WM_ERASEBKGND through a DC of the update region).
BOOL GetUpdateRect(HWND Wnd, RECT* Rect, BOOL Erase);
// Copies the update region (client coordinates) into Rgn; returns its complexity.
Integer GetUpdateRgn(HWND Wnd, HRGN Rgn, BOOL Erase);
// RDW_* flags as the platform defines them. Update/UpdateRgn are client coordinates; with
// both null the whole window is meant (the frame too with RDW_FRAME).
BOOL RedrawWindow(HWND Wnd, const RECT* Update, HRGN UpdateRgn, UINT Flags);
// Sends WM_PAINT now when the update region is not empty.
BOOL UpdateWindow(HWND Wnd);
// Sends WM_NCPAINT (frame invalid) and WM_ERASEBKGND (erase pending), returns a DC clipped to
// the update region and the visible region, and validates. The caret part hides the caret.
HDC BeginPaint(HWND Wnd, PAINTSTRUCT* Paint);
BOOL EndPaint(HWND Wnd, const PAINTSTRUCT* Paint);

// Window DCs. DCX_WINDOW covers the frame; the window's WS_CLIPCHILDREN/WS_CLIPSIBLINGS apply
// as the platform applies them for GetDC. GetDC(nullptr) is the screen. Release every DC
// with ReleaseDC; what it drew reaches the screen then (and at every present while held).
HDC GetDC(HWND Wnd);
HDC GetWindowDC(HWND Wnd);
HDC GetDCEx(HWND Wnd, HRGN Clip, DWORD Flags);
Integer ReleaseDC(HWND Wnd, HDC DC);
HWND WindowFromDC(HDC DC);
// Moves the pixels of Scroll ∩ Clip (logical coordinates of DC, null = the DC's clip box) by
// (Dx, Dy) within the DC's surface; Update/UpdateRect receive the uncovered area.
BOOL ScrollDC(HDC DC, Integer Dx, Integer Dy, const RECT* Scroll, const RECT* Clip, HRGN Update,
              RECT* UpdateRect);
// Moves the client pixels (Scroll ∩ Clip, null = all) by (Dx, Dy) and invalidates what was
// uncovered (SW_INVALIDATE, SW_ERASE); SW_SCROLLCHILDREN moves the children too. Both scrolls
// hide the caret of the window while its pixels move and show it again at its place.
Integer ScrollWindowEx(HWND Wnd, Integer Dx, Integer Dy, const RECT* Scroll, const RECT* Clip, HRGN Update,
                       RECT* UpdateRect, UINT Flags);
BOOL ScrollWindow(HWND Wnd, Integer Dx, Integer Dy, const RECT* Scroll, const RECT* Clip);
// Only one window at a time; its painting is held back until LockWindowUpdate(nullptr).
BOOL LockWindowUpdate(HWND Wnd);

// ---- Layered windows ----------------------------------------------------------------------
// Copies Size pixels of SrcDC at SrcPt into the layered window's surface and places the
// window at Dst (null: where it is) with that size. ULW_ALPHA uses the source's premultiplied
// alpha (AC_SRC_ALPHA) times Blend.SourceConstantAlpha; ULW_COLORKEY makes Key transparent;
// ULW_OPAQUE shows the pixels as they are.
struct TLayeredBlend {
  BYTE BlendOp = 0;  // AC_SRC_OVER
  BYTE BlendFlags = 0;
  BYTE SourceConstantAlpha = 255;
  BYTE AlphaFormat = 0;  // AC_SRC_ALPHA (1) when the source carries alpha
};
BOOL UpdateLayeredWindow(HWND Wnd, HDC DstDC, const POINT* Dst, const SIZE* Size, HDC SrcDC,
                         const POINT* SrcPt, COLORREF Key, const TLayeredBlend* Blend, DWORD Flags);
// The same with the graphics layer's BLENDFUNCTION (or any structure with these four fields).
template <class TBlend>
BOOL UpdateLayeredWindow(HWND Wnd, HDC DstDC, const POINT* Dst, const SIZE* Size, HDC SrcDC,
                         const POINT* SrcPt, COLORREF Key, const TBlend* Blend, DWORD Flags) {
  TLayeredBlend B;
  if (Blend != nullptr) {
    B.BlendOp = Blend->BlendOp;
    B.BlendFlags = Blend->BlendFlags;
    B.SourceConstantAlpha = Blend->SourceConstantAlpha;
    B.AlphaFormat = Blend->AlphaFormat;
  }
  return UpdateLayeredWindow(Wnd, DstDC, Dst, Size, SrcDC, SrcPt, Key, Blend != nullptr ? &B : nullptr,
                             Flags);
}
BOOL SetLayeredWindowAttributes(HWND Wnd, COLORREF Key, BYTE Alpha, DWORD Flags);
BOOL GetLayeredWindowAttributes(HWND Wnd, COLORREF* Key, BYTE* Alpha, DWORD* Flags);
