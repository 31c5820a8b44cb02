// The client side of actions: controls, check boxes and menu items.
#include "platform/classes/ActnList.h"
#include "platform/classes/StdCtrls.h"
#include "platform/system/ScopeExit.h"

namespace {
// Taking an action while it loads keeps what the client set itself.
bool LoadingDefaults(TBasicAction* Action) {
  return Action->GetComponentState().Contains(csLoading);
}
}  // namespace

// ---- TControl ---------------------------------------------------------------------------------

TBasicAction* TControl::GetAction() const {
  return FActionLink != nullptr ? FActionLink->GetAction() : nullptr;
}

void TControl::SetAction(TBasicAction* Value) {
  if (Value == nullptr) {
    FActionLink.reset();
    FControlStyle.Exclude(csActionClient);
    return;
  }
  FControlStyle.Include(csActionClient);
  if (FActionLink == nullptr) FActionLink = CreateActionLink();
  FActionLink->SetAction(Value);
  ActionChange(Value, LoadingDefaults(Value));
}

std::unique_ptr<TControlActionLink> TControl::CreateActionLink() {
  return std::make_unique<TControlActionLink>(this);
}

void TControl::ActionChange(TObject* Sender, bool CheckDefaults) {
  auto* Action = dynamic_cast<TCustomAction*>(Sender);
  if (Action == nullptr) return;
  if (!CheckDefaults || GetCaption().empty() || GetCaption() == GetName()) SetCaption(Action->GetCaption());
  if (!CheckDefaults || GetEnabled()) SetEnabled(Action->GetEnabled());
  if (!CheckDefaults || GetHint().empty()) SetHint(Action->GetHint());
  if (!CheckDefaults || GetVisible()) SetVisible(Action->GetVisible());
  if (!CheckDefaults || !OnClick) OnClick = Action->OnExecute;
}

void TControl::InitiateAction() {
  if (FActionLink != nullptr) FActionLink->Update();
}

bool TControl::ExecuteAction(TBasicAction* Action) {
  if (!Action->HandlesTarget(this)) return false;
  Action->ExecuteTarget(this);
  return true;
}

bool TControl::UpdateAction(TBasicAction* Action) {
  if (!Action->HandlesTarget(this)) return false;
  Action->UpdateTarget(this);
  return true;
}

void TControl::Click() {
  TBasicAction* Action = GetAction();
  // A handler of its own runs instead of the action; the action's handler runs as the action.
  if (OnClick && Action != nullptr && !(OnClick == Action->OnExecute))
    OnClick(this);
  else if (Action != nullptr)
    FActionLink->Execute(this);
  else if (OnClick)
    OnClick(this);
}

// ---- TButtonControl ---------------------------------------------------------------------------

void TButtonControl::SetCheckedSilently(bool Value) {
  const bool Old = FClicksDisabled;
  FClicksDisabled = true;
  auto Restore = ScopeExit([&] { FClicksDisabled = Old; });
  SetChecked(Value);
}

void TButtonControl::ActionChange(TObject* Sender, bool CheckDefaults) {
  TWinControl::ActionChange(Sender, CheckDefaults);
  auto* Action = dynamic_cast<TCustomAction*>(Sender);
  if (Action != nullptr && (!CheckDefaults || !GetChecked())) SetCheckedSilently(Action->GetChecked());
}

std::unique_ptr<TControlActionLink> TButtonControl::CreateActionLink() {
  return std::make_unique<TButtonActionLink>(this);
}

// ---- TMenuItem --------------------------------------------------------------------------------

TBasicAction* TMenuItem::GetAction() const {
  return FActionLink != nullptr ? FActionLink->GetAction() : nullptr;
}

void TMenuItem::SetAction(TBasicAction* Value) {
  if (Value == nullptr) {
    FActionLink.reset();
    return;
  }
  if (FActionLink == nullptr) FActionLink = std::make_unique<TMenuActionLink>(this);
  FActionLink->SetAction(Value);
  ActionChange(Value, LoadingDefaults(Value));
}

void TMenuItem::ActionChange(TObject* Sender, bool CheckDefaults) {
  auto* Action = dynamic_cast<TCustomAction*>(Sender);
  if (Action == nullptr) return;
  if (!CheckDefaults || !FAutoCheck) SetAutoCheck(Action->GetAutoCheck());
  if (!CheckDefaults || FCaption.empty()) SetCaption(Action->GetCaption());
  if (!CheckDefaults || !FChecked) SetChecked(Action->GetChecked());
  if (!CheckDefaults || FEnabled) SetEnabled(Action->GetEnabled());
  if (!CheckDefaults || FHint.empty()) SetHint(Action->GetHint());
  if (!CheckDefaults || FImageIndex == -1) SetImageIndex(Action->GetImageIndex());
  if (!CheckDefaults || FShortCut == scNone) SetShortCut(Action->GetShortCut());
  if (!CheckDefaults || FVisible) SetVisible(Action->GetVisible());
  if (!CheckDefaults || !OnClick) OnClick = Action->OnExecute;
}

void TMenuItem::InitiateAction() {
  if (FActionLink != nullptr) FActionLink->Update();
}
