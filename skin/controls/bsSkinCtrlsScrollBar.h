#pragma once
// The skinned scroll bar.
#include "skin/controls/bsSkinCtrlsBase.h"

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

  void LoadSkinPart() override;
  void FitPartToSize(Integer& AWidth, Integer& AHeight) override;
  void DrawDefaultImage(TBitmap* B) override;
  void DrawSkinImage(TBitmap* B) override;
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

  // The copies of the scroll-bar part; TrackArea and the two button rectangles are in part
  // coordinates, the others rectangles of SkinPicture.
  TRect TrackArea, UpButtonRect, ActiveUpButtonRect, DownUpButtonRect;
  TRect DownButtonRect, ActiveDownButtonRect, DownDownButtonRect;
  TRect ThumbRect, ActiveThumbRect, DownThumbRect;
  Integer ThumbOffset1 = 0, ThumbOffset2 = 0;
  bool ThumbTransparent = false;
  TColor ThumbTransparentColor = 0;
  bool ThumbStretchEffect = false;
  Integer ThumbMinSize = 0, ThumbMinPageSize = 0;
  TRect GlyphRect, ActiveGlyphRect, DownGlyphRect;
  bool GlyphTransparent = false;
  TColor GlyphTransparentColor = 0;

 protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;

 private:
  Integer ClampPosition(Integer Value) const;
  // The buttons and track of the default look and of the part.
  void CalcDefaultButtons(TRect& Up, TRect& Down);
  void CalcPartButtons(TRect& Up, TRect& Down);
  // The thumb's state picture: down (or focused), hot, normal.
  const TRect& ThumbStatePicture(const TRect& Normal, const TRect& Active, const TRect& Down);
  void DrawSkinThumb(TCanvas* C);
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
