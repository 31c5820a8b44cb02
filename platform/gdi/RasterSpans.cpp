// Colours, mix modes and brushes down to raw spans: the loops every fill ends in.
#include <cstring>

#include "platform/gdi/DcInternals.h"
#include "platform/gdi/Palettes.h"

namespace {

// Hatch lines of the 8x8 hatch patterns, relative to the brush origin.
bool HatchBit(Integer Hatch, Integer X, Integer Y) {
  switch (Hatch) {
    case HS_HORIZONTAL:
      return Y == 7;
    case HS_VERTICAL:
      return X == 7;
    case HS_FDIAGONAL:
      return X == Y;
    case HS_BDIAGONAL:
      return X + Y == 7;
    case HS_CROSS:
      return X == 7 || Y == 7;
    default:
      return X == Y || X + Y == 7;
  }
}

}  // namespace

COLORREF PaletteEntryColor(HDC DC, UINT Index) {
  const HPALETTE Pal =
      DC && DC->State.Palette ? DC->State.Palette : static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
  const PALETTEENTRY& E = Pal->Entries[Index < Pal->Entries.size() ? Index : 0];
  return RGB(E.peRed, E.peGreen, E.peBlue);
}

COLORREF ResolveColor(HDC DC, COLORREF Color) {
  if ((Color >> 24) == 0x01) return PaletteEntryColor(DC, Color & 0xFFFF);
  return Color & 0x00FFFFFF;
}

COLORREF PenColor(HDC DC, HPEN Pen) {
  return ResolveColor(DC, Pen->DcPen ? DC->State.DCPenColor : Pen->Color);
}

COLORREF BrushColor(HDC DC, HBRUSH Brush) {
  return ResolveColor(DC, Brush->DcBrush ? DC->State.DCBrushColor : Brush->Color);
}

// Bit (2p + d) of (mode - 1) is the result for pen bit p and destination bit d. For a fixed pen
// bit the result is d & A ^ X with X = result(p, 0) and A = result(p, 0) ^ result(p, 1).
TRopMasks MakeRopMasks(Integer Rop2, DWORD Pixel, DWORD PixelMask) {
  const DWORD T = (Rop2 >= R2_BLACK && Rop2 <= R2_WHITE) ? static_cast<DWORD>(Rop2 - 1) : 12u;
  auto All = [](DWORD Bit) { return Bit ? 0xFFFFFFFFu : 0u; };
  const DWORD X0 = All(T & 1), X1 = All((T >> 2) & 1);
  const DWORD A0 = All((T ^ (T >> 1)) & 1), A1 = All(((T >> 2) ^ (T >> 3)) & 1);
  TRopMasks M;
  M.And = ((Pixel & A1) | (~Pixel & A0)) & PixelMask;
  M.Xor = ((Pixel & X1) | (~Pixel & X0)) & PixelMask;
  return M;
}

TPixelOp MakePixelOp(const TSurface& S, COLORREF Color, Integer Rop2) {
  const TRopMasks M = MakeRopMasks(Rop2, ColorToPixel(S, Color), S.PixelMask());
  return TPixelOp{&S, M.And, M.Xor};
}

void TPixelOp::Pixel(Integer X, Integer Y) const {
  if (And == 0) {
    PutRawPixel(*S, X, Y, Xor);
  } else {
    PutRawPixel(*S, X, Y, (GetRawPixel(*S, X, Y) & And) ^ Xor);
  }
}

void TPixelOp::Span(Integer Y, Integer X0, Integer X1) const {
  FillSpanRaw(*S, Y, X0, X1, And, Xor);
}

void TPixelOp::Rect(const TRect& R) const {
  for (Integer Y = R.Top; Y < R.Bottom; ++Y) FillSpanRaw(*S, Y, R.Left, R.Right, And, Xor);
}

