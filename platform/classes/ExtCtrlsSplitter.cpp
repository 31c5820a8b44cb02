// TSplitter: resizes its neighbour by drag.
#include <algorithm>

#include "platform/classes/ExtCtrls.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Painting.h"
#include "platform/gdi/Rop3.h"
#include "platform/user/WindowPaint.h"

TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetAlign(alLeft);
  SetBounds(0, 0, 3, 100);
  SetCursor(crHSplit);
}

TSplitter::~TSplitter() {
  Destroying();
  StopSizing();
}

void TSplitter::SetBeveled(bool Value) {
  if (FBeveled == Value) return;
  FBeveled = Value;
  Invalidate();
}

void TSplitter::RequestAlign() {
  TGraphicControl::RequestAlign();
  // The cursor follows the direction unless someone chose another one.
  if (GetCursor() != crVSplit && GetCursor() != crHSplit) return;
  SetCursor(GetAlign() == alTop || GetAlign() == alBottom ? crVSplit : crHSplit);
}

void TSplitter::Paint() {
  TCanvas* C = GetCanvas();
  TRect R = GetClientRect();
  C->GetBrush()->SetColor(GetColor());
  C->FillRect(R);
  if (!FBeveled) return;
  // A raised edge along the bar.
  if (GetAlign() == alLeft || GetAlign() == alRight)
    R = Rect(R.Left + 1, R.Top, R.Right - 1, R.Bottom);
  else
    R = Rect(R.Left, R.Top + 1, R.Right, R.Bottom - 1);
  Frame3D(C, R, clBtnHighlight, clBtnShadow, 1);
}

TControl* TSplitter::FindControl() {
  TWinControl* Parent = GetParent();
  if (Parent == nullptr) return nullptr;
  TPoint P{GetLeft(), GetTop()};
  switch (GetAlign()) {
    case alLeft:
      --P.X;
      break;
    case alRight:
      P.X += GetWidth();
      break;
    case alTop:
      --P.Y;
      break;
    case alBottom:
      P.Y += GetHeight();
      break;
    default:
      return nullptr;
  }
  for (Integer I = 0; I < Parent->GetControlCount(); ++I) {
    TControl* C = Parent->GetControl(I);
    if (C == this || !C->GetVisible() || !C->GetEnabled()) continue;
    TRect R = C->GetBoundsRect();
    // A closed neighbour (size 0) is still found at its edge.
    if (R.Width() == 0) {
      if (GetAlign() == alTop || GetAlign() == alLeft)
        --R.Left;
      else
        ++R.Right;
    }
    if (R.Height() == 0) {
      if (GetAlign() == alTop || GetAlign() == alLeft)
        --R.Top;
      else
        ++R.Bottom;
    }
    if (PtInRect(R, P)) return C;
  }
  return nullptr;
}

void TSplitter::CalcSplitSize(Integer X, Integer Y, Integer& NewSize, Integer& Split) {
  const bool Horizontal = GetAlign() == alLeft || GetAlign() == alRight;
  Split = Horizontal ? X - FDownPos.X : Y - FDownPos.Y;
  Integer S = 0;
  switch (GetAlign()) {
    case alLeft:
      S = FControl->GetWidth() + Split;
      break;
    case alRight:
      S = FControl->GetWidth() - Split;
      break;
    case alTop:
      S = FControl->GetHeight() + Split;
      break;
    case alBottom:
      S = FControl->GetHeight() - Split;
      break;
    default:
      break;
  }
  NewSize = std::clamp(S, std::min(FMinSize, FMaxSize), FMaxSize);
  if (S != NewSize) Split += GetAlign() == alRight || GetAlign() == alBottom ? S - NewSize : NewSize - S;
}

