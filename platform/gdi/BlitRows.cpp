#include "platform/gdi/BlitRows.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/Dib.h"

namespace {

bool IsRgb(const TSurface& S) {
  return S.Format == TSurfaceFormat::pf24 || S.Format == TSurfaceFormat::pf32;
}

// Unpacked raw pixels of A mean the same colours in B (24- and 32-bit RGB unpack alike).
bool SameRawMeaning(const TSurface& A, const TSurface& B) {
  return (IsRgb(A) && IsRgb(B)) || SameFormat(A, B);
}

}  // namespace

DWORD ColorBits(const TSurface& S) {
  switch (S.Format) {
    case TSurfaceFormat::pf24:
    case TSurfaceFormat::pf32:
      return 0x00FFFFFF;
    default:
      return S.Masks[0] | S.Masks[1] | S.Masks[2];
  }
}

void UnpackRow(const TSurface& S, const Byte* Row, Integer X, Integer N, DWORD* Out) {
  switch (S.Bpp) {
    case 32:
      std::memcpy(Out, Row + static_cast<NativeInt>(X) * 4, static_cast<std::size_t>(N) * 4);
      return;
    case 24: {
      const Byte* P = Row + static_cast<NativeInt>(X) * 3;
      for (Integer I = 0; I < N; ++I, P += 3) Out[I] = Load24(P);
      return;
    }
    case 16: {
      const Byte* P = Row + static_cast<NativeInt>(X) * 2;
      for (Integer I = 0; I < N; ++I, P += 2) Out[I] = P[0] | (P[1] << 8);
      return;
    }
    case 8: {
      const Byte* P = Row + X;
      for (Integer I = 0; I < N; ++I) Out[I] = P[I];
      return;
    }
    case 4:
      for (Integer I = 0, C = X; I < N; ++I, ++C) {
        const Byte B = Row[C >> 1];
        Out[I] = (C & 1) ? (B & 0x0F) : (B >> 4);
      }
      return;
    default: {
      const Byte* P = Row + (X >> 3);
      Integer Shift = 7 - (X & 7);
      for (Integer I = 0; I < N; ++I) {
        Out[I] = (*P >> Shift) & 1;
        if (--Shift < 0) Shift = 7, ++P;
      }
      return;
    }
  }
}

void PackRow(const TSurface& S, Byte* Row, Integer X, Integer N, const DWORD* In) {
  switch (S.Bpp) {
    case 32:
      std::memcpy(Row + static_cast<NativeInt>(X) * 4, In, static_cast<std::size_t>(N) * 4);
      return;
    case 24: {
      Byte* P = Row + static_cast<NativeInt>(X) * 3;
      for (Integer I = 0; I < N; ++I, P += 3) Store24(P, In[I]);
      return;
    }
    case 16: {
      Byte* P = Row + static_cast<NativeInt>(X) * 2;
      for (Integer I = 0; I < N; ++I, P += 2) {
        P[0] = static_cast<Byte>(In[I]);
        P[1] = static_cast<Byte>(In[I] >> 8);
      }
      return;
    }
    case 8: {
      Byte* P = Row + X;
      for (Integer I = 0; I < N; ++I) P[I] = static_cast<Byte>(In[I]);
      return;
    }
    case 4:
      for (Integer I = 0, C = X; I < N; ++I, ++C) {
        Byte& B = Row[C >> 1];
        const Byte V = static_cast<Byte>(In[I] & 0x0F);
        B = (C & 1) ? static_cast<Byte>((B & 0xF0) | V) : static_cast<Byte>((B & 0x0F) | (V << 4));
      }
      return;
    default: {
      Byte* P = Row + (X >> 3);
      Byte Bit = static_cast<Byte>(0x80 >> (X & 7));
      for (Integer I = 0; I < N; ++I) {
        *P = (In[I] & 1) ? static_cast<Byte>(*P | Bit) : static_cast<Byte>(*P & ~Bit);
        Bit >>= 1;
        if (!Bit) Bit = 0x80, ++P;
      }
      return;
    }
  }
}

