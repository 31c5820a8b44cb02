// Buttons over the native BUTTON control (push buttons, check boxes, radio buttons) and the
// group box, which paints itself.
#include <functional>

#include "platform/classes/StdCtrls.h"
#include "platform/gdi/Text.h"
#include "platform/user/CommonControls.h"
#include "platform/user/ControlMessages.h"
#include "platform/user/WindowMessages.h"

namespace {

// Every push button on the form (nested containers included).
void ForEachButton(TWinControl* Parent, const std::function<void(TButton*)>& Fn) {
  for (Integer I = 0; I < Parent->GetControlCount(); ++I) {
    TControl* C = Parent->GetControl(I);
    if (auto* B = dynamic_cast<TButton*>(C)) Fn(B);
    if (auto* W = dynamic_cast<TWinControl*>(C)) ForEachButton(W, Fn);
  }
}

LRESULT ButtonCheck(TCheckBoxState State) {
  return State == cbChecked ? BST_CHECKED : State == cbGrayed ? BST_INDETERMINATE : BST_UNCHECKED;
}

}  // namespace

// ---- TButtonControl ---------------------------------------------------------------------------

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner) {}

void TButtonControl::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_GETDLGCODE)
    DefaultHandler(Message);
  else
    TWinControl::Dispatch(Message);
}

// ---- TButton ----------------------------------------------------------------------------------

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) {
  FControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
}

void TButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      CNCommand(Message);
      break;
    case CM_DIALOGKEY:
      CMDialogKey(Message);
      break;
    case CM_DIALOGCHAR:
      CMDialogChar(Message);
      break;
    default:
      TButtonControl::Dispatch(Message);
      break;
  }
}

void TButton::CreateParams(TCreateParams& Params) {
  InitNativeControls();
  TButtonControl::CreateParams(Params);
  CreateSubClass(Params, "BUTTON");
  Params.Style |= FActive ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  if (GetTabStop()) Params.Style |= WS_TABSTOP;
}

void TButton::Click() {
  if (TCustomForm* Form = GetParentForm(this)) Form->SetModalResult(FModalResult);
  TButtonControl::Click();
}

void TButton::SetActive(bool Value) {
  if (FActive == Value) return;
  FActive = Value;
  if (HandleAllocated())
    SendMessage(GetWindowHandle(), BM_SETSTYLE, Value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::SetDefault(bool Value) {
  FDefault = Value;
  // A focused button keeps Enter for itself.
  TCustomForm* Form = GetParentForm(this);
  if (Form == nullptr || dynamic_cast<TButton*>(Form->GetActiveControl()) == nullptr) SetActive(Value);
}

void TButton::DoEnter() {
  if (TCustomForm* Form = GetParentForm(this))
    ForEachButton(Form, [this](TButton* B) { B->SetActive(B == this); });
  else
    SetActive(true);
  TButtonControl::DoEnter();
}

void TButton::DoExit() {
  if (TCustomForm* Form = GetParentForm(this))
    ForEachButton(Form, [](TButton* B) { B->SetActive(B->FDefault); });
  else
    SetActive(FDefault);
  TButtonControl::DoExit();
}

void TButton::CNCommand(TMessage& Message) {
  if (HIWORD(Message.WParam) == BN_CLICKED) Click();
}

void TButton::CMDialogKey(TMessage& Message) {
  const TWMKey Key = KeyMessage(Message);
  if (((Key.CharCode == VK_RETURN && FActive) || (Key.CharCode == VK_ESCAPE && FCancel)) &&
      KeyDataToShiftState(Key.KeyData).IsEmpty() && CanFocus()) {
    Click();
    Message.Result = 1;
    return;
  }
  TButtonControl::Dispatch(Message);
}

void TButton::CMDialogChar(TMessage& Message) {
  if (IsAccel(static_cast<Word>(Message.WParam), GetCaption()) && CanFocus()) {
    Click();
    Message.Result = 1;
    return;
  }
  TButtonControl::Dispatch(Message);
}

// ---- TCustomCheckBox --------------------------------------------------------------------------

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner) {
  FControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 97, 17);
  SetTabStop(true);
}

void TCustomCheckBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      CNCommand(Message);
      break;
    case CM_DIALOGCHAR:
      CMDialogChar(Message);
      break;
    default:
      TButtonControl::Dispatch(Message);
      break;
  }
}

void TCustomCheckBox::CreateParams(TCreateParams& Params) {
  InitNativeControls();
  TButtonControl::CreateParams(Params);
  CreateSubClass(Params, "BUTTON");
  // The control changes its state itself: the window only reports the click.
  Params.Style |= BS_3STATE;
  if (FAlignment == taLeftJustify) Params.Style |= BS_LEFTTEXT;
  if (GetTabStop()) Params.Style |= WS_TABSTOP;
}

void TCustomCheckBox::CreateWnd() {
  TButtonControl::CreateWnd();
  SendMessage(GetWindowHandle(), BM_SETCHECK, static_cast<WPARAM>(ButtonCheck(FState)), 0);
}

void TCustomCheckBox::SetState(TCheckBoxState Value) {
  if (FState == Value) return;
  FState = Value;
  if (HandleAllocated())
    SendMessage(GetWindowHandle(), BM_SETCHECK, static_cast<WPARAM>(ButtonCheck(FState)), 0);
  if (!GetClicksDisabled()) {
    TControl::Changed();
    Click();
  }
}

void TCustomCheckBox::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  RecreateWnd();
}

void TCustomCheckBox::Toggle() {
  switch (FState) {
    case cbUnchecked:
      SetState(FAllowGrayed ? cbGrayed : cbChecked);
      break;
    case cbChecked:
      SetState(cbUnchecked);
      break;
    case cbGrayed:
      SetState(cbChecked);
      break;
  }
}

void TCustomCheckBox::CNCommand(TMessage& Message) {
  if (HIWORD(Message.WParam) == BN_CLICKED) Toggle();
}

void TCustomCheckBox::CMDialogChar(TMessage& Message) {
  if (IsAccel(static_cast<Word>(Message.WParam), GetCaption()) && CanFocus()) {
    SetFocus();
    if (Focused()) Toggle();
    Message.Result = 1;
    return;
  }
  TButtonControl::Dispatch(Message);
}

// ---- TRadioButton -----------------------------------------------------------------------------

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) {
  FControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 113, 17);
}

void TRadioButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      CNCommand(Message);
      break;
    case CM_DIALOGCHAR:
      CMDialogChar(Message);
      break;
    default:
      TButtonControl::Dispatch(Message);
      break;
  }
}

void TRadioButton::CreateParams(TCreateParams& Params) {
  InitNativeControls();
  TButtonControl::CreateParams(Params);
  CreateSubClass(Params, "BUTTON");
  Params.Style |= BS_RADIOBUTTON;
  if (FAlignment == taLeftJustify) Params.Style |= BS_LEFTTEXT;
  if (GetTabStop()) Params.Style |= WS_TABSTOP;
}

void TRadioButton::CreateWnd() {
  TButtonControl::CreateWnd();
  SendMessage(GetWindowHandle(), BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  // Tab reaches the checked button of a group.
  SetTabStop(Value);
  if (HandleAllocated()) SendMessage(GetWindowHandle(), BM_SETCHECK, Value ? BST_CHECKED : BST_UNCHECKED, 0);
  if (!Value) return;
  if (TWinControl* Parent = GetParent())
    for (Integer I = 0; I < Parent->GetControlCount(); ++I)
      if (auto* Sibling = dynamic_cast<TRadioButton*>(Parent->GetControl(I));
          Sibling != nullptr && Sibling != this)
        Sibling->SetChecked(false);
  TControl::Changed();
  if (!GetClicksDisabled()) Click();
}

void TRadioButton::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  RecreateWnd();
}

