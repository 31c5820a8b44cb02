// The seam between the window layer and a back end that shows each top-level window as a
// desktop window of its own: what the back end is told, what the desktop's acts become, and how
// a window's pixels and shape reach the desktop. No X server needed.
#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "platform/display/DesktopPixels.h"
#include "platform/display/HeadlessDisplay.h"
#include "platform/system/Clock.h"
#include "platform/user/SystemMetrics.h"
#include "platform/user/User.h"
#include "platform/user/WindowInternals.h"

namespace {

// Records what the window layer presents; input comes from the test.
class TRecordingDesktop final : public TDisplayBackend {
 public:
  TSize ScreenSize() override { return {1280, 1024}; }
  void Present(const TSurface&, const std::vector<TRect>&) override { ++WholeScreenPresents; }
  bool PollInput(TInputEvent& Ev) override {
    if (Input.empty()) return false;
    Ev = Input.front();
    Input.pop_front();
    return true;
  }
  void WaitInput(DWORD) override {}
  void Wake() override {}
  void SetCursorShape(const DWORD*, Integer, Integer, TPoint) override {}
  std::string GetClipboardText() override { return {}; }
  void SetClipboardText(const std::string&) override {}
  bool ShowsTopLevels() const override { return true; }
  void PresentTopLevels(const std::vector<TTopLevelView>& Views) override {
    Last.clear();
    for (const TTopLevelView& V : Views) Last.push_back(TShown{V, V.Surface ? *V.Surface : TSurface{}});
    ++Presents;
  }
  TRect WorkArea() override { return {0, 0, 1280, 990}; }
  void SetMouseCapture(bool Captured) override { CaptureCalls.push_back(Captured); }

  struct TShown {
    TTopLevelView View;
    TSurface Surface;
  };
  const TShown* Find(HWND W) const {
    for (const TShown& S : Last)
      if (S.View.Window == W) return &S;
    return nullptr;
  }

  std::deque<TInputEvent> Input;
  std::vector<TShown> Last;
  std::vector<bool> CaptureCalls;
  int Presents = 0;
  int WholeScreenPresents = 0;
};

std::vector<MSG> GMessages;

LRESULT RecordingProc(HWND W, UINT Msg, WPARAM WP, LPARAM LP) {
  if (Msg == WM_MOVE || Msg == WM_SIZE || Msg == WM_ACTIVATEAPP || Msg == WM_SYSCOMMAND || Msg == WM_CLOSE)
    GMessages.push_back(MSG{W, Msg, WP, LP, 0, {}});
  return DefWindowProc(W, Msg, WP, LP);
}

class DesktopWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    static const bool Registered = [] {
      WNDCLASS WC;
      WC.lpfnWndProc = MakeWndProc(RecordingProc);
      WC.lpszClassName = "TvDesktopSeam";
      WC.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_WINDOW + 1));
      return RegisterClass(&WC) != 0;
    }();
    ASSERT_TRUE(Registered);
    Headless();
    FBefore = GetDisplayBackend();
    SetDisplayBackend(&FDesktop);
    GMessages.clear();
  }
  void TearDown() override {
    for (HWND W : FWindows)
      if (IsWindow(W)) DestroyWindow(W);
    RunUntilIdle();
    SetDisplayBackend(FBefore);
  }
  HWND Make(DWORD ExStyle, DWORD Style, TRect R, HWND Owner = nullptr, const char* Title = "") {
    HWND W = CreateWindowEx(ExStyle, "TvDesktopSeam", Title, Style | WS_VISIBLE, R.Left, R.Top, R.Width(),
                            R.Height(), Owner, nullptr, nullptr, nullptr);
    FWindows.push_back(W);
    return W;
  }
  // The event, then what it posted (a message posted while input is routed waits for the
  // next round of the loop).
  void Deliver(TInputEvent Ev) {
    FDesktop.Input.push_back(std::move(Ev));
    RunUntilIdle();
    RunUntilIdle();
  }

  TRecordingDesktop FDesktop;
  TDisplayBackend* FBefore = nullptr;
  std::vector<HWND> FWindows;
};

