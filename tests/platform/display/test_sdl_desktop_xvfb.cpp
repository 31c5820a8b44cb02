// The desktop back end on a real X server with a window manager: each top-level window is a
// desktop window of its own, driven by real input (xdotool) and the window manager's requests.
// CTest runs these inside a private Xvfb (run-under-xvfb.sh); elsewhere they are skipped.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/display/SdlDesktop.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Painting.h"
#include "platform/gdi/Regions.h"
#include "platform/user/CommonControls.h"
#include "platform/user/Cursors.h"
#include "platform/user/Menus.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/User.h"
#include "platform/user/WindowInternals.h"
#include "tests/platform/display/XDesktopProbe.h"
#include "tests/platform/display/XvfbTestUtil.h"

namespace {

constexpr DWORD Red = 0x00FF0000;
constexpr UINT MenuItemId = 41;

std::vector<MSG> GMessages;

// Fills its client area with red and records the messages a test looks for.
LRESULT RecordingProc(HWND W, UINT Msg, WPARAM WP, LPARAM LP) {
  switch (Msg) {
    case WM_PAINT: {
      PAINTSTRUCT PS;
      HDC DC = BeginPaint(W, &PS);
      HBRUSH B = CreateSolidBrush(RGB(255, 0, 0));
      RECT C;
      GetClientRect(W, &C);
      FillRect(DC, &C, B);
      DeleteObject(B);
      EndPaint(W, &PS);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_COMMAND:
    case WM_ACTIVATEAPP:
    case WM_SYSCOMMAND:
    case WM_CLOSE:
    case WM_MOVE:
      GMessages.push_back(MSG{W, Msg, WP, LP, 0, {}});
      break;
    default:
      break;
  }
  return DefWindowProc(W, Msg, WP, LP);
}

bool RecordingClass() {
  static const bool Registered = [] {
    WNDCLASS WC;
    WC.lpfnWndProc = MakeWndProc(RecordingProc);
    WC.lpszClassName = "TvDesktopForm";
    return RegisterClass(&WC) != 0;
  }();
  return Registered;
}

size_t CountOf(HWND W, UINT Msg) {
  size_t N = 0;
  for (const MSG& M : GMessages) N += M.hwnd == W && M.message == Msg;
  return N;
}

class SdlDesktopXvfb : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!OnScreenTestsWanted()) GTEST_SKIP() << "no display (CTest runs these as SdlUnderXvfb)";
    if (Shell("command -v xdotool").empty()) GTEST_SKIP() << "xdotool is not installed";
    ASSERT_TRUE(RecordingClass());
    InitCommonControls();
    GMessages.clear();
    FDisplay = CreateSdlDesktop();
    ASSERT_NE(FDisplay, nullptr);
    FBefore = GetDisplayBackend();
    SetDisplayBackend(FDisplay.get());
    ASSERT_TRUE(FX.Open());
  }

  void TearDown() override {
    if (!FDisplay) return;
    for (HWND W : FWindows)
      if (IsWindow(W)) DestroyWindow(W);
    RunUntilIdle();
    SetDisplayBackend(FBefore);
    PinLoadedLibraries();
    FDisplay.reset();
    SetSdlDesktopCompositing(std::nullopt);
  }

  static bool HaveWindowManager() { return EnvIs("TILVAROK_XVFB_WM", "openbox"); }

  HWND Form(const char* Title, TRect R, DWORD Style = WS_OVERLAPPEDWINDOW, DWORD ExStyle = 0,
            HWND Owner = nullptr) {
    HWND W = CreateWindowEx(ExStyle, "TvDesktopForm", Title, Style | WS_VISIBLE, R.Left, R.Top, R.Width(),
                            R.Height(), Owner, nullptr, nullptr, nullptr);
    FWindows.push_back(W);
    return W;
  }

  // Pumps the window layer until Done says so; false after Limit.
  bool PumpUntil(const std::function<bool()>& Done,
                 std::chrono::steady_clock::duration Limit = std::chrono::seconds(10)) {
    const auto Deadline = std::chrono::steady_clock::now() + Limit;
    while (std::chrono::steady_clock::now() < Deadline) {
      RunUntilIdle();
      if (Done()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }

  std::string XId(HWND W) { return std::to_string(SdlDesktopWindowId(*FDisplay, W)); }

  unsigned long XWin(HWND W) { return SdlDesktopWindowId(*FDisplay, W); }
  TPoint DesktopPosition(HWND W) { return FX.Position(XWin(W)); }

  std::unique_ptr<TDisplayBackend> FDisplay;
  TDisplayBackend* FBefore = nullptr;
  TXDesktopProbe FX;
  std::vector<HWND> FWindows;
};

TEST_F(SdlDesktopXvfb, TheScreenIsTheMonitor) {
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1024);
  RECT Work;
  ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &Work, 0));
  EXPECT_GT(Work.Right - Work.Left, 0);
  EXPECT_LE(Work.Right, 1280);
  EXPECT_LE(Work.Bottom, 1024);
}

