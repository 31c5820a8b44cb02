// TbsSkinBevel: the bevel in the skin's colours.
#include "skin/controls/bsSkinCtrlsBevel.h"

#include "skin/controls/bsSkinPartMixin.h"

TbsSkinBevel::TbsSkinBevel(TComponent* AOwner) : TBevel(AOwner) {}

void TbsSkinBevel::SetSkinData(TbsSkinData* Value) {
  FSD = Value;
  // The bevel must not paint from a skin data that is gone.
  if (Value != nullptr) Value->FreeNotification(this);
  ApplySkinChange();
}

void TbsSkinBevel::Notification(TComponent* AComponent, TOperation Operation) {
  TBevel::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSD) FSD = nullptr;
}

void TbsSkinBevel::SetDividerMode(bool Value) {
  FDividerMode = Value;
  Repaint();
}

void TbsSkinBevel::ApplySkinChange() {
  PartIndex = FSD == nullptr || FSD->Empty ? -1 : FSD->FindControlPart(FSkinDataName);
  if (PartIndex == -1) {
    LightColor = clBtnHighlight;
    DarkColor = clBtnShadow;
  } else if (auto* Part = dynamic_cast<TbsDataSkinBevel*>(
                 FSD->SkinControls[static_cast<std::size_t>(PartIndex)].get())) {
    LightColor = Part->LightColor;
    DarkColor = Part->DarkColor;
  }
  Repaint();
}

void TbsSkinBevel::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  TBevel::SetBounds(ALeft, ToolBarCentredTop(this, ATop, AHeight), AWidth, AHeight);
}

void TbsSkinBevel::BevelRect(const TRect& R, TColor TopLeft, TColor BottomRight) {
  TCanvas* C = GetCanvas();
  C->GetPen()->SetColor(TopLeft);
  C->Polyline({{R.Left, R.Bottom}, {R.Left, R.Top}, {R.Right, R.Top}});
  C->GetPen()->SetColor(BottomRight);
  C->Polyline({{R.Right, R.Top}, {R.Right, R.Bottom}, {R.Left, R.Bottom}});
}

void TbsSkinBevel::BevelLine(TColor Color, Integer X1, Integer Y1, Integer X2, Integer Y2) {
  TCanvas* C = GetCanvas();
  C->GetPen()->SetColor(Color);
  C->MoveTo(X1, Y1);
  C->LineTo(X2, Y2);
}

void TbsSkinBevel::Paint() {
  TCanvas* C = GetCanvas();
  const Integer W = GetWidth(), H = GetHeight();
  if (GetComponentState().Contains(csDesigning)) {
    if (GetShape() == bsSpacer) {
      C->GetPen()->SetStyle(psDot);
      C->GetPen()->SetMode(pmXor);
      C->GetPen()->SetColor(0x00FFD8CE);
      C->GetBrush()->SetStyle(bsClear);
      C->Rectangle(0, 0, GetClientWidth(), GetClientHeight());
      return;
    }
    C->GetPen()->SetStyle(psSolid);
    C->GetPen()->SetMode(pmCopy);
    C->GetPen()->SetColor(clBlack);
    C->GetBrush()->SetStyle(bsSolid);
  }
  C->GetPen()->SetWidth(1);
  TColor Color1 = DarkColor, Color2 = LightColor;
  if (GetStyle() == bsRaised) std::swap(Color1, Color2);
  if (FDividerMode) {
    switch (GetShape()) {
      case bsTopLine:
      case bsBottomLine:
        BevelRect(Rect(2, H / 2 - 1, W - 2, H / 2), Color1, Color2);
        break;
      case bsSpacer:
        break;
      default:
        BevelRect(Rect(W / 2 - 1, 2, W / 2, H - 2), Color1, Color2);
        break;
    }
    return;
  }
  switch (GetShape()) {
    case bsBox:
      BevelRect(Rect(0, 0, W - 1, H - 1), Color1, Color2);
      break;
    case bsFrame:
      BevelRect(Rect(1, 1, W - 1, H - 1), Color2, Color2);
      BevelRect(Rect(0, 0, W - 2, H - 2), Color1, Color1);
      break;
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
    default:
      break;
  }
}
