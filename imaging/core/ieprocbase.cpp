#include "imaging/core/ieprocbase.h"

#include <cstdlib>
#include <cstring>
#include <utility>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieutilsbits.h"
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
  if (BitCount <= 0 || DestBit < 0 || SourceBit < 0) return;
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
  const TPixelFormat Format = Source->GetPixelFormat();
  const Integer Width = Source->GetWidth(), Height = Source->GetHeight();
  const bool Empty = Width == 0 || Height == 0;
  if (Empty || Dest->GetWidth() != Width || Dest->GetHeight() != Height || Dest->GetPixelFormat() != Format) {
    Dest->SetSize(1, 1);
    Dest->SetPixelFormat(Format);
    if (Empty) return;
    Dest->SetSize(Width, Height);
  }
  const Int64 RowLen = IETBitmapRowLen(Width, Format);
  if (RowLen <= 0) {  // a device-dependent bitmap has no rows of its own to copy
    Dest->Assign(Source);
    return;
  }
  for (Integer Y = 0; Y < Height; ++Y)
    std::memcpy(Dest->GetScanLine(Y), Source->GetScanLine(Y), static_cast<std::size_t>(RowLen));
}

Integer IEColorToARGB(TColor Color, Byte Alpha) {
  const TIERGBTriple C = IEColorToRGB(Color);
  return IEPackBytes(C.rgbtBlue, C.rgbtGreen, C.rgbtRed, Alpha);
}

Integer IEFindNearestColor(const TIERGBTriple* Palette, Integer Count, Integer Color) {
  const Integer R = (Color >> 16) & 0xFF, G = (Color >> 8) & 0xFF, B = Color & 0xFF;
  Integer Best = 0, BestDistance = 1000;
  for (Integer I = 0; I < Count; ++I) {
    const Integer Distance = std::abs(Palette[I].rgbtRed - R) + std::abs(Palette[I].rgbtGreen - G) +
                             std::abs(Palette[I].rgbtBlue - B);
    if (Distance < BestDistance) {
      BestDistance = Distance;
      Best = I;
    }
  }
  return Best;
}

void IECopyPaletteSwapRB(TIERGBTriple* Dest, const TIERGBTriple* Source, Integer Count) {
  for (Integer I = 0; I < Count; ++I)
    Dest[I] = TIERGBTriple{Source[I].rgbtRed, Source[I].rgbtGreen, Source[I].rgbtBlue};
}

void IESwapRedBlue48(Word* Row, Integer Count) {
  for (; Count > 0; --Count, Row += 3) std::swap(Row[0], Row[2]);
}

void IEInvertBytes(Byte* Buffer, Integer Count) {
  for (Integer I = 0; I < Count; ++I) Buffer[I] = static_cast<Byte>(~Buffer[I]);
}

void IEInvertBitmap(TIEBitmap* Bitmap) {
  const Integer RowLen = Bitmap->GetRowLen(), Height = Bitmap->GetHeight();
  for (Integer Y = 0; Y < Height; ++Y) IEInvertBytes(static_cast<Byte*>(Bitmap->GetScanline(Y)), RowLen);
}

namespace {

bool RowsEqual(TIEBitmap* A, TIEBitmap* B) {
  const Integer RowLen = A->GetRowLen(), Height = A->GetHeight();
  if (B->GetRowLen() < RowLen) return false;
  for (Integer Y = 0; Y < Height; ++Y)
    if (std::memcmp(A->GetScanline(Y), B->GetScanline(Y), static_cast<size_t>(RowLen)) != 0) return false;
  return true;
}

}  // namespace

bool IEBitmapsEqual(TIEBitmap* A, TIEBitmap* B) {
  if (A->GetWidth() != B->GetWidth() || A->GetHeight() != B->GetHeight()) return false;
  if (A->HasAlphaChannel() != B->HasAlphaChannel()) return false;
  if (!RowsEqual(A, B)) return false;
  return !A->HasAlphaChannel() || RowsEqual(A->GetAlphaChannel(), B->GetAlphaChannel());
}
