#pragma once
// Logical operations on rows of 32-bit words. Count 0 does nothing.
#include "platform/system/Types.h"

void XorWords(Cardinal* Dst, Cardinal Mask, Integer Count);
void OrWords(Cardinal* Dst, Cardinal Mask, Integer Count);
void AndWords(Cardinal* Dst, Cardinal Mask, Integer Count);

// Dst[i] := Src[i] op Mask; chosen by SelectRowLogicRoutines.
extern void (*XorWordsTo)(const Cardinal* Src, Cardinal* Dst, Integer Count, Cardinal Mask);
extern void (*OrWordsTo)(const Cardinal* Src, Cardinal* Dst, Integer Count, Cardinal Mask);
extern void (*AndWordsTo)(const Cardinal* Src, Cardinal* Dst, Integer Count, Cardinal Mask);
void SelectRowLogicRoutines();
