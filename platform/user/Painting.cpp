// Update regions, WM_PAINT and window device contexts.
#include <algorithm>

#include "platform/gdi/Painting.h"
#include "platform/user/WindowInternals.h"
#include "platform/user/WindowPaint.h"
#include "platform/user/Windows.h"

TCaretPaintHook CaretPaintHook = nullptr;

namespace {

Integer GPaintPending = 0;

struct THeldDC {
  HDC DC;
  HWND Wnd;
  DWORD Flags;
  std::optional<TRegionData> Extra;  // surface coordinates, relative to the window origin
  bool Exclude;
};

// Never destroyed, as static destructors of other units may still take and release DCs.
std::vector<THeldDC>& HeldDCs() {
  static auto* List = new std::vector<THeldDC>;
  return *List;
}

TSurface& EmptySurface() {
  static auto* S = new TSurface;
  return *S;
}

TRect WholeWindow(const TWindow* W) {
  return TRect{0, 0, W->Rect.Width(), W->Rect.Height()};
}

// The part of Rgn (window coordinates) in the client area C, in client coordinates.
TRegionData ClientPart(TRegionData Rgn, const TRect& C) {
  Rgn.IntersectRect(C);
  Rgn.Offset(-C.Left, -C.Top);
  return Rgn;
}

// The area RedrawWindow means, in window coordinates.
TRegionData AreaOf(const TWindow* W, const RECT* Rect, HRGN Rgn, UINT Flags) {
  const TRect C = ClientInWindow(W);
  TRegionData R;
  if (Rect != nullptr) {
    R.SetRect(TRect{Rect->Left + C.Left, Rect->Top + C.Top, Rect->Right + C.Left, Rect->Bottom + C.Top});
  } else if (Rgn != nullptr) {
    R = Rgn->Data;
    R.Offset(C.Left, C.Top);
  } else {
    R.SetRect((Flags & RDW_FRAME) ? WholeWindow(W) : C);
  }
  return R;
}

bool ChildrenIncluded(const TWindow* W, UINT Flags) {
  if (Flags & RDW_ALLCHILDREN) return true;
  if (Flags & RDW_NOCHILDREN) return false;
  return !(W->Style & WS_CLIPCHILDREN);
}

void ValidateWindowRegion(TWindow* W, const TRegionData& Rgn, UINT Flags) {
  W->UpdateRgn.Combine(W->UpdateRgn, Rgn, RGN_DIFF);
  if (Flags & RDW_NOFRAME)
    W->NeedNcPaint = false;
  else if (W->NeedNcPaint && Rgn.Box() == WholeWindow(W) && Rgn.Complexity() == SIMPLEREGION)
    W->NeedNcPaint = false;
  if (Flags & RDW_NOINTERNALPAINT) W->InternalPaint = false;
  if ((Flags & RDW_NOERASE) || W->UpdateRgn.IsEmpty()) W->NeedErase = false;
  UpdatePaintState(W);
  if (!ChildrenIncluded(W, Flags)) return;
  const TRect C = ClientInWindow(W);
  for (TWindow* Child : W->Children) {
    // Rgn is in W's window coordinates; the child's window rectangle lies in W's client area.
    TRegionData R;
    R = Rgn;
    R.IntersectRect(C);
    R.Offset(-(C.Left + Child->Rect.Left), -(C.Top + Child->Rect.Top));
    if (!R.IsEmpty()) ValidateWindowRegion(Child, R, Flags);
  }
}

void PaintTree(TWindow* W, bool Children, bool EraseOnly) {
  const HWND H = W->Handle;
  if (!IsReallyVisible(W)) return;
  if (EraseOnly) {
    if (W->NeedNcPaint || W->NeedErase) {
      RECT R;
      GetUpdateRect(H, &R, TRUE);
    }
  } else if (!W->UpdateRgn.IsEmpty() || W->NeedNcPaint || W->InternalPaint) {
    SendPaintMessage(W);
  }
  if (!Children || (W = PeekWindow(H)) == nullptr) return;
  std::vector<HWND> Kids;
  for (TWindow* C : W->Children) Kids.push_back(C->Handle);
  for (HWND K : Kids)
    if (TWindow* C = PeekWindow(K)) PaintTree(C, true, EraseOnly);
}

void DamageDC(const THeldDC& H) {
  TWindow* W = PeekWindow(H.Wnd);
  if (W == nullptr) return;
  if (W == DesktopWindow()) return;
  TWindow* Top = TopLevelOf(W);
  const TRegionData& Clip = H.DC->Clip();
  if (!Clip.IsEmpty()) DamageWindowSurface(Top, Clip.Box());
}

void AimDC(THeldDC& H) {
  TWindow* W = PeekWindow(H.Wnd);
  if (W == nullptr) {
    H.DC->SetTarget(&EmptySurface(), {0, 0}, TRegionData());
    return;
  }
  if (W == DesktopWindow()) {
    H.DC->SetTarget(&ScreenSurface(), {0, 0}, std::nullopt);
    return;
  }
  TWindow* Top = TopLevelOf(W);
  if (!Top->Surface) {
    H.DC->SetTarget(&EmptySurface(), {0, 0}, TRegionData());
    return;
  }
  const TPoint O = (H.Flags & DCX_WINDOW) ? WindowOriginInSurface(W) : ClientOriginInSurface(W);
  TRegionData Vis = VisibleRegion(W, H.Flags);
  if (H.Extra) {
    TRegionData E = *H.Extra;
    E.Offset(O.X, O.Y);
    Vis.Combine(Vis, E, H.Exclude ? RGN_DIFF : RGN_AND);
  }
  H.DC->SetTarget(&Top->Surface->Surface, O, std::move(Vis));
}

HDC NewWindowDC(TWindow* W, DWORD Flags, std::optional<TRegionData> Extra, bool Exclude) {
  THeldDC H{TDeviceContext::CreateForSurface(&EmptySurface(), {0, 0}, TRegionData()), W->Handle, Flags,
            std::move(Extra), Exclude};
  AimDC(H);
  HeldDCs().push_back(std::move(H));
  return HeldDCs().back().DC;
}

}  // namespace

