#pragma once
// Image menus: a drop-down palette of images that a menu button pops under itself. Cells are
// laid out in rows of ColumnsCount images; an item can also be a full-width row with image and
// caption (a button row) or a full-width header. While open, the palette holds the mouse
// capture and filters the application's messages.
#include <memory>
#include <string>

#include "platform/classes/Application.h"
#include "platform/classes/Controls.h"
#include "platform/system/Collections.h"
#include "skin/data/bsSkinData.h"

class TBitmap;
class TCustomImageList;
class TFont;
class TbsSkinHint;
class TbsSkinImagesMenu;
class TbsDataSkinButtonControl;
class TbsDataSkinLabelControl;

class TbsImagesMenuItem : public TCollectionItem {
 public:
  explicit TbsImagesMenuItem(TCollection* Collection) : TCollectionItem(Collection) {}
  void Assign(TPersistent* Source) override;

  Integer GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value) { FImageIndex = Value; }
  const std::string& GetCaption() const { return FCaption; }
  void SetCaption(const std::string& Value) { FCaption = Value; }

  TNotifyEvent OnClick;
  bool Button = false;
  bool Header = false;
  std::string Hint;
  // The cell in window client coordinates, laid out at every popup.
  TRect ItemRect;

 private:
  Integer FImageIndex = -1;
  std::string FCaption;
};

class TbsImagesMenuItems : public TCollection {
 public:
  explicit TbsImagesMenuItems(TbsSkinImagesMenu* AOwner);
  TbsImagesMenuItem* GetItem(Integer Index) const {
    return static_cast<TbsImagesMenuItem*>(TCollection::GetItem(Index));
  }
  TbsImagesMenuItem* Add() { return static_cast<TbsImagesMenuItem*>(TCollection::Add()); }

 protected:
  TPersistent* GetOwner() override;

 private:
  TbsSkinImagesMenu* FOwner;
};

class TbsSkinImagesMenuPopupWindow : public TCustomControl {
 public:
  TbsSkinImagesMenuPopupWindow(TbsSkinImagesMenu* AMenu);
  ~TbsSkinImagesMenuPopupWindow() override;
  void Dispatch(TMessage& Message) override;

  void Show(const TRect& R);
  void Hide(bool Execute);
  void ProcessKey(Word Key);
  void AppMessage(MSG& Msg, bool& Handled);
  // Lays the cells out and sizes the window.
  void CalcSize();

  Integer MouseInItem = -1, OldMouseInItem = -1;
  bool SkinSupport = false;
  bool Pressed = false, ItemDown = false;
  TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
  TRect NewItemsRect;
  TBitmap* WindowPicture = nullptr;  // the skin's, not owned
  TBitmap* MaskPicture = nullptr;    // the skin's, not owned

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

 private:
  TbsSkinImagesMenu* FMenu;
  bool FShown = false;

  Integer ItemCount() const;
  TbsImagesMenuItem* Item(Integer I) const;
  void CalcItemRects(Integer RowWidth);
  // The first non-header item whose cell holds the point (right and bottom edges inside).
  Integer ItemAtPoint(Integer X, Integer Y) const;
  void TestActive(Integer X, Integer Y);
  void SetHot(Integer Index);
  void HideSkinHint();
  void FindUp();
  void FindDown();
  void FindRight();
  void FindLeft();
  Integer FirstSelectable() const;
  void DrawItemFrame(TCanvas* C, const TRect& Cell, bool ItemPressed);
  void DrawItemText(TCanvas* C, const std::string& Caption, const TRect& R, bool ItemPressed, bool Hot);
  void DrawHeader(TCanvas* C, const TRect& Cell, const std::string& Caption);
  TbsDataSkinButtonControl* ButtonPart() const;
  TbsDataSkinLabelControl* LabelPart() const;
};

class TbsSkinImagesMenu : public TComponent {
 public:
  explicit TbsSkinImagesMenu(TComponent* AOwner);
  ~TbsSkinImagesMenu() override;

  TCustomImageList* GetImages() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TbsImagesMenuItems* GetImagesItems() const { return FImagesItems.get(); }
  void SetImagesItems(TbsImagesMenuItems* Value);
  Integer GetItemIndex() const { return FItemIndex; }
  void SetItemIndex(Integer Value) { FItemIndex = Value; }
  Integer GetColumnsCount() const { return FColumnsCount; }
  // Only 1 to 50 is taken.
  void SetColumnsCount(Integer Value);
  TbsSkinData* GetSkinData() const { return FSkinData; }
  void SetSkinData(TbsSkinData* Value);
  TbsSkinHint* GetSkinHint() const { return FSkinHint; }
  void SetSkinHint(TbsSkinHint* Value);
  TFont* GetDefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value);

  // The item at ItemIndex; nil when ItemIndex is out of range.
  TbsImagesMenuItem* GetSelectedItem() const;
  // Opens the palette under the screen rectangle R (a button's).
  void PopupUnderRect(const TRect& R);
  // Run by the window when it hides: frees it, then the close and choice events.
  void ClosePopup(bool Execute);
  TbsSkinImagesMenuPopupWindow* GetPopupWindow() const { return PopupWindow; }

  bool ShowSelectedItem = true;
  bool AlphaBlend = false;
  bool AlphaBlendAnimation = false;
  Byte AlphaBlendValue = 200;
  bool UseSkinFont = true;
  bool ShowHints = true;
  TNotifyEvent OnItemClick, OnChange, OnMenuPopup, OnMenuClose;
  // Hooks of the menu button that pops this menu: its image and its pressed state.
  TNotifyEvent OnInternalChange, OnInternalMenuClose;
  Integer OldItemIndex = -1;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TbsSkinImagesMenuPopupWindow;
  TCustomImageList* FImages = nullptr;
  std::unique_ptr<TbsImagesMenuItems> FImagesItems;
  Integer FItemIndex = -1;
  Integer FColumnsCount = 1;
  TbsSkinData* FSkinData = nullptr;
  TbsSkinHint* FSkinHint = nullptr;
  std::unique_ptr<TFont> FDefaultFont;
  TbsSkinImagesMenuPopupWindow* PopupWindow = nullptr;
  // A closed window waits here until no handler of it runs any more.
  TbsSkinImagesMenuPopupWindow* FClosedWindow = nullptr;

  void FreeClosedWindow();
  void Watch(TComponent* Old, TComponent* New);
};
