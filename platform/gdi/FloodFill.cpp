// 4-connected scan-line flood fill. Runs of matching pixels are found on the rows directly,
// marked in a visited bitmap over the clip box, painted with the brush at once and their
// neighbour rows searched for further runs; a stack of pending runs replaces recursion.
// Pixels are compared as the surface stores them (the top byte of 32-bit pixels ignored).
#include <cstring>

#include "platform/gdi/EnhMetaFileRecord.h"
#include "platform/gdi/Painting.h"
#include "platform/gdi/RasterInternals.h"

namespace {

struct TRun {
  Integer Y, Left, Right;
};

class TFloodFill {
 public:
  TFloodFill(HDC DC, DWORD Target, bool Surface)
      : FDC(DC),
        FS(DC->Surface()),
        FBox(DC->ClipBox()),
        FBrush(DC, DC->State.Brush),
        FTarget(Target),
        FSurface(Surface) {
    switch (FS.Format) {
      case TSurfaceFormat::pf32:
        FMask = 0x00FFFFFF;
        break;
      case TSurfaceFormat::pf16:
      case TSurfaceFormat::pf32Masks:
        FMask = FS.Masks[0] | FS.Masks[1] | FS.Masks[2];
        break;
      default:
        FMask = FS.PixelMask();
        break;
    }
    FTarget &= FMask;
    FWords = (static_cast<std::size_t>(FBox.Width()) + 63) / 64;
    FVisited.assign(FWords * static_cast<std::size_t>(FBox.Height()), 0);
    FRectClip = DC->ClipIsRect();
  }

  void Run(Integer X, Integer Y) {
    const Integer L = ExtendLeft(Y, X), R = ExtendRight(Y, X + 1);
    FStack.push_back({Y, L, R});
    while (!FStack.empty()) {
      const TRun Run = FStack.back();
      FStack.pop_back();
      // Parts of a pending run may have been filled since it was found.
      Integer X0 = Run.Left;
      while (X0 < Run.Right) {
        X0 = NextUnvisited(Run.Y, X0, Run.Right);
        if (X0 >= Run.Right) break;
        const Integer X1 = NextVisited(Run.Y, X0, Run.Right);
        Fill(Run.Y, X0, X1);
        if (Run.Y > FBox.Top) Search(Run.Y - 1, X0, X1);
        if (Run.Y + 1 < FBox.Bottom) Search(Run.Y + 1, X0, X1);
        X0 = X1;
      }
    }
  }

  bool Matches(Integer X, Integer Y) const { return Match(GetRawPixel(FS, X, Y)); }

 private:
  bool Match(DWORD P) const { return ((P & FMask) == FTarget) == FSurface; }

  std::uint64_t* VisitedRow(Integer Y) {
    return FVisited.data() + static_cast<std::size_t>(Y - FBox.Top) * FWords;
  }
  bool IsVisited(Integer Y, Integer X) {
    const std::size_t I = static_cast<std::size_t>(X - FBox.Left);
    return (VisitedRow(Y)[I >> 6] >> (I & 63)) & 1;
  }
  // First X in [X, End) whose visited bit is clear (Clear) or set (!Clear); End if none.
  Integer NextBit(Integer Y, Integer X, Integer End, bool Clear) {
    const std::uint64_t* Row = VisitedRow(Y);
    std::size_t I = static_cast<std::size_t>(X - FBox.Left);
    const std::size_t E = static_cast<std::size_t>(End - FBox.Left);
    while (I < E) {
      std::uint64_t W = Row[I >> 6];
      if (Clear) W = ~W;
      W >>= (I & 63);
      if (W) {
        I += static_cast<std::size_t>(__builtin_ctzll(W));
        return I < E ? FBox.Left + static_cast<Integer>(I) : End;
      }
      I = (I | 63) + 1;
    }
    return End;
  }
  Integer NextUnvisited(Integer Y, Integer X, Integer End) { return NextBit(Y, X, End, true); }
  Integer NextVisited(Integer Y, Integer X, Integer End) { return NextBit(Y, X, End, false); }

  void Mark(Integer Y, Integer X0, Integer X1) {
    std::uint64_t* Row = VisitedRow(Y);
    std::size_t I = static_cast<std::size_t>(X0 - FBox.Left);
    const std::size_t E = static_cast<std::size_t>(X1 - FBox.Left);
    while (I < E) {
      const std::size_t Bit = I & 63;
      const std::size_t N = std::min<std::size_t>(64 - Bit, E - I);
      Row[I >> 6] |= (N == 64 ? ~0ull : ((1ull << N) - 1)) << Bit;
      I += N;
    }
  }

