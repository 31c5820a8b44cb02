#include "skin/dialogs/bsMessages.h"

#include <algorithm>

#include "platform/classes/Application.h"
#include "platform/classes/ExtCtrls.h"
#include "platform/classes/Icon.h"
#include "platform/system/ScopeExit.h"
#include "platform/user/Cursors.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/dialogs/bsDialogTexts.h"
#include "skin/form/SkinForm.h"

namespace {

struct TButtonEntry {
  const char* Name;
  const char* Key;
  const char* Caption;
  TModalResult Result;
};

// In the order of TMsgDlgBtn.
constexpr TButtonEntry ButtonTable[] = {
    {"Yes", "MSG_BTN_YES", "&Yes", mrYes},
    {"No", "MSG_BTN_NO", "&No", mrNo},
    {"OK", "MSG_BTN_OK", "OK", mrOk},
    {"Cancel", "MSG_BTN_CANCEL", "Cancel", mrCancel},
    {"Abort", "MSG_BTN_ABORT", "&Abort", mrAbort},
    {"Retry", "MSG_BTN_RETRY", "&Retry", mrRetry},
    {"Ignore", "MSG_BTN_IGNORE", "&Ignore", mrIgnore},
    {"All", "MSG_BTN_ALL", "&All", mrAll},
    {"NoToAll", "MSG_BTN_NOTOALL", "N&oToAll", mrNoToAll},
    {"YesToAll", "MSG_BTN_YESTOALL", "&YesToAll", mrYesToAll},
    {"Help", "MSG_BTN_HELP", "&Help", mrNone},
};

struct TTypeEntry {
  const char* Key;
  const char* Caption;
  LPCSTR Icon;
};
// In the order of TMsgDlgType (mtCustom has neither).
const TTypeEntry TypeTable[] = {
    {"MSG_CAP_WARNING", "Warning", IDI_EXCLAMATION},
    {"MSG_CAP_ERROR", "Error", IDI_HAND},
    {"MSG_CAP_INFORMATION", "Information", IDI_ASTERISK},
    {"MSG_CAP_CONFIRM", "Confirm", IDI_QUESTION},
};

constexpr Integer ButtonWidth = 70;
constexpr Integer ButtonGap = 10;

}  // namespace

// ---- TbsMessageForm -------------------------------------------------------------------------

TbsMessageForm::TbsMessageForm(TComponent* AOwner, Integer ALeft, Integer ATop) : TForm(AOwner) {
  SetBorderStyle(bsDialog);
  SetKeyPreview(true);
  if (ALeft < -10000) {
    SetPosition(poScreenCenter);
  } else {
    SetPosition(poDesigned);
    SetLeft(ALeft);
    SetTop(ATop);
  }
  BSF = new TbsSkinForm(this);
  BSF->SetBorderIcons({});
}

void TbsMessageForm::HelpClick(TObject*) {
  // The platform's help system has no viewer here; the context is kept for one.
  (void)HelpContext;
}

// ---- TbsSkinMessage -------------------------------------------------------------------------

TbsSkinMessage::TbsSkinMessage(TComponent* AOwner)
    : TComponent(AOwner),
      FDefaultFont(std::make_unique<TFont>()),
      FDefaultButtonFont(std::make_unique<TFont>()) {
  for (TFont* F : {FDefaultFont.get(), FDefaultButtonFont.get()}) {
    F->SetName("Arial");
    F->SetHeight(14);
    F->SetStyle({});
  }
}

TbsSkinMessage::~TbsSkinMessage() = default;

void TbsSkinMessage::SetSkinData(TbsSkinData* Value) {
  FSD = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsSkinMessage::SetCtrlSkinData(TbsSkinData* Value) {
  FCtrlSkinData = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsSkinMessage::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FCtrlSkinData) FCtrlSkinData = nullptr;
}

