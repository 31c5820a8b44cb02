// Range bars: geometry, painting, mouse and timer handling, the scrolling model and the look
// accessor.
#include "raster/RS32_RangeBars.h"

#include <algorithm>

#include "platform/classes/Bitmap.h"
#include "platform/classes/Canvas.h"
#include "platform/classes/ControlMessages.h"
#include "platform/classes/Timer.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/Painting.h"
#include "platform/system/Exceptions.h"
#include "platform/system/Math.h"
#include "platform/user/Input.h"
#include "platform/user/WinUser.h"
#include "platform/user/WindowPaint.h"
#include "raster/RS32.h"

namespace {
// A thumb is never shorter than this, and a track this short has none.
constexpr Integer MinThumb = 17;
constexpr Cardinal FirstDelay = 600, RepeatDelay = 100, HoverDelay = 150;

Integer RedOf(COLORREF C) {
  return C & 0xFF;
}
Integer GreenOf(COLORREF C) {
  return (C >> 8) & 0xFF;
}
Integer BlueOf(COLORREF C) {
  return (C >> 16) & 0xFF;
}
TColor RgbColor(Integer R, Integer G, Integer B) {
  return static_cast<TColor>(R | (G << 8) | (B << 16));
}

bool Empty(const TRect& R) {
  return R.Right <= R.Left || R.Bottom <= R.Top;
}

void Fill(TCanvas* Canvas, const TRect& R, TColor C) {
  Canvas->GetBrush()->SetColor(C);
  Canvas->FillRect(R);
}

// Left and top in C1, right and bottom in C2; R shrinks by one on every side.
void DrawBevel(TCanvas* Canvas, TRect& R, TColor C1, TColor C2) {
  DrawFrameSides(Canvas, R, 1 | 2, C1);
  DrawFrameSides(Canvas, R, 4 | 8, C2);
}

// A filled triangle pointing in Direction around the centre of R.
void DrawMacArrow(TCanvas* Canvas, const TRect& R, TRBDirection Direction, TColor C) {
  const Integer CX = (R.Left + R.Right - 1) / 2, CY = (R.Top + R.Bottom - 1) / 2;
  Integer S = 3 * Min(R.Width(), R.Height()) / 2 / 4 - 1;
  if (S <= 0) S = 1;
  const Integer Shift = (Direction == drUp || Direction == drLeft) ? (S + 1) / 3 : S / 3;
  Canvas->GetPen()->SetColor(C);
  Canvas->GetBrush()->SetColor(C);
  switch (Direction) {
    case drLeft:
      Canvas->Polygon({{CX - Shift, CY}, {CX - Shift + S, CY - S}, {CX - Shift + S, CY + S}});
      break;
    case drRight:
      Canvas->Polygon({{CX + Shift, CY}, {CX + Shift - S, CY - S}, {CX + Shift - S, CY + S}});
      break;
    case drUp:
      Canvas->Polygon({{CX, CY - Shift}, {CX - S, CY - Shift + S}, {CX + S, CY - Shift + S}});
      break;
    case drDown:
      Canvas->Polygon({{CX, CY + Shift}, {CX - S, CY + Shift - S}, {CX + S, CY + Shift - S}});
      break;
  }
}

// The side of a button or of a track part that faces the thumb; its frame leaves it open.
Integer OpenSide(TRBDirection Direction) {
  static const Integer Sides[4] = {4, 8, 1, 2};  // left, up, right, down
  return Sides[Direction];
}
}  // namespace

// ---- Unit-level drawing routines ---------------------------------------------------------------

TColor LightenColor(TColor C, Integer Amount) {
  const COLORREF V = ColorToRGB(C);
  auto Channel = [Amount](Integer X) { return EnsureRange(X + Amount, 0, 255); };
  return RgbColor(Channel(RedOf(V)), Channel(GreenOf(V)), Channel(BlueOf(V)));
}

TColor BlendColors(TColor A, TColor B, Integer W) {
  if (W >= 256) throw EAssertionFailed("Assertion failure");
  const COLORREF CA = ColorToRGB(A), CB = ColorToRGB(B);
  auto Channel = [W](Integer X, Integer Y) { return (X * W + Y * (255 - W)) / 256; };
  return RgbColor(Channel(RedOf(CA), RedOf(CB)), Channel(GreenOf(CA), GreenOf(CB)),
                  Channel(BlueOf(CA), BlueOf(CB)));
}

