#pragma once
// Actions: commands with a caption, checked and enabled state, hint, image, short-cut and
// visibility that controls and menu items follow through action links.
//
// Execute and Update go, until one handles them: the action list's OnExecute/OnUpdate, the
// application's OnActionExecute/OnActionUpdate, the action's own OnExecute/OnUpdate, then
// CM_ACTIONEXECUTE/CM_ACTIONUPDATE to the active form (its active control, then the form) and
// the main form.
//
// A client follows a property of its action while it still shows the action's value: a client
// whose caption was set to something else keeps it when the action's caption changes.
//
// Ownership: actions are components (usually owned by the form) listed in their action list;
// a client owns its link; an action going away unlinks its clients.
#include <memory>
#include <string>
#include <vector>

#include "platform/classes/Controls.h"
#include "platform/classes/Menus.h"
#include "platform/system/Component.h"

class TCustomImageList;
class TCustomActionList;
class TCustomAction;
class TBasicActionLink;
class TButtonControl;

class TBasicAction : public TComponent {
  friend class TBasicActionLink;

 public:
  explicit TBasicAction(TComponent* AOwner);
  ~TBasicAction() override;

  // True when someone handled it.
  virtual bool Execute();
  virtual bool Update();
  // The action as applied to a target control (ExecuteAction/UpdateAction of controls).
  virtual bool HandlesTarget(TObject*) { return false; }
  virtual void ExecuteTarget(TObject*) {}
  virtual void UpdateTarget(TObject*) {}
  // The client that executed it last.
  TComponent* GetActionComponent() const { return FActionComponent; }
  void SetActionComponent(TComponent* Value) { FActionComponent = Value; }

  TNotifyEvent OnExecute;
  TNotifyEvent OnUpdate;
  TNotifyEvent OnChange;

 protected:
  // Tells the clients to take the action's properties again.
  virtual void Change();
  void SetOnExecute(TNotifyEvent Value);
  // The links following this action (set and cleared by the links).
  std::vector<TBasicActionLink*> FClients;

 private:
  TComponent* FActionComponent = nullptr;
};

// The bond between a client and its action.
class TBasicActionLink {
 public:
  TBasicActionLink() = default;
  TBasicActionLink(const TBasicActionLink&) = delete;
  TBasicActionLink& operator=(const TBasicActionLink&) = delete;
  virtual ~TBasicActionLink();
  TBasicAction* GetAction() const { return FAction; }
  void SetAction(TBasicAction* Value);
  // The action's Execute with AComponent as its ActionComponent.
  virtual bool Execute(TComponent* AComponent);
  virtual bool Update();

  // Called by the action when its property changes, before it takes the new value: the
  // client follows when it still shows the old value.
  virtual bool IsCaptionLinked() { return IsCustomAction(); }
  virtual bool IsCheckedLinked() { return IsCustomAction(); }
  virtual bool IsEnabledLinked() { return IsCustomAction(); }
  virtual bool IsHintLinked() { return IsCustomAction(); }
  virtual bool IsImageIndexLinked() { return IsCustomAction(); }
  virtual bool IsShortCutLinked() { return IsCustomAction(); }
  virtual bool IsVisibleLinked() { return IsCustomAction(); }
  virtual bool IsAutoCheckLinked() { return IsCustomAction(); }
  virtual bool IsOnExecuteLinked() { return FAction != nullptr; }
  virtual void SetCaption(const std::string&) {}
  virtual void SetChecked(bool) {}
  virtual void SetEnabled(bool) {}
  virtual void SetHint(const std::string&) {}
  virtual void SetImageIndex(Integer) {}
  virtual void SetShortCut(TShortCut) {}
  virtual void SetVisible(bool) {}
  virtual void SetAutoCheck(bool) {}
  virtual void SetOnExecute(const TNotifyEvent&) {}

 protected:
  TCustomAction* CustomAction() const;
  bool IsCustomAction() const { return CustomAction() != nullptr; }
  TBasicAction* FAction = nullptr;
};

class TCustomAction : public TBasicAction {
  friend class TCustomActionList;

 public:
  explicit TCustomAction(TComponent* AOwner);
  ~TCustomAction() override;

  // Update first; runs only while enabled.
  bool Execute() override;
  bool Update() override;

  TCustomActionList* GetActionList() const { return FActionList; }
  void SetActionList(TCustomActionList* Value);
  Integer GetIndex() const;

