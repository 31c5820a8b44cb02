#pragma once
// The skinned menus: popup menu chains (bsSkinPopupMenus.h), the main menu of a skinned form
// and the bar that shows it.
//
// TbsSkinMainMenu is the platform's main menu with the skin data it is drawn from; a skinned
// form never shows it as the platform's bar. TbsSkinMainMenuBar shows its top-level items as a
// skinned bar: pressing an item drops its submenu through the form component's TbsSkinMenu,
// moving over other items while a submenu is open switches it, items that do not fit are
// reached through an overflow marker, and the form's menu keys drive it (EnterMenuMode and the
// operations below).
//
// Ownership: the bar owns its item objects, its font and its timers; menus, menu items, the
// skinned form and skin data are referred to.
#include <memory>
#include <string>
#include <vector>

#include "platform/classes/Menus.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/form/bsSkinPopupMenus.h"

class TbsSkinForm;
class TbsSkinMainMenuBar;
class TTimer;

class TbsSkinMainMenu : public TMainMenu {
 public:
  explicit TbsSkinMainMenu(TComponent* AOwner) : TMainMenu(AOwner) {}
  TbsSkinData* GetSkinData() const { return FSD; }
  void SetSkinData(TbsSkinData* Value);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TbsSkinData* FSD = nullptr;
};

using TbsItemEnterEvent = TDelegate<void(TMenuItem* MenuItem)>;
using TbsItemLeaveEvent = TDelegate<void(TMenuItem* MenuItem)>;

// ---- Objects of the bar ---------------------------------------------------------------------
class TbsMenuBarObject : public TObject {
 public:
  TbsMenuBarObject(TbsSkinMainMenuBar* AParent, TbsDataSkinObject* AData);

  virtual void Changed();
  virtual void Draw(TCanvas*) {}
  virtual void MouseDown(Integer, Integer, TMouseButton) {}
  virtual void MouseUp(Integer, Integer, TMouseButton) {}
  virtual void DblClick() {}
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual bool NeedsMorphStep() const;
  bool CanMorph() const;
  // The morph value one step (0.2) toward the hot picture or back, then drawn.
  void MorphStep();

  TbsSkinMainMenuBar* Parent;
  bool Active = false;  // hot
  bool MouseIn = false;
  bool Down = false;  // pressed
  bool Enabled = true;
  bool Visible = true;
  bool Morphing = false;
  Byte MorphKind = 0;
  double MorphKf = 0;
  std::string IDName;
  TBitmap* Picture = nullptr;  // in the skin's list
  TRect SkinRect, ActiveSkinRect, DownRect, ObjectRect;
};

class TbsSkinMainMenuBarItem : public TbsMenuBarObject {
 public:
  TbsSkinMainMenuBarItem(TbsSkinMainMenuBar* AParent, TbsDataSkinMainMenuBarItem* AData,
                         TMenuItem* AMenuItem);

  void Changed() override;
  void Draw(TCanvas* Cnvs) override;
  void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void SetDown(bool Value);
  void PopupItemMenu();
  bool IsAnimated() const;
  bool HasSubItems() const { return MenuItem->GetCount() > 0; }

  bool SkinSupport;
  TMenuItem* MenuItem;
  TbsDataSkinMainMenuBarItem* Data;  // in the skin, or null for the default look
  bool Shown = true;
  bool SavedEnabled = true;
  Integer CurrentFrame = 0;

 private:
  // Places the item after its predecessor; false when it does not fit (then hidden).
  bool PlaceAndCheck(Integer Width, Integer Top, Integer Bottom);
  void DrawDefaultItem(TCanvas* Cnvs);
  void DrawSkinItem(TCanvas* Cnvs);
  void BuildItemImage(TBitmap* B, TCanvas* Target, const TRect& Source, bool HotLook);
  Integer CaptionWidth(TFont* Font);
  void SkinItemFont(TFont* Font);
};

// ---- The bar --------------------------------------------------------------------------------
class TbsSkinMainMenuBar : public TbsSkinControl {
 public:
  explicit TbsSkinMainMenuBar(TComponent* AOwner);
  ~TbsSkinMainMenuBar() override;
  void Dispatch(TMessage& Message) override;

