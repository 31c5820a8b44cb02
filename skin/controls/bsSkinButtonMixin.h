#pragma once
// What the skinned push and tool buttons share, written once over the windowed or windowless
// custom control base: being down alone, in a group or checked, auto-repeat while held, how a
// left press and release change that, and the glyph (the glyph bitmap and its cells, or an
// image of an image list) with how glyph and caption are laid out.
//
// Ownership: the glyph bitmap and the repeat timer are owned; the image list is referred to
// and forgotten through Notification when it goes.
#include <memory>

#include "platform/classes/ControlTypes.h"
#include "platform/classes/Controls.h"
#include "skin/controls/bsSkinAutoRepeat.h"

class TBitmap;
class TCustomImageList;

using TbsButtonPaintEvent =
    TDelegate<void(TObject* Sender, TCanvas* Cnvs, TRect R, bool ADown, bool AMouseIn, bool& DrawDefault)>;

template <class TBase>
class TbsButtonMixin : public TBase {
 public:
  explicit TbsButtonMixin(TComponent* AOwner);
  ~TbsButtonMixin() override;

  bool GetDown() const { return FDown; }
  // Each button adds its own look to being down.
  virtual void SetDown(bool Value) = 0;
  Integer GetGroupIndex() const { return FGroupIndex; }
  bool GetAllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value) { FAllowAllUp = Value; }
  bool GetCheckedMode() const { return FCheckedMode; }
  bool GetRepeatMode() const { return FRepeatMode; }
  void SetRepeatMode(bool Value) { FRepeatMode = Value; }
  Integer GetRepeatInterval() const { return FRepeatInterval; }
  void SetRepeatInterval(Integer Value) { FRepeatInterval = Value; }

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

  // May draw a state's content itself and clear DrawDefault.
  TbsButtonPaintEvent OnPaint;

  bool MouseIn = false;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // A down button of a group (index above 0, not all-up) releases the others of its parent.
  void ReleaseOthersOfGroup();
  // The left button's press and release: down, click, check or repeat as the mode asks.
  void PressLeft();
  void ReleaseLeft();
  void StartRepeat();
  void StopRepeat();
  // The part's image of R with the default font; true when OnPaint leaves the content to the
  // button.
  bool DrawPartFace(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn);

  bool FDown = false;
  Integer FGroupIndex = 0;
  bool FAllowAllUp = false;
  bool FCheckedMode = false;
  bool FRepeatMode = false;
  Integer FRepeatInterval = 100;
  // The press that set a checked button down; its release leaves it down.
  bool CheckPressed = false;
  // A grouped button already down at the press comes up at the release (with all-up).
  bool ReleaseOnUp = false;
  TbsAutoRepeat RepeatTimer;

  std::unique_ptr<TBitmap> FGlyph;
  Integer FNumGlyphs = 1;
  TCustomImageList* FImageList = nullptr;
  Integer FImageIndex = -1;
  TButtonLayout FLayout = blGlyphLeft;
  Integer FMargin = -1;
  Integer FSpacing = 1;

 private:
  void RepeatTimerTick(TObject* Sender);
};
