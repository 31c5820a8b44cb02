#pragma once
// The skinned controls: the windowed and windowless bases that bind a control to one part of
// a TbsSkinData by name and paint it through an off-screen bitmap, and the buttons, panels,
// check and radio boxes, gauges, track bars, scroll bars, labels and list view built on them.
//
// Every control has two looks: the part of the current skin (PartIndex >= 0) or, when the
// skin is missing, empty or has no part of that name, a default look of its own drawn with
// the system colours. The part is looked up afresh by name at every paint, every SetBounds and
// every skin change, so a control always shows the skin that is current.
//
// Ownership: controls refer to their TbsSkinData and never free it; a removed skin data
// component is forgotten through Notification. Timers, glyphs and default fonts are owned.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/classes/ControlTypes.h"
#include "platform/classes/Controls.h"
#include "platform/classes/Forms.h"
#include "platform/classes/StdCtrls.h"
#include "skin/controls/bsSkinButtonMixin.h"
#include "skin/controls/bsSkinPartMixin.h"
#include "skin/data/bsSkinData.h"

class TBitmap;
class TCustomImageList;
class TTimer;

// Sent by a container to its children when what lies behind them changed (wParam 0,
// lParam 0).
constexpr UINT WM_CHECKPARENTBG = 0x504;

using TbsButtonLayout = TButtonLayout;

// The default look's colours of hot and pressed faces.
constexpr TColor bsHotFrameColor = 0x800000;
constexpr TColor bsHotFaceColor = 0xD2BDB6;
constexpr TColor bsDownFaceColor = 0xB59385;

// ---- Windowed bases -------------------------------------------------------------------------
class TbsSkinControl : public TbsSkinPartMixin<TCustomControl> {
 public:
  explicit TbsSkinControl(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  // What lies behind the control changed.
  virtual void ParentBackgroundChanged();

  bool InWMPaint = false;
  HRGN PartRegion = nullptr;

 protected:
  // Paints the control into another device context (an erase outside the control's own
  // paint, so that transparent neighbours can show it).
  void PaintControlTo(HDC DC);
};

class TbsSkinCustomControl : public TbsSkinCustomPartMixin<TbsSkinControl> {
 public:
  explicit TbsSkinCustomControl(TComponent* AOwner);

  void LoadSkinPart() override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

  virtual void UpdatePartRegion();

  // A rectangle of part coordinates moved and stretched for the control's size.
  TRect MapPartRect(const TRect& R) const;
  // WM_CHECKPARENTBG to every child.
  void NotifyChildrenBackground();

  bool PaintFrameStrips = false;
  bool FillClientFromPart = true;
  TBitmap* SkinMaskPicture = nullptr;  // not owned

 protected:
  void Paint() override;
  void PartOutlineChanged() override { UpdatePartRegion(); }
  // A click on a focusable control that lacks the focus takes the focus first, and the
  // command the focus change sends meanwhile is swallowed. True when Message is done with.
  bool FocusBeforeClick(TMessage& Message, bool& SuppressClicks);
  // The focusable bars' share of Dispatch: the erase, the repaint on a focus change, the arrow
  // keys they claim and the wheel, which Turn applies. False for any other message.
  bool DispatchFocusableBar(TMessage& Message, bool CanFocused,
                            const std::function<void(const TMessage&)>& Turn);
};

// ---- Windowless bases -----------------------------------------------------------------------
class TbsGraphicSkinControl : public TbsSkinPartMixin<TGraphicControl> {
 public:
  explicit TbsGraphicSkinControl(TComponent* AOwner);
};

class TbsGraphicSkinCustomControl : public TbsSkinCustomPartMixin<TbsGraphicSkinControl> {
 public:
  using TbsSkinCustomPartMixin::TbsSkinCustomPartMixin;
};

extern template class TbsSkinCustomPartMixin<TbsSkinControl>;
extern template class TbsSkinCustomPartMixin<TbsGraphicSkinControl>;
extern template class TbsButtonMixin<TbsSkinCustomControl>;
extern template class TbsButtonMixin<TbsGraphicSkinCustomControl>;

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
  bool GetUseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
  bool GetUseSkinFontColor() const { return FUseSkinFontColor; }
  void SetUseSkinFontColor(bool Value) { FUseSkinFontColor = Value; }
  bool GetAlwaysShowLayeredFrame() const { return FAlwaysShowLayeredFrame; }
  void SetAlwaysShowLayeredFrame(bool Value) { FAlwaysShowLayeredFrame = Value; }

