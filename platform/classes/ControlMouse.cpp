// TControl's mouse handling: button and move messages to events (OnMouseDown, then on the
// button-up inside the control OnClick before OnMouseUp), capture, the wheel, the context
// menu and mouse enter/leave.
#include <cstdlib>

#include "platform/classes/Application.h"
#include "platform/classes/Controls.h"
#include "platform/classes/Menus.h"
#include "platform/classes/UserBridge.h"
#include "platform/user/WindowMessages.h"

namespace {

// Set while a windowless control holds the mouse through its parent's window.
TControl* CaptureControl = nullptr;

}  // namespace

TShiftState KeysToShiftState(WPARAM Keys) {
  TShiftState S;
  if (Keys & MK_SHIFT) S.Include(ssShift);
  if (Keys & MK_CONTROL) S.Include(ssCtrl);
  if (Keys & MK_LBUTTON) S.Include(ssLeft);
  if (Keys & MK_RBUTTON) S.Include(ssRight);
  if (Keys & MK_MBUTTON) S.Include(ssMiddle);
  if (::GetKeyState(VK_MENU) < 0) S.Include(ssAlt);
  return S;
}

TShiftState KeyDataToShiftState(Integer KeyData) {
  TShiftState S;
  if (::GetKeyState(VK_SHIFT) < 0) S.Include(ssShift);
  if (::GetKeyState(VK_CONTROL) < 0) S.Include(ssCtrl);
  if (KeyData & AltMask) S.Include(ssAlt);
  return S;
}

TControl* GetCaptureControl() {
  TControl* Result = FindControl(::GetCapture());
  if (Result != nullptr && CaptureControl != nullptr && CaptureControl->GetParent() == Result)
    Result = CaptureControl;
  return Result;
}

void SetCaptureControl(TControl* Control) {
  ::ReleaseCapture();
  CaptureControl = nullptr;
  if (Control == nullptr) return;
  auto* Win = dynamic_cast<TWinControl*>(Control);
  if (Win == nullptr) {
    if (Control->GetParent() == nullptr) return;
    CaptureControl = Control;
    Win = Control->GetParent();
  }
  ::SetCapture(Win->GetHandle());
}

bool TControl::GetMouseCapture() {
  return GetCaptureControl() == this;
}

void TControl::SetMouseCapture(bool Value) {
  if (GetMouseCapture() == Value) return;
  SetCaptureControl(Value ? this : nullptr);
}

void TControl::SendCancelMode(TControl* Sender) {
  for (TControl* Control = this; Control != nullptr; Control = Control->FParent)
    if (auto* Form = dynamic_cast<TCustomForm*>(Control)) Form->SendCancelMode(Sender);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift) {
  if (FControlStyle.Contains(csNoStdEvents)) return;
  const TWMMouse M = MouseMessage(Message);
  MouseDown(Button, KeysToShiftState(M.Keys) + Shift, M.XPos, M.YPos);
}

void TControl::DoMouseUp(TMessage& Message, TMouseButton Button) {
  if (FControlStyle.Contains(csNoStdEvents)) return;
  const TWMMouse M = MouseMessage(Message);
  MouseUp(Button, KeysToShiftState(M.Keys), M.XPos, M.YPos);
}

void TControl::WMLButtonDown(TMessage& Message) {
  SendCancelMode(this);
  DefaultHandler(Message);
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  if (FControlStyle.Contains(csClickEvents)) FControlState.Include(csClicked);
  DoMouseDown(Message, mbLeft, {});
}

void TControl::WMLButtonDblClk(TMessage& Message) {
  SendCancelMode(this);
  DefaultHandler(Message);
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  if (FControlStyle.Contains(csClickEvents)) DblClick();
  DoMouseDown(Message, mbLeft, {ssDouble});
}

void TControl::WMRButtonDown(TMessage& Message) {
  DefaultHandler(Message);
  DoMouseDown(Message, mbRight, {});
}

void TControl::WMRButtonDblClk(TMessage& Message) {
  DefaultHandler(Message);
  DoMouseDown(Message, mbRight, {ssDouble});
}

void TControl::WMMButtonDown(TMessage& Message) {
  DefaultHandler(Message);
  DoMouseDown(Message, mbMiddle, {});
}

void TControl::WMMButtonDblClk(TMessage& Message) {
  DefaultHandler(Message);
  DoMouseDown(Message, mbMiddle, {ssDouble});
}

void TControl::WMMouseMove(TMessage& Message) {
  DefaultHandler(Message);
  if (FControlStyle.Contains(csNoStdEvents)) return;
  const TWMMouse M = MouseMessage(Message);
  MouseMove(KeysToShiftState(M.Keys), M.XPos, M.YPos);
}

void TControl::WMLButtonUp(TMessage& Message) {
  DefaultHandler(Message);
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
  if (FControlState.Contains(csClicked)) {
    FControlState.Exclude(csClicked);
    if (PtInRect(GetClientRect(), LParamToPoint(Message.LParam))) Click();
  }
  DoMouseUp(Message, mbLeft);
}

void TControl::WMRButtonUp(TMessage& Message) {
  DefaultHandler(Message);
  DoMouseUp(Message, mbRight);
}

