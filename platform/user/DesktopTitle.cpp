// The program's main window, whose caption titles the desktop window that shows the screen.
#include "platform/user/WindowInternals.h"

namespace {

bool Captioned(const TWindow* W) {
  return (W->Style & WS_CAPTION) == WS_CAPTION && !(W->ExStyle & WS_EX_TOOLWINDOW);
}

}  // namespace

// Handles grow with creation and are never reused: the smallest one was made first.
const std::string* MainWindowCaption() {
  const TWindow* Main = nullptr;
  for (const TWindow* W : DesktopWindow()->Children)
    if ((W->Style & WS_VISIBLE) && Captioned(W) && (Main == nullptr || W->Handle < Main->Handle)) Main = W;
  return Main != nullptr ? &Main->Text : nullptr;
}