TbsMessageForm* TbsSkinMessage::CreateSkinMessageForm(const std::string& Msg, TMsgDlgType DlgType,
                                                      TMsgDlgButtons Buttons, Integer ALeft, Integer ATop) {
  auto* Form = new TbsMessageForm(Application, ALeft, ATop);
  auto Undo = ScopeExit([Form] { delete Form; });
  Form->BSF->SetSkinData(FSD);
  Form->BSF->SetMenusSkinData(FCtrlSkinData);
  Form->BSF->SetAlphaBlend(FAlphaBlend);
  Form->BSF->SetAlphaBlendAnimation(FAlphaBlendAnimation);
  Form->BSF->SetAlphaBlendValue(FAlphaBlendValue);

  // The height of the skin's button part decides the button height when it has one.
  Integer ButtonHeight = 25;
  if (FCtrlSkinData != nullptr && !FCtrlSkinData->Empty) {
    const Integer I = FCtrlSkinData->FindControlPart(FButtonSkinDataName);
    if (I != -1)
      if (auto* P = dynamic_cast<TbsDataSkinCustomControl*>(
              FCtrlSkinData->SkinControls[static_cast<std::size_t>(I)].get()))
        ButtonHeight = P->SkinRect.Height();
  }
  Integer Count = 0;
  for (Integer B = mbYes; B <= mbHelp; ++B)
    if (Buttons.Contains(static_cast<TMsgDlgBtn>(B))) ++Count;
  const Integer RowWidth = Count == 0 ? 0 : Count * ButtonWidth + (Count - 1) * ButtonGap;

  Form->SetCaption(DlgType == mtCustom
                       ? Application->GetTitle()
                       : bsDialogText(FCtrlSkinData, TypeTable[DlgType].Key, TypeTable[DlgType].Caption));

  auto* Label = new TbsSkinStdLabel(Form);
  Label->SetName("Message");
  Label->SetParent(Form);
  Label->SetFont(FDefaultFont.get());
  Label->SetDefaultFont(FDefaultFont.get());
  Label->SetUseSkinFont(FUseSkinFont);
  Label->SetSkinDataName(FMessageLabelSkinDataName);
  Label->SetSkinData(FCtrlSkinData);
  Label->SetAutoSize(true);
  Label->SetCaption(Msg);
  Label->SetLeft(50);
  Label->SetTop(15);
  Form->Message = Label;

  auto* Icon = new TImage(Form);
  Icon->SetName("Image");
  Icon->SetParent(Form);
  if (DlgType != mtCustom) {
    TIcon Picture;
    Picture.SetHandle(LoadIcon(nullptr, TypeTable[DlgType].Icon));
    Icon->GetPicture()->SetIcon(&Picture);
  }
  Icon->SetBounds(5, std::max(10, Label->GetTop() + Label->GetHeight() / 2 - 16), 32, 32);
  Form->Image = Icon;

  Form->SetClientHeight(ButtonHeight + Label->GetHeight() + 50);
  Form->SetClientWidth(std::max(RowWidth, Label->GetLeft() + Label->GetWidth()) + 40);

  if (FShowAgainFlag) {
    Form->SetClientHeight(Form->GetClientHeight() + 40);
    auto* Box = new TbsSkinCheckRadioBox(Form);
    Box->SetName("checkbox");
    Box->SetDefaultHeight(30);
    Box->SetChecked(!FShowAgainFlagValue);
    Box->SetParent(Form);
    Box->SetDefaultFont(FDefaultFont.get());
    Box->SetUseSkinFont(FUseSkinFont);
    Box->SetSkinData(FCtrlSkinData);
    const Integer Top = Form->GetClientHeight() - ButtonHeight - 50;
    const std::string Caption =
        bsDialogText(FCtrlSkinData, "MSG_CAP_SHOWFLAG", "Do not display this message again");
    Box->SetCaption(Caption);
    TCanvas* C = Form->GetCanvas();
    C->SetFont(FDefaultFont.get());
    const Integer W = C->TextWidth(Caption);
    if (Form->GetClientWidth() < W + 60) Form->SetClientWidth(W + 60);
    Box->SetBounds(5, Top, W + 55, Box->GetDefaultHeight());
    Form->CheckBox = Box;
  }

  if (Form->BSF->GetMaxWidth() < Form->GetWidth())
    Form->SetWidth(Form->BSF->GetMaxWidth());
  else if (Form->BSF->GetMinWidth() > Form->GetWidth())
    Form->SetWidth(Form->BSF->GetMinWidth());

  const Integer DefaultIndex = Buttons.Contains(mbOK) ? mbOK : Buttons.Contains(mbYes) ? mbYes : mbRetry;
  const Integer CancelIndex = Buttons.Contains(mbCancel) ? mbCancel : Buttons.Contains(mbNo) ? mbNo : mbOK;
  Integer X = (Form->GetClientWidth() - RowWidth) / 2;
  TbsSkinButton* First = nullptr;
  TbsSkinButton* DefaultButton = nullptr;
  for (Integer B = mbYes; B <= mbHelp; ++B) {
    if (!Buttons.Contains(static_cast<TMsgDlgBtn>(B))) continue;
    const TButtonEntry& E = ButtonTable[B];
    auto* Button = new TbsSkinButton(Form);
    Button->SetName(E.Name);
    Button->SetCanFocused(true);
    Button->SetParent(Form);
    Button->SetCaption(bsDialogText(FCtrlSkinData, E.Key, E.Caption));
    Button->SetModalResult(E.Result);
    if (B == DefaultIndex) Button->SetDefault(true);
    if (B == CancelIndex) Button->SetCancel(true);
    Button->SetDefaultHeight(ButtonHeight);
    Button->SetBounds(X, Form->GetClientHeight() - ButtonHeight - 10, ButtonWidth, ButtonHeight);
    Button->SetDefaultFont(FDefaultButtonFont.get());
    Button->SetUseSkinFont(FUseSkinFont);
    if (B == mbHelp) Button->OnClick = TNotifyEvent(Form, &TbsMessageForm::HelpClick);
    Button->SetSkinDataName(FButtonSkinDataName);
    Button->SetSkinData(FCtrlSkinData);
    if (First == nullptr) First = Button;
    if (B == DefaultIndex) DefaultButton = Button;
    X += ButtonWidth + ButtonGap;
  }
  // Keys go to the default button first, as in the platform's own message box.
  if (TbsSkinButton* Focus = DefaultButton != nullptr ? DefaultButton : First) Form->SetActiveControl(Focus);
  Undo.Release();
  return Form;
}

