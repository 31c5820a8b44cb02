// The generators whose cells are placed with random jitter: hexagons and spheres.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "app/Functions.h"
#include "app/Languages.h"
#include "app/Main.h"
#include "app/PatternHost.h"
#include "app/PatternSupport.h"
#include "app/Patterns.h"
#include "platform/classes/Bitmap.h"
#include "platform/system/Math.h"
#include "platform/system/Random.h"
#include "platform/system/Strings.h"

namespace {
// ---- Hexagons -----------------------------------------------------------------------------------

// Draws the hexagons of CreateHexagons and counts them as cells.
struct THexagonDrawer {
  const std::vector<Integer>& X;
  const std::vector<Integer>& Y;
  TPatternHost& Host;
  TCanvas* Canvas;
  bool Colors, Glass;
  Single Mode;
  Integer GlassHalf;  // m
  Integer Count = 0;

  // Corner holds the point numbers of the corners in outline order: top, upper left, lower
  // left, bottom, lower right, upper right.
  void Draw(const Integer (&Corner)[6], bool WithGlass) {
    TPoint Outline[7];
    for (Integer I = 0; I < 6; ++I) Outline[I] = TPoint{X[Corner[I]], Y[Corner[I]]};
    Outline[6] = Outline[0];
    Canvas->Polyline(std::span<const TPoint>(Outline, 7));
    // The midpoint of the midpoints of the two diagonals upper left - lower right and lower
    // left - upper right, each rounded.
    auto Mid = [](Integer A, Integer B) { return Px(static_cast<Single>(A + B) / 2); };
    const Integer Sx = Mid(Mid(X[Corner[1]], X[Corner[4]]), Mid(X[Corner[2]], X[Corner[5]]));
    const Integer Sy = Mid(Mid(Y[Corner[1]], Y[Corner[4]]), Mid(Y[Corner[2]], Y[Corner[5]]));
    ++Count;
    EnsureCellCapacity(Count);
    CellCentreX[Count] = Sx;
    CellCentreY[Count] = Sy;
    CellRadius[Count] = 0;
    const TColor Color = NextPatternColor(Mode);
    if (Colors) {
      Canvas->GetBrush()->SetColor(Color);
      FillCell(ResultBitmap.get(), Sx, Sy);
    }
    if (WithGlass && Glass) Host.GlassCell(ResultBitmap.get(), Sx, Sy, GlassHalf, Color);
  }
};
}  // namespace

