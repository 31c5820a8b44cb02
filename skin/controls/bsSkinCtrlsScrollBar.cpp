// TbsSkinScrollBar: the self-drawn scroll bar with its own hit testing, auto-repeat and thumb
// dragging.
#include <cmath>

#include "platform/classes/Bitmap.h"
#include "platform/system/Math.h"
#include "platform/user/Input.h"
#include "platform/user/Timers.h"
#include "platform/user/User.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinCtrlsPictures.h"
#include "skin/data/bsUtils.h"

namespace {

constexpr UINT_PTR RepeatTimerId = 1;
constexpr Integer ThumbIndex = 0, UpIndex = 1, DownIndex = 2;

Integer RoundToInt(double X) {
  return static_cast<Integer>(Round(X));
}

}  // namespace

TbsSkinScrollBar::TbsSkinScrollBar(TComponent* AOwner) : TbsSkinCustomControl(AOwner) {
  SetWidth(200);
  SetHeight(19);
  SetDefaultHeight(19);
  SetSkinDataName("hscrollbar");
  SetTabStop(false);
}

// ---- Range and position ---------------------------------------------------------------------

Integer TbsSkinScrollBar::ClampPosition(Integer Value) const {
  if (Value < FMin) Value = FMin;
  const Integer High = FPageSize == 0 ? FMax : FMax - FPageSize + 1;
  if (Value > High) Value = High;
  return Value;
}

void TbsSkinScrollBar::SetPosition(Integer Value) {
  Value = ClampPosition(Value);
  if (Value == FPosition) return;
  FPosition = Value;
  Repaint();
  if (OnChange) OnChange(this);
}

void TbsSkinScrollBar::SetRange(Integer AMin, Integer AMax, Integer APosition, Integer APageSize) {
  FMin = AMin;
  FMax = AMax;
  FPageSize = APageSize;
  FPosition = ClampPosition(APosition);
  Repaint();
}

void TbsSkinScrollBar::SetMin(Integer Value) {
  FMin = Value;
  if (FPosition < Value) FPosition = Value;
  Repaint();
}

void TbsSkinScrollBar::SetMax(Integer Value) {
  FMax = Value;
  const Integer High = IntMax(FPageSize == 0 ? FMax : FMax - FPageSize + 1, FMin);
  if (FPosition > High) FPosition = High;
  Repaint();
}

void TbsSkinScrollBar::SetPageSize(Integer Value) {
  if (FPosition + Value <= FMax + 1) FPageSize = Value;
  Repaint();
}

void TbsSkinScrollBar::SetSmallChange(Integer Value) {
  FSmallChange = Value;
  Repaint();
}

void TbsSkinScrollBar::SetLargeChange(Integer Value) {
  FLargeChange = Value;
  Repaint();
}

void TbsSkinScrollBar::SetKind(TScrollBarKind Value) {
  if (FKind == Value) return;
  FKind = Value;
  // At run time owners choose the part and the size themselves.
  TurnAtDesignTime(this, Value == sbVertical, "vscrollbar", "hscrollbar");
  Repaint();
}

void TbsSkinScrollBar::SetBoth(bool Value) {
  if (FBoth == Value) return;
  FBoth = Value;
  if (!Designing()) {
    if (Value) {
      FSavedSkinDataName = GetSkinDataName();
      SetSkinDataName(FBothSkinDataName);
    } else if (!FSavedSkinDataName.empty()) {
      SetSkinDataName(FSavedSkinDataName);
    }
  }
  LoadSkinPart();
  if (PartIndex == -1)
    Repaint();
  else
    ApplySkinChange();
}

void TbsSkinScrollBar::SetBothMarkerWidth(Integer Value) {
  if (Value < 0) return;
  FBothMarkerWidth = Value;
  if (PartIndex == -1) Repaint();
}

void TbsSkinScrollBar::SetCanFocused(bool Value) {
  FCanFocused = Value;
  SetTabStop(Value);
}

