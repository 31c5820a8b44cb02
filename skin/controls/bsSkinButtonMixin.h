#pragma once
// What the skinned push and tool buttons share, written once over the windowed or windowless
// custom control base: being down alone, in a group or checked, auto-repeat while held, how a
// left press and release change that, and the glyph (the glyph bitmap and its cells, or an
// image of an image list) with how glyph and caption are laid out.
//
// Ownership: the glyph bitmap and the repeat timer are owned; the image list is referred to
// and forgotten through Notification when it goes.
#include <memory>
#include <string>

#include "platform/classes/ControlTypes.h"
#include "platform/classes/Controls.h"
#include "skin/controls/bsSkinAutoRepeat.h"

class TBitmap;
class TCustomImageList;
class TTimer;
class TbsDataSkinButtonControl;

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

  bool GetUseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
  bool GetUseSkinFontColor() const { return FUseSkinFontColor; }
  void SetUseSkinFontColor(bool Value) { FUseSkinFontColor = Value; }

  // Binds the part and copies its button settings; an animation frame stands in for the
  // active (forward) or normal (backward) picture while frames play.
  void LoadSkinPart() override;
  // With UseSkinSize off a part that is not 9-slice takes any size.
  void FitPartToSize(Integer& AWidth, Integer& AHeight) override;

  // May draw a state's content itself and clear DrawDefault.
  TbsButtonPaintEvent OnPaint;

  bool MouseIn = false;
  // 0 shows the normal picture, 1 the active one; between them the two are cross-faded.
  double MorphFraction = 0;
  Integer AnimationFrameIndex = 0;
  bool FrameForward = true;

  // Copied from a button part.
  std::string FontName = "Arial";
  Integer FontHeight = 14;
  TFontStyles FontStyle;
  TColor FontColor = 0, ActiveFontColor = 0, DownFontColor = 0, DisabledFontColor = 0;
  TRect ActiveSkinRect, DownSkinRect, DisabledSkinRect, FocusedSkinRect;
  bool Morphing = false;
  Byte MorphKind = 0;
  TRect AnimateSkinRect;
  Integer FrameCount = 0;
  Integer AnimateInterval = 25;
  bool ShowFocus = false;
  TRect MenuMarkerRect, MenuMarkerActiveRect, MenuMarkerDownRect, MenuMarkerFlatRect;
  TColor MenuMarkerTransparentColor = 0;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // An action with an image and no glyph of the button's own lends the button its image.
  void ActionChange(TObject* Sender, bool CheckDefaults) override;
  // A down button of a group (index above 0, not all-up) releases the others of its parent.
  void ReleaseOthersOfGroup();
  // The left button's press and release: down, click, check or repeat as the mode asks.
  void PressLeft();
  void ReleaseLeft();
  void StartRepeat();
  void StopRepeat();
  // The state picture R of the part, its font and text colour, then OnPaint; true when OnPaint
  // leaves the content to the button. ContentRect receives where the content goes.
  bool DrawPartFace(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn, TRect& ContentRect);
  // A focus frame over the picture, before OnPaint and the content.
  virtual void DrawFaceFocus(TCanvas*) {}
  // The part's font (or the default font) on Cnvs.
  void SetFaceFont(TCanvas* Cnvs);
  // One state of the face into B, as the button draws it.
  virtual void DrawButtonStateOf(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) = 0;
  // The text colour of a state.
  TColor StateFontColor(bool ADown, bool AMouseIn);
  // The normal and active pictures cross-faded by MorphFraction into B.
  void DrawMorphedFace(TBitmap* B);
  // A button part's settings into the copies above, with the fallbacks for empty rectangles.
  virtual void CopyButtonPart(TbsDataSkinButtonControl* Part);

  bool EffectsEnabled() const;
  bool MorphEnabled() const { return Morphing && EffectsEnabled(); }
  bool AnimationPossible() const;
  // The cross-fade moves towards the active picture while this holds.
  virtual bool MorphTowardsHot() { return MouseIn; }
  void StartMorph();
  void StopMorph();
  bool MorphRunning() const;
  void StartFrameAnimation(bool Forward);
  void StopFrameAnimation();
  bool FrameAnimationRunning() const;
  // Frame N (1-based) of the animation strip.
  TRect FrameRect(Integer N) const;
  // The default font with the skin's character set.
  void SetDefaultFaceFont(TCanvas* Cnvs);

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
  void MorphTimerTick(TObject* Sender);
  void FrameTimerTick(TObject* Sender);

  bool FUseSkinSize = true;
  bool FUseSkinFontColor = true;
  std::unique_ptr<TTimer> MorphTicker;
  std::unique_ptr<TTimer> FrameTimer;
};
