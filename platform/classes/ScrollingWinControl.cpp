// TScrollingWinControl and its window scroll bars: the range follows the children (AutoScroll),
// the position scrolls the children and the client pixels.
#include <algorithm>

#include "platform/classes/Forms.h"
#include "platform/classes/UserBridge.h"
#include "platform/system/ScopeExit.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/Windows.h"

// ---- TControlScrollBar ----------------------------------------------------------------------

TControlScrollBar::TControlScrollBar(TScrollingWinControl* AControl, TScrollBarKind AKind)
    : FControl(AControl), FKind(AKind) {}

void TControlScrollBar::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TControlScrollBar*>(Source)) {
    FIncrement = S->FIncrement;
    FMargin = S->FMargin;
    FTracking = S->FTracking;
    SetVisible(S->FVisible);
    SetRange(S->FRange);
    SetPosition(S->FPosition);
    return;
  }
  TPersistent::Assign(Source);
}

Integer TControlScrollBar::ControlSize(bool ControlSB, bool AssumeSB) {
  // The client size along the bar, with the other bar assumed shown (AssumeSB) or not.
  const DWORD Style = static_cast<DWORD>(GetWindowLongPtr(FControl->GetHandle(), GWL_STYLE));
  const Integer BorderAdjust = (Style & (WS_BORDER | WS_THICKFRAME)) != 0 ? 1 : 0;
  auto Adjustment = [&](DWORD OtherBar, Integer Metric) {
    if (ControlSB) return 0;
    const bool Shown = (Style & OtherBar) != 0;
    if (AssumeSB && !Shown) return -(GetSystemMetrics(Metric) - BorderAdjust);
    if (!AssumeSB && Shown) return GetSystemMetrics(Metric) - BorderAdjust;
    return 0;
  };
  if (FKind == sbVertical) return FControl->GetClientHeight() + Adjustment(WS_HSCROLL, SM_CYHSCROLL);
  return FControl->GetClientWidth() + Adjustment(WS_VSCROLL, SM_CXVSCROLL);
}

bool TControlScrollBar::NeedsScrollBarVisible() {
  return FRange > ControlSize(false, false);
}

bool TControlScrollBar::IsScrollBarVisible() {
  if (!FControl->HandleAllocated()) return false;
  const DWORD Style = static_cast<DWORD>(GetWindowLongPtr(FControl->GetWindowHandle(), GWL_STYLE));
  return (Style & (FKind == sbVertical ? WS_VSCROLL : WS_HSCROLL)) != 0;
}

void TControlScrollBar::Update(bool ControlScrollBar, bool AssumeSizes) {
  const Integer Code = FKind == sbHorizontal ? SB_HORZ : SB_VERT;
  FCalcRange = 0;
  if (FVisible) FCalcRange = std::max(0, FRange - ControlSize(ControlScrollBar, AssumeSizes));
  SCROLLINFO Info;
  Info.fMask = SIF_ALL;
  Info.nMin = 0;
  Info.nMax = FCalcRange > 0 ? FRange : 0;
  Info.nPage = static_cast<UINT>(ControlSize(ControlScrollBar, AssumeSizes) + 1);
  Info.nPos = FPosition;
  Info.nTrackPos = FPosition;
  UserLayer::SetScrollInfo(FControl->GetHandle(), Code, &Info, TRUE);
  SetPosition(FPosition);
  FPageIncrement = (ControlSize(true, false) * 9) / 10;
}

void TControlScrollBar::SetPosition(Integer Value) {
  Value = std::clamp(Value, 0, std::max(0, FCalcRange));
  const Integer Code = FKind == sbHorizontal ? SB_HORZ : SB_VERT;
  if (Value != FPosition) {
    const Integer OldPos = FPosition;
    FPosition = Value;
    if (FKind == sbHorizontal)
      FControl->ScrollBy(OldPos - Value, 0);
    else
      FControl->ScrollBy(0, OldPos - Value);
  }
  if (FControl->HandleAllocated()) {
    SCROLLINFO Info;
    Info.fMask = SIF_POS;
    UserLayer::GetScrollInfo(FControl->GetWindowHandle(), Code, &Info);
    if (Info.nPos != FPosition) {
      Info.fMask = SIF_POS;
      Info.nPos = FPosition;
      UserLayer::SetScrollInfo(FControl->GetWindowHandle(), Code, &Info, TRUE);
    }
  }
}

