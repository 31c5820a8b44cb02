#pragma once
// The headless display: the screen lives in memory, input comes from a script the test writes,
// and screenshots are read back as pixels or PNG files. Tests drive it like this:
//
//   THeadlessDisplay& D = Headless();     // installs it as the back end
//   HWND W = CreateWindowEx(...);
//   D.Click(20, 30);                      // queued; routed when the loop runs
//   RunUntilIdle();                       // input, posted messages, paints, due timers, present
//   EXPECT_EQ(Screenshot().Pixel(20, 30), 0xFF0000u);
//
// Modal loops (ShowModal, MessageBox, the move/size loop, menus) call ModalLoopIdle whenever
// their queue runs dry; a test answers the dialog from the hook it gave SetModalHook. Both
// come from platform/user/WindowMessages.h, included here with RunUntilIdle.
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "platform/user/DisplayBackend.h"
#include "platform/user/WinUser.h"
#include "platform/user/WindowMessages.h"

// Modifier keys for KeyPress.
constexpr UINT kmShift = 1;
constexpr UINT kmControl = 2;
constexpr UINT kmAlt = 4;

class THeadlessDisplay final : public TDisplayBackend {
 public:
  // The default screen: 1024 x 768, the size of the classic desktop the program was made for.
  explicit THeadlessDisplay(TSize Size = TSize{1024, 768});

  TSize ScreenSize() override;
  void Present(const TSurface& Screen, const std::vector<TRect>& Damaged) override;
  bool PollInput(TInputEvent& Ev) override;
  void WaitInput(DWORD TimeoutMs) override;
  void Wake() override;
  void SetCursorShape(const DWORD* Pixels, Integer Width, Integer Height, TPoint HotSpot) override;
  std::string GetClipboardText() override;
  void SetClipboardText(const std::string& Text) override;
  void SetTitle(const std::string& Title) override;

  // Changes the screen size; the window layer hears of it through a ScreenResize event.
  void Resize(TSize Size);

  // ---- The input script (any thread; events run in order as the loop takes them) ----------
  void Push(const TInputEvent& Ev);
  void MoveTo(Integer X, Integer Y);
  void ButtonDown(TInputButton Button = TInputButton::Left);
  void ButtonUp(TInputButton Button = TInputButton::Left);
  // Moves there, then presses and releases.
  void Click(Integer X, Integer Y, TInputButton Button = TInputButton::Left);
  void DoubleClick(Integer X, Integer Y);
  // Presses at From, moves to To in Steps even steps (at least 1), releases at To.
  void Drag(TPoint From, TPoint To, Integer Steps = 4, TInputButton Button = TInputButton::Left);
  void KeyDown(Word VirtualKey);
  void KeyUp(Word VirtualKey);
  // The modifiers (kmShift, kmControl, kmAlt) go down first and up last.
  void KeyPress(Word VirtualKey, UINT Modifiers = 0);
  // Text input as the keyboard layer delivers it after the keys (no key events).
  void Type(const std::string& Utf8);
  void Wheel(Integer Delta);
  void RequestClose();
  // Input events not yet taken by the loop.
  std::size_t PendingInput();
  void ClearInput();

  TPoint MousePosition();
  UInt64 Presents();
  // The damaged rectangles of the last present.
  std::vector<TRect> LastDamage();
  // The cursor shape last set (empty: hidden or never set).
  std::vector<DWORD> CursorPixels();
  // The desktop window's title last set (empty: never set).
  std::string Title();

 private:
  std::mutex FLock;
  std::condition_variable FCond;
  std::deque<TInputEvent> FInput;
  bool FWoken = false;
  TSize FSize;
  TPoint FMouse;
  std::string FClipboard;
  std::string FTitle;
  UInt64 FPresents = 0;
  std::vector<TRect> FLastDamage;
  std::vector<DWORD> FCursor;
};

// The headless display, created and installed as the window layer's back end on first use.
THeadlessDisplay& Headless();

// Picks the back end by TILVAROK_DISPLAY (sdl: a desktop window per top-level window |
// sdl-single: the whole screen in one desktop window | headless; default: sdl when $DISPLAY or
// $WAYLAND_DISPLAY is set), installs it and returns it. When SDL cannot start, the headless
// one is used.
TDisplayBackend* InitDisplayBackend();

// A copy of screen pixels (0x00RRGGBB), top row first.
struct TScreenshot {
  Integer Width = 0;
  Integer Height = 0;
  std::vector<DWORD> Pixels;
  DWORD Pixel(Integer X, Integer Y) const { return Pixels[static_cast<std::size_t>(Y) * Width + X]; }
};

// The composed screen (after presenting what is pending), or with Wnd the window's rectangle
// as painted on its top-level surface (covered parts included, layered effects not).
TScreenshot Screenshot(HWND Wnd = nullptr);
// Writes Screenshot(Wnd) as an 8-bit RGB PNG; false (and nothing left behind) on failure.
bool SavePng(const std::string& Path, HWND Wnd = nullptr);
bool SavePng(const std::string& Path, const TScreenshot& Shot);