void FillPattern(TCanvas* Canvas, TRect R, TColor C1, TColor C2) {
  if (Empty(R)) return;
  if (C1 == C2) {
    Fill(Canvas, R, C1);
    return;
  }
  TBitmap Pattern;
  Pattern.SetSize(8, 8);
  const COLORREF A = ColorToRGB(C1), B = ColorToRGB(C2);
  for (Integer Y = 0; Y < 8; ++Y)
    for (Integer X = 0; X < 8; ++X)
      Pattern.GetCanvas()->SetPixels(X, Y, static_cast<TColor>(((X + Y) & 1) == 0 ? A : B));
  Canvas->GetBrush()->SetBitmap(&Pattern);
  Canvas->FillRect(R);
  Canvas->GetBrush()->SetBitmap(nullptr);
}

void DrawFrameSides(TCanvas* Canvas, TRect& R, Integer Sides, TColor C) {
  if (Empty(R)) return;
  Canvas->GetBrush()->SetColor(C);
  if (Sides & 1) Canvas->FillRect(MakeRect(R.Left, R.Top, R.Left + 1, R.Bottom)), ++R.Left;
  if (Sides & 2) Canvas->FillRect(MakeRect(R.Left, R.Top, R.Right, R.Top + 1)), ++R.Top;
  if (Sides & 4) Canvas->FillRect(MakeRect(R.Right - 1, R.Top, R.Right, R.Bottom)), --R.Right;
  if (Sides & 8) Canvas->FillRect(MakeRect(R.Left, R.Bottom - 1, R.Right, R.Bottom)), --R.Bottom;
}

// ---- TArrowBar ----------------------------------------------------------------------------------

TArrowBar::TArrowBar(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle(GetControlStyle() - TControlStyle{csAcceptsControls, csDoubleClicks} +
                  TControlStyle{csOpaque});
  SetColor(clScrollBar);
  SetBounds(GetLeft(), GetTop(), 100, 16);
  FRepeatTimer = new TTimer(this);
  FRepeatTimer->SetEnabled(false);
  FRepeatTimer->SetOnTimer(TNotifyEvent(this, &TArrowBar::TimerHandler));
}

TArrowBar::~TArrowBar() = default;

void TArrowBar::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  // The window class must not erase: the bar paints every pixel itself.
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TArrowBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      Message.Result = -1;
      return;
    case WM_NCCALCSIZE:
      WMNCCalcSize(Message);
      return;
    case WM_NCPAINT:
      WMNCPaint(Message);
      return;
    case CM_MOUSELEAVE:
      EndHover();
      break;
    case CM_ENABLEDCHANGED:
      Invalidate();
      break;
  }
  TCustomControl::Dispatch(Message);
}

void TArrowBar::WMNCCalcSize(TMessage& Message) {
  RECT* R = Message.WParam != 0 ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam)->rgrc[0]
                                : reinterpret_cast<RECT*>(Message.LParam);
  const Integer B = FBorderStyle == bsSingle ? 1 : 0;
  *R = Rect(R->Left + B, R->Top + B, Max(R->Right - B, R->Left + B), Max(R->Bottom - B, R->Top + B));
  Message.Result = 0;
}

void TArrowBar::WMNCPaint(TMessage&) {
  if (FBorderStyle != bsSingle || !HandleAllocated()) return;
  HDC DC = GetWindowDC(GetHandle());
  RECT R = Rect(0, 0, GetWidth(), GetHeight());
  DrawEdge(DC, &R, BDR_SUNKENOUTER, BF_RECT);
  ReleaseDC(GetHandle(), DC);
}

