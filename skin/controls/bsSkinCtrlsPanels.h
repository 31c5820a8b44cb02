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
  void LoadSkinPart() override;
  void DrawDefaultImage(TBitmap* B) override;
  void DrawSkinImage(TBitmap* B) override;
  void ApplySkinChange() override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  // The client area's own painting; empty here.
  virtual void PaintClient(TCanvas*) {}

  TNotifyEvent OnChecked;
  TNotifyEvent OnChangeRollUpState;

  TRect FittedCaptionRect;

  // Copied from a panel part.
  TRect CaptionRect;
  TAlignment CaptionAlignment = taCenter;
  std::string FontName = "Arial";
  Integer FontHeight = 14;
  TFontStyles FontStyle;
  TColor FontColor = 0;
  Integer BGPictureIndex = -1;
  TRect CheckImageRect, UnCheckImageRect, MarkFrameRect, FrameRect, FrameTextRect;
  Integer FrameLeftOffset = 0, FrameRightOffset = 0;

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
  // The caption's image: the image list's when the glyph is empty and the index is valid, else
  // the glyph's cell; none without either.
  struct TCaptionImage {
    bool FromList = false, FromGlyph = false;
    Integer Width = 0, Height = 0;
    bool Any() const { return FromList || FromGlyph; }
  };
  TCaptionImage CaptionImage() const;
  void DrawCaptionImage(TCanvas* C, const TCaptionImage& I, Integer X, Integer Y);
  void ApplyRollUp(bool Up);
  void DrawDefaultCaption(TCanvas* C);
  void PaintTransparent();
  // The caption line of a transparent panel in caption mode, over the parent's background.
  void DrawTransparentCaptionFrame(TCanvas* C);
  void DrawSkinCaption(TCanvas* C);
  // The check box picture of the caption at X, centred in R; its width.
  Integer DrawCaptionCheck(TCanvas* C, Integer X, const TRect& R);
  // The part's font (or the default font) with the skin's character set.
  void SetCaptionFont(TCanvas* C);
  bool BorderlessNineSlice() const;
  // The part's client piece, or the background picture, straight onto the canvas.
  void PaintTexture(TCanvas* C, TBitmap* Tile, const TRect& StretchArea);

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

using TbsPaintPanelEvent = TDelegate<void(TCanvas* Cnvs, TRect R)>;

// A panel whose owner paints the client area through OnPanelPaint.
class TbsSkinPaintPanel : public TbsSkinPanel {
 public:
  explicit TbsSkinPaintPanel(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;
  void PaintClient(TCanvas* C) override;
  void DrawDefaultImage(TBitmap* B) override;
  void DrawSkinImage(TBitmap* B) override;

  TbsPaintPanelEvent OnPanelPaint;
};

// A panel with part "groupbox" and its caption bar on.
class TbsSkinGroupBox : public TbsSkinPanel {
 public:
  explicit TbsSkinGroupBox(TComponent* AOwner);
  // A caption under the client area is drawn only with the whole part as one image.
  void LoadSkinPart() override;
};
