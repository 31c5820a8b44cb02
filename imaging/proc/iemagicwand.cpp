#include "imaging/proc/iemagicwand.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "imaging/core/iebitmap.h"
#include "imaging/core/iemask.h"

namespace {

// One span of a row whose neighbour row DY away is still to be scanned.
struct TWandSegment {
  Integer Y;
  Integer XLeft;
  Integer XRight;
  Integer DY;
};

// The filled pixels, one bit each, and their bounding box.
class TWandArea {
 public:
  TWandArea(TIEBitmap* Bitmap, Integer X, Integer Y, Integer Tolerance)
      : FBitmap(Bitmap),
        FWidth(Bitmap->GetWidth()),
        FHeight(Bitmap->GetHeight()),
        FRowBytes(FWidth / 8 + 1),
        FVisited(static_cast<size_t>(FRowBytes) * FHeight, 0),
        FSeed(Bitmap->GetPixelRGB(X, Y)),
        FTolerance(Tolerance) {
    FillFrom(X, Y);
  }

  bool IsFilled(Integer X, Integer Y) const {
    return (FVisited[static_cast<size_t>(Y) * FRowBytes + (X >> 3)] & (0x80 >> (X & 7))) != 0;
  }
  Integer MinX = INT_MAX, MinY = INT_MAX, MaxX = 0, MaxY = 0;

 private:
  bool IsFillable(Integer X, Integer Y) {
    return X >= 0 && X < FWidth && !IsFilled(X, Y) &&
           IEMagicWandSimilar(FBitmap->GetPixelRGB(X, Y), FSeed, FTolerance);
  }
  void MarkFilled(Integer X, Integer Y) {
    FVisited[static_cast<size_t>(Y) * FRowBytes + (X >> 3)] |= static_cast<Byte>(0x80 >> (X & 7));
    if (X < MinX) MinX = X;
    if (X > MaxX) MaxX = X;
    if (Y < MinY) MinY = Y;
    if (Y > MaxY) MaxY = Y;
  }
  void Push(Integer Y, Integer XLeft, Integer XRight, Integer DY) {
    // The stack grows in steps of twice the width, as deep fills push many short spans.
    if (FStack.size() == FStack.capacity())
      FStack.reserve(FStack.capacity() + 2 * static_cast<size_t>(FWidth));
    FStack.push_back({Y, XLeft, XRight, DY});
  }

  // Heckbert's scan-line seed fill over 4-connected neighbours.
  void FillFrom(Integer SeedX, Integer SeedY) {
    FStack.reserve(2 * static_cast<size_t>(FWidth));
    Push(SeedY, SeedX, SeedX, 1);
    Push(SeedY + 1, SeedX, SeedX, -1);
    while (!FStack.empty()) {
      const TWandSegment S = FStack.back();
      FStack.pop_back();
      const Integer Y = S.Y + S.DY;
      if (Y < 0 || Y >= FHeight) continue;
      Integer X = S.XLeft;
      while (IsFillable(X, Y)) MarkFilled(X--, Y);
      Integer Left = X + 1;
      bool Skip = X >= S.XLeft;
      if (!Skip) {
        if (Left < S.XLeft) Push(Y, Left, S.XLeft - 1, -S.DY);
        X = S.XLeft + 1;
      }
      do {
        if (!Skip) {
          while (IsFillable(X, Y)) MarkFilled(X++, Y);
          Push(Y, Left, X - 1, S.DY);
          if (X > S.XRight + 1) Push(Y, S.XRight + 1, X - 1, -S.DY);
        }
        Skip = false;
        for (++X; X <= S.XRight && !IsFillable(X, Y); ++X) {
        }
        Left = X;
      } while (X <= S.XRight);
    }
  }

  TIEBitmap* FBitmap;
  Integer FWidth, FHeight, FRowBytes;
  std::vector<Byte> FVisited;
  TIERGBTriple FSeed;
  Integer FTolerance;
  std::vector<TWandSegment> FStack;
};

bool IsInside(TIEBitmap* Bitmap, Integer X, Integer Y) {
  return X >= 0 && Y >= 0 && X < Bitmap->GetWidth() && Y < Bitmap->GetHeight();
}

// Cell values of the outline grid.
constexpr Byte CellInside = 1;
constexpr Byte CellTraced = 2;
constexpr Byte CellCandidate = 3;
// Each area pixel is 4 x 4 cells, with two empty cells around the whole box.
constexpr Integer CellsPerPixel = 4;
constexpr Integer GridMargin = 2;

class TOutlineGrid {
 public:
  TOutlineGrid(Integer BoxWidth, Integer BoxHeight)
      : FColumns(CellsPerPixel * BoxWidth + 2 * GridMargin),
        FRows(CellsPerPixel * BoxHeight + 2 * GridMargin),
        FCells(static_cast<size_t>(FColumns) * FRows, 0) {}

