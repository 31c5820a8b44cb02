#include "platform/gdi/Surface.h"

#include <bit>

namespace {

struct TMaskField {
  Integer Shift;
  Integer Bits;
};

TMaskField Field(DWORD Mask) {
  if (Mask == 0) return {0, 0};
  return {std::countr_zero(Mask), std::popcount(Mask)};
}

DWORD ToField(Byte C, TMaskField F) {
  if (F.Bits == 0) return 0;
  DWORD V = F.Bits <= 8 ? (static_cast<DWORD>(C) >> (8 - F.Bits)) : (static_cast<DWORD>(C) << (F.Bits - 8));
  return V << F.Shift;
}

// Narrow fields are widened by repeating their top bits, so that full scale stays full scale.
Byte FromField(DWORD Pixel, DWORD Mask, TMaskField F) {
  if (F.Bits == 0) return 0;
  DWORD V = (Pixel & Mask) >> F.Shift;
  if (F.Bits >= 8) return static_cast<Byte>(V >> (F.Bits - 8));
  DWORD R = 0;
  for (Integer Pos = 8 - F.Bits;; Pos -= F.Bits) {
    if (Pos <= 0) return static_cast<Byte>(R | (V >> -Pos));
    R |= V << Pos;
  }
}

}  // namespace

TSurface DescribeDib(void* Bits, Integer Width, Integer Height, Integer BitCount, DWORD Compression,
                     const DWORD* Masks, const RGBQUAD* Colors, Integer ColorCount) {
  TSurface S;
  S.Width = Width;
  S.Height = Height < 0 ? -Height : Height;
  S.Bpp = BitCount;
  const NativeInt RowBytes = DibRowBytes(Width, BitCount);
  if (Height < 0) {
    S.Row0 = static_cast<Byte*>(Bits);
    S.Stride = RowBytes;
  } else {
    // No bits yet (the caller allocates them later): no row pointer to offset.
    S.Row0 = Bits ? static_cast<Byte*>(Bits) + (S.Height > 0 ? (S.Height - 1) * RowBytes : 0) : nullptr;
    S.Stride = -RowBytes;
  }
  S.Colors = Colors;
  S.ColorCount = ColorCount;
  switch (BitCount) {
    case 1:
      S.Format = TSurfaceFormat::pf1;
      break;
    case 4:
      S.Format = TSurfaceFormat::pf4;
      break;
    case 8:
      S.Format = TSurfaceFormat::pf8;
      break;
    case 16:
      S.Format = TSurfaceFormat::pf16;
      std::memcpy(S.Masks, Compression == BI_BITFIELDS && Masks ? Masks : DibMasks555, sizeof(S.Masks));
      break;
    case 24:
      S.Format = TSurfaceFormat::pf24;
      break;
    default:
      S.Format = TSurfaceFormat::pf32;
      if (Compression == BI_BITFIELDS && Masks && std::memcmp(Masks, DibMasks888, sizeof(DibMasks888)) != 0) {
        S.Format = TSurfaceFormat::pf32Masks;
        std::memcpy(S.Masks, Masks, sizeof(S.Masks));
      }
      break;
  }
  return S;
}

Integer NearestColorIndex(const RGBQUAD* Colors, Integer Count, COLORREF Color) {
  const auto EntryColor = [](const RGBQUAD& Q) { return RGB(Q.rgbRed, Q.rgbGreen, Q.rgbBlue); };
  return NearestEntry(Colors, Count, Color, EntryColor);
}

bool SameColorTables(const TSurface& A, const TSurface& B) {
  if (A.ColorCount != B.ColorCount) return false;
  if (A.Colors == B.Colors || A.ColorCount == 0) return true;
  return std::memcmp(A.Colors, B.Colors, static_cast<std::size_t>(A.ColorCount) * sizeof(RGBQUAD)) == 0;
}

bool SameFormat(const TSurface& A, const TSurface& B) {
  if (A.Bpp != B.Bpp || A.Format != B.Format) return false;
  if (A.IsIndexed()) return SameColorTables(A, B);
  if (A.Format == TSurfaceFormat::pf16 || A.Format == TSurfaceFormat::pf32Masks)
    return std::memcmp(A.Masks, B.Masks, sizeof(A.Masks)) == 0;
  return true;
}

DWORD ColorToPixel(const TSurface& S, COLORREF Color) {
  const Byte R = GetRValue(Color), G = GetGValue(Color), B = GetBValue(Color);
  switch (S.Format) {
    case TSurfaceFormat::pf32:
    case TSurfaceFormat::pf24:
      return (static_cast<DWORD>(R) << 16) | (static_cast<DWORD>(G) << 8) | B;
    case TSurfaceFormat::pf16:
    case TSurfaceFormat::pf32Masks:
      return ToField(R, Field(S.Masks[0])) | ToField(G, Field(S.Masks[1])) | ToField(B, Field(S.Masks[2]));
    default:
      if (S.ColorCount <= 0) return 0;
      return static_cast<DWORD>(NearestColorIndex(S.Colors, S.ColorCount, Color));
  }
}

COLORREF PixelToColor(const TSurface& S, DWORD Pixel) {
  switch (S.Format) {
    case TSurfaceFormat::pf32:
    case TSurfaceFormat::pf24:
      return RGB(static_cast<Byte>(Pixel >> 16), static_cast<Byte>(Pixel >> 8), static_cast<Byte>(Pixel));
    case TSurfaceFormat::pf16:
    case TSurfaceFormat::pf32Masks:
      return RGB(FromField(Pixel, S.Masks[0], Field(S.Masks[0])),
                 FromField(Pixel, S.Masks[1], Field(S.Masks[1])),
                 FromField(Pixel, S.Masks[2], Field(S.Masks[2])));
    default: {
      if (static_cast<Integer>(Pixel) >= S.ColorCount) return 0;
      const RGBQUAD& Q = S.Colors[Pixel];
      return RGB(Q.rgbRed, Q.rgbGreen, Q.rgbBlue);
    }
  }
}
