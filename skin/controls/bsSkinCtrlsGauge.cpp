// TbsSkinGauge and TbsSkinTrackBar: the progress gauge and the slider.
#include <cmath>

#include "platform/classes/Bitmap.h"
#include "platform/gdi/Text.h"
#include "platform/system/Math.h"
#include "platform/system/Strings.h"
#include "platform/user/Input.h"
#include "platform/user/User.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/data/bsUtils.h"

namespace {

// (V - Min) / (Max - Min), 0 for an empty range.
double RangeFraction(Integer V, Integer Min, Integer Max) {
  return Max == Min ? 0.0 : static_cast<double>(V - Min) / static_cast<double>(Max - Min);
}

void FramedFill(TCanvas* C, const TRect& R, TColor Frame, TColor Face) {
  C->GetPen()->SetColor(Frame);
  C->GetBrush()->SetStyle(bsSolid);
  C->GetBrush()->SetColor(Face);
  C->Rectangle(R);
}

}  // namespace

// ---- TbsSkinGauge ---------------------------------------------------------------------------

TbsSkinGauge::TbsSkinGauge(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
  SetWidth(100);
  SetHeight(20);
  SetSkinDataName("gauge");
}

void TbsSkinGauge::SetValue(Integer Value) {
  if (Value > FMaxValue) Value = FMaxValue;
  if (Value < FMinValue) Value = FMinValue;
  if (Value == FValue) return;
  FValue = Value;
  // Many steps between two passes of the message queue cost one paint.
  Invalidate();
}

void TbsSkinGauge::SetMaxValue(Integer Value) {
  FMaxValue = Value;
  if (FValue > Value) FValue = Value;
  Repaint();
}

void TbsSkinGauge::SetMinValue(Integer Value) {
  FMinValue = Value;
  if (FValue < Value) FValue = Value;
  Repaint();
}

void TbsSkinGauge::SetProgressText(const std::string& Value) {
  FProgressText = Value;
  Repaint();
}

void TbsSkinGauge::SetShowProgressText(bool Value) {
  FShowProgressText = Value;
  Repaint();
}

void TbsSkinGauge::SetShowPercent(bool Value) {
  FShowPercent = Value;
  Repaint();
}

void TbsSkinGauge::SetProgressAnimationPause(Integer Value) {
  if (Value >= 0) FProgressAnimationPause = Value;
}

Integer TbsSkinGauge::CurrentValue() {
  return GetControlState().Contains(csPaintCopy) ? GetDisplayValue() : FValue;
}

TRect TbsSkinGauge::ProgressRect(const TRect& Area, Integer V) const {
  const double F = RangeFraction(V, FMinValue, FMaxValue);
  TRect R = Area;
  if (FVertical)
    R.Top = R.Bottom - static_cast<Integer>(Trunc(GetRectHeight(Area) * F));
  else
    R.Right = R.Left + static_cast<Integer>(Trunc(GetRectWidth(Area) * F));
  return R;
}

std::string TbsSkinGauge::ShownText(Integer V) const {
  std::string Text = FShowProgressText ? FProgressText : std::string();
  if (FShowPercent) Text += IntToStr(Trunc(RangeFraction(V, FMinValue, FMaxValue) * 100)) + "%";
  return Text;
}

void TbsSkinGauge::DrawText(TCanvas* C, Integer V) {
  const std::string Text = ShownText(V);
  if (Text.empty()) return;
  C->SetFont(GetDefaultFont());
  const bool Odd = C->GetFont()->GetHeight() % 2 != 0;
  C->GetBrush()->SetStyle(bsClear);
  const TSize T = C->TextExtent(Text);
  Integer X, Y;
  if (FVertical) {
    // Reads upwards.
    C->GetFont()->SetOrientation(900);
    X = GetWidth() / 2 - T.cy / 2;
    Y = T.cx / 2 + GetHeight() / 2;
  } else {
    X = GetWidth() / 2 - T.cx / 2;
    Y = GetHeight() / 2 - T.cy / 2;
  }
  if (Odd) --Y;
  C->TextOut(X, Y, Text);
}

void TbsSkinGauge::DrawDefaultImage(TBitmap* B) {
  TCanvas* C = B->GetCanvas();
  FramedFill(C, GetClientRect(), clBtnShadow, clWindow);
  const Integer V = CurrentValue();
  const TRect Area = Rect(1, 1, GetWidth() - 1, GetHeight() - 1);
  const TRect P = ProgressRect(Area, V);
  if (OnGaugePaint) {
    OnGaugePaint(C, Area, P);
    return;
  }
  if (!IsEmptyRect(P)) {
    C->GetBrush()->SetColor(bsHotFaceColor);
    C->FillRect(P);
  }
  DrawText(C, V);
}

void TbsSkinGauge::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_ERASEBKGND) {
    if (!InWMPaint) PaintControlTo(reinterpret_cast<HDC>(Message.WParam));
    Message.Result = 1;
    return;
  }
  TbsSkinCustomControl::Dispatch(Message);
}

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
  const Integer M = 2;
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
  else if (FCanFocused && HandleAllocated() && Focused())
    FramedFill(C, FButtonRect, bsHotFrameColor, bsHotFaceColor);
  else
    FramedFill(C, FButtonRect, clBtnShadow, clBtnFace);
}
