// TIEMask: copying the selected part of one TIEBitmap into another.
#include <algorithm>
#include <type_traits>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"
#include "imaging/core/ieprocbase.h"

namespace {

// Mask columns X1..X2 and rows Y1..Y2 to copy; mask pixel (x, y) reads Source at
// (x - SourceX, y - SourceY) and writes Dest at (x - DestX, y - DestY).
struct TMaskCopyRange {
  Integer X1 = 0, Y1 = 0, X2 = -1, Y2 = -1;
  Integer SourceX = 0, SourceY = 0, DestX = 0, DestY = 0;
  bool IsEmpty() const { return X2 < X1 || Y2 < Y1; }
};

// The box, ending early with SourceAtBox where either bitmap is smaller, and clipped so that
// no pixel is read or written outside the mask or either bitmap.
TMaskCopyRange CopyRange(const TIEMask& Mask, TIEBitmap* Dest, TIEBitmap* Source, bool DestAtBox,
                         bool SourceAtBox) {
  TMaskCopyRange R;
  if (Mask.IsEmpty()) return R;
  const Integer SW = Source->GetWidth(), SH = Source->GetHeight();
  const Integer DW = Dest->GetWidth(), DH = Dest->GetHeight();
  R.X1 = Mask.GetX1();
  R.Y1 = Mask.GetY1();
  R.X2 = SourceAtBox ? R.X1 + std::min({Mask.GetX2() - R.X1, SW - 1, DW - 1}) : Mask.GetX2();
  R.Y2 = SourceAtBox ? R.Y1 + std::min({Mask.GetY2() - R.Y1, SH - 1, DH - 1}) : Mask.GetY2();
  R.SourceX = SourceAtBox ? R.X1 : 0;
  R.SourceY = SourceAtBox ? R.Y1 : 0;
  R.DestX = DestAtBox ? R.X1 : 0;
  R.DestY = DestAtBox ? R.Y1 : 0;
  R.X1 = std::max({R.X1, R.SourceX, R.DestX, 0});
  R.Y1 = std::max({R.Y1, R.SourceY, R.DestY, 0});
  R.X2 = std::min({R.X2, SW - 1 + R.SourceX, DW - 1 + R.DestX, Mask.GetWidth() - 1});
  R.Y2 = std::min({R.Y2, SH - 1 + R.SourceY, DH - 1 + R.DestY, Mask.GetHeight() - 1});
  return R;
}

void PutBit(Byte* Row, Integer X, bool Set) {
  const Byte Bit = static_cast<Byte>(0x80 >> (X & 7));
  Row[X >> 3] = Set ? (Row[X >> 3] | Bit) : (Row[X >> 3] & static_cast<Byte>(~Bit));
}

// d + m * (s - d) / 256, rounded down.
Byte BlendByMask(Byte D, Byte S, Byte M) {
  return static_cast<Byte>(D + ((M * (S - D)) >> 8));
}

// Calls RowOp(MaskRow, SourceRow, DestRow) for every row of the range. The source row is
// fetched so that it stays valid beside the destination's even in a temporary file.
template <typename TRowOp>
void ForEachRow(const TIEMask& Mask, TIEBitmap* Dest, TIEBitmap* Source, const TMaskCopyRange& R,
                TRowOp RowOp) {
  for (Integer Y = R.Y1; Y <= R.Y2; ++Y) {
    const Integer SourceRow = Y - R.SourceY;
    const Byte* S = static_cast<const Byte*>(Source->GetRow(SourceRow));
    Byte* D = static_cast<Byte*>(Dest->GetScanline(Y - R.DestY));
    RowOp(Mask.GetScanline(Y), S, D);
    Source->FreeRow(SourceRow);
  }
}

// Formats copied through the bitmap's pixel accessors, which keep Dest's full flag.
template <typename TGet, typename TSet>
void CopyByAccessors(const TIEMask& Mask, const TMaskCopyRange& R, TGet Get, TSet Set) {
  for (Integer Y = R.Y1; Y <= R.Y2; ++Y) {
    const Byte* M = Mask.GetScanline(Y);
    for (Integer X = R.X1; X <= R.X2; ++X)
      if (IEGetBit(M, X)) Set(X - R.DestX, Y - R.DestY, Get(X - R.SourceX, Y - R.SourceY));
  }
}

void CopyUnder1BitMask(const TIEMask& Mask, TIEBitmap* Dest, TIEBitmap* Source, const TMaskCopyRange& R) {
  const TIEPixelFormat Format = Source->GetPixelFormat();
  // The pixel size is a constant of each instance, so the inner copy is unrolled.
  auto CopyBytes = [&](auto PixelBytes) {
    ForEachRow(Mask, Dest, Source, R, [&](const Byte* M, const Byte* S, Byte* D) {
      for (Integer X = R.X1; X <= R.X2; ++X)
        if (IEGetBit(M, X))
          std::copy_n(S + (X - R.SourceX) * PixelBytes, PixelBytes, D + (X - R.DestX) * PixelBytes);
    });
  };
  switch (Format) {
    case ie24RGB:
      CopyBytes(std::integral_constant<Integer, 3>{});
      break;
    case ie8g:
    case ie8p:
      CopyBytes(std::integral_constant<Integer, 1>{});
      break;
    case ie1g:
      ForEachRow(Mask, Dest, Source, R, [&](const Byte* M, const Byte* S, Byte* D) {
        for (Integer X = R.X1; X <= R.X2; ++X)
          if (IEGetBit(M, X)) PutBit(D, X - R.DestX, IEGetBit(S, X - R.SourceX));
      });
      break;
    case ie16g:
      CopyByAccessors(
          Mask, R, [&](Integer X, Integer Y) { return Source->GetPixel16(X, Y); },
          [&](Integer X, Integer Y, Word V) { Dest->SetPixel16(X, Y, V); });
      break;
    case ie32f:
      CopyByAccessors(
          Mask, R, [&](Integer X, Integer Y) { return Source->GetPixel32f(X, Y); },
          [&](Integer X, Integer Y, Single V) { Dest->SetPixel32f(X, Y, V); });
      break;
    case ieCMYK:
      CopyByAccessors(
          Mask, R, [&](Integer X, Integer Y) { return Source->GetPixel32(X, Y); },
          [&](Integer X, Integer Y, Cardinal V) { Dest->SetPixel32(X, Y, V); });
      break;
    case ieRGB48:
      CopyByAccessors(
          Mask, R, [&](Integer X, Integer Y) { return Source->GetPixel48(X, Y); },
          [&](Integer X, Integer Y, const TIERGB48Pixel& V) { Dest->SetPixel48(X, Y, V); });
      break;
    case ieCIELab:
      CopyByAccessors(
          Mask, R, [&](Integer X, Integer Y) { return Source->GetPixel24(X, Y); },
          [&](Integer X, Integer Y, const TIERGBTriple& V) { Dest->SetPixel24(X, Y, V); });
      break;
    default:
      break;
  }
}

void CopyUnder8BitMask(const TIEMask& Mask, TIEBitmap* Dest, TIEBitmap* Source, const TMaskCopyRange& R) {
  auto BlendBytes = [&](auto PixelBytes) {
    ForEachRow(Mask, Dest, Source, R, [&](const Byte* M, const Byte* S, Byte* D) {
      for (Integer X = R.X1; X <= R.X2; ++X) {
        if (M[X] == 0) continue;  // nothing of the source
        const Byte* SP = S + (X - R.SourceX) * PixelBytes;
        Byte* DP = D + (X - R.DestX) * PixelBytes;
        for (Integer C = 0; C < PixelBytes; ++C) DP[C] = BlendByMask(DP[C], SP[C], M[X]);
      }
    });
  };
  switch (Source->GetPixelFormat()) {
    case ie24RGB:
      BlendBytes(std::integral_constant<Integer, 3>{});
      break;
    case ie8g:
    case ie8p:
      BlendBytes(std::integral_constant<Integer, 1>{});
      break;
    case ie1g:
      ForEachRow(Mask, Dest, Source, R, [&](const Byte* M, const Byte* S, Byte* D) {
        for (Integer X = R.X1; X <= R.X2; ++X)
          if (M[X] != 0) PutBit(D, X - R.DestX, IEGetBit(S, X - R.SourceX));
      });
      break;
    default:
      break;
  }
}

}  // namespace

