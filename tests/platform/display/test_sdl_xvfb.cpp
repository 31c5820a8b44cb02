// The single-window SDL display back end on a real X server, driven by real input (xdotool). CTest runs
// these inside a private Xvfb (run-under-xvfb.sh); elsewhere they are skipped unless asked for.
#include <SDL.h>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/display/SdlDisplay.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Painting.h"
#include "platform/user/User.h"
#include "platform/user/WindowInternals.h"
#include "tests/platform/display/XvfbTestUtil.h"

namespace {

constexpr DWORD Teal = 0x00336699;
constexpr DWORD Red = 0x00FF0000;
constexpr TRect RedBox{100, 80, 200, 160};

// A screen surface over its own pixels.
struct TTestScreen {
  std::vector<DWORD> Pixels;
  TSurface Surface;
  TTestScreen(TSize Size, DWORD Fill) : Pixels(static_cast<size_t>(Size.cx) * Size.cy, Fill) {
    Surface.Width = Size.cx;
    Surface.Height = Size.cy;
    Surface.Stride = Size.cx * 4;
    Surface.Row0 = reinterpret_cast<Byte*>(Pixels.data());
  }
  void Fill(const TRect& R, DWORD Colour) {
    for (Integer Y = R.Top; Y < R.Bottom; ++Y)
      for (Integer X = R.Left; X < R.Right; ++X) Pixels[static_cast<size_t>(Y) * Surface.Width + X] = Colour;
  }
};

class SdlXvfb : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!OnScreenTestsWanted()) GTEST_SKIP() << "no display (CTest runs these as SdlUnderXvfb)";
    if (Shell("command -v xdotool").empty()) GTEST_SKIP() << "xdotool is not installed";
    static int Count = 0;
    FTitle = "TilvarokSdlTest" + std::to_string(getpid()) + "x" + std::to_string(++Count);
    SetSdlWindowTitle(FTitle);
    FDisplay = CreateSdlDisplay({640, 480});
    ASSERT_NE(FDisplay, nullptr);
    ASSERT_EQ(FDisplay->ScreenSize(), (TSize{640, 480}));
    FWindowId = FindWindow();
    ASSERT_FALSE(FWindowId.empty()) << "the SDL window never appeared";
  }

  void TearDown() override {
    if (!FDisplay) return;
    PinLoadedLibraries();
    FDisplay.reset();
  }

  std::string FindWindow() {
    for (int Try = 0; Try < 100; ++Try) {
      std::string Id = Shell("xdotool search --name '^" + FTitle + "$' 2>/dev/null | head -n 1");
      if (!Id.empty()) return Id;
      Drain();
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return {};
  }

  void Drain() {
    TInputEvent Ev;
    while (FDisplay->PollInput(Ev)) {
    }
  }

  // Collects input until Done says so; gives up after a few seconds (a failure, not a wait).
  std::vector<TInputEvent> CollectUntil(const std::function<bool(const std::vector<TInputEvent>&)>& Done) {
    std::vector<TInputEvent> Events;
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!Done(Events) && std::chrono::steady_clock::now() < Deadline) {
      FDisplay->WaitInput(100);
      TInputEvent Ev;
      while (FDisplay->PollInput(Ev)) Events.push_back(Ev);
    }
    return Events;
  }

  static std::vector<TInputEvent> OfKinds(const std::vector<TInputEvent>& Events,
                                          std::initializer_list<TInputEventKind> Kinds) {
    std::vector<TInputEvent> Out;
    for (const TInputEvent& Ev : Events)
      if (std::find(Kinds.begin(), Kinds.end(), Ev.Kind) != Kinds.end()) Out.push_back(Ev);
    return Out;
  }

  DWORD PixelAt(const std::vector<DWORD>& Pixels, TSize Size, Integer X, Integer Y) {
    return Pixels[static_cast<size_t>(Y) * Size.cx + X];
  }

  std::string FTitle;
  std::string FWindowId;
  std::unique_ptr<TDisplayBackend> FDisplay;
};