  Byte& At(Integer Column, Integer Row) { return FCells[static_cast<size_t>(Row) * FColumns + Column]; }
  void FillPixel(Integer X, Integer Y) {
    for (Integer R = 0; R < CellsPerPixel; ++R)
      for (Integer C = 0; C < CellsPerPixel; ++C)
        At(CellsPerPixel * X + GridMargin + C, CellsPerPixel * Y + GridMargin + R) = CellInside;
  }

  // Marks the empty cell before and after every run of inside cells, along rows and columns.
  void MarkCandidates() {
    for (Integer R = 0; R < FRows; ++R) MarkLine(FColumns, [&](Integer I) -> Byte& { return At(I, R); });
    for (Integer C = 0; C < FColumns; ++C) MarkLine(FRows, [&](Integer I) -> Byte& { return At(C, I); });
  }

  // The candidate nearest to the corner of the smallest candidate column and row.
  bool FindStart(Integer& Column, Integer& Row) {
    Integer MinColumn = INT_MAX, MinRow = INT_MAX;
    for (Integer R = 0; R < FRows; ++R)
      for (Integer C = 1; C < FColumns; ++C)
        if (At(C, R) == CellCandidate) {
          if (C < MinColumn) MinColumn = C;
          if (R < MinRow) MinRow = R;
        }
    if (MinColumn == INT_MAX) return false;
    Int64 Best = INT64_MAX;
    for (Integer R = 0; R < FRows; ++R)
      for (Integer C = 1; C < FColumns; ++C)
        if (At(C, R) == CellCandidate) {
          const Int64 D = Int64(C - MinColumn) * (C - MinColumn) + Int64(R - MinRow) * (R - MinRow);
          if (D < Best) {
            Best = D;
            Column = C;
            Row = R;
          }
        }
    return true;
  }

  // Follows the candidates from the start cell; the chain codes of the steps taken.
  std::vector<Integer> Trace(Integer StartColumn, Integer StartRow) {
    std::vector<Integer> Codes;
    Integer C = StartColumn, R = StartRow, D = 4;
    At(C, R) = CellTraced;
    auto StepTo = [&](Integer Index) {
      C += IEWandDirections[Index].DX;
      R += IEWandDirections[Index].DY;
      At(C, R) = CellTraced;
      Codes.push_back(IEWandDirections[Index].Code);
    };
    for (;;) {
      if (IsCandidate(C, R, D)) StepTo(D);
      Integer Found = -1;
      for (Integer I = 0; I < 8 && Found < 0; ++I)
        if (IsCandidate(C, R, I)) Found = I;
      if (Found < 0) break;
      StepTo(Found);
      D = Found;
    }
    for (Integer I = 0; I < 8; ++I)
      if (C + IEWandDirections[I].DX == StartColumn && R + IEWandDirections[I].DY == StartRow) {
        Codes.push_back(IEWandDirections[I].Code);
        break;
      }
    return Codes;
  }

 private:
  template <class FCell>
  static void MarkLine(Integer Count, FCell Cell) {
    for (Integer I = 1; I < Count; ++I)
      if (Cell(I) == CellInside && Cell(I - 1) != CellInside) Cell(I - 1) = CellCandidate;
    for (Integer I = Count - 2; I >= 0; --I)
      if (Cell(I) == CellInside && Cell(I + 1) != CellInside) Cell(I + 1) = CellCandidate;
  }
  // Candidates never lie on the grid's edge, so their neighbours are always inside it.
  bool IsCandidate(Integer C, Integer R, Integer Direction) {
    return At(C + IEWandDirections[Direction].DX, R + IEWandDirections[Direction].DY) == CellCandidate;
  }

  Integer FColumns, FRows;
  std::vector<Byte> FCells;
};

// Chain code -> step.
constexpr TPoint ChainSteps[8] = {{1, 0}, {1, -1}, {0, -1}, {-1, -1}, {-1, 0}, {-1, 1}, {0, 1}, {1, 1}};

}  // namespace

TPoint IEPointAdd(const TPoint& A, const TPoint& B) {
  return {A.X + B.X, A.Y + B.Y};
}

TPoint IEPointSub(const TPoint& A, const TPoint& B) {
  return {A.X - B.X, A.Y - B.Y};
}

