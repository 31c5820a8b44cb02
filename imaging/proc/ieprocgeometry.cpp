#include "imaging/proc/ieprocgeometry.h"

#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieprocbase.h"
#include "imaging/core/ieutilsbits.h"
#include "platform/system/Math.h"

namespace {

constexpr long double DegreesToRadians = 3.14159265358979323846L / 180.0L;

// Rows of a picture that stay valid together (GetRow), released on scope exit.
class THeldRows {
 public:
  explicit THeldRows(TIEBitmap* Bitmap) : FBitmap(Bitmap), FRows(Bitmap->GetHeight()) {
    for (Integer Y = 0; Y < Bitmap->GetHeight(); ++Y) FRows[Y] = static_cast<const Byte*>(Bitmap->GetRow(Y));
  }
  ~THeldRows() {
    for (Integer Y = 0; Y < static_cast<Integer>(FRows.size()); ++Y) FBitmap->FreeRow(Y);
  }
  THeldRows(const THeldRows&) = delete;
  THeldRows& operator=(const THeldRows&) = delete;
  const Byte* operator[](Integer Y) const { return FRows[Y]; }

 private:
  TIEBitmap* FBitmap;
  std::vector<const Byte*> FRows;
};

// Copies one pixel of Bytes bytes, or one bit when Bytes is 0 (the destination bit is set only).
inline void CopyPixel(const Byte* From, Integer FromX, Byte* To, Integer ToX, Integer Bytes) {
  if (Bytes == 0) {
    if (IEGetBit(From, FromX)) To[ToX >> 3] |= static_cast<Byte>(0x80 >> (ToX & 7));
    return;
  }
  std::memcpy(To + static_cast<size_t>(ToX) * Bytes, From + static_cast<size_t>(FromX) * Bytes, Bytes);
}

Integer PixelBytes(TIEBitmap* Bitmap) {
  return Bitmap->GetBitCount() / 8;
}

// Dest gets Source's format and palette at the given size, 1-bit pictures cleared.
bool AllocateLike(TIEBitmap* Source, TIEBitmap* Dest, Integer Width, Integer Height) {
  if (!Dest->Allocate(Width, Height, Source->GetPixelFormat())) return false;
  if (Source->GetPixelFormat() == ie8p) Source->CopyPaletteTo(Dest);
  if (Source->GetPixelFormat() == ie1g) Dest->Fill(0);
  return true;
}

// Result pixel (X, Y) of a WidthOut x HeightOut picture is source pixel Map(X, Y).
template <class FMap>
void Remap(TIEBitmap* Source, TIEBitmap* Dest, Integer WidthOut, Integer HeightOut, FMap Map) {
  if (!AllocateLike(Source, Dest, WidthOut, HeightOut)) return;
  const THeldRows Rows(Source);
  const Integer Bytes = PixelBytes(Source);
  for (Integer Y = 0; Y < HeightOut; ++Y) {
    auto* Out = static_cast<Byte*>(Dest->GetScanline(Y));
    for (Integer X = 0; X < WidthOut; ++X) {
      const auto [SX, SY] = Map(X, Y);
      CopyPixel(Rows[SY], SX, Out, X, Bytes);
    }
  }
}

void QuarterTurn(TIEBitmap* Source, TIEBitmap* Dest, bool CounterClockwise) {
  const Integer W = Source->GetWidth(), H = Source->GetHeight();
  if (CounterClockwise)  // result (y, W - 1 - x) = source (x, y)
    Remap(Source, Dest, H, W, [W](Integer X, Integer Y) { return std::pair(W - 1 - Y, X); });
  else  // result (H - 1 - y, x) = source (x, y)
    Remap(Source, Dest, H, W, [H](Integer X, Integer Y) { return std::pair(Y, H - 1 - X); });
}

void HalfTurn(TIEBitmap* Source, TIEBitmap* Dest) {
  const Integer W = Source->GetWidth(), H = Source->GetHeight();
  Remap(Source, Dest, W, H, [W, H](Integer X, Integer Y) { return std::pair(W - 1 - X, H - 1 - Y); });
}

void QuarterTurnOfDepth(TIEBitmap* Source, TIEBitmap* Dest, Integer Bits, bool CounterClockwise) {
  if (Source->GetBitCount() == Bits) QuarterTurn(Source, Dest, CounterClockwise);
}

void ReverseBytePixels(Byte* Row, Integer Width, Integer Bytes) {
  for (Integer L = 0, R = Width - 1; L < R; ++L, --R)
    for (Integer I = 0; I < Bytes; ++I) std::swap(Row[L * Bytes + I], Row[R * Bytes + I]);
}

// Bytes in reverse order with their bits reversed, then shifted so the row starts at bit 0.
void ReverseBitRow(Byte* Row, Integer Width, std::vector<Byte>& Work) {
  const Integer RowBytes = (Width + 7) / 8;
  for (Integer I = 0; I < RowBytes; ++I) {
    Work[I] = Row[RowBytes - 1 - I];
    IEReverseBits8(Work[I]);
  }
  const Integer Shift = Width % 8 == 0 ? 0 : 8 - Width % 8;
  IECopyBits(Row, Work.data(), 0, Shift, Width, RowBytes);
}

void FlipPixels(TIEBitmap* Bitmap, Integer Direction) {
  const Integer W = Bitmap->GetWidth(), H = Bitmap->GetHeight(), RowLen = Bitmap->GetRowLen();
  if (W <= 0 || H <= 0) return;
  if (Direction == 1) {
    // One scanline is valid at a time for a file-backed picture: swap through copies.
    std::vector<Byte> Top(RowLen), Bottom(RowLen);
    for (Integer Y = 0, Y2 = H - 1; Y < Y2; ++Y, --Y2) {
      std::memcpy(Top.data(), Bitmap->GetScanline(Y), RowLen);
      std::memcpy(Bottom.data(), Bitmap->GetScanline(Y2), RowLen);
      std::memcpy(Bitmap->GetScanline(Y), Bottom.data(), RowLen);
      std::memcpy(Bitmap->GetScanline(Y2), Top.data(), RowLen);
    }
    return;
  }
  const Integer Bytes = PixelBytes(Bitmap);
  std::vector<Byte> Work(RowLen + 1);
  for (Integer Y = 0; Y < H; ++Y) {
    auto* Row = static_cast<Byte*>(Bitmap->GetScanline(Y));
    if (Bitmap->GetBitCount() == 1)
      ReverseBitRow(Row, W, Work);
    else
      ReverseBytePixels(Row, W, Bytes);
  }
}

}  // namespace