bool TSplitter::CanResize(Integer& NewSize) {
  if (FAutoSnap && NewSize <= FMinSize) NewSize = 0;
  return true;
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  FControl = FindControl();
  FDownPos = {X, Y};
  if (FControl == nullptr) return;
  TWinControl* Parent = GetParent();
  const bool Horizontal = GetAlign() == alLeft || GetAlign() == alRight;
  // What the parent's client area leaves once the other controls aligned the same way keep
  // their sizes.
  FMaxSize = (Horizontal ? Parent->GetClientWidth() : Parent->GetClientHeight()) - FMinSize;
  for (Integer I = 0; I < Parent->GetControlCount(); ++I) {
    TControl* C = Parent->GetControl(I);
    if (!C->GetVisible()) continue;
    if (Horizontal && (C->GetAlign() == alLeft || C->GetAlign() == alRight)) FMaxSize -= C->GetWidth();
    if (!Horizontal && (C->GetAlign() == alTop || C->GetAlign() == alBottom)) FMaxSize -= C->GetHeight();
  }
  FMaxSize += Horizontal ? FControl->GetWidth() : FControl->GetHeight();
  FOldSize = Horizontal ? FControl->GetWidth() : FControl->GetHeight();
  FNewSize = FOldSize;
  FSplit = 0;
  if (FResizeStyle == rsLine || FResizeStyle == rsPattern) DrawLine();
}

void TSplitter::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!Shift.Contains(ssLeft) || FControl == nullptr) return;
  Integer NewSize = 0, Split = 0;
  CalcSplitSize(X, Y, NewSize, Split);
  if (!CanResize(NewSize)) return;
  const bool Line = FResizeStyle == rsLine || FResizeStyle == rsPattern;
  if (Line) DrawLine();
  FNewSize = NewSize;
  FSplit = Split;
  if (FResizeStyle == rsUpdate) UpdateControlSize();
  if (Line) DrawLine();
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (FControl == nullptr) return;
  if (FLineVisible) DrawLine();
  UpdateControlSize();
  StopSizing();
}

void TSplitter::UpdateControlSize() {
  if (FControl == nullptr || FNewSize == FOldSize) return;
  TWinControl* Parent = GetParent();
  switch (GetAlign()) {
    case alLeft:
      FControl->SetWidth(FNewSize);
      break;
    case alTop:
      FControl->SetHeight(FNewSize);
      break;
    case alRight:
      // The neighbour's left edge moves; its right one stays.
      Parent->DisableAlign();
      FControl->SetBounds(FControl->GetLeft() + FControl->GetWidth() - FNewSize, FControl->GetTop(), FNewSize,
                          FControl->GetHeight());
      Parent->EnableAlign();
      break;
    case alBottom:
      Parent->DisableAlign();
      FControl->SetBounds(FControl->GetLeft(), FControl->GetTop() + FControl->GetHeight() - FNewSize,
                          FControl->GetWidth(), FNewSize);
      Parent->EnableAlign();
      break;
    default:
      break;
  }
  Update();
  FOldSize = FNewSize;
  if (OnMoved) OnMoved(this);
}

void TSplitter::DrawLine() {
  TWinControl* Parent = GetParent();
  if (Parent == nullptr || !Parent->HandleAllocated()) return;
  FLineVisible = !FLineVisible;
  // Inverted in place: drawing the same bar again takes it away.
  TPoint P{GetLeft(), GetTop()};
  if (GetAlign() == alLeft || GetAlign() == alRight)
    P.X += FSplit;
  else
    P.Y += FSplit;
  HDC DC = GetDC(Parent->GetWindowHandle());
  HBRUSH Brush = nullptr;
  if (FResizeStyle == rsPattern) {
    // A checkered grey.
    static const WORD Bits[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    HBITMAP Pattern = CreateBitmap(8, 8, 1, 1, Bits);
    Brush = CreatePatternBrush(Pattern);
    DeleteObject(Pattern);
  } else {
    Brush = CreateSolidBrush(0x00FFFFFF);
  }
  HGDIOBJ Old = SelectObject(DC, Brush);
  PatBlt(DC, P.X, P.Y, GetWidth(), GetHeight(), PATINVERT);
  SelectObject(DC, Old);
  DeleteObject(Brush);
  ReleaseDC(Parent->GetWindowHandle(), DC);
}

void TSplitter::StopSizing() {
  if (FLineVisible) DrawLine();
  FControl = nullptr;
  FLineVisible = false;
}