  // The parent form's modal result (focusable buttons), then OnClick.
  void Click() override;
  virtual void DrawButtonState(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn);
  void DrawDefaultImage(TBitmap* B) override;

  bool MousePressed = false;
  bool HoldDown = false;
  bool KeyboardClick = true;
  bool DefaultActive = false;
  double MorphFraction = 0;

 protected:
  void CreateWnd() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  // Focused and focusable.
  bool IsFocused();
  // Repaints (the hover cross-fade of skins starts here).
  void RedrawState();
  // 1-based cell of Glyph for the state.
  Integer GlyphIndex(bool ADown, bool AMouseIn);
  // Image list, else glyph, with the caption, in R.
  void DrawContent(TCanvas* Cnvs, const TRect& R, bool ADown, bool AMouseIn);

 private:
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
  bool FUseSkinSize = true;
  bool FUseSkinFontColor = true;
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
  bool GetUseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
  bool GetUseSkinFontColor() const { return FUseSkinFontColor; }
  void SetUseSkinFontColor(bool Value) { FUseSkinFontColor = Value; }

  void Click() override;
  void DrawDefaultImage(TBitmap* B) override;
  void DrawSkinImage(TBitmap*) override {}
  virtual void DrawButtonState(TBitmap* B, const TRect& R, bool AMouseIn, bool ADown);

  bool MenuPartActive = false;
  double MorphFraction = 0;

 protected:
  void Paint() override;
  void Loaded() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void RedrawState();
  // Glyph or image and the caption in R.
  void DrawContent(TCanvas* Cnvs, const TRect& R, bool AMouseIn, bool ADown);

 private:
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);
  void CMDialogChar(TMessage& Message);

  bool FTransparentGuard = false;
  bool FUseSkinSize = true;
  bool FUseSkinFontColor = true;
  bool FFlat = false;
  bool FShowCaption = true;
  Integer FWidthWithCaption = 0;
  Integer FWidthWithoutCaption = 0;
};

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
  void DrawDefaultImage(TBitmap* B) override;
  void ParentBackgroundChanged() override;
  void ApplySkinChange() override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void RedrawState();

 private:
  void PaintFlatDefault(TCanvas* C);
  // Box frame and mark of the look without a part, the box centred on the row.
  void DrawDefaultBox(TCanvas* C);
  bool Active();

  bool FLeftPressed = false;
  bool FSuppressClicks = false;
  bool FHot = false;
  TRect FCheckAreaRect;
  TRect FTextAreaRect;
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

// ---- Gauge ----------------------------------------------------------------------------------
using TbsGaugePaintEvent = TDelegate<void(TCanvas* Cnvs, TRect AProgressArea, TRect AProgressRect)>;

// The progress gauge (100 x 20, part "gauge").
class TbsSkinGauge : public TbsSkinCustomControl {
 public:
  explicit TbsSkinGauge(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  Integer GetMinValue() const { return FMinValue; }
  void SetMinValue(Integer Value);
  Integer GetMaxValue() const { return FMaxValue; }
  // Lowers Value to the new maximum; repaints at once.
  void SetMaxValue(Integer Value);
  Integer GetValue() const { return FValue; }
  // Clamps to the range; a new value invalidates (the repaint waits for the message queue).
  void SetValue(Integer Value);
  bool GetVertical() const { return FVertical; }
  void SetVertical(bool Value) { FVertical = Value; }
  bool GetUseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
  const std::string& GetProgressText() const { return FProgressText; }
  void SetProgressText(const std::string& Value);
  bool GetShowProgressText() const { return FShowProgressText; }
  void SetShowProgressText(bool Value);
  bool GetShowPercent() const { return FShowPercent; }
  void SetShowPercent(bool Value);
  Integer GetProgressAnimationPause() const { return FProgressAnimationPause; }
  void SetProgressAnimationPause(Integer Value);

  virtual Integer GetDisplayValue() { return FValue; }
  void DrawDefaultImage(TBitmap* B) override;
  // The filled part of Area for the value V.
  TRect ProgressRect(const TRect& Area, Integer V) const;
  // ProgressText and the percentage as shown.
  std::string ShownText(Integer V) const;

  TbsGaugePaintEvent OnGaugePaint;

 private:
  Integer CurrentValue();
  void DrawText(TCanvas* C, Integer V);

  Integer FMinValue = 0;
  Integer FMaxValue = 100;
  Integer FValue = 50;
  bool FVertical = false;
  bool FUseSkinSize = true;
  std::string FProgressText;
  bool FShowProgressText = false;
  bool FShowPercent = false;
  Integer FProgressAnimationPause = 3000;
};

// ---- Track bar ------------------------------------------------------------------------------
// The slider (100 x 20, part "htrackbar"): OnChange whenever SetValue changes the value,
// OnLastChange at the end of a drag and after each key or wheel step.
class TbsSkinTrackBar : public TbsSkinCustomControl {
 public:
  explicit TbsSkinTrackBar(TComponent* AOwner);
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