// ---- Skin part ------------------------------------------------------------------------------

void TbsSkinScrollBar::LoadSkinPart() {
  TbsSkinCustomControl::LoadSkinPart();
  auto* Part = dynamic_cast<TbsDataSkinScrollBarControl*>(BoundPart());
  if (Part == nullptr) return;
  // An empty state picture falls back to the next calmer one.
  const auto Or = [](const TRect& R, const TRect& Fallback) { return IsEmptyRect(R) ? Fallback : R; };
  TrackArea = Part->TrackArea;
  UpButtonRect = Part->UpButtonRect;
  ActiveUpButtonRect = Part->ActiveUpButtonRect;
  DownUpButtonRect = Or(Part->DownUpButtonRect, ActiveUpButtonRect);
  DownButtonRect = Part->DownButtonRect;
  ActiveDownButtonRect = Part->ActiveDownButtonRect;
  DownDownButtonRect = Or(Part->DownDownButtonRect, ActiveDownButtonRect);
  ThumbRect = Part->ThumbRect;
  ActiveThumbRect = Or(Part->ActiveThumbRect, ThumbRect);
  DownThumbRect = Or(Part->DownThumbRect, ActiveThumbRect);
  ThumbOffset1 = Part->ThumbOffset1;
  ThumbOffset2 = Part->ThumbOffset2;
  ThumbTransparent = Part->ThumbTransparent;
  ThumbTransparentColor = Part->ThumbTransparentColor;
  ThumbStretchEffect = Part->ThumbStretchEffect;
  ThumbMinSize = Part->ThumbMinSize;
  ThumbMinPageSize = Part->ThumbMinPageSize;
  GlyphRect = Part->GlyphRect;
  ActiveGlyphRect = Or(Part->ActiveGlyphRect, GlyphRect);
  DownGlyphRect = Or(Part->DownGlyphRect, ActiveGlyphRect);
  GlyphTransparent = Part->GlyphTransparent;
  GlyphTransparentColor = Part->GlyphTransparentColor;
}

void TbsSkinScrollBar::FitPartToSize(Integer& AWidth, Integer& AHeight) {
  TbsSkinCustomControl::FitPartToSize(AWidth, AHeight);
  CalcLayout();
}

// ---- Layout ---------------------------------------------------------------------------------

void TbsSkinScrollBar::CalcDefaultButtons(TRect& Up, TRect& Down) {
  const Integer W = GetWidth(), H = GetHeight();
  if (FKind == sbHorizontal) {
    const Integer W2 = FBoth ? W - FBothMarkerWidth : W;
    Down = Rect(1, 1, 17, H - 1);
    Up = Rect(W2 - 17, 1, W2 - 1, H - 1);
    FTrackRect = Rect(17, 1, W2 - 17, H - 1);
  } else {
    Down = Rect(1, 1, W - 1, 17);
    Up = Rect(1, H - 17, W - 1, H - 1);
    FTrackRect = Rect(1, 17, W - 1, H - 17);
  }
}

void TbsSkinScrollBar::CalcPartButtons(TRect& Up, TRect& Down) {
  const Integer DX = GetWidth() - GetRectWidth(SkinRect), DY = GetHeight() - GetRectHeight(SkinRect);
  FTrackRect = TrackArea;
  Up = UpButtonRect;
  Down = DownButtonRect;
  // The track stretches with the control; a button beyond the stretching zone moves with its end.
  if (FKind == sbHorizontal) {
    FTrackRect.Right += DX;
    for (TRect* B : {&Up, &Down})
      if (B->Left > RightTopPoint.X) B->Left += DX, B->Right += DX;
  } else {
    FTrackRect.Bottom += DY;
    for (TRect* B : {&Up, &Down})
      if (B->Top > LeftBottomPoint.Y) B->Top += DY, B->Bottom += DY;
  }
}

