// TScrollBar over the native SCROLLBAR control.
#include <algorithm>

#include "platform/classes/StdCtrls.h"
#include "platform/classes/UserBridge.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WindowMessages.h"

namespace {

// The control's own styles (the scroll-bar header is the window manager's).
constexpr DWORD ScrollBarVertical = 0x0001;  // SBS_VERT

}  // namespace

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle = TControlStyle{csFramed, csDoubleClicks, csOpaque};
  SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
  SetTabStop(true);
}

void TScrollBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL:
      DoScroll(Message);
      break;
    case WM_GETDLGCODE:
      DefaultHandler(Message);
      break;
    default:
      TWinControl::Dispatch(Message);
      break;
  }
}

void TScrollBar::CreateParams(TCreateParams& Params) {
  InitNativeControls();
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, "SCROLLBAR");
  if (FKind == sbVertical) Params.Style |= ScrollBarVertical;
  if (GetTabStop()) Params.Style |= WS_TABSTOP;
}

void TScrollBar::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateWindow();
}

void TScrollBar::UpdateWindow() {
  if (!HandleAllocated()) return;
  SCROLLINFO Info;
  Info.fMask = SIF_ALL;
  Info.nMin = FMin;
  Info.nMax = FMax;
  Info.nPage = static_cast<UINT>(FPageSize);
  Info.nPos = FPosition;
  UserLayer::SetScrollInfo(GetWindowHandle(), SB_CTL, &Info, TRUE);
}

void TScrollBar::SetKind(TScrollBarKind Value) {
  if (FKind == Value) return;
  FKind = Value;
  // The bar turns: width and height swap.
  SetBounds(GetLeft(), GetTop(), GetHeight(), GetWidth());
  RecreateWnd();
}

void TScrollBar::SetParams(Integer APosition, Integer AMin, Integer AMax) {
  if (AMax < AMin) throw EInvalidOperation("Scroll bar property out of range");
  if (FPageSize > AMax - AMin + 1) throw EInvalidOperation("Scroll bar property out of range");
  // The thumb cannot go past the last page.
  const Integer Last = AMax - std::max(FPageSize - 1, 0);
  APosition = std::clamp(APosition, AMin, std::max(AMin, Last));
  const bool Changed = APosition != FPosition;
  FMin = AMin;
  FMax = AMax;
  FPosition = APosition;
  UpdateWindow();
  if (Changed) Change();
}

void TScrollBar::SetPageSize(Integer Value) {
  if (Value < 0 || Value > FMax - FMin + 1) throw EInvalidOperation("Scroll bar property out of range");
  if (FPageSize == Value) return;
  FPageSize = Value;
  SetParams(FPosition, FMin, FMax);
}

void TScrollBar::Change() {
  TControl::Changed();
  if (OnChange) OnChange(this);
}

void TScrollBar::Scroll(TScrollCode ScrollCode, Integer& ScrollPos) {
  if (OnScroll) OnScroll(this, ScrollCode, ScrollPos);
}

void TScrollBar::DoScroll(TMessage& Message) {
  const auto Code = static_cast<TScrollCode>(LOWORD(Message.WParam));
  Integer ScrollPos = FPosition;
  switch (Code) {
    case scLineUp:
      ScrollPos -= FSmallChange;
      break;
    case scLineDown:
      ScrollPos += FSmallChange;
      break;
    case scPageUp:
      ScrollPos -= FLargeChange;
      break;
    case scPageDown:
      ScrollPos += FLargeChange;
      break;
    case scPosition:
    case scTrack: {
      // The 32-bit track position (the message carries 16 bits).
      SCROLLINFO Info;
      Info.fMask = SIF_TRACKPOS;
      UserLayer::GetScrollInfo(GetWindowHandle(), SB_CTL, &Info);
      ScrollPos = Info.nTrackPos;
      break;
    }
    case scTop:
      ScrollPos = FMin;
      break;
    case scBottom:
      ScrollPos = FMax;
      break;
    default:
      break;
  }
  ScrollPos = std::clamp(ScrollPos, FMin, std::max(FMin, FMax - std::max(FPageSize - 1, 0)));
  Scroll(Code, ScrollPos);
  SetPosition(ScrollPos);
  Message.Result = 0;
}