TEST_F(DesktopWindows, TheBackEndHearsOfEachTopLevelWindowAndNeverOfTheWholeScreen) {
  HWND Main = Make(0, WS_OVERLAPPEDWINDOW, {100, 80, 500, 380}, nullptr, "Tilvarok - Spheres");
  HWND Dialog =
      Make(WS_EX_DLGMODALFRAME, WS_POPUP | WS_CAPTION | WS_SYSMENU, {150, 120, 350, 270}, Main, "Open");
  HWND Menu = Make(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, WS_POPUP, {200, 150, 300, 250}, Main);
  HWND Splash = Make(0, WS_POPUP, {0, 0, 50, 50});  // captionless, but a window of its own
  HWND Faded = Make(WS_EX_LAYERED, WS_POPUP, {600, 600, 700, 700});
  SetLayeredWindowAttributes(Faded, RGB(1, 2, 3), 128, LWA_ALPHA | LWA_COLORKEY);
  RunUntilIdle();
  EXPECT_EQ(FDesktop.WholeScreenPresents, 0);
  ASSERT_EQ(FDesktop.Last.size(), 5u);
  EXPECT_EQ(FDesktop.Last.front().View.Window, Menu) << "the top window first";

  const auto* M = FDesktop.Find(Main);
  ASSERT_NE(M, nullptr);
  EXPECT_EQ(M->View.Title, "Tilvarok - Spheres");
  EXPECT_EQ(M->View.Rect, (TRect{100, 80, 500, 380}));
  EXPECT_EQ(M->View.Kind, TTopLevelKind::Normal);
  EXPECT_EQ(M->View.Owner, nullptr);
  const auto* D = FDesktop.Find(Dialog);
  ASSERT_NE(D, nullptr);
  EXPECT_EQ(D->View.Kind, TTopLevelKind::Normal);
  EXPECT_EQ(D->View.Owner, Main);
  EXPECT_EQ(FDesktop.Find(Menu)->View.Kind, TTopLevelKind::Popup);
  EXPECT_EQ(FDesktop.Find(Splash)->View.Kind, TTopLevelKind::Normal);
  const auto* F = FDesktop.Find(Faded);
  EXPECT_EQ(F->View.Alpha, 128);
  EXPECT_TRUE(F->View.ColorKeyed);
  EXPECT_EQ(F->View.KeyPixel, 0x00010203u);

  // Only what changed is damaged, in window coordinates.
  RECT Part{10, 10, 20, 20};
  InvalidateRect(Main, &Part, TRUE);
  RunUntilIdle();
  M = FDesktop.Find(Main);
  ASSERT_NE(M, nullptr);
  ASSERT_FALSE(M->View.Damaged.empty());
  POINT Client{10, 10};
  ClientToScreen(Main, &Client);
  for (const TRect& R : M->View.Damaged) {
    EXPECT_GE(R.Left, Client.X - 100);
    EXPECT_GE(R.Top, Client.Y - 80);
    EXPECT_LE(R.Right, Client.X - 100 + 10);
    EXPECT_LE(R.Bottom, Client.Y - 80 + 10);
  }
  EXPECT_NE(FDesktop.Find(Dialog), nullptr) << "untouched windows are still listed";
  int Active = 0;
  for (const auto& S : FDesktop.Last) Active += S.View.Active && S.View.Window == GetActiveWindow();
  EXPECT_EQ(Active, 1);
}

TEST_F(DesktopWindows, AWindowMovedOffTheScreenIsStillToldOf) {
  HWND W = Make(0, WS_OVERLAPPEDWINDOW, {100, 80, 500, 380});
  RunUntilIdle();
  SetWindowPos(W, nullptr, -5000, -5000, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  RunUntilIdle();
  ASSERT_NE(FDesktop.Find(W), nullptr);
  EXPECT_EQ(FDesktop.Find(W)->View.Rect.TopLeft(), (TPoint{-5000, -5000}));
}

TEST_F(DesktopWindows, PresentsStayNearSixtyASecondWhileEveryMillisecondInvalidates) {
  TFakeClock Clock(1000);
  SetClockSource(&Clock);
  HWND W = Make(0, WS_OVERLAPPEDWINDOW, {100, 80, 500, 380});
  RunUntilIdle();
  const int Before = FDesktop.Presents;
  MSG M;
  for (int Ms = 0; Ms < 1000; ++Ms) {
    InvalidateRect(W, nullptr, TRUE);
    while (PeekMessage(&M, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&M);
    Clock.Advance(1);
  }
  SetClockSource(nullptr);
  const int Presents = FDesktop.Presents - Before;
  EXPECT_LE(Presents, 60);
  EXPECT_GE(Presents, 50);
}

TEST_F(DesktopWindows, TheDesktopsActsArriveAsTheUsualMessages) {
  HWND W = Make(0, WS_OVERLAPPEDWINDOW, {100, 80, 500, 380});
  RunUntilIdle();
  ASSERT_EQ(GetActiveWindow(), W);

  TInputEvent Moved;
  Moved.Kind = TInputEventKind::WindowMoved;
  Moved.Window = W;
  Moved.X = 300;
  Moved.Y = 200;
  Deliver(Moved);
  RECT R;
  GetWindowRect(W, &R);
  EXPECT_EQ(R, (RECT{300, 200, 700, 500}));
  ASSERT_FALSE(GMessages.empty());
  EXPECT_EQ(GMessages.back().message, static_cast<UINT>(WM_MOVE));

  TInputEvent Sized;
  Sized.Kind = TInputEventKind::WindowResized;
  Sized.Window = W;
  Sized.X = 640;
  Sized.Y = 480;
  Deliver(Sized);
  GetWindowRect(W, &R);
  EXPECT_EQ(R, (RECT{300, 200, 940, 680}));

  TInputEvent Away;
  Away.Kind = TInputEventKind::AppDeactivated;
  GMessages.clear();
  Deliver(Away);
  EXPECT_EQ(GetActiveWindow(), nullptr);
  ASSERT_EQ(GMessages.size(), 1u);
  EXPECT_EQ(GMessages[0].message, static_cast<UINT>(WM_ACTIVATEAPP));
  EXPECT_EQ(GMessages[0].wParam, static_cast<WPARAM>(FALSE));

  TInputEvent Back;
  Back.Kind = TInputEventKind::WindowActivated;
  Back.Window = W;
  Deliver(Back);
  EXPECT_EQ(GetActiveWindow(), W);

  const struct {
    UINT Command;
    std::function<bool()> Holds;
  } Commands[] = {{SC_MINIMIZE, [W] { return IsIconic(W) != FALSE; }},
                  {SC_RESTORE, [W] { return IsIconic(W) == FALSE; }},
                  {SC_CLOSE, [W] { return IsWindow(W) == FALSE; }}};
  for (const auto& C : Commands) {
    SCOPED_TRACE(C.Command);
    TInputEvent Ev;
    Ev.Kind = TInputEventKind::WindowCommand;
    Ev.Window = W;
    Ev.SysCommand = C.Command;
    Deliver(Ev);
    EXPECT_TRUE(C.Holds());
  }
}

TEST_F(DesktopWindows, TheWorkAreaAndCaptureGoThroughTheBackEnd) {
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
  RECT Work;
  ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &Work, 0));
  EXPECT_EQ(Work, (RECT{0, 0, 1280, 990}));
  HWND W = Make(0, WS_OVERLAPPEDWINDOW, {100, 80, 500, 380});
  SetCapture(W);
  SetCapture(W);
  ReleaseCapture();
  EXPECT_EQ(FDesktop.CaptureCalls, (std::vector<bool>{true, false})) << "told of beginnings and ends only";
}

