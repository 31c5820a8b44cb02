// The move/size loop, caption buttons, caption double-clicks and system commands.
#include "NcTestSupport.h"

namespace {

using TMoveSizeTest = TNcTest;

RECT WindowRect(HWND W) {
  RECT R;
  GetWindowRect(W, &R);
  return R;
}

TEST_F(TMoveSizeTest, DraggingTheCaptionMovesTheWindowThroughTheLoop) {
  HWND W = Frame(100, 100, 300, 200);
  MessageLog().clear();
  Display->Drag({200, 110}, {260, 150}, 4);
  RunUntilIdle();
  EXPECT_EQ(WindowRect(W), (RECT{160, 140, 460, 340}));
  const std::vector<UINT> Expected = {WM_NCLBUTTONDOWN, WM_SYSCOMMAND,     WM_GETMINMAXINFO,
                                      WM_ENTERSIZEMOVE, WM_MOVING,         WM_WINDOWPOSCHANGED,
                                      WM_MOVE,          WM_MOVING,         WM_WINDOWPOSCHANGED,
                                      WM_MOVE,          WM_MOVING,         WM_WINDOWPOSCHANGED,
                                      WM_MOVE,          WM_MOVING,         WM_WINDOWPOSCHANGED,
                                      WM_MOVE,          WM_CAPTURECHANGED, WM_EXITSIZEMOVE};
  EXPECT_EQ(Seen(W, {WM_NCLBUTTONDOWN, WM_SYSCOMMAND, WM_GETMINMAXINFO, WM_ENTERSIZEMOVE, WM_MOVING,
                     WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE, WM_SIZING, WM_CAPTURECHANGED, WM_EXITSIZEMOVE}),
            Expected);
  const auto Sys = All(W, WM_SYSCOMMAND);
  ASSERT_EQ(Sys.size(), 1u);
  EXPECT_EQ(Sys[0].WParam, SC_MOVE + HTCAPTION);
  // WM_MOVING proposes screen rectangles.
  const auto Moving = All(W, WM_MOVING);
  ASSERT_EQ(Moving.size(), 4u);
}

TEST_F(TMoveSizeTest, MovingHandlerConstrainsTheRectangle) {
  HWND W = Frame(100, 100, 300, 200);
  std::vector<RECT> Proposed;
  NcHandler() = [&](HWND, UINT Msg, WPARAM, LPARAM LParam, LRESULT& Result) {
    if (Msg != WM_MOVING) return false;
    auto* R = reinterpret_cast<RECT*>(LParam);
    Proposed.push_back(*R);
    // Horizontal moves only.
    R->Bottom = R->Bottom - R->Top + 100;
    R->Top = 100;
    Result = TRUE;
    return true;
  };
  Display->Drag({200, 110}, {240, 190}, 2);
  RunUntilIdle();
  ASSERT_EQ(Proposed.size(), 2u);
  EXPECT_EQ(Proposed[1], (RECT{140, 180, 440, 380}));
  EXPECT_EQ(WindowRect(W), (RECT{140, 100, 440, 300}));
}

TEST_F(TMoveSizeTest, SizingByTheCornerHonoursMinMaxInfo) {
  HWND W = Frame(100, 100, 300, 200);
  std::vector<WPARAM> Edges;
  NcHandler() = [&](HWND, UINT Msg, WPARAM WParam, LPARAM LParam, LRESULT&) {
    if (Msg == WM_GETMINMAXINFO) {
      auto* MM = reinterpret_cast<MINMAXINFO*>(LParam);
      MM->ptMinTrackSize = {250, 180};
      MM->ptMaxTrackSize = {400, 300};
    } else if (Msg == WM_SIZING) {
      Edges.push_back(WParam);
    }
    return false;
  };
  Display->Drag({399, 299}, {700, 600}, 3);  // the bottom-right corner
  RunUntilIdle();
  EXPECT_EQ(WindowRect(W), (RECT{100, 100, 500, 400}));
  ASSERT_FALSE(Edges.empty());
  EXPECT_EQ(Edges[0], WMSZ_BOTTOMRIGHT);
  EXPECT_EQ(All(W, WM_SYSCOMMAND).front().WParam, SC_SIZE + WMSZ_BOTTOMRIGHT);
  Display->Drag({499, 399}, {120, 120}, 2);
  RunUntilIdle();
  EXPECT_EQ(WindowRect(W), (RECT{100, 100, 350, 280}));
  // The left edge moves the left side and keeps the right one.
  Display->Drag({100, 200}, {60, 200}, 2);
  RunUntilIdle();
  EXPECT_EQ(WindowRect(W), (RECT{60, 100, 350, 280}));
  RECT C;
  GetClientRect(W, &C);
  EXPECT_EQ(C, (RECT{0, 0, 290 - 8, 180 - 8 - 19}));
}

TEST_F(TMoveSizeTest, SizingHandlerChangesTheRectangle) {
  HWND W = Frame(100, 100, 300, 200);
  NcHandler() = [&](HWND, UINT Msg, WPARAM, LPARAM LParam, LRESULT& Result) {
    if (Msg != WM_SIZING) return false;
    // Keeps the width a multiple of 50.
    auto* R = reinterpret_cast<RECT*>(LParam);
    R->Right = R->Left + (R->Right - R->Left) / 50 * 50;
    Result = TRUE;
    return true;
  };
  Display->Drag({399, 200}, {470, 200}, 2);
  RunUntilIdle();
  EXPECT_EQ(WindowRect(W), (RECT{100, 100, 450, 300}));
}

TEST_F(TMoveSizeTest, EscapeCancelsAndRestoresTheRectangle) {
  HWND W = Frame(100, 100, 300, 200);
  MessageLog().clear();
  Display->MoveTo(200, 110);
  Display->ButtonDown();
  Display->MoveTo(250, 160);
  Display->KeyPress(VK_ESCAPE);
  Display->MoveTo(300, 200);  // after the loop: moves nothing
  Display->ButtonUp();
  RunUntilIdle();
  EXPECT_EQ(WindowRect(W), (RECT{100, 100, 400, 300}));
  const auto S = Seen(W, {WM_ENTERSIZEMOVE, WM_MOVING, WM_EXITSIZEMOVE});
  EXPECT_EQ(S, (std::vector<UINT>{WM_ENTERSIZEMOVE, WM_MOVING, WM_EXITSIZEMOVE}));
  // Sizing too.
  Display->MoveTo(399, 299);
  Display->ButtonDown();
  Display->MoveTo(450, 350);
  Display->KeyPress(VK_ESCAPE);
  Display->ButtonUp();
  RunUntilIdle();
  EXPECT_EQ(WindowRect(W), (RECT{100, 100, 400, 300}));
}

TEST_F(TMoveSizeTest, WithoutFullDragTheWindowMovesAtTheEnd) {
  BOOL Off = FALSE;
  SystemParametersInfo(SPI_SETDRAGFULLWINDOWS, 0, &Off, 0);
  HWND W = Frame(100, 100, 300, 200);
  Display->MoveTo(200, 110);
  Display->ButtonDown();
  Display->MoveTo(230, 130);
  bool Unmoved = false;
  bool FrameShown = false;
  OnIdle({[&] {
    Unmoved = WindowRect(W) == RECT{100, 100, 400, 300};
    // The tracking frame is a topmost window the size of the proposal.
    FrameShown = FindWindow("TvDragFrame", nullptr) != nullptr;
    Display->ButtonUp();
  }});
  RunUntilIdle();
  BOOL On = TRUE;
  SystemParametersInfo(SPI_SETDRAGFULLWINDOWS, 0, &On, 0);
  EXPECT_TRUE(Unmoved);
  EXPECT_TRUE(FrameShown);
  EXPECT_EQ(WindowRect(W), (RECT{130, 120, 430, 320}));
  EXPECT_EQ(FindWindow("TvDragFrame", nullptr), nullptr);
}

TEST_F(TMoveSizeTest, CaptionDoubleClickMaximizesOnlyWithMaximizeBox) {
  HWND W = Frame(100, 100, 300, 200);
  SendMessage(W, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(200, 110));
  EXPECT_TRUE(IsZoomed(W));
  SendMessage(W, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(200, 10));
  EXPECT_FALSE(IsZoomed(W));
  EXPECT_EQ(WindowRect(W), (RECT{100, 100, 400, 300}));
  HWND F =
      Frame(100, 100, 300, 200, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX);
  SendMessage(F, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(200, 110));
  EXPECT_FALSE(IsZoomed(F));
  // A double-click on the icon closes.
  SendMessage(F, WM_NCLBUTTONDBLCLK, HTSYSMENU, MAKELPARAM(110, 110));
  EXPECT_FALSE(IsWindow(F));
}

TEST_F(TMoveSizeTest, CloseButtonSendsScCloseAndTheWindowCloses) {
  HWND W = Frame(100, 100, 300, 200);
  MessageLog().clear();
  DWORD Pushed = 0;
  Display->MoveTo(385, 112);  // close button (378, 106)-(394, 120)
  Display->ButtonDown();
  OnIdle({[&] {
    Pushed = Pixel(W, 278, 6);  // sunken while pressed: shadow on the top-left
    Display->ButtonUp();
  }});
  RunUntilIdle();
  EXPECT_EQ(Pushed, Sys(COLOR_3DSHADOW));
  EXPECT_FALSE(IsWindow(W));
  const auto S = Seen(W, {WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY});
  EXPECT_EQ(S, (std::vector<UINT>{WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}));
  EXPECT_EQ(All(W, WM_SYSCOMMAND)[0].WParam, SC_CLOSE);
}

TEST_F(TMoveSizeTest, ReleasingOffTheButtonDoesNothing) {
  HWND W = Frame(100, 100, 300, 200);
  Display->MoveTo(385, 112);
  Display->ButtonDown();
  Display->MoveTo(300, 112);
  DWORD Raised = 0;
  OnIdle({[&] {
    Raised = Pixel(W, 278, 6);
    Display->ButtonUp();
  }});
  RunUntilIdle();
  EXPECT_EQ(Raised, Sys(COLOR_3DHILIGHT));
  EXPECT_TRUE(IsWindow(W));
  EXPECT_TRUE(All(W, WM_SYSCOMMAND).empty());
}

TEST_F(TMoveSizeTest, MinimizeAndMaximizeButtons) {
  HWND W = Frame(100, 100, 300, 200);
  Display->Click(368, 112);  // maximize (360, 106)-(376, 120)
  RunUntilIdle();
  EXPECT_TRUE(IsZoomed(W));
  EXPECT_EQ(All(W, WM_SYSCOMMAND).back().WParam, SC_MAXIMIZE);
  // Maximized, the frame hangs off the screen and the same button restores.
  RECT R = WindowRect(W);
  Display->Click(R.Right - 4 - 2 - 16 - 2 - 8, R.Top + 4 + 6);
  RunUntilIdle();
  EXPECT_FALSE(IsZoomed(W));
  EXPECT_EQ(All(W, WM_SYSCOMMAND).back().WParam, SC_RESTORE);
  Display->Click(352, 112);  // minimize
  RunUntilIdle();
  EXPECT_TRUE(IsIconic(W));
  // A window without a maximize box has its button disabled.
  HWND F = Frame(100, 100, 300, 200, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
  MessageLog().clear();
  Display->Click(368, 112);
  RunUntilIdle();
  EXPECT_FALSE(IsZoomed(F));
  EXPECT_TRUE(All(F, WM_SYSCOMMAND).empty());
}

TEST_F(TMoveSizeTest, SystemCommandsByTheirDefaults) {
  HWND W = Frame(100, 100, 300, 200);
  SendMessage(W, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  EXPECT_TRUE(IsZoomed(W));
  SendMessage(W, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(IsZoomed(W));
  SendMessage(W, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(W));
  SendMessage(W, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(IsIconic(W));
  SendMessage(W, WM_SYSCOMMAND, SC_SCREENSAVE, 0);
  SendMessage(W, WM_SYSCOMMAND, SC_TASKLIST, 0);
  SendMessage(W, WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
  EXPECT_TRUE(IsWindow(W));
  SendMessage(W, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(IsWindow(W));
}

TEST_F(TMoveSizeTest, ClickOnTheIconOpensTheSystemMenu) {
  HWND W = Frame(100, 100, 300, 200);
  Display->Click(110, 110);
  std::vector<UINT> States;
  OnIdle({[&] {
    const HMENU Sys = GetSystemMenu(W, FALSE);
    for (WPARAM Id : {SC_RESTORE, SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE})
      States.push_back(GetMenuState(Sys, static_cast<UINT>(Id), MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
    RECT R;
    ASSERT_TRUE(GetMenuItemRect(nullptr, Sys, 6, &R));  // Close
    EXPECT_GE(R.Top, 100 + 4 + 19);                     // below the caption
    const TPoint P = Center(R);
    Display->Click(P.X, P.Y);
  }});
  RunUntilIdle();
  EXPECT_EQ(States, (std::vector<UINT>{MF_GRAYED, 0, 0, 0, 0, 0}));
  EXPECT_FALSE(IsWindow(W));
}

}  // namespace