void FillSpanRaw(const TSurface& S, Integer Y, Integer X0, Integer X1, DWORD And, DWORD Xor) {
  assert(X0 >= 0 && X1 <= S.Width && X0 <= X1);
  Byte* Row = S.Row(Y);
  Integer N = X1 - X0;
  switch (S.Bpp) {
    case 32: {
      Byte* P = Row + static_cast<NativeInt>(X0) * 4;
      if (And == 0) {
        for (Integer I = 0; I < N; ++I) std::memcpy(P + I * 4, &Xor, 4);
      } else {
        for (Integer I = 0; I < N; ++I) {
          DWORD V;
          std::memcpy(&V, P + I * 4, 4);
          V = (V & And) ^ Xor;
          std::memcpy(P + I * 4, &V, 4);
        }
      }
      return;
    }
    case 24: {
      Byte* P = Row + static_cast<NativeInt>(X0) * 3;
      if (And == 0) {
        if (N >= 16) {
          // Eight pixels are three whole 64-bit words.
          Byte Block[24];
          for (Integer I = 0; I < 8; ++I) Store24(Block + I * 3, Xor);
          for (; N >= 8; N -= 8, P += 24) std::memcpy(P, Block, 24);
        }
        for (; N > 0; --N, P += 3) Store24(P, Xor);
      } else {
        for (; N > 0; --N, P += 3) Store24(P, (Load24(P) & And) ^ Xor);
      }
      return;
    }
    case 16: {
      Byte* P = Row + static_cast<NativeInt>(X0) * 2;
      for (; N > 0; --N, P += 2) {
        const DWORD V = And == 0 ? Xor : (((P[0] | (P[1] << 8)) & And) ^ Xor);
        P[0] = static_cast<Byte>(V);
        P[1] = static_cast<Byte>(V >> 8);
      }
      return;
    }
    case 8: {
      Byte* P = Row + X0;
      if (And == 0) {
        std::memset(P, static_cast<int>(Xor), static_cast<std::size_t>(N));
      } else {
        for (Integer I = 0; I < N; ++I) P[I] = static_cast<Byte>((P[I] & And) ^ Xor);
      }
      return;
    }
    default:
      for (Integer X = X0; X < X1; ++X) {
        PutRawPixel(S, X, Y, And == 0 ? Xor : ((GetRawPixel(S, X, Y) & And) ^ Xor));
      }
      return;
  }
}

TBrushPainter::TBrushPainter(HDC DC, HBRUSH Brush) {
  Init(DC, Brush, DC->State.Rop2);
}

TBrushPainter::TBrushPainter(HDC DC, HBRUSH Brush, Integer Rop2) {
  Init(DC, Brush, Rop2);
}

