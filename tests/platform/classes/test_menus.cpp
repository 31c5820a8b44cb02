// Menu items, short-cuts, main menus and popup menus.
#include "FormsTestSupport.h"
#include "platform/classes/Menus.h"
#include "platform/user/Menus.h"
#include "platform/user/Windows.h"

namespace {

struct TMenuLog {
  std::vector<std::string> Lines;
  void Click(TObject* Sender) { Lines.push_back("Click " + NameOf(Sender)); }
  void Popup(TObject* Sender) { Lines.push_back("Popup " + NameOf(Sender)); }
  void Change(TObject*, TMenuItem* Source, bool Rebuild) {
    Lines.push_back(std::string("Change ") + (Source != nullptr ? Source->GetName() : "root") +
                    (Rebuild ? " rebuild" : ""));
  }
};

TMenuItem* NewItem(TComponent* Owner, TMenuItem* Parent, const std::string& Name, const std::string& Caption,
                   TMenuLog* Log = nullptr) {
  auto* Item = new TMenuItem(Owner);
  Item->SetName(Name);
  Item->SetCaption(Caption);
  if (Log != nullptr) Item->OnClick = TNotifyEvent(Log, &TMenuLog::Click);
  if (Parent != nullptr) Parent->Add(Item);
  return Item;
}

}  // namespace

TEST(ShortCuts, TextOfShortCutsAndBack) {
  struct TCase {
    TShortCut Value;
    const char* Text;
  };
  const TCase Cases[] = {
      {ShortCut('S', {ssCtrl}), "Ctrl+S"},
      {ShortCut(VK_F1, {ssShift, ssCtrl}), "Shift+Ctrl+F1"},
      {ShortCut('Z', {ssCtrl, ssAlt}), "Ctrl+Alt+Z"},
      {ShortCut('0', {ssAlt}), "Alt+0"},
      {VK_DELETE, "Del"},
      {ShortCut(VK_INSERT, {ssShift}), "Shift+Ins"},
      {VK_RETURN, "Enter"},
      {VK_ESCAPE, "Esc"},
      {VK_BACK, "BkSp"},
      {VK_TAB, "Tab"},
      {VK_SPACE, "Space"},
      {VK_PRIOR, "PgUp"},
      {VK_NEXT, "PgDn"},
      {VK_END, "End"},
      {VK_HOME, "Home"},
      {VK_LEFT, "Left"},
      {VK_UP, "Up"},
      {VK_RIGHT, "Right"},
      {VK_DOWN, "Down"},
      {VK_F12, "F12"},
      {VK_F24, "F24"},
      {ShortCut(VK_OEM_PLUS, {ssCtrl}), "Ctrl+="},
      {ShortCut(VK_ADD, {ssCtrl}), "Ctrl+Num +"},
  };
  for (const TCase& C : Cases) {
    EXPECT_EQ(ShortCutToText(C.Value), C.Text);
    EXPECT_EQ(TextToShortCut(C.Text), C.Value) << C.Text;
  }
  // The numeric pad's digits read like the digits; unnamed keys have no text.
  EXPECT_EQ(ShortCutToText(VK_NUMPAD5), "5");
  EXPECT_EQ(ShortCutToText(ShortCut(0x07, {ssCtrl})), "");
  EXPECT_EQ(TextToShortCut("^s"), ShortCut('S', {ssCtrl}));
  EXPECT_EQ(TextToShortCut("alt+shift+f4"), ShortCut(VK_F4, {ssShift, ssAlt}));
  EXPECT_EQ(TextToShortCut("Ctrl+"), scNone);
  EXPECT_EQ(TextToShortCut("Bogus"), scNone);
  Word Key;
  TShiftState Shift;
  ShortCutToKey(ShortCut(VK_F1, {ssShift, ssCtrl}), Key, Shift);
  EXPECT_EQ(Key, VK_F1);
  EXPECT_TRUE(Shift == TShiftState({ssShift, ssCtrl}));
}

TEST(ShortCuts, HotkeysOfCaptions) {
  EXPECT_EQ(StripHotkey("&Open..."), "Open...");
  EXPECT_EQ(StripHotkey("Save && E&xit"), "Save & Exit");
  EXPECT_EQ(GetHotkey("Save && E&xit"), "X");
  EXPECT_EQ(GetHotkey("No hotkey"), "");
  EXPECT_TRUE(IsAccel('O', "&Open"));
  EXPECT_FALSE(IsAccel('P', "&Open"));
}

