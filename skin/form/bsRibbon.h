#pragma once
// The ribbon: a skinned tab strip docked at the top of a form. From left to right its strip
// holds the application button, the tabs and the button items (and, while an MDI child is
// maximized, the MDI buttons); under it the page of the selected tab is shown.
#include <memory>
#include <string>
#include <vector>

#include "platform/system/Collections.h"
#include "skin/controls/bsSkinCtrlsBase.h"
#include "skin/controls/bsSkinCtrlsMenuButtons.h"
#include "skin/data/bsSkinDataEditParts.h"

class TbsRibbon;
class TbsRibbonPage;
class TbsSkinHint;
class TbsSkinPopupMenu;
class TCustomImageList;

class TbsRibbonTab : public TCollectionItem {
 public:
  explicit TbsRibbonTab(TCollection* Collection) : TCollectionItem(Collection) {}
  void Assign(TPersistent* Source) override;

  TbsRibbonPage* GetPage() const { return FPage; }
  void SetPage(TbsRibbonPage* Value);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  // A tab whose page is nil has nothing to show: it is not measured, drawn or selected.
  bool Shown() const { return FVisible && FPage != nullptr; }

  bool FMouseIn = false;
  TRect FTabRect;
  Integer FTabWidth = 0;

 private:
  friend class TbsRibbon;
  TbsRibbon* Ribbon() const;
  TbsRibbonPage* FPage = nullptr;
  bool FVisible = true;
};

class TbsRibbonTabs : public TCollection {
 public:
  explicit TbsRibbonTabs(TbsRibbon* AOwner);
  TbsRibbonTab* GetItem(Integer I) const { return static_cast<TbsRibbonTab*>(TCollection::GetItem(I)); }
  TbsRibbonTab* Add() { return static_cast<TbsRibbonTab*>(TCollection::Add()); }
  TbsRibbon* GetRibbon() const { return FRibbon; }

 protected:
  TPersistent* GetOwner() override;

 private:
  TbsRibbon* FRibbon;
};

class TbsRibbonButtonItem : public TCollectionItem {
 public:
  explicit TbsRibbonButtonItem(TCollection* Collection) : TCollectionItem(Collection) {}
  void Assign(TPersistent* Source) override;
  virtual void SetImageIndex(Integer Value);
  virtual void SetEnabled(bool Value);
  virtual void SetVisible(bool Value);

  Integer ImageIndex = -1;
  std::string Hint;
  bool Enabled = true;
  bool Visible = true;
  TNotifyEvent OnClick;
  TRect FItemRect;
  bool FMouseIn = false;
  bool FDown = false;
  Integer FKind = 0;  // 0 a button item; 1 close, 2 restore, 3 minimize
};

class TbsRibbonButtonItems : public TCollection {
 public:
  explicit TbsRibbonButtonItems(TbsRibbon* AOwner);
  TbsRibbonButtonItem* GetItem(Integer I) const {
    return static_cast<TbsRibbonButtonItem*>(TCollection::GetItem(I));
  }
  TbsRibbonButtonItem* Add() { return static_cast<TbsRibbonButtonItem*>(TCollection::Add()); }
  void Update(TCollectionItem* Item) override;

 protected:
  TPersistent* GetOwner() override;

 private:
  TbsRibbon* FRibbon;
};

// The button at the strip's left end; it drops the ribbon's popup menu.
class TbsAppButton : public TbsSkinMenuButton {
 public:
  explicit TbsAppButton(TComponent* AOwner) : TbsSkinMenuButton(AOwner) {}
  TbsRibbon* FRibbon = nullptr;
};

class TbsRibbon : public TbsSkinControl {
 public:
  explicit TbsRibbon(TComponent* AOwner);
  ~TbsRibbon() override;
  void Dispatch(TMessage& Message) override;
  void Loaded() override;
  void LoadSkinPart() override;

  TbsRibbonTabs* GetTabs() const { return FTabs.get(); }
  void SetTabs(TbsRibbonTabs* Value);
  Integer GetTabIndex() const { return FTabIndex; }
  void SetTabIndex(Integer Value);
  TbsRibbonPage* GetActivePage() const;
  void SetActivePage(TbsRibbonPage* Page);
  Integer IndexOfPage(TbsRibbonPage* Page) const;
  bool HasVisibleTab() const;
  Integer TabAtPos(TPoint P) const;
  Integer GetTabsHeight();
  TRect GetPageBounds();
  void SelectFirstTab();
  void SelectLastTab();
  void SelectNextTab();
  void SelectPriorTab(bool FocusAppButton);

