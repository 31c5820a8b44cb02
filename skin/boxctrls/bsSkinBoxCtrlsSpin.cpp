// TbsSkinSpinEdit: the numeric field with its own pair of step buttons.
#include "platform/classes/Bitmap.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Text.h"
#include "platform/system/Math.h"
#include "platform/system/ScopeExit.h"
#include "platform/system/Strings.h"
#include "platform/user/Input.h"
#include "platform/user/Timers.h"
#include "platform/user/User.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/data/bsSkinDataEditParts.h"
#include "skin/data/bsSkinDataResStr.h"
#include "skin/data/bsUtils.h"

namespace {

constexpr UINT_PTR RepeatTimerId = 1;
constexpr UINT_PTR TypingTimerId = 2;

}  // namespace

TbsSkinSpinEdit::TbsSkinSpinEdit(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
  SetSkinDataName("spinedit");
  SetWidth(120);
  SetHeight(20);
  SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csOpaque, csDoubleClicks});
  FEdit = new TbsSkinNumEdit(this);
  FEdit->SetParent(this);
  FEdit->SetFont(GetDefaultFont());
  FEdit->SetColor(FDefaultColor);
  FEdit->SetAutoSize(false);
  FEdit->SetTransparent(false);
  FEdit->OnChange = TNotifyEvent(this, &TbsSkinSpinEdit::EditChange);
  FEdit->OnStepUp = TNotifyEvent(this, &TbsSkinSpinEdit::StepUp);
  FEdit->OnStepDown = TNotifyEvent(this, &TbsSkinSpinEdit::StepDown);
  FEdit->OnKeyDown = TKeyEvent(this, &TbsSkinSpinEdit::EditKeyDown);
  FEdit->OnKeyUp = TKeyEvent(this, &TbsSkinSpinEdit::EditKeyUp);
  FEdit->OnKeyPress = TKeyPressEvent(this, &TbsSkinSpinEdit::EditKeyPress);
  FEdit->OnEnter = TNotifyEvent(this, &TbsSkinSpinEdit::EditEnter);
  FEdit->OnExit = TNotifyEvent(this, &TbsSkinSpinEdit::EditExit);
  FEdit->OnEditMouseEnter = TNotifyEvent(this, &TbsSkinSpinEdit::EditMouseEnter);
  FEdit->OnEditMouseLeave = TNotifyEvent(this, &TbsSkinSpinEdit::EditMouseLeave);
  FInternalChange = true;
  SetText("0");
  FInternalChange = false;
  CalcLayout();
}

// The editor is a child: the control's parent-deletes-children rule frees it.
TbsSkinSpinEdit::~TbsSkinSpinEdit() = default;

// ---- Value model ----------------------------------------------------------------------------

double TbsSkinSpinEdit::CheckValue(double NewValue) const {
  return CheckSpinValue(NewValue, FMinValue, FMaxValue);
}

std::string TbsSkinSpinEdit::FormatValue(double AValue) const {
  return FormatSpinValue(AValue, FValueType, FDecimal);
}

void TbsSkinSpinEdit::SetValue(double AValue) {
  // The value from code replaces whatever was being typed.
  DropTyping();
  FValue = CheckValue(AValue);
  const bool Nested = FInternalChange || FChanging;
  if (Nested) {
    SetEditorText(FormatValue(FValue));
  } else {
    FInternalChange = true;
    SetText(FormatValue(FValue));
    FInternalChange = false;
  }
  // One OnChange per cascade, also when the value stayed.
  if (!Nested) Change();
}

void TbsSkinSpinEdit::SetMinValue(double AValue) {
  FMinValue = AValue;
  if (FValue < FMinValue) SetValue(FMinValue);
}

void TbsSkinSpinEdit::SetMaxValue(double AValue) {
  FMaxValue = AValue;
  if (FValue > FMaxValue) SetValue(FMaxValue);
}

void TbsSkinSpinEdit::SetValueType(TbsValueType Value) {
  if (FValueType == Value) return;
  FValueType = Value;
  if (Value == vtInteger) {
    FIncrement = static_cast<double>(Round(FIncrement));
    if (FIncrement == 0) FIncrement = 1;
  }
  FEdit->FloatInput = Value == vtFloat;
}