void TbsSkinScrollBar::CalcLayout() {
  const bool Horz = FKind == sbHorizontal;
  const bool Part = PartIndex != -1;
  TRect Up, Down;
  if (Part)
    CalcPartButtons(Up, Down);
  else
    CalcDefaultButtons(Up, Down);
  const Integer Start = Horz ? FTrackRect.Left : FTrackRect.Top;
  const Integer End = Horz ? FTrackRect.Right : FTrackRect.Bottom;
  // The thumb's least length along the bar: the part's thumb picture, or 16.
  Integer MinLength = 16;
  if (Part) {
    MinLength =
        ThumbMinSize != 0 ? ThumbMinSize : (Horz ? GetRectWidth(ThumbRect) : GetRectHeight(ThumbRect));
  }
  Integer L;
  double F;
  if (FPageSize == 0) {
    L = Part && ThumbMinPageSize != 0 ? ThumbMinPageSize : MinLength;
    F = FMax == FMin ? 0.0 : static_cast<double>(FPosition - FMin) / (FMax - FMin);
  } else {
    const Integer Count = FMax - FMin + 1;
    L = Count == 0 ? 0 : RoundToInt(static_cast<double>(End - Start) * FPageSize / Count);
    if (L < MinLength) L = MinLength;
    const Integer Divisor = FMax - FPageSize + 1 - FMin;
    F = Divisor > 0 ? static_cast<double>(FPosition - FMin) / Divisor : (Horz ? 1.0 : 0.0);
  }
  const Integer Half = L / 2;
  FThumbFirst = Start + Half;
  FThumbLast = End - Half;
  FThumbShift = RoundToInt((FThumbLast - FThumbFirst) * F);
  const Integer A = FThumbFirst + FThumbShift - Half, B = FThumbFirst + FThumbShift + Half;
  // Across, the default thumb fills the track; the part's is centred at its picture's size.
  Integer AcrossStart = Horz ? FTrackRect.Top : FTrackRect.Left;
  Integer AcrossEnd = Horz ? FTrackRect.Bottom : FTrackRect.Right;
  if (Part) {
    const Integer Across = Horz ? GetRectHeight(ThumbRect) : GetRectWidth(ThumbRect);
    AcrossStart += (AcrossEnd - AcrossStart) / 2 - Across / 2;
    AcrossEnd = AcrossStart + Across;
  }
  ButtonStates[ThumbIndex].Rect =
      Horz ? Rect(A, AcrossStart, B, AcrossEnd) : Rect(AcrossStart, A, AcrossEnd, B);
  ButtonStates[UpIndex].Rect = Up;
  ButtonStates[DownIndex].Rect = Down;
}

Integer TbsSkinScrollBar::HitButton(Integer X, Integer Y) const {
  for (Integer I = 0; I < 3; ++I) {
    const TRect& R = ButtonStates[I].Rect;
    if (X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom) return I;
  }
  return -1;
}

void TbsSkinScrollBar::UpdateHot(Integer X, Integer Y) {
  Integer New = HitButton(X, Y);
  if (FPressedButton != -1 && New != FPressedButton) New = -1;
  if (New == FHotButton) return;
  if (FHotButton != -1) {
    ButtonStates[FHotButton].Hot = false;
    Repaint();
    // Leaving a held arrow pauses its repeat.
    if (FHotButton == FPressedButton && FHotButton != ThumbIndex && HandleAllocated())
      KillTimer(GetHandle(), RepeatTimerId);
  }
  FHotButton = New;
  if (New != -1) {
    ButtonStates[New].Hot = true;
    Repaint();
    if (New == FPressedButton && New != ThumbIndex) StartTimer(50);
  }
}

// ---- Steps and repeat -----------------------------------------------------------------------

void TbsSkinScrollBar::ArrowStep(Integer Kind) {
  if (Kind == 2) {
    if (OnUpButtonClick)
      OnUpButtonClick(this);
    else
      SetPosition(FPosition + FSmallChange);
  } else {
    if (OnDownButtonClick)
      OnDownButtonClick(this);
    else
      SetPosition(FPosition - FSmallChange);
  }
}

