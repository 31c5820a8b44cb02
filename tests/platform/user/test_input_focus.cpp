// Keyboard focus and activation.
#include "InputTestSupport.h"

namespace {

const std::set<UINT> FocusMessages = {WM_NCACTIVATE, WM_ACTIVATE, WM_ACTIVATEAPP,
                                      WM_KILLFOCUS,  WM_SETFOCUS, WM_CANCELMODE};

using TFocusTest = TInputTest;

TEST_F(TFocusTest, FirstWindowActivatesTheApplication) {
  HWND A = Popup({0, 0, 100, 100}, 0);
  HWND Hidden = Popup({0, 0, 10, 10}, 0);
  InputLog().clear();
  ShowWindow(A, SW_SHOW);
  ExpectMessages(
      {{A, WM_ACTIVATEAPP}, {Hidden, WM_ACTIVATEAPP}, {A, WM_NCACTIVATE}, {A, WM_ACTIVATE}, {A, WM_SETFOCUS}},
      FocusMessages, "first activation");
  EXPECT_EQ(Of(A, WM_ACTIVATEAPP).at(0).WParam, static_cast<WPARAM>(TRUE));
  EXPECT_EQ(Of(A, WM_ACTIVATE).at(0).WParam, WA_ACTIVE);
  EXPECT_EQ(Of(A, WM_ACTIVATE).at(0).LParam, 0);
  EXPECT_EQ(GetActiveWindow(), A);
  EXPECT_EQ(GetForegroundWindow(), A);
  EXPECT_EQ(GetFocus(), A);
  // Shown without activation: SW_SHOWNOACTIVATE, SW_SHOWNA, WS_EX_NOACTIVATE.
  HWND Tool = Popup({200, 0, 300, 100}, 0);
  ShowWindow(Tool, SW_SHOWNOACTIVATE);
  HWND Tip = Popup({200, 200, 300, 300}, 0);
  ShowWindow(Tip, SW_SHOWNA);
  HWND Float = Popup({300, 0, 400, 100}, WS_VISIBLE, WS_EX_NOACTIVATE);
  EXPECT_EQ(GetActiveWindow(), A);
  // A programmatic activation still works for them.
  SetActiveWindow(Float);
  EXPECT_EQ(GetActiveWindow(), Float);
  (void)Tool;
  (void)Tip;
}

TEST_F(TFocusTest, FocusChangeSequence) {
  HWND Top = Popup({0, 0, 200, 200});
  HWND One = Child(Top, {0, 0, 50, 50});
  HWND Two = Child(Top, {60, 0, 110, 50});
  SetFocus(One);
  HWND FocusDuringKill = nullptr;
  Behaviours()[One].Handler = [&](HWND, UINT Msg, WPARAM, LPARAM, LRESULT&) {
    if (Msg == WM_KILLFOCUS) FocusDuringKill = GetFocus();
    return false;
  };
  InputLog().clear();
  EXPECT_EQ(SetFocus(Two), One);
  ExpectMessages({{One, WM_KILLFOCUS}, {Two, WM_SETFOCUS}}, FocusMessages, "focus change");
  EXPECT_EQ(reinterpret_cast<HWND>(Of(One, WM_KILLFOCUS).at(0).WParam), Two);
  EXPECT_EQ(reinterpret_cast<HWND>(Of(Two, WM_SETFOCUS).at(0).WParam), One);
  EXPECT_EQ(FocusDuringKill, Two);
  // The same window again: nothing.
  InputLog().clear();
  EXPECT_EQ(SetFocus(Two), Two);
  EXPECT_TRUE(InputLog().empty());
  // Disabled windows, and windows in disabled windows, take no focus.
  EnableWindow(One, FALSE);
  EXPECT_EQ(SetFocus(One), nullptr);
  EXPECT_EQ(GetFocus(), Two);
  // Nowhere.
  InputLog().clear();
  EXPECT_EQ(SetFocus(nullptr), Two);
  ExpectMessages({{Two, WM_KILLFOCUS}}, FocusMessages, "focus to nowhere");
  EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(TFocusTest, FocusInAnInactiveWindowActivatesItFirst) {
  HWND A = Popup({0, 0, 100, 100});
  HWND B = Popup({200, 0, 300, 100});
  HWND Kid = Child(A, {0, 0, 50, 50});
  ASSERT_EQ(GetActiveWindow(), B);
  InputLog().clear();
  SetFocus(Kid);
  ExpectMessages({{B, WM_NCACTIVATE},
                  {B, WM_ACTIVATE},
                  {A, WM_NCACTIVATE},
                  {A, WM_ACTIVATE},
                  {B, WM_KILLFOCUS},
                  {A, WM_SETFOCUS},
                  {A, WM_KILLFOCUS},
                  {Kid, WM_SETFOCUS}},
                 FocusMessages, "focus into an inactive window");
  EXPECT_EQ(GetFocus(), Kid);
  EXPECT_EQ(GetActiveWindow(), A);
  // A child is not activated by SetActiveWindow.
  EXPECT_EQ(SetActiveWindow(Kid), A);
  EXPECT_EQ(GetActiveWindow(), A);
}

TEST_F(TFocusTest, ClickOnTheEmptyScreenDeactivates) {
  HWND A = Popup({0, 0, 100, 100});
  Display.Click(800, 600);
  Run(true);
  ExpectMessages({{A, WM_NCACTIVATE}, {A, WM_ACTIVATE}, {A, WM_ACTIVATEAPP}, {A, WM_KILLFOCUS}},
                 FocusMessages, "click on the desktop");
  EXPECT_EQ(Of(A, WM_NCACTIVATE).at(0).WParam, static_cast<WPARAM>(FALSE));
  EXPECT_EQ(Of(A, WM_ACTIVATE).at(0).WParam, WA_INACTIVE);
  EXPECT_EQ(Of(A, WM_ACTIVATEAPP).at(0).WParam, static_cast<WPARAM>(FALSE));
  EXPECT_EQ(reinterpret_cast<HWND>(Of(A, WM_KILLFOCUS).at(0).WParam), nullptr);
  EXPECT_EQ(GetActiveWindow(), nullptr);
  EXPECT_EQ(GetFocus(), nullptr);
  // Clicking the window again brings the application back.
  Display.Click(50, 50);
  Run(true);
  EXPECT_EQ(Of(A, WM_ACTIVATEAPP).size(), 1u);
  EXPECT_EQ(Of(A, WM_ACTIVATE).at(0).WParam, WA_CLICKACTIVE);
  EXPECT_EQ(GetFocus(), A);
}

TEST_F(TFocusTest, ActivationMovesOnWhenTheActiveWindowGoes) {
  HWND Main = Popup({0, 0, 300, 300});
  HWND Other = Popup({400, 0, 500, 100});
  HWND Dialog = Popup({50, 50, 150, 150}, WS_VISIBLE, 0, DblClass, Main);
  ASSERT_EQ(GetActiveWindow(), Dialog);
  // The owner is preferred over the window just below.
  SetWindowPos(Other, Dialog, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  DestroyWindow(Dialog);
  EXPECT_EQ(GetActiveWindow(), Main);
  EXPECT_EQ(GetFocus(), Main);
  ShowWindow(Main, SW_HIDE);
  EXPECT_EQ(GetActiveWindow(), Other);
  // Disabled and hidden windows are passed over.
  EnableWindow(Main, FALSE);
  ShowWindow(Main, SW_SHOWNA);
  ShowWindow(Other, SW_HIDE);
  EXPECT_EQ(GetActiveWindow(), nullptr);
  // A hidden child gives its focus to its parent.
  EnableWindow(Main, TRUE);
  SetActiveWindow(Main);
  HWND Kid = Child(Main, {0, 0, 50, 50});
  SetFocus(Kid);
  InputLog().clear();
  ShowWindow(Kid, SW_HIDE);
  ExpectMessages({{Kid, WM_KILLFOCUS}, {Main, WM_SETFOCUS}}, FocusMessages, "hiding the focus window");
  EXPECT_EQ(GetFocus(), Main);
}

TEST_F(TFocusTest, DisablingTheFocusWindowOrItsParentTakesTheFocusAway) {
  const std::set<UINT> Seen = {WM_KILLFOCUS, WM_SETFOCUS, WM_ENABLE, WM_NCACTIVATE, WM_ACTIVATE};
  HWND Top = Popup({0, 0, 200, 200});
  HWND Box = Child(Top, {0, 0, 100, 100});
  HWND Kid = Child(Box, {0, 0, 50, 50});
  HWND Other = Child(Top, {100, 0, 150, 50});
  SetFocus(Kid);
  InputLog().clear();
  EnableWindow(Box, FALSE);
  // The focus goes nowhere (not to the parent) before the window hears WM_ENABLE.
  ExpectMessages({{Kid, WM_KILLFOCUS}, {Box, WM_ENABLE}}, Seen, "disabling the focus window's parent");
  EXPECT_EQ(reinterpret_cast<HWND>(Of(Kid, WM_KILLFOCUS).at(0).WParam), nullptr);
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(GetActiveWindow(), Top);
  // A window outside keeps the focus.
  SetFocus(Other);
  InputLog().clear();
  EnableWindow(Kid, FALSE);
  EXPECT_EQ(GetFocus(), Other);
  ExpectMessages({{Kid, WM_ENABLE}}, Seen, "disabling a window without the focus");
  EnableWindow(Other, FALSE);
  EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(TFocusTest, MinimizingTheActiveWindowActivatesTheNextOne) {
  HWND Main = Popup({0, 0, 300, 300});
  HWND Other = Popup({400, 0, 500, 100});
  HWND Dialog = Popup({50, 50, 150, 150}, WS_VISIBLE, 0, DblClass, Main);
  ASSERT_EQ(GetActiveWindow(), Dialog);
  // The owner is preferred over the window just below.
  SetWindowPos(Other, Dialog, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ShowWindow(Dialog, SW_MINIMIZE);
  EXPECT_EQ(GetActiveWindow(), Main);
  EXPECT_EQ(GetFocus(), Main);
  // Minimized windows are passed over.
  ShowWindow(Main, SW_SHOWMINNOACTIVE);
  EXPECT_EQ(GetActiveWindow(), Other);
  EXPECT_EQ(GetFocus(), Other);
  // SW_SHOWMINIMIZED keeps the window active.
  ShowWindow(Other, SW_SHOWMINIMIZED);
  EXPECT_EQ(GetActiveWindow(), Other);
  // Nothing left to activate: the application is deactivated.
  ShowWindow(Other, SW_MINIMIZE);
  EXPECT_EQ(GetActiveWindow(), nullptr);
  EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(TFocusTest, ActivationChangeCancelsTheCapture) {
  HWND A = Popup({0, 0, 100, 100});
  HWND B = Popup({200, 0, 300, 100});
  SetActiveWindow(A);
  SetCapture(A);
  InputLog().clear();
  SetActiveWindow(B);
  ExpectMessages({{A, WM_CANCELMODE},
                  {A, WM_NCACTIVATE},
                  {A, WM_ACTIVATE},
                  {B, WM_NCACTIVATE},
                  {B, WM_ACTIVATE},
                  {A, WM_KILLFOCUS},
                  {B, WM_SETFOCUS}},
                 FocusMessages, "activation away from the capture");
  EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace
