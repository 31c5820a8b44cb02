#pragma once
// The definitions behind SkinDisplay.h; included by exactly one file of each test program.
#include "platform/display/HeadlessDisplay.h"
#include "tests/skin/SkinDisplay.h"

namespace SkinTesting {

void UseHeadlessDisplay() {
  Headless();
}
void ScriptMoveTo(Integer X, Integer Y) {
  Headless().MoveTo(X, Y);
}
void ScriptClick(Integer X, Integer Y) {
  Headless().Click(X, Y);
}
void ScriptButton(bool Down) {
  if (Down)
    Headless().ButtonDown();
  else
    Headless().ButtonUp();
}
void ScriptDrag(TPoint From, TPoint To, Integer Steps) {
  Headless().Drag(From, To, Steps);
}
void ScriptKeyPress(Word VirtualKey) {
  Headless().KeyPress(VirtualKey);
}
void ScriptType(const std::string& Utf8) {
  Headless().Type(Utf8);
}
void ScriptWheel(Integer Delta) {
  Headless().Wheel(Delta);
}
void ClearScript() {
  Headless().ClearInput();
}
DWORD ScreenPixel(Integer X, Integer Y) {
  return Screenshot().Pixel(X, Y);
}
std::vector<DWORD> ScreenPixels(const TRect& R) {
  const TScreenshot Shot = Screenshot();
  std::vector<DWORD> Pixels;
  for (Integer Y = R.Top; Y < R.Bottom; ++Y)
    for (Integer X = R.Left; X < R.Right; ++X) Pixels.push_back(Shot.Pixel(X, Y));
  return Pixels;
}

}  // namespace SkinTesting
