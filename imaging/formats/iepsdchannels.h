#pragma once
// What the PSD reader and writer share: the colour modes, the pixel format each mode and depth
// is held in, and where the samples of each channel id sit in a row of that picture.
#include "imaging/core/hyiedefs.h"
#include "platform/system/Types.h"

class TIEBitmap;

constexpr Integer PsdModeBitmap = 0;
constexpr Integer PsdModeGray = 1;
constexpr Integer PsdModeIndexed = 2;
constexpr Integer PsdModeRGB = 3;
constexpr Integer PsdModeCMYK = 4;
constexpr Integer PsdModeMultichannel = 7;
constexpr Integer PsdModeDuotone = 8;
constexpr Integer PsdModeLab = 9;

constexpr Integer PsdAlphaId = -1;
constexpr Integer PsdUserMaskId = -2;
constexpr Integer PsdMaxSide = 30000;  // the largest width or height a PSD (not PSB) file holds

// The pixel format a picture of Mode and Depth is read into; ieNull when none.
TIEPixelFormat PsdPixelFormatOf(Integer Mode, Integer Depth);
// The colour mode and depth a picture of Format is written with; false for ieNull and ie32f.
bool PsdModeOf(TIEPixelFormat Format, Integer& Mode, Integer& Depth);
// Colour channels of a mode (the file's channels without alpha).
Integer PsdColorChannels(Integer Mode);
// Bytes of one row of one channel in the file.
Integer PsdRowBytes(Integer Width, Integer Depth);

// Where the samples of one channel go in a picture row.
struct TPsdChannelSlot {
  enum TKind : Byte { None, Bits, Bytes, Words, HighBytes, Alpha };
  TKind Kind = None;
  Integer Offset = 0;  // the first byte (Bytes, HighBytes) or 16-bit sample (Words) of a pixel
  Integer Stride = 1;  // bytes or samples from one pixel to the next
  Integer Bias = 0;    // subtracted from each byte read, added back when written
};
// The slot of channel Id of a picture of Mode and Depth; Kind None for ids it does not hold.
TPsdChannelSlot PsdChannelSlot(Integer Mode, Integer Depth, Integer Id);

// One channel row of the file (Depth bits a sample, big-endian) into row Y of Bitmap, or its
// alpha channel for an Alpha slot.
void PsdStoreRow(const TPsdChannelSlot& Slot, Integer Depth, const Byte* FileRow, TIEBitmap* Bitmap,
                 Integer Y);
// Row Y of Bitmap (or its alpha channel) as one channel row of the file; the inverse of
// PsdStoreRow.
void PsdGatherRow(const TPsdChannelSlot& Slot, Integer Depth, TIEBitmap* Bitmap, Integer Y, Byte* FileRow);
