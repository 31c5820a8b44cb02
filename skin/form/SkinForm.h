#pragma once
// TbsSkinForm: the component every form carries. It takes over its owner form's window
// procedure at construction (every message of the form passes FormWindowProc first, which
// hands on what it does not answer to the procedure it replaced) and gives it back at
// destruction, and it hands a change of skin on to every skinned control of the form.
//
// The form keeps the platform's own frame until a skin with form-frame objects is applied.
//
// Ownership: owned by its form; it refers to its skin data, menu bar and the like and forgets
// them when they are removed.
#include <string>

#include "platform/classes/Forms.h"
#include "platform/system/Sets.h"
#include "skin/data/bsSkinData.h"

class TbsSkinMainMenuBar;

// The caption commands of the skinned frame (the platform's TBorderIcon has the same names).
enum class TbsBorderIcon { biSystemMenu, biMinimize, biMaximize, biRollUp, biMinimizeToTray };
using TbsBorderIcons = TSet<TbsBorderIcon, 8>;

class TbsSkinForm : public TComponent {
 public:
  // AOwner must be a form; anything else raises EInvalidCast.
  explicit TbsSkinForm(TComponent* AOwner);
  ~TbsSkinForm() override;

  TbsSkinData* GetSkinData() const { return FSD; }
  // Applies the skin (or the unskinned look) to the form.
  void SetSkinData(TbsSkinData* Value);
  TbsSkinData* GetMenusSkinData() const { return FMenusSkinData; }
  void SetMenusSkinData(TbsSkinData* Value);
  TbsBorderIcons GetBorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TbsBorderIcons Value) { FBorderIcons = Value; }
  TWindowState GetWindowState() const { return FWindowState; }
  void SetWindowState(TWindowState Value) { FWindowState = Value; }
  TbsSkinMainMenuBar* GetMainMenuBar() const { return FMainMenuBar; }
  void SetMainMenuBar(TbsSkinMainMenuBar* Value);
  // The user's size limits (0: none); GetMinWidth and the like give the limits in force.
  void SetMinWidth(Integer Value) { FMinWidth = Value; }
  void SetMinHeight(Integer Value) { FMinHeight = Value; }
  void SetMaxWidth(Integer Value) { FMaxWidth = Value; }
  void SetMaxHeight(Integer Value) { FMaxHeight = Value; }
  bool GetAlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
  bool GetAlphaBlendAnimation() const { return FAlphaBlendAnimation; }
  void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
  Byte GetAlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(Byte Value) { FAlphaBlendValue = Value; }

  // The size limits of the frame: the user's limits, else those of the skin or the screen.
  Integer GetMinWidth();
  Integer GetMinHeight();
  Integer GetMaxWidth();
  Integer GetMaxHeight();
  // 15 for tool windows, else 19.
  Integer GetDefaultCaptionHeight();

  // The window procedure installed on the form.
  void FormWindowProc(TMessage& Message);
  void ApplySkin();
  // Walk the form's controls depth first; a null skin means every skinned control.
  void BeforeSkinChangeControls(TbsSkinData* Skin, TControl* Control);
  void ApplySkinChangeControls(TbsSkinData* Skin, TControl* Control);

  TCustomForm* GetForm() const { return FForm; }
  bool GetSkinApplied() const { return FSkinApplied; }
  bool GetSkinnable() const { return FSkinnable; }

  TNotifyEvent OnChangeSkinData;
  TNotifyEvent OnBeforeChangeSkinData;
  TNotifyEvent OnAfterChangeSkinData;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  bool Designing() const { return GetComponentState().Contains(csDesigning); }

  TCustomForm* FForm = nullptr;
  TWndMethod FOldWindowProc;
  TbsSkinData* FSD = nullptr;
  TbsSkinData* FMenusSkinData = nullptr;
  TbsBorderIcons FBorderIcons{TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMinimize,
                              TbsBorderIcon::biMaximize, TbsBorderIcon::biRollUp};
  TWindowState FWindowState = wsNormal;
  TbsSkinMainMenuBar* FMainMenuBar = nullptr;
  Integer FMinWidth = 0, FMinHeight = 0, FMaxWidth = 0, FMaxHeight = 0;
  bool FAlphaBlend = false;
  bool FAlphaBlendAnimation = false;
  Byte FAlphaBlendValue = 200;
  bool FSkinnable = true;
  bool FSkinApplied = false;
  bool FSkinChanging = false;
};

// The form's first TbsSkinForm, or null.
TbsSkinForm* FindSkinForm(TCustomForm* Form);
// Tells one component of a form that the skin changed, when it draws from Skin (or Skin is
// null).
void ApplySkinChangeToComponent(TComponent* Component, TbsSkinData* Skin);