void CreateHexagons() {
  ShowGeneratorStatus(ptHexagons);
  const Integer S = PatternSize;
  TCanvas* Canvas = StartPatternSquare();
  const Single P1 = ParamF(1), P2 = ParamF(2), P3 = ParamF(3);
  const Integer A = Px((P1 / 10 + 2) * 2);
  const Integer B = Px((static_cast<Single>(P3 + 100) / 160 + 0.25f) * static_cast<Single>(A));
  if (A < 1 || B < 1) {
    // Only sliders outside the type's ranges get here; no hexagon has room.
    SeedCount = 0;
    return;
  }
  Integer Rows = Px(static_cast<Single>(S) / static_cast<Single>(B));
  if (Rows % 2 != 0) ++Rows;
  const Integer C = Px((static_cast<Single>(S) + static_cast<Single>(A) / 2) / static_cast<Single>(2 * A));
  const Integer M = Px(static_cast<Single>(Max(A, B)) * (P2 / 100 + 1));
  Randomize();
  const Integer J = Px(static_cast<Single>(A) * (P2 / 10 + 1) / 13);

  // The corner points, numbered from 1 row by row; rows 1, 4, 5, 8, 9, ... are shifted by a.
  const Integer Np = Max(Rows, 0) * Max(C, 0);
  std::vector<Integer> X(static_cast<std::size_t>(Np) + 1), Y(static_cast<std::size_t>(Np) + 1);
  Integer P = 0;
  for (Integer I = 1; I <= Rows; ++I) {
    const Single Shift = (I % 4 == 0 || (I - 1) % 4 == 0) ? static_cast<Single>(A) : 0;
    for (Integer K = 1; K <= C; ++K) {
      ++P;
      const Integer Rx = Random(2 * J);
      X[P] =
          Px(static_cast<Single>(Rx) +
             ((static_cast<Single>(K) - 0.6f) * 2 * static_cast<Single>(A) + Shift) - static_cast<Single>(J));
      const Integer Ry = Random(2 * J);
      Y[P] = Px(static_cast<Single>(Ry) + (static_cast<Single>(I) - 0.6f) * static_cast<Single>(B) -
                static_cast<Single>(J));
      if (AbortRequested == 1) return;
    }
  }

  TPatternHost& Host = PatternHost();
  THexagonDrawer Hexagon{X, Y, Host, Canvas, Host.PatternColorsOn(), Host.GlassOn(), Host.PatternColorMode(),
                         M};
  // Blocks of four point rows: a row of hexagons with their top corners in the block's first
  // point row, then a row between them with their top corners in its third, one column in.
  Integer Base = 0;
  while (2 * C + Base + 4 <= Np) {
    Host.LetMessagesRun();
    for (Integer T = 1; T <= C - 1; ++T) {
      const Integer Q = Base + T;
      Hexagon.Draw({Q, Q + C, Q + 2 * C, Q + 3 * C, Q + 2 * C + 1, Q + C + 1}, true);
      if (AbortRequested == 1) return;
    }
    Base += 2 * C + 1;
    if (2 * C + Base + 4 <= Np)
      for (Integer T = 1; T <= C - 1; ++T) {
        const Integer Q = Base + T;
        Hexagon.Draw({Q, Q + C - 1, Q + 2 * C - 1, Q + 3 * C, Q + 2 * C, Q + C}, false);
      }
    Base += 2 * C - 1;
  }
  SeedCount = Hexagon.Count;
}

// ---- Spheres ------------------------------------------------------------------------------------

namespace {
// What the spheres' test looks at: one bit per pixel of the square, set where the square as it
// was at the start is not white and where an accepted disc lies. A bit a pixel keeps the
// test's reads in the cache.
class TOccupancy {
 public:
  explicit TOccupancy(TBitmap* Start) {
    const TBitmapRows Rows(Start);
    FWidth = Rows.Width;
    FHeight = Rows.Height;
    FWords = (Max(FWidth, 0) + 63) / 64;
    FBits.assign(static_cast<std::size_t>(FWords) * Max(FHeight, 0), 0);
    for (Integer Y = 0; Y < FHeight; ++Y) {
      const Byte* Row = Rows[Y];
      Integer X = 0;
      // Eight white pixels are 24 bytes of 255.
      for (; X + 8 <= FWidth; X += 8) {
        std::uint64_t W[3];
        std::memcpy(W, Row + 3 * X, sizeof(W));
        if ((W[0] & W[1] & W[2]) == ~std::uint64_t{0}) continue;
        for (Integer K = X; K < X + 8; ++K)
          if ((Row[3 * K] & Row[3 * K + 1] & Row[3 * K + 2]) != 255) Set(K, K + 1, Y);
      }
      for (; X < FWidth; ++X)
        if ((Row[3 * X] & Row[3 * X + 1] & Row[3 * X + 2]) != 255) Set(X, X + 1, Y);
    }
  }

  // A point outside the square has no colour, which is not white.
  bool Taken(Integer X, Integer Y) const {
    if (static_cast<Cardinal>(X) >= static_cast<Cardinal>(FWidth) ||
        static_cast<Cardinal>(Y) >= static_cast<Cardinal>(FHeight))
      return true;
    return (FBits[static_cast<std::size_t>(Y) * FWords + (X >> 6)] >> (X & 63)) & 1;
  }

