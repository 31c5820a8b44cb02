#pragma once
// Drawing services of the image view: shadow strips and soft shadows around a picture, two-
// colour frames, the darkened area around a crop rectangle, and the two grey background
// pictures of the save-parameters preview. Colours are platform colour values 0x00BBGGRR.
#include <vector>

#include "platform/classes/Colors.h"
#include "platform/system/Types.h"

class TBitmap;
class TCanvas;
class TIECanvas;

// Shadow strip styles.
constexpr Integer iessSolid = 1;     // the canvas's current brush
constexpr Integer iessDarken = 2;    // the pixels darkened, more so next to the object
constexpr Integer iessGreyRamp = 3;  // a grey ramp painted over the strip

// The strip X1..X2 at the right of an object (vertical) or Y1..Y2 below it (horizontal),
// coordinates inclusive. Darkened pixels inside Bitmap (a 24-bit platform bitmap, or null) are
// changed in its rows, the others through Canvas. Color is not used; other styles draw
// nothing.
void IEDrawVerticalShadow(TCanvas* Canvas, TBitmap* Bitmap, Integer X1, Integer Y1, Integer X2, Integer Y2,
                          Integer Style, TColor Color);
void IEDrawHorizontalShadow(TCanvas* Canvas, TBitmap* Bitmap, Integer X1, Integer Y1, Integer X2, Integer Y2,
                            Integer Style, TColor Color);
// Darkens the 24-bit Bitmap up to 5 pixels around the object rectangle (right and bottom
// exclusive) by a blurred shadow offset 2 pixels right and down; the rectangle itself stays.
// Color is not used; a bitmap of another format is left alone.
void IEDrawSoftShadow(TBitmap* Bitmap, Integer Left, Integer Top, Integer Right, Integer Bottom,
                      TColor Color);
// A one-pixel frame: left and top edges in TopLeftColor, bottom and right in
// BottomRightColor; the top-right corner stays undrawn. Sets the pen to a solid copy pen.
void IEDraw3DRect(TCanvas* Canvas, Integer X1, Integer Y1, Integer X2, Integer Y2, TColor TopLeftColor,
                  TColor BottomRightColor);
void IEDraw3DRectIECanvas(TIECanvas* Canvas, Integer X1, Integer Y1, Integer X2, Integer Y2,
                          TColor TopLeftColor, TColor BottomRightColor);
// Darkens the area X .. X + Width, Y .. Y + Height (inclusive) around the inner rectangle
// Left, Top, Right, Bottom in four bands of a black brush of alpha 150 (opaque without GDI+).
// Nothing for an empty inner rectangle.
void IEDrawDarkFrame(TCanvas* Canvas, Integer X, Integer Y, Integer Width, Integer Height, Integer Left,
                     Integer Top, Integer Right, Integer Bottom);

// Values[0 .. Count - 1]: a bell curve over -1 .. 1 (1 excluded) scaled so that its peak is
// Max and zero maps to Min.
void IEGaussianCurve(Integer Count, Double Min, Double Max, Double Sigma, std::vector<Double>& Values);
// Bitmap becomes a 24-bit Width x Height picture of grey stripes 240, 251, 255, 251 (by row).
void IEMakeStripeBitmap(TBitmap* Bitmap, Integer Width, Integer Height);
// Bitmap becomes a 24-bit Width x Height grey picture: a bell curve 160 .. 208 across the
// width plus an offset 0 .. 10 that the platform's random generator changes now and then.
void IEMakeNoiseBitmap(TBitmap* Bitmap, Integer Width, Integer Height);