void TArrowBar::SetBackgnd(TRBBackgnd Value) {
  Store(FBackgnd, Value);
}
void TArrowBar::SetButtonSize(Integer Value) {
  Store(FButtonSize, Value);
}
void TArrowBar::SetHandleColor(TColor Value) {
  Store(FHandleColor, Value);
}
void TArrowBar::SetButtonColor(TColor Value) {
  Store(FButtonColor, Value);
}
void TArrowBar::SetHighLightColor(TColor Value) {
  Store(FHighLightColor, Value);
}
void TArrowBar::SetShadowColor(TColor Value) {
  Store(FShadowColor, Value);
}
void TArrowBar::SetBorderColor(TColor Value) {
  Store(FBorderColor, Value);
}
void TArrowBar::SetShowArrows(bool Value) {
  Store(FShowArrows, Value);
}
void TArrowBar::SetShowHandleGrip(bool Value) {
  Store(FShowHandleGrip, Value);
}

void TArrowBar::SetStyle(TRBStyle Value) {
  FStyle = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TArrowBar::SetBorderStyle(TBorderStyle Value) {
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TArrowBar::SetBarKind(TScrollBarKind Value) {
  if (Value == FBarKind) return;
  FBarKind = Value;
  if (GetComponentState().Contains(csDesigning) && !GetComponentState().Contains(csLoading))
    SetBounds(GetLeft(), GetTop(), GetHeight(), GetWidth());
  Invalidate();
}

// ---- Geometry -----------------------------------------------------------------------------------

Integer TArrowBar::ButtonLength() {
  if (!FShowArrows) return 0;
  const Integer L = ClientLength();
  const Integer T = IsHorizontal() ? GetClientHeight() : GetClientWidth();
  Integer B = FButtonSize != 0 ? FButtonSize : Min(T, 32);
  if (2 * B >= L) B = L / 2;
  if (FStyle == rbsMac) --B;
  return B <= 1 ? 0 : B;
}

TRect TArrowBar::TrackRect() {
  TRect R = GetClientRect();
  const Integer B = ButtonLength();
  if (IsHorizontal()) {
    R.Left += B;
    R.Right -= B;
  } else {
    R.Top += B;
    R.Bottom -= B;
  }
  return R;
}

TRBZone TArrowBar::ZoneAt(Integer X, Integer Y) {
  const TRect C = GetClientRect();
  if (X < C.Left || Y < C.Top || X >= C.Right || Y >= C.Bottom) return zNone;
  const Integer P = AlongBar(X, Y), L = ClientLength(), B = ButtonLength();
  if (P < B) return zFirstButton;
  if (P >= L - B) return zSecondButton;
  const TRect T = ThumbRect();
  if (!Empty(T) && X >= T.Left && X < T.Right && Y >= T.Top && Y < T.Bottom) return zThumb;
  const Integer Start = IsHorizontal() ? T.Left : T.Top, End = IsHorizontal() ? T.Right : T.Bottom;
  if (P > 0 && P < Start) return zTrackBefore;
  if (P >= End && P < L - 1) return zTrackAfter;
  return zNone;
}

TRect TArrowBar::ZoneRect(TRBZone Zone) {
  const TRect C = GetClientRect();
  const Integer B = ButtonLength();
  const bool H = IsHorizontal();
  TRect Thumb = ThumbRect();
  if (!DrawsEnabled() || Empty(Thumb)) {
    const TRect T = TrackRect();
    const Integer Mid = H ? (T.Left + T.Right) / 2 : (T.Top + T.Bottom) / 2;
    Thumb = H ? MakeRect(Mid, T.Top, Mid, T.Bottom) : MakeRect(T.Left, Mid, T.Right, Mid);
  }
  const TRect T = TrackRect();
  switch (Zone) {
    case zFirstButton:
      return H ? MakeRect(C.Left, C.Top, C.Left + B, C.Bottom) : MakeRect(C.Left, C.Top, C.Right, C.Top + B);
    case zSecondButton:
      return H ? MakeRect(C.Right - B, C.Top, C.Right, C.Bottom)
               : MakeRect(C.Left, C.Bottom - B, C.Right, C.Bottom);
    case zThumb:
      return Thumb;
    case zTrackBefore:
      return H ? MakeRect(T.Left, T.Top, Thumb.Left, T.Bottom) : MakeRect(T.Left, T.Top, T.Right, Thumb.Top);
    case zTrackAfter:
      return H ? MakeRect(Thumb.Right, T.Top, T.Right, T.Bottom)
               : MakeRect(T.Left, Thumb.Bottom, T.Right, T.Bottom);
    default:
      return TRect();
  }
}

// ---- Painting -----------------------------------------------------------------------------------

void TArrowBar::Paint() {
  const bool Enabled = DrawsEnabled();
  const TRBDirection First = IsHorizontal() ? drLeft : drUp, Second = IsHorizontal() ? drRight : drDown;
  if (FShowArrows) {
    DrawArrowButton(ZoneRect(zFirstButton), First, FHoverZone == zFirstButton, Enabled,
                    FPressedZone == zFirstButton);
    DrawArrowButton(ZoneRect(zSecondButton), Second, FHoverZone == zSecondButton, Enabled,
                    FPressedZone == zSecondButton);
  }
  const TRect Thumb = Enabled ? ThumbRect() : TRect();
  DrawTrack(ZoneRect(zTrackBefore), First, FHoverZone == zTrackBefore, Enabled, FPressedZone == zTrackBefore);
  DrawTrack(ZoneRect(zTrackAfter), Second, FHoverZone == zTrackAfter, Enabled, FPressedZone == zTrackAfter);
  if (!Empty(Thumb)) DrawThumb(Thumb, IsHorizontal(), FHoverZone == zThumb, FPressedZone == zThumb);
}

void TArrowBar::DrawArrowButton(TRect R, TRBDirection Direction, bool, bool Enabled, bool Pressed) {
  if (Empty(R)) return;
  if (FStyle == rbsMac) {
    DrawMacButton(R, Direction, Enabled, Pressed);
    return;
  }
  static const UINT Kinds[4] = {DFCS_SCROLLLEFT, DFCS_SCROLLUP, DFCS_SCROLLRIGHT, DFCS_SCROLLDOWN};
  UINT State = Kinds[Direction];
  if (!Enabled) State |= DFCS_INACTIVE;
  if (Pressed) State |= DFCS_PUSHED | DFCS_FLAT;
  DrawFrameControl(GetCanvas()->GetHandle(), &R, DFC_SCROLL, State);
}

void TArrowBar::DrawTrack(TRect R, TRBDirection Direction, bool, bool Enabled, bool Pressed) {
  if (Empty(R)) return;
  if (FStyle == rbsMac) {
    DrawMacTrack(R, Direction, Enabled, Pressed);
    return;
  }
  if (Pressed)
    Fill(GetCanvas(), R, clWindowFrame);
  else
    FillPattern(GetCanvas(), R, clBtnHighlight, GetColor());
}

void TArrowBar::DrawThumb(TRect R, bool Horizontal, bool, bool Pressed) {
  if (Empty(R)) return;
  TCanvas* C = GetCanvas();
  if (FStyle == rbsDefault) {
    DrawEdge(C->GetHandle(), &R, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    return;
  }
  // The hand-drawn thumb: frame, bevel, fill and grip ridges across its middle.
  const TColor Light = LightenColor(FHandleColor, 24), Dark = LightenColor(FHandleColor, -24);
  DrawFrameSides(C, R, 15, FBorderColor);
  if (Pressed)
    DrawBevel(C, R, Dark, FHandleColor);
  else
    DrawBevel(C, R, Light, BlendColors(FBorderColor, FHandleColor, 96));
  Fill(C, R, FHandleColor);
  if (!FShowHandleGrip) return;
  const Integer Length = Horizontal ? R.Width() : R.Height();
  const Integer Count = Length > 10 ? 4 : 3;
  const Integer Shift = Pressed ? 1 : 0;
  const Integer Mid = (Horizontal ? (R.Left + R.Right) : (R.Top + R.Bottom)) / 2 - (Count * 3) / 2 + Shift;
  for (Integer I = 0; I < Count; ++I) {
    const Integer P = Mid + 3 * I;
    TRect Ridge = Horizontal ? MakeRect(P, R.Top + 2 + Shift, P + 2, R.Bottom - 2 + Shift)
                             : MakeRect(R.Left + 2 + Shift, P, R.Right - 2 + Shift, P + 2);
    DrawBevel(C, Ridge, Light, Dark);
  }
}

void TArrowBar::DrawMacButton(TRect R, TRBDirection Direction, bool Enabled, bool Pressed) {
  TCanvas* C = GetCanvas();
  DrawFrameSides(C, R, 15 & ~OpenSide(Direction), Enabled ? FBorderColor : FShadowColor);
  if (Enabled && !Pressed) {
    DrawBevel(C, R, FHighLightColor, FShadowColor);
    Fill(C, R, FButtonColor);
    DrawMacArrow(C, R, Direction, FBorderColor);
  } else if (Pressed) {
    Fill(C, R, FButtonColor);
    TRect Moved = R;
    RectOffset(Moved, 1, 1);
    DrawMacArrow(C, Moved, Direction, FBorderColor);
  } else {
    Fill(C, R, FButtonColor);
    TRect Moved = R;
    RectOffset(Moved, 1, 1);
    DrawMacArrow(C, Moved, Direction, FHighLightColor);
    DrawMacArrow(C, R, Direction, FShadowColor);
  }
}

void TArrowBar::DrawMacTrack(TRect R, TRBDirection Direction, bool Enabled, bool Pressed) {
  TCanvas* C = GetCanvas();
  DrawFrameSides(C, R, 15 & ~OpenSide(Direction), Enabled ? FBorderColor : FShadowColor);
  if (Pressed) {
    Fill(C, R, FBorderColor);
    return;
  }
  if (!Enabled) {
    Fill(C, R, FButtonColor);
    return;
  }
  static const Integer LitSides[4] = {1 | 2, 1 | 2, 2, 1};
  DrawFrameSides(C, R, LitSides[Direction],
                 BlendColors(FBorderColor, BlendColors(FHighLightColor, GetColor(), 127), 32));
  if (FBackgnd == bgSolid)
    Fill(C, R, GetColor());
  else
    FillPattern(C, R, FHighLightColor, GetColor());
}

// ---- Mouse and timer ----------------------------------------------------------------------------

void TArrowBar::FirePositionChange() {
  if (OnPositionChange) OnPositionChange(this);
  if (FUserChanging && OnUserChange) OnUserChange(this);
}

void TArrowBar::StartRepeat() {
  FRepeatTimer->SetInterval(FirstDelay);
  FRepeatPhase = 2;
  TimerTick();
  FRepeatPhase = 1;
  FRepeatTimer->SetEnabled(true);
}

void TArrowBar::StartHoverCheck() {
  FRepeatTimer->SetInterval(HoverDelay);
  FRepeatPhase = 3;
  FRepeatTimer->SetEnabled(true);
}

void TArrowBar::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbLeft) {
    FPressedZone = ZoneAt(X, Y);
    Invalidate();
    FPressPoint = {X, Y};
    StartRepeat();
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TArrowBar::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbLeft) {
    FPressedZone = zNone;
    Invalidate();
    StartHoverCheck();
  }
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TArrowBar::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  if (FPressedZone != zNone || !DrawsEnabled()) return;
  const TRBZone Zone = ZoneAt(X, Y);
  if (Zone == FHoverZone) return;
  FHoverZone = Zone;
  if (Zone != zNone) StartHoverCheck();
  Invalidate();
}

void TArrowBar::EndHover() {
  FRepeatTimer->SetEnabled(false);
  FRepeatPhase = 0;
  FHoverZone = zNone;
  Invalidate();
}

void TArrowBar::TimerHandler(TObject*) {
  TimerTick();
}

void TArrowBar::TimerTick() {
  if (FRepeatPhase == 1) {
    FRepeatTimer->SetInterval(RepeatDelay);
    FRepeatPhase = 2;
  } else if (FRepeatPhase == 3) {
    POINT P;
    GetCursorPos(&P);
    const TPoint Local = ScreenToClient(P);
    const TRect C = GetClientRect();
    if (Local.X < C.Left || Local.Y < C.Top || Local.X >= C.Right || Local.Y >= C.Bottom) {
      FRepeatTimer->SetEnabled(false);
      FRepeatPhase = 0;
      FHoverZone = zNone;
      Invalidate();
    }
  }
}

// ---- TCustomRangeBar ----------------------------------------------------------------------------

TCustomRangeBar::TCustomRangeBar(TComponent* AOwner) : TArrowBar(AOwner) {
  FIncrement = 8;
  UpdateVisibleLength();
}

void TCustomRangeBar::UpdateVisibleLength() {
  FVisibleLength = FPageLength > 0 ? FPageLength : (IsHorizontal() ? GetWidth() : GetHeight());
}

void TCustomRangeBar::ClampPosition() {
  // Upper bound first, so a content shorter than the visible part gives 0.
  if (FScrollPos > FContentLength - FVisibleLength)
    FScrollPos = static_cast<Single>(FContentLength - FVisibleLength);
  if (FScrollPos < 0) FScrollPos = 0;
}

void TCustomRangeBar::SetScrollPos(Single Value) {
  if (Value == FScrollPos) return;
  const Single Old = FScrollPos;
  FScrollPos = Value;
  ClampPosition();
  if (FScrollPos == Old) return;
  Invalidate();
  FirePositionChange();
}

void TCustomRangeBar::KeepCentre(Integer OldVisible, Integer OldContent, bool RequireOldContent) {
  if (!FKeepCentered || FVisibleLength >= FContentLength) return;
  Extended Centre = 0.5;
  if (OldVisible < OldContent && (!RequireOldContent || OldContent != 0))
    Centre = (OldVisible / 2.0L + FScrollPos) / OldContent;
  FScrollPos = static_cast<Single>(FContentLength * Centre - FVisibleLength / 2.0L);
}

void TCustomRangeBar::SetParams(Integer Content, Integer Page) {
  Content = Max(Content, 0);
  Page = Max(Page, 0);
  if (Content == FContentLength && Page == FVisibleLength) return;
  const Integer OldVisible = FVisibleLength, OldContent = FContentLength;
  FContentLength = Content;
  FPageLength = Page;
  UpdateVisibleLength();
  KeepCentre(OldVisible, OldContent, true);
  ClampPosition();
  Invalidate();
}

void TCustomRangeBar::Resize() {
  if (FKeepCentered) {
    const Integer OldVisible = FVisibleLength;
    UpdateVisibleLength();
    KeepCentre(OldVisible, FContentLength, false);
  }
  ClampPosition();
  TArrowBar::Resize();
}

bool TCustomRangeBar::DrawsEnabled() {
  return GetEnabled() && FVisibleLength < FContentLength;
}

TRect TCustomRangeBar::ThumbRect() {
  const TRect T = TrackRect();
  const bool H = IsHorizontal();
  const Integer TL = H ? T.Width() : T.Height();
  if (TL <= MinThumb) return TRect();
  if (FVisibleLength >= FContentLength) return T;
  Integer Size = static_cast<Integer>(Round(static_cast<Extended>(TL) * FVisibleLength / FContentLength));
  Integer Offset;
  if (Size < MinThumb) {
    Size = MinThumb;
    Offset = static_cast<Integer>(
        Round(static_cast<Extended>(TL - MinThumb) * FScrollPos / (FContentLength - FVisibleLength)));
  } else {
    Offset = static_cast<Integer>(Round(static_cast<Extended>(TL) * FScrollPos / FContentLength));
  }
  return H ? MakeRect(T.Left + Offset, T.Top, T.Left + Offset + Size, T.Bottom)
           : MakeRect(T.Left, T.Top + Offset, T.Right, T.Top + Offset + Size);
}

void TCustomRangeBar::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button != mbLeft) {
    TArrowBar::MouseDown(Button, Shift, X, Y);
    return;
  }
  if (FVisibleLength >= FContentLength) {
    FPressedZone = zNone;
    TCustomControl::MouseDown(Button, Shift, X, Y);
    return;
  }
  TArrowBar::MouseDown(Button, Shift, X, Y);
  if (FPressedZone == zThumb) {
    StartHoverCheck();
    FPressScrollPos = FScrollPos;
  }
}

