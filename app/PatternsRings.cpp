// The ring and spiral generators: circles, twirls and the spirograph.
#include <algorithm>
#include <cmath>

#include "app/Functions.h"
#include "app/Main.h"
#include "app/PatternHost.h"
#include "app/PatternSupport.h"
#include "app/Patterns.h"
#include "platform/classes/Bitmap.h"
#include "platform/system/Math.h"

namespace {
constexpr Single Sqrt2 = 1.4142135f;
// The spirograph lets the message queue run after this many points of its curve.
constexpr Integer PointsPerPump = 1024;

// Entry 0 of the seed tables: the pattern centre.
void SetCentreSeed(Single Cx, Single Cy) {
  SeedCount = 0;
  EnsureCellCapacity(0);
  CellCentreX[0] = Px(Cx);
  CellCentreY[0] = Px(Cy);
  CellRadius[0] = 0;
}

// Floods the cells of seed entries First..Last, each with the next pattern colour.
void FillSeeds(Integer First, Integer Last) {
  TBitmap* B = ResultBitmap.get();
  TCanvas* Canvas = B->GetCanvas();
  const Single Mode = PatternHost().PatternColorMode();
  for (Integer K = First; K <= Last; ++K) {
    Canvas->GetBrush()->SetColor(NextPatternColor(Mode));
    FillCell(B, CellCentreX[K], CellCentreY[K]);
  }
}

}  // namespace

void CreateCircles() {
  ShowGeneratorStatus(ptCircles);
  const Single E = ParamF(2) / 10, D = ParamF(1) / 10, C = ParamF(5) / 10;
  TCanvas* Canvas = StartPatternSquare();
  const Integer S = PatternSize;
  const Single Cx = static_cast<Single>(S) / 2 + static_cast<Single>(OffsetX);
  const Single Cy = static_cast<Single>(S) / 2 + static_cast<Single>(OffsetY);
  const Single D0 = 2 + D, U = 3 * D0;
  Single V = 1;
  SetCentreSeed(Cx, Cy);
  const Integer L = Max(ResultBitmap->GetHeight(), ResultBitmap->GetWidth());
  const Int64 Rings = Round(
      (Sqrt2 * static_cast<Single>(L) / 2 + static_cast<Single>(std::abs(OffsetX) + std::abs(OffsetY))) / U);
  TPatternHost& Host = PatternHost();
  Host.SetProgressLimit(static_cast<Integer>(Rings));
  const bool Colors = Host.PatternColorsOn();
  const bool KeepShape = Host.KeepShapeOn();
  // A ring's cells are closed by the inner chords of the next ring (the last ring's by the
  // square's outline): each ring is flooded once the next one is drawn.
  Integer Pending = 1;
  for (Int64 K = 0; K <= Rings; ++K) {
    const Single Grow = C > 0 ? 1 - std::exp(-static_cast<Single>(K) / (C + 1)) : 0;
    Int64 N = C > 0 ? Max<Int64>(6, Round(Grow * static_cast<Single>(Rings))) : Rings;
    const Single R1 = D0 * V + static_cast<Single>(K) * U, R2 = D0 * V + static_cast<Single>(K + 1) * U;
    const Int64 T = Round(R1 * PatternTwoPi / U);
    if (KeepShape && T > N) N = T;
    const Integer First = SeedCount + 1;
    // A ring of no segments draws no cell.
    if (N > 0) {
      const Single B = PatternTwoPi / static_cast<Single>(N);
      Single A = K % 2 == 0 ? (E / 20 + 1) * B : 0;
      if (C > 0) A *= Grow;
      for (Int64 Segment = 0; Segment <= N; ++Segment) {
        const Single Sa = std::sin(A), Ca = std::cos(A), Sb = std::sin(A + B), Cb = std::cos(A + B);
        // p1 .. p4: (a, r1), (a, r2), (a + B, r2), (a + B, r1).
        const Single Xs[4] = {Sa * R1 + Cx, Sa * R2 + Cx, Sb * R2 + Cx, Sb * R1 + Cx};
        const Single Ys[4] = {Ca * R1 + Cy, Ca * R2 + Cy, Cb * R2 + Cy, Cb * R1 + Cy};
        Canvas->MoveTo(Px(Xs[2]), Px(Ys[2]));
        Canvas->LineTo(Px(Xs[3]), Px(Ys[3]));
        Canvas->LineTo(Px(Xs[0]), Px(Ys[0]));
        const Single MidX = (*std::min_element(Xs, Xs + 4) + *std::max_element(Xs, Xs + 4)) / 2;
        const Single MidY = (*std::min_element(Ys, Ys + 4) + *std::max_element(Ys, Ys + 4)) / 2;
        A += B;
        AddSeed(Px(MidX), Px(MidY));
      }
      V = std::cos(B / 2);
    }
    if (Colors) FillSeeds(Pending, First - 1);
    Pending = First;
    if (K % 3 == 0) Host.ShowProgress(static_cast<Integer>(K));
    if (AbortRequested == 1) return;
    Host.LetMessagesRun();
  }
  if (Colors) FillSeeds(Pending, SeedCount);
}

