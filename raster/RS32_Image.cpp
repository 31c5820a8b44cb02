// The paint box: back buffer, dirty rectangles, repaint modes and window painting.
#include "raster/RS32_Image.h"
#include "platform/system/ScopeExit.h"

#include <algorithm>

#include "platform/gdi/Blit.h"
#include "platform/system/ListTypes.h"
#include "platform/user/ControlMessages.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPaint.h"

// ---------------------------------------------------------------------------------------------
// TPaintStages

TPaintStage* TPaintStages::Add() {
  TPaintStage& Stage = FItems.emplace_back();
  Stage.AtRunTime = true;
  return &Stage;
}

TPaintStage* TPaintStages::Items(Integer Index) {
  if (Index < 0 || Index >= Count()) TList::Error(SListIndexError, Index);
  return &FItems[Index];
}

// ---------------------------------------------------------------------------------------------
// TCustomPaintBox32

TCustomPaintBox32::TCustomPaintBox32(TComponent* AOwner) : TCustomControl(AOwner) {
  FBackBuffer = std::make_unique<TBitmap32>();
  FDirtyRects = std::make_unique<TRectList>();
  FOptimizer.reset(DefaultRepaintOptimizerClass(FBackBuffer.get(), FDirtyRects.get()));
  SetHeight(192);
  SetWidth(192);
}

TCustomPaintBox32::~TCustomPaintBox32() {
  FBackBuffer->OnAreaChanged.Clear();
  FOptimizer.reset();
  FDirtyRects.reset();
  FBackBuffer.reset();
}

void TCustomPaintBox32::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      if (WantsPartialRepaint()) {
        if (HasDirtyRects())
          Paint();
        else
          InvalidateRect(GetHandle(), nullptr, FALSE);
      }
      TCustomControl::Dispatch(Message);
      break;
    case WM_ERASEBKGND:
      Message.Result = 1;  // the buffer covers everything: nothing is ever erased
      break;
    case WM_GETDLGCODE:
      TCustomControl::Dispatch(Message);
      if (FBoxOptions.Contains(WantsArrowKeys))
        Message.Result |= DLGC_WANTARROWS;
      else
        Message.Result &= ~DLGC_WANTARROWS;
      break;
    case CM_INVALIDATE:
      // With the optimizer's own rectangles a bare WM_PAINT is enough: nothing is invalidated.
      if (WantsPartialRepaint() && HandleAllocated())
        PostMessage(GetWindowHandle(), WM_PAINT, 0, 0);
      else
        TCustomControl::Dispatch(Message);
      break;
    case CM_MOUSEENTER:
      TCustomControl::Dispatch(Message);
      if (Message.LParam == 0) MouseEntered();  // not when a child control is entered
      break;
    case CM_MOUSELEAVE:
      if (Message.LParam == 0) MouseLeft();
      TCustomControl::Dispatch(Message);
      break;
    default:
      TCustomControl::Dispatch(Message);
      break;
  }
}

void TCustomPaintBox32::Invalidate() {
  FBackBufferCurrent = false;
  TCustomControl::Invalidate();
}

void TCustomPaintBox32::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (GetComponentState().Contains(csDesigning)) AdjustBackBuffer();
  FBackBufferCurrent = false;
}

void TCustomPaintBox32::SetRepaintMode(TRepaintMode Value) {
  if (!FOptimizer) return;
  switch (Value) {
    case rmOptimizer:
      // An image reports its bitmap's areas itself; the buffer's would be its own drawing.
      if (dynamic_cast<TCustomImage32*>(this) == nullptr)
        FBackBuffer->OnAreaChanged =
            TAreaChangedEvent(FOptimizer.get(), &TCustomRepaintOptimizer::AreaChangedHandler);
      else
        FBackBuffer->OnAreaChanged.Clear();
      break;
    case rmDirect:
      FBackBuffer->OnAreaChanged = TAreaChangedEvent(this, &TCustomPaintBox32::DirectAreaUpdateHandler);
      break;
    default:
      FBackBuffer->OnAreaChanged.Clear();
      break;
  }
  FOptimizer->SetActive(Value == rmOptimizer);
  FRepaintMode = Value;
  Invalidate();
}

TRect TCustomPaintBox32::ViewportRect() {
  return MakeRect(0, 0, GetWidth(), GetHeight());
}

