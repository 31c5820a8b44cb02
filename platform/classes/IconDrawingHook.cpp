// The window layer's caption-icon hook, given the icon classes' drawing.
#include "platform/classes/IconBridge.h"
#include "platform/user/NonClient.h"

namespace {

bool DrawCaptionIcon(HDC DC, Integer X, Integer Y, HICON Icon, Integer Width, Integer Height) {
  return DrawIconHandle(DC, X, Y, static_cast<void*>(Icon), Width, Height);
}

}  // namespace

void InstallIconDrawing() {
  if (NcDrawIconHook == nullptr) NcDrawIconHook = &DrawCaptionIcon;
}