void TControlScrollBar::DoSetRange(Integer Value) {
  FRange = std::max(0, Value);
  FControl->UpdateScrollBars();
}

void TControlScrollBar::SetRange(Integer Value) {
  FControl->FAutoScroll = false;
  DoSetRange(Value);
}

void TControlScrollBar::SetMargin(Integer Value) {
  FMargin = Value;
  if (FVisible) FControl->UpdateScrollBars();
}

void TControlScrollBar::SetVisible(bool Value) {
  FVisible = Value;
  FControl->UpdateScrollBars();
}

void TControlScrollBar::CalcAutoRange() {
  if (!FControl->FAutoScroll) return;
  if (!FControl->AutoScrollEnabled()) {
    DoSetRange(0);
    return;
  }
  Integer NewRange = 0, AlignMargin = 0;
  for (Integer I = 0; I < FControl->GetControlCount(); ++I) {
    TControl* C = FControl->GetControl(I);
    if (!C->GetVisible()) continue;
    const TAnchors A = C->GetAnchors();
    if (FKind == sbHorizontal) {
      if (C->GetAlign() == alLeft || (C->GetAlign() == alNone && A.Contains(akLeft) && !A.Contains(akRight)))
        NewRange = std::max(NewRange, FPosition + C->GetLeft() + C->GetWidth());
      else if (C->GetAlign() == alRight)
        AlignMargin += C->GetWidth();
    } else {
      if (C->GetAlign() == alTop || (C->GetAlign() == alNone && A.Contains(akTop) && !A.Contains(akBottom)))
        NewRange = std::max(NewRange, FPosition + C->GetTop() + C->GetHeight());
      else if (C->GetAlign() == alBottom)
        AlignMargin += C->GetHeight();
    }
  }
  DoSetRange(NewRange + AlignMargin + FMargin);
}

void TControlScrollBar::ScrollMessage(TMessage& Message) {
  const WORD Code = LOWORD(Message.WParam);
  auto TrackPos = [&] {
    SCROLLINFO Info;
    Info.fMask = SIF_TRACKPOS;
    UserLayer::GetScrollInfo(FControl->GetHandle(), FKind == sbHorizontal ? SB_HORZ : SB_VERT, &Info);
    return Info.nTrackPos;
  };
  switch (Code) {
    case SB_LINEUP:
      SetPosition(FPosition - FIncrement);
      break;
    case SB_LINEDOWN:
      SetPosition(FPosition + FIncrement);
      break;
    case SB_PAGEUP:
      SetPosition(FPosition - ControlSize(true, false));
      break;
    case SB_PAGEDOWN:
      SetPosition(FPosition + ControlSize(true, false));
      break;
    case SB_THUMBPOSITION:
      SetPosition(TrackPos());
      break;
    case SB_THUMBTRACK:
      if (FTracking) SetPosition(TrackPos());
      break;
    case SB_TOP:
      SetPosition(0);
      break;
    case SB_BOTTOM:
      SetPosition(FCalcRange);
      break;
    default:
      break;
  }
}

// ---- TScrollingWinControl ---------------------------------------------------------------------

TScrollingWinControl::TScrollingWinControl(TComponent* AOwner) : TWinControl(AOwner) {
  FHorzScrollBar = std::make_unique<TControlScrollBar>(this, sbHorizontal);
  FVertScrollBar = std::make_unique<TControlScrollBar>(this, sbVertical);
}

TScrollingWinControl::~TScrollingWinControl() {
  Destroying();
  // The window goes while the scroll bars still exist (WM_SIZE reaches them).
  if (HandleAllocated()) DestroyHandle();
}

void TScrollingWinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZE:
      WMSize(Message);
      break;
    case WM_HSCROLL:
      WMHScroll(Message);
      break;
    case WM_VSCROLL:
      WMVScroll(Message);
      break;
    default:
      TWinControl::Dispatch(Message);
      break;
  }
}

void TScrollingWinControl::SetAutoScroll(bool Value) {
  if (FAutoScroll == Value) return;
  FAutoScroll = Value;
  if (Value) {
    CalcAutoRange();
  } else {
    FHorzScrollBar->SetRange(0);
    FVertScrollBar->SetRange(0);
  }
}

void TScrollingWinControl::EnableAutoRange() {
  if (FAutoRangeCount > 0 && --FAutoRangeCount == 0) CalcAutoRange();
}