TEST_F(SdlXvfb, PresentShowsTheScreenAndThenOnlyTheDamage) {
  TTestScreen Screen({640, 480}, Teal);
  Screen.Fill(RedBox, Red);
  FDisplay->Present(Screen.Surface, {Screen.Surface.Bounds()});
  std::vector<DWORD> Shown;
  TSize Size;
  ASSERT_TRUE(ReadSdlDisplayPixels(*FDisplay, Shown, Size));
  ASSERT_EQ(Size, (TSize{640, 480}));
  EXPECT_EQ(PixelAt(Shown, Size, 0, 0), Teal);
  EXPECT_EQ(PixelAt(Shown, Size, 639, 479), Teal);
  EXPECT_EQ(PixelAt(Shown, Size, RedBox.Left, RedBox.Top), Red);
  EXPECT_EQ(PixelAt(Shown, Size, RedBox.Right - 1, RedBox.Bottom - 1), Red);
  EXPECT_EQ(PixelAt(Shown, Size, RedBox.Right, RedBox.Bottom), Teal);

  // A damaged rectangle reaching past the screen is clipped; the rest keeps what it showed.
  Screen.Fill({0, 0, 640, 480}, 0x00FFFFFF);
  FDisplay->Present(Screen.Surface, {{600, 440, 700, 500}});
  ASSERT_TRUE(ReadSdlDisplayPixels(*FDisplay, Shown, Size));
  EXPECT_EQ(PixelAt(Shown, Size, 639, 479), 0x00FFFFFFu);
  EXPECT_EQ(PixelAt(Shown, Size, 600, 440), 0x00FFFFFFu);
  EXPECT_EQ(PixelAt(Shown, Size, 599, 440), Teal);
  EXPECT_EQ(PixelAt(Shown, Size, RedBox.Left, RedBox.Top), Red);
}

TEST_F(SdlXvfb, RealMouseAndKeyboardArriveAsInputEvents) {
  TTestScreen Screen({640, 480}, Teal);
  Screen.Fill(RedBox, Red);
  FDisplay->Present(Screen.Surface, {Screen.Surface.Bounds()});
  Shell("xdotool windowfocus --sync " + FWindowId);
  Drain();

  Shell("xdotool mousemove --window " + FWindowId + " 150 120 click 1 mousemove --window " + FWindowId +
        " 20 30 click 3");
  std::vector<TInputEvent> Events = CollectUntil(
      [](const std::vector<TInputEvent>& E) { return OfKinds(E, {TInputEventKind::ButtonUp}).size() >= 2; });
  std::vector<TInputEvent> Mouse =
      OfKinds(Events, {TInputEventKind::MouseMove, TInputEventKind::ButtonDown, TInputEventKind::ButtonUp});
  // The last move before each press is where the press happens.
  std::vector<TInputEvent> Presses;
  for (size_t I = 0; I < Mouse.size(); ++I) {
    if (Mouse[I].Kind == TInputEventKind::MouseMove) continue;
    Presses.push_back(Mouse[I]);
    if (Mouse[I].Kind == TInputEventKind::ButtonDown) {
      ASSERT_GT(I, 0u);
      EXPECT_EQ(Mouse[I - 1].Kind, TInputEventKind::MouseMove);
      EXPECT_EQ(Mouse[I - 1].X, Mouse[I].X);
      EXPECT_EQ(Mouse[I - 1].Y, Mouse[I].Y);
    }
  }
  ASSERT_EQ(Presses.size(), 4u);
  const struct {
    TInputEventKind Kind;
    TInputButton Button;
    Integer X, Y;
  } Expected[] = {{TInputEventKind::ButtonDown, TInputButton::Left, 150, 120},
                  {TInputEventKind::ButtonUp, TInputButton::Left, 150, 120},
                  {TInputEventKind::ButtonDown, TInputButton::Right, 20, 30},
                  {TInputEventKind::ButtonUp, TInputButton::Right, 20, 30}};
  for (size_t I = 0; I < 4; ++I) {
    SCOPED_TRACE(I);
    EXPECT_EQ(Presses[I].Kind, Expected[I].Kind);
    EXPECT_EQ(Presses[I].Button, Expected[I].Button);
    EXPECT_EQ(Presses[I].X, Expected[I].X);
    EXPECT_EQ(Presses[I].Y, Expected[I].Y);
  }

  // A drag beyond the window ends at the screen's edge, as the cursor cannot leave it.
  Shell("xdotool mousemove --window " + FWindowId + " 150 120 mousedown 1 mousemove --window " + FWindowId +
        " 900 -50 mouseup 1 mousemove --window " + FWindowId + " 20 30");
  Events = CollectUntil([](const std::vector<TInputEvent>& E) {
    return !E.empty() && E.back().Kind == TInputEventKind::MouseMove && E.back().X == 20 && E.back().Y == 30;
  });
  std::vector<TInputEvent> Ups = OfKinds(Events, {TInputEventKind::ButtonUp});
  ASSERT_EQ(Ups.size(), 1u);
  EXPECT_EQ(Ups[0].X, 639);
  EXPECT_EQ(Ups[0].Y, 0);

  // X buttons 4 and 5 are the wheel, 6 and 7 the horizontal wheel.
  Shell("xdotool click 4 click 5 click 7");
  Events = CollectUntil(
      [](const std::vector<TInputEvent>& E) { return OfKinds(E, {TInputEventKind::Wheel}).size() >= 3; });
  std::vector<TInputEvent> Wheels = OfKinds(Events, {TInputEventKind::Wheel});
  ASSERT_EQ(Wheels.size(), 3u);
  EXPECT_EQ(Wheels[0].WheelDelta, 120);
  EXPECT_FALSE(Wheels[0].Horizontal);
  EXPECT_EQ(Wheels[1].WheelDelta, -120);
  EXPECT_EQ(Wheels[2].WheelDelta, 120);
  EXPECT_TRUE(Wheels[2].Horizontal);
  EXPECT_EQ(Wheels[0].X, 20);
  EXPECT_EQ(Wheels[0].Y, 30);

  // Home is the extended navigation key; KP_Home the keypad's (NumLock is off).
  Shell("xdotool key a Home KP_Home");
  Events = CollectUntil(
      [](const std::vector<TInputEvent>& E) { return OfKinds(E, {TInputEventKind::KeyUp}).size() >= 3; });
  std::vector<TInputEvent> Keys =
      OfKinds(Events, {TInputEventKind::KeyDown, TInputEventKind::KeyUp, TInputEventKind::Text});
  ASSERT_EQ(Keys.size(), 7u);
  EXPECT_EQ(Keys[0].Kind, TInputEventKind::KeyDown);
  EXPECT_EQ(Keys[0].VirtualKey, 'A');
  EXPECT_EQ(Keys[0].ScanCode, 0x1E);
  EXPECT_FALSE(Keys[0].Repeat);
  EXPECT_EQ(Keys[1].Kind, TInputEventKind::Text);
  EXPECT_EQ(Keys[1].Text, "a");
  EXPECT_EQ(Keys[2].Kind, TInputEventKind::KeyUp);
  EXPECT_EQ(Keys[2].VirtualKey, 'A');
  EXPECT_EQ(Keys[3].VirtualKey, VK_HOME);
  EXPECT_EQ(Keys[3].ScanCode, 0xE047);
  EXPECT_EQ(Keys[5].Kind, TInputEventKind::KeyDown);
  EXPECT_EQ(Keys[5].VirtualKey, VK_HOME);
  EXPECT_EQ(Keys[5].ScanCode, 0x47);
}

