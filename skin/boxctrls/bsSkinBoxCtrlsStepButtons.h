#pragma once
// What the up-down, the spin edit and the skinned edit share about their small push buttons:
// the button state, hit testing, the default look, a button drawn from a button part of the
// skin resized to the button, and a part image resized by its anchor points.
#include <initializer_list>

#include "platform/classes/ControlTypes.h"
#include "skin/data/bsSkinData.h"

class TBitmap;
class TCanvas;
class TbsDataSkinButtonControl;

struct TbsSpinButtonState {
  TRect Rect;
  bool MouseIn = false;
  bool Down = false;
};

// The index (0 or 1) of the first button whose rectangle holds the point; -1 for none.
Integer StepButtonAt(const TbsSpinButtonState (&Buttons)[2], Integer X, Integer Y);

// The unskinned button: pressed and hot, hot, or normal (framed in clBtnShadow when
// FrameNormal, else a plain face), then a black small arrow of ArrowKind.
void DrawDefaultStepButton(TCanvas* C, const TbsSpinButtonState& S, Integer ArrowKind, bool FrameNormal);

// The first button part among Names; a name that finds a part of another kind counts as none.
TbsDataSkinButtonControl* FindButtonPart(TbsSkinData* SkinData, std::initializer_list<const char*> Names);

// The button part resized to S.Rect, in its pressed, hot or normal picture, with an arrow of
// ArrowKind (0: none) in the state's font colour; the arrow of a pressed and hot button moves
// by ArrowShift. False (nothing drawn) without the part or its picture.
bool DrawButtonPart(TCanvas* C, TbsSkinData* SkinData, TbsDataSkinButtonControl* Part,
                    const TbsSpinButtonState& S, Integer ArrowKind, Integer ArrowShift);

// Source of Picture laid out into B at W x H: the right-top anchor moves right by the width
// difference, the left-bottom anchor down by the height difference, the right-bottom anchor by
// both, and the client rectangle grows by both. A part without a right-bottom anchor resizes
// across only (a right-top anchor), down only (a left-bottom anchor) or not at all.
void DrawResizedPart(TBitmap* B, TBitmap* Picture, const TRect& Source, const TPoint& LT, const TPoint& RT,
                     const TPoint& LB, const TPoint& RB, const TRect& ClRect, Integer W, Integer H,
                     bool DrawClient, bool LeftStretch, bool TopStretch, bool RightStretch,
                     bool BottomStretch, bool StretchEffect, Integer StretchType);

// Copies Source of Picture into Dest of C when both are there and Source is not empty.
void CopyPartRect(TCanvas* C, TBitmap* Picture, const TRect& Source, const TRect& Dest);