void TCustomRangeBar::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TArrowBar::MouseMove(Shift, X, Y);
  if (FPressedZone != zThumb || FContentLength <= FVisibleLength) return;
  const Integer D = IsHorizontal() ? X - FPressPoint.X : Y - FPressPoint.Y;
  Integer L = ClientLength() - 2 * ButtonLength();
  if (GetBorderStyle() == bsSingle) L -= 2;
  if (L <= 0) return;
  Extended Delta;
  if (Round(static_cast<Extended>(L) * FVisibleLength / FContentLength) < MinThumb) {
    if (L <= MinThumb) return;
    Delta = Round(static_cast<Extended>(FContentLength - FVisibleLength) * D / (L - MinThumb));
  } else {
    Delta = static_cast<Extended>(FContentLength) * D / L;
  }
  FUserChanging = true;
  SetScrollPos(static_cast<Single>(FPressScrollPos + Delta));
  FUserChanging = false;
}

bool TCustomRangeBar::DoMouseWheel(TShiftState Shift, Integer WheelDelta, TPoint MousePos) {
  if (!TArrowBar::DoMouseWheel(Shift, WheelDelta, MousePos))
    SetScrollPos(static_cast<Single>(FScrollPos + static_cast<Extended>(WheelDelta) * FIncrement / 120));
  return true;
}

