// TbsSkinUpDown: a pair of step buttons with timer repeat.
#include "skin/boxctrls/bsSkinBoxCtrlsUpDown.h"

#include "platform/classes/Bitmap.h"
#include "platform/user/Timers.h"
#include "platform/user/User.h"
#include "skin/data/bsSkinDataControls.h"
#include "skin/data/bsUtils.h"

namespace {

constexpr UINT_PTR RepeatTimerId = 1;

}  // namespace

TbsSkinUpDown::TbsSkinUpDown(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
  SetSkinDataName("hupdown");
  SetWidth(50);
  SetHeight(25);
  CalcButtonRects();
}

// ---- Range ----------------------------------------------------------------------------------

void TbsSkinUpDown::SetPosition(Integer Value) {
  if (Value > FMax || Value < FMin) return;
  FPosition = Value;
  if (!Designing() && OnChange) OnChange(this);
}

void TbsSkinUpDown::SetMin(Integer Value) {
  FMin = Value;
  if (FPosition < FMin) FPosition = FMin;
}

void TbsSkinUpDown::SetMax(Integer Value) {
  FMax = Value;
  if (FPosition > FMax) FPosition = FMax;
}

void TbsSkinUpDown::SetOrientation(TUDOrientation Value) {
  const bool Changed = FOrientation != Value;
  FOrientation = Value;
  if (Changed && Designing() && !GetComponentState().Contains(csLoading))
    SetSkinDataName(Value == udVertical ? "vupdown" : "hupdown");
  CalcButtonRects();
  Repaint();
}

// ---- Part -----------------------------------------------------------------------------------

void TbsSkinUpDown::LoadSkinPart() {
  TbsSkinCustomControl::LoadSkinPart();
  if (auto* Part = dynamic_cast<TbsDataSkinUpDownControl*>(BoundPart())) {
    FUpRect = Part->UpButtonRect;
    FActiveUpRect = Part->ActiveUpButtonRect;
    FDownUpRect = IsEmptyRect(Part->DownUpButtonRect) ? FActiveUpRect : Part->DownUpButtonRect;
    FDownRect = Part->DownButtonRect;
    FActiveDownRect = Part->ActiveDownButtonRect;
    FDownDownRect = IsEmptyRect(Part->DownDownButtonRect) ? FActiveDownRect : Part->DownDownButtonRect;
    LeftTopPoint = RightTopPoint = LeftBottomPoint = RightBottomPoint = TPoint{};
  } else if (PartIndex != -1) {
    // A part of another kind has no buttons to show: the default look.
    PartIndex = -1;
  }
  CalcButtonRects();
}

void TbsSkinUpDown::FitPartToSize(Integer& AWidth, Integer& AHeight) {
  if (FUseSkinSize) TbsSkinCustomControl::FitPartToSize(AWidth, AHeight);
}

void TbsSkinUpDown::UpdatePartRegion() {
  if (FUseSkinSize) TbsSkinCustomControl::UpdatePartRegion();
}

void TbsSkinUpDown::CalcButtonRects() {
  const Integer W = GetWidth(), H = GetHeight();
  if (PartIndex != -1 && FUseSkinSize) {
    Buttons[0].Rect = FUpRect;
    Buttons[1].Rect = FDownRect;
  } else if (FOrientation == udVertical) {
    Buttons[0].Rect = Rect(0, 0, W, H / 2);
    Buttons[1].Rect = Rect(0, H / 2, W, H);
  } else {
    // The right half steps up.
    Buttons[1].Rect = Rect(0, 0, W / 2, H);
    Buttons[0].Rect = Rect(W / 2, 0, W, H);
  }
}

Integer TbsSkinUpDown::ArrowKind(Integer Index) const {
  if (FOrientation == udVertical) return Index == 0 ? 3 : 4;
  return Index == 0 ? 2 : 1;
}

// ---- Drawing --------------------------------------------------------------------------------

void TbsSkinUpDown::DrawDefaultImage(TBitmap* B) {
  CalcButtonRects();
  for (Integer I = 0; I < 2; ++I) DrawDefaultStepButton(B->GetCanvas(), Buttons[I], ArrowKind(I), true);
}