  Integer GetMinValue() const { return FMinValue; }
  // Raises Value into the range without OnChange.
  void SetMinValue(Integer Value);
  Integer GetMaxValue() const { return FMaxValue; }
  // Lowers Value into the range without OnChange.
  void SetMaxValue(Integer Value);
  Integer GetValue() const { return FValue; }
  // Clamped to the range; OnChange only when the value changes.
  void SetValue(Integer Value);
  bool GetVertical() const { return FVertical; }
  void SetVertical(bool Value) { FVertical = Value; }
  bool GetMouseSupport() const { return FMouseSupport; }
  void SetMouseSupport(bool Value) { FMouseSupport = Value; }
  bool GetJumpWhenClick() const { return FJumpWhenClick; }
  void SetJumpWhenClick(bool Value) { FJumpWhenClick = Value; }
  bool GetCanFocused() const { return FCanFocused; }
  void SetCanFocused(bool Value);

  void DrawDefaultImage(TBitmap* B) override;
  // The thumb for the track area R (sets the thumb's travel).
  TRect CalcButtonRect(const TRect& R);
  // The value for an offset in pixels from the minimum end.
  Integer ValueForOffset(Integer Offset) const;
  TRect GetButtonRect() const { return FButtonRect; }

  TNotifyEvent OnChange;
  TNotifyEvent OnLastChange;
  TNotifyEvent OnStartDragButton;

  bool ThumbDragActive = false;

 protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;

 private:
  TSize ThumbSize() const;
  void Step(Integer Delta);

  bool FSuppressClicks = false;
  Integer FThumbFirst = 0, FThumbLast = 0, FThumbShift = 0;
  TRect FButtonRect;
  Integer FMinValue = 0;
  Integer FMaxValue = 100;
  Integer FValue = 50;
  bool FVertical = false;
  bool FMouseSupport = true;
  bool FJumpWhenClick = false;
  bool FCanFocused = false;
  Integer FDragStartCoord = 0;
  Integer FDragStartShift = 0;
};

// ---- Scroll bar -----------------------------------------------------------------------------
struct TbsScrollButtonState {
  TRect Rect;
  bool Hot = false;
  bool Down = false;
};

// The self-drawn scroll bar (200 x 19, part "hscrollbar"). To increase is to move towards Max;
// the up button is at the right (horizontal) or bottom (vertical) end.
class TbsSkinScrollBar : public TbsSkinCustomControl {
 public:
  explicit TbsSkinScrollBar(TComponent* AOwner);
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

  TScrollBarKind GetKind() const { return FKind; }
  void SetKind(TScrollBarKind Value);
  Integer GetMin() const { return FMin; }
  // Raises Position to the new minimum without OnChange.
  void SetMin(Integer Value);
  Integer GetMax() const { return FMax; }
  void SetMax(Integer Value);
  Integer GetPosition() const { return FPosition; }
  // Clamped to Min..Max, or Min..Max - PageSize + 1 with a page; OnChange when it moves.
  void SetPosition(Integer Value);
  // Range, page and position at once, without OnChange.
  void SetRange(Integer AMin, Integer AMax, Integer APosition, Integer APageSize);
  Integer GetPageSize() const { return FPageSize; }
  void SetPageSize(Integer Value);
  Integer GetSmallChange() const { return FSmallChange; }
  void SetSmallChange(Integer Value);
  Integer GetLargeChange() const { return FLargeChange; }
  void SetLargeChange(Integer Value);
  bool GetBoth() const { return FBoth; }
  void SetBoth(bool Value);
  Integer GetBothMarkerWidth() const { return FBothMarkerWidth; }
  void SetBothMarkerWidth(Integer Value);
  const std::string& GetBothSkinDataName() const { return FBothSkinDataName; }
  void SetBothSkinDataName(const std::string& Value) { FBothSkinDataName = Value; }
  bool GetCanFocused() const { return FCanFocused; }
  void SetCanFocused(bool Value);

