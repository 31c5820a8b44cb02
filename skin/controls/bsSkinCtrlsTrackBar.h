#pragma once
// The skinned track bar.
#include "skin/controls/bsSkinCtrlsBase.h"

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
  // While designing also picks "trackbar" or "htrackbar" and turns the control.
  void SetVertical(bool Value);
  bool GetMouseSupport() const { return FMouseSupport; }
  void SetMouseSupport(bool Value) { FMouseSupport = Value; }
  bool GetJumpWhenClick() const { return FJumpWhenClick; }
  void SetJumpWhenClick(bool Value) { FJumpWhenClick = Value; }
  bool GetCanFocused() const { return FCanFocused; }
  void SetCanFocused(bool Value);

  void LoadSkinPart() override;
  void FitPartToSize(Integer& AWidth, Integer& AHeight) override;
  void DrawDefaultImage(TBitmap* B) override;
  void DrawSkinImage(TBitmap* B) override;
  // The thumb for the track area R (sets the thumb's travel).
  TRect CalcButtonRect(const TRect& R);
  // The value for an offset in pixels from the minimum end.
  Integer ValueForOffset(Integer Offset) const;
  TRect GetButtonRect() const { return FButtonRect; }

  TNotifyEvent OnChange;
  TNotifyEvent OnLastChange;
  TNotifyEvent OnStartDragButton;

  bool ThumbDragActive = false;

  // The copies of the part.
  TRect ActiveSkinRect, TrackArea, FNewTrackArea, ButtonRect, ActiveButtonRect;
  bool ButtonTransparent = false;
  TColor ButtonTransparentColor = 0;

 protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void KeyDown(Word& Key, TShiftState Shift) override;

 private:
  TSize ThumbSize() const;
  // The thumb's focused look.
  bool FocusedLook();
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