  // The disc of the ellipse in the box (Cx - R, Cy - R, Cx + R, Cy + R) as the canvas draws it
  // with a solid brush and the default pen.
  void AddDisc(Integer Cx, Integer Cy, Integer R) {
    if (R < 1) return;
    const std::vector<TRun>& Runs = DiscRuns(R);
    for (Integer Y = 0; Y < 2 * R; ++Y) {
      const Integer Py = Cy - R + Y;
      if (Py < 0 || Py >= FHeight || Runs[Y].First > Runs[Y].Last) continue;
      Set(Max(Cx - R + Runs[Y].First, 0), Min(Cx - R + Runs[Y].Last + 1, FWidth), Py);
    }
  }

 private:
  // Sets the bits of pixels From .. To - 1 of row Y.
  void Set(Integer From, Integer To, Integer Y) {
    if (From >= To) return;
    std::uint64_t* Row = FBits.data() + static_cast<std::size_t>(Y) * FWords;
    const Integer First = From >> 6, Last = (To - 1) >> 6;
    const std::uint64_t Head = ~std::uint64_t{0} << (From & 63);
    const std::uint64_t Tail = ~std::uint64_t{0} >> (63 - ((To - 1) & 63));
    if (First == Last) {
      Row[First] |= Head & Tail;
      return;
    }
    Row[First] |= Head;
    for (Integer W = First + 1; W < Last; ++W) Row[W] = ~std::uint64_t{0};
    Row[Last] |= Tail;
  }

  // The pixels of a row of a disc, First .. Last (none when First > Last).
  struct TRun {
    Integer First, Last;
  };

  // The rows of the disc of radius R drawn by the canvas at (0, 0), made once per radius.
  const std::vector<TRun>& DiscRuns(Integer R) {
    if (static_cast<Integer>(FDiscs.size()) <= R) FDiscs.resize(static_cast<std::size_t>(R) + 1);
    std::vector<TRun>& Runs = FDiscs[R];
    if (!Runs.empty()) return Runs;
    const Integer Side = 2 * R;
    TBitmap Stamp;
    Stamp.SetPixelFormat(pf24bit);
    Stamp.SetSize(Side, Side);
    TCanvas* Canvas = Stamp.GetCanvas();
    Canvas->GetBrush()->SetColor(clWhite);
    Canvas->FillRect(TRect{0, 0, Side, Side});
    Canvas->GetBrush()->SetColor(clBlack);
    Canvas->Ellipse(0, 0, Side, Side);
    const TBitmapRows Rows(&Stamp);
    Runs.resize(static_cast<std::size_t>(Side));
    for (Integer Y = 0; Y < Side; ++Y) {
      // A row of a filled ellipse is one run.
      const Byte* Row = Rows[Y];
      Integer First = 0, Last = Side - 1;
      while (First < Side && Row[3 * First] == 255) ++First;
      while (Last >= First && Row[3 * Last] == 255) --Last;
      Runs[Y] = TRun{First, Last};
    }
    return Runs;
  }

