#pragma once
// The skinned push button, menu button and speed button.
#include "skin/controls/bsSkinCtrlsBase.h"

class TbsLayerManager;

// Private messages a button posts to itself to show and hide its glow frame after the mouse
// message that asked for it.
constexpr UINT WM_SHOWGLOW_SKIN = 1424;
constexpr UINT WM_HIDEGLOW_SKIN = 1425;

// Whether glow frames can show: the platform's layered windows. Switching the answer off runs
// a button as on a platform without them.
bool GlowFramesAvailable();
void SetGlowFramesAvailable(bool Value);

// ---- Buttons --------------------------------------------------------------------------------
// A push button (75 x 25, part "button"): push, sticky group, check and auto-repeat modes,
// the parent form's modal result, and the form's default and cancel keys.
class TbsSkinButton : public TbsButtonMixin<TbsSkinCustomControl> {
 public:
  explicit TbsSkinButton(TComponent* AOwner);
  ~TbsSkinButton() override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

  void SetDown(bool Value) override;
  // A non-zero group index makes the button unfocusable.
  void SetGroupIndex(Integer Value);
  void SetCheckedMode(bool Value);
  bool GetCanFocused() const { return FCanFocused; }
  void SetCanFocused(bool Value);
  bool GetDefault() const { return FDefault; }
  void SetDefault(bool Value);
  bool GetCancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  TModalResult GetModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  bool GetAlwaysShowLayeredFrame() const { return FAlwaysShowLayeredFrame; }
  void SetAlwaysShowLayeredFrame(bool Value) { FAlwaysShowLayeredFrame = Value; }

  // The parent form's modal result (focusable buttons), then OnClick.
  void Click() override;
  virtual void DrawButtonState(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn);
  void DrawDefaultImage(TBitmap* B) override;

  void LoadSkinPart() override;
  void ApplySkinChange() override;
  void BeforeSkinChange() override;

  // The glow frame shown around the button in a layered window while the mouse is over it.
  TbsLayerManager* GlowLayer = nullptr;
  Integer GlowLayerPictureIndex = -1, GlowLayerMaskPictureIndex = -1;
  Integer GlowLayerOffsetLeft = 0, GlowLayerOffsetRight = 0, GlowLayerOffsetTop = 0,
          GlowLayerOffsetBottom = 0;
  Integer GlowLayerShowOffsetX = 0, GlowLayerShowOffsetY = 0;
  Integer GlowLayerAlphaBlendValue = 255;

  bool MousePressed = false;
  bool HoldDown = false;
  bool KeyboardClick = true;
  bool DefaultActive = false;

 protected:
  void CreateWnd() override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void DrawButtonStateOf(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) override {
    DrawButtonState(B, R, ADown, AMouseIn);
  }
  bool MorphTowardsHot() override { return MouseIn || IsFocused(); }
  void DrawFaceFocus(TCanvas* C) override;
  void CopyButtonPart(TbsDataSkinButtonControl* Part) override;
  void ShowGlowLayer();
  void HideGlowLayer();
  // Focused and focusable.
  bool IsFocused();
  // Repaints (the hover cross-fade of skins starts here).
  void RedrawState();
  // 1-based cell of Glyph for the state.
  Integer GlyphIndex(bool ADown, bool AMouseIn);
  // Image list, else glyph, with the caption, in R.
  void DrawContent(TCanvas* Cnvs, const TRect& R, bool ADown, bool AMouseIn);

 private:
  // The glow picture and mask fitted to the button's size; false when none shows.
  bool FitGlowPictures(TBitmap* Picture, TBitmap* Mask);
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);
  void CMDialogKey(TMessage& Message);
  void CMDialogChar(TMessage& Message);
  void CMFocusChanged(TMessage& Message);
  bool LookChanges();

  bool FCanFocused = true;
  bool FDefault = false;
  bool FCancel = false;
  TModalResult FModalResult = mrNone;
  bool FAlwaysShowLayeredFrame = false;
  bool FocusingByClick = false;
};

// The windowless tool button (25 x 25, part "toolbutton"): flat or framed, grouped, checkable
// and auto-repeating.
class TbsSkinSpeedButton : public TbsButtonMixin<TbsGraphicSkinCustomControl> {
 public:
  explicit TbsSkinSpeedButton(TComponent* AOwner);
  ~TbsSkinSpeedButton() override;
  void Dispatch(TMessage& Message) override;

  void SetDown(bool Value) override;
  void SetGroupIndex(Integer Value) { FGroupIndex = Value; }
  void SetCheckedMode(bool Value);
  bool GetFlat() const { return FFlat; }
  // A flat button is transparent while idle.
  void SetFlat(bool Value);
  bool GetTransparent() const { return !GetControlStyle().Contains(csOpaque); }
  void SetTransparent(bool Value);
  virtual void SetTransparentGuarded(bool Value);
  bool GetShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);
  Integer GetWidthWithCaption() const { return FWidthWithCaption; }
  void SetWidthWithCaption(Integer Value) { FWidthWithCaption = Value; }
  Integer GetWidthWithoutCaption() const { return FWidthWithoutCaption; }
  void SetWidthWithoutCaption(Integer Value) { FWidthWithoutCaption = Value; }

  void Click() override;
  void LoadSkinPart() override;
  void ApplySkinChange() override;
  void DrawDefaultImage(TBitmap* B) override;
  void DrawSkinImage(TBitmap*) override {}
  virtual void DrawButtonState(TBitmap* B, const TRect& R, bool AMouseIn, bool ADown);
  // A menu speed button answers for its menu zone; the tool bar names its part by them.
  virtual bool HasMenuPart() const { return false; }
  virtual bool TracksMenuPart() const { return false; }

  bool MenuPartActive = false;

 protected:
  void Paint() override;
  void Loaded() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void RedrawState();
  void DrawButtonStateOf(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) override {
    DrawButtonState(B, R, AMouseIn, ADown);
  }
  // Glyph or image and the caption in R.
  void DrawContent(TCanvas* Cnvs, const TRect& R, bool AMouseIn, bool ADown);
  // The same; IdleLists leaves the bar's hot list out.
  void DrawContentFrom(TCanvas* Cnvs, const TRect& R, bool AMouseIn, bool ADown, bool IdleLists);
  // Only the content, straight over what lies behind the button.
  void PaintIdleTransparent();
  // Frame animations: never on a flat button.
  bool FramesPossible() const;

 private:
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);
  void CMDialogChar(TMessage& Message);

  bool FTransparentGuard = false;
  bool FFlat = false;
  bool FShowCaption = true;
  Integer FWidthWithCaption = 0;
  Integer FWidthWithoutCaption = 0;
};