  // The tab widths for the available width: compressed in proportion (at least 15 each) when
  // their sum exceeds it; true when compressed.
  static bool CompressTabWidths(std::vector<Integer>& Widths, Integer Available);
  void CalcLayout(TCanvas* C);

  // Buttons and MDI buttons.
  TbsRibbonButtonItems* GetButtons() const { return FButtons.get(); }
  TbsRibbonButtonItems* GetMDIButtons() const { return FMDIButtons.get(); }
  void ShowMDIButtons();
  void HideMDIButtons();
  TPoint GetMDIButtonSize();
  Integer GetButtonsAreaWidth() const { return FButtonsAreaWidth; }
  bool GetTabsCompressed() const { return FTabsCompressed; }

  // The application button.
  TbsAppButton* GetAppButton() const { return FAppButton; }
  Integer GetAppButtonWidth() const { return FAppButtonWidth; }
  void SetAppButtonWidth(Integer Value);

  // Fills R of C with the page background of the bound part (or nothing without one).
  void PaintPageArea(TCanvas* C, const TRect& R);

  TNotifyEvent OnChangePage, OnMenuClose;
  TCustomImageList* ButtonsImageList = nullptr;
  bool ButtonsShowHint = false;
  TbsSkinHint* SkinHint = nullptr;
  bool UseSkinFont = true;
  TbsDataSkinTabControl* FTabPart = nullptr;
  TBitmap* FTabPicture = nullptr;
  Integer FHotTab = -1, FOldHotTab = -1;
  Integer FHotButton = -1, FOldHotButton = -1;
  Integer FHotMDIButton = -1, FOldHotMDIButton = -1;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TbsRibbonTab;
  std::unique_ptr<TbsRibbonTabs> FTabs;
  std::unique_ptr<TbsRibbonButtonItems> FButtons, FMDIButtons;
  Integer FTabIndex = -1;
  bool FTabsCompressed = false;
  bool FSkipNextPaint = false;
  Integer FTabsLeft = 60;
  Integer FButtonsAreaWidth = 5;
  Integer FAppButtonWidth = 54;
  TbsAppButton* FAppButton = nullptr;

  void TabHidden(Integer Index);
  void UpdateHotItems(Integer X, Integer Y);
  bool UpdateHotRow(TbsRibbonButtonItems* Items, Integer& Hot, Integer& OldHot, Integer X, Integer Y,
                    bool NeedEnabled);
  void PressRow(TbsRibbonButtonItems* Items, Integer Hot);
  void ReleaseRow(TbsRibbonButtonItems* Items, Integer Hot);
  void LayoutButtons();
  void PaintRibbon(TCanvas* C);
  void DrawDefaultTab(TCanvas* C, Integer Index);
  void DrawButton(TCanvas* C, Integer Index);
  void DrawMDIButton(TCanvas* C, Integer Index);
  TForm* MaximizedMDIChild() const;
  void CloseMDIChild(TObject* Sender);
  void RestoreMDIChild(TObject* Sender);
  void MinimizeMDIChild(TObject* Sender);
  void AppButtonMenuClosed(TObject* Sender);
  void DrawTabCaption(TCanvas* C, const std::string& Text, const TRect& R, Integer TabWidth);
};

// The page a ribbon tab shows; it takes the ribbon's page area.
class TbsRibbonPage : public TCustomControl {
 public:
  explicit TbsRibbonPage(TComponent* AOwner);
  const std::string& GetPageCaption() const { return FCaption; }
  void SetPageCaption(const std::string& Value);
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  void Dispatch(TMessage& Message) override;

  TbsRibbon* FRibbon = nullptr;

 protected:
  void Paint() override {}

 private:
  std::string FCaption;
};

// Tiles (or with Stretch, stretches by StretchType) the Source rectangle of Picture over R
// of C. A source with no width or height draws nothing.
void TileSkinMaterial(TCanvas* C, const TRect& R, TBitmap* Picture, const TRect& Source, bool Stretch,
                      Integer StretchType);
