// Skinned popup menu chains: the order of the close and command notices, the submenu delay, the
// keyboard, placement, scrolling, and the default look's pixels.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/classes/Bitmap.h"
#include "platform/classes/Menus.h"
#include "platform/system/Clock.h"
#include "platform/user/WindowPaint.h"
#include "skin/form/bsSkinMenuDraw.h"
#include "skin/form/bsSkinPopupMenus.h"
#include "tests/skin/SkinTestSupport.h"

namespace {

using namespace SkinTesting;

// A control that writes down the menu notices it gets.
class TNoticeControl : public TCustomControl {
 public:
  TNoticeControl(TComponent* AOwner, TLines* Log) : TCustomControl(AOwner), FLog(Log) {}
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_CLOSESKINMENU || Message.Msg == WM_AFTERDISPATCH)
      FLog->push_back(GetName() + " " + std::to_string(Message.Msg));
    TCustomControl::Dispatch(Message);
  }

 private:
  TLines* FLog;
};

// Notes when a watched component goes.
class TGoneWatch : public TComponent {
 public:
  TGoneWatch() : TComponent(nullptr) {}
  bool Gone = false;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove) Gone = true;
  }
};

// A form that writes down the close notices its procedure sees.
class TNoticeForm : public TForm {
 public:
  explicit TNoticeForm(TLines* Log) : TForm(nullptr), FLog(Log) {}
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_CLOSESKINMENU) FLog->push_back("form " + std::to_string(Message.Msg));
    TForm::Dispatch(Message);
  }

 private:
  TLines* FLog;
};

// A clock that moves 3 ms on every read, as the fade-in loop reads it without processing
// messages; Probe runs at each read.
class TStepClock : public TClockSource {
 public:
  Int64 MonotonicNanoseconds() override {
    if (Probe) Probe();
    return Ns += 3000000;
  }
  TDateTime WallClockNow() override { return 36526.0; }
  void SleepFor(DWORD) override {}
  std::function<void()> Probe;

 private:
  Int64 Ns = 1000000000;
};

class TMenusPopupTest : public TSkinTest {
 public:
  void Clicked(TObject* Sender) { Log.push_back("click " + TEventLog::NameOf(Sender)); }
  void Closed(TObject*) { Log.push_back("OnMenuClose"); }