void IEFlipBitmap(TIEBitmap* Bitmap, Integer Direction) {
  if (Direction != 0 && Direction != 1) return;
  FlipPixels(Bitmap, Direction);
  if (Bitmap->HasAlphaChannel()) FlipPixels(Bitmap->GetAlphaChannel(), Direction);
}

void IERotate90CCW24(TIEBitmap* Source, TIEBitmap* Dest) {
  QuarterTurnOfDepth(Source, Dest, 24, true);
}
void IERotate90CW24(TIEBitmap* Source, TIEBitmap* Dest) {
  QuarterTurnOfDepth(Source, Dest, 24, false);
}
void IERotate90CCW8(TIEBitmap* Source, TIEBitmap* Dest) {
  QuarterTurnOfDepth(Source, Dest, 8, true);
}
void IERotate90CW8(TIEBitmap* Source, TIEBitmap* Dest) {
  QuarterTurnOfDepth(Source, Dest, 8, false);
}

TSize IERotatedSize(Integer Width, Integer Height, double Angle) {
  const long double Theta = Angle * DegreesToRadians;
  const long double S = std::fabs(std::sin(Theta)), C = std::fabs(std::cos(Theta));
  return {static_cast<Integer>(Round(S * Height + C * Width)),
          static_cast<Integer>(Round(C * Height + S * Width))};
}

