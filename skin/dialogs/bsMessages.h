#pragma once
// TbsSkinMessage: the skinned counterpart of the platform's message dialog. MessageDlg builds a
// TbsMessageForm (the text, a centred row of buttons and an optional show-again check box),
// shows it modally and frees it; it returns the modal result of the button pressed, as the
// platform's dialog would (mrYes, mrNo, mrOK, ...).
//
// Ownership: the component owns its two fonts; each box is owned by the application while it
// is shown and freed before MessageDlg returns.
#include <memory>
#include <string>

#include "platform/classes/Dialogs.h"
#include "platform/classes/Forms.h"
#include "skin/data/bsSkinData.h"

class TbsSkinForm;
class TbsSkinStdLabel;
class TbsSkinCheckRadioBox;
class TImage;

// The box itself, built in code for every message.
class TbsMessageForm : public TForm {
 public:
  // Left below -10000 centres the box on the screen.
  TbsMessageForm(TComponent* AOwner, Integer ALeft, Integer ATop);

  TbsSkinForm* BSF = nullptr;
  TbsSkinStdLabel* Message = nullptr;
  TbsSkinCheckRadioBox* CheckBox = nullptr;
  // The dialog type's icon (empty for mtCustom).
  TImage* Image = nullptr;
  Integer HelpContext = 0;

  void HelpClick(TObject* Sender);
};

class TbsSkinMessage : public TComponent {
 public:
  explicit TbsSkinMessage(TComponent* AOwner);
  ~TbsSkinMessage() override;

  // Shows the box and returns the modal result of the button pressed.
  Integer MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx);

  TbsSkinData* GetSkinData() const { return FSD; }
  void SetSkinData(TbsSkinData* Value);
  TbsSkinData* GetCtrlSkinData() const { return FCtrlSkinData; }
  void SetCtrlSkinData(TbsSkinData* Value);
  const std::string& GetButtonSkinDataName() const { return FButtonSkinDataName; }
  void SetButtonSkinDataName(const std::string& Value) { FButtonSkinDataName = Value; }
  const std::string& GetMessageLabelSkinDataName() const { return FMessageLabelSkinDataName; }
  void SetMessageLabelSkinDataName(const std::string& Value) { FMessageLabelSkinDataName = Value; }
  TFont* GetDefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
  TFont* GetDefaultButtonFont() const { return FDefaultButtonFont.get(); }
  void SetDefaultButtonFont(TFont* Value) { FDefaultButtonFont->Assign(Value); }
  bool GetAlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
  bool GetAlphaBlendAnimation() const { return FAlphaBlendAnimation; }
  void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
  Byte GetAlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(Byte Value) { FAlphaBlendValue = Value; }
  bool GetUseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
  bool GetShowAgainFlag() const { return FShowAgainFlag; }
  void SetShowAgainFlag(bool Value) { FShowAgainFlag = Value; }
  // True: keep showing the message; updated after every box with the check box.
  bool GetShowAgainFlagValue() const { return FShowAgainFlagValue; }
  void SetShowAgainFlagValue(bool Value) { FShowAgainFlagValue = Value; }

  // Builds the box for a message (not shown); the caller owns it.
  TbsMessageForm* CreateSkinMessageForm(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                        Integer ALeft, Integer ATop);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TbsSkinData* FSD = nullptr;
  TbsSkinData* FCtrlSkinData = nullptr;
  std::string FButtonSkinDataName = "button";
  std::string FMessageLabelSkinDataName = "stdlabel";
  std::unique_ptr<TFont> FDefaultFont;
  std::unique_ptr<TFont> FDefaultButtonFont;
  bool FAlphaBlend = false;
  bool FAlphaBlendAnimation = false;
  Byte FAlphaBlendValue = 200;
  bool FUseSkinFont = true;
  bool FShowAgainFlag = false;
  bool FShowAgainFlagValue = false;
};

// The look settings of a skinned input box: skins, part names, fonts and alpha blending. It
// only holds them; nothing shows a box from it.
//
// Ownership: the component owns its three fonts; the setters copy into them.
class TbsSkinInputDialog : public TComponent {
 public:
  explicit TbsSkinInputDialog(TComponent* AOwner);
  ~TbsSkinInputDialog() override;

  TbsSkinData* GetSkinData() const { return FSD; }
  void SetSkinData(TbsSkinData* Value);
  TbsSkinData* GetCtrlSkinData() const { return FCtrlSkinData; }
  void SetCtrlSkinData(TbsSkinData* Value);
  const std::string& GetButtonSkinDataName() const { return FButtonSkinDataName; }
  void SetButtonSkinDataName(const std::string& Value) { FButtonSkinDataName = Value; }
  const std::string& GetEditSkinDataName() const { return FEditSkinDataName; }
  void SetEditSkinDataName(const std::string& Value) { FEditSkinDataName = Value; }
  const std::string& GetLabelSkinDataName() const { return FLabelSkinDataName; }
  void SetLabelSkinDataName(const std::string& Value) { FLabelSkinDataName = Value; }
  TFont* GetDefaultLabelFont() const { return FDefaultLabelFont.get(); }
  void SetDefaultLabelFont(TFont* Value) { FDefaultLabelFont->Assign(Value); }
  TFont* GetDefaultEditFont() const { return FDefaultEditFont.get(); }
  void SetDefaultEditFont(TFont* Value) { FDefaultEditFont->Assign(Value); }
  TFont* GetDefaultButtonFont() const { return FDefaultButtonFont.get(); }
  void SetDefaultButtonFont(TFont* Value) { FDefaultButtonFont->Assign(Value); }
  bool GetAlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
  Byte GetAlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(Byte Value) { FAlphaBlendValue = Value; }
  bool GetAlphaBlendAnimation() const { return FAlphaBlendAnimation; }
  void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
  bool GetUseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TbsSkinData* FSD = nullptr;
  TbsSkinData* FCtrlSkinData = nullptr;
  std::string FButtonSkinDataName = "button";
  std::string FEditSkinDataName = "edit";
  std::string FLabelSkinDataName = "stdlabel";
  std::unique_ptr<TFont> FDefaultLabelFont;
  std::unique_ptr<TFont> FDefaultEditFont;
  std::unique_ptr<TFont> FDefaultButtonFont;
  bool FAlphaBlend = false;
  Byte FAlphaBlendValue = 200;
  bool FAlphaBlendAnimation = false;
  bool FUseSkinFont = true;
};
