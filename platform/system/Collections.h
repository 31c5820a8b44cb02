#pragma once
// TCollection and TCollectionItem: a list of persistent items of one class that the
// collection creates and owns. An item joins its collection in its constructor and leaves
// it in its destructor; Update tells the collection's user that items changed (nullptr: all
// of them, or the list itself), except between BeginUpdate and EndUpdate.
#include <string>

#include "platform/system/Lists.h"
#include "platform/system/Persistent.h"
#include "platform/system/Types.h"

class TCollection;
class TCollectionItem;

// The collection's item class: creates one item inside the given collection.
using TCollectionItemClass = TCollectionItem* (*)(TCollection* Collection);

template <class T>
TCollectionItem* CreateCollectionItem(TCollection* Collection) {
  return new T(Collection);
}

class TCollectionItem : public TPersistent {
 public:
  explicit TCollectionItem(TCollection* Collection);
  ~TCollectionItem() override;

  TCollection* GetCollection() const { return FCollection; }
  // Moves the item to the end of another collection (nullptr: no collection, not owned).
  virtual void SetCollection(TCollection* Value);
  // Unique within the collection, never reused; kept when the item moves inside it.
  Integer GetID() const { return FID; }
  // -1 without a collection. Setting moves the item; EListError for an index out of bounds.
  Integer GetIndex() const;
  virtual void SetIndex(Integer Value);
  // The class name unless a derived class says otherwise.
  virtual std::string GetDisplayName() const;
  virtual void SetDisplayName(const std::string& Value);

 protected:
  // Tells the collection that this item (or, with AllItems, the list) changed.
  void Changed(bool AllItems);
  TPersistent* GetOwner() override;

 private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
  Integer FID = 0;
};

class TCollection : public TPersistent {
 public:
  explicit TCollection(TCollectionItemClass ItemClass);
  ~TCollection() override;

  TCollectionItem* Add();
  // Index may be Count (append); EListError otherwise, before any item is made.
  TCollectionItem* Insert(Integer Index);
  void Delete(Integer Index);
  void Clear();
  // Raises EListError "List index out of bounds (%d)".
  TCollectionItem* GetItem(Integer Index) const;
  // Assigns Value to the item at Index.
  void SetItem(Integer Index, TCollectionItem* Value);
  Integer GetCount() const { return FItems.GetCount(); }
  TCollectionItem* FindItemID(Integer ID) const;
  TCollectionItemClass GetItemClass() const { return FItemClass; }

  virtual void BeginUpdate();
  virtual void EndUpdate();
  // From another collection: clears this one, then adds an item per source item and assigns
  // it (so item classes implement Assign).
  void Assign(TPersistent* Source) override;
  // The object this collection belongs to (nullptr for a plain collection).
  TPersistent* GetOwner() override { return nullptr; }

 protected:
  // Update(nullptr) unless updates are held back.
  void Changed();
  virtual void Update(TCollectionItem* Item);
  Integer GetUpdateCount() const { return FUpdateCount; }
  Integer GetNextID() const { return FNextID; }

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);

  TCollectionItemClass FItemClass;
  TList FItems;
  Integer FUpdateCount = 0;
  Integer FNextID = 0;
  // Non-zero while Add builds an item: the update waits until the item is whole.
  Integer FAdding = 0;
};

// A collection that belongs to an object (a component, usually) and reports it as owner.
class TOwnedCollection : public TCollection {
 public:
  TOwnedCollection(TPersistent* AOwner, TCollectionItemClass ItemClass)
      : TCollection(ItemClass), FOwner(AOwner) {}
  TPersistent* GetOwner() override { return FOwner; }

 private:
  TPersistent* FOwner;
};
