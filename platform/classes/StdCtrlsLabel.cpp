// TCustomLabel, a windowless caption, and TCustomStaticText over the native STATIC control.
#include "platform/classes/StdCtrls.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Text.h"
#include "platform/system/ScopeExit.h"
#include "platform/user/CommonControls.h"
#include "platform/user/WindowMessages.h"
#include "platform/user/WindowPaint.h"

namespace {

UINT AlignmentFlags(TAlignment Alignment) {
  return Alignment == taRightJustify ? DT_RIGHT : Alignment == taCenter ? DT_CENTER : DT_LEFT;
}

}  // namespace

// ---- TCustomLabel -----------------------------------------------------------------------------

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle.Include(csOpaque);
  FControlStyle.Include(csReplicatable);
  SetBounds(0, 0, 65, 17);
  // The bounds follow the caption from its first change on.
  TGraphicControl::SetAutoSize(true);
}

void TCustomLabel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
      CMTextChanged(Message);
      break;
    case CM_FONTCHANGED:
      CMFontChanged(Message);
      break;
    case CM_DIALOGCHAR:
      CMDialogChar(Message);
      break;
    default:
      TGraphicControl::Dispatch(Message);
      break;
  }
}

void TCustomLabel::DoDrawText(TRect& Rect, UINT Flags) {
  std::string Text = GetLabelText();
  // An empty caption (or a lone '&') still measures one line high.
  if ((Flags & DT_CALCRECT) != 0 && (Text.empty() || (FShowAccelChar && Text == "&"))) Text += ' ';
  if (!FShowAccelChar) Flags |= DT_NOPREFIX;
  TCanvas* C = GetCanvas();
  C->SetFont(GetFont());
  const auto Length = static_cast<Integer>(Text.size());
  if (!GetEnabled()) {
    Rect = ::Rect(Rect.Left + 1, Rect.Top + 1, Rect.Right + 1, Rect.Bottom + 1);
    C->GetFont()->SetColor(clBtnHighlight);
    DrawText(C->GetHandle(), Text.c_str(), Length, &Rect, Flags);
    Rect = ::Rect(Rect.Left - 1, Rect.Top - 1, Rect.Right - 1, Rect.Bottom - 1);
    C->GetFont()->SetColor(clBtnShadow);
  }
  DrawText(C->GetHandle(), Text.c_str(), Length, &Rect, Flags);
}

void TCustomLabel::Paint() {
  TCanvas* C = GetCanvas();
  if (!GetTransparent()) {
    C->GetBrush()->SetColor(GetColor());
    C->GetBrush()->SetStyle(bsSolid);
    C->FillRect(GetClientRect());
  }
  C->GetBrush()->SetStyle(bsClear);
  TRect R = GetClientRect();
  const UINT DrawStyle = DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0) | AlignmentFlags(FAlignment);
  if (FLayout != tlTop) {
    TRect Calc = R;
    DoDrawText(Calc, DrawStyle | DT_CALCRECT);
    const Integer Dy = FLayout == tlBottom ? GetHeight() - Calc.Bottom : (GetHeight() - Calc.Bottom) / 2;
    R = Rect(R.Left, R.Top + Dy, R.Right, R.Bottom + Dy);
  }
  DoDrawText(R, DrawStyle);
}

void TCustomLabel::AdjustBounds() {
  if (GetComponentState().Contains(csReading) || GetComponentState().Contains(csLoading) || !GetAutoSize())
    return;
  TRect R = GetClientRect();
  HDC DC = GetDC(nullptr);
  TCanvas* C = GetCanvas();
  C->SetHandle(DC);
  {
    auto Cleanup = ScopeExit([&] {
      C->SetHandle(nullptr);
      ReleaseDC(nullptr, DC);
    });
    DoDrawText(R, DT_EXPANDTABS | DT_CALCRECT | (FWordWrap ? DT_WORDBREAK : 0));
  }
  Integer X = GetLeft();
  if (FAlignment == taRightJustify) X += GetWidth() - R.Right;
  SetBounds(X, GetTop(), R.Right, R.Bottom);
}

void TCustomLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TCustomLabel::SetAutoSize(bool Value) {
  if (GetAutoSize() == Value) return;
  TGraphicControl::SetAutoSize(Value);
  AdjustBounds();
}

void TCustomLabel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Invalidate();
}

