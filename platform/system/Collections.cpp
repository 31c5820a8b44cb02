#include "platform/system/Collections.h"

#include "platform/system/Exceptions.h"
#include "platform/system/ScopeExit.h"

// ------------------------------------------------------------------------ TCollectionItem

TCollectionItem::TCollectionItem(TCollection* Collection) {
  if (Collection != nullptr) Collection->InsertItem(this);
}

TCollectionItem::~TCollectionItem() {
  if (FCollection != nullptr) FCollection->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* Value) {
  if (FCollection == Value) return;
  if (FCollection != nullptr) FCollection->RemoveItem(this);
  if (Value != nullptr) Value->InsertItem(this);
}

Integer TCollectionItem::GetIndex() const {
  return FCollection != nullptr ? FCollection->FItems.IndexOf(const_cast<TCollectionItem*>(this)) : -1;
}

void TCollectionItem::SetIndex(Integer Value) {
  const Integer Current = GetIndex();
  if (Current < 0 || Current == Value) return;
  FCollection->FItems.Move(Current, Value);
  Changed(true);
}

std::string TCollectionItem::GetDisplayName() const {
  return ClassName();
}

void TCollectionItem::SetDisplayName(const std::string&) {
  Changed(false);
}

void TCollectionItem::Changed(bool AllItems) {
  if (FCollection != nullptr && FCollection->FUpdateCount == 0)
    FCollection->Update(AllItems ? nullptr : this);
}

TPersistent* TCollectionItem::GetOwner() {
  return FCollection;
}

// ---------------------------------------------------------------------------- TCollection

TCollection::TCollection(TCollectionItemClass ItemClass) : FItemClass(ItemClass) {}

TCollection::~TCollection() {
  // No updates while the items go: whoever listens is going away with us.
  FUpdateCount = 1;
  Clear();
}

void TCollection::InsertItem(TCollectionItem* Item) {
  FItems.Add(Item);
  Item->FCollection = this;
  Item->FID = FNextID++;
  if (FAdding == 0) Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item) {
  if (FItems.GetCount() > 0 && FItems.Last() == Item)
    FItems.Delete(FItems.GetCount() - 1);
  else
    FItems.Remove(Item);
  Item->FCollection = nullptr;
  Changed();
}

TCollectionItem* TCollection::Add() {
  TCollectionItem* Item;
  ++FAdding;
  {
    auto Cleanup = ScopeExit([&] { --FAdding; });
    Item = FItemClass(this);
  }
  Changed();
  return Item;
}

TCollectionItem* TCollection::Insert(Integer Index) {
  if (Index < 0 || Index > GetCount()) TList::Error(SListIndexError, Index);
  TCollectionItem* Item = Add();
  Item->SetIndex(Index);
  return Item;
}

void TCollection::Delete(Integer Index) {
  delete GetItem(Index);
}

void TCollection::Clear() {
  if (GetCount() == 0) return;
  BeginUpdate();
  while (GetCount() > 0) delete static_cast<TCollectionItem*>(FItems.Last());
  EndUpdate();
}

TCollectionItem* TCollection::GetItem(Integer Index) const {
  return static_cast<TCollectionItem*>(FItems.Get(Index));
}

void TCollection::SetItem(Integer Index, TCollectionItem* Value) {
  GetItem(Index)->Assign(Value);
}

TCollectionItem* TCollection::FindItemID(Integer ID) const {
  for (Integer I = 0; I < GetCount(); ++I) {
    TCollectionItem* Item = GetItem(I);
    if (Item->FID == ID) return Item;
  }
  return nullptr;
}

void TCollection::BeginUpdate() {
  ++FUpdateCount;
}

void TCollection::EndUpdate() {
  // An EndUpdate without its BeginUpdate must not hold updates back for good.
  if (FUpdateCount > 0) --FUpdateCount;
  Changed();
}

void TCollection::Changed() {
  if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::Update(TCollectionItem*) {}

void TCollection::Assign(TPersistent* Source) {
  auto* Other = dynamic_cast<TCollection*>(Source);
  if (Other == nullptr) {
    TPersistent::Assign(Source);
    return;
  }
  // Clearing first would empty the source too.
  if (Other == this) return;
  BeginUpdate();
  auto Cleanup = ScopeExit([&] { EndUpdate(); });
  Clear();
  for (Integer I = 0; I < Other->GetCount(); ++I) Add()->Assign(Other->GetItem(I));
}
