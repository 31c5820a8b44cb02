// Actions and their clients: properties flowing to buttons, check boxes and menu items, clicks
// executing the action, updates, groups, short-cuts and the routing to target controls.
#include "FormsTestSupport.h"
#include "platform/classes/ActnList.h"
#include "platform/classes/Menus.h"
#include "platform/classes/StdCtrls.h"

namespace {
struct TActionLog {
  TLines Lines;
  void Execute(TObject* Sender) {
    auto* A = static_cast<TBasicAction*>(Sender);
    Lines.push_back("Execute " + NameOf(A) + " by " +
                    (A->GetActionComponent() != nullptr ? A->GetActionComponent()->GetName() : "-"));
  }
  void Update(TObject* Sender) { Lines.push_back("Update " + NameOf(Sender)); }
  void Click(TObject* Sender) { Lines.push_back("Click " + NameOf(Sender)); }
  void ListExecute(TBasicAction* A, bool& Handled) {
    Lines.push_back("List " + NameOf(A));
    Handled = ListHandles;
  }
  void AppExecute(TBasicAction* A, bool& Handled) {
    Lines.push_back("Application " + NameOf(A));
    Handled = AppHandles;
  }
  bool ListHandles = false;
  bool AppHandles = false;
};

// An action that works on any test control (as edit actions work on the focused edit).
class TTargetAction : public TCustomAction {
 public:
  TTargetAction(TComponent* AOwner, TLines& Lines) : TCustomAction(AOwner), FLines(Lines) {}
  bool HandlesTarget(TObject* Target) override { return dynamic_cast<TTestControl*>(Target) != nullptr; }
  void ExecuteTarget(TObject* Target) override { FLines.push_back("Target " + NameOf(Target)); }

 private:
  TLines& FLines;
};

class TActionsTest : public TFormsTest {
 protected:
  void SetUp() override {
    TFormsTest::SetUp();
    Form = NewForm("Form");
    List = new TActionList(Form);
    Save = new TAction(Form);
    Save->SetName("Save");
    Save->SetActionList(List);
    Save->SetCaption("&Save");
    Save->SetOnExecute(TNotifyEvent(&Log, &TActionLog::Execute));
    Button = new TButton(Form);
    Button->SetName("Button");
    Button->SetParent(Form);
    Check = new TCheckBox(Form);
    Check->SetName("Check");
    Check->SetParent(Form);
    Check->SetTop(40);
    Menu = new TMainMenu(Form);
    Item = new TMenuItem(Form);
    Item->SetName("Item");
    Menu->GetItems()->Add(Item);
  }
  void LinkAll(TBasicAction* A) {
    Button->SetAction(A);
    Check->SetAction(A);
    Item->SetAction(A);
  }
  TActionLog Log;
  TForm* Form = nullptr;
  TActionList* List = nullptr;
  TAction* Save = nullptr;
  TButton* Button = nullptr;
  TCheckBox* Check = nullptr;
  TMainMenu* Menu = nullptr;
  TMenuItem* Item = nullptr;
};
}  // namespace

TEST_F(TActionsTest, LinkingCopiesTheActionAndChangesFollow) {
  Save->SetHint("Saves");
  Save->SetImageIndex(3);
  Save->SetShortCut(scCtrl | 'S');
  Save->SetChecked(true);
  LinkAll(Save);
  EXPECT_EQ(Button->GetCaption(), "&Save");
  EXPECT_EQ(Check->GetCaption(), "&Save");
  EXPECT_TRUE(Check->GetChecked());
  EXPECT_EQ(Item->GetCaption(), "&Save");
  EXPECT_EQ(Item->GetHint(), "Saves");
  EXPECT_EQ(Item->GetImageIndex(), 3);
  EXPECT_EQ(Item->GetShortCut(), scCtrl | 'S');
  EXPECT_TRUE(Item->GetChecked());
  EXPECT_TRUE(Button->OnClick == Save->OnExecute);

  // Each property reaches every client.
  Save->SetEnabled(false);
  EXPECT_FALSE(Button->GetEnabled());
  EXPECT_FALSE(Check->GetEnabled());
  EXPECT_FALSE(Item->GetEnabled());
  Save->SetChecked(false);
  EXPECT_FALSE(Check->GetChecked());
  EXPECT_FALSE(Item->GetChecked());
  Save->SetCaption("Save &as");
  EXPECT_EQ(Button->GetCaption(), "Save &as");
  EXPECT_EQ(Item->GetCaption(), "Save &as");
  Save->SetVisible(false);
  EXPECT_FALSE(Button->GetVisible());
  EXPECT_FALSE(Item->GetVisible());
  Save->SetImageIndex(5);
  EXPECT_EQ(Item->GetImageIndex(), 5);
}

TEST_F(TActionsTest, AClientThatSetItsOwnValueKeepsIt) {
  LinkAll(Save);
  Button->SetCaption("Store");
  Item->SetHint("Mine");
  Save->SetCaption("Keep");
  Save->SetHint("Theirs");
  EXPECT_EQ(Button->GetCaption(), "Store");
  EXPECT_EQ(Item->GetCaption(), "Keep");
  EXPECT_EQ(Check->GetCaption(), "Keep");
  EXPECT_EQ(Item->GetHint(), "Mine");
  EXPECT_EQ(Button->GetHint(), "Theirs");
  // A client that comes to show the action's value again follows it again.
  Button->SetCaption("Keep");
  Save->SetCaption("Again");
  EXPECT_EQ(Button->GetCaption(), "Again");
}