void GatherRow(const TSurface& S, const Byte* Row, const Integer* Columns, Integer N, DWORD* Out) {
  switch (S.Bpp) {
    case 32:
      for (Integer I = 0; I < N; ++I) std::memcpy(Out + I, Row + static_cast<NativeInt>(Columns[I]) * 4, 4);
      return;
    case 24:
      for (Integer I = 0; I < N; ++I) Out[I] = Load24(Row + static_cast<NativeInt>(Columns[I]) * 3);
      return;
    case 16:
      for (Integer I = 0; I < N; ++I) {
        const Byte* P = Row + static_cast<NativeInt>(Columns[I]) * 2;
        Out[I] = P[0] | (P[1] << 8);
      }
      return;
    case 8:
      for (Integer I = 0; I < N; ++I) Out[I] = Row[Columns[I]];
      return;
    case 4:
      for (Integer I = 0; I < N; ++I) {
        const Integer C = Columns[I];
        Out[I] = (C & 1) ? (Row[C >> 1] & 0x0F) : (Row[C >> 1] >> 4);
      }
      return;
    default:
      for (Integer I = 0; I < N; ++I) {
        const Integer C = Columns[I];
        Out[I] = (Row[C >> 3] >> (7 - (C & 7))) & 1;
      }
      return;
  }
}

TColorSide ColorSideOf(HDC DC) {
  TColorSide Side;
  Side.S = &DC->Surface();
  const HBITMAP B = DC->IsMemoryDC() ? DC->State.Bitmap : nullptr;
  Side.Mono = B && !B->IsDibSection && B->Surface.Bpp == 1;
  Side.Text = ResolveColor(DC, DC->State.TextColor);
  Side.Bk = ResolveColor(DC, DC->State.BkColor);
  return Side;
}

const TSurface& RgbSurface() {
  static const TSurface S = [] {
    TSurface R;
    R.Bpp = 32;
    R.Format = TSurfaceFormat::pf32;
    return R;
  }();
  return S;
}

TPixelConverter::TPixelConverter(const TColorSide& Src, const TColorSide& Dst) : FSrc(*Src.S), FDst(*Dst.S) {
  std::fill(std::begin(FCacheKeys), std::end(FCacheKeys), CLR_INVALID);
  const TSurface& S = *Src.S;
  const TSurface& D = *Dst.S;
  // A monochrome bitmap exchanges its bits with any 1-bit surface unchanged.
  if (S.Bpp == 1 && D.Bpp == 1 && (Src.Mono || Dst.Mono)) return;
  if (SameRawMeaning(S, D)) return;
  if (S.IsIndexed()) {
    FKind = TKind::Table;
    for (Integer I = 0; I < (1 << S.Bpp); ++I) {
      COLORREF C = 0;
      if (Src.Mono)
        C = I ? Dst.Bk : Dst.Text;
      else if (I < S.ColorCount)
        C = RGB(S.Colors[I].rgbRed, S.Colors[I].rgbGreen, S.Colors[I].rgbBlue);
      FTable[I] = Dst.Mono ? (C == Src.Bk ? 1u : 0u) : ColorToPixel(D, C);
    }
  } else if (Dst.Mono) {
    FKind = TKind::ToMono;
    FColorMask = ColorBits(S);
    FKey = ColorToPixel(S, Src.Bk) & FColorMask;
  } else {
    FKind = TKind::Generic;
  }
}

DWORD TPixelConverter::NearestIndex(COLORREF C) {
  const std::size_t Slot = (C ^ (C >> 9) ^ (C >> 17)) & 255;
  if (FCacheKeys[Slot] != C) {
    FCacheKeys[Slot] = C;
    FCacheValues[Slot] = ColorToPixel(FDst, C);
  }
  return FCacheValues[Slot];
}

void TPixelConverter::Convert(const DWORD* In, DWORD* Out, Integer N) {
  switch (FKind) {
    case TKind::Identity:
      if (In != Out) std::memcpy(Out, In, static_cast<std::size_t>(N) * 4);
      return;
    case TKind::Table:
      for (Integer I = 0; I < N; ++I) Out[I] = FTable[In[I] & 0xFF];
      return;
    case TKind::ToMono:
      for (Integer I = 0; I < N; ++I) Out[I] = (In[I] & FColorMask) == FKey ? 1u : 0u;
      return;
    case TKind::Generic: {
      // Runs of equal pixels are common; each run is converted once.
      DWORD LastIn = 0, LastOut = 0;
      bool Have = false;
      const bool Indexed = FDst.IsIndexed();
      for (Integer I = 0; I < N; ++I) {
        const DWORD V = In[I];
        if (!Have || V != LastIn) {
          const COLORREF C = PixelToColor(FSrc, V);
          LastOut = Indexed ? NearestIndex(C) : ColorToPixel(FDst, C);
          LastIn = V;
          Have = true;
        }
        Out[I] = LastOut;
      }
      return;
    }
  }
}

