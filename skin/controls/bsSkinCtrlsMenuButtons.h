#pragma once
// The skinned menu button and menu speed button: buttons with a menu zone that drops a popup
// menu under them.
//
// Ownership: the popup menu is referred to and forgotten through Notification when it goes.
#include "skin/controls/bsSkinCtrlsButtons.h"
#include "skin/controls/bsSkinMenuZone.h"

class TPopupMenu;

// A push button (part "toolmenubutton") whose press, or in track-button mode only a press in
// its track area, drops SkinPopupMenu under it; it stays down until the menu closes.
class TbsSkinMenuButton : public TbsSkinButton {
 public:
  explicit TbsSkinMenuButton(TComponent* AOwner);
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

  TPopupMenu* GetSkinPopupMenu() const { return FSkinPopupMenu; }
  void SetSkinPopupMenu(TPopupMenu* Value);
  bool GetTrackButtonMode() const { return FTrackButtonMode; }
  void SetTrackButtonMode(bool Value);

  void LoadSkinPart() override;
  void DrawButtonState(TBitmap* B, const TRect& R, bool ADown, bool AMouseIn) override;
  void DrawDefaultImage(TBitmap* B) override;
  // Whether a press at (X, Y) opens the menu.
  virtual bool InMenuPart(Integer X, Integer Y);
  virtual void ShowMenu();
  // Opens the menu from code.
  void DropDown();

  TNotifyEvent OnShowTrackMenu;
  TNotifyEvent OnHideTrackMenu;
  TRect TrackButtonRect;
  bool MenuPartActive = false;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

 private:
  void MenuClosed();
  // The tool and resize part families draw body and menu zone as separate pieces.
  void DrawMenuStyle(TBitmap* B, bool ADown, bool AMouseIn, bool Resize);
  void DrawZoneMark(TCanvas* C, const TRect& Zone, bool ADown, bool AMouseIn);
  void OpenMenuFromKey();

  TPopupMenu* FSkinPopupMenu = nullptr;
  bool FTrackButtonMode = false;
};

enum TbsTrackPosition { bstpRight, bstpBottom };

// The windowless twin (part "toolmenubutton"): a 15-pixel menu zone at its right, or at its
// bottom in the new style.
class TbsSkinMenuSpeedButton : public TbsSkinSpeedButton {
 public:
  explicit TbsSkinMenuSpeedButton(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  TPopupMenu* GetSkinPopupMenu() const { return FSkinPopupMenu; }
  void SetSkinPopupMenu(TPopupMenu* Value);
  bool GetTrackButtonMode() const { return FTrackButtonMode; }
  void SetTrackButtonMode(bool Value);
  bool GetNewStyle() const { return FNewStyle; }
  // On also binds the part "resizetoolbutton"; off keeps the name.
  void SetNewStyle(bool Value);
  TbsTrackPosition GetTrackPosition() const { return FTrackPosition; }
  void SetTrackPosition(TbsTrackPosition Value);

  void LoadSkinPart() override;
  void DrawButtonState(TBitmap* B, const TRect& R, bool AMouseIn, bool ADown) override;
  void DrawDefaultImage(TBitmap* B) override;
  bool HasMenuPart() const override { return true; }
  bool TracksMenuPart() const override { return FTrackButtonMode; }
  bool InMenuPart(Integer X, Integer Y);
  // The menu zone for the control's size.
  TRect GetTrackButtonRect();
  void ShowMenus();

  TNotifyEvent OnShowTrackMenu;
  TNotifyEvent OnHideTrackMenu;
  TRect TrackButtonRect;
  bool StandardArrow = false;
  Integer StandardArrowType = 4;

 protected:
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

 private:
  bool FixedPartName() const;
  // The client rectangle less the zone.
  TRect ContentRect();
  TRect ZoneRect();
  void DrawStyle(TBitmap* B, bool AMouseIn, bool ADown, bool Resize);
  void DrawNewStyle(TBitmap* B, bool AMouseIn, bool ADown);
  void DrawPartState(TBitmap* B, TbsDataSkinButtonControl* Part, bool ADown, bool AHot, const TRect& Area);
  void DrawContentAndMark(TCanvas* C, bool AMouseIn, bool ADown);

  TPopupMenu* FSkinPopupMenu = nullptr;
  bool FTrackButtonMode = false;
  bool FNewStyle = false;
  TbsTrackPosition FTrackPosition = bstpRight;
};
