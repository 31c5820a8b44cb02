// Mouse routing: hit testing, activation by click, WM_SETCURSOR, double-clicks, capture,
// tracking, the wheel and the cursor position.
#include "InputTestSupport.h"

namespace {

const std::set<UINT> ClickMessages = {WM_NCHITTEST,  WM_SETCURSOR,   WM_MOUSEACTIVATE, WM_NCACTIVATE,
                                      WM_ACTIVATE,   WM_ACTIVATEAPP, WM_KILLFOCUS,     WM_SETFOCUS,
                                      WM_MOUSEMOVE,  WM_LBUTTONDOWN, WM_LBUTTONUP,     WM_NCLBUTTONDOWN,
                                      WM_NCLBUTTONUP};

using TMouseTest = TInputTest;

TEST_F(TMouseTest, ClickOnChildOfInactiveWindow) {
  HWND A = Popup({0, 0, 100, 100});
  HWND B = Popup({200, 100, 400, 300});
  HWND C = Child(B, {10, 20, 110, 120});
  SetActiveWindow(A);
  ASSERT_EQ(GetActiveWindow(), A);
  ASSERT_EQ(GetFocus(), A);
  InputLog().clear();
  Display.Click(230, 150);
  Run();
  ExpectMessages({{C, WM_NCHITTEST}, {C, WM_SETCURSOR},     {B, WM_SETCURSOR},     {C, WM_MOUSEMOVE},
                  {C, WM_NCHITTEST}, {C, WM_MOUSEACTIVATE}, {B, WM_MOUSEACTIVATE}, {A, WM_NCACTIVATE},
                  {A, WM_ACTIVATE},  {B, WM_NCACTIVATE},    {B, WM_ACTIVATE},      {A, WM_KILLFOCUS},
                  {B, WM_SETFOCUS},  {C, WM_SETCURSOR},     {B, WM_SETCURSOR},     {C, WM_LBUTTONDOWN},
                  {C, WM_NCHITTEST}, {C, WM_SETCURSOR},     {B, WM_SETCURSOR},     {C, WM_LBUTTONUP}},
                 ClickMessages, "click on a child of an inactive window");
  const TLogged Activate = Of(C, WM_MOUSEACTIVATE).at(0);
  EXPECT_EQ(reinterpret_cast<HWND>(Activate.WParam), B);
  EXPECT_EQ(Activate.LParam, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
  const TLogged Active = Of(B, WM_ACTIVATE).at(0);
  EXPECT_EQ(Active.WParam, WA_CLICKACTIVE);
  EXPECT_EQ(reinterpret_cast<HWND>(Active.LParam), A);
  EXPECT_EQ(reinterpret_cast<HWND>(Of(A, WM_ACTIVATE).at(0).LParam), B);
  EXPECT_EQ(Of(C, WM_SETCURSOR).at(1).LParam, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
  const TLogged Down = Of(C, WM_LBUTTONDOWN).at(0);
  EXPECT_EQ(Down.WParam, MK_LBUTTON);
  EXPECT_EQ(Down.LParam, MAKELPARAM(20, 30));
  EXPECT_EQ(Of(C, WM_LBUTTONUP).at(0).WParam, 0u);
  EXPECT_EQ(GetActiveWindow(), B);
  // A click in the active window asks nothing about activation.
  InputLog().clear();
  Display.Click(240, 160);
  Run();
  EXPECT_EQ(CountOf(WM_MOUSEACTIVATE), 0u);
  EXPECT_EQ(Of(C, WM_LBUTTONDOWN).size(), 1u);
}

TEST_F(TMouseTest, MouseActivateAnswers) {
  struct TCase {
    LRESULT Answer;
    DWORD ExStyle;
    bool Activated;
    bool Delivered;
  };
  const TCase Cases[] = {
      {MA_ACTIVATE, 0, true, true},
      {MA_NOACTIVATE, 0, false, true},
      {MA_ACTIVATEANDEAT, 0, true, false},
      {MA_NOACTIVATEANDEAT, 0, false, false},
      {MA_ACTIVATE, WS_EX_NOACTIVATE, false, true},
  };
  for (const TCase& C : Cases) {
    HWND A = Popup({0, 0, 50, 50});
    HWND B = Popup({100, 100, 200, 200}, WS_VISIBLE, C.ExStyle);
    SetActiveWindow(A);
    Behaviours()[B].MouseActivate = C.Answer;
    Display.Click(150, 150);
    Run(true);
    EXPECT_EQ(GetActiveWindow() == B, C.Activated) << C.Answer;
    EXPECT_EQ(Of(B, WM_LBUTTONDOWN).size(), C.Delivered ? 1u : 0u) << C.Answer;
    EXPECT_EQ(Of(B, WM_SETCURSOR).size(), 3u) << "eaten clicks still set the cursor";
    DestroyWindow(A);
    DestroyWindow(B);
  }
}

TEST_F(TMouseTest, DoubleClicks) {
  struct TCase {
    const char* Class;
    DWORD Style;
    LRESULT Hit;
    Integer Delay;
    Integer Dx;
    UINT Second;  // what the second press gives
  };
  const TCase Cases[] = {
      {DblClass, 0, HTCLIENT, 100, 0, WM_LBUTTONDBLCLK},
      {DblClass, 0, HTCLIENT, 500, 2, WM_LBUTTONDBLCLK},
      {DblClass, 0, HTCLIENT, 501, 0, WM_LBUTTONDOWN},
      {DblClass, 0, HTCLIENT, 100, 3, WM_LBUTTONDOWN},
      {PlainClass, 0, HTCLIENT, 100, 0, WM_LBUTTONDOWN},
      {PlainClass, 0, HTCAPTION, 100, 0, WM_NCLBUTTONDBLCLK},
  };
  for (const TCase& C : Cases) {
    HWND W = Popup({0, 0, 100, 100}, WS_VISIBLE, 0, C.Class);
    Behaviours()[W].HitTest = C.Hit;
    Display.Click(50, 50);
    Run(true);
    Clock.Advance(C.Delay);
    Display.Click(50 + C.Dx, 50);
    Run();
    std::vector<UINT> Presses;
    for (const TLogged& L : InputLog())
      if (L.Msg == WM_LBUTTONDOWN || L.Msg == WM_LBUTTONDBLCLK || L.Msg == WM_NCLBUTTONDOWN ||
          L.Msg == WM_NCLBUTTONDBLCLK)
        Presses.push_back(L.Msg);
    const UINT First = C.Hit == HTCLIENT ? WM_LBUTTONDOWN : WM_NCLBUTTONDOWN;
    EXPECT_EQ(Presses, (std::vector<UINT>{First, C.Second}))
        << C.Class << " delay " << C.Delay << " dx " << C.Dx;
    // A press after a pair starts a new one.
    InputLog().clear();
    if (C.Second != WM_LBUTTONDBLCLK && C.Second != WM_NCLBUTTONDBLCLK) Clock.Advance(1000);
    Display.Click(50, 50);
    Run();
    EXPECT_EQ(Of(W, First).size(), 1u);
    DestroyWindow(W);
    Clock.Advance(1000);
  }
}

TEST_F(TMouseTest, CaptureTakesEveryMouseMessage) {
  HWND W = Popup({100, 100, 200, 200});
  HWND Other = Popup({300, 300, 400, 400});
  Display.MoveTo(150, 150);
  Run();
  EXPECT_EQ(SetCapture(W), nullptr);
  InputLog().clear();
  Display.MoveTo(50, 40);
  Display.Click(350, 350);
  Display.MoveTo(900, 700);
  Run();
  ExpectMessages(
      {{W, WM_MOUSEMOVE}, {W, WM_MOUSEMOVE}, {W, WM_LBUTTONDOWN}, {W, WM_LBUTTONUP}, {W, WM_MOUSEMOVE}},
      {WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEACTIVATE, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP},
      "mouse under capture");
  EXPECT_EQ(Of(W, WM_MOUSEMOVE).at(0).LParam, MAKELPARAM(-50, -60));
  EXPECT_EQ(GET_X_LPARAM(Of(W, WM_MOUSEMOVE).at(2).LParam), 800);
  EXPECT_EQ(GET_Y_LPARAM(Of(W, WM_MOUSEMOVE).at(2).LParam), 600);
  EXPECT_TRUE(Of(Other, WM_LBUTTONDOWN).empty());

  // The window losing the capture hears who has it now.
  InputLog().clear();
  EXPECT_EQ(SetCapture(Other), W);
  ASSERT_EQ(Of(W, WM_CAPTURECHANGED).size(), 1u);
  EXPECT_EQ(reinterpret_cast<HWND>(Of(W, WM_CAPTURECHANGED)[0].LParam), Other);
  // Hiding it releases it; so does WM_CANCELMODE through DefWindowProc.
  ShowWindow(Other, SW_HIDE);
  EXPECT_EQ(GetCapture(), nullptr);
  SetCapture(W);
  SendMessage(W, WM_CANCELMODE, 0, 0);
  EXPECT_EQ(GetCapture(), nullptr);
  SetCapture(W);
  DestroyWindow(W);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(TMouseTest, TransparentHitPassesTheClickBelow) {
  HWND Below = Popup({0, 0, 200, 200});
  HWND Above = Popup({50, 50, 150, 150});
  Behaviours()[Above].HitTest = HTTRANSPARENT;
  // Inside a window: a transparent child passes to a sibling below it, then to the parent.
  HWND Parent = Popup({300, 0, 500, 200});
  HWND Button = Child(Parent, {10, 10, 60, 60});
  HWND Group = Child(Parent, {0, 0, 100, 100});
  SetWindowPos(Group, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  Behaviours()[Group].HitTest = HTTRANSPARENT;
  Run(true);
  Display.Click(100, 100);
  Display.Click(320, 20);
  Display.Click(380, 80);
  Run();
  // The press activates Below and brings it to the top: the release finds it first.
  EXPECT_EQ(Of(Above, WM_NCHITTEST).size(), 2u);
  EXPECT_TRUE(Of(Above, WM_LBUTTONDOWN).empty());
  EXPECT_EQ(Of(Below, WM_LBUTTONDOWN).size(), 1u);
  EXPECT_EQ(Of(Below, WM_LBUTTONDOWN)[0].LParam, MAKELPARAM(100, 100));
  EXPECT_EQ(Of(Button, WM_LBUTTONDOWN).size(), 1u);
  EXPECT_EQ(Of(Parent, WM_LBUTTONDOWN).size(), 1u);
  EXPECT_TRUE(Of(Group, WM_LBUTTONDOWN).empty());
}

TEST_F(TMouseTest, UnknownHitCodeStillReachesTheWindow) {
  HWND W = Popup({0, 0, 100, 100});
  Behaviours()[W].HitTest = 1000;
  SetCursor(LoadCursor(nullptr, IDC_CROSS));
  Display.Click(10, 10);
  Run(true);
  ASSERT_EQ(Of(W, WM_SETCURSOR).size(), 3u);
  EXPECT_EQ(LOWORD(static_cast<std::uintptr_t>(Of(W, WM_SETCURSOR)[1].LParam)), 1000);
  ASSERT_EQ(Of(W, WM_NCLBUTTONDOWN).size(), 1u);
  EXPECT_EQ(Of(W, WM_NCLBUTTONDOWN)[0].WParam, 1000u);
  EXPECT_EQ(Of(W, WM_NCLBUTTONDOWN)[0].LParam, MAKELPARAM(10, 10));
  EXPECT_EQ(Of(W, WM_NCMOUSEMOVE).size(), 1u);
  // DefWindowProc has no cursor for it: the cursor stays.
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_CROSS));
}

TEST_F(TMouseTest, DisabledWindowsGetNoMouseInput) {
  HWND Parent = Popup({0, 0, 200, 200});
  HWND Off = Child(Parent, {10, 10, 60, 60});
  EnableWindow(Off, FALSE);
  Run(true);
  Display.Click(20, 20);
  Run();
  EXPECT_TRUE(Of(Off, WM_NCHITTEST).empty());
  EXPECT_TRUE(Of(Off, WM_LBUTTONDOWN).empty());
  EXPECT_TRUE(Of(Parent, WM_LBUTTONDOWN).empty());
  ASSERT_FALSE(Of(Off, WM_SETCURSOR).empty());
  EXPECT_EQ(static_cast<SHORT>(LOWORD(static_cast<std::uintptr_t>(Of(Off, WM_SETCURSOR)[0].LParam))),
            HTERROR);
  // A window disabled by a modal one: a click there brings the modal window forward.
  HWND Dialog = Popup({300, 300, 400, 400}, WS_VISIBLE, 0, DblClass, Parent);
  EnableWindow(Parent, FALSE);
  HWND Other = Popup({500, 500, 600, 600});
  ASSERT_EQ(GetActiveWindow(), Other);
  Display.Click(150, 150);
  Run(true);
  EXPECT_EQ(GetActiveWindow(), Dialog);
  EXPECT_TRUE(Of(Parent, WM_LBUTTONDOWN).empty());
}

TEST_F(TMouseTest, MouseLeaveComesOnce) {
  HWND W = Popup({0, 0, 100, 100});
  HWND Next = Popup({100, 0, 200, 100});
  Display.MoveTo(50, 50);
  Run(true);
  TRACKMOUSEEVENT T;
  T.dwFlags = TME_LEAVE;
  T.hwndTrack = W;
  EXPECT_TRUE(TrackMouseEvent(&T));
  TRACKMOUSEEVENT Q;
  Q.dwFlags = TME_QUERY;
  TrackMouseEvent(&Q);
  EXPECT_EQ(Q.dwFlags, TME_LEAVE);
  EXPECT_EQ(Q.hwndTrack, W);
  InputLog().clear();
  Display.MoveTo(60, 50);
  Display.MoveTo(150, 50);
  Display.MoveTo(160, 50);
  Display.MoveTo(50, 50);
  Run();
  ExpectMessages(
      {{W, WM_MOUSEMOVE}, {W, WM_MOUSELEAVE}, {Next, WM_MOUSEMOVE}, {Next, WM_MOUSEMOVE}, {W, WM_MOUSEMOVE}},
      {WM_MOUSEMOVE, WM_MOUSELEAVE}, "leaving a tracked window");
  Q.dwFlags = TME_QUERY;
  TrackMouseEvent(&Q);
  EXPECT_EQ(Q.dwFlags, 0u);
  // Asked for a window the mouse is not over: the message comes at once.
  InputLog().clear();
  T.hwndTrack = Next;
  EXPECT_TRUE(TrackMouseEvent(&T));
  Run();
  EXPECT_EQ(Of(Next, WM_MOUSELEAVE).size(), 1u);
  // Cancelled tracking sends nothing.
  InputLog().clear();
  T.hwndTrack = W;
  TrackMouseEvent(&T);
  T.dwFlags = TME_LEAVE | TME_CANCEL;
  TrackMouseEvent(&T);
  Display.MoveTo(150, 50);
  Run();
  EXPECT_EQ(CountOf(WM_MOUSELEAVE), 0u);
  // The frame is tracked apart from the client area: entering the client area leaves it.
  Behaviours()[Next].Handler = [](HWND, UINT Msg, WPARAM, LPARAM L, LRESULT& Result) {
    if (Msg != WM_NCHITTEST) return false;
    Result = GET_Y_LPARAM(L) < 20 ? HTCAPTION : HTCLIENT;
    return true;
  };
  Display.MoveTo(150, 10);
  Run(true);
  T.dwFlags = TME_LEAVE | TME_NONCLIENT;
  T.hwndTrack = Next;
  ASSERT_TRUE(TrackMouseEvent(&T));
  Display.MoveTo(160, 12);
  Display.MoveTo(160, 50);
  Run();
  ExpectMessages(
      {{Next, WM_NCMOUSEMOVE}, {Next, WM_NCMOUSEMOVE}, {Next, WM_NCMOUSELEAVE}, {Next, WM_MOUSEMOVE}},
      {WM_NCMOUSEMOVE, WM_MOUSEMOVE, WM_NCMOUSELEAVE}, "leaving the frame");
}

TEST_F(TMouseTest, HoverAfterTheMouseRests) {
  HWND W = Popup({0, 0, 100, 100});
  Display.MoveTo(40, 40);
  Run(true);
  TRACKMOUSEEVENT T;
  T.dwFlags = TME_HOVER;
  T.hwndTrack = W;
  T.dwHoverTime = HOVER_DEFAULT;
  ASSERT_TRUE(TrackMouseEvent(&T));
  Clock.Advance(300);
  Display.MoveTo(42, 41);  // inside the hover box: the time keeps running
  Run();
  Clock.Advance(99);
  Run();
  EXPECT_EQ(CountOf(WM_MOUSEHOVER), 0u);
  Clock.Advance(1);
  Run();
  ASSERT_EQ(Of(W, WM_MOUSEHOVER).size(), 1u);
  EXPECT_EQ(Of(W, WM_MOUSEHOVER)[0].LParam, MAKELPARAM(42, 41));
  // Once only; a move out of the box starts the time again.
  InputLog().clear();
  ASSERT_TRUE(TrackMouseEvent(&T));
  Clock.Advance(300);
  Display.MoveTo(60, 60);
  Run();
  Clock.Advance(300);
  Run();
  EXPECT_EQ(CountOf(WM_MOUSEHOVER), 0u);
  Clock.Advance(100);
  Run();
  EXPECT_EQ(CountOf(WM_MOUSEHOVER), 1u);
  Clock.Advance(1000);
  Run();
  EXPECT_EQ(CountOf(WM_MOUSEHOVER), 1u);
}

TEST_F(TMouseTest, WheelGoesToTheFocusWindowAndUpToItsParent) {
  HWND Top = Popup({0, 0, 300, 300});
  HWND Kid = Child(Top, {10, 10, 100, 100});
  SetFocus(Kid);
  Display.MoveTo(250, 250);
  Display.Wheel(-120);
  Run(true);
  ASSERT_EQ(Of(Kid, WM_MOUSEWHEEL).size(), 1u);
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(Of(Kid, WM_MOUSEWHEEL)[0].WParam), -120);
  EXPECT_EQ(Of(Kid, WM_MOUSEWHEEL)[0].LParam, MAKELPARAM(250, 250));
  EXPECT_EQ(Of(Top, WM_MOUSEWHEEL).size(), 1u);
}

TEST_F(TMouseTest, CursorPositionAndContextMenu) {
  HWND W = Popup({100, 100, 200, 200});
  Run(true);
  EXPECT_TRUE(SetCursorPos(150, 120));
  Run();
  POINT P;
  EXPECT_TRUE(GetCursorPos(&P));
  EXPECT_EQ(P, (POINT{150, 120}));
  ASSERT_EQ(Of(W, WM_MOUSEMOVE).size(), 1u);
  EXPECT_EQ(Of(W, WM_MOUSEMOVE)[0].LParam, MAKELPARAM(50, 20));
  EXPECT_EQ(GetMessagePos(), MAKELONG(150, 120));
  // A clip keeps the position inside.
  const RECT Clip{0, 0, 120, 110};
  ClipCursor(&Clip);
  SetCursorPos(500, 500);
  GetCursorPos(&P);
  EXPECT_EQ(P, (POINT{119, 109}));
  ClipCursor(nullptr);
  // DefWindowProc answers the right button's release with WM_CONTEXTMENU at the screen point.
  InputLog().clear();
  Display.Click(130, 140, TInputButton::Right);
  Run();
  ASSERT_EQ(Of(W, WM_CONTEXTMENU).size(), 1u);
  EXPECT_EQ(reinterpret_cast<HWND>(Of(W, WM_CONTEXTMENU)[0].WParam), W);
  EXPECT_EQ(Of(W, WM_CONTEXTMENU)[0].LParam, MAKELPARAM(130, 140));
}

TEST_F(TMouseTest, DragDetect) {
  HWND W = Popup({0, 0, 100, 100});
  struct TCase {
    TPoint To;
    bool Release;
    BOOL Drag;
  };
  for (const TCase& C : {TCase{{52, 52}, true, FALSE}, TCase{{53, 50}, false, TRUE}}) {
    Clock.Advance(1000);  // no double-click
    BOOL Result = -1;
    Behaviours()[W].Handler = [&](HWND Wnd, UINT Msg, WPARAM, LPARAM, LRESULT&) {
      if (Msg == WM_LBUTTONDOWN) Result = DragDetect(Wnd, {50, 50});
      return false;
    };
    Display.MoveTo(50, 50);
    Display.ButtonDown();
    Display.MoveTo(C.To.X, C.To.Y);
    if (C.Release) Display.ButtonUp();
    Run(true);
    EXPECT_EQ(Result, C.Drag);
    EXPECT_EQ(GetCapture(), nullptr);
    // The button's release ends the detection and is taken by it.
    EXPECT_TRUE(Of(W, WM_LBUTTONUP).empty());
    Display.ButtonUp();
    Run();
  }
}

TEST_F(TMouseTest, InjectedMouseInput) {
  HWND W = Popup({0, 0, 100, 100});
  Run(true);
  mouse_event(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, 32768, 0, 0, 0);
  POINT P;
  GetCursorPos(&P);
  EXPECT_EQ(P, (POINT{512, 0}));
  INPUT In[3];
  In[0].type = INPUT_MOUSE;
  In[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  In[0].mi.dx = 640;
  In[0].mi.dy = 1707;
  In[1].type = INPUT_MOUSE;
  In[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  In[2].type = INPUT_MOUSE;
  In[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  EXPECT_EQ(SendInput(3, In, sizeof(INPUT)), 3u);
  Run();
  ASSERT_EQ(Of(W, WM_LBUTTONDOWN).size(), 1u);
  EXPECT_EQ(Of(W, WM_LBUTTONDOWN)[0].LParam, MAKELPARAM(10, 20));
  EXPECT_EQ(Of(W, WM_LBUTTONUP).size(), 1u);
}

}  // namespace
