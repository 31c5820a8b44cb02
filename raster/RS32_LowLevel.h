#pragma once
// Word fills and moves, and clamping, wrapping and mirroring of coordinates.
#include "platform/system/Types.h"
#include "raster/RS32_Types.h"

// Count 32-bit words from Dst get Value; nothing for Count <= 0. Chosen by SelectFillRoutine.
extern void (*FillDwords)(void* Dst, Integer Count, Cardinal Value);
void FillDwordsPlain(void* Dst, Integer Count, Cardinal Value);
// An odd count stores one word first, then pairs of words as 64-bit stores.
void FillDwordsMmx(void* Dst, Integer Count, Cardinal Value);
void SelectFillRoutine();

// Copies Count words; nothing when Src = Dst or Count <= 0. Overlapping ranges are copied as
// if through a buffer.
void MoveDwords(const void* Src, void* Dst, Integer Count);

inline Integer ClampToByte(Integer V) {
  return V < 0 ? 0 : (V > 255 ? 255 : V);
}

inline void SwapInts(Integer& A, Integer& B) {
  const Integer T = A;
  A = B;
  B = T;
}
// Afterwards A <= B.
inline void SwapIfLess(Integer& A, Integer& B) {
  if (A > B) SwapInts(A, B);
}

// Hi wins when Lo > Hi.
inline Integer ClampToRange(Integer V, Integer Lo, Integer Hi) {
  if (V < Lo) V = Lo;
  return V > Hi ? Hi : V;
}
inline Integer ClampToMax(Integer V, Integer Max) {
  if (V > Max) return Max;
  return V < 0 ? 0 : V;
}

// Quotient toward zero and the remainder with the dividend's sign. A zero divisor raises
// EDivByZero, as the processor's division does.
Integer DivideWithRemainder(Integer A, Integer B, Integer& R);
// Cyclic: Lo..Hi repeats in both directions. Hi = Lo - 1 raises EDivByZero.
Integer WrapToRange(Integer V, Integer Lo, Integer Hi);
// Reflected at both ends, the edge value repeating at each reflection. Hi = Lo - 1 raises
// EDivByZero.
Integer MirrorToRange(Integer V, Integer Lo, Integer Hi);

using TWrapProc = Integer (*)(Integer V, Integer Lo, Integer Hi);
// Indexed by TWrapMode: clamp, wrap, mirror.
extern const TWrapProc WrapProcs[3];
inline TWrapProc GetWrapProc(TWrapMode Mode) {
  return WrapProcs[Mode];
}
