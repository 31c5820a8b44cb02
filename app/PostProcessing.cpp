#include "app/PostProcessing.h"

#include <algorithm>

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
// Channels [First, Last) of a row whose samples lie in two other rows, columns Shift bytes to
// each side: independent of the row's own pixels, so of the order they are done in.
void BlurSpan(Byte* __restrict Out, const Byte* __restrict Top, const Byte* __restrict Bottom, Integer First,
              Integer Last, Integer Shift) {
  for (Integer I = First; I < Last; ++I)
    Out[I] = static_cast<Byte>(
        (static_cast<unsigned>(Top[I - Shift]) + Bottom[I - Shift] + Top[I + Shift] + Bottom[I + Shift]) >>
        2);
}

// One pixel with every sample clamped to its own row or column, read as memory holds it now.
inline void BlurPixel(const TBitmapRows& Rows, Integer X, Integer Y, Integer N) {
  const Integer Ax = X - N < 0 ? X : X - N;
  const Integer Cx = X + N >= Rows.Width ? X : X + N;
  const Byte* Top = Rows[Y - N < 0 ? Y : Y - N];
  const Byte* Bottom = Rows[Y + N >= Rows.Height ? Y : Y + N];
  Byte* P = Rows[Y] + 3 * X;
  for (Integer C = 0; C < 3; ++C)
    P[C] =
        static_cast<Byte>((Top[3 * Ax + C] + Bottom[3 * Ax + C] + Top[3 * Cx + C] + Bottom[3 * Cx + C]) >> 2);
}
}  // namespace

void ShiftBlur(TBitmap* Bitmap, Integer N) {
  if (N == 0) return;
  const TBitmapRows Rows(Bitmap);
  const Integer W = Rows.Width, H = Rows.Height;
  if (W <= 0 || H <= 0) return;
  // Columns whose samples lie on both sides: [N, W - N).
  const Integer MidFirst = Min(N, W), MidLast = Max(MidFirst, W - N);
  for (Integer Pass = 0; Pass <= N; ++Pass) {
    for (Integer Y = 0; Y < H; ++Y) {
      if (Y - N < 0 || Y + N >= H) {
        // A sample row is the pixel's own: its left part is already done in this pass.
        for (Integer X = 0; X < W; ++X) BlurPixel(Rows, X, Y, N);
        continue;
      }
      for (Integer X = 0; X < MidFirst; ++X) BlurPixel(Rows, X, Y, N);
      BlurSpan(Rows[Y], Rows[Y - N], Rows[Y + N], 3 * MidFirst, 3 * MidLast, 3 * N);
      for (Integer X = MidLast; X < W; ++X) BlurPixel(Rows, X, Y, N);
    }
  }
}

void LightenBitmap(TBitmap* Bitmap, Integer Amount) {
  Byte Table[256];
  for (Integer V = 0; V < 256; ++V) Table[V] = static_cast<Byte>(ClampByte(V + (Amount * (255 - V)) / 255));
  const TBitmapRows Rows(Bitmap);
  for (Integer Y = 0; Y < Rows.Height; ++Y) {
    Byte* Row = Rows[Y];
    for (Integer I = 0, End = 3 * Rows.Width; I < End; ++I) Row[I] = Table[Row[I]];
  }
}
