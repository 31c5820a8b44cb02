#pragma once
// Small steps the skinned controls share: copying a rectangle of a skin picture with or without
// a transparent colour, putting a part's font on a canvas, and a value's place in a range.
#include <string>

#include "platform/classes/Canvas.h"
#include "skin/data/bsSkinData.h"

class TbsSkinCustomControl;

class TBitmap;

// Copies Source of Picture to (X, Y). Transparent leaves out TransparentColor; nothing for an
// empty source or without a picture.
void DrawPartPicture(TCanvas* Dest, Integer X, Integer Y, TBitmap* Picture, const TRect& Source,
                     bool Transparent = false, TColor TransparentColor = clNone);
// The same through the bitmap's automatic transparency (its bottom-left pixel's colour).
void DrawPartPictureAuto(TCanvas* Dest, Integer X, Integer Y, TBitmap* Picture, const TRect& Source);
// The part's font name, height and style on Font.
void AssignPartFont(TFont* Font, const std::string& Name, Integer Height, const TFontStyles& Style);
// The charset of the skin's resource strings, else DefaultFont's.
void AssignSkinCharset(TFont* Font, TbsSkinData* SkinData, TFont* DefaultFont);
// (V - Min) / (Max - Min), 0 for an empty range.
double RangeFraction(Integer V, Integer Min, Integer Max);
// R framed one pixel in Frame and filled with Face.
void FramedFill(TCanvas* C, const TRect& R, TColor Frame, TColor Face);
// While the form is designed (not loading): takes the part of the new orientation, turns the
// control when it lies the wrong way and moves the default height into the default width
// (vertical) or back. True when it did.
bool TurnAtDesignTime(TbsSkinCustomControl* Control, bool Vertical, const std::string& VerticalPart,
                      const std::string& HorizontalPart);