void TIEMask::CopyIEBitmap(TIEBitmap* Dest, TIEBitmap* Source, bool DestAtBox, bool SourceAtBox,
                           bool CopyAlpha) {
  if (!Dest || !Source) return;
  const TMaskCopyRange R = CopyRange(*this, Dest, Source, DestAtBox, SourceAtBox);
  if (!R.IsEmpty() && Source->GetPixelFormat() == Dest->GetPixelFormat()) {
    if (FBitsPerPixel == 1)
      CopyUnder1BitMask(*this, Dest, Source, R);
    else if (FBitsPerPixel == 8)
      CopyUnder8BitMask(*this, Dest, Source, R);
  }
  if (CopyAlpha) CopyIEBitmapAlpha(Dest, Source, DestAtBox, SourceAtBox);
}

void TIEMask::CopyIEBitmapAlpha(TIEBitmap* Dest, TIEBitmap* Source, bool DestAtBox, bool SourceAtBox) {
  if (!Dest || !Source || (FBitsPerPixel != 1 && FBitsPerPixel != 8)) return;
  const TMaskCopyRange R = CopyRange(*this, Dest, Source, DestAtBox, SourceAtBox);
  if (R.IsEmpty()) return;
  TIEBitmap* DestAlpha = Dest->GetAlphaChannel();
  if (!DestAlpha) return;
  // A source without alpha is opaque everywhere.
  TIEBitmap* SourceAlpha = Source->HasAlphaChannel() ? Source->GetAlphaChannel() : nullptr;
  const bool OneBit = FBitsPerPixel == 1;
  for (Integer Y = R.Y1; Y <= R.Y2; ++Y) {
    const Byte* M = GetScanline(Y);
    const Integer SourceRow = Y - R.SourceY;
    const Byte* S = SourceAlpha ? static_cast<const Byte*>(SourceAlpha->GetRow(SourceRow)) : nullptr;
    Byte* D = static_cast<Byte*>(DestAlpha->GetScanline(Y - R.DestY));
    for (Integer X = R.X1; X <= R.X2; ++X) {
      const Byte A = S ? S[X - R.SourceX] : 255;
      D[X - R.DestX] = OneBit ? (IEGetBit(M, X) ? A : 0) : (M[X] != 0 ? std::min(A, M[X]) : 0);
    }
    if (SourceAlpha) SourceAlpha->FreeRow(SourceRow);
  }
  DestAlpha->SetFull(false);
}
