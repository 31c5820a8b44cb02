#include "RasterScreen.h"

#include "platform/display/HeadlessDisplay.h"

void UseHeadlessScreen() {
  Headless();
}

TWindowPixels WindowPixels(HWND Wnd) {
  const TScreenshot Shot = Screenshot(Wnd);
  return {Shot.Width, Shot.Height, Shot.Pixels};
}

void ScreenMoveTo(Integer X, Integer Y) {
  Headless().MoveTo(X, Y);
}
void ScreenClick(Integer X, Integer Y) {
  Headless().Click(X, Y);
}
void ScreenPress(Integer X, Integer Y) {
  Headless().MoveTo(X, Y);
  Headless().ButtonDown();
}
void ScreenRelease() {
  Headless().ButtonUp();
}