TEST_F(SdlDesktopXvfb, AFormIsADesktopWindowOfItsOwnNamedByItsCaptionAndTakesARealClick) {
  const std::string Title = "Tilvarok - Spheres" + std::to_string(getpid());
  HWND W = Form(Title.c_str(), {100, 80, 400, 280});
  RunUntilIdle();
  ASSERT_TRUE(PumpUntil([&] { return !Shell("xdotool search --name '^" + Title + "$'").empty(); }));
  EXPECT_EQ(Shell("xdotool search --name '^" + Title + "$' | head -n 1"), XId(W));
  ASSERT_TRUE(PumpUntil([&] { return DesktopPosition(W) == TPoint{100, 80}; }));

  POINT Client{0, 0};
  ClientToScreen(W, &Client);
  std::vector<DWORD> Shown;
  TSize Size;
  ASSERT_TRUE(ReadSdlDesktopWindow(*FDisplay, W, Shown, Size));
  ASSERT_EQ(Size, (TSize{300, 200}));
  EXPECT_EQ(Shown[static_cast<size_t>(Client.Y - 80 + 30) * 300 + (Client.X - 100 + 20)], Red);
  EXPECT_NE(Shown[5 * 300 + 150], Red);  // the frame the window layer draws

  Shell("xdotool mousemove " + std::to_string(Client.X + 20) + " " + std::to_string(Client.Y + 30) +
        " click 1");
  ASSERT_TRUE(PumpUntil([&] { return CountOf(W, WM_LBUTTONUP) == 1; }));
  for (const MSG& M : GMessages) {
    if (M.message != WM_LBUTTONDOWN) continue;
    EXPECT_EQ(M.hwnd, W);
    EXPECT_EQ(M.lParam, MAKELPARAM(20, 30));
  }

  SetWindowText(W, (Title + " 2").c_str());
  EXPECT_TRUE(PumpUntil([&] { return Shell("xdotool getwindowname " + XId(W)) == Title + " 2"; }));
  HICON Icon = LoadIcon(nullptr, IDI_APPLICATION);
  ASSERT_NE(Icon, nullptr);
  SendMessage(W, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(Icon));
  EXPECT_TRUE(PumpUntil([&] {
    return FX.IconSize(XWin(W)) == TSize{Icon->Width, Icon->Height};
  })) << "the form's icon is its desktop window's icon";
}

