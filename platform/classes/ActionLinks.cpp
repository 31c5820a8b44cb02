// Action links: how controls, check boxes and menu items follow their action.
#include <algorithm>

#include "platform/classes/ActnList.h"
#include "platform/classes/StdCtrls.h"

// ---- TBasicActionLink -------------------------------------------------------------------------

TBasicActionLink::~TBasicActionLink() {
  SetAction(nullptr);
}

void TBasicActionLink::SetAction(TBasicAction* Value) {
  if (Value == FAction) return;
  if (FAction != nullptr) {
    auto& Clients = FAction->FClients;
    Clients.erase(std::remove(Clients.begin(), Clients.end(), this), Clients.end());
  }
  FAction = Value;
  if (FAction != nullptr) FAction->FClients.push_back(this);
}

bool TBasicActionLink::Execute(TComponent* AComponent) {
  if (FAction == nullptr) return false;
  TBasicAction* Action = FAction;
  Action->SetActionComponent(AComponent);
  // The handler may unlink the client or free the action.
  bool Result = false;
  try {
    Result = Action->Execute();
  } catch (...) {
    if (FAction == Action) Action->SetActionComponent(nullptr);
    throw;
  }
  if (FAction == Action) Action->SetActionComponent(nullptr);
  return Result;
}

bool TBasicActionLink::Update() {
  return FAction != nullptr && FAction->Update();
}

TCustomAction* TBasicActionLink::CustomAction() const {
  return dynamic_cast<TCustomAction*>(FAction);
}

// ---- Controls ---------------------------------------------------------------------------------

bool TControlActionLink::IsCaptionLinked() {
  return IsCustomAction() && FClient->GetCaption() == CustomAction()->GetCaption();
}

bool TControlActionLink::IsEnabledLinked() {
  return IsCustomAction() && FClient->GetEnabled() == CustomAction()->GetEnabled();
}

bool TControlActionLink::IsHintLinked() {
  return IsCustomAction() && FClient->GetHint() == CustomAction()->GetHint();
}

bool TControlActionLink::IsVisibleLinked() {
  return IsCustomAction() && FClient->GetVisible() == CustomAction()->GetVisible();
}

bool TControlActionLink::IsOnExecuteLinked() {
  return FAction != nullptr && FClient->OnClick == FAction->OnExecute;
}

void TControlActionLink::SetCaption(const std::string& Value) {
  if (IsCaptionLinked()) FClient->SetCaption(Value);
}

void TControlActionLink::SetEnabled(bool Value) {
  if (IsEnabledLinked()) FClient->SetEnabled(Value);
}

void TControlActionLink::SetHint(const std::string& Value) {
  if (IsHintLinked()) FClient->SetHint(Value);
}

void TControlActionLink::SetVisible(bool Value) {
  if (IsVisibleLinked()) FClient->SetVisible(Value);
}

void TControlActionLink::SetOnExecute(const TNotifyEvent& Value) {
  if (IsOnExecuteLinked()) FClient->OnClick = Value;
}

TButtonActionLink::TButtonActionLink(TButtonControl* AClient) : TControlActionLink(AClient) {}

TButtonControl* TButtonActionLink::ButtonClient() const {
  return static_cast<TButtonControl*>(FClient);
}

bool TButtonActionLink::IsCheckedLinked() {
  return IsCustomAction() && ButtonClient()->GetChecked() == CustomAction()->GetChecked();
}

void TButtonActionLink::SetChecked(bool Value) {
  if (IsCheckedLinked()) ButtonClient()->SetCheckedSilently(Value);
}

// ---- Menu items -------------------------------------------------------------------------------

bool TMenuActionLink::IsCaptionLinked() {
  return IsCustomAction() && FClient->GetCaption() == CustomAction()->GetCaption();
}

bool TMenuActionLink::IsCheckedLinked() {
  return IsCustomAction() && FClient->GetChecked() == CustomAction()->GetChecked();
}

bool TMenuActionLink::IsEnabledLinked() {
  return IsCustomAction() && FClient->GetEnabled() == CustomAction()->GetEnabled();
}

bool TMenuActionLink::IsHintLinked() {
  return IsCustomAction() && FClient->GetHint() == CustomAction()->GetHint();
}

bool TMenuActionLink::IsImageIndexLinked() {
  return IsCustomAction() && FClient->GetImageIndex() == CustomAction()->GetImageIndex();
}

bool TMenuActionLink::IsShortCutLinked() {
  return IsCustomAction() && FClient->GetShortCut() == CustomAction()->GetShortCut();
}

bool TMenuActionLink::IsVisibleLinked() {
  return IsCustomAction() && FClient->GetVisible() == CustomAction()->GetVisible();
}

bool TMenuActionLink::IsAutoCheckLinked() {
  return IsCustomAction() && FClient->GetAutoCheck() == CustomAction()->GetAutoCheck();
}

bool TMenuActionLink::IsOnExecuteLinked() {
  return FAction != nullptr && FClient->OnClick == FAction->OnExecute;
}

void TMenuActionLink::SetCaption(const std::string& Value) {
  if (IsCaptionLinked()) FClient->SetCaption(Value);
}

void TMenuActionLink::SetChecked(bool Value) {
  if (IsCheckedLinked()) FClient->SetChecked(Value);
}

void TMenuActionLink::SetEnabled(bool Value) {
  if (IsEnabledLinked()) FClient->SetEnabled(Value);
}

void TMenuActionLink::SetHint(const std::string& Value) {
  if (IsHintLinked()) FClient->SetHint(Value);
}

void TMenuActionLink::SetImageIndex(Integer Value) {
  if (IsImageIndexLinked()) FClient->SetImageIndex(Value);
}

void TMenuActionLink::SetShortCut(TShortCut Value) {
  if (IsShortCutLinked()) FClient->SetShortCut(Value);
}

void TMenuActionLink::SetVisible(bool Value) {
  if (IsVisibleLinked()) FClient->SetVisible(Value);
}

void TMenuActionLink::SetAutoCheck(bool Value) {
  if (IsAutoCheckLinked()) FClient->SetAutoCheck(Value);
}

void TMenuActionLink::SetOnExecute(const TNotifyEvent& Value) {
  if (IsOnExecuteLinked()) FClient->OnClick = Value;
}
