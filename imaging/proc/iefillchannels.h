#pragma once
// Filling a rectangle with one colour, and moving or re-balancing the colour channels of
// 24-bit and 48-bit pictures.
#include <array>
#include <string>

#include "imaging/core/hyiedefs.h"
#include "platform/system/Types.h"

class TIEBitmap;
class TObject;

// Fills columns X1 .. X2 - 1 of rows Y1 .. Y2 - 1 (X2, Y2 clamped to the picture) with Color,
// given as 0x00RRGGBB: ie1g sets the bits for a non-zero red, ie8g takes the grey level.
void IEFillColor(TIEBitmap* Bitmap, Integer X1, Integer Y1, Integer X2, Integer Y2, TObject* Sender,
                 const TIEProgressEvent& OnProgress, Integer Color);

// Order names the source of blue, green and red in turn: "B", "G", "R" or "0" (zero), in any
// case. Another letter, or a missing one, keeps that channel. ie24RGB and ieRGB48 only.
void IERearrangeChannels(TIEBitmap* Bitmap, const std::string& Order, TObject* Sender,
                         const TIEProgressEvent& OnProgress);

// Gives each channel of Target the distribution of the same channel of Reference (ie24RGB).
void IEAutoStretchChannels(TIEBitmap* Reference, TIEBitmap* Target);
// Channel 0 blue, 1 green, 2 red of an ie24RGB or ieRGB48 Target, equalised and then mapped
// through the inverse of the reference's cumulative histogram of RefCount pixels.
void IEMatchChannelHistogram(TIEBitmap* Target, Integer Channel, const std::array<Integer, 256>& RefHistogram,
                             Integer RefCount);
