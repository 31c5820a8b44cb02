// TbsSkinStatusPanel: a skinned label with an image or glyph before its text.
#include "platform/classes/Bitmap.h"
#include "platform/classes/ImgList.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/data/bsUtils.h"

TbsSkinStatusPanel::TbsSkinStatusPanel(TComponent* AOwner)
    : TbsSkinLabel(AOwner), FGlyph(std::make_unique<TBitmap>()) {
  SetWidth(120);
  SetSkinDataName("statuspanel");
}

TbsSkinStatusPanel::~TbsSkinStatusPanel() = default;

void TbsSkinStatusPanel::SetImageList(TCustomImageList* Value) {
  FImageList = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  Repaint();
}

void TbsSkinStatusPanel::SetImageIndex(Integer Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  Repaint();
}

void TbsSkinStatusPanel::SetGlyph(TBitmap* Value) {
  FGlyph->Assign(Value);
  Repaint();
  if (GetAutoSize()) AdjustWidth();
}

void TbsSkinStatusPanel::SetNumGlyphs(Integer Value) {
  FNumGlyphs = Value < 1 ? 1 : (Value > 2 ? 2 : Value);
  Repaint();
  if (GetAutoSize()) AdjustWidth();
}

void TbsSkinStatusPanel::Notification(TComponent* AComponent, TOperation Operation) {
  TbsSkinLabel::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImageList) FImageList = nullptr;
}

void TbsSkinStatusPanel::Dispatch(TMessage& Message) {
  TbsSkinLabel::Dispatch(Message);
  if (Message.Msg == CM_ENABLEDCHANGED) Repaint();
}

bool TbsSkinStatusPanel::HasGlyph() {
  return !FGlyph->Empty();
}

bool TbsSkinStatusPanel::HasListImage() {
  // A glyph wins over the list.
  return !HasGlyph() && FImageList != nullptr && FImageIndex >= 0 && FImageIndex < FImageList->GetCount();
}

Integer TbsSkinStatusPanel::GetTextExcess() {
  const Integer Excess = TbsSkinLabel::GetTextExcess();
  if (PartIndex != -1 && PartResizeMode() == 0) return 0;
  if (HasListImage()) return Excess + FImageList->GetWidth() + 3;
  if (HasGlyph()) return Excess + FGlyph->GetWidth() / FNumGlyphs + 3;
  return Excess;
}

void TbsSkinStatusPanel::DrawLead(TCanvas* C, TRect& R, Integer GlyphX, Integer GlyphY) {
  if (HasListImage()) {
    const Integer IH = FImageList->GetHeight();
    FImageList->Draw(C, R.Left, R.Top + GetRectHeight(R) / 2 - IH / 2, FImageIndex, GetEnabled());
    R.Left += FImageList->GetWidth() + 2;
  } else if (HasGlyph()) {
    const Integer CellWidth = FGlyph->GetWidth() / FNumGlyphs;
    R.Left += CellWidth + 2;
    const Integer Cell = !GetEnabled() && FNumGlyphs > 1 ? 2 : 1;
    DrawGlyphCell(C, GlyphX, GlyphY - FGlyph->GetHeight() / 2, FGlyph.get(), FNumGlyphs, Cell);
  }
}

void TbsSkinStatusPanel::DrawDefaultImage(TBitmap* B) {
  TCanvas* C = B->GetCanvas();
  DrawDefaultFace(C);
  TRect R = Rect(3, 3, GetWidth() - 3, GetHeight() - 3);
  DrawLead(C, R, 3, GetHeight() / 2);
  DrawLabelText(C, R);
}

void TbsSkinStatusPanel::DrawSkinImage(TBitmap* B) {
  CreateControlImage(B, SkinPicture, SkinRect);
  TCanvas* C = B->GetCanvas();
  TRect R = NewClientRect;
  DrawLead(C, R, R.Left, R.Top + GetRectHeight(R) / 2);
  DrawLabelText(C, R);
}
