// The view's scrolling and Update: the scroll position with its limits, the scroll bars on a
// 16-bit range, their messages, the mouse wheel, and Update, which every change of picture,
// size or option ends in.
#include <algorithm>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iescrollbars.h"
#include "imaging/view/zezudidview.h"
#include "imaging/view/zezudidviewgeometry.h"
#include "platform/system/Math.h"
#include "platform/user/WinUser.h"

namespace {

bool ShowsHorzBar(TScrollStyle Style) {
  return Style == ssHorizontal || Style == ssBoth;
}

bool ShowsVertBar(TScrollStyle Style) {
  return Style == ssVertical || Style == ssBoth;
}

Integer BarUnits(Integer Pixels, Double Scale) {
  return static_cast<Integer>(Trunc(Pixels / static_cast<Extended>(Scale)));
}

}  // namespace

void TZezudIdView::ScrollTo(Integer X, Integer Y, bool MoveX, bool MoveY) {
  if (MoveX) DoViewChanging(0, X);
  if (MoveY) DoViewChanging(1, Y);
  if (!MoveX) X = FViewX;
  if (!MoveY) Y = FViewY;
  if (X == FViewX && Y == FViewY) return;
  Integer MaxX = 0, MaxY = 0;
  GetMaxViewXY(MaxX, MaxY);
  X = std::clamp(X, 0, MaxX);
  Y = std::clamp(Y, 0, MaxY);
  if (X == FViewX && Y == FViewY) return;
  LoadDelayCounters(FZoomX != 100 || FZoomY != 100);
  FViewX = X;
  FViewY = Y;
  // The painter moves what it already drew when nothing else changed since.
  BackBufferScrolled();
  FPaintWhole = true;
  Paint();
  DoViewChange(0);
  if (FSelectionActive) DrawSelection(this, false);
  if (!HandleAllocated()) return;
  if (MoveX && ShowsHorzBar(FScrollBars))
    IESetScrollPos(GetHandle(), SB_HORZ, BarUnits(FViewX, FHScrollScale), true, FFlatScrollBars);
  if (MoveY && ShowsVertBar(FScrollBars))
    IESetScrollPos(GetHandle(), SB_VERT, BarUnits(FViewY, FVScrollScale), true, FFlatScrollBars);
}

void TZezudIdView::SetViewXY(Integer X, Integer Y) {
  ScrollTo(X, Y, true, true);
}

void TZezudIdView::SetViewX(Integer X) {
  ScrollTo(X, FViewY, true, false);
}

void TZezudIdView::SetViewY(Integer Y) {
  ScrollTo(FViewX, Y, false, true);
}

void TZezudIdView::SetScrollBars(TScrollStyle Value) {
  FScrollBars = Value;
  if (!ShowsVertBar(Value)) HideVertScrollBar();
  if (!ShowsHorzBar(Value)) HideHorzScrollBar();
  FUpdateReason = 4;
  Update();
}

void TZezudIdView::SetCenter(bool Value) {
  if (Value == FCenter) return;
  FCenter = Value;
  FUpdateReason = 1;
  Update();
}

void TZezudIdView::HideHorzScrollBar() {
  if (!FHorzBarShown) return;
  FHorzBarShown = false;
  if (HandleAllocated()) IEShowScrollBar(GetHandle(), SB_HORZ, false, FFlatScrollBars);
}

void TZezudIdView::HideVertScrollBar() {
  if (!FVertBarShown) return;
  FVertBarShown = false;
  if (HandleAllocated()) IEShowScrollBar(GetHandle(), SB_VERT, false, FFlatScrollBars);
}

void TZezudIdView::UpdateScrollBar(Integer Bar, Integer MaxView) {
  const bool Horizontal = Bar == SB_HORZ;
  bool& Shown = Horizontal ? FHorzBarShown : FVertBarShown;
  HWND Wnd = GetHandle();
  if (MaxView < 1) {
    if (FScrollBarsDisabledWhenFit) {
      Shown = true;
      IEEnableScrollBar(Wnd, Bar, ESB_DISABLE_BOTH, FFlatScrollBars);
      IEShowScrollBar(Wnd, Bar, true, FFlatScrollBars);
    } else if (Horizontal) {
      HideHorzScrollBar();
    } else {
      HideVertScrollBar();
    }
    return;
  }
  Shown = true;
  const Integer ViewExtent = Horizontal ? GetViewWidth() : GetViewHeight();
  Double& Scale = Horizontal ? FHScrollScale : FVScrollScale;
  Scale = IEScrollScale(ViewExtent, MaxView);
  IESetScrollInfo(Wnd, Bar, 0, IEScrollBarUnits - 1, BarUnits(ViewExtent, Scale),
                  BarUnits(Horizontal ? FViewX : FViewY, Scale), true, FFlatScrollBars);
  IEEnableScrollBar(Wnd, Bar, ESB_ENABLE_BOTH, FFlatScrollBars);
  IEShowScrollBar(Wnd, Bar, true, FFlatScrollBars);
}