  const std::string& GetCaption() const { return FCaption; }
  void SetCaption(const std::string& Value);
  bool GetChecked() const { return FChecked; }
  // Checking an action of a group (GroupIndex > 0) unchecks the others of its list's group.
  void SetChecked(bool Value);
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  const std::string& GetHint() const { return FHint; }
  void SetHint(const std::string& Value);
  Integer GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  TShortCut GetShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  // Execute toggles Checked first.
  bool GetAutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool Value);
  Integer GetGroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(Integer Value);
  const std::string& GetCategory() const { return FCategory; }
  void SetCategory(const std::string& Value) { FCategory = Value; }
  Integer GetHelpContext() const { return FHelpContext; }
  void SetHelpContext(Integer Value) { FHelpContext = Value; }
  // Without an OnExecute handler, and nobody else handling it, the action disables itself
  // when updated or executed.
  bool GetDisableIfNoHandler() const { return FDisableIfNoHandler; }
  void SetDisableIfNoHandler(bool Value) { FDisableIfNoHandler = Value; }
  void SetOnExecute(TNotifyEvent Value) { TBasicAction::SetOnExecute(Value); }

 private:
  // Nobody handled the action and it has no OnExecute: it turns itself off (once enabled).
  void DisableWithoutHandler();

  TCustomActionList* FActionList = nullptr;
  std::string FCaption;
  std::string FHint;
  std::string FCategory;
  Integer FImageIndex = -1;
  Integer FGroupIndex = 0;
  Integer FHelpContext = 0;
  TShortCut FShortCut = scNone;
  bool FChecked = false;
  bool FEnabled = true;
  bool FVisible = true;
  bool FAutoCheck = false;
  bool FDisableIfNoHandler = false;
  bool FChecking = false;  // a group is being unchecked
};

class TAction : public TCustomAction {
 public:
  explicit TAction(TComponent* AOwner);
};

class TCustomActionList : public TComponent {
  friend class TCustomAction;

 public:
  explicit TCustomActionList(TComponent* AOwner);
  ~TCustomActionList() override;

  TCustomAction* GetAction(Integer Index) const { return FActions.at(static_cast<size_t>(Index)); }
  Integer GetActionCount() const { return static_cast<Integer>(FActions.size()); }
  // The images the actions' ImageIndex points into; clients show them.
  TCustomImageList* GetImages() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  // OnExecute / OnUpdate of the list; true when the handler handled the action.
  virtual bool ExecuteAction(TBasicAction* Action);
  virtual bool UpdateAction(TBasicAction* Action);
  // Executes the enabled action with the key message's short-cut; true when there was one.
  bool IsShortCut(TWMKey& Message);

  TActionEvent OnExecute;
  TActionEvent OnUpdate;
  TNotifyEvent OnChange;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  std::vector<TCustomAction*> FActions;
  TCustomImageList* FImages = nullptr;
};

class TActionList : public TCustomActionList {
 public:
  explicit TActionList(TComponent* AOwner) : TCustomActionList(AOwner) {}
};

// ---- Links of the clients -----------------------------------------------------------------------
class TControlActionLink : public TBasicActionLink {
 public:
  explicit TControlActionLink(TControl* AClient) : FClient(AClient) {}
  TControl* GetClient() const { return FClient; }

  bool IsCaptionLinked() override;
  bool IsEnabledLinked() override;
  bool IsHintLinked() override;
  bool IsVisibleLinked() override;
  bool IsOnExecuteLinked() override;
  void SetCaption(const std::string& Value) override;
  void SetEnabled(bool Value) override;
  void SetHint(const std::string& Value) override;
  void SetVisible(bool Value) override;
  void SetOnExecute(const TNotifyEvent& Value) override;

 protected:
  TControl* FClient;
};

// Check boxes and radio buttons follow Checked too.
class TButtonActionLink : public TControlActionLink {
 public:
  explicit TButtonActionLink(TButtonControl* AClient);
  bool IsCheckedLinked() override;
  void SetChecked(bool Value) override;

 private:
  TButtonControl* ButtonClient() const;
};

class TMenuActionLink : public TBasicActionLink {
 public:
  explicit TMenuActionLink(TMenuItem* AClient) : FClient(AClient) {}
  TMenuItem* GetClient() const { return FClient; }

  bool IsCaptionLinked() override;
  bool IsCheckedLinked() override;
  bool IsEnabledLinked() override;
  bool IsHintLinked() override;
  bool IsImageIndexLinked() override;
  bool IsShortCutLinked() override;
  bool IsVisibleLinked() override;
  bool IsAutoCheckLinked() override;
  bool IsOnExecuteLinked() override;
  void SetCaption(const std::string& Value) override;
  void SetChecked(bool Value) override;
  void SetEnabled(bool Value) override;
  void SetHint(const std::string& Value) override;
  void SetImageIndex(Integer Value) override;
  void SetShortCut(TShortCut Value) override;
  void SetVisible(bool Value) override;
  void SetAutoCheck(bool Value) override;
  void SetOnExecute(const TNotifyEvent& Value) override;

 private:
  TMenuItem* FClient;
};

// Sends CM_ACTIONEXECUTE / CM_ACTIONUPDATE for the action to the application's window; true
// when a form handled it.
bool SendActionMessage(UINT Msg, TBasicAction* Action);
