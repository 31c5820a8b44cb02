// The skinned form's caption buttons, window states, system menu, keyboard hook, snapping and
// fade-in, driven by scripted input on the headless display with a fake clock.
#include <string>
#include <vector>

#include "platform/classes/Application.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/data/bsLayered.h"
#include "skin/data/bsUtils.h"
#include "skin/form/SkinForm.h"
#include "skin/form/bsSkinFormObjects.h"
#include "tests/skin/SkinTestSupport.h"

namespace {

using namespace SkinTesting;

class TFormStatesTest : public TSkinTest {
 protected:
  // A shown, active skinless form of 400 x 300 at (100, 100).
  TbsSkinForm* NewSkinlessForm(TForm** FormOut, const std::string& Name = "Form", Integer X = 100,
                               Integer Y = 100) {
    TForm* Form = NewForm(Name, X, Y);
    auto* SF = new TbsSkinForm(Form);
    Form->SetBounds(X, Y, 400, 300);
    Form->SetBorderStyle(bsSizeable);
    Form->Show();
    Form->SetFocus();
    Pump();
    *FormOut = Form;
    return SF;
  }
  static TPoint Centre(TForm* Form, TbsActiveSkinObject* O) {
    return Point(Form->GetLeft() + (O->ObjectRect.Left + O->ObjectRect.Right) / 2,
                 Form->GetTop() + (O->ObjectRect.Top + O->ObjectRect.Bottom) / 2);
  }
  void MoveTo(TPoint P) {
    ScriptMoveTo(P.X, P.Y);
    Wait(120);
  }
};

TEST_F(TFormStatesTest, AHeldCloseButtonLightsNothingElseAndClosesOnlyWhenReleasedOnIt) {
  TForm* Form = nullptr;
  TbsSkinForm* SF = NewSkinlessForm(&Form);
  auto* Close = static_cast<TbsSkinStdButtonObject*>(SF->FindObject("closebutton"));
  TbsActiveSkinObject* Max = SF->FindObject("maxbutton");
  MoveTo(Centre(Form, Close));
  EXPECT_TRUE(Close->MouseOver);
  ScriptButton(true);
  Pump();
  EXPECT_TRUE(Close->Pressed);
  MoveTo(Centre(Form, Max));
  EXPECT_FALSE(Max->MouseOver);
  EXPECT_FALSE(Max->Active);
  // Released over the client area: the form stays.
  MoveTo(Point(300, 300));
  ScriptButton(false);
  Wait(60);
  EXPECT_FALSE(Close->Pressed);
  EXPECT_TRUE(Form->GetVisible());
  // Pressed and released on it: the form closes.
  MoveTo(Centre(Form, Close));
  ScriptButton(true);
  Pump();
  ScriptButton(false);
  Wait(60);
  EXPECT_FALSE(Form->GetVisible());
}

TEST_F(TFormStatesTest, TheMaximizeButtonMaximizesAndRestoresWithoutThePlatformState) {
  TForm* Form = nullptr;
  TbsSkinForm* SF = NewSkinlessForm(&Form);
  auto* Bar = new TbsSkinStatusBar(Form);
  Bar->SetParent(Form);
  Bar->SetSizeGrip(true);
  SF->SetStatusBar(Bar);
  MoveTo(Centre(Form, SF->FindObject("maxbutton")));
  ScriptButton(true);
  Pump();
  ScriptButton(false);
  Wait(60);
  EXPECT_EQ(SF->GetWindowState(), wsMaximized);
  EXPECT_EQ(Form->GetWindowState(), wsNormal);
  TRect Area;
  GetMonitorRect(Form->GetHandle(), true, Area);
  EXPECT_EQ(Form->GetWidth(), Area.Width() - 2);
  // No size grip on a maximized form.
  EXPECT_FALSE(Bar->GetShowGrip());
  SF->SetWindowState(wsNormal);
  EXPECT_EQ(Form->GetBoundsRect(), Rect(100, 100, 500, 400));
  EXPECT_TRUE(Bar->GetShowGrip());
}

TEST_F(TFormStatesTest, DraggingTheCaptionMovesAndDraggingTheBorderSizes) {
  TForm* Form = nullptr;
  NewSkinlessForm(&Form);
  ScriptDrag(Point(250, 110), Point(300, 160), 5);
  Wait(100);
  EXPECT_EQ(Form->GetBoundsRect(), Rect(150, 150, 550, 450));
  // The right border, one pixel in.
  ScriptDrag(Point(549, 300), Point(589, 300), 4);
  Wait(100);
  EXPECT_EQ(Form->GetBoundsRect(), Rect(150, 150, 590, 450));
}

TEST_F(TFormStatesTest, MinimizedFormsLineUpAlongTheBottom) {
  TRect Area;
  GetMonitorRect(nullptr, true, Area);
  std::vector<TForm*> Made;
  for (Integer I = 0; I < 6; ++I) {
    TForm* Form = nullptr;
    TbsSkinForm* SF = NewSkinlessForm(&Form, "F" + std::to_string(I));
    SF->SetMinWidth(Area.Width() / 5 - 4);
    SF->SetWindowState(wsMinimized);
    Made.push_back(Form);
  }
  const Integer W = Area.Width() / 5 - 4, H = 25;
  for (Integer I = 0; I < 5; ++I) {
    EXPECT_EQ(Made[I]->GetLeft(), Area.Left + I * W) << I;
    EXPECT_EQ(Made[I]->GetTop(), Area.Bottom - H) << I;
    EXPECT_EQ(Made[I]->GetHeight(), H);
  }
  EXPECT_EQ(Made[5]->GetLeft(), Area.Left);
  EXPECT_EQ(Made[5]->GetTop(), Area.Bottom - 2 * H);
}

TEST_F(TFormStatesTest, CaptionDoubleClicks) {
  const struct {
    TFormBorderStyle Style;
    TWindowState First, Second;
    bool RolledAfterFirst;
  } Cases[] = {
      {bsSizeable, wsMaximized, wsNormal, false},
      // A fixed frame rolls up and down instead.
      {bsDialog, wsNormal, wsNormal, true},
  };
  for (const auto& C : Cases) {
    TForm* Form = nullptr;
    TbsSkinForm* SF = NewSkinlessForm(&Form);
    Form->SetBorderStyle(C.Style);
    const LPARAM At = MAKELPARAM(Form->GetLeft() + 150, Form->GetTop() + 10);
    SendMessage(Form->GetHandle(), WM_NCLBUTTONDBLCLK, HTCAPTION, At);
    EXPECT_EQ(SF->GetWindowState(), C.First);
    EXPECT_EQ(SF->GetRollUpState(), C.RolledAfterFirst);
    if (C.RolledAfterFirst) {
      EXPECT_EQ(Form->GetHeight(), 25);
    }
    SendMessage(Form->GetHandle(), WM_NCLBUTTONDBLCLK, HTCAPTION,
                MAKELPARAM(Form->GetLeft() + 150, Form->GetTop() + 10));
    EXPECT_EQ(SF->GetWindowState(), C.Second);
    EXPECT_FALSE(SF->GetRollUpState());
    EXPECT_EQ(Form->GetHeight(), 300);
    Forms.clear();
  }
}

std::vector<std::string> Names(TMenuItem* Items) {
  std::vector<std::string> N;
  for (Integer I = 0; I < Items->GetCount(); ++I)
    N.push_back(Items->GetItem(I)->GetName().empty() ? Items->GetItem(I)->GetCaption()
                                                     : Items->GetItem(I)->GetName());
  return N;
}

TEST_F(TFormStatesTest, SystemMenus) {
  TForm* Form = nullptr;
  TbsSkinForm* SF = NewSkinlessForm(&Form);
  using L = std::vector<std::string>;
  EXPECT_EQ(Names(SF->GetSystemMenuItems()),
            (L{"BSF_MINITEM", "BSF_MAXITEM", "BSF_ROLLUP", "-", "BSF_CLOSE"}));
  EXPECT_EQ(SF->GetSystemMenuItems()->GetItem(4)->GetShortCut(), TextToShortCut("Alt+F4"));
  SF->SetWindowState(wsMaximized);
  EXPECT_EQ(Names(SF->GetSystemMenuItems()),
            (L{"BSF_MINITEM", "BSF_RESTORE", "BSF_ROLLUP", "-", "BSF_CLOSE"}));
  SF->SetWindowState(wsNormal);
  // A user menu gets the standard items around its own, once however often it opens.
  TPopupMenu User(Form);
  for (const char* N : {"UserA", "UserB"}) {
    auto* Item = new TMenuItem(&User);
    Item->SetName(N);
    User.GetItems()->Add(Item);
  }
  SF->SetSystemMenu(&User);
  const L Expected{"BSF_MINITEM", "BSF_MAXITEM", "BSF_ROLLUP", "UserA", "UserB", "BSF_CLOSE"};
  EXPECT_EQ(Names(SF->GetSystemMenuItems()), Expected);
  EXPECT_EQ(Names(SF->GetSystemMenuItems()), Expected);
  SF->SetSystemMenu(nullptr);
}

TEST_F(TFormStatesTest, TheFormGetsItsShortCutHandlerBackWhenTheComponentGoes) {
  TForm* Form = NewForm("Keys");
  TEventLog Log;
  struct TSink {
    Integer Calls = 0;
    void ShortCut(TWMKey&, bool&) { ++Calls; }
  } Sink;
  Form->OnShortCut = TShortCutEvent(&Sink, &TSink::ShortCut);
  auto* SF = new TbsSkinForm(Form);
  EXPECT_TRUE(Form->OnShortCut == TShortCutEvent(SF, &TbsSkinForm::FormShortCut));
  delete SF;
  // Not left on the freed component: the form's own handler is back.
  ASSERT_TRUE(Form->OnShortCut == TShortCutEvent(&Sink, &TSink::ShortCut));
  TWMKey Key{};
  bool Handled = false;
  Form->OnShortCut(Key, Handled);
  EXPECT_EQ(Sink.Calls, 1);
}

TEST_F(TFormStatesTest, TheMenuKeyHookIsAFilterRemovedByIdentity) {
  TForm* Form = nullptr;
  TbsSkinForm* SF = NewSkinlessForm(&Form);
  struct TOther {
    void Filter(MSG&, bool&) {}
  } Other;
  const TMessageEvent Hook(SF, &TbsSkinForm::AppMessageHook);
  const TMessageEvent OtherFilter(&Other, &TOther::Filter);
  SF->SkinMenuOpened();
  EXPECT_TRUE(SF->GetMenuOpen());
  EXPECT_TRUE(Application->HasMessageFilter(Hook));
  // Somebody else filters while the menu is open: closing the menu leaves that filter alone.
  Application->AddMessageFilter(OtherFilter);
  SF->CloseSkinMenus();
  EXPECT_FALSE(Application->HasMessageFilter(Hook));
  EXPECT_TRUE(Application->HasMessageFilter(OtherFilter));
  Application->RemoveMessageFilter(OtherFilter);
  // While hooked the wheel and the keys never reach the form's controls.
  SF->SkinMenuOpened();
  MSG Wheel{};
  Wheel.message = WM_MOUSEWHEEL;
  bool Handled = false;
  SF->AppMessageHook(Wheel, Handled);
  EXPECT_TRUE(Handled);
  EXPECT_EQ(Wheel.message, 0u);
  SF->CloseSkinMenus();
}

TEST_F(TFormStatesTest, MagneticSnapHoldsUntilTheCursorLeaves) {
  TForm* Form = nullptr;
  TbsSkinForm* SF = NewSkinlessForm(&Form);
  SF->Magnetic = true;
  TRect Area;
  GetMonitorRect(Form->GetHandle(), true, Area);
  auto Moving = [&](Integer Left, Integer CursorX) {
    ScriptMoveTo(CursorX, 400);
    Pump();
    TRect R = Rect(Left, 200, Left + Form->GetWidth(), 200 + Form->GetHeight());
    SendMessage(Form->GetHandle(), WM_MOVING, 0, reinterpret_cast<LPARAM>(&R));
    return R.Left;
  };
  EXPECT_EQ(Moving(Area.Left + 40, 300), Area.Left + 40);
  EXPECT_EQ(Moving(Area.Left + 3, 263), Area.Left);
  // Within 5 pixels of where it snapped the form stays on the edge.
  EXPECT_EQ(Moving(Area.Left + 1, 268), Area.Left);
  // Further, it follows the cursor.
  EXPECT_EQ(Moving(Area.Left + 4, 275), Area.Left + 12);
}

TEST_F(TFormStatesTest, PlacementInTheMonitorHappensAtTheFirstShowOnly) {
  TForm* Form = NewForm("Centred");
  auto* SF = new TbsSkinForm(Form);
  SF->PositionInMonitor = bspDesktopCenter;
  Form->SetBounds(10, 10, 300, 200);
  Form->Show();
  Pump();
  TRect Area;
  GetMonitorRect(Form->GetHandle(), true, Area);
  EXPECT_EQ(Form->GetLeft(), Area.Left + Area.Width() / 2 - 150);
  EXPECT_EQ(Form->GetTop(), Area.Top + Area.Height() / 2 - 100);
  Form->Hide();
  Form->SetBounds(20, 30, 300, 200);
  Form->Show();
  Pump();
  EXPECT_EQ(Form->GetBoundsRect(), Rect(20, 30, 320, 230));
}

TEST_F(TFormStatesTest, ASkinThatLeavesFormsUnskinnedGivesThemTheSystemCaption) {
  TbsSkinData Data(nullptr);
  TForm* Form = NewForm("System");
  auto* SF = new TbsSkinForm(Form);
  SF->SetSkinData(&Data);
  SF->SetBorderIcons({TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMaximize});
  Form->Show();
  Pump();
  EXPECT_TRUE(Form->GetBorderIcons().IsEmpty());
  Data.SetSkinnableForm(false);
  Pump();
  EXPECT_FALSE(SF->GetSkinnable());
  EXPECT_EQ(Form->GetBorderIcons(), (TBorderIcons{biSystemMenu, biMaximize}));
  // The system answers the frame again.
  EXPECT_EQ(SendMessage(Form->GetHandle(), 0xB1B2, 0, 0), 12853);
  SF->SetWindowState(wsMaximized);
  EXPECT_EQ(Form->GetWindowState(), wsMaximized);
  Data.SetSkinnableForm(true);
  Pump();
  EXPECT_TRUE(SF->GetSkinnable());
  EXPECT_EQ(Form->GetWindowState(), wsNormal);
  EXPECT_EQ(SF->GetWindowState(), wsMaximized);
}

// A clock that moves on 6 ms at every read, so that the fade's busy loop makes progress.
class TSteppingClock : public TClockSource {
 public:
  Int64 MonotonicNanoseconds() override { return (FNow += 6) * 1000000LL; }
  TDateTime WallClockNow() override { return 40000.0; }
  void SleepFor(DWORD Milliseconds) override { FNow += Milliseconds; }

