#include "platform/system/Component.h"

#include <algorithm>

#include "platform/system/Exceptions.h"
#include "platform/system/Format.h"
#include "platform/system/ListTypes.h"
#include "platform/system/Strings.h"

namespace {

// A Pascal identifier: a letter or '_', then letters, digits and '_' (ASCII only).
bool IsValidIdent(std::string_view S) {
  auto Alpha = [](char C) { return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || C == '_'; };
  if (S.empty() || !Alpha(S[0])) return false;
  return std::all_of(S.begin() + 1, S.end(), [&](char C) { return Alpha(C) || (C >= '0' && C <= '9'); });
}

void EraseOne(std::vector<TComponent*>& List, TComponent* Item) {
  auto It = std::find(List.begin(), List.end(), Item);
  if (It != List.end()) List.erase(It);
}

}  // namespace

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner != nullptr) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  RemoveFreeNotifications();
  DestroyComponents();
  if (FOwner != nullptr) FOwner->RemoveComponent(this);
  // A partner may have linked itself while the owned components went.
  RemoveFreeNotifications();
}

TComponent* TComponent::GetComponent(Integer Index) const {
  if (Index < 0 || Index >= GetComponentCount()) throw EListError(Format(SListIndexError, {Index}));
  return FComponents[static_cast<std::size_t>(Index)];
}

Integer TComponent::GetComponentIndex() const {
  if (FOwner == nullptr) return -1;
  const auto& Siblings = FOwner->FComponents;
  auto It = std::find(Siblings.begin(), Siblings.end(), this);
  return It == Siblings.end() ? -1 : static_cast<Integer>(It - Siblings.begin());
}

void TComponent::SetComponentIndex(Integer Value) {
  const Integer Current = GetComponentIndex();
  if (Current < 0) return;
  auto& Siblings = FOwner->FComponents;
  Value = std::clamp(Value, 0, static_cast<Integer>(Siblings.size()) - 1);
  if (Value == Current) return;
  Siblings.erase(Siblings.begin() + Current);
  Siblings.insert(Siblings.begin() + Value, this);
}

void TComponent::SetName(const std::string& NewName) {
  if (FName == NewName) return;
  if (!NewName.empty() && !IsValidIdent(NewName))
    throw EComponentError(Format("'%s' is not a valid component name", {NewName}));
  if (FOwner != nullptr) FOwner->ValidateRename(this, FName, NewName);
  FName = NewName;
}

void TComponent::ValidateRename(TComponent* AComponent, const std::string& CurName,
                                const std::string& NewName) {
  if (AComponent == nullptr || SameText(CurName, NewName)) return;
  TComponent* Other = FindComponent(NewName);
  if (Other != nullptr && Other != AComponent)
    throw EComponentError(Format("A component named %s already exists", {NewName}));
}

TComponent* TComponent::FindComponent(std::string_view AName) const {
  if (AName.empty()) return nullptr;
  for (TComponent* C : FComponents)
    if (SameText(C->FName, AName)) return C;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (AComponent == nullptr || AComponent->FOwner == this) return;
  for (const TComponent* P = this; P != nullptr; P = P->FOwner)
    if (P == AComponent) throw EComponentError("A component cannot own itself or one of its owners");
  // Checked before anything moves, so a refused insert leaves both owners as they were.
  ValidateRename(AComponent, std::string(), AComponent->FName);
  if (AComponent->FOwner != nullptr) AComponent->FOwner->RemoveComponent(AComponent);
  Insert(AComponent);
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  if (AComponent == nullptr || AComponent->FOwner != this) return;
  Notification(AComponent, opRemove);
  Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent) {
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent) {
  EraseOne(FComponents, AComponent);
  AComponent->FOwner = nullptr;
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent != nullptr) RemoveFreeNotification(AComponent);
  // I is one past the next component to tell; a handler may take components out meanwhile.
  std::size_t I = FComponents.size();
  while (I > 0) {
    --I;
    FComponents[I]->Notification(AComponent, Operation);
    I = std::min(I, FComponents.size());
  }
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (AComponent == nullptr) return;
  if (AComponent != this && (FOwner == nullptr || AComponent->FOwner != FOwner) &&
      std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end()) {
    FFreeNotifies.push_back(AComponent);
    AComponent->FreeNotification(this);
  }
  FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  if (AComponent == nullptr) return;
  RemoveNotification(AComponent);
  AComponent->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* AComponent) {
  EraseOne(FFreeNotifies, AComponent);
}

void TComponent::RemoveFreeNotifications() {
  // The link goes before the partner hears of it, so a Notification override that skips the
  // inherited one cannot keep this loop going.
  while (!FFreeNotifies.empty()) {
    TComponent* Partner = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    Partner->RemoveNotification(this);
    Partner->Notification(this, opRemove);
  }
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    TComponent* Instance = FComponents.back();
    // Only components someone watches are announced; the rest go quietly.
    if (Instance->FComponentState.Contains(csFreeNotification) ||
        (FComponentState.Contains(csDesigning) && FComponentState.Contains(csInline)))
      RemoveComponent(Instance);
    else
      Remove(Instance);
    delete Instance;
  }
}

void TComponent::Destroying() {
  if (FComponentState.Contains(csDestroying)) return;
  FComponentState.Include(csDestroying);
  for (TComponent* C : FComponents) C->Destroying();
}

void TComponent::Loaded() {
  FComponentState.Exclude(csLoading);
}

void TComponent::SetLoading(TComponent* AComponent, bool Value) {
  if (Value)
    AComponent->FComponentState.Include(csLoading);
  else
    AComponent->FComponentState.Exclude(csLoading);
}

void TComponent::LoadedAll(TComponent* Root) {
  if (Root == nullptr) return;
  std::vector<TComponent*> Loading;
  if (Root->FComponentState.Contains(csLoading)) Loading.push_back(Root);
  for (TComponent* C : Root->FComponents)
    if (C->FComponentState.Contains(csLoading)) Loading.push_back(C);
  for (TComponent* C : Loading) {
    // A Loaded handler may free a sibling; call only components Root still owns.
    const auto& Owned = Root->FComponents;
    if (C != Root && std::find(Owned.begin(), Owned.end(), C) == Owned.end()) continue;
    C->Loaded();
  }
}