void TbsSkinUpDown::DrawSkinImage(TBitmap* B) {
  TCanvas* C = B->GetCanvas();
  if (FUseSkinSize) {
    TbsSkinCustomControl::DrawSkinImage(B);
    const TRect Pressed[2] = {FDownUpRect, FDownDownRect};
    const TRect Hot[2] = {FActiveUpRect, FActiveDownRect};
    for (Integer I = 0; I < 2; ++I) {
      const TbsSpinButtonState& S = Buttons[I];
      // The part image already shows the normal buttons.
      if (S.Down && S.MouseIn)
        CopyPartRect(C, SkinPicture, Pressed[I], S.Rect);
      else if (S.MouseIn)
        CopyPartRect(C, SkinPicture, Hot[I], S.Rect);
    }
    return;
  }
  TbsDataSkinButtonControl* Part = FindButtonPart(FSD, {"resizebutton"});
  for (Integer I = 0; I < 2; ++I)
    if (!DrawButtonPart(C, FSD, Part, Buttons[I], ArrowKind(I), 0))
      DrawDefaultStepButton(C, Buttons[I], ArrowKind(I), true);
}

// ---- Mouse ----------------------------------------------------------------------------------

void TbsSkinUpDown::SetRepeatTimer(UINT Interval) {
  if (HandleAllocated()) SetTimer(GetHandle(), RepeatTimerId, Interval, nullptr);
}

void TbsSkinUpDown::KillRepeatTimer() {
  if (HandleAllocated()) KillTimer(GetHandle(), RepeatTimerId);
}

void TbsSkinUpDown::UpdateHot(Integer X, Integer Y) {
  FOldHotIndex = FHotIndex;
  Integer New = StepButtonAt(Buttons, X, Y);
  // While one button is held the other never lights up.
  if (FPressedIndex != -1 && New != FPressedIndex) New = -1;
  if (New == FHotIndex) return;
  if (FHotIndex != -1) {
    Buttons[FHotIndex].MouseIn = false;
    Repaint();
    if (FIncrement != 0 && Buttons[FHotIndex].Down) KillRepeatTimer();
  }
  FHotIndex = New;
  if (New == -1) return;
  Buttons[1 - New].MouseIn = false;
  Buttons[New].MouseIn = true;
  Repaint();
  if (FIncrement != 0 && Buttons[New].Down) SetRepeatTimer(50);
}

void TbsSkinUpDown::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  CalcButtonRects();
  UpdateHot(X, Y);
  Buttons[FHotIndex == -1 ? 0 : 1 - FHotIndex].MouseIn = false;
  if (FHotIndex != -1) {
    FPressedIndex = FHotIndex;
    Buttons[FPressedIndex].MouseIn = true;
    Buttons[FPressedIndex].Down = true;
    Repaint();
    if (FIncrement != 0) {
      FRepeatDirection = FPressedIndex == 0 ? 2 : 1;
      FFirstDelay = true;
      SetRepeatTimer(500);
    }
  }
  TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TbsSkinUpDown::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  UpdateHot(X, Y);
  TbsSkinCustomControl::MouseMove(Shift, X, Y);
}

void TbsSkinUpDown::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  const Integer Pressed = FPressedIndex;
  if (Pressed != -1) {
    if (FIncrement != 0) {
      KillRepeatTimer();
      FRepeatDirection = 0;
    }
    TbsSpinButtonState& S = Buttons[Pressed];
    S.Down = false;
    if (Pressed != FHotIndex) S.MouseIn = false;
    Repaint();
    if (S.MouseIn) {
      if (Pressed == 0) {
        if (FIncrement != 0) SetPosition(FPosition + FIncrement);
        if (OnUpButtonClick) OnUpButtonClick(this);
      } else {
        if (FIncrement != 0) SetPosition(FPosition - FIncrement);
        if (OnDownButtonClick) OnDownButtonClick(this);
      }
    }
    FPressedIndex = -1;
  }
  TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinUpDown::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_TIMER:
      TbsSkinCustomControl::Dispatch(Message);
      if (Message.WParam != RepeatTimerId) break;
      if (FFirstDelay) {
        FFirstDelay = false;
        SetRepeatTimer(100);
      } else if (FRepeatDirection == 1) {
        SetPosition(FPosition - FIncrement);
      } else if (FRepeatDirection == 2) {
        SetPosition(FPosition + FIncrement);
      }
      break;
    case WM_SIZE:
      TbsSkinCustomControl::Dispatch(Message);
      CalcButtonRects();
      break;
    case CM_MOUSEENTER:
      FHotIndex = FOldHotIndex = -1;
      TbsSkinCustomControl::Dispatch(Message);
      break;
    case CM_MOUSELEAVE:
      FHotIndex = FOldHotIndex = -1;
      TbsSkinCustomControl::Dispatch(Message);
      for (TbsSpinButtonState& S : Buttons)
        if (S.MouseIn) {
          S.MouseIn = false;
          Repaint();
        }
      break;
    default:
      TbsSkinCustomControl::Dispatch(Message);
      break;
  }
}
