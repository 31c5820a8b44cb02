#include "platform/system/Lists.h"

#include <algorithm>

#include "platform/system/Exceptions.h"
#include "platform/system/Format.h"

namespace {

constexpr Integer MaxListSize = 0x7FFFFFFF / 16;

// Hoare partition around the middle item, recursing into the left part and looping on the
// right, as the platform sorts.
void QuickSort(void** List, Integer L, Integer R, TListSortCompare Compare) {
  Integer I;
  do {
    I = L;
    Integer J = R;
    void* P = List[(L + R) >> 1];
    do {
      while (Compare(List[I], P) < 0) ++I;
      while (Compare(List[J], P) > 0) --J;
      if (I <= J) {
        std::swap(List[I], List[J]);
        ++I;
        --J;
      }
    } while (I <= J);
    if (L < J) QuickSort(List, L, J, Compare);
    L = I;
  } while (I < R);
}

}  // namespace

// ---------------------------------------------------------------------------------- TList

TList::~TList() {
  Clear();
}

void TList::Error(const char* Msg, NativeInt Data) {
  throw EListError(Format(Msg, {Data}));
}

void TList::CheckIndex(Integer Index) const {
  if (Index < 0 || Index >= FCount) Error(SListIndexError, Index);
}

void TList::Grow() {
  const Integer Capacity = GetCapacity();
  const Integer Delta = Capacity > 64 ? Capacity / 4 : (Capacity > 8 ? 16 : 4);
  SetCapacity(Capacity + Delta);
}

void TList::SetCapacity(Integer NewCapacity) {
  if (NewCapacity < FCount || NewCapacity > MaxListSize) Error(SListCapacityError, NewCapacity);
  FItems.resize(static_cast<std::size_t>(NewCapacity));
}

void TList::SetCount(Integer NewCount) {
  if (NewCount < 0 || NewCount > MaxListSize) Error(SListCountError, NewCount);
  if (NewCount > GetCapacity()) SetCapacity(NewCount);
  if (NewCount > FCount) {
    std::fill(FItems.begin() + FCount, FItems.begin() + NewCount, nullptr);
    FCount = NewCount;
  } else {
    for (Integer I = FCount - 1; I >= NewCount; --I) Delete(I);
  }
}

Integer TList::Add(void* Item) {
  const Integer Result = FCount;
  if (Result == GetCapacity()) Grow();
  FItems[static_cast<std::size_t>(Result)] = Item;
  ++FCount;
  if (Item != nullptr) Notify(Item, lnAdded);
  return Result;
}

void TList::Insert(Integer Index, void* Item) {
  if (Index < 0 || Index > FCount) Error(SListIndexError, Index);
  if (FCount == GetCapacity()) Grow();
  std::move_backward(FItems.begin() + Index, FItems.begin() + FCount, FItems.begin() + FCount + 1);
  FItems[static_cast<std::size_t>(Index)] = Item;
  ++FCount;
  if (Item != nullptr) Notify(Item, lnAdded);
}

void TList::Delete(Integer Index) {
  CheckIndex(Index);
  void* Item = FItems[static_cast<std::size_t>(Index)];
  std::move(FItems.begin() + Index + 1, FItems.begin() + FCount, FItems.begin() + Index);
  --FCount;
  // The list is consistent before Notify runs: an owned object's destructor may use it.
  if (Item != nullptr) Notify(Item, lnDeleted);
}

Integer TList::Remove(void* Item) {
  const Integer Index = IndexOf(Item);
  if (Index >= 0) Delete(Index);
  return Index;
}

void* TList::Extract(void* Item) {
  const Integer Index = IndexOf(Item);
  if (Index < 0) return nullptr;
  // Nulled first so that Delete does not report it as deleted.
  FItems[static_cast<std::size_t>(Index)] = nullptr;
  Delete(Index);
  Notify(Item, lnExtracted);
  return Item;
}

Integer TList::IndexOf(void* Item) const {
  auto End = FItems.begin() + FCount;
  auto It = std::find(FItems.begin(), End, Item);
  return It == End ? -1 : static_cast<Integer>(It - FItems.begin());
}

void TList::Exchange(Integer Index1, Integer Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  std::swap(FItems[static_cast<std::size_t>(Index1)], FItems[static_cast<std::size_t>(Index2)]);
}

void TList::Move(Integer CurIndex, Integer NewIndex) {
  if (CurIndex == NewIndex) return;
  if (NewIndex < 0 || NewIndex >= FCount) Error(SListIndexError, NewIndex);
  CheckIndex(CurIndex);
  auto Begin = FItems.begin();
  if (CurIndex < NewIndex)
    std::rotate(Begin + CurIndex, Begin + CurIndex + 1, Begin + NewIndex + 1);
  else
    std::rotate(Begin + NewIndex, Begin + CurIndex, Begin + CurIndex + 1);
}

void TList::Clear() {
  SetCount(0);
  SetCapacity(0);
}

void TList::Pack() {
  for (Integer I = FCount - 1; I >= 0; --I)
    if (FItems[static_cast<std::size_t>(I)] == nullptr) Delete(I);
}

void TList::Sort(TListSortCompare Compare) {
  if (FCount > 1) QuickSort(FItems.data(), 0, FCount - 1, Compare);
}

void* TList::Get(Integer Index) const {
  CheckIndex(Index);
  return FItems[static_cast<std::size_t>(Index)];
}

void TList::Put(Integer Index, void* Item) {
  CheckIndex(Index);
  void* Old = FItems[static_cast<std::size_t>(Index)];
  if (Item == Old) return;
  FItems[static_cast<std::size_t>(Index)] = Item;
  if (Old != nullptr) Notify(Old, lnDeleted);
  if (Item != nullptr) Notify(Item, lnAdded);
}

void TList::Notify(void*, TListNotification) {}

// ---------------------------------------------------------------------------- TObjectList

// Cleared here, while Notify still frees: ~TList runs after this class is gone.
TObjectList::~TObjectList() {
  Clear();
}

void TObjectList::Notify(void* Ptr, TListNotification Action) {
  if (FOwnsObjects && Action == lnDeleted) delete static_cast<TObject*>(Ptr);
  TList::Notify(Ptr, Action);
}

// ---------------------------------------------------------------------------- TThreadList

TThreadList::~TThreadList() {
  std::lock_guard<std::recursive_mutex> Guard(FLock);
  FList.Clear();
}

void TThreadList::Add(void* Item) {
  std::lock_guard<std::recursive_mutex> Guard(FLock);
  if (FDuplicates == dupAccept || FList.IndexOf(Item) < 0)
    FList.Add(Item);
  else if (FDuplicates == dupError)
    throw EListError(SDuplicateItem);
}

void TThreadList::Remove(void* Item) {
  std::lock_guard<std::recursive_mutex> Guard(FLock);
  FList.Remove(Item);
}

void TThreadList::Clear() {
  std::lock_guard<std::recursive_mutex> Guard(FLock);
  FList.Clear();
}

TList* TThreadList::LockList() {
  FLock.lock();
  return &FList;
}

void TThreadList::UnlockList() {
  FLock.unlock();
}