TEST(MenuItems, RadioItemsOfAGroupUncheckEachOther) {
  TComponent Owner(nullptr);
  auto* Root = NewItem(&Owner, nullptr, "Root", "");
  auto* Small = NewItem(&Owner, Root, "Small", "&Small");
  auto* Large = NewItem(&Owner, Root, "Large", "&Large");
  auto* Other = NewItem(&Owner, Root, "Other", "Other");
  auto* Plain = NewItem(&Owner, Root, "Plain", "Plain");
  for (TMenuItem* I : {Small, Large, Other}) I->SetRadioItem(true);
  Small->SetGroupIndex(1);
  Large->SetGroupIndex(1);
  Other->SetGroupIndex(2);
  Plain->SetGroupIndex(2);
  Small->SetChecked(true);
  Other->SetChecked(true);
  Plain->SetChecked(true);
  Large->SetChecked(true);
  EXPECT_FALSE(Small->GetChecked());
  EXPECT_TRUE(Large->GetChecked());
  EXPECT_TRUE(Other->GetChecked());  // another group
  EXPECT_TRUE(Plain->GetChecked());  // not a radio item
  // AutoCheck radio items check themselves when clicked.
  Small->SetAutoCheck(true);
  Small->Click();
  EXPECT_TRUE(Small->GetChecked());
  EXPECT_FALSE(Large->GetChecked());
  // Group indexes never fall along the list.
  EXPECT_THROW(Plain->SetGroupIndex(0), EMenuError);
  Small->SetGroupIndex(3);
  EXPECT_EQ(Plain->GetGroupIndex(), 3);
}

TEST(MenuItems, TreeOperationsAndErrors) {
  TComponent Owner(nullptr);
  auto* Root = NewItem(&Owner, nullptr, "Root", "");
  auto* Open = NewItem(&Owner, Root, "Open", "&Open...");
  auto* Line = NewItem(&Owner, Root, "Line", "-");
  auto* Exit = NewItem(&Owner, nullptr, "Exit", "E&xit");
  Root->Insert(1, Exit);
  EXPECT_EQ(Root->IndexOf(Exit), 1);
  EXPECT_EQ(Root->Find("open..."), Open);
  EXPECT_EQ(Root->Find("Exit"), Exit);
  EXPECT_TRUE(Line->IsLine());
  EXPECT_EQ(Exit->GetParent(), Root);
  EXPECT_THROW(Root->Add(Exit), EMenuError);
  EXPECT_THROW(Root->Insert(9, NewItem(&Owner, nullptr, "Far", "Far")), EMenuError);
  EXPECT_THROW(Root->GetItem(3), EMenuError);
  EXPECT_THROW(Open->Remove(Exit), EMenuError);
  Exit->SetMenuIndex(0);
  EXPECT_EQ(Root->GetItem(0), Exit);
  Root->Delete(0);  // deletes Exit
  EXPECT_EQ(Root->GetCount(), 2);
  EXPECT_EQ(Owner.FindComponent("Exit"), nullptr);
  // Commands are unique while the items live.
  EXPECT_NE(Open->GetCommand(), Line->GetCommand());
  EXPECT_NE(Root->GetCommand(), Open->GetCommand());
}

TEST(MenuItems, NativeMenuFollowsTheItems) {
  auto Owner = std::make_unique<TComponent>(nullptr);
  auto* Menu = new TPopupMenu(Owner.get());
  auto* Open = NewItem(Owner.get(), Menu->GetItems(), "Open", "&Open");
  auto* Hidden = NewItem(Owner.get(), Menu->GetItems(), "Hidden", "Hidden");
  auto* Save = NewItem(Owner.get(), Menu->GetItems(), "Save", "&Save");
  Hidden->SetVisible(false);
  Save->SetShortCut(ShortCut('S', {ssCtrl}));
  const HMENU Handle = Menu->GetHandle();
  ASSERT_NE(Handle, nullptr);
  EXPECT_EQ(GetMenuItemCount(Handle), 2);
  EXPECT_EQ(GetMenuStringText(Handle, Save->GetCommand(), MF_BYCOMMAND), "&Save\tCtrl+S");
  Open->SetEnabled(false);
  Open->SetChecked(true);
  const UINT State = GetMenuState(Handle, Open->GetCommand(), MF_BYCOMMAND);
  EXPECT_NE(State & MF_GRAYED, 0u);
  EXPECT_NE(State & MF_CHECKED, 0u);
  Hidden->SetVisible(true);
  EXPECT_EQ(GetMenuItemCount(Handle), 3);
  auto* Sub = NewItem(Owner.get(), Save, "Sub", "Sub");
  EXPECT_EQ(GetSubMenu(Handle, 2), Save->GetHandle());
  EXPECT_EQ(Menu->FindItem(reinterpret_cast<UINT_PTR>(Save->GetHandle()), fkHandle), Save);
  EXPECT_EQ(Menu->FindItem(ShortCut('S', {ssCtrl}), fkShortCut), Save);
  EXPECT_EQ(Menu->FindItem(Sub->GetCommand(), fkCommand), Sub);
  // The popup menus' window goes with the last of them; the loop frees it.
  Owner.reset();
  RunUntilIdle();
}

