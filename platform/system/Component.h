#pragma once
// TComponent: the owned, named, notified object of the class library.
//
// Ownership: a component created with an owner is inserted into it and deleted by it (last
// created first); owned components must therefore be created with new. Deleting a component
// directly takes it out of its owner first. Free notification links two components both
// ways: whichever is destroyed first tells the other through Notification(..., opRemove), so
// neither keeps a dangling reference.
#include <string>
#include <string_view>
#include <vector>

#include "platform/system/Persistent.h"
#include "platform/system/Sets.h"
#include "platform/system/Types.h"

enum TOperation { opInsert, opRemove };

enum TComponentStateItem {
  csLoading,
  csReading,
  csWriting,
  csDestroying,
  csDesigning,
  csAncestor,
  csUpdating,
  csFixups,
  csFreeNotification,
  csInline,
  csDesignInstance
};
using TComponentState = TSet<TComponentStateItem>;

class TComponent : public TPersistent {
 public:
  explicit TComponent(TComponent* AOwner);
  // A derived destructor that must see csDestroying calls Destroying() first: the platform
  // marks a component before any destructor of it runs.
  ~TComponent() override;

  TComponent* GetOwner() override { return FOwner; }
  // Raises EListError "List index out of bounds (%d)".
  TComponent* GetComponent(Integer Index) const;
  Integer GetComponentCount() const { return static_cast<Integer>(FComponents.size()); }
  // -1 without an owner; the setter clamps to the owner's list.
  Integer GetComponentIndex() const;
  void SetComponentIndex(Integer Value);

  const std::string& GetName() const { return FName; }
  // Raises EComponentError for a name that is not an identifier or that another component
  // of the same owner already has (compared without case).
  virtual void SetName(const std::string& NewName);
  NativeInt GetTag() const { return FTag; }
  void SetTag(NativeInt Value) { FTag = Value; }
  TComponentState GetComponentState() const { return FComponentState; }

  // The owned component with this name, compared without case; nullptr when none.
  TComponent* FindComponent(std::string_view AName) const;

  // Takes AComponent into this owner (out of its previous owner first) and sends
  // Notification(AComponent, opInsert) to this owner, which passes it to all it owns.
  void InsertComponent(TComponent* AComponent);
  // Sends Notification(AComponent, opRemove) the same way, then lets AComponent go unowned.
  void RemoveComponent(TComponent* AComponent);

  // Asks to be told (through AComponent's Notification) when this component is destroyed,
  // and the other way round. Components of the same owner hear of each other through the
  // owner, so between them only csFreeNotification is set.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  // Deletes every owned component, last first.
  void DestroyComponents();
  // Marks this component and everything it owns as being destroyed.
  void Destroying();

  // Ends loading: Loaded on Root, then on each component Root owns, in creation order;
  // only components still in the loading state are called.
  static void LoadedAll(TComponent* Root);

 protected:
  // Called once the component and its siblings are built and their properties set;
  // clears csLoading.
  virtual void Loaded();
  // The default passes the notice on to every owned component (last first); on opRemove it
  // also drops any free-notification link to AComponent.
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  // Raises EComponentError when NewName is taken by another component of this owner.
  virtual void ValidateRename(TComponent* AComponent, const std::string& CurName, const std::string& NewName);
  // Puts a component into (or out of) the loading state, as the form reader does before
  // it sets the component's properties.
  static void SetLoading(TComponent* AComponent, bool Value);

 private:
  void Insert(TComponent* AComponent);
  void Remove(TComponent* AComponent);
  void RemoveNotification(TComponent* AComponent);
  void RemoveFreeNotifications();

  TComponent* FOwner = nullptr;
  std::string FName;
  NativeInt FTag = 0;
  TComponentState FComponentState;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
};
