// Uncompressed DIB formats of the AVI file library.
#include <algorithm>
#include <cstring>

#include "platform/media/AviFileInternal.h"

namespace {

DWORD LoadLE32(const Byte* P) {
  return P[0] | (P[1] << 8) | (P[2] << 16) | (static_cast<DWORD>(P[3]) << 24);
}

void StoreLE32(Byte* P, DWORD V) {
  for (Integer I = 0; I < 4; ++I) P[I] = static_cast<Byte>(V >> (8 * I));
}

// The largest frame side taken from a format; the container's own limit is far beyond what
// any movie uses, and this keeps row sizes well inside 32 bits.
constexpr Integer MaxSide = 32768;

}  // namespace

bool AviParseDibFormat(const void* Format, LONG Size, TAviDibFormat& Dib) {
  if (!Format || Size < 40) return false;
  const Byte* P = static_cast<const Byte*>(Format);
  const DWORD HeaderSize = LoadLE32(P);
  const Integer Width = static_cast<Integer>(LoadLE32(P + 4)), Height = static_cast<Integer>(LoadLE32(P + 8));
  const Integer BitCount = P[14] | (P[15] << 8);
  const DWORD Compression = LoadLE32(P + 16);
  DWORD ColorsUsed = LoadLE32(P + 32);
  if (HeaderSize < 40 || HeaderSize > static_cast<DWORD>(Size) || Compression != BI_RGB) return false;
  if (Width <= 0 || Height <= 0 || Width > MaxSide || Height > MaxSide) return false;
  if (BitCount != 1 && BitCount != 4 && BitCount != 8 && BitCount != 16 && BitCount != 24 && BitCount != 32)
    return false;
  TAviDibFormat Result;
  Result.Width = Width;
  Result.Height = Height;
  Result.BitCount = BitCount;
  if (BitCount <= 8) {
    const DWORD Entries = 1u << BitCount;
    if (ColorsUsed == 0 || ColorsUsed > Entries) ColorsUsed = Entries;
    // A short table leaves the other entries black.
    const DWORD Given = std::min<DWORD>(ColorsUsed, (static_cast<DWORD>(Size) - HeaderSize) / 4);
    Result.Palette.resize(Entries);
    for (DWORD I = 0; I < Given; ++I) {
      const Byte* Q = P + HeaderSize + 4 * I;
      Result.Palette[I] = RGBQUAD{Q[0], Q[1], Q[2], 0};
    }
  }
  Dib = std::move(Result);
  return true;
}

std::vector<Byte> AviPackDibHeader(const TAviDibFormat& Dib) {
  std::vector<Byte> Out(40 + 4 * Dib.Palette.size(), 0);
  StoreLE32(&Out[0], 40);
  StoreLE32(&Out[4], static_cast<DWORD>(Dib.Width));
  StoreLE32(&Out[8], static_cast<DWORD>(Dib.Height));
  Out[12] = 1;
  Out[14] = static_cast<Byte>(Dib.BitCount);
  StoreLE32(&Out[20], static_cast<DWORD>(Dib.ImageBytes()));
  StoreLE32(&Out[32], static_cast<DWORD>(Dib.Palette.size()));
  for (std::size_t I = 0; I < Dib.Palette.size(); ++I) {
    Byte* Q = &Out[40 + 4 * I];
    Q[0] = Dib.Palette[I].rgbBlue;
    Q[1] = Dib.Palette[I].rgbGreen;
    Q[2] = Dib.Palette[I].rgbRed;
  }
  return Out;
}

void AviDibRowToBGR24(const TAviDibFormat& Dib, const Byte* Source, Byte* Dest) {
  const Integer Width = Dib.Width;
  switch (Dib.BitCount) {
    case 24:
      std::memcpy(Dest, Source, static_cast<std::size_t>(Width) * 3);
      return;
    case 32:
      for (Integer X = 0; X < Width; ++X, Source += 4, Dest += 3) {
        Dest[0] = Source[0];
        Dest[1] = Source[1];
        Dest[2] = Source[2];
      }
      return;
    case 16:
      for (Integer X = 0; X < Width; ++X, Source += 2, Dest += 3) {
        const Integer V = Source[0] | (Source[1] << 8);
        const Integer B = V & 31, G = (V >> 5) & 31, R = (V >> 10) & 31;
        Dest[0] = static_cast<Byte>((B << 3) | (B >> 2));
        Dest[1] = static_cast<Byte>((G << 3) | (G >> 2));
        Dest[2] = static_cast<Byte>((R << 3) | (R >> 2));
      }
      return;
    default: {
      const Integer Bits = Dib.BitCount, PerByte = 8 / Bits, Mask = (1 << Bits) - 1;
      for (Integer X = 0; X < Width; ++X, Dest += 3) {
        const Integer Shift = 8 - Bits * (X % PerByte + 1);
        const RGBQUAD& C = Dib.Palette[(Source[X / PerByte] >> Shift) & Mask];
        Dest[0] = C.rgbBlue;
        Dest[1] = C.rgbGreen;
        Dest[2] = C.rgbRed;
      }
    }
  }
}
