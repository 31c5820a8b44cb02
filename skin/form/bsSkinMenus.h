#pragma once
// The main menu of a skinned form and the bar that shows it.
//
// TbsSkinMainMenu is the platform's main menu with the skin data it is drawn from.
// TbsSkinMainMenuBar shows the top-level items of a main menu. While no skin part for the bar
// is bound, the menu is the form's own (the platform's native menu bar) and the bar keeps no
// height of its own, so the form's layout is what it would be with a plain menu.
#include <memory>
#include <string>

#include "platform/classes/Menus.h"
#include "skin/controls/bsSkinCtrls.h"

class TbsSkinForm;

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

class TbsSkinMainMenuBar : public TbsSkinControl {
 public:
  explicit TbsSkinMainMenuBar(TComponent* AOwner);
  ~TbsSkinMainMenuBar() override;

  TMainMenu* GetMainMenu() const { return FMainMenu; }
  void SetMainMenu(TMainMenu* Value);
  TbsSkinForm* GetSkinForm() const { return FSkinForm; }
  void SetSkinForm(TbsSkinForm* Value);
  bool GetScrollMenu() const { return FScrollMenu; }
  void SetScrollMenu(bool Value) { FScrollMenu = Value; }
  bool GetUseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
  TFont* GetDefItemFont() const { return FDefItemFont.get(); }
  void SetDefItemFont(TFont* Value) { FDefItemFont->Assign(Value); }
  Integer GetDefaultWidth() const { return FDefaultWidth; }
  void SetDefaultWidth(Integer Value);
  Integer GetDefaultHeight() const { return FDefaultHeight; }
  void SetDefaultHeight(Integer Value);
  bool GetPopupToUp() const { return FPopupToUp; }
  void SetPopupToUp(bool Value) { FPopupToUp = Value; }

  // True while the menu shows as the form's native menu bar.
  bool GetNativeMenu() const { return FNativeMenu; }

  void SetParent(TWinControl* AParent) override;
  void ApplySkinChange() override;
  void DrawDefaultImage(TBitmap* B) override;

  TbsItemEnterEvent OnItemMouseEnter;
  TbsItemLeaveEvent OnItemMouseLeave;

 protected:
  bool CanResize(Integer& NewWidth, Integer& NewHeight) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Loaded() override;
  // Gives the menu to the form while no skin part draws the bar, and takes it back.
  void UpdateNativeMenu();

 private:
  TMainMenu* FMainMenu = nullptr;
  TbsSkinForm* FSkinForm = nullptr;
  bool FScrollMenu = true;
  bool FUseSkinFont = true;
  std::unique_ptr<TFont> FDefItemFont;
  Integer FDefaultWidth = 0;
  Integer FDefaultHeight = 22;
  bool FPopupToUp = false;
  bool FNativeMenu = false;
};
