// TbsSkinTrackBar: the slider.
#include <cmath>

#include "platform/classes/Bitmap.h"
#include "platform/system/Math.h"
#include "platform/user/Input.h"
#include "platform/user/User.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinCtrlsPictures.h"
#include "skin/data/bsUtils.h"

// ---- TbsSkinTrackBar ------------------------------------------------------------------------

TbsSkinTrackBar::TbsSkinTrackBar(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
  SetWidth(100);
  SetHeight(20);
  SetTabStop(false);
  SetSkinDataName("htrackbar");
}

void TbsSkinTrackBar::SetValue(Integer Value) {
  if (Value > FMaxValue)
    Value = FMaxValue;
  else if (Value < FMinValue)
    Value = FMinValue;
  if (Value == FValue) return;
  FValue = Value;
  Repaint();
  if (OnChange) OnChange(this);
}

void TbsSkinTrackBar::SetMinValue(Integer Value) {
  FMinValue = Value;
  if (FValue < Value) FValue = Value;
  Repaint();
}

void TbsSkinTrackBar::SetMaxValue(Integer Value) {
  FMaxValue = Value;
  if (FValue > Value) FValue = Value;
  Repaint();
}

void TbsSkinTrackBar::SetCanFocused(bool Value) {
  FCanFocused = Value;
  SetTabStop(Value);
}

TSize TbsSkinTrackBar::ThumbSize() const {
  if (PartIndex != -1) return {GetRectWidth(ButtonRect), GetRectHeight(ButtonRect)};
  if (FVertical) {
    const Integer W = GetWidth() - 4;
    return {W, W / 2};
  }
  const Integer H = GetHeight() - 4;
  return {H / 2, H};
}

TRect TbsSkinTrackBar::CalcButtonRect(const TRect& R) {
  const double F = RangeFraction(FValue, FMinValue, FMaxValue);
  const TSize T = ThumbSize();
  if (FVertical) {
    const Integer H = T.cy / 2;
    FThumbFirst = R.Top + H;
    FThumbLast = R.Bottom - H;
    FThumbShift = static_cast<Integer>(Round((FThumbLast - FThumbFirst) * F));
    const Integer Top = FThumbLast - FThumbShift - H;
    const Integer Left = R.Left + GetRectWidth(R) / 2 - T.cx / 2;
    return Bounds(Left, Top, T.cx, T.cy);
  }
  const Integer H = T.cx / 2;
  FThumbFirst = R.Left + H;
  FThumbLast = R.Right - H;
  FThumbShift = static_cast<Integer>(Round((FThumbLast - FThumbFirst) * F));
  const Integer Left = FThumbFirst + FThumbShift - H;
  const Integer Top = R.Top + GetRectHeight(R) / 2 - T.cy / 2;
  return Bounds(Left, Top, T.cx, T.cy);
}

Integer TbsSkinTrackBar::ValueForOffset(Integer Offset) const {
  const Integer S = FThumbLast - FThumbFirst;
  double X = S > 0 ? static_cast<double>(Offset) / S : 0.0;
  if (std::isnan(X) || X < 0) X = 0;
  if (X > 1) X = 1;
  return FMinValue + static_cast<Integer>(Round((FMaxValue - FMinValue) * X));
}

void TbsSkinTrackBar::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
  if (!FMouseSupport || !IsPointInRect(FButtonRect, Point(X, Y))) return;
  FDragStartCoord = FVertical ? Y : X;
  FDragStartShift = FThumbShift;
  ThumbDragActive = true;
  Repaint();
  if (OnStartDragButton) OnStartDragButton(this);
}

void TbsSkinTrackBar::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (FMouseSupport && ThumbDragActive) {
    const Integer D =
        FVertical ? FDragStartCoord - Y + FDragStartShift : X - FDragStartCoord + FDragStartShift;
    SetValue(ValueForOffset(D));
  }
  TbsSkinCustomControl::MouseMove(Shift, X, Y);
}

void TbsSkinTrackBar::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
  if (!FMouseSupport) return;
  if (ThumbDragActive) {
    ThumbDragActive = false;
    Repaint();
    if (OnLastChange) OnLastChange(this);
    return;
  }
  if (!FJumpWhenClick) return;
  const TSize T = ThumbSize();
  const Integer M = PartIndex == -1 ? 2 : (FVertical ? FNewTrackArea.Top : FNewTrackArea.Left);
  const Integer D = FVertical ? GetHeight() - Y - T.cy / 2 - M : X - T.cx / 2 - M;
  SetValue(ValueForOffset(D));
}

void TbsSkinTrackBar::Step(Integer Delta) {
  SetValue(FValue + Delta);
  if (OnLastChange) OnLastChange(this);
}

void TbsSkinTrackBar::KeyDown(Word& Key, TShiftState Shift) {
  TbsSkinCustomControl::KeyDown(Key, Shift);
  if (!FCanFocused) return;
  if (Key == VK_LEFT || Key == VK_DOWN)
    Step(-1);
  else if (Key == VK_UP || Key == VK_RIGHT)
    Step(1);
}

