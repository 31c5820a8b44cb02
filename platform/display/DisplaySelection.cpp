#include <cstdlib>
#include <string_view>

#include "platform/display/HeadlessDisplay.h"
#include "platform/display/SdlDesktop.h"
#include "platform/display/SdlDisplay.h"
#include "platform/user/WindowInternals.h"

namespace {

enum class TChoice { Headless, Desktop, Single };

// TILVAROK_DISPLAY: "sdl" (a desktop window per window), "sdl-single" (the whole screen in one
// desktop window) or "headless"; unset, the first when a display is there.
TChoice Wanted() {
  if (const char* Choice = std::getenv("TILVAROK_DISPLAY"); Choice != nullptr && *Choice != 0) {
    const std::string_view C(Choice);
    return C == "sdl" ? TChoice::Desktop : C == "sdl-single" ? TChoice::Single : TChoice::Headless;
  }
  const char* X = std::getenv("DISPLAY");
  const char* Wayland = std::getenv("WAYLAND_DISPLAY");
  return (X != nullptr && *X != 0) || (Wayland != nullptr && *Wayland != 0) ? TChoice::Desktop
                                                                            : TChoice::Headless;
}

}  // namespace

TDisplayBackend* InitDisplayBackend() {
  const TChoice Choice = Wanted();
  if (Choice != TChoice::Headless) {
    if (TDisplayBackend* B = Choice == TChoice::Desktop ? OpenSdlDesktop() : OpenSdlDisplay()) {
      SetDisplayBackend(B);
      return B;
    }
  }
  return &Headless();
}
