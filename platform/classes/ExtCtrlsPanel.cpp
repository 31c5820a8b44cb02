// Frame3D, TCustomPanel and TBevel.
#include <utility>

#include "platform/classes/ExtCtrls.h"
#include "platform/gdi/Text.h"
#include "platform/user/WindowMessages.h"

void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, Integer Width) {
  Canvas->GetPen()->SetWidth(1);
  Rect.Right -= 1;
  Rect.Bottom -= 1;
  for (; Width > 0; --Width) {
    // Polylines leave out their last point: each colour draws its two sides whole.
    Canvas->GetPen()->SetColor(TopColor);
    Canvas->Polyline(
        {Point(Rect.Left, Rect.Bottom), Point(Rect.Left, Rect.Top), Point(Rect.Right, Rect.Top)});
    Canvas->GetPen()->SetColor(BottomColor);
    Canvas->Polyline(
        {Point(Rect.Right, Rect.Top), Point(Rect.Right, Rect.Bottom), Point(Rect.Left - 1, Rect.Bottom)});
    Rect = ::Rect(Rect.Left + 1, Rect.Top + 1, Rect.Right - 1, Rect.Bottom - 1);
  }
  Rect.Right += 1;
  Rect.Bottom += 1;
}

// ---- TBevel -----------------------------------------------------------------------------------

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle.Include(csReplicatable);
  SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape Value) {
  if (FShape == Value) return;
  FShape = Value;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Invalidate();
}

void TBevel::Paint() {
  TCanvas* C = GetCanvas();
  C->GetPen()->SetWidth(1);
  TColor Color1 = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
  TColor Color2 = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
  auto BevelRect = [&](TRect R) {
    C->GetPen()->SetColor(Color1);
    C->Polyline({Point(R.Left, R.Bottom), Point(R.Left, R.Top), Point(R.Right, R.Top)});
    C->GetPen()->SetColor(Color2);
    C->Polyline({Point(R.Right, R.Top), Point(R.Right, R.Bottom), Point(R.Left, R.Bottom)});
  };
  auto BevelLine = [&](TColor Color, Integer X1, Integer Y1, Integer X2, Integer Y2) {
    C->GetPen()->SetColor(Color);
    C->MoveTo(X1, Y1);
    C->LineTo(X2, Y2);
  };
  const Integer W = GetWidth(), H = GetHeight();
  switch (FShape) {
    case bsBox:
      BevelRect(Rect(0, 0, W - 1, H - 1));
      break;
    case bsFrame: {
      // Two boxes of opposite colours, one pixel apart: an etched frame.
      const TColor Temp = Color1;
      Color1 = Color2;
      BevelRect(Rect(1, 1, W - 1, H - 1));
      Color1 = Color2 = Temp;
      BevelRect(Rect(0, 0, W - 2, H - 2));
      break;
    }
    case bsTopLine:
      BevelLine(Color1, 0, 0, W, 0);
      BevelLine(Color2, 0, 1, W, 1);
      break;
    case bsBottomLine:
      BevelLine(Color1, 0, H - 2, W, H - 2);
      BevelLine(Color2, 0, H - 1, W, H - 1);
      break;
    case bsLeftLine:
      BevelLine(Color1, 0, 0, 0, H);
      BevelLine(Color2, 1, 0, 1, H);
      break;
    case bsRightLine:
      BevelLine(Color1, W - 2, 0, W - 2, H);
      BevelLine(Color2, W - 1, 0, W - 1, H);
      break;
    case bsSpacer:
      break;
  }
}

// ---- TCustomPanel -----------------------------------------------------------------------------

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                                csOpaque,          csDoubleClicks, csReplicatable};
  SetBounds(0, 0, 185, 41);
  SetColor(clBtnFace);
}

void TCustomPanel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
      CMTextChanged(Message);
      break;
    case CM_CTL3DCHANGED:
      CMCtl3DChanged(Message);
      break;
    case WM_SIZE:
      TCustomControl::Dispatch(Message);
      // The bevels and the centred caption move with the size.
      if (FFullRepaint || !GetText().empty()) Invalidate();
      break;
    default:
      TCustomControl::Dispatch(Message);
      break;
  }
}

void TCustomPanel::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  if (FBorderStyle == bsSingle) {
    if (GetCtl3D())
      Params.ExStyle |= WS_EX_CLIENTEDGE;
    else
      Params.Style |= WS_BORDER;
  }
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomPanel::AdjustClientRect(TRect& Rect) {
  TCustomControl::AdjustClientRect(Rect);
  Integer BevelSize = 0;
  if (FBevelOuter != bvNone) BevelSize += FBevelWidth;
  if (FBevelInner != bvNone) BevelSize += FBevelWidth;
  Rect = ::Rect(Rect.Left + BevelSize, Rect.Top + BevelSize, Rect.Right - BevelSize, Rect.Bottom - BevelSize);
}

void TCustomPanel::Paint() {
  TCanvas* C = GetCanvas();
  TRect R = GetClientRect();
  auto Bevel = [&](TPanelBevel Kind) {
    const TColor Top = Kind == bvLowered ? clBtnShadow : clBtnHighlight;
    const TColor Bottom = Kind == bvLowered ? clBtnHighlight : clBtnShadow;
    Frame3D(C, R, Top, Bottom, FBevelWidth);
  };
  if (FBevelOuter != bvNone) Bevel(FBevelOuter);
  Frame3D(C, R, GetColor(), GetColor(), GetBorderWidth());
  if (FBevelInner != bvNone) Bevel(FBevelInner);
  C->GetBrush()->SetColor(GetColor());
  C->GetBrush()->SetStyle(bsSolid);
  C->FillRect(R);
  C->GetBrush()->SetStyle(bsClear);
  C->SetFont(GetFont());
  const std::string Caption = GetText();
  const Integer FontHeight = C->TextHeight("W");
  R.Top = (R.Bottom + R.Top - FontHeight) / 2;
  R.Bottom = R.Top + FontHeight;
  const UINT Align = FAlignment == taLeftJustify    ? DT_LEFT
                     : FAlignment == taRightJustify ? DT_RIGHT
                                                    : DT_CENTER;
  DrawText(C->GetHandle(), Caption.c_str(), static_cast<Integer>(Caption.size()), &R,
           DT_EXPANDTABS | DT_VCENTER | Align);
}

void TCustomPanel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Invalidate();
}

void TCustomPanel::SetBevelInner(TPanelBevel Value) {
  if (FBevelInner == Value) return;
  FBevelInner = Value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelOuter(TPanelBevel Value) {
  if (FBevelOuter == Value) return;
  FBevelOuter = Value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelWidth(Integer Value) {
  if (Value < 1 || FBevelWidth == Value) return;
  FBevelWidth = Value;
  Realign();
  Invalidate();
}

void TCustomPanel::SetBorderStyle(TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TCustomPanel::CMTextChanged(TMessage&) {
  Invalidate();
}

void TCustomPanel::CMCtl3DChanged(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  if (FBorderStyle == bsSingle) RecreateWnd();
}