void TRadioButton::CNCommand(TMessage& Message) {
  switch (HIWORD(Message.WParam)) {
    case BN_CLICKED:
      SetChecked(true);
      break;
    case BN_DOUBLECLICKED:
      DblClick();
      break;
    default:
      break;
  }
}

void TRadioButton::CMDialogChar(TMessage& Message) {
  if (IsAccel(static_cast<Word>(Message.WParam), GetCaption()) && CanFocus()) {
    SetFocus();
    if (Focused()) SetChecked(true);
    Message.Result = 1;
    return;
  }
  TButtonControl::Dispatch(Message);
}

// ---- TCustomGroupBox --------------------------------------------------------------------------

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents,
                                csSetCaption,      csDoubleClicks, csReplicatable};
  SetBounds(0, 0, 185, 105);
}

void TCustomGroupBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DIALOGCHAR:
      CMDialogChar(Message);
      break;
    case CM_TEXTCHANGED:
      CMTextChanged(Message);
      break;
    default:
      TCustomControl::Dispatch(Message);
      break;
  }
}

void TCustomGroupBox::AdjustClientRect(TRect& Rect) {
  TCustomControl::AdjustClientRect(Rect);
  // Below the caption, inside the two-pixel frame.
  Rect.Top += FontTextHeight(GetFont());
  Rect.Left += 2;
  Rect.Top += 2;
  Rect.Right -= 2;
  Rect.Bottom -= 2;
}

void TCustomGroupBox::Paint() {
  TCanvas* C = GetCanvas();
  C->SetFont(GetFont());
  const Integer H = C->TextHeight("0");
  // An etched frame: a highlight one offset by a pixel under the shadow one.
  TRect R = Rect(0, H / 2 - 1, GetWidth(), GetHeight());
  R.Left += 1;
  R.Top += 1;
  C->GetBrush()->SetColor(clBtnHighlight);
  C->FrameRect(R);
  R = Rect(0, H / 2 - 1, GetWidth() - 1, GetHeight() - 1);
  C->GetBrush()->SetColor(clBtnShadow);
  C->FrameRect(R);
  const std::string Text = GetText();
  if (Text.empty()) return;
  RECT TextRect{8, 0, 0, H};
  DrawText(C->GetHandle(), Text.c_str(), static_cast<Integer>(Text.size()), &TextRect,
           DT_SINGLELINE | DT_CALCRECT);
  C->GetBrush()->SetColor(GetColor());
  C->GetBrush()->SetStyle(bsSolid);
  // The brush's colour behind the text hides the frame line under it.
  C->RequiredState(csAllValid);
  if (!GetEnabled()) {
    TextRect = Rect(TextRect.Left + 1, TextRect.Top + 1, TextRect.Right + 1, TextRect.Bottom + 1);
    C->GetFont()->SetColor(clBtnHighlight);
    C->RequiredState(csAllValid);
    DrawText(C->GetHandle(), Text.c_str(), static_cast<Integer>(Text.size()), &TextRect, DT_SINGLELINE);
    TextRect = Rect(TextRect.Left - 1, TextRect.Top - 1, TextRect.Right - 1, TextRect.Bottom - 1);
    C->GetBrush()->SetStyle(bsClear);
    C->GetFont()->SetColor(clBtnShadow);
    C->RequiredState(csAllValid);
  }
  DrawText(C->GetHandle(), Text.c_str(), static_cast<Integer>(Text.size()), &TextRect, DT_SINGLELINE);
}

void TCustomGroupBox::CMDialogChar(TMessage& Message) {
  if (IsAccel(static_cast<Word>(Message.WParam), GetCaption()) && CanFocus()) {
    SelectFirst();
    Message.Result = 1;
    return;
  }
  TCustomControl::Dispatch(Message);
}

void TCustomGroupBox::CMTextChanged(TMessage&) {
  Invalidate();
  Realign();
}