void TbsSkinScrollBar::PageStep(bool Up) {
  SetPosition(FPosition + (Up ? -FLargeChange : FLargeChange));
  if (Up) {
    if (OnPageUp) OnPageUp(this);
  } else if (OnPageDown) {
    OnPageDown(this);
  }
}

void TbsSkinScrollBar::StartTimer(UINT Interval) {
  SetTimer(GetHandle(), RepeatTimerId, Interval, nullptr);
}

void TbsSkinScrollBar::StopRepeat() {
  if (HandleAllocated()) KillTimer(GetHandle(), RepeatTimerId);
  RepeatKind = 0;
}

void TbsSkinScrollBar::WMTimer(TMessage& Message) {
  TbsSkinCustomControl::Dispatch(Message);
  if (Message.WParam != RepeatTimerId) return;
  if (FFirstRepeatPending) {
    // The first tick only ends the delay.
    FFirstRepeatPending = false;
    StartTimer(50);
    return;
  }
  switch (RepeatKind) {
    case 1:
    case 2:
      ArrowStep(RepeatKind);
      break;
    case 3:
    case 4: {
      UpdateHot(FLastMouseX, FLastMouseY);
      CalcLayout();
      const TRect& T = ButtonStates[ThumbIndex].Rect;
      const bool Horz = FKind == sbHorizontal;
      // Paging stops when the thumb reaches the mouse.
      const bool Go = RepeatKind == 3 ? (Horz ? FLastMouseX < T.Left : FLastMouseY < T.Top)
                                      : (Horz ? FLastMouseX >= T.Right : FLastMouseY >= T.Bottom);
      if (Go)
        PageStep(RepeatKind == 3);
      else
        StopRepeat();
      break;
    }
    default:
      break;
  }
}

// ---- Mouse ----------------------------------------------------------------------------------

void TbsSkinScrollBar::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  FLeftButtonHeld = true;
  CalcLayout();
  RepeatKind = 0;
  FFirstRepeatPending = true;
  const Integer Hit = HitButton(X, Y);
  if (Hit != -1) {
    FPressedButton = Hit;
    ButtonStates[Hit].Down = true;
    Repaint();
    if (Hit == ThumbIndex) {
      FDragStartCoord = FKind == sbHorizontal ? X : Y;
      FDragStartShift = FThumbShift;
      FThumbDragging = true;
      Repaint();
      return;
    }
    RepeatKind = Hit == UpIndex ? 2 : 1;
    ArrowStep(RepeatKind);
    StartTimer(500);
    return;
  }
  if (X < FTrackRect.Left || X >= FTrackRect.Right || Y < FTrackRect.Top || Y >= FTrackRect.Bottom) return;
  const TRect& T = ButtonStates[ThumbIndex].Rect;
  const bool Before = FKind == sbHorizontal ? X < T.Left : Y < T.Top;
  RepeatKind = Before ? 3 : 4;
  StartTimer(500);
  PageStep(Before);
}

void TbsSkinScrollBar::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  FLastMouseX = X;
  FLastMouseY = Y;
  UpdateHot(X, Y);
  if (FThumbDragging) {
    const bool Horz = FKind == sbHorizontal;
    const Integer D = (Horz ? X : Y) - FDragStartCoord + FDragStartShift;
    if (FPageSize != 0) {
      // With a page the thumb's length decides its travel.
      const TRect& T = ButtonStates[ThumbIndex].Rect;
      const Integer HalfLen = (Horz ? GetRectWidth(T) : GetRectHeight(T)) / 2;
      FThumbFirst = (Horz ? FTrackRect.Left : FTrackRect.Top) + HalfLen;
      FThumbLast = (Horz ? FTrackRect.Right : FTrackRect.Bottom) - HalfLen;
    }
    const Integer Span = FThumbLast - FThumbFirst;
    double F = Span > 0 ? static_cast<double>(D) / Span : 0.0;
    if (std::isnan(F) || F < 0) F = 0;
    if (F > 1) F = 1;
    const Integer Range = FPageSize == 0 ? FMax - FMin : FMax - FMin - FPageSize + 1;
    SetPosition(FMin + RoundToInt(Range * F));
  }
  TbsSkinCustomControl::MouseMove(Shift, X, Y);
}

