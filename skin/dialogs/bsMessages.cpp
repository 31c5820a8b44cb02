#include "skin/dialogs/bsMessages.h"

#include <algorithm>

#include "platform/classes/Application.h"
#include "platform/system/ScopeExit.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/form/SkinForm.h"

namespace {

struct TButtonEntry {
  const char* Name;
  const char* Caption;
  TModalResult Result;
};

// In the order of TMsgDlgBtn.
constexpr TButtonEntry ButtonTable[] = {
    {"Yes", "&Yes", mrYes},
    {"No", "&No", mrNo},
    {"OK", "OK", mrOk},
    {"Cancel", "Cancel", mrCancel},
    {"Abort", "&Abort", mrAbort},
    {"Retry", "&Retry", mrRetry},
    {"Ignore", "&Ignore", mrIgnore},
    {"All", "&All", mrAll},
    {"NoToAll", "N&oToAll", mrNoToAll},
    {"YesToAll", "&YesToAll", mrYesToAll},
    {"Help", "&Help", mrNone},
};

constexpr const char* TypeCaptions[] = {"Warning", "Error", "Information", "Confirm"};

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

  Form->SetCaption(DlgType == mtCustom ? Application->GetTitle() : TypeCaptions[DlgType]);

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
    const std::string Caption = "Do not display this message again";
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
    Button->SetCaption(E.Caption);
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
