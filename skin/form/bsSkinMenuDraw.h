#pragma once
// Drawing steps the popup menu items and the main menu bar share: the default marks of menu
// items, the morph between two looks and the rectangle of an animation frame.
#include "platform/classes/Canvas.h"

class TBitmap;

// With the pen's colour; end points of the segments are not drawn.
void DrawMenuCheckMark(TCanvas* C, Integer X, Integer Y);
// A right-pointing triangle 4 pixels wide and 7 high.
void DrawMenuArrow(TCanvas* C, Integer X, Integer Y);
// A filled 6 x 6 ellipse in the pen's colour.
void DrawMenuRadio(TCanvas* C, Integer X, Integer Y);
// From moved toward To by Kf (0..1) with the transition of morph kind Kind, drawn at (X, Y).
// Both bitmaps have the same size.
void DrawMorph(TBitmap* From, TBitmap* To, Byte Kind, double Kf, TCanvas* Target, Integer X, Integer Y);
// Frame (1-based) of FrameCount frames in Animate: stacked when Animate is taller than
// SkinRect, else side by side.
TRect AnimationFrameRect(const TRect& Animate, const TRect& SkinRect, Integer FrameCount, Integer Frame);
