#pragma once
// The skinned tool bar and status bar.
#include "skin/controls/bsSkinCtrlsPanels.h"

class TbsSkinSpeedButton;

// Hit-test answers of the tool bar's scroll buttons in its non-client area.
constexpr LRESULT HTSCROLLLEFT_SKIN = 119;
constexpr LRESULT HTSCROLLRIGHT_SKIN = 120;

// One of the two scroll buttons of a tool bar, in window coordinates.
struct TbsToolBarScrollButton {
  TRect Rect;
  bool Hot = false;
  bool Down = false;
  bool Visible = false;
};

// A panel (height 25, part "toolpanel") that centres its controls vertically and passes its
// skin, flat look and captions on to the speed buttons on it.
class TbsSkinToolBar : public TbsSkinPanel {
 public:
  explicit TbsSkinToolBar(TComponent* AOwner);

  bool GetAdjustControls() const { return FAdjustControls; }
  void SetAdjustControls(bool Value) { FAdjustControls = Value; }
  bool GetCanScroll() const { return FCanScroll; }
  void SetCanScroll(bool Value) { FCanScroll = Value; }
  bool GetHotScroll() const { return FHotScroll; }
  void SetHotScroll(bool Value) { FHotScroll = Value; }
  Integer GetScrollOffset() const { return FScrollOffset; }
  // Negative offsets are refused.
  void SetScrollOffset(Integer Value);
  Integer GetScrollTimerInterval() const { return FScrollTimerInterval; }
  // Intervals of 0 or less are refused.
  void SetScrollTimerInterval(Integer Value);
  bool GetShowCaptions() const { return FShowCaptions; }
  void SetShowCaptions(bool Value);
  bool GetAutoShowHideCaptions() const { return FAutoShowHideCaptions; }
  void SetAutoShowHideCaptions(bool Value) { FAutoShowHideCaptions = Value; }
  Integer GetWidthWithCaptions() const { return FWidthWithCaptions; }
  void SetWidthWithCaptions(Integer Value) { FWidthWithCaptions = Value; }
  Integer GetWidthWithoutCaptions() const { return FWidthWithoutCaptions; }
  void SetWidthWithoutCaptions(Integer Value) { FWidthWithoutCaptions = Value; }
  bool GetFlat() const { return FFlat; }
  void SetFlat(bool Value);
  TCustomImageList* GetImages() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TCustomImageList* GetHotImages() const { return FHotImages; }
  void SetHotImages(TCustomImageList* Value);
  TCustomImageList* GetDisabledImages() const { return FDisabledImages; }
  void SetDisabledImages(TCustomImageList* Value);

  void SetSkinData(TbsSkinData* Value) override;
  void SetSkinDataName(const std::string& Value) override;
  void LoadSkinPart() override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  void Dispatch(TMessage& Message) override;
  // Children that are not skinned controls and have no alignment, centred vertically.
  void CentreChildren();
  // Shows the scroll buttons when the children are wider than the bar, and keeps the children
  // in place when the bar grows or they shrink while scrolled.
  void UpdateScroll();
  // Direction 1 scrolls towards the start, 2 towards the end, by one step.
  void ScrollPage(Integer Direction);

  // The skin's "resizebutton" part while a part is bound; none otherwise.
  TbsDataSkinButtonControl* ScrollButtonPart = nullptr;
  Integer ScrollPos = 0, AppliedPos = 0, ContentRight = 0, VisibleWidth = 0, GrowBy = 0;
  Integer ScrollDirection = 0;
  TbsToolBarScrollButton LeftScrollButton, RightScrollButton;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void AdjustClientRect(TRect& Rect) override;

 private:
  bool ScrollButtonsShown() const { return LeftScrollButton.Visible; }
  void ShowScrollButtons(bool Value);
  // Dispatch's share for the scroll buttons; false for other messages.
  bool DispatchScroll(TMessage& Message);
  void PaintScrollButtons();
  void DrawScrollButton(HDC DC, const TbsToolBarScrollButton& Button, bool Left);
  // The scroll buttons lose their hot look; with CheckCursor only once the mouse left the bar.
  void ClearHotScroll(bool CheckCursor);
  void PressScrollButton(LRESULT Hit, bool Down);
  bool FLeaveTimerRunning = false;

  // Each speed button on the bar.
  template <class TAction>
  void ForEachSpeedButton(TAction Action);

  bool FAdjustControls = true;
  bool FCanScroll = false;
  bool FHotScroll = false;
  Integer FScrollOffset = 0;
  Integer FScrollTimerInterval = 50;
  bool FShowCaptions = false;
  bool FAutoShowHideCaptions = false;
  Integer FWidthWithCaptions = 0;
  Integer FWidthWithoutCaptions = 0;
  bool FFlat = false;
  TCustomImageList* FImages = nullptr;
  TCustomImageList* FHotImages = nullptr;
  TCustomImageList* FDisabledImages = nullptr;
};

// A panel aligned to the bottom of its form (height 21, part "statusbar") with an optional
// size grip at its right that sizes the form.
class TbsSkinStatusBar : public TbsSkinPanel {
 public:
  explicit TbsSkinStatusBar(TComponent* AOwner);

  bool GetSizeGrip() const { return FSizeGrip; }
  void SetSizeGrip(bool Value);
  bool GetShowGrip() const { return FShowGrip; }
  // The skinned form hides the grip while its form is maximized.
  void SetShowGrip(bool Value);

  void SetSkinData(TbsSkinData* Value) override;
  void LoadSkinPart() override;
  void Dispatch(TMessage& Message) override;
  // Where the grip lies in the bar.
  TRect GripRect();

  TRect GripperRect;
  bool GripperTransparent = false;
  TColor GripperTransparentColor = 0;

 protected:
  void AdjustClientRect(TRect& Rect) override;
  void Paint() override;

 private:
  bool GripShown() const { return FSizeGrip && FShowGrip; }
  void DrawGrip(TCanvas* C);

  bool FSizeGrip = false;
  bool FShowGrip = true;
};

// Diagonal grip lines in R, from its bottom-left towards its top-right corner.
void DrawGripLines(TCanvas* C, const TRect& R, TColor Light, TColor Dark);