TEST_F(SdlDesktopXvfb, MovesGoBothWaysAndADialogMovesOnItsOwn) {
  HWND Main = Form("Main", {100, 80, 500, 380});
  HWND Dialog =
      Form("Dialog", {150, 120, 350, 270}, WS_CAPTION | WS_SYSMENU | WS_POPUP, WS_EX_DLGMODALFRAME, Main);
  RunUntilIdle();
  ASSERT_NE(SdlDesktopWindowId(*FDisplay, Dialog), 0u);
  EXPECT_NE(XId(Dialog), XId(Main));
  EXPECT_TRUE(PumpUntil([&] { return FX.TransientFor(XWin(Dialog)) == XWin(Main); }))
      << "an owned window stays above its owner";

  // The window layer moves: the desktop window follows.
  SetWindowPos(Dialog, nullptr, 600, 500, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_TRUE(PumpUntil([&] { return DesktopPosition(Dialog) == TPoint{600, 500}; }));
  EXPECT_EQ(DesktopPosition(Main), (TPoint{100, 80}));

  // The desktop moves: the window layer hears it as a move, the owner stays.
  GMessages.clear();
  Shell("xdotool windowmove --sync " + XId(Dialog) + " 300 200");
  ASSERT_TRUE(PumpUntil([&] {
    RECT R;
    GetWindowRect(Dialog, &R);
    return R.Left == 300 && R.Top == 200;
  }));
  EXPECT_GE(CountOf(Dialog, WM_MOVE), 1u);
  RECT M;
  GetWindowRect(Main, &M);
  EXPECT_EQ(M.Left, 100);
  EXPECT_EQ(M.Top, 80);
}

TEST_F(SdlDesktopXvfb, DraggingTheCaptionMovesTheDesktopWindowWithThePointer) {
  HWND W = Form("Caption drag", {100, 80, 400, 280});
  RunUntilIdle();
  ASSERT_TRUE(PumpUntil([&] { return DesktopPosition(W) == TPoint{100, 80}; }));
  // The move loop is modal: once it runs, the pointer goes on in steps and lets go. The window
  // moves under the pointer all the while; each step must land where the pointer is.
  bool Moved = false;
  SetModalHook([&] {
    if (Moved) return;
    Moved = true;
    Shell(
        "(xdotool sleep 0.2 mousemove 260 150 sleep 0.2 mousemove 330 230 sleep 0.2 mousemove 400 300 "
        "sleep 0.2 mouseup 1) >/dev/null 2>&1 &");
  });
  Shell("xdotool mousemove 200 90 mousedown 1");
  PumpUntil([&] { return Moved && !(GetAsyncKeyState(VK_LBUTTON) & 0x8000); });
  SetModalHook(nullptr);
  ASSERT_TRUE(Moved) << "the move loop never ran";
  ASSERT_TRUE(PumpUntil([&] {
    RECT R;
    GetWindowRect(W, &R);
    return R.Left == 300 && R.Top == 290;
  }));
  EXPECT_TRUE(PumpUntil([&] { return DesktopPosition(W) == TPoint{300, 290}; }));
}

TEST_F(SdlDesktopXvfb, AMenuIsAPopupWindowAndARealClickChoosesAnItem) {
  HWND W = Form("Menus", {100, 80, 500, 380});
  RunUntilIdle();
  HMENU Menu = CreatePopupMenu();
  AppendMenu(Menu, MF_STRING, MenuItemId, "First");
  AppendMenu(Menu, MF_STRING, MenuItemId + 1, "Second");
  HWND MenuWindow = nullptr;
  bool Clicked = false, Popup = false;
  SetModalHook([&] {
    if (Clicked) return;
    for (TWindow* T : DesktopWindow()->Children)
      if (T->Handle != W && (T->Style & WS_VISIBLE) && SdlDesktopWindowId(*FDisplay, T->Handle) != 0)
        MenuWindow = T->Handle;
    if (MenuWindow == nullptr) return;
    Clicked = true;
    Popup = FX.OverrideRedirect(XWin(MenuWindow));
    RECT R;
    GetWindowRect(MenuWindow, &R);
    Shell("xdotool mousemove " + std::to_string(R.Left + 20) + " " + std::to_string(R.Top + 8) + " click 1");
  });
  const UINT Chosen = static_cast<UINT>(TrackPopupMenu(Menu, TPM_RETURNCMD, 200, 150, 0, W, nullptr));
  SetModalHook(nullptr);
  DestroyMenu(Menu);
  ASSERT_TRUE(Clicked) << "the menu never showed a desktop window";
  EXPECT_TRUE(Popup) << "menus take no task-bar entry and no focus";
  EXPECT_EQ(Chosen, MenuItemId);
  RunUntilIdle();
  EXPECT_EQ(SdlDesktopWindowId(*FDisplay, MenuWindow), 0u) << "the closed menu's desktop window is gone";
}

TEST_F(SdlDesktopXvfb, ASliderDragThatLeavesTheWindowKeepsTracking) {
  HWND W = Form("Slider", {100, 80, 400, 280});
  HWND Bar = CreateWindowEx(0, TRACKBAR_CLASS, "", WS_CHILD | WS_VISIBLE | TBS_HORZ, 10, 10, 200, 30, W,
                            nullptr, nullptr, nullptr);
  SendMessage(Bar, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
  SendMessage(Bar, TBM_SETPOS, TRUE, 0);
  RunUntilIdle();
  RECT Thumb;
  SendMessage(Bar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&Thumb));
  POINT At{(Thumb.Left + Thumb.Right) / 2, (Thumb.Top + Thumb.Bottom) / 2};
  ClientToScreen(Bar, &At);
  ASSERT_TRUE(PumpUntil([&] { return DesktopPosition(W) == TPoint{100, 80}; }));
  // Pressed on the thumb, dragged far to the right of the form, then back inside and released.
  Shell("xdotool mousemove " + std::to_string(At.X) + " " + std::to_string(At.Y) + " mousedown 1");
  ASSERT_TRUE(PumpUntil([&] { return GetCapture() == Bar; })) << "the press missed the thumb";
  Shell("xdotool mousemove " + std::to_string(At.X + 300) + " " + std::to_string(At.Y + 5) + " mousemove " +
        std::to_string(At.X + 700) + " " + std::to_string(At.Y + 40));
  EXPECT_TRUE(PumpUntil([&] { return SendMessage(Bar, TBM_GETPOS, 0, 0) == 100; }))
      << "position " << SendMessage(Bar, TBM_GETPOS, 0, 0);
  Shell("xdotool mousemove " + std::to_string(At.X + 100) + " " + std::to_string(At.Y) + " mouseup 1");
  EXPECT_TRUE(PumpUntil([&] { return GetCapture() == nullptr; }));
  const LRESULT Pos = SendMessage(Bar, TBM_GETPOS, 0, 0);
  EXPECT_GT(Pos, 0);
  EXPECT_LT(Pos, 100);
}

TEST_F(SdlDesktopXvfb, MinimiseRestoreAndCloseFromTheDesktopAreSystemCommands) {
  if (!HaveWindowManager()) GTEST_SKIP() << "no window manager";
  HWND W = Form("Commands", {100, 80, 400, 280});
  RunUntilIdle();
  ASSERT_TRUE(PumpUntil([&] { return DesktopPosition(W) == TPoint{100, 80}; }));
  Shell("xdotool windowminimize --sync " + XId(W));
  ASSERT_TRUE(PumpUntil([&] { return IsIconic(W) != FALSE; }));
  EXPECT_EQ(CountOf(W, WM_SYSCOMMAND), 1u);
  Shell("xdotool windowactivate --sync " + XId(W));
  ASSERT_TRUE(PumpUntil([&] { return IsIconic(W) == FALSE; }));

  FX.RequestClose(XWin(W));
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(W); }));
  EXPECT_EQ(CountOf(W, WM_CLOSE), 1u);
}