// ---- Bookkeeping ----------------------------------------------------------------------------

Integer PaintPendingCount() {
  return GPaintPending;
}

void UpdatePaintState(TWindow* W) {
  const bool Pending = !W->UpdateRgn.IsEmpty() || W->NeedNcPaint || W->InternalPaint;
  if (Pending == W->InPaintList) return;
  W->InPaintList = Pending;
  GPaintPending += Pending ? 1 : -1;
}

namespace {
TWindow* SearchPaint(TWindow* W) {
  if (!(W->Style & WS_VISIBLE) || W->RedrawOff || W == LockedWindow()) return nullptr;
  if (W->InPaintList) return W;
  for (TWindow* C : W->Children)
    if (TWindow* F = SearchPaint(C)) return F;
  return nullptr;
}
}  // namespace

TWindow* FindPaintWindow(TWindow* Filter) {
  if (GPaintPending == 0) return nullptr;
  if (Filter != nullptr) {
    if (!IsReallyVisible(Filter)) return nullptr;
    for (TWindow* A = Filter->Parent; A != nullptr; A = A->Parent)
      if (A->RedrawOff || A == LockedWindow()) return nullptr;
    return SearchPaint(Filter);
  }
  for (TWindow* T : DesktopWindow()->Children)
    if (TWindow* F = SearchPaint(T)) return F;
  return nullptr;
}

void InvalidateWindowRegion(TWindow* W, const TRegionData& Rgn, UINT Flags) {
  if (!IsReallyVisible(W)) return;
  TRegionData R = Rgn;
  if (Flags & RDW_FRAME) {
    R.IntersectRect(WholeWindow(W));
    const TRect C = ClientInWindow(W);
    TRegionData Outside = R;
    Outside.ExcludeRect(C);
    if (!Outside.IsEmpty()) W->NeedNcPaint = true;
  } else {
    R.IntersectRect(ClientInWindow(W));
  }
  if (!R.IsEmpty()) {
    W->UpdateRgn.Combine(W->UpdateRgn, R, RGN_OR);
    if (Flags & RDW_ERASE) W->NeedErase = true;
  }
  if (Flags & RDW_INTERNALPAINT) W->InternalPaint = true;
  UpdatePaintState(W);
  if (!ChildrenIncluded(W, Flags)) return;
  const TRect C = ClientInWindow(W);
  for (TWindow* Child : W->Children) {
    if (!(Child->Style & WS_VISIBLE)) continue;
    TRegionData CR = Rgn;
    CR.IntersectRect(C);
    CR.Offset(-(C.Left + Child->Rect.Left), -(C.Top + Child->Rect.Top));
    if (!CR.IsEmpty()) InvalidateWindowRegion(Child, CR, (Flags | RDW_FRAME) & ~RDW_INTERNALPAINT);
  }
}

LRESULT SendPaintMessage(TWindow* W) {
  const TRegionData Before = W->UpdateRgn;
  const bool Flags = W->NeedErase || W->NeedNcPaint || W->InternalPaint;
  const HWND H = W->Handle;
  const LRESULT R = SendTo(W, WM_PAINT, 0, 0);
  W = PeekWindow(H);
  if (W != nullptr && W->InPaintList && W->UpdateRgn == Before &&
      Flags == (W->NeedErase || W->NeedNcPaint || W->InternalPaint)) {
    W->UpdateRgn.SetEmpty();
    W->NeedErase = W->NeedNcPaint = W->InternalPaint = false;
    UpdatePaintState(W);
  }
  return R;
}

