#include "imaging/core/ieprocbase.h"

#include <cstring>
#include <utility>

#include "platform/classes/Bitmap.h"
#include "platform/system/WinTypes.h"

TIERGBTriple IEColorToRGB(TColor Color) {
  const COLORREF C = ColorToRGB(Color);
  return IEMakeRGB(GetRValue(C), GetGValue(C), GetBValue(C));
}

TIERGBTriple IEMakeRGB(Byte Red, Byte Green, Byte Blue) {
  return TIERGBTriple{Blue, Green, Red};
}

void IEOrderCoords(Integer& X1, Integer& Y1, Integer& X2, Integer& Y2) {
  if (X2 < X1) std::swap(X1, X2);
  if (Y2 < Y1) std::swap(Y1, Y2);
}

void IESwapByte(Byte& A, Byte& B) {
  std::swap(A, B);
}

namespace {

// Eight source bits from bit position Bit; bits past the row read as 0.
inline Byte FetchByte(const Byte* Source, Integer Bit, Integer SourceRowBytes) {
  const Integer Index = Bit >> 3, Shift = Bit & 7;
  unsigned Value = static_cast<unsigned>(Source[Index]) << Shift;
  if (Shift != 0 && Index + 1 < SourceRowBytes) Value |= Source[Index + 1] >> (8 - Shift);
  return static_cast<Byte>(Value);
}

inline void MergeBits(Byte& Dest, Byte Bits, Byte Mask) {
  Dest = static_cast<Byte>((Dest & ~Mask) | (Bits & Mask));
}

}  // namespace

void IECopyBits(Byte* Dest, const Byte* Source, Integer DestBit, Integer SourceBit, Integer BitCount,
                Integer SourceRowBytes) {
  if (BitCount <= 0) return;
  Byte* D = Dest + (DestBit >> 3);
  const Integer DestShift = DestBit & 7;
  if (DestShift != 0) {
    const Integer N = BitCount < 8 - DestShift ? BitCount : 8 - DestShift;
    const Byte Mask = static_cast<Byte>((0xFF >> DestShift) & ~(0xFF >> (DestShift + N)));
    MergeBits(*D++, static_cast<Byte>(FetchByte(Source, SourceBit, SourceRowBytes) >> DestShift), Mask);
    SourceBit += N;
    BitCount -= N;
  }
  if ((SourceBit & 7) == 0) {
    const Integer Whole = BitCount >> 3;
    std::memcpy(D, Source + (SourceBit >> 3), static_cast<size_t>(Whole));
    D += Whole;
    SourceBit += Whole * 8;
    BitCount -= Whole * 8;
  } else {
    for (; BitCount >= 8; BitCount -= 8, SourceBit += 8) *D++ = FetchByte(Source, SourceBit, SourceRowBytes);
  }
  if (BitCount > 0)
    MergeBits(*D, FetchByte(Source, SourceBit, SourceRowBytes), static_cast<Byte>(0xFF << (8 - BitCount)));
}

void IECopyBitsOneByOne(Byte* Dest, const Byte* Source, Integer DestBit, Integer Count, Integer SourceBit) {
  for (; Count > 0; --Count, ++DestBit, ++SourceBit) {
    const Byte Mask = static_cast<Byte>(0x80 >> (DestBit & 7));
    if (IEGetBit(Source, SourceBit))
      Dest[DestBit >> 3] |= Mask;
    else
      Dest[DestBit >> 3] &= static_cast<Byte>(~Mask);
  }
}

void IESwapRedBlue(Byte* Row, Integer Count) {
  for (; Count > 0; --Count, Row += 3) std::swap(Row[0], Row[2]);
}

void IESwapRedBlueTriples(TIERGBTriple* Triples, Integer, Integer Count) {
  for (Integer I = 0; I < Count; ++I) std::swap(Triples[I].rgbtBlue, Triples[I].rgbtRed);
}

void IECopyTBitmap(TBitmap* Source, TBitmap* Dest) {
  Dest->Assign(Source);
}