void TbsSkinSpinEdit::SetDefaultColor(TColor Value) {
  FDefaultColor = Value;
  if (PartIndex == -1) FEdit->SetColor(Value);
}

// Typing goes on while OnChange runs (a handler that pumps messages): its own flag, not the
// internal-change flag, keeps OnChange from nesting, and typing finished meanwhile is taken
// once the handler has returned.
void TbsSkinSpinEdit::Change() {
  {
    FChanging = true;
    auto Done = ScopeExit([this] { FChanging = false; });
    if (OnChange) OnChange(this);
  }
  if (FTakeTypedDue) FinishTyping();
}

void TbsSkinSpinEdit::SetEditorText(const std::string& Text) {
  const bool Saved = FInternalChange;
  FInternalChange = true;
  FEdit->SetText(Text);
  FInternalChange = Saved;
}

// ---- Text model -----------------------------------------------------------------------------

void TbsSkinSpinEdit::EditChange(TObject*) {
  FEditSync = true;
  SetText(FEdit->GetText());
  FEditSync = false;
}

bool TbsSkinSpinEdit::ParseText(const std::string& S, double& Number) const {
  // Text that only looks numeric ("-.", digits beyond 32 bits) stays as typed and changes nothing.
  return ParseSpinText(S, FValueType, Number);
}

void TbsSkinSpinEdit::TextChanged() {
  double Parsed = 0;
  if (!ParseText(GetText(), Parsed)) return;
  const double V = CheckValue(Parsed);
  if (V != FValue) {
    FValue = V;
    Change();
  }
  // A number beyond a limit on the side away from zero cannot come back with more digits.
  if (SpinNeedsRewrite(V, Parsed, FMinValue, FMaxValue))
    SetEditorText(FValueType == vtFloat ? FormatValue(V) : FormatValue(FValue));
}

// ---- Typing ---------------------------------------------------------------------------------
// Every keystroke taken at once would clamp and report each digit ("4" of "40" becomes the
// minimum 5 and starts a build), so typed text waits until the typing is finished.

void TbsSkinSpinEdit::TypingGoesOn() {
  FTyped = true;
  SetTimer(GetHandle(), TypingTimerId, TypingPause, nullptr);
}

void TbsSkinSpinEdit::FinishTyping() {
  StopTypingTimer();
  if (!FTyped) return;
  if (FChanging) {
    FTakeTypedDue = true;
    return;
  }
  FTyped = false;
  FTakeTypedDue = false;
  TextChanged();
  // Typing finished by leaving the editor while OnChange ran: the text shows the value now.
  if (!EditFocused) SetEditorText(FormatValue(FValue));
}

void TbsSkinSpinEdit::DropTyping() {
  StopTypingTimer();
  FTyped = false;
  FTakeTypedDue = false;
}

void TbsSkinSpinEdit::StopTypingTimer() {
  if (HandleAllocated()) KillTimer(GetHandle(), TypingTimerId);
}

// ---- Steps ----------------------------------------------------------------------------------

// A step starts from the number typed so far, if there is one.
void TbsSkinSpinEdit::StepBy(double Delta) {
  double Typed = 0;
  if (FTyped && ParseText(GetText(), Typed)) FValue = CheckValue(Typed);
  SetValue(FValue + Delta);
}

void TbsSkinSpinEdit::StepUp(TObject*) {
  StepBy(FIncrement);
  if (OnUpButtonClick) OnUpButtonClick(this);
}

void TbsSkinSpinEdit::StepDown(TObject*) {
  StepBy(-FIncrement);
  if (OnDownButtonClick) OnDownButtonClick(this);
}

// ---- Editor events --------------------------------------------------------------------------

void TbsSkinSpinEdit::EditKeyDown(TObject*, Word& Key, TShiftState Shift) {
  if (Key == VK_RETURN) FinishTyping();
  if (OnEditKeyDown) OnEditKeyDown(this, Key, Shift);
}

void TbsSkinSpinEdit::EditKeyUp(TObject*, Word& Key, TShiftState Shift) {
  if (OnEditKeyUp) OnEditKeyUp(this, Key, Shift);
}

void TbsSkinSpinEdit::EditKeyPress(TObject*, char& Key) {
  if (OnEditKeyPress) OnEditKeyPress(this, Key);
}