TEST_F(SdlXvfb, ScreenFollowsTheWindowSize) {
  Drain();
  Shell("xdotool windowsize --sync " + FWindowId + " 800 600");
  std::vector<TInputEvent> Events = CollectUntil(
      [](const std::vector<TInputEvent>& E) { return !OfKinds(E, {TInputEventKind::ScreenResize}).empty(); });
  std::vector<TInputEvent> Resizes = OfKinds(Events, {TInputEventKind::ScreenResize});
  ASSERT_EQ(Resizes.size(), 1u);
  EXPECT_EQ(Resizes[0].X, 800);
  EXPECT_EQ(Resizes[0].Y, 600);
  EXPECT_EQ(FDisplay->ScreenSize(), (TSize{800, 600}));

  TTestScreen Screen({800, 600}, Red);
  FDisplay->Present(Screen.Surface, {{0, 0, 10, 10}});  // a new size uploads everything
  std::vector<DWORD> Shown;
  TSize Size;
  ASSERT_TRUE(ReadSdlDisplayPixels(*FDisplay, Shown, Size));
  ASSERT_EQ(Size, (TSize{800, 600}));
  EXPECT_EQ(PixelAt(Shown, Size, 799, 599), Red);
}

TEST_F(SdlXvfb, WakeEndsAWaitFromAnotherThread) {
  // The waits are long; returning well before their end is what a wake shows.
  using namespace std::chrono;
  constexpr DWORD LongWait = 60000;
  Drain();
  auto Start = steady_clock::now();
  FDisplay->Wake();
  FDisplay->WaitInput(LongWait);  // the earlier wake: returns at once
  EXPECT_LT(steady_clock::now() - Start, seconds(20));

  Start = steady_clock::now();
  std::thread Waker([this] {
    std::this_thread::sleep_for(milliseconds(50));
    FDisplay->Wake();
  });
  FDisplay->WaitInput(LongWait);
  Waker.join();
  EXPECT_LT(steady_clock::now() - Start, seconds(20));
  TInputEvent Ev;
  EXPECT_FALSE(FDisplay->PollInput(Ev)) << "a wake is no input";
}

TEST_F(SdlXvfb, ClipboardTextRoundTrips) {
  FDisplay->SetClipboardText("Mosaik \xC3\xBC ok");
  EXPECT_EQ(FDisplay->GetClipboardText(), "Mosaik \xC3\xBC ok");
}

