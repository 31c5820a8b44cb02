#pragma once
// Menus: TMenuItem trees, main menus (a form's menu bar) and popup menus, with short-cuts and
// their texts. The native menus are the window layer's (platform/user/Menus.h): an item tree
// builds its menu handles on first use and rebuilds them when an item changes; WM_COMMAND of
// a chosen item comes back to the menu by the item's command number.
//
// Ownership: an item is a component owned by its owner (usually the form); an item also deletes
// the items under it when it is deleted. A menu owns its root item (Items).
#include <memory>
#include <string>
#include <vector>

#include "platform/classes/ControlMessages.h"
#include "platform/classes/Controls.h"
#include "platform/system/Component.h"

class TCustomImageList;
class TMenu;
class TBasicAction;
class TMenuActionLink;

// ---- Short-cuts -------------------------------------------------------------------------------
// A key (virtual key in the low byte) and the modifier bits.
using TShortCut = Word;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;

TShortCut ShortCut(Word Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, Word& Key, TShiftState& Shift);
// The short-cut a key message makes with the modifier keys held now (Alt from the key data).
TShortCut KeyMessageShortCut(const TWMKey& Message);
// "Ctrl+S", "Shift+Ctrl+F1", "Del": modifiers Shift+, Ctrl+, Alt+ in that order, then the key's
// name; empty for a key without a name.
std::string ShortCutToText(TShortCut ShortCut);
// The reverse, modifiers in any order and letter case ("^" for Ctrl+); 0 for an unknown text.
TShortCut TextToShortCut(std::string Text);

// The caption without its accelerator marks ("&&" stays a single '&').
std::string StripHotkey(const std::string& Text);
// The accelerator character of a caption (upper case), or an empty string.
std::string GetHotkey(const std::string& Text);

constexpr const char* cHotkeyPrefix = "&";
constexpr const char* cLineCaption = "-";

enum TFindItemKind { fkCommand, fkHandle, fkShortCut };

class TMenuItem;
using TMenuChangeEvent = TDelegate<void(TObject* Sender, TMenuItem* Source, bool Rebuild)>;

class TMenuItem : public TComponent {
  friend class TMenu;
  friend class TMenuActionLink;

 public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;

  // ---- The tree ----
  TMenuItem* GetItem(Integer Index) const;
  Integer GetCount() const { return static_cast<Integer>(FItems.size()); }
  // Raises EMenuError "Menu inserted twice" for an item that has a parent already and
  // "Menu index out of range" for a bad index.
  void Add(TMenuItem* Item) { Insert(GetCount(), Item); }
  void Insert(Integer Index, TMenuItem* Item);
  // Takes the item out and deletes it.
  void Delete(Integer Index);
  // Takes the item out (it stays alive); raises EMenuError "Sub-menu is not in menu".
  void Remove(TMenuItem* Item);
  // Deletes every item under this one.
  void Clear();
  Integer IndexOf(const TMenuItem* Item) const;
  // The direct child whose caption without accelerator marks is ACaption (no case).
  TMenuItem* Find(const std::string& ACaption) const;
  TMenuItem* GetParent() const { return FParent; }
  // The menu this item belongs to (through the root).
  TMenu* GetParentMenu() const;
  Integer GetMenuIndex() const { return FParent != nullptr ? FParent->IndexOf(this) : -1; }
  void SetMenuIndex(Integer Value);

