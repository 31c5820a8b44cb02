// The window layer's caption-icon hook, given the icon classes' drawing.
#include "platform/classes/Icon.h"
#include "platform/classes/IconBridge.h"
#include "platform/user/NonClient.h"

namespace {

bool DrawCaptionIcon(HDC DC, Integer X, Integer Y, HICON Icon, Integer Width, Integer Height) {
  return Icon != nullptr && DrawIconEx(DC, X, Y, Icon, Width, Height, 0, nullptr, DI_NORMAL) != FALSE;
}

}  // namespace

void InstallIconDrawing() {
  if (NcDrawIconHook == nullptr) NcDrawIconHook = &DrawCaptionIcon;
}