void TControl::WMMButtonUp(TMessage& Message) {
  DefaultHandler(Message);
  DoMouseUp(Message, mbMiddle);
}

void TControl::WMCancelMode(TMessage& Message) {
  DefaultHandler(Message);
  if (GetMouseCapture()) {
    SetMouseCapture(false);
    if (FControlState.Contains(csLButtonDown)) Perform(WM_LBUTTONUP, 0, MAKELPARAM(-1, -1));
  } else {
    FControlState.Exclude(csLButtonDown);
  }
}

// ---- Wheel ----

void TControl::WMMouseWheel(TMessage& Message) {
  MouseWheelHandler(Message);
  if (Message.Result == 0) DefaultHandler(Message);
}

void TControl::MouseWheelHandler(TMessage& Message) {
  TCustomForm* Form = GetParentForm(this);
  if (Form != nullptr && Form != static_cast<TControl*>(this))
    Form->MouseWheelHandler(Message);
  else
    Message.Result = Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
}

void TControl::CMMouseWheel(TMessage& Message) {
  const TShiftState Shift = KeysToShiftState(LOWORD(Message.WParam));
  const Integer Delta = static_cast<SHORT>(HIWORD(Message.WParam));
  Message.Result = 0;
  if (DoMouseWheel(Shift, Delta, LParamToPoint(Message.LParam)))
    Message.Result = 1;
  else if (FParent != nullptr)
    Message.Result = FParent->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
}

bool TControl::DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos) {
  bool Result = false;
  if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, Result);
  if (Result) return true;
  FWheelAccumulator += WheelDelta;
  while (std::abs(FWheelAccumulator) >= WHEEL_DELTA) {
    const bool IsNeg = FWheelAccumulator < 0;
    FWheelAccumulator = std::abs(FWheelAccumulator) - WHEEL_DELTA;
    if (IsNeg) {
      if (FWheelAccumulator != 0) FWheelAccumulator = -FWheelAccumulator;
      Result = DoMouseWheelDown(Shift, MousePos);
    } else {
      Result = DoMouseWheelUp(Shift, MousePos);
    }
  }
  return Result;
}

bool TControl::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  bool Result = false;
  if (OnMouseWheelDown) OnMouseWheelDown(this, Shift, MousePos, Result);
  return Result;
}

bool TControl::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  bool Result = false;
  if (OnMouseWheelUp) OnMouseWheelUp(this, Shift, MousePos, Result);
  return Result;
}

// ---- Context menu ----

void TControl::DoContextPopup(TPoint MousePos, bool& Handled) {
  if (OnContextPopup) OnContextPopup(this, MousePos, Handled);
}

void TControl::WMContextMenu(TMessage& Message) {
  if (Message.Result != 0) return;
  TPoint Pt = LParamToPoint(Message.LParam);
  const bool FromKeyboard = Pt.X == -1 && Pt.Y == -1;
  TPoint Local = Pt;
  if (!FromKeyboard) {
    Local = ScreenToClient(Pt);
    if (!PtInRect(GetClientRect(), Local)) {
      DefaultHandler(Message);
      return;
    }
  }
  bool Handled = false;
  DoContextPopup(Local, Handled);
  Message.Result = Handled ? 1 : 0;
  if (Handled) return;
  TPopupMenu* Menu = GetPopupMenu();
  if (Menu != nullptr && Menu->GetAutoPopup()) {
    SendCancelMode(nullptr);
    Menu->SetPopupComponent(this);
    if (FromKeyboard) Pt = ClientToScreen({0, 0});
    Menu->Popup(Pt.X, Pt.Y);
    Message.Result = 1;
  }
  if (Message.Result == 0) DefaultHandler(Message);
}

// ---- Enter and leave ----

void TControl::CMMouseEnter(TMessage& Message) {
  // The parents hear of it too, with the control in lParam; only the control itself fires
  // its event.
  if (FParent != nullptr)
    FParent->Perform(CM_MOUSEENTER, 0, Message.LParam != 0 ? Message.LParam : reinterpret_cast<LPARAM>(this));
  if (Message.LParam == 0 && OnMouseEnter) OnMouseEnter(this);
}

void TControl::CMMouseLeave(TMessage& Message) {
  if (FParent != nullptr)
    FParent->Perform(CM_MOUSELEAVE, 0, Message.LParam != 0 ? Message.LParam : reinterpret_cast<LPARAM>(this));
  if (Message.LParam == 0 && OnMouseLeave) OnMouseLeave(this);
}

// ---- Windowless children --------------------------------------------------------------------

bool TWinControl::IsControlMouseMsg(TMessage& Message) {
  TControl* Control = nullptr;
  if (FHandle != nullptr && ::GetCapture() == FHandle) {
    // The mouse is held for a windowless child: it gets every mouse message.
    if (CaptureControl != nullptr && CaptureControl->GetParent() == this) Control = CaptureControl;
  } else {
    Control = ControlAtPos(LParamToPoint(Message.LParam), false);
  }
  if (Control == nullptr) return false;
  const TPoint P = LParamToPoint(Message.LParam);
  Message.Result = Control->Perform(Message.Msg, Message.WParam,
                                    MAKELPARAM(P.X - Control->GetLeft(), P.Y - Control->GetTop()));
  return true;
}
