#include <cstdlib>
#include <string_view>

#include "platform/display/HeadlessDisplay.h"
#include "platform/display/SdlDisplay.h"
#include "platform/user/WindowInternals.h"

namespace {

bool WantsSdl() {
  if (const char* Choice = std::getenv("TILVAROK_DISPLAY"); Choice != nullptr && *Choice != 0)
    return std::string_view(Choice) == "sdl";
  const char* X = std::getenv("DISPLAY");
  const char* Wayland = std::getenv("WAYLAND_DISPLAY");
  return (X != nullptr && *X != 0) || (Wayland != nullptr && *Wayland != 0);
}

}  // namespace

TDisplayBackend* InitDisplayBackend() {
  if (WantsSdl()) {
    if (TDisplayBackend* B = OpenSdlDisplay()) {
      SetDisplayBackend(B);
      return B;
    }
  }
  return &Headless();
}
