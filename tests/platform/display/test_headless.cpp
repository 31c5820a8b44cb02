// The headless back end: scripted input through the loop, screenshots, PNG files, the modal
// hook, the back-end choice and the present rate.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/display/HeadlessDisplay.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Painting.h"
#include "platform/system/Clock.h"
#include "platform/user/User.h"
#include "platform/user/WindowInternals.h"

namespace {

struct TSeen {
  HWND Wnd;
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
};
std::vector<TSeen> GSeen;

// Paints its client area in the colour kept in GWLP_USERDATA and records input messages.
LRESULT TestProc(HWND W, UINT Msg, WPARAM WP, LPARAM LP) {
  switch (Msg) {
    case WM_PAINT: {
      PAINTSTRUCT PS;
      HDC DC = BeginPaint(W, &PS);
      HBRUSH B = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtr(W, GWLP_USERDATA)));
      RECT C;
      GetClientRect(W, &C);
      FillRect(DC, &C, B);
      DeleteObject(B);
      EndPaint(W, &PS);
      return 0;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_MOUSEWHEEL:
    case WM_CLOSE:
      GSeen.push_back({W, Msg, WP, LP});
      break;
    default:
      break;
  }
  return DefWindowProc(W, Msg, WP, LP);
}

class THeadlessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Display = &Headless();
    static const bool Registered = [] {
      WNDCLASS WC;
      WC.lpfnWndProc = MakeWndProc(TestProc);
      WC.lpszClassName = "TvHeadlessTest";
      return RegisterClass(&WC) != 0;
    }();
    (void)Registered;
    GSeen.clear();
  }
  void TearDown() override {
    Display->ClearInput();
    std::vector<HWND> Tops;
    EnumWindows(
        [](HWND H, LPARAM P) {
          reinterpret_cast<std::vector<HWND>*>(P)->push_back(H);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&Tops));
    for (HWND H : Tops) DestroyWindow(H);
    RunUntilIdle();
    SetModalHook(nullptr);
  }
  static HWND Window(DWORD Style, Integer X, Integer Y, Integer W, Integer H, COLORREF Color,
                     HWND Parent = nullptr) {
    HWND Wnd = CreateWindowEx(0, "TvHeadlessTest", "t", Style | WS_VISIBLE, X, Y, W, H, Parent, nullptr,
                              nullptr, nullptr);
    SetWindowLongPtr(Wnd, GWLP_USERDATA, static_cast<LONG_PTR>(Color));
    return Wnd;
  }
  THeadlessDisplay* Display = nullptr;
};

TEST_F(THeadlessTest, ScriptedInputReachesWindows) {
  HWND Top = Window(WS_OVERLAPPEDWINDOW, 100, 100, 200, 150, RGB(255, 255, 255));
  HWND Kid = Window(WS_CHILD, 10, 10, 50, 50, RGB(0, 0, 0), Top);
  RunUntilIdle();
  POINT Origin{0, 0};
  ClientToScreen(Kid, &Origin);
  Display->Click(Origin.X + 5, Origin.Y + 7);
  Display->Click(150, 110);  // on the caption
  Display->Type("hé");
  Display->KeyPress('A', kmShift);
  EXPECT_GT(Display->PendingInput(), 0u);
  RunUntilIdle();
  EXPECT_EQ(Display->PendingInput(), 0u);
  std::vector<std::pair<HWND, UINT>> Got;
  for (const TSeen& S : GSeen) Got.push_back({S.Wnd, S.Msg});
  const std::vector<std::pair<HWND, UINT>> Expected{
      {Kid, WM_MOUSEMOVE}, {Kid, WM_LBUTTONDOWN}, {Kid, WM_LBUTTONUP}, {Top, WM_NCLBUTTONDOWN},
      {Top, WM_CHAR},      {Top, WM_CHAR},        {Top, WM_KEYDOWN},   {Top, WM_KEYDOWN},
      {Top, WM_KEYUP},     {Top, WM_KEYUP}};
  // The caption also saw the move and the release as non-client messages (not recorded).
  EXPECT_EQ(Got, Expected);
  EXPECT_EQ(GSeen[1].LParam, MAKELPARAM(5, 7));
  EXPECT_EQ(GSeen[1].WParam, MK_LBUTTON);
  EXPECT_EQ(GSeen[3].WParam, static_cast<WPARAM>(HTCAPTION));
  EXPECT_EQ(GSeen[5].WParam, 0xE9u);
  EXPECT_EQ(GSeen[7].WParam, static_cast<WPARAM>('A'));
}