  TMainMenu* GetMainMenu() const { return FMainMenu; }
  void SetMainMenu(TMainMenu* Value);
  TbsSkinForm* GetSkinForm() const { return FSkinForm; }
  void SetSkinForm(TbsSkinForm* Value);
  bool GetScrollMenu() const { return FScrollMenu; }
  void SetScrollMenu(bool Value) { FScrollMenu = Value; }
  bool GetUseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
  TFont* GetDefItemFont() const { return FDefItemFont.get(); }
  void SetDefItemFont(TFont* Value);
  Integer GetDefaultWidth() const { return FDefaultWidth; }
  void SetDefaultWidth(Integer Value);
  Integer GetDefaultHeight() const { return FDefaultHeight; }
  void SetDefaultHeight(Integer Value);
  bool GetPopupToUp() const { return FPopupToUp; }
  void SetPopupToUp(bool Value) { FPopupToUp = Value; }

  void LoadSkinPart() override;
  void ApplySkinChange() override;
  void BeforeSkinChange() override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

  // ---- What the skinned form calls ----
  bool ProcessAccel(Word Key);
  void SelectNextItem();
  void SelectPrevItem();
  bool PressHotItem();
  void EnterMenuMode();
  void MenuClosed();
  void LeaveMenuMode();
  void RefreshItems();
  bool GetTracking() const { return FTracking; }
  void SetTracking(bool Value) { FTracking = Value; }

  // ---- Layout and painting ----
  void RebuildItems();
  // Rebuilds when the menu's visible top-level items are no longer those shown (the program
  // adds items after giving the menu to the bar).
  void SyncItems();
  void CalcItemsArea();
  void PaintBar(TCanvas* Cnvs);
  void RedrawObject(TbsMenuBarObject* Object);
  void DrawTrackMark(TCanvas* Cnvs);
  TRect GetTrackMarkRect() const;
  void TrackHover(Integer X, Integer Y);
  void PopupOverflowMenu();
  // The hot item released or another pressed one: the first other item (not Except) that is
  // pressed gets SetDown false; true when there was one.
  bool ReleaseOtherDownItem(TbsSkinMainMenuBarItem* Except);
  void ReleaseOtherHotItem(TbsSkinMainMenuBarItem* Except);

  bool GetSkinSupport() const { return FSkinSupport; }
  bool GetOverflow() const { return FOverflow; }
  bool GetMarkerHot() const { return FMarkerHot; }
  const TRect& GetItemsArea() const { return FItemsArea; }
  Integer GetObjectCount() const { return static_cast<Integer>(FObjects.size()); }
  TbsMenuBarObject* GetObject(Integer Index) const { return FObjects[Index].get(); }
  TbsSkinMainMenuBarItem* GetItem(Integer Index) const;
  Integer GetHotIndex() const { return FHotIndex; }
  TTimer* GetMorphTimer() const { return FMorphTimer; }
  TTimer* GetAnimateTimer() const { return FAnimateTimer; }
  TTimer* GetMouseTimer() const { return FMouseTimer; }

  // ---- Part copy ----
  TRect BarSkinRect, ItemsRect;
  std::string MenuBarItemName;
  TColor TrackMarkColor = 0, TrackMarkActiveColor = 0;
  TBitmap* BarPicture = nullptr;  // in the skin's list
  bool BarStretchEffect = false;
  bool ItemTransparent = false;

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TbsItemEnterEvent OnItemMouseEnter;
  TbsItemLeaveEvent OnItemMouseLeave;

  bool FOverflow = false;  // set while painting by the items that do not fit

 protected:
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

 private:
  void FreeObjects();
  void MouseTimerTick(TObject* Sender);
  void MorphTimerTick(TObject* Sender);
  void AnimateTimerTick(TObject* Sender);
  TbsSkinMainMenuBarItem* HotOrDownItem(Integer& Index) const;
  bool ItemUsable(Integer Index) const;

  TMainMenu* FMainMenu = nullptr;
  TbsSkinForm* FSkinForm = nullptr;
  bool FScrollMenu = true;
  bool FUseSkinFont = true;
  std::unique_ptr<TFont> FDefItemFont;
  Integer FDefaultWidth = 0;
  Integer FDefaultHeight = 22;
  bool FPopupToUp = false;
  std::vector<std::unique_ptr<TbsMenuBarObject>> FObjects;
  Integer FHotIndex = -1, FOldHotIndex = -1, FCaptureIndex = -1;
  bool FTracking = false;
  bool FMarkerHot = false;
  bool FSkinSupport = false;
  TRect FItemsArea;
  TTimer* FMouseTimer;    // owned component
  TTimer* FMorphTimer;    // owned component
  TTimer* FAnimateTimer;  // owned component
};