TEST_F(SdlDesktopXvfb, AnotherProgramsWindowDeactivatesOursAndAClickActivatesAgain) {
  if (!HaveWindowManager()) GTEST_SKIP() << "no window manager";
  HWND W = Form("Activation", {100, 80, 400, 280});
  RunUntilIdle();
  Shell("xdotool windowactivate --sync " + XId(W));
  ASSERT_TRUE(PumpUntil([&] { return GetActiveWindow() == W; }));
  GMessages.clear();
  // Another program's window, given the focus by the window manager.
  const unsigned long Other = FX.CreateWindow({700, 600, 900, 750}, "Another program");
  Shell("xdotool windowactivate --sync " + std::to_string(Other));
  EXPECT_TRUE(PumpUntil([&] { return GetActiveWindow() == nullptr; }));
  ASSERT_EQ(CountOf(W, WM_ACTIVATEAPP), 1u);
  EXPECT_EQ(GMessages.front().wParam, static_cast<WPARAM>(FALSE));

  POINT Client{30, 30};
  ClientToScreen(W, &Client);
  Shell("xdotool mousemove " + std::to_string(Client.X) + " " + std::to_string(Client.Y) + " click 1");
  EXPECT_TRUE(PumpUntil([&] { return GetActiveWindow() == W; }));
  FX.DestroyWindow(Other);
}

// ---- Shapes and alpha ------------------------------------------------------------------------

TEST_F(SdlDesktopXvfb, ARegionShapesTheDesktopWindow) {
  HWND W = Form("Region", {100, 80, 300, 280}, WS_POPUP);
  SetWindowRgn(W, CreateEllipticRgn(0, 0, 200, 200), TRUE);
  RunUntilIdle();
  std::vector<TRect> Shape;
  ASSERT_TRUE(PumpUntil([&] { return ReadSdlDesktopShape(*FDisplay, W, Shape); }));
  auto Inside = [&](Integer X, Integer Y) {
    for (const TRect& R : Shape)
      if (X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom) return true;
    return false;
  };
  EXPECT_TRUE(Inside(100, 100));
  EXPECT_TRUE(Inside(100, 2));
  EXPECT_FALSE(Inside(2, 2)) << "the corners are cut off";
  EXPECT_FALSE(Inside(197, 197));
  SetWindowRgn(W, nullptr, TRUE);
  EXPECT_TRUE(PumpUntil([&] { return !ReadSdlDesktopShape(*FDisplay, W, Shape); })) << "no region, no shape";
}