void TBrushPainter::Init(HDC DC, HBRUSH Brush, Integer Rop2) {
  FS = &DC->Surface();
  if (!Brush || Brush->Style == BS_NULL) return;
  const TSurface& S = *FS;
  const DWORD Mask = S.PixelMask();
  if (Brush->Style == BS_SOLID || (Brush->Style != BS_HATCHED && Brush->Style != BS_PATTERN)) {
    FKind = TKind::Solid;
    FPattern.Solid = ColorToPixel(S, BrushColor(DC, Brush));
    const TRopMasks M = MakeRopMasks(Rop2, FPattern.Solid, Mask);
    FSolid = TPixelOp{FS, M.And, M.Xor};
    return;
  }
  FKind = TKind::Pattern;
  const TPoint Org = DC->DcOrigin();
  FPattern.OrgX = DC->State.BrushOrg.X + Org.X;
  FPattern.OrgY = DC->State.BrushOrg.Y + Org.Y;
  const bool Hatch = Brush->Style == BS_HATCHED;
  const Integer W = FPattern.Width = Hatch ? 8 : Brush->PatternWidth;
  const Integer H = FPattern.Height = Hatch ? 8 : Brush->PatternHeight;
  const std::size_t Count = static_cast<std::size_t>(W) * H;
  FAnd.resize(Count);
  FXor.resize(Count);
  FPix.resize(Count);
  FSkip.assign(Count, 0);
  // The two colours of hatches and monochrome patterns, as raw pixels.
  DWORD Fore = 0, Back = ColorToPixel(S, ResolveColor(DC, DC->State.BkColor));
  if (Hatch)
    Fore = ColorToPixel(S, BrushColor(DC, Brush));
  else if (Brush->PatternMono)
    Fore = ColorToPixel(S, ResolveColor(DC, DC->State.TextColor));
  COLORREF LastColor = CLR_INVALID;
  DWORD LastPixel = 0;
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X) {
      const std::size_t I = static_cast<std::size_t>(Y) * W + X;
      DWORD Pixel;
      if (Hatch) {
        if (HatchBit(Brush->Hatch, X, Y)) {
          Pixel = Fore;
        } else {
          Pixel = Back;
          if (DC->State.BkMode == TRANSPARENT) FSkip[I] = 1, FPattern.AnySkip = true;
        }
      } else if (Brush->PatternMono) {
        Pixel = Brush->Pattern[I] ? Back : Fore;
      } else {
        if (Brush->Pattern[I] != LastColor) {
          LastColor = Brush->Pattern[I];
          LastPixel = ColorToPixel(S, LastColor);
        }
        Pixel = LastPixel;
      }
      const TRopMasks M = MakeRopMasks(Rop2, Pixel, Mask);
      FPix[I] = Pixel;
      FAnd[I] = FSkip[I] ? Mask : M.And;
      FXor[I] = FSkip[I] ? 0 : M.Xor;
    }
}

TBrushPainter::TPattern TBrushPainter::Pattern() const {
  TPattern P = FPattern;
  P.Pixels = FPix.data();
  P.Skip = FSkip.data();
  return P;
}

void TBrushPainter::Span(Integer Y, Integer X0, Integer X1) const {
  if (FKind == TKind::Solid) {
    FillSpanRaw(*FS, Y, X0, X1, FSolid.And, FSolid.Xor);
    return;
  }
  if (FKind == TKind::Null || X0 >= X1) return;
  const TSurface& S = *FS;
  const Integer W = FPattern.Width;
  const std::size_t RowStart = FPattern.RowStart(Y);
  const DWORD* A = FAnd.data() + RowStart;
  const DWORD* Xr = FXor.data() + RowStart;
  Integer PX = FPattern.Column(X0);
  Byte* Row = S.Row(Y);
  switch (S.Bpp) {
    case 32:
      for (Integer X = X0; X < X1; ++X) {
        Byte* P = Row + static_cast<NativeInt>(X) * 4;
        DWORD V;
        std::memcpy(&V, P, 4);
        V = (V & A[PX]) ^ Xr[PX];
        std::memcpy(P, &V, 4);
        if (++PX == W) PX = 0;
      }
      return;
    case 24:
      for (Integer X = X0; X < X1; ++X) {
        Byte* P = Row + static_cast<NativeInt>(X) * 3;
        Store24(P, (Load24(P) & A[PX]) ^ Xr[PX]);
        if (++PX == W) PX = 0;
      }
      return;
    default:
      for (Integer X = X0; X < X1; ++X) {
        PutRawPixel(S, X, Y, (GetRawPixel(S, X, Y) & A[PX]) ^ Xr[PX]);
        if (++PX == W) PX = 0;
      }
      return;
  }
}

void TBrushPainter::Rect(const TRect& R) const {
  for (Integer Y = R.Top; Y < R.Bottom; ++Y) Span(Y, R.Left, R.Right);
}

void FillRectClipped(HDC DC, TRect R, const TBrushPainter& Brush) {
  if (Brush.IsNull()) return;
  ForEachClipRect(DC, R, [&](const TRect& C) { Brush.Rect(C); });
}

void FillRectClipped(HDC DC, TRect R, const TPixelOp& Op) {
  ForEachClipRect(DC, R, [&](const TRect& C) { Op.Rect(C); });
}