void TbsSkinScrollBar::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  FLeftButtonHeld = false;
  if (RepeatKind == 3 || RepeatKind == 4) StopRepeat();
  const Integer Pressed = FPressedButton;
  if (Pressed != -1) {
    ButtonStates[Pressed].Down = false;
    if (Pressed != FHotButton) ButtonStates[Pressed].Hot = false;
    if (Pressed == ThumbIndex)
      FThumbDragging = false;
    else
      StopRepeat();
    Repaint();
  }
  FPressedButton = -1;
  if (Pressed == ThumbIndex && OnLastChange) OnLastChange(this);
}

void TbsSkinScrollBar::CMMouseLeave(TMessage& Message) {
  TbsSkinCustomControl::Dispatch(Message);
  if (!OwnMouseNotice(Message)) return;
  if (FHotButton != -1 && FPressedButton == -1 && !FThumbDragging) {
    ButtonStates[FHotButton].Hot = false;
    FHotButton = -1;
    Repaint();
  }
  // Page-down paging ends when the mouse leaves; page-up paging goes on.
  if (FLeftButtonHeld && RepeatKind == 4) StopRepeat();
}

// ---- Keys and focus -------------------------------------------------------------------------

void TbsSkinScrollBar::KeyDown(Word& Key, TShiftState Shift) {
  TbsSkinCustomControl::KeyDown(Key, Shift);
  if (!FCanFocused) return;
  if (Key == VK_LEFT || Key == VK_UP)
    SetPosition(FPosition - FSmallChange);
  else if (Key == VK_RIGHT || Key == VK_DOWN)
    SetPosition(FPosition + FSmallChange);
}

void TbsSkinScrollBar::WndProc(TMessage& Message) {
  if (FCanFocused && FocusBeforeClick(Message, FSuppressClicks)) return;
  TbsSkinCustomControl::WndProc(Message);
}

void TbsSkinScrollBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_TIMER:
      WMTimer(Message);
      break;
    case CM_MOUSELEAVE:
      CMMouseLeave(Message);
      break;
    case CM_ENABLEDCHANGED:
      TbsSkinCustomControl::Dispatch(Message);
      Repaint();
      break;
    default: {
      const auto Turn = [this](const TMessage& Wheel) {
        // The first parameter read whole: the wheel delta's sign decides.
        const bool Away = static_cast<Integer>(static_cast<DWORD>(Wheel.WParam)) > 0;
        SetPosition(FPosition + (Away ? -FSmallChange : FSmallChange));
      };
      if (!DispatchFocusableBar(Message, FCanFocused, Turn)) TbsSkinCustomControl::Dispatch(Message);
      break;
    }
  }
}

// ---- Painting -------------------------------------------------------------------------------

void TbsSkinScrollBar::DrawDefaultImage(TBitmap* B) {
  CalcLayout();
  TCanvas* C = B->GetCanvas();
  C->GetBrush()->SetStyle(bsSolid);
  C->GetBrush()->SetColor(clBtnFace);
  C->FillRect(GetClientRect());
  const bool Focus = FCanFocused && HandleAllocated() && Focused();
  const bool Horz = FKind == sbHorizontal;
  for (Integer I = GetEnabled() ? ThumbIndex : UpIndex; I <= DownIndex; ++I) {
    const TbsScrollButtonState& S = ButtonStates[I];
    const bool Pressed = I == ThumbIndex ? S.Down || Focus : S.Down && S.Hot;
    TColor Frame = clBtnShadow, Face = clBtnFace;
    if (Pressed)
      Frame = bsHotFrameColor, Face = bsDownFaceColor;
    else if (S.Hot)
      Frame = bsHotFrameColor, Face = bsHotFaceColor;
    TRect R = S.Rect;
    DrawFrame3D(C, R, Frame, Frame);
    C->GetBrush()->SetColor(Face);
    C->FillRect(R);
    if (I == UpIndex)
      DrawSmallArrowGlyph(C, R, clBlack, Horz ? 2 : 4);
    else if (I == DownIndex)
      DrawSmallArrowGlyph(C, R, clBlack, Horz ? 1 : 3);
  }
}