 protected:
  void SetUp() override {
    TSkinTest::SetUp();
    Form = new TNoticeForm(&Log);
    Form->SetBounds(100, 100, 400, 300);
    Forms.emplace_back(Form);
    Form->Show();
    Menu = new TbsSkinMenu(Form, Form);
    Items = new TPopupMenu(Form);
    Pump();
  }
  TMenuItem* Add(TMenuItem* Parent, const std::string& Caption, const std::string& Name = "") {
    auto* I = new TMenuItem(Form);
    I->SetCaption(Caption);
    if (!Name.empty()) I->SetName(Name);
    I->OnClick = TNotifyEvent(this, &TMenusPopupTest::Clicked);
    (Parent != nullptr ? Parent : Items->GetItems())->Add(I);
    return I;
  }
  TNoticeControl* NewNoticeControl(const std::string& Name) {
    auto* C = new TNoticeControl(Form, &Log);
    C->SetName(Name);
    C->SetParent(Form);
    C->SetBounds(10, 10, 50, 20);
    return C;
  }
  void PopupAt(TControl* Control, Integer X, Integer Y) {
    Menu->Popup(Control, nullptr, false, Items->GetItems(), Rect(X, Y, X, Y), 0);
    Pump();
  }
  TbsSkinPopupWindow* Window(Integer I) { return Menu->PopupList.at(I); }
  Integer Chain() const { return static_cast<Integer>(Menu->PopupList.size()); }
  // The screen point in the middle of item I of window W.
  TPoint ItemPoint(Integer W, Integer I) {
    TbsSkinPopupWindow* Win = Window(W);
    const TRect& R = Win->ItemList.at(I)->ObjectRect;
    return Win->ClientToScreen({(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2});
  }
  void MoveToItem(Integer W, Integer I) {
    const TPoint P = ItemPoint(W, I);
    ScriptMoveTo(P.X, P.Y);
    Pump();
  }
  // Writes down each new alpha of the chain's last window.
  std::function<void()> AlphaRecorder(std::vector<Integer>& Alphas) {
    return [this, &Alphas] {
      TbsSkinPopupWindow* W = Menu->LastWindow();
      BYTE Alpha = 0;
      if (W == nullptr || !W->HandleAllocated() ||
          !GetLayeredWindowAttributes(W->GetHandle(), nullptr, &Alpha, nullptr))
        return;
      if (Alphas.empty() || Alphas.back() != Alpha) Alphas.push_back(Alpha);
    };
  }
  void Key(Word K) { Menu->LastWindow()->ProcessKey(K); }
  Integer Active(Integer W) { return Window(W)->ActiveItem; }

  TLines Log;
  TNoticeForm* Form = nullptr;
  TbsSkinMenu* Menu = nullptr;
  TPopupMenu* Items = nullptr;
};

TEST_F(TMenusPopupTest, ChoosingALeafNotifiesInOrder) {
  TNoticeControl* Button = NewNoticeControl("button");
  Add(nullptr, "Open", "Open1");
  PopupAt(Button, 200, 200);
  Menu->OnMenuClose = TNotifyEvent(this, &TMenusPopupTest::Closed);
  ASSERT_EQ(Chain(), 1);
  const TPoint P = ItemPoint(0, 0);
  ScriptClick(P.X, P.Y);
  Pump();
  EXPECT_EQ(Log, (TLines{"button 1228", "OnMenuClose", "form 1228", "click Open1", "button 1229"}));
  EXPECT_FALSE(Menu->Visible);
  EXPECT_EQ(Chain(), 0);
  EXPECT_FALSE(Menu->OnMenuClose);
}

TEST_F(TMenusPopupTest, AWindowLivesUntilTheCommandChosenInItReturns) {
  TMenuItem* Open = Add(nullptr, "Open", "Open1");
  PopupAt(nullptr, 200, 200);
  TGoneWatch Watch;
  Window(0)->FreeNotification(&Watch);
  struct TModal {
    TGoneWatch* Watch;
    bool GoneDuringCommand = true;
    // A command that runs a loop of its own, as a dialog does.
    void Run(TObject*) {
      for (Integer I = 0; I < 5; ++I) Application->ProcessMessages();
      GoneDuringCommand = Watch->Gone;
    }
  } Modal{&Watch};
  Open->OnClick = TNotifyEvent(&Modal, &TModal::Run);
  const TPoint P = ItemPoint(0, 0);
  ScriptClick(P.X, P.Y);
  Pump();
  EXPECT_FALSE(Modal.GoneDuringCommand);
  Pump();
  EXPECT_TRUE(Watch.Gone);
}

TEST_F(TMenusPopupTest, ANewChainClosesTheOldOneBeforeTakingItsControl) {
  TNoticeControl* First = NewNoticeControl("first");
  TNoticeControl* Second = NewNoticeControl("second");
  Add(nullptr, "Open", "Open1");
  PopupAt(First, 200, 200);
  PopupAt(Second, 220, 220);
  // The old chain's notice reaches its own control.
  EXPECT_EQ(Log, (TLines{"first 1228"}));
  EXPECT_EQ(Menu->PopupCtrl, Second);
  Log.clear();
  Key(VK_RETURN);
  Pump();
  EXPECT_EQ(Log, (TLines{"second 1228", "form 1228", "click Open1", "second 1229"}));
}

TEST_F(TMenusPopupTest, AnItemWithoutChildrenOpensNothingButKeepsItsControl) {
  TNoticeControl* Button = NewNoticeControl("button");
  PopupAt(Button, 200, 200);
  EXPECT_FALSE(Menu->Visible);
  EXPECT_EQ(Chain(), 0);
  Menu->CloseMenus();
  EXPECT_EQ(Log, (TLines{"button 1228", "form 1228"}));
}

TEST_F(TMenusPopupTest, HoveringAParentOpensItsSubmenuAfterHalfASecond) {
  Add(nullptr, "Leaf", "Leaf1");
  TMenuItem* Parent = Add(nullptr, "More", "More1");
  Add(Parent, "Inner", "Inner1");
  PopupAt(nullptr, 200, 200);
  MoveToItem(0, 1);
  // The window polls the pointer every 50 ms; the wait starts at that poll.
  Wait(50);
  ASSERT_EQ(Menu->WaitItem, Window(0)->ItemList[1].get());
  Wait(490);
  EXPECT_EQ(Chain(), 1);
  Wait(10);
  ASSERT_EQ(Chain(), 2);
  EXPECT_TRUE(Window(0)->ItemList[1]->Down);
  EXPECT_EQ(Log, (TLines{"click More1"}));
  // The submenu's first item is level with its parent item.
  EXPECT_EQ(Window(1)->GetTop() + Window(1)->ItemList[0]->ObjectRect.Top,
            Window(0)->GetTop() + Window(0)->ItemList[1]->ObjectRect.Top);
}

TEST_F(TMenusPopupTest, MovingToASiblingCancelsTheWaitAndAClickOpensAtOnce) {
  Add(nullptr, "Leaf", "Leaf1");
  TMenuItem* Parent = Add(nullptr, "More", "More1");
  Add(Parent, "Inner", "Inner1");
  PopupAt(nullptr, 200, 200);
  MoveToItem(0, 1);
  Wait(200);
  MoveToItem(0, 0);
  Wait(600);
  EXPECT_EQ(Chain(), 1);
  EXPECT_EQ(Menu->WaitItem, nullptr);
  const TPoint P = ItemPoint(0, 1);
  ScriptClick(P.X, P.Y);
  Pump();
  EXPECT_EQ(Chain(), 2);
}

TEST_F(TMenusPopupTest, TheRightButtonChoosesNothing) {
  Add(nullptr, "Open", "Open1");
  PopupAt(nullptr, 200, 200);
  const TPoint P = ItemPoint(0, 0);
  Window(0)->Perform(WM_RBUTTONDOWN, 0, 0);
  const TPoint C = Window(0)->ScreenToClient(P);
  Window(0)->Perform(WM_RBUTTONUP, 0, MAKELPARAM(C.X, C.Y));
  Pump();
  EXPECT_EQ(Chain(), 1);
  EXPECT_TRUE(Log.empty());
}

TEST_F(TMenusPopupTest, KeyboardWalksSkipsAndWraps) {
  Add(nullptr, "A", "A1");
  Add(nullptr, "-");
  Add(nullptr, "B", "B1")->SetEnabled(false);
  TMenuItem* C = Add(nullptr, "C", "C1");
  Add(C, "C-one", "Cone1");
  Add(C, "C-two", "Ctwo1");
  Add(nullptr, "D", "D1");
  PopupAt(NewNoticeControl("button"), 200, 200);
  struct TStep {
    Word Key;
    Integer Chain;
    Integer ActiveInLast;
  };
  const TStep Steps[] = {
      {VK_DOWN, 1, 3},    // over the separator and the disabled item
      {VK_RIGHT, 2, 0},   // the submenu opens at once, its first item highlighted
      {VK_DOWN, 2, 1},    //
      {VK_DOWN, 2, 0},    // the end continues from the top
      {VK_LEFT, 1, 3},    // one level closes
      {VK_DOWN, 1, 4},    //
      {VK_DOWN, 1, 0},    // the last item continues with the first
      {VK_UP, 1, 4},      // the first continues with the last
      {VK_UP, 1, 3},      //
      {VK_RETURN, 2, 0},  // Enter on a parent opens it
      {VK_ESCAPE, 1, 3},  // Escape closes one level too
  };
  for (const TStep& S : Steps) {
    Key(S.Key);
    Pump();
    ASSERT_EQ(Chain(), S.Chain) << S.Key;
    EXPECT_EQ(Menu->LastWindow()->ActiveItem, S.ActiveInLast) << S.Key;
  }
  EXPECT_FALSE(Window(0)->ItemList[3]->Down);
  EXPECT_EQ(Log, (TLines{"click C1", "click C1"}));
  Key(VK_ESCAPE);
  Pump();
  EXPECT_EQ(Chain(), 0);
  EXPECT_EQ(Log.back(), "button 1228");
}

TEST_F(TMenusPopupTest, DownKeepsTheHighlightWhenOnlyUnselectableItemsFollow) {
  Add(nullptr, "X", "X1");
  Add(nullptr, "Y", "Y1");
  Add(nullptr, "-");
  Add(nullptr, "Z", "Z1")->SetEnabled(false);
  PopupAt(nullptr, 200, 200);
  Key(VK_DOWN);
  EXPECT_EQ(Active(0), 1);
  Key(VK_DOWN);
  EXPECT_EQ(Active(0), 1);
}

TEST_F(TMenusPopupTest, AnAcceleratorRunsItsItemOrOpensItsSubmenu) {
  Add(nullptr, "&Save", "Save1");
  TMenuItem* Parent = Add(nullptr, "E&xport", "Export1");
  Add(Parent, "Picture", "Picture1");
  Add(nullptr, "&Quit", "Quit1")->SetEnabled(false);
  PopupAt(nullptr, 200, 200);
  Key('X');
  EXPECT_EQ(Chain(), 2);
  Key(VK_ESCAPE);
  Key('Q');  // a disabled item is highlighted, not run
  EXPECT_EQ(Active(0), 2);
  EXPECT_EQ(Chain(), 1);
  Key('S');
  Pump();
  EXPECT_EQ(Chain(), 0);
  EXPECT_EQ(Log, (TLines{"click Export1", "form 1228", "click Save1"}));
}

// ---- Placement ------------------------------------------------------------------------------

TEST_F(TMenusPopupTest, PlacementFollowsTheWorkArea) {
  Add(nullptr, "Open", "Open1");
  PopupAt(nullptr, 200, 200);
  TbsSkinPopupWindow* W = Window(0);
  Menu->WorkArea = Rect(0, 0, 800, 600);
  W->SetBounds(W->GetLeft(), W->GetTop(), 100, 200);
  W->NewItemsRect = Rect(2, 2, 98, 198);
  struct TCase {
    const char* Name;
    TRect R;
    bool Submenu, Up;
    Integer Top, Left;
  };
  const TCase Cases[] = {
      {"under", Rect(100, 100, 150, 120), false, false, 120, 100},
      {"over in the lower half", Rect(100, 500, 150, 520), false, false, 300, 100},
      {"beside in the upper half", Rect(100, 250, 150, 450), false, false, 400, 151},
      {"kept left of the right edge", Rect(750, 100, 760, 120), false, false, 120, 700},
      {"kept right of the left edge", Rect(-20, 100, 10, 120), false, false, 120, 0},
      {"up", Rect(100, 400, 150, 420), false, true, 200, 100},
      {"up without room above", Rect(100, 100, 150, 120), false, true, 120, 100},
      {"submenu level with its item", Rect(100, 100, 300, 120), true, false, 98, 301},
      {"submenu left of its item", Rect(650, 100, 750, 120), true, false, 98, 549},
      {"submenu near the bottom", Rect(100, 500, 300, 520), true, false, 322, 301},
  };
  for (const TCase& C : Cases) {
    bool Flipped = false;
    EXPECT_EQ(W->CalcTop(C.R, C.Submenu, C.Up, Flipped), C.Top) << C.Name;
    EXPECT_EQ(W->CalcLeft(C.R, C.Submenu, Flipped), C.Left) << C.Name;
  }
  // A window as tall as the work area starts at its top and stands beside the rectangle.
  W->Scroll = true;
  bool Flipped = false;
  EXPECT_EQ(W->CalcTop(Rect(100, 100, 150, 120), false, false, Flipped), 0);
  EXPECT_EQ(W->CalcLeft(Rect(100, 100, 150, 120), false, Flipped), 151);
}

// ---- Scrolling ------------------------------------------------------------------------------

TEST_F(TMenusPopupTest, MaxItemsLimitTheWindowAndTheKeysScrollIt) {
  for (Integer I = 0; I < 8; ++I) Add(nullptr, "Item " + std::to_string(I));
  Menu->MaxMenuItemsInWindow = 5;
  PopupAt(nullptr, 200, 200);
  TbsSkinPopupWindow* W = Window(0);
  EXPECT_EQ(W->GetHeight(), 5 * 20 + 24);
  EXPECT_TRUE(W->Scroll);
  EXPECT_TRUE(W->LimitScroll);
  // Placed under the point as usual.
  EXPECT_EQ(W->GetTop(), 200);
  EXPECT_EQ(W->VisibleCount, 5);
  for (Integer I = 0; I < 5; ++I) Key(VK_DOWN);
  EXPECT_EQ(Active(0), 5);
  EXPECT_EQ(W->VisibleStartIndex, 1);
  EXPECT_FALSE(W->ItemList[0]->Visible);
  Key(VK_DOWN);
  Key(VK_DOWN);
  Key(VK_DOWN);  // the last item continues from the top, scrolled back
  EXPECT_EQ(Active(0), 0);
  EXPECT_EQ(W->VisibleStartIndex, 0);
}

TEST_F(TMenusPopupTest, TheLowerMarkerScrollsEveryHundredMilliseconds) {
  for (Integer I = 0; I < 8; ++I) Add(nullptr, "Item " + std::to_string(I));
  Menu->MaxMenuItemsInWindow = 5;
  PopupAt(nullptr, 200, 200);
  TbsSkinPopupWindow* W = Window(0);
  const TRect Lower = W->DownMarkerRect();
  const TPoint P = W->ClientToScreen({(Lower.Left + Lower.Right) / 2, (Lower.Top + Lower.Bottom) / 2});
  ScriptMoveTo(P.X, P.Y);
  Wait(60);
  EXPECT_EQ(W->ScrollCode, 2);
  Wait(100);
  EXPECT_EQ(W->VisibleStartIndex, 1);
  Wait(400);
  // It stops once the last item shows.
  EXPECT_EQ(W->VisibleStartIndex, 3);
  EXPECT_EQ(W->ScrollCode, 0);
}

// ---- Animation frames ----------------------------------------------------------------------

TEST(TMenuAnimationFrames, StackedWhenTallerThanTheLookElseSideBySide) {
  const TRect Look{0, 0, 40, 20};
  // Four times as tall as the look: stacked downwards, each as tall as the look.
  EXPECT_EQ(AnimationFrameRect(TRect{50, 0, 90, 80}, Look, 4, 1), (TRect{50, 0, 90, 20}));
  EXPECT_EQ(AnimationFrameRect(TRect{50, 0, 90, 80}, Look, 4, 4), (TRect{50, 60, 90, 80}));
  // As tall as the look and four times as wide: side by side.
  EXPECT_EQ(AnimationFrameRect(TRect{0, 30, 160, 50}, Look, 4, 1), (TRect{0, 30, 40, 50}));
  EXPECT_EQ(AnimationFrameRect(TRect{0, 30, 160, 50}, Look, 4, 3), (TRect{80, 30, 120, 50}));
}

// ---- Fade-in -------------------------------------------------------------------------------

TEST_F(TMenusPopupTest, TheFirstWindowFadesInAndSubmenusShowAtOnce) {
  TMenuItem* Parent = Add(nullptr, "More", "More1");
  Add(Parent, "Inner", "Inner1");
  Menu->AlphaBlend = true;
  Menu->AlphaBlendAnimation = true;
  Menu->AlphaBlendValue = 150;
  std::vector<Integer> Alphas;
  TStepClock Steps;
  Steps.Probe = [&] {
    TbsSkinPopupWindow* W = Menu->LastWindow();
    BYTE Alpha = 0;
    DWORD Flags = 0;
    if (W == nullptr || !W->HandleAllocated() ||
        !GetLayeredWindowAttributes(W->GetHandle(), nullptr, &Alpha, &Flags))
      return;
    if (Alphas.empty() || Alphas.back() != Alpha) Alphas.push_back(Alpha);
  };
  SetClockSource(&Steps);
  Menu->Popup(nullptr, nullptr, false, Items->GetItems(), Rect(200, 200, 200, 200), 0);
  std::vector<Integer> Expected;
  for (Integer A = 0; A <= 150; A += 10) Expected.push_back(A);
  EXPECT_EQ(Alphas, Expected);
  // The submenu shows with its final alpha.
  Alphas.clear();
  Key(VK_RIGHT);
  SetClockSource(&Clock);
  ASSERT_EQ(Chain(), 2);
  BYTE Alpha = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(Window(1)->GetHandle(), nullptr, &Alpha, nullptr));
  EXPECT_EQ(Alpha, 150);
  EXPECT_TRUE(Alphas.empty() || Alphas.front() == 150);
}

