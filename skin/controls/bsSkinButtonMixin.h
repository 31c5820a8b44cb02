#pragma once
// The glyph of the skinned push and tool buttons, written once over the windowed or windowless
// custom control base: the glyph bitmap and its cells, or an image of an image list, and how
// glyph and caption are laid out.
//
// Ownership: the glyph bitmap is owned; the image list is referred to and forgotten through
// Notification when it goes.
#include <memory>

#include "platform/classes/ControlTypes.h"
#include "platform/classes/Controls.h"

class TBitmap;
class TCustomImageList;

template <class TBase>
class TbsGlyphMixin : public TBase {
 public:
  explicit TbsGlyphMixin(TComponent* AOwner);
  ~TbsGlyphMixin() override;

  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  Integer GetNumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(Integer Value);
  TCustomImageList* GetImageList() const { return FImageList; }
  void SetImageList(TCustomImageList* Value);
  Integer GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  TButtonLayout GetLayout() const { return FLayout; }
  void SetLayout(TButtonLayout Value);
  Integer GetMargin() const { return FMargin; }
  // Values below -1 are refused.
  void SetMargin(Integer Value);
  Integer GetSpacing() const { return FSpacing; }
  void SetSpacing(Integer Value);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

  std::unique_ptr<TBitmap> FGlyph;
  Integer FNumGlyphs = 1;
  TCustomImageList* FImageList = nullptr;
  Integer FImageIndex = -1;
  TButtonLayout FLayout = blGlyphLeft;
  Integer FMargin = -1;
  Integer FSpacing = 1;
};