void TbsSkinSpinEdit::EditEnter(TObject*) {
  if (OnEditEnter) OnEditEnter(this);
  EditFocused = true;
  if (PartIndex == -1) return;
  if (!IsEmptyRect(FPart.ActiveSkinRect)) Invalidate();
  if (FPart.ActiveFontColor != FPart.FontColor) SetEditorFontColor(true);
}

void TbsSkinSpinEdit::EditExit(TObject*) {
  if (OnEditExit) OnEditExit(this);
  EditFocused = false;
  if (PartIndex != -1 && !IsEmptyRect(FPart.ActiveSkinRect)) Invalidate();
  if (PartIndex != -1 && !MouseOver) SetEditorFontColor(false);
  FinishTyping();
  // Leaving the editor always shows the value as it stands (once a running OnChange let the
  // typed number in).
  if (!FTyped) SetEditorText(FormatValue(FValue));
}

// ---- Buttons --------------------------------------------------------------------------------

void TbsSkinSpinEdit::StartTimer(UINT Interval) {
  SetTimer(GetHandle(), RepeatTimerId, Interval, nullptr);
}

void TbsSkinSpinEdit::StopTimer() {
  if (HandleAllocated()) KillTimer(GetHandle(), RepeatTimerId);
}

void TbsSkinSpinEdit::UpdateHot(Integer X, Integer Y) {
  Integer New = -1;
  for (Integer I = 0; I < 2; ++I) {
    const TRect& R = Buttons[I].Rect;
    if (X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom) {
      New = I;
      break;
    }
  }
  if (FPressedIndex != -1 && New != FPressedIndex) New = -1;
  if (New == FHotIndex) return;
  if (FHotIndex != -1) {
    Buttons[FHotIndex].MouseIn = false;
    Repaint();
    if (FHotIndex == FPressedIndex) StopTimer();
  }
  FHotIndex = New;
  if (New != -1) {
    Buttons[New].MouseIn = true;
    Repaint();
    if (New == FPressedIndex) StartTimer(50);
  }
}

void TbsSkinSpinEdit::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  CalcButtonRects();
  UpdateHot(X, Y);
  if (FHotIndex != -1) {
    FPressedIndex = FHotIndex;
    Buttons[FPressedIndex].MouseIn = true;
    Buttons[FPressedIndex].Down = true;
    Repaint();
    FRepeatDirection = FPressedIndex == 0 ? 2 : 1;
    FFirstDelay = true;
    StartTimer(500);
  }
  TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TbsSkinSpinEdit::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TbsSkinCustomControl::MouseMove(Shift, X, Y);
  UpdateHot(X, Y);
}

void TbsSkinSpinEdit::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  StopTimer();
  FRepeatDirection = 0;
  const Integer Pressed = FPressedIndex;
  if (Pressed != -1) {
    Buttons[Pressed].Down = false;
    if (Pressed != FHotIndex) Buttons[Pressed].MouseIn = false;
    Repaint();
    FPressedIndex = -1;
    if (Buttons[Pressed].MouseIn) {
      if (Pressed == 0)
        StepUp(nullptr);
      else
        StepDown(nullptr);
    }
  }
  TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

// ---- Messages -------------------------------------------------------------------------------

void TbsSkinSpinEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
      TbsSkinCustomControl::Dispatch(Message);
      if (FEdit != nullptr && !FEditSync) SetEditorText(GetText());
      if (FInternalChange) break;
      if (FEditSync) {
        TypingGoesOn();
      } else {
        // Text set from code is taken at once (after a running OnChange).
        FTyped = true;
        FinishTyping();
      }
      break;
    case WM_TIMER:
      TbsSkinCustomControl::Dispatch(Message);
      if (Message.WParam == TypingTimerId) {
        FinishTyping();
        break;
      }
      if (Message.WParam != RepeatTimerId) break;
      if (FFirstDelay) {
        FFirstDelay = false;
        StartTimer(100);
      } else if (FRepeatDirection == 2) {
        StepBy(FIncrement);
      } else if (FRepeatDirection == 1) {
        StepBy(-FIncrement);
      }
      break;
    case WM_SIZE:
      TbsSkinCustomControl::Dispatch(Message);
      CalcLayout();
      break;
    case WM_SETFOCUS:
      // The control hands its focus to its editor.
      TbsSkinCustomControl::Dispatch(Message);
      if (FEdit->HandleAllocated() && FEdit->CanFocus()) FEdit->SetFocus();
      break;
    case CM_MOUSEENTER:
      TbsSkinCustomControl::Dispatch(Message);
      if (Message.LParam != 0 || PartIndex == -1) break;
      UpdateHot(-1, -1);
      if (!EditFocused) SetMouseOver(true);
      break;
    case CM_MOUSELEAVE:
      TbsSkinCustomControl::Dispatch(Message);
      if (Message.LParam != 0) break;
      FHotIndex = -1;
      for (TbsSpinButtonState& B : Buttons)
        if (B.MouseIn && !B.Down) {
          B.MouseIn = false;
          Repaint();
        }
      if (PartIndex != -1 && !EditFocused && !CursorOverEditor()) SetMouseOver(false);
      break;
    case CM_ENABLEDCHANGED:
      TbsSkinCustomControl::Dispatch(Message);
      SetEditorFontColor(false);
      Invalidate();
      break;
    case WM_ERASEBKGND:
      if (!InWMPaint && Message.WParam != 0) EraseWithEditor(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = 1;
      break;
    default:
      TbsSkinCustomControl::Dispatch(Message);
      break;
  }
}

void TbsSkinSpinEdit::Invalidate() {
  TbsSkinCustomControl::Invalidate();
  if (PartIndex != -1 && FEdit != nullptr) FEdit->Invalidate();
}

// ---- Part and layout ------------------------------------------------------------------------

void TbsSkinSpinEdit::LoadSkinPart() {
  TbsSkinCustomControl::LoadSkinPart();
  auto* Part = dynamic_cast<TbsDataSkinSpinEditControl*>(BoundPart());
  if (Part == nullptr) {
    // A part of another kind has no buttons or fonts to give: the default look.
    PartIndex = -1;
    return;
  }
  FPart.ActiveSkinRect = Part->ActiveSkinRect;
  FPart.FontName = Part->FontName;
  FPart.FontStyle = Part->FontStyle;
  FPart.FontHeight = Part->FontHeight;
  FPart.FontColor = Part->FontColor;
  FPart.ActiveFontColor = Part->ActiveFontColor;
  FPart.DisabledFontColor = Part->DisabledFontColor;
  FPart.UpRect = Part->UpButtonRect;
  FPart.ActiveUpRect = Part->ActiveUpButtonRect;
  FPart.DownUpRect = IsEmptyRect(Part->DownUpButtonRect) ? Part->ActiveUpButtonRect : Part->DownUpButtonRect;
  FPart.DownRect = Part->DownButtonRect;
  FPart.ActiveDownRect = Part->ActiveDownButtonRect;
  FPart.DownDownRect =
      IsEmptyRect(Part->DownDownButtonRect) ? Part->ActiveDownButtonRect : Part->DownDownButtonRect;
  FPart.LeftOffset = Part->LeftTopPoint.X;
  FPart.RightOffset = GetRectWidth(Part->SkinRect) - Part->RightTopPoint.X;
}

void TbsSkinSpinEdit::FitPartToSize(Integer& AWidth, Integer& AHeight) {
  if (FUseSkinSize || PartIndex == -1) {
    TbsSkinCustomControl::FitPartToSize(AWidth, AHeight);
    return;
  }
  // A free-size part follows the width only.
  const Integer DX = AWidth - GetRectWidth(SkinRect);
  NewLeftTopPoint = LeftTopPoint;
  NewRightTopPoint = {RightTopPoint.X + DX, RightTopPoint.Y};
  NewClientRect = PartClientRect;
  NewClientRect.Right += DX;
}

void TbsSkinSpinEdit::UpdatePartRegion() {
  if (FUseSkinSize) TbsSkinCustomControl::UpdatePartRegion();
}