// ---- Public calls -------------------------------------------------------------------------

BOOL RedrawWindow(HWND Wnd, const RECT* Update, HRGN UpdateRgn, UINT Flags) {
  TWindow* W = Wnd == nullptr ? DesktopWindow() : WindowFromHandle(Wnd);
  if (W == nullptr) return FALSE;
  if (W == DesktopWindow()) {
    // The desktop: every window, and the screen itself.
    if (Flags & RDW_INVALIDATE) DamageScreen(ScreenSurface().Bounds());
    if (Flags & RDW_ALLCHILDREN) {
      std::vector<HWND> Tops;
      for (TWindow* T : W->Children) Tops.push_back(T->Handle);
      for (HWND T : Tops)
        if (PeekWindow(T) != nullptr) RedrawWindow(T, nullptr, nullptr, Flags | RDW_FRAME);
    }
    return TRUE;
  }
  const TRegionData Area = AreaOf(W, Update, UpdateRgn, Flags);
  if (Flags & RDW_INVALIDATE)
    InvalidateWindowRegion(W, Area, Flags);
  else if (Flags & RDW_VALIDATE)
    ValidateWindowRegion(W, Area, Flags);
  if (Flags & (RDW_UPDATENOW | RDW_ERASENOW)) {
    const bool Children = !(Flags & RDW_NOCHILDREN);
    PaintTree(W, Children, !(Flags & RDW_UPDATENOW));
  }
  return TRUE;
}

