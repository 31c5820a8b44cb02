#pragma once
// The 16-bit working pixels TIEICC hands to the colour-management library: every pixel code
// widened into four 16-bit slots (8 bytes a pixel) and narrowed back by taking high bytes.
#include <array>

#include "platform/system/Types.h"

using TIEICCSlots = std::array<Word, 4>;

// Bytes one pixel of Code takes in the caller's buffer; 0 for an unknown code.
Integer IEICCPixelPitch(Integer Code);
// The library's pixel format of the slots for Code (its colour space, channels and unused
// slots); 0 for an unknown code.
Cardinal IEICCSlotFormat(Integer Code);
// Bytes are multiplied by 257 (255 becomes 65535), stored CMYK inverted first, Lab's signed a
// and b offset by 128; 16-bit values are copied. Input is only read.
void IEICCWiden(Integer Code, const Byte* Input, TIEICCSlots* Slots, Integer Count);
// The high byte of each slot, into Code's layout; the skipped bytes of code 3 stay.
void IEICCNarrow(Integer Code, const TIEICCSlots* Slots, Byte* Output, Integer Count);