TEST_F(TActionsTest, ClicksExecuteTheActionUnlessTheClientHasItsOwnHandler) {
  LinkAll(Save);
  Button->Click();
  Item->Click();
  EXPECT_EQ(Log.Lines, (TLines{"Execute Save by Button", "Execute Save by Item"}));
  EXPECT_EQ(Save->GetActionComponent(), nullptr);
  Log.Lines.clear();
  Button->OnClick = TNotifyEvent(&Log, &TActionLog::Click);
  Button->Click();
  EXPECT_EQ(Log.Lines, (TLines{"Click Button"}));
  // A disabled action does not run.
  Log.Lines.clear();
  Save->SetEnabled(false);
  Check->Click();
  EXPECT_TRUE(Log.Lines.empty());
}

TEST_F(TActionsTest, ExecuteGoesToTheListThenTheApplicationThenTheAction) {
  List->OnExecute = TActionEvent(&Log, &TActionLog::ListExecute);
  Application->OnActionExecute = TActionEvent(&Log, &TActionLog::AppExecute);
  struct TCase {
    bool List, App;
    TLines Expected;
  };
  const TCase Cases[] = {
      {true, false, {"List Save"}},
      {false, true, {"List Save", "Application Save"}},
      {false, false, {"List Save", "Application Save", "Execute Save by -"}},
  };
  for (const TCase& C : Cases) {
    Log.Lines.clear();
    Log.ListHandles = C.List;
    Log.AppHandles = C.App;
    EXPECT_TRUE(Save->Execute());
    EXPECT_EQ(Log.Lines, C.Expected);
  }
  Application->OnActionExecute = nullptr;
}

TEST_F(TActionsTest, AutoCheckTogglesTheActionAndItsClients) {
  Save->SetAutoCheck(true);
  LinkAll(Save);
  Item->Click();
  EXPECT_TRUE(Save->GetChecked());
  EXPECT_TRUE(Item->GetChecked());
  EXPECT_TRUE(Check->GetChecked());
  Item->Click();
  EXPECT_FALSE(Save->GetChecked());
  EXPECT_FALSE(Check->GetChecked());
  // The check box taking the action's state did not click it again.
  EXPECT_EQ(Log.Lines, (TLines{"Execute Save by Item", "Execute Save by Item"}));
}

TEST_F(TActionsTest, CheckingAGroupedActionUnchecksTheOthers) {
  auto* Left = new TAction(Form);
  auto* Right = new TAction(Form);
  for (TAction* A : {Left, Right}) {
    A->SetActionList(List);
    A->SetGroupIndex(1);
  }
  Item->SetAction(Left);
  Left->SetChecked(true);
  Right->SetChecked(true);
  EXPECT_FALSE(Left->GetChecked());
  EXPECT_FALSE(Item->GetChecked());
  EXPECT_TRUE(Right->GetChecked());
  // Save is in no group: it stays as it is.
  Save->SetChecked(true);
  EXPECT_TRUE(Right->GetChecked());
}

TEST_F(TActionsTest, IdleUpdatesTheShownFormsClients) {
  Save->OnUpdate = TNotifyEvent(&Log, &TActionLog::Update);
  auto* Orphan = new TAction(Form);  // no handler: disables itself when updated
  Orphan->SetName("Orphan");
  Button->SetAction(Save);
  Check->SetAction(Orphan);
  Item->SetAction(Save);
  Form->SetMenu(Menu);
  Form->UpdateActions();
  EXPECT_TRUE(Log.Lines.empty());  // a hidden form updates nothing
  Form->Show();
  Pump();
  Log.Lines.clear();
  Form->UpdateActions();
  EXPECT_EQ(Log.Lines, (TLines{"Update Save", "Update Save"}));  // the menu item, the button
  EXPECT_FALSE(Orphan->GetEnabled());
  EXPECT_FALSE(Check->GetEnabled());
}

TEST_F(TActionsTest, AnActionNobodyHandlesFindsATargetOnTheActiveForm) {
  TLines Lines;
  auto* Action = new TTargetAction(Form, Lines);
  Action->SetName("Copy");
  auto* Box = NewChild<TTestControl>(Form, "Box", Bounds(10, 80, 50, 30));
  Form->Show();
  Pump();
  Box->SetFocus();
  Pump();
  EXPECT_TRUE(Action->Execute());
  EXPECT_EQ(Lines, (TLines{"Target Box"}));
  Box->Hide();
  EXPECT_FALSE(Action->Execute());
}

TEST_F(TActionsTest, AFreedActionLeavesItsClientsUnlinked) {
  auto* Temp = new TAction(Form);
  Temp->SetActionList(List);
  LinkAll(Temp);
  delete Temp;
  EXPECT_EQ(Button->GetAction(), nullptr);
  EXPECT_EQ(Item->GetAction(), nullptr);
  EXPECT_EQ(List->GetActionCount(), 1);
  Item->Click();  // nothing to run, nothing breaks
  Button->SetAction(nullptr);
  EXPECT_FALSE(Button->GetControlStyle().Contains(csActionClient));
}

TEST_F(TActionsTest, TheFormsActionListsAnswerShortCuts) {
  Save->SetShortCut(ShortCut('S', {ssAlt}));
  TWMKey Key{WM_SYSKEYDOWN, 'S', AltMask, 0};
  EXPECT_TRUE(Form->IsShortCut(Key));
  EXPECT_EQ(Log.Lines, (TLines{"Execute Save by -"}));
  Key.KeyData = 0;
  EXPECT_FALSE(Form->IsShortCut(Key));
  Save->SetEnabled(false);
  Save->OnUpdate = TNotifyEvent(&Log, &TActionLog::Update);  // stays disabled
  Key.KeyData = AltMask;
  EXPECT_FALSE(Form->IsShortCut(Key));
}