void TZezudIdView::UpdateWindowGeometry() {
  const Integer ViewW = GetViewWidth(), ViewH = GetViewHeight();
  Integer MaxX = 0, MaxY = 0;
  GetMaxViewXY(MaxX, MaxY);
  bool Moved = false;
  if (MaxX < FViewX) {
    DoViewChanging(0, MaxX);
    FViewX = MaxX;
    Moved = true;
  }
  if (MaxY < FViewY) {
    DoViewChanging(1, MaxY);
    FViewY = MaxY;
    Moved = true;
  }
  if (Moved) DoViewChange(0);
  // A failing bar must not stop the update.
  try {
    if (ShowsHorzBar(FScrollBars)) UpdateScrollBar(SB_HORZ, MaxX);
    if (ShowsVertBar(FScrollBars)) UpdateScrollBar(SB_VERT, MaxY);
  } catch (const Exception&) {
  }
  // A bar that appeared or vanished changed the client area: measure once more.
  if ((GetViewWidth() != ViewW || GetViewHeight() != ViewH) && !FInNestedUpdate) {
    FInNestedUpdate = true;
    try {
      Update();
    } catch (...) {
      FInNestedUpdate = false;
      throw;
    }
    FInNestedUpdate = false;
  }
}

void TZezudIdView::FitPictureSizes() {
  TIEBitmap* Picture = GetIEBitmap();
  const Integer W = Picture->GetWidth(), H = Picture->GetHeight();
  if (W == FLastWidth && H == FLastHeight) return;
  FLastWidth = W;
  FLastHeight = H;
  if (FSelectionMask->GetWidth() != W || FSelectionMask->GetHeight() != H) {
    if (FSelectionActive) {
      FSelectionMask->Resize(W, H);
      FSelectionMask->SyncRect();
    } else {
      FSelectionMask->AllocateBits(W, H, FSelectionMaskBits);
    }
  }
  if (Picture->HasAlphaChannel()) {
    TIEBitmap* Alpha = Picture->GetAlphaChannel();
    if (Alpha->GetWidth() != W || Alpha->GetHeight() != H) {
      Alpha->Allocate(W, H, ie8g);
      Alpha->Fill(255);
    }
  }
}

void TZezudIdView::Update() {
  if (FUpdateLock > 0) return;
  const TComponentState State = GetComponentState();
  if (!(State.IsEmpty() || State == TComponentState{csFreeNotification})) return;
  FInUpdate = true;
  try {
    RunUpdate();
  } catch (...) {
    FUpdateReason = 0;
    FInUpdate = false;
    throw;
  }
  FUpdateReason = 0;
  FInUpdate = false;
}

void TZezudIdView::RunUpdate() {
  FRefreshLayer = -1;
  SyncLayers();
  if ((FAutoStretch || FAutoShrink || FAutoFit) && FBitmapWidth != 0 && FBitmapHeight != 0) ApplyAutoZoom();
  FitPictureSizes();
  // Without a window there is nothing to measure, scroll or invalidate - unless painting is forced
  // to the control's size, which needs the extents.
  if (!HandleAllocated() && !FLockPaintForced) return;
  if (HandleAllocated() && HasParentWindow()) UpdateWindowGeometry();
  UpdateExtents();
  FBackBufferDirty = true;
  FPaintWhole = true;
  if (HasParentWindow() && !FNoInvalidate && FInvalidateOnUpdate) Invalidate();
  if (FLinkedView && FLinkedView->GetPaintLock() == 0) {
    if (FUpdateReason == 0) FLinkedView->Update();
    SyncNavigator();
  }
}

