#include "platform/display/DesktopPixels.h"

#include <algorithm>

namespace {

void CopyOpaqueRow(DWORD* D, const DWORD* S, Integer N) {
  for (Integer I = 0; I < N; ++I) D[I] = S[I] | 0xFF000000u;
}

void CopyStraightRow(DWORD* D, const DWORD* S, Integer N) {
  for (Integer I = 0; I < N; ++I) {
    const DWORD P = S[I], A = P >> 24;
    if (A == 255 || A == 0) {
      D[I] = P | 0xFF000000u;
      continue;
    }
    auto Channel = [A](DWORD C) { return std::min<DWORD>(255, (C * 255 + A / 2) / A); };
    D[I] =
        0xFF000000u | (Channel((P >> 16) & 0xFF) << 16) | (Channel((P >> 8) & 0xFF) << 8) | Channel(P & 0xFF);
  }
}

// The shown runs of row Y within [Left, Right): appended as one-row rectangles.
template <class TShown>
void AddRuns(std::vector<TRect>& Out, Integer Y, Integer Left, Integer Right, TShown Shown) {
  for (Integer X = Left; X < Right;) {
    while (X < Right && !Shown(X)) ++X;
    const Integer Start = X;
    while (X < Right && Shown(X)) ++X;
    if (X > Start) Out.push_back(TRect{Start, Y, X, Y + 1});
  }
}

// Rows with the same runs as the row above grow the rectangles above instead of adding new ones.
std::vector<TRect> MergeRows(const std::vector<TRect>& Rows) {
  std::vector<TRect> Out;
  std::size_t PrevBegin = 0, PrevEnd = 0;  // Out's rectangles ending at the previous row
  for (std::size_t I = 0; I < Rows.size();) {
    const Integer Y = Rows[I].Top;
    std::size_t J = I;
    while (J < Rows.size() && Rows[J].Top == Y) ++J;
    bool Same = PrevEnd - PrevBegin == J - I && PrevEnd > PrevBegin && Out[PrevBegin].Bottom == Y;
    for (std::size_t K = 0; Same && K < J - I; ++K)
      Same = Out[PrevBegin + K].Left == Rows[I + K].Left && Out[PrevBegin + K].Right == Rows[I + K].Right;
    if (Same) {
      for (std::size_t K = PrevBegin; K < PrevEnd; ++K) Out[K].Bottom = Y + 1;
    } else {
      PrevBegin = Out.size();
      Out.insert(Out.end(), Rows.begin() + static_cast<std::ptrdiff_t>(I),
                 Rows.begin() + static_cast<std::ptrdiff_t>(J));
      PrevEnd = Out.size();
    }
    I = J;
  }
  return Out;
}

}  // namespace

void CopyDesktopPixels(const TSurface& Src, const TRect& Rect, Byte* Dst, Integer DstPitch,
                       TDesktopPixels Mode) {
  const Integer N = Rect.Width();
  if (N <= 0) return;
  for (Integer Y = Rect.Top; Y < Rect.Bottom; ++Y) {
    const DWORD* S = reinterpret_cast<const DWORD*>(Src.Row(Y)) + Rect.Left;
    DWORD* D = reinterpret_cast<DWORD*>(Dst + static_cast<std::ptrdiff_t>(Y) * DstPitch) + Rect.Left;
    switch (Mode) {
      case TDesktopPixels::Opaque:
        CopyOpaqueRow(D, S, N);
        break;
      case TDesktopPixels::Straight:
        CopyStraightRow(D, S, N);
        break;
    }
  }
}

std::optional<std::vector<TRect>> DesktopShape(const TTopLevelView& View, BYTE AlphaThreshold) {
  const bool ByAlpha = View.PerPixelAlpha && AlphaThreshold > 0;
  if (View.Shape == nullptr && !View.ColorKeyed && !ByAlpha) return std::nullopt;
  const TSurface& S = *View.Surface;
  const TRect Whole{0, 0, S.Width, S.Height};
  std::vector<TRect> Inside;
  if (View.Shape != nullptr)
    View.Shape->ForEachRectIn(Whole, [&](const TRect& R) { Inside.push_back(R); });
  else
    Inside.push_back(Whole);
  if (!View.ColorKeyed && !ByAlpha) return Inside;
  const DWORD Key = View.KeyPixel, Threshold = AlphaThreshold;
  const bool Keyed = View.ColorKeyed;
  std::vector<TRect> Rows;
  for (const TRect& R : Inside)
    for (Integer Y = R.Top; Y < R.Bottom; ++Y) {
      const DWORD* Row = reinterpret_cast<const DWORD*>(S.Row(Y));
      AddRuns(Rows, Y, R.Left, R.Right, [&](Integer X) {
        const DWORD P = Row[X];
        return !(Keyed && (P & 0x00FFFFFFu) == Key) && !(ByAlpha && (P >> 24) < Threshold);
      });
    }
  std::stable_sort(Rows.begin(), Rows.end(), [](const TRect& A, const TRect& B) {
    return A.Top != B.Top ? A.Top < B.Top : A.Left < B.Left;
  });
  return MergeRows(Rows);
}