void TCustomRangeBar::UserStep(Single Delta) {
  FUserChanging = true;
  SetScrollPos(FScrollPos + Delta);
  FUserChanging = false;
}

void TCustomRangeBar::TimerTick() {
  TArrowBar::TimerTick();
  // The zone under the mouse, its position clamped into the client area.
  auto ZoneUnderMouse = [this] {
    POINT P;
    GetCursorPos(&P);
    TPoint Local = ScreenToClient(P);
    const TRect C = GetClientRect();
    Local.X = EnsureRange(Local.X, C.Left, Max(C.Right - 1, C.Left));
    Local.Y = EnsureRange(Local.Y, C.Top, Max(C.Bottom - 1, C.Top));
    return ZoneAt(Local.X, Local.Y);
  };
  const Single Old = FScrollPos;
  switch (FPressedZone) {
    case zFirstButton:
      UserStep(-static_cast<Single>(FIncrement));
      if (FScrollPos == Old) StartHoverCheck();
      break;
    case zSecondButton:
      UserStep(static_cast<Single>(FIncrement));
      if (FScrollPos == Old) StartHoverCheck();
      break;
    case zTrackBefore: {
      const TRBZone Z = ZoneUnderMouse();
      if (Z == zFirstButton || Z == zTrackBefore) UserStep(-static_cast<Single>(FVisibleLength));
      break;
    }
    case zTrackAfter: {
      const TRBZone Z = ZoneUnderMouse();
      if (Z == zTrackAfter || Z == zSecondButton) UserStep(static_cast<Single>(FVisibleLength));
      break;
    }
    default:
      break;
  }
}

// ---- TArrowBarAccess ----------------------------------------------------------------------------

void TArrowBarAccess::SetColor(TColor Value) {
  Both([Value](TArrowBar* B) { B->SetColor(Value); });
}
void TArrowBarAccess::SetBackgnd(TRBBackgnd Value) {
  Both([Value](TArrowBar* B) { B->SetBackgnd(Value); });
}
void TArrowBarAccess::SetButtonSize(Integer Value) {
  Both([Value](TArrowBar* B) { B->SetButtonSize(Value); });
}
void TArrowBarAccess::SetHandleColor(TColor Value) {
  Both([Value](TArrowBar* B) { B->SetHandleColor(Value); });
}
void TArrowBarAccess::SetButtonColor(TColor Value) {
  Both([Value](TArrowBar* B) { B->SetButtonColor(Value); });
}
void TArrowBarAccess::SetHighLightColor(TColor Value) {
  Both([Value](TArrowBar* B) { B->SetHighLightColor(Value); });
}
void TArrowBarAccess::SetShadowColor(TColor Value) {
  Both([Value](TArrowBar* B) { B->SetShadowColor(Value); });
}
void TArrowBarAccess::SetBorderColor(TColor Value) {
  Both([Value](TArrowBar* B) { B->SetBorderColor(Value); });
}
void TArrowBarAccess::SetShowArrows(bool Value) {
  Both([Value](TArrowBar* B) { B->SetShowArrows(Value); });
}
void TArrowBarAccess::SetShowHandleGrip(bool Value) {
  Both([Value](TArrowBar* B) { B->SetShowHandleGrip(Value); });
}
void TArrowBarAccess::SetStyle(TRBStyle Value) {
  Both([Value](TArrowBar* B) { B->SetStyle(Value); });
}