void TbsSkinTrackBar::WndProc(TMessage& Message) {
  if (FCanFocused && FocusBeforeClick(Message, FSuppressClicks)) return;
  TbsSkinCustomControl::WndProc(Message);
}

void TbsSkinTrackBar::Dispatch(TMessage& Message) {
  const auto Turn = [this](const TMessage& Wheel) {
    const bool Away = static_cast<SHORT>(HIWORD(Wheel.WParam)) > 0;
    // Turning the wheel away raises a vertical bar and lowers a horizontal one.
    Step(FVertical == Away ? 1 : -1);
  };
  if (!DispatchFocusableBar(Message, FCanFocused, Turn)) TbsSkinCustomControl::Dispatch(Message);
}

void TbsSkinTrackBar::DrawDefaultImage(TBitmap* B) {
  TCanvas* C = B->GetCanvas();
  TRect R = GetClientRect();
  C->GetBrush()->SetStyle(bsSolid);
  C->GetBrush()->SetColor(clBtnFace);
  C->FillRect(R);
  DrawFrame3D(C, R, clBtnShadow, clBtnShadow);
  const Integer W = GetWidth(), H = GetHeight();
  TRect Groove = FVertical ? Rect(W / 2 - 1, 4, W / 2 + 1, H - 4) : Rect(4, H / 2 - 1, W - 4, H / 2 + 1);
  DrawFrame3D(C, Groove, clBtnShadow, clBtnHighlight);
  FButtonRect = CalcButtonRect(Rect(2, 2, W - 2, H - 2));
  if (ThumbDragActive)
    FramedFill(C, FButtonRect, bsHotFrameColor, bsDownFaceColor);
  else if (FocusedLook())
    FramedFill(C, FButtonRect, bsHotFrameColor, bsHotFaceColor);
  else
    FramedFill(C, FButtonRect, clBtnShadow, clBtnFace);
}

bool TbsSkinTrackBar::FocusedLook() {
  return FCanFocused && HandleAllocated() && Focused();
}

void TbsSkinTrackBar::SetVertical(bool Value) {
  FVertical = Value;
  TurnAtDesignTime(this, Value, "trackbar", "htrackbar");
}

// ---- Skin part ------------------------------------------------------------------------------

void TbsSkinTrackBar::LoadSkinPart() {
  TbsSkinCustomControl::LoadSkinPart();
  auto* Part = dynamic_cast<TbsDataSkinTrackBarControl*>(BoundPart());
  if (Part == nullptr) return;
  ActiveSkinRect = Part->ActiveSkinRect;
  TrackArea = Part->TrackArea;
  ButtonRect = Part->ButtonRect;
  ActiveButtonRect = IsEmptyRect(Part->ActiveButtonRect) ? ButtonRect : Part->ActiveButtonRect;
  FVertical = Part->Vertical;
  ButtonTransparent = Part->ButtonTransparent;
  ButtonTransparentColor = Part->ButtonTransparentColor;
}

void TbsSkinTrackBar::FitPartToSize(Integer& AWidth, Integer& AHeight) {
  TbsSkinCustomControl::FitPartToSize(AWidth, AHeight);
  FNewTrackArea = TrackArea;
  if (SizingMode < 1 || SizingMode > 3) return;
  if (FVertical)
    FNewTrackArea.Bottom += AHeight - GetRectHeight(SkinRect);
  else
    FNewTrackArea.Right += AWidth - GetRectWidth(SkinRect);
}

void TbsSkinTrackBar::DrawSkinImage(TBitmap* B) {
  TbsSkinCustomControl::DrawSkinImage(B);
  FButtonRect = CalcButtonRect(FNewTrackArea);
  TCanvas* C = B->GetCanvas();
  if (!IsEmptyRect(ActiveSkinRect)) {
    // The filled stretch, up to the thumb's centre, from the control's filled picture.
    TBitmap Filled;
    Filled.SetSize(B->GetWidth(), B->GetHeight());
    CreateControlImage(&Filled, SkinPicture, ActiveSkinRect);
    if (FVertical) {
      const Integer Y = FButtonRect.Top + GetRectHeight(FButtonRect) / 2;
      const TRect R = Rect(0, Y, Filled.GetWidth(), Filled.GetHeight());
      if (!IsEmptyRect(R)) C->CopyRect(R, Filled.GetCanvas(), R);
    } else {
      const Integer X = FButtonRect.Left + GetRectWidth(FButtonRect) / 2;
      const TRect R = Rect(0, 0, X, Filled.GetHeight());
      if (X > 0) C->CopyRect(R, Filled.GetCanvas(), R);
    }
  }
  const TRect& Thumb = ThumbDragActive || FocusedLook() ? ActiveButtonRect : ButtonRect;
  DrawPartPicture(C, FButtonRect.Left, FButtonRect.Top, SkinPicture, Thumb, ButtonTransparent,
                  ButtonTransparentColor);
}