void TbsSkinSpinEdit::CalcButtonRects() {
  const Integer W = GetWidth(), H = GetHeight();
  if (PartIndex == -1) {
    Buttons[0].Rect = Rect(W - 17, 2, W - 2, H / 2);
    Buttons[1].Rect = Rect(W - 17, H / 2, W - 2, H - 2);
    return;
  }
  const Integer DX = W - GetRectWidth(SkinRect);
  TRect Up = FPart.UpRect, Down = FPart.DownRect;
  // Buttons right of the stretched middle move with the right edge.
  if (Up.Left > RightTopPoint.X) Up = Rect(Up.Left + DX, Up.Top, Up.Right + DX, Up.Bottom);
  if (Down.Left > RightTopPoint.X) Down = Rect(Down.Left + DX, Down.Top, Down.Right + DX, Down.Bottom);
  if (!FUseSkinSize) {
    const Integer DY = H - GetRectHeight(SkinRect);
    if (Down.Bottom >= Up.Bottom) {
      // Stacked: the grown column is split again.
      const TRect R = Rect(Up.Left, Up.Top, Down.Right, Down.Bottom + DY);
      const Integer Y = R.Top + R.Bottom / 2;
      Up = Rect(R.Left, R.Top, R.Right, Y);
      Down = Rect(R.Left, Y, R.Right, R.Bottom);
    } else {
      Up.Bottom += DY;
      Down.Bottom += DY;
    }
  }
  Buttons[0].Rect = Up;
  Buttons[1].Rect = Down;
}

void TbsSkinSpinEdit::CalcLayout() {
  CalcButtonRects();
  if (FEdit == nullptr) return;
  const Integer W = GetWidth(), H = GetHeight();
  const Integer E = FontTextHeight(FEdit->GetFont());
  if (PartIndex == -1) {
    FEdit->SetBounds(2, H / 2 - E / 2, IntMax(W - 19, 0), E);
    return;
  }
  TRect Area = PartClientRect;
  Area.Right += W - GetRectWidth(SkinRect);
  if (!FUseSkinSize) Area.Bottom += H - GetRectHeight(SkinRect);
  FEdit->SetBounds(Area.Left, Area.Top + GetRectHeight(Area) / 2 - E / 2, IntMax(GetRectWidth(Area), 0), E);
}

// ---- Fonts and colours ----------------------------------------------------------------------

void TbsSkinSpinEdit::SetEditorFontColor(bool Active) {
  TColor Color;
  if (GetEnabled())
    Color = PartIndex == -1 ? GetDefaultFont()->GetColor() : Active ? FPart.ActiveFontColor : FPart.FontColor;
  else
    Color = PartIndex == -1 ? clGrayText : FPart.DisabledFontColor;
  FEdit->GetFont()->SetColor(Color);
}

void TbsSkinSpinEdit::DefaultFontChanged() {
  if (FEdit == nullptr) return;
  if (PartIndex != -1 && GetUseSkinFont()) return;
  FEdit->SetFont(GetDefaultFont());
  CalcLayout();
}

void TbsSkinSpinEdit::ApplySkinChange() {
  TbsSkinCustomControl::ApplySkinChange();
  LoadSkinPart();
  TFont* F = FEdit->GetFont();
  if (PartIndex == -1) {
    F->Assign(GetDefaultFont());
  } else if (GetUseSkinFont()) {
    F->SetStyle(FPart.FontStyle);
    F->SetColor(FPart.FontColor);
    F->SetHeight(FPart.FontHeight);
    F->SetName(FPart.FontName);
  } else {
    F->Assign(GetDefaultFont());
    F->SetColor(FPart.FontColor);
  }
  TbsResourceStrData* Strings = FSD != nullptr ? FSD->GetResourceStrData() : nullptr;
  F->SetCharset(Strings != nullptr ? Strings->GetCharSet() : GetDefaultFont()->GetCharset());
  // With a part the skin shows through the editor.
  FEdit->SetTransparent(PartIndex != -1);
  if (PartIndex != -1 && FUseSkinSize) SetHeight(GetRectHeight(SkinRect));
  CalcLayout();
  SetEditorFontColor(Hovered());
  Invalidate();
}

// ---- Hover ----------------------------------------------------------------------------------

void TbsSkinSpinEdit::SetMouseOver(bool Value) {
  MouseOver = Value;
  if (PartIndex == -1) return;
  if (!IsEmptyRect(FPart.ActiveSkinRect)) Invalidate();
  if (FPart.ActiveFontColor != FPart.FontColor) SetEditorFontColor(Value);
}