void TZezudIdView::DoScroll(bool Horizontal, Integer Action, Integer Position) {
  const TIEScrollBarParams& Params = Horizontal ? *FHScrollParams : *FVScrollParams;
  const Double Factor = Horizontal ? FZoomFactorX : FZoomFactorY;
  const Integer View = Horizontal ? FViewX : FViewY;
  Integer Target = 0;
  switch (Action) {
    case 0:
      Target = Position;
      break;
    case 1: {
      Integer MaxX = 0, MaxY = 0;
      GetMaxViewXY(MaxX, MaxY);
      Target = Horizontal ? MaxX : MaxY;
      break;
    }
    case 3:
      Target = View + IEScrollLineStep(Params, Factor);
      break;
    case 4:
      Target = View - IEScrollLineStep(Params, Factor);
      break;
    case 5:
      Target = View + IEScrollPageStep(Params, Factor, Horizontal ? GetViewWidth() : GetViewHeight());
      break;
    case 6:
      Target = View - IEScrollPageStep(Params, Factor, Horizontal ? GetViewWidth() : GetViewHeight());
      break;
    default:
      break;
  }
  if (Horizontal)
    SetViewX(Target);
  else
    SetViewY(Target);
}

void TZezudIdView::DoHorizScroll(Integer Action, Integer Position) {
  DoScroll(true, Action, Position);
}

void TZezudIdView::DoVertScroll(Integer Action, Integer Position) {
  DoScroll(false, Action, Position);
}

void TZezudIdView::ScrollBarMessage(TMessage& Message, bool Horizontal) {
  TIEView::Dispatch(Message);
  const WORD Code = LOWORD(Message.WParam);
  const TIEScrollBarParams& Params = Horizontal ? *FHScrollParams : *FVScrollParams;
  const Double Scale = Horizontal ? FHScrollScale : FVScrollScale;
  // Bar codes 0..7 as scroll actions: line back/forward, page back/forward, thumb, thumb
  // track, start, end.
  static constexpr Integer Actions[] = {4, 3, 6, 5, 0, 0, 2, 1};
  if (Code > SB_BOTTOM) {
    DoScroll(Horizontal, 0, Horizontal ? FViewX : FViewY);
    return;
  }
  if (Code == SB_THUMBTRACK && !Params.Tracking) return;
  const auto Position = static_cast<Integer>(Round(static_cast<Extended>(HIWORD(Message.WParam)) * Scale));
  DoScroll(Horizontal, Actions[Code], Position);
}

void TZezudIdView::WMHScroll(TMessage& Message) {
  ScrollBarMessage(Message, true);
}

void TZezudIdView::WMVScroll(TMessage& Message) {
  ScrollBarMessage(Message, false);
}

void TZezudIdView::WMMouseWheel(TMessage& Message) {
  TIEView::Dispatch(Message);
  const TPoint P = ScreenToClient(TPoint{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)});
  MouseWheelAction(GET_WHEEL_DELTA_WPARAM(Message.WParam), P.X, (LOWORD(Message.WParam) & MK_CONTROL) != 0,
                   P.Y);
}

void TZezudIdView::MouseWheelAction(Integer WheelDelta, Integer X, bool CtrlHeld, Integer Y) {
  const TIEMouseWheelParams& Params = *FWheelParams;
  if (Params.Action == iewaNone || FAutoFit || !IEWheelVariationKnown(Params)) return;
  const Integer Direction = IEWheelDirection(Params, WheelDelta);
  if (Params.Action == iewaScroll) {
    Integer MaxX = 0, MaxY = 0;
    GetMaxViewXY(MaxX, MaxY);
    if (CtrlHeld || (MaxX > 0 && MaxY == 0))
      SetViewX(FViewX + Direction * IEWheelScrollStep(Params, GetViewWidth(), FZoomFactorX));
    else
      SetViewY(FViewY + Direction * IEWheelScrollStep(Params, GetViewHeight(), FZoomFactorY));
  } else if (Params.Action == iewaZoom) {
    Double Zoom = IEWheelZoom(Params, FZoomX, Direction);
    if (Zoom > FZoomX)
      DoZoomIn(Zoom);
    else if (Zoom < FZoomX)
      DoZoomOut(Zoom);
    if (Params.ZoomPosition)
      ZoomAt(X, Y, Zoom, false);
    else
      ChangeZoom(Zoom);
  }
}
