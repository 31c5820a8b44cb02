#pragma once
// The skinned panel and group box.
#include "skin/controls/bsSkinCtrlsBase.h"

// ---- Panels ---------------------------------------------------------------------------------
enum class TbsSkinBorderStyle { bvFrame, bvRaised, bvLowered, bvNone };
enum TbsImagePosition { bsipDefault, bsipLeft };

// The skinned container (150 x 150, part "panel"): frame, optional caption bar with glyph,
// check box and roll-up arrow, or transparent over its parent.
class TbsSkinPanel : public TbsSkinCustomControl {
 public:
  explicit TbsSkinPanel(TComponent* AOwner);
  ~TbsSkinPanel() override;
  void Dispatch(TMessage& Message) override;

  bool GetCaptionMode() const { return FCaptionMode; }
  virtual void SetCaptionMode(bool Value);
  Integer GetDefaultCaptionHeight() const { return FDefaultCaptionHeight; }
  virtual void SetDefaultCaptionHeight(Integer Value);
  TAlignment GetDefaultAlignment() const { return FDefaultAlignment; }
  void SetDefaultAlignment(TAlignment Value);
  TbsSkinBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TbsSkinBorderStyle Value);
  bool GetRibbonStyle() const { return FRibbonStyle; }
  void SetRibbonStyle(bool Value);
  bool GetTransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(bool Value);
  TbsImagePosition GetImagePosition() const { return FImagePosition; }
  void SetImagePosition(TbsImagePosition Value);
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  Integer GetNumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(Integer Value);
  TCustomImageList* GetCaptionImageList() const { return FCaptionImageList; }
  void SetCaptionImageList(TCustomImageList* Value);
  Integer GetCaptionImageIndex() const { return FCaptionImageIndex; }
  void SetCaptionImageIndex(Integer Value);
  Integer GetSpacing() const { return FSpacing; }
  void SetSpacing(Integer Value);
  bool GetCheckedMode() const { return FCheckedMode; }
  void SetCheckedMode(bool Value);
  bool GetChecked() const { return FChecked; }
  void SetChecked(bool Value);
  bool GetAutoEnabledControls() const { return FAutoEnabledControls; }
  void SetAutoEnabledControls(bool Value) { FAutoEnabledControls = Value; }
  bool GetRollUpMode() const { return FRollUpMode; }
  void SetRollUpMode(bool Value);
  bool GetRollUpState() const { return FRollUpState; }
  void SetRollUpState(bool Value);
  Integer GetRealHeight() const { return FRealHeight; }

  // (0, 0, Width, Height) as the children see it.
  TRect GetAdjustedClientRect();
  void DrawDefaultImage(TBitmap* B) override;
  void ApplySkinChange() override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  // The client area's own painting; empty here.
  virtual void PaintClient(TCanvas*) {}

  TNotifyEvent OnChecked;
  TNotifyEvent OnChangeRollUpState;

  TRect FittedCaptionRect;

 protected:
  void Paint() override;
  void CreateParams(TCreateParams& Params) override;
  void AdjustClientRect(TRect& Rect) override;
  bool CanAutoSize(Integer& NewWidth, Integer& NewHeight) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The caption bar of the look without a part.
  TRect DefaultCaptionRect() const;

 private:
  void ApplyRollUp(bool Up);
  void DrawDefaultCaption(TCanvas* C);
  void PaintTransparent();

  bool FCaptionMode = false;
  Integer FDefaultCaptionHeight = 22;
  TAlignment FDefaultAlignment = taLeftJustify;
  TbsSkinBorderStyle FBorderStyle = TbsSkinBorderStyle::bvFrame;
  bool FRibbonStyle = false;
  bool FTransparentMode = false;
  TbsImagePosition FImagePosition = bsipDefault;
  std::unique_ptr<TBitmap> FGlyph;
  Integer FNumGlyphs = 1;
  TCustomImageList* FCaptionImageList = nullptr;
  Integer FCaptionImageIndex = -1;
  Integer FSpacing = 2;
  bool FCheckedMode = false;
  bool FChecked = false;
  bool FAutoEnabledControls = true;
  bool FRollUpMode = false;
  bool FRollUpState = false;
  Integer FRealHeight = -1;
  bool RollingUp = false;
  Integer SavedConstraints[4] = {0, 0, 0, 0};  // MaxWidth, MinWidth, MaxHeight, MinHeight
};

// A panel with part "groupbox" and its caption bar on.
class TbsSkinGroupBox : public TbsSkinPanel {
 public:
  explicit TbsSkinGroupBox(TComponent* AOwner);
};