TRowConverter::TRowConverter(const TSurface& Src, const TSurface& Dst) : FSrc(Src), FDst(Dst) {
  if (SameFormat(Src, Dst) && Src.Bpp >= 8) {
    FKind = TKind::Copy;
    return;
  }
  if (IsRgb(Src) && IsRgb(Dst)) {
    FKind = TKind::Rgb;
    return;
  }
  const bool KeepIndex =
      Src.IsIndexed() && Dst.IsIndexed() && SameColorTables(Src, Dst) && Src.ColorCount <= (1 << Dst.Bpp);
  if (!KeepIndex) FConv.emplace(TColorSide{&Src}, TColorSide{&Dst});
}

void TRowConverter::Convert(const Byte* Src, Integer SrcX, Byte* Dst, Integer DstX, Integer Count) {
  const Integer SB = FSrc.Bpp / 8, DB = FDst.Bpp / 8;
  if (FKind == TKind::Copy) {
    std::memmove(Dst + static_cast<NativeInt>(DstX) * DB, Src + static_cast<NativeInt>(SrcX) * SB,
                 static_cast<std::size_t>(Count) * DB);
    return;
  }
  if (FKind == TKind::Rgb) {
    const Byte* S = Src + static_cast<NativeInt>(SrcX) * SB;
    Byte* D = Dst + static_cast<NativeInt>(DstX) * DB;
    for (Integer I = 0; I < Count; ++I, S += SB, D += DB) {
      D[0] = S[0], D[1] = S[1], D[2] = S[2];
      if (DB == 4) D[3] = 0;
    }
    return;
  }
  // In pieces through a buffer on the stack: rows of any length, no allocation.
  constexpr Integer Piece = 256;
  DWORD Buf[Piece];
  for (Integer Done = 0; Done < Count; Done += Piece) {
    const Integer N = std::min(Piece, Count - Done);
    UnpackRow(FSrc, Src, SrcX + Done, N, Buf);
    if (FConv) FConv->Convert(Buf, Buf, N);
    PackRow(FDst, Dst, DstX + Done, N, Buf);
  }
}

TPatternRows::TPatternRows(HDC DC) : FBrush(DC, DC->State.Brush, R2_COPYPEN), FPattern(FBrush.Pattern()) {}

void TPatternRows::Fill(Integer Y, Integer X0, Integer N, DWORD* Out, Byte* Skip) const {
  const TBrushPainter::TPattern& P = FPattern;
  if (IsSolid()) {
    std::fill_n(Out, N, P.Solid);
    return;
  }
  const std::size_t Row = P.RowStart(Y);
  Integer PX = P.Column(X0);
  for (Integer I = 0; I < N;) {
    const Integer Run = std::min(P.Width - PX, N - I);
    std::memcpy(Out + I, P.Pixels + Row + PX, static_cast<std::size_t>(Run) * 4);
    if (P.AnySkip && Skip) std::memcpy(Skip + I, P.Skip + Row + PX, static_cast<std::size_t>(Run));
    I += Run;
    PX = 0;
  }
}

void StretchMap(Integer DstCount, Integer SrcStart, Integer SrcCount, bool Flip, Integer First, Integer Count,
                Integer* Out) {
  if (DstCount <= 0) return;
  // An integer DDA: Q * DstCount + R = I * SrcCount with 0 <= R < DstCount.
  const Int64 Start = static_cast<Int64>(First) * SrcCount;
  Int64 Q = Start / DstCount, R = Start % DstCount;
  const Int64 Step = SrcCount / DstCount, Rest = SrcCount % DstCount;
  for (Integer K = 0; K < Count; ++K) {
    Out[K] = static_cast<Integer>(Flip ? SrcStart + SrcCount - 1 - Q : SrcStart + Q);
    Q += Step;
    R += Rest;
    if (R >= DstCount) R -= DstCount, ++Q;
  }
}

TSurfaceCopy::TSurfaceCopy(const TSurface& From, Integer Top, Integer Bottom) : S(From) {
  const Integer Rows = std::max(0, Bottom - Top);
  const NativeInt RowBytes = DibRowBytes(From.Width, From.Bpp);
  const std::size_t Used = (static_cast<std::size_t>(From.Width) * From.Bpp + 7) / 8;
  Bits.resize(static_cast<std::size_t>(RowBytes) * Rows + 1);
  for (Integer R = 0; R < Rows; ++R) std::memcpy(Bits.data() + R * RowBytes, From.Row(Top + R), Used);
  S.Row0 = Bits.data();
  S.Stride = RowBytes;
  S.Height = Rows;
}
