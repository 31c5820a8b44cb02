#pragma once
// The skinned check and radio box.
#include "skin/controls/bsSkinCtrlsBase.h"

// ---- Check and radio boxes ------------------------------------------------------------------
// One class for both (150 x 25, part "checkbox"); Radio selects the radio behaviour and
// GroupIndex groups boxes of the same parent.
class TbsSkinCheckRadioBox : public TbsSkinCustomControl {
 public:
  explicit TbsSkinCheckRadioBox(TComponent* AOwner);
  ~TbsSkinCheckRadioBox() override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

  bool GetChecked() const { return FChecked; }
  // Repaints and fires OnClick on every call for a check box (changed or not), for a radio
  // box when it is now checked; a checked box of a group unchecks the others of its parent.
  void SetChecked(bool Value);
  TCheckBoxState GetState() const { return FState; }
  void SetState(TCheckBoxState Value);
  bool GetAllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool Value);
  bool GetRadio() const { return FRadio; }
  void SetRadio(bool Value);
  Integer GetGroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(Integer Value) { FGroupIndex = Value; }
  bool GetFlat() const { return FFlat; }
  void SetFlat(bool Value);
  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  TCustomImageList* GetImages() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  Integer GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  bool GetUseSkinFontColor() const { return FUseSkinFontColor; }
  void SetUseSkinFontColor(bool Value) { FUseSkinFontColor = Value; }
  bool GetCanFocused() const { return FCanFocused; }
  void SetCanFocused(bool Value);

  virtual void Toggle();
  void LoadSkinPart() override;
  void FitPartToSize(Integer& AWidth, Integer& AHeight) override;
  void DrawDefaultImage(TBitmap* B) override;
  void DrawSkinImage(TBitmap* B) override;
  void ParentBackgroundChanged() override;
  void ApplySkinChange() override;

  // 0.0 shows the normal picture, 1.0 the hot one; steps of 0.2 while the morph runs.
  double GetMorphProgress() const { return FMorphProgress; }
  bool MorphRunning() const { return FMorphTimer != nullptr; }
  TRect GetCheckAreaRect() const { return FCheckAreaRect; }
  TRect GetTextAreaRect() const { return FTextAreaRect; }

  // The copies of the part.
  std::string FontName;
  TFontStyles FontStyle;
  Integer FontHeight = 0;
  TColor FontColor = 0, ActiveFontColor = 0, FrameFontColor = 0, UnEnabledFontColor = 0;
  TRect ActiveSkinRect, CheckImageArea, TextArea, CheckImageRect, UnCheckImageRect;
  TRect ActiveCheckImageRect, ActiveUnCheckImageRect, UnEnabledCheckImageRect, UnEnabledUnCheckImageRect;
  bool Morphing = false;
  Byte MorphKind = 0;
  TRect GrayedCheckImageRect, ActiveGrayedCheckImageRect;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void ActionChange(TObject* Sender, bool CheckDefaults) override;
  void RedrawState();

 private:
  // The flat look, with the part's state picture or the box of its own.
  void PaintFlat(TCanvas* C, bool Part);
  // Box frame and mark of the look without a part, the box centred on the row.
  void DrawDefaultBox(TCanvas* C);
  // The state picture of the part at (X, Y), lightened or replaced for the grayed state.
  void DrawStatePicture(TCanvas* C, Integer X, Integer Y);
  // The framed part image, from ActiveSkinRect or SkinRect.
  void BuildFramedImage(TBitmap* B, bool ActiveLook);
  void SetPartCaptionFont(TCanvas* C, TColor Color);
  bool Active();
  bool MorphPossible();
  void MorphTick(TObject* Sender);
  void StopMorph();

  bool FLeftPressed = false;
  bool FSuppressClicks = false;
  bool FHot = false;
  TRect FCheckAreaRect;
  TRect FTextAreaRect;
  std::unique_ptr<TTimer> FMorphTimer;
  double FMorphProgress = 0;
  bool FChecked = false;
  TCheckBoxState FState = cbUnchecked;
  bool FAllowGrayed = false;
  bool FRadio = false;
  Integer FGroupIndex = 0;
  bool FFlat = true;
  bool FWordWrap = false;
  TCustomImageList* FImages = nullptr;
  Integer FImageIndex = 0;
  bool FUseSkinFontColor = true;
  bool FCanFocused = true;
};
