// Drawing the classic frame: borders, caption with gradient, icon, title and buttons, menu
// bar, client edge, scroll bars; WM_NCPAINT, WM_NCACTIVATE, WM_SETICON and WM_GETICON.
#include <algorithm>

#include "platform/gdi/Blit.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/Painting.h"
#include "platform/gdi/Regions.h"
#include "platform/gdi/Text.h"
#include "platform/user/MenuInternals.h"
#include "platform/user/NonClient.h"
#include "platform/user/ScrollBars.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/Windows.h"

TNcDrawIconHook NcDrawIconHook = nullptr;

namespace {

// A frame of Width x Height pixels just inside R.
void FrameSys(HDC DC, const TRect& R, Integer Width, Integer Height, Integer ColorIndex) {
  if (Width <= 0 && Height <= 0) return;
  FillSys(DC, {R.Left, R.Top, R.Right, R.Top + Height}, ColorIndex);
  FillSys(DC, {R.Left, R.Bottom - Height, R.Right, R.Bottom}, ColorIndex);
  FillSys(DC, {R.Left, R.Top + Height, R.Left + Width, R.Bottom - Height}, ColorIndex);
  FillSys(DC, {R.Right - Width, R.Top + Height, R.Right, R.Bottom - Height}, ColorIndex);
}

void DrawOuterFrame(TWindow* W, HDC DC, const TNcLayout& L, bool Active) {
  const DWORD Style = W->Style, Ex = W->ExStyle;
  RECT R = L.Window;
  if (Style & WS_THICKFRAME) {
    DrawEdge(DC, &R, EDGE_RAISED, BF_RECT | BF_ADJUST);
    const Integer Fx = GetSystemMetrics(SM_CXFRAME) - GetSystemMetrics(SM_CXEDGE);
    const Integer Fy = GetSystemMetrics(SM_CYFRAME) - GetSystemMetrics(SM_CYEDGE);
    FrameSys(DC, R, Fx, Fy, Active ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER);
  } else if ((Ex & WS_EX_DLGMODALFRAME) || (Style & WS_DLGFRAME)) {
    DrawEdge(DC, &R, EDGE_RAISED, BF_RECT | BF_ADJUST);
    const Integer Fx = GetSystemMetrics(SM_CXDLGFRAME) - GetSystemMetrics(SM_CXEDGE);
    const Integer Fy = GetSystemMetrics(SM_CYDLGFRAME) - GetSystemMetrics(SM_CYEDGE);
    FrameSys(DC, R, Fx, Fy, COLOR_3DFACE);
  } else if (Style & WS_BORDER) {
    FrameSys(DC, R, GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER), COLOR_WINDOWFRAME);
  }
}

// The application glyph the caption shows for a window without an icon: a small window.
void DrawDefaultIcon(HDC DC, Integer X, Integer Y) {
  FillSys(DC, {X + 1, Y + 2, X + 15, Y + 14}, COLOR_WINDOWFRAME);
  FillSys(DC, {X + 2, Y + 3, X + 14, Y + 6}, COLOR_ACTIVECAPTION);
  FillSys(DC, {X + 2, Y + 6, X + 14, Y + 13}, COLOR_WINDOW);
}

bool CloseDisabled(TWindow* W) {
  if (W->Class != nullptr && (W->Class->Style & CS_NOCLOSE)) return true;
  const TNcState* S = static_cast<const TNcState*>(W->AddOns[waNonClient].get());
  if (S == nullptr || S->SystemMenu == nullptr) return false;
  const UINT State = GetMenuState(S->SystemMenu, static_cast<UINT>(SC_CLOSE), MF_BYCOMMAND);
  return State != static_cast<UINT>(-1) && (State & (MF_GRAYED | MF_DISABLED));
}

void DrawButton(HDC DC, const TRect& R, UINT Kind, bool Pushed, bool Disabled) {
  if (IsEmptyRect(R)) return;
  RECT B = R;
  DrawFrameControl(DC, &B, DFC_CAPTION, Kind | (Pushed ? DFCS_PUSHED : 0) | (Disabled ? DFCS_INACTIVE : 0));
}