TEST_F(SdlXvfb, CursorShapesAreCachedAndNullHides) {
  std::vector<DWORD> Arrow(16 * 16, 0x80404040);  // half-transparent grey, premultiplied
  FDisplay->SetCursorShape(Arrow.data(), 16, 16, {0, 0});
  SDL_Cursor* First = SDL_GetCursor();
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
  std::vector<DWORD> Cross(16 * 16, 0xFF000000);
  FDisplay->SetCursorShape(Cross.data(), 16, 16, {7, 7});
  EXPECT_NE(SDL_GetCursor(), First);
  FDisplay->SetCursorShape(Arrow.data(), 16, 16, {0, 0});
  EXPECT_EQ(SDL_GetCursor(), First);
  FDisplay->SetCursorShape(nullptr, 0, 0, {0, 0});
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
}

// ---- A window of the window layer on the SDL screen ------------------------------------------

std::vector<MSG> GClicks;

// Fills its client area with red and records left-button messages.
LRESULT RedFormProc(HWND W, UINT Msg, WPARAM WP, LPARAM LP) {
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
      GClicks.push_back(MSG{W, Msg, WP, LP, 0, {}});
      break;
    default:
      break;
  }
  return DefWindowProc(W, Msg, WP, LP);
}

// Installs the display as the window layer's back end; puts the previous one back and destroys
// the window at the end, whatever the test's outcome.
struct TInstalledDisplay {
  TDisplayBackend* Before = GetDisplayBackend();
  HWND Form = nullptr;
  explicit TInstalledDisplay(TDisplayBackend& Display) { SetDisplayBackend(&Display); }
  ~TInstalledDisplay() {
    if (Form) DestroyWindow(Form);
    RunUntilIdle();
    SetDisplayBackend(Before);
  }
};

// The class "TvSdlRedForm" of RedFormProc, registered once.
bool RedFormClass() {
  static const bool Registered = [] {
    WNDCLASS WC;
    WC.lpfnWndProc = MakeWndProc(RedFormProc);
    WC.lpszClassName = "TvSdlRedForm";
    return RegisterClass(&WC) != 0;
  }();
  return Registered;
}

TEST_F(SdlXvfb, AFormAppearsInTheDesktopWindowAndTakesARealClick) {
  ASSERT_TRUE(RedFormClass());
  GClicks.clear();
  TInstalledDisplay Installed(*FDisplay);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 640);
  Installed.Form = CreateWindowEx(0, "TvSdlRedForm", "Form", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 300,
                                  200, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(Installed.Form, nullptr);
  RunUntilIdle();

  POINT Client{0, 0};
  ClientToScreen(Installed.Form, &Client);
  std::vector<DWORD> Shown;
  TSize Size;
  ASSERT_TRUE(ReadSdlDisplayPixels(*FDisplay, Shown, Size));
  ASSERT_EQ(Size, (TSize{640, 480}));
  EXPECT_EQ(PixelAt(Shown, Size, Client.X + 20, Client.Y + 30), Red);
  EXPECT_EQ(PixelAt(Shown, Size, 50, 50), DesktopPixel() & 0x00FFFFFF);
  EXPECT_NE(PixelAt(Shown, Size, 110, 85), Red);  // the frame

  Shell("xdotool mousemove --window " + FWindowId + " " + std::to_string(Client.X + 20) + " " +
        std::to_string(Client.Y + 30) + " click 1");
  const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (GClicks.size() < 2 && std::chrono::steady_clock::now() < Deadline) {
    RunUntilIdle();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_EQ(GClicks.size(), 2u);
  EXPECT_EQ(GClicks[0].message, static_cast<UINT>(WM_LBUTTONDOWN));
  EXPECT_EQ(GClicks[0].hwnd, Installed.Form);
  EXPECT_EQ(GClicks[0].lParam, MAKELPARAM(20, 30));
  EXPECT_EQ(GClicks[0].wParam, static_cast<WPARAM>(MK_LBUTTON));
  EXPECT_EQ(GClicks[1].message, static_cast<UINT>(WM_LBUTTONUP));
}

// The desktop window is titled with the caption of the shown form, and follows a new one.
TEST_F(SdlXvfb, TheDesktopWindowTakesTheFormsCaption) {
  ASSERT_TRUE(RedFormClass());
  TInstalledDisplay Installed(*FDisplay);
  Installed.Form = CreateWindowEx(0, "TvSdlRedForm", "Tilvarok", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80,
                                  300, 200, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(Installed.Form, nullptr);
  auto ShownName = [this] {
    RunUntilIdle();
    return Shell("xdotool getwindowname " + FWindowId + " 2>/dev/null");
  };
  EXPECT_EQ(ShownName(), "Tilvarok");
  SetWindowText(Installed.Form, "Tilvarok - Spheres");
  EXPECT_EQ(ShownName(), "Tilvarok - Spheres");
}

}  // namespace