void CreateTwirls() {
  ShowGeneratorStatus(ptTwirls);
  const Single Tw = ParamF(1) / 10;
  TPatternHost& Host = PatternHost();
  const Integer Mult = Host.Multiplier();
  NodeCount = Host.ParamPosition(5);
  const Integer N = NodeCount;
  // The ring steps follow the previous result's size, as the offsets do.
  const Integer L = Max(ResultBitmap->GetWidth(), ResultBitmap->GetHeight());
  const Single Spread =
      L > 0 ? (static_cast<Single>(L) / 2 + static_cast<Single>(std::abs(OffsetX) + std::abs(OffsetY))) * 2 /
                  static_cast<Single>(L)
            : 1;
  const Integer R = static_cast<Integer>(Round(Sqrt2 * Spread * static_cast<Single>(N)));
  TCanvas* Canvas = StartPatternSquare();
  const Integer S = PatternSize;
  const Single Half = static_cast<Single>(S) / 2;
  const Single Cx = Half + static_cast<Single>(OffsetX), Cy = Half + static_cast<Single>(OffsetY);
  SetCentreSeed(Cx, Cy);
  ColorCounter = 0;
  const Integer A = Host.ParamPosition(2);
  const Integer Arms = Mult * A;
  Host.SetProgressLimit((Arms - 1) * R);
  NodeX.Reset(Max(R, Arms - 1));
  NodeY.Reset(Max(R, Arms - 1));
  const Single Spacing = PatternPi / (static_cast<Single>(A) / 2 - 1);
  const bool Counting = SourceLoaded == 1;
  for (Integer K = 0; K < Arms; ++K) {
    Host.LetMessagesRun();
    for (Integer I = 1; I <= R; ++I) {
      const Single Angle = static_cast<Single>(I) * Tw / 100 + static_cast<Single>(K) * Spacing;
      const Single Radius = Half * static_cast<Single>(I) / static_cast<Single>(N);
      NodeX(I, K) = std::sin(Angle) * Radius + Cx;
      NodeY(I, K) = std::cos(Angle) * Radius + Cy;
      if (I == 1)
        Canvas->MoveTo(Px(NodeX(I, K)), Px(NodeY(I, K)));
      else
        Canvas->LineTo(Px(NodeX(I, K)), Px(NodeY(I, K)));
      if (I > 1 && K > 1) {
        AddSeed(Px((NodeX(I, K) + NodeX(I - 1, K - 1)) / 2), Px((NodeY(I - 1, K) + NodeY(I, K - 1)) / 2));
        if (Counting) Host.ShowProgress(SeedCount);
      }
      if (AbortRequested == 1) return;
    }
  }
  for (Integer I = 1; I <= R && A > 2; ++I) {
    Canvas->MoveTo(Px(NodeX(I, 1)), Px(NodeY(I, 1)));
    for (Integer K = 2; K <= A - 1; ++K) Canvas->LineTo(Px(NodeX(I, K)), Px(NodeY(I, K)));
  }
  // The colouring pass and the colour fill take the centre and the seeds the arms gave, and
  // no entry an earlier build left behind.
  if (Host.PatternColorsOn())
    for (Integer K = 0; K <= SeedCount; ++K) {
      Host.LetMessagesRun();
      FillSeeds(K, K);
      if (AbortRequested == 1) return;
    }
  // The outline holds (0, 0), so this fill finds its border at once; it still takes a colour.
  Canvas->GetBrush()->SetColor(NextPatternColor(Host.PatternColorMode()));
  FillCell(ResultBitmap.get(), 0, 0);
}

void CreateSpirograph() {
  ShowGeneratorStatus(ptSpirograph);
  TPatternHost& Host = PatternHost();
  TCanvas* Canvas = StartPatternSquare();
  const Integer S = PatternSize;
  const Single Scale = static_cast<Single>(Min(ResultBitmap->GetHeight(), ResultBitmap->GetWidth())) / 600;
  const Single K6 = ParamF(6) / 20 + 1;
  const Single R = ParamF(1) * Scale, Rr = ParamF(2) * Scale;
  // Without a rolling circle nothing is drawn and the previous seeds stay.
  if (Rr == 0) return;
  const Single Dd = ParamF(3) * Scale;
  const Single Step = static_cast<Single>(Host.ParamMaximum(5) + 1 - Host.ParamPosition(5)) / 400;
  const Integer N =
      static_cast<Integer>(Round(static_cast<Single>(Host.ParamPosition(4) * 2) * PatternPi / Step));
  const Single Centre = static_cast<Single>(Round(static_cast<Single>(S) / 2));
  EnsureCellCapacity(Max(N + 1, 0));
  Single T = 0;
  for (Integer I = 0; I <= N; ++I) {
    T += Step;
    const Single Roll = (R + Rr) / Rr * T;
    const Integer X = Px(std::cos(T) * (R + Rr) * K6 + Centre - std::cos(Roll) * (Rr + Dd) * K6);
    const Integer Y = Px(std::sin(T) * (R + Rr) * K6 + Centre - std::sin(Roll) * (Rr + Dd) * K6);
    CellCentreX[I] = X;
    CellCentreY[I] = Y;
    if (I == 0)
      Canvas->MoveTo(X, Y);
    else
      Canvas->LineTo(X, Y);
    if (I % PointsPerPump == 0) Host.LetMessagesRun();
    if (AbortRequested == 1) return;
  }
  SeedCount = N + 1;
  ColorizeDrawing(Host, ResultBitmap.get());
}