TEST_F(TMenusPopupTest, ASmallAlphaFadesInStepsOfOne) {
  Add(nullptr, "Open", "Open1");
  Menu->AlphaBlend = true;
  Menu->AlphaBlendAnimation = true;
  Menu->AlphaBlendValue = 10;
  std::vector<Integer> Alphas;
  TStepClock Steps;
  Steps.Probe = AlphaRecorder(Alphas);
  SetClockSource(&Steps);
  Menu->Popup(nullptr, nullptr, false, Items->GetItems(), Rect(200, 200, 200, 200), 0);
  SetClockSource(&Clock);
  EXPECT_EQ(Alphas, (std::vector<Integer>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

// ---- Default look ---------------------------------------------------------------------------

TEST_F(TMenusPopupTest, DefaultLookPixels) {
  Add(nullptr, "Open", "Open1");
  Add(nullptr, "-");
  Add(nullptr, "Grid", "Grid1")->SetChecked(true);
  TMenuItem* Parent = Add(nullptr, "More", "More1");
  Add(Parent, "Inner");
  PopupAt(nullptr, 200, 200);
  TbsSkinPopupWindow* W = Window(0);
  Pump();
  auto Px = [&](Integer X, Integer Y) { return PixelAt(W, X, Y); };
  const Integer Wd = W->GetWidth();
  // The window frame, the image column (21 pixels with the frame) and the item area.
  EXPECT_EQ(Px(0, 0), ScreenColor(clBtnShadow));
  EXPECT_EQ(Px(1, 30), ScreenColor(clWindow));
  EXPECT_EQ(Px(20, 33), ScreenColor(clBtnFace));
  EXPECT_EQ(Px(21, 33), ScreenColor(clWindow));
  // The first item is highlighted when the window opens: a navy frame around the face.
  EXPECT_EQ(Px(2, 2), 0x000080u);
  EXPECT_EQ(Px(Wd - 3, 21), 0x000080u);
  EXPECT_EQ(Px(3, 3), 0xB6BDD2u);
  // The separator line (4 pixels high) from the image column on.
  EXPECT_EQ(Px(21, 24), ScreenColor(clBtnShadow));
  EXPECT_EQ(Px(20, 24), ScreenColor(clBtnFace));
  // The check mark of "Grid" (item 26..46): its first stroke starts at (5, 11) of the item.
  EXPECT_EQ(Px(2 + 5, 26 + 11), ScreenColor(clWindowText));
  EXPECT_EQ(Px(2 + 7, 26 + 13), ScreenColor(clWindowText));
  // The submenu arrow of "More" (item 46..66): 4 pixels wide, 7 high, at R.Right - 7.
  const Integer ArrowX = 2 + (Wd - 4) - 2 - 7;
  EXPECT_EQ(Px(ArrowX, 46 + 6), ScreenColor(clWindowText));
  EXPECT_EQ(Px(ArrowX, 46 + 12), ScreenColor(clWindowText));
  EXPECT_EQ(Px(ArrowX + 3, 46 + 9), ScreenColor(clWindowText));
  EXPECT_EQ(Px(ArrowX + 4, 46 + 9), ScreenColor(clWindow));
}

TEST_F(TMenusPopupTest, HeadersAndTheFormMenusGlyphsInTheDefaultLook) {
  Add(nullptr, "Top", "Top1");
  Add(nullptr, "-Tools-", "Header1")->SetEnabled(false);
  Add(nullptr, "-Tools-", "Plain1");
  Add(nullptr, "Close", "BSF_CLOSE");
  PopupAt(nullptr, 200, 200);
  TbsSkinPopupWindow* W = Window(0);
  Pump();
  // A disabled item between dashes is a header: all of it in the shadow colour.
  EXPECT_EQ(PixelAt(W, 3, 22 + 1), ScreenColor(clBtnShadow));
  EXPECT_EQ(PixelAt(W, W->GetWidth() - 4, 22 + 18), ScreenColor(clBtnShadow));
  // The same caption enabled is an ordinary item.
  EXPECT_EQ(PixelAt(W, 3, 42 + 1), ScreenColor(clBtnFace));
  EXPECT_EQ(PixelAt(W, W->GetWidth() - 4, 42 + 18), ScreenColor(clWindow));
  // The close item of a form menu gets the close glyph in its image column.
  auto InkIn = [&](Integer Top) {
    Integer Ink = 0;
    for (Integer X = 4; X < 4 + 11; ++X)
      for (Integer Y = Top + 6; Y < Top + 16; ++Y)
        if (PixelAt(W, X, Y) == ScreenColor(clWindowText)) ++Ink;
    return Ink;
  };
  EXPECT_GT(InkIn(62), 8);
  EXPECT_EQ(InkIn(2), 0);
  EXPECT_EQ(InkIn(42), 0);
}

TEST_F(TMenusPopupTest, WidthAndHeightOfTheDefaultLook) {
  TMenuItem* Open = Add(nullptr, "Open", "Open1");
  Open->SetShortCut(ShortCut('O', TShiftState{ssCtrl}));
  Add(nullptr, "-");
  PopupAt(nullptr, 200, 200);
  TbsSkinPopupWindow* W = Window(0);
  TBitmap Probe;
  Probe.GetCanvas()->GetFont()->Assign(Menu->DefaultMenuItemFont.get());
  const Integer Text = Probe.GetCanvas()->TextWidth("Open  Ctrl+O");
  EXPECT_EQ(W->GetWidth(), Text + 2 + 19 + 19 + 10);
  EXPECT_EQ(W->GetHeight(), 20 + 4 + 4);
}

}  // namespace
