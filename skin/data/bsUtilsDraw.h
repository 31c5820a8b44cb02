#pragma once
// Drawing steps shared by the source files of the skin library's drawing vocabulary.
#include <string>

#include "platform/classes/Canvas.h"

namespace bsUtilsDraw {

// Text operations move the text one pixel up for odd font heights.
bool OddFontHeight(TCanvas* Cnvs);
// DrawTextA with the canvas's current font and brush.
Integer CanvasDrawText(TCanvas* Cnvs, const std::string& Text, TRect& R, UINT Flags);
// The end point is not drawn.
void Line(TCanvas* Cnvs, Integer X1, Integer Y1, Integer X2, Integer Y2);
// The text DrawWrapCaption hands to the line breaker for a rectangle Width pixels wide.
std::string WrapCaptionText(TCanvas* Cnvs, const std::string& Text, Integer Width, bool BreakWords);

}  // namespace bsUtilsDraw
