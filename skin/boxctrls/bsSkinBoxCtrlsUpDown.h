#pragma once
// The skinned up-down: two step buttons that keep Position within Min..Max.
#include "skin/boxctrls/bsSkinBoxCtrlsStepButtons.h"
#include "skin/controls/bsSkinCtrls.h"

enum TUDOrientation { udHorizontal, udVertical };

// Parts "hupdown" and "vupdown" (50 x 25 by default). A click steps once, on release; a held
// button repeats after 600 ms, then every 100 ms, without the click events.
class TbsSkinUpDown : public TbsSkinCustomControl {
 public:
  explicit TbsSkinUpDown(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  Integer GetPosition() const { return FPosition; }
  // A value outside Min..Max is ignored; any other fires OnChange, also when unchanged.
  void SetPosition(Integer Value);
  Integer GetMin() const { return FMin; }
  // Raises Position without OnChange.
  void SetMin(Integer Value);
  Integer GetMax() const { return FMax; }
  // Lowers Position without OnChange.
  void SetMax(Integer Value);
  Integer GetIncrement() const { return FIncrement; }
  void SetIncrement(Integer Value) { FIncrement = Value; }
  TUDOrientation GetOrientation() const { return FOrientation; }
  void SetOrientation(TUDOrientation Value);
  bool GetUseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
  const TbsSpinButtonState& GetButton(Integer Index) const { return Buttons[Index]; }

  void LoadSkinPart() override;
  void DrawDefaultImage(TBitmap* B) override;
  void DrawSkinImage(TBitmap* B) override;
  void FitPartToSize(Integer& AWidth, Integer& AHeight) override;
  void UpdatePartRegion() override;

  TNotifyEvent OnChange;
  TNotifyEvent OnUpButtonClick;
  TNotifyEvent OnDownButtonClick;

 protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void CalcButtonRects();

 private:
  void UpdateHot(Integer X, Integer Y);
  void SetRepeatTimer(UINT Interval);
  void KillRepeatTimer();
  // Arrow kinds of the up and down buttons for the orientation.
  Integer ArrowKind(Integer Index) const;

  TbsSpinButtonState Buttons[2];  // 0 up, 1 down
  Integer FPosition = 0;
  Integer FMin = 0;
  Integer FMax = 100;
  Integer FIncrement = 1;
  TUDOrientation FOrientation = udHorizontal;
  bool FUseSkinSize = true;
  Integer FHotIndex = -1;
  Integer FOldHotIndex = -1;
  Integer FPressedIndex = -1;
  Integer FRepeatDirection = 0;  // 0 none, 1 down, 2 up
  bool FFirstDelay = false;
  // The part's state pictures of the two buttons (pressed falls back to hot).
  TRect FUpRect, FActiveUpRect, FDownUpRect;
  TRect FDownRect, FActiveDownRect, FDownDownRect;
};