  void DrawDefaultImage(TBitmap* B) override;
  // Places the buttons and the thumb for the current size, range and position.
  void CalcLayout();
  // 0 thumb, 1 up button, 2 down button.
  const TbsScrollButtonState& GetButtonState(Integer Index) const { return ButtonStates[Index]; }
  TRect GetTrackRect() const { return FTrackRect; }

  TNotifyEvent OnChange;
  TNotifyEvent OnLastChange;
  TNotifyEvent OnUpButtonClick;
  TNotifyEvent OnDownButtonClick;
  TNotifyEvent OnPageUp;
  TNotifyEvent OnPageDown;

  Integer RepeatKind = 0;  // 0 none, 1 down button, 2 up button, 3 page up, 4 page down
  TbsScrollButtonState ButtonStates[3];

 protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;

 private:
  Integer ClampPosition(Integer Value) const;
  Integer HitButton(Integer X, Integer Y) const;
  void UpdateHot(Integer X, Integer Y);
  void ArrowStep(Integer Kind);
  void PageStep(bool Up);
  void StartTimer(UINT Interval);
  void StopRepeat();
  void WMTimer(TMessage& Message);
  void CMMouseLeave(TMessage& Message);

  std::string FSavedSkinDataName;
  Integer FThumbFirst = 0, FThumbLast = 0, FThumbShift = 0;
  TRect FTrackRect;
  bool FThumbDragging = false;
  Integer FDragStartCoord = 0;
  Integer FDragStartShift = 0;
  Integer FLastMouseX = 0, FLastMouseY = 0;
  bool FLeftButtonHeld = false;
  bool FFirstRepeatPending = false;
  bool FSuppressClicks = false;
  Integer FHotButton = -1;
  Integer FPressedButton = -1;
  TScrollBarKind FKind = sbHorizontal;
  Integer FMin = 0;
  Integer FMax = 100;
  Integer FPosition = 0;
  Integer FSmallChange = 1;
  Integer FLargeChange = 1;
  Integer FPageSize = 0;
  bool FBoth = false;
  Integer FBothMarkerWidth = 19;
  std::string FBothSkinDataName = "bothhscrollbar";
  bool FCanFocused = false;
};

// ---- Labels ---------------------------------------------------------------------------------
enum TbsEllipsType { bsetNone, bsetEndEllips, bsetPathEllips };

// The platform's windowless label taking its font and colour from a "stdlabel" part of the
// skin; without one it writes in DefaultFont (UseSkinFont) or its own Font.
class TbsSkinStdLabel : public TCustomLabel {
 public:
  explicit TbsSkinStdLabel(TComponent* AOwner);
  ~TbsSkinStdLabel() override;

  TbsSkinData* GetSkinData() const { return FSD; }
  // Applies the skin at once for any skin data given.
  void SetSkinData(TbsSkinData* Value);
  const std::string& GetSkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const std::string& Value) { FSkinDataName = Value; }
  TFont* GetDefaultFont() const { return FDefaultFont.get(); }
  // Only assigns (no repaint).
  void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
  bool GetUseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
  bool GetUseSkinColor() const { return FUseSkinColor; }
  void SetUseSkinColor(bool Value) { FUseSkinColor = Value; }
  TbsEllipsType GetEllipsType() const { return FEllipsType; }
  void SetEllipsType(TbsEllipsType Value);

  void LoadSkinPart();
  void ApplySkinChange();

  Integer PartIndex = -1;

 protected:
  void DoDrawText(TRect& Rect, UINT Flags) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TbsSkinData* FSD = nullptr;
  std::string FSkinDataName = "stdlabel";
  std::unique_ptr<TFont> FDefaultFont;
  bool FUseSkinFont = true;
  bool FUseSkinColor = true;
  TbsEllipsType FEllipsType = bsetNone;
};

