// TWinControl's painting: the background, the window's own painting, the windowless children
// (in z-order, each clipped to itself with its origin at its corner), double buffering and
// scrolling.
#include <algorithm>

#include "platform/classes/Controls.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Painting.h"
#include "platform/gdi/Regions.h"
#include "platform/gdi/Rop3.h"
#include "platform/system/ScopeExit.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/WindowPos.h"
#include "platform/user/Windows.h"

void TWinControl::WMPaint(TMessage& Message) {
  if (!FDoubleBuffered || Message.WParam != 0) {
    if (!FControlState.Contains(csCustomPaint) && FControls.empty())
      DefaultHandler(Message);
    else
      PaintHandler(Message);
    return;
  }
  PaintDoubleBuffered(Message);
}

void TWinControl::PaintDoubleBuffered(TMessage& Message) {
  // Everything is painted into a memory bitmap first and copied at once: no flicker.
  const TRect Client = GetClientRect();
  HDC ScreenDC = GetDC(nullptr);
  HBITMAP MemBitmap = CreateCompatibleBitmap(ScreenDC, std::max(1, Client.Right), std::max(1, Client.Bottom));
  ReleaseDC(nullptr, ScreenDC);
  HDC MemDC = CreateCompatibleDC(nullptr);
  HGDIOBJ OldBitmap = SelectObject(MemDC, MemBitmap);
  PAINTSTRUCT PS;
  HDC DC = BeginPaint(FHandle, &PS);
  auto Cleanup = ScopeExit([&] {
    EndPaint(FHandle, &PS);
    SelectObject(MemDC, OldBitmap);
    DeleteDC(MemDC);
    DeleteObject(MemBitmap);
  });
  Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(MemDC), reinterpret_cast<LPARAM>(MemDC));
  Message.WParam = reinterpret_cast<WPARAM>(MemDC);
  WMPaint(Message);
  Message.WParam = 0;
  BitBlt(DC, 0, 0, Client.Right, Client.Bottom, MemDC, 0, 0, SRCCOPY);
}

void TWinControl::PaintHandler(TMessage& Message) {
  HDC DC = reinterpret_cast<HDC>(Message.WParam);
  PAINTSTRUCT PS;
  const bool OwnDC = DC == nullptr;
  if (OwnDC) DC = BeginPaint(FHandle, &PS);
  auto Ended = ScopeExit([&] {
    if (OwnDC) EndPaint(FHandle, &PS);
  });
  if (FControls.empty()) {
    PaintWindow(DC);
  } else {
    // The window paints around the opaque windowless children, which paint themselves.
    const Integer SaveIndex = SaveDC(DC);
    Integer Clip = SIMPLEREGION;
    for (TControl* C : FControls) {
      if (C->FVisible && C->FControlStyle.Contains(csOpaque)) {
        Clip = ExcludeClipRect(DC, C->FLeft, C->FTop, C->FLeft + C->FWidth, C->FTop + C->FHeight);
        if (Clip == NULLREGION) break;
      }
    }
    if (Clip != NULLREGION) PaintWindow(DC);
    RestoreDC(DC, SaveIndex);
  }
  PaintControls(DC, nullptr);
}

void TWinControl::PaintWindow(HDC DC) {
  TMessage M{WM_PAINT, reinterpret_cast<WPARAM>(DC), 0, 0};
  DefaultHandler(M);
}

void TWinControl::PaintControls(HDC DC, TControl* First) {
  std::size_t I = 0;
  if (First != nullptr) {
    auto It = std::find(FControls.begin(), FControls.end(), First);
    I = It == FControls.end() ? 0 : static_cast<std::size_t>(It - FControls.begin());
  }
  for (; I < FControls.size(); ++I) {
    TControl* C = FControls[I];
    if (!C->FVisible) continue;
    const RECT Bounds = C->GetBoundsRect();
    if (!RectVisible(DC, &Bounds)) continue;
    if (FControlState.Contains(csPaintCopy)) C->FControlState.Include(csPaintCopy);
    const Integer SaveIndex = SaveDC(DC);
    POINT Org;
    GetWindowOrgEx(DC, &Org);
    SetWindowOrgEx(DC, Org.X - C->FLeft, Org.Y - C->FTop, nullptr);
    IntersectClipRect(DC, 0, 0, C->FWidth, C->FHeight);
    C->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    RestoreDC(DC, SaveIndex);
    C->FControlState.Exclude(csPaintCopy);
  }
  // Framed windowed children get the sunken 3-D line around them.
  for (TWinControl* C : FWinControls) {
    if (!C->FCtl3D || !C->FControlStyle.Contains(csFramed) || !C->FVisible) continue;
    HBRUSH Shadow = CreateSolidBrush(ColorToRGB(clBtnShadow));
    const RECT Outer{C->FLeft - 1, C->FTop - 1, C->FLeft + C->FWidth, C->FTop + C->FHeight};
    FrameRect(DC, &Outer, Shadow);
    DeleteObject(Shadow);
    HBRUSH Highlight = CreateSolidBrush(ColorToRGB(clBtnHighlight));
    const RECT Inner{C->FLeft, C->FTop, C->FLeft + C->FWidth + 1, C->FTop + C->FHeight + 1};
    FrameRect(DC, &Inner, Highlight);
    DeleteObject(Highlight);
  }
}

void TWinControl::WMEraseBkgnd(TMessage& Message) {
  HDC DC = reinterpret_cast<HDC>(Message.WParam);
  const RECT R = GetClientRect();
  FillRect(DC, &R, FBrush->GetHandle());
  Message.Result = 1;
}

void TWinControl::Invalidate() {
  Perform(CM_INVALIDATE, 0, 0);
}

void TWinControl::CMInvalidate(TMessage& Message) {
  if (FHandle == nullptr) return;
  if (FParent != nullptr) FParent->Perform(CM_INVALIDATE, 1, 0);
  if (Message.WParam == 0) InvalidateRect(FHandle, nullptr, FControlStyle.Contains(csOpaque) ? FALSE : TRUE);
}

void TWinControl::Update() {
  if (FHandle != nullptr) UpdateWindow(FHandle);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

HDC TWinControl::GetDeviceContext(HWND& WindowHandle) {
  HDC DC = GetDC(GetHandle());
  if (DC == nullptr) throw EOutOfResources("Error creating window device context");
  WindowHandle = FHandle;
  return DC;
}

void TWinControl::ScrollBy(Integer DeltaX, Integer DeltaY) {
  const bool IsVisible = FVisible && HandleAllocated();
  if (IsVisible) ScrollWindow(FHandle, DeltaX, DeltaY, nullptr, nullptr);
  for (TControl* C : FControls) {
    // The window scroll moved the pixels of the windowless children already.
    C->FLeft += DeltaX;
    C->FTop += DeltaY;
  }
  for (TWinControl* C : FWinControls) {
    if (IsVisible && C->HandleAllocated()) {
      // ScrollWindow moved the child windows; their bounds follow the windows.
      C->UpdateBounds();
    } else {
      C->FLeft += DeltaX;
      C->FTop += DeltaY;
    }
  }
  Realign();
}