Integer TbsSkinMessage::MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                   Integer HelpCtx) {
  TbsMessageForm* Form = CreateSkinMessageForm(Msg, DlgType, Buttons, -10001, -10001);
  Form->HelpContext = HelpCtx;
  auto Free = ScopeExit([this, Form] {
    if (Form->CheckBox != nullptr) FShowAgainFlagValue = !Form->CheckBox->GetChecked();
    delete Form;
  });
  return Form->ShowModal();
}

// ---- TbsSkinInputDialog ---------------------------------------------------------------------

TbsSkinInputDialog::TbsSkinInputDialog(TComponent* AOwner)
    : TComponent(AOwner),
      FDefaultLabelFont(std::make_unique<TFont>()),
      FDefaultEditFont(std::make_unique<TFont>()),
      FDefaultButtonFont(std::make_unique<TFont>()) {
  for (TFont* F : {FDefaultLabelFont.get(), FDefaultEditFont.get(), FDefaultButtonFont.get()}) {
    F->SetName("Arial");
    F->SetHeight(14);
    F->SetStyle({});
  }
}

TbsSkinInputDialog::~TbsSkinInputDialog() = default;

void TbsSkinInputDialog::SetSkinData(TbsSkinData* Value) {
  FSD = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsSkinInputDialog::SetCtrlSkinData(TbsSkinData* Value) {
  FCtrlSkinData = Value;
  if (Value != nullptr) Value->FreeNotification(this);
}

void TbsSkinInputDialog::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FCtrlSkinData) FCtrlSkinData = nullptr;
}