// ---- Pixels and shapes -----------------------------------------------------------------------

struct TTestSurface {
  std::vector<DWORD> Pixels;
  TSurface Surface;
  TTestSurface(Integer W, Integer H, DWORD Fill) : Pixels(static_cast<size_t>(W) * H, Fill) {
    Surface.Width = W;
    Surface.Height = H;
    Surface.Bpp = 32;
    Surface.Stride = W * 4;
    Surface.Row0 = reinterpret_cast<Byte*>(Pixels.data());
  }
  DWORD& At(Integer X, Integer Y) { return Pixels[static_cast<size_t>(Y) * Surface.Width + X]; }
};

TEST(DesktopPixels, StraightColourUndoesThePremultiplyAndOpaqueSetsAlpha) {
  TTestSurface S(3, 1, 0);
  S.At(0, 0) = 0x80400000u;  // half-clear, half-red premultiplied
  S.At(1, 0) = 0x00000000u;
  S.At(2, 0) = 0x00123456u;
  std::vector<DWORD> Out(3, 0xDEADBEEF);
  CopyDesktopPixels(S.Surface, {0, 0, 3, 1}, reinterpret_cast<Byte*>(Out.data()), 12,
                    TDesktopPixels::Straight);
  EXPECT_EQ(Out[0], 0xFF800000u);
  EXPECT_EQ(Out[1], 0xFF000000u);
  CopyDesktopPixels(S.Surface, {2, 0, 3, 1}, reinterpret_cast<Byte*>(Out.data()), 12, TDesktopPixels::Opaque);
  EXPECT_EQ(Out[2], 0xFF123456u);
  EXPECT_EQ(Out[1], 0xFF000000u) << "outside the rectangle nothing changes";
}

TEST(DesktopPixels, ShapesFollowRegionColourKeyAndAlpha) {
  TTestSurface S(4, 3, 0xFF0000FFu);
  S.At(1, 0) = 0x00010203u;  // the key colour
  S.At(2, 1) = 0x7F000000u;  // just under half alpha
  S.At(3, 1) = 0x80000000u;  // half alpha
  TRegionData Left(TRect{0, 0, 2, 3});
  struct TCase {
    const char* Name;
    const TRegionData* Region;
    bool Keyed;
    bool PerPixel;
    BYTE Threshold;
    std::optional<std::vector<TRect>> Expected;
  } Cases[] = {
      {"plain", nullptr, false, false, 128, std::nullopt},
      {"alpha ignored when no threshold", nullptr, false, true, 0, std::nullopt},
      {"region", &Left, false, false, 128, std::vector<TRect>{{0, 0, 2, 3}}},
      {"key", nullptr, true, false, 128, std::vector<TRect>{{0, 0, 1, 1}, {2, 0, 4, 1}, {0, 1, 4, 3}}},
      {"alpha at half", nullptr, false, true, 128,
       std::vector<TRect>{{0, 0, 1, 1}, {2, 0, 4, 1}, {0, 1, 2, 2}, {3, 1, 4, 2}, {0, 2, 4, 3}}},
      {"region and key", &Left, true, false, 128, std::vector<TRect>{{0, 0, 1, 1}, {0, 1, 2, 3}}},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TTopLevelView V;
    V.Surface = &S.Surface;
    V.Shape = C.Region;
    V.ColorKeyed = C.Keyed;
    V.KeyPixel = 0x00010203u;
    V.PerPixelAlpha = C.PerPixel;
    EXPECT_EQ(DesktopShape(V, C.Threshold), C.Expected);
  }
}

}  // namespace
