#pragma once
// The display back end: it shows the window manager's screen surface and delivers input.
// Everything else (windows, hit testing, focus, painting) is the window manager's. The window
// layer sees back ends only through this interface (SetDisplayBackend in
// platform/user/WindowInternals.h); the display library, above this one, implements it and
// installs the back end it picks.
//
// Threads: every member runs on the main thread, except Wake, which any thread may call.
#include <string>
#include <vector>

#include "platform/gdi/RegionData.h"
#include "platform/gdi/Surface.h"
#include "platform/system/Types.h"
#include "platform/user/WinUser.h"

enum class TInputEventKind : Byte {
  MouseMove,
  ButtonDown,
  ButtonUp,
  Wheel,
  KeyDown,
  KeyUp,
  Text,          // UTF-8 text typed (after the key events that produced it)
  CloseRequest,  // the user closed the desktop window that shows the screen
  ScreenResize,  // the screen got a new size (X, Y)
  // Back ends with one desktop window per top-level window (Window names it):
  WindowMoved,      // the desktop moved it: its new top-left is (X, Y)
  WindowResized,    // the desktop sized it: its new size is (X, Y)
  WindowCommand,    // minimise, restore or close from the desktop: SysCommand (SC_*)
  WindowActivated,  // it got the desktop's keyboard focus
  AppDeactivated,   // none of the program's desktop windows has the focus any more
};

// Mouse buttons of ButtonDown/ButtonUp.
enum class TInputButton : Byte { Left, Right, Middle, X1, X2 };

struct TInputEvent {
  TInputEventKind Kind = TInputEventKind::MouseMove;
  Integer X = 0;  // screen position for mouse events; the new size for ScreenResize
  Integer Y = 0;
  TInputButton Button = TInputButton::Left;
  Integer WheelDelta = 0;   // multiples of 120, positive away from the user
  bool Horizontal = false;  // a horizontal wheel
  Word VirtualKey = 0;
  Word ScanCode = 0;
  bool Repeat = false;  // an auto-repeated key down
  std::string Text;
  HWND Window = nullptr;  // the top-level window of the Window* kinds
  UINT SysCommand = 0;    // SC_* of WindowCommand
};

// A top-level window as a back end with a desktop window per top-level window is told of it.
enum class TTopLevelKind : Byte {
  Normal,  // a form or dialog: a desktop window of its own with a task-bar entry (owned ones
           // stay above their owner)
  Popup,   // a menu, drop-down list or hint: no task-bar entry, never takes the focus
};

struct TTopLevelView {
  HWND Window = nullptr;
  HWND Owner = nullptr;  // the visible top-level window it stays above; null for none
  TTopLevelKind Kind = TTopLevelKind::Normal;
  TRect Rect;                          // screen coordinates
  const TSurface* Surface = nullptr;   // its retained pixels (premultiplied when PerPixelAlpha)
  const TRegionData* Shape = nullptr;  // window region, window coordinates; null: the rectangle
  std::string Title;                   // UTF-8
  HICON Icon = nullptr;                // null: none
  BYTE Alpha = 255;                    // constant alpha of a layered window
  bool PerPixelAlpha = false;
  bool ColorKeyed = false;
  DWORD KeyPixel = 0;  // 0x00RRGGBB pixels of this colour are holes
  bool Minimized = false;
  bool Active = false;
  std::vector<TRect> Damaged;  // window coordinates; a new or resized window is shown whole anyway
};

class TDisplayBackend {
 public:
  virtual ~TDisplayBackend() = default;

  // The screen size in pixels.
  virtual TSize ScreenSize() = 0;
  // Shows the rectangles Damaged (screen coordinates, clipped to the screen) of Screen.
  virtual void Present(const TSurface& Screen, const std::vector<TRect>& Damaged) = 0;
  // Takes the next input event; false at once when there is none.
  virtual bool PollInput(TInputEvent& Ev) = 0;
  // Blocks until input arrives, Wake is called or TimeoutMs pass (0xFFFFFFFF: no timeout).
  // A Wake that came while nobody waited makes the next wait return at once.
  virtual void WaitInput(DWORD TimeoutMs) = 0;
  // Ends a WaitInput; safe from any thread.
  virtual void Wake() = 0;
  // Shows the mouse cursor as a 32-bit premultiplied ARGB image with its hot spot; null
  // pixels hide it. Back ends without a visible cursor ignore it.
  virtual void SetCursorShape(const DWORD* Pixels, Integer Width, Integer Height, TPoint HotSpot) = 0;
  // The system clipboard as UTF-8 text.
  virtual std::string GetClipboardText() = 0;
  virtual void SetClipboardText(const std::string& Text) = 0;
  // The title (UTF-8) of the desktop window that shows the screen: the window layer gives the
  // caption of the program's main window. Back ends without such a window ignore it.
  virtual void SetTitle(const std::string& Title) { (void)Title; }

  // ---- Back ends that show each top-level window as a desktop window of its own -----------
  // True for them: the window layer calls PresentTopLevels instead of Present.
  virtual bool ShowsTopLevels() const { return false; }
  // The visible top-level windows, the top one first, with what changed in their pixels.
  virtual void PresentTopLevels(const std::vector<TTopLevelView>& Views) { (void)Views; }
  // The part of the screen left to windows (screen coordinates); empty: the whole screen.
  virtual TRect WorkArea() { return {}; }
  // The window layer's capture began (true) or ended: the mouse is followed outside the
  // program's desktop windows meanwhile.
  virtual void SetMouseCapture(bool Captured) { (void)Captured; }
};
