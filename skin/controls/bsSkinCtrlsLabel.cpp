// TbsSkinStdLabel: the platform label in the skin's font and colour.
#include "platform/gdi/Text.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinCtrlsPictures.h"

TbsSkinStdLabel::TbsSkinStdLabel(TComponent* AOwner)
    : TCustomLabel(AOwner), FDefaultFont(std::make_unique<TFont>()) {
  SetTransparent(true);
}

TbsSkinStdLabel::~TbsSkinStdLabel() = default;

void TbsSkinStdLabel::LoadSkinPart() {
  PartIndex = FSD == nullptr || FSD->Empty ? -1 : FSD->FindControlPart(FSkinDataName);
  if (PartIndex == -1) return;
  auto* Part =
      dynamic_cast<TbsDataSkinStdLabelControl*>(FSD->SkinControls[static_cast<std::size_t>(PartIndex)].get());
  if (Part == nullptr) return;
  FontName = Part->FontName;
  FontColor = Part->FontColor;
  FontStyle = Part->FontStyle;
  FontHeight = Part->FontHeight;
}

void TbsSkinStdLabel::SetSkinData(TbsSkinData* Value) {
  FSD = Value;
  if (Value == nullptr) return;
  Value->FreeNotification(this);
  ApplySkinChange();
}

void TbsSkinStdLabel::ApplySkinChange() {
  LoadSkinPart();
  if (GetAutoSize()) AdjustBounds();
  Invalidate();
}

void TbsSkinStdLabel::SetEllipsType(TbsEllipsType Value) {
  if (FEllipsType == Value) return;
  FEllipsType = Value;
  Invalidate();
}

void TbsSkinStdLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomLabel::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSD) FSD = nullptr;
}

void TbsSkinStdLabel::DoDrawText(TRect& Rect, UINT Flags) {
  LoadSkinPart();
  std::string Text = GetLabelText();
  if ((Flags & DT_CALCRECT) != 0 && (Text.empty() || (GetShowAccelChar() && Text == "&"))) Text += ' ';
  if (!GetShowAccelChar()) Flags |= DT_NOPREFIX;
  if (FEllipsType == bsetEndEllips)
    Flags |= DT_END_ELLIPSIS;
  else if (FEllipsType == bsetPathEllips)
    Flags |= DT_PATH_ELLIPSIS;
  TCanvas* C = GetCanvas();
  if (PartIndex == -1) {
    C->SetFont(FUseSkinFont ? FDefaultFont.get() : GetFont());
  } else {
    C->SetFont(GetFont());
    if (FUseSkinFont) AssignPartFont(C->GetFont(), FontName, FontHeight, FontStyle);
    C->GetFont()->SetColor(FUseSkinColor ? FontColor : GetFont()->GetColor());
  }
  AssignSkinCharset(C->GetFont(), FSD, FDefaultFont.get());
  C->RequiredState({csHandleValid, csFontValid, csBrushValid});
  const auto Length = static_cast<Integer>(Text.size());
  if (!GetEnabled()) {
    TColor Highlight = clBtnHighlight, Shadow = clBtnShadow;
    if (PartIndex != -1) Highlight = FSD->SkinColors->CBtnHighlight, Shadow = FSD->SkinColors->CBtnShadow;
    TRect R = ::Rect(Rect.Left + 1, Rect.Top + 1, Rect.Right + 1, Rect.Bottom + 1);
    C->GetFont()->SetColor(Highlight);
    C->RequiredState({csFontValid});
    DrawText(C->GetHandle(), Text.c_str(), Length, &R, Flags);
    C->GetFont()->SetColor(Shadow);
    C->RequiredState({csFontValid});
  }
  DrawText(C->GetHandle(), Text.c_str(), Length, &Rect, Flags);
}