void TScrollingWinControl::CalcAutoRange() {
  if (FAutoRangeCount > 0) return;
  FHorzScrollBar->CalcAutoRange();
  FVertScrollBar->CalcAutoRange();
}

void TScrollingWinControl::UpdateScrollBars() {
  if (FUpdatingScrollBars || !HandleAllocated()) return;
  FUpdatingScrollBars = true;
  auto Cleanup = ScopeExit([&] { FUpdatingScrollBars = false; });
  if (FVertScrollBar->NeedsScrollBarVisible()) {
    FHorzScrollBar->Update(false, true);
    FVertScrollBar->Update(true, false);
  } else if (FHorzScrollBar->NeedsScrollBarVisible()) {
    FVertScrollBar->Update(false, true);
    FHorzScrollBar->Update(true, false);
  } else {
    FVertScrollBar->Update(false, false);
    FHorzScrollBar->Update(true, false);
  }
}

void TScrollingWinControl::AlignControls(TControl* AControl, TRect& Rect) {
  CalcAutoRange();
  TWinControl::AlignControls(AControl, Rect);
}

void TScrollingWinControl::AdjustClientRect(TRect& Rect) {
  Rect = Bounds(-FHorzScrollBar->GetPosition(), -FVertScrollBar->GetPosition(),
                std::max(FHorzScrollBar->GetRange(), GetClientWidth()),
                std::max(GetClientHeight(), FVertScrollBar->GetRange()));
  TWinControl::AdjustClientRect(Rect);
}

void TScrollingWinControl::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateScrollBars();
}

void TScrollingWinControl::ScrollInView(TControl* AControl) {
  if (AControl == nullptr || !ContainsControl(AControl)) return;
  TRect R = AControl->GetClientRect();
  R.Left -= FHorzScrollBar->GetMargin();
  R.Right += FHorzScrollBar->GetMargin();
  R.Top -= FVertScrollBar->GetMargin();
  R.Bottom += FVertScrollBar->GetMargin();
  const TPoint TL = ScreenToClient(AControl->ClientToScreen(R.TopLeft()));
  const TPoint BR = ScreenToClient(AControl->ClientToScreen(R.BottomRight()));
  R = {TL.X, TL.Y, BR.X, BR.Y};
  const Integer W = GetClientWidth(), H = GetClientHeight();
  if (R.Left < 0) {
    FHorzScrollBar->SetPosition(FHorzScrollBar->GetPosition() + R.Left);
  } else if (R.Right > W) {
    if (R.Right - R.Left > W) R.Right = R.Left + W;
    FHorzScrollBar->SetPosition(FHorzScrollBar->GetPosition() + R.Right - W);
  }
  if (R.Top < 0) {
    FVertScrollBar->SetPosition(FVertScrollBar->GetPosition() + R.Top);
  } else if (R.Bottom > H) {
    if (R.Bottom - R.Top > H) R.Bottom = R.Top + H;
    FVertScrollBar->SetPosition(FVertScrollBar->GetPosition() + R.Bottom - H);
  }
}

void TScrollingWinControl::AutoScrollInView(TControl* AControl) {
  if (AControl != nullptr && !AControl->GetComponentState().Contains(csLoading) &&
      !GetComponentState().Contains(csLoading))
    ScrollInView(AControl);
}

void TScrollingWinControl::WMSize(TMessage& Message) {
  ++FAutoRangeCount;
  {
    auto Cleanup = ScopeExit([&] { --FAutoRangeCount; });
    TWinControl::WMSize(Message);
  }
  FUpdatingScrollBars = true;
  {
    auto Cleanup = ScopeExit([&] { FUpdatingScrollBars = false; });
    CalcAutoRange();
  }
  if (FHorzScrollBar->GetVisible() || FVertScrollBar->GetVisible()) UpdateScrollBars();
}

void TScrollingWinControl::WMHScroll(TMessage& Message) {
  if (Message.LParam == 0 && FHorzScrollBar->GetVisible())
    FHorzScrollBar->ScrollMessage(Message);
  else
    TWinControl::WMHScroll(Message);
}

void TScrollingWinControl::WMVScroll(TMessage& Message) {
  if (Message.LParam == 0 && FVertScrollBar->GetVisible())
    FVertScrollBar->ScrollMessage(Message);
  else
    TWinControl::WMVScroll(Message);
}