// ---- List view ------------------------------------------------------------------------------
// The report-style list of rows (a caption and sub-items per row under column headers). The
// class library has no list view yet, so this one draws and scrolls its rows itself on a
// plain custom control; its item, column and scroll-bar interfaces are those the program
// uses.
class TbsSkinCustomListView : public TCustomControl {
 public:
  class TListItem {
   public:
    TListItem() : FSubItems(std::make_unique<TStringList>()) {}
    const std::string& GetCaption() const { return FCaption; }
    void SetCaption(const std::string& Value) { FCaption = Value; }
    TStrings* GetSubItems() const { return FSubItems.get(); }

   private:
    std::string FCaption;
    std::unique_ptr<TStringList> FSubItems;
  };
  class TListItems {
   public:
    explicit TListItems(TbsSkinCustomListView* Owner) : FOwner(Owner) {}
    TListItem* Add();
    void Clear();
    void Delete(Integer Index);
    Integer GetCount() const { return static_cast<Integer>(FItems.size()); }
    // Raises EListError for an index out of bounds.
    TListItem* GetItem(Integer Index) const;

   private:
    TbsSkinCustomListView* FOwner;
    std::vector<std::unique_ptr<TListItem>> FItems;
  };
  class TListColumn {
   public:
    const std::string& GetCaption() const { return FCaption; }
    void SetCaption(const std::string& Value) { FCaption = Value; }
    Integer GetWidth() const { return FWidth; }
    void SetWidth(Integer Value) { FWidth = Value; }

   private:
    std::string FCaption;
    Integer FWidth = 50;
  };
  class TListColumns {
   public:
    explicit TListColumns(TbsSkinCustomListView* Owner) : FOwner(Owner) {}
    TListColumn* Add();
    void Clear();
    Integer GetCount() const { return static_cast<Integer>(FColumns.size()); }
    TListColumn* GetItem(Integer Index) const;

   private:
    TbsSkinCustomListView* FOwner;
    std::vector<std::unique_ptr<TListColumn>> FColumns;
  };

  explicit TbsSkinCustomListView(TComponent* AOwner);
  ~TbsSkinCustomListView() override;
  void Dispatch(TMessage& Message) override;

  TListItems* GetItems() const { return FItems.get(); }
  TListColumns* GetColumns() const { return FColumns.get(); }
  // The selected row, -1 for none.
  Integer GetItemIndex() const { return FItemIndex; }
  void SetItemIndex(Integer Value);
  Integer GetTopIndex() const { return FTopIndex; }
  void SetTopIndex(Integer Value);
  bool GetShowColumnHeaders() const { return FShowColumnHeaders; }
  void SetShowColumnHeaders(bool Value);

  TbsSkinData* GetSkinData() const { return FSD; }
  void SetSkinData(TbsSkinData* Value);
  const std::string& GetSkinDataName() const { return FSkinDataName; }
  void SetSkinDataName(const std::string& Value) { FSkinDataName = Value; }
  TFont* GetDefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value);
  TColor GetDefaultColor() const { return FDefaultColor; }
  void SetDefaultColor(TColor Value);
  bool GetUseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
  TbsSkinScrollBar* GetVScrollBar() const { return FVScrollBar; }
  // The external bar scrolls the rows and follows them.
  void SetVScrollBar(TbsSkinScrollBar* Value);

  void ApplySkinChange();
  // Rows and bar after a change of the items.
  void ItemsChanged();
  Integer RowHeight();
  // Rows that fit below the header.
  Integer RowsPerPage();
  Integer ItemAtPos(TPoint Pos);

  TNotifyEvent OnChange;
  Integer PartIndex = -1;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void SyncScrollBar();
  void VScroll(TObject* Sender);
  Integer HeaderHeight();

  std::unique_ptr<TListItems> FItems;
  std::unique_ptr<TListColumns> FColumns;
  Integer FItemIndex = -1;
  Integer FTopIndex = 0;
  bool FShowColumnHeaders = true;
  TbsSkinData* FSD = nullptr;
  std::string FSkinDataName = "listview";
  std::unique_ptr<TFont> FDefaultFont;
  TColor FDefaultColor = clWindow;
  bool FUseSkinFont = true;
  TbsSkinScrollBar* FVScrollBar = nullptr;
};

class TbsSkinListView : public TbsSkinCustomListView {
 public:
  explicit TbsSkinListView(TComponent* AOwner) : TbsSkinCustomListView(AOwner) {}
};