BOOL InvalidateRect(HWND Wnd, const RECT* Rect, BOOL Erase) {
  if (Wnd == nullptr)
    return RedrawWindow(nullptr, Rect, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
  return RedrawWindow(Wnd, Rect, nullptr, RDW_INVALIDATE | (Erase ? RDW_ERASE : 0));
}

BOOL InvalidateRgn(HWND Wnd, HRGN Rgn, BOOL Erase) {
  return RedrawWindow(Wnd, nullptr, Rgn, RDW_INVALIDATE | (Erase ? RDW_ERASE : 0));
}

BOOL ValidateRect(HWND Wnd, const RECT* Rect) {
  if (Wnd == nullptr) return RedrawWindow(nullptr, nullptr, nullptr, RDW_VALIDATE | RDW_ALLCHILDREN);
  return RedrawWindow(Wnd, Rect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL ValidateRgn(HWND Wnd, HRGN Rgn) {
  return RedrawWindow(Wnd, nullptr, Rgn, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL UpdateWindow(HWND Wnd) {
  return RedrawWindow(Wnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

namespace {
// Erases now what waits to be erased (WM_NCPAINT and WM_ERASEBKGND).
void EraseNow(TWindow* W) {
  const HWND H = W->Handle;
  if (W->NeedNcPaint) {
    W->NeedNcPaint = false;
    UpdatePaintState(W);
    SendTo(W, WM_NCPAINT, 1, 0);
    if ((W = PeekWindow(H)) == nullptr) return;
  }
  if (W->NeedErase) {
    W->NeedErase = false;
    HDC DC = NewWindowDC(W, DefaultDcxFlags(W), ClientPart(W->UpdateRgn, ClientInWindow(W)), false);
    SendTo(W, WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
    ReleaseDC(H, DC);
  }
}
}  // namespace

BOOL GetUpdateRect(HWND Wnd, RECT* Rect, BOOL Erase) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr) return FALSE;
  if (Erase) {
    EraseNow(W);
    if ((W = PeekWindow(Wnd)) == nullptr) return FALSE;
  }
  const TRegionData R = ClientPart(W->UpdateRgn, ClientInWindow(W));
  if (Rect != nullptr) *Rect = R.Box();
  return R.IsEmpty() ? FALSE : TRUE;
}

Integer GetUpdateRgn(HWND Wnd, HRGN Rgn, BOOL Erase) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr || Rgn == nullptr) return ERROR;
  if (Erase) {
    EraseNow(W);
    if ((W = PeekWindow(Wnd)) == nullptr) return ERROR;
  }
  Rgn->Data = ClientPart(W->UpdateRgn, ClientInWindow(W));
  return Rgn->Data.Complexity();
}

HDC BeginPaint(HWND Wnd, PAINTSTRUCT* Paint) {
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr || Paint == nullptr) return nullptr;
  if (CaretPaintHook != nullptr) {
    CaretPaintHook(Wnd, true);
    if ((W = PeekWindow(Wnd)) == nullptr) return nullptr;
  }
  const TRect C = ClientInWindow(W);
  TRegionData Whole = W->UpdateRgn;
  const bool Erase = W->NeedErase;
  const bool NcPaint = W->NeedNcPaint;
  W->UpdateRgn.SetEmpty();
  W->NeedErase = W->NeedNcPaint = W->InternalPaint = false;
  UpdatePaintState(W);
  if (NcPaint) {
    // The region goes in screen coordinates; the handler does not own it.
    const TPoint O = WindowOriginOnScreen(W);
    TRegionData Screen = Whole;
    Screen.Offset(O.X, O.Y);
    HRGN Rgn = CreateRectRgn(0, 0, 0, 0);
    Rgn->Data = std::move(Screen);
    SendTo(W, WM_NCPAINT, reinterpret_cast<WPARAM>(Rgn), 0);
    DeleteObject(Rgn);
    if ((W = PeekWindow(Wnd)) == nullptr) return nullptr;
  }
  TRegionData Client = ClientPart(std::move(Whole), C);
  const TRect Box = Client.Box();
  HDC DC = NewWindowDC(W, DefaultDcxFlags(W), std::move(Client), false);
  Paint->hdc = DC;
  Paint->fErase = TRUE;
  Paint->fRestore = FALSE;
  Paint->fIncUpdate = FALSE;
  Paint->rcPaint = Box;
  if (Erase)
    Paint->fErase = SendTo(W, WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0) ? FALSE : TRUE;
  else
    Paint->fErase = FALSE;
  return DC;
}

BOOL EndPaint(HWND Wnd, const PAINTSTRUCT* Paint) {
  if (Paint == nullptr) return FALSE;
  ReleaseDC(Wnd, Paint->hdc);
  if (CaretPaintHook != nullptr && PeekWindow(Wnd) != nullptr) CaretPaintHook(Wnd, false);
  return TRUE;
}

HDC GetDCEx(HWND Wnd, HRGN Clip, DWORD Flags) {
  TWindow* W = Wnd == nullptr ? DesktopWindow() : WindowFromHandle(Wnd);
  if (W == nullptr) return nullptr;
  if (Flags & DCX_USESTYLE) Flags |= DefaultDcxFlags(W);
  std::optional<TRegionData> Extra;
  bool Exclude = false;
  if (Clip != nullptr && (Flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN))) {
    // The region is in window (DCX_WINDOW) or client coordinates, as the DC's origin.
    Extra = Clip->Data;
    Exclude = (Flags & DCX_EXCLUDERGN) != 0;
  }
  if (Flags & DCX_INTERSECTUPDATE) {
    TRegionData U = W->UpdateRgn;
    if (!(Flags & DCX_WINDOW)) {
      const TRect C = ClientInWindow(W);
      U.Offset(-C.Left, -C.Top);
    }
    if (Extra && !Exclude)
      Extra->Combine(*Extra, U, RGN_AND);
    else if (!Extra)
      Extra = std::move(U);
  }
  return NewWindowDC(W, Flags, std::move(Extra), Exclude);
}

HDC GetDC(HWND Wnd) {
  return GetDCEx(Wnd, nullptr, DCX_USESTYLE | DCX_CACHE);
}

HDC GetWindowDC(HWND Wnd) {
  return GetDCEx(Wnd, nullptr, DCX_USESTYLE | DCX_CACHE | DCX_WINDOW);
}

Integer ReleaseDC(HWND, HDC DC) {
  auto& L = HeldDCs();
  auto It = std::find_if(L.begin(), L.end(), [DC](const THeldDC& H) { return H.DC == DC; });
  if (It == L.end()) return 0;
  DamageDC(*It);
  HDC Gone = It->DC;
  L.erase(It);
  DeleteDC(Gone);
  return 1;
}

HWND WindowFromDC(HDC DC) {
  for (const THeldDC& H : HeldDCs())
    if (H.DC == DC) return H.Wnd;
  return nullptr;
}

void RefreshWindowDCs() {
  for (THeldDC& H : HeldDCs()) AimDC(H);
}

void NoteHeldWindowDCs() {
  for (const THeldDC& H : HeldDCs()) DamageDC(H);
}

BOOL LockWindowUpdate(HWND Wnd) {
  TWindow*& Locked = LockedWindow();
  if (Wnd == nullptr) {
    if (Locked == nullptr) return FALSE;
    const HWND Was = Locked->Handle;
    Locked = nullptr;
    RefreshWindowDCs();
    if (PeekWindow(Was) != nullptr)
      RedrawWindow(Was, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return TRUE;
  }
  TWindow* W = WindowFromHandle(Wnd);
  if (W == nullptr || (Locked != nullptr && Locked != W)) return FALSE;
  Locked = W;
  RefreshWindowDCs();
  return TRUE;
}