bool TbsSkinSpinEdit::CursorOverEditor() const {
  POINT P;
  GetCursorPos(&P);
  return FEdit->HandleAllocated() && WindowFromPoint(P) == FEdit->GetHandle();
}

void TbsSkinSpinEdit::EditMouseEnter(TObject*) {
  if (!EditFocused) SetMouseOver(true);
}

void TbsSkinSpinEdit::EditMouseLeave(TObject*) {
  if (!EditFocused) SetMouseOver(false);
}

// ---- Drawing --------------------------------------------------------------------------------

void TbsSkinSpinEdit::DrawDefaultImage(TBitmap* B) {
  CalcButtonRects();
  TCanvas* C = B->GetCanvas();
  TRect R = Rect(0, 0, GetWidth(), GetHeight());
  DrawFrame3D(C, R, clBtnShadow, clBtnShadow);
  DrawFrame3D(C, R, clBtnFace, clBtnFace);
  // Around the centred editor the field shows the editor's colour.
  C->GetBrush()->SetStyle(bsSolid);
  C->GetBrush()->SetColor(FDefaultColor);
  C->FillRect(R);
  for (Integer I = 0; I < 2; ++I) DrawDefaultStepButton(C, Buttons[I], I == 0 ? 3 : 4, false);
}

void TbsSkinSpinEdit::DrawSkinImage(TBitmap* B) {
  LoadSkinPart();
  CalcButtonRects();
  const Integer W = GetWidth(), H = GetHeight();
  const bool UseActive = Hovered() && !IsEmptyRect(FPart.ActiveSkinRect);
  if (SkinPicture == nullptr) {
    DrawDefaultImage(B);
    return;
  }
  if (!FUseSkinSize) {
    B->SetSize(W, H);
    CreateStretchSkinImage(B, SkinPicture, UseActive ? FPart.ActiveSkinRect : SkinRect, PartClientRect, true);
  } else if (UseActive) {
    CreateHSkinImage(FPart.LeftOffset, FPart.RightOffset, B, SkinPicture, FPart.ActiveSkinRect, W,
                     GetRectHeight(FPart.ActiveSkinRect), StretchEffect);
  } else {
    DrawResizedPart(B, SkinPicture, SkinRect, LeftTopPoint, RightTopPoint, LeftBottomPoint, RightBottomPoint,
                    PartClientRect, W, H, true, LeftStretch, TopStretch, RightStretch, BottomStretch,
                    StretchEffect, StretchType);
  }
  DrawSkinButtons(B);
}

void TbsSkinSpinEdit::DrawSkinButtons(TBitmap* B) {
  TCanvas* C = B->GetCanvas();
  if (FUseSkinSize) {
    // The part image already shows the buttons at rest.
    const TRect Pressed[2] = {FPart.DownUpRect, FPart.DownDownRect};
    const TRect Hot[2] = {FPart.ActiveUpRect, FPart.ActiveDownRect};
    for (Integer I = 0; I < 2; ++I) {
      const TbsSpinButtonState& S = Buttons[I];
      if (S.Down && S.MouseIn)
        CopyPartRect(C, SkinPicture, Pressed[I], S.Rect);
      else if (S.MouseIn)
        CopyPartRect(C, SkinPicture, Hot[I], S.Rect);
    }
    return;
  }
  TbsDataSkinButtonControl* Part = FindButtonPart(FSD, {"editbutton", "resizebutton"});
  for (Integer I = 0; I < 2; ++I)
    if (!DrawButtonPart(C, FSD, Part, Buttons[I], I == 0 ? 3 : 4, 2))
      DrawDefaultStepButton(C, Buttons[I], I == 0 ? 3 : 4, false);
}

// The control under its transparent editor, then the editor's text over it, into one context.
void TbsSkinSpinEdit::EraseWithEditor(HDC DC) {
  PaintControlTo(DC);
  if (FEdit == nullptr || !FEdit->HandleAllocated()) return;
  const Integer Saved = SaveDC(DC);
  OffsetViewportOrgEx(DC, FEdit->GetLeft(), FEdit->GetTop(), nullptr);
  IntersectClipRect(DC, 0, 0, FEdit->GetWidth(), FEdit->GetHeight());
  SendMessage(FEdit->GetHandle(), WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
  RestoreDC(DC, Saved);
}