// A layered window given half-transparent red in its left half and opaque blue in its right half.
HWND PerPixelAlphaWindow(std::vector<HWND>& Windows) {
  HWND W = CreateWindowEx(WS_EX_LAYERED, "TvDesktopForm", "Alpha", WS_POPUP | WS_VISIBLE, 100, 80, 100, 50,
                          nullptr, nullptr, nullptr, nullptr);
  Windows.push_back(W);
  BITMAPINFO BI{};
  BI.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  BI.bmiHeader.biWidth = 100;
  BI.bmiHeader.biHeight = -50;
  BI.bmiHeader.biPlanes = 1;
  BI.bmiHeader.biBitCount = 32;
  void* Bits = nullptr;
  HDC Mem = CreateCompatibleDC(nullptr);
  HBITMAP Dib = CreateDIBSection(Mem, &BI, DIB_RGB_COLORS, &Bits, nullptr, 0);
  HGDIOBJ Old = SelectObject(Mem, Dib);
  auto* P = static_cast<DWORD*>(Bits);
  for (Integer Y = 0; Y < 50; ++Y)
    for (Integer X = 0; X < 100; ++X) P[Y * 100 + X] = X < 50 ? 0x40400000u : 0xFF0000FFu;
  TLayeredBlend Blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  POINT Src{0, 0};
  SIZE Size{100, 50};
  UpdateLayeredWindow(W, nullptr, nullptr, &Size, Mem, &Src, 0, &Blend, ULW_ALPHA);
  SelectObject(Mem, Old);
  DeleteObject(Dib);
  DeleteDC(Mem);
  return W;
}

TEST_F(SdlDesktopXvfb, WithoutACompositorPerPixelAlphaShowsTheOpaquePictureCutAtHalfAlpha) {
  SetSdlDesktopCompositing(false);
  FDisplay.reset();  // the setting applies to back ends made afterwards
  SetDisplayBackend(FBefore);
  FDisplay = CreateSdlDesktop();
  ASSERT_NE(FDisplay, nullptr);
  SetDisplayBackend(FDisplay.get());
  HWND W = PerPixelAlphaWindow(FWindows);
  std::vector<TRect> Shape;
  ASSERT_TRUE(PumpUntil([&] { return ReadSdlDesktopShape(*FDisplay, W, Shape); }));
  ASSERT_EQ(Shape.size(), 1u);
  EXPECT_EQ(Shape[0], (TRect{50, 0, 100, 50})) << "alpha 0x40 is below half";
  std::vector<DWORD> Shown;
  TSize Size;
  ASSERT_TRUE(ReadSdlDesktopWindow(*FDisplay, W, Shown, Size));
  EXPECT_EQ(Shown[10 * 100 + 70], 0x000000FFu);
}

TEST_F(SdlDesktopXvfb, WithACompositorOpacityAndAlphaReachTheDesktop) {
  SetSdlDesktopCompositing(true);
  FDisplay.reset();
  SetDisplayBackend(FBefore);
  FDisplay = CreateSdlDesktop();
  ASSERT_NE(FDisplay, nullptr);
  SetDisplayBackend(FDisplay.get());
  HWND W = PerPixelAlphaWindow(FWindows);
  std::vector<TRect> Shape;
  ASSERT_TRUE(PumpUntil([&] { return ReadSdlDesktopShape(*FDisplay, W, Shape); }));
  ASSERT_EQ(Shape.size(), 1u);
  EXPECT_EQ(Shape[0], (TRect{0, 0, 100, 50})) << "only clear pixels are holes";
  std::vector<DWORD> Shown;
  TSize Size;
  ASSERT_TRUE(ReadSdlDesktopWindow(*FDisplay, W, Shown, Size));
  EXPECT_EQ(Shown[10 * 100 + 10], 0x00FF0000u) << "the colour without its alpha";

  // Constant alpha: the window's opacity.
  HWND C = CreateWindowEx(WS_EX_LAYERED, "TvDesktopForm", "Constant", WS_POPUP | WS_VISIBLE, 300, 80, 100, 50,
                          nullptr, nullptr, nullptr, nullptr);
  FWindows.push_back(C);
  SetLayeredWindowAttributes(C, 0, 128, LWA_ALPHA);
  ASSERT_TRUE(PumpUntil([&] { return FX.Opacity(XWin(C)) >= 0; }));
  EXPECT_NEAR(FX.Opacity(XWin(C)), 128.0 / 255.0, 0.01);
}

}  // namespace
