#pragma once
// Scripted input and screen pixels of the headless display for the skin library's tests. Its
// own file keeps the display interface's names away from the class library's (both have a
// TMouseButton); every skin test program compiles SkinDisplayImpl.h once.
#include <string>
#include <vector>

#include "platform/system/Types.h"

namespace SkinTesting {

// Installs the headless display as the back end.
void UseHeadlessDisplay();
void ScriptMoveTo(Integer X, Integer Y);
void ScriptClick(Integer X, Integer Y);
void ScriptButton(bool Down);
// Presses at From, moves to To in Steps steps, releases there.
void ScriptDrag(TPoint From, TPoint To, Integer Steps);
void ScriptKeyPress(Word VirtualKey);
void ScriptType(const std::string& Utf8);
void ScriptWheel(Integer Delta);
void ClearScript();
// The composed screen's pixel as 0x00RRGGBB.
DWORD ScreenPixel(Integer X, Integer Y);
// The pixels of a screen rectangle, rows top first, from one screenshot.
std::vector<DWORD> ScreenPixels(const TRect& R);

}  // namespace SkinTesting
