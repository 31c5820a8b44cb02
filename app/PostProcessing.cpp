#include "app/PostProcessing.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "app/Functions.h"
#include "platform/classes/Bitmap.h"
#include "platform/system/Math.h"

Integer ClampByte(Integer V) {
  return V < 0 ? 0 : (V > 255 ? 255 : V);
}

void SmoothRect(TBitmap* Bitmap, Integer X1, Integer Y1, Integer X2, Integer Y2) {
  if (X1 > X2) std::swap(X1, X2);
  if (Y1 > Y2) std::swap(Y1, Y2);
  Bitmap->SetPixelFormat(pf24bit);
  const Integer W = Bitmap->GetWidth(), H = Bitmap->GetHeight();
  X1 = Max(1, X1);
  Y1 = Max(1, Y1);
  X2 = Min(W - 2, X2);
  Y2 = Min(H - 2, Y2);
  if (X1 > X2 || Y1 > Y2) return;
  const TBitmapRows Rows(Bitmap);
  for (Integer Y = Y1; Y <= Y2; ++Y) {
    const Byte* Up = Rows[Y - 1];
    const Byte* Down = Rows[Y + 1];
    Byte* Row = Rows[Y];
    // The left neighbour is read after its own smoothing, as the loop runs in place.
    for (Integer I = 3 * X1, End = 3 * X2 + 3; I < End; ++I)
      Row[I] = static_cast<Byte>((Up[I] + Down[I] + Row[I - 3] + Row[I + 3]) >> 2);
  }
}

namespace {
using TByteBlock = Byte __attribute__((vector_size(16)));
using TWordBlock = std::uint16_t __attribute__((vector_size(32)));

// Channels [First, Last) of a row whose samples lie in two other rows, columns Shift bytes to
// each side: independent of the row's own pixels, so of the order they are done in.
void BlurSpan(Byte* __restrict Out, const Byte* __restrict Top, const Byte* __restrict Bottom, Integer First,
              Integer Last, Integer Shift) {
  Integer I = First;
  for (; I + 16 <= Last; I += 16) {
    TByteBlock A, B, C, D;
    std::memcpy(&A, Top + I - Shift, sizeof(A));
    std::memcpy(&B, Bottom + I - Shift, sizeof(B));
    std::memcpy(&C, Top + I + Shift, sizeof(C));
    std::memcpy(&D, Bottom + I + Shift, sizeof(D));
    const TWordBlock Sum = __builtin_convertvector(A, TWordBlock) + __builtin_convertvector(B, TWordBlock) +
                           __builtin_convertvector(C, TWordBlock) + __builtin_convertvector(D, TWordBlock);
    const TByteBlock Mean = __builtin_convertvector(Sum >> 2, TByteBlock);
    std::memcpy(Out + I, &Mean, sizeof(Mean));
  }
  for (; I < Last; ++I)
    Out[I] = static_cast<Byte>(
        (static_cast<unsigned>(Top[I - Shift]) + Bottom[I - Shift] + Top[I + Shift] + Bottom[I + Shift]) >>
        2);
}

// One pixel with every sample clamped to its own row or column, read as memory holds it now.
template <class TRows>
inline void BlurPixel(const TRows& Rows, Integer X, Integer Y, Integer N) {
  const Integer Ax = X - N < 0 ? X : X - N;
  const Integer Cx = X + N >= Rows.Width ? X : X + N;
  const Byte* Top = Rows[Y - N < 0 ? Y : Y - N];
  const Byte* Bottom = Rows[Y + N >= Rows.Height ? Y : Y + N];
  Byte* P = Rows[Y] + 3 * X;
  for (Integer C = 0; C < 3; ++C)
    P[C] =
        static_cast<Byte>((Top[3 * Ax + C] + Bottom[3 * Ax + C] + Top[3 * Cx + C] + Bottom[3 * Cx + C]) >> 2);
}

// One row of one pass.
template <class TRows>
void BlurRow(const TRows& Rows, Integer Y, Integer N) {
  const Integer W = Rows.Width, H = Rows.Height;
  if (Y - N < 0 || Y + N >= H) {
    // A sample row is the pixel's own: its left part is already done in this pass.
    for (Integer X = 0; X < W; ++X) BlurPixel(Rows, X, Y, N);
    return;
  }
  // Columns whose samples lie on both sides: [N, W - N).
  const Integer MidFirst = Min(N, W), MidLast = Max(MidFirst, W - N);
  for (Integer X = 0; X < MidFirst; ++X) BlurPixel(Rows, X, Y, N);
  BlurSpan(Rows[Y], Rows[Y - N], Rows[Y + N], 3 * MidFirst, 3 * MidLast, 3 * N);
  for (Integer X = MidLast; X < W; ++X) BlurPixel(Rows, X, Y, N);
}

// The passes of the blur run together, each N rows behind the one before: pass p + 1 may do
// row r once pass p has done row r + N, the last row of pass p that reads row r. So the picture
// is walked once instead of N + 1 times, with the same result. Fetch(Y) makes row Y what the
// blur starts from, N rows before the first pass needs it; Done(Y) is told as soon as row Y is
// final, while it is still in the cache.
template <class TRows, class TFetch, class TDone>
void BlurSweep(const TRows& Rows, Integer N, TFetch Fetch, TDone Done) {
  const Integer H = Rows.Height;
  if (Rows.Width <= 0 || H <= 0) return;
  const Integer Passes = N == 0 ? 0 : N + 1;
  for (Integer T = 0; T < H + Passes * N; ++T) {
    if (T < H) Fetch(T);
    for (Integer Pass = 0; Pass < Passes; ++Pass) {
      const Integer Y = T - (Pass + 1) * N;
      if (Y >= 0 && Y < H) BlurRow(Rows, Y, N);
    }
    const Integer Final = T - Passes * N;
    if (Final >= 0 && Final < H) Done(Final);
  }
}
}  // namespace