bool IEMagicWandSimilar(const TIERGBTriple& Color, const TIERGBTriple& Seed, Integer Tolerance) {
  return std::abs(Color.rgbtRed - Seed.rgbtRed) <= Tolerance &&
         std::abs(Color.rgbtGreen - Seed.rgbtGreen) <= Tolerance &&
         std::abs(Color.rgbtBlue - Seed.rgbtBlue) <= Tolerance;
}

std::vector<TPoint> IEMagicWandPolygon(TIEBitmap* Bitmap, Integer X, Integer Y, Integer Tolerance,
                                       bool MaxFilter) {
  if (!IsInside(Bitmap, X, Y)) return {};
  const TWandArea Area(Bitmap, X, Y, Tolerance);
  const Integer BoxWidth = Area.MaxX - Area.MinX + 1;
  const Integer BoxHeight = Area.MaxY - Area.MinY + 1;
  std::vector<Byte> Box(static_cast<size_t>(BoxWidth) * BoxHeight, 0);
  for (Integer BY = 0; BY < BoxHeight; ++BY)
    for (Integer BX = 0; BX < BoxWidth; ++BX) {
      if (!Area.IsFilled(BX + Area.MinX, BY + Area.MinY)) continue;
      if (!MaxFilter) {
        Box[static_cast<size_t>(BY) * BoxWidth + BX] = 1;
        continue;
      }
      for (Integer NY = std::max(BY - 1, 0); NY <= std::min(BY + 1, BoxHeight - 1); ++NY)
        for (Integer NX = std::max(BX - 1, 0); NX <= std::min(BX + 1, BoxWidth - 1); ++NX)
          Box[static_cast<size_t>(NY) * BoxWidth + NX] = 1;
    }
  TOutlineGrid Grid(BoxWidth, BoxHeight);
  for (Integer BY = 0; BY < BoxHeight; ++BY)
    for (Integer BX = 0; BX < BoxWidth; ++BX)
      if (Box[static_cast<size_t>(BY) * BoxWidth + BX]) Grid.FillPixel(BX, BY);
  Grid.MarkCandidates();
  Integer StartColumn = 0, StartRow = 0;
  if (!Grid.FindStart(StartColumn, StartRow)) return {};
  const std::vector<Integer> Codes = Grid.Trace(StartColumn, StartRow);

  // Grid cells become quarter pixels; a vertex is placed where the chain turns.
  TPoint P{StartColumn + CellsPerPixel * Area.MinX - 1, StartRow + CellsPerPixel * Area.MinY - 1};
  std::vector<TPoint> Vertices{P};
  for (size_t I = 0; I < Codes.size(); ++I) {
    if (I > 0 && Codes[I] != Codes[I - 1]) Vertices.push_back(P);
    P = IEPointAdd(P, ChainSteps[Codes[I]]);
  }
  for (TPoint& V : Vertices) V = {V.X / CellsPerPixel, V.Y / CellsPerPixel};
  return Vertices;
}

void IEMagicWandFill(TIEBitmap* Bitmap, Integer X, Integer Y, Integer Value, TIEMask* Mask, Integer Tolerance,
                     bool MaxFilter) {
  if (!IsInside(Bitmap, X, Y)) return;
  const TWandArea Area(Bitmap, X, Y, Tolerance);
  const Integer Width = Bitmap->GetWidth(), Height = Bitmap->GetHeight();
  for (Integer PY = Area.MinY; PY <= Area.MaxY; ++PY)
    for (Integer PX = Area.MinX; PX <= Area.MaxX; ++PX) {
      if (!Area.IsFilled(PX, PY)) continue;
      if (!MaxFilter) {
        Mask->SetPixel(PX, PY, Value);
        continue;
      }
      for (Integer NY = std::max(PY - 1, 0); NY <= std::min(PY + 1, Height - 1); ++NY)
        for (Integer NX = std::max(PX - 1, 0); NX <= std::min(PX + 1, Width - 1); ++NX)
          Mask->SetPixel(NX, NY, Value);
    }
}

void IEMagicWandGlobal(TIEBitmap* Bitmap, Integer X, Integer Y, Integer Value, TIEMask* Mask,
                       Integer Tolerance) {
  if (!IsInside(Bitmap, X, Y)) return;
  const TIERGBTriple Seed = Bitmap->GetPixelRGB(X, Y);
  for (Integer PY = 0; PY < Bitmap->GetHeight(); ++PY)
    for (Integer PX = 0; PX < Bitmap->GetWidth(); ++PX)
      if (IEMagicWandSimilar(Bitmap->GetPixelRGB(PX, PY), Seed, Tolerance)) Mask->SetPixel(PX, PY, Value);
}
