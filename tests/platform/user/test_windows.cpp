// Classes, creation and destruction sequences, the tree, window data and subclassing.
#include <thread>

#include "WindowTestSupport.h"
#include "platform/system/Threads.h"

namespace {

TEST_F(TWindowTest, ClassesRegisterOnceAndByAnyCase) {
  WNDCLASSEX WC;
  WC.lpfnWndProc = DefWindowProcEntry();
  WC.lpszClassName = "TvClassTest";
  WC.cbClsExtra = 16;
  WC.cbWndExtra = 8;
  WC.style = CS_DBLCLKS;
  const ATOM Atom = RegisterClassEx(&WC);
  ASSERT_GE(Atom, 0xC000);
  EXPECT_EQ(RegisterClassEx(&WC), 0);
  EXPECT_EQ(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);

  WNDCLASS Info;
  ASSERT_TRUE(GetClassInfo(nullptr, "tvclasstest", &Info));
  EXPECT_EQ(Info.cbWndExtra, 8);
  EXPECT_EQ(Info.style, CS_DBLCLKS);

  HWND W =
      CreateWindowEx(0, MAKEINTATOM(Atom), "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(W, nullptr);
  EXPECT_EQ(GetClassNameString(W), "TvClassTest");
  EXPECT_EQ(SetClassLongPtr(W, 8, 1234), 0u);
  EXPECT_EQ(GetClassLongPtr(W, 8), 1234u);
  EXPECT_EQ(GetClassLongPtr(W, GCL_STYLE), CS_DBLCLKS);
  EXPECT_EQ(SetWindowLongPtr(W, 0, 77), 0);
  EXPECT_EQ(GetWindowLongPtr(W, 0), 77);
  EXPECT_EQ(GetWindowLongPtr(W, 8), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX);

  EXPECT_FALSE(UnregisterClass("TvClassTest", nullptr));
  EXPECT_EQ(GetLastError(), ERROR_CLASS_HAS_WINDOWS);
  DestroyWindow(W);
  EXPECT_TRUE(UnregisterClass("TVCLASSTEST", nullptr));
  EXPECT_EQ(CreateWindowEx(0, "TvClassTest", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
            nullptr);
  EXPECT_EQ(GetLastError(), ERROR_CANNOT_FIND_WND_CLASS);
}

TEST_F(TWindowTest, CreationSequences) {
  HWND Top = CreateWindowEx(0, RecordingClass(), "top", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200, nullptr,
                            nullptr, nullptr, nullptr);
  ExpectSequence({{Top, WM_GETMINMAXINFO}, {Top, WM_NCCREATE}, {Top, WM_NCCALCSIZE}, {Top, WM_CREATE}},
                 "hidden overlapped window");
  MessageLog().clear();
  ShowWindow(Top, SW_SHOW);
  // The first window shown becomes active (and takes the focus) before WM_WINDOWPOSCHANGED.
  ExpectSequence({{Top, WM_SHOWWINDOW},
                  {Top, WM_WINDOWPOSCHANGING},
                  {Top, WM_ACTIVATEAPP},
                  {Top, WM_NCACTIVATE},
                  {Top, WM_ACTIVATE},
                  {Top, WM_SETFOCUS},
                  {Top, WM_WINDOWPOSCHANGED},
                  {Top, WM_SIZE},
                  {Top, WM_MOVE}},
                 "first show of an overlapped window");

  MessageLog().clear();
  HWND Kid = Child(Top, 5, 5, 50, 40);
  ExpectSequence({{Kid, WM_NCCREATE},
                  {Kid, WM_NCCALCSIZE},
                  {Kid, WM_CREATE},
                  {Kid, WM_SIZE},
                  {Kid, WM_MOVE},
                  {Top, WM_PARENTNOTIFY},
                  {Kid, WM_SHOWWINDOW},
                  {Kid, WM_WINDOWPOSCHANGING},
                  {Kid, WM_WINDOWPOSCHANGED}},
                 "visible child");
  EXPECT_EQ(LOWORD(MessageLog()[5].WParam), WM_CREATE);
  EXPECT_EQ(reinterpret_cast<HWND>(MessageLog()[5].LParam), Kid);

  MessageLog().clear();
  HWND Grand = Child(Kid, 1, 1, 10, 10);
  MessageLog().clear();
  DestroyWindow(Kid);
  ExpectSequence({{Top, WM_PARENTNOTIFY},
                  {Kid, WM_SHOWWINDOW},
                  {Kid, WM_WINDOWPOSCHANGING},
                  {Kid, WM_WINDOWPOSCHANGED},
                  {Kid, WM_DESTROY},
                  {Grand, WM_DESTROY},
                  {Grand, WM_NCDESTROY},
                  {Kid, WM_NCDESTROY}},
                 "destroying a child with a child");
  EXPECT_FALSE(IsWindow(Kid));
  EXPECT_FALSE(IsWindow(Grand));
  EXPECT_EQ(GetWindowLongPtr(Kid, GWL_STYLE), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

LRESULT RefuseNcCreate(HWND W, UINT Msg, WPARAM WP, LPARAM LP) {
  RecordMessage(W, Msg, WP, LP);
  if (Msg == WM_NCCREATE) return FALSE;
  return DefWindowProc(W, Msg, WP, LP);
}

LRESULT RefuseCreate(HWND W, UINT Msg, WPARAM WP, LPARAM LP) {
  RecordMessage(W, Msg, WP, LP);
  if (Msg == WM_CREATE) return -1;
  return DefWindowProc(W, Msg, WP, LP);
}

TEST_F(TWindowTest, CreationRefusedByTheWindow) {
  for (auto [Proc, Last] : {std::pair{&RefuseNcCreate, WM_NCCREATE}, std::pair{&RefuseCreate, WM_CREATE}}) {
    WNDCLASS WC;
    WC.lpfnWndProc = MakeWndProc(Proc);
    WC.lpszClassName = Last == WM_NCCREATE ? "TvRefuseNc" : "TvRefuse";
    RegisterClass(&WC);
    MessageLog().clear();
    EXPECT_EQ(
        CreateWindowEx(0, WC.lpszClassName, "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr),
        nullptr);
    ASSERT_FALSE(MessageLog().empty());
    EXPECT_EQ(MessageLog().back().Msg, WM_NCDESTROY) << WC.lpszClassName;
    EXPECT_EQ(CountOf(MessageLog().back().Wnd, WM_DESTROY), Last == WM_CREATE ? 1u : 0u);
  }
}

TEST_F(TWindowTest, OwnedWindowsAreDestroyedFirstAndStayAbove) {
  HWND Owner = Popup(0, 0, 100, 100);
  HWND Owned = CreateWindowEx(0, RecordingClass(), "owned", WS_POPUP | WS_VISIBLE, 10, 10, 20, 20, Owner,
                              nullptr, nullptr, nullptr);
  HWND Other = Popup(50, 50, 100, 100);
  EXPECT_EQ(GetWindow(Owned, GW_OWNER), Owner);
  EXPECT_EQ(GetParent(Owned), Owner);
  EXPECT_EQ(GetAncestor(Owned, GA_PARENT), GetDesktopWindow());
  EXPECT_EQ(GetAncestor(Owned, GA_ROOTOWNER), Owner);
  // Bringing the owner up brings what it owns above it.
  SetWindowPos(Owner, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetTopWindow(nullptr), Owned);
  EXPECT_EQ(GetWindow(Owned, GW_HWNDNEXT), Owner);
  EXPECT_EQ(GetWindow(Owner, GW_HWNDNEXT), Other);
  // An owned window never goes below its owner.
  SetWindowPos(Owned, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(Owned, GW_HWNDNEXT), Owner);

  MessageLog().clear();
  DestroyWindow(Owner);
  ASSERT_GE(MessageLog().size(), 2u);
  std::size_t FirstOwnerDestroy = 0, OwnedNcDestroy = 0;
  for (std::size_t I = 0; I < MessageLog().size(); ++I) {
    if (MessageLog()[I].Wnd == Owner && MessageLog()[I].Msg == WM_DESTROY && !FirstOwnerDestroy)
      FirstOwnerDestroy = I;
    if (MessageLog()[I].Wnd == Owned && MessageLog()[I].Msg == WM_NCDESTROY) OwnedNcDestroy = I;
  }
  EXPECT_LT(OwnedNcDestroy, FirstOwnerDestroy);
  EXPECT_FALSE(IsWindow(Owned));
  EXPECT_TRUE(IsWindow(Other));
}

TEST_F(TWindowTest, TopmostBand) {
  HWND A = Popup(0, 0, 10, 10);
  HWND T = Popup(0, 0, 10, 10, WS_VISIBLE, WS_EX_TOPMOST);
  HWND B = Popup(0, 0, 10, 10);
  // A new plain window goes below the topmost band.
  EXPECT_EQ(GetTopWindow(nullptr), T);
  EXPECT_EQ(GetWindow(T, GW_HWNDNEXT), B);
  SetWindowPos(A, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetTopWindow(nullptr), T);
  EXPECT_EQ(GetWindow(T, GW_HWNDNEXT), A);
  SetWindowPos(B, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_TRUE(GetWindowLongPtr(B, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetTopWindow(nullptr), B);
  SetWindowPos(T, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_FALSE(GetWindowLongPtr(T, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetWindow(B, GW_HWNDNEXT), T);
  EXPECT_EQ(GetWindow(T, GW_HWNDNEXT), A);
  // Placing a plain window after a topmost one keeps it out of the band.
  SetWindowPos(A, B, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_FALSE(GetWindowLongPtr(A, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetWindow(B, GW_HWNDNEXT), A);
  // The topmost window shows on top on the screen too.
  EXPECT_EQ(WindowFromPoint(POINT{5, 5}), B);
}

TEST_F(TWindowTest, TreeQueriesAndEnumeration) {
  HWND P = Popup(0, 0, 200, 200);
  HWND C1 = Child(P, 0, 0, 50, 50, WS_VISIBLE, 101);
  HWND C2 = Child(P, 60, 0, 50, 50, WS_VISIBLE, 102);
  HWND G = Child(C1, 0, 0, 10, 10, WS_VISIBLE, 103);
  EXPECT_EQ(GetWindow(P, GW_CHILD), C1);  // children keep their creation order: the first on top
  EXPECT_EQ(GetWindow(C1, GW_HWNDNEXT), C2);
  EXPECT_EQ(GetWindow(C2, GW_HWNDPREV), C1);
  EXPECT_EQ(GetParent(G), C1);
  EXPECT_EQ(GetAncestor(G, GA_ROOT), P);
  EXPECT_TRUE(IsChild(P, G));
  EXPECT_FALSE(IsChild(C2, G));
  EXPECT_EQ(GetDlgItem(P, 102), C2);
  EXPECT_EQ(GetDlgCtrlID(G), 103);
  std::vector<HWND> Seen;
  EnumChildWindows(
      P,
      [](HWND H, LPARAM L) {
        reinterpret_cast<std::vector<HWND>*>(L)->push_back(H);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&Seen));
  EXPECT_EQ(Seen, (std::vector<HWND>{C1, G, C2}));
  EXPECT_EQ(FindWindowEx(P, nullptr, "TVRECORDING", "child"), C1);
  EXPECT_EQ(FindWindowEx(P, C1, nullptr, "CHILD"), C2);
  EXPECT_EQ(FindWindow(RecordingClass(), "popup"), P);

  // SetParent keeps the coordinates in the new parent's client area.
  HWND Q = Popup(300, 300, 100, 100);
  EXPECT_EQ(SetParent(G, Q), C1);
  EXPECT_EQ(GetParent(G), Q);
  RECT R;
  GetWindowRect(G, &R);
  EXPECT_EQ(R, (RECT{300, 300, 310, 310}));
  EXPECT_EQ(SetParent(Q, G), nullptr);  // no loops
  EXPECT_TRUE(IsWindowVisible(G));
}

TEST_F(TWindowTest, StylesTextAndProperties) {
  HWND W = Popup(0, 0, 50, 50);
  MessageLog().clear();
  const LONG_PTR Old = SetWindowLongPtr(W, GWL_STYLE, WS_POPUP | WS_VISIBLE | WS_BORDER);
  EXPECT_EQ(Old, static_cast<LONG_PTR>(static_cast<LONG>(WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS)));
  ExpectSequence({{W, WM_STYLECHANGING}, {W, WM_STYLECHANGED}}, "style change");
  EXPECT_EQ(MessageLog()[0].WParam, static_cast<WPARAM>(static_cast<std::intptr_t>(GWL_STYLE)));

  EXPECT_TRUE(SetWindowText(W, "Grüße"));
  EXPECT_EQ(GetWindowTextLength(W), 7);
  char Buf[4];
  EXPECT_EQ(GetWindowText(W, Buf, 4), 3);
  EXPECT_STREQ(Buf, "Gr\xC3");
  EXPECT_EQ(GetWindowTextString(W), "Grüße");

  int Value = 1;
  EXPECT_TRUE(SetProp(W, "Owner", &Value));
  EXPECT_EQ(GetProp(W, "OWNER"), &Value);
  EXPECT_TRUE(SetProp(W, MAKEINTATOM(0xC123), &Buf));
  EXPECT_EQ(GetProp(W, MAKEINTATOM(0xC123)), &Buf);
  EXPECT_EQ(RemoveProp(W, "owner"), &Value);
  EXPECT_EQ(GetProp(W, "Owner"), nullptr);

  MessageLog().clear();
  EXPECT_FALSE(EnableWindow(W, FALSE));
  EXPECT_FALSE(IsWindowEnabled(W));
  EXPECT_TRUE(EnableWindow(W, TRUE));
  // The window had the focus (shown first): disabling it takes the focus away.
  ExpectSequence({{W, WM_CANCELMODE}, {W, WM_KILLFOCUS}, {W, WM_ENABLE}, {W, WM_ENABLE}}, "enable");
}

std::vector<UINT> GSubclassSaw;
WNDPROC GPrevious = nullptr;
LRESULT SubclassProc(HWND W, UINT Msg, WPARAM WP, LPARAM LP) {
  GSubclassSaw.push_back(Msg);
  if (Msg == WM_USER + 1) return 42;
  return CallWindowProc(GPrevious, W, Msg, WP, LP);
}

struct TObjectWindow {
  std::vector<UINT> Saw;
  void WndProc(TMessage& M) {
    Saw.push_back(M.Msg);
    M.Result = M.Msg == WM_USER ? 7 : 0;
  }
};

TEST_F(TWindowTest, SubclassingSeesEverythingFirstAndRestores) {
  HWND W = Popup(0, 0, 50, 50);
  GSubclassSaw.clear();
  GPrevious = reinterpret_cast<WNDPROC>(
      SetWindowLongPtr(W, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MakeWndProc(SubclassProc))));
  EXPECT_EQ(GPrevious, MakeWndProc(RecordingProc));
  MessageLog().clear();
  EXPECT_EQ(SendMessage(W, WM_USER + 1, 0, 0), 42);
  SetWindowPos(W, nullptr, 5, 5, 60, 60, SWP_NOZORDER);
  EXPECT_EQ(GSubclassSaw.size(), MessageLog().size() + 1);  // all but WM_USER + 1 passed on
  EXPECT_EQ(GSubclassSaw.front(), WM_USER + 1);

  TObjectWindow Object;
  WNDPROC Instance = MakeObjectInstance(TDelegate<void(TMessage&)>(&Object, &TObjectWindow::WndProc));
  SetWindowLongPtr(W, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Instance));
  EXPECT_EQ(SendMessage(W, WM_USER, 1, 2), 7);
  EXPECT_EQ(Object.Saw, std::vector<UINT>{WM_USER});
  // Restoring puts the original procedure back.
  EXPECT_EQ(
      reinterpret_cast<WNDPROC>(SetWindowLongPtr(W, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GPrevious))),
      Instance);
  FreeObjectInstance(Instance);
  MessageLog().clear();
  SendMessage(W, WM_USER + 1, 0, 0);
  EXPECT_EQ(CountOf(W, WM_USER + 1), 1u);
}

}  // namespace

namespace {

TEST_F(TWindowTest, DeferredPositionsApplyInOrder) {
  HWND A = Popup(0, 0, 10, 10);
  HWND B = Popup(0, 0, 10, 10);
  HDWP D = BeginDeferWindowPos(2);
  D = DeferWindowPos(D, A, nullptr, 5, 6, 20, 30, SWP_NOZORDER);
  D = DeferWindowPos(D, B, nullptr, 50, 60, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
  D = DeferWindowPos(D, A, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);  // merged into A's entry
  MessageLog().clear();
  ASSERT_TRUE(EndDeferWindowPos(D));
  RECT R;
  GetWindowRect(A, &R);
  EXPECT_EQ(R, (RECT{5, 6, 25, 36}));
  GetWindowRect(B, &R);
  EXPECT_EQ(R, (RECT{50, 60, 60, 70}));
  EXPECT_EQ(GetTopWindow(nullptr), A);
  ASSERT_FALSE(MessageLog().empty());
  EXPECT_EQ(MessageLog().front().Wnd, A);
  EXPECT_EQ(MessageLog().back().Wnd, B);
  EXPECT_FALSE(EndDeferWindowPos(D));  // used up
  // A bad window ends the whole list.
  D = BeginDeferWindowPos(1);
  EXPECT_EQ(DeferWindowPos(D, reinterpret_cast<HWND>(0x4444), nullptr, 0, 0, 0, 0, SWP_NOZORDER), nullptr);
}

}  // namespace