TEST_F(TFormsTest, MainMenuCommandsAndShortCutsClickItems) {
  TMenuLog Log;
  TForm* Form = NewForm("Form");
  auto* Menu = new TMainMenu(Form);
  Menu->SetName("MainMenu");
  Menu->OnChange = TMenuChangeEvent(&Log, &TMenuLog::Change);
  auto* File = NewItem(Form, Menu->GetItems(), "File", "&File", &Log);
  auto* Save = NewItem(Form, File, "Save", "&Save", &Log);
  Save->SetShortCut(ShortCut('S', {ssCtrl}));
  auto* Box = NewChild<TTestControl>(Form, "Box", Bounds(10, 10, 50, 20));
  (void)Box;
  Log.Lines.clear();
  Form->SetMenu(Menu);
  // Set before the window exists, the client height leaves room for the bar.
  Form->SetClientHeight(200);
  const Integer HeightWithBar = Form->GetHeight();
  Form->Show();
  Pump();
  EXPECT_EQ(GetMenu(Form->GetHandle()), Menu->GetHandle());
  EXPECT_EQ(Form->GetClientHeight(), 200);
  EXPECT_EQ(Form->GetHeight(), HeightWithBar);

  PostMessage(Form->GetHandle(), WM_COMMAND, Save->GetCommand(), 0);
  Pump();
  ScriptKeyPress('S', "", {VK_CONTROL});
  Pump();
  // The short-cut clicks the items above first, as opening the menu would.
  EXPECT_EQ(Log.Lines, (TLines{"Click Save", "Click File", "Click Save"}));
  Log.Lines.clear();
  Save->SetCaption("Save &As");
  EXPECT_EQ(Log.Lines, (TLines{"Change Save"}));
  // A disabled item takes the short-cut without a click.
  Save->SetEnabled(false);
  Log.Lines.clear();
  ScriptKeyPress('S', "", {VK_CONTROL});
  Pump();
  EXPECT_TRUE(std::find(Log.Lines.begin(), Log.Lines.end(), "Click Save") == Log.Lines.end());
}

TEST_F(TFormsTest, PopupMenuOfAControlShowsOnRightClickAndRunsTheChosenItem) {
  TMenuLog Log;
  TForm* Form = NewForm("Form");
  auto* Box = NewChild<TTestControl>(Form, "Box", Bounds(10, 10, 100, 50));
  auto* Menu = new TPopupMenu(Form);
  Menu->SetName("Popup");
  Menu->OnPopup = TNotifyEvent(&Log, &TMenuLog::Popup);
  NewItem(Form, Menu->GetItems(), "Cut", "Cu&t", &Log);
  NewItem(Form, Menu->GetItems(), "Copy", "&Copy", &Log);
  Box->SetPopupMenu(Menu);
  Form->Show();
  Pump();
  Integer Idle = 0;
  SetModalHook([&] {
    // In the menu loop: down to the second item and choose it.
    if (Idle++ == 0) {
      ScriptKeyPress(VK_DOWN);
      ScriptKeyPress(VK_DOWN);
      ScriptKeyPress(VK_RETURN);
    }
  });
  const TPoint P = At(Box, 5, 5);
  ScriptClick(P.X, P.Y, 1);
  Pump();
  Pump();
  EXPECT_EQ(Log.Lines, (TLines{"Popup Popup", "Click Copy"}));
  EXPECT_EQ(Menu->GetPopupComponent(), Box);
  EXPECT_EQ(Menu->GetPopupPoint(), P);

  // Without AutoPopup the right click does nothing.
  Log.Lines.clear();
  Menu->SetAutoPopup(false);
  ScriptClick(P.X, P.Y, 1);
  Pump();
  EXPECT_TRUE(Log.Lines.empty());
}

// A long operation pumps messages while the user opens a title of the menu bar with the mouse
// and presses Escape once: the menu closes and the operation goes on to its end.
TEST_F(TFormsTest, OneEscapeEndsAMenuOpenedWhileAnOperationPumps) {
  TMenuLog Log;
  TForm* Form = NewForm("Form");
  auto* Menu = new TMainMenu(Form);
  auto* File = NewItem(Form, Menu->GetItems(), "File", "&File", &Log);
  NewItem(Form, File, "Save", "&Save", &Log);
  Form->SetMenu(Menu);
  Form->Show();
  Pump();
  RECT Title;
  ASSERT_TRUE(GetMenuItemRect(Form->GetHandle(), Menu->GetHandle(), 0, &Title));
  // The menu loop running out of input means it waits for more: the operation is stuck.
  bool Stuck = false;
  SetModalHook([&] {
    Stuck = true;
    EndMenu();
  });
  constexpr Integer Rounds = 50;
  Integer Done = 0;
  for (; Done < Rounds; ++Done) {
    if (Done == 10) {
      ScriptClick((Title.Left + Title.Right) / 2, (Title.Top + Title.Bottom) / 2);
      ScriptKeyPress(VK_ESCAPE);
    }
    Clock.Advance(10);
    Application->ProcessMessages();
  }
  EXPECT_EQ(Done, Rounds);
  EXPECT_FALSE(Stuck);
  EXPECT_EQ(Log.Lines, TLines{"Click File"});
  EXPECT_EQ(GetMenuState(Menu->GetHandle(), 0, MF_BYPOSITION) & MF_HILITE, 0u);
}