namespace {
// Count channels of From lightened into To (which may be From).
void LightenRow(const Byte* From, Byte* To, Integer Count, Integer Amount) {
  Integer I = 0;
  if (Amount >= 0 && Amount <= 255) {
    // In range the sum never passes 255, and Q div 255 = (Q + 1 + Q shr 8) shr 8 for every
    // product Q = Amount * (255 - v) up to 255 * 255.
    const TWordBlock A = TWordBlock{} + static_cast<std::uint16_t>(Amount);
    for (; I + 16 <= Count; I += 16) {
      TByteBlock B;
      std::memcpy(&B, From + I, sizeof(B));
      const TWordBlock V = __builtin_convertvector(B, TWordBlock);
      const TWordBlock Q = A * (255 - V);
      const TByteBlock Out = __builtin_convertvector(V + ((Q + 1 + (Q >> 8)) >> 8), TByteBlock);
      std::memcpy(To + I, &Out, sizeof(Out));
    }
  }
  for (; I < Count; ++I) To[I] = static_cast<Byte>(ClampByte(From[I] + (Amount * (255 - From[I])) / 255));
}
}  // namespace

TBlurredRows::TBlurredRows(TBitmap* Source, Integer N, Integer Amount)
    : FFrom(Source), FN(N), FAmount(Amount), FPasses(N == 0 ? 0 : N + 1) {
  FRing.Width = FFrom.Width;
  FRing.Height = FFrom.Height;
  // A row is last read by the last pass, N rows below the row it finishes, which is Passes * N
  // rows behind the newest row: the rows in between are all that the sweep holds.
  FRing.Count = (FPasses + 1) * FN + 1;
  FRing.Bytes = 3 * static_cast<std::size_t>(Max(FFrom.Width, 0));
  FRing.Data.resize(FRing.Bytes * static_cast<std::size_t>(FRing.Count));
}

const Byte* TBlurredRows::Next() {
  const Integer H = FRing.Height;
  if (FRing.Width <= 0) return nullptr;
  while (FFinal < H - 1) {
    const Integer T = FStep++;
    if (T < H) {
      if (FAmount > 0)
        LightenRow(FFrom[T], FRing[T], 3 * FRing.Width, FAmount);
      else
        std::memcpy(FRing[T], FFrom[T], FRing.Bytes);
    }
    for (Integer Pass = 0; Pass < FPasses; ++Pass) {
      const Integer Y = T - (Pass + 1) * FN;
      if (Y >= 0 && Y < H) BlurRow(FRing, Y, FN);
    }
    const Integer Final = T - FPasses * FN;
    if (Final >= 0) {
      FFinal = Final;
      return FRing[Final];
    }
  }
  return nullptr;
}

void ShiftBlur(TBitmap* Bitmap, Integer N) {
  if (N == 0) return;
  BlurSweep(
      TBitmapRows(Bitmap), N, [](Integer) {}, [](Integer) {});
}

void LightenBitmap(TBitmap* Bitmap, Integer Amount) {
  const TBitmapRows Rows(Bitmap);
  for (Integer Y = 0; Y < Rows.Height; ++Y) LightenRow(Rows[Y], Rows[Y], 3 * Rows.Width, Amount);
}

void BlurredCopy(TBitmap* Source, TBitmap* Dest, Integer N, Integer Amount, const TRowEvent& RowDone) {
  Dest->SetPixelFormat(pf24bit);
  Dest->SetSize(Source->GetWidth(), Source->GetHeight());
  const TBitmapRows From(Source), To(Dest);
  const std::size_t Bytes = 3 * static_cast<std::size_t>(From.Width);
  BlurSweep(
      To, N,
      [&](Integer Y) {
        if (Amount > 0)
          LightenRow(From[Y], To[Y], 3 * From.Width, Amount);
        else
          std::memcpy(To[Y], From[Y], Bytes);
      },
      [&](Integer Y) {
        if (RowDone) RowDone(Y, To[Y]);
      });
}