  // ---- Properties ----
  const std::string& GetCaption() const { return FCaption; }
  void SetCaption(const std::string& Value);
  // A caption of "-" makes the item a separator line.
  bool IsLine() const { return FCaption == cLineCaption; }
  bool GetChecked() const { return FChecked; }
  // Checking a radio item unchecks the radio items of its group among its siblings.
  void SetChecked(bool Value);
  bool GetRadioItem() const { return FRadioItem; }
  void SetRadioItem(bool Value);
  Byte GetGroupIndex() const { return FGroupIndex; }
  // Raises EMenuError "GroupIndex cannot be less than a previous menu item's GroupIndex";
  // the items after this one get at least this group.
  void SetGroupIndex(Byte Value);
  bool GetAutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool Value) { FAutoCheck = Value; }
  bool GetDefault() const { return FDefault; }
  void SetDefault(bool Value);
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  Integer GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  const std::string& GetHint() const { return FHint; }
  void SetHint(const std::string& Value) { FHint = Value; }
  TShortCut GetShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  // The item's unique command number (WM_COMMAND's id).
  UINT GetCommand() const { return FCommand; }
  // The native menu of the items under this one, made on first use.
  HMENU GetHandle();
  bool HandleAllocated() const { return FHandle != nullptr; }

  // The action the item follows (caption, checked, enabled, hint, image, short-cut, visible,
  // OnClick) and whose Execute a click runs.
  TBasicAction* GetAction() const;
  void SetAction(TBasicAction* Value);
  TMenuActionLink* GetActionLink() const { return FActionLink.get(); }
  // Lets the action update the item (before its menu shows).
  virtual void InitiateAction();

  // Toggles Checked with AutoCheck (unless the action checks itself), then OnClick, or the
  // action's Execute when OnClick is the action's own handler; nothing while disabled.
  virtual void Click();

  TNotifyEvent OnClick;

 protected:
  void MenuChanged(bool Rebuild);
  void SubItemChanged(TObject* Sender, TMenuItem* Source, bool Rebuild);
  // Puts this item (visible ones) into the parent's native menu.
  void AppendTo(HMENU Menu);
  void RebuildHandle();
  void Loaded() override;
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);

 private:
  void TurnSiblingsOff();
  void VerifyGroupIndex(Integer Position, Byte Value);
  void DestroyHandle();

  std::vector<TMenuItem*> FItems;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;  // set on a menu's root item
  TMenuChangeEvent FOnChange;
  std::string FCaption;
  std::string FHint;
  HMENU FHandle = nullptr;
  UINT FCommand = 0;
  TShortCut FShortCut = scNone;
  Integer FImageIndex = -1;
  Byte FGroupIndex = 0;
  bool FChecked = false;
  bool FRadioItem = false;
  bool FAutoCheck = false;
  bool FDefault = false;
  bool FEnabled = true;
  bool FVisible = true;
  std::unique_ptr<TMenuActionLink> FActionLink;
};

class TMenu : public TComponent {
  friend class TMenuItem;

 public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;

  TMenuItem* GetItems() const { return FItems; }
  TCustomImageList* GetImages() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  // The item (the root included) with this command, native menu handle or short-cut.
  TMenuItem* FindItem(UINT_PTR Value, TFindItemKind Kind);
  // Clicks the item of the key message's short-cut (Shift and Ctrl from the key state, Alt
  // from the key data); true when the menu has that short-cut. Only a menu attached to a
  // window (WindowHandle) answers.
  virtual bool IsShortCut(TWMKey& Message);
  // Clicks the item with this command; false when there is none.
  bool DispatchCommand(Word ACommand);
  // An item's submenu is about to open: the item is clicked (its OnClick may fill it).
  bool DispatchPopup(HMENU AMenu);
  virtual HMENU GetHandle() { return FItems->GetHandle(); }
  HWND GetWindowHandle() const { return FWindowHandle; }
  void SetWindowHandle(HWND Value);

  TMenuChangeEvent OnChange;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Loaded() override;
  virtual void MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild);
  void DoChange(TMenuItem* Source, bool Rebuild);

  TMenuItem* FItems;
  HWND FWindowHandle = nullptr;

 private:
  TCustomImageList* FImages = nullptr;
};

class TMainMenu : public TMenu {
 public:
  explicit TMainMenu(TComponent* AOwner) : TMenu(AOwner) {}
  bool GetAutoMerge() const { return FAutoMerge; }
  void SetAutoMerge(bool Value) { FAutoMerge = Value; }

 protected:
  // The bar is drawn again when items change.
  void MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) override;

 private:
  bool FAutoMerge = false;
};

enum TPopupAlignment { paLeft, paRight, paCenter };
enum TTrackButton { tbRightButton, tbLeftButton };

class TPopupMenu : public TMenu {
 public:
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;

  // OnPopup, then the menu at (X, Y) screen; returns once an item was chosen (its OnClick
  // runs when the command comes back through the message queue) or the menu was dismissed.
  virtual void Popup(Integer X, Integer Y);
  TPoint GetPopupPoint() const { return FPopupPoint; }
  TComponent* GetPopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* Value) { FPopupComponent = Value; }
  bool GetAutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool Value) { FAutoPopup = Value; }
  TPopupAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TPopupAlignment Value) { FAlignment = Value; }
  TTrackButton GetTrackButton() const { return FTrackButton; }
  void SetTrackButton(TTrackButton Value) { FTrackButton = Value; }

  TNotifyEvent OnPopup;

 protected:
  virtual void DoPopup(TObject* Sender);
  // Shows the native menu and runs its loop (TrackPopupMenu); a skinned menu replaces it.
  virtual void TrackMenu(Integer X, Integer Y);

 private:
  TPoint FPopupPoint{-1, -1};
  TComponent* FPopupComponent = nullptr;
  bool FAutoPopup = true;
  TPopupAlignment FAlignment = paLeft;
  TTrackButton FTrackButton = tbRightButton;
};

TV_DECLARE_EXCEPTION(EMenuError, Exception)
