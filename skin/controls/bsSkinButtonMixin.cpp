// The glyph properties shared by the skinned push and tool buttons.
#include "skin/controls/bsSkinGlyphMixin.h"

#include "platform/classes/Bitmap.h"
#include "platform/classes/ImgList.h"
#include "skin/controls/bsSkinCtrls.h"

template <class TBase>
TbsGlyphMixin<TBase>::TbsGlyphMixin(TComponent* AOwner) : TBase(AOwner), FGlyph(std::make_unique<TBitmap>()) {}

template <class TBase>
TbsGlyphMixin<TBase>::~TbsGlyphMixin() = default;

template <class TBase>
void TbsGlyphMixin<TBase>::SetGlyph(TBitmap* Value) {
  FGlyph->Assign(Value);
  this->Repaint();
}

template <class TBase>
void TbsGlyphMixin<TBase>::SetNumGlyphs(Integer Value) {
  FNumGlyphs = Value;
  this->Repaint();
}

template <class TBase>
void TbsGlyphMixin<TBase>::SetImageList(TCustomImageList* Value) {
  FImageList = Value;
  if (Value != nullptr) Value->FreeNotification(this);
  this->Repaint();
}

template <class TBase>
void TbsGlyphMixin<TBase>::SetImageIndex(Integer Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  this->Repaint();
}

template <class TBase>
void TbsGlyphMixin<TBase>::SetLayout(TButtonLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  this->Repaint();
}

template <class TBase>
void TbsGlyphMixin<TBase>::SetMargin(Integer Value) {
  if (Value < -1 || FMargin == Value) return;
  FMargin = Value;
  this->Repaint();
}

template <class TBase>
void TbsGlyphMixin<TBase>::SetSpacing(Integer Value) {
  if (FSpacing == Value) return;
  FSpacing = Value;
  this->Repaint();
}

template <class TBase>
void TbsGlyphMixin<TBase>::Notification(TComponent* AComponent, TOperation Operation) {
  TBase::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImageList) FImageList = nullptr;
}

template class TbsGlyphMixin<TbsSkinCustomControl>;
template class TbsGlyphMixin<TbsGraphicSkinCustomControl>;