 private:
  Int64 FNow = 100000;
};

TEST_F(TFormStatesTest, FadeInEndsAtItsTarget) {
  const struct {
    bool AlphaBlend, Animation;
    Byte Value;
    bool Layered;
    BYTE Alpha;
  } Cases[] = {
      {false, true, 200, false, 0},
      {true, false, 200, true, 200},
      {true, true, 10, true, 10},
  };
  TSteppingClock Stepping;
  for (const auto& C : Cases) {
    TForm* Form = NewForm("Fade");
    auto* SF = new TbsSkinForm(Form);
    Form->SetBounds(100, 100, 300, 200);
    SF->SetAlphaBlendValue(C.Value);
    SF->SetAlphaBlendAnimation(C.Animation);
    SF->SetAlphaBlend(C.AlphaBlend);
    SetClockSource(&Stepping);
    Form->Show();
    Pump();
    Pump();
    SetClockSource(&Clock);
    const bool Layered = (GetWindowLong(Form->GetHandle(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
    EXPECT_EQ(Layered, C.Layered) << int(C.Value);
    if (Layered) {
      BYTE Alpha = 0;
      GetLayeredWindowAttributes(Form->GetHandle(), nullptr, &Alpha, nullptr);
      EXPECT_EQ(Alpha, C.Alpha);
    }
    Forms.clear();
  }
}

}  // namespace