const TRect& TbsSkinScrollBar::ThumbStatePicture(const TRect& Normal, const TRect& Active,
                                                 const TRect& Down) {
  const TbsScrollButtonState& S = ButtonStates[ThumbIndex];
  if (S.Down || (FCanFocused && HandleAllocated() && Focused())) return Down;
  return S.Hot ? Active : Normal;
}

void TbsSkinScrollBar::DrawSkinThumb(TCanvas* C) {
  const TRect& T = ButtonStates[ThumbIndex].Rect;
  const Integer TW = GetRectWidth(T), TH = GetRectHeight(T);
  if (TW <= 0 || TH <= 0 || SkinPicture == nullptr) return;
  const bool Horz = FKind == sbHorizontal;
  const TRect& Source = ThumbStatePicture(ThumbRect, ActiveThumbRect, DownThumbRect);
  TBitmap Thumb;
  if (FPageSize != 0 || ThumbMinPageSize != 0) {
    // A thumb of any length: end pieces kept, the middle stretched or tiled.
    if (Horz)
      CreateHSkinImage(ThumbOffset1, ThumbOffset2, &Thumb, SkinPicture, Source, TW, TH, ThumbStretchEffect);
    else
      CreateVSkinImage(ThumbOffset1, ThumbOffset2, &Thumb, SkinPicture, Source, TW, TH, ThumbStretchEffect);
  } else {
    Thumb.SetSize(TW, TH);
    if (SkinPicture != nullptr)
      Thumb.GetCanvas()->CopyRect(Rect(0, 0, TW, TH), SkinPicture->GetCanvas(), Source);
  }
  const TRect& Glyph = ThumbStatePicture(GlyphRect, ActiveGlyphRect, DownGlyphRect);
  const bool GlyphFits = Horz ? GetRectWidth(Glyph) < TW : GetRectHeight(Glyph) < TH;
  if (!IsEmptyRect(Glyph) && GlyphFits)
    DrawPartPicture(Thumb.GetCanvas(), TW / 2 - GetRectWidth(Glyph) / 2, TH / 2 - GetRectHeight(Glyph) / 2,
                    SkinPicture, Glyph, GlyphTransparent, GlyphTransparentColor);
  if (ThumbTransparent) {
    Thumb.SetTransparent(true);
    Thumb.SetTransparentMode(tmFixed);
    Thumb.SetTransparentColor(ThumbTransparentColor);
  }
  C->Draw(T.Left, T.Top, &Thumb);
}

void TbsSkinScrollBar::DrawSkinImage(TBitmap* B) {
  TbsSkinCustomControl::DrawSkinImage(B);
  CalcLayout();
  TCanvas* C = B->GetCanvas();
  // The normal arrows are part of the background; hot and pressed ones are copied over it.
  const auto DrawArrow = [&](Integer Index, const TRect& Active, const TRect& Down) {
    const TbsScrollButtonState& S = ButtonStates[Index];
    const TRect* Source = S.Down && S.Hot ? &Down : S.Hot ? &Active : nullptr;
    if (Source != nullptr && !IsEmptyRect(*Source) && SkinPicture != nullptr)
      C->CopyRect(S.Rect, SkinPicture->GetCanvas(), *Source);
  };
  DrawArrow(UpIndex, ActiveUpButtonRect, DownUpButtonRect);
  DrawArrow(DownIndex, ActiveDownButtonRect, DownDownButtonRect);
  if (GetEnabled()) DrawSkinThumb(C);
}
