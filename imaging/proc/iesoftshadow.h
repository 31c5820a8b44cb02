#pragma once
// The 3 x 3 filter of grey pictures and the soft drop shadow that objects of the vector layer
// cast into a picture's alpha channel. The Gaussian blur itself is the core's (ieblur.h).
#include "imaging/proc/ieprocfilters.h"
#include "platform/system/Types.h"

class TIEBitmap;

// Filters columns X1 .. X2 - 1 of rows Y1 .. Y2 - 1 (clamped to the picture) of an ie8g
// picture in place, each pixel from its unfiltered neighbours; edge rows and columns repeat.
// Other formats are left alone.
void IEApplyFilter8(TIEBitmap* Bitmap, const TIEFilterKernel& Filter, Integer X1, Integer Y1, Integer X2,
                    Integer Y2);

// Casts the shadow of the object at Left .. Right, Top .. Bottom (inclusive) into the alpha
// channel, moved by the offset and blurred by Radius (0: the 3 x 3 "Blur" filter); Intensity
// 0 .. 100, Color as 0x00RRGGBB. ie24RGB pixels under the shadow take its colour, ie1g ones
// turn black. Returns the margin the shadow needs around the object.
Integer IEAddSoftShadow(TIEBitmap* Bitmap, Integer OffsetX, Integer OffsetY, Double Radius, Integer Intensity,
                        Integer Color, Integer Left, Integer Top, Integer Right, Integer Bottom);