void TCustomLabel::SetLayout(TTextLayoutStyle Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool Value) {
  if (FShowAccelChar == Value) return;
  FShowAccelChar = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetTransparent(bool Value) {
  if (GetTransparent() == Value) return;
  if (Value)
    FControlStyle.Exclude(csOpaque);
  else
    FControlStyle.Include(csOpaque);
  Invalidate();
}

void TCustomLabel::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* Value) {
  if (FFocusControl == Value) return;
  if (FFocusControl != nullptr) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::CMTextChanged(TMessage&) {
  Invalidate();
  AdjustBounds();
}

void TCustomLabel::CMFontChanged(TMessage& Message) {
  TGraphicControl::Dispatch(Message);
  AdjustBounds();
}

void TCustomLabel::CMDialogChar(TMessage& Message) {
  if (FFocusControl != nullptr && GetEnabled() && FShowAccelChar &&
      IsAccel(static_cast<Word>(Message.WParam), GetCaption()) && FFocusControl->CanFocus()) {
    FFocusControl->SetFocus();
    Message.Result = 1;
    return;
  }
  TGraphicControl::Dispatch(Message);
}

// ---- TCustomStaticText ------------------------------------------------------------------------

TCustomStaticText::TCustomStaticText(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csReplicatable, csDoubleClicks};
  SetBounds(0, 0, 65, 17);
  TWinControl::SetAutoSize(true);
}

void TCustomStaticText::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
      CMTextChanged(Message);
      break;
    case CM_FONTCHANGED:
      CMFontChanged(Message);
      break;
    case CM_DIALOGCHAR:
      CMDialogChar(Message);
      break;
    default:
      TWinControl::Dispatch(Message);
      break;
  }
}

void TCustomStaticText::CreateParams(TCreateParams& Params) {
  InitNativeControls();
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, "STATIC");
  Params.Style |= SS_NOTIFY;
  if (FAlignment == taRightJustify)
    Params.Style |= SS_RIGHT;
  else if (FAlignment == taCenter)
    Params.Style |= SS_CENTER;
  if (FBorderStyle == sbsSingle)
    Params.Style |= WS_BORDER;
  else if (FBorderStyle == sbsSunken)
    Params.Style |= SS_SUNKEN;
  if (!FShowAccelChar) Params.Style |= SS_NOPREFIX;
}

void TCustomStaticText::AdjustBounds() {
  if (GetComponentState().Contains(csReading) || GetComponentState().Contains(csLoading) || !GetAutoSize())
    return;
  std::string Text = GetText();
  if (Text.empty()) Text.push_back(' ');
  HDC DC = GetDC(nullptr);
  HGDIOBJ Old = SelectObject(DC, GetFont()->GetHandle());
  RECT R{0, 0, 0, 0};
  DrawText(DC, Text.c_str(), static_cast<Integer>(Text.size()), &R,
           DT_EXPANDTABS | DT_CALCRECT | (FShowAccelChar ? 0 : DT_NOPREFIX));
  SelectObject(DC, Old);
  ReleaseDC(nullptr, DC);
  // The frame: a plain border or the sunken edge, one pixel each side.
  const Integer Frame = FBorderStyle == sbsNone ? 0 : 2;
  const Integer W = R.Right + Frame, H = R.Bottom + Frame;
  Integer X = GetLeft();
  if (FAlignment == taRightJustify) X += GetWidth() - W;
  SetBounds(X, GetTop(), W, H);
}

void TCustomStaticText::Loaded() {
  TWinControl::Loaded();
  AdjustBounds();
}

void TCustomStaticText::SetAutoSize(bool Value) {
  if (GetAutoSize() == Value) return;
  TWinControl::SetAutoSize(Value);
  AdjustBounds();
}

void TCustomStaticText::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  RecreateWnd();
}

void TCustomStaticText::SetBorderStyle(TStaticBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
  AdjustBounds();
}

void TCustomStaticText::SetShowAccelChar(bool Value) {
  if (FShowAccelChar == Value) return;
  FShowAccelChar = Value;
  RecreateWnd();
  AdjustBounds();
}

void TCustomStaticText::SetFocusControl(TWinControl* Value) {
  if (FFocusControl == Value) return;
  if (FFocusControl != nullptr) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TCustomStaticText::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TCustomStaticText::CMTextChanged(TMessage&) {
  AdjustBounds();
  Invalidate();
}

void TCustomStaticText::CMFontChanged(TMessage& Message) {
  TWinControl::Dispatch(Message);
  AdjustBounds();
}

void TCustomStaticText::CMDialogChar(TMessage& Message) {
  if (FFocusControl != nullptr && GetEnabled() && FShowAccelChar &&
      IsAccel(static_cast<Word>(Message.WParam), GetCaption()) && FFocusControl->CanFocus()) {
    FFocusControl->SetFocus();
    Message.Result = 1;
    return;
  }
  TWinControl::Dispatch(Message);
}
