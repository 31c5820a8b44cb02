#pragma once
// Looks at the X desktop from outside the program, as another client would (Xlib's macros stay
// in the .cpp, away from the tests).
#include <string>

#include "platform/system/Types.h"

class TXDesktopProbe {
 public:
  TXDesktopProbe();
  ~TXDesktopProbe();
  TXDesktopProbe(const TXDesktopProbe&) = delete;
  TXDesktopProbe& operator=(const TXDesktopProbe&) = delete;
  bool Open() const { return FDisplay != nullptr; }

  // The window's top-left on the screen; (-99999, -99999) when it does not exist.
  TPoint Position(unsigned long Window);
  bool OverrideRedirect(unsigned long Window);
  // The window it is transient for (WM_TRANSIENT_FOR), 0 for none.
  unsigned long TransientFor(unsigned long Window);
  // _NET_WM_WINDOW_OPACITY as 0..1; negative when not set.
  double Opacity(unsigned long Window);
  // The size of the window's first icon (_NET_WM_ICON); 0 x 0 when it has none.
  TSize IconSize(unsigned long Window);
  // Asks the window manager to close the window, as a task bar does (_NET_CLOSE_WINDOW).
  void RequestClose(unsigned long Window);
  // A window of "another program", shown at R; DestroyWindow takes it away.
  unsigned long CreateWindow(const TRect& R, const std::string& Title);
  void DestroyWindow(unsigned long Window);

 private:
  void* FDisplay = nullptr;
};