  Integer FWidth = 0, FHeight = 0, FWords = 0;
  std::vector<std::uint64_t> FBits;
  std::vector<std::vector<TRun>> FDiscs;  // by radius
};

// The test of CreateSpheres: how many of the points at R round (Cx, Cy) in the directions
// (Sin[k], Cos[k]) are taken. Counting stops once Limit is passed.
Integer CountHits(const TOccupancy& Occupied, const std::vector<Single>& Sin, const std::vector<Single>& Cos,
                  Integer Cx, Integer Cy, Integer R, Single Limit) {
  const Single Rs = static_cast<Single>(R), Xs = static_cast<Single>(Cx), Ys = static_cast<Single>(Cy);
  Integer Hits = 0;
  for (std::size_t K = 0; K < Sin.size(); ++K) {
    const Integer X = static_cast<Integer>(std::lrint(Sin[K] * Rs + Xs));
    const Integer Y = static_cast<Integer>(std::lrint(Cos[K] * Rs + Ys));
    if (Occupied.Taken(X, Y) && static_cast<Single>(++Hits) > Limit) break;
  }
  return Hits;
}

// The attempts of CreateSpheres; false when the build was cancelled.
bool DropSpheres(TCanvas* Canvas, Integer& Count, Single& Area) {
  const Integer S = PatternSize;
  TOccupancy Occupied(ResultBitmap.get());
  const Integer R0 = Px(static_cast<Single>(S) * (ParamF(1) / 10) / 200) + 4;
  const Single Cov = ParamF(2) / 10;
  const Integer Attempts = static_cast<Integer>(
      Round(static_cast<Extended>(4 * static_cast<Int64>(S) * S) / Sqr(Max<Integer>(GridPx, 1))));
  const Integer Var = Px(ParamF(3) / 10);
  const Single Acc = ParamF(4) / 10;
  TPatternHost& Host = PatternHost();
  Host.SetProgressLimit(Attempts);
  // The directions of the test points are the same for every attempt.
  std::vector<Single> Sin, Cos;
  Single Angle = 0;
  for (Integer K = 0; K < Px(Acc + 4); ++K) {
    Sin.push_back(std::sin(Angle));
    Cos.push_back(std::cos(Angle));
    Angle += 2 * PatternPi / (Acc + 4);
  }
  const bool Colors = Host.PatternColorsOn();
  const bool Glass = Host.GlassOn();
  const Single Mode = Host.PatternColorMode();
  // Seeded once: a seed per attempt from the clock would make the result depend on the speed
  // of the machine.
  Randomize();
  for (Integer Attempt = 1; Attempt <= Attempts; ++Attempt) {
    const Integer Cx = Random(S);
    const Integer Cy = Random(S);
    Integer R = Px((static_cast<Single>(Random(3 * Var)) / 10 + 1) * static_cast<Single>(R0));
    // The radius shrinks until the test passes; the sphere keeps one pixel less than the
    // radius tested.
    Integer Hits;
    do {
      Hits = CountHits(Occupied, Sin, Cos, Cx, Cy, R, Cov);
      --R;
      if (AbortRequested == 1) return false;
    } while (!(static_cast<Single>(Hits) <= Cov || R < R0));
    if (static_cast<Single>(Hits) <= Cov) {
      ++Count;
      EnsureCellCapacity(Count);
      CellCentreX[Count] = Cx;
      CellCentreY[Count] = Cy;
      CellRadius[Count] = R;
      Area += static_cast<Single>(R) * PatternPi * static_cast<Single>(R);
      const TColor Color = NextPatternColor(Mode);
      Occupied.AddDisc(Cx, Cy, R);
      if (AbortRequested == 1) return false;
      if (Colors) {
        Canvas->GetBrush()->SetColor(Color);
        Canvas->GetPen()->SetColor(Color);
        Canvas->Ellipse(Cx - R, Cy - R, Cx + R, Cy + R);
        if (Glass) Host.GlassCell(ResultBitmap.get(), Cx, Cy, R, Color);
      } else {
        Canvas->GetBrush()->SetColor(clWhite);
        Canvas->GetPen()->SetColor(clBlack);
        Canvas->Ellipse(Cx - R, Cy - R, Cx + R, Cy + R);
      }
    }
    Host.ShowProgress(Attempt);
    Host.LetMessagesRun();
  }
  return true;
}
}  // namespace

void CreateSpheres() {
  ShowGeneratorStatus(ptSpheres);
  const Integer S = PatternSize;
  TCanvas* Canvas = StartPatternSquare();
  // The colour fill draws entry 0 as well: whatever an earlier build left there is no sphere.
  CellRadius[0] = 0;
  Integer Count = 0;
  Single Area = 0;
  const bool Done = DropSpheres(Canvas, Count, Area);
  // The next generator draws in black.
  Canvas->GetPen()->SetColor(clBlack);
  if (!Done) return;
  SeedCount = Count;
  const Single Coverage = Area / static_cast<Single>(static_cast<Int64>(S) * S);
  PatternHost().ShowCoverage(VariableTexts[vtCoverage] + " = " + IntToStr(Round(100 * Coverage)) + "%");
}