void IERotateBitmapTo(TIEBitmap* Source, TIEBitmap* Dest, TColor Background, TObject* Sender,
                      const TIEProgressEvent& OnProgress, double Angle) {
  if (IEIsMultipleOf90(Angle)) {
    switch (static_cast<Integer>(Trunc(Angle)) % 360) {
      case 90:
      case -270:
        QuarterTurn(Source, Dest, true);
        break;
      case 270:
      case -90:
        QuarterTurn(Source, Dest, false);
        break;
      case 180:
      case -180:
        HalfTurn(Source, Dest);
        break;
      default:
        Dest->Assign(Source);
        break;
    }
    return;
  }
  // Each result pixel takes the source pixel its centre falls on, rounded, about both centres.
  const long double Theta = Angle * DegreesToRadians;
  const long double SinT = std::sin(Theta), CosT = std::cos(Theta);
  const Integer W = Source->GetWidth(), H = Source->GetHeight();
  const TSize Size = IERotatedSize(W, H, Angle);
  const Integer WidthOut = Size.cx, HeightOut = Size.cy;
  if (!AllocateLike(Source, Dest, WidthOut, HeightOut)) return;
  if (Source->GetPixelFormat() != ie1g) Dest->Fill(Background);
  const long double SourceCX = (W - 1) / 2.0L, SourceCY = (H - 1) / 2.0L;
  const long double DestCX = (WidthOut - 1) / 2.0L, DestCY = (HeightOut - 1) / 2.0L;
  std::vector<Integer> ColumnX(WidthOut), ColumnY(WidthOut);
  for (Integer X = 0; X < WidthOut; ++X) {
    ColumnX[X] = static_cast<Integer>(Round((X - DestCX) * CosT + SourceCX));
    ColumnY[X] = static_cast<Integer>(Round((X - DestCX) * SinT + SourceCY));
  }
  const Integer Bytes = PixelBytes(Source);
  const THeldRows Rows(Source);
  for (Integer Y = 0; Y < HeightOut; ++Y) {
    const Integer A = static_cast<Integer>(Round((Y - DestCY) * SinT));
    const Integer B = static_cast<Integer>(Round((Y - DestCY) * CosT));
    auto* Out = static_cast<Byte*>(Dest->GetScanline(Y));
    for (Integer X = 0; X < WidthOut; ++X) {
      const Integer SX = ColumnX[X] - A, SY = ColumnY[X] + B;
      if (SX >= 0 && SX < W && SY >= 0 && SY < H) CopyPixel(Rows[SY], SX, Out, X, Bytes);
    }
    if (OnProgress) OnProgress(Sender, static_cast<Integer>(Trunc(Y * 100.0L / HeightOut)));
  }
}

void IERotateNearest(TIEBitmap* Bitmap, TColor Background, TObject* Sender,
                     const TIEProgressEvent& OnProgress, double Angle) {
  TIEBitmap Result;
  IERotateBitmapTo(Bitmap, &Result, Background, Sender, OnProgress, Angle);
  if (Result.IsEmpty()) return;
  Bitmap->AssignImage(&Result);
}

TRect IECropTransparentRect(TIEBitmap* Bitmap) {
  const Integer W = Bitmap->GetWidth(), H = Bitmap->GetHeight();
  if (!Bitmap->HasAlphaChannel()) return {0, 0, W - 1, H - 1};
  TIEBitmap* Alpha = Bitmap->GetAlphaChannel();
  TRect R{W, H, -1, -1};
  for (Integer Y = 0; Y < H; ++Y) {
    const auto* Row = static_cast<const Byte*>(Alpha->GetScanline(Y));
    Integer First = 0;
    while (First < W && Row[First] == 0) ++First;
    if (First == W) continue;
    Integer Last = W - 1;
    while (Row[Last] == 0) --Last;
    if (First < R.Left) R.Left = First;
    if (Last > R.Right) R.Right = Last;
    if (Y < R.Top) R.Top = Y;
    R.Bottom = Y;
  }
  if (R.Right < 0) return {0, 0, -1, -1};
  return R;
}
