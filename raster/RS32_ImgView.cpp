// The image view with scroll bars: bar layout, scroll ranges, bitmap placement, centring and the
// size grip.
#include "raster/RS32_ImgView.h"

#include "platform/classes/Application.h"
#include "platform/classes/Canvas.h"
#include "platform/classes/Forms.h"
#include "platform/classes/Screen.h"
#include "platform/gdi/FrameControls.h"
#include "platform/system/Math.h"
#include "platform/user/Input.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/WinUser.h"
#include "platform/user/WindowMessages.h"

// ---- TIVScrollProperties ------------------------------------------------------------------------

Integer TIVScrollProperties::GetIncrement() const {
  return FView->FHorzBar->GetIncrement();
}

void TIVScrollProperties::SetIncrement(Integer Value) {
  // Held in 16 bits by the bars.
  FView->FHorzBar->SetIncrement(static_cast<Word>(Value));
  FView->FVertBar->SetIncrement(static_cast<Word>(Value));
}

Integer TIVScrollProperties::GetSize() const {
  return FView->FBarSize;
}

void TIVScrollProperties::SetSize(Integer Value) {
  FView->FBarSize = Value;
  FView->LayoutBars();
  FView->PlaceImage();
}

TScrollBarVisibility TIVScrollProperties::GetVisibility() const {
  return FView->FBarVisibility;
}

void TIVScrollProperties::SetVisibility(TScrollBarVisibility Value) {
  if (Value == FView->FBarVisibility) return;
  FView->FBarVisibility = Value;
  FView->Resize();
}

// ---- TCustomImgView32 ---------------------------------------------------------------------------

TCustomImgView32::TCustomImgView32(TComponent* AOwner) : TCustomImage32(AOwner) {
  FHorzBar = new TCustomRangeBar(this);
  FVertBar = new TCustomRangeBar(this);
  for (TCustomRangeBar* Bar : {FHorzBar, FVertBar}) {
    Bar->SetBorderStyle(bsNone);
    Bar->SetKeepCentered(true);
    Bar->OnUserChange = TNotifyEvent(this, &TCustomImgView32::BarChanged);
    Bar->SetParent(this);
  }
  FVertBar->SetBarKind(sbVertical);
  FCentered = true;
  SetScaleMode(smScale);
  SetBitmapAlign(baCustom);
  FScrollBars = std::make_unique<TIVScrollProperties>(this);
  FScrollBars->SetMaster(FHorzBar);
  FScrollBars->SetSlave(FVertBar);
  LayoutBars();
}

TCustomImgView32::~TCustomImgView32() {
  FScrollBars.reset();
}

// ---- Bars ---------------------------------------------------------------------------------------

bool TCustomImgView32::BarsShown() {
  if (!FScrollBars || FHorzBar == nullptr || FVertBar == nullptr) return true;
  switch (FBarVisibility) {
    case svAlways:
      return true;
    case svHidden:
      return false;
    default:
      return FHorzBar->GetContentLength() > FHorzBar->GetVisibleLength() ||
             FVertBar->GetContentLength() > FVertBar->GetVisibleLength();
  }
}

Integer TCustomImgView32::EffectiveBarSize() {
  if (!BarsShown()) return 0;
  return FBarSize != 0 ? FBarSize : GetSystemMetrics(SM_CYHSCROLL);
}

TRect TCustomImgView32::ViewportRect() {
  const Integer T = EffectiveBarSize();
  return MakeRect(0, 0, GetWidth() - T, GetHeight() - T);
}

void TCustomImgView32::LayoutBars() {
  if (FHorzBar == nullptr || FVertBar == nullptr) return;
  const TRect V = ViewportRect();
  FHorzBar->SetBounds(V.Left, V.Bottom, V.Width(), GetHeight() - V.Bottom);
  FVertBar->SetBounds(V.Right, V.Top, GetWidth() - V.Right, V.Height());
  const bool Shown = BarsShown();
  FHorzBar->SetVisible(Shown);
  FVertBar->SetVisible(Shown);
  FHorzBar->Invalidate();
  FVertBar->Invalidate();
}

void TCustomImgView32::UpdateBarRanges() {
  if (FHorzBar == nullptr || FVertBar == nullptr) return;
  const TSize Size = CalcBitmapSize();
  const Integer Margin = static_cast<Integer>(Round(2.0L * FOverSize * GetScale()));
  FHorzBar->SetContentLength(Size.cx + Margin);
  FVertBar->SetContentLength(Size.cy + Margin);
  if (FBarVisibility == svAuto) LayoutBars();
}

// ---- Placement ----------------------------------------------------------------------------------

void TCustomImgView32::PlaceImage() {
  BeginUpdate();
  const TRect V = ViewportRect();
  const TSize Size = CalcBitmapSize();
  const Integer Os = static_cast<Integer>(Round(static_cast<Extended>(FOverSize) * GetScale()));
  const Integer VW = V.Width(), VH = V.Height();
  if (FCentered && VW > Size.cx + 2 * Os)
    SetOffsetX(static_cast<Single>((VW - Size.cx) / 2.0L));
  else
    SetOffsetX(Os - FHorzBar->GetScrollPos());
  if (FCentered && VH > Size.cy + 2 * Os)
    SetOffsetY(static_cast<Single>((VH - Size.cy) / 2.0L));
  else
    SetOffsetY(Os - FVertBar->GetScrollPos());
  DropPlacement();
  EndUpdate();
  Changed();
}

void TCustomImgView32::Scroll(Integer Dx, Integer Dy) {
  FSuppressBarEvents = true;
  FHorzBar->SetScrollPos(FHorzBar->GetScrollPos() + Dx);
  FVertBar->SetScrollPos(FVertBar->GetScrollPos() + Dy);
  FSuppressBarEvents = false;
  PlaceImage();
}