  void Fill(Integer Y, Integer X0, Integer X1) {
    Mark(Y, X0, X1);
    if (FBrush.IsNull()) return;
    if (FRectClip)
      FBrush.Span(Y, X0, X1);
    else
      ForEachClipSpan(FDC, Y, X0, X1, [&](Integer L, Integer R) { FBrush.Span(Y, L, R); });
  }

  // Leftmost X of the unvisited matching run ending at X (X itself matches).
  Integer ExtendLeft(Integer Y, Integer X) {
    while (X > FBox.Left && !IsVisited(Y, X - 1) && Matches(X - 1, Y)) --X;
    return X;
  }
  // One past the unvisited matching run starting at X.
  Integer ExtendRight(Integer Y, Integer X) {
    const Integer Stop = NextVisited(Y, X, FBox.Right);
    return ScanMatching(Y, X, Stop);
  }

  // One past the last matching pixel of [X, End) starting at X.
  Integer ScanMatching(Integer Y, Integer X, Integer End) {
    const Byte* Row = FS.Row(Y);
    switch (FS.Bpp) {
      case 32:
        for (; X < End; ++X) {
          DWORD P;
          std::memcpy(&P, Row + static_cast<NativeInt>(X) * 4, 4);
          if (!Match(P)) break;
        }
        return X;
      case 24: {
        const Byte* P = Row + static_cast<NativeInt>(X) * 3;
        if (FSurface) {
          // Four pixels of the target colour are three fixed words.
          std::uint32_t Block[3];
          Byte* B = reinterpret_cast<Byte*>(Block);
          for (Integer I = 0; I < 4; ++I) Store24(B + I * 3, FTarget);
          for (; X + 4 <= End; X += 4, P += 12) {
            std::uint32_t W[3];
            std::memcpy(W, P, 12);
            if (((W[0] ^ Block[0]) | (W[1] ^ Block[1]) | (W[2] ^ Block[2])) != 0) break;
          }
        } else {
          // Four pixels from three words; the block goes on while none is the border colour.
          for (; X + 4 <= End; X += 4, P += 12) {
            std::uint32_t W[3];
            std::memcpy(W, P, 12);
            const DWORD P0 = W[0] & 0xFFFFFF, P1 = (W[0] >> 24) | ((W[1] & 0xFFFF) << 8);
            const DWORD P2 = (W[1] >> 16) | ((W[2] & 0xFF) << 16), P3 = W[2] >> 8;
            if ((P0 == FTarget) | (P1 == FTarget) | (P2 == FTarget) | (P3 == FTarget)) break;
          }
        }
        for (; X < End; ++X, P += 3)
          if (!Match(Load24(P))) break;
        return X;
      }
      case 8:
        for (; X < End && Match(Row[X]); ++X) {
        }
        return X;
      default:
        for (; X < End && Match(GetRawPixel(FS, X, Y)); ++X) {
        }
        return X;
    }
  }

  // Queues the unvisited matching runs of row Y that touch [X0, X1).
  void Search(Integer Y, Integer X0, Integer X1) {
    Integer X = X0;
    while (X < X1) {
      X = NextUnvisited(Y, X, X1);
      if (X >= X1) return;
      if (!Matches(X, Y)) {
        ++X;
        continue;
      }
      const Integer L = ExtendLeft(Y, X);
      const Integer R = ExtendRight(Y, X + 1);
      FStack.push_back({Y, L, R});
      X = R;
    }
  }

  HDC FDC;
  const TSurface& FS;
  const TRect FBox;
  const TBrushPainter FBrush;
  DWORD FTarget;
  DWORD FMask = 0;
  const bool FSurface;
  bool FRectClip = true;
  std::size_t FWords = 0;
  std::vector<std::uint64_t> FVisited;
  std::vector<TRun> FStack;
};

}  // namespace

BOOL ExtFloodFill(HDC DC, Integer X, Integer Y, COLORREF Color, UINT Type) {
  if (!IsDeviceContext(DC) || Type > FLOODFILLSURFACE) return FALSE;
  if (IsRecordingDC(DC)) {
    EmfRecordFloodFill(DC, X, Y, Color, Type);
    return TRUE;
  }
  const TPoint P = DC->ToSurface({X, Y});
  if (!InClip(DC, P.X, P.Y)) return FALSE;
  const TSurface& S = DC->Surface();
  TFloodFill Fill(DC, ColorToPixel(S, ResolveColor(DC, Color)), Type == FLOODFILLSURFACE);
  if (!Fill.Matches(P.X, P.Y)) return FALSE;
  Fill.Run(P.X, P.Y);
  return TRUE;
}

BOOL FloodFill(HDC DC, Integer X, Integer Y, COLORREF Color) {
  return ExtFloodFill(DC, X, Y, Color, FLOODFILLBORDER);
}