void DrawCaption(TWindow* W, HDC DC, const TNcLayout& L, bool Active) {
  if (IsEmptyRect(L.Caption)) return;
  DrawCaptionGradient(DC, L.Caption, Active);
  // The line between the caption and what follows.
  if (L.Caption.Bottom < L.Inside.Bottom)
    FillSys(DC, {L.Caption.Left, L.Caption.Bottom, L.Caption.Right, L.Caption.Bottom + 1}, COLOR_3DFACE);
  if (!IsEmptyRect(L.Icon)) {
    const Integer S = GetSystemMetrics(SM_CXSMICON);
    const Integer X = L.Icon.Left + 1, Y = L.Icon.Top + (L.Icon.Height() - S) / 2;
    HICON Icon = NcCaptionIcon(W);
    if (Icon == nullptr || NcDrawIconHook == nullptr || !NcDrawIconHook(DC, X, Y, Icon, S, S))
      DrawDefaultIcon(DC, X, Y);
  }
  if (!W->Text.empty() && !IsEmptyRect(L.Title)) {
    const Integer Saved = SaveDC(DC);
    SelectObject(DC, NcCaptionFont(L.ToolWindow));
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, GetSysColor(Active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    RECT T = L.Title;
    DrawText(DC, W->Text.c_str(), -1, &T,
             DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
    RestoreDC(DC, Saved);
  }
  const TNcState& S = NcStateOf(W);
  const bool Min = W->Style & WS_MINIMIZE, Max = W->Style & WS_MAXIMIZE;
  DrawButton(DC, L.CloseBtn, DFCS_CAPTIONCLOSE, S.Pushed == HTCLOSE, CloseDisabled(W));
  DrawButton(DC, L.MaxBtn, Max ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX, S.Pushed == HTMAXBUTTON,
             !(W->Style & WS_MAXIMIZEBOX));
  DrawButton(DC, L.MinBtn, Min ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMIN, S.Pushed == HTMINBUTTON,
             !(W->Style & WS_MINIMIZEBOX));
  DrawButton(DC, L.HelpBtn, DFCS_CAPTIONHELP, S.Pushed == HTHELP, false);
}

void DrawClientEdge(TWindow* W, HDC DC, const TNcLayout& L) {
  RECT R = L.Edge;
  if (IsEmptyRect(R)) return;
  if (W->ExStyle & WS_EX_CLIENTEDGE) DrawEdge(DC, &R, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  if (W->ExStyle & WS_EX_STATICEDGE) DrawEdge(DC, &R, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
}

// The frame through a window DC clipped to Clip (window coordinates; null: all of it).
void PaintFrame(TWindow* W, const TRegionData* Clip) {
  if (!IsReallyVisible(W)) return;
  const HWND H = W->Handle;
  HRGN Rgn = nullptr;
  DWORD Flags = DCX_WINDOW | DCX_CACHE | DCX_USESTYLE;
  if (Clip != nullptr) {
    Rgn = CreateRectRgn(0, 0, 0, 0);
    Rgn->Data = *Clip;
    Flags |= DCX_INTERSECTRGN;
  }
  HDC DC = GetDCEx(H, Rgn, Flags);
  if (Rgn != nullptr) DeleteObject(Rgn);
  if (DC == nullptr) return;
  // The client area is not the frame's to paint.
  const TRect C = ClientInWindow(W);
  if (!IsEmptyRect(C)) ExcludeClipRect(DC, C.Left, C.Top, C.Right, C.Bottom);
  DrawNonClient(W, DC);
  ReleaseDC(H, DC);
}

}  // namespace

LRESULT NcPaintDefault(TWindow* W, UINT, WPARAM WParam, LPARAM) {
  if (WParam > 1) {
    // The update region arrives in screen coordinates.
    TRegionData R = reinterpret_cast<HRGN>(WParam)->Data;
    const TPoint O = WindowOriginOnScreen(W);
    R.Offset(-O.X, -O.Y);
    PaintFrame(W, &R);
  } else {
    PaintFrame(W, nullptr);
  }
  return 0;
}

LRESULT NcActivateDefault(TWindow* W, UINT, WPARAM WParam, LPARAM LParam) {
  TNcState& S = NcStateOf(W);
  S.Active = WParam != 0;
  if (LParam != -1) RedrawFrameNow(W);
  return TRUE;
}

LRESULT SetIconDefault(TWindow* W, UINT, WPARAM WParam, LPARAM LParam) {
  TNcState& S = NcStateOf(W);
  HICON& Slot = WParam == ICON_BIG ? S.BigIcon : S.SmallIcon;
  HICON Old = Slot;
  Slot = reinterpret_cast<HICON>(LParam);
  if (HasCaption(W->Style)) RedrawFrameNow(W);
  return reinterpret_cast<LRESULT>(Old);
}

LRESULT GetIconDefault(TWindow* W, UINT, WPARAM WParam, LPARAM) {
  const TNcState* S = static_cast<const TNcState*>(W->AddOns[waNonClient].get());
  if (S == nullptr) return 0;
  if (WParam == ICON_BIG) return reinterpret_cast<LRESULT>(S->BigIcon);
  if (WParam == ICON_SMALL) return reinterpret_cast<LRESULT>(S->SmallIcon);
  return reinterpret_cast<LRESULT>(S->SmallIcon != nullptr ? S->SmallIcon : S->BigIcon);
}

void DrawCaptionGradient(HDC DC, const TRect& R, bool Active) {
  const COLORREF A = GetSysColor(Active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
  const COLORREF B = GetSysColor(Active ? COLOR_GRADIENTACTIVECAPTION : COLOR_GRADIENTINACTIVECAPTION);
  if (IsEmptyRect(R)) return;
  auto Vertex = [](Integer X, Integer Y, COLORREF C) {
    TRIVERTEX V;
    V.x = X;
    V.y = Y;
    V.Red = static_cast<COLOR16>(GetRValue(C) << 8);
    V.Green = static_cast<COLOR16>(GetGValue(C) << 8);
    V.Blue = static_cast<COLOR16>(GetBValue(C) << 8);
    return V;
  };
  const TRIVERTEX V[2] = {Vertex(R.Left, R.Top, A), Vertex(R.Right, R.Bottom, B)};
  const GRADIENT_RECT Mesh{0, 1};
  GradientFill(DC, V, 2, &Mesh, 1, GRADIENT_FILL_RECT_H);
}

HICON NcCaptionIcon(TWindow* W) {
  const TNcState* S = static_cast<const TNcState*>(W->AddOns[waNonClient].get());
  if (S != nullptr && S->SmallIcon != nullptr) return S->SmallIcon;
  if (S != nullptr && S->BigIcon != nullptr) return S->BigIcon;
  if (W->Class != nullptr) return W->Class->IconSm != nullptr ? W->Class->IconSm : W->Class->Icon;
  return nullptr;
}

void DrawNonClient(TWindow* W, HDC DC) {
  const TNcLayout L = NcLayoutOf(W);
  const bool Active = NcStateOf(W).Active;
  DrawOuterFrame(W, DC, L, Active);
  DrawCaption(W, DC, L, Active);
  if (!IsEmptyRect(L.MenuBar)) {
    if (TMenuObject* M = MenuFromHandle(WindowMenuBar(W))) DrawMenuBarItems(DC, *M, W->Handle, L.MenuBar);
  }
  DrawClientEdge(W, DC, L);
  DrawWindowScrollBars(W, DC, L);
}

void RedrawFrameNow(TWindow* W) {
  PaintFrame(W, nullptr);
}

void NcPrintFrame(TWindow* W, HDC DC) {
  DrawNonClient(W, DC);
}
