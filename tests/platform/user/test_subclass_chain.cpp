// Subclass chains: links run latest first, pass messages down, and come off in any order, also
// from inside a message; the window's own procedure comes back with the last link.
#include <string>

#include "WindowTestSupport.h"
#include "platform/user/WindowSubclass.h"

namespace {

std::string GTrace;

LRESULT OwnProc(HWND W, UINT Msg, WPARAM WP, LPARAM LP) {
  if (Msg == WM_USER) {
    GTrace += "own;";
    return 1;
  }
  return DefWindowProc(W, Msg, WP, LP);
}

// Writes its id and adds its RefData to what the rest of the chain answers.
LRESULT Link(HWND W, UINT Msg, WPARAM WP, LPARAM LP, UINT_PTR Id, DWORD_PTR Ref) {
  if (Msg != WM_USER) return DefSubclassProc(W, Msg, WP, LP);
  GTrace += std::to_string(Id) + ";";
  return DefSubclassProc(W, Msg, WP, LP) + static_cast<LRESULT>(Ref);
}

// Takes itself and link 1 off while the message runs, then passes it on.
LRESULT Remover(HWND W, UINT Msg, WPARAM WP, LPARAM LP, UINT_PTR Id, DWORD_PTR) {
  if (Msg != WM_USER) return DefSubclassProc(W, Msg, WP, LP);
  GTrace += "remover;";
  RemoveWindowSubclass(W, Remover, Id);
  RemoveWindowSubclass(W, Link, 1);
  return DefSubclassProc(W, Msg, WP, LP);
}

TEST_F(TWindowTest, SubclassLinksChainAndComeOffInAnyOrder) {
  HWND W = Popup(0, 0, 10, 10);
  const WNDPROC Own = MakeWndProc(OwnProc);
  SetWindowLongPtr(W, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Own));
  ASSERT_TRUE(SetWindowSubclass(W, Link, 1, 10));
  ASSERT_TRUE(SetWindowSubclass(W, Link, 2, 100));
  ASSERT_TRUE(SetWindowSubclass(W, Link, 3, 1000));
  GTrace.clear();
  EXPECT_EQ(SendMessage(W, WM_USER, 0, 0), 1111);
  EXPECT_EQ(GTrace, "3;2;1;own;");
  // The middle link first, then the first one: the others keep running.
  EXPECT_TRUE(RemoveWindowSubclass(W, Link, 2));
  EXPECT_FALSE(RemoveWindowSubclass(W, Link, 2));
  GTrace.clear();
  EXPECT_EQ(SendMessage(W, WM_USER, 0, 0), 1011);
  EXPECT_EQ(GTrace, "3;1;own;");
  // A second set changes the data only.
  EXPECT_TRUE(SetWindowSubclass(W, Link, 1, 20));
  DWORD_PTR Ref = 0;
  EXPECT_TRUE(GetWindowSubclass(W, Link, 1, &Ref));
  EXPECT_EQ(Ref, 20u);
  EXPECT_TRUE(RemoveWindowSubclass(W, Link, 1));
  EXPECT_TRUE(RemoveWindowSubclass(W, Link, 3));
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtr(W, GWLP_WNDPROC)), Own);
  EXPECT_FALSE(SetWindowSubclass(W, nullptr, 1, 0));
  EXPECT_FALSE(SetWindowSubclass(reinterpret_cast<HWND>(0x4321), Link, 1, 0));
}

TEST_F(TWindowTest, SubclassLinksRemovedWhileAMessageRunsAreSkipped) {
  HWND W = Popup(0, 0, 10, 10);
  const WNDPROC Own = MakeWndProc(OwnProc);
  SetWindowLongPtr(W, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Own));
  SetWindowSubclass(W, Link, 1, 10);
  SetWindowSubclass(W, Remover, 7, 0);
  GTrace.clear();
  EXPECT_EQ(SendMessage(W, WM_USER, 0, 0), 1);
  EXPECT_EQ(GTrace, "remover;own;");
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtr(W, GWLP_WNDPROC)), Own);
}

TEST_F(TWindowTest, SubclassChainKeepsAProcedureSetOverIt) {
  HWND W = Popup(0, 0, 10, 10);
  SetWindowLongPtr(W, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MakeWndProc(OwnProc)));
  SetWindowSubclass(W, Link, 1, 10);
  const WNDPROC Chain = reinterpret_cast<WNDPROC>(GetWindowLongPtr(W, GWLP_WNDPROC));
  // Someone else subclasses the old way on top; the last link going leaves that in place.
  const WNDPROC Above = MakeWndProc(DefWindowProc);
  SetWindowLongPtr(W, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Above));
  EXPECT_TRUE(RemoveWindowSubclass(W, Link, 1));
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtr(W, GWLP_WNDPROC)), Above);
  // The chain, called by whoever kept it, passes straight to the window's own procedure.
  GTrace.clear();
  EXPECT_EQ(CallWindowProc(Chain, W, WM_USER, 0, 0), 1);
  EXPECT_EQ(GTrace, "own;");
  DestroyWindow(W);
}

}  // namespace