void TCustomImgView32::CenterOn(Integer X, Integer Y) {
  const Extended S = GetScale();
  const Extended Os = Round(static_cast<Extended>(FOverSize) * S);
  FSuppressBarEvents = true;
  LayoutBars();
  const TRect V = ViewportRect();
  FHorzBar->SetScrollPos(static_cast<Single>(X * S - V.Width() / 2.0L + Os));
  FVertBar->SetScrollPos(static_cast<Single>(Y * S - V.Height() / 2.0L + Os));
  FSuppressBarEvents = false;
  PlaceImage();
}

void TCustomImgView32::RecenterAll() {
  DropPlacement();
  FHorzBar->SetKeepCentered(FCentered);
  FVertBar->SetKeepCentered(FCentered);
  UpdateBarRanges();
  PlaceImage();
  if (FCentered)
    CenterOn(GetBitmap()->GetWidth() / 2, GetBitmap()->GetHeight() / 2);
  else
    CenterOn(0, 0);
}

void TCustomImgView32::SetCentered(bool Value) {
  FCentered = Value;
  RecenterAll();
}

void TCustomImgView32::SetOverSize(Integer Value) {
  if (Value == FOverSize) return;
  FOverSize = Value;
  Invalidate();
}

void TCustomImgView32::SetSizeGrip(TSizeGripStyle Value) {
  if (Value == FSizeGrip) return;
  FSizeGrip = Value;
  Invalidate();
}

void TCustomImgView32::SetScrollBars(TIVScrollProperties* Value) {
  FScrollBars->Assign(Value);
}

void TCustomImgView32::SetScaleMode(TScaleMode Value) {
  TCustomImage32::SetScaleMode(Value);
  // The constructor sets the mode before the bars' properties exist.
  if (FScrollBars) RecenterAll();
}

// ---- Reactions ----------------------------------------------------------------------------------

void TCustomImgView32::FireScroll() {
  if (OnScroll) OnScroll(this);
}

void TCustomImgView32::BarChanged(TObject* Sender) {
  if (FSuppressBarEvents) return;
  if (auto* Bar = dynamic_cast<TControl*>(Sender)) Bar->Repaint();
  PlaceImage();
  FireScroll();
  Repaint();
}

void TCustomImgView32::BitmapSizeChanged() {
  TCustomImage32::BitmapSizeChanged();
  UpdateBarRanges();
  if (FCentered) {
    CenterOn(GetBitmap()->GetWidth() / 2, GetBitmap()->GetHeight() / 2);
  } else {
    FHorzBar->SetScrollPos(0);
    FVertBar->SetScrollPos(0);
    PlaceImage();
  }
}

void TCustomImgView32::AfterScaleChange() {
  TCustomImage32::AfterScaleChange();
  DropPlacement();
  UpdateBarRanges();
  PlaceImage();
  Invalidate();
}

void TCustomImgView32::Resize() {
  LayoutBars();
  if (HandleAllocated()) PaintGrip();
  DropPlacement();
  UpdateBarRanges();
  PlaceImage();
  Invalidate();
  TCustomImage32::Resize();
}

void TCustomImgView32::Loaded() {
  LayoutBars();
  Invalidate();
  UpdateBarRanges();
  if (FCentered) CenterOn(GetBitmap()->GetWidth() / 2, GetBitmap()->GetHeight() / 2);
  TCustomImage32::Loaded();
}

// ---- Painting and the size grip -----------------------------------------------------------------

void TCustomImgView32::PaintGrip() {
  TRect R = GripRect();
  if (R.Right <= R.Left || R.Bottom <= R.Top) return;
  TCanvas* C = GetCanvas();
  if (GripShown()) {
    DrawFrameControl(C->GetHandle(), &R, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  } else {
    C->GetBrush()->SetColor(clBtnFace);
    C->FillRect(R);
  }
}

void TCustomImgView32::Paint() {
  PaintGrip();
  TCustomImage32::Paint();
}

TRect TCustomImgView32::GripRect() {
  const Integer T = EffectiveBarSize();
  TRect R = GetClientRect();
  R.Left = R.Right - T;
  R.Top = R.Bottom - T;
  return R;
}

bool TCustomImgView32::GripShown() {
  switch (FSizeGrip) {
    case sgNone:
      return false;
    case sgAlways:
      return true;
    default:
      break;
  }
  if (GetAlign() != alClient) return false;
  for (TWinControl* P = GetParent(); P != nullptr; P = P->GetParent()) {
    if (dynamic_cast<TCustomForm*>(P) != nullptr) return true;
    if (P->GetAlign() != alClient) return false;
  }
  return false;
}

void TCustomImgView32::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  auto* OwnerForm = dynamic_cast<TCustomForm*>(GetOwner());
  const TRect G = GripRect();
  if (GripShown() && OwnerForm != nullptr && X >= G.Left && X < G.Right && Y >= G.Top && Y < G.Bottom) {
    Application->ProcessMessages();
    ReleaseCapture();
    const TPoint P = ClientToScreen({X, Y});
    SendMessage(OwnerForm->GetHandle(), WM_NCLBUTTONDOWN, HTBOTTOMRIGHT,
                static_cast<LPARAM>((P.X & 0xFFFF) | ((P.Y & 0xFFFF) << 16)));
    return;
  }
  TCustomImage32::MouseDown(Button, Shift, X, Y);
}

void TCustomImgView32::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TCustomImage32::MouseMove(Shift, X, Y);
  const TRect G = GripRect();
  if (GripShown() && X >= G.Left && X < G.Right && Y >= G.Top && Y < G.Bottom && Screen != nullptr)
    Screen->SetCursor(crSizeNWSE);
}
