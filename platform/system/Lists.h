#pragma once
// The platform's pointer lists. TList holds untyped pointers and tells Notify about every
// non-null pointer that joins or leaves it; TObjectList frees the objects it owns;
// TThreadList guards a TList with a lock for use from several threads.
// Index errors raise EListError with the platform's texts (ListTypes.h).
#include <mutex>
#include <vector>

#include "platform/system/ListTypes.h"
#include "platform/system/Object.h"
#include "platform/system/Types.h"

// <0 when Item1 sorts before Item2, 0 when equal, >0 after.
using TListSortCompare = Integer (*)(void* Item1, void* Item2);

class TList : public TObject {
 public:
  TList() = default;
  ~TList() override;

  Integer Add(void* Item);
  void Insert(Integer Index, void* Item);
  void Delete(Integer Index);
  // Deletes the first occurrence; returns its index or -1.
  Integer Remove(void* Item);
  // Takes the first occurrence out without deleting it (lnExtracted); nullptr when absent.
  void* Extract(void* Item);
  Integer IndexOf(void* Item) const;
  void Exchange(Integer Index1, Integer Index2);
  // Moves an item; no notification, since the item stays in the list.
  void Move(Integer CurIndex, Integer NewIndex);
  virtual void Clear();
  // Deletes the null items.
  void Pack();
  // The platform's quicksort: equal items may change places exactly as they do there.
  void Sort(TListSortCompare Compare);

  void* Get(Integer Index) const;
  void Put(Integer Index, void* Item);
  void* First() const { return Get(0); }
  void* Last() const { return Get(FCount - 1); }
  Integer GetCount() const { return FCount; }
  // Growing fills with null; shrinking deletes the items beyond the new count.
  void SetCount(Integer NewCount);
  Integer GetCapacity() const { return static_cast<Integer>(FItems.size()); }
  void SetCapacity(Integer NewCapacity);
  // The item array for fast reads; valid until the list changes.
  void* const* GetList() const { return FItems.data(); }

  [[noreturn]] static void Error(const char* Msg, NativeInt Data);

 protected:
  // Called after Ptr joined (lnAdded) or left (lnExtracted, lnDeleted) the list; never for null.
  virtual void Notify(void* Ptr, TListNotification Action);

 private:
  void Grow();
  void CheckIndex(Integer Index) const;

  std::vector<void*> FItems;  // size is the capacity
  Integer FCount = 0;
};

class TObjectList : public TList {
 public:
  explicit TObjectList(bool AOwnsObjects = true) : FOwnsObjects(AOwnsObjects) {}
  ~TObjectList() override;

  Integer Add(TObject* AObject) { return TList::Add(AObject); }
  void Insert(Integer Index, TObject* AObject) { TList::Insert(Index, AObject); }
  Integer Remove(TObject* AObject) { return TList::Remove(AObject); }
  TObject* Extract(TObject* AObject) { return static_cast<TObject*>(TList::Extract(AObject)); }
  Integer IndexOf(TObject* AObject) const { return TList::IndexOf(AObject); }
  TObject* GetItem(Integer Index) const { return static_cast<TObject*>(Get(Index)); }
  // Replacing an owned object frees it.
  void SetItem(Integer Index, TObject* AObject) { Put(Index, AObject); }
  TObject* First() const { return static_cast<TObject*>(TList::First()); }
  TObject* Last() const { return static_cast<TObject*>(TList::Last()); }

  bool GetOwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }

 protected:
  void Notify(void* Ptr, TListNotification Action) override;

 private:
  bool FOwnsObjects;
};

class TThreadList : public TObject {
 public:
  TThreadList() = default;
  ~TThreadList() override;

  // Add follows Duplicates (default dupIgnore); dupError raises EListError
  // "Duplicates not allowed".
  void Add(void* Item);
  void Remove(void* Item);
  void Clear();
  // Locks the list and returns it; every LockList is paired with an UnlockList. The lock is
  // recursive, so the holding thread may lock again.
  TList* LockList();
  void UnlockList();

  TDuplicates GetDuplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }

 private:
  std::recursive_mutex FLock;
  TList FList;
  TDuplicates FDuplicates = dupIgnore;
};
