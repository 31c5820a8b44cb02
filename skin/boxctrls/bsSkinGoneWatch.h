#pragma once
// Tells whether a component was destroyed while messages were being handled, so that a loop
// that pumps them (a fade-in) can stop before it touches the component again.
#include "platform/system/Component.h"

class TbsGoneWatch : public TComponent {
 public:
  explicit TbsGoneWatch(TComponent* Target) : TComponent(nullptr), FTarget(Target) {
    Target->FreeNotification(this);
  }
  ~TbsGoneWatch() override {
    if (!Gone) FTarget->RemoveFreeNotification(this);
  }
  TbsGoneWatch(const TbsGoneWatch&) = delete;
  TbsGoneWatch& operator=(const TbsGoneWatch&) = delete;

  bool Gone = false;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FTarget) Gone = true;
  }

 private:
  TComponent* FTarget;  // watched, not owned
};