void TCustomPaintBox32::ForceFullRepaint() {
  if (FOptimizer->GetActive()) FOptimizer->Restart();
  FFullRepaintPending = true;
  Invalidate();
}

bool TCustomPaintBox32::WantsPartialRepaint() {
  return FOptimizer->GetActive() && !FFullRepaintPending && FOptimizer->HasChanges();
}

bool TCustomPaintBox32::HasDirtyRects() {
  return true;
}

void TCustomPaintBox32::CollectDirtyRects() {
  if (FOptimizer->GetActive() && !FFullRepaintPending) FOptimizer->BuildRects();
}

void TCustomPaintBox32::RenderBackBuffer() {
  if (FFullRepaintPending) {
    FFullRepaintPending = false;
    FDirtyRects->Clear();
  } else {
    CollectDirtyRects();
  }
  FBackBufferCurrent = true;
}

void TCustomPaintBox32::Paint() {
  const bool Active = FOptimizer->GetActive();
  if (Active) FOptimizer->PaintStarting();
  ++FPaintNesting;
  auto Unnested = ScopeExit([&] { --FPaintNesting; });
  if (!FBackBufferCurrent) RenderBackBuffer();
  FBackBuffer->Lock();
  {
    auto Cleanup = ScopeExit([&] { FBackBuffer->Unlock(); });
    const HDC Dst = GetCanvas()->GetHandle();
    const HDC Src = FBackBuffer->GetSurfaceDC();
    auto Copy = [&](const TRect& R) {
      BitBlt(Dst, R.Left, R.Top, R.Width(), R.Height(), Src, R.Left, R.Top, SRCCOPY);
    };
    if (FDirtyRects->GetCount() == 0) {
      Copy(ViewportRect());
    } else {
      for (Integer I = 0; I < FDirtyRects->GetCount(); ++I) Copy(*FDirtyRects->Items(I));
    }
  }
  PaintOverlay();
  if (Active) FOptimizer->PaintFinished();
  FDirtyRects->Clear();
  FFullRepaintPending = false;
}

void TCustomPaintBox32::PaintOverlay() {
  if (OnGDIOverlay) OnGDIOverlay(this);
}

void TCustomPaintBox32::BackBufferResized(Integer, Integer) {
  if (FOptimizer->GetActive()) FOptimizer->TargetResized(FBackBuffer->GetWidth(), FBackBuffer->GetHeight());
}

void TCustomPaintBox32::MouseEntered() {
  FMouseInside = true;
  if (OnMouseEnter) OnMouseEnter(this);
}

void TCustomPaintBox32::MouseLeft() {
  FMouseInside = false;
  if (OnMouseLeave) OnMouseLeave(this);
}

void TCustomPaintBox32::Loaded() {
  FBackBufferCurrent = false;
  TCustomControl::Loaded();
}

void TCustomPaintBox32::Resize() {
  AdjustBackBuffer();
  FBackBufferCurrent = false;
  TCustomControl::Resize();
}

void TCustomPaintBox32::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (FBoxOptions.Contains(FocusOnClick) && CanFocus()) SetFocus();
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomPaintBox32::AdjustBackBuffer() {
  const TRect V = ViewportRect();
  auto Extent = [this](Integer N, Integer B) {
    if (N < 0) N = 0;
    Integer New;
    if (B < N)
      New = N + FBackBufferSlack;
    else if (N < B - FBackBufferSlack)
      New = N;
    else
      New = B;
    return std::max(New, 1);
  };
  const Integer OldWidth = FBackBuffer->GetWidth(), OldHeight = FBackBuffer->GetHeight();
  const Integer NewWidth = Extent(V.Width(), OldWidth), NewHeight = Extent(V.Height(), OldHeight);
  if (NewWidth == OldWidth && NewHeight == OldHeight) return;
  FBackBuffer->Lock();
  {
    auto Cleanup = ScopeExit([&] { FBackBuffer->Unlock(); });
    FBackBuffer->SetSize(NewWidth, NewHeight);
  }
  BackBufferResized(OldWidth, OldHeight);
  ForceFullRepaint();
}

void TCustomPaintBox32::DirectAreaUpdateHandler(TObject*, const TRect& Area, Cardinal) {
  FDirtyRects->Add(Area);
  if (!IsPainting()) Repaint();
}