TEST_F(THeadlessTest, ScreenshotsAndPngFiles) {
  HWND A = Window(WS_POPUP, 10, 10, 40, 30, RGB(255, 0, 0));
  Window(WS_POPUP, 30, 20, 40, 30, RGB(0, 0, 255));
  RunUntilIdle();
  const TScreenshot Screen = Screenshot();
  EXPECT_EQ(Screen.Width, 1024);
  EXPECT_EQ(Screen.Height, 768);
  EXPECT_EQ(Screen.Pixel(15, 15), 0xFF0000u);
  EXPECT_EQ(Screen.Pixel(35, 25), 0x0000FFu);  // the later window is on top
  EXPECT_EQ(Screen.Pixel(5, 5), DesktopPixel());
  // A window's own picture includes the part another window covers.
  const TScreenshot Own = Screenshot(A);
  ASSERT_EQ(Own.Width, 40);
  EXPECT_EQ(Own.Pixel(30, 15), 0xFF0000u);

  const std::string Path = (std::filesystem::temp_directory_path() / "tv_headless_test.png").string();
  ASSERT_TRUE(SavePng(Path, A));
  FILE* F = std::fopen(Path.c_str(), "rb");
  ASSERT_NE(F, nullptr);
  png_structp Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop Info = png_create_info_struct(Png);
  png_init_io(Png, F);
  png_read_info(Png, Info);
  EXPECT_EQ(png_get_image_width(Png, Info), 40u);
  EXPECT_EQ(png_get_image_height(Png, Info), 30u);
  std::vector<png_byte> Row(png_get_rowbytes(Png, Info));
  png_read_row(Png, Row.data(), nullptr);
  EXPECT_EQ(Row[0], 255);
  EXPECT_EQ(Row[2], 0);
  png_destroy_read_struct(&Png, &Info, nullptr);
  std::fclose(F);
  std::remove(Path.c_str());
  EXPECT_FALSE(SavePng("/nonexistent-folder/x.png", A));
}

TEST_F(THeadlessTest, ModalLoopsCallTheHook) {
  HWND W = Window(WS_POPUP, 0, 0, 50, 50, RGB(1, 1, 1));
  Integer Calls = 0;
  SetModalHook([&] {
    ++Calls;
    PostMessage(W, WM_CLOSE, 0, 0);
    ModalLoopIdle();  // not re-entered
  });
  // A modal loop as the class library writes one.
  MSG M;
  while (IsWindow(W)) {
    if (PeekMessage(&M, nullptr, 0, 0, PM_REMOVE)) {
      DispatchMessage(&M);
      continue;
    }
    ModalLoopIdle();
  }
  EXPECT_EQ(Calls, 1);
  EXPECT_FALSE(IsWindow(W));
}

// The desktop window's title is the caption of the oldest shown top-level window with one.
TEST_F(THeadlessTest, DesktopTitleFollowsTheMainWindow) {
  // Older, but hidden; and a shown window without a caption.
  CreateWindowEx(0, "TvHeadlessTest", "hidden", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, nullptr, nullptr, nullptr,
                 nullptr);
  HWND Main = Window(WS_OVERLAPPEDWINDOW, 100, 100, 200, 150, RGB(255, 255, 255));
  Window(WS_POPUP, 10, 10, 50, 50, RGB(0, 0, 255));
  HWND Dialog = Window(WS_POPUP | WS_CAPTION, 150, 150, 100, 80, RGB(0, 255, 0));
  SetWindowText(Main, "Tilvarok");
  SetWindowText(Dialog, "Save file");
  RunUntilIdle();
  EXPECT_EQ(Display->Title(), "Tilvarok");
  // A new caption, also while another window is in front.
  SetWindowPos(Dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetWindowText(Main, "Tilvarok - Spheres");
  RunUntilIdle();
  EXPECT_EQ(Display->Title(), "Tilvarok - Spheres");
  // With the main window hidden the next one is main; with none shown the title stays.
  ShowWindow(Main, SW_HIDE);
  RunUntilIdle();
  EXPECT_EQ(Display->Title(), "Save file");
  DestroyWindow(Dialog);
  RunUntilIdle();
  EXPECT_EQ(Display->Title(), "Save file");
}

TEST_F(THeadlessTest, BackEndChoiceAndResize) {
  setenv("TILVAROK_DISPLAY", "headless", 1);
  EXPECT_EQ(InitDisplayBackend(), Display);
  Display->Resize(TSize{800, 600});
  RunUntilIdle();
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
  RECT R;
  GetWindowRect(GetDesktopWindow(), &R);
  EXPECT_EQ(R, (RECT{0, 0, 800, 600}));
  Display->Resize(TSize{1024, 768});
  RunUntilIdle();
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
}

TEST_F(THeadlessTest, PresentsAreHeldToSixtyASecond) {
  TFakeClock Clock(5000);
  SetClockSource(&Clock);
  HWND W = Window(WS_POPUP, 0, 0, 20, 20, RGB(9, 9, 9));
  RunUntilIdle();
  const UInt64 Before = Display->Presents();
  MSG M;
  for (Integer I = 0; I < 1000; ++I) {  // one second of fake time
    InvalidateRect(W, nullptr, FALSE);
    while (PeekMessage(&M, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&M);
    Clock.Advance(1);
  }
  const UInt64 Presents = Display->Presents() - Before;
  EXPECT_LE(Presents, 60u);
  EXPECT_GE(Presents, 50u);
  SetClockSource(nullptr);
}

}  // namespace
